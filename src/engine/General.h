#pragma once
// Shared helpers of the registry engine: the one INI value reader and the hex
// conversions of tip, backup and value-editor data.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace General {

// The value of `key` in `section` of the INI file `file`, whole (however long);
// the empty text when the file, the section or the key is missing, or the value
// is empty. Section and key match without regard to case.
std::wstring ReadIni(const std::wstring& section, const std::wstring& key, const std::wstring& file);

// Lenient hex reading: every character takes a position (the last one weight 1,
// then 16, 256, ...); "0"-"9" and "A"-"F" (any case) add their digit times the
// weight, anything else adds nothing. Never negative; no wrap to 32 bits:
// "FFFFFFFF" gives 4294967295, "1G" 16, "0x1F" 31, "-5" 5, "" 0.
// Data that must be valid hex is read with HexToDword / HexToBytes instead.
double HexToNum(std::wstring_view hex);
// The value of one hex digit, either case; -1 for any other character.
int HexDigit(wchar_t c);

// A run of "0": one per whole number from 1 to the leading number of `count`
// ("3" and "3.5" give "000"; below 1 or no number gives ""). At most 1024.
std::wstring ZeroFill(std::wstring_view count);

// DWORD data: hex digits (any case, blanks at either end allowed) whose value is
// 0 to FFFFFFFF. Anything else (empty, a non-hex character, a larger value)
// gives nothing: the caller reports the failure.
std::optional<uint32_t> HexToDword(std::wstring_view text);

// Binary data: groups of two hex digits separated by blanks ("01 ab FF"),
// blanks at either end allowed; the empty (or all-blank) text is zero bytes.
// Anything else gives nothing: the caller reports the failure.
std::optional<std::vector<uint8_t>> HexToBytes(std::wstring_view text);

// Bytes as upper-case hex pairs joined by single blanks ("00 0A FF"); "" for none.
std::wstring BytesToHex(const std::vector<uint8_t>& bytes);
std::wstring BytesToHex(std::string_view bytes);

}  // namespace General
