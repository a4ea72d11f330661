#pragma once
// Combo box: an editable box with a list (`editable`, VB's image combo with free
// text) or a drop-down list. Items count from 1; ListIndex is VB's 0-based index
// (-1 when no item is selected).
//
// Made with an image list it is an image combo: each item may carry an image
// (1-based number of the list, 0 none), drawn left of its text in the list and
// in the box while that item is selected; the box's text is indented by an
// image's width whether or not one shows, as the system's image combo does.
#include "platform/Window.h"

#include <commctrl.h>

class ComboBox : public Control {
public:
    bool Create(HWND parent, int id, bool editable, HIMAGELIST images = nullptr);
    int AddItem(const std::wstring& text, int image = 0);  // returns the item's 1-based number
    int Count() const;
    std::wstring ItemText(int item) const;
    int ItemImage(int item) const;  // 0 for none or no such item
    int ListIndex() const;
    void SetListIndex(int index);  // -1 selects none
    // The box's text (for a drop-down list, the selected item's text).
    std::wstring Text() const { return CaptionText(); }
    // Gives the box a text of its own: no item stays selected.
    void SetText(const std::wstring& s);
    // The image shown in the box: the selected item's (0 when none shows).
    int ShownImage() const;
    bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

private:
    static LRESULT CALLBACK EditProc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
    HWND Edit() const;
    void IndentEdit() const;
    HIMAGELIST images_ = nullptr;
};
