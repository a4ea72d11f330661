#include "common/Ini.h"
#include "common/Marks.h"
#include "platform/Text.h"
#include "support/Fixture.h"
#include "support/FileTimes.h"

#include <optional>

class IniTest : public QuorixTest {};

TEST_F(IniTest, MissingFileSectionOrKeyReadsEmpty) {
    std::wstring f = Path(L"a.ini");
    bool found = true;
    EXPECT_EQ(L"", Ini::Read(f, L"Data", L"x", &found));
    EXPECT_FALSE(found);
    ASSERT_TRUE(Ini::Write(f, L"Data", L"x", L""));
    EXPECT_EQ(L"", Ini::Read(f, L"Data", L"x", &found));
    EXPECT_TRUE(found);
    EXPECT_EQ(L"", Ini::Read(f, L"Other", L"x", &found));
    EXPECT_FALSE(found);
}

TEST_F(IniTest, LongValuesKeysAndSectionsReadWhole) {
    std::wstring f = Path(L"b.ini");
    std::wstring big(1500, L'\x6C49');  // 3,000 bytes in code page 936
    ASSERT_TRUE(Ini::Write(f, L"数据", L"长", big));
    EXPECT_EQ(big, Ini::Read(f, L"数据", L"长"));
    for (int i = 0; i < 400; ++i) ASSERT_TRUE(Ini::Write(f, L"数据", L"键" + std::to_wstring(i), L"v"));
    auto keys = Ini::Keys(f, L"数据");
    ASSERT_EQ(401u, keys.size());
    EXPECT_EQ(L"键399", keys.back());
    for (int i = 0; i < 300; ++i) ASSERT_TRUE(Ini::Write(f, L"节" + std::to_wstring(i), L"k", L"v"));
    auto sections = Ini::Sections(f);
    ASSERT_EQ(301u, sections.size());
    EXPECT_EQ(L"节299", sections.back());
}

TEST_F(IniTest, MarksRoundTripAsTheirCodePageBytes) {
    std::wstring f = Path(L"c.ini");
    std::wstring v = L"A" + Marks::FieldMark + L"B" + Marks::JoinMark + L"C" + Marks::DeleteMark;
    std::wstring mirror = Marks::FieldMark + L"数据" + Marks::FieldMark;
    ASSERT_TRUE(Ini::Write(f, mirror, L"k", v));
    EXPECT_EQ(v, Ini::Read(f, mirror, L"k"));
    std::string bytes = ReadBytes(f);
    EXPECT_NE(std::string::npos, bytes.find("[\xFF\xCA\xFD\xBE\xDD\xFF]"));
    EXPECT_NE(std::string::npos, bytes.find("k=A\xFF" "B\x81\x88" "C\xAD\x95"));
}

TEST_F(IniTest, TextThatWouldBreakTheFileIsRefused) {
    std::wstring f = Path(L"d.ini");
    ASSERT_TRUE(Ini::Write(f, L"S", L"k", L"keep"));
    struct Case {
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* value;
    } cases[] = {
        {L"S", L"k", L"a\r\nb=c"}, {L"S", L"k", L"a\nb"}, {L"S\n", L"k", L"v"}, {L"S]", L"k", L"v"},
        {L"S", L"a=b", L"v"},      {L"S", L"[x", L"v"},   {L"S", L";x", L"v"}, {L"S", L"a\rb", L"v"},
    };
    for (const auto& c : cases) EXPECT_FALSE(Ini::Write(f, c.section, c.key, c.value)) << Ansi(c.value);
    EXPECT_EQ(L"keep", Ini::Read(f, L"S", L"k"));
    EXPECT_EQ(1u, Ini::Keys(f, L"S").size());
}

