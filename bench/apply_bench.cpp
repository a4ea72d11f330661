// Times applying 1,000 ticked tips (backups and the log on) against a bare loop
// of RegCreateKeyExA + RegSetValueExA over the same values, and against
// "regedit /s" importing a registry file of them. Run under Wine:
//   wine build/bench/apply_bench.exe
#include "common/Ini.h"
#include "common/TipFile.h"
#include "common/TipRow.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
constexpr int kTips = 1000;
constexpr int kKeys = 10;
const char kBase[] = "Software\\QuorixBench";

struct Value {
    std::string sub, name, text;  // text: string data, or hex digits for a DWORD
    bool dword;
};

double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}
LARGE_INTEGER Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

std::vector<Value> Values() {
    std::vector<Value> v;
    for (int i = 0; i < kTips; ++i) {
        Value x;
        x.sub = std::string("K").append(std::to_string(i % kKeys));
        x.name = std::string("V").append(std::to_string(i));
        x.dword = i % 3 == 0;
        char buf[16];
        snprintf(buf, sizeof buf, "%08x", i * 2654435761u);
        x.text = x.dword ? std::string(buf) : std::string("value ").append(std::to_string(i)).append(" 数据");
        v.push_back(x);
    }
    return v;
}

double BareLoop(const std::vector<Value>& values, const std::string& root) {
    LARGE_INTEGER t0 = Now();
    for (const Value& x : values) {
        HKEY k;
        std::string path = root + "\\" + x.sub;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr))
            continue;
        if (x.dword) {
            DWORD d = strtoul(x.text.c_str(), nullptr, 16);
            RegSetValueExA(k, x.name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&d), 4);
        } else {
            std::string a = Text::ToAnsi(Text::FromAnsi(x.text));
            RegSetValueExA(k, x.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(a.c_str()),
                           static_cast<DWORD>(a.size() + 1));
        }
        RegCloseKey(k);
    }
    return Seconds(t0, Now());
}

double Regedit(const std::vector<Value>& values, const std::string& root, const std::wstring& file) {
    std::string text = "REGEDIT4\r\n";
    std::string last;
    for (const Value& x : values) {
        std::string key = "[HKEY_CURRENT_USER\\" + root + "\\" + x.sub + "]";
        if (key != last) text += "\r\n" + key + "\r\n";
        last = key;
        // Values are grouped per key in a .reg file; repeated headers are fine.
        text += "\"" + x.name + "\"=" + (x.dword ? "dword:" + x.text : "\"" + x.text + "\"") + "\r\n";
    }
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);

    std::wstring cmd = L"regedit.exe /s \"" + file + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER t0 = Now();
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    double s = Seconds(t0, Now());
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return s;
}

int CountValues(const std::string& root) {
    int n = 0;
    for (int k = 0; k < kKeys; ++k) {
        HKEY h;
        std::string path = root + std::string("\\K").append(std::to_string(k));
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &h)) continue;
        DWORD c = 0;
        RegQueryInfoKeyA(h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &c, nullptr, nullptr, nullptr, nullptr);
        n += static_cast<int>(c);
        RegCloseKey(h);
    }
    return n;
}
}  // namespace

int wmain() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring dir = std::wstring(tmp) + L"quorix_apply_bench";
    CreateDirectoryW(dir.c_str(), nullptr);
    CreateDirectoryW((dir + L"\\Bak").c_str(), nullptr);
    App::SetPathForTests(dir);
    DeleteFileW((dir + L"\\logfile.txt").c_str());
    DeleteFileW((dir + L"\\Bak\\" + App::DateText() + L".bak").c_str());
    App::SetMsgBoxResponder([](const App::MsgBoxCall& c) {
        fprintf(stderr, "message box: %s\n", Text::ToAnsi(c.text).c_str());
        return IDOK;
    });
    const std::wstring config = dir + L"\\config.ini";
    // A folder the program has run in before: a data folder, the notice seen.
    CreateDirectoryW((dir + L"\\Data").c_str(), nullptr);
    Ini::Write(config, L"Data", L"OldUpdate", L"1");
    Ini::Write(config, L"Data", L"Start", L"0");
    const bool bare = GetEnvironmentVariableW(L"QUORIX_BENCH_NOFILES", nullptr, 0) > 0;  // for profiling
    Ini::Write(config, L"Data", L"SaveHistory", bare ? L"0" : L"1");
    Ini::Write(config, L"Data", L"SaveLog", bare ? L"0" : L"1");
    RegDeleteTreeA(HKEY_CURRENT_USER, kBase);

    frmShadow& shadow = Forms::frmShadow();
    int node = shadow.TreeView1.Add(0, L"系统设置");
    shadow.TreeView1.Select(node);
    Form2& form = Forms::Form2();
    const std::vector<Value> values = Values();
    const std::string applyRoot = std::string(kBase) + "\\Apply";
    for (const Value& x : values) {
        // Rows as the loader makes them from a category file's records.
        const std::wstring data = Text::FromAnsi(x.text);
        TipFile::TipRecord r{Text::FromAnsi("HKEY_CURRENT_USER\\" + applyRoot + "\\" + x.sub), Text::FromAnsi(x.name),
                             L"启用", data, x.dword ? L"2" : L"0", L"", L"1"};
        TipFile::OptionList o{{L"启用"}, {data}};
        int row = TipRow::AddRow(form.ListView1,
                                 TipRow::Decode(Text::FromAnsi("技巧 " + x.name), TipFile::EncodeRecord(r),
                                                TipFile::EncodeOptions(o)),
                                 true);
        form.ListView1.SetChecked(row, true);
    }

    LARGE_INTEGER t0 = Now();
    form.StartWork();
    const double apply = Seconds(t0, Now());
    const double loop = BareLoop(values, std::string(kBase) + "\\Bare");
    const double regedit = Regedit(values, std::string(kBase) + "\\Regedit", dir + L"\\bench.reg");

    int blue = 0;
    for (int i = 1; i <= form.ListView1.Count(); ++i) blue += form.ListView1.ForeColor(i) == RGB(0, 0, 255);
    const size_t records = Ini::Keys(dir + L"\\Bak\\" + App::DateText() + L".bak", L"系统设置").size();
    printf("tips applied: %d blue of %d, %zu backup records; values: apply %d, bare %d, regedit %d\n", blue, kTips,
           records, CountValues(applyRoot), CountValues(std::string(kBase) + "\\Bare"),
           CountValues(std::string(kBase) + "\\Regedit"));
    printf("apply (backups and log on): %8.3f s\n", apply);
    printf("bare RegCreateKeyExA+RegSetValueExA: %8.3f s   apply/bare    = %.2f (goal <= 3)\n", loop, apply / loop);
    printf("regedit /s import: %8.3f s   apply/regedit = %.2f (goal < 1)\n", regedit, apply / regedit);
    RegDeleteTreeA(HKEY_CURRENT_USER, kBase);
    return 0;
}
