// The INI value reader and the hex helpers.
#include "EngineTest.h"

#include "common/Ini.h"
#include "common/Marks.h"
#include "engine/General.h"

#include <cfloat>

using std::wstring;

class GeneralTest : public EngineTest {};

TEST_F(GeneralTest, ReadIniGivesTheWholeValueOrNothing) {
    const wstring f = Path(L"config.ini");
    const wstring big(3000, L'v');
    const wstring bigChinese(1600, L'\x6C49');  // 3,200 bytes
    const wstring marks = L"a" + Marks::FieldMark + L"b" + Marks::JoinMark + L"c" + Marks::DeleteMark;
    ASSERT_TRUE(Ini::Write(f, L"Data", L"SaveLog", L"1"));
    ASSERT_TRUE(Ini::Write(f, L"Data", L"Empty", L""));
    ASSERT_TRUE(Ini::Write(f, L"数据", L"类别", L"系统设置\\开始菜单"));
    ASSERT_TRUE(Ini::Write(f, L"数据", L"big", big));
    ASSERT_TRUE(Ini::Write(f, L"数据", L"bigChinese", bigChinese));
    ASSERT_TRUE(Ini::Write(f, L"数据", L"tip", marks));
    struct Case {
        const wchar_t* section;
        const wchar_t* key;
        wstring file;
        wstring value;
    } cases[] = {
        {L"Data", L"SaveLog", f, L"1"},
        {L"data", L"SAVELOG", f, L"1"},  // names match without regard to case
        {L"Data", L"Empty", f, L""},
        {L"Data", L"Missing", f, L""},
        {L"Missing", L"SaveLog", f, L""},
        {L"Data", L"SaveLog", Path(L"missing.ini"), L""},
        {L"Data", L"SaveLog", Path(L"no folder\\config.ini"), L""},
        {L"数据", L"类别", f, L"系统设置\\开始菜单"},
        {L"数据", L"big", f, big},
        {L"数据", L"bigChinese", f, bigChinese},
        {L"数据", L"tip", f, marks},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value, General::ReadIni(c.section, c.key, c.file)) << Ansi(c.section) << "/" << Ansi(c.key);
}

TEST_F(GeneralTest, HexToNumCountsEveryPosition) {
    struct Case {
        const wchar_t* text;
        double value;
    } cases[] = {
        {L"ff", 255},         {L"FF", 255}, {L"", 0},     {L"FFFFFFFF", 4294967295.0}, {L"1G", 16},
        {L"0x1F", 31},        {L"1 F", 271}, {L"-5", 5},   {L"0000001a", 26},          {L"FFFFFFFFFF", 1099511627775.0},
        {L"中1", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value, General::HexToNum(c.text)) << Ansi(c.text);
    EXPECT_EQ(DBL_MAX, General::HexToNum(wstring(400, L'F')));  // stays a finite number
    EXPECT_EQ(1.0, General::HexToNum(wstring(400, L'0') + L"1"));
}

TEST_F(GeneralTest, ZeroFillPadsToTheCount) {
    struct Case {
        const wchar_t* count;
        size_t zeros;
    } cases[] = {{L"8", 8}, {L"3", 3}, {L"2.5", 2}, {L"1", 1}, {L"0", 0}, {L"-3", 0}, {L"", 0}, {L"x", 0},
                 {L"99999999999", 1024}};
    for (const auto& c : cases) EXPECT_EQ(wstring(c.zeros, L'0'), General::ZeroFill(c.count)) << Ansi(c.count);
}

TEST_F(GeneralTest, DwordDataIsHexUpToFFFFFFFF) {
    struct Case {
        const wchar_t* text;
        std::optional<uint32_t> value;
    } cases[] = {
        {L"7fffffff", 0x7FFFFFFFu}, {L"80000000", 0x80000000u}, {L"FFFFFFFF", 0xFFFFFFFFu},
        {L"0000001a", 26u},         {L"0", 0u},                 {L" 1A ", 26u},
        {L"000000001", 1u},         {L"100000000", std::nullopt}, {L"", std::nullopt},
        {L"  ", std::nullopt},      {L"1G", std::nullopt},      {L"0x1F", std::nullopt},
        {L"-5", std::nullopt},      {L"1 2", std::nullopt},     {L"ＦＦ", std::nullopt},
        {L"FFFFFFFFFFFFFFFFFFFF", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value, General::HexToDword(c.text)) << Ansi(c.text);
}

TEST_F(GeneralTest, BinaryDataIsHexPairs) {
    using Bytes = std::optional<std::vector<uint8_t>>;
    struct Case {
        const wchar_t* text;
        Bytes bytes;
    } cases[] = {
        {L"01 ab FF", V({0x01, 0xAB, 0xFF})}, {L"00", V({0})},          {L"", V({})},
        {L"   ", V({})},                      {L" 0a  0B ", V({10, 11})}, {L"0", std::nullopt},
        {L"012", std::nullopt},               {L"0102", std::nullopt},  {L"01,02", std::nullopt},
        {L"zz", std::nullopt},                {L"01 0", std::nullopt},  {L"(长度为零的二进制值)", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(c.bytes, General::HexToBytes(c.text)) << Ansi(c.text);

    EXPECT_EQ(L"00 0A FF", General::BytesToHex(V({0, 10, 255})));
    EXPECT_EQ(L"", General::BytesToHex(V({})));
    EXPECT_EQ(L"D6 D0", General::BytesToHex(std::string("\xD6\xD0")));
    EXPECT_EQ(L"00 0A FF", RegValue(V({0, 10, 255})).ToText());
    EXPECT_EQ(L"-1", RegValue(-1).ToText());
}
