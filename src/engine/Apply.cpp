#include "engine/Apply.h"

#include "engine/Backup.h"
#include "engine/General.h"
#include "engine/Registry.h"
#include "engine/cRegistry.h"
#include "platform/App.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace Apply {
namespace {

// Backups of tips applied while no category node is selected (possible when
// the list shows a tip data file and there are no categories).
const wchar_t kNoCategorySection[] = L"(未选定类别)";

bool DeleteValue(const std::wstring& keyPath, const std::wstring& valueName) {
    Registry::KeyPathParts parts = Registry::SplitKeyPath(keyPath);
    cRegistry reg;
    reg.ClassKey = parts.root;
    reg.SectionKey = parts.subkey;
    reg.ValueKey = valueName;
    return reg.DeleteValue();
}

// Writes the tip's data by its TypeCode (0..3), or deletes the value.
bool WriteByType(const Tip& tip, long typeCode) {
    if (tip.deleteValue) return DeleteValue(tip.keyPath, tip.valueName);
    switch (static_cast<TypeCode>(typeCode)) {
    case TypeCode::String:
        return Registry::SetStringValue(tip.keyPath, tip.valueName, tip.data);
    case TypeCode::ExpandString: {
        Registry::KeyPathParts parts = Registry::SplitKeyPath(tip.keyPath);
        cRegistry reg;
        reg.ClassKey = parts.root;
        reg.SectionKey = parts.subkey;
        reg.ValueKey = tip.valueName;
        reg.ValueType = REG_EXPAND_SZ;
        return reg.SetValue(RegValue(tip.data));
    }
    case TypeCode::Binary: {
        if (tip.data == TipRow::ZeroLengthBinaryText) return Registry::SetBinaryValue(tip.keyPath, tip.valueName, L"");
        std::optional<std::vector<uint8_t>> bytes = General::HexToBytes(tip.data);
        return bytes && Registry::SetRawValue(tip.keyPath, tip.valueName, REG_BINARY,
                                              std::string_view(reinterpret_cast<const char*>(bytes->data()),
                                                               bytes->size()));
    }
    case TypeCode::Dword: {
        std::optional<uint32_t> n = General::HexToDword(tip.data);
        return n && Registry::SetDwordValue(tip.keyPath, tip.valueName, *n);
    }
    }
    return false;
}

}  // namespace

Tip FromRow(const TipRow::Cells& row) {
    return {row.name, row.keyPath, row.RegistryValueName(), row.dataText, row.TypeCodeNumber(), row.DeletesValue()};
}

Outcome ApplyTip(const Tip& tip, const std::optional<std::wstring>& backupSection) {
    Outcome out;
    // One handle for creating the key, reading the previous value and writing.
    Registry::HeldKey heldKey(tip.keyPath);
    Registry::CreateKeyPath(tip.keyPath);
    std::optional<Backup::Record> previous = Backup::Capture(tip.keyPath, tip.valueName);

    const bool knownType = tip.typeCode && *tip.typeCode >= 0 && *tip.typeCode <= 3;
    if (!tip.typeCode || (knownType && !Registry::SplitKeyPath(tip.keyPath).root))
        out.write = WriteResult::Failed;  // no number for a type, or no registry root to write under
    else if (!knownType)
        out.write = WriteResult::Nothing;
    else
        out.write = WriteByType(tip, *tip.typeCode) ? WriteResult::Done : WriteResult::Failed;

    if (out.write != WriteResult::Done || !backupSection) return out;
    if (!App::FolderExists(Backup::Folder())) return out;  // without a Bak folder backups are off
    const std::wstring section = backupSection->empty() ? std::wstring(kNoCategorySection) : *backupSection;
    if (!previous) {
        out.backup = BackupResult::Lost;
        return out;
    }
    switch (Backup::WriteFirst(Backup::TodayFile(), section, tip.name, *previous)) {
    case Backup::Outcome::Written:
        out.backup = BackupResult::Written;
        break;
    case Backup::Outcome::Kept:
        out.backup = BackupResult::Kept;
        break;
    case Backup::Outcome::Failed:
        out.backup = BackupResult::Lost;
        break;
    }
    return out;
}

}  // namespace Apply
