#include "common/Config.h"

#include "common/Ini.h"
#include "platform/App.h"
#include "platform/Text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <set>

namespace Config {
namespace {
constexpr const Key* kAll[] = {
    &Width_1,    &Height_1,   &Top_1,       &Left_1,         &Width_2,       &Height_2,      &Top_2,
    &Left_2,     &Width_3,    &Height_3,    &Top_3,          &Left_3,        &View,          &Compositor,
    &FormLink,   &AutoCheck,  &AutoWidth,   &Listview_1,     &Listview_2,    &Listview_3,    &SaveLog,
    &SaveFile,   &Tip,        &Start,       &SaveHistory,    &Choice,        &FileListHeight, &Form2Visible,
    &ViewCheck,  &OldUpdate,  &ColumnHeader1, &ColumnHeader2, &ColumnHeader3, &ColumnHeader4, &ColumnHeader5,
    &TreeIndex,  &Tabstrip,   &Author,      &Web,            &Email,         &Other,
};
constexpr const Key* kColumnHeaders[] = {&ColumnHeader1, &ColumnHeader2, &ColumnHeader3, &ColumnHeader4,
                                         &ColumnHeader5};
}  // namespace

std::span<const Key* const> All() { return kAll; }

const Key& ColumnHeader(int column) {
    return column >= 1 && column <= 5 ? *kColumnHeaders[column - 1] : ColumnHeader1;
}

bool IsSwitch(const Key& key) {
    return key.rule == Rule::OnWhenPositive || key.rule == Rule::OnWhenNonzero || key.rule == Rule::OnWhenOneOrEmpty;
}

std::wstring Path() { return App::PathSlash() + L"config.ini"; }

bool FileExists() {
    DWORD a = GetFileAttributesA(Text::ToAnsi(Path()).c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

double NumberOf(std::wstring_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == L' ' || s[i] == L'\t')) ++i;
    std::string digits;
    if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) digits += static_cast<char>(s[i++]);
    bool any = false;
    for (; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i, any = true) digits += static_cast<char>(s[i]);
    if (i < s.size() && s[i] == L'.') {
        digits += '.';
        for (++i; i < s.size() && s[i] >= L'0' && s[i] <= L'9'; ++i, any = true) digits += static_cast<char>(s[i]);
    }
    if (!any) return 0;
    double v = std::strtod(digits.c_str(), nullptr);
    return std::isfinite(v) ? v : 0;
}

long long WholeOf(std::wstring_view s) {
    double v = std::nearbyint(NumberOf(s));  // the default rounding mode sends halves to even
    if (v > 9.0e18 || v < -9.0e18) return 0;
    return static_cast<long long>(v);
}

bool SwitchOf(Rule rule, std::wstring_view text) {
    switch (rule) {
    case Rule::OnWhenPositive: return NumberOf(text) > 0;
    case Rule::OnWhenNonzero: return NumberOf(text) != 0;
    case Rule::OnWhenOneOrEmpty: return Text::Trim(text).empty() || NumberOf(text) == 1;
    default: return false;
    }
}

FileState State() {
    const std::string path = Text::ToAnsi(Path());
    const DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) {
        const DWORD err = GetLastError();
        return err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND ? FileState::Missing : FileState::Unreadable;
    }
    if (a & FILE_ATTRIBUTE_DIRECTORY) return FileState::Folder;
    if (!Ini::Readable(Path())) return FileState::Unreadable;
    return Ini::HasSection(Path(), DataSection) ? FileState::Good : FileState::Damaged;
}

std::wstring Read(const Key& key) {
    bool found = false;
    std::wstring value = Text::Trim(Ini::Read(Path(), key.section, key.name, &found));
    // A key missing from a file that is there but gives nothing (unreadable,
    // a folder, no section Data) reads as a new file's.
    if (!found && key.value && key.when != Default::None) {
        const FileState state = State();
        if (state != FileState::Good && state != FileState::Missing) return key.value;
    }
    return value;
}
bool IsEmpty(const Key& key) { return Read(key).empty(); }
double Number(const Key& key) { return NumberOf(Read(key)); }
long long Whole(const Key& key) { return WholeOf(Read(key)); }
bool On(const Key& key) { return SwitchOf(key.rule, Read(key)); }

bool Write(const Key& key, const std::wstring& value) { return Ini::Write(Path(), key.section, key.name, value); }
bool WriteInt(const Key& key, long long value) { return Write(key, std::to_wstring(value)); }
bool WriteMeasure(const Key& key, double twips) { return Write(key, Measure(twips)); }

std::wstring Measure(double v) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof(buf), static_cast<float>(v), std::chars_format::fixed);
    if (r.ec != std::errc()) return L"0";
    return std::wstring(buf, r.ptr);
}

namespace {
std::set<const Key*>& Told() {
    static std::set<const Key*> told;
    return told;
}
}  // namespace

namespace {
bool g_unreadableTold = false;
}  // namespace

bool FirstFailure(const Key& key) { return Told().insert(&key).second && !g_unreadableTold; }
void ForgetToldFailures() {
    Told().clear();
    g_unreadableTold = false;
}
void MarkUnreadableTold() { g_unreadableTold = true; }
bool UnreadableTold() { return g_unreadableTold; }

std::vector<std::wstring> KeysOf(const wchar_t* section) { return Ini::Keys(Path(), section); }
bool WriteEntry(const wchar_t* section, const std::wstring& key, const std::wstring& value) {
    return Ini::Write(Path(), section, key, value);
}
bool DeleteEntry(const wchar_t* section, const std::wstring& key) { return Ini::DeleteKey(Path(), section, key); }
bool DeleteSection(const wchar_t* section) { return Ini::DeleteSection(Path(), section); }

}  // namespace Config
