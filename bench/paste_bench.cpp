// Paste 1,000 tips into a 3,000-tip category and import a 1,000-tip file: the
// transfer loop (whole section reads, checked writes) against the per-tip way
// (two single-key reads and two writes with the bare A functions), in one run.
#include "common/Marks.h"
#include "transfer/Transfer.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {
const std::string FM = "\xFF", JM = "\x81\x88";

std::string Tips(const char* prefix, int n) {
    std::string rec, opt;
    for (int i = 0; i < n; ++i) {
        std::string name = prefix + std::to_string(i);
        rec += name + "=HKEY_CURRENT_USER\\Software\\QuorixBench" + FM + "v" + std::to_string(i) + FM + "lab" + JM +
               "data" + FM + "0" + FM + "description of the tip" + FM + "1\r\n";
        opt += name + "=" + FM + "a" + FM + "b" + FM + JM + FM + "1" + FM + "2" + FM + "\r\n";
    }
    return "[\xCA\xFD\xBE\xDD]\r\n" + rec + "[" + FM + "\xCA\xFD\xBE\xDD" + FM + "]\r\n" + opt;
}
void Put(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD w = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &w, nullptr);
    CloseHandle(h);
}
double Seconds(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}
// The per-tip way: two single-key reads (2023-byte buffer) and two writes per tip.
void PerTip(const std::string& src, const std::string& dst, int n, const char* prefix) {
    const std::string sec = "\xCA\xFD\xBE\xDD", mirror = FM + sec + FM;
    char buf[2024];
    for (int i = 0; i < n; ++i) {
        std::string name = prefix + std::to_string(i);
        GetPrivateProfileStringA(sec.c_str(), name.c_str(), "", buf, 2023, src.c_str());
        std::string rec = buf;
        GetPrivateProfileStringA(mirror.c_str(), name.c_str(), "", buf, 2023, src.c_str());
        std::string opt = buf;
        WritePrivateProfileStringA(sec.c_str(), name.c_str(), rec.c_str(), dst.c_str());
        WritePrivateProfileStringA(mirror.c_str(), name.c_str(), opt.c_str(), dst.c_str());
    }
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int tips = argc > 1 ? _wtoi(argv[1]) : 1000, existing = argc > 2 ? _wtoi(argv[2]) : 3000;
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    const std::wstring dir = std::wstring(tmp) + L"quorix_paste_bench\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    const std::wstring src = dir + L"src.qix", dst = dir + L"dst.qix", upd = dir + L"in.upd";
    auto ansi = [](const std::wstring& w) { return std::string(w.begin(), w.end()); };
    std::vector<std::wstring> names;
    for (int i = 0; i < tips; ++i) names.push_back(L"p" + std::to_wstring(i));

    double ours[2], part[2];
    for (int kind = 0; kind < 2; ++kind) {  // 0 paste, 1 import
        const char* prefix = kind == 0 ? "p" : "i";
        Put(src, Tips(prefix, tips));
        Put(dst, Tips("e", existing));
        auto t0 = std::chrono::steady_clock::now();
        PerTip(ansi(src), ansi(dst), tips, prefix);
        part[kind] = Seconds(t0);

        Put(dst, Tips("e", existing));
        Transfer::Source s;
        s.file = src;
        s.section = L"数据";
        if (kind == 0) {
            s.names = names;
        } else {
            s.allKeys = true;
        }
        Transfer::Target t{dst, L"数据", {}};
        Transfer::ReplaceAnswer answer = Transfer::ReplaceAnswer::Ask;
        t0 = std::chrono::steady_clock::now();
        Transfer::Counts c = Transfer::Run(s, t, answer, nullptr);
        ours[kind] = Seconds(t0);
        std::printf("%s %d tips into %d: transfer loop %.2f s (%d written), per-tip single-key way %.2f s, ratio %.2f\n",
                    kind == 0 ? "paste " : "import", tips, existing, ours[kind], c.written, part[kind],
                    ours[kind] / part[kind]);
    }
    return 0;
}
