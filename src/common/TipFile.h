#pragma once
// Tip files: category files (DATA\<name>.qix) and tip data files (*.upd).
// One section holds one list of tips, one key per tip; the key's value is the
// tip's record. The mirror section (FieldMark, name, FieldMark) holds each
// tip's option list under the same key. Everything goes through common/Ini, so
// the files are INI text in the ANSI code page (936).
#include "common/Marks.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace TipFile {

inline const std::wstring DataSection = L"数据";
inline const std::wstring FavouritesSection = L"收藏夹";
inline const std::wstring FileinfoSection = L"Fileinfo";
// Label of the one choice of an old-layout tip.
inline const std::wstring OldLayoutLabel = L"修改";

// The mirror section of `section`: FieldMark, the name, FieldMark.
std::wstring MirrorOf(const std::wstring& section);

// A tip's record (the value of its key). Every field is text as stored.
struct TipRecord {
    std::wstring keyPath;
    std::wstring valueName;  // empty for the key's default value
    std::wstring label;      // command label of the current choice
    std::wstring data;       // data of the current choice; DeleteMark: delete the value
    std::wstring typeCode;   // "0" to "3"
    std::wstring description;
    std::wstring dangerFlag;  // "1" harmless, "2" dangerous; empty: the record ends after the description
};

// New layout: KeyPath FM value FM label JM data FM type FM description FM danger.
std::wstring EncodeRecord(const TipRecord& r);
// Old layout (read, never written by the program): no JoinMark anywhere.
std::wstring EncodeOldRecord(const TipRecord& r);

// A tip's alternative values: FM label1 FM ... labelN FM JM FM data1 FM ... dataN FM.
struct OptionList {
    std::vector<std::wstring> labels;
    std::vector<std::wstring> data;
};
std::wstring EncodeOptions(const OptionList& o);
// Splits at the first JoinMark; the labels are the texts between the marks before
// it, the data items those after it.
OptionList DecodeOptions(const std::wstring& text);

// True when the text may stand in a record field or an option: no FieldMark and
// nothing that breaks an INI line.
bool SafeField(const std::wstring& text);
// True when the text may be a tip's name (a key): INI-safe and no FieldMark.
bool SafeName(const std::wstring& name);

// Writes a tip (record and option list) into a section and its mirror section.
// Refuses (false, nothing written) a name or field that would break the file or
// carries a FieldMark; false when a write fails.
bool WriteTip(const std::wstring& file, const std::wstring& section, const std::wstring& name,
              const std::wstring& record, const std::wstring& options);

// The keys of a section with their values, in file order, read whole in one call.
// A key present twice (only a hand-edited file can hold one) is listed twice and
// both entries carry the first value, as single reads of that key would give.
std::vector<std::pair<std::wstring, std::wstring>> ReadSection(const std::wstring& file,
                                                               const std::wstring& section);
// The same section by name: each key upper-cased (Text::UpperCase) with its
// first value, as single reads of it give.
std::unordered_map<std::wstring, std::wstring> ReadSectionByName(const std::wstring& file,
                                                                 const std::wstring& section);

}  // namespace TipFile
