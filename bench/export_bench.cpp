// Exporting tips as a user does it, on the program as it runs: Quorix.exe in a
// program folder of its own (the settings its first start writes) showing a
// category of n tips. A row is clicked, Ctrl+A selects every row, the export
// button opens the export page, 注册表文件(Win2000/XP) is clicked and 确定, the
// file's path is typed into the real save dialog, and the clock runs from the
// click on its 保存 button until the file is there and the program is idle.
// The floor, in the same run: CreateFile + one WriteFile + CloseHandle of the
// same bytes.
//   wine build/bench/export_bench.exe [program folder] [tip counts...]   (default: 1000 5000)
#include "Outside.h"

#include <cstdio>

namespace {
struct Result {
    double exported = -1, floor = -1;
    size_t bytes = 0;
};

Result Run(const std::wstring& program, int n) {
    Result r;
    const std::wstring dir = Outside::MakeProgramFolder(
        L"quorix_export_bench", program, false,
        {{L"系统.qix", BenchFiles::Section(L"数据", BenchFiles::Tips(n, "Software\\QuorixBench\\Export"))}});
    const std::wstring target = dir + L"\\导出.reg";
    Outside::Program p;
    p.Start(dir, L"", [n](const Outside::Program& q) { return Outside::Rows(q) == n; });
    Outside::Front(p.Main());
    Outside::ClickRow(p, 1);
    Outside::Key('A', true);
    p.Idle();
    Outside::ClickButton(p, Outside::Button::daochu);
    HWND page = nullptr;
    if (!Outside::WaitFor([&] { return (page = p.Window(L"Quorix.Form4")) != nullptr; }, 30)) return r;
    p.Idle();
    Outside::Front(page);
    Outside::ClickListItem(p, Outside::Child(page, WC_LISTVIEWW), 3);
    Outside::ClickWindow(Outside::ChildWithText(page, L"确定(&O)"));
    HWND dialog = Outside::WaitDialog(p, L"导出为注册表文件", 60);
    if (!dialog) return r;
    HWND name = GetDlgItem(dialog, 0x47C);
    HWND edit = name ? Outside::Child(name, L"Edit") : GetDlgItem(dialog, 0x480);
    SendMessageW(edit ? edit : name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
    const double t0 = Seconds();
    Outside::PressBoxButton(dialog, IDOK);
    if (!Outside::WaitFor([&] { return GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES; }, 600)) return r;
    p.Idle();
    r.exported = Seconds() - t0;
    const std::string bytes = BenchFiles::ReadBytes(target);
    r.bytes = bytes.size();
    const std::wstring copy = dir + L"\\floor.reg";
    const double f0 = Seconds();
    HANDLE h = CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    r.floor = Seconds() - f0;
    if (HWND box = p.Window(L"#32770")) std::fprintf(stderr, "message box: %ls\n", Outside::BoxText(box).c_str());
    p.Close();
    BenchFiles::RemoveTree(dir);
    return r;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring program = Outside::ProgramDir(argc, argv);
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i) sizes.push_back(_wtoi(argv[i]));
    if (sizes.empty()) sizes = {1000, 5000};
    std::printf("%6s %12s %10s %10s %8s\n", "tips", "export ms", "bytes", "floor ms", "x floor");
    for (int n : sizes) {
        const Result r = Run(program, n);
        std::printf("%6d %12.0f %10zu %10.2f %8.0f\n", n, r.exported * 1000, r.bytes, r.floor * 1000,
                    r.exported / r.floor);
    }
    return 0;
}
