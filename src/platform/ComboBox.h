#pragma once
// Combo box: an editable box with a list (`editable`, VB's image combo with free
// text) or a drop-down list. Items count from 1; ListIndex is VB's 0-based index
// (-1 when no item is selected).
#include "platform/Window.h"

class ComboBox : public Control {
public:
    bool Create(HWND parent, int id, bool editable);
    int AddItem(const std::wstring& text);  // returns the item's 1-based number
    int Count() const;
    std::wstring ItemText(int item) const;
    int ListIndex() const;
    void SetListIndex(int index);  // -1 selects none
    // The box's text (for a drop-down list, the selected item's text).
    std::wstring Text() const { return CaptionText(); }
    // Gives the box a text of its own: no item stays selected.
    void SetText(const std::wstring& s);
};
