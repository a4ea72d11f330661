// Applying the ticked tips from the main window: the question, the progress,
// each row's colour and log entry from its result, the day's backups, the end.
#include "fixtures/ApplyFixture.h"

#include <vector>

using std::string;
using std::wstring;

class StartWorkTest : public ApplyFixture {};

TEST_F(StartWorkTest, NothingTickedRefusesAndChangesNothing) {
    Form2& form = Forms::Form2();
    for (bool withRows : {false, true}) {
        form.ListView1.Clear();
        if (withRows) AddRow({L"未勾选", L"0", L"v", L"x", false, {}, false});
        ExpectBox(IDOK, L"请勾选要使用的技巧，然后再使用本命令。");
        form.StartWork();
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes.back().style & MB_ICONMASK);
        boxes.clear();
        EXPECT_EQ(kMissing, Stored("v").first);
        EXPECT_EQ(WriteModes::None, form.WriteMode);
        EXPECT_EQ(Ansi(L"准备使用技巧"), Ansi(form.StatusBar1.PanelText(3)));
        EXPECT_FALSE(form.ProgressBar1.Visible());
        EXPECT_FALSE(App::FileExists(BakFile()));
    }
}

TEST_F(StartWorkTest, StartSettingAsksFirst) {
    Form2& form = Forms::Form2();
    int row = AddRow({L"问一下", L"0", L"v", L"新值"});
    Setting(L"Start", L"1");
    ExpectBox(IDNO, L"是否现在开始使用技巧？");
    form.StartWork();
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), boxes.back().style & MB_TYPEMASK);
    EXPECT_EQ(kMissing, Stored("v").first);
    EXPECT_EQ(ListView::kDefaultColor, Colour(row));
    EXPECT_EQ(WriteModes::None, form.WriteMode);
    EXPECT_EQ(Ansi(L"准备使用技巧"), Ansi(form.StatusBar1.PanelText(3)));
    EXPECT_FALSE(App::FileExists(BakFile()));
    EXPECT_FALSE(App::FileExists(LogFile()));

    ExpectBox(IDYES, L"是否现在开始使用技巧？");
    form.StartWork();
    EXPECT_EQ(Sz(Ansi(L"新值")), Stored("v").second);

    // Start 0: no question at all (an unexpected box fails the test).
    Setting(L"Start", L"0");
    form.ListView1.SetSubText(row, 4, L"再来");
    form.StartWork();
    EXPECT_EQ(Sz(Ansi(L"再来")), Stored("v").second);
}

// One run over rows of every outcome: written rows turn blue, failing rows
// red, both are logged under the selected category; a row of an unknown
// TypeCode and an unticked row keep their colour; the run always completes.
TEST_F(StartWorkTest, EachRowShowsItsResult) {
    TestReg::Set(Sub(), "gone", REG_SZ, Sz("x"));
    Form2& form = Forms::Form2();
    const int skipped = AddRow({L"不勾选", L"0", L"skipped", L"no", false, {}, false});
    const int text = AddRow({L"字符串", L"0", L"sz", L"值"});
    const int badDword = AddRow({L"双字过大", L"2", L"dw", L"100000000"});
    const int unknown = AddRow({L"类型四", L"4", L"t4", L"1", false, Key(L"newkey")});
    const int deleted = AddRow({L"删除", L"0", L"gone", L"", true});
    const int badType = AddRow({L"类型非数字", L"x", L"bt", L"1"});
    const int last = AddRow({L"默认值", L"1", L"", L"01 02"});
    form.ListView1.SetForeColor(unknown, kRed);    // from an earlier run
    form.ListView1.SetForeColor(skipped, kBlue);

    form.StartWork();

    struct Expect {
        int row;
        COLORREF colour;
    } expect[] = {{skipped, kBlue},  {text, kBlue},    {badDword, kRed}, {unknown, kRed},
                  {deleted, kBlue}, {badType, kRed}, {last, kBlue}};
    for (const Expect& e : expect) EXPECT_EQ(e.colour, Colour(e.row)) << e.row;
    const std::vector<wstring> logged = Ini::Keys(LogFile(), kDay);
    EXPECT_EQ((std::vector<wstring>{L"【使用成功】【字符串】", L"〖使用失败〗〖双字过大〗", L"【使用成功】【删除】",
                                    L"〖使用失败〗〖类型非数字〗", L"【使用成功】【默认值】"}),
              logged);
    for (const wstring& key : logged) EXPECT_EQ(Ansi(kSection), Ansi(Ini::Read(LogFile(), kDay, key)));
    EXPECT_EQ(Sz(Ansi(L"值")), Stored("sz").second);
    EXPECT_EQ(std::make_pair(DWORD(REG_BINARY), string("\x01\x02")), Stored(""));
    EXPECT_EQ(kMissing, Stored("gone").first);
    EXPECT_TRUE(KeyThere("newkey"));
    EXPECT_EQ(kMissing, Stored("skipped").first);
    // Backups of the written rows only, under the selected category.
    EXPECT_EQ((std::vector<wstring>{L"字符串", L"删除", L"默认值"}), Ini::Keys(BakFile(), kSection));

    EXPECT_EQ(Ansi(L"技巧使用完成"), Ansi(form.StatusBar1.PanelText(3)));
    EXPECT_FALSE(form.ProgressBar1.Visible());
    EXPECT_EQ(Text::FromInt(last), form.Label1.Tag);  // ApplyRowIndex: the last ticked row
    EXPECT_EQ(WriteModes::None, form.WriteMode);

    // Log off: rows are coloured, nothing is logged; backups off: none made.
    ASSERT_TRUE(App::RemoveFile(LogFile()));
    ASSERT_TRUE(App::RemoveFile(BakFile()));
    Setting(L"SaveLog", L"0");
    Setting(L"SaveHistory", L"0");
    form.ListView1.SetSubText(text, 4, L"再来");
    form.StartWork();
    EXPECT_EQ(kBlue, Colour(text));
    EXPECT_EQ(kRed, Colour(badDword));
    EXPECT_FALSE(App::FileExists(LogFile()));
    EXPECT_FALSE(App::FileExists(BakFile()));
}

