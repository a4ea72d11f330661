// Finding tips in the current list as a user does it, on the program as it
// runs: Quorix.exe in a program folder of its own (the settings its first start
// writes) showing a category of 5,000 tips. Ctrl+F opens the find window, the
// text is typed into its box, 当前类别 chosen, and the clock runs over a click
// on 查找 (sent to the button, so that the clock stops when the program has
// handled it: the matching rows marked and the last one scrolled into view).
// One match, and every row matching. The floor, in the same run: the same
// 5,000 rows in a bare list in the benchmark, every row's text read back and
// searched (upper-cased), the list scrolled to the last match. Painting is
// left out of both (it follows once the command has returned).
//   wine build/bench/find_bench.exe [program folder]   (default: build/program)
#include "BenchFloor.h"
#include "Outside.h"

#include <cstdio>

namespace {
constexpr int kTips = 5000;

double FindOnce(const Outside::Program& p, const std::wstring& text) {
    HWND find = p.Window(L"Quorix.Form5");
    HWND box = Outside::Child(find, L"Edit");
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageW(Outside::ChildWithText(find, L"当前类别(&Y)"), BM_CLICK, 0, 0);
    HWND button = Outside::ChildWithText(find, L"查找(&F)");
    if (!button) return -1;
    const double t0 = Seconds();
    SendMessageW(button, BM_CLICK, 0, 0);
    return Seconds() - t0;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring program = Outside::ProgramDir(argc, argv);
    const std::wstring dir = Outside::MakeProgramFolder(
        L"quorix_find_bench", program, false,
        {{L"系统.qix", BenchFiles::Section(L"数据", BenchFiles::Tips(kTips, "Software\\QuorixBench\\Find"))}});
    BenchFloor floor;
    floor.Load(dir + L"\\Data\\系统.qix", L"数据", false);
    Outside::Program p;
    p.Start(dir, L"", [](const Outside::Program& q) { return Outside::Rows(q) == kTips; });
    Outside::Front(p.Main());
    Outside::ClickRow(p, 1);
    Outside::Key('F', true);
    if (!Outside::WaitFor([&] { return p.Window(L"Quorix.Form5") != nullptr; }, 30)) {
        std::printf("no find window after Ctrl+F\n");
        return 1;
    }
    p.Idle();
    std::printf("%-24s %10s %10s %8s\n", "find in 5,000 rows", "ms", "floor ms", "x floor");
    for (const wchar_t* text : {L"4999", L"技巧"}) {
        std::vector<double> runs, floors;
        for (int round = 0; round < 5; ++round) {
            runs.push_back(FindOnce(p, text));
            floors.push_back(floor.TimeSearch(text));
        }
        const double a = Outside::Median(runs), f = Outside::Median(floors);
        std::printf("%-24s %10.1f %10.1f %8.2f\n", text[0] == L'4' ? "one match" : "every row matching", a * 1000,
                    f * 1000, a / f);
    }
    p.Close();
    BenchFiles::RemoveTree(dir);
    return 0;
}
