// Applying 1,000 ticked tips as a user does it, on the program as it runs:
// Quorix.exe in a program folder of its own (the settings its first start
// writes: the question before a run, backups, the log and the row balloon on)
// showing one category of 1,000 tips. A row is clicked (its balloon comes up),
// the 全部勾选 button ticks every row, the start button is clicked, and the
// clock runs from the click on 是 in the real question box until the status
// bar reads "技巧使用完成" and the program is idle. Runs: a fresh day and the
// same day again (every backup record already there), three rounds of both,
// and a fresh day with no row clicked in a fresh start. The floors, in the
// same run: a bare RegCreateKeyExA + RegSetValueExA loop over the same values
// and "regedit /s" of a file of them.
//   wine build/bench/apply_bench.exe [program folder]   (default: build/program)
#include "Outside.h"

#include <cstdio>

namespace {
constexpr int kTips = 1000;
const char kBase[] = "Software\\QuorixBench";

double Regedit(const std::vector<BenchFiles::Tip>& tips, const std::wstring& file) {
    std::string text = "REGEDIT4\r\n", last;
    for (const auto& x : tips) {
        std::string key = "[HKEY_CURRENT_USER\\" + x.subkey + "]";
        if (key != last) text += "\r\n" + key + "\r\n";
        last = key;
        text += "\"" + x.value + "\"=" + (x.dword ? "dword:" + x.data : "\"" + x.data + "\"") + "\r\n";
    }
    BenchFiles::WriteBytes(file, text);
    std::wstring cmd = L"regedit.exe /s \"" + file + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double t0 = Seconds();
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    const double s = Seconds() - t0;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return s;
}

int CountValues(const std::string& root) {
    int n = 0;
    for (int k = 0; k < 10; ++k) {
        HKEY h;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, (root + "\\K" + std::to_string(k)).c_str(), 0, KEY_READ, &h)) continue;
        DWORD c = 0;
        RegQueryInfoKeyA(h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &c, nullptr, nullptr, nullptr, nullptr);
        n += static_cast<int>(c);
        RegCloseKey(h);
    }
    return n;
}

// Sets the third panel back to the load's text, so that the run's own text is seen.
void ResetPanel(const Outside::Program& p) {
    const std::wstring text = L"准备使用技巧";
    Outside::Remote mem(p.Process(), (text.size() + 1) * sizeof(wchar_t));
    mem.Write(text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    SendMessageW(p.StatusBar(), SB_SETTEXTW, 2, mem.Address());
}

// One run: clicks `row` when not 0, ticks every row by its button, clicks the start
// button and answers 是; the seconds from the answer to "技巧使用完成".
double Run(const Outside::Program& p, int row) {
    ResetPanel(p);
    Outside::Front(p.Main());
    if (row) Outside::ClickRow(p, row);
    Outside::ClickButton(p, Outside::Button::xuan);
    p.Idle();
    Outside::ClickButton(p, Outside::Button::start);
    HWND box = Outside::WaitBox(p);
    if (!box || Outside::BoxText(box) != L"是否现在开始使用技巧？") {
        std::fprintf(stderr, "no question before the run\n");
        return -1;
    }
    const double t0 = Seconds();
    Outside::PressBoxButton(box, IDYES);
    if (!Outside::WaitStatus(p, 3, L"技巧使用完成")) return -1;
    const double t = Seconds() - t0;
    if (HWND late = p.Window(L"#32770")) {
        std::fprintf(stderr, "a message box after the run: %ls\n", Outside::BoxText(late).c_str());
        Outside::PressBoxButton(late, IDOK);
    }
    return t;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring program = Outside::ProgramDir(argc, argv);
    const std::string applyRoot = std::string(kBase) + "\\Apply";
    const auto tips = BenchFiles::Tips(kTips, applyRoot);
    const std::wstring dir = Outside::MakeProgramFolder(L"quorix_apply_bench", program, false,
                                                        {{L"系统.qix", BenchFiles::Section(L"数据", tips)}});
    wchar_t date[16];
    SYSTEMTIME st;
    GetLocalTime(&st);
    swprintf(date, 16, L"%02d-%02d-%04d", st.wMonth, st.wDay, st.wYear);
    const std::wstring bak = dir + L"\\Bak\\" + date + L".bak";
    auto freshDay = [&] {
        DeleteFileW(bak.c_str());
        DeleteFileW((dir + L"\\logfile.txt").c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, kBase);
    };

    std::vector<double> fresh, again, loop, regedit;
    double noClick = -1;
    int written = 0;
    size_t records = 0;
    {
        Outside::Program p;
        p.Start(dir, L"", [](const Outside::Program& q) { return Outside::Rows(q) == kTips; });
        for (int round = 0; round < 3; ++round) {
            freshDay();
            fresh.push_back(Run(p, 1));
            if (round == 0) {
                written = CountValues(applyRoot);
                const std::string b = BenchFiles::ReadBytes(bak);
                for (char c : b) records += c == '\n';
            }
            again.push_back(Run(p, 2));
            loop.push_back(BenchFiles::BareWrites(BenchFiles::Tips(kTips, std::string(kBase) + "\\Bare")));
            regedit.push_back(Regedit(BenchFiles::Tips(kTips, std::string(kBase) + "\\Regedit"), dir + L"\\bench.reg"));
        }
    }
    {
        Outside::Program p;
        p.Start(dir, L"", [](const Outside::Program& q) { return Outside::Rows(q) == kTips; });
        freshDay();
        noClick = Run(p, 0);
    }
    const double l = Outside::Median(loop), r = Outside::Median(regedit), f = Outside::Median(fresh),
                 a = Outside::Median(again);
    std::printf("values written by the first run %d of %d; lines in the day's backup file %zu\n", written, kTips, records);
    std::printf("bare RegCreateKeyExA+RegSetValueExA: %7.3f s (median of 3)\n", l);
    std::printf("regedit /s import:                   %7.3f s (median of 3)\n", r);
    std::printf("%-50s %8s %8s %10s\n", "apply 1,000 tips, from 是 to 技巧使用完成", "s", "/bare", "/regedit");
    std::printf("%-50s %8.3f %8.2f %10.2f\n", "fresh day, a row clicked (median of 3)", f, f / l, f / r);
    std::printf("%-50s %8.3f %8.2f %10.2f\n", "same day again, a row clicked (median of 3)", a, a / l, a / r);
    std::printf("%-50s %8.3f %8.2f %10.2f\n", "fresh day, fresh start, no row clicked", noClick, noClick / l,
                noClick / r);
    std::printf("goals: /bare <= 3, /regedit <= 2\n");
    RegDeleteTreeA(HKEY_CURRENT_USER, kBase);
    BenchFiles::RemoveTree(dir);
    return 0;
}
