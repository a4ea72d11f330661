#pragma once
// Writing an export's file so that the file the user chose is replaced only
// once the whole new content is on disk: the content goes into a temporary file
// in the same folder, which then takes the target's name in one rename. Any
// failure leaves the target as it was (or absent) and no temporary file behind.
//
// Paths cross the system as ANSI text; a path with a character the code page
// cannot hold is refused (it would name another file).
#include <string>
#include <string_view>

namespace ExportFile {

// The file name an export writes to: `chosen` unchanged when its upper-cased
// form holds the upper-cased `extension` anywhere ("a.reg.txt" for ".reg",
// "page.html" for ".htm"), otherwise `chosen` followed by `extension` in lower
// case. `extension` starts with the dot.
std::wstring TargetName(const std::wstring& chosen, std::wstring_view extension);

// Creates the file and writes `bytes` in one write, then puts it in place of
// `target`. True when the target holds exactly `bytes`. A read-only target (or
// a folder) is refused and kept as it is.
bool WriteWhole(const std::wstring& target, std::string_view bytes);

}  // namespace ExportFile
