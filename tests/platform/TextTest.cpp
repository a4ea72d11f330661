#include "platform/Text.h"
#include "support/Fixture.h"

TEST(TextTest, CodePageIs936AndFieldMarkIsByteFF) {
    EXPECT_EQ(936u, GetACP());
    EXPECT_EQ("\xFF", Text::ToAnsi(L"\xF8F5"));
    EXPECT_EQ(L"\xF8F5", Text::FromAnsi("\xFF"));
    EXPECT_EQ("\x81\x88", Text::ToAnsi(L"亪"));
    EXPECT_EQ("\xAD\x95", Text::ToAnsi(L"瓡"));
}

TEST(TextTest, BytesRoundTripThroughText) {
    const std::string cases[] = {"AB", "", std::string("\x00\x0A\xFF", 3), "\xC4\xE3", "\x81", "\x81\x20", "\x80\xFE",
                                 "\xFE\xFF\xFE"};
    for (const auto& bytes : cases) EXPECT_EQ(bytes, Text::BytesFromText(Text::TextFromBytes(bytes)));
    EXPECT_EQ(L"AB", Text::TextFromBytes("AB"));
    EXPECT_EQ(L"你", Text::TextFromBytes("\xC4\xE3"));
}

TEST(TextTest, LeadingNumber) {
    EXPECT_EQ(12, Text::LeadingNumber(L" 12ab"));
    EXPECT_EQ(-3, Text::LeadingNumber(L"-3"));
    EXPECT_EQ(0, Text::LeadingNumber(L"x1"));
    EXPECT_EQ(0, Text::LeadingNumber(L""));
}

// Upper case is the system's for every character, alone and in mixed texts
// (ASCII and ideographs are done without the system, the rest with it).
TEST(TextTest, UpperCaseIsTheSystemsForEveryCharacter) {
    auto system = [](std::wstring s) {
        if (!s.empty()) CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
        return s;
    };
    for (unsigned c = 1; c <= 0xFFFF; ++c) {
        const std::wstring one(1, static_cast<wchar_t>(c));
        ASSERT_EQ(system(one), Text::UpperCase(one)) << std::hex << c;
    }
    for (const std::wstring& s : {std::wstring(L"abc技巧z"), std::wstring(L"注册表 key_1"), std::wstring(L"ａｂ技巧"),
                                  std::wstring(L"技巧ä"), std::wstring(L"ωmega 键名"), std::wstring(L"한글a"),
                                  std::wstring(L"")})
        EXPECT_EQ(system(s), Text::UpperCase(s));
}
