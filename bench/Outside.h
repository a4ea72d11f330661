#pragma once
// Driving Quorix.exe from outside, as a user does: the program runs as its own
// process in a program folder made for the benchmark (the settings its first
// start writes, the upgrade notice already seen), and the benchmark clicks and
// types into its windows with real input (SendInput at the screen point of a
// control's item), answers the real message boxes by clicking their buttons,
// and stops its clock on what the user sees: a status-bar text, a row count, a
// window, and the program's window thread being back in its message loop.
//
// Messages whose parameter points at memory (SB_GETTEXT, TVM_GETITEM,
// LVM_GETITEMRECT...) need that memory inside the program's process: `Remote`
// holds a block there (VirtualAllocEx, WriteProcessMemory, ReadProcessMemory).
// Both processes are 64-bit, so the structures have one layout.
#include "BenchClock.h"
#include "BenchFiles.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace Outside {

inline std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/")); }

// The folder of the running benchmark program.
inline std::wstring BenchDir() {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return Folder(self);
}

// The program folder to copy Quorix.exe and the shipped library from: the first
// argument, or the build's program folder.
inline std::wstring ProgramDir(int argc, wchar_t** argv) {
    return argc > 1 ? std::wstring(argv[1]) : Folder(BenchDir()) + L"\\program";
}

