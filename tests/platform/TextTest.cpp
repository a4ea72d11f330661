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
