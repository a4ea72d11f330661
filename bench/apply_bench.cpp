// Times applying 1,000 ticked tips as a user does it: the program's main window
// is shown on a category file of 1,000 tips, every tip is ticked, the start
// button is clicked with the mouse, the question is answered 是 (through the
// message-box responder), and the clock stops when the status bar reads
// "技巧使用完成". Backups and the log are on. It runs on a fresh day, again the
// same day (every backup record already there), and on a fresh day whose
// backup file already holds 20,000 records of other categories. The same run
// times a bare RegCreateKeyExA + RegSetValueExA loop over the same values and
// "regedit /s" importing a registry file of them. Run under Wine:
//   wine build/bench/apply_bench.exe
#include "common/Ini.h"
#include "common/TipFile.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <windows.h>
#include <shellapi.h>

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

LARGE_INTEGER Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}
double Seconds(LARGE_INTEGER a, LARGE_INTEGER b) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

std::vector<Value> Values() {
    std::vector<Value> v;
    for (int i = 0; i < kTips; ++i) {
        Value x;
        x.sub = std::string("K").append(std::to_string(i % kKeys));
        x.name = std::string("V").append(std::to_string(i));
        x.dword = i % 3 == 0;
        char buf[16];
        snprintf(buf, sizeof buf, "%08x", (i * 2654435761u) & 0x7FFFFFFFu);
        x.text = x.dword ? std::string(buf) : std::string("value ").append(std::to_string(i)).append(" 数据");
        v.push_back(x);
    }
    return v;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes, bool append = false) {
    HANDLE h = CreateFileW(path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE, 0, nullptr,
                           append ? OPEN_ALWAYS : CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

void RemoveTree(const std::wstring& folder) {
    std::wstring from = folder;
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
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
        text += "\"" + x.name + "\"=" + (x.dword ? "dword:" + x.text : "\"" + x.text + "\"") + "\r\n";
    }
    WriteFileBytes(file, text);
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

// The category file the program starts on: 1,000 harmless tips in 数据.
std::string CategoryFile(const std::vector<Value>& values, const std::string& applyRoot) {
    std::wstring data = L"[" + TipFile::DataSection + L"]\r\n", mirror = L"[" + TipFile::MirrorOf(TipFile::DataSection) + L"]\r\n";
    for (const Value& x : values) {
        const std::wstring d = Text::FromAnsi(x.text), name = Text::FromAnsi("技巧 " + x.name);
        TipFile::TipRecord r{Text::FromAnsi("HKEY_CURRENT_USER\\" + applyRoot + "\\" + x.sub), Text::FromAnsi(x.name),
                             L"启用", d, x.dword ? L"2" : L"0", L"说明", L"1"};
        data += name + L"=" + TipFile::EncodeRecord(r) + L"\r\n";
        mirror += name + L"=" + TipFile::EncodeOptions({{L"启用"}, {d}}) + L"\r\n";
    }
    return Text::ToAnsi(data + mirror);
}

void Pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

// Ticks every row, clicks the start button with the mouse and waits for the
// status bar's "技巧使用完成"; the seconds from the click.
double RunAsUser(Form2& main) {
    for (int r = 1; r <= main.ListView1.Count(); ++r) main.ListView1.SetChecked(r, true);
    main.StatusBar1.SetPanelText(3, L"准备使用技巧");
    Pump();
    RECT rc = main.Toolbar1.ButtonRect(main.Toolbar1.IndexOf(L"start"));
    POINT pt{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
    ScreenToClient(main.Toolbar1.hwnd(), &pt);
    LARGE_INTEGER t0 = Now();
    PostMessageW(main.Toolbar1.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
    PostMessageW(main.Toolbar1.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    while (main.StatusBar1.PanelText(3) != L"技巧使用完成") {
        MSG m;
        if (!GetMessageW(&m, nullptr, 0, 0)) break;
        TranslateMessage(&m);
        DispatchMessageW(&m);
        if (Seconds(t0, Now()) > 600) break;
    }
    double s = Seconds(t0, Now());
    Pump();
    return s;
}
}  // namespace

int wmain() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring dir = std::wstring(tmp) + L"quorix_apply_bench";
    RemoveTree(dir);
    CreateDirectoryW(dir.c_str(), nullptr);
    CreateDirectoryW((dir + L"\\Bak").c_str(), nullptr);
    CreateDirectoryW((dir + L"\\Data").c_str(), nullptr);
    App::SetPathForTests(dir);
    int questions = 0;
    App::SetMsgBoxResponder([&](const App::MsgBoxCall& c) {
        if (c.text == L"是否现在开始使用技巧？") {
            ++questions;
            return IDYES;
        }
        fprintf(stderr, "message box: %s\n", Text::ToAnsi(c.text).c_str());
        return IDOK;
    });
    const std::wstring config = dir + L"\\config.ini";
    // A folder the program has run in before, backups and the log on, the question on.
    for (const auto& [key, value] : {std::pair{L"OldUpdate", L"1"}, {L"Start", L"1"}, {L"SaveHistory", L"1"},
                                     {L"SaveLog", L"1"}, {L"TreeIndex", L"1"}})
        Ini::Write(config, L"Data", key, value);
    RegDeleteTreeA(HKEY_CURRENT_USER, kBase);
    const std::vector<Value> values = Values();
    const std::string applyRoot = std::string(kBase) + "\\Apply";
    WriteFileBytes(dir + L"\\Data\\系统.qix", CategoryFile(values, applyRoot));

    Form2& main = Forms::Form2();
    main.Show();
    Pump();
    if (main.ListView1.Count() != kTips) fprintf(stderr, "the list shows %d rows\n", main.ListView1.Count());
    const std::wstring bak = dir + L"\\Bak\\" + App::DateText() + L".bak";

    const double fresh = RunAsUser(main);
    const double again = RunAsUser(main);
    // A fresh day whose file already holds 20,000 records of other categories.
    DeleteFileW(bak.c_str());
    DeleteFileW((dir + L"\\logfile.txt").c_str());
    {
        std::string big;
        for (int s = 0; s < 20; ++s) {
            big.append("[\xC6\xE4\xCB\xFB").append(std::to_string(s)).append("]\r\n");  // 其他<s>
            for (int k = 0; k < 1000; ++k)
                big.append("t").append(std::to_string(k)).append("=HKEY_CURRENT_USER\\Software\\Elsewhere\xFFv")
                    .append(std::to_string(k)).append("\xFF" "old data ").append(std::to_string(k)).append("\xFF" "1\r\n");
        }
        WriteFileBytes(bak, big);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, (std::string(kBase) + "\\Apply").c_str());
    const double bigFile = RunAsUser(main);

    const double loop = BareLoop(values, std::string(kBase) + "\\Bare");
    const double regedit = Regedit(values, std::string(kBase) + "\\Regedit", dir + L"\\bench.reg");

    int blue = 0;
    for (int i = 1; i <= main.ListView1.Count(); ++i) blue += main.ListView1.ForeColor(i) == RGB(0, 0, 255);
    const size_t records = Ini::Keys(bak, L"系统").size();
    printf("questions answered: %d; rows blue %d of %d; backup records %zu; values: apply %d, bare %d, regedit %d\n",
           questions, blue, kTips, records, CountValues(applyRoot), CountValues(std::string(kBase) + "\\Bare"),
           CountValues(std::string(kBase) + "\\Regedit"));
    printf("bare RegCreateKeyExA+RegSetValueExA: %7.3f s\n", loop);
    printf("regedit /s import:                   %7.3f s\n", regedit);
    printf("%-44s %8s %10s %12s\n", "apply 1,000 tips in the main window", "s", "/bare", "/regedit");
    printf("%-44s %8.3f %10.2f %12.2f\n", "fresh day", fresh, fresh / loop, fresh / regedit);
    printf("%-44s %8.3f %10.2f %12.2f\n", "same day again (records there)", again, again / loop, again / regedit);
    printf("%-44s %8.3f %10.2f %12.2f\n", "fresh day, file of 20,000 other records", bigFile, bigFile / loop,
           bigFile / regedit);
    printf("goals: /bare <= 3, /regedit <= 2, no growth with the file\n");
    main.Unload();
    RegDeleteTreeA(HKEY_CURRENT_USER, kBase);
    return 0;
}
