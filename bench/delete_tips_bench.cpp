// Deletes 1,000 of 3,000 tips through the windows (the tip list's selection,
// the delete command answered Yes, the rows removed and the first one shown)
// and compares the time with loading that section into the visible list and
// with the floor measured in the same run: one GetPrivateProfileSectionA of the
// section and one WritePrivateProfileSectionA of what is left. Goal: the
// delete within 3 times the load.
//
//   wine delete_tips_bench.exe
#include "common/TipFile.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"
#include "transfer/DeleteTips.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "BenchClock.h"
#include "BenchFolder.h"

namespace {
constexpr int kTips = 3000;

std::string MakeFile() {
    const std::string FM = "\xFF", JM = "\x81\x88";
    std::string data = "[\xCA\xFD\xBE\xDD]\r\n", mirror = "[\xFF\xCA\xFD\xBE\xDD\xFF]\r\n";
    for (int i = 0; i < kTips; ++i) {
        std::string name = "\xBC\xBC\xC7\xC9" + std::to_string(i);  // 技巧<i>
        data += name + "=HKEY_CURRENT_USER\\Software\\Bench\\K" + std::to_string(i % 50) + FM + "Value" +
                std::to_string(i) + FM + "\xBF\xAA" + JM + "1" + FM + "2" + FM +
                "\xCB\xB5\xC3\xF7\xCE\xC4\xD7\xD6 description text of the tip" + FM + (i % 7 ? "1" : "2") + "\r\n";
        mirror += name + "=" + FM + "\xBF\xAA" + FM + "\xB9\xD8" + FM + JM + FM + "1" + FM + "0" + FM + "\r\n";
    }
    return "[Fileinfo]\r\nUse=bench\r\n" + data + mirror;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

// The floor: the section read whole, every third line left out, the rest
// written back in one call.
double Floor(const std::string& file) {
    const char* section = "\xCA\xFD\xBE\xDD";
    double t0 = Seconds();
    std::string buf(1 << 16, '\0');
    for (;;) {
        DWORD n = GetPrivateProfileSectionA(section, buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
        if (n < buf.size() - 2) {
            buf.resize(n);
            break;
        }
        buf.assign(buf.size() * 4, '\0');
    }
    std::string kept;
    int line = 0;
    for (size_t p = 0; p < buf.size();) {
        size_t e = buf.find('\0', p);
        if (e == std::string::npos) e = buf.size();
        if (line++ % 3 != 1) kept.append(buf, p, e - p).push_back('\0');
        p = e + 1;
    }
    kept.push_back('\0');
    WritePrivateProfileSectionA(section, kept.data(), file.c_str());
    return Seconds() - t0;
}
}  // namespace

int wmain() {
    const std::wstring folder = BenchFolder(L"quorix_delete_bench");
    const std::string config = Text::ToAnsi(folder + L"\\config.ini");
    WritePrivateProfileStringA("Data", "View", "3", config.c_str());
    WritePrivateProfileStringA("Data", "Compositor", "0", config.c_str());
    int questions = 0;
    App::SetMsgBoxResponder([&](const App::MsgBoxCall& c) {
        if (c.style & MB_YESNO) {
            ++questions;
            return IDYES;
        }
        std::fprintf(stderr, "message box: %s\n", Text::ToAnsi(c.text).c_str());
        return IDOK;
    });
    ::Form2& main = Forms::Form2();
    ::frmShadow& shadow = Forms::frmShadow();
    main.Show();
    const std::wstring file = folder + L"\\bench.upd";
    const std::string bytes = MakeFile();
    WriteFileBytes(file, bytes);
    const int entry = shadow.AddOrSelectEntry(file);
    shadow.TreeView2_NodeClick(entry);  // data-file mode, the tips shown

    double load = 1e9, del = 1e9, floor = 1e9, files = 1e9;
    int left = 0;
    for (int round = 0; round < 4; ++round) {  // the first round warms up
        WriteFileBytes(file, bytes);
        double t0 = Seconds();
        shadow.Shownode(file, TipFile::DataSection);
        UpdateWindow(main.ListView1.hwnd());
        double t1 = Seconds();
        const int loaded = main.ListView1.Count();
        for (int r = 1; r <= main.ListView1.Count(); ++r) main.ListView1.SetSelected(r, r % 3 == 2);
        double t2 = Seconds();
        main.del_Click();
        UpdateWindow(main.ListView1.hwnd());
        double t3 = Seconds();
        left = main.ListView1.Count();
        // The file part alone: the same names through the delete routine.
        WriteFileBytes(file, bytes);
        std::vector<std::wstring> names;
        for (int i = 1; i < kTips; i += 3) names.push_back(L"\u6280\u5DE7" + std::to_wstring(i));  // 技巧<i>
        double t4 = Seconds();
        Transfer::DeleteTips(file, TipFile::DataSection, names);
        double t5 = Seconds();
        WriteFileBytes(file, bytes);
        double bare = Floor(Text::ToAnsi(file));
        if (loaded != kTips || left != kTips - kTips / 3) {
            std::printf("round %d left out: %d rows loaded, %d left\n", round, loaded, left);
            continue;
        }
        if (round == 0) continue;
        files = std::min(files, t5 - t4);
        load = std::min(load, t1 - t0);
        del = std::min(del, t3 - t2);
        floor = std::min(floor, bare);
    }
    if (questions != 4) std::printf("unexpected: %d questions\n", questions);
    std::printf("%8s %12s %12s %12s %12s %12s %12s\n", "tips", "delete (ms)", "load (ms)", "file (ms)", "floor (ms)",
                "delete/load", "file/floor");
    std::printf("%8d %12.1f %12.1f %12.1f %12.1f %12.2f %12.2f\n", kTips, del * 1000, load * 1000, files * 1000,
                floor * 1000, del / load, files / floor);
    main.Unload();
    DeleteFileW(file.c_str());
    DeleteFileW((folder + L"\\config.ini").c_str());
    RemoveDirectoryW((folder + L"\\Data").c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
