// The registry access object against the real registry.
#include "EngineTest.h"

#include "engine/cRegistry.h"
#include "platform/Text.h"

#include <algorithm>

using std::string;
using std::wstring;
using namespace std::string_literals;

class cRegistryTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        MakeKey();
    }
    static cRegistry At(const wstring& name, DWORD type = 0, const wstring& sub = {}) {
        cRegistry r;
        r.ClassKey = HKEY_CURRENT_USER;
        r.SectionKey = sub.empty() ? L"Software\\QuorixTest" : L"Software\\QuorixTest\\" + sub;
        r.ValueKey = name;
        r.ValueType = type;
        return r;
    }
};

TEST_F(cRegistryTest, ValueReadsByStoredType) {
    TestReg::Set(Sub(), "sz", REG_SZ, Ansi(L"  中文 ") + '\0');
    TestReg::Set(Sub(), "sz empty", REG_SZ, "");
    TestReg::Set(Sub(), "sz long", REG_SZ, string(5000, 'z') + '\0');
    TestReg::Set(Sub(), "multi", REG_MULTI_SZ, "a\0bc\0\0"s);
    TestReg::Set(Sub(), "dword", REG_DWORD, "\xFF\xFF\xFF\xFF");
    TestReg::Set(Sub(), "big endian", REG_DWORD_BIG_ENDIAN, "\0\0\1\2"s);
    TestReg::Set(Sub(), "bin3", REG_BINARY, "\x01\xAB\xFF");
    TestReg::Set(Sub(), "bin0", REG_BINARY, "");
    TestReg::Set(Sub(), "qword", REG_QWORD, "\1\2\3\4\5\6\7\x08");
    TestReg::Set(Sub(), "none", REG_NONE, "\x09");
    struct Case {
        const char* name;
        RegValue value;
        DWORD type;
    } cases[] = {
        {"sz", L"  中文 ", REG_SZ},
        {"sz empty", L"", REG_SZ},
        {"sz long", wstring(5000, L'z'), REG_SZ},
        {"multi", wstring(L"a\0bc\0", 5), REG_MULTI_SZ},
        {"dword", -1, REG_DWORD},
        {"big endian", 258, REG_DWORD_BIG_ENDIAN},
        {"bin3", V({0x01, 0xAB, 0xFF, 0}), REG_BINARY},  // one trailing 0 more than stored
        {"bin0", V({0}), REG_BINARY},
        {"qword", V({1, 2, 3, 4, 5, 6, 7, 8, 0}), REG_QWORD},
        {"none", V({9, 0}), REG_NONE},
    };
    for (const auto& c : cases) {
        cRegistry r = At(Text::FromAnsi(c.name), 99);
        EXPECT_EQ(c.value, r.Value()) << c.name;
        EXPECT_EQ(c.type, r.ValueType) << c.name;
    }
}

TEST_F(cRegistryTest, ExpandableStringsReadExpanded) {
    TestReg::Set(Sub(), "exp", REG_EXPAND_SZ, "%SystemRoot%\\system32\0"s);
    TestReg::Set(Sub(), "unknown", REG_EXPAND_SZ, "%QUORIX_NO_SUCH_VAR%x\0"s);
    wchar_t root[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"SystemRoot", root, MAX_PATH), 0u);
    cRegistry r = At(L"exp");
    EXPECT_EQ(RegValue(wstring(root) + L"\\system32"), r.Value());
    EXPECT_EQ(DWORD(REG_EXPAND_SZ), r.ValueType);
    r.ValueKey = L"unknown";
    EXPECT_EQ(RegValue(L"%QUORIX_NO_SUCH_VAR%x"), r.Value());
}

TEST_F(cRegistryTest, UnreadableValueGivesDefaultAndKeepsTheType) {
    TestReg::Set(Sub(), "dword", REG_DWORD, "\4\0\0\0"s);
    cRegistry r = At(L"dword");
    EXPECT_EQ(RegValue(4), r.Value());
    r.ValueKey = L"missing";
    RegValue v = r.Value();
    EXPECT_TRUE(v.IsEmpty());
    EXPECT_EQ(DWORD(REG_DWORD), r.ValueType);
    r.Default = L"fallback";
    EXPECT_EQ(RegValue(L"fallback"), r.Value());
    r.ValueKey = L"dword";
    r.SectionKey = L"Software\\QuorixTest\\missing";
    EXPECT_EQ(RegValue(L"fallback"), r.Value());
    r.ClassKey = nullptr;
    r.SectionKey = L"Software\\QuorixTest";
    EXPECT_EQ(RegValue(L"fallback"), r.Value());
    EXPECT_EQ(DWORD(REG_DWORD), r.ValueType);
}

