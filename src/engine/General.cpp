#include "engine/General.h"

#include "common/Ini.h"
#include "platform/Text.h"

#include <cfloat>
#include <cmath>

namespace General {
int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

namespace {
}  // namespace

std::wstring ReadIni(const std::wstring& section, const std::wstring& key, const std::wstring& file) {
    return Ini::Read(file, section, key);
}


double HexToNum(std::wstring_view hex) {
    double sum = 0, weight = 1;
    for (size_t i = hex.size(); i-- > 0; weight *= 16) {
        int d = HexDigit(hex[i]);
        if (d > 0) sum += d * weight;  // a zero adds nothing (and keeps inf * 0 out)
    }
    // An absurdly long text overflows; keep the result a finite number.
    return std::isfinite(sum) ? sum : DBL_MAX;
}

std::wstring ZeroFill(std::wstring_view count) {
    long long n = Text::LeadingNumber(count);
    if (n < 1) return {};
    return std::wstring(static_cast<size_t>(n > 1024 ? 1024 : n), L'0');
}

std::optional<uint32_t> HexToDword(std::wstring_view text) {
    std::wstring t = Text::Trim(text);
    if (t.empty()) return std::nullopt;
    uint64_t v = 0;
    for (wchar_t c : t) {
        int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        v = v * 16 + static_cast<unsigned>(d);
        if (v > 0xFFFFFFFFull) return std::nullopt;
    }
    return static_cast<uint32_t>(v);
}

std::optional<std::vector<uint8_t>> HexToBytes(std::wstring_view text) {
    std::vector<uint8_t> out;
    size_t i = 0;
    const size_t n = text.size();
    auto blank = [&](size_t k) { return text[k] == L' '; };
    while (i < n && blank(i)) ++i;
    while (i < n) {
        if (i + 1 >= n) return std::nullopt;
        int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out.push_back(static_cast<uint8_t>(hi * 16 + lo));
        i += 2;
        if (i < n && !blank(i)) return std::nullopt;  // a group is exactly two digits
        while (i < n && blank(i)) ++i;
    }
    return out;
}

std::wstring BytesToHex(std::string_view bytes) {
    static const wchar_t digits[] = L"0123456789ABCDEF";
    std::wstring out;
    out.reserve(bytes.size() * 3);
    for (unsigned char b : bytes) {
        if (!out.empty()) out.push_back(L' ');
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

std::wstring BytesToHex(const std::vector<uint8_t>& bytes) {
    return BytesToHex(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace General
