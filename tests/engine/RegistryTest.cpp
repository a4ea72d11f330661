// Registry access by key path against the real registry.
#include "EngineTest.h"

#include "common/Marks.h"
#include "engine/Registry.h"
#include "engine/cRegistry.h"
#include "platform/Text.h"

#include <optional>

using std::string;
using std::wstring;
using namespace std::string_literals;

class RegistryTest : public EngineTest {};

TEST_F(RegistryTest, KeyPathsSplitIntoRootAndSubkey) {
    struct Case {
        const wchar_t* path;
        HKEY root;
        const wchar_t* subkey;
    } cases[] = {
        {L"HKEY_CURRENT_USER\\Software\\A\\B", HKEY_CURRENT_USER, L"Software\\A\\B"},
        {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE, L""},
        {L"HKEY_CLASSES_ROOT\\.txt", HKEY_CLASSES_ROOT, L".txt"},
        {L"HKEY_USERS\\a\\\\b", HKEY_USERS, L"a\\\\b"},
        {L"HKEY_CURRENT_CONFIG\\中文 键", HKEY_CURRENT_CONFIG, L"中文 键"},
        {L"HKEY_DYN_DATA\\x", HKEY_DYN_DATA, L"x"},
        // no root
        {L"hkey_current_user\\Software", nullptr, L""},
        {L"Software\\A", nullptr, L""},
        {L"HKEY_CURRENT_USER\\Software\\", nullptr, L""},
        {L"HKEY_CURRENT_USER\\", nullptr, L""},
        {L"HKEY_FOO\\Software", nullptr, L""},
        {L"HKEY_", nullptr, L""},
        {L" HKEY_CURRENT_USER\\Software", nullptr, L""},
        {L"", nullptr, L""},
    };
    for (const auto& c : cases) {
        Registry::KeyPathParts parts = Registry::SplitKeyPath(c.path);
        EXPECT_EQ(c.root, parts.root) << Ansi(c.path);
        EXPECT_EQ(wstring(c.subkey), parts.subkey) << Ansi(c.path);
    }
}

TEST_F(RegistryTest, RootNamesMatchExactly) {
    struct Case {
        const wchar_t* name;
        uintptr_t handle;
    } cases[] = {
        {L"HKEY_CLASSES_ROOT", 0x80000000}, {L"HKEY_CURRENT_USER", 0x80000001},     {L"HKEY_LOCAL_MACHINE", 0x80000002},
        {L"HKEY_USERS", 0x80000003},        {L"HKEY_PERFORMANCE_DATA", 0x80000004}, {L"HKEY_CURRENT_CONFIG", 0x80000005},
        {L"HKEY_DYN_DATA", 0x80000006},     {L"HKEY_Current_User", 0},              {L"HKEY_CURRENT_USER ", 0},
        {L"HKCU", 0},                       {L"", 0},
    };
    for (const auto& c : cases) {
        HKEY root = Registry::RootKeyFromName(c.name);
        EXPECT_EQ(c.handle, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(root))) << Ansi(c.name);
    }
}

TEST_F(RegistryTest, CreateKeyPathMakesMissingParents) {
    EXPECT_TRUE(Registry::CreateKeyPath(Key(L"甲\\乙\\丙")));
    EXPECT_TRUE(KeyThere(Ansi(L"甲\\乙\\丙")));
    EXPECT_TRUE(Registry::CreateKeyPath(Key(L"甲\\乙\\丙")));  // already there
    EXPECT_TRUE(Registry::CreateKeyPath(L"HKEY_CURRENT_USER"));  // the root itself
    EXPECT_FALSE(Registry::CreateKeyPath(L"hkey_current_user\\Software\\QuorixTest\\x"));
    EXPECT_FALSE(Registry::CreateKeyPath(Key(L"x\\")));
    EXPECT_FALSE(KeyThere("x"));
}

TEST_F(RegistryTest, StringsRoundTripWholeWithTheirBytes) {
    MakeKey();
    struct Case {
        const char* name;
        wstring text;
        string stored;  // bytes in the registry, terminator included
    } cases[] = {
        {"blanks", L"  two leading blanks ", "  two leading blanks \0"s},
        {"empty", L"", "\0"s},
        {"chinese", L"中文", "\xD6\xD0\xCE\xC4\0"s},  // two characters, 5 bytes
        {"long", wstring(300, L'x'), string(300, 'x') + '\0'},
        {"long chinese", wstring(200, L'\x6C49'), [] {
             string s;
             for (int i = 0; i < 200; ++i) s += "\xBA\xBA";
             return s + '\0';
         }()},
        {"marks", Marks::FieldMark + L"a" + Marks::JoinMark, "\xFF" "a\x81\x88\0"s},
    };
    for (const auto& c : cases) {
        wstring name = Text::FromAnsi(c.name);
        ASSERT_TRUE(Registry::SetStringValue(Key(), name, c.text)) << c.name;
        auto [type, bytes] = Stored(c.name);
        EXPECT_EQ(DWORD(REG_SZ), type) << c.name;
        EXPECT_EQ(c.stored, bytes) << c.name;
        EXPECT_EQ(RegValue(c.text), Registry::GetStringValue(Key(), name)) << c.name;
    }
}