TEST_F(IniTest, DeleteKeySectionAndEmptySection) {
    std::wstring f = Path(L"e.ini");
    ASSERT_TRUE(Ini::Write(f, L"A", L"k1", L"1"));
    ASSERT_TRUE(Ini::Write(f, L"A", L"K2", L"2"));
    ASSERT_TRUE(Ini::Write(f, L"a", L"k2", L"3"));  // names match without regard to case
    EXPECT_EQ(L"3", Ini::Read(f, L"A", L"k2"));
    ASSERT_TRUE(Ini::DeleteKey(f, L"A", L"k1"));
    EXPECT_EQ(std::vector<std::wstring>{L"K2"}, Ini::Keys(f, L"A"));
    ASSERT_TRUE(Ini::MakeEmptySection(f, L"Empty"));
    EXPECT_EQ((std::vector<std::wstring>{L"A", L"Empty"}), Ini::Sections(f));
    EXPECT_TRUE(Ini::Keys(f, L"Empty").empty());
    ASSERT_TRUE(Ini::DeleteSection(f, L"A"));
    EXPECT_EQ(std::vector<std::wstring>{L"Empty"}, Ini::Sections(f));
}

TEST_F(IniTest, WriteIntoAnUnwritableFileFails) {
    EXPECT_FALSE(Ini::Write(Path(L"no such folder\\x.ini"), L"S", L"k", L"v"));
}

namespace {
struct Entry {
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* value;
};
}  // namespace

// Writes inside a session leave every file exactly as the system's own writes
// do, whether they were appended or went through the system; each case starts
// from the given bytes (none: no file) and names how many writes are appended.
TEST_F(IniTest, SessionWritesLeaveTheBytesOfTheSystemsWrites) {
    const std::wstring record = L"HKEY_CURRENT_USER\\Software" + Marks::FieldMark + L"v" + Marks::FieldMark +
                                Marks::DeleteMark + Marks::FieldMark + L"0";
    struct Case {
        const char* name;
        const char* start;  // nullptr: no file
        std::vector<Entry> writes;
        int appended;
    };
    const std::vector<Case> cases = {
        {"new file, then new keys", nullptr,
         {{L"S", L"k1", L"v1"}, {L"S", L"k2", L"v2"}, {L"S", L"【使用成功】【技巧】", L"系统设置\\开始菜单"},
          {L"系统设置", L"技巧 1", record.c_str()}, {L"系统设置", L"技巧 2", L""}, {L"系统设置", L"技巧 3", L"a = b ;c"}},
         4},
        {"key there already (any case)", "[S]\r\nKey=old\r\nk2=x\r\n", {{L"s", L"kEY", L"new"}, {L"S", L"k3", L"y"}}, 1},
        {"section not last, then back to the last", "[A]\r\na=1\r\n[B]\r\nb=1\r\n",
         {{L"A", L"a2", L"2"}, {L"b", L"b2", L"2"}, {L"C", L"c", L"3"}, {L"C", L"c2", L"4"}},
         2},
        {"section twice", "[S]\r\na=1\r\n[T]\r\nb=2\r\n[S]\r\nc=3\r\n", {{L"S", L"d", L"4"}}, 0},
        {"comments, bare lines, keys before any section", "top=1\r\n;note\r\n[S]\r\n;c\r\nflag\r\nk=v\r\n",
         {{L"S", L"k2", L"v2"}, {L"S", L"flag", L"on"}},
         1},
        {"blank line: rewritten once, then appended", "[S]\r\nk=v\r\n\r\n", {{L"S", L"a", L"1"}, {L"S", L"b", L"2"}}, 1},
        {"blanks around '='", "[S]\r\nk = v\r\n", {{L"S", L"a", L"1"}, {L"S", L"b", L"2"}}, 1},
        {"blanks around a section name", "[ S ]\r\nk=v\r\n", {{L"S", L"a", L"1"}}, 0},
        {"LF line ends", "[S]\nk=v\n", {{L"S", L"a", L"1"}}, 0},
        {"no line end at the end", "[S]\r\nk=v", {{L"S", L"a", L"1"}}, 0},
        {"UTF-8 marked file", "\xEF\xBB\xBF[S]\r\nk=v\r\n", {{L"S", L"a", L"1"}, {L"S", L"b", L"2"}}, 0},
        {"empty file", "", {{L"S", L"a", L"1"}, {L"S", L"b", L"2"}}, 1},
        {"padded texts the system trims", "[S]\r\nk=v\r\n",
         {{L"S", L"a", L" lead"}, {L"S", L"b", L"trail "}, {L"S", L"c ", L"1"}, {L"S ", L"d", L"1"}, {L"S", L"e", L"1"}},
         1},
        {"letters with case beyond ASCII", "[S]\r\n\xA3\xC1=1\r\n",  // fullwidth A
         {{L"S", L"\xFF41", L"2"}, {L"S", L"\x0391", L"3"}, {L"S", L"\x03B1", L"4"}},
         0},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        const std::wstring n = std::to_wstring(i);
        const std::wstring plain = Path(L"plain" + n + L".ini"), appended = Path(L"appended" + n + L".ini");
        if (c.start) {
            WriteBytes(plain, c.start);
            WriteBytes(appended, c.start);
        }
        for (const Entry& e : c.writes) ASSERT_TRUE(Ini::Write(plain, e.section, e.key, e.value));
        {
            Ini::AppendSession session;
            for (const Entry& e : c.writes) {
                ASSERT_TRUE(Ini::Write(appended, e.section, e.key, e.value)) << Ansi(e.key);
                // The system reads every write at once, appended or not.
                EXPECT_EQ(Ini::Read(plain, e.section, e.key), Ini::Read(appended, e.section, e.key)) << Ansi(e.key);
            }
            EXPECT_EQ(c.appended, session.Appended());
            EXPECT_EQ(ReadBytes(plain), ReadBytes(appended));
        }
        EXPECT_EQ(ReadBytes(plain), ReadBytes(appended));
        EXPECT_EQ(Ini::Sections(plain), Ini::Sections(appended));
    }
}

