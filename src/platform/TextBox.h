#pragma once
// Single-line text box.
#include "platform/Window.h"

class TextBox : public Control {
public:
    bool Create(HWND parent, int id, bool multiLine = false);
    std::wstring Text() const { return CaptionText(); }
    void SetText(const std::wstring& s) { SetCaptionText(s); }
};
