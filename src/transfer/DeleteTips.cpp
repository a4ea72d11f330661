#include "transfer/DeleteTips.h"

#include "common/Ini.h"
#include "common/TipFile.h"
#include "platform/Text.h"

#include <string_view>
#include <unordered_set>

namespace Transfer {
namespace {

std::wstring Match(const std::wstring& name) { return Text::UpperCase(Text::Trim(name)); }

// Calls `line` for each NUL-ended line of a section list.
template <class F>
void EachLine(const std::string& bytes, F line) {
    for (size_t start = 0; start < bytes.size();) {
        size_t end = bytes.find('\0', start);
        if (end == std::string::npos) end = bytes.size();
        line(std::string_view(bytes.data() + start, end - start));
        start = end + 1;
    }
}

// Every line is "key=value": the section can be written back whole as it was read.
bool Rewritable(const std::string& bytes) {
    bool ok = true;
    EachLine(bytes, [&](std::string_view line) { ok = ok && line.find('=') != std::string_view::npos; });
    return ok;
}

// The section's lines without those whose key is wanted; the wanted keys found go into `found`.
std::string Without(const std::string& bytes, const std::unordered_set<std::wstring>& wanted,
                    std::unordered_set<std::wstring>& found) {
    std::string kept;
    kept.reserve(bytes.size());
    EachLine(bytes, [&](std::string_view line) {
        const std::wstring key = Match(Text::FromAnsi(line.substr(0, line.find('='))));
        if (wanted.count(key)) {
            found.insert(key);
            return;
        }
        kept.append(line).push_back('\0');
    });
    return kept;
}

// Key by key, through the profile functions: for a section holding lines the
// whole-section write would drop (a line without "=").
Deleted OneByOne(const std::wstring& file, const std::wstring& section, const std::vector<std::wstring>& names) {
    const std::wstring mirror = TipFile::MirrorOf(section);
    Deleted out;
    for (const std::wstring& name : names) {
        bool inRecords = false, inOptions = false;
        const std::wstring record = Ini::Read(file, section, name, &inRecords);
        Ini::Read(file, mirror, name, &inOptions);
        bool gone = true;
        if (inRecords && !Ini::DeleteKey(file, section, name)) {
            gone = false;
        } else if (inOptions && !Ini::DeleteKey(file, mirror, name)) {
            // The record goes back; when it cannot, the tip is gone all the same.
            gone = inRecords && !Ini::Write(file, section, name, record);
        }
        out.gone.push_back(gone);
    }
    return out;
}

Deleted DeleteIn(const std::wstring& file, const std::wstring& section, const std::vector<std::wstring>& names) {
    const std::wstring mirror = TipFile::MirrorOf(section);
    std::string records, options;
    // A section that cannot be read is no proof that the tips are gone: nothing is deleted.
    if (!Ini::ReadSectionBytes(file, section, records) || !Ini::ReadSectionBytes(file, mirror, options)) {
        Deleted none;
        none.gone.assign(names.size(), false);
        return none;
    }
    if (!Rewritable(records) || !Rewritable(options)) return OneByOne(file, section, names);

    std::unordered_set<std::wstring> wanted;
    for (const std::wstring& name : names) wanted.insert(Match(name));
    std::unordered_set<std::wstring> inRecords, inOptions;
    const std::string keptRecords = Without(records, wanted, inRecords);
    const std::string keptOptions = Without(options, wanted, inOptions);

    // A name neither section holds is gone already; nothing is written for it.
    auto each = [&](auto goneWhen) {
        Deleted out;
        for (const std::wstring& name : names) {
            const std::wstring key = Match(name);
            out.gone.push_back(goneWhen(inRecords.count(key) > 0, inOptions.count(key) > 0));
        }
        return out;
    };
    if (!inRecords.empty() && !Ini::WriteSectionBytes(file, section, keptRecords))
        return each([](bool rec, bool opt) { return !rec && !opt; });
    if (!inOptions.empty() && !Ini::WriteSectionBytes(file, mirror, keptOptions)) {
        // The records go back, so no tip is left without its option list. When
        // they cannot, the tips whose records went are gone all the same.
        const bool restored = inRecords.empty() || Ini::WriteSectionBytes(file, section, records);
        if (restored) return each([](bool rec, bool opt) { return !rec && !opt; });
        return each([](bool rec, bool opt) { return rec || !opt; });
    }
    return each([](bool, bool) { return true; });
}

}  // namespace

Deleted DeleteTips(const std::wstring& file, const std::wstring& section, const std::vector<std::wstring>& names) {
    // The deletes go to a copy of the file that takes its place when they are made.
    Ini::FileTransaction tx(file);
    Deleted out = DeleteIn(file, section, names);
    if (!tx.Commit()) out.gone.assign(names.size(), false);
    return out;
}

}  // namespace Transfer
