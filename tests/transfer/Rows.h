#pragma once
// Tip rows as the tip list holds them, built the way the section loader builds
// them from a record.
#include "common/Marks.h"
#include "common/TipFile.h"
#include "common/TipRow.h"
#include "platform/Text.h"

#include <string>

namespace Rows {

// `valueName` empty: the key's default value. `data` Marks::DeleteMark: the tip
// deletes the value.
inline TipRow::Cells Row(const std::wstring& keyPath, const std::wstring& valueName, const std::wstring& type,
                         const std::wstring& data, const std::wstring& name = L"技巧",
                         const std::wstring& description = L"说明", const std::wstring& options = L"") {
    TipFile::TipRecord r{keyPath, valueName, L"修改", data, type, description, L"1"};
    return TipRow::Decode(name, TipFile::EncodeRecord(r), options);
}

inline const std::wstring Delete = Marks::DeleteMark;

// UTF-16LE bytes of a text.
inline std::string Utf16(const std::wstring& w) {
    std::string out;
    for (wchar_t c : w) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    return out;
}

}  // namespace Rows