// A copy of the file the system kept from before an append is never used: not
// even when the appended file shows the very write time of that copy, as it
// does when the clock has not moved on between the two writes.
TEST_F(IniTest, SystemCopyFromBeforeAnAppendIsNeverRead) {
    const std::wstring f = Path(L"cache.ini");
    ASSERT_TRUE(Ini::Write(f, L"S", L"a", L"1"));
    SYSTEMTIME st{2020, 1, 3, 1, 12, 0, 0, 0};
    FILETIME old;
    ASSERT_TRUE(SystemTimeToFileTime(&st, &old));
    SetLastWrite(f, old);
    EXPECT_EQ(L"1", Ini::Read(f, L"S", L"a"));  // the system keeps a copy of an old file
    {
        Ini::AppendSession session;
        ASSERT_TRUE(Ini::Write(f, L"S", L"b", L"2"));
        ASSERT_EQ(1, session.Appended());
        SetLastWrite(f, old);
        EXPECT_EQ(L"2", Ini::Read(f, L"S", L"b"));
        ASSERT_TRUE(Ini::Write(f, L"S", L"c", L"3"));
        SetLastWrite(f, old);
        // A write through the system keeps the appended lines.
        ASSERT_TRUE(Ini::Write(f, L"S", L"a", L"one"));
        ASSERT_TRUE(Ini::Write(f, L"S", L"d", L"4"));
        SetLastWrite(f, old);
        EXPECT_EQ((std::vector<std::wstring>{L"a", L"b", L"c", L"d"}), Ini::Keys(f, L"S"));
        EXPECT_EQ(3, session.Appended());
    }
    SetLastWrite(f, old);
    EXPECT_EQ(L"4", Ini::Read(f, L"S", L"d"));
    EXPECT_EQ("[S]\r\na=one\r\nb=2\r\nc=3\r\nd=4\r\n", ReadBytes(f));
}

// A session notices files changed behind its back and writes after them.
TEST_F(IniTest, SessionSeesChangesMadeByOthers) {
    const std::wstring f = Path(L"shared.ini");
    Ini::AppendSession session;
    ASSERT_TRUE(Ini::Write(f, L"S", L"a", L"1"));
    ASSERT_TRUE(Ini::Write(f, L"S", L"b", L"2"));
    ASSERT_EQ(1, session.Appended());
    struct Change {
        const char* bytes;    // written by someone else
        Entry write;
        const char* result;
        int appended;         // session total afterwards
    };
    const Change changes[] = {
        {"[S]\r\na=1\r\nb=2\r\nx=9\r\n", {L"S", L"c", L"3"}, "[S]\r\na=1\r\nb=2\r\nx=9\r\nc=3\r\n", 2},
        {"[S]\r\na=1\r\nb=2\r\nx=8\r\n", {L"S", L"x", L"7"}, "[S]\r\na=1\r\nb=2\r\nx=7\r\n", 2},  // same size
        {"[T]\r\nt=1\r\n", {L"S", L"d", L"4"}, "[T]\r\nt=1\r\n[S]\r\nd=4\r\n", 2},
        {"[T]\r\nt=1\r\n[S]\r\nd=4\r\n", {L"S", L"e", L"5"}, "[T]\r\nt=1\r\n[S]\r\nd=4\r\ne=5\r\n", 3},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.result);
        WriteBytes(f, c.bytes);
        ASSERT_TRUE(Ini::Write(f, c.write.section, c.write.key, c.write.value));
        EXPECT_EQ(c.result, ReadBytes(f));
        EXPECT_EQ(c.appended, session.Appended());
    }
}

