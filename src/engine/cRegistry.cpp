#include "engine/cRegistry.h"

#include "engine/RegKey.h"
#include "engine/Registry.h"
#include "platform/App.h"
#include "platform/Text.h"

namespace {
using RegInternal::AnsiBytes;
using RegInternal::Key;

// Query and set values, create and enumerate subkeys, notify, create links.
constexpr REGSAM kFullAccess = 0x3F;

int32_t LittleEndian(const std::string& data) {
    uint32_t v = 0;
    for (size_t i = 0; i < 4 && i < data.size(); ++i) v |= static_cast<uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
    return static_cast<int32_t>(v);
}
}  // namespace

bool cRegistry::IsExpandable(std::wstring_view text) {
    size_t first = text.find(L'%');
    return first != std::wstring_view::npos && first + 2 < text.size() &&
           text.find(L'%', first + 2) != std::wstring_view::npos;
}

int32_t cRegistry::SwapEndian(int32_t v) {
    auto u = static_cast<uint32_t>(v);
    return static_cast<int32_t>((u >> 24) | ((u >> 8) & 0xFF00u) | ((u << 8) & 0xFF0000u) | (u << 24));
}

std::string cRegistry::ExpandEnvStr(const std::string& text) {
    DWORD need = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    for (int attempt = 0; attempt < 4 && need > 0; ++attempt) {
        std::string buf(need + 1, '\0');
        DWORD got = ExpandEnvironmentStringsA(text.c_str(), buf.data(), static_cast<DWORD>(buf.size()));
        if (got == 0) break;
        if (got <= buf.size()) {
            buf.resize(std::char_traits<char>::length(buf.c_str()));
            return buf;
        }
        need = got;
    }
    return text;  // cannot expand: the text as stored
}

void cRegistry::Fail(int32_t number, const std::wstring& description) {
    lastError_ = {number, App::ExeName() + L".cRegistry", description};
}

bool cRegistry::KeyExists() const {
    std::string subkey;
    Key key;
    return AnsiBytes(SectionKey, subkey) && key.Open(ClassKey, subkey, KEY_QUERY_VALUE) == ERROR_SUCCESS;
}

bool cRegistry::CreateKey() {
    std::string subkey;
    Key key;
    if (AnsiBytes(SectionKey, subkey) && key.Create(ClassKey, subkey, kFullAccess) == ERROR_SUCCESS) {
        lastError_ = {};
        return true;
    }
    Fail(kKeyError, L"Failed to create registry Key: '" + SectionKey);
    return false;
}

bool cRegistry::DeleteKey() {
    std::string subkey;
    // An empty subkey would name the root itself: never deleted.
    if (ClassKey && !SectionKey.empty() && AnsiBytes(SectionKey, subkey) &&
        RegDeleteKeyA(ClassKey, subkey.c_str()) == ERROR_SUCCESS) {
        lastError_ = {};
        return true;
    }
    auto root = static_cast<int32_t>(reinterpret_cast<intptr_t>(ClassKey));
    Fail(kKeyError, L"Failed to delete registry Key: '" + std::to_wstring(root) + L"',Section: '" + SectionKey);
    return false;
}

bool cRegistry::DeleteValue() {
    std::string subkey, name;
    bool ok = AnsiBytes(SectionKey, subkey) && AnsiBytes(ValueKey, name);
    if (ok) {
        Key key;
        HKEY h = Registry::HeldHandle(ClassKey, subkey);
        if (!h && key.Open(ClassKey, subkey, kFullAccess) == ERROR_SUCCESS) h = key.get();
        ok = h && RegDeleteValueA(h, name.c_str()) == ERROR_SUCCESS;
    }
    return ok;
}

