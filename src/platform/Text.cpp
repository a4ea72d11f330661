#include "platform/Text.h"

#include <windows.h>

namespace Text {

std::string ToAnsi(std::wstring_view w, bool* lossless) {
    if (lossless) *lossless = true;
    if (w.empty()) return {};
    BOOL usedDefault = FALSE;
    int n = WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0,
                                nullptr, lossless ? &usedDefault : nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr,
                        lossless ? &usedDefault : nullptr);
    if (lossless && usedDefault) *lossless = false;
    return out;
}

std::wstring FromAnsi(std::string_view a) {
    if (a.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, a.data(), static_cast<int>(a.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, a.data(), static_cast<int>(a.size()), out.data(), n);
    return out;
}

bool FitsAnsi(std::wstring_view w) {
    bool ok = true;
    ToAnsi(w, &ok);
    return ok;
}

namespace {
constexpr wchar_t kEscapeBase = 0xDC00;

// Decodes one character starting at bytes[i]; returns the byte count used (1 or 2)
// and the character, or 0 when the bytes form no character of the code page.
int DecodeOne(std::string_view bytes, size_t i, wchar_t& out) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
        out = b;
        return 1;
    }
    int len = IsDBCSLeadByte(b) ? 2 : 1;
    if (len == 2 && i + 1 >= bytes.size()) return 0;
    wchar_t w[2];
    int n = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data() + i, len, w, 2);
    if (n != 1) return 0;
    // The character must encode back to exactly these bytes.
    char back[4];
    BOOL usedDefault = FALSE;
    int m = WideCharToMultiByte(CP_ACP, 0, w, 1, back, 4, nullptr, &usedDefault);
    if (usedDefault || m != len || std::string_view(back, static_cast<size_t>(m)) != bytes.substr(i, len))
        return 0;
    out = w[0];
    return len;
}
}  // namespace

std::wstring TextFromBytes(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        wchar_t w;
        int used = DecodeOne(bytes, i, w);
        if (used == 0) {
            out.push_back(static_cast<wchar_t>(kEscapeBase + static_cast<unsigned char>(bytes[i])));
            i += 1;
        } else {
            out.push_back(w);
            i += static_cast<size_t>(used);
        }
    }
    return out;
}

std::string BytesFromText(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        bool escaped = i < text.size() && text[i] >= kEscapeBase + 0x80 && text[i] <= kEscapeBase + 0xFF;
        if (i == text.size() || escaped) {
            out += ToAnsi(text.substr(start, i - start));
            if (escaped) out.push_back(static_cast<char>(text[i] - kEscapeBase));
            start = i + 1;
        }
    }
    return out;
}

std::wstring Trim(std::wstring_view s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == L' ' || s[b] == L'\t')) ++b;
    while (e > b && (s[e - 1] == L' ' || s[e - 1] == L'\t')) --e;
    return std::wstring(s.substr(b, e - b));
}

std::wstring TrimSpaces(std::wstring_view s) {
    size_t b = s.find_first_not_of(L' ');
    if (b == std::wstring_view::npos) return {};
    return std::wstring(s.substr(b, s.find_last_not_of(L' ') - b + 1));
}

std::wstring UpperCase(std::wstring_view s) {
    std::wstring out(s);
    // ASCII and the scripts without case (the CJK ideographs, kana and
    // punctuation, Hangul syllables) are done here: only ASCII letters change
    // there. Any other text goes to the system's table.
    bool caseless = true;
    for (wchar_t& c : out) {
        if (c < 0x80) {
            if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - 32);
        } else if (!((c >= 0x3000 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7A3))) {
            caseless = false;
            break;
        }
    }
    if (!caseless) {
        out.assign(s);
        CharUpperBuffW(out.data(), static_cast<DWORD>(out.size()));
    }
    return out;
}

bool EqualNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && UpperCase(a) == UpperCase(b);
}

long long LeadingNumber(std::wstring_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == L' ' || s[i] == L'\t')) ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) neg = s[i++] == L'-';
    long long v = 0;
    bool any = false;
    for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i) {
        any = true;
        if (v < 100000000000000000LL) v = v * 10 + (s[i] - L'0');
    }
    if (!any) return 0;
    return neg ? -v : v;
}

std::wstring FromInt(long long n) { return std::to_wstring(n); }

}  // namespace Text
