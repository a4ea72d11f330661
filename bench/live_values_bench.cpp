// Lists a key of 2,000 values of mixed types on the properties window's 查看
// tab (Form2::Showvaluesx through the visible windows) and compares the time
// with the floor measured in the same run: a bare RegEnumValueA loop that
// reads every value's name and data. Goal: within 3 times the floor.
//
//   wine live_values_bench.exe
#include "editor/Form3.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchFolder.h"

namespace {
const char* const kSubA = "Software\\QuorixBench\\Live";

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

void MakeKey(int n) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kSubA);
    HKEY k;
    RegCreateKeyExA(HKEY_CURRENT_USER, kSubA, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
    for (int i = 0; i < n; ++i) {
        std::string name = "Value" + std::to_string(i);
        switch (i % 4) {
        case 0: {
            std::string s = "some text for value " + std::to_string(i);
            RegSetValueExA(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(s.c_str()),
                           static_cast<DWORD>(s.size() + 1));
            break;
        }
        case 1: {
            DWORD d = static_cast<DWORD>(i) * 2654435761u;
            RegSetValueExA(k, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&d), 4);
            break;
        }
        case 2: {
            BYTE b[32];
            for (int j = 0; j < 32; ++j) b[j] = static_cast<BYTE>(i + j);
            RegSetValueExA(k, name.c_str(), 0, REG_BINARY, b, sizeof b);
            break;
        }
        default: {
            std::string s = "%SystemRoot%\\system32\\file" + std::to_string(i) + ".dll";
            RegSetValueExA(k, name.c_str(), 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(s.c_str()),
                           static_cast<DWORD>(s.size() + 1));
            break;
        }
        }
    }
    RegCloseKey(k);
}

// The floor: every value's name and data read through the A functions.
double Floor(int& count) {
    double t0 = Seconds();
    HKEY k;
    count = 0;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSubA, 0, KEY_READ, &k) != ERROR_SUCCESS) return 0;
    std::vector<char> name(256);
    std::vector<BYTE> data(4096);
    for (DWORD i = 0;; ++i) {
        DWORD nl = static_cast<DWORD>(name.size()), dl = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueA(k, i, name.data(), &nl, nullptr, &type, data.data(), &dl) != ERROR_SUCCESS) break;
        ++count;
    }
    RegCloseKey(k);
    return Seconds() - t0;
}
}  // namespace

int wmain() {
    const std::wstring folder = BenchFolder(L"quorix_live_bench");
    const std::string ini = Text::ToAnsi(folder + L"\\config.ini");
    WritePrivateProfileStringA("Data", "Form2Visible", "1", ini.c_str());
    WritePrivateProfileStringA("Data", "ViewCheck", "1", ini.c_str());
    WritePrivateProfileStringA("Data", "Tabstrip", "2", ini.c_str());  // the 查看 tab
    // One category with one tip on the benchmark's key.
    const std::string FM = "\xFF", JM = "\x81\x88";
    WriteFileBytes(folder + L"\\Data\\bench.qix",
                   "[\xCA\xFD\xBE\xDD]\r\ntip=HKEY_CURRENT_USER\\" + std::string(kSubA) + FM + "Value7" + FM + "a" +
                       JM + "1" + FM + "0" + FM + "d" + FM + "1\r\n[" + FM + "\xCA\xFD\xBE\xDD" + FM + "]\r\n");
    App::SetMsgBoxResponder([](const App::MsgBoxCall& c) {
        std::fprintf(stderr, "message box: %s\n", Text::ToAnsi(c.text).c_str());
        return IDOK;
    });
    const int n = 2000;
    MakeKey(n);
    ::Form2& main = Forms::Form2();
    main.Show();
    ::Form3& props = Forms::Form3();
    props.Show();
    props.SelectTab(3);
    main.ListView1.SetSelectedItem(1);
    int count = 0;
    main.Showvaluesx();  // warm-up of each
    Floor(count);
    double list = 1e9, bare = 1e9;
    for (int round = 0; round < 5; ++round) {
        double t0 = Seconds();
        main.Showvaluesx();
        UpdateWindow(props.ListView2.hwnd());
        list = std::min(list, Seconds() - t0);
        bare = std::min(bare, Floor(count));
    }
    if (props.ListView2.Count() != n + 1 || count != n)
        std::printf("row count mismatch: %d rows, %d in the floor\n", props.ListView2.Count(), count);
    std::printf("%8s %12s %11s %8s\n", "values", "list (ms)", "floor (ms)", "ratio");
    std::printf("%8d %12.1f %11.1f %8.2f\n", n, list * 1000, bare * 1000, list / bare);
    main.Unload();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QuorixBench");
    DeleteFileW((folder + L"\\Data\\bench.qix").c_str());
    DeleteFileW((folder + L"\\config.ini").c_str());
    RemoveDirectoryW((folder + L"\\Data").c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
