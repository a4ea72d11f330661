// Start-up: the time from starting Quorix.exe on the shipped library until its
// main window is visible and its tip list holds rows, against bare_window.exe
// (one window with one list view) until its window is visible. Both warm: one
// untimed start each first, then the best of five. Quorix runs in a copy of
// the program folder, so the build's own folder is left as it is.
//   wine build/bench/startup_bench.exe [program folder]   (default: build/program)
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include "BenchClock.h"

namespace {
std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L"\\/")); }

struct Found {
    DWORD pid;
    HWND window = nullptr;
};
BOOL CALLBACK FindTop(HWND h, LPARAM p) {
    auto* f = reinterpret_cast<Found*>(p);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t cls[64];
    if (pid == f->pid && IsWindowVisible(h) && GetClassNameW(h, cls, 64) &&
        (wcscmp(cls, L"Quorix.Form2") == 0 || wcscmp(cls, L"BareWindow") == 0)) {
        f->window = h;
        return FALSE;
    }
    return TRUE;
}
BOOL CALLBACK FindList(HWND h, LPARAM p) {
    wchar_t cls[64];
    if (GetClassNameW(h, cls, 64) && wcscmp(cls, WC_LISTVIEWW) == 0 && IsWindowVisible(h)) {
        *reinterpret_cast<HWND*>(p) = h;
        return FALSE;
    }
    return TRUE;
}

// Starts `exe` in `folder` and waits until its window shows (with rows when
// `rows`); closes it again. Seconds, or -1.
double TimeStart(const std::wstring& exe, const std::wstring& folder, bool rows) {
    std::wstring cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    double t0 = Seconds();
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return -1;
    double t = -1;
    HWND window = nullptr;
    while (Seconds() - t0 < 60) {
        Found f{pi.dwProcessId};
        EnumWindows(FindTop, reinterpret_cast<LPARAM>(&f));
        HWND list = nullptr;
        if (f.window) EnumChildWindows(f.window, FindList, reinterpret_cast<LPARAM>(&list));
        if (list && (!rows || SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) > 0)) {
            t = Seconds() - t0;
            window = f.window;
            break;
        }
        Sleep(1);
    }
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "the program did not end after its window was closed\n");
        TerminateProcess(pi.hProcess, 1);
    }
    if (t < 0) std::fprintf(stderr, "no window with rows within 60 s\n");
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return t;
}

void CopyTree(const std::wstring& from, const std::wstring& to) {
    std::wstring f = from + L"\\*", t = to;
    f.push_back(L'\0');
    t.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_COPY;
    op.pFrom = f.c_str();
    op.pTo = t.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT | FOF_NOCONFIRMMKDIR;
    SHFileOperationW(&op);
}
void RemoveTree(const std::wstring& folder) {
    std::wstring from = folder;
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const std::wstring benchDir = Folder(self);
    const std::wstring program = argc > 1 ? std::wstring(argv[1]) : Folder(benchDir) + L"\\program";
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring copy = std::wstring(tmp) + L"quorix_startup_bench";
    RemoveTree(copy);
    CreateDirectoryW(copy.c_str(), nullptr);
    CopyTree(program, copy);
    const std::wstring quorix = copy + L"\\Quorix.exe", bare = benchDir + L"\\bare_window.exe";
    if (GetFileAttributesW(quorix.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("no Quorix.exe in the program folder\n");
        return 1;
    }
    // The first start sets the folder up (data folder, settings); one start of each warms the caches.
    TimeStart(quorix, copy, true);
    // The upgrade notice of the second start is seen once by every user: seen here.
    WritePrivateProfileStringW(L"Data", L"OldUpdate", L"1", (copy + L"\\config.ini").c_str());
    TimeStart(quorix, copy, true);
    TimeStart(bare, benchDir, false);
    double q = 1e9, b = 1e9;
    for (int round = 0; round < 5; ++round) {
        double tq = TimeStart(quorix, copy, true), tb = TimeStart(bare, benchDir, false);
        if (tq > 0) q = std::min(q, tq);
        if (tb > 0) b = std::min(b, tb);
    }
    std::printf("start-up, warm, best of five: Quorix.exe until its rows show %.0f ms, bare window %.0f ms, "
                "ratio %.2f (goal <= 2)\n",
                q * 1000, b * 1000, q / b);
    RemoveTree(copy);
    return 0;
}
