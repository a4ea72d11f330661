// Restoring a day's backup file as a user does it, on the program as it runs:
// Quorix.exe in a program folder of its own, a day file of n records (named to be listed first) (strings
// and DWORDs under HKEY_CURRENT_USER, as an apply run records them), the
// toolbar's 查看恢复文件 button, 开始恢复 on the restore page, and the clock from
// the click on 是 in the real question box until "还原完成。" shows. Sizes: 1,000,
// 50,000 and 300,000 records, about 100 values a key. The floor, in the same run: a bare
// RegCreateKeyExA + RegSetValueExA loop over the same values. For 1,000 and
// 50,000 the apply of as many tips is timed too (as apply_bench times it),
// so that the restore can be held against it.
//   wine build/bench/restore_bench.exe [program folder] [largest size]   (default: build/program, 300000)
#include "Outside.h"
#include "common/Marks.h"
#include "platform/Text.h"

#include <cstdio>
#include <cstdlib>

namespace {
const char kBase[] = "Software\\QuorixBench";

// The day file: one section (the category path), one record per tip:
// key path, value name, the data before, the type number.
std::string DayFile(const std::vector<BenchFiles::Tip>& tips) {
    const std::string fm = Text::ToAnsi(Marks::FieldMark);
    std::string s = Text::ToAnsi(L"[系统]\r\n");
    s.reserve(tips.size() * 90);
    for (const auto& t : tips) {
        s += Text::ToAnsi(t.name);
        s += "=HKEY_CURRENT_USER\\" + t.subkey + fm + t.value + fm;
        if (t.dword) s += std::to_string(static_cast<long>(strtoul(t.data.c_str(), nullptr, 16))) + fm + "4";
        else s += t.data + fm + "1";
        s += "\r\n";
    }
    return s;
}

// Values of the tips that hold what the day file recorded.
int Restored(const std::vector<BenchFiles::Tip>& tips) {
    int n = 0;
    for (const auto& x : tips) {
        char buf[256];
        DWORD size = sizeof buf, type = 0;
        if (RegGetValueA(HKEY_CURRENT_USER, x.subkey.c_str(), x.value.c_str(), RRF_RT_ANY, &type, buf, &size)) continue;
        if (x.dword) n += type == REG_DWORD && *reinterpret_cast<DWORD*>(buf) == strtoul(x.data.c_str(), nullptr, 16);
        else n += type == REG_SZ && x.data == buf;
    }
    return n;
}

// Opens the restore page, starts the restore of its first day and answers 是;
// the seconds from the answer to "还原完成。", or -1.
double Restore(const Outside::Program& p) {
    Outside::ClickButton(p, Outside::Button::viewhf);
    HWND page = nullptr;
    if (!Outside::WaitFor([&] { return (page = p.Window(L"Quorix.Form4")) != nullptr; }, 60)) return -1;
    p.Idle();
    Outside::Front(page);
    Outside::ClickWindow(Outside::ChildWithText(page, L"开始恢复(&S)"));
    HWND question = Outside::WaitDialog(p, L"您确定要使用选定的恢复文件进行还原吗？", 60);
    if (!question) return -1;
    const double t0 = Seconds();
    Outside::PressBoxButton(question, IDYES);
    HWND done = Outside::WaitDialog(p, L"还原完成。", 3600);
    if (!done) return -1;
    const double t = Seconds() - t0;
    Outside::PressBoxButton(done, IDOK);
    p.Idle();
    PostMessageW(page, WM_CLOSE, 0, 0);
    Outside::WaitFor([&] { return !IsWindowVisible(page); }, 30);
    return t;
}

// Applies every tip of the category shown (as apply_bench does); seconds from 是 to "技巧使用完成".
double Apply(const Outside::Program& p) {
    Outside::Front(p.Main());
    Outside::ClickButton(p, Outside::Button::xuan);
    p.Idle();
    Outside::ClickButton(p, Outside::Button::start);
    HWND box = Outside::WaitBox(p);
    if (!box || Outside::BoxText(box) != L"是否现在开始使用技巧？") return -1;
    const double t0 = Seconds();
    Outside::PressBoxButton(box, IDYES);
    if (!Outside::WaitStatus(p, 3, L"技巧使用完成", 3600)) return -1;
    const double t = Seconds() - t0;
    if (HWND late = p.Window(L"#32770")) Outside::PressBoxButton(late, IDOK);
    return t;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring program = Outside::ProgramDir(argc, argv);
    const int largest = argc > 2 ? _wtoi(argv[2]) : 300000;
    std::printf("%-10s %10s %10s %8s %10s %8s %s\n", "records", "restore s", "floor s", "/floor", "apply s", "/apply",
                "restored");
    for (int n : {1000, 50000, 300000}) {
        if (n > largest) break;
        const std::string root = std::string(kBase) + "\\Restore";
        // About 100 values a key, as tips spread over many keys (the registry's
        // own time per value grows with the values of its key).
        const int keys = std::max(10, n / 100);
        const auto tips = BenchFiles::Tips(n, root, L"技巧 ", keys);
        RegDeleteTreeA(HKEY_CURRENT_USER, kBase);
        // The apply of as many tips, for the sizes whose list a session loads in time.
        const bool withApply = n <= 50000;
        // A category to show (of as many tips when they are applied, else of one).
        const std::vector<std::pair<std::wstring, std::string>> categories{
            {L"系统.qix", BenchFiles::Section(L"数据", BenchFiles::Tips(withApply ? n : 1, root + "A", L"技巧 ", keys))}};
        const std::wstring dir = Outside::MakeProgramFolder(L"quorix_restore_bench", program, false, categories);
        const std::wstring bak = dir + L"\\Bak\\12-31-2099.bak";
        BenchFiles::WriteBytes(bak, DayFile(tips));
        double apply = -1;
        {
            Outside::Program p;
            p.Start(dir, L"", [&](const Outside::Program& q) { return !withApply || Outside::Rows(q) == n; });
            if (withApply) apply = Apply(p);
            // The restore finds every value holding something else.
            RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str());
            const double restore = Restore(p);
            const int restored = Restored(tips);
            RegDeleteTreeA(HKEY_CURRENT_USER, root.c_str());
            const double floor = BenchFiles::BareWrites(tips);
            std::printf("%-10d %10.2f %10.2f %8.2f %10.2f %8s %d\n", n, restore, floor, restore / floor, apply,
                        apply > 0 ? std::to_string(restore / apply).substr(0, 4).c_str() : "-", restored);
            std::fflush(stdout);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, kBase);
        BenchFiles::RemoveTree(dir);
    }
    std::printf("goal: restore within 2 x of applying as many; time linear in the records\n");
    return 0;
}
