// The find window against bare profile reads, on a category of 5,200 tips
// (数据 1,000, twenty sub-categories of 200, 收藏夹 200) and on one of 1,000
// in the same proportions:
//  (a) a whole-category walk whose only match is in the last section,
//  (b) a walk that finds nothing,
//  (c) the current-list scope on the rows shown (5,000 / 1,000), one match and all matching.
// The bare scan reads every section's key list with GetPrivateProfileStringA and
// tests each name, plus the records (and option lists) of the sections the press
// loads; for (c) it reads the rows' texts.
//
//   wine find_bench.exe
#include "common/TipFile.h"
#include "library/Form5.h"
#include "library/Library.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>
#include "BenchClock.h"

namespace {
const std::string FM = "\xFF", JM = "\x81\x88";
const std::string kData = "\xCA\xFD\xBE\xDD", kFav = "\xCA\xD5\xB2\xD8\xBC\xD0";

struct Section {
    std::string name;
    int tips;
};

std::string Tip(const std::string& name, int i) {
    return name + "=HKEY_CURRENT_USER\\Software\\Bench\\K" + std::to_string(i % 50) + FM + "Value" + std::to_string(i) +
           FM + "\xBF\xAA" + JM + "1" + FM + "2" + FM + "\xCB\xB5\xC3\xF7 description" + FM + "1\r\n";
}
std::string Option(const std::string& name) { return name + "=" + FM + "\xBF\xAA" + FM + JM + FM + "1" + FM + "\r\n"; }

// One category file; the name "needle" stands only as the last tip of the last section.
std::string MakeCategory(const std::vector<Section>& sections) {
    std::string out;
    int serial = 0;
    for (size_t s = 0; s < sections.size(); ++s) {
        std::string data = "[" + sections[s].name + "]\r\n", mirror = "[" + FM + sections[s].name + FM + "]\r\n";
        for (int i = 0; i < sections[s].tips; ++i, ++serial) {
            bool last = s + 1 == sections.size() && i + 1 == sections[s].tips;
            std::string name = last ? std::string("needle") : "\xBC\xBC\xC7\xC9" + std::to_string(serial);  // 技巧<n>
            data += Tip(name, serial);
            mirror += Option(name);
        }
        out += data + mirror;
    }
    return out;
}

std::vector<Section> Layout(int total) {
    // 数据 and 收藏夹 each hold 1/5.2 of the tips, twenty sub-categories the rest.
    int big = total * 10 / 52, sub = total * 2 / 52;
    std::vector<Section> s{{kData, big}};
    for (int i = 1; i <= 20; ++i) {
        char n[8];
        std::snprintf(n, sizeof n, "S%02d", i);
        s.push_back({n, sub});
    }
    s.push_back({kFav, sub});
    return s;
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

std::vector<std::string> KeyList(const std::string& file, const std::string& section) {
    std::string keys(1 << 20, '\0');
    DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, "", keys.data(), static_cast<DWORD>(keys.size()),
                                       file.c_str());
    keys.resize(n);
    std::vector<std::string> out;
    for (size_t p = 0; p < keys.size();) {
        size_t e = keys.find('\0', p);
        if (e == std::string::npos) e = keys.size();
        out.push_back(keys.substr(p, e - p));
        p = e + 1;
    }
    return out;
}

// Every section's key list read and tested, and the records of `loaded` read bare.
double BareScan(const std::string& file, const std::vector<Section>& sections, const std::vector<size_t>& loaded) {
    double t0 = Seconds();
    int hits = 0;
    for (const auto& s : sections)
        for (const auto& k : KeyList(file, s.name)) hits += Text::UpperCase(Text::FromAnsi(k)).find(L"NEEDLE") != std::wstring::npos;
    std::string value(8192, '\0');
    for (size_t i : loaded) {
        const std::string& name = sections[i].name;
        for (const auto& k : KeyList(file, name)) {
            GetPrivateProfileStringA(name.c_str(), k.c_str(), "", value.data(), 8192, file.c_str());
            GetPrivateProfileStringA((FM + name + FM).c_str(), k.c_str(), "", value.data(), 8192, file.c_str());
        }
    }
    if (hits != 1 && hits != 0) std::printf("unexpected hits %d\n", hits);
    return Seconds() - t0;
}

template <class F>
double Best(F f, int rounds = 3) {
    double best = 1e9;
    for (int r = 0; r < rounds; ++r) best = std::min(best, f());
    return best;
}
}  // namespace

