#pragma once
// Single-line text box.
#include "platform/Window.h"

#include <functional>

class TextBox : public Control {
public:
    bool Create(HWND parent, int id, bool multiLine = false);
    std::wstring Text() const { return CaptionText(); }
    void SetText(const std::wstring& s) { SetCaptionText(s); }
    // Selects the whole text with the caret at its start, so typing replaces it.
    void SelectAll();
    // Raised when the box receives the keyboard focus.
    std::function<void()> GotFocus;
    bool OnCommand(UINT id, UINT code) override;
};
