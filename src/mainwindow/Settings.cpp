#include "mainwindow/Settings.h"

#include "common/Ini.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <charconv>
#include <cmath>

namespace Settings {

std::wstring Path() { return App::PathSlash() + L"config.ini"; }

bool FileExists() {
    // Any attribute (normal, read-only, hidden or system) counts.
    DWORD a = GetFileAttributesA(Text::ToAnsi(Path()).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring Read(const std::wstring& key, const std::wstring& section) { return Ini::Read(Path(), section, key); }

bool IsEmpty(const std::wstring& key) { return Text::Trim(Read(key)).empty(); }

double ParseNumber(std::wstring_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == L' ' || s[i] == L'\t')) ++i;
    std::string digits;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) digits += static_cast<char>(s[i++]);
    bool any = false;
    for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i, any = true) digits += static_cast<char>(s[i]);
    if (i < s.size() && s[i] == L'.') {
        digits += '.';
        for (++i; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i, any = true) digits += static_cast<char>(s[i]);
    }
    if (!any) return 0;
    double v = std::strtod(digits.c_str(), nullptr);
    return std::isfinite(v) ? v : 0;
}

double Number(const std::wstring& key) { return ParseNumber(Read(key)); }

long long Whole(const std::wstring& key) {
    double v = std::nearbyint(Number(key));  // the default rounding mode sends halves to even
    if (v > 9.0e18 || v < -9.0e18) return 0;
    return static_cast<long long>(v);
}

bool OnWhenPositive(const std::wstring& key) { return Number(key) > 0; }
bool OnWhenNonzero(const std::wstring& key) { return Number(key) != 0; }
bool OnWhenOneOrEmpty(const std::wstring& key) { return IsEmpty(key) || Number(key) == 1; }

bool Write(const std::wstring& key, const std::wstring& value, const std::wstring& section) {
    return Ini::Write(Path(), section, key, value);
}
bool WriteInt(const std::wstring& key, long long value) { return Write(key, std::to_wstring(value)); }
bool WriteMeasure(const std::wstring& key, double twips) { return Write(key, Measure(twips)); }

std::wstring Measure(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof(buf), static_cast<float>(v), std::chars_format::fixed);
    if (r.ec != std::errc()) return L"0";
    return std::wstring(buf, r.ptr);
}

}  // namespace Settings
