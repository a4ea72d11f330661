#pragma once
// Text box: one line that scrolls sideways, or several lines that wrap at the
// box's width and scroll down (a vertical scroll bar). Which one is fixed when
// the box is made: an edit control cannot change it afterwards.
#include "platform/Window.h"

#include <functional>

class TextBox : public Control {
public:
    enum class Lines { One, Wrapped };
    bool Create(HWND parent, int id, Lines lines = Lines::One);
    std::wstring Text() const { return CaptionText(); }
    void SetText(const std::wstring& s) { SetCaptionText(s); }
    // Raised when the box receives the keyboard focus.
    std::function<void()> GotFocus;
    bool OnCommand(UINT id, UINT code) override;
};
