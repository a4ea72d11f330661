#include "common/Ini.h"

#include "platform/Text.h"

#include <windows.h>

namespace Ini {
namespace {

bool HasLineBreak(const std::wstring& s) { return s.find_first_of(L"\r\n") != std::wstring::npos; }

// GetPrivateProfileStringA with a buffer that grows until the result fits.
// `list` reads return NUL-separated names: the system signals a cut list by
// returning size - 2, a cut value by size - 1.
std::string ReadRaw(const char* section, const char* key, const std::string& file) {
    std::string buf(1024, '\0');
    for (;;) {
        DWORD n = GetPrivateProfileStringA(section, key, "", buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
        bool list = section == nullptr || key == nullptr;
        DWORD limit = static_cast<DWORD>(buf.size()) - (list ? 2 : 1);
        if (n < limit || buf.size() >= (1u << 26)) {
            buf.resize(n);
            return buf;
        }
        buf.assign(buf.size() * 4, '\0');
    }
}

std::vector<std::wstring> SplitNul(const std::string& raw) {
    std::vector<std::wstring> out;
    size_t start = 0;
    while (start < raw.size()) {
        size_t end = raw.find('\0', start);
        if (end == std::string::npos) end = raw.size();
        if (end > start) out.push_back(Text::FromAnsi(std::string_view(raw).substr(start, end - start)));
        start = end + 1;
    }
    return out;
}

bool WriteRaw(const std::wstring& file, const std::wstring& section, const std::wstring* key,
              const std::wstring* value) {
    std::string f = Text::ToAnsi(file), s = Text::ToAnsi(section);
    std::string k = key ? Text::ToAnsi(*key) : std::string(), v = value ? Text::ToAnsi(*value) : std::string();
    return WritePrivateProfileStringA(s.c_str(), key ? k.c_str() : nullptr, value ? v.c_str() : nullptr,
                                      f.c_str()) != 0;
}

}  // namespace

bool SafeValue(const std::wstring& value) { return !HasLineBreak(value); }

bool SafeKey(const std::wstring& key) {
    if (key.empty() || HasLineBreak(key) || key.find(L'=') != std::wstring::npos) return false;
    std::wstring t = Text::Trim(key);
    return !t.empty() && t[0] != L'[' && t[0] != L';';
}

bool SafeSection(const std::wstring& section) {
    return !section.empty() && !HasLineBreak(section) && section.find(L']') == std::wstring::npos;
}

std::wstring Read(const std::wstring& file, const std::wstring& section, const std::wstring& key, bool* found) {
    std::string f = Text::ToAnsi(file), s = Text::ToAnsi(section), k = Text::ToAnsi(key);
    if (found) {
        // A key that is present with an empty value reads as "" under any default;
        // a missing one gives the default back.
        char probe[4];
        const char* marker = "\x01\x02";
        DWORD n = GetPrivateProfileStringA(s.c_str(), k.c_str(), marker, probe, sizeof probe, f.c_str());
        *found = !(n == 2 && probe[0] == '\x01' && probe[1] == '\x02');
    }
    return Text::FromAnsi(ReadRaw(s.c_str(), k.c_str(), f));
}

std::vector<std::wstring> Keys(const std::wstring& file, const std::wstring& section) {
    std::string s = Text::ToAnsi(section);
    return SplitNul(ReadRaw(s.c_str(), nullptr, Text::ToAnsi(file)));
}

std::vector<std::wstring> Sections(const std::wstring& file) { return SplitNul(ReadRaw(nullptr, nullptr, Text::ToAnsi(file))); }

bool Write(const std::wstring& file, const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    if (!SafeSection(section) || !SafeKey(key) || !SafeValue(value)) return false;
    return WriteRaw(file, section, &key, &value);
}

bool DeleteKey(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    if (!SafeSection(section) || !SafeKey(key)) return false;
    return WriteRaw(file, section, &key, nullptr);
}

bool DeleteSection(const std::wstring& file, const std::wstring& section) {
    if (!SafeSection(section)) return false;
    return WriteRaw(file, section, nullptr, nullptr);
}

bool MakeEmptySection(const std::wstring& file, const std::wstring& section) {
    const std::wstring dummy = L"QuorixEmptySectionKey";
    return Write(file, section, dummy, L"1") && DeleteKey(file, section, dummy);
}

}  // namespace Ini
