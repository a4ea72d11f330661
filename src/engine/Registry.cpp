#include "engine/Registry.h"

#include "engine/RegKey.h"
#include "platform/Text.h"

#include <cstring>

namespace Registry {
namespace {
using RegInternal::AnsiBytes;
using RegInternal::Key;

// Subkey and value name in the code page; false when either does not fit.
bool Names(const KeyPathParts& parts, std::wstring_view valueName, std::string& subkey, std::string& name) {
    return AnsiBytes(parts.subkey, subkey) && AnsiBytes(valueName, name);
}

const HeldKey* g_held = nullptr;  // the live HeldKey that holds a key

// A value whole, in one round trip when it fits a first buffer.
LONG QueryValue(HKEY key, const std::string& name, DWORD& type, std::string& data) {
    return RegInternal::QueryWhole(key, name, type, data, 510);
}

// The held handle of root / subkey, or `key` opened with `access`; nullptr
// when it cannot be opened.
HKEY OpenOrHeld(Key& key, HKEY root, const std::string& subkey, REGSAM access) {
    if (HKEY h = HeldHandle(root, subkey)) return h;
    return key.Open(root, subkey, access) == ERROR_SUCCESS ? key.get() : nullptr;
}

// Common steps of the readers: no root gives no value; a key or value that
// cannot be read gives Unreadable; otherwise `read` makes the result.
template <typename Read>
RegValue ReadValue(std::wstring_view keyPath, std::wstring_view valueName, Read read) {
    KeyPathParts parts = SplitKeyPath(keyPath);
    if (!parts.root) return {};
    std::string subkey, name;
    if (!Names(parts, valueName, subkey, name)) return RegValue::Unreadable();
    Key key;
    HKEY h = OpenOrHeld(key, parts.root, subkey, KEY_READ);
    if (!h) return RegValue::Unreadable();
    return read(h, name);
}

// Common steps of the writers: no root writes nothing; otherwise the existing
// key is opened and the value written.
bool WriteValue(std::wstring_view keyPath, std::wstring_view valueName, DWORD type, const std::string* data) {
    KeyPathParts parts = SplitKeyPath(keyPath);
    if (!parts.root) return false;
    std::string subkey, name;
    bool ok = data && Names(parts, valueName, subkey, name);
    if (ok) {
        Key key;
        HKEY h = OpenOrHeld(key, parts.root, subkey, KEY_WRITE);
        ok = h && RegSetValueExA(h, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data->data()),
                                 static_cast<DWORD>(data->size())) == ERROR_SUCCESS;
    }
    return ok;
}

bool WriteText(std::wstring_view keyPath, std::wstring_view valueName, DWORD type, std::wstring_view text) {
    std::string data;
    bool fits = AnsiBytes(text, data);
    data.push_back('\0');
    return WriteValue(keyPath, valueName, type, fits ? &data : nullptr);
}
}  // namespace

