// How writes report their outcome: the main window's WriteMode, the tip row's
// colour, the log file and the value editor's message.
#include "EngineTest.h"

#include "common/Ini.h"
#include "engine/Registry.h"
#include "engine/cRegistry.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/Text.h"

#include <functional>

using std::wstring;

namespace {
constexpr COLORREF kBlue = 0xFF0000;  // &HFF0000
constexpr COLORREF kRed = 0x0000FF;   // &HFF
const wstring kFailText = L"不存在这个名称的键值，导致修改失败";
}  // namespace

class WriteModeTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        MakeKey();
        frmShadow& shadow = Forms::frmShadow();
        ASSERT_NE(nullptr, shadow.hwnd());
        shadow.TreeView1.Clear();
        category = shadow.TreeView1.Add(0, L"系统设置");
        favourites = shadow.TreeView1.Add(category, L"收藏夹");
        sub = shadow.TreeView1.Add(category, L"开始菜单");
        shadow.TreeView1.Select(sub);
        ASSERT_EQ(L"系统设置\\开始菜单", shadow.SelectedCategoryPath());
        // Rows last: choosing a tree node loads its tips into the list.
        Form2& form = Forms::Form2();
        ASSERT_NE(nullptr, form.hwnd());
        form.ListView1.Clear();
        for (const wchar_t* name : {L"甲技巧", L"乙技巧", L"丙技巧"}) form.ListView1.Add(name);
        form.Label1.Tag = L"2";
        form.WriteMode = WriteModes::None;
        SetDate(2026, 5, 6);
    }
    void TearDown() override {
        Forms::Form2().WriteMode = WriteModes::None;
        EngineTest::TearDown();
    }
    void SetSaveLog(const wchar_t* value) { ASSERT_TRUE(Ini::Write(Path(L"config.ini"), L"Data", L"SaveLog", value)); }
    wstring LogFile() const { return Path(L"logfile.txt"); }
    std::vector<wstring> LogKeys(const wstring& section = L"05-06-2026") const { return Ini::Keys(LogFile(), section); }
    COLORREF Colour(int row) const { return Forms::Form2().ListView1.ForeColor(row); }
    // A write into the test key that succeeds, or into a missing key that fails.
    static bool Write(bool succeed) { return Registry::SetStringValue(Key(succeed ? L"" : L"missing"), L"v", L"x"); }

    int category = 0, favourites = 0, sub = 0;
};

