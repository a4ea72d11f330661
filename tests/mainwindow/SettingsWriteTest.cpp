// Settings the main window writes into config.ini at start-up and shut-down,
// when the file cannot be written; the exit button; the windows closed with
// the main one.
#include "support/HeldFile.h"
#include "MainWindowFixture.h"

#include "dialogs/Form4.h"
#include "fixtures/TipRows.h"

namespace {
const wchar_t kNotice[] = L"";  // the upgrade notice: any text
std::wstring NotWritten(const std::wstring& path) {
    return L"无法把设置写入“" + path + L"”：文件可能是只读的，或正被其它程序使用。这些设置没有保存。";
}

// config.ini held open by another program, shared with nobody.

int Criticals(const std::vector<App::MsgBoxCall>& boxes) {
    int n = 0;
    for (const auto& b : boxes) n += (b.style & MB_ICONMASK) == MB_ICONERROR;
    return n;
}
}  // namespace

class SettingsWriteTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        // Each test starts the program afresh in its own folder.
        Stop();
        DeleteFileW(Config::Path().c_str());
        boxes.clear();
    }
};

// A start-up whose defaults and notice flag cannot be written says so once.
TEST_F(SettingsWriteTest, HeldSettingsFileAtStartUpGivesOneMessage) {
    MakeRunBefore();
    HeldFile held(Config::Path(), 0, OPEN_ALWAYS);
    ASSERT_TRUE(held.Held());
    ExpectBox(IDOK, kNotice);  // the notice flag cannot be read either
    ExpectBox(IDOK, NotWritten(Config::Path()));
    Form2& f = Start();
    EXPECT_TRUE(f.Visible());
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(1, Criticals(boxes));
    held.Release();
}

// A new settings file that cannot be made (a folder stands in its place): the
// defaults are not written, and the user hears it once.
TEST_F(SettingsWriteTest, DefaultsThatCannotBeWrittenGiveOneMessage) {
    CreateDirectoryW(Path(L"Data").c_str(), nullptr);
    ASSERT_TRUE(CreateDirectoryW(Config::Path().c_str(), nullptr));
    ExpectBox(IDOK, kNotice);
    ExpectBox(IDOK, NotWritten(Config::Path()));
    Start();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(1, Criticals(boxes));
    ExpectBox(IDOK, NotWritten(Config::Path()));
    Stop();
    EXPECT_EQ(3u, boxes.size());
    RemoveDirectoryW(Config::Path().c_str());
}

// The state of a shut-down that cannot be stored (main window, category window
// and its file list alike) is reported in one message.
TEST_F(SettingsWriteTest, HeldSettingsFileAtShutDownGivesOneMessage) {
    MakeRunBefore();
    Set(L"SaveFile", L"1");
    Start();
    Forms::frmShadow().AddOrSelectEntry(L"c:\\tips\\a.upd");
    ASSERT_TRUE(boxes.empty());
    const std::string before = ReadBytes(Config::Path());
    HeldFile held(Config::Path(), 0, OPEN_ALWAYS);
    ASSERT_TRUE(held.Held());
    ExpectBox(IDOK, NotWritten(Config::Path()));
    Stop();
    EXPECT_EQ(nullptr, Forms::Form2IfLoaded());
    ASSERT_EQ(1u, boxes.size());
    held.Release();
    EXPECT_EQ(before, ReadBytes(Config::Path()));
}

// A mouse click on `exit` closes the window once the toolbar has finished with
// the click: the window is still there when the click returns, and goes with
// the next messages, saving its state as the close box does.
TEST_F(SettingsWriteTest, ExitButtonClosesTheWindowAfterItsClick) {
    MakeRunBefore();
    Set(L"View", L"1");
    Form2& f = Start();
    f.SetView(2);
    HWND main = f.hwnd(), toolbar = f.Toolbar1.hwnd();
    RECT r = f.Toolbar1.ButtonRect(f.Toolbar1.IndexOf(L"exit"));
    POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(toolbar, &pt);
    SendMessageW(toolbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    SendMessageW(toolbar, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_TRUE(IsWindow(main)) << "closed inside the toolbar's click";
    EXPECT_TRUE(IsWindow(toolbar));
    Ui::DoEvents();
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(nullptr, Forms::Form2IfLoaded());
    EXPECT_EQ(L"2", Setting(L"View"));
    EXPECT_TRUE(boxes.empty());
}

// The multi-page dialog, loaded and not shown, goes with the main window.
TEST_F(SettingsWriteTest, ShutDownUnloadsTheDialog) {
    MakeRunBefore();
    Start();
    ASSERT_TRUE(Forms::Form4().Exists());
    HWND dialog = Forms::Form4().hwnd();
    Stop();
    EXPECT_EQ(nullptr, Forms::Form4IfLoaded());
    EXPECT_FALSE(IsWindow(dialog));
}

// A setting that cannot be written is told once in a run, however often it is
// tried: the balloon's Tip (empty, so written 1 at each row shown), the sort
// column (each header click), the live-value switch.
TEST_F(SettingsWriteTest, AFailingSettingIsToldOncePerRun) {
    MakeRunBefore();
    Set(L"Tip", L"");
    Form2& f = Start();
    f.ListView1.Clear();
    for (const wchar_t* name : {L"一", L"二", L"三"})
        TestRows::Add(f.ListView1, TestRows::Tip{.name = name, .typeCode = L"0", .valueName = L"v", .data = L"d",
                                                 .keyPath = kTestKey});
    HeldFile held(Config::Path(), 0, OPEN_ALWAYS);
    ASSERT_TRUE(held.Held());
    ExpectBox(IDOK, L"无法把“显示提示”的设置写入 config.ini（该文件可能是只读的或正被其它程序使用）。");
    ExpectBox(IDOK, NotWritten(Config::Path()));
    for (int round = 0; round < 2; ++round)
        for (int row = 1; row <= 3; ++row) {
            for (int r = 1; r <= 3; ++r) f.ListView1.SetSelected(r, r == row);
            f.ListView1.SetSelectedItem(row);
            f.ListView1_ItemClick();
            Ui::DoEvents();
            EXPECT_TRUE(f.RowTooltip) << "the balloon shows as the setting reads";
        }
    for (int click = 0; click < 3; ++click) f.ListView1_ColumnClick(2);
    EXPECT_EQ(2u, boxes.size());
    EXPECT_EQ(2, Criticals(boxes));
    held.Release();
}
