#pragma once
// config.ini beside the program. Nothing is cached: every reader reads its key
// when it needs it and every writer writes one key at once, through common/Ini.
#include <string>
#include <string_view>

namespace Settings {

// The program folder, a backslash when it has none, then "config.ini".
std::wstring Path();
bool FileExists();

// The value of `key` in `section` (blanks at both ends removed; empty when missing).
std::wstring Read(const std::wstring& key, const std::wstring& section = L"Data");
// Reading rules of the settings file.
bool IsEmpty(const std::wstring& key);       // reads as the empty text
double Number(const std::wstring& key);      // leading number, fraction included; 0 when none
long long Whole(const std::wstring& key);    // the number taken to the nearest whole (half to even)
bool OnWhenPositive(const std::wstring& key);
bool OnWhenNonzero(const std::wstring& key);
bool OnWhenOneOrEmpty(const std::wstring& key);

// Writes one key; false when the file could not be written or the text is unsafe.
bool Write(const std::wstring& key, const std::wstring& value, const std::wstring& section = L"Data");
bool WriteInt(const std::wstring& key, long long value);
bool WriteMeasure(const std::wstring& key, double twips);

// The leading number of a text: blanks skipped, optional sign, digits and an
// optional fraction; 0 for a text without one.
double ParseNumber(std::wstring_view s);
// The shortest decimal text of a single-precision number ("5595", "3367.5").
std::wstring Measure(double v);

}  // namespace Settings