// A block of memory inside another process.
class Remote {
public:
    Remote(HANDLE process, size_t size) : process_(process), size_(size) {
        at_ = VirtualAllocEx(process_, nullptr, size_, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~Remote() {
        if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    }
    Remote(const Remote&) = delete;
    Remote& operator=(const Remote&) = delete;
    LPARAM Address(size_t offset = 0) const { return reinterpret_cast<LPARAM>(static_cast<char*>(at_) + offset); }
    bool Write(const void* data, size_t n, size_t offset = 0) {
        SIZE_T done = 0;
        return WriteProcessMemory(process_, static_cast<char*>(at_) + offset, data, n, &done) && done == n;
    }
    bool Read(void* data, size_t n, size_t offset = 0) const {
        SIZE_T done = 0;
        return ReadProcessMemory(process_, static_cast<char*>(at_) + offset, data, n, &done) && done == n;
    }
    explicit operator bool() const { return at_ != nullptr; }

private:
    HANDLE process_;
    size_t size_;
    void* at_;
};

// ---------------------------------------------------------------- windows

struct TopSearch {
    DWORD pid;
    const wchar_t* cls;
    HWND found = nullptr;
};
inline BOOL CALLBACK FindTopProc(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<TopSearch*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t cls[64];
    if (pid == s->pid && IsWindowVisible(h) && GetClassNameW(h, cls, 64) && wcscmp(cls, s->cls) == 0) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}
// A visible top-level window of the process with that class.
inline HWND TopWindow(DWORD pid, const wchar_t* cls) {
    TopSearch s{pid, cls};
    EnumWindows(FindTopProc, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

struct ChildSearch {
    const wchar_t* cls;
    int skip;
    HWND found = nullptr;
};
inline BOOL CALLBACK FindChildProc(HWND h, LPARAM p) {
    auto* s = reinterpret_cast<ChildSearch*>(p);
    wchar_t cls[64];
    if (GetClassNameW(h, cls, 64) && wcscmp(cls, s->cls) == 0 && s->skip-- == 0) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}
// The (n+1)-th descendant window of that class, in the system's order.
inline HWND Child(HWND parent, const wchar_t* cls, int n = 0) {
    if (!parent) return nullptr;
    ChildSearch s{cls, n};
    EnumChildWindows(parent, FindChildProc, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Waits until `done` holds, polling every millisecond; false after `timeout` seconds.
inline bool WaitFor(const std::function<bool()>& done, double timeout = 120) {
    const double t0 = Seconds();
    while (!done()) {
        if (Seconds() - t0 > timeout) return false;
        Sleep(1);
    }
    return true;
}

// Returns once the window's thread has handled everything sent before: the
// program is back in its message loop (or in a modal loop of its own).
inline void Idle(HWND h) {
    DWORD_PTR r;
    SendMessageTimeoutW(h, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &r);
}

// ---------------------------------------------------------------- the program

class Program {
public:
    ~Program() { Close(); }
    // Starts Quorix.exe in `folder` and waits until its main window shows and
    // its thread is idle. The seconds from the start, or -1.
    double Start(const std::wstring& folder, const std::wstring& args = L"",
                 const std::function<bool(const Program&)>& ready = nullptr) {
        const std::wstring exe = folder + L"\\Quorix.exe";
        std::wstring cmd = L"\"" + exe + L"\"" + (args.empty() ? L"" : L" " + args);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        const double t0 = Seconds();
        if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi_))
            return -1;
        started_ = true;
        if (!WaitFor([&] { return (main_ = TopWindow(pi_.dwProcessId, L"Quorix.Form2")) != nullptr; }, 60)) return -1;
        if (ready && !WaitFor([&] { return ready(*this); }, 60)) return -1;
        Outside::Idle(main_);
        return Seconds() - t0;
    }
    // Closes the main window and waits for the process to end.
    void Close() {
        if (!started_) return;
        started_ = false;
        if (main_ && IsWindow(main_)) PostMessageW(main_, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi_.hProcess, 30000) != WAIT_OBJECT_0) {
            std::fprintf(stderr, "Quorix.exe did not end after its window was closed; ended by the benchmark\n");
            TerminateProcess(pi_.hProcess, 1);
            WaitForSingleObject(pi_.hProcess, 5000);
        }
        CloseHandle(pi_.hThread);
        CloseHandle(pi_.hProcess);
        main_ = nullptr;
    }
    HANDLE Process() const { return pi_.hProcess; }
    DWORD Pid() const { return pi_.dwProcessId; }
    HWND Main() const { return main_; }
    HWND Window(const wchar_t* cls) const { return TopWindow(pi_.dwProcessId, cls); }
    HWND List() const { return Child(main_, WC_LISTVIEWW); }
    HWND StatusBar() const { return Child(main_, STATUSCLASSNAMEW); }
    HWND Toolbar() const { return Child(main_, TOOLBARCLASSNAMEW); }
    HWND Tree() const { return Child(Window(L"Quorix.frmShadow"), WC_TREEVIEWW); }
    void Idle() const { Outside::Idle(main_); }

private:
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
    bool started_ = false;
};

// The text of a status-bar panel (from 1).
inline std::wstring StatusText(const Program& p, int panel) {
    HWND bar = p.StatusBar();
    if (!bar) return L"";
    const LRESULT lr = SendMessageW(bar, SB_GETTEXTLENGTHW, panel - 1, 0);
    const size_t n = LOWORD(lr);
    Remote mem(p.Process(), (n + 1) * sizeof(wchar_t));
    SendMessageW(bar, SB_GETTEXTW, panel - 1, mem.Address());
    std::wstring s(n, L'\0');
    if (n) mem.Read(s.data(), n * sizeof(wchar_t));
    return s;
}
inline int Rows(const Program& p) { return static_cast<int>(SendMessageW(p.List(), LVM_GETITEMCOUNT, 0, 0)); }

// Waits for the panel to read `text`, then for the program to be idle; false on timeout.
inline bool WaitStatus(const Program& p, int panel, const std::wstring& text, double timeout = 600) {
    const bool ok = WaitFor([&] { return StatusText(p, panel) == text; }, timeout);
    p.Idle();
    return ok;
}

// Sets a status-bar panel's text (from 1), so that the next command's own text is seen.
inline void SetStatusText(const Outside::Program& p, int panel, const std::wstring& text) {
    Remote mem(p.Process(), (text.size() + 1) * sizeof(wchar_t));
    mem.Write(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    SendMessageW(p.StatusBar(), SB_SETTEXTW, panel - 1, mem.Address());
}

// ---------------------------------------------------------------- input

inline void MoveTo(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>(screen.x * 65535.0 / (GetSystemMetrics(SM_CXSCREEN) - 1));
    in.mi.dy = static_cast<LONG>(screen.y * 65535.0 / (GetSystemMetrics(SM_CYSCREEN) - 1));
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof in);
}
inline void ClickScreen(POINT screen, bool right = false) {
    MoveTo(screen);
    INPUT in[2]{};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}
// A click at the centre of a rectangle in the window's client coordinates.
inline void ClickIn(HWND h, const RECT& r) {
    POINT pt{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(h, &pt);
    ClickScreen(pt);
}
inline void ClickWindow(HWND h) {
    RECT r;
    GetClientRect(h, &r);
    ClickIn(h, r);
}
// A key held down (true) or let go (false).
inline void Hold(WORD vk, bool down) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    i.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &i, sizeof i);
}
// A key pressed and released `times` times in one input batch, with `held`
// (VK_SHIFT, VK_CONTROL; 0 for none) held down around them.
inline void Keys(WORD vk, int times, WORD held = 0) {
    std::vector<INPUT> in;
    auto add = [&](WORD k, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = k;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        in.push_back(i);
    };
    if (held) add(held, false);
    for (int n = 0; n < times; ++n) add(vk, false), add(vk, true);
    if (held) add(held, true);
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}
// A key pressed and released, with Ctrl when asked.
inline void Key(WORD vk, bool ctrl = false) { Keys(vk, 1, ctrl ? VK_CONTROL : 0); }
// Brings the window to the front so that clicks on it reach it.
inline void Front(HWND h) {
    SetForegroundWindow(h);
    BringWindowToTop(h);
}

// A row (from 1) of a list view of the program, clicked on its text.
inline bool ClickListItem(const Program& p, HWND list, int row) {
    SendMessageW(list, LVM_ENSUREVISIBLE, row - 1, FALSE);
    Remote mem(p.Process(), sizeof(RECT));
    RECT r{LVIR_LABEL, 0, 0, 0};
    mem.Write(&r, sizeof r);
    if (!SendMessageW(list, LVM_GETITEMRECT, row - 1, mem.Address()) || !mem.Read(&r, sizeof r)) return false;
    ClickIn(list, r);
    p.Idle();
    return true;
}
// A row of the tip list (from 1), clicked on its name.
inline bool ClickRow(const Program& p, int row) { return ClickListItem(p, p.List(), row); }

// Positions (from 1) of the main toolbar's buttons, separators counted.
namespace Button {
constexpr int start = 1, open = 3, daochu = 4, tjlb = 6, del = 7, del2 = 8, scj = 9, cut = 11, copy = 12,
              paste = 13, viewhf = 15, find = 16, xuan = 19, xiao = 20;
}

// A toolbar button of the main window (from 1, by position), clicked.
inline bool ClickButton(const Program& p, int position) {
    HWND bar = p.Toolbar();
    Remote mem(p.Process(), sizeof(RECT));
    RECT r{};
    if (!SendMessageW(bar, TB_GETITEMRECT, position - 1, mem.Address()) || !mem.Read(&r, sizeof r)) return false;
    Front(p.Main());
    ClickIn(bar, r);
    return true;
}

// The node of the category tree with this path of texts (from the root), or nullptr.
inline HTREEITEM FindNode(const Program& p, const std::vector<std::wstring>& path) {
    HWND tree = p.Tree();
    Remote mem(p.Process(), sizeof(TVITEMW) + 520 * sizeof(wchar_t));
    HTREEITEM at = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    for (size_t level = 0; level < path.size(); ++level) {
        for (; at; at = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(at)))) {
            TVITEMW it{};
            it.mask = TVIF_TEXT;
            it.hItem = at;
            it.pszText = reinterpret_cast<wchar_t*>(mem.Address(sizeof(TVITEMW)));
            it.cchTextMax = 520;
            mem.Write(&it, sizeof it);
            SendMessageW(tree, TVM_GETITEMW, 0, mem.Address());
            wchar_t text[520] = {};
            mem.Read(text, 519 * sizeof(wchar_t), sizeof(TVITEMW));
            if (path[level] == text) break;
        }
        if (!at) return nullptr;
        if (level + 1 < path.size()) {
            SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(at));
            at = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(at)));
        }
    }
    return at;
}

