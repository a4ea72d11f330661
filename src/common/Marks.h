#pragma once
// The marks and codes of the tip library. On disk, through code page 936, the
// FieldMark is the single byte FF, the JoinMark the pair 81 88 and the
// DeleteMark the pair AD 95.
#include <string>

namespace Marks {
inline constexpr wchar_t FieldMarkChar = L'\xF8F5';
inline constexpr wchar_t JoinMarkChar = L'\x4EAA';    // 亪
inline constexpr wchar_t DeleteMarkChar = L'\x74E1';  // 瓡
inline const std::wstring FieldMark(1, FieldMarkChar);
inline const std::wstring JoinMark(1, JoinMarkChar);
inline const std::wstring DeleteMark(1, DeleteMarkChar);
// What the registry readers give for a key or value that cannot be read.
inline const std::wstring ReadErrorMark = L"Error$$" + std::wstring(4, FieldMarkChar);
}  // namespace Marks

// Value type of a tip, stored as one digit in its record.
enum class TypeCode : int { String = 0, Binary = 1, Dword = 2, ExpandString = 3 };
// Danger of a tip, stored as one digit at the end of its record.
enum class DangerFlag : int { Harmless = 1, Dangerous = 2 };
