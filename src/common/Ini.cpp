#include "common/Ini.h"

#include "platform/Text.h"

#include <windows.h>

#include <cwctype>
#include <unordered_set>

namespace Ini {
namespace {

bool HasLineBreak(const std::wstring& s) { return s.find_first_of(L"\r\n") != std::wstring::npos; }

// GetPrivateProfileStringA with a buffer that grows until the result fits.
// `list` reads return NUL-separated names: the system signals a cut list by
// returning size - 2, a cut value by size - 1.
std::string ReadRaw(const char* section, const char* key, const std::string& file) {
    std::string buf(1024, '\0');
    for (;;) {
        DWORD n = GetPrivateProfileStringA(section, key, "", buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
        bool list = section == nullptr || key == nullptr;
        DWORD limit = static_cast<DWORD>(buf.size()) - (list ? 2 : 1);
        if (n < limit || buf.size() >= (1u << 26)) {
            buf.resize(n);
            return buf;
        }
        buf.assign(buf.size() * 4, '\0');
    }
}

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

// Names of one section: plain ones folded for lookup, the others kept whole.
struct NameSet {
    std::unordered_set<std::wstring> plain;
    std::vector<std::wstring> other;
    void Add(const std::wstring& name) {
        if (Plain(name)) plain.insert(Fold(name));
        else other.push_back(name);
    }
    // No when no name of the set can match `name`.
    Same Find(const std::wstring& name) const {
        Same result = Same::No;
        auto against = [&](const std::wstring& known) {
            Same s = SameName(known, name);
            if (s != Same::No && result != Same::Yes) result = s;
        };
        if (Plain(name)) {
            if (plain.count(Fold(name))) return Same::Yes;  // plain against plain: folding decides
        } else {
            for (const std::wstring& p : plain) against(p);  // folding ASCII does not change the outcome
        }
        for (const std::wstring& o : other) against(o);
        return result;
    }
};

// What an append needs to know of a file's content.
struct Layout {
    bool regular = false;                 // in the form the system writes, last section named
    std::wstring lastSection;
    std::vector<std::wstring> earlierSections;
    NameSet lastKeys;
};

Layout ReadLayout(const std::string& bytes) {
    Layout out;
    if (bytes.empty()) return out;
    auto starts = [&](const char* mark, size_t n) { return bytes.size() >= n && bytes.compare(0, n, mark, n) == 0; };
    if (starts("\xEF\xBB\xBF", 3) || starts("\xFF\xFE", 2) || starts("\xFE\xFF", 2)) return out;  // not ANSI
    std::wstring text = Text::FromAnsi(bytes);
    if (Text::ToAnsi(text) != bytes) return out;  // bytes the system would not write back as they are
    if (text.size() < 2 || text.compare(text.size() - 2, 2, L"\r\n") != 0) return out;
    std::vector<std::wstring> sections;
    NameSet keys;
    bool named = false;
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
            if (named) sections.push_back(out.lastSection);
            out.lastSection.assign(name);
            named = true;
            keys = NameSet();
            continue;
        }
        if (line.front() == L'=') return out;
        size_t eq = line.find(L'=');
        if (eq != std::wstring_view::npos && (ProfileBlank(line[eq - 1]) ||
                                              (eq + 1 < line.size() && ProfileBlank(line[eq + 1]))))
            return out;
        keys.Add(std::wstring(line.substr(0, eq)));
    }
    if (!named) return out;
    out.regular = true;
    out.earlierSections = std::move(sections);
    out.lastKeys = std::move(keys);
    return out;
}

// A file the session appends to, kept open.
struct HeldFile {
    std::wstring path;             // full path as the system names it
    std::string ansiPath;
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool known = false;            // `bytes` and `layout` are what this session last saw
    std::string bytes;
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

// After the system has read or written `file`: it may keep a copy of it.
void SystemUsed(const std::wstring& file) {
    if (HeldFile* f = Held(file, false)) f->systemMayCache = true;
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

// Appends "key=value" to `file` when the key is new to the file's last section
// and the line is what the system would write. False when nothing was
// appended: the caller goes through the system.
bool TryAppend(const std::wstring& file, const std::wstring& section, const std::wstring& key,
               const std::wstring& value) {
    if (!g_session) return false;
    // The texts as the system gets them through the ANSI functions.
    const std::wstring s = Text::FromAnsi(Text::ToAnsi(section)), k = Text::FromAnsi(Text::ToAnsi(key)),
                       v = Text::FromAnsi(Text::ToAnsi(value));
    auto hasBreak = [](const std::wstring& t) { return t.find_first_of(std::wstring_view(L"\r\n\0", 3)) != std::wstring::npos; };
    if (s.empty() || k.empty() || Padded(s) || Padded(k) || Padded(v) || hasBreak(s) || hasBreak(k) ||
        hasBreak(v) || s.find(L']') != std::wstring::npos || k.find(L'=') != std::wstring::npos ||
        k.front() == L'[' || k.front() == L';')
        return false;
    HeldFile* f = Held(file, true);
    if (!f) return false;

    if (f->systemMayCache) {
        // Drop the system's copy: a copy whose file time matches the appended
        // file's (the clock may not have moved on) would be taken for current.
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, f->ansiPath.c_str());
        f->systemMayCache = false;
    }
    std::string now;
    if (!ReadWhole(f->handle, now)) {
        f->known = false;
        return false;
    }
    if (!f->known || now != f->bytes) {
        f->bytes = std::move(now);
        f->layout = ReadLayout(f->bytes);
        f->known = true;
    }
    const Layout& layout = f->layout;
    if (!layout.regular || SameName(layout.lastSection, s) != Same::Yes) return false;
    for (const std::wstring& earlier : layout.earlierSections)
        if (SameName(earlier, s) != Same::No) return false;  // the system writes to the first of that name
    if (layout.lastKeys.Find(k) != Same::No) return false;

    const std::string line = Text::ToAnsi(k + L"=" + v + L"\r\n");
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(f->bytes.size());
    DWORD written = 0;
    if (!SetFilePointerEx(f->handle, end, nullptr, FILE_BEGIN) ||
        !WriteFile(f->handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) ||
        written != line.size()) {
        // Take back a partial line; the system's write decides.
        if (SetFilePointerEx(f->handle, end, nullptr, FILE_BEGIN)) SetEndOfFile(f->handle);
        f->known = false;
        return false;
    }
    f->bytes += line;
    f->layout.lastKeys.Add(k);
    ++g_session->appended;
    return true;
}

bool WriteRaw(const std::wstring& file, const std::wstring& section, const std::wstring* key,
              const std::wstring* value) {
    std::string f = Text::ToAnsi(file), s = Text::ToAnsi(section);
    std::string k = key ? Text::ToAnsi(*key) : std::string(), v = value ? Text::ToAnsi(*value) : std::string();
    bool ok = WritePrivateProfileStringA(s.c_str(), key ? k.c_str() : nullptr, value ? v.c_str() : nullptr,
                                         f.c_str()) != 0;
    SystemUsed(file);
    return ok;
}

}  // namespace

namespace {
// Text the profile functions cannot keep: 32,767 characters or more (written
// as nothing, or cut), or characters without a code-page form (written as "?").
bool Unkeepable(const std::wstring& s) { return s.size() >= 32767 || !Text::FitsAnsi(s); }
}  // namespace

bool SafeValue(const std::wstring& value) { return !HasLineBreak(value) && !Unkeepable(value); }

bool SafeKey(const std::wstring& key) {
    if (key.empty() || HasLineBreak(key) || key.find(L'=') != std::wstring::npos || Unkeepable(key)) return false;
    std::wstring t = Text::Trim(key);
    return !t.empty() && t[0] != L'[' && t[0] != L';';
}

bool SafeSection(const std::wstring& section) {
    return !section.empty() && !HasLineBreak(section) && section.find(L']') == std::wstring::npos &&
           !Unkeepable(section);
}

std::wstring Read(const std::wstring& file, const std::wstring& section, const std::wstring& key, bool* found) {
    std::string f = Text::ToAnsi(file), s = Text::ToAnsi(section), k = Text::ToAnsi(key);
    if (found) {
        // A key that is present with an empty value reads as "" under any default;
        // a missing one gives the default back.
        char probe[4];
        const char* marker = "\x01\x02";
        DWORD n = GetPrivateProfileStringA(s.c_str(), k.c_str(), marker, probe, sizeof probe, f.c_str());
        *found = !(n == 2 && probe[0] == '\x01' && probe[1] == '\x02');
    }
    std::wstring value = Text::FromAnsi(ReadRaw(s.c_str(), k.c_str(), f));
    SystemUsed(file);
    return value;
}

std::vector<std::wstring> Keys(const std::wstring& file, const std::wstring& section) {
    std::string s = Text::ToAnsi(section);
    std::vector<std::wstring> keys = SplitNul(ReadRaw(s.c_str(), nullptr, Text::ToAnsi(file)));
    SystemUsed(file);
    return keys;
}

std::vector<std::wstring> Sections(const std::wstring& file) {
    std::vector<std::wstring> sections = SplitNul(ReadRaw(nullptr, nullptr, Text::ToAnsi(file)));
    SystemUsed(file);
    return sections;
}

bool Write(const std::wstring& file, const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    if (!SafeSection(section) || !SafeKey(key) || !SafeValue(value)) return false;
    return TryAppend(file, section, key, value) || WriteRaw(file, section, &key, &value);
}

NewKey WriteNew(const std::wstring& file, const std::wstring& section, const std::wstring& key,
                const std::wstring& value) {
    // An append happens only for a key the section does not have.
    if (SafeSection(section) && SafeKey(key) && SafeValue(value) && TryAppend(file, section, key, value))
        return NewKey::Written;
    bool found = false;
    Read(file, section, key, &found);
    if (found) return NewKey::Kept;
    return Write(file, section, key, value) ? NewKey::Written : NewKey::Failed;
}

bool DeleteKey(const std::wstring& file, const std::wstring& section, const std::wstring& key) {
    if (!SafeSection(section) || !SafeKey(key)) return false;
    return WriteRaw(file, section, &key, nullptr);
}

bool DeleteSection(const std::wstring& file, const std::wstring& section) {
    if (!SafeSection(section)) return false;
    return WriteRaw(file, section, nullptr, nullptr);
}

bool MakeEmptySection(const std::wstring& file, const std::wstring& section) {
    const std::wstring dummy = L"QuorixEmptySectionKey";
    return Write(file, section, dummy, L"1") && DeleteKey(file, section, dummy);
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

}  // namespace Ini
