// Settings the main window writes into config.ini at start-up and shut-down,
// when the file cannot be written; the exit button; the windows closed with
// the main one.
#include "support/HeldFile.h"
#include "MainWindowFixture.h"

#include "dialogs/Form4.h"
#include "fixtures/TipRows.h"

#include <functional>
#include <optional>

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

// A settings file that cannot be read (held by another program without
// sharing, a folder in its place, not a settings file): the start-up says so
// once, and the settings read as a new file's, so the question before
// applying, the backups and the log stay on. Its writes failing for the same
// cause are not told again, up to and with the shut-down.
TEST_F(SettingsWriteTest, AnUnreadableSettingsFileIsToldOnceAndReadsAsANewOne) {
    struct Case {
        const char* what;
        std::function<void()> spoil;
        const wchar_t* cause;
        bool rewritten;  // the new file's values are written into it
    } cases[] = {
        {"held", [] {}, L"：文件已被其它程序打开，或者没有读取权限。", false},
        {"a folder", [this] { ASSERT_TRUE(CreateDirectoryW(Config::Path().c_str(), nullptr)); },
         L"：这是一个文件夹，不是设置文件。", false},
        {"junk", [this] { WriteBytes(Config::Path(), std::string("\x01\x02junk\0\xFF\r\n=x\r\n", 14)); },
         L"已损坏，其中没有可以读取的设置。", true},
        {"empty", [this] { WriteBytes(Config::Path(), ""); }, L"已损坏，其中没有可以读取的设置。", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        boxes.clear();
        CreateDirectoryW(Path(L"Data").c_str(), nullptr);
        DeleteFileW(Config::Path().c_str());
        RemoveDirectoryW(Config::Path().c_str());
        c.spoil();
        std::optional<HeldFile> held;
        if (std::string(c.what) == "held") {
            held.emplace(Config::Path(), 0, CREATE_ALWAYS);
            ASSERT_TRUE(held->Held());
        }
        ExpectBox(IDOK);
        Form2& f = Start();
        EXPECT_TRUE(f.Visible());
        ASSERT_EQ(1u, boxes.size());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[0].style & MB_ICONMASK);
        EXPECT_NE(std::wstring::npos, boxes[0].text.find(c.cause)) << Ansi(boxes[0].text);
        EXPECT_NE(std::wstring::npos, boxes[0].text.find(L"应用技巧前询问、备份和日志都保持开启")) << Ansi(boxes[0].text);
        for (const Config::Key* k : {&Config::Start, &Config::SaveHistory, &Config::SaveLog, &Config::SaveFile})
            EXPECT_TRUE(Config::On(*k)) << Ansi(k->name);
        if (c.rewritten) {
            EXPECT_EQ(L"1", Setting(L"Start"));
        }
        Stop();
        EXPECT_EQ(1u, boxes.size()) << "the shut-down's writes fail for the cause told";
        held.reset();
        RemoveDirectoryW(Config::Path().c_str());
    }
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

// The shut-down's settings go into config.ini in one step: ended after any
// change of a file, config.ini is as it was or as the shut-down leaves it,
// and the next start takes a copy left behind away.
TEST_F(SettingsWriteTest, AShutDownEndedAtAnyChangeLeavesTheSettingsOldOrNew) {
    MakeRunBefore();
    Set(L"Start", L"1");
    Set(L"SaveLog", L"1");
    Set(L"SaveHistory", L"1");
    const std::string before = ReadBytes(Config::Path());
    // The start-up adds its late defaults; the shut-down starts from there.
    auto start = [&] {
        WriteBytes(Config::Path(), before);
        Form2& f = Start();
        f.SetView(1);
        return ReadBytes(Config::Path());
    };
    const std::string started = start();
    Stop();
    ASSERT_TRUE(boxes.empty());
    const std::string after = ReadBytes(Config::Path());
    ASSERT_NE(started, after);
    const std::wstring copy = Config::Path() + Ini::CopySuffix;
    int n = 1;
    for (;; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(started, start());
        Ini::EndWritesAfterForTests(n);
        Stop();
        const bool ended = Ini::WritesEndedForTests();
        Ini::EndWritesAfterForTests(0);
        const std::string now = ReadBytes(Config::Path());
        EXPECT_TRUE(now == started || now == after) << now;
        if (!ended) {
            EXPECT_EQ(after, now);
            break;
        }
        if (GetFileAttributesW(copy.c_str()) != INVALID_FILE_ATTRIBUTES) {
            Start();
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(copy.c_str())) << "removed at the next start";
            Stop();
        }
    }
    EXPECT_GE(n, 3);
    EXPECT_TRUE(boxes.empty());
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
    HeldFile held(Config::Path(), FILE_SHARE_READ, OPEN_ALWAYS);  // readable, not writable
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
