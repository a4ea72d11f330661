#include "common/TipRow.h"

#include "platform/ListView.h"
#include "platform/Text.h"

#include <optional>

namespace TipRow {

std::optional<long> TypeNumber(const std::wstring& typeCode) {
    std::wstring t = Text::Trim(typeCode);
    size_t i = (!t.empty() && (t[0] == L'+' || t[0] == L'-')) ? 1 : 0;
    if (i >= t.size() || t.size() - i > 9) return std::nullopt;
    for (size_t k = i; k < t.size(); ++k)
        if (t[k] < L'0' || t[k] > L'9') return std::nullopt;
    return std::stol(t);
}

namespace {

using Marks::FieldMarkChar;
using Marks::JoinMarkChar;

// The record not yet consumed (from `at` on), with the two steps every field
// goes through.
struct Rest {
    std::wstring_view r;
    size_t at = 0;
    // The text before the first FieldMark; nothing when there is no mark.
    std::optional<std::wstring> Take() const {
        size_t p = r.find(FieldMarkChar, at);
        if (p == std::wstring::npos) return std::nullopt;
        return std::wstring(r.substr(at, p - at));
    }
    // Removes as many characters as the cell just filled holds, plus the mark.
    // A count beyond the text changes nothing.
    void Drop(const std::wstring& cell) {
        size_t n = cell.size() + 1;
        if (n <= r.size() - at) at += n;
    }
    // Everything after the first FieldMark (all of it when there is none).
    std::wstring AfterFirstMark() const {
        size_t p = r.find(FieldMarkChar, at);
        return std::wstring(p == std::wstring::npos ? r.substr(at) : r.substr(p + 1));
    }
};

// Sub-item 2's tag and sub-item 4's value icon from the field at the front.
void TakeType(Rest& rest, Cells& c) {
    if (auto f = rest.Take()) {
        c.typeCode = *f;
        if (auto n = TypeNumber(c.typeCode)) c.dataIcon = static_cast<int>(*n) + 2;
        // else: a text that is no number leaves the icon unset.
    } else {
        c.dataIcon = IconString;  // a tag never set reads as 0
    }
}

// The description, the danger, the default value and empty data: the steps both
// layouts end with.
void Finish(const Rest& rest, Cells& c) {
    c.description = rest.AfterFirstMark();
    size_t p = c.description.find(FieldMarkChar);
    bool dangerous = false;
    if (p != std::wstring::npos) {
        wchar_t flag = c.description.back();
        dangerous = flag >= L'2' && flag <= L'9';
        c.description.resize(p);
    }
    c.dangerIcon = dangerous ? IconDangerous : IconHarmless;
    c.dangerText = dangerous ? L"" : L" ";
    if (Text::Trim(c.valueName).empty()) {
        c.valueName = DefaultValueText;
        c.defaultValue = true;
    }
    if (Text::Trim(c.dataText).empty()) {
        long type = TypeNumber(c.typeCode).value_or(0);
        if (type == 0 || type == 3) c.dataText.clear();
        else if (type == 1) c.dataText = ZeroLengthBinaryText;
        else if (type == 2) c.dataText = L"0";
    }
}

}  // namespace

std::optional<long> Cells::TypeCodeNumber() const { return TypeNumber(typeCode); }

bool IsNewLayout(const std::wstring& record) { return record.find(JoinMarkChar) != std::wstring::npos; }

Cells Decode(const std::wstring& name, const std::wstring& record, const std::wstring& mirrorOptions) {
    Cells c;
    c.name = name;
    Rest rest{record};
    if (auto f = rest.Take()) c.keyPath = *f;
    rest.Drop(c.keyPath);
    if (auto f = rest.Take()) c.valueName = *f;
    rest.Drop(c.valueName);
    if (IsNewLayout(record)) {
        if (auto f = rest.Take()) c.dataText = *f;  // label, JoinMark, data
        size_t j = c.dataText.find(JoinMarkChar);
        if (j != std::wstring::npos) c.label = c.dataText.substr(0, j);
        rest.Drop(c.dataText);
        if (j != std::wstring::npos) c.dataText = c.dataText.substr(j + 1);
        c.options = mirrorOptions;
        TakeType(rest, c);
        if (c.dataText == Marks::DeleteMark) {
            c.dataIcon = IconDelete;
            c.dataText = DeleteText;
        }
    } else {
        if (auto f = rest.Take()) c.dataText = *f;
        c.label = TipFile::OldLayoutLabel;
        rest.Drop(c.dataText);
        c.options = TipFile::EncodeOptions({{TipFile::OldLayoutLabel}, {c.dataText}});
        TakeType(rest, c);
    }
    Finish(rest, c);
    return c;
}

int AddRow(ListView& list, const Cells& c, bool categoryMode) {
    // The list view keeps one image index for both icon sizes: the row carries the
    // small icon, which the report view shows.
    int row = list.Add(c.name, categoryMode ? IconCategoryRow : IconDataFileRowSmall);
    if (!row) return 0;
    list.SetSubText(row, 2, c.dangerText);
    SetCells(list, row, c);
    return row;
}

void SetCells(ListView& list, int row, const Cells& c) {
    list.SetSubText(row, 1, c.label);
    list.SetSubTag(row, 1, c.keyPath);
    list.SetSubIcon(row, 2, c.dangerIcon);
    list.SetSubTag(row, 2, c.typeCode);
    list.SetSubText(row, 3, c.valueName);
    list.SetSubTag(row, 3, c.description);
    list.SetSubBold(row, 3, c.defaultValue);
    list.SetSubText(row, 4, c.dataText);
    list.SetSubIcon(row, 4, c.dataIcon);
    list.SetSubTag(row, 4, c.options);
}

void AddRows(ListView& list, std::vector<Cells> rows, bool categoryMode) {
    std::vector<ListView::NewRow> out(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        Cells& c = rows[i];
        ListView::NewRow& r = out[i];
        r.text[0] = std::move(c.name);
        r.icon[0] = categoryMode ? IconCategoryRow : IconDataFileRowSmall;
        r.text[1] = std::move(c.label);
        r.tag[1] = std::move(c.keyPath);
        r.text[2] = std::move(c.dangerText);
        r.icon[2] = c.dangerIcon;
        r.tag[2] = std::move(c.typeCode);
        r.text[3] = std::move(c.valueName);
        r.tag[3] = std::move(c.description);
        r.bold[3] = c.defaultValue;
        r.text[4] = std::move(c.dataText);
        r.icon[4] = c.dataIcon;
        r.tag[4] = std::move(c.options);
    }
    list.AddRows(std::move(out));
}

Cells ReadRow(const ListView& list, int row) {
    Cells c;
    ListView::NewRow r;
    if (!list.ReadWhole(row, r)) return c;
    c.name = r.text[0];
    c.label = r.text[1];
    c.keyPath = r.tag[1];
    c.dangerText = r.text[2];
    c.dangerIcon = r.icon[2];
    c.typeCode = r.tag[2];
    c.valueName = r.text[3];
    c.defaultValue = r.bold[3];
    c.description = r.tag[3];
    c.dataText = r.text[4];
    c.dataIcon = r.icon[4];
    c.options = r.tag[4];
    return c;
}

TipFile::TipRecord RecordFromRow(const ListView& list, int row) { return RecordFromCells(ReadRow(list, row)); }

TipFile::TipRecord RecordFromCells(const Cells& c) {
    TipFile::TipRecord r;
    r.keyPath = c.keyPath;
    r.valueName = c.RegistryValueName();
    r.label = c.label;
    if (c.DeletesValue()) r.data = Marks::DeleteMark;
    else if ((c.dataIcon == IconBinary || c.TypeCodeNumber() == 1) && c.dataText == ZeroLengthBinaryText) r.data.clear();
    else r.data = c.dataText;
    r.typeCode = c.typeCode;
    r.description = c.description;
    r.dangerFlag = Text::FromInt(c.dangerIcon - 31);
    return r;
}

}  // namespace TipRow
