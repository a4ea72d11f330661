// Loads sections of 100, 1,000, 5,000 and 20,000 tips into the visible tip list
// (the loader, then the column fitting a node click does) and compares the time
// with the floor measured in the same run: the section and its mirror read
// whole, and a bare report-view list view filled with the same rows with
// redrawing off. Goal: the load within 3 times the floor at every size, and
// time per tip flat (linear growth).
//
//   wine load_bench.exe
#include "common/TipFile.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include <cstdio>
#include <string>
#include "BenchClock.h"
#include "BenchFolder.h"

namespace {
std::string MakeSection(int n) {
    const std::string FM = "\xFF", JM = "\x81\x88";
    std::string data = "[\xCA\xFD\xBE\xDD]\r\n", mirror = "[\xFF\xCA\xFD\xBE\xDD\xFF]\r\n";
    for (int i = 0; i < n; ++i) {
        std::string name = "\xBC\xBC\xC7\xC9" + std::to_string(i);  // 技巧<i>
        data += name + "=HKEY_CURRENT_USER\\Software\\Bench\\K" + std::to_string(i % 50) + FM + "Value" +
                std::to_string(i) + FM + "\xBF\xAA" + JM + "1" + FM + "2" + FM +
                "\xCB\xB5\xC3\xF7\xCE\xC4\xD7\xD6 description text of the tip" + FM + (i % 7 ? "1" : "2") + "\r\n";
        mirror += name + "=" + FM + "\xBF\xAA" + FM + "\xB9\xD8" + FM + JM + FM + "1" + FM + "0" + FM + "\r\n";
    }
    return data + mirror;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

// The floor: one whole read of the section and one of its mirror, then a bare
// report-view list view with the same five columns filled with the same rows
// (redraw off while it fills), drawn once.
struct Floor {
    HWND window = nullptr, list = nullptr;
    Floor() {
        window = CreateWindowExW(0, L"STATIC", L"floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 500, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 0, 0, 680,
                               460, window, nullptr, GetModuleHandleW(nullptr), nullptr);
        SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                     LVS_EX_CHECKBOXES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT);
        for (int c = 0; c < 5; ++c) {
            LVCOLUMNW col{};
            col.mask = LVCF_TEXT | LVCF_WIDTH;
            col.pszText = const_cast<wchar_t*>(L"col");
            col.cx = 120;
            SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&col));
        }
    }
    ~Floor() { DestroyWindow(window); }
    static std::string Section(const char* name, const std::string& file) {
        std::string buf(1 << 16, '\0');
        for (;;) {
            DWORD n = GetPrivateProfileSectionA(name, buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
            if (n < buf.size() - 2) {
                buf.resize(n);
                return buf;
            }
            buf.assign(buf.size() * 4, '\0');
        }
    }
    double Run(const std::string& file, int& count) {
        double t0 = Seconds();
        std::string data = Section("\xCA\xFD\xBE\xDD", file);
        std::string mirror = Section("\xFF\xCA\xFD\xBE\xDD\xFF", file);
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
        count = 0;
        for (size_t p = 0; p < data.size();) {
            size_t e = data.find('\0', p);
            if (e == std::string::npos) e = data.size();
            std::wstring line = Text::FromAnsi(data.substr(p, e - p));
            size_t eq = line.find(L'=');
            std::wstring name = line.substr(0, eq), rest = line.substr(eq + 1);
            LVITEMW it{};
            it.mask = LVIF_TEXT;
            it.iItem = count;
            it.pszText = name.data();
            int index = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it)));
            for (int sub = 1; sub <= 4; ++sub) {
                size_t mark = rest.find(L'\xFF');  // 0xFF decodes to U+F8F5 in code page 936, else itself
                std::wstring cell = rest.substr(0, std::min<size_t>(mark, 24));
                LVITEMW st{};
                st.iSubItem = sub;
                st.pszText = cell.data();
                SendMessageW(list, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&st));
            }
            ++count;
            p = e + 1;
        }
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
        UpdateWindow(list);
        return Seconds() - t0 + 0 * mirror.size();
    }
};
}  // namespace

int wmain() {
    // A folder the program has run in before: a data folder, the notice seen.
    const std::wstring folder = BenchFolder(L"quorix_bench");
    // Report view with columns fitted after each load, as a new settings file has it.
    WritePrivateProfileStringA("Data", "AutoWidth", "1", Text::ToAnsi(folder + L"\\config.ini").c_str());
    WritePrivateProfileStringA("Data", "View", "3", Text::ToAnsi(folder + L"\\config.ini").c_str());
    App::SetMsgBoxResponder([](const App::MsgBoxCall& c) {
        std::fprintf(stderr, "message box: %s\n", Text::ToAnsi(c.text).c_str());
        return IDOK;
    });
    ::Form2& main = Forms::Form2();
    ::frmShadow& shadow = Forms::frmShadow();
    main.Show();
    Floor floor;
    std::printf("%8s %11s %10s %11s %8s %10s %10s\n", "tips", "load (ms)", "fit (ms)", "floor (ms)", "ratio",
                "load us/tip", "floor us/tip");
    for (int n : {100, 1000, 5000, 20000}) {
        std::wstring file = folder + L"\\bench" + std::to_wstring(n) + L".upd";
        WriteFileBytes(file, MakeSection(n));
        // One warm-up of each, then the best of three (one for the largest).
        int count = 0;
        floor.Run(Text::ToAnsi(file), count);
        shadow.Shownode(file, TipFile::DataSection);
        double load = 1e9, fit = 1e9, bare = 1e9;
        for (int round = 0; round < (n > 5000 ? 1 : 3); ++round) {
            double t0 = Seconds();
            shadow.Shownode(file, TipFile::DataSection);
            UpdateWindow(main.ListView1.hwnd());
            double t1 = Seconds();
            shadow.FitColumnsWhenRows();
            UpdateWindow(main.ListView1.hwnd());
            double t2 = Seconds();
            load = std::min(load, t1 - t0);
            fit = std::min(fit, t2 - t1);
            bare = std::min(bare, floor.Run(Text::ToAnsi(file), count));
        }
        if (main.ListView1.Count() != n || count != n)
            std::printf("row count mismatch: %d rows, %d in the floor\n", main.ListView1.Count(), count);
        std::printf("%8d %11.1f %10.1f %11.1f %8.2f %10.1f %10.1f\n", n, load * 1000, fit * 1000, bare * 1000,
                    load / bare, load * 1e6 / n, bare * 1e6 / n);
        DeleteFileW(file.c_str());
    }
    Forms::UnloadFrmShadow();
    DeleteFileW((folder + L"\\config.ini").c_str());
    RemoveDirectoryW((folder + L"\\Data").c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
