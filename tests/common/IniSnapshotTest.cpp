// Reads within a ReadSnapshot answer as the system reads the file at that
// moment: over every shape of file, after the program's own writes, after
// changes made behind its back, and from a transaction's copy.
#include "common/Ini.h"
#include "platform/Text.h"
#include "support/Fixture.h"
#include "support/FileTimes.h"

#include <windows.h>

namespace {
// What the system itself answers: the value read whole, and whether the key is
// there (a read with a marker for the default that comes back as the marker).
struct Answer {
    std::string value;
    bool found = false;
    bool operator==(const Answer&) const = default;
};
Answer AskSystem(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    const std::string f = Ansi(file), s = Ansi(section), k = Ansi(key);
    std::string buf(1 << 16, '\0');
    Answer a;
    a.value.assign(buf.data(), GetPrivateProfileStringA(s.c_str(), k.c_str(), "", buf.data(), 1 << 16, f.c_str()));
    char probe[4];
    const DWORD n = GetPrivateProfileStringA(s.c_str(), k.c_str(), "\x01\x02", probe, sizeof probe, f.c_str());
    a.found = !(n == 2 && probe[0] == '\x01' && probe[1] == '\x02');
    return a;
}
Answer AskIni(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    Answer a;
    a.value = Ansi(Ini::Read(file, section, key, &a.found));
    return a;
}
std::string Value(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
    return Ansi(Ini::Read(file, section, key));
}
}  // namespace

class IniSnapshotTest : public QuorixTest {
protected:
    // Bytes of the same length written over the file, its last-write time
    // kept: nothing but the content tells the change.
    static void Overwrite(const std::wstring& file, const std::string& bytes) {
        const FILETIME before = LastWrite(file);
        ASSERT_EQ(ReadBytes(file).size(), bytes.size());
        WriteBytes(file, bytes);
        SetLastWrite(file, before);
        const FILETIME after = LastWrite(file);
        ASSERT_EQ(0, CompareFileTime(&before, &after));
    }
};

TEST_F(IniSnapshotTest, ReadsAnswerAsTheSystemReadsEveryShapeOfFile) {
    struct Shape {
        const char* name;
        const char* bytes;  // nullptr: no file
    } shapes[] = {
        {"regular", "[Data]\r\nWidth_1=5595\r\nView=3\r\nEmpty=\r\nv=a = b ;c\r\n[Other]\r\nk=v\r\n"},
        {"keys differing in case", "[S]\r\nKey=1\r\nkey=2\r\nKEY=3\r\nk=4\r\n"},
        {"sections twice", "[S]\r\na=1\r\n[T]\r\nx=1\r\n[s]\r\na=2\r\nb=3\r\n"},
        {"quoted values", "[S]\r\nq=\"quoted\"\r\nr='x'\r\nh=\"half\r\nk=\"\"\r\n"},
        {"padded lines", "[S]\r\n  k = v \r\na=1\t\r\n[ T ]\r\nx=1\r\n"},
        {"blank line", "[S]\r\nk=v\r\n\r\na=1\r\n"},
        {"LF line ends", "[S]\nk=v\na=1\n"},
        {"no line end at the end", "[S]\r\nk=v\r\na=1"},
        {"UTF-8 marked", "\xEF\xBB\xBF[S]\r\nk=v\r\n"},
        {"empty", ""},
        {"missing file", nullptr},
        {"keys before a section, comments, bare names", "top=1\r\n;c=1\r\n[S]\r\n;note\r\nflag\r\nk=v\r\n"},
        {"bracket in a section name", "[a]b]\r\nk=1\r\n[S]\r\nk=v\r\n"},
        {"the missing marker as a value", "[S]\r\nk=\x01\x02\r\na=\x01\x02x\r\n"},
        {"DBCS text", "[\xCA\xFD\xBE\xDD]\r\n\xBC\xBC\xC7\xC9=\xD6\xB5\r\n[C]\r\nAbc=5\r\n\xA3\xC1=6\r\n"},
    };
    const std::pair<std::wstring, std::wstring> asks[] = {
        {L"Data", L"View"},  {L"data", L"WIDTH_1"}, {L"Data", L"Empty"}, {L"Data", L"v"},    {L"Data", L"Missing"},
        {L"Nope", L"k"},     {L"Other", L"k"},      {L"S", L"k"},        {L"S", L"KEY"},     {L"s", L"key"},
        {L"S", L"a"},        {L"S", L"b"},          {L"T", L"x"},        {L"S", L"q"},       {L"S", L"r"},
        {L"S", L"h"},        {L"S", L"flag"},       {L"S", L";note"},    {L"", L"top"},      {L"S", L" k"},
        {L" S", L"k"},       {L"a]b", L"k"},        {L"a", L"k"},        {L"数据", L"技巧"}, {L"C", L"abc"},
        {L"C", L"\xFF21"},   {L"C", L"\xFF41"},     {L"S", std::wstring(L"k\0x", 3)},
    };
    for (size_t i = 0; i < std::size(shapes); ++i) {
        const Shape& shape = shapes[i];
        SCOPED_TRACE(shape.name);
        const std::wstring f = Path(L"shape" + std::to_wstring(i) + L".ini");
        if (shape.bytes) WriteBytes(f, shape.bytes);
        std::vector<Answer> bySystem;
        for (const auto& [section, key] : asks) bySystem.push_back(AskSystem(f, section, key));
        Ini::ReadSnapshot snapshot;
        for (int round = 0; round < 2; ++round)  // the file read whole, then its copy
            for (size_t a = 0; a < std::size(asks); ++a) {
                SCOPED_TRACE(Ansi(asks[a].first + L"/" + asks[a].second));
                EXPECT_EQ(bySystem[a], AskIni(f, asks[a].first, asks[a].second));
            }
    }
}