// WriteNew writes a key only when the section does not have it, in a session
// or not; refused text is a failure.
TEST_F(IniTest, WriteNewKeepsTheFirstValue) {
    for (bool inSession : {false, true}) {
        SCOPED_TRACE(inSession ? "session" : "no session");
        const std::wstring f = Path(inSession ? L"new2.ini" : L"new1.ini");
        std::optional<Ini::AppendSession> session;
        if (inSession) session.emplace();
        EXPECT_EQ(Ini::NewKey::Written, Ini::WriteNew(f, L"S", L"k", L"first"));
        EXPECT_EQ(Ini::NewKey::Written, Ini::WriteNew(f, L"S", L"k2", L""));
        EXPECT_EQ(Ini::NewKey::Kept, Ini::WriteNew(f, L"S", L"K", L"second"));
        EXPECT_EQ(Ini::NewKey::Kept, Ini::WriteNew(f, L"S", L"k2", L"second"));
        EXPECT_EQ(Ini::NewKey::Failed, Ini::WriteNew(f, L"S", L"k3", L"a\nb"));
        EXPECT_EQ(Ini::NewKey::Written, Ini::WriteNew(f, L"T", L"k", L"other"));
        EXPECT_EQ(Ini::NewKey::Kept, Ini::WriteNew(f, L"S", L"k", L"third"));
        EXPECT_EQ("[S]\r\nk=first\r\nk2=\r\n[T]\r\nk=other\r\n", ReadBytes(f));
        if (session) {
            EXPECT_EQ(1, session->Appended());
        }
    }
}

// Files appended to stay open, shared for reading and writing, until the
// session ends.
TEST_F(IniTest, AppendedFilesAreReleasedWhenTheSessionEnds) {
    const std::wstring f = Path(L"held.ini");
    ASSERT_TRUE(Ini::Write(f, L"S", L"a", L"1"));
    {
        Ini::AppendSession session;
        ASSERT_TRUE(Ini::Write(f, L"S", L"b", L"2"));
        ASSERT_EQ(1, session.Appended());
        EXPECT_FALSE(DeleteFileW(f.c_str()));
        HANDLE h = CreateFileW(f.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, h);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    }
    EXPECT_TRUE(DeleteFileW(f.c_str()));
}

// ---- whole-file replacement ----

TEST_F(IniTest, ATransactionWritesACopyAndReplacesTheFileInOneStep) {
    const std::wstring f = Path(L"t.ini"), copy = f + Ini::CopySuffix;
    WriteBytes(f, "[S]\r\na=1\r\n");
    {
        Ini::FileTransaction tx(f);
        ASSERT_TRUE(Ini::Write(f, L"S", L"b", L"2"));
        ASSERT_TRUE(Ini::WriteSectionBytes(f, L"T", std::string("x=1\0", 4)));
        ASSERT_TRUE(Ini::DeleteKey(f, L"S", L"a"));
        // The file is as it was; every read sees the copy.
        EXPECT_EQ("[S]\r\na=1\r\n", ReadBytes(f));
        EXPECT_EQ(L"2", Ini::Read(f, L"S", L"b"));
        EXPECT_EQ(L"", Ini::Read(f, L"S", L"a"));
        EXPECT_EQ((std::vector<std::wstring>{L"S", L"T"}), Ini::Sections(f));
        ASSERT_TRUE(tx.Commit());
    }
    // The bytes the profile functions write in place.
    EXPECT_EQ("[S]\r\nb=2\r\n[T]\r\nx=1\r\n", ReadBytes(f));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(copy.c_str()));
    EXPECT_EQ(L"1", Ini::Read(f, L"T", L"x"));

    // Discarded: the file stays, the copy goes.
    {
        Ini::FileTransaction tx(f);
        ASSERT_TRUE(Ini::Write(f, L"S", L"b", L"3"));
        tx.Discard();
    }
    EXPECT_EQ("[S]\r\nb=2\r\n[T]\r\nx=1\r\n", ReadBytes(f));
    EXPECT_EQ(L"2", Ini::Read(f, L"S", L"b"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(copy.c_str()));

    // A new file comes into being whole.
    const std::wstring g = Path(L"new.ini");
    {
        Ini::FileTransaction tx(g);
        ASSERT_TRUE(Ini::Write(g, L"S", L"k", L"v"));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(g.c_str()));
    }
    EXPECT_EQ("[S]\r\nk=v\r\n", ReadBytes(g));
}

