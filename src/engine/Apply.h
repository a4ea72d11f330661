#pragma once
// Applying one tip to the registry: create its key, note the value there now,
// write the tip's data by its TypeCode (or delete the value), and back up the
// value it replaced in the day's backup file. The result says what happened;
// showing it (row colours, the log) is the caller's business.
#include "common/TipRow.h"

#include <optional>
#include <string>

namespace Apply {

// What one tip asks of the registry.
struct Tip {
    std::wstring name;             // the tip's name: its key in the backup file
    std::wstring keyPath;
    std::wstring valueName;        // "" for the key's default value
    std::wstring data;             // as the row shows it
    std::optional<long> typeCode;  // 0 string, 1 binary, 2 DWORD, 3 expandable string; nothing: no number
    bool deleteValue = false;      // the tip deletes the value
};
// The tip of a row, read by the row contract.
Tip FromRow(const TipRow::Cells& row);

enum class WriteResult {
    Nothing,  // a TypeCode outside 0..3: only the key was created
    Done,     // written (or deleted)
    Failed,   // no number for a TypeCode, no root, data unfit for its type, or the registry refused
};
enum class BackupResult {
    None,     // nothing written, backups off, or no Bak folder
    Written,  // the previous value is now recorded in the day's file
    Kept,     // an earlier record of the tip that day stays (the first of the day wins)
    Lost,     // written, but the previous value could not be recorded
};
struct Outcome {
    WriteResult write = WriteResult::Nothing;
    BackupResult backup = BackupResult::None;
};

// Applies `tip`. `backupSection`: the section (category path) of the day's
// backup file under which the replaced value is recorded once the write is
// done; nothing when backups are off. An empty category path is filed under a
// section of its own. The Bak folder is never created: without it no backup
// is made. Handles live within the call.
Outcome ApplyTip(const Tip& tip, const std::optional<std::wstring>& backupSection);

}  // namespace Apply
