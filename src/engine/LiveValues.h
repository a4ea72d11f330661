#pragma once
// The values stored under one registry key, as the properties window's 查看 tab
// lists and edits them. Names and data go through the W registry functions
// only: a name or a text that has no form in the ANSI code page is read,
// written and deleted as it is stored, never through a '?' form.
//
// A value keeps its type and raw bytes; the display text (quotes, trimmed
// blanks, expanded references, the 255-byte cut of binary data) is made from
// them and never written back.
#include <windows.h>

#include <string>
#include <vector>

struct LiveValue {
    std::wstring name;         // "" = the key's default value
    DWORD type = REG_NONE;
    std::vector<BYTE> data;    // raw bytes as stored
    bool unsetDefault = false; // the row that stands for a default value that is not set
};

namespace LiveValues {

// Every value under root\subKey, in the order RegEnumValueW gives. `out` is
// replaced; false (and `out` empty) when the key does not open for reading.
bool Read(HKEY root, const std::wstring& subKey, std::vector<LiveValue>& out);

// The kind text kept with a row:
//   字符串值, 可扩充字符串值, 二进制值, DWORD值 (also a big-endian DWORD),
//   多字符串值, QWORD值, 其它类型 (REG_NONE and every other type);
//   默认 for the key's default value when it is set (whatever its type),
//   默 认 for the unset-default row.
std::wstring Kind(const LiveValue& v);
// The type's kind, as for a named value (default or not).
std::wstring TypeKind(DWORD type);
// 1-based image of the row in the properties window's image list:
// 4 string and multi-string (and the unset default), 5 binary and other types,
// 6 DWORD and QWORD, 7 expandable string.
int Icon(const LiveValue& v);
// The data column:
//   strings: the text up to its first null, blanks trimmed, in double quotes
//     (an expandable string with its %references% expanded);
//   binary and other types: the first 255 bytes as lower-case hex pairs
//     joined by blanks; "(长度为零的二进制值)" for no bytes;
//   DWORD: "0x", 8 lower-case digits, " (", unsigned decimal, ")";
//   QWORD: "0x", 16 lower-case digits, " (", unsigned decimal, ")";
//   multi-string: each string in double quotes, joined by a blank;
//   the unset default: "(未设置键值)".
std::wstring Display(const LiveValue& v);
// The text shown for a value's name: "(默认)" for the default value (set or not).
std::wstring NameText(const LiveValue& v);

// The value's own type and bytes under root\subKey (the key is created when
// missing), with RegSetValueExW. The system's result code.
LONG Write(HKEY root, const std::wstring& subKey, const LiveValue& v);
// Deletes one value. The system's result code (ERROR_FILE_NOT_FOUND when the
// key or the value is not there).
LONG Remove(HKEY root, const std::wstring& subKey, const std::wstring& name);
// Reads one value by its name. The system's result code; `out` is set only on success.
LONG ReadOne(HKEY root, const std::wstring& subKey, const std::wstring& name, LiveValue& out);

// Text for the kinds.
inline constexpr const wchar_t* kString = L"字符串值";
inline constexpr const wchar_t* kExpandString = L"可扩充字符串值";
inline constexpr const wchar_t* kBinary = L"二进制值";
inline constexpr const wchar_t* kDword = L"DWORD值";
inline constexpr const wchar_t* kMultiString = L"多字符串值";
inline constexpr const wchar_t* kQword = L"QWORD值";
inline constexpr const wchar_t* kOther = L"其它类型";
inline constexpr const wchar_t* kDefault = L"默认";
inline constexpr const wchar_t* kUnsetDefault = L"默 认";
inline constexpr const wchar_t* kDefaultName = L"(默认)";
inline constexpr const wchar_t* kUnsetData = L"(未设置键值)";
inline constexpr const wchar_t* kEmptyBinary = L"(长度为零的二进制值)";

}  // namespace LiveValues
