#include "MainWindowFixture.h"

#include "platform/Columns.h"

#include "platform/Resize.h"
#include "mainwindow/mdlApi.h"
#include "platform/Twips.h"

namespace {
const wchar_t kInitFailure[] = L"技巧数据库初始化失败！这将导致软件在使用中发生严重错误。";

std::wstring Notice(const std::wstring& folder) {
    return L"亲爱的用户，在您的支持下Quorix升级到了3.0版本！\r\n\r\n新的版本具有更强大的功能和稳定性，希望您使用愉快！"
           L"\r\n\r\n同时，我们新增了大量的技巧，请老用户们打开“" +
           folder + L"Updfile”目录下的技巧数据文件进行升级。\r\n\r\n再次感谢您的支持！";
}
}  // namespace

TEST_F(MainWindowTest, FirstStartCopiesDatabakAndWritesDefaultsWithoutNotice) {
    CreateDirectoryW(Path(L"Databak").c_str(), nullptr);
    WriteBytes(Path(L"Databak\\a.qix"), "[x]\r\nk=v\r\n");
    WriteBytes(Path(L"Databak\\b.qix"), "[y]\r\n");
    CreateDirectoryW(Path(L"Databak\\sub").c_str(), nullptr);
    WriteBytes(Path(L"Databak\\sub\\c.qix"), "[z]\r\n");
    App::SetCommandForTests(L"\"C:\\one file.upd\" C:\\two.upd");

    Form2& f = Start();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ReadBytes(Path(L"Data\\a.qix")), "[x]\r\nk=v\r\n");
    EXPECT_TRUE(App::FileExists(Path(L"Data\\b.qix")));
    EXPECT_FALSE(App::FolderExists(Path(L"Data\\sub"))) << "only the files of Databak are copied";
    EXPECT_EQ(Text::ToAnsi(f.ListView1.Tag), "\"C:\\one file.upd\" C:\\two.upd");
    EXPECT_EQ(f.Caption(), L"Quorix 3.0");

    // Every default of the table is written, and only those: the others wait for their writers.
    for (const Config::Key* key : Config::All()) {
        SCOPED_TRACE(Text::ToAnsi(key->name));
        if (key->when == Config::Default::None)
            EXPECT_TRUE(Config::IsEmpty(*key));
        else if (key->value)
            EXPECT_EQ(key->value, Config::Read(*key));
        else  // centred on the screen, for the window's size before the geometry was restored
            EXPECT_GT(Config::Number(*key), 0);
    }
    // The restored state: linked, report view marked, the first column sorted.
    EXPECT_TRUE(f.WindowLink());
    EXPECT_EQ(f.Toolbar1.Image(L"cklj"), 20);
    EXPECT_EQ(f.View(), 3);
    EXPECT_EQ(f.HeaderIcon(1), 1);
    EXPECT_TRUE(f.ListView1.ExtendedStyle() & LVS_EX_GRIDLINES);
    EXPECT_FALSE(f.ListView1.ExtendedStyle() & LVS_EX_TRACKSELECT);
}

TEST_F(MainWindowTest, UpgradeNoticeComesOnceOnTheStartAfterTheDataFolderWasMade) {
    CreateDirectoryW(Path(L"Databak").c_str(), nullptr);
    WriteBytes(Path(L"Databak\\a.qix"), "[x]\r\n");
    Start();
    Stop();
    EXPECT_TRUE(boxes.empty());

    ExpectBox(IDOK, Notice(dir));
    Start();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].style & (MB_ICONMASK | MB_TYPEMASK), static_cast<UINT>(MB_OK));
    EXPECT_EQ(Setting(L"OldUpdate"), L"1");
    Stop();

    Start();  // no further box
    EXPECT_EQ(boxes.size(), 1u);
}

