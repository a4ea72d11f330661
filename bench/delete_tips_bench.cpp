// Deleting tips as a user does it, on the program as it runs: Quorix.exe in a
// program folder of its own (the settings its first start writes) showing a
// category of 3,000 tips. Row 1 is clicked and Shift+Down pressed to row 1,000, Del is
// pressed, and the clock runs from the click on 是 in the real question box
// until the status bar reads "共有 2000 个技巧" and the program is idle. The
// floor, in the same run: the section and its mirror read whole and written
// back once each without the 1,000 tips, and 1,000 rows removed from a bare
// list of 3,000 (redraw off).
//   wine build/bench/delete_tips_bench.exe [program folder]   (default: build/program)
#include "BenchFloor.h"
#include "Outside.h"

#include <cstdio>

namespace {
constexpr int kTips = 3000, kDeleted = 1000;

double Floor(BenchFloor& list, const std::wstring& file, const std::wstring& folder) {
    const std::wstring copy = folder + L"\\floor.qix";
    BenchFiles::WriteBytes(copy, BenchFiles::ReadBytes(file));
    list.Load(copy, L"数据", false);
    const std::string f = Text::ToAnsi(copy), data = "\xCA\xFD\xBE\xDD", mirror = BenchFloor::MirrorOf(data);
    const double t0 = Seconds();
    for (const std::string& section : {data, mirror}) {
        const std::string all = BenchFloor::ReadSection(section, f);
        std::string kept;
        int line = 0;
        for (size_t p = 0; p < all.size() && all[p]; ++line) {
            size_t e = all.find('\0', p);
            if (line >= kDeleted) kept.append(all, p, e - p + 1);
            p = e + 1;
        }
        kept.push_back('\0');
        WritePrivateProfileSectionA(section.c_str(), kept.c_str(), f.c_str());
    }
    list.RemoveFirst(kDeleted);
    const double t = Seconds() - t0;
    DeleteFileW(copy.c_str());
    return t;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring program = Outside::ProgramDir(argc, argv);
    const std::wstring dir = Outside::MakeProgramFolder(
        L"quorix_delete_bench", program, false,
        {{L"系统.qix", BenchFiles::Section(L"数据", BenchFiles::Tips(kTips, "Software\\QuorixBench\\Delete"))}});
    BenchFloor list;
    std::vector<double> runs, floors;
    for (int round = 0; round < 3; ++round) {
        BenchFiles::WriteBytes(dir + L"\\Data\\系统.qix",
                               BenchFiles::Section(L"数据", BenchFiles::Tips(kTips, "Software\\QuorixBench\\Delete")));
        floors.push_back(Floor(list, dir + L"\\Data\\系统.qix", dir));
        Outside::Program p;
        p.Start(dir, L"", [](const Outside::Program& q) { return Outside::Rows(q) == kTips; });
        Outside::Front(p.Main());
        Outside::ClickRow(p, 1);
        HWND listWindow = p.List();
        // Shift+Down from the first row to the 1,000th.
        Outside::Keys(VK_DOWN, kDeleted - 1, VK_SHIFT);
        Outside::WaitFor([&] { return SendMessageW(listWindow, LVM_GETSELECTEDCOUNT, 0, 0) == kDeleted; }, 60);
        p.Idle();
        const int selected = static_cast<int>(SendMessageW(listWindow, LVM_GETSELECTEDCOUNT, 0, 0));
        if (selected != kDeleted) std::fprintf(stderr, "%d rows selected\n", selected);
        Outside::Key(VK_DELETE);
        HWND box = Outside::WaitDialog(p, L"你确定要删除选定的技巧吗？", 60);
        if (!box) return 1;
        const double t0 = Seconds();
        Outside::PressBoxButton(box, IDYES);
        if (Outside::WaitStatus(p, 1, L"共有 " + std::to_wstring(kTips - kDeleted) + L" 个技巧"))
            runs.push_back(Seconds() - t0);
        p.Close();
    }
    const double d = Outside::Median(runs), f = Outside::Median(floors);
    std::printf("delete %d of %d tips, from 是 to \"共有 %d 个技巧\": median %.0f ms; floor %.0f ms; %.2f x the floor\n",
                kDeleted, kTips, kTips - kDeleted, d * 1000, f * 1000, d / f);
    BenchFiles::RemoveTree(dir);
    return 0;
}
