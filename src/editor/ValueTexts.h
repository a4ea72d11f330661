#pragma once
#include "common/TipRow.h"

// Texts shared by the value boxes of the properties window and the value bar.
namespace ValueTexts {
// First item of both value boxes: the tip deletes the value.
inline constexpr const wchar_t* DeleteChoice = TipRow::DeleteText;
// How an empty binary value is shown.
inline constexpr const wchar_t* ZeroLengthBinary = TipRow::ZeroLengthBinaryText;
}  // namespace ValueTexts