// A click on a node's text in the category tree.
inline bool ClickNode(const Program& p, HTREEITEM node) {
    HWND tree = p.Tree();
    if (!node) return false;
    SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node));
    Remote mem(p.Process(), sizeof(RECT));
    mem.Write(&node, sizeof node);  // TVM_GETITEMRECT takes the item in the rectangle's place
    RECT r{};
    if (!SendMessageW(tree, TVM_GETITEMRECT, TRUE, mem.Address()) || !mem.Read(&r, sizeof r)) return false;
    Front(p.Window(L"Quorix.frmShadow"));
    ClickIn(tree, r);
    return true;
}

// The program's message box (a system dialog), once it shows; nullptr after `timeout` seconds.
inline HWND WaitBox(const Program& p, double timeout = 60) {
    HWND box = nullptr;
    WaitFor([&] { return (box = p.Window(L"#32770")) != nullptr; }, timeout);
    return box;
}
inline std::wstring BoxText(HWND box) {
    HWND label = GetDlgItem(box, 0xFFFF);
    wchar_t text[1024] = {};
    if (label) GetWindowTextW(label, text, 1024);
    return text;
}
// A system dialog of the program whose caption or message text is `text`, once it shows.
struct DialogSearch {
    DWORD pid;
    std::wstring text;
    HWND found = nullptr;
};
inline BOOL CALLBACK FindDialogProc(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<DialogSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t cls[64], title[512] = {};
    if (pid != s->pid || !IsWindowVisible(h) || !GetClassNameW(h, cls, 64) || wcscmp(cls, L"#32770") != 0) return TRUE;
    GetWindowTextW(h, title, 512);
    if (s->text == title || s->text == BoxText(h)) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}
