#pragma once
// The one layer over the system's profile functions that every INI file of the
// program goes through (config.ini, tip files, backup files, logfile.txt).
// Texts are UTF-16 here and cross the A functions in the ANSI code page.
//  - Reads are whole: the buffer grows until the result fits.
//  - Writes report their result.
//  - Text that would break the file (CR or LF anywhere; "]" in a section name;
//    "=" in a key or a key starting with "[" or ";") is refused: nothing is
//    written and the call fails.
#include <string>
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
// Leaves the section line with no keys (writes, then deletes, a dummy key).
bool MakeEmptySection(const std::wstring& file, const std::wstring& section);

// The checks applied by the writers, for callers that want to refuse user input early.
bool SafeValue(const std::wstring& value);
bool SafeKey(const std::wstring& key);
bool SafeSection(const std::wstring& section);

}  // namespace Ini
