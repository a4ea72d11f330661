#pragma once
// The tip row: one row of the main window's tip list, the in-memory form of one
// tip of the section shown. Every writer and reader of the rows keeps this one
// contract of the cells (sub-items count from 1; 0 is the row's text):
//   text            the tip's name (its key)
//   sub 1 text/tag  command label of the current choice / KeyPath
//   sub 2 text      " " for a harmless tip built by the loader, else empty
//   sub 2 icon/tag  danger: 32 harmless, 33 dangerous / TypeCode "0".."3"
//   sub 3 text/bold value name, or "(默认)" in bold for the key's default value
//   sub 3 tag       description
//   sub 4 text      data of the current choice as shown
//   sub 4 icon      TypeCode + 2 (2..5); 6: the tip deletes the value
//   sub 4 tag       the tip's OptionList, nothing else
#include "common/TipFile.h"

#include <optional>
#include <string>
#include <vector>

class ListView;

namespace TipRow {

// Report icons and row icons (image numbers of the main window's image lists).
enum Icon : int {
    IconCategoryRow = 1,      // row icon, category mode
    IconDataFileRow = 2,      // large row icon, data-file mode
    IconDataFileRowSmall = 29,
    IconString = 2,
    IconBinary = 3,
    IconDelete = 6,
    IconHarmless = 32,
    IconDangerous = 33,
};

inline const std::wstring DefaultValueText = L"(默认)";
inline constexpr const wchar_t* ZeroLengthBinaryText = L"(长度为零的二进制值)";
inline constexpr const wchar_t* DeleteText = L"在注册表中删除该键名";

// The cells of one row, as the loader builds them and the list holds them.
struct Cells {
    std::wstring name;
    std::wstring label, keyPath;                     // sub 1 text, tag
    std::wstring dangerText, typeCode;               // sub 2 text, tag
    int dangerIcon = 0;                              // sub 2 icon (0: none)
    std::wstring valueName, description;            // sub 3 text, tag
    bool defaultValue = false;                       // sub 3 bold
    std::wstring dataText, options;                  // sub 4 text, tag
    int dataIcon = 0;                                // sub 4 icon (0: none)

    // What the row asks of the registry:
    // the value name: empty when sub 3 is bold (the key's default value);
    std::wstring RegistryValueName() const { return defaultValue ? std::wstring() : valueName; }
    // the tip deletes the value: sub 4's icon is 6;
    bool DeletesValue() const { return dataIcon == IconDelete; }
    // the TypeCode as a number (TypeNumber below).
    std::optional<long> TypeCodeNumber() const;
};

// The one rule by which a TypeCode text reads as a number: digits (at most 9)
// with blanks around them and an optional sign; nothing for any other text.
std::optional<long> TypeNumber(const std::wstring& typeCode);

// True when a record is read in the new layout: it holds a JoinMark anywhere.
bool IsNewLayout(const std::wstring& record);

// Builds a row's cells from a tip's name, its record and (new layout only) its
// option list as read from the mirror section. Any text decodes to some row: a
// field whose mark is missing leaves its cell as it was.
Cells Decode(const std::wstring& name, const std::wstring& record, const std::wstring& mirrorOptions);

// Appends a row built from `cells` to the list; `categoryMode` picks the row's
// icons. Returns the new row's number (0 when the list refused it).
int AddRow(ListView& list, const Cells& cells, bool categoryMode);
// Writes the cells of an existing row but its text and the 危险 cell's text
// (the text is the caller's; the danger text is set only when a row is added).
void SetCells(ListView& list, int row, const Cells& cells);
// Appends many rows at once, each as AddRow builds it (ListView::AddRows).
void AddRows(ListView& list, std::vector<Cells> rows, bool categoryMode);
// The cells of a row, as every reader takes them.
Cells ReadRow(const ListView& list, int row);

// A new-layout record made from a row (favourites, tip-data-file export,
// sub-category rename): value name empty when sub 3 is bold; the DeleteMark as
// data when sub 4's icon is 6; the empty text for a zero-length binary value;
// DangerFlag = sub 2's icon - 31.
TipFile::TipRecord RecordFromRow(const ListView& list, int row);
// The same record made from cells already read (ReadRow). A data icon other than
// 6 keeps the shown data.
TipFile::TipRecord RecordFromCells(const Cells& cells);

}  // namespace TipRow
