// Renaming a sub-category as a user does it, on the program as it runs:
// Quorix.exe in a program folder of its own (the settings its first start
// writes) with a category whose sub-category holds 3,000 tips. The
// sub-category's node is clicked (its tips load), its label edit is started
// (TVM_EDITLABEL, as a second click on the selected node does), the new name
// is put into the edit box, and the clock runs from Enter until the tree shows
// the node under its new name and the program is idle. Five renames, back and
// forth. The floor, in the same run: the section and its mirror read whole
// (GetPrivateProfileSectionA), written under the new name
// (WritePrivateProfileSectionA) and the old ones removed, on a copy of the file.
//   wine build/bench/rename_category_bench.exe [program folder]   (default: build/program)
#include "BenchFloor.h"
#include "Outside.h"

#include <cstdio>

namespace {
constexpr int kTips = 3000;

double Floor(const std::wstring& file, const std::wstring& folder, const std::wstring& from, const std::wstring& to) {
    const std::wstring copy = folder + L"\\floor.qix";
    BenchFiles::WriteBytes(copy, BenchFiles::ReadBytes(file));
    const std::string f = Text::ToAnsi(copy);
    const double t0 = Seconds();
    for (bool mirror : {false, true}) {
        std::string a = Text::ToAnsi(from), b = Text::ToAnsi(to);
        if (mirror) a = BenchFloor::MirrorOf(a), b = BenchFloor::MirrorOf(b);
        std::string lines = BenchFloor::ReadSection(a, f);
        lines.push_back('\0');
        WritePrivateProfileSectionA(b.c_str(), lines.c_str(), f.c_str());
        WritePrivateProfileStringA(a.c_str(), nullptr, nullptr, f.c_str());
    }
    const double t = Seconds() - t0;
    DeleteFileW(copy.c_str());
    return t;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring program = Outside::ProgramDir(argc, argv);
    const std::string file = BenchFiles::Section(L"数据", BenchFiles::Tips(1, "Software\\QuorixBench\\Rename")) +
                             BenchFiles::Section(L"子类甲", BenchFiles::Tips(kTips, "Software\\QuorixBench\\Rename"));
    const std::wstring dir = Outside::MakeProgramFolder(L"quorix_rename_bench", program, false, {{L"系统.qix", file}});
    Outside::Program p;
    p.Start(dir, L"", [](const Outside::Program& q) { return Outside::Rows(q) == 1; });
    std::vector<double> runs, floors;
    const wchar_t* names[] = {L"子类甲", L"子类乙"};
    for (int round = 0; round < 5; ++round) {
        const std::wstring from = names[round % 2], to = names[1 - round % 2];
        HTREEITEM node = Outside::FindNode(p, {L"系统", from});
        Outside::ClickNode(p, node);
        if (!Outside::WaitStatus(p, 1, L"共有 " + std::to_wstring(kTips) + L" 个技巧", 60)) return 1;
        HWND edit = reinterpret_cast<HWND>(SendMessageW(p.Tree(), TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node)));
        if (!edit) {
            std::printf("no edit box on the node\n");
            return 1;
        }
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(to.c_str()));
        const double t0 = Seconds();
        Outside::Key(VK_RETURN);
        if (!Outside::WaitFor([&] { return Outside::FindNode(p, {L"系统", to}) != nullptr; }, 120)) {
            std::printf("the node was not renamed\n");
            return 1;
        }
        p.Idle();
        runs.push_back(Seconds() - t0);
        if (HWND box = p.Window(L"#32770")) std::fprintf(stderr, "message box: %ls\n", Outside::BoxText(box).c_str());
        floors.push_back(Floor(dir + L"\\Data\\系统.qix", dir, from, to));
    }
    const double r = Outside::Median(runs), f = Outside::Median(floors);
    std::printf("rename a sub-category of %d tips, from Enter until the tree shows the new name: median %.0f ms; "
                "floor %.0f ms; %.2f x the floor\n", kTips, r * 1000, f * 1000, r / f);
    p.Close();
    BenchFiles::RemoveTree(dir);
    return 0;
}
