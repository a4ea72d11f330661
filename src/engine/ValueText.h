#pragma once
// The data texts of the value editor: what the user types for a binary or a
// DWORD value, read strictly; the texts the editor fills its data box with;
// and string data as stored.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ValueText {

// Binary data as typed: groups of exactly two hex digits (any case), each
// separated from the next by one blank or one comma ("01 02,ab"); blanks at
// either end are ignored, and the empty text is zero bytes. Anything else
// ("0102", "01 2", "zz", "01  02", "01,") gives nothing.
std::optional<std::vector<uint8_t>> ParseBinary(std::wstring_view text);

// DWORD data as typed: at most eight hex digits (any case) after blanks at
// either end are dropped; the empty text is 0. Anything else gives nothing.
std::optional<uint32_t> ParseDword(std::wstring_view text);

// The data box's text for bytes: every byte as two lower-case hex digits,
// joined by single blanks ("01 0a ff"); "" for none.
std::wstring BinaryText(const std::vector<uint8_t>& bytes);

// The data box's text for a DWORD: its lower-case hex digits without leading
// zeros ("1f"); "" for 0.
std::wstring DwordText(uint32_t value);

// String data as stored: the text's UTF-16 code units and a terminating null.
std::vector<BYTE> StringBytes(std::wstring_view text);
// The text of string data up to its first null.
std::wstring StringOfBytes(const std::vector<BYTE>& data);

}  // namespace ValueText
