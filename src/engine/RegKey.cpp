#include "engine/RegKey.h"

#include "platform/Text.h"

namespace RegInternal {
namespace {
bool IsPredefined(HKEY h) {
    auto v = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(h));
    return v >= 0x80000000u && v <= 0x80000006u;
}
}  // namespace

LONG Key::Open(HKEY root, const std::string& subkey, REGSAM access) {
    Close();
    if (!root) return ERROR_INVALID_HANDLE;
    HKEY h = nullptr;
    LONG r = RegOpenKeyExA(root, subkey.c_str(), 0, access, &h);
    if (r == ERROR_SUCCESS) h_ = h;
    return r;
}

LONG Key::Create(HKEY root, const std::string& subkey, REGSAM access) {
    Close();
    if (!root) return ERROR_INVALID_HANDLE;
    HKEY h = nullptr;
    LONG r = RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &h,
                             nullptr);
    if (r == ERROR_SUCCESS) h_ = h;
    return r;
}

LONG Key::CreateDefault(HKEY root, const std::string& subkey) {
    Close();
    if (!root) return ERROR_INVALID_HANDLE;
    HKEY h = nullptr;
    LONG r = RegCreateKeyA(root, subkey.c_str(), &h);
    if (r == ERROR_SUCCESS) h_ = h;
    return r;
}

void Key::Close() {
    if (h_ && !IsPredefined(h_)) RegCloseKey(h_);
    h_ = nullptr;
}

bool AnsiBytes(std::wstring_view text, std::string& out) {
    // Undecodable bytes travel as U+DC80..U+DCFF (see Text::TextFromBytes).
    std::string bytes;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        bool escaped = i < text.size() && text[i] >= 0xDC80 && text[i] <= 0xDCFF;
        if (i == text.size() || escaped) {
            bool ok = true;
            bytes += Text::ToAnsi(text.substr(start, i - start), &ok);
            if (!ok) return false;
            if (escaped) bytes.push_back(static_cast<char>(text[i] - 0xDC00));
            start = i + 1;
        }
    }
    out = std::move(bytes);
    return true;
}

LONG QueryWhole(HKEY key, const std::string& valueName, DWORD& type, std::string& data, DWORD firstTry) {
    DWORD t = 0, size = firstTry;
    LONG r = ERROR_MORE_DATA;
    if (size == 0) {
        r = RegQueryValueExA(key, valueName.c_str(), nullptr, &t, nullptr, &size);
        if (r != ERROR_SUCCESS && r != ERROR_MORE_DATA) return r;
    }
    // The value may grow between the two calls: ask again until it fits.
    for (int attempt = 0; attempt < 8; ++attempt) {
        std::string buf(size + 2, '\0');
        DWORD got = static_cast<DWORD>(buf.size());
        r = RegQueryValueExA(key, valueName.c_str(), nullptr, &t, reinterpret_cast<BYTE*>(buf.data()), &got);
        if (r == ERROR_SUCCESS) {
            buf.resize(got);
            type = t;
            data = std::move(buf);
            return r;
        }
        if (r != ERROR_MORE_DATA) return r;
        size = got > size ? got : size * 2 + 16;
    }
    return r;
}

}  // namespace RegInternal
