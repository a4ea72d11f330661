#pragma once
// Selecting the whole text of a box when it gets the focus, so that typing
// replaces it: text boxes and the edit part of editable combo boxes.
#include <windows.h>

class TextBox;
class ComboBox;

namespace General {
// The selection starts at 0 and is as long as the box's text; an empty box
// selects nothing and leaves the caret at the start. Anything but an edit
// control or a combo box is left alone.
void SelectAllText(HWND box);
void SelectAllText(const TextBox& box);
void SelectAllText(const ComboBox& box);
}  // namespace General