TEST_F(RegistryTest, ReadersTakeTheStoredBytes) {
    MakeKey();
    TestReg::Set(Sub(), "sz no null", REG_SZ, "abc");
    TestReg::Set(Sub(), "sz inner null", REG_SZ, "ab\0cd\0"s);
    TestReg::Set(Sub(), "sz 3000", REG_SZ, string(3000, 'q') + '\0');
    TestReg::Set(Sub(), "bin AB", REG_BINARY, "\x41\x42");
    TestReg::Set(Sub(), "bin empty", REG_BINARY, "");
    TestReg::Set(Sub(), "dword -1", REG_DWORD, "\xFF\xFF\xFF\xFF");
    TestReg::Set(Sub(), "dword 26", REG_DWORD, "\x1A\0\0\0"s);
    TestReg::Set(Sub(), "qword", REG_QWORD, "\1\0\0\0\0\0\0\0"s);
    TestReg::Set(Sub(), "", REG_SZ, Ansi(L"默认") + '\0');

    EXPECT_EQ(RegValue(L"abc"), Registry::GetStringValue(Key(), L"sz no null"));
    EXPECT_EQ(RegValue(L"ab"), Registry::GetStringValue(Key(), L"sz inner null"));
    EXPECT_EQ(RegValue(wstring(3000, L'q')), Registry::GetStringValue(Key(), L"sz 3000"));
    EXPECT_EQ(RegValue(L"默认"), Registry::GetStringValue(Key(), L""));
    EXPECT_EQ(RegValue(L"AB"), Registry::GetBinaryValue(Key(), L"bin AB"));
    EXPECT_EQ(RegValue(L""), Registry::GetBinaryValue(Key(), L"bin empty"));
    EXPECT_EQ(RegValue(-1), Registry::GetDwordValue(Key(), L"dword -1"));
    EXPECT_EQ(RegValue(26), Registry::GetDwordValue(Key(), L"dword 26"));
    EXPECT_TRUE(Registry::GetDwordValue(Key(), L"qword").IsReadError());  // more than 4 bytes
}

TEST_F(RegistryTest, BinaryBytesSurviveTheTextForm) {
    MakeKey();
    // Bytes that are no character of the code page (a lone lead byte, FF after
    // a lead byte, a trailing lead byte) still come back exactly.
    const string samples[] = {"\x00\x0A\xFF"s, "\x81\x41\xD6\xD0\xFF\x81"s, "\x80\x7F\x81"s, string(1000, '\xFE')};
    for (const string& bytes : samples) {
        TestReg::Set(Sub(), "b", REG_BINARY, bytes);
        RegValue v = Registry::GetBinaryValue(Key(), L"b");
        ASSERT_TRUE(v.IsText());
        EXPECT_EQ(bytes, Text::BytesFromText(v.Text())) << Ansi(v.Text());
        // Written back through the binary writer, the bytes are the same.
        ASSERT_TRUE(Registry::SetBinaryValue(Key(), L"copy", v.Text()));
        EXPECT_EQ(std::make_pair(DWORD(REG_BINARY), bytes), Stored("copy"));
    }
}

TEST_F(RegistryTest, UnreadableAndNoRootAreDistinct) {
    MakeKey();
    TestReg::Set(Sub(), "empty", REG_SZ, "\0"s);
    using Reader = RegValue (*)(std::wstring_view, std::wstring_view);
    for (Reader read : {Reader(Registry::GetStringValue), Reader(Registry::GetBinaryValue),
                        Reader(Registry::GetDwordValue)}) {
        RegValue missingValue = read(Key(), L"nothing here");
        EXPECT_TRUE(missingValue.IsReadError());
        EXPECT_EQ(Marks::ReadErrorMark, missingValue.Text());
        EXPECT_TRUE(read(Key(L"no such key"), L"x").IsReadError());
        RegValue noRoot = read(L"Software\\QuorixTest", L"empty");
        EXPECT_TRUE(noRoot.IsEmpty());
        EXPECT_FALSE(noRoot.IsText());
        EXPECT_FALSE(read(L"HKEY_FOO\\Software", L"x").IsReadError());
    }
    RegValue empty = Registry::GetStringValue(Key(), L"empty");
    EXPECT_TRUE(empty.IsText());
    EXPECT_FALSE(empty.IsReadError());
    EXPECT_EQ(L"", empty.Text());
}