// With no category node selected, log entries carry an empty path and backups
// go under a section of their own.
TEST_F(StartWorkTest, NoCategoryNodeSelected) {
    Forms::frmShadow().TreeView1.Clear();
    int row = AddRow({L"无类别", L"0", L"v", L"x"});
    Forms::Form2().StartWork();
    EXPECT_EQ(kBlue, Colour(row));
    bool found = false;
    EXPECT_EQ(L"", Ini::Read(LogFile(), kDay, L"【使用成功】【无类别】", &found));
    EXPECT_TRUE(found);
    EXPECT_EQ(std::vector<wstring>{L"无类别"}, Ini::Keys(BakFile(), L"(未选定类别)"));
}

// A value whose previous text cannot be held by the backup file (a line break)
// is still applied, but the user is told that it cannot be restored.
TEST_F(StartWorkTest, LostBackupIsReported) {
    TestReg::Set(Sub(), "v", REG_SZ, Sz("two\r\nlines"));
    Form2& form = Forms::Form2();
    int row = AddRow({L"无法备份", L"0", L"v", L"x"});
    int ok = AddRow({L"可以备份", L"0", L"w", L"y"});
    ExpectBox(IDOK);
    form.StartWork();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(Ansi(L"有 1 个技巧已经使用，但原来的数据没能写入恢复文件，无法用恢复文件还原。"), Ansi(boxes[0].text));
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[0].style & MB_ICONMASK);
    EXPECT_EQ(kBlue, Colour(row));
    EXPECT_EQ(kBlue, Colour(ok));
    EXPECT_EQ(Sz("x"), Stored("v").second);
    EXPECT_EQ(std::vector<wstring>{L"可以备份"}, Ini::Keys(BakFile(), kSection));
    EXPECT_EQ(Ansi(L"技巧使用完成"), Ansi(form.StatusBar1.PanelText(3)));
}

// config.ini that cannot be read (held without sharing, a folder, not a
// settings file) reads as a new file's: the question, the backup and the log
// stay on.
TEST_F(StartWorkTest, UnreadableSettingsKeepTheQuestionBackupAndLog) {
    Form2& form = Forms::Form2();
    int row = AddRow({L"问一下", L"0", L"v", L"新值"});
    const std::wstring config = Config::Path();
    for (const char* spoil : {"held", "folder", "junk"}) {
        SCOPED_TRACE(spoil);
        Setting(L"Start", L"0");
        Setting(L"SaveLog", L"0");
        Setting(L"SaveHistory", L"0");
        App::RemoveFile(BakFile());
        App::RemoveFile(LogFile());
        HANDLE held = INVALID_HANDLE_VALUE;
        if (std::string(spoil) == "held") {
            held = CreateFileW(config.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, held);
        } else {
            ASSERT_TRUE(DeleteFileW(config.c_str()));
            if (std::string(spoil) == "folder") ASSERT_TRUE(CreateDirectoryW(config.c_str(), nullptr));
            else WriteBytes(config, "\x01\x02 not a settings file \xFF\r\n");
        }
        form.ListView1.SetSubText(row, 4, Text::FromAnsi(spoil));
        ExpectBox(IDYES, L"是否现在开始使用技巧？");
        form.StartWork();
        EXPECT_TRUE(App::FileExists(BakFile()));
        EXPECT_TRUE(App::FileExists(LogFile()));
        EXPECT_EQ(Sz(spoil), Stored("v").second);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        RemoveDirectoryW(config.c_str());
        DeleteFileW(config.c_str());
        boxes.clear();
    }
}

// Log entries that cannot be written (the log held by another program) are
// told once in a run of the program, with their number and cause.
TEST_F(StartWorkTest, LostLogEntriesAreToldOncePerRun) {
    Form2& form = Forms::Form2();
    AddRow({L"一", L"0", L"a", L"1"});
    AddRow({L"二", L"0", L"b", L"2"});
    WriteBytes(LogFile(), "");
    HANDLE held = CreateFileW(LogFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    ExpectBox(IDOK, L"有 2 条使用记录未能写入日志文件“" + Path(L"logfile.txt") +
                        L"”：文件可能是只读的，或已被其它程序打开。本次运行中不再提示。");
    form.StartWork();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[0].style & MB_ICONMASK);
    EXPECT_EQ(Sz("1"), Stored("a").second);
    form.StartWork();  // told already
    EXPECT_EQ(1u, boxes.size());
    CloseHandle(held);
    EXPECT_EQ("", ReadBytes(LogFile()));
}