TEST_F(IniTest, AFileThatCannotBeReplacedFailsAtTheFirstWriteAndStaysAsItWas) {
    const std::wstring f = Path(L"h.ini");
    const std::string before = "[S]\r\na=1\r\n";
    struct Case {
        const char* what;
        DWORD share;
    } cases[] = {{"held for reading, shared for reading", FILE_SHARE_READ}, {"held, shared with nobody", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes(f, before);
        HANDLE h = CreateFileW(f.c_str(), GENERIC_READ, c.share, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        EXPECT_FALSE(Ini::Replaceable(f));
        EXPECT_FALSE(Ini::Write(f, L"S", L"a", L"2"));  // a write of its own
        {
            Ini::FileTransaction tx(f);
            EXPECT_FALSE(Ini::Write(f, L"S", L"b", L"2"));
            EXPECT_FALSE(Ini::WriteSectionBytes(f, L"S", std::string("c=3\0", 4)));
        }
        CloseHandle(h);
        EXPECT_EQ(before, ReadBytes(f));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((f + Ini::CopySuffix).c_str()));
    }
    // Held sharing its writing but not its renaming: written in place, whole.
    {
        WriteBytes(f, before);
        HANDLE h = CreateFileW(f.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        {
            Ini::FileTransaction tx(f);
            ASSERT_TRUE(Ini::Write(f, L"S", L"b", L"2"));
            EXPECT_TRUE(tx.Commit());
        }
        CloseHandle(h);
        EXPECT_EQ("[S]\r\na=1\r\nb=2\r\n", ReadBytes(f));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((f + Ini::CopySuffix).c_str()));
        WriteBytes(f, before);
    }
    // Read-only: refused as a write in place is.
    SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(Ini::Write(f, L"S", L"a", L"2"));
    SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(before, ReadBytes(f));
}

TEST_F(IniTest, EndedAtEveryChangeTheFileIsOldOrNewAndTheStrayCopyGoes) {
    const std::wstring f = Path(L"e.ini"), copy = f + Ini::CopySuffix;
    const std::string before = "[S]\r\na=1\r\nb=2\r\n[T]\r\nx=1\r\n";
    auto command = [&] {
        Ini::FileTransaction tx(f);
        Ini::Write(f, L"S", L"a", L"10");
        Ini::DeleteKey(f, L"S", L"b");
        Ini::WriteSectionBytes(f, L"T", std::string("y=2\0z=3\0", 8));
        Ini::Write(f, L"U", L"k", L"v");
        tx.Commit();
    };
    WriteBytes(f, before);
    command();
    const std::string after = ReadBytes(f);
    ASSERT_NE(before, after);
    int n = 1;
    for (;; ++n) {
        SCOPED_TRACE(n);
        WriteBytes(f, before);
        Ini::EndWritesAfterForTests(n);
        command();
        const bool ended = Ini::WritesEndedForTests();
        Ini::EndWritesAfterForTests(0);
        const std::string now = ReadBytes(f);
        EXPECT_TRUE(now == before || now == after) << now;
        if (!ended) {
            EXPECT_EQ(after, now);
            break;
        }
        // The next start takes a copy left behind away.
        const bool stray = GetFileAttributesW(copy.c_str()) != INVALID_FILE_ATTRIBUTES;
        EXPECT_EQ(stray ? 1 : 0, Ini::RemoveStrayCopies(dir));
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(copy.c_str()));
        EXPECT_EQ(now, ReadBytes(f));
    }
    // The copy made, four writes, the replacement.
    EXPECT_EQ(7, n);
}
