#include "common/Ini.h"

#include "platform/Modal.h"
#include "platform/Text.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <memory>
#include <optional>
#include <unordered_map>

namespace Ini {
namespace {

bool HasLineBreak(const std::wstring& s) { return s.find_first_of(L"\r\n") != std::wstring::npos; }

// GetPrivateProfileStringA with a buffer that grows until the result fits.
// `list` reads return NUL-separated names: the system signals a cut list by
// returning size - 2, a cut value by size - 1.
std::string ReadRaw(const char* section, const char* key, const std::string& file, const char* missing = "") {
    std::string buf(1024, '\0');
    for (;;) {
        DWORD n = GetPrivateProfileStringA(section, key, missing, buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
        bool list = section == nullptr || key == nullptr;
        DWORD limit = static_cast<DWORD>(buf.size()) - (list ? 2 : 1);
        if (n < limit || buf.size() >= (1u << 26)) {
            buf.resize(n);
            return buf;
        }
        buf.assign(buf.size() * 4, '\0');
    }
}

// The default Read asks for, by which it tells a missing key.
constexpr char kMissingAnsi[] = "\x01\x02";
constexpr wchar_t kMissing[] = L"\x01\x02";

std::vector<std::wstring> SplitNul(const std::string& raw) {
    std::vector<std::wstring> out;
    size_t start = 0;
    while (start < raw.size()) {
        size_t end = raw.find('\0', start);
        if (end == std::string::npos) end = raw.size();
        if (end > start) out.push_back(Text::FromAnsi(std::string_view(raw).substr(start, end - start)));
        start = end + 1;
    }
    return out;
}

// ---- Appending ------------------------------------------------------------
// The system reads an ANSI profile file by decoding it whole, splitting it into
// lines at CR and LF, and trimming each line (and a name and a value around
// "=") of blanks: tab to CR, ^Z and space. It writes the file back as
// "[section]\r\n" and "key=value\r\n" lines (a line without "=" as it is),
// sections and keys in file order, a new key at the end of the first section of
// its name. Names match without regard to case. A file in exactly that form
// ("regular") that gets a new key in its last section therefore becomes the
// same bytes plus the key's line.

bool ProfileBlank(wchar_t c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }
bool Padded(std::wstring_view s) { return !s.empty() && (ProfileBlank(s.front()) || ProfileBlank(s.back())); }
wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; }

// A character beyond ASCII that has another case form.
bool CasedBeyondAscii(wchar_t c) {
    if (c < 0x80) return false;
    wchar_t lower = c, upper = c;
    CharLowerBuffW(&lower, 1);
    CharUpperBuffW(&upper, 1);
    return lower != c || upper != c || std::towlower(c) != c || std::towupper(c) != c;
}
bool Plain(std::wstring_view s) {
    for (wchar_t c : s)
        if (CasedBeyondAscii(c)) return false;
    return true;
}
std::wstring Fold(std::wstring_view s) {
    std::wstring out(s);
    for (wchar_t& c : out) c = AsciiLower(c);
    return out;
}

enum class Same { No, Yes, Maybe };
// Whether the system takes two names for the same one. Exact for names whose
// characters beyond ASCII have no case forms; Maybe when that decides it.
Same SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return Same::No;
    bool maybe = false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x == y) continue;
        if (x < 0x80 && y < 0x80) {
            if (AsciiLower(x) != AsciiLower(y)) return Same::No;
        } else if (CasedBeyondAscii(x) || CasedBeyondAscii(y)) {
            maybe = true;
        } else {
            return Same::No;
        }
    }
    return maybe ? Same::Maybe : Same::Yes;
}

// The keys of one section with their values (the first of a name counts, as the
// system reads it; nothing for a line without "="): plain names folded for
// lookup, the others kept whole.
struct NameSet {
    std::unordered_map<std::wstring, std::optional<std::wstring>> plain;
    std::vector<std::pair<std::wstring, std::optional<std::wstring>>> other;
    void Add(const std::wstring& name, std::optional<std::wstring> value) {
        if (Plain(name)) plain.emplace(Fold(name), std::move(value));
        else other.emplace_back(name, std::move(value));
    }
    // Yes when a key of the set is the name (ASCII letters in either case),
    // Maybe when only the system can tell, No otherwise. `value` (when asked
    // for) points at the value the system would find, and only when that is
    // certain.
    Same Find(const std::wstring& name, const std::optional<std::wstring>** value = nullptr) const {
        bool yes = false, maybe = false;
        const std::optional<std::wstring>* hit = nullptr;
        auto against = [&](const std::wstring& known, const std::optional<std::wstring>& v) {
            Same s = SameName(known, name);
            if (s == Same::Yes && !yes) {
                yes = true;
                hit = &v;
            } else if (s == Same::Maybe) {
                maybe = true;
            }
        };
        if (Plain(name)) {
            auto it = plain.find(Fold(name));  // plain against plain: folding decides
            if (it != plain.end()) {
                yes = true;
                hit = &it->second;
            }
        } else {
            for (const auto& [p, v] : plain) against(p, v);  // folding ASCII does not change the outcome
        }
        for (const auto& [o, v] : other) against(o, v);
        if (value) *value = yes && !maybe ? hit : nullptr;
        return yes ? Same::Yes : maybe ? Same::Maybe : Same::No;
    }
};

