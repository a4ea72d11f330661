#pragma once
// The one place where text changes encoding. Inside the program text is UTF-16
// (std::wstring); every file, INI and registry call takes the ANSI code page
// (936 on the systems Quorix addresses).
#include <string>
#include <string_view>

namespace Text {

// UTF-16 -> ANSI code page. When `lossless` is given it is set to false if a
// character had no form in the code page (it is then written as '?').
std::string ToAnsi(std::wstring_view w, bool* lossless = nullptr);
// ANSI code page -> UTF-16.
std::wstring FromAnsi(std::string_view a);

// Reversible decoding of arbitrary bytes: valid code-page characters decode as
// usual; a byte that forms no character (a lone lead byte, say) becomes
// U+DC00 + byte, which BytesFromText turns back into that byte.
std::wstring TextFromBytes(std::string_view bytes);
std::string BytesFromText(std::wstring_view text);

// True when every character of `w` has a form in the ANSI code page.
bool FitsAnsi(std::wstring_view w);

std::wstring Trim(std::wstring_view s);          // blanks (space, tab) at both ends
std::wstring TrimSpaces(std::wstring_view s);    // spaces only (a tab stays), at both ends
std::wstring UpperCase(std::wstring_view s);     // locale-independent upper case
bool EqualNoCase(std::wstring_view a, std::wstring_view b);
// The text's leading decimal number (after blanks, with an optional sign), 0 when none.
long long LeadingNumber(std::wstring_view s);
std::wstring FromInt(long long n);

}  // namespace Text
