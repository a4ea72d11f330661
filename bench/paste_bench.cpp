// Pasting tips into another category as a user does it, on the program as it
// runs: Quorix.exe in a program folder of its own (the settings its first start
// writes) with a source category of n tips and a destination category of one
// other tip. A row is clicked, Ctrl+A selects every row and Ctrl+C copies them,
// the destination's node is clicked, and the clock runs from a click on the
// paste button until the status bar reads "共有 <n+1> 个技巧" and the program
// is idle. Then the same paste again, every tip clashing, answered 全部 in the
// replace window. The floor, in the same run (bench/TransferFloor.h): both
// sections read, the destination written once, the list filled (a paste does
// not fit the columns).
//   wine build/bench/paste_bench.exe [program folder] [tip counts...]   (default: 100 1000 5000)
#include "Outside.h"
#include "TransferFloor.h"

#include <cstdio>

namespace {
std::wstring CountText(int n) { return L"共有 " + std::to_wstring(n) + L" 个技巧"; }

struct Result {
    double paste = -1, clash = -1, floor = -1;
};

// A click on the paste button until the destination shows `rows`; answers 全部 when the replace window asks.
double Paste(const Outside::Program& p, int rows, bool clashes) {
    Outside::SetStatusText(p, 1, L"");
    const double t0 = Seconds();
    Outside::ClickButton(p, Outside::Button::paste);
    if (clashes) {
        HWND replace = nullptr;
        Outside::WaitFor([&] { return (replace = p.Window(L"Quorix.Form4")) != nullptr; }, 600);
        HWND all = Outside::ChildWithText(replace, L"全部(&A)");
        if (!all) {
            std::fprintf(stderr, "no replace window with 全部\n");
            return -1;
        }
        Outside::Front(replace);
        Outside::ClickWindow(all);
    }
    if (!Outside::WaitStatus(p, 1, CountText(rows))) return -1;
    const double t = Seconds() - t0;
    if (HWND box = p.Window(L"#32770")) {
        std::fprintf(stderr, "a message box after the paste: %ls\n", Outside::BoxText(box).c_str());
        Outside::PressBoxButton(box, IDOK);
    }
    return t;
}

Result Run(const std::wstring& program, int n, BenchFloor& floor) {
    const std::wstring dir = Outside::MakeProgramFolder(
        L"quorix_paste_bench", program, false,
        {{L"A源.qix", BenchFiles::Section(L"数据", BenchFiles::Tips(n, "Software\\QuorixBench\\Paste"))},
         {L"B目标.qix", BenchFiles::Section(L"数据", BenchFiles::Tips(1, "Software\\QuorixBench\\Paste", L"已有 "))}});
    Result r;
    r.floor = TransferFloor(floor, dir + L"\\Data\\A源.qix", dir + L"\\Data\\B目标.qix", dir, false);
    Outside::Program p;
    p.Start(dir, L"", [n](const Outside::Program& q) { return Outside::Rows(q) == n; });
    Outside::Front(p.Main());
    Outside::ClickRow(p, 1);
    Outside::Key('A', true);
    Outside::Key('C', true);
    p.Idle();
    Outside::ClickNode(p, Outside::FindNode(p, {L"B目标"}));
    if (!Outside::WaitStatus(p, 1, CountText(1), 60)) return r;
    r.paste = Paste(p, n + 1, false);
    r.clash = Paste(p, n + 1, true);
    p.Close();
    BenchFiles::RemoveTree(dir);
    return r;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring program = Outside::ProgramDir(argc, argv);
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i) sizes.push_back(_wtoi(argv[i]));
    if (sizes.empty()) sizes = {100, 1000, 5000};
    BenchFloor floor;
    std::printf("%6s %10s %8s %16s %8s %10s %12s\n", "tips", "paste ms", "x floor", "clashes, 全部 ms", "x floor",
                "floor ms", "paste us/tip");
    for (int n : sizes) {
        const Result r = Run(program, n, floor);
        std::printf("%6d %10.0f %8.2f %16.0f %8.2f %10.1f %12.0f\n", n, r.paste * 1000, r.paste / r.floor,
                    r.clash * 1000, r.clash / r.floor, r.floor * 1000, r.paste * 1e6 / n);
    }
    std::printf("goal: within 3 x the floor, linear\n");
    return 0;
}
