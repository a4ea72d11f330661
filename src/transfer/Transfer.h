#pragma once
// The tip clipboard and the one loop that copies tips into a section: the paste
// (names from the clipboard, values from the source file) and the import of a
// tip data file (every key of its section 数据). The loop knows nothing of
// windows: it asks about a name clash through a callback (the replace page),
// and returns counts that the window turns into what the user sees.
//
// Each section involved is read whole once per run (record section and mirror
// section of the source and of the target); every write goes through
// common/Ini and is checked. Where the file allows it, the tips are written
// with one whole-section write of the target section and one of its mirror
// (Ini::SectionEdit: the same bytes as key-by-key writes, one rewrite of the
// file), at the end of the run and whenever the replace page confirms a tip;
// otherwise key by key (a file in another form than the system writes only
// until the first tip has been written). A tip is written whole or not at all: when its option
// list cannot be written after its record was, the target's previous record
// is put back (or the new key removed). A source tip of a cut is deleted only
// after both of its values were written.
#include <functional>
#include <string>
#include <vector>

namespace Transfer {

// What copy and cut record. The clipboard holds names only: the tips are read
// from the source when they are pasted.
struct TipClipboard {
    std::vector<std::wstring> names;  // in the order of the rows
    bool cut = false;
    std::wstring sourceSection;
    std::wstring sourceFile;
    std::wstring sourcePath;  // category path, or the tip data file's path in data-file mode
    // Paste is available exactly when a name was recorded.
    bool HasNames() const { return !names.empty(); }
};
// The program's one clipboard (empty, cut flag off, at start).
TipClipboard& Clipboard();

// What the loop does at the next name clash: ask, replace without asking, or
// stop before the next name.
enum class ReplaceAnswer { Ask = 0, All = 1, Stop = 3 };

// The incoming tip of a clash, handed to the replace page.
struct PendingTip {
    std::wstring name;     // the key the page writes under
    std::wstring record;   // the incoming TipRecord, as read
    std::wstring options;  // the incoming OptionList, as read
    bool pasteOfCut = false;  // only a paste of cut tips deletes its source after a write
    // Writes the tip into the target (and, for a paste of cut tips, deletes its
    // source afterwards). True when the tip was written whole. Set by the loop.
    std::function<bool()> Commit;
    // The page's answer: Ask after 是, 否 or the close box; All after 全部; Stop after 取消.
    ReplaceAnswer answer = ReplaceAnswer::Ask;
};

struct Source {
    std::wstring file, section;
    // The names to copy (a paste). Ignored when `allKeys` is set (an import:
    // every key of the section, in file order).
    std::vector<std::wstring> names;
    bool allKeys = false;
    bool deleteAfterWrite = false;  // a paste of cut tips
};

struct Target {
    std::wstring file, section;
    // The names of the rows shown (the clash test); the list is not updated
    // while the loop runs.
    std::vector<std::wstring> shownNames;
};

struct Counts {
    int written = 0;     // tips written whole (by the loop or the page)
    int refused = 0;     // names or values the file cannot hold
    int missing = 0;     // source tips gone or empty
    int failed = 0;      // writes that failed; nothing of the tip is left behind
    int unreadable = 0;  // clashing records without the fields the page shows
    int sourceKept = 0;  // cut tips written but not deleted from their source
    int unreadSource = 0;  // tips of a source file that could not be read
    int Unwritten() const { return refused + missing + failed + unreadable + unreadSource; }
};

// Asks about a clash with row `row` (1-based) of the names shown. The callee
// may call tip.Commit() and sets tip.answer.
using Ask = std::function<void(PendingTip& tip, int row)>;

// Copies the source's tips into the target. `answer` is read before each name
// and left as the last answer; the walk stops when it reads Stop.
Counts Run(const Source& source, const Target& target, ReplaceAnswer& answer, const Ask& ask);

// True when two file paths name the same file (full long paths, any letter case).
bool SameFile(const std::wstring& a, const std::wstring& b);

}  // namespace Transfer