// What an append or a lookup needs to know of a file's content.
struct Layout {
    bool regular = false;  // in the form the system writes, every section named
    struct Section {
        std::wstring name;
        NameSet keys;
    };
    std::vector<Section> sections;  // in file order
};

Layout ReadLayout(const std::string& bytes) {
    Layout out;
    if (bytes.empty()) return out;
    auto starts = [&](const char* mark, size_t n) { return bytes.size() >= n && bytes.compare(0, n, mark, n) == 0; };
    if (starts("\xEF\xBB\xBF", 3) || starts("\xFF\xFE", 2) || starts("\xFE\xFF", 2)) return out;  // not ANSI
    std::wstring text = Text::FromAnsi(bytes);
    if (Text::ToAnsi(text) != bytes) return out;  // bytes the system would not write back as they are
    if (text.size() < 2 || text.compare(text.size() - 2, 2, L"\r\n") != 0) return out;
    std::vector<Layout::Section> sections;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L"\r\n", start);
        std::wstring_view line(text.data() + start, end - start);
        start = end + 2;
        if (line.empty() || Padded(line) || line.find_first_of(std::wstring_view(L"\r\n\0", 3)) != std::wstring_view::npos)
            return out;
        if (line.front() == L'[') {
            if (line.size() < 3 || line.back() != L']') return out;
            std::wstring_view name = line.substr(1, line.size() - 2);
            if (Padded(name)) return out;
            sections.push_back({std::wstring(name), NameSet()});
            continue;
        }
        if (line.front() == L'=') return out;
        if (sections.empty()) continue;  // keys before the first section: the system keeps them there
        size_t eq = line.find(L'=');
        if (eq != std::wstring_view::npos && (ProfileBlank(line[eq - 1]) ||
                                              (eq + 1 < line.size() && ProfileBlank(line[eq + 1]))))
            return out;
        std::optional<std::wstring> value;
        if (eq != std::wstring_view::npos) value.emplace(line.substr(eq + 1));
        sections.back().keys.Add(std::wstring(line.substr(0, eq)), std::move(value));
    }
    if (sections.empty()) return out;
    out.regular = true;
    out.sections = std::move(sections);
    return out;
}

// A file the session appends to, kept open.
struct HeldFile {
    std::wstring path;             // full path as the system names it
    std::string ansiPath;
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool known = false;            // `layout` is the file as it was at `size` / `written`
    LONGLONG size = 0;
    FILETIME written{};
    Layout layout;
    bool systemMayCache = true;    // the system may hold a copy of the file from before
};

struct Session {
    std::vector<HeldFile> files;
    int appended = 0;
};
Session* g_session = nullptr;

