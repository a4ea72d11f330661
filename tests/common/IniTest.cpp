#include "common/Ini.h"
#include "common/Marks.h"
#include "platform/Text.h"
#include "support/Fixture.h"

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
