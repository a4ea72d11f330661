// What a session answers from its own copy of a file is what the system reads,
// and a write the system would leave undone leaves the file as it is.
#include "common/Ini.h"
#include "platform/Text.h"
#include "support/Fixture.h"

class IniSessionTest : public QuorixTest {};

TEST_F(IniSessionTest, FindAnswersAsTheSystemReads) {
    const std::wstring f = Path(L"day.ini");
    // Keys in an earlier and the last section, a section name twice (the system
    // looks in the first only), a quoted value, an empty value, case and
    // letters beyond ASCII.
    WriteBytes(f, "[A]\r\nk=1\r\nQ=\"quoted\"\r\ne=\r\n[\xCA\xFD\xBE\xDD]\r\n\xBC\xBC\xC7\xC9=2\r\n[B]\r\nx=3\r\n"
                  "[a]\r\nlate=4\r\n[C]\r\nAbc=5\r\n\xA3\xC1=6\r\n");
    const std::pair<const wchar_t*, const wchar_t*> asks[] = {
        {L"A", L"k"},  {L"a", L"K"},     {L"A", L"Q"},    {L"A", L"e"},  {L"A", L"late"}, {L"数据", L"技巧"},
        {L"B", L"x"},  {L"B", L"k"},     {L"Z", L"k"},    {L"C", L"abc"}, {L"C", L"\xFF21"}, {L"C", L"\xFF41"},
    };
    Ini::AppendSession session;
    ASSERT_TRUE(Ini::Write(f, L"C", L"new", L"7"));  // the file is held from here on
    ASSERT_EQ(1, session.Appended());
    for (const auto& [section, key] : asks) {
        SCOPED_TRACE(Ansi(std::wstring(section) + L"/" + key));
        bool inSession = false, bySystem = false;
        const std::wstring a = Ini::Find(f, section, key, &inSession);
        const std::wstring b = Ini::Read(f, section, key, &bySystem);
        EXPECT_EQ(Ansi(b), Ansi(a));
        EXPECT_EQ(bySystem, inSession);
    }
    bool found = false;
    EXPECT_EQ(L"7", Ini::Find(f, L"C", L"new", &found));
    EXPECT_TRUE(found);
}

// Writes in a session: a key that holds the value already is left alone (no
// write, as the system does it); another value goes through the system; the
// bytes are the system's in every case.
TEST_F(IniSessionTest, WritesEndInTheSystemsBytes) {
    const std::string start = "[Log]\r\n\xA1\xBEok\xA1\xBF=cat\r\n[Other]\r\nz=1\r\n";
    const std::wstring plain = Path(L"plain.ini"), session = Path(L"session.ini");
    WriteBytes(plain, start);
    WriteBytes(session, start);
    struct Write {
        const wchar_t *section, *key, *value;
    } writes[] = {{L"Log", L"【ok】", L"cat"}, {L"Other", L"z", L"1"}, {L"Other", L"y", L"2"},
                  {L"Log", L"【ok】", L"dog"}, {L"Other", L"Z", L"1"}};
    Ini::AppendSession s;
    for (const Write& w : writes) {
        ASSERT_TRUE(Ini::Write(plain, w.section, w.key, w.value));
        ASSERT_TRUE(Ini::Write(session, w.section, w.key, w.value));
        EXPECT_EQ(ReadBytes(plain), ReadBytes(session)) << Ansi(w.key);
        EXPECT_EQ(Ini::Read(plain, w.section, w.key), Ini::Read(session, w.section, w.key));
    }
    EXPECT_LE(1, s.Appended());  // the new key of the last section at least
}
