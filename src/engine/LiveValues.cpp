#include "engine/LiveValues.h"

#include "engine/ValueText.h"

#include "platform/Text.h"

#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <cwchar>

namespace LiveValues {
namespace {

// A key opened with the W functions, closed when it goes. An empty subkey
// hands back the root itself, which is not closed.
class WKey {
public:
    WKey() = default;
    WKey(const WKey&) = delete;
    WKey& operator=(const WKey&) = delete;
    ~WKey() {
        if (h_ && h_ != root_) RegCloseKey(h_);
    }
    LONG Open(HKEY root, const std::wstring& subKey, REGSAM access) {
        if (!root) return ERROR_INVALID_HANDLE;
        root_ = root;
        return RegOpenKeyExW(root, subKey.c_str(), 0, access, &h_);
    }
    LONG Create(HKEY root, const std::wstring& subKey, REGSAM access) {
        if (!root) return ERROR_INVALID_HANDLE;
        root_ = root;
        return RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, access, nullptr, &h_, nullptr);
    }
    HKEY get() const { return h_; }

private:
    HKEY root_ = nullptr;
    HKEY h_ = nullptr;
};

std::wstring Expanded(const std::wstring& s) {
    DWORD need = ExpandEnvironmentStringsW(s.c_str(), nullptr, 0);
    if (need == 0) return s;
    std::wstring out(need, L'\0');
    DWORD got = ExpandEnvironmentStringsW(s.c_str(), out.data(), need);
    if (got == 0 || got > need) return s;
    out.resize(got - 1);
    return out;
}

std::wstring Quoted(const std::wstring& s) { return L"\"" + s + L"\""; }

// The first 255 bytes as the data box shows them.
std::wstring HexPairs(const std::vector<BYTE>& data) {
    if (data.empty()) return kEmptyBinary;
    const size_t n = std::min<size_t>(data.size(), 255);
    return ValueText::BinaryText({data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n)});
}

uint64_t LittleEndian(const std::vector<BYTE>& data, size_t width) {
    uint64_t v = 0;
    for (size_t i = 0; i < width && i < data.size(); ++i) v |= uint64_t(data[i]) << (8 * i);
    return v;
}

std::wstring MultiStrings(const std::vector<BYTE>& data) {
    const size_t chars = data.size() / sizeof(wchar_t);
    std::wstring all(chars, L'\0');
    if (chars) std::memcpy(all.data(), data.data(), chars * sizeof(wchar_t));
    // The list ends at the first empty string (the double null).
    std::wstring out;
    size_t at = 0;
    while (at < all.size()) {
        size_t end = all.find(L'\0', at);
        if (end == std::wstring::npos) end = all.size();
        if (end == at) break;
        if (!out.empty()) out += L' ';
        out += Quoted(all.substr(at, end - at));
        at = end + 1;
    }
    return out;
}

}  // namespace

bool Read(HKEY root, const std::wstring& subKey, std::vector<LiveValue>& out) {
    out.clear();
    WKey key;
    if (key.Open(root, subKey, KEY_QUERY_VALUE) != ERROR_SUCCESS) return false;
    DWORD count = 0, maxName = 0, maxData = 0;
    if (RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxName, &maxData,
                         nullptr, nullptr) != ERROR_SUCCESS) {
        count = 0;
        maxName = 256;
        maxData = 4096;
    }
    std::vector<wchar_t> name(maxName + 2);
    std::vector<BYTE> data(maxData + 2);
    out.reserve(count);
    for (DWORD index = 0;;) {
        DWORD nameLen = static_cast<DWORD>(name.size());
        DWORD dataLen = static_cast<DWORD>(data.size());
        DWORD type = REG_NONE;
        LONG r = RegEnumValueW(key.get(), index, name.data(), &nameLen, nullptr, &type, data.data(), &dataLen);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r == ERROR_MORE_DATA) {
            // A value grew since the count was taken, or the name did not fit.
            if (dataLen > data.size()) data.resize(dataLen + 2);
            else data.resize(data.size() * 2);
            if (name.size() < 32768) name.resize(name.size() * 2 > 32768 ? 32768 : name.size() * 2);
            continue;
        }
        if (r != ERROR_SUCCESS) {
            ++index;
            continue;
        }
        LiveValue v;
        v.name.assign(name.data(), nameLen);
        v.type = type;
        v.data.assign(data.begin(), data.begin() + dataLen);
        out.push_back(std::move(v));
        ++index;
    }
    return true;
}