inline HWND WaitDialog(const Program& p, const std::wstring& text, double timeout = 600) {
    DialogSearch s{p.Pid(), text};
    WaitFor([&] {
        EnumWindows(FindDialogProc, reinterpret_cast<LPARAM>(&s));
        return s.found != nullptr;
    }, timeout);
    if (!s.found) std::fprintf(stderr, "no window \"%ls\" within %.0f s\n", text.c_str(), timeout);
    return s.found;
}

struct TextSearch {
    const wchar_t* text;
    HWND found = nullptr;
};
inline BOOL CALLBACK FindTextProc(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<TextSearch*>(lp);
    wchar_t t[256] = {};
    GetWindowTextW(h, t, 256);
    if (wcscmp(t, s->text) == 0 && IsWindowVisible(h)) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}
// A visible descendant window with this text (a button's caption).
inline HWND ChildWithText(HWND parent, const wchar_t* text) {
    TextSearch s{text};
    if (parent) EnumChildWindows(parent, FindTextProc, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Clicks a button of the box (IDYES, IDOK...) with the mouse.
inline bool PressBoxButton(HWND box, int id) {
    HWND b = GetDlgItem(box, id);
    if (!b) return false;
    Front(box);
    ClickWindow(b);
    return true;
}

// ---------------------------------------------------------------- the program folder

// A fresh program folder under the temporary folder: Quorix.exe from `program`,
// an empty Bak, Databak holding the shipped library (when `shipped`) and the
// given category files (name -> bytes), Updfile from `program`. The program is
// started once there (the first start writes its settings and copies Databak
// to Data) and closed; then the upgrade notice is marked seen, as a user's
// second start leaves it. Returns the folder.
inline std::wstring MakeProgramFolder(const wchar_t* name, const std::wstring& program, bool shipped,
                                      const std::vector<std::pair<std::wstring, std::string>>& categories = {}) {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring dir = std::wstring(tmp) + name;
    BenchFiles::RemoveTree(dir);
    CreateDirectoryW(dir.c_str(), nullptr);
    CopyFileW((program + L"\\Quorix.exe").c_str(), (dir + L"\\Quorix.exe").c_str(), FALSE);
    CreateDirectoryW((dir + L"\\Bak").c_str(), nullptr);
    CreateDirectoryW((dir + L"\\Databak").c_str(), nullptr);
    if (shipped) BenchFiles::CopyTree(program + L"\\Databak", dir + L"\\Databak");
    BenchFiles::CopyTree(program + L"\\Updfile", dir + L"\\Updfile");
    for (const auto& [file, bytes] : categories) BenchFiles::WriteBytes(dir + L"\\Databak\\" + file, bytes);
    {
        Program first;
        if (first.Start(dir) < 0) std::fprintf(stderr, "the first start showed no main window\n");
        if (HWND box = first.Window(L"#32770"))
            std::fprintf(stderr, "the first start showed a message box\n"), PressBoxButton(box, IDOK);
    }
    WritePrivateProfileStringW(L"Data", L"OldUpdate", L"1", (dir + L"\\config.ini").c_str());
    return dir;
}

// Median and best of a series of seconds.
inline double Median(std::vector<double> v) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
inline double Best(const std::vector<double>& v) {
    double b = 1e30;
    for (double x : v) b = x < b ? x : b;
    return v.empty() ? -1 : b;
}

}  // namespace Outside