RegValue cRegistry::Value() {
    std::string subkey, name;
    if (!AnsiBytes(SectionKey, subkey) || !AnsiBytes(ValueKey, name)) return Default;
    Key key;
    if (key.Open(ClassKey, subkey, KEY_QUERY_VALUE) != ERROR_SUCCESS) return Default;
    DWORD type = 0;
    std::string data;
    if (RegInternal::QueryWhole(key.get(), name, type, data) != ERROR_SUCCESS) return Default;

    RegValue result;
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ:
        if (!data.empty() && data.back() == '\0') data.pop_back();
        if (type == REG_EXPAND_SZ) data = ExpandEnvStr(data);
        result = Text::FromAnsi(data);
        break;
    case REG_DWORD:
        result = LittleEndian(data);
        break;
    case REG_DWORD_BIG_ENDIAN:
        result = SwapEndian(LittleEndian(data));
        break;
    default: {
        std::vector<uint8_t> bytes(data.begin(), data.end());
        bytes.push_back(0);  // the trailing element callers drop
        result = std::move(bytes);
        break;
    }
    }
    ValueType = type;
    return result;
}

bool cRegistry::SetValue(const RegValue& value) {
    std::string subkey, name, data;
    DWORD type = 0;
    bool ok = AnsiBytes(SectionKey, subkey) && AnsiBytes(ValueKey, name);
    if (ok) {
        switch (ValueType) {
        case REG_SZ:
        case REG_EXPAND_SZ: {
            // A read error is no data to write.
            ok = (value.IsText() || value.IsNumber() || value.IsEmpty()) && !value.IsReadError();
            std::wstring text = value.ToText();
            ok = ok && AnsiBytes(text, data);
            data.push_back('\0');
            type = IsExpandable(text) ? REG_EXPAND_SZ : REG_SZ;
            break;
        }
        case REG_BINARY:
            ok = value.IsBytes() && value.Bytes().size() >= 2;
            if (ok) data.assign(value.Bytes().begin(), value.Bytes().end() - 2);
            type = REG_BINARY;
            break;
        case REG_DWORD:
        case REG_DWORD_BIG_ENDIAN: {
            ok = value.IsNumber();
            auto v = static_cast<uint32_t>(value.Number());
            for (int i = 0; i < 4; ++i) data.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
            type = REG_DWORD;
            break;
        }
        default:
            ok = false;
            break;
        }
    }
    if (ok) {
        Key key;
        HKEY h = Registry::HeldHandle(ClassKey, subkey);
        if (!h && key.Create(ClassKey, subkey, kFullAccess) == ERROR_SUCCESS) h = key.get();
        ok = h && RegSetValueExA(h, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
    }
    return ok;
}

namespace {
// Lists names by index with `enumerate` (RegEnumValueA or RegEnumKeyExA shape)
// until it reports no more; a name longer than the buffer grows it.
template <typename Enumerate>
void ListNames(HKEY key, size_t firstSize, size_t limit, Enumerate enumerate, std::vector<std::wstring>& names) {
    std::string buf(firstSize, '\0');
    for (DWORD index = 0;;) {
        DWORD len = static_cast<DWORD>(buf.size());
        LONG r = enumerate(key, index, buf.data(), &len);
        if (r == ERROR_MORE_DATA && buf.size() < limit) {
            buf.assign(buf.size() * 2, '\0');
            continue;
        }
        if (r != ERROR_SUCCESS) break;
        names.push_back(Text::FromAnsi(std::string_view(buf.data(), len)));
        ++index;
    }
}
}  // namespace

bool cRegistry::EnumerateValues(std::vector<std::wstring>& names, bool* opened) const {
    names.clear();
    if (opened) *opened = false;
    std::string subkey;
    Key key;
    if (!AnsiBytes(SectionKey, subkey) || key.Open(ClassKey, subkey, KEY_QUERY_VALUE) != ERROR_SUCCESS) return true;
    if (opened) *opened = true;
    DWORD longest = 0;
    if (RegQueryInfoKeyA(key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longest, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS)
        return true;  // opened, but nothing can be listed
    // The reported length may count characters rather than bytes: grow on demand.
    ListNames(key.get(), longest + 1 > 256 ? longest + 1 : 256, 1u << 20,
              [](HKEY k, DWORD i, char* name, DWORD* len) {
                  return RegEnumValueA(k, i, name, len, nullptr, nullptr, nullptr, nullptr);
              },
              names);
    return true;
}

bool cRegistry::EnumerateSections(std::vector<std::wstring>& names, bool* opened) const {
    names.clear();
    if (opened) *opened = false;
    std::string subkey;
    Key key;
    if (!AnsiBytes(SectionKey, subkey) || key.Open(ClassKey, subkey, KEY_ENUMERATE_SUB_KEYS) != ERROR_SUCCESS)
        return true;
    if (opened) *opened = true;
    ListNames(key.get(), 256, 1u << 16,
              [](HKEY k, DWORD i, char* name, DWORD* len) {
                  return RegEnumKeyExA(k, i, name, len, nullptr, nullptr, nullptr, nullptr);
              },
              names);
    return true;
}

void cRegistry::SetClassesValue(const std::wstring& text) {
    const HKEY savedRoot = ClassKey;
    const std::wstring savedSection = SectionKey;
    ClassKey = HKEY_CLASSES_ROOT;
    SetValue(text);
    ClassKey = HKEY_LOCAL_MACHINE;
    SectionKey = L"SOFTWARE\\Classes\\" + savedSection;
    SetValue(text);
    ClassKey = savedRoot;
    SectionKey = savedSection;
}

void cRegistry::CreateEXEAssociation(const ExeAssociation& a) {
    std::wstring exe = Text::Trim(a.exePath);
    if (exe.empty() || exe.front() != L'"') exe.insert(exe.begin(), L'"');
    if (exe.size() < 2 || exe.back() != L'"') exe.push_back(L'"');
    const std::wstring savedSection = SectionKey, savedName = ValueKey;
    const DWORD savedType = ValueType;
    ValueType = REG_SZ;
    ValueKey.clear();
    auto put = [&](const std::wstring& section, const std::wstring& text) {
        SectionKey = section;
        SetClassesValue(text);
    };
    auto orDefault = [](const std::wstring& s, const std::wstring& d) { return s.empty() ? d : s; };
    const std::wstring& cls = a.className;
    put(L"." + a.association, cls);
    put(cls, a.classDescription);
    put(cls + L"\\shell\\open", orDefault(a.openMenuText, L"&Open"));
    put(cls + L"\\shell\\open\\command", exe + L" \"%1\"");
    if (a.supportPrint) {
        put(cls + L"\\shell\\print", orDefault(a.printMenuText, L"&Print"));
        put(cls + L"\\shell\\print\\command", exe + L" /p \"%1\"");
    }
    if (a.supportInstall) {
        put(cls + L"\\shell\\add", orDefault(a.installMenuText, L"&Install " + a.association));
        put(cls + L"\\shell\\add\\command", exe + L" /a \"%1\"");
    }
    if (a.supportNew) {
        put(cls + L"\\shell\\new", orDefault(a.newMenuText, L"&New"));
        put(cls + L"\\shell\\new\\command", exe + L" /n \"%1\"");
    }
    if (a.defaultIconIndex >= 0) put(cls + L"\\DefaultIcon", exe + L"," + std::to_wstring(a.defaultIconIndex));
    SectionKey = savedSection;
    ValueKey = savedName;
    ValueType = savedType;
}

void cRegistry::CreateAdditionalEXEAssociations(const std::wstring& className,
                                                const std::vector<std::wstring>& items) {
    if (items.size() % 3 != 0) {
        Fail(kBadParameterList,
             L"Invalid parameter list passed to CreateAdditionalEXEAssociations - expected Name/Text/Command");
        return;
    }
    const HKEY savedRoot = ClassKey;
    const std::wstring savedSection = SectionKey, savedName = ValueKey;
    const DWORD savedType = ValueType;
    ClassKey = HKEY_CLASSES_ROOT;
    SectionKey = className;
    if (!KeyExists()) {
        Fail(kClassNotDefined, L"Error - attempt to create additional associations before class defined.");
    } else {
        lastError_ = {};
        ValueType = REG_SZ;
        ValueKey.clear();
        for (size_t i = 0; i < items.size(); i += 3) {
            SectionKey = className + L"\\shell\\" + items[i];
            SetClassesValue(items[i + 1]);
            SectionKey += L"\\command";
            SetClassesValue(items[i + 2]);
        }
    }
    ClassKey = savedRoot;
    SectionKey = savedSection;
    ValueKey = savedName;
    ValueType = savedType;
}