std::wstring TypeKind(DWORD type) {
    switch (type) {
    case REG_SZ: return kString;
    case REG_EXPAND_SZ: return kExpandString;
    case REG_BINARY: return kBinary;
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN: return kDword;
    case REG_MULTI_SZ: return kMultiString;
    case REG_QWORD: return kQword;
    default: return kOther;
    }
}

std::wstring Kind(const LiveValue& v) {
    if (v.unsetDefault) return kUnsetDefault;
    if (v.name.empty()) return kDefault;
    return TypeKind(v.type);
}

int Icon(const LiveValue& v) {
    if (v.unsetDefault) return 4;
    switch (v.type) {
    case REG_SZ:
    case REG_MULTI_SZ: return 4;
    case REG_EXPAND_SZ: return 7;
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN:
    case REG_QWORD: return 6;
    default: return 5;
    }
}

std::wstring Display(const LiveValue& v) {
    if (v.unsetDefault) return kUnsetData;
    wchar_t buf[64];
    switch (v.type) {
    case REG_SZ: return Quoted(Text::TrimSpaces(ValueText::StringOfBytes(v.data)));
    case REG_EXPAND_SZ: return Quoted(Text::TrimSpaces(Expanded(ValueText::StringOfBytes(v.data))));
    case REG_MULTI_SZ: return MultiStrings(v.data);
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN: {
        uint32_t n = static_cast<uint32_t>(LittleEndian(v.data, 4));
        if (v.type == REG_DWORD_BIG_ENDIAN)
            n = (n >> 24) | ((n >> 8) & 0xFF00u) | ((n << 8) & 0xFF0000u) | (n << 24);
        swprintf(buf, 64, L"0x%08x (%u)", n, n);
        return buf;
    }
    case REG_QWORD: {
        unsigned long long n = LittleEndian(v.data, 8);
        swprintf(buf, 64, L"0x%016llx (%llu)", n, n);
        return buf;
    }
    default: return HexPairs(v.data);
    }
}

std::wstring NameText(const LiveValue& v) { return v.name.empty() ? std::wstring(kDefaultName) : v.name; }

LONG Write(HKEY root, const std::wstring& subKey, const LiveValue& v) {
    WKey key;
    LONG r = key.Create(root, subKey, KEY_SET_VALUE);
    if (r != ERROR_SUCCESS) return r;
    static const BYTE none = 0;
    return RegSetValueExW(key.get(), v.name.c_str(), 0, v.type, v.data.empty() ? &none : v.data.data(),
                          static_cast<DWORD>(v.data.size()));
}

LONG Remove(HKEY root, const std::wstring& subKey, const std::wstring& name) {
    WKey key;
    LONG r = key.Open(root, subKey, KEY_SET_VALUE);
    if (r != ERROR_SUCCESS) return r;
    return RegDeleteValueW(key.get(), name.c_str());
}

LONG ReadOne(HKEY root, const std::wstring& subKey, const std::wstring& name, LiveValue& out) {
    WKey key;
    LONG r = key.Open(root, subKey, KEY_QUERY_VALUE);
    if (r != ERROR_SUCCESS) return r;
    DWORD type = REG_NONE, size = 0;
    r = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size);
    std::vector<BYTE> data;
    while (r == ERROR_SUCCESS || r == ERROR_MORE_DATA) {
        // Asked again with room for what the value holds now (it may have grown).
        data.resize(size + 2);
        size = static_cast<DWORD>(data.size());
        r = RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data.data(), &size);
        if (r == ERROR_SUCCESS) break;
    }
    if (r != ERROR_SUCCESS) return r;
    data.resize(size);
    out.name = name;
    out.type = type;
    out.data = std::move(data);
    out.unsetDefault = false;
    return ERROR_SUCCESS;
}

}  // namespace LiveValues
