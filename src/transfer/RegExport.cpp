#include "transfer/RegExport.h"

#include "engine/General.h"
#include "engine/Registry.h"
#include "platform/Text.h"
#include "transfer/clsStrings.h"

#include <optional>
#include <unordered_map>

namespace RegExport {
namespace {

const wchar_t* const kCrLf = L"\r\n";

bool HasLineBreak(const std::wstring& s) { return s.find_first_of(L"\r\n") != std::wstring::npos; }

// A quoted string with \ and " escaped.
std::wstring Quoted(const std::wstring& s) {
    if (s.find_first_of(L"\\\"") == std::wstring::npos) return L"\"" + s + L"\"";
    std::wstring escaped = clsStrings::ReplaceString(s, L"\\", L"\\\\", false);
    escaped = clsStrings::ReplaceString(escaped, L"\"", L"\\\"", false);
    return L"\"" + escaped + L"\"";
}

// hex(n): followed by the text and its terminator as the file's encoding
// stores text: code-page bytes and 00, or UTF-16LE and 00 00.
std::wstring HexText(int type, const std::wstring& text, Header header) {
    std::string bytes;
    if (header == Header::Regedit4) {
        bytes = Text::ToAnsi(text);
        bytes.push_back('\0');
    } else {
        for (wchar_t c : text) {
            bytes.push_back(static_cast<char>(c & 0xFF));
            bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
        }
        bytes.append(2, '\0');
    }
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring out = L"hex(" + std::to_wstring(type) + L"):";
    for (size_t i = 0; i < bytes.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (i) out.push_back(L',');
        out.push_back(digits[b >> 4]);
        out.push_back(digits[b & 15]);
    }
    return out;
}

// The pairs of valid binary data joined by commas, each as typed.
std::wstring HexPairs(const std::wstring& text) {
    std::wstring out;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == L' ') {
            ++i;
            continue;
        }
        if (!out.empty()) out.push_back(L',');
        out.append(text, i, 2);
        i += 2;
    }
    return out;
}

std::optional<int> TypeOf(const std::wstring& typeCode) {
    std::wstring t = Text::Trim(typeCode);
    if (t.empty() || t.size() > 4) return std::nullopt;
    int n = 0;
    for (wchar_t c : t) {
        if (c < L'0' || c > L'9') return std::nullopt;
        n = n * 10 + (c - L'0');
    }
    if (n > 3) return std::nullopt;
    return n;
}

bool NamesRoot(const std::wstring& keyPath) {
    HKEY root = Registry::SplitKeyPath(keyPath).root;
    return root != nullptr && root != HKEY_PERFORMANCE_DATA;
}

// The entry data of a row, or nothing when the row is left out.
std::optional<std::wstring> EntryData(const TipRow::Cells& row, Header header) {
    std::optional<int> type = TypeOf(row.typeCode);
    if (!type) return std::nullopt;
    if (row.dataIcon == TipRow::IconDelete) return L"-";
    const std::wstring& data = row.dataText;
    switch (*type) {
    case 0:
        if (HasLineBreak(data)) return HexText(1, data, header);
        return Quoted(data);
    case 3:
        return HexText(2, data, header);
    case 1:
        if (data == TipRow::ZeroLengthBinaryText) return std::wstring(L"hex:");
        if (!General::HexToBytes(data)) return std::nullopt;
        return L"hex:" + HexPairs(data);
    default: {  // 2
        std::optional<uint32_t> v = General::HexToDword(data);
        if (!v) return std::nullopt;
        wchar_t buf[16];
        swprintf(buf, 16, L"%08x", static_cast<unsigned>(*v));
        return L"dword:" + std::wstring(buf);
    }
    }
}

struct Section {
    std::wstring keyPath;
    std::vector<std::pair<std::wstring, std::wstring>> entries;  // name, data
    std::unordered_map<std::wstring, size_t> index;              // upper-cased name -> entry
};

}  // namespace

Header HeaderFor(const std::wstring& strSj) { return strSj == L"98" ? Header::Regedit4 : Header::Version5; }

Document Build(const std::vector<TipRow::Cells>& rows, Header header) {
    Document doc;
    std::vector<Section> sections;
    std::unordered_map<std::wstring, size_t> sectionIndex;  // upper-cased key path -> section
    for (const TipRow::Cells& row : rows) {
        std::optional<std::wstring> data = EntryData(row, header);
        const std::wstring name = row.defaultValue ? std::wstring(L"@") : Quoted(row.valueName);
        bool fits = header == Header::Version5 || !data || Text::FitsAnsi(row.keyPath + name + *data);
        if (!data || !fits || !NamesRoot(row.keyPath) || HasLineBreak(row.keyPath) ||
            (!row.defaultValue && HasLineBreak(row.valueName))) {
            ++doc.leftOut;
            continue;
        }
        auto [s, newSection] = sectionIndex.emplace(Text::UpperCase(row.keyPath), sections.size());
        if (newSection) sections.push_back({row.keyPath, {}, {}});
        Section& section = sections[s->second];
        auto [e, newEntry] = section.index.emplace(Text::UpperCase(name), section.entries.size());
        if (newEntry) section.entries.emplace_back(name, *data);
        else section.entries[e->second].second = *data;
    }

    std::wstring text = header == Header::Regedit4 ? L"REGEDIT4" : L"Windows Registry Editor Version 5.00";
    text += kCrLf;
    text += kCrLf;
    for (const Section& s : sections) {
        text += L"[" + s.keyPath + L"]" + kCrLf;
        for (const auto& [name, data] : s.entries) text += name + L"=" + data + kCrLf;
        text += kCrLf;
    }
    if (header == Header::Regedit4) {
        doc.bytes = Text::ToAnsi(text);
    } else {
        doc.bytes.reserve(2 + text.size() * 2);
        doc.bytes += "\xFF\xFE";
        for (wchar_t c : text) {
            doc.bytes.push_back(static_cast<char>(c & 0xFF));
            doc.bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
        }
    }
    return doc;
}

std::wstring LeftOutMessage(int leftOut) {
    return L"有 " + std::to_wstring(leftOut) + L" 个技巧的键位或数据不符合注册表文件的要求，没有导出。";
}

}  // namespace RegExport