TEST_F(WriteModeTest, OutcomeIsReportedByMode) {
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
        if (c.saveLog) SetSaveLog(c.saveLog);
        Forms::Form2().WriteMode = c.mode;
        size_t boxesBefore = boxes.size();
        if (c.box) ExpectBox(IDOK, kFailText);

        EXPECT_EQ(c.succeed, Write(c.succeed));

        EXPECT_EQ(c.colour, Colour(2));
        EXPECT_EQ(ListView::kDefaultColor, Colour(1));
        EXPECT_EQ(ListView::kDefaultColor, Colour(3));
        if (c.logKey) {
            EXPECT_EQ(std::vector<wstring>{c.logKey}, LogKeys());
            EXPECT_EQ(L"系统设置\\开始菜单", Ini::Read(LogFile(), L"05-06-2026", c.logKey));
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

// Every writer and deleter of both registry layers reports, for success and failure.
TEST_F(WriteModeTest, EveryWriterReports) {
    SetSaveLog(L"1");
    Forms::Form2().WriteMode = WriteModes::Apply;
    TestReg::Set(Sub(), "old", REG_SZ, std::string("x\0", 2));
    auto reg = [](const wstring& section, const wstring& name, DWORD type) {
        cRegistry r;
        r.ClassKey = HKEY_CURRENT_USER;
        r.SectionKey = section;
        r.ValueKey = name;
        r.ValueType = type;
        return r;
    };
    const wstring section = L"Software\\QuorixTest";
    struct Case {
        const char* what;
        std::function<bool()> write;
        bool succeeds;
    } cases[] = {
        {"string", [] { return Registry::SetStringValue(Key(), L"s", L"x"); }, true},
        {"string, no key", [] { return Registry::SetStringValue(Key(L"none"), L"s", L"x"); }, false},
        {"binary", [] { return Registry::SetBinaryValue(Key(), L"b", L""); }, true},
        {"binary, no key", [] { return Registry::SetBinaryValue(Key(L"none"), L"b", L""); }, false},
        {"dword", [] { return Registry::SetDwordValue(Key(), L"d", 5); }, true},
        {"dword, no key", [] { return Registry::SetDwordValue(Key(L"none"), L"d", 5); }, false},
        {"expand", [] { return Registry::SetExpandStringValue(Key(), L"e", L"%x%"); }, true},
        {"raw, no key", [] { return Registry::SetRawValue(Key(L"none"), L"r", REG_NONE, ""); }, false},
        {"class text", [&] { return reg(section, L"t", REG_SZ).SetValue(L"x"); }, true},
        {"class bytes too short", [&] { return reg(section, L"t", REG_BINARY).SetValue(V({0})); }, false},
        {"class unusable type", [&] { return reg(section, L"t", 6).SetValue(L"x"); }, false},
        {"class no root",
         [&] {
             cRegistry r = reg(section, L"t", REG_SZ);
             r.ClassKey = nullptr;
             return r.SetValue(L"x");
         },
         false},
        {"delete", [&] { return reg(section, L"old", 0).DeleteValue(); }, true},
        {"delete missing", [&] { return reg(section, L"old", 0).DeleteValue(); }, false},
        {"delete, no key", [&] { return reg(section + L"\\none", L"old", 0).DeleteValue(); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Forms::Form2().ListView1.SetForeColor(2, ListView::kDefaultColor);
        App::RemoveFile(LogFile());
        EXPECT_EQ(c.succeeds, c.write());
        EXPECT_EQ(c.succeeds ? kBlue : kRed, Colour(2));
        EXPECT_EQ(std::vector<wstring>{c.succeeds ? L"【使用成功】【乙技巧】" : L"〖使用失败〗〖乙技巧〗"}, LogKeys());
    }
}

TEST_F(WriteModeTest, LogEntriesKeepOnePerTipOutcomeAndDay) {
    SetSaveLog(L"1");
    Forms::Form2().WriteMode = WriteModes::Apply;
    ASSERT_TRUE(Write(true));
    Forms::frmShadow().TreeView1.Select(favourites);
    ASSERT_TRUE(Write(true));  // same tip, same day: one entry, the later path
    EXPECT_EQ(std::vector<wstring>{L"【使用成功】【乙技巧】"}, LogKeys());
    EXPECT_EQ(L"系统设置\\收藏夹", Ini::Read(LogFile(), L"05-06-2026", L"【使用成功】【乙技巧】"));

    ASSERT_FALSE(Write(false));  // a failure of the same tip is a second entry
    Forms::Form2().Label1.Tag = L"3";
    ASSERT_TRUE(Write(true));
    EXPECT_EQ((std::vector<wstring>{L"【使用成功】【乙技巧】", L"〖使用失败〗〖乙技巧〗", L"【使用成功】【丙技巧】"}),
              LogKeys());

    SetDate(2027, 12, 31);  // another day, another section
    ASSERT_TRUE(Write(true));
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

// A row index that names no row, or no selected category node, never crashes:
// without a row nothing is coloured or logged; without a node the row is
// coloured and logged with an empty category path.
TEST_F(WriteModeTest, MissingRowOrNodeIsHarmless) {
    SetSaveLog(L"1");
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
        EXPECT_FALSE(Write(false));
        for (int r = 1; r <= 3; ++r) EXPECT_EQ(r == c.row ? kRed : ListView::kDefaultColor, Colour(r)) << r;
        EXPECT_EQ(c.row ? 1u : 0u, LogKeys().size());
    }

    Forms::frmShadow().TreeView1.Clear();
    ASSERT_EQ(0, Forms::frmShadow().TreeView1.SelectedItem());
    Forms::Form2().Label1.Tag = L"1";
    App::RemoveFile(LogFile());
    EXPECT_TRUE(Write(true));
    EXPECT_EQ(kBlue, Colour(1));
    bool found = false;
    EXPECT_EQ(L"", Ini::Read(LogFile(), L"05-06-2026", L"【使用成功】【甲技巧】", &found));
    EXPECT_TRUE(found);

    Forms::Form2().ListView1.Clear();  // an empty list
    EXPECT_TRUE(Write(true));
}

// During an apply run the log takes the category selected when the run first
// needs it; outside a run, the selection of the moment.
TEST_F(WriteModeTest, ApplyRunAsksForTheCategoryOnce) {
    SetSaveLog(L"1");
    Form2& form = Forms::Form2();
    frmShadow& shadow = Forms::frmShadow();
    form.WriteMode = WriteModes::Apply;
    {
        Registry::ApplyRun run;
        shadow.TreeView1.Select(favourites);  // before the first need: counts
        form.Label1.Tag = L"1";
        ASSERT_TRUE(Write(true));
        shadow.TreeView1.Select(sub);
        form.Label1.Tag = L"3";
        ASSERT_TRUE(Write(true));
        EXPECT_EQ(L"系统设置\\收藏夹", run.CategoryPath());
    }
    form.Label1.Tag = L"2";
    ASSERT_FALSE(Write(false));
    const wstring log = LogFile();
    EXPECT_EQ(L"系统设置\\收藏夹", Ini::Read(log, L"05-06-2026", L"【使用成功】【甲技巧】"));
    EXPECT_EQ(L"系统设置\\收藏夹", Ini::Read(log, L"05-06-2026", L"【使用成功】【丙技巧】"));
    EXPECT_EQ(L"系统设置\\开始菜单", Ini::Read(log, L"05-06-2026", L"〖使用失败〗〖乙技巧〗"));
}
