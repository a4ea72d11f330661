// Builds and writes exports of 1,000 and 5,000 tips in every format through the
// transfer builders, and compares each with writing the same bytes bare
// (CreateFile, one WriteFile, CloseHandle). Medians of 5 runs.
// Then the same exports through the main window: its tip list holding the
// tips, all selected, and Form2's export commands with the save dialog and the
// description answered by the test responders.
//
//   wine export_bench.exe
#include "common/TipFile.h"
#include "common/TipRow.h"
#include "dialogs/GCommonDialog.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"
#include "transfer/DataFileExport.h"
#include "transfer/DocExport.h"
#include "transfer/ExportFile.h"
#include "transfer/RegExport.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>
#include "BenchClock.h"

namespace {
double Median(const std::function<void()>& run) {
    std::vector<double> t;
    for (int i = 0; i < 5; ++i) {
        double t0 = Seconds();
        run();
        t.push_back(Seconds() - t0);
    }
    std::sort(t.begin(), t.end());
    return t[2];
}

std::vector<TipRow::Cells> Rows(int n) {
    std::vector<TipRow::Cells> rows;
    const wchar_t* types[] = {L"0", L"1", L"2", L"3"};
    const wchar_t* data[] = {L"文本数据 C:\\Windows", L"01 ab FF 00 10", L"1a", L"%SystemRoot%\\system32"};
    for (int i = 0; i < n; ++i) {
        TipFile::TipRecord r{L"HKEY_CURRENT_USER\\Software\\Bench\\K" + std::to_wstring(i % 50),
                             L"Value" + std::to_wstring(i), L"开", data[i % 4], types[i % 4],
                             L"说明文字 description text of the tip", L"1"};
        rows.push_back(TipRow::Decode(L"技巧" + std::to_wstring(i), TipFile::EncodeRecord(r), L""));
    }
    return rows;
}

void Bare(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileA(Text::ToAnsi(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}
std::string ReadAll(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string bytes(GetFileSize(h, nullptr), '\0');
    DWORD got = 0;
    ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(h);
    return bytes;
}

// The exports as the user runs them: Form2's commands on the selected rows of
// the real tip list, the save dialog and the input box answered at once.
void ThroughTheMainWindow(const std::wstring& dir) {
    const std::wstring program = dir + L"program";
    CreateDirectoryW(program.c_str(), nullptr);
    CreateDirectoryW((program + L"\\Data").c_str(), nullptr);
    WritePrivateProfileStringA("Data", "OldUpdate", "1", Text::ToAnsi(program + L"\\config.ini").c_str());
    App::SetPathForTests(program);
    App::SetMsgBoxResponder([](const App::MsgBoxCall& c) {
        std::printf("message: %s\n", Text::ToAnsi(c.text).c_str());
        return IDOK;
    });
    App::SetInputBoxResponder([](const App::InputBoxCall&) { return std::wstring(L"基准"); });
    std::wstring answer;
    GCommonDialog::SetResponderForTests([&](GCommonDialog::SystemCall& c) -> BOOL {
        std::string bytes = Text::ToAnsi(answer) + '\0';
        std::memcpy(c.ofn->lpstrFile, bytes.data(), bytes.size());
        return TRUE;
    });
    Form2& main = Forms::Form2();
    if (!main.Exists()) {
        std::printf("main window not created\n");
        return;
    }
    std::printf("\nthrough the main window (Form2 commands, responders)\n");
    std::printf("%-10s %6s %10s %10s %8s\n", "format", "tips", "export ms", "bare ms", "ratio");
    for (int n : {1000, 5000}) {
        main.ListView1.Clear();
        for (const TipRow::Cells& row : Rows(n)) TipRow::AddRow(main.ListView1, row, true);
        for (int i = 1; i <= main.ListView1.Count(); ++i) main.ListView1.SetSelected(i, true);
        struct Command {
            const char* name;
            std::wstring file;
            std::function<void()> run;
        } commands[] = {
            {"text", dir + L"w.txt", [&] { main.SaveTxt(); }},
            {"html", dir + L"w.htm", [&] { main.Savehtml(); }},
            {"reg4", dir + L"w4.reg", [&] { main.SaveReg(L"98"); }},
            {"reg5", dir + L"w5.reg", [&] { main.SaveReg(L"xp"); }},
            {"upd", dir + L"w.upd", [&] { main.SaveZY(); }},
        };
        for (const Command& c : commands) {
            answer = c.file;
            double exportTime = Median(c.run);
            const std::string bytes = ReadAll(c.file);
            double bareTime = Median([&] { Bare(c.file + L".bare", bytes); });
            std::printf("%-10s %6d %10.1f %10.2f %8.1f   (%zu bytes)\n", c.name, n, exportTime * 1000,
                        bareTime * 1000, exportTime / bareTime, bytes.size());
        }
    }
    main.ListView1.Clear();
    main.Unload();
    GCommonDialog::SetResponderForTests(nullptr);
    App::SetMsgBoxResponder(nullptr);
    App::SetInputBoxResponder(nullptr);
}
}  // namespace

int wmain() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring dir = std::wstring(tmp) + L"quorix_export_bench\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    std::printf("%-10s %6s %10s %10s %8s\n", "format", "tips", "export ms", "bare ms", "ratio");
    for (int n : {1000, 5000}) {
        const std::vector<TipRow::Cells> rows = Rows(n);
        const std::vector<std::wstring> options(rows.size(), Marks::FieldMark + L"开" + Marks::FieldMark +
                                                                 Marks::JoinMark + Marks::FieldMark + L"1" +
                                                                 Marks::FieldMark);
        struct Format {
            const char* name;
            std::wstring file;
            std::function<std::string()> build;
        } formats[] = {
            {"text", dir + L"a.txt", [&] { return DocExport::BuildText(rows); }},
            {"html", dir + L"a.htm", [&] { return DocExport::BuildHtml(rows); }},
            {"reg4", dir + L"a4.reg", [&] { return RegExport::Build(rows, RegExport::Header::Regedit4).bytes; }},
            {"reg5", dir + L"a5.reg", [&] { return RegExport::Build(rows, RegExport::Header::Version5).bytes; }},
        };
        for (const Format& f : formats) {
            std::string bytes = f.build();
            double exportTime = Median([&] { ExportFile::WriteWhole(f.file, f.build()); });
            double buildTime = Median([&] { f.build(); });
            double bareTime = Median([&] { Bare(f.file + L".bare", bytes); });
            std::printf("%-10s %6d %10.1f %10.2f %8.1f   (building %.1f ms)\n", f.name, n, exportTime * 1000,
                        bareTime * 1000, exportTime / bareTime, buildTime * 1000);
        }
        const std::wstring upd = dir + L"a.upd";
        DataFileExport::FileInfo info{L"说明", L"作者", L"", L"", L""};
        double exportTime = Median([&] { DataFileExport::Write(upd, rows, options, info); });
        HANDLE h = CreateFileW(upd.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        std::string bytes(GetFileSize(h, nullptr), '\0');
        DWORD got = 0;
        ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
        CloseHandle(h);
        double bareTime = Median([&] { Bare(upd + L".bare", bytes); });
        std::printf("%-10s %6d %10.1f %10.2f %8.1f\n", "upd", n, exportTime * 1000, bareTime * 1000,
                    exportTime / bareTime);
    }
    ThroughTheMainWindow(dir);
    return 0;
}