// Callers append two zero bytes to the data they write and drop the trailing
// element of the bytes they read.
TEST_F(cRegistryTest, BinaryValuesKeepTheirLengthDifference) {
    struct Case {
        std::vector<uint8_t> given;
        bool written;
        string stored;
    } cases[] = {
        {V({0x01, 0xAB, 0xFF, 0x10, 0, 0}), true, "\x01\xAB\xFF\x10"},
        {V({0, 0}), true, ""},
        {V({0x7F, 0, 0}), true, "\x7F"},
        {V({0}), false, ""},
        {{}, false, ""},
    };
    for (const auto& c : cases) {
        TestReg::DeleteTree(Sub());
        MakeKey();
        cRegistry w = At(L"bin", REG_BINARY, L"new key");  // the key is created when missing
        EXPECT_EQ(c.written, w.SetValue(c.given)) << c.given.size();
        if (!c.written) {
            EXPECT_EQ(kMissing, Stored("bin", "new key").first);
            continue;
        }
        EXPECT_EQ(std::make_pair(DWORD(REG_BINARY), c.stored), Stored("bin", "new key"));
        // Read back: the stored bytes and one trailing 0.
        cRegistry r = At(L"bin", 0, L"new key");
        std::vector<uint8_t> expected(c.stored.begin(), c.stored.end());
        expected.push_back(0);
        EXPECT_EQ(RegValue(expected), r.Value());
    }
}

TEST_F(cRegistryTest, TextIsExpandableByThePercentRule) {
    struct Case {
        DWORD valueType;
        const wchar_t* text;
        DWORD stored;
    } cases[] = {
        {REG_EXPAND_SZ, L"50%", REG_SZ},        {REG_EXPAND_SZ, L"%PATH%", REG_EXPAND_SZ},
        {REG_SZ, L"%PATH%", REG_EXPAND_SZ},     {REG_EXPAND_SZ, L"%%", REG_SZ},
        {REG_EXPAND_SZ, L"%a%", REG_EXPAND_SZ}, {REG_EXPAND_SZ, L"x%%y%", REG_EXPAND_SZ},
        {REG_EXPAND_SZ, L"a%b%c", REG_EXPAND_SZ}, {REG_EXPAND_SZ, L"", REG_SZ},
        {REG_SZ, L"100% 中文", REG_SZ},
    };
    for (const auto& c : cases) {
        cRegistry r = At(L"t", c.valueType);
        ASSERT_TRUE(r.SetValue(c.text)) << Ansi(c.text);
        auto [type, bytes] = Stored("t");
        EXPECT_EQ(c.stored, type) << Ansi(c.text);
        EXPECT_EQ(Ansi(c.text) + '\0', bytes) << Ansi(c.text);
    }
    cRegistry r = At(L"cn", REG_EXPAND_SZ);
    ASSERT_TRUE(r.SetValue(L"中文"));
    EXPECT_EQ(std::make_pair(DWORD(REG_SZ), "\xD6\xD0\xCE\xC4\0"s), Stored("cn"));  // 5 bytes
}

