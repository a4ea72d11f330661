#include "engine/Backup.h"

#include "common/Ini.h"
#include "common/Marks.h"
#include "common/TipFile.h"
#include "engine/General.h"
#include "engine/Registry.h"
#include "engine/cRegistry.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace Backup {
namespace {

// A type field as the writer makes it: decimal digits, no sign, no blank, no
// leading zero, within 32 bits.
std::optional<DWORD> TypeNumber(const std::wstring& field) {
    if (field.empty() || field.size() > 10 || (field.size() > 1 && field[0] == L'0')) return std::nullopt;
    uint64_t n = 0;
    for (wchar_t c : field) {
        if (c < L'0' || c > L'9') return std::nullopt;
        n = n * 10 + static_cast<uint64_t>(c - L'0');
    }
    if (n > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<DWORD>(n);
}

// Decimal DWORD data: an optional minus sign and digits, -2147483648 to 4294967295.
std::optional<uint32_t> DecimalDword(const std::wstring& text) {
    std::wstring t = Text::Trim(text);
    bool negative = !t.empty() && t[0] == L'-';
    if (negative) t.erase(0, 1);
    if (t.empty() || t.size() > 10) return std::nullopt;
    int64_t n = 0;
    for (wchar_t c : t) {
        if (c < L'0' || c > L'9') return std::nullopt;
        n = n * 10 + (c - L'0');
    }
    if (negative) n = -n;
    if (n < INT32_MIN || n > static_cast<int64_t>(UINT32_MAX)) return std::nullopt;
    return static_cast<uint32_t>(n);
}

bool WriteBytes(const Record& r, DWORD type) {
    std::optional<std::vector<uint8_t>> bytes = General::HexToBytes(r.data);
    if (!bytes) return false;
    return Registry::SetRawValue(r.keyPath, r.valueName, type,
                                 std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

bool DeleteOrAbsent(const Record& r) {
    Registry::KeyPathParts parts = Registry::SplitKeyPath(r.keyPath);
    if (!parts.root) return false;
    cRegistry reg;
    reg.ClassKey = parts.root;
    reg.SectionKey = parts.subkey;
    reg.ValueKey = r.valueName;
    if (reg.DeleteValue()) return true;
    // Nothing to delete is the recorded state too, as long as the key is there.
    DWORD type = 0;
    std::string bytes;
    return reg.KeyExists() && !Registry::GetRawValue(r.keyPath, r.valueName, type, bytes);
}

// Registry key paths and value names match without regard to case.
bool SameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

}  // namespace

std::wstring Folder() { return App::PathSlash() + L"Bak\\"; }
std::wstring DayFile(const std::wstring& date) { return Folder() + date + L".bak"; }
std::wstring TodayFile() { return DayFile(App::DateText()); }

std::wstring Join(const Record& r) {
    return r.keyPath + Marks::FieldMark + r.valueName + Marks::FieldMark + r.data + Marks::FieldMark + r.type;
}

std::optional<Record> Split(const std::wstring& value) {
    size_t p1 = value.find(Marks::FieldMarkChar);
    if (p1 == std::wstring::npos) return std::nullopt;
    size_t p2 = value.find(Marks::FieldMarkChar, p1 + 1);
    if (p2 == std::wstring::npos) return std::nullopt;
    size_t p3 = value.rfind(Marks::FieldMarkChar);
    if (p3 == p2) return std::nullopt;
    Record r;
    r.keyPath = value.substr(0, p1);
    r.valueName = value.substr(p1 + 1, p2 - p1 - 1);
    r.data = value.substr(p2 + 1, p3 - p2 - 1);
    r.type = value.substr(p3 + 1);
    return r;
}

std::optional<Record> Capture(const std::wstring& keyPath, const std::wstring& valueName) {
    Record r{keyPath, valueName, Marks::DeleteMark, L"0"};
    DWORD type = 0;
    std::string bytes;
    if (!Registry::GetRawValue(keyPath, valueName, type, bytes)) return r;  // no such value
    r.type = Text::FromInt(type);
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        size_t nul = bytes.find('\0');
        if (nul != std::string::npos) bytes.resize(nul);
        r.data = Text::TextFromBytes(bytes);
        break;
    }
    case REG_DWORD: {
        if (bytes.size() != 4) return std::nullopt;
        uint32_t v = static_cast<uint8_t>(bytes[0]) | (static_cast<uint8_t>(bytes[1]) << 8) |
                     (static_cast<uint8_t>(bytes[2]) << 16) | (static_cast<uint32_t>(static_cast<uint8_t>(bytes[3])) << 24);
        r.data = Text::FromInt(static_cast<int32_t>(v));
        break;
    }
    default:  // REG_BINARY and every other type, REG_NONE included: the bytes
        r.data = General::BytesToHex(std::string_view(bytes));
        break;
    }
    return r;
}

std::wstring DerivedKey(const std::wstring& tipName, int n) {
    return n <= 1 ? tipName : tipName + L" (" + Text::FromInt(n) + L")";
}

Outcome WriteFirst(const std::wstring& file, const std::wstring& section, const std::wstring& tipName,
                   const Record& r) {
    const std::wstring value = Join(r);
    for (int n = 1; n <= kMaxSameNamed; ++n) {
        const std::wstring key = DerivedKey(tipName, n);
        bool found = false;
        const std::wstring existing = Ini::Find(file, section, key, &found);
        if (!found) return Ini::Write(file, section, key, value) ? Outcome::Written : Outcome::Failed;
        // The same value recorded before (under the name or a derived key):
        // the first record of the day stays.
        std::optional<Record> earlier = Split(existing);
        if (earlier && SameName(earlier->keyPath, r.keyPath) && SameName(earlier->valueName, r.valueName))
            return Outcome::Kept;
    }
    return Outcome::Failed;
}

bool Restore(const Record& r) {
    std::optional<DWORD> type = TypeNumber(r.type);
    if (!type || r.data == Marks::ReadErrorMark) return false;
    if (!Registry::SplitKeyPath(r.keyPath).root) return false;
    Registry::CreateKeyPath(r.keyPath);
    switch (*type) {
    case REG_NONE:
        if (r.data == Marks::DeleteMark) return DeleteOrAbsent(r);
        return WriteBytes(r, REG_NONE);
    case REG_SZ:
        return Registry::SetStringValue(r.keyPath, r.valueName, r.data);
    case REG_EXPAND_SZ:
        return Registry::SetExpandStringValue(r.keyPath, r.valueName, r.data);
    case REG_BINARY:
        if (Text::Trim(r.data).empty()) return Registry::SetBinaryValue(r.keyPath, r.valueName, L"");
        return WriteBytes(r, REG_BINARY);
    case REG_DWORD: {
        std::optional<uint32_t> n = DecimalDword(r.data);
        return n && Registry::SetDwordValue(r.keyPath, r.valueName, *n);
    }
    default:
        // Older files recorded other types without their data: nothing to write back.
        if (Text::Trim(r.data).empty()) return false;
        return WriteBytes(r, *type);
    }
}

DayCounts RestoreDay(const std::wstring& file, const RestoreProgress& progress) {
    DayCounts counts;
    const DWORD attributes = GetFileAttributesA(Text::ToAnsi(file).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        counts.missing = true;
        return counts;
    }
    // The system reads a file it cannot open as an empty one.
    if (!Ini::Readable(file)) {
        counts.unreadable = true;
        return counts;
    }
    // Every section is read whole, in one call each, before anything is
    // written back: the keys with their values as single reads give them.
    std::vector<std::vector<std::pair<std::wstring, std::wstring>>> sections;
    size_t total = 0;
    for (const std::wstring& section : Ini::Sections(file)) {
        sections.push_back(TipFile::ReadSection(file, section));
        total += sections.back().size();
    }
    // The records of one key are written back together through one held key
    // handle: grouped by key (a stable sort, so that of two records of one
    // value the later one is still written last).
    struct Item {
        std::wstring key;  // the key path, upper case
        std::optional<Record> record;
    };
    std::vector<Item> items;
    items.reserve(total);
    for (auto& section : sections) {
        for (auto& entry : section) {
            std::optional<Record> r = Split(entry.second);
            std::wstring key = r ? Text::UpperCase(r->keyPath) : std::wstring();
            items.push_back({std::move(key), std::move(r)});
        }
        section.clear();
        section.shrink_to_fit();
    }
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.key < b.key; });
    const int all = static_cast<int>(total);
    int done = 0;
    std::optional<Registry::HeldKey> held;
    const std::wstring* heldFor = nullptr;
    for (const Item& item : items) {
        const std::optional<Record>& r = item.record;
        // A key is opened (and made) only for a record that will be written.
        if (r && (!heldFor || *heldFor != item.key) && TypeNumber(r->type) && r->data != Marks::ReadErrorMark) {
            held.reset();
            held.emplace(r->keyPath);
            heldFor = &item.key;
        }
        if (r && Restore(*r)) ++counts.restored;
        else ++counts.notRestored;
        if (progress && (++done & 255) == 0) progress(done, all);
    }
    held.reset();
    if (progress) progress(all, all);
    return counts;
}

}  // namespace Backup
