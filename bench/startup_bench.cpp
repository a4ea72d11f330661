// Start-up as a user starts the program: Quorix.exe, in a program folder of its
// own holding the shipped library (the settings of its first start, the
// upgrade notice seen), started as a process; the clock runs until its main
// window shows, its tip list holds rows and its window thread is idle. The
// floor is bare_window.exe (one window with a one-row list view) timed the same
// way in the same run. Both warm: one untimed start each, then seven rounds;
// every start is listed, with the median and the best. A start that shows a
// message box is told, not timed.
//   wine build/bench/startup_bench.exe [program folder]   (default: build/program)
#include "Outside.h"

#include <cstdio>

namespace {
// Starts bare_window.exe and waits for its window, its row and its idle thread.
double TimeBare(const std::wstring& exe) {
    std::wstring cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double t0 = Seconds();
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    HWND w = nullptr;
    double t = -1;
    if (Outside::WaitFor([&] {
            w = Outside::TopWindow(pi.dwProcessId, L"BareWindow");
            return w && SendMessageW(Outside::Child(w, WC_LISTVIEWW), LVM_GETITEMCOUNT, 0, 0) > 0;
        }, 60)) {
        Outside::Idle(w);
        t = Seconds() - t0;
    }
    if (w) PostMessageW(w, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return t;
}

double TimeQuorix(const std::wstring& folder) {
    Outside::Program p;
    const double t = p.Start(folder, L"", [](const Outside::Program& q) { return Outside::Rows(q) > 0; });
    if (HWND box = p.Window(L"#32770")) {
        std::fprintf(stderr, "the start showed a message box: not timed\n");
        Outside::PressBoxButton(box, IDOK);
        return -1;
    }
    return t;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring program = Outside::ProgramDir(argc, argv);
    if (GetFileAttributesW((program + L"\\Quorix.exe").c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("no Quorix.exe in %ls\n", program.c_str());
        return 1;
    }
    const std::wstring folder = Outside::MakeProgramFolder(L"quorix_startup_bench", program, true);
    const std::wstring bare = Outside::BenchDir() + L"\\bare_window.exe";
    TimeQuorix(folder);
    TimeBare(bare);
    std::vector<double> q, b;
    for (int round = 0; round < 7; ++round) {
        const double tq = TimeQuorix(folder), tb = TimeBare(bare);
        std::printf("  round %d: Quorix.exe %.0f ms, bare window %.0f ms\n", round + 1, tq * 1000, tb * 1000);
        if (tq > 0) q.push_back(tq);
        if (tb > 0) b.push_back(tb);
    }
    std::printf("start-up, warm: Quorix.exe until its rows show and it is idle: median %.0f ms, best %.0f ms; "
                "bare window: median %.0f ms, best %.0f ms; ratio of medians %.2f (goal <= 2)\n",
                Outside::Median(q) * 1000, Outside::Best(q) * 1000, Outside::Median(b) * 1000,
                Outside::Best(b) * 1000, Outside::Median(q) / Outside::Median(b));
    BenchFiles::RemoveTree(folder);
    return 0;
}