int wmain() {
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring folder = std::wstring(tmp) + L"quorix_find_bench";
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\Data").c_str(), nullptr);
    App::SetPathForTests(folder);
    WritePrivateProfileStringA("Data", "OldUpdate", "1", Text::ToAnsi(folder + L"\\config.ini").c_str());
    WritePrivateProfileStringA("Data", "AutoWidth", "0", Text::ToAnsi(folder + L"\\config.ini").c_str());
    int boxes = 0;
    App::SetMsgBoxResponder([&](const App::MsgBoxCall&) {
        ++boxes;
        return IDOK;
    });
    ::Form2& main = Forms::Form2();
    main.Show();

    std::printf("%-34s %7s %10s %10s %7s\n", "case", "tips", "find (ms)", "bare (ms)", "ratio");
    for (int total : {1000, 5200}) {
        const std::vector<Section> sections = Layout(total);
        const std::wstring file = folder + L"\\Data\\bench.qix";
        const std::string ansi = Text::ToAnsi(file);
        WriteFileBytes(file, MakeCategory(sections));
        Forms::UnloadFrmShadow();
        ::frmShadow& shadow = Forms::frmShadow();
        shadow.TreeView1.Select(1);
        int tips = 0;
        for (const auto& s : sections) tips += s.tips;

        auto walk = [&](const wchar_t* text) {
            Library::OpenFindWindow();
            ::Form5& f = Forms::Form5();
            f.Text12.SetText(text);
            f.Option1.SetValue(true);
            double t0 = Seconds();
            f.Command13_Click();
            return Seconds() - t0;
        };
        walk(L"needle");  // warm-up
        double a = Best([&] { return walk(L"needle"); });
        if (main.ListView1.Count() != sections.back().tips) std::printf("(a) shows %d rows\n", main.ListView1.Count());
        double aBare = Best([&] { return BareScan(ansi, sections, {0, sections.size() - 1}); });
        std::printf("%-34s %7d %10.1f %10.1f %7.2f\n", "(a) walk, match in last section", tips, a * 1000, aBare * 1000,
                    a / aBare);
        boxes = 0;
        double b = Best([&] { return walk(L"no such tip"); });
        if (boxes != 3) std::printf("(b) %d end messages\n", boxes);
        double bBare = Best([&] { return BareScan(ansi, sections, {0}); });
        std::printf("%-34s %7d %10.1f %10.1f %7.2f\n", "(b) walk, nothing found", tips, b * 1000, bBare * 1000, b / bBare);

        // (c) The rows shown: a list of 5,000 (or 1,000) tips.
        const int rows = total == 5200 ? 5000 : 1000;
        const std::wstring listFile = folder + L"\\list.upd";
        WriteFileBytes(listFile, MakeCategory({{kData, rows}}));
        for (const auto& [label, text] : {std::pair<const char*, const wchar_t*>{"(c) current list, one match", L"needle"},
                                          {"(c) current list, all matching", L"技巧"}}) {
            auto current = [&, text = text] {
                shadow.Shownode(listFile, TipFile::DataSection);  // fresh rows, no marks
                Library::OpenFindWindow();
                ::Form5& f = Forms::Form5();
                f.Text12.SetText(text);
                f.Option2.SetValue(true);
                double t0 = Seconds();
                f.Command13_Click();
                return Seconds() - t0;
            };
            double c = Best(current);
            double cBare = Best([&] {
                double t0 = Seconds();
                size_t chars = 0;
                for (int r = 1; r <= main.ListView1.Count(); ++r) chars += main.ListView1.Text(r).size();
                if (chars == 0) std::printf("no rows\n");
                return Seconds() - t0;
            });
            std::printf("%-34s %7d %10.1f %10.1f %7.2f\n", label, main.ListView1.Count(), c * 1000, cBare * 1000, c / cBare);
        }
        DeleteFileW(listFile.c_str());
        DeleteFileW(file.c_str());
    }
    Forms::UnloadForm5();
    Forms::UnloadFrmShadow();
    DeleteFileW((folder + L"\\config.ini").c_str());
    RemoveDirectoryW((folder + L"\\Data").c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