TEST_F(RegistryTest, WritersStoreTheirTypes) {
    MakeKey();
    ASSERT_TRUE(Registry::SetBinaryValue(Key(), L"zero", L""));
    ASSERT_TRUE(Registry::SetBinaryValue(Key(), L"blanks", L"   "));
    ASSERT_TRUE(Registry::SetBinaryValue(Key(), L"AB", L"AB"));
    ASSERT_TRUE(Registry::SetDwordValue(Key(), L"max", 0xFFFFFFFFu));
    ASSERT_TRUE(Registry::SetDwordValue(Key(), L"26", 26));
    ASSERT_TRUE(Registry::SetExpandStringValue(Key(), L"expand", L"plain text"));
    ASSERT_TRUE(Registry::SetRawValue(Key(), L"raw", REG_QWORD, "12345678"));
    ASSERT_TRUE(Registry::SetStringValue(Key(), L"", L"默认值"));
    EXPECT_EQ(std::make_pair(DWORD(REG_BINARY), ""s), Stored("zero"));
    EXPECT_EQ(std::make_pair(DWORD(REG_BINARY), ""s), Stored("blanks"));
    EXPECT_EQ(std::make_pair(DWORD(REG_BINARY), "AB"s), Stored("AB"));
    EXPECT_EQ(std::make_pair(DWORD(REG_DWORD), "\xFF\xFF\xFF\xFF"s), Stored("max"));
    EXPECT_EQ(std::make_pair(DWORD(REG_DWORD), "\x1A\0\0\0"s), Stored("26"));
    EXPECT_EQ(std::make_pair(DWORD(REG_EXPAND_SZ), "plain text\0"s), Stored("expand"));
    EXPECT_EQ(std::make_pair(DWORD(REG_QWORD), "12345678"s), Stored("raw"));
    EXPECT_EQ(std::make_pair(DWORD(REG_SZ), "\xC4\xAC\xC8\xCF\xD6\xB5\0"s), Stored(""));
    EXPECT_EQ(RegValue(-1), Registry::GetDwordValue(Key(), L"max"));

    DWORD type = 0;
    string bytes = "untouched";
    EXPECT_TRUE(Registry::GetRawValue(Key(), L"raw", type, bytes));
    EXPECT_EQ(DWORD(REG_QWORD), type);
    EXPECT_EQ("12345678", bytes);
    type = 77;
    EXPECT_FALSE(Registry::GetRawValue(Key(), L"missing", type, bytes));
    EXPECT_EQ(DWORD(77), type);
    EXPECT_EQ("12345678", bytes);
}

TEST_F(RegistryTest, WritesFailIntoAMissingKeyAndWithoutARoot) {
    EXPECT_FALSE(Registry::SetStringValue(Key(L"missing"), L"v", L"x"));
    EXPECT_FALSE(Registry::SetBinaryValue(Key(L"missing"), L"v", L""));
    EXPECT_FALSE(Registry::SetDwordValue(Key(L"missing"), L"v", 1));
    EXPECT_FALSE(KeyThere("missing"));  // the writers never create the key
    EXPECT_FALSE(Registry::SetStringValue(L"Software\\QuorixTest", L"v", L"x"));
    EXPECT_FALSE(Registry::SetStringValue(L"HKEY_CURRENT_USER\\Software\\QuorixTest\\", L"v", L"x"));
    EXPECT_FALSE(TestReg::Exists(Sub(), "v"));
}

