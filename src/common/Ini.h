#pragma once
// The one layer over the system's profile functions that every INI file of the
// program goes through (config.ini, tip files, backup files, logfile.txt).
// Texts are UTF-16 here and cross the A functions in the ANSI code page.
//  - Reads are whole: the buffer grows until the result fits.
//  - Writes report their result.
//  - Text that would break the file (CR or LF anywhere; "]" in a section name;
//    "=" in a key or a key starting with "[" or ";"; 32,767 characters or more;
//    characters without a form in the code page) is refused: nothing is
//    written and the call fails.
//
// Appending. While an AppendSession is alive, Write and WriteNew add a key that
// is new to the last section of a file as the plain line "key=value\r\n" at the
// end of the file, when those are exactly the bytes the system would write: the
// file is ANSI (no byte-order mark), every line ends in CR LF and carries no
// blank padding, there are no blank lines, the section appears once, and the
// section, key and value hold no padding the system would strip. Anything else
// (a key already there, another section, a missing or irregular file, text
// that is refused) goes through the system as outside a session. Every append
// is on disk when the call returns. The files appended to stay open until the
// session ends (shared for reading and writing, not for deleting or renaming),
// and the system's cached copy of such a file is dropped before an append, so
// that every read through the system sees the appended lines. Within a session
// a file held is read whole once (again only when it changed behind the
// session's back): WriteNew and Find answer from that copy, and Write leaves a
// key that already holds the value as the system would, without writing.
#include <deque>
#include <string>
#include <unordered_map>
#include <vector>

