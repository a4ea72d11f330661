#pragma once
// Files of the benchmarks: folders copied and removed, bytes written, and the
// category files of made-up tips (written in the program's own record and
// option-list layout, code page 936).
#include "BenchClock.h"
#include "common/TipFile.h"
#include "platform/Text.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace BenchFiles {

inline void RemoveTree(const std::wstring& folder) {
    std::wstring from = folder;
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
}

// The files of `from` (and its folders) into the existing folder `to`.
inline void CopyTree(const std::wstring& from, const std::wstring& to) {
    std::wstring f = from + L"\\*", t = to;
    f.push_back(L'\0');
    t.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_COPY;
    op.pFrom = f.c_str();
    op.pTo = t.c_str();
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT | FOF_NOCONFIRMMKDIR;
    SHFileOperationW(&op);
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

inline std::string ReadBytes(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string s(GetFileSize(h, nullptr), '\0');
    DWORD n = 0;
    ReadFile(h, s.data(), static_cast<DWORD>(s.size()), &n, nullptr);
    CloseHandle(h);
    s.resize(n);
    return s;
}

// One made-up tip: a string or DWORD value under HKEY_CURRENT_USER.
struct Tip {
    std::wstring name;
    std::string subkey;  // below HKEY_CURRENT_USER
    std::string value;
    std::string data;    // the string, or the DWORD as hex digits
    bool dword = false;
};

// `n` harmless tips named <prefix><i>, under HKEY_CURRENT_USER\<root>\K<i % keys>.
inline std::vector<Tip> Tips(int n, const std::string& root, const std::wstring& prefix = L"技巧 ", int keys = 10) {
    std::vector<Tip> v;
    for (int i = 0; i < n; ++i) {
        Tip t;
        t.name = prefix + Text::FromInt(i);
        char buf[64];
        snprintf(buf, sizeof buf, "\\K%d", i % keys);
        t.subkey = root + buf;
        snprintf(buf, sizeof buf, "V%d", i);
        t.value = buf;
        t.dword = i % 3 == 0;
        if (t.dword)
            snprintf(buf, sizeof buf, "%08x", (i * 2654435761u) & 0x7FFFFFFFu);
        else
            snprintf(buf, sizeof buf, "value %d \xCA\xFD\xBE\xDD", i);  // 数据
        t.data = buf;
        v.push_back(t);
    }
    return v;
}

// A section of tips and its mirror section, as text of a category file.
inline std::string Section(const std::wstring& section, const std::vector<Tip>& tips) {
    std::wstring data = L"[" + section + L"]\r\n", mirror = L"[" + TipFile::MirrorOf(section) + L"]\r\n";
    for (const Tip& t : tips) {
        const std::wstring d = Text::FromAnsi(t.data);
        TipFile::TipRecord r{L"HKEY_CURRENT_USER\\" + Text::FromAnsi(t.subkey), Text::FromAnsi(t.value), L"启用", d,
                             t.dword ? L"2" : L"0", L"说明文字 description of the tip", L"1"};
        data += t.name + L"=" + TipFile::EncodeRecord(r) + L"\r\n";
        mirror += t.name + L"=" + TipFile::EncodeOptions({{L"启用", L"关闭"}, {d, t.dword ? L"0" : L""}}) + L"\r\n";
    }
    return Text::ToAnsi(data + mirror);
}

// The floor of writing the tips' values: a bare RegCreateKeyExA + RegSetValueExA
// loop, in seconds.
inline double BareWrites(const std::vector<Tip>& tips) {
    const double t0 = Seconds();
    for (const auto& x : tips) {
        HKEY k;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, x.subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr))
            continue;
        if (x.dword) {
            DWORD d = strtoul(x.data.c_str(), nullptr, 16);
            RegSetValueExA(k, x.value.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&d), 4);
        } else {
            RegSetValueExA(k, x.value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(x.data.c_str()),
                           static_cast<DWORD>(x.data.size() + 1));
        }
        RegCloseKey(k);
    }
    return Seconds() - t0;
}

}  // namespace BenchFiles
