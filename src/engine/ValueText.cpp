#include "engine/ValueText.h"

#include "engine/General.h"

#include <cstring>

namespace ValueText {
namespace {
using General::HexDigit;

std::wstring_view TrimBlanks(std::wstring_view text) {
    while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
    return text;
}
}  // namespace

std::optional<std::vector<uint8_t>> ParseBinary(std::wstring_view text) {
    text = TrimBlanks(text);
    std::vector<uint8_t> out;
    out.reserve(text.size() / 3 + 1);
    // Pairs start at 0, 3, 6, ...; the character after each pair but the last
    // is its separator.
    for (size_t i = 0; i < text.size(); i += 3) {
        if (i + 1 >= text.size()) return std::nullopt;
        const int hi = HexDigit(text[i]), lo = HexDigit(text[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out.push_back(static_cast<uint8_t>(hi * 16 + lo));
        if (i + 2 < text.size()) {
            const wchar_t sep = text[i + 2];
            if ((sep != L' ' && sep != L',') || i + 3 >= text.size()) return std::nullopt;
        }
    }
    return out;
}

std::optional<uint32_t> ParseDword(std::wstring_view text) {
    text = TrimBlanks(text);
    if (text.size() > 8) return std::nullopt;
    uint32_t v = 0;
    for (wchar_t c : text) {
        const int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        v = v * 16 + static_cast<uint32_t>(d);
    }
    return v;
}

std::wstring BinaryText(const std::vector<uint8_t>& bytes) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring out;
    out.reserve(bytes.size() * 3);
    for (uint8_t b : bytes) {
        if (!out.empty()) out.push_back(L' ');
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

std::wstring DwordText(uint32_t value) {
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring out;
    for (; value != 0; value >>= 4) out.insert(out.begin(), digits[value & 15]);
    return out;
}


std::vector<BYTE> StringBytes(std::wstring_view text) {
    std::vector<BYTE> out((text.size() + 1) * sizeof(wchar_t), 0);
    if (!text.empty()) std::memcpy(out.data(), text.data(), text.size() * sizeof(wchar_t));
    return out;
}

std::wstring StringOfBytes(const std::vector<BYTE>& data) {
    std::wstring s(data.size() / sizeof(wchar_t), L'\0');
    if (!s.empty()) std::memcpy(s.data(), data.data(), s.size() * sizeof(wchar_t));
    if (const size_t nul = s.find(L'\0'); nul != std::wstring::npos) s.resize(nul);
    return s;
}

}  // namespace ValueText
