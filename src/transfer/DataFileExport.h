#pragma once
// The tip data file export: tip rows to a new tip data file (*.upd).
//
// Everything the file needs is read before anything is written (OptionLists).
// The file is built in memory in the form the profile writer gives a new file
// (per-entry profile writes rewrite the whole file each time, which grows with
// the square of the tips), written once into a temporary file beside the
// target, and the target is replaced only when that write succeeded: the old
// file survives any failure, even when it is the file the rows come from.
//
// Layout: section 数据 with each tip's record (built from its row, as
// TipRow::RecordFromCells does) under the tip's name, in row order; then the
// mirror section of 数据 with each tip's option list under the same name; then
// section Fileinfo with Use, author, Web, email, other.
#include "common/TipRow.h"

#include <optional>
#include <string>
#include <vector>

namespace DataFileExport {

// Section Fileinfo of the new file; every text is written trimmed.
struct FileInfo {
    std::wstring use, author, web, email, other;
};

// The option lists of `rows` as the mirror section of `section` in `file`
// holds them (the section read whole, once): one per row, matched by the tip's
// name without regard to case; empty for a tip the mirror section lacks.
std::vector<std::wstring> OptionLists(const std::wstring& file, const std::wstring& section,
                                      const std::vector<TipRow::Cells>& rows);

// The bytes of the file: section 数据, its mirror section (both only when there
// are rows), section Fileinfo; a later tip of the same name (any case) replaces
// the earlier one in place, as the profile writer does. Nothing when a text
// cannot be held (see Write) or `options` does not match `rows`.
std::optional<std::string> Build(const std::vector<TipRow::Cells>& rows, const std::vector<std::wstring>& options,
                                 const FileInfo& info);

// Writes the file. `options` holds one option list per row. False, with the
// target untouched, when anything cannot be written: a name or text the file
// cannot hold (a line break, a FieldMark in a name, a character code page 936
// lacks), a missing folder, a target in use, a failed write.
bool Write(const std::wstring& target, const std::vector<TipRow::Cells>& rows,
           const std::vector<std::wstring>& options, const FileInfo& info);

}  // namespace DataFileExport