// The start-up reads its settings from one reading of config.ini: a box it
// shows is a wait in which the file may change, by the same number of bytes
// and within the same tick of its write time. What is read afterwards is the
// changed file.
TEST_F(MainWindowTest, SettingsChangedWhileAStartUpBoxIsUpTakeEffect) {
    MakeRunBefore();
    Set(L"OldUpdate", L"");  // the upgrade notice shows
    Set(L"Listview_1", L"1");
    const std::wstring file = Config::Path();
    int shown = 0;
    App::SetMsgBoxResponder([&](const App::MsgBoxCall&) {
        ++shown;
        std::string bytes = ReadBytes(file);
        const size_t view = bytes.find("View=3"), grid = bytes.find("Listview_1=1");
        EXPECT_NE(std::string::npos, view);
        EXPECT_NE(std::string::npos, grid);
        if (view == std::string::npos || grid == std::string::npos) return IDOK;
        bytes[view + 5] = '1';
        bytes[grid + 11] = '0';
        WIN32_FILE_ATTRIBUTE_DATA before{};
        GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &before);
        WriteBytes(file, bytes);
        HANDLE h = CreateFileW(file.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, h);
        SetFileTime(h, nullptr, nullptr, &before.ftLastWriteTime);
        CloseHandle(h);
        return IDOK;
    });
    Form2& f = Start();
    EXPECT_EQ(1, shown);
    EXPECT_EQ(f.View(), 1);
    EXPECT_FALSE(f.ListView1.ExtendedStyle() & LVS_EX_GRIDLINES);
    EXPECT_EQ(Setting(L"OldUpdate"), L"1");
}

TEST_F(MainWindowTest, MissingDatabakReportsTheFailureAndStartUpGoesOn) {
    ExpectBox(IDOK, kInitFailure);
    Form2& f = Start();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
    EXPECT_TRUE(App::FolderExists(Path(L"Data")));
    EXPECT_EQ(Setting(L"Choice"), L"1");
    EXPECT_TRUE(f.Visible());
    EXPECT_TRUE(Forms::frmShadow().Exists());
}

TEST_F(MainWindowTest, SecondInstanceEndsWithoutReadingOrWritingAnything) {
    App::SetPrevInstanceForTests(true);
    Form2& f = Forms::Form2();
    EXPECT_FALSE(f.Exists());
    EXPECT_TRUE(f.EndedAsSecondInstance());
    EXPECT_FALSE(App::FileExists(Path(L"config.ini")));
    EXPECT_FALSE(App::FolderExists(Path(L"Data")));
    EXPECT_TRUE(boxes.empty());
    App::SetPrevInstanceForTests(std::nullopt);
}

TEST_F(MainWindowTest, InterfaceStateSurvivesARestart) {
    MakeRunBefore();
    Form2& f = Start();
    f.MoveTwips(3000, 2250, 7500, 6000);
    f.Toolbar1_ButtonMenuClick(L"viewok", L"v2");
    f.ListView1_KeyDown(VK_F8, 0);  // unlink
    Forms::frmShadow().MoveTwips(600, 900, 2700, 4500);
    Columns::SetHeaderWidth(f.ListView1, 2, 40);
    Columns::SetHeaderWidth(f.ListView1, 3, 0);
    f.ListView1_ColumnClick(4);
    Forms::Form3().TabStrip1.Select(3);
    Stop();

    EXPECT_EQ(Setting(L"Width_1"), L"7500");
    EXPECT_EQ(Setting(L"Height_1"), L"6000");
    EXPECT_EQ(Setting(L"Left_1"), L"3000");
    EXPECT_EQ(Setting(L"Top_1"), L"2250");
    EXPECT_EQ(Setting(L"Left_2"), L"600");
    EXPECT_EQ(Setting(L"Height_2"), L"4500");
    EXPECT_EQ(Setting(L"View"), L"1");
    EXPECT_EQ(Setting(L"FormLink"), L"0");
    EXPECT_EQ(Setting(L"ColumnHeader(2)"), std::to_wstring(Twips::FromPixelsX(40)));
    EXPECT_EQ(Setting(L"ColumnHeader(3)"), L"0");
    EXPECT_EQ(Setting(L"Compositor"), L"4");
    EXPECT_EQ(Setting(L"Tabstrip"), L"2");

    Set(L"AutoWidth", L"0");
    Form2& g = Start();
    EXPECT_EQ(g.Left(), 3000);
    EXPECT_EQ(g.Top(), 2250);
    EXPECT_EQ(g.Width(), 7500);
    EXPECT_EQ(g.Height(), 6000);
    EXPECT_EQ(g.View(), 1);
    EXPECT_EQ(g.Toolbar1.ButtonMenus(L"viewok").Item(L"v2")->text, L"· 小图标(&M)");
    EXPECT_EQ(g.Toolbar1.ButtonMenus(L"viewok").Item(L"v4")->text, L"   详细资料(&D)");
    EXPECT_FALSE(g.WindowLink());
    EXPECT_EQ(g.Toolbar1.Image(L"cklj"), 21);
    EXPECT_EQ(Forms::frmShadow().Left(), 600);
    EXPECT_EQ(Forms::frmShadow().Top(), 900);
    EXPECT_EQ(Columns::HeaderWidth(g.ListView1, 2), 40);
    EXPECT_EQ(Columns::HeaderWidth(g.ListView1, 3), 0);
    EXPECT_EQ(g.HeaderIcon(4), 1);
    EXPECT_EQ(g.HeaderIcon(1), 0);
    EXPECT_EQ(Forms::Form3().TabStrip1.SelectedIndex(), 3);
}

