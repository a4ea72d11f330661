#pragma once
// config.ini beside the program: every key the program keeps there, with its
// default and the rule by which it is read, in one table. Nothing is cached:
// every read goes to the file (within an Ini::ReadSnapshot, to one reading of
// it, checked against the file at each read), every write writes one key at
// once and reports whether it was stored. All of it goes through common/Ini.
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Config {

// How a key's text is read.
enum class Rule {
    Text,              // the value, blanks at both ends removed; missing reads as empty
    Number,            // the leading number: blanks skipped, sign, digits, fraction; 0 without one
    Whole,             // the number taken to the nearest whole, a half to the even neighbour
    OnWhenPositive,    // a switch: on when the number is above 0
    OnWhenNonzero,     // a switch: on when the number is not 0
    OnWhenOneOrEmpty,  // a switch: on when the value is empty or its number is 1
};

// When a key's default is written.
enum class Default {
    None,       // absent until a writer writes it
    NewFile,    // by Form2::Saveini, when the start-up finds no config.ini
    WhenEmpty,  // by the start-up, whenever the key reads as empty
};

struct Key {
    const wchar_t* section;
    const wchar_t* name;
    Rule rule;
    Default when;
    // The default text; nullptr when there is none or it is worked out when written
    // (Top_1 and Left_1 centre the main window on the screen).
    const wchar_t* value;
};

inline constexpr wchar_t DataSection[] = L"Data";
inline constexpr wchar_t FavoriteSection[] = L"Favorite";  // category favourites: one key per node path
inline constexpr wchar_t FileinfoSection[] = L"Fileinfo";  // defaults of a new tip data file
inline constexpr wchar_t FilelistSection[] = L"Filelist";  // the category window's open tip data files

using R = Rule;
using D = Default;
// Section Data. Measures are twips.
inline constexpr Key Width_1{DataSection, L"Width_1", R::Number, D::NewFile, L"5595"};
inline constexpr Key Height_1{DataSection, L"Height_1", R::Number, D::NewFile, L"4600"};
inline constexpr Key Top_1{DataSection, L"Top_1", R::Number, D::NewFile, nullptr};
inline constexpr Key Left_1{DataSection, L"Left_1", R::Number, D::NewFile, nullptr};
inline constexpr Key Width_2{DataSection, L"Width_2", R::Number, D::NewFile, L"2300"};
inline constexpr Key Height_2{DataSection, L"Height_2", R::Number, D::NewFile, L"3510"};
inline constexpr Key Top_2{DataSection, L"Top_2", R::Number, D::None, nullptr};
inline constexpr Key Left_2{DataSection, L"Left_2", R::Number, D::None, nullptr};
inline constexpr Key Width_3{DataSection, L"Width_3", R::Number, D::NewFile, L"2300"};
inline constexpr Key Height_3{DataSection, L"Height_3", R::Number, D::NewFile, L"3510"};
inline constexpr Key Top_3{DataSection, L"Top_3", R::Number, D::None, nullptr};
inline constexpr Key Left_3{DataSection, L"Left_3", R::Number, D::None, nullptr};
inline constexpr Key View{DataSection, L"View", R::Whole, D::NewFile, L"3"};
inline constexpr Key Compositor{DataSection, L"Compositor", R::Number, D::NewFile, L"1"};
inline constexpr Key FormLink{DataSection, L"FormLink", R::Whole, D::NewFile, L"1"};
inline constexpr Key AutoCheck{DataSection, L"AutoCheck", R::OnWhenPositive, D::NewFile, L"1"};
inline constexpr Key AutoWidth{DataSection, L"AutoWidth", R::OnWhenPositive, D::NewFile, L"1"};
inline constexpr Key Listview_1{DataSection, L"Listview_1", R::OnWhenNonzero, D::NewFile, L"1"};
inline constexpr Key Listview_2{DataSection, L"Listview_2", R::OnWhenNonzero, D::NewFile, L"0"};
inline constexpr Key Listview_3{DataSection, L"Listview_3", R::OnWhenNonzero, D::NewFile, L"1"};
inline constexpr Key SaveLog{DataSection, L"SaveLog", R::OnWhenPositive, D::NewFile, L"1"};
inline constexpr Key SaveFile{DataSection, L"SaveFile", R::OnWhenPositive, D::NewFile, L"1"};
inline constexpr Key Tip{DataSection, L"Tip", R::OnWhenOneOrEmpty, D::NewFile, L"1"};
inline constexpr Key Start{DataSection, L"Start", R::OnWhenPositive, D::NewFile, L"1"};
inline constexpr Key SaveHistory{DataSection, L"SaveHistory", R::OnWhenPositive, D::WhenEmpty, L"1"};
inline constexpr Key Choice{DataSection, L"Choice", R::OnWhenNonzero, D::WhenEmpty, L"1"};
inline constexpr Key FileListHeight{DataSection, L"FileListHeight", R::Number, D::WhenEmpty, L"2600"};
inline constexpr Key Form2Visible{DataSection, L"Form2Visible", R::OnWhenOneOrEmpty, D::None, nullptr};
inline constexpr Key ViewCheck{DataSection, L"ViewCheck", R::OnWhenOneOrEmpty, D::None, nullptr};
inline constexpr Key OldUpdate{DataSection, L"OldUpdate", R::Text, D::None, nullptr};
inline constexpr Key ColumnHeader1{DataSection, L"ColumnHeader(1)", R::Number, D::None, nullptr};
inline constexpr Key ColumnHeader2{DataSection, L"ColumnHeader(2)", R::Number, D::None, nullptr};
inline constexpr Key ColumnHeader3{DataSection, L"ColumnHeader(3)", R::Number, D::None, nullptr};
inline constexpr Key ColumnHeader4{DataSection, L"ColumnHeader(4)", R::Number, D::None, nullptr};
inline constexpr Key ColumnHeader5{DataSection, L"ColumnHeader(5)", R::Number, D::None, nullptr};
inline constexpr Key TreeIndex{DataSection, L"TreeIndex", R::Number, D::None, nullptr};
inline constexpr Key Tabstrip{DataSection, L"Tabstrip", R::Number, D::None, nullptr};
// Section Fileinfo.
inline constexpr Key Author{FileinfoSection, L"author", R::Text, D::None, nullptr};
inline constexpr Key Web{FileinfoSection, L"Web", R::Text, D::None, nullptr};
inline constexpr Key Email{FileinfoSection, L"email", R::Text, D::None, nullptr};
inline constexpr Key Other{FileinfoSection, L"other", R::Text, D::None, nullptr};

// Every key above, in this order (the new-file defaults are written in it).
std::span<const Key* const> All();
// ColumnHeader1 to ColumnHeader5 by column (1 to 5); ColumnHeader1 for any other.
const Key& ColumnHeader(int column);
// The keys whose rule is a switch.
bool IsSwitch(const Key& key);

// The program folder, a backslash when it has none, then "config.ini".
std::wstring Path();
// True when config.ini exists (whatever its attributes).
bool FileExists();

// What the start-up finds. A file that is there but cannot be read (held open
// by another program without sharing, no access, a folder of that name) or
// holds no section Data (damaged: empty, or not a settings file) reads, key by
// key, as the values a new file is given: a setting that guards data (the
// question before applying, backups, the log) never reads as off for that.
enum class FileState { Good, Missing, Unreadable, Folder, Damaged };
FileState State();
// Once the start-up has told that the file cannot be read, a write failing
// for the same cause is not told again in that run (FirstFailure answers
// false); ForgetToldFailures starts over.
void MarkUnreadableTold();
bool UnreadableTold();

// ---- reading (the file at this moment) ----
std::wstring Read(const Key& key);          // blanks at both ends removed; empty when missing
bool IsEmpty(const Key& key);
double Number(const Key& key);
long long Whole(const Key& key);
// A switch by its key's rule. Not for keys with another rule (false for them).
bool On(const Key& key);

// The rules over a stored text, for the readers above and their tests.
double NumberOf(std::wstring_view text);
long long WholeOf(std::wstring_view text);
bool SwitchOf(Rule rule, std::wstring_view text);

// ---- writing one key; false when it was not stored ----
bool Write(const Key& key, const std::wstring& value);
bool WriteInt(const Key& key, long long value);
bool WriteMeasure(const Key& key, double twips);
// The shortest decimal text of a single-precision number ("5595", "3367.5").
std::wstring Measure(double value);

// ---- failed writes, told once per run and key ----
// True the first time in a run that it is asked for `key`, false every later
// time: a window tells of a failed write only then (the write itself is tried
// each time).
bool FirstFailure(const Key& key);
// A new run (the main window's start-up): every failed write is told again.
void ForgetToldFailures();

// ---- sections of free keys (Favorite, Filelist) ----
std::vector<std::wstring> KeysOf(const wchar_t* section);
bool WriteEntry(const wchar_t* section, const std::wstring& key, const std::wstring& value);
bool DeleteEntry(const wchar_t* section, const std::wstring& key);
bool DeleteSection(const wchar_t* section);

}  // namespace Config
