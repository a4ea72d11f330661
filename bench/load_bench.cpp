// Loads sections of 100, 1,000 and 5,000 tips into the tip list and compares the
// time with reading the same records through the bare profile function
// (one key list, then each record and its option list, GetPrivateProfileStringA).
//
//   wine load_bench.exe
#include "common/TipFile.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {
double Seconds() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

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

// The bare reads: 1 + 2N calls of the profile function, as a plain reader makes them.
double BareReads(const std::string& file, int& count) {
    double t0 = Seconds();
    std::string keys(1 << 20, '\0');
    DWORD n = GetPrivateProfileStringA("\xCA\xFD\xBE\xDD", nullptr, "", keys.data(), static_cast<DWORD>(keys.size()),
                                       file.c_str());
    keys.resize(n);
    std::string value(8192, '\0');
    count = 0;
    for (size_t p = 0; p < keys.size();) {
        size_t e = keys.find('\0', p);
        if (e == std::string::npos) e = keys.size();
        std::string key = keys.substr(p, e - p);
        GetPrivateProfileStringA("\xCA\xFD\xBE\xDD", key.c_str(), "", value.data(), 8192, file.c_str());
        GetPrivateProfileStringA("\xFF\xCA\xFD\xBE\xDD\xFF", key.c_str(), "", value.data(), 8192, file.c_str());
        ++count;
        p = e + 1;
    }
    return Seconds() - t0;
}
}  // namespace

int wmain() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring folder = std::wstring(tmp) + L"quorix_bench";
    CreateDirectoryW(folder.c_str(), nullptr);
    App::SetPathForTests(folder);
    // A folder the program has run in before: a data folder, the notice seen.
    CreateDirectoryW((folder + L"\\Data").c_str(), nullptr);
    WritePrivateProfileStringA("Data", "OldUpdate", "1", Text::ToAnsi(folder + L"\\config.ini").c_str());
    App::SetMsgBoxResponder([](const App::MsgBoxCall& c) {
        std::fprintf(stderr, "message box: %s\n", Text::ToAnsi(c.text).c_str());
        return IDOK;
    });
    ::Form2& main = Forms::Form2();
    ::frmShadow& shadow = Forms::frmShadow();
    main.Show();
    std::printf("%8s %12s %12s %8s %14s\n", "tips", "load (ms)", "bare (ms)", "ratio", "load us/tip");
    for (int n : {100, 1000, 5000}) {
        std::wstring file = folder + L"\\bench" + std::to_wstring(n) + L".upd";
        WriteFileBytes(file, MakeSection(n));
        // One warm-up of each, then the best of three.
        int count = 0;
        BareReads(Text::ToAnsi(file), count);
        shadow.Shownode(file, TipFile::DataSection);
        double load = 1e9, bare = 1e9;
        for (int round = 0; round < 3; ++round) {
            double t0 = Seconds();
            shadow.Shownode(file, TipFile::DataSection);
            double t = Seconds() - t0;
            if (t < load) load = t;
            double b = BareReads(Text::ToAnsi(file), count);
            if (b < bare) bare = b;
        }
        if (main.ListView1.Count() != n || count != n)
            std::printf("row count mismatch: %d rows, %d bare reads\n", main.ListView1.Count(), count);
        std::printf("%8d %12.1f %12.1f %8.2f %14.1f\n", n, load * 1000, bare * 1000, load / bare, load * 1e6 / n);
        DeleteFileW(file.c_str());
    }
    Forms::UnloadFrmShadow();
    DeleteFileW((folder + L"\\config.ini").c_str());
    RemoveDirectoryW((folder + L"\\Data").c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