TEST_F(cRegistryTest, WritesOfTheWrongKindFail) {
    struct Case {
        const char* what;
        DWORD valueType;
        RegValue value;
        bool written;
        DWORD stored;
        string bytes;
    } cases[] = {
        {"dword", REG_DWORD, -2, true, REG_DWORD, "\xFE\xFF\xFF\xFF"},
        {"big endian as dword", REG_DWORD_BIG_ENDIAN, 258, true, REG_DWORD, "\x02\x01\0\0"s},
        {"number as text", REG_SZ, 42, true, REG_SZ, "42\0"s},
        {"dword from text", REG_DWORD, L"42", false, 0, ""},
        {"binary from text", REG_BINARY, L"01 02 00 00", false, 0, ""},
        {"text from bytes", REG_SZ, V({1, 0, 0}), false, 0, ""},
        {"read error", REG_SZ, RegValue::Unreadable(), false, 0, ""},
        {"type 0", 0, L"x", false, 0, ""},
        {"type 7", REG_MULTI_SZ, L"x", false, 0, ""},
        {"text outside the code page", REG_SZ, L"\x0E01", false, 0, ""},
    };
    for (const auto& c : cases) {
        TestReg::DeleteTree(Sub());
        MakeKey();
        cRegistry r = At(L"v", c.valueType);
        EXPECT_EQ(c.written, r.SetValue(c.value)) << c.what;
        auto [type, bytes] = Stored("v");
        EXPECT_EQ(c.written ? c.stored : kMissing, type) << c.what;
        EXPECT_EQ(c.bytes, bytes) << c.what;
    }
}

TEST_F(cRegistryTest, DeleteValueReportsAMissingValue) {
    TestReg::Set(Sub(), "old", REG_SZ, "x\0"s);
    cRegistry r = At(L"old");
    EXPECT_TRUE(r.DeleteValue());
    EXPECT_FALSE(TestReg::Exists(Sub(), "old"));
    EXPECT_FALSE(r.DeleteValue());  // a failure, and no message: the caller shows it
}

TEST_F(cRegistryTest, EnumerateValuesTellsWhetherTheKeyOpened) {
    // A key that cannot be opened lists no names and still succeeds; `opened`
    // tells the caller which LiveKeyFlag it gets.
    std::vector<wstring> names{L"stale"};
    bool opened = true;
    EXPECT_TRUE(At(L"", 0, L"missing").EnumerateValues(names, &opened));
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(opened);
    cRegistry noRoot = At(L"");
    noRoot.ClassKey = nullptr;
    names = {L"stale"};
    opened = true;
    EXPECT_TRUE(noRoot.EnumerateValues(names, &opened));
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(opened);

    EXPECT_TRUE(At(L"").EnumerateValues(names, &opened));
    EXPECT_TRUE(names.empty());
    EXPECT_TRUE(opened);

    // Long names, double-byte names and the default value.
    const wstring longName(300, L'\x540D');  // 600 bytes
    TestReg::Set(Sub(), Ansi(L"名称"), REG_SZ, "1\0"s);
    TestReg::Set(Sub(), Ansi(longName), REG_DWORD, "\1\0\0\0"s);
    TestReg::Set(Sub(), "", REG_SZ, "d\0"s);
    TestReg::Set(Sub(), "plain", REG_BINARY, "");
    ASSERT_TRUE(At(L"").EnumerateValues(names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<wstring>{L"", L"plain", longName, L"名称"}), names);
}

TEST_F(cRegistryTest, KeysAreCreatedListedAndDeleted) {
    cRegistry r = At(L"", 0, L"父\\子");
    EXPECT_FALSE(r.KeyExists());
    EXPECT_TRUE(r.CreateKey());
    EXPECT_TRUE(r.KeyExists());
    EXPECT_EQ(0, r.LastError().number);
    r.SectionKey = L"Software\\QuorixTest\\父\\二";
    EXPECT_TRUE(r.CreateKey());

    std::vector<wstring> names;
    r.SectionKey = L"Software\\QuorixTest\\父";
    EXPECT_TRUE(r.EnumerateSections(names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<wstring>{L"二", L"子"}), names);
    r.SectionKey = L"Software\\QuorixTest\\无";
    bool opened = true;
    EXPECT_TRUE(r.EnumerateSections(names, &opened));
    EXPECT_TRUE(names.empty());
    EXPECT_FALSE(opened);

    r.SectionKey = L"Software\\QuorixTest\\父\\子";
    EXPECT_TRUE(r.DeleteKey());
    EXPECT_FALSE(KeyThere(Ansi(L"父\\子")));
    EXPECT_TRUE(KeyThere(Ansi(L"父\\二")));

    r.SectionKey = L"Software\\QuorixTest\\Nope";
    EXPECT_FALSE(r.DeleteKey());
    EXPECT_EQ(cRegistry::kKeyError, r.LastError().number);
    EXPECT_EQ(L"Failed to delete registry Key: '-2147483647',Section: 'Software\\QuorixTest\\Nope",
              r.LastError().description);
    EXPECT_EQ(L"test_engine.cRegistry", r.LastError().source);

    // The root itself is never deleted.
    r.SectionKey = L"";
    EXPECT_FALSE(r.DeleteKey());
    EXPECT_TRUE(KeyThere(""));

    r.ClassKey = nullptr;
    r.SectionKey = L"Software\\QuorixTest\\x";
    EXPECT_FALSE(r.CreateKey());
    EXPECT_EQ(cRegistry::kKeyError, r.LastError().number);
    EXPECT_EQ(L"Failed to create registry Key: 'Software\\QuorixTest\\x", r.LastError().description);
}

