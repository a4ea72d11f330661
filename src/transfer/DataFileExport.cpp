#include "transfer/DataFileExport.h"

#include "common/Ini.h"
#include "common/TipFile.h"
#include "platform/Text.h"
#include "transfer/ExportFile.h"

#include <unordered_map>

namespace DataFileExport {

std::vector<std::wstring> OptionLists(const std::wstring& file, const std::wstring& section,
                                      const std::vector<TipRow::Cells>& rows) {
    std::unordered_map<std::wstring, std::wstring> byName;
    for (auto& [key, value] : TipFile::ReadSection(file, TipFile::MirrorOf(section)))
        byName.emplace(Text::UpperCase(key), value);  // the first of a doubled key, as single reads give
    std::vector<std::wstring> out;
    out.reserve(rows.size());
    for (const TipRow::Cells& row : rows) {
        auto it = byName.find(Text::UpperCase(Text::Trim(row.name)));
        out.push_back(it == byName.end() ? std::wstring() : it->second);
    }
    return out;
}

bool Write(const std::wstring& target, const std::vector<TipRow::Cells>& rows,
           const std::vector<std::wstring>& options, const FileInfo& info) {
    if (options.size() != rows.size()) return false;
    std::vector<std::wstring> records;
    records.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        records.push_back(TipFile::EncodeRecord(TipRow::RecordFromCells(rows[i])));
        // The profile writer would store "?" for what the code page lacks.
        if (!TipFile::SafeName(rows[i].name) || !Text::FitsAnsi(rows[i].name) || !Ini::SafeValue(records[i]) ||
            !Text::FitsAnsi(records[i]) || !Ini::SafeValue(options[i]) || !Text::FitsAnsi(options[i]))
            return false;
    }
    const std::pair<const wchar_t*, std::wstring> fileinfo[] = {
        {L"Use", Text::Trim(info.use)},         {L"author", Text::Trim(info.author)}, {L"Web", Text::Trim(info.web)},
        {L"email", Text::Trim(info.email)},     {L"other", Text::Trim(info.other)},
    };
    for (const auto& [key, value] : fileinfo)
        if (!Ini::SafeValue(value) || !Text::FitsAnsi(value)) return false;

    return ExportFile::WriteThroughTemp(target, [&](const std::wstring& temp) {
        // The records first, then the option lists, then Fileinfo: each section
        // is filled while it is the file's last, so new keys are appended.
        Ini::AppendSession session;
        const std::wstring mirror = TipFile::MirrorOf(TipFile::DataSection);
        for (size_t i = 0; i < rows.size(); ++i)
            if (!Ini::Write(temp, TipFile::DataSection, Text::Trim(rows[i].name), records[i])) return false;
        for (size_t i = 0; i < rows.size(); ++i)
            if (!Ini::Write(temp, mirror, Text::Trim(rows[i].name), options[i])) return false;
        for (const auto& [key, value] : fileinfo)
            if (!Ini::Write(temp, TipFile::FileinfoSection, key, value)) return false;
        return true;
    });
}

}  // namespace DataFileExport

