#include "transfer/DataFileExport.h"

#include "common/Ini.h"
#include "common/TipFile.h"
#include "platform/Text.h"
#include "transfer/ExportFile.h"

#include <windows.h>

#include <optional>
#include <unordered_map>

namespace DataFileExport {

std::vector<std::wstring> OptionLists(const std::wstring& file, const std::wstring& section,
                                      const std::vector<TipRow::Cells>& rows) {
    const auto byName = TipFile::ReadSectionByName(file, TipFile::MirrorOf(section));
    std::vector<std::wstring> out;
    out.reserve(rows.size());
    for (const TipRow::Cells& row : rows) {
        auto it = byName.find(Text::UpperCase(Text::Trim(row.name)));
        out.push_back(it == byName.end() ? std::wstring() : it->second);
    }
    return out;
}

std::optional<std::string> Build(const std::vector<TipRow::Cells>& rows, const std::vector<std::wstring>& options,
                                 const FileInfo& info) {
    if (options.size() != rows.size()) return std::nullopt;
    // One section as the profile writer leaves a new file: "[name]" and
    // "key=value" lines in first-appearance order, a later key of the same name
    // (any case) replacing the earlier value in place.
    struct Section {
        std::wstring name;
        std::vector<std::pair<std::wstring, std::wstring>> entries;
        std::unordered_map<std::wstring, size_t> index;
        void Put(const std::wstring& key, const std::wstring& value) {
            auto [it, added] = index.emplace(Text::UpperCase(key), entries.size());
            if (added) entries.emplace_back(key, value);
            else entries[it->second].second = value;
        }
    };
    Section data{TipFile::DataSection, {}, {}}, mirror{TipFile::MirrorOf(TipFile::DataSection), {}, {}},
        fileinfo{TipFile::FileinfoSection, {}, {}};
    // Text the file cannot hold fails the export: a line break, a name the
    // format refuses, a character code page 936 lacks (it would become "?").
    auto holds = [](const std::wstring& t) { return Ini::SafeValue(t) && Text::FitsAnsi(t); };
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::wstring name = Text::Trim(rows[i].name);
        const std::wstring record = TipFile::EncodeRecord(TipRow::RecordFromCells(rows[i]));
        if (!TipFile::SafeName(name) || !holds(name) || !holds(record) || !holds(options[i])) return std::nullopt;
        data.Put(name, record);
        mirror.Put(name, options[i]);
    }
    const std::pair<const wchar_t*, const std::wstring*> keys[] = {
        {L"Use", &info.use}, {L"author", &info.author}, {L"Web", &info.web}, {L"email", &info.email}, {L"other", &info.other}};
    for (const auto& [key, value] : keys) {
        std::wstring v = Text::Trim(*value);
        if (!holds(v)) return std::nullopt;
        fileinfo.Put(key, v);
    }
    std::wstring text;
    for (const Section* s : {&data, &mirror, &fileinfo}) {
        if (s->entries.empty()) continue;
        text += L"[" + s->name + L"]\r\n";
        for (const auto& [key, value] : s->entries) text += key + L"=" + value + L"\r\n";
    }
    return Text::ToAnsi(text);
}

bool Write(const std::wstring& target, const std::vector<TipRow::Cells>& rows,
           const std::vector<std::wstring>& options, const FileInfo& info) {
    std::optional<std::string> bytes = Build(rows, options, info);
    if (!bytes || !ExportFile::WriteWhole(target, *bytes)) return false;
    // The system may hold a copy of the file it replaced (the rows' own file,
    // read as a profile): drop it, so that the next read sees the new file.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, Text::ToAnsi(target).c_str());
    return true;
}

}  // namespace DataFileExport