std::wstring FullPath(const std::wstring& file) {
    wchar_t buf[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(file.c_str(), static_cast<DWORD>(std::size(buf)), buf, nullptr);
    return n > 0 && n < std::size(buf) ? std::wstring(buf, n) : std::wstring();
}

// The session's entry of `file`; opened now when `open` (nothing when it cannot be).
HeldFile* Held(const std::wstring& file, bool open) {
    if (!g_session) return nullptr;
    bool lossless = true;
    std::string ansiPath = Text::ToAnsi(file, &lossless);
    if (!lossless) return nullptr;  // the system would name another file
    std::wstring path = FullPath(Text::FromAnsi(ansiPath));
    if (path.empty()) return nullptr;
    for (HeldFile& f : g_session->files)
        if (CompareStringOrdinal(f.path.c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL) return &f;
    if (!open) return nullptr;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    HeldFile f;
    f.path = std::move(path);
    f.ansiPath = std::move(ansiPath);
    f.handle = h;
    g_session->files.push_back(std::move(f));
    return &g_session->files.back();
}

// After the system has read `file`: it may keep a copy of it.
void SystemUsed(const std::wstring& file) {
    if (HeldFile* f = Held(file, false)) f->systemMayCache = true;
}
// After the system has written `file`: its content is to be read again too.
void SystemWrote(const std::wstring& file) {
    if (HeldFile* f = Held(file, false)) {
        f->systemMayCache = true;
        f->known = false;
    }
}

// ---- Read snapshots -----------------------------------------------------------
// A file as a snapshot read it whole, with the size and last-write time it had then.
struct SnapshotFile {
    std::wstring path;  // full path as the system names it
    LONGLONG size = 0;
    FILETIME written{};
    Layout layout;
};
struct Snapshot {
    std::vector<SnapshotFile> files;
    unsigned waits = 0;  // Modal::Waits() when the files were read
};
Snapshot* g_snapshot = nullptr;
// After a file may have changed: every file a snapshot read is read again.
void ForgetSnapshot() {
    if (g_snapshot) g_snapshot->files.clear();
}

// ---- File transactions ------------------------------------------------------
// The seam that ends the writes as an ended program would.
int g_endAfter = 0;
bool g_ended = false;
// Before a change of a file: false once the writes have ended (the change is skipped).
bool Alive() { return !g_ended; }
// After a change of a file (a write, an append, a copy made, a file replaced or
// a copy removed): what a snapshot read of any file is read again.
void Changed() {
    ForgetSnapshot();
    if (g_endAfter > 0 && --g_endAfter == 0) g_ended = true;
}

struct Transaction {
    std::wstring key;          // the file's full path, upper case
    std::string file, copy;    // as the system names them
    bool prepared = false;     // writes go to the copy
    bool failed = false;       // the copy could not be made: every write fails
};
std::vector<Transaction*> g_transactions;

std::wstring TransactionKey(const std::wstring& file) {
    std::wstring full = FullPath(Text::FromAnsi(Text::ToAnsi(file)));
    if (full.empty()) full = file;
    CharUpperBuffW(full.data(), static_cast<DWORD>(full.size()));
    return full;
}

Transaction* TransactionOf(const std::wstring& file) {
    if (g_transactions.empty()) return nullptr;
    const std::wstring key = TransactionKey(file);
    for (Transaction* t : g_transactions)
        if (t->key == key) return t;
    return nullptr;
}

bool EndsInCopySuffix(const std::wstring& file) {
    const std::wstring_view suffix(CopySuffix);
    return file.size() > suffix.size() &&
           CompareStringOrdinal(file.c_str() + file.size() - suffix.size(), static_cast<int>(suffix.size()),
                                suffix.data(), static_cast<int>(suffix.size()), TRUE) == CSTR_EQUAL;
}

bool ReplaceableAnsi(const std::string& file) {
    const DWORD a = GetFileAttributesA(file.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) return false;
    HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return true;
    }
    const DWORD err = GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
}

bool ReadWhole(HANDLE h, std::string& out);

// The copy's bytes written over the file in place, for a file another program
// holds open sharing its writing but not its renaming: the one case in which
// the file can be written but not replaced.
bool OverwriteInPlace(const std::string& copy, const std::string& file) {
    HANDLE from = CreateFileA(copy.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (from == INVALID_HANDLE_VALUE) return false;
    std::string bytes;
    const bool read = ReadWhole(from, bytes);
    CloseHandle(from);
    if (!read) return false;
    HANDLE to = CreateFileA(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (to == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(to, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size() && SetEndOfFile(to) && FlushFileBuffers(to);
    CloseHandle(to);
    return ok;
}

// Deletes a copy, read-only or not.
bool DeleteCopyFile(const std::string& copy) {
    SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(copy.c_str()) != 0;
}

void RemoveCopy(const std::string& copy) {
    if (GetFileAttributesA(copy.c_str()) == INVALID_FILE_ATTRIBUTES || !Alive()) return;
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, copy.c_str());  // the system's copy goes too
    if (DeleteCopyFile(copy)) Changed();
}

// Where a write to `file` goes: the transaction's copy (made now, from the
// file, at the first write), or the file itself outside a transaction. False
// when the copy cannot be made or the file cannot be replaced.
bool WriteTarget(Transaction& t, std::string& target) {
    target = t.copy;
    if (t.prepared) return !t.failed;
    t.prepared = true;
    t.failed = true;
    if (!ReplaceableAnsi(t.file)) return false;
    if (!Alive()) {
        t.failed = false;
        return true;
    }
    RemoveCopy(t.copy);
    if (GetFileAttributesA(t.file.c_str()) != INVALID_FILE_ATTRIBUTES) {
        if (!CopyFileA(t.file.c_str(), t.copy.c_str(), FALSE)) {
            RemoveCopy(t.copy);
            return false;
        }
        Changed();
    }
    t.failed = false;
    return true;
}

// The name the system reads `file` by: the copy once a transaction has made it.
std::string ReadName(const std::wstring& file) {
    if (Transaction* t = TransactionOf(file); t && t->prepared && !t->failed) return t->copy;
    return Text::ToAnsi(file);
}

// Runs a system write of `file` (given the name to write) inside the file's
// transaction, or inside one of its own outside a transaction and an append
// session.
template <class WriteAs>
bool Guarded(const std::wstring& file, WriteAs write) {
    if (Transaction* t = TransactionOf(file)) {
        std::string target;
        if (!WriteTarget(*t, target)) return false;
        if (!Alive()) return true;
        const bool ok = write(target);
        Changed();
        return ok;
    }
    if (g_session || EndsInCopySuffix(file)) {
        if (!Alive()) return true;
        const bool ok = write(Text::ToAnsi(file));
        Changed();
        SystemWrote(file);
        return ok;
    }
    FileTransaction own(file);
    if (!Guarded(file, write)) {
        own.Discard();
        return false;
    }
    return own.Commit();
}

bool ReadWhole(HANDLE h, std::string& out) {
    LARGE_INTEGER size;
    if (!GetFileSizeEx(h, &size) || size.QuadPart > (1 << 30)) return false;
    out.assign(static_cast<size_t>(size.QuadPart), '\0');
    LARGE_INTEGER zero{};
    if (!SetFilePointerEx(h, zero, nullptr, FILE_BEGIN)) return false;
    size_t done = 0;
    while (done < out.size()) {
        DWORD got = 0;
        if (!ReadFile(h, out.data() + done, static_cast<DWORD>(out.size() - done), &got, nullptr)) return false;
        if (got == 0) break;
        done += got;
    }
    out.resize(done);
    return true;
}

bool Stamp(HANDLE h, LONGLONG& size, FILETIME& written) {
    LARGE_INTEGER s;
    if (!GetFileSizeEx(h, &s) || !GetFileTime(h, nullptr, nullptr, &written)) return false;
    size = s.QuadPart;
    return true;
}

// The session's entry of `file` with its content known: the file is read
// whole the first time and again only when its size or write time show a
// change that did not come from this session. Nothing outside a session, for a
// file that cannot be opened or read.
HeldFile* Known(const std::wstring& file) {
    HeldFile* f = Held(file, true);
    if (!f) return nullptr;
    LONGLONG size = 0;
    FILETIME written{};
    if (!Stamp(f->handle, size, written)) {
        f->known = false;
        return nullptr;
    }
    if (f->known && size == f->size && CompareFileTime(&written, &f->written) == 0) return f;
    std::string bytes;
    if (!ReadWhole(f->handle, bytes)) {
        f->known = false;
        return nullptr;
    }
    f->layout = ReadLayout(bytes);
    f->size = static_cast<LONGLONG>(bytes.size());
    f->written = written;
    f->known = true;
    return f;
}

// The texts as the system gets them through the ANSI functions.
std::wstring AsSystemGetsIt(const std::wstring& s) { return Text::FromAnsi(Text::ToAnsi(s)); }

// What a copy of a file tells of a key.
struct Lookup {
    enum State { Unknown, Absent, Present } state = Unknown;
    std::wstring value;  // Present: the value as the system reads it
};
// The section and key as the system looks them up, when a layout can decide
// the lookup: false when only the system can (a name it would trim or cut).
bool LookupNames(const std::wstring& section, const std::wstring& key, std::wstring& s, std::wstring& k) {
    s = AsSystemGetsIt(section);
    k = AsSystemGetsIt(key);
    const wchar_t nul = L'\0';
    return !s.empty() && !k.empty() && !Padded(s) && !Padded(k) && s.find(nul) == std::wstring::npos &&
           k.find(nul) == std::wstring::npos;
}
// The key `k` of section `s` (names as LookupNames gives them) in a file of
// this layout, as the system would read it; Unknown wherever only the system
// can tell.
Lookup Decide(const Layout& layout, const std::wstring& s, const std::wstring& k) {
    Lookup out;
    if (!layout.regular) return out;
    // The system looks in the first section of the name only.
    for (const Layout::Section& sec : layout.sections) {
        Same same = SameName(sec.name, s);
        if (same == Same::Maybe) return out;
        if (same == Same::No) continue;
        const std::optional<std::wstring>* value = nullptr;
        switch (sec.keys.Find(k, &value)) {
        case Same::No:
            out.state = Lookup::Absent;
            return out;
        case Same::Maybe:
            return out;
        case Same::Yes:
            // A value in quotes loses them to the reader: left to the system.
            if (!value || !*value) return out;
            if (const std::wstring& v = **value; v.size() >= 2 && (v.front() == L'"' || v.front() == L'\'') && v.back() == v.front())
                return out;
            out.state = Lookup::Present;
            out.value = **value;
            return out;
        }
    }
    out.state = Lookup::Absent;
    return out;
}

// What the session knows of a key of a file it holds.
Lookup Look(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    std::wstring s, k;
    if (!g_session || TransactionOf(file) || !LookupNames(section, key, s, k)) return {};
    HeldFile* f = Known(file);
    if (!f) return {};
    return Decide(f->layout, s, k);
}

// The layout of `file` as the snapshot has it: read whole at the first read
// and again whenever the file's size or last-write time differ from the ones
// it had then, or the program has waited for the user since. Nothing outside a
// snapshot, for a file inside a transaction (reads go to its copy), and for a
// file the system would look for elsewhere or that cannot be read.
const Layout* SnapshotLayout(const std::wstring& file) {
    if (!g_snapshot || TransactionOf(file)) return nullptr;
    if (g_snapshot->waits != Modal::Waits()) {
        g_snapshot->files.clear();
        g_snapshot->waits = Modal::Waits();
    }
    bool lossless = true;
    const std::wstring named = Text::FromAnsi(Text::ToAnsi(file, &lossless));
    // A bare name is looked for in the system's folder: only full paths here.
    const auto slash = [](wchar_t c) { return c == L'\\' || c == L'/'; };
    const bool drive = named.size() >= 3 && AsciiLower(named[0]) >= L'a' && AsciiLower(named[0]) <= L'z' &&
                       named[1] == L':' && slash(named[2]);
    const bool share = named.size() >= 2 && slash(named[0]) && slash(named[1]);
    if (!lossless || !(drive || share)) return nullptr;
    const std::wstring path = FullPath(named);
    if (path.empty() || path.size() >= MAX_PATH) return nullptr;
    WIN32_FILE_ATTRIBUTE_DATA now;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &now) || (now.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return nullptr;
    std::vector<SnapshotFile>& files = g_snapshot->files;
    auto it = std::find_if(files.begin(), files.end(), [&](const SnapshotFile& f) {
        return CompareStringOrdinal(f.path.c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL;
    });
    const LONGLONG size = static_cast<LONGLONG>((static_cast<ULONGLONG>(now.nFileSizeHigh) << 32) | now.nFileSizeLow);
    if (it != files.end() && it->size == size && CompareFileTime(&it->written, &now.ftLastWriteTime) == 0)
        return &it->layout;
    if (it != files.end()) files.erase(it);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    // Kept only when the file did not change while it was read.
    SnapshotFile f;
    LONGLONG sizeAfter = 0;
    FILETIME writtenAfter{};
    std::string bytes;
    const bool read = Stamp(h, f.size, f.written) && ReadWhole(h, bytes) && Stamp(h, sizeAfter, writtenAfter) &&
                      sizeAfter == f.size && CompareFileTime(&writtenAfter, &f.written) == 0 &&
                      static_cast<LONGLONG>(bytes.size()) == f.size;
    CloseHandle(h);
    if (!read) return nullptr;
    f.path = path;
    f.layout = ReadLayout(bytes);
    files.push_back(std::move(f));
    return &files.back().layout;
}

// What the snapshot tells of a key: Unknown outside a snapshot and wherever
// its copy of the file does not decide the answer exactly.
Lookup FromSnapshot(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    std::wstring s, k;
    if (!g_snapshot || !LookupNames(section, key, s, k)) return {};
    const Layout* layout = SnapshotLayout(file);
    return layout ? Decide(*layout, s, k) : Lookup{};
}

// Appends "key=value" to `file` when the key is new to the file's last section
// and the line is what the system would write. False when nothing was
// appended: the caller goes through the system.
bool TryAppend(const std::wstring& file, const std::wstring& section, const std::wstring& key,
               const std::wstring& value) {
    if (!g_session || TransactionOf(file)) return false;
    const std::wstring s = AsSystemGetsIt(section), k = AsSystemGetsIt(key), v = AsSystemGetsIt(value);
    auto hasBreak = [](const std::wstring& t) { return t.find_first_of(std::wstring_view(L"\r\n\0", 3)) != std::wstring::npos; };
    if (s.empty() || k.empty() || Padded(s) || Padded(k) || Padded(v) || hasBreak(s) || hasBreak(k) ||
        hasBreak(v) || s.find(L']') != std::wstring::npos || k.find(L'=') != std::wstring::npos ||
        k.front() == L'[' || k.front() == L';')
        return false;
    HeldFile* f = Known(file);
    if (!f) return false;
    const Layout& layout = f->layout;
    if (!layout.regular || SameName(layout.sections.back().name, s) != Same::Yes) return false;
    for (size_t i = 0; i + 1 < layout.sections.size(); ++i)
        if (SameName(layout.sections[i].name, s) != Same::No) return false;  // the system writes to the first of that name
    if (layout.sections.back().keys.Find(k) != Same::No) return false;

    if (f->systemMayCache) {
        // Drop the system's copy: a copy whose file time matches the appended
        // file's (the clock may not have moved on) would be taken for current.
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, f->ansiPath.c_str());
        f->systemMayCache = false;
    }
    if (!Alive()) return true;
    const std::string line = Text::ToAnsi(k + L"=" + v + L"\r\n");
    LARGE_INTEGER end;
    end.QuadPart = f->size;
    DWORD written = 0;
    if (!SetFilePointerEx(f->handle, end, nullptr, FILE_BEGIN) ||
        !WriteFile(f->handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
        written != line.size()) {
        // Take back a partial line; the system's write decides.
        if (SetFilePointerEx(f->handle, end, nullptr, FILE_BEGIN)) SetEndOfFile(f->handle);
        f->known = false;
        ForgetSnapshot();
        return false;
    }
    Changed();
    f->layout.sections.back().keys.Add(k, v);
    if (!Stamp(f->handle, f->size, f->written)) f->known = false;
    ++g_session->appended;
    return true;
}

bool WriteRaw(const std::wstring& file, const std::wstring& section, const std::wstring* key,
              const std::wstring* value) {
    const std::string s = Text::ToAnsi(section);
    const std::string k = key ? Text::ToAnsi(*key) : std::string(), v = value ? Text::ToAnsi(*value) : std::string();
    return Guarded(file, [&](const std::string& f) {
        return WritePrivateProfileStringA(s.c_str(), key ? k.c_str() : nullptr, value ? v.c_str() : nullptr,
                                          f.c_str()) != 0;
    });
}

}  // namespace

namespace {
int g_failWriteAt = 0;  // test seam: the n-th write from now fails (0: none)
bool SeamFails() {
    if (g_failWriteAt <= 0) return false;
    return --g_failWriteAt == 0;
}
}  // namespace

void FailNthWriteForTests(int n) { g_failWriteAt = n; }

bool SafeValue(const std::wstring& value) { return !HasLineBreak(value) && Holdable(value); }

bool SafeKey(const std::wstring& key) {
    if (key.empty() || HasLineBreak(key) || key.find(L'=') != std::wstring::npos || !Holdable(key)) return false;
    std::wstring t = Text::Trim(key);
    return !t.empty() && t[0] != L'[' && t[0] != L';';
}

// The profile functions hold less than 32,767 characters in a name or value, and
// a character the code page cannot hold would be written as "?".
bool Holdable(const std::wstring& text) { return text.size() < 32767 && Text::FitsAnsi(text); }

bool SafeSection(const std::wstring& section) {
    return !section.empty() && !HasLineBreak(section) && section.find(L']') == std::wstring::npos &&
           Holdable(section);
}

std::wstring Read(const std::wstring& file, const std::wstring& section, const std::wstring& key, bool* found) {
    if (const Lookup l = FromSnapshot(file, section, key); l.state != Lookup::Unknown && l.value != kMissing) {
        if (found) *found = l.state == Lookup::Present;
        return l.value;
    }
    std::string f = ReadName(file), s = Text::ToAnsi(section), k = Text::ToAnsi(key);
    std::string raw;
    if (found) {
        // A key that is present with an empty value reads as "" under any
        // default; a missing one gives the default back. A key that holds
        // the marker itself counts as missing, and a second read tells its
        // value from a missing key's "".
        raw = ReadRaw(s.c_str(), k.c_str(), f, kMissingAnsi);
        *found = raw != kMissingAnsi;
        if (!*found) raw = ReadRaw(s.c_str(), k.c_str(), f);
    } else {
        raw = ReadRaw(s.c_str(), k.c_str(), f);
    }
    SystemUsed(file);
    return Text::FromAnsi(raw);
}

std::vector<std::wstring> Keys(const std::wstring& file, const std::wstring& section) {
    std::string s = Text::ToAnsi(section);
    std::vector<std::wstring> keys = SplitNul(ReadRaw(s.c_str(), nullptr, ReadName(file)));
    SystemUsed(file);
    return keys;
}

std::vector<std::wstring> Sections(const std::wstring& file) {
    std::vector<std::wstring> sections = SplitNul(ReadRaw(nullptr, nullptr, ReadName(file)));
    SystemUsed(file);
    return sections;
}

bool Write(const std::wstring& file, const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    if (!SafeSection(section) || !SafeKey(key) || !SafeValue(value) || SeamFails()) return false;
    if (TryAppend(file, section, key, value)) return true;
    // The system leaves a file alone when the key holds the value already.
    if (g_session && !Padded(AsSystemGetsIt(value))) {
        Lookup l = Look(file, section, key);
        if (l.state == Lookup::Present && l.value == AsSystemGetsIt(value)) return true;
    }
    return WriteRaw(file, section, &key, &value);
}

NewKey WriteNew(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                const std::wstring& value) {
    // An append happens only for a key the section does not have.
    if (SafeSection(section) && SafeKey(key) && SafeValue(value) && TryAppend(file, section, key, value))
        return NewKey::Written;
    bool found = false;
    Find(file, section, key, &found);
    if (found) return NewKey::Kept;
    return Write(file, section, key, value) ? NewKey::Written : NewKey::Failed;
}

std::wstring Find(const std::wstring& file, const std::wstring& section, const std::wstring& key, bool* found) {
    Lookup l = Look(file, section, key);
    if (l.state == Lookup::Unknown) return Read(file, section, key, found);
    if (found) *found = l.state == Lookup::Present;
    return l.value;
}

bool DeleteKey(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    if (!SafeSection(section) || !SafeKey(key) || SeamFails()) return false;
    return WriteRaw(file, section, &key, nullptr);
}

bool DeleteSection(const std::wstring& file, const std::wstring& section) {
    if (!SafeSection(section) || SeamFails()) return false;
    return WriteRaw(file, section, nullptr, nullptr);
}

bool HasSection(const std::wstring& file, const std::wstring& section) {
    for (const auto& s : Sections(file))
        if (Text::EqualNoCase(s, section)) return true;
    return false;
}

bool MakeEmptySection(const std::wstring& file, const std::wstring& section) {
    const std::wstring dummy = L"QuorixEmptySectionKey";
    return Write(file, section, dummy, L"1") && DeleteKey(file, section, dummy);
}

std::string SectionBytes(const std::wstring& file, const std::wstring& section) {
    const std::string f = ReadName(file), s = Text::ToAnsi(section);
    // The system signals a cut section by returning size - 2.
    std::string buf(64 * 1024, '\0');
    for (;;) {
        DWORD n = GetPrivateProfileSectionA(s.c_str(), buf.data(), static_cast<DWORD>(buf.size()), f.c_str());
        if (n < buf.size() - 2 || buf.size() >= (1u << 28)) {
            buf.resize(n);
            break;
        }
        buf.assign(buf.size() * 4, '\0');
    }
    SystemUsed(file);
    // The list ends with one NUL after its last line; the lines keep theirs.
    while (!buf.empty() && buf.back() == '\0') buf.pop_back();
    if (!buf.empty()) buf.push_back('\0');
    return buf;
}

bool Readable(const std::wstring& file) {
    HANDLE h = CreateFileA(ReadName(file).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return true;
    }
    const DWORD err = GetLastError();
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
}

bool Replaceable(const std::wstring& file) { return ReplaceableAnsi(Text::ToAnsi(file)); }

FileTransaction::FileTransaction(const std::wstring& file) : key_(TransactionKey(file)) {
    if (TransactionOf(file)) return;
    auto* t = new Transaction;
    t->key = key_;
    t->file = Text::ToAnsi(file);
    t->copy = t->file + Text::ToAnsi(CopySuffix);
    g_transactions.push_back(t);
    owner_ = true;
}

FileTransaction::~FileTransaction() { Commit(); }

namespace {
// Takes the transaction of `key` off the list; nothing when it is not there.
std::unique_ptr<Transaction> Settle(const std::wstring& key) {
    for (auto it = g_transactions.begin(); it != g_transactions.end(); ++it)
        if ((*it)->key == key) {
            std::unique_ptr<Transaction> t(*it);
            g_transactions.erase(it);
            return t;
        }
    return nullptr;
}
}  // namespace

bool FileTransaction::Commit() {
    if (!owner_) return true;
    owner_ = false;
    std::unique_ptr<Transaction> t = Settle(key_);
    if (!t || !t->prepared || t->failed || !Alive()) return !t || !t->failed || !Alive();
    if (GetFileAttributesA(t->copy.c_str()) == INVALID_FILE_ATTRIBUTES) return true;  // nothing was written
    // The copy's bytes on disk before it takes the file's place; the system's
    // cached copies of both names go, so that every later read sees the file.
    HANDLE h = CreateFileA(t->copy.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        FlushFileBuffers(h);
        CloseHandle(h);
    }
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, t->copy.c_str());
    const std::wstring file = Text::FromAnsi(t->file);
    if (HeldFile* f = Held(file, false)) {
        // An append session holding the file lets go of it.
        CloseHandle(f->handle);
        g_session->files.erase(g_session->files.begin() + (f - g_session->files.data()));
    }
    bool ok = MoveFileExA(t->copy.c_str(), t->file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok && GetFileAttributesA(t->file.c_str()) != INVALID_FILE_ATTRIBUTES) ok = OverwriteInPlace(t->copy, t->file);
    if (ok) Changed();
    RemoveCopy(t->copy);
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, t->file.c_str());
    SystemWrote(file);
    return ok;
}

void FileTransaction::Discard() {
    if (!owner_) return;
    owner_ = false;
    std::unique_ptr<Transaction> t = Settle(key_);
    if (t && t->prepared) RemoveCopy(t->copy);
}

int RemoveStrayCopies(const std::wstring& folder) {
    std::wstring dir = folder;
    if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
    const std::string pattern = Text::ToAnsi(dir + L"*" + CopySuffix);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA(pattern.c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    std::vector<std::string> found;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::wstring name = Text::FromAnsi(fd.cFileName);
        if (EndsInCopySuffix(name)) found.push_back(Text::ToAnsi(dir) + fd.cFileName);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    int removed = 0;
    for (const std::string& copy : found)
        if (DeleteCopyFile(copy)) ++removed;
    return removed;
}

bool RemoveStrayCopyOf(const std::wstring& file) {
    if (TransactionOf(file)) return false;  // a command of this run is writing it
    const std::string copy = Text::ToAnsi(file + CopySuffix);
    return GetFileAttributesA(copy.c_str()) != INVALID_FILE_ATTRIBUTES && DeleteCopyFile(copy);
}

void EndWritesAfterForTests(int n) {
    g_endAfter = n;
    g_ended = false;
}

bool WritesEndedForTests() { return g_ended; }

bool ReadSectionBytes(const std::wstring& file, const std::wstring& section, std::string& bytes) {
    std::string read = SectionBytes(file, section);
    // The system answers a file it cannot open as it answers an empty section.
    if (read.empty() && !Readable(file)) return false;
    bytes = std::move(read);
    return true;
}

bool WriteSectionBytes(const std::wstring& file, const std::wstring& section, const std::string& lines) {
    if (!SafeSection(section)) return false;
    if (lines.find_first_of("\r\n") != std::string::npos) return false;
    // No lines: a missing section is made empty; one that exists is emptied below.
    if (lines.empty() && !HasSection(file, section)) return MakeEmptySection(file, section);
    if (SeamFails()) return false;
    std::string list = lines;
    if (!list.empty() && list.back() != '\0') list.push_back('\0');
    list.push_back('\0');
    if (list.size() == 1) list.push_back('\0');
    const std::string s = Text::ToAnsi(section);
    return Guarded(file, [&](const std::string& f) { return WritePrivateProfileSectionA(s.c_str(), list.data(), f.c_str()) != 0; });
}

AppendSession::AppendSession() {
    if (g_session) return;
    g_session = new Session;
    owner_ = true;
}

AppendSession::~AppendSession() {
    if (!owner_) return;
    for (HeldFile& f : g_session->files) CloseHandle(f.handle);
    delete g_session;
    g_session = nullptr;
}

int AppendSession::Appended() const { return owner_ ? g_session->appended : 0; }

ReadSnapshot::ReadSnapshot() {
    if (g_snapshot) return;
    g_snapshot = new Snapshot;
    g_snapshot->waits = Modal::Waits();
    owner_ = true;
}

ReadSnapshot::~ReadSnapshot() {
    if (!owner_) return;
    delete g_snapshot;
    g_snapshot = nullptr;
}

// ---- SectionEdit ------------------------------------------------------------
namespace {

// The lines of the one section of `bytes` named `section` (as the system gets
// the name), or nothing when the file is not in the form the system writes or
// the section cannot be told apart for certain. `exists` tells a missing
// section from an empty one.
bool SectionLines(const std::string& bytes, const std::wstring& section, bool& exists,
                  std::vector<std::pair<std::wstring, std::wstring>>& lines) {
    if (bytes.empty()) return false;
    auto starts = [&](const char* mark, size_t n) { return bytes.size() >= n && bytes.compare(0, n, mark, n) == 0; };
    if (starts("\xEF\xBB\xBF", 3) || starts("\xFF\xFE", 2) || starts("\xFE\xFF", 2)) return false;
    const std::wstring text = Text::FromAnsi(bytes);
    if (Text::ToAnsi(text) != bytes) return false;
    if (text.size() < 2 || text.compare(text.size() - 2, 2, L"\r\n") != 0) return false;
    exists = false;
    bool inside = false, anySection = false;
    for (size_t start = 0; start < text.size();) {
        const size_t end = text.find(L"\r\n", start);
        std::wstring_view line(text.data() + start, end - start);
        start = end + 2;
        if (line.empty() || Padded(line) || line.find_first_of(std::wstring_view(L"\r\n\0", 3)) != std::wstring_view::npos)
            return false;
        if (line.front() == L'[') {
            if (line.size() < 3 || line.back() != L']') return false;
            const std::wstring_view name = line.substr(1, line.size() - 2);
            if (Padded(name)) return false;
            anySection = true;
            switch (SameName(name, section)) {
            case Same::Maybe:
                return false;
            case Same::Yes:
                if (exists) return false;  // the system would find its keys in either
                exists = inside = true;
                break;
            case Same::No:
                inside = false;
                break;
            }
            continue;
        }
        if (line.front() == L'=') return false;
        const size_t eq = line.find(L'=');
        if (eq != std::wstring_view::npos &&
            (ProfileBlank(line[eq - 1]) || (eq + 1 < line.size() && ProfileBlank(line[eq + 1]))))
            return false;
        if (!inside) continue;
        if (eq == std::wstring_view::npos) return false;  // a line the whole-section write would drop
        std::wstring key(line.substr(0, eq));
        if (!Plain(key)) return false;
        lines.emplace_back(std::move(key), std::wstring(line.substr(eq + 1)));
    }
    return anySection;
}

bool ReadFileBytes(const std::wstring& file, std::string& out) {
    bool lossless = true;
    const std::string ansi = Text::ToAnsi(file, &lossless);
    if (!lossless) return false;  // the system would name another file
    HANDLE h = CreateFileW(Text::FromAnsi(ansi).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = ReadWhole(h, out);
    CloseHandle(h);
    return ok;
}

}  // namespace

SectionEdit::SectionEdit(const std::wstring& file, const std::wstring& section) : file_(file), section_(section) {
    const std::wstring s = AsSystemGetsIt(section);
    if (!SafeSection(section) || Padded(s)) return;
    std::string bytes;
    std::vector<std::pair<std::wstring, std::wstring>> lines;
    bool exists = false;
    if (!ReadFileBytes(Text::FromAnsi(ReadName(file)), bytes) || !SectionLines(bytes, s, exists, lines)) return;
    current_.exists = exists;
    current_.lines.reserve(lines.size());
    for (auto& [k, v] : lines) current_.lines.push_back({std::move(k), std::move(v), false});
    committed_ = previous_ = current_;
    Index();
    exact_ = true;
}

bool SectionEdit::Decides(const std::wstring& key) const {
    if (!SafeKey(key)) return false;
    const std::wstring k = AsSystemGetsIt(key);
    return !k.empty() && !Padded(k) && Plain(k);
}

void SectionEdit::Index() {
    index_.clear();
    for (size_t i = 0; i < current_.lines.size(); ++i)
        if (!current_.lines[i].gone) index_[Fold(current_.lines[i].key)].push_back(i);
}

bool SectionEdit::Set(const std::wstring& key, const std::wstring& value) {
    if (!exact_ || !Decides(key) || !SafeValue(value)) return false;
    const std::wstring k = AsSystemGetsIt(key);
    std::wstring v = AsSystemGetsIt(value);
    // The system drops the blanks before a value it writes.
    size_t lead = 0;
    while (lead < v.size() && ProfileBlank(v[lead])) ++lead;
    v.erase(0, lead);
    touched_ = true;
    std::deque<size_t>& at = index_[Fold(k)];
    if (!at.empty()) {
        Entry& e = current_.lines[at.front()];
        if (e.value != v) {
            e.value = std::move(v);
            dirty_ = true;
        }
        return true;
    }
    at.push_back(current_.lines.size());
    current_.lines.push_back({k, std::move(v), false});
    current_.exists = true;
    dirty_ = true;
    return true;
}

bool SectionEdit::Remove(const std::wstring& key) {
    if (!exact_ || !Decides(key)) return false;
    touched_ = true;
    auto it = index_.find(Fold(AsSystemGetsIt(key)));
    if (it == index_.end() || it->second.empty()) return true;  // nothing to delete: the file stays
    current_.lines[it->second.front()].gone = true;
    it->second.pop_front();
    dirty_ = true;
    return true;
}

bool SectionEdit::Put(const State& state) {
    if (!state.exists) return DeleteSection(file_, section_);
    std::string bytes;
    for (const Entry& e : state.lines) {
        if (e.gone) continue;
        bytes += Text::ToAnsi(e.key);
        bytes += '=';
        bytes += Text::ToAnsi(e.value);
        bytes += '\0';
    }
    return WriteSectionBytes(file_, section_, bytes);
}

bool SectionEdit::Commit() {
    if (!exact_) return false;
    if (!dirty_) {
        // Edits that change nothing write nothing, as the system leaves a key
        // alone that holds its value already (they still count as a write for
        // the test seam, as those calls would).
        const bool ok = !touched_ || !SeamFails();
        touched_ = false;
        if (ok) previous_ = committed_;
        return ok;
    }
    touched_ = false;
    if (!Put(current_)) {
        Discard();
        return false;
    }
    previous_ = std::move(committed_);
    committed_ = current_;
    dirty_ = false;
    return true;
}

bool SectionEdit::Undo() {
    if (!exact_ || !Put(previous_)) return false;
    committed_ = current_ = previous_;
    Index();
    dirty_ = false;
    return true;
}

void SectionEdit::Discard() {
    current_ = committed_;
    Index();
    dirty_ = touched_ = false;
}

}  // namespace Ini