namespace Ini {

// The value of `key` in `section`, blanks at its two ends removed by the system;
// empty when the file, section or key is missing. `found` tells the cases apart.
std::wstring Read(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                  bool* found = nullptr);
// The keys of a section in file order (empty when the section is missing).
std::vector<std::wstring> Keys(const std::wstring& file, const std::wstring& section);
// The sections of a file in file order.
std::vector<std::wstring> Sections(const std::wstring& file);

bool Write(const std::wstring& file, const std::wstring& section, const std::wstring& key,
           const std::wstring& value);
bool DeleteKey(const std::wstring& file, const std::wstring& section, const std::wstring& key);
bool DeleteSection(const std::wstring& file, const std::wstring& section);
// Whether the file has a section of this name (names match without regard to case).
bool HasSection(const std::wstring& file, const std::wstring& section);
enum class NewKey { Written, Kept, Failed };
// Writes `value` unless `key` is already in `section` (as Read's `found` tells):
// Kept then, whatever its value.
NewKey WriteNew(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                const std::wstring& value);
// Leaves the section line with no keys (writes, then deletes, a dummy key).
bool MakeEmptySection(const std::wstring& file, const std::wstring& section);

// Read, answered within a session from what the session knows of a file it
// holds (the file is opened and read whole once, and read again only when it
// changed behind the session's back); through the system outside a session and
// wherever that knowledge does not decide the answer exactly.
std::wstring Find(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                  bool* found = nullptr);

// One session at a time; a session started inside another one adds nothing.
class AppendSession {
public:
    AppendSession();
    ~AppendSession();
    AppendSession(const AppendSession&) = delete;
    AppendSession& operator=(const AppendSession&) = delete;
    // Lines appended so far by this session (0 for one started inside another).
    int Appended() const;

private:
    bool owner_ = false;
};

// Reading many keys in one user action. While a ReadSnapshot is alive, Read
// answers from one whole read of each file it is asked about, wherever that
// copy decides the answer exactly (as Find does within a session: a file in
// the form the system writes, the first section of a name, a value without
// quotes, names whose letter case the copy can compare), and through the
// system everywhere else and for a file inside a FileTransaction (its reads
// go to the copy). The other readers go through the system as outside. The copy is read again when the
// file's size or last-write time changed, after every change this layer makes
// to any file, and after every wait for the user (a message box, a modal
// window, a system dialog). One snapshot at a time; a snapshot started inside
// another one adds nothing.
class ReadSnapshot {
public:
    ReadSnapshot();
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

private:
    bool owner_ = false;
};

// ---- whole sections as the system lists them (many keys in one write) ----
// The lines of `section` as the system lists them ("key=value", a line without
// "=" as the bare name), NUL-separated, in the code page's bytes, read whole in
// one call; empty when the section is missing or holds nothing.
std::string SectionBytes(const std::wstring& file, const std::wstring& section);
// SectionBytes, told apart from a file that cannot be read: false when the file
// exists but cannot be opened for reading (held open by another program that
// shares no reading, no access), and `bytes` is left untouched. A missing file
// or section reads as empty.
bool ReadSectionBytes(const std::wstring& file, const std::wstring& section, std::string& bytes);
// Whether the file can be opened for reading, or is missing (which reads as empty).
bool Readable(const std::wstring& file);
// Replaces every line of `section` by `lines` (NUL-separated "key=value" lines
// as SectionBytes gives them) in one write; with no lines the section is left
// (or made) empty. The system drops a line without "=": callers that must keep
// such lines check first. Refuses a section name the file cannot hold and a
// line that would break the file. False when refused or the write failed (the
// file is then as it was).
bool WriteSectionBytes(const std::wstring& file, const std::wstring& section, const std::string& lines);

// Test seam: the n-th write, key delete or section delete from now fails
// (nothing written); 0 switches it off.
void FailNthWriteForTests(int n);

// The checks applied by the writers, for callers that want to refuse user input early.
// Besides the line and bracket rules: fewer than 32,767 characters, and every
// character with a form in the ANSI code page.
bool SafeValue(const std::wstring& value);
bool SafeKey(const std::wstring& key);
bool SafeSection(const std::wstring& section);
// True when the profile functions can keep the text as it is: shorter than
// 32,767 characters and every character with a form in the ANSI code page.
// The writers refuse anything else.
bool Holdable(const std::wstring& text);

// ---- whole-file replacement ----
// While a FileTransaction for a file is alive, every write to that file goes to
// a copy beside it (the file's name followed by CopySuffix, made from the file
// at the first write) and every read of it reads the copy once there is one, so
// the profile functions write the copy byte for byte as they would have written
// the file. Commit replaces the file by the copy in one step: a program ended at
// any moment leaves the file as it was or as the command made it, never part
// way, and at worst a stray copy that RemoveStrayCopies takes away.
// A write outside a transaction (and outside an AppendSession) is one of its
// own: the copy, the write, the replacement. The first write fails, as a write
// in place would, when the file is there but cannot be written (held open by
// another program that shares no writing, read-only, no access). A file that
// can be written but not replaced (held open sharing its writing, not its
// renaming) takes the copy's bytes in place instead.
inline constexpr wchar_t CopySuffix[] = L".~new";
class FileTransaction {
public:
    // A second transaction for a file that has one already joins it (its
    // Commit and Discard do nothing).
    explicit FileTransaction(const std::wstring& file);
    // Commits what Commit or Discard has not settled.
    ~FileTransaction();
    FileTransaction(const FileTransaction&) = delete;
    FileTransaction& operator=(const FileTransaction&) = delete;
    // Replaces the file by the copy (nothing to do when nothing was written).
    // False when the file could not be replaced: it is then as it was and the
    // copy is gone.
    bool Commit();
    // Drops the copy: the file stays as it was.
    void Discard();

private:
    std::wstring key_;
    bool owner_ = false;
};
// Whether the file is missing or can be written now (not held open by another
// program that shares no writing, not read-only, access allowed).
bool Replaceable(const std::wstring& file);
// Deletes the copies (names ending in CopySuffix) left in a folder by a program
// that ended before it replaced their files. The number deleted.
int RemoveStrayCopies(const std::wstring& folder);
// The same for one file's copy (a tip data file elsewhere). True when one was deleted.
bool RemoveStrayCopyOf(const std::wstring& file);
// Test seam: after the n-th change of a file from now (a write, an append, a
// copy made, a file replaced or a copy removed) nothing more reaches the disk,
// as when the program is ended at that moment: later changes are skipped and
// reported done. 0 switches it off.
void EndWritesAfterForTests(int n);
// Whether the seam above has ended the writes.
bool WritesEndedForTests();

// ---- many keys of one section, written as one ----
// One section of a file edited in memory as single-key writes edit it, then
// written whole: the file ends up byte for byte as after the same Write and
// DeleteKey calls made one by one (a key found without regard to letter case
// keeps its name and place and takes the new value, a new key goes to the end
// of the section, a missing section is added at the end of the file, a key
// deleted leaves its section in place), with one rewrite of the file in place
// of one per key.
class SectionEdit {
public:
    // Reads the file once. Exact() is false when the outcome of single-key
    // writes cannot be told for certain: the file missing, unreadable or not in
    // the form the system writes, the section named more than once (in any
    // letter case), a line of it without "=", or a key whose letter case only
    // the system can compare. The caller then writes key by key.
    SectionEdit(const std::wstring& file, const std::wstring& section);
    bool Exact() const { return exact_; }
    // Whether Set and Remove can tell the outcome for `key` exactly: a key the
    // writers accept, without blanks at its ends and without letters beyond
    // ASCII that have a case.
    bool Decides(const std::wstring& key) const;
    // As Write(file, section, key, value) and DeleteKey(file, section, key)
    // would change the section. False, and nothing changed, when the edit is
    // not Exact, the key not decided or the value refused.
    bool Set(const std::wstring& key, const std::wstring& value);
    bool Remove(const std::wstring& key);
    // Writes the edits made since the last Commit in one write (nothing when
    // they change nothing). False when the write failed or was refused: the
    // edits are dropped then, and the file is as it was.
    bool Commit();
    // Puts the section back as it was before the last successful Commit (a
    // section that commit added goes again). False when that write failed.
    bool Undo();
    // Drops the edits not yet committed.
    void Discard();

private:
    struct Entry {
        std::wstring key, value;
        bool gone = false;  // removed; kept so that line numbers stay
    };
    struct State {
        bool exists = false;
        std::vector<Entry> lines;  // in file order
    };
    bool Put(const State& state);
    void Index();

    std::wstring file_, section_;
    bool exact_ = false;
    bool dirty_ = false;    // edits since the last Commit that change the section
    bool touched_ = false;  // edits since the last Commit at all
    State current_, committed_, previous_;
    // Folded key -> its live lines in `current_`, first first.
    std::unordered_map<std::wstring, std::deque<size_t>> index_;
};

}  // namespace Ini
