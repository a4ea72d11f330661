#include "common/TipFile.h"

#include "common/Ini.h"
#include "platform/Text.h"

#include <windows.h>

#include <algorithm>
#include <unordered_map>

namespace TipFile {

using Marks::FieldMark;
using Marks::JoinMark;

std::wstring MirrorOf(const std::wstring& section) { return FieldMark + section + FieldMark; }

std::wstring EncodeRecord(const TipRecord& r) {
    std::wstring s = r.keyPath + FieldMark + r.valueName + FieldMark + r.label + JoinMark + r.data + FieldMark +
                     r.typeCode + FieldMark + r.description;
    if (!r.dangerFlag.empty()) s += FieldMark + r.dangerFlag;
    return s;
}

std::wstring EncodeOldRecord(const TipRecord& r) {
    std::wstring s = r.keyPath + FieldMark + r.valueName + FieldMark + r.data + FieldMark + r.typeCode + FieldMark +
                     r.description;
    if (!r.dangerFlag.empty()) s += FieldMark + r.dangerFlag;
    return s;
}

std::wstring EncodeOptions(const OptionList& o) {
    std::wstring s = FieldMark;
    for (const auto& l : o.labels) s += l + FieldMark;
    s += JoinMark + FieldMark;
    for (const auto& d : o.data) s += d + FieldMark;
    return s;
}

namespace {
// The texts between FieldMarks: what follows each mark up to the next one.
std::vector<std::wstring> Between(std::wstring_view s) {
    std::vector<std::wstring> out;
    size_t p = s.find(Marks::FieldMarkChar);
    while (p != std::wstring_view::npos) {
        size_t q = s.find(Marks::FieldMarkChar, p + 1);
        if (q == std::wstring_view::npos) break;
        out.emplace_back(s.substr(p + 1, q - p - 1));
        p = q;
    }
    return out;
}
}  // namespace

OptionList DecodeOptions(const std::wstring& text) {
    OptionList o;
    size_t j = text.find(Marks::JoinMarkChar);
    if (j == std::wstring::npos) return o;
    std::wstring_view v(text);
    o.labels = Between(v.substr(0, j));
    // The JoinMark stands between two FieldMarks: the data items start at the mark after it.
    o.data = Between(v.substr(j + 1));
    return o;
}

bool SafeField(const std::wstring& text) {
    return Ini::SafeValue(text) && text.find(Marks::FieldMarkChar) == std::wstring::npos;
}

bool SafeName(const std::wstring& name) {
    return Ini::SafeKey(name) && name.find(Marks::FieldMarkChar) == std::wstring::npos;
}

bool WriteTip(const std::wstring& file, const std::wstring& section, const std::wstring& name,
              const std::wstring& record, const std::wstring& options) {
    if (!SafeName(name) || !Ini::SafeSection(section) || !Ini::SafeValue(record) || !Ini::SafeValue(options))
        return false;
    return Ini::Write(file, section, name, record) && Ini::Write(file, MirrorOf(section), name, options);
}

namespace {
// GetPrivateProfileSectionA with a buffer that grows until the section fits
// (the system signals a cut section by returning size - 2).
std::string ReadSectionRaw(const std::string& section, const std::string& file) {
    std::string buf(64 * 1024, '\0');
    for (bool grown = false;; grown = true) {
        DWORD n = GetPrivateProfileSectionA(section.c_str(), buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
        if (n < buf.size() - 2 || buf.size() >= (1u << 28)) {
            buf.resize(n);
            return buf;
        }
        // A section listed is no longer than the file that holds it: a cut one
        // is read again once with a buffer of the file's size (the buffer grows
        // as before if the file grew meanwhile).
        size_t size = buf.size() * 4;
        WIN32_FILE_ATTRIBUTE_DATA a;
        if (!grown && GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &a) && a.nFileSizeHigh == 0 &&
            a.nFileSizeLow + size_t{16} > size)
            size = std::min<size_t>(a.nFileSizeLow + size_t{16}, size_t{1} << 28);
        buf.assign(size, '\0');
    }
}

// The single-value reader drops one pair of matching quotes around a value; a
// section read gives the line as stored. Keep the two alike.
std::wstring AsSingleRead(std::wstring v) {
    if (v.size() >= 2 && (v.front() == L'"' || v.front() == L'\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}
}  // namespace

namespace {
// Calls `line(key, value)` for each line of a section read whole, in file
// order, keys and values as single reads take them (blanks at the two ends
// removed, one pair of matching quotes dropped from a value).
template <class Line>
void EachLine(const std::wstring& file, const std::wstring& section, Line line) {
    const std::wstring all = Text::FromAnsi(ReadSectionRaw(Text::ToAnsi(section), Text::ToAnsi(file)));
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find(L'\0', start);
        if (end == std::wstring::npos) end = all.size();
        std::wstring_view text(all.data() + start, end - start);
        start = end + 1;
        if (text.empty()) continue;
        size_t eq = text.find(L'=');
        std::wstring key = Text::Trim(text.substr(0, eq));
        if (key.empty()) continue;
        line(std::move(key), eq == std::wstring_view::npos ? std::wstring() : AsSingleRead(Text::Trim(text.substr(eq + 1))));
    }
}
}  // namespace

std::vector<std::pair<std::wstring, std::wstring>> ReadSection(const std::wstring& file,
                                                               const std::wstring& section) {
    std::vector<std::pair<std::wstring, std::wstring>> out;
    std::unordered_map<std::wstring, size_t> first;  // upper-cased key -> index of its first entry
    EachLine(file, section, [&](std::wstring key, std::wstring value) {
        auto [it, inserted] = first.emplace(Text::UpperCase(key), out.size());
        if (!inserted) value = out[it->second].second;
        out.emplace_back(std::move(key), std::move(value));
    });
    return out;
}

std::unordered_map<std::wstring, std::wstring> ReadSectionByName(const std::wstring& file,
                                                                 const std::wstring& section) {
    std::unordered_map<std::wstring, std::wstring> byName;
    EachLine(file, section, [&](std::wstring key, std::wstring value) {
        byName.emplace(Text::UpperCase(key), std::move(value));  // the first of a doubled key stays
    });
    return byName;
}

}  // namespace TipFile