// A path, name or text with a character outside the code page is never written
// as '?' (which would address or store something else); the writer fails.
TEST_F(RegistryTest, TextOutsideTheCodePageIsRefused) {
    MakeKey();
    TestReg::Set(Sub(), "a?", REG_SZ, "someone else's\0"s);
    const wstring thai = L"\x0E01";
    EXPECT_FALSE(Registry::SetStringValue(Key(), L"a" + thai, L"x"));
    EXPECT_FALSE(Registry::SetStringValue(Key(), L"data", L"x" + thai));
    EXPECT_FALSE(Registry::SetBinaryValue(Key(), L"data", thai));
    EXPECT_FALSE(Registry::SetDwordValue(Key(L"k" + thai), L"data", 1));
    EXPECT_FALSE(Registry::SetExpandStringValue(Key(), L"a" + thai, L"%x%"));
    EXPECT_TRUE(boxes.empty());  // the writers show nothing
    EXPECT_EQ(std::make_pair(DWORD(REG_SZ), "someone else's\0"s), Stored("a?"));
    EXPECT_EQ(kMissing, Stored("data").first);

    EXPECT_FALSE(Registry::CreateKeyPath(Key(L"k" + thai)));
    EXPECT_FALSE(KeyThere("k?"));
    EXPECT_TRUE(Registry::GetStringValue(Key(), L"a" + thai).IsReadError());
    EXPECT_TRUE(Registry::GetStringValue(Key(L"k" + thai), L"a").IsReadError());
}

// Calls on a held key give what they give when each opens the key itself: the
// same sequence runs on one key without and on another with a HeldKey.
TEST_F(RegistryTest, HeldKeyGivesTheResultsOfOpeningTheKeyEachTime) {
    const string big(2000, '\x5A');  // more than one first read takes
    std::vector<string> results[2];
    for (int held = 0; held < 2; ++held) {
        const wstring path = Key(held ? L"held\\a\\b" : L"plain\\a\\b");
        std::optional<Registry::HeldKey> hold;
        if (held) {
            hold.emplace(path);
            EXPECT_TRUE(hold->Held());
        }
        std::vector<string>& r = results[held];
        auto raw = [&](const wchar_t* name) {
            DWORD type = 0;
            string bytes;
            bool ok = Registry::GetRawValue(path, name, type, bytes);
            r.push_back(std::to_string(ok) + "/" + std::to_string(type) + "/" + bytes);
        };
        auto flag = [&](bool ok) { r.push_back(ok ? "true" : "false"); };
        cRegistry reg;
        reg.ClassKey = HKEY_CURRENT_USER;
        reg.SectionKey = Text::FromAnsi(Sub(held ? "held\\a\\b" : "plain\\a\\b"));
        reg.ValueKey = L"exp";
        flag(Registry::CreateKeyPath(path));
        raw(L"s");
        flag(Registry::SetStringValue(path, L"s", L"文字 a "));
        raw(L"s");
        r.push_back(Ansi(Registry::GetStringValue(path, L"s").ToText()));
        flag(Registry::SetDwordValue(path, L"d", 0xFFFFFFFEu));
        r.push_back(std::to_string(Registry::GetDwordValue(path, L"d").Number()));
        flag(Registry::SetBinaryValue(path, L"b", L"  "));
        raw(L"b");
        flag(Registry::SetRawValue(path, L"big", REG_BINARY, big));
        raw(L"big");
        flag(Registry::SetRawValue(path, L"", REG_MULTI_SZ, string("x\0y\0\0", 5)));
        raw(L"");
        reg.ValueType = REG_EXPAND_SZ;
        flag(reg.SetValue(RegValue(L"%TEMP%\\q")));
        raw(L"exp");
        flag(reg.DeleteValue());
        flag(reg.DeleteValue());
        raw(L"exp");
        flag(Registry::SetStringValue(path, L"\x0E01", L"x"));  // a name outside the code page
    }
    EXPECT_EQ(results[0], results[1]);
    EXPECT_TRUE(KeyThere("held\\a\\b"));
}

TEST_F(RegistryTest, HeldKeyHoldsOnlyWhatItCanOpen) {
    for (const wchar_t* path : {L"HKEY_CURRENT_USER", L"Software\\QuorixTest", L"HKEY_FOO\\x",
                                L"HKEY_CURRENT_USER\\Software\\QuorixTest\\\x0E01"}) {
        Registry::HeldKey hold(path);
        EXPECT_FALSE(hold.Held()) << Ansi(path);
    }
    Registry::HeldKey first(Key(L"one"));
    ASSERT_TRUE(first.Held());
    Registry::HeldKey second(Key(L"two"));
    EXPECT_FALSE(second.Held());  // one at a time
    EXPECT_FALSE(KeyThere("two"));
    EXPECT_TRUE(Registry::CreateKeyPath(Key(L"two")));
    EXPECT_TRUE(Registry::SetStringValue(Key(L"two"), L"v", L"2"));
    EXPECT_TRUE(Registry::SetStringValue(Key(L"one"), L"v", L"1"));
    EXPECT_EQ("1"s + '\0', Stored("v", "one").second);
    EXPECT_EQ("2"s + '\0', Stored("v", "two").second);
}
