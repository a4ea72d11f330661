// The live values of a tip's key as a user sees them, on the program as it
// runs: Quorix.exe in a program folder of its own (the settings its first start
// writes: the live values on) showing a category of two tips, one on a key of
// 2,000 values of mixed types, one on a key of one value. The second row is
// clicked, then the clock runs from a click on the first until the properties
// window's value list holds the key's values and the program is idle. Five
// times. The floor, in the same run: a bare RegEnumValueA loop reading every
// value's data, then a bare list filled with their name, type and data, its
// columns fitted.
//   wine build/bench/live_values_bench.exe [program folder]   (default: build/program)
#include "BenchFloor.h"
#include "Outside.h"

#include <cstdio>

namespace {
constexpr int kValues = 2000;
const char kKey[] = "Software\\QuorixBench\\Live";

void MakeKey() {
    RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    HKEY k;
    RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr);
    for (int i = 0; i < kValues; ++i) {
        const std::string name = "Value" + std::to_string(i);
        switch (i % 4) {
        case 0: {
            const std::string s = "text of value " + std::to_string(i);
            RegSetValueExA(k, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(s.c_str()), static_cast<DWORD>(s.size() + 1));
            break;
        }
        case 1: {
            DWORD d = static_cast<DWORD>(i * 7919);
            RegSetValueExA(k, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&d), 4);
            break;
        }
        case 2: {
            BYTE b[24];
            for (int j = 0; j < 24; ++j) b[j] = static_cast<BYTE>(i + j);
            RegSetValueExA(k, name.c_str(), 0, REG_BINARY, b, 24);
            break;
        }
        default: {
            const std::string s = "%SystemRoot%\\dir" + std::to_string(i);
            RegSetValueExA(k, name.c_str(), 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(s.c_str()), static_cast<DWORD>(s.size() + 1));
        }
        }
    }
    RegCloseKey(k);
}

double Floor(BenchFloor& list) {
    const double t0 = Seconds();
    HKEY k;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &k)) return -1;
    std::vector<std::vector<std::wstring>> rows;
    char name[16384];
    std::vector<BYTE> data(65536);
    for (DWORD i = 0;; ++i) {
        DWORD n = sizeof name, size = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueA(k, i, name, &n, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) break;
        std::wstring text;
        if (type == REG_DWORD) text = std::to_wstring(*reinterpret_cast<DWORD*>(data.data()));
        else if (type == REG_BINARY) {
            wchar_t hex[4];
            for (DWORD j = 0; j < size; ++j) swprintf(hex, 4, L"%02X ", data[j]), text += hex;
        } else text = Text::FromAnsi(reinterpret_cast<const char*>(data.data()));
        rows.push_back({Text::FromAnsi(name), std::to_wstring(type), text});
    }
    RegCloseKey(k);
    list.Fill(rows, true);
    return Seconds() - t0;
}

// The properties window's list that holds `rows` rows, or nullptr.
HWND LiveList(const Outside::Program& p, int rows) {
    HWND props = p.Window(L"Quorix.Form3");
    for (int i = 0;; ++i) {
        HWND list = Outside::Child(props, WC_LISTVIEWW, i);
        if (!list) return nullptr;
        if (SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == rows) return list;
    }
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring program = Outside::ProgramDir(argc, argv);
    MakeKey();
    HKEY small;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QuorixBench\\LiveSmall", 0, nullptr, 0, KEY_WRITE, nullptr, &small, nullptr);
    RegSetValueExA(small, "One", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    RegCloseKey(small);
    std::vector<BenchFiles::Tip> tips = BenchFiles::Tips(2, "x");
    tips[0].subkey = kKey;
    tips[0].value = "Value0";
    tips[1].subkey = "Software\\QuorixBench\\LiveSmall";
    tips[1].value = "One";
    const std::wstring dir = Outside::MakeProgramFolder(L"quorix_live_bench", program, false,
                                                        {{L"系统.qix", BenchFiles::Section(L"数据", tips)}});
    BenchFloor floor;
    Outside::Program p;
    p.Start(dir, L"", [](const Outside::Program& q) { return Outside::Rows(q) == 2; });
    Outside::Front(p.Main());
    std::vector<double> runs, floors;
    for (int round = 0; round < 5; ++round) {
        Outside::ClickRow(p, 2);
        if (!Outside::WaitFor([&] { return LiveList(p, 2) != nullptr; }, 30)) {
            std::printf("the properties window shows no live values\n");
            return 1;
        }
        p.Idle();
        const double t0 = Seconds();
        Outside::ClickRow(p, 1);
        if (!Outside::WaitFor([&] { return LiveList(p, kValues + 1) != nullptr; }, 60)) return 1;
        p.Idle();
        runs.push_back(Seconds() - t0);
        floors.push_back(Floor(floor));
    }
    const double r = Outside::Median(runs), f = Outside::Median(floors);
    std::printf("live values of a key of %d values, from the click on its tip until they are listed: median %.0f ms; "
                "floor %.0f ms; %.2f x the floor\n", kValues, r * 1000, f * 1000, r / f);
    p.Close();
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\QuorixBench");
    BenchFiles::RemoveTree(dir);
    return 0;
}