// The program's own writes, in every form, are read back at once.
TEST_F(IniSnapshotTest, EveryWriteThroughTheLayerIsReadBack) {
    const std::wstring f = Path(L"w.ini");
    WriteBytes(f, "[S]\r\nk=1\r\na=1\r\n[T]\r\nx=1\r\n");
    Ini::ReadSnapshot snapshot;
    Ini::ReadSnapshot inner;  // adds nothing: the outer one goes on
    EXPECT_EQ("1", Value(f, L"S", L"k"));
    ASSERT_TRUE(Ini::Write(f, L"S", L"k", L"2"));
    EXPECT_EQ("2", Value(f, L"S", L"k"));
    ASSERT_TRUE(Ini::DeleteKey(f, L"S", L"a"));
    bool found = true;
    EXPECT_EQ("", Ansi(Ini::Read(f, L"S", L"a", &found)));
    EXPECT_FALSE(found);
    ASSERT_TRUE(Ini::WriteSectionBytes(f, L"T", std::string("x=2\0y=3\0", 8)));
    EXPECT_EQ("2", Value(f, L"T", L"x"));
    ASSERT_TRUE(Ini::DeleteSection(f, L"T"));
    EXPECT_EQ("", Value(f, L"T", L"y"));
    {
        Ini::SectionEdit edit(f, L"S");
        ASSERT_TRUE(edit.Exact());
        ASSERT_TRUE(edit.Set(L"k", L"3"));
        ASSERT_TRUE(edit.Commit());
    }
    EXPECT_EQ("3", Value(f, L"S", L"k"));
    {
        Ini::AppendSession session;
        ASSERT_TRUE(Ini::Write(f, L"S", L"new", L"4"));
        ASSERT_EQ(1, session.Appended());
        EXPECT_EQ("4", Value(f, L"S", L"new"));
    }
    EXPECT_EQ("[S]\r\nk=3\r\nnew=4\r\n", ReadBytes(f));
}

// Changes made behind the program's back: another size, another write time,
// and, after a box the user saw, the same size and time.
TEST_F(IniSnapshotTest, ChangesMadeByOthersAreRead) {
    const std::wstring f = Path(L"o.ini");
    WriteBytes(f, "[S]\r\nk=1\r\n");
    Ini::ReadSnapshot snapshot;
    EXPECT_EQ("1", Value(f, L"S", L"k"));
    WriteBytes(f, "[S]\r\nk=22\r\n");
    EXPECT_EQ("22", Value(f, L"S", L"k"));

    const FILETIME t = LastWrite(f);
    WriteBytes(f, "[S]\r\nk=33\r\n");
    FILETIME other = t;
    other.dwHighDateTime -= 1;  // about seven minutes earlier
    SetLastWrite(f, other);
    EXPECT_EQ("33", Value(f, L"S", L"k"));

    Overwrite(f, "[S]\r\nk=44\r\n");
    ExpectBox(IDOK);
    App::MsgBox(L"box");
    EXPECT_EQ("44", Value(f, L"S", L"k"));

    ASSERT_TRUE(DeleteFileW(f.c_str()));
    bool found = true;
    EXPECT_EQ("", Ansi(Ini::Read(f, L"S", L"k", &found)));
    EXPECT_FALSE(found);
}

// While a transaction holds the file, reads go to its copy; once it is
// settled, to the file as it then is.
TEST_F(IniSnapshotTest, ATransactionsCopyIsReadWhileItLasts) {
    const std::wstring f = Path(L"t.ini");
    WriteBytes(f, "[S]\r\nk=1\r\na=1\r\n");
    Ini::ReadSnapshot snapshot;
    EXPECT_EQ("1", Value(f, L"S", L"k"));
    {
        Ini::FileTransaction tx(f);
        ASSERT_TRUE(Ini::Write(f, L"S", L"k", L"2"));
        EXPECT_EQ("[S]\r\nk=1\r\na=1\r\n", ReadBytes(f));
        EXPECT_EQ("2", Value(f, L"S", L"k"));
        EXPECT_EQ("1", Value(f, L"S", L"a"));
        tx.Discard();
    }
    EXPECT_EQ("1", Value(f, L"S", L"k"));
    {
        Ini::FileTransaction tx(f);
        ASSERT_TRUE(Ini::Write(f, L"S", L"k", L"3"));
        ASSERT_TRUE(Ini::DeleteKey(f, L"S", L"a"));
        EXPECT_EQ("3", Value(f, L"S", L"k"));
        ASSERT_TRUE(tx.Commit());
    }
    EXPECT_EQ("3", Value(f, L"S", L"k"));
    EXPECT_EQ("", Value(f, L"S", L"a"));
}