TEST_F(MainWindowTest, RefusedSettingsLeaveTheControlsAsTheyWere) {
    MakeRunBefore();
    Set(L"FormLink", L"1.5");  // whole number 2: refused
    Set(L"View", L"7");
    Set(L"Tabstrip", L"9");
    Set(L"Form2Visible", L"2");
    Set(L"Compositor", L"6");
    Form2& f = Start();
    EXPECT_FALSE(f.WindowLink());
    EXPECT_EQ(f.View(), 3);
    EXPECT_EQ(f.Toolbar1.ButtonMenus(L"viewok").Item(L"v4")->text, L"· 详细资料(&D)");
    EXPECT_EQ(Forms::Form3().TabStrip1.SelectedIndex(), 1);
    EXPECT_FALSE(f.PropertyWindowOn());
    EXPECT_EQ(f.Toolbar1.ButtonMenus(L"viewok").Item(L"jqsx")->text, L"   显示技巧属性窗口(&R)  F2");
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(f.HeaderIcon(c), 0);
}

TEST_F(MainWindowTest, ClosingWhileMinimisedKeepsTheStoredGeometry) {
    MakeRunBefore();
    Form2& f = Start();
    Stop();
    const std::wstring width = Setting(L"Width_1"), left2 = Setting(L"Left_2");
    Set(L"View", L"0");
    Form2& g = Start();
    g.MoveTwips(1500, 1500, 9000, 6000);
    g.SetWindowState(1);
    Ui::DoEvents();
    g.Toolbar1_ButtonMenuClick(L"viewok", L"v3");
    Stop();
    (void)f;
    EXPECT_EQ(Setting(L"Width_1"), width);
    EXPECT_EQ(Setting(L"Left_2"), left2);
    EXPECT_EQ(Setting(L"View"), L"2");
}

TEST_F(MainWindowTest, ShutDownClosesEveryWindowAndTakesTheProceduresOff) {
    MakeRunBefore();
    Form2& f = Start();
    HWND h = f.hwnd(), shadow = Forms::frmShadow().hwnd();
    EXPECT_TRUE(mdlApi::Hooked());
    EXPECT_TRUE(Resize::Installed(h));
    f.Toolbar1_ButtonClick(L"exit");
    EXPECT_TRUE(f.Exists()) << "the close is posted";
    Ui::DoEvents();
    EXPECT_FALSE(f.Exists());
    EXPECT_FALSE(mdlApi::Hooked());
    EXPECT_FALSE(IsWindow(shadow));
    EXPECT_EQ(Forms::Form3IfLoaded(), nullptr);
    EXPECT_EQ(Forms::Form1IfLoaded(), nullptr);
    EXPECT_EQ(Setting(L"FormLink"), L"1");
}

TEST_F(MainWindowTest, ShutDownSavesAndClosesACategoryWindowLoadedAfresh) {
    MakeRunBefore();
    Start().ListView1_KeyDown(VK_F8, 0);  // unlinked: the category window stays where it is put
    Forms::UnloadFrmShadow();
    ::frmShadow& fresh = Forms::frmShadow();
    ASSERT_TRUE(fresh.Exists());
    const HWND freshWindow = fresh.hwnd();
    fresh.MoveTwips(600, 900, 2700, 4500);
    Stop();
    EXPECT_EQ(Setting(L"Left_2"), L"600");
    EXPECT_EQ(Setting(L"Top_2"), L"900");
    EXPECT_EQ(Setting(L"Height_2"), L"4500");
    EXPECT_FALSE(IsWindow(freshWindow));
    EXPECT_EQ(Forms::frmShadowIfLoaded(), nullptr);
}

TEST_F(MainWindowTest, TheStatusBarReloadMarkGoesWithTheWindow) {
    MakeRunBefore();
    Form2& f = Start();
    auto mark = reinterpret_cast<HICON>(SendMessageW(f.StatusBar1.hwnd(), SB_GETICON, 1, 0));
    ASSERT_NE(mark, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(mark, &info));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    Stop();
    EXPECT_FALSE(GetIconInfo(mark, &info)) << "each start-up makes a new mark: the old one must not stay behind";
}