HKEY RootKeyFromName(std::wstring_view name) {
    static const struct {
        const wchar_t* name;
        HKEY root;
    } roots[] = {
        {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},         {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},       {L"HKEY_USERS", HKEY_USERS},
        {L"HKEY_PERFORMANCE_DATA", HKEY_PERFORMANCE_DATA}, {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
        {L"HKEY_DYN_DATA", HKEY_DYN_DATA},
    };
    for (const auto& r : roots)
        if (name == r.name) return r.root;
    return nullptr;
}

KeyPathParts SplitKeyPath(std::wstring_view keyPath) {
    if (!keyPath.starts_with(L"HKEY_") || keyPath.ends_with(L'\\')) return {};
    size_t slash = keyPath.find(L'\\');
    std::wstring_view rootName = keyPath.substr(0, slash);
    HKEY root = RootKeyFromName(rootName);
    if (!root) return {};
    return {root, slash == std::wstring_view::npos ? std::wstring() : std::wstring(keyPath.substr(slash + 1))};
}

bool CreateKeyPath(std::wstring_view keyPath) {
    KeyPathParts parts = SplitKeyPath(keyPath);
    std::string subkey;
    if (!parts.root || !AnsiBytes(parts.subkey, subkey)) return false;
    if (HeldHandle(parts.root, subkey)) return true;  // created by the HeldKey
    Key key;
    return key.CreateDefault(parts.root, subkey) == ERROR_SUCCESS;
}

HeldKey::HeldKey(std::wstring_view keyPath) {
    KeyPathParts parts = SplitKeyPath(keyPath);
    if (g_held || !parts.root || parts.subkey.empty() || !AnsiBytes(parts.subkey, subkey_)) return;
    // What every call on the key asks for: KEY_READ, KEY_WRITE and cRegistry's
    // query, set, create-subkey, enumerate, notify and create-link.
    constexpr REGSAM kEveryAccess = KEY_READ | KEY_WRITE | 0x3F;
    HKEY h = nullptr;
    if (RegCreateKeyExA(parts.root, subkey_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, kEveryAccess, nullptr, &h,
                        nullptr) != ERROR_SUCCESS)
        return;
    root_ = parts.root;
    handle_ = h;
    g_held = this;
}

HeldKey::~HeldKey() {
    if (!handle_) return;
    RegCloseKey(handle_);
    g_held = nullptr;
}

HKEY HeldHandle(HKEY root, const std::string& subkey) {
    return g_held && root && g_held->root_ == root && g_held->subkey_ == subkey ? g_held->handle_ : nullptr;
}

RegValue GetStringValue(std::wstring_view keyPath, std::wstring_view valueName) {
    return ReadValue(keyPath, valueName, [](HKEY key, const std::string& name) -> RegValue {
        DWORD type = 0;
        std::string data;
        if (RegInternal::QueryWhole(key, name, type, data) != ERROR_SUCCESS) return RegValue::Unreadable();
        size_t nul = data.find('\0');
        if (nul != std::string::npos) data.resize(nul);
        return Text::FromAnsi(data);
    });
}

RegValue GetBinaryValue(std::wstring_view keyPath, std::wstring_view valueName) {
    return ReadValue(keyPath, valueName, [](HKEY key, const std::string& name) -> RegValue {
        DWORD type = 0;
        std::string data;
        if (RegInternal::QueryWhole(key, name, type, data) != ERROR_SUCCESS) return RegValue::Unreadable();
        return Text::TextFromBytes(data);
    });
}

RegValue GetDwordValue(std::wstring_view keyPath, std::wstring_view valueName) {
    return ReadValue(keyPath, valueName, [](HKEY key, const std::string& name) -> RegValue {
        unsigned char buf[4] = {};
        DWORD size = sizeof buf, type = 0;
        if (RegQueryValueExA(key, name.c_str(), nullptr, &type, buf, &size) != ERROR_SUCCESS)
            return RegValue::Unreadable();
        uint32_t v = buf[0] | (buf[1] << 8) | (buf[2] << 16) | (static_cast<uint32_t>(buf[3]) << 24);
        return static_cast<int32_t>(v);
    });
}

bool GetRawValue(std::wstring_view keyPath, std::wstring_view valueName, DWORD& type, std::string& bytes) {
    KeyPathParts parts = SplitKeyPath(keyPath);
    std::string subkey, name;
    if (!parts.root || !Names(parts, valueName, subkey, name)) return false;
    Key key;
    HKEY h = OpenOrHeld(key, parts.root, subkey, KEY_READ);
    return h && QueryValue(h, name, type, bytes) == ERROR_SUCCESS;
}

bool SetStringValue(std::wstring_view keyPath, std::wstring_view valueName, std::wstring_view data) {
    return WriteText(keyPath, valueName, REG_SZ, data);
}

bool SetExpandStringValue(std::wstring_view keyPath, std::wstring_view valueName, std::wstring_view data) {
    return WriteText(keyPath, valueName, REG_EXPAND_SZ, data);
}

bool SetBinaryValue(std::wstring_view keyPath, std::wstring_view valueName, std::wstring_view data) {
    std::string bytes;
    bool blanksOnly = data.find_first_not_of(L' ') == std::wstring_view::npos;  // zero length
    bool fits = blanksOnly || AnsiBytes(data, bytes);
    return WriteValue(keyPath, valueName, REG_BINARY, fits ? &bytes : nullptr);
}

bool SetDwordValue(std::wstring_view keyPath, std::wstring_view valueName, uint32_t data) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>((data >> (8 * i)) & 0xFF);
    return WriteValue(keyPath, valueName, REG_DWORD, &bytes);
}

bool SetRawValue(std::wstring_view keyPath, std::wstring_view valueName, DWORD type, std::string_view bytes) {
    std::string data(bytes);
    return WriteValue(keyPath, valueName, type, &data);
}

}  // namespace Registry
