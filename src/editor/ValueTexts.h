#pragma once
// Texts shared by the value boxes of the properties window and the value bar.
namespace ValueTexts {
// First item of both value boxes: the tip deletes the value.
inline constexpr const wchar_t* DeleteChoice = L"在注册表中删除该键名";
// How an empty binary value is shown.
inline constexpr const wchar_t* ZeroLengthBinary = L"(长度为零的二进制值)";
}  // namespace ValueTexts
