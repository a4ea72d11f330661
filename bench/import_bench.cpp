// Importing a tip data file into a category as a user does it, on the program
// as it runs: Quorix.exe in a program folder of its own (the settings its first
// start writes) with a category of one tip, and a tip data file of n other
// tips. The category's node is clicked, then the import button; the file's path
// is typed into the real open dialog and 打开 clicked; the clock runs from the
// click on 是 in the real question box until the box "数据导入成功。" shows.
// Then the same import again, every tip clashing, answered 全部 in the replace
// window. The floor, in the same run (bench/TransferFloor.h): both sections
// read, the destination written once, the list filled and its columns fitted
// as the settings fit them.
//   wine build/bench/import_bench.exe [program folder] [tip counts...]   (default: 100 1000 5000)
#include "Outside.h"
#include "TransferFloor.h"

#include <cstdio>

namespace {
struct Result {
    double import = -1, clash = -1, floor = -1;
};

double Import(const Outside::Program& p, const std::wstring& file, bool clashes) {
    Outside::ClickButton(p, Outside::Button::open);
    HWND dialog = Outside::WaitDialog(p, L"请选择要导入的文件", 60);
    if (!dialog) return -1;
    HWND name = GetDlgItem(dialog, 0x47C);  // the file name box
    HWND edit = name ? Outside::Child(name, L"Edit") : GetDlgItem(dialog, 0x480);
    SendMessageW(edit ? edit : name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    Outside::PressBoxButton(dialog, IDOK);
    HWND question = Outside::WaitDialog(p, L"你确定要将文件中的数据导入“B目标”技巧类别中吗？", 60);
    if (!question) return -1;
    const double t0 = Seconds();
    Outside::PressBoxButton(question, IDYES);
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
    HWND done = Outside::WaitDialog(p, L"数据导入成功。");
    const double t = Seconds() - t0;
    if (!done) return -1;
    Outside::PressBoxButton(done, IDOK);
    p.Idle();
    return t;
}

Result Run(const std::wstring& program, int n, BenchFloor& floor) {
    const std::wstring dir = Outside::MakeProgramFolder(
        L"quorix_import_bench", program, false,
        {{L"B目标.qix", BenchFiles::Section(L"数据", BenchFiles::Tips(1, "Software\\QuorixBench\\Import", L"已有 "))}});
    const std::wstring file = dir + L"\\导入.upd";
    BenchFiles::WriteBytes(file, BenchFiles::Section(L"数据", BenchFiles::Tips(n, "Software\\QuorixBench\\Import")));
    wchar_t fit[8] = {};
    GetPrivateProfileStringW(L"Data", L"AutoWidth", L"", fit, 8, (dir + L"\\config.ini").c_str());
    Result r;
    r.floor = TransferFloor(floor, file, dir + L"\\Data\\B目标.qix", dir, wcscmp(fit, L"1") == 0);
    Outside::Program p;
    p.Start(dir, L"", [](const Outside::Program& q) { return Outside::Rows(q) == 1; });
    r.import = Import(p, file, false);
    if (Outside::Rows(p) != n + 1) std::fprintf(stderr, "%d rows after the import of %d tips\n", Outside::Rows(p), n);
    r.clash = Import(p, file, true);
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
    std::printf("%6s %10s %8s %16s %8s %10s %13s\n", "tips", "import ms", "x floor", "clashes, 全部 ms", "x floor",
                "floor ms", "import us/tip");
    for (int n : sizes) {
        const Result r = Run(program, n, floor);
        std::printf("%6d %10.0f %8.2f %16.0f %8.2f %10.1f %13.0f\n", n, r.import * 1000, r.import / r.floor,
                    r.clash * 1000, r.clash / r.floor, r.floor * 1000, r.import * 1e6 / n);
    }
    std::printf("goal: within 3 x the floor, linear\n");
    return 0;
}
