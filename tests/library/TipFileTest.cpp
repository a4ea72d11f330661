// The tip file format on disk: records, option lists and mirror sections in
// code page 936, written and read through the INI layer.
#include "common/Ini.h"
#include "common/TipFile.h"
#include "fixtures/LibraryFixture.h"

using TipFile::TipRecord;

namespace {
const std::string kHide = "\xD2\xFE\xB2\xD8";   // 隐藏
const std::string kShow = "\xCF\xD4\xCA\xBE";   // 显示
const std::string kName = "\xD2\xFE\xB2\xD8\xD7\xC0\xC3\xE6\xCD\xBC\xB1\xEA";  // 隐藏桌面图标
}  // namespace

class TipFileTest : public LibraryTest {};

TEST_F(TipFileTest, WorkedExampleIsWrittenByteForByte) {
    TipRecord r{L"HKEY_CURRENT_USER\\Software\\Example\\Desktop", L"NoIcons", L"隐藏", L"1", L"2",
                L"隐藏桌面上的全部图标", L"1"};
    TipFile::OptionList o{{L"隐藏", L"显示"}, {L"1", L"0"}};
    std::wstring f = Path(L"a.upd");
    ASSERT_TRUE(TipFile::WriteTip(f, TipFile::DataSection, L"隐藏桌面图标", TipFile::EncodeRecord(r),
                                  TipFile::EncodeOptions(o)));
    using namespace Bytes;
    std::string expected = Section(Data) + kName + "=HKEY_CURRENT_USER\\Software\\Example\\Desktop" + FM + "NoIcons" +
                           FM + kHide + JM + "1" + FM + "2" + FM + Ansi(L"隐藏桌面上的全部图标") + FM + "1\r\n" +
                           Mirror(Data) + kName + "=" + FM + kHide + FM + kShow + FM + JM + FM + "1" + FM + "0" + FM +
                           "\r\n";
    EXPECT_EQ(expected, ReadBytes(f));
    // And back.
    EXPECT_EQ(TipFile::EncodeRecord(r), Ini::Read(f, TipFile::DataSection, L"隐藏桌面图标"));
    TipFile::OptionList back = TipFile::DecodeOptions(Ini::Read(f, TipFile::MirrorOf(L"数据"), L"隐藏桌面图标"));
    EXPECT_EQ(o.labels, back.labels);
    EXPECT_EQ(o.data, back.data);
}

TEST_F(TipFileTest, OptionListsSplitAtTheFirstJoinMark) {
    const std::wstring FM = Marks::FieldMark, JM = Marks::JoinMark;
    struct Case {
        std::wstring text;
        std::vector<std::wstring> labels, data;
    } cases[] = {
        {FM + L"a" + FM + L"b" + FM + JM + FM + L"1" + FM + FM, {L"a", L"b"}, {L"1", L""}},  // empty data item
        {FM + L"a" + FM + JM + FM + Marks::DeleteMark + FM, {L"a"}, {Marks::DeleteMark}},
        {FM + JM + FM, {}, {}},
        {L"no marks at all", {}, {}},
        {FM + L"a" + FM + JM + FM + L"x" + JM + L"y" + FM, {L"a"}, {L"x" + JM + L"y"}},  // a later JoinMark is data
    };
    for (const auto& c : cases) {
        TipFile::OptionList o = TipFile::DecodeOptions(c.text);
        EXPECT_EQ(c.labels, o.labels) << Ansi(c.text);
        EXPECT_EQ(c.data, o.data) << Ansi(c.text);
    }
}