// File-type registration writes under HKEY_CLASSES_ROOT; the test removes what it made.
TEST_F(cRegistryTest, FileTypeAssociations) {
    struct Cleanup {
        ~Cleanup() {
            for (const char* k : {"Software\\Classes\\.quorixtst", "Software\\Classes\\QuorixTest.Doc"})
                RegDeleteTreeA(HKEY_LOCAL_MACHINE, k);
            for (const char* k : {"Software\\Classes\\.quorixtst", "Software\\Classes\\QuorixTest.Doc"})
                RegDeleteTreeA(HKEY_CURRENT_USER, k);
        }
    } cleanup;
    cRegistry r;
    r.ClassKey = HKEY_CURRENT_USER;
    r.SectionKey = L"kept";
    r.CreateAdditionalEXEAssociations(L"QuorixTest.Doc", {L"edit", L"&Edit", L"x.exe /e"});
    EXPECT_EQ(cRegistry::kClassNotDefined, r.LastError().number);
    r.CreateAdditionalEXEAssociations(L"QuorixTest.Doc", {L"edit", L"&Edit"});
    EXPECT_EQ(cRegistry::kBadParameterList, r.LastError().number);

    cRegistry::ExeAssociation a;
    a.exePath = L"  C:\\程序\\q.exe ";
    a.className = L"QuorixTest.Doc";
    a.classDescription = L"技巧数据文件";
    a.association = L"quorixtst";
    a.supportPrint = true;
    a.defaultIconIndex = 2;
    r.CreateEXEAssociation(a);
    r.CreateAdditionalEXEAssociations(L"QuorixTest.Doc", {L"edit", L"&Edit", L"x.exe /e"});
    EXPECT_EQ(0, r.LastError().number);
    EXPECT_EQ(HKEY_CURRENT_USER, r.ClassKey);  // the caller's fields are put back
    EXPECT_EQ(L"kept", r.SectionKey);

    auto classes = [](const wstring& section) {
        cRegistry c;
        c.ClassKey = HKEY_CLASSES_ROOT;
        c.SectionKey = section;
        return c.Value();
    };
    EXPECT_EQ(RegValue(L"QuorixTest.Doc"), classes(L".quorixtst"));
    EXPECT_EQ(RegValue(L"技巧数据文件"), classes(L"QuorixTest.Doc"));
    EXPECT_EQ(RegValue(L"&Open"), classes(L"QuorixTest.Doc\\shell\\open"));
    EXPECT_EQ(RegValue(L"\"C:\\程序\\q.exe\" \"%1\""), classes(L"QuorixTest.Doc\\shell\\open\\command"));
    EXPECT_EQ(RegValue(L"&Print"), classes(L"QuorixTest.Doc\\shell\\print"));
    EXPECT_EQ(RegValue(L"\"C:\\程序\\q.exe\" /p \"%1\""), classes(L"QuorixTest.Doc\\shell\\print\\command"));
    EXPECT_EQ(RegValue(L"\"C:\\程序\\q.exe\",2"), classes(L"QuorixTest.Doc\\DefaultIcon"));
    EXPECT_TRUE(classes(L"QuorixTest.Doc\\shell\\new").IsEmpty());
    EXPECT_EQ(RegValue(L"x.exe /e"), classes(L"QuorixTest.Doc\\shell\\edit\\command"));
}
