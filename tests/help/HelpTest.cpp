// The help file from the user's side: F1 in the tip list and in the category
// window and the toolbar's 帮助 open the system's help viewer on help.chm beside
// the program (Wine's hh.exe here), also from a folder whose path holds a blank;
// without the file nothing of ours appears. The other shell opens and process
// starts go through the recorder and are checked call by call.
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/Launch.h"
#include "platform/Text.h"
#include "platform/Window.h"
#include "support/Fixture.h"

#include <windows.h>

namespace {
// The caption of the window definition in data/help/quorix.hhp.
const wchar_t kViewerTitle[] = L"Quorix 3.0 帮助";

// Lets our windows run while waiting for another process's window.
HWND WaitForWindow(const wchar_t* title, DWORD milliseconds) {
    const ULONGLONG end = GetTickCount64() + milliseconds;
    for (;;) {
        if (HWND h = FindWindowW(nullptr, title)) return h;
        if (GetTickCount64() > end) return nullptr;
        Ui::DoEvents();
        Sleep(100);
    }
}

// Closes another process's window as its close box does and waits for the process to end.
bool CloseAndWait(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    PostMessageW(window, WM_CLOSE, 0, 0);
    bool ended = process && WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    if (process && !ended) TerminateProcess(process, 1);
    if (process) CloseHandle(process);
    return ended;
}

enum class Opener { TipListF1, CategoryF1, ToolbarHelp, ToolbarLog };

void Open(Opener how) {
    Form2& main = Forms::Form2();
    switch (how) {
    case Opener::TipListF1:
        SendMessageW(main.ListView1.hwnd(), WM_KEYDOWN, VK_F1, 0);
        SendMessageW(main.ListView1.hwnd(), WM_KEYUP, VK_F1, 0);
        break;
    case Opener::CategoryF1: {
        HWND tree = Forms::frmShadow().TreeView1.hwnd();
        SendMessageW(tree, WM_KEYDOWN, VK_F1, 0);
        SendMessageW(tree, WM_KEYUP, VK_F1, 0);
        break;
    }
    case Opener::ToolbarHelp:
        main.Toolbar1.Click(L"help");
        break;
    case Opener::ToolbarLog:
        main.Toolbar1.Click(L"log");
        break;
    }
    Ui::DoEvents();
}

const char* Name(Opener how) {
    switch (how) {
    case Opener::TipListF1: return "F1 in the tip list";
    case Opener::CategoryF1: return "F1 in the category window";
    case Opener::ToolbarHelp: return "toolbar help";
    case Opener::ToolbarLog: return "toolbar log";
    }
    return "";
}
}  // namespace

class HelpTest : public QuorixTest {
protected:
    void SetUp() override {
        QuorixTest::SetUp();
        if (Form2* f = Forms::Form2IfLoaded()) f->Unload();
        ASSERT_EQ(nullptr, FindWindowW(nullptr, kViewerTitle)) << "a help viewer left open by someone else";
    }
    void TearDown() override {
        if (Form2* f = Forms::Form2IfLoaded()) f->Unload();
        QuorixTest::TearDown();
    }
    // Makes `folder` (under the test's folder) the program folder, as a program
    // that has run there before, and starts the main window in it.
    void StartIn(const std::wstring& folder, bool withHelp) {
        std::wstring path = dir + folder;
        ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
        App::SetPathForTests(path);
        ASSERT_TRUE(App::MakeFolder(path + L"\\Data"));
        ASSERT_TRUE(WritePrivateProfileStringA("Data", "OldUpdate", "1", Ansi(path + L"\\config.ini").c_str()));
        if (withHelp) {
            ASSERT_TRUE(CopyFileW(Text::FromAnsi(QUORIX_BUILT_HELP).c_str(), (path + L"\\help.chm").c_str(), FALSE))
                << "the built help file " << QUORIX_BUILT_HELP;
        }
        Form2& main = Forms::Form2();
        ASSERT_TRUE(main.Exists());
        main.Show();
        Ui::DoEvents();
    }
};

