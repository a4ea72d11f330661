#pragma once
// Stateless text functions. The registry file export uses ReplaceString to
// double backslashes and escape quotes; the others are complete but unused.
#include <string>
#include <vector>

namespace clsStrings {

// `pStr` with every occurrence of `strFrom` (left to right, no overlaps)
// replaced by `strTo`; with `ignoreCase` occurrences are found by comparing
// upper-cased texts. An empty `strFrom` replaces nothing.
std::wstring ReplaceString(const std::wstring& pStr, const std::wstring& strFrom, const std::wstring& strTo,
                           bool ignoreCase = true);
// The first letter of every word upper case, the other letters lower case.
// Words are separated by blanks, tabs, line breaks, form feeds and NULs.
std::wstring Proper(const std::wstring& pStr);
// Every letter's case swapped: a character equal to its upper-case form becomes
// lower case, any other upper case.
std::wstring ToGgLeCaSe(const std::wstring& pStr);
// True when the first character of `psInput` (a blank when it is empty) is
// allowed by an entry of `pcolAllowed`: "Alphabetic" (any case) allows A-Z and
// a-z, "Numeric" (any case) the digits 0-9, any other entry its own first
// character, compared without regard to case.
bool IsCharIn(const std::wstring& psInput, const std::vector<std::wstring>& pcolAllowed);

}  // namespace clsStrings
