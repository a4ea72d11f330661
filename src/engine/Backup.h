#pragma once
// Backup files: Bak\<MM-DD-YYYY>.bak beside the program, one INI file per day.
// Section = category path, key = tip name, value = a record of four fields
// joined by the FieldMark:
//   key path | value name | previous data | type number
// The type number is the registry type of the value that was there before the
// tip was applied ("0" and the DeleteMark as data when there was none). The
// previous data: REG_SZ and REG_EXPAND_SZ as their text; REG_BINARY as upper-case
// hex pairs joined by blanks ("" for zero bytes); REG_DWORD as the signed
// decimal number ("-1" for FFFFFFFF); any other type (REG_MULTI_SZ,
// REG_DWORD_BIG_ENDIAN, ...) as hex pairs like REG_BINARY, with its own type
// number. An existing REG_NONE value is "0" with its bytes as hex pairs, which
// the DeleteMark of an absent value never is.
// Only the apply run writes these files (and never creates the Bak folder);
// only the restore page reads them.
#include <functional>
#include <optional>
#include <string>

namespace Backup {

// <program folder>\Bak\ with its trailing backslash.
std::wstring Folder();
// The file of a day: Folder() + date + ".bak".
std::wstring DayFile(const std::wstring& date);
// Today's file.
std::wstring TodayFile();

struct Record {
    std::wstring keyPath;
    std::wstring valueName;
    std::wstring data;
    std::wstring type;  // decimal type number as text
};
std::wstring Join(const Record& r);
// The four fields of a stored record: key path before the first FieldMark,
// value name up to the second, type number after the last, data between (so
// data holding a FieldMark of its own comes back whole). Nothing when the
// record has fewer than three FieldMarks.
std::optional<Record> Split(const std::wstring& value);

// The record of what is stored now at `keyPath` / `valueName`: type "0" with the
// DeleteMark when the value does not exist. Nothing when a value exists but
// cannot be recorded (unreadable, or a REG_DWORD whose size is not 4 bytes).
std::optional<Record> Capture(const std::wstring& keyPath, const std::wstring& valueName);

enum class Outcome { Written, Kept, Failed };
// Stores `r` under `section` / `tipName` in `file` unless a record of the same
// value (key path and value name, without regard to case) is there already:
// the first backup of a day wins, so a restore returns to the state before the
// first application that day (Kept). The name may be taken by a record of
// another value (two tip data files with a tip of the same name): then `r`
// goes under the first free derived key, DerivedKey(tipName, 2), (3), ..., of
// the same section, after checking each for a record of the same value, so
// that the restore brings both back. Within an Ini::AppendSession the file is
// read once for all of this.
Outcome WriteFirst(const std::wstring& file, const std::wstring& section, const std::wstring& tipName,
                   const Record& r);
// The key of the n-th record of tips named `tipName` in one section: the name
// itself for 1, then "name (2)", "name (3)", ...
std::wstring DerivedKey(const std::wstring& tipName, int n);
inline constexpr int kMaxSameNamed = 1000;

// Writes a record back to the registry, creating its key when missing: deletes
// the value for type "0" with the DeleteMark (a value already absent counts as
// restored), writes REG_SZ for "1", REG_EXPAND_SZ for "2", the bytes for "3"
// and for other type numbers, the number for "4". True only when the registry
// now holds the recorded value. A record it cannot act on (unknown root, a type
// field that is no plain decimal number, data that does not fit its type, an
// old record of another type without data, data that is the ReadErrorMark)
// writes nothing and gives false.
bool Restore(const Record& r);

struct DayCounts {
    int restored = 0;     // records the registry now holds
    int notRestored = 0;  // records that could not be split or written back
    bool missing = false; // the day file was not there
    bool unreadable = false;  // the day file is there but cannot be read (held open by another program, no access)
};
// Called now and then while a day is restored: records done, records in all.
using RestoreProgress = std::function<void(int done, int total)>;
// Writes every record of a day file back with Restore, the records of one key
// together through one key handle, in file order within each key (so of two
// records for one value the later one stays). Each section is read whole
// once, so the time grows with the records. A file that
// is missing (`missing` set), cannot be read (`unreadable` set) or holds no
// record restores nothing: both counts 0.
DayCounts RestoreDay(const std::wstring& file, const RestoreProgress& progress = {});

}  // namespace Backup