// Each opener starts Wine's real help viewer on the file: its window carries the
// title of the file's window definition and belongs to another process. The
// test closes it again. The folders' names hold blanks (and Chinese), so the
// path reaches the viewer whole only when it is quoted.
TEST_F(HelpTest, F1InBothWindowsAndTheToolbarOpenTheViewerOnTheFile) {
    struct Case {
        Opener how;
        const wchar_t* folder;
    } cases[] = {
        {Opener::TipListF1, L"Quorix"},
        {Opener::TipListF1, L"程序 文件夹"},
        {Opener::CategoryF1, L"程序 文件夹 2"},
        {Opener::ToolbarHelp, L"程序 文件夹 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(Name(c.how)) + " in " + Ansi(c.folder));
        StartIn(c.folder, true);
        Launch::SetRecorderForTests(nullptr);
        Open(c.how);
        HWND viewer = WaitForWindow(kViewerTitle, 20000);
        ASSERT_NE(nullptr, viewer) << "no help viewer window";
        DWORD pid = 0;
        GetWindowThreadProcessId(viewer, &pid);
        EXPECT_NE(GetCurrentProcessId(), pid);
        // The viewer makes its window before it shows it.
        for (DWORD start = GetTickCount(); !IsWindowVisible(viewer) && GetTickCount() - start < 10000;) Sleep(50);
        EXPECT_TRUE(IsWindowVisible(viewer));
        EXPECT_TRUE(CloseAndWait(viewer)) << "the viewer did not end on WM_CLOSE";
        EXPECT_EQ(nullptr, FindWindowW(nullptr, kViewerTitle));
        EXPECT_TRUE(boxes.empty());
        Forms::Form2().Unload();
    }
}

// Without help.chm the openers show nothing of ours (an unexpected box fails the
// test) and no box of the system's either; the viewer shows no window.
TEST_F(HelpTest, WithoutTheFileNothingAppears) {
    StartIn(L"没有 帮助", false);
    Launch::SetRecorderForTests(nullptr);
    for (Opener how : {Opener::TipListF1, Opener::CategoryF1, Opener::ToolbarHelp}) {
        SCOPED_TRACE(Name(how));
        Open(how);
        const ULONGLONG end = GetTickCount64() + 3000;
        while (GetTickCount64() < end) {
            Ui::DoEvents();
            Sleep(100);
        }
        EXPECT_EQ(nullptr, FindWindowW(nullptr, kViewerTitle));
        HWND box = FindWindowW(L"#32770", nullptr);
        EXPECT_TRUE(box == nullptr || !IsWindowVisible(box)) << "a dialog box appeared";
        EXPECT_TRUE(IsWindowEnabled(Forms::Form2().hwnd()));
    }
    EXPECT_TRUE(boxes.empty());
}

// What each opener hands to the system, through the recorder (nothing starts):
// F1 starts hh.exe with the file's path quoted, in a normal window; the toolbar
// opens the help file and the log with the shell's "open", a normal window and
// the desktop as owner. At a drive root the path has a single backslash.
TEST_F(HelpTest, OpenersHandTheSystemTheQuotedPathInANormalWindow) {
    StartIn(L"a b", false);
    const std::wstring folder = dir + L"a b\\";
    struct Case {
        Opener how;
        const wchar_t* root;  // program folder; nullptr: the test's "a b"
        const wchar_t* verb;
        std::wstring target, parameters;
        HWND owner;
    } cases[] = {
        {Opener::TipListF1, nullptr, L"", L"hh.exe", L"\"" + folder + L"help.chm\"", nullptr},
        {Opener::CategoryF1, nullptr, L"", L"hh.exe", L"\"" + folder + L"help.chm\"", nullptr},
        {Opener::TipListF1, L"C:\\", L"", L"hh.exe", L"\"C:\\help.chm\"", nullptr},
        {Opener::ToolbarHelp, nullptr, L"open", folder + L"help.chm", L"", GetDesktopWindow()},
        {Opener::ToolbarHelp, L"C:\\", L"open", L"C:\\help.chm", L"", GetDesktopWindow()},
        {Opener::ToolbarLog, nullptr, L"open", folder + L"logfile.txt", L"", GetDesktopWindow()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(Name(c.how)) + " at " + Ansi(c.root ? c.root : folder.c_str()));
        App::SetPathForTests(c.root ? std::wstring(c.root) : folder.substr(0, folder.size() - 1));
        launches.clear();
        Open(c.how);
        ASSERT_EQ(1u, launches.size());
        const Launch::Call& got = launches[0];
        EXPECT_EQ(Ansi(c.verb), Ansi(got.verb));
        EXPECT_EQ(Ansi(c.target), Ansi(got.target));
        EXPECT_EQ(Ansi(c.parameters), Ansi(got.parameters));
        EXPECT_EQ(SW_SHOWNORMAL, got.show);
        EXPECT_EQ(c.owner, got.owner);
    }
    EXPECT_TRUE(boxes.empty());
}
