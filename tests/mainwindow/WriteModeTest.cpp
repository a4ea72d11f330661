// How the main window shows the result of a registry write (Form2::ReportWrite
// by WriteMode): the tip row's colour, the log file and the value editor's message.
#include "fixtures/ApplyFixture.h"

#include <vector>

using std::wstring;

namespace {
const wstring kFailText = L"不存在这个名称的键值，导致修改失败";
}  // namespace

class WriteModeTest : public ApplyFixture {
protected:
    void SetUp() override {
        ApplyFixture::SetUp();
        for (const wchar_t* name : {L"甲技巧", L"乙技巧", L"丙技巧"}) AddRow({name, L"0", L"v", L"x"});
        Forms::Form2().Label1.Tag = L"2";
    }
    std::vector<wstring> LogKeys(const wstring& section = kDay) const { return Ini::Keys(LogFile(), section); }
    static void Report(bool success) { Forms::Form2().ReportWrite(success); }
};

TEST_F(WriteModeTest, ResultIsShownByMode) {
    struct Case {
        const char* what;
        WriteModes mode;
        const wchar_t* saveLog;  // nullptr: no such key
        bool succeed;
        COLORREF colour;
        const wchar_t* logKey;  // nullptr: no log file
        bool box;
    } cases[] = {
        {"apply ok, log on", WriteModes::Apply, L"1", true, kBlue, L"【使用成功】【乙技巧】", false},
        {"apply fail, log on", WriteModes::Apply, L"1", false, kRed, L"〖使用失败〗〖乙技巧〗", false},
        {"apply ok, log 2", WriteModes::Apply, L"2", true, kBlue, L"【使用成功】【乙技巧】", false},
        {"apply fail, log off", WriteModes::Apply, L"0", false, kRed, nullptr, false},
        {"apply ok, no SaveLog", WriteModes::Apply, nullptr, true, kBlue, nullptr, false},
        {"apply ok, SaveLog text", WriteModes::Apply, L"yes", true, kBlue, nullptr, false},
        {"reg fail", WriteModes::Reg, L"1", false, ListView::kDefaultColor, nullptr, true},
        {"reg ok", WriteModes::Reg, L"1", true, ListView::kDefaultColor, nullptr, false},
        {"bak fail", WriteModes::Bak, L"1", false, ListView::kDefaultColor, nullptr, false},
        {"none fail", WriteModes::None, L"1", false, ListView::kDefaultColor, nullptr, false},
        {"none ok", WriteModes::None, L"1", true, ListView::kDefaultColor, nullptr, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Forms::Form2().ListView1.SetForeColor(2, ListView::kDefaultColor);
        App::RemoveFile(LogFile());
        App::RemoveFile(Path(L"config.ini"));
        if (c.saveLog) Setting(L"SaveLog", c.saveLog);
        Forms::Form2().WriteMode = c.mode;
        size_t boxesBefore = boxes.size();
        if (c.box) ExpectBox(IDOK, kFailText);

        Report(c.succeed);

        EXPECT_EQ(c.colour, Colour(2));
        EXPECT_EQ(ListView::kDefaultColor, Colour(1));
        EXPECT_EQ(ListView::kDefaultColor, Colour(3));
        if (c.logKey) {
            EXPECT_EQ(std::vector<wstring>{c.logKey}, LogKeys());
            EXPECT_EQ(kSection, Ini::Read(LogFile(), kDay, c.logKey));
        } else {
            EXPECT_FALSE(App::FileExists(LogFile()));
        }
        ASSERT_EQ(boxesBefore + (c.box ? 1 : 0), boxes.size());
        if (c.box) {
            EXPECT_EQ(UINT(MB_OK | MB_ICONERROR), boxes.back().style);
            EXPECT_EQ(App::Title(), boxes.back().title);
        }
    }
}

TEST_F(WriteModeTest, LogEntriesKeepOnePerTipOutcomeAndDay) {
    Forms::Form2().WriteMode = WriteModes::Apply;
    Report(true);
    Forms::frmShadow().TreeView1.Select(favourites);
    Report(true);  // same tip, same day: one entry, the later path
    EXPECT_EQ(std::vector<wstring>{L"【使用成功】【乙技巧】"}, LogKeys());
    EXPECT_EQ(L"系统设置\\收藏夹", Ini::Read(LogFile(), kDay, L"【使用成功】【乙技巧】"));

    Report(false);  // a failure of the same tip is a second entry
    Forms::Form2().Label1.Tag = L"3";
    Report(true);
    EXPECT_EQ((std::vector<wstring>{L"【使用成功】【乙技巧】", L"〖使用失败〗〖乙技巧〗", L"【使用成功】【丙技巧】"}),
              LogKeys());

    SetDate(2027, 12, 31);  // another day, another section
    Report(true);
    EXPECT_EQ(std::vector<wstring>{L"【使用成功】【丙技巧】"}, LogKeys(L"12-31-2027"));
    EXPECT_EQ(3u, LogKeys().size());

    // On disk, in code page 936: the section is MM-DD-YYYY and the brackets are
    // U+3010/U+3011 and U+3016/U+3017.
    std::string bytes = ReadBytes(LogFile());
    EXPECT_NE(std::string::npos, bytes.find("[05-06-2026]"));
    EXPECT_NE(std::string::npos, bytes.find("[12-31-2027]"));
    EXPECT_NE(std::string::npos, bytes.find(Ansi(L"【使用成功】【乙技巧】=系统设置\\收藏夹")));
    EXPECT_NE(std::string::npos, bytes.find("\xA1\xBC\xCA\xB9\xD3\xC3\xCA\xA7\xB0\xDC\xA1\xBD"));  // 〖使用失败〗
    EXPECT_NE(std::string::npos, bytes.find("\xA1\xBE\xCA\xB9\xD3\xC3\xB3\xC9\xB9\xA6\xA1\xBF"));  // 【使用成功】
}

// A row index that names no row never crashes and shows nothing.
TEST_F(WriteModeTest, RowIndexThatNamesNoRowShowsNothing) {
    Forms::Form2().WriteMode = WriteModes::Apply;
    struct Case {
        const wchar_t* tag;
        int row;  // 0: no row
    } cases[] = {{L"", 0}, {L"0", 0}, {L"4", 0}, {L"-1", 0}, {L"abc", 0}, {L"99999999999999999999", 0},
                 {L"3", 3}, {L" 1", 1}, {L"2abc", 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(Ansi(c.tag));
        for (int r = 1; r <= 3; ++r) Forms::Form2().ListView1.SetForeColor(r, ListView::kDefaultColor);
        App::RemoveFile(LogFile());
        Forms::Form2().Label1.Tag = c.tag;
        Report(false);
        for (int r = 1; r <= 3; ++r) EXPECT_EQ(r == c.row ? kRed : ListView::kDefaultColor, Colour(r)) << r;
        EXPECT_EQ(c.row ? 1u : 0u, LogKeys().size());
    }
    Forms::Form2().ListView1.Clear();  // an empty list
    App::RemoveFile(LogFile());
    Report(true);
    EXPECT_FALSE(App::FileExists(LogFile()));
}
