// Loading tips into the tip list as a user does it, on the program as it runs:
// Quorix.exe in a program folder of its own (the settings its first start
// writes) with three categories of 10, 1,000 and 5,000 tips. The clock runs
// from a click on a category's node in the category window until the status
// bar reads "共有 <n> 个技巧" and the program is idle (rows shown, columns
// fitted as the settings fit them, the properties window showing the first
// tip). Each size is loaded with no row clicked before and after a row of the
// list was clicked (its balloon up), three times each, from the 10-tip
// category. The floor, in the same run: the section and its mirror read whole
// plus a bare list filled with the same rows, its columns fitted.
//   wine build/bench/load_bench.exe [program folder]   (default: build/program)
#include "BenchFloor.h"
#include "Outside.h"

#include <cstdio>

namespace {
struct Category {
    const wchar_t* file;
    const wchar_t* node;
    int tips;
};
const Category kSmall{L"A小.qix", L"A小", 10};
const Category kSizes[] = {{L"B中.qix", L"B中", 1000}, {L"C大.qix", L"C大", 5000}};

std::wstring CountText(int n) { return L"共有 " + std::to_wstring(n) + L" 个技巧"; }

// Clicks the node and waits for its count; the seconds.
double Load(const Outside::Program& p, const Category& c) {
    HTREEITEM node = Outside::FindNode(p, {c.node});
    const double t0 = Seconds();
    if (!Outside::ClickNode(p, node)) return -1;
    if (!Outside::WaitStatus(p, 1, CountText(c.tips))) {
        std::fprintf(stderr, "no \"%ls\" after a click on %ls\n", CountText(c.tips).c_str(), c.node);
        return -1;
    }
    return Seconds() - t0;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring program = Outside::ProgramDir(argc, argv);
    std::vector<std::pair<std::wstring, std::string>> files{
        {kSmall.file, BenchFiles::Section(L"数据", BenchFiles::Tips(kSmall.tips, "Software\\QuorixBench\\Small"))}};
    for (const Category& c : kSizes)
        files.push_back({c.file, BenchFiles::Section(L"数据", BenchFiles::Tips(c.tips, "Software\\QuorixBench\\Load"))});
    const std::wstring dir = Outside::MakeProgramFolder(L"quorix_load_bench", program, false, files);
    wchar_t fit[8] = {};
    GetPrivateProfileStringW(L"Data", L"AutoWidth", L"", fit, 8, (dir + L"\\config.ini").c_str());
    const bool fits = wcscmp(fit, L"1") == 0;

    Outside::Program p;
    p.Start(dir, L"", [](const Outside::Program& q) { return Outside::Rows(q) == kSmall.tips; });
    BenchFloor floor;
    std::printf("columns fitted after a load (AutoWidth=%ls): %s\n", fit, fits ? "yes" : "no");
    std::printf("%6s %26s %26s %12s %8s %8s\n", "tips", "no row clicked ms (median)", "row clicked ms (median)",
                "floor ms", "x floor", "x floor");
    for (const Category& c : kSizes) {
        std::vector<double> plain, clicked, bare;
        Load(p, c);  // warm
        for (int round = 0; round < 3; ++round) {
            Load(p, kSmall);
            plain.push_back(Load(p, c));
            Load(p, kSmall);
            Outside::ClickRow(p, 2);
            clicked.push_back(Load(p, c));
            int rows = 0;
            bare.push_back(floor.Time(dir + L"\\Data\\" + c.file, L"数据", fits, &rows));
            if (rows != c.tips || Outside::Rows(p) != c.tips)
                std::fprintf(stderr, "rows: %d in the program, %d in the floor\n", Outside::Rows(p), rows);
        }
        const double a = Outside::Median(plain), b = Outside::Median(clicked), f = Outside::Median(bare);
        std::printf("%6d %26.0f %26.0f %12.0f %8.2f %8.2f\n", c.tips, a * 1000, b * 1000, f * 1000, a / f, b / f);
    }
    std::printf("goal: within 3 x the floor, also after a row was clicked\n");
    p.Close();
    BenchFiles::RemoveTree(dir);
    return 0;
}
