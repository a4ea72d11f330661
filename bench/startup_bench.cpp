// Start-up as a user starts the program: Quorix.exe, in a program folder of its
// own holding the shipped library (the settings of its first start, the
// upgrade notice seen), started as a process; the clock runs until its main
// window shows, its tip list holds rows and its window thread is idle. Two
// floors are timed the same way in the same run: fair_floor.exe, started in the
// same program folder, builds the same windows, controls, image lists,
// toolbars, tree nodes and rows as the program's start-up, each in one step
// (the census of both is printed, counted from outside); bare_window.exe is one
// window with a one-row list view. All warm: one untimed start each, then
// seven rounds (more when asked); every start is listed, with the medians and
// the best. The same again with a category of 5,000 tips shown at start (it
// sorts first, so the start shows it). A start that shows a message box is
// told, not timed.
//   wine build/bench/startup_bench.exe [program folder] [rounds]   (default: build/program, 7)
#include "Census.h"
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

// Starts fair_floor.exe in the program folder and waits for its list's rows
// and its idle thread; the census of what it built when asked.
double TimeFloor(const std::wstring& exe, const std::wstring& folder, Census::Count* census = nullptr) {
    std::wstring cmd = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double t0 = Seconds();
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
        return -1;
    HWND w = nullptr;
    double t = -1;
    if (Outside::WaitFor([&] {
            w = Outside::TopWindow(pi.dwProcessId, L"FairFloor.Main");
            return w && SendMessageW(Outside::Child(w, WC_LISTVIEWW), LVM_GETITEMCOUNT, 0, 0) > 0;
        }, 60)) {
        Outside::Idle(w);
        t = Seconds() - t0;
    }
    if (census) *census = Census::Of(pi.dwProcessId);
    if (w) PostMessageW(w, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return t;
}

double TimeQuorix(const std::wstring& folder, Census::Count* census = nullptr) {
    Outside::Program p;
    const double t = p.Start(folder, L"", [](const Outside::Program& q) { return Outside::Rows(q) > 0; });
    if (HWND box = p.Window(L"#32770")) {
        std::fprintf(stderr, "the start showed a message box: not timed\n");
        Outside::PressBoxButton(box, IDOK);
        return -1;
    }
    if (census) *census = Census::Of(p.Pid());
    return t;
}

// Warm starts of the three in turn, in one run; prints every round and the medians.
void Run(const char* title, const std::wstring& folder, const std::wstring& floorExe, const std::wstring& bare,
         int rounds) {
    Census::Count qc, fc;
    TimeQuorix(folder, &qc);
    TimeFloor(floorExe, folder, &fc);
    TimeBare(bare);
    std::printf("%s\n  Quorix.exe built: %ls\n  fair floor built: %ls\n", title, Census::Text(qc).c_str(),
                Census::Text(fc).c_str());
    std::vector<double> q, f, b;
    for (int round = 0; round < rounds; ++round) {
        const double tq = TimeQuorix(folder), tf = TimeFloor(floorExe, folder), tb = TimeBare(bare);
        std::printf("  round %d: Quorix.exe %.0f ms, fair floor %.0f ms, bare window %.0f ms\n", round + 1, tq * 1000,
                    tf * 1000, tb * 1000);
        if (tq > 0) q.push_back(tq);
        if (tf > 0) f.push_back(tf);
        if (tb > 0) b.push_back(tb);
    }
    const double mq = Outside::Median(q), mf = Outside::Median(f), mb = Outside::Median(b);
    std::printf("  medians of %d warm starts: Quorix.exe %.0f ms (best %.0f), fair floor %.0f ms (best %.0f), "
                "bare window %.0f ms (best %.0f)\n  Quorix.exe / fair floor = %.2f (goal <= 1.15); "
                "Quorix.exe / bare window = %.2f; fair floor / bare window = %.2f\n",
                rounds, mq * 1000, Outside::Best(q) * 1000, mf * 1000, Outside::Best(f) * 1000, mb * 1000,
                Outside::Best(b) * 1000, mq / mf, mq / mb, mf / mb);
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring program = Outside::ProgramDir(argc, argv);
    const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 7;
    if (GetFileAttributesW((program + L"\\Quorix.exe").c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("no Quorix.exe in %ls\n", program.c_str());
        return 1;
    }
    const std::wstring bare = Outside::BenchDir() + L"\\bare_window.exe";
    const std::wstring floorExe = Outside::BenchDir() + L"\\fair_floor.exe";
    const std::wstring shipped = Outside::MakeProgramFolder(L"quorix_startup_bench", program, true);
    Run("start-up, warm, the shipped library:", shipped, floorExe, bare, rounds);
    BenchFiles::RemoveTree(shipped);
    // A category that sorts before the shipped ones, so that the start shows it.
    const std::wstring big = Outside::MakeProgramFolder(
        L"quorix_startup_bench_5000", program, true,
        {{L"0 五千.qix", BenchFiles::Section(L"数据", BenchFiles::Tips(5000, "Software\\QuorixBench\\Start"))}});
    Run("start-up, warm, a category of 5,000 tips shown at start:", big, floorExe, bare, rounds);
    BenchFiles::RemoveTree(big);
    return 0;
}