TEST_F(TipFileTest, TextThatWouldBreakTheFileIsRefusedAndNothingWritten) {
    std::wstring f = Path(L"b.qix");
    const std::wstring good = TipFile::EncodeRecord({L"HKEY_CURRENT_USER\\X", L"v", L"l", L"1", L"0", L"d", L"1"});
    const std::wstring opts = TipFile::EncodeOptions({{L"l"}, {L"1"}});
    struct Case {
        const wchar_t* what;
        std::wstring section, name, record, options;
    } cases[] = {
        {L"FieldMark in name", L"数据", L"a" + Marks::FieldMark, good, opts},
        {L"= in name", L"数据", L"a=b", good, opts},
        {L"name starts with [", L"数据", L"[a", good, opts},
        {L"name starts with ;", L"数据", L";a", good, opts},
        {L"line break in record", L"数据", L"a", good + L"\r\nx=y", opts},
        {L"line break in options", L"数据", L"a", good, opts + L"\n"},
        {L"] in section", L"a]b", L"a", good, opts},
        {L"empty name", L"数据", L"", good, opts},
    };
    for (const auto& c : cases) EXPECT_FALSE(TipFile::WriteTip(f, c.section, c.name, c.record, c.options)) << Ansi(c.what);
    EXPECT_FALSE(TipFile::SafeField(L"x" + Marks::FieldMark));
    EXPECT_TRUE(TipFile::SafeField(L"普通文字 %x% " + Marks::JoinMark));
    EXPECT_EQ("", ReadBytes(f));
}

TEST_F(TipFileTest, KeysDifferingInLetterCaseAreOneKey) {
    std::wstring f = Path(L"c.qix");
    ASSERT_TRUE(TipFile::WriteTip(f, L"数据", L"Tip", L"first", L"o1"));
    ASSERT_TRUE(TipFile::WriteTip(f, L"数据", L"TIP", L"second", L"o2"));
    auto entries = TipFile::ReadSection(f, L"数据");
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(L"second", entries[0].second);
    // A hand-edited section holding one key twice: listed twice, both with the first value.
    std::wstring g = Path(L"d.qix");
    WriteBytes(g, Bytes::Section(Bytes::Data) + "abc=one\r\nABC=two\r\nx = \"quoted\" \r\n");
    entries = TipFile::ReadSection(g, L"数据");
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ(L"abc", entries[0].first);
    EXPECT_EQ(L"ABC", entries[1].first);
    EXPECT_EQ(L"one", entries[1].second);
    EXPECT_EQ(Ini::Read(g, L"数据", L"ABC"), entries[1].second);
    EXPECT_EQ(Ini::Read(g, L"数据", L"x"), entries[2].second);
    // By name: one entry per key whatever its case, with the value single reads give.
    const auto byName = TipFile::ReadSectionByName(g, L"数据");
    ASSERT_EQ(2u, byName.size());
    EXPECT_EQ(L"one", byName.at(L"ABC"));
    EXPECT_EQ(Ini::Read(g, L"数据", L"x"), byName.at(L"X"));
}

TEST_F(TipFileTest, LargeSectionsAndLongRecordsAreReadWhole) {
    std::wstring f = Path(L"e.qix");
    std::string bytes = Bytes::Section(Bytes::Data);
    // Far more than the first buffer holds: read whole all the same.
    for (int i = 0; i < 30000; ++i) bytes += Ansi(L"技巧") + std::to_string(i) + "=r" + std::to_string(i) + "\r\n";
    // A record of about 5,000 bytes: 2,500 Chinese characters in its description.
    std::string longDesc;
    for (int i = 0; i < 2500; ++i) longDesc += "\xB2\xE2";  // 测
    std::string longRecord = "HKEY_CURRENT_USER\\X" + Bytes::FM + "v" + Bytes::FM + "l" + Bytes::JM + "1" + Bytes::FM +
                             "0" + Bytes::FM + longDesc + Bytes::FM + "2";
    ASSERT_GT(longRecord.size(), 5000u);
    bytes += "long=" + longRecord + "\r\n";
    WriteBytes(f, bytes);
    auto entries = TipFile::ReadSection(f, L"数据");
    ASSERT_EQ(30001u, entries.size());
    EXPECT_EQ(L"技巧29999", entries[29999].first);
    EXPECT_EQ(L"r29999", entries[29999].second);
    EXPECT_EQ(Text::FromAnsi(longRecord), entries[30000].second);
    EXPECT_EQ(L'2', entries[30000].second.back());
    EXPECT_EQ(30001u, Ini::Keys(f, L"数据").size());
}
