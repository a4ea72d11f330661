#pragma once
#include "platform/Window.h"

// A static text. Its caption is the window text; `Tag` is free.
class Label : public Control {
public:
    bool Create(HWND parent, int id, const std::wstring& caption = {}, bool visible = true);
    std::wstring Caption() const { return CaptionText(); }
    void SetCaption(const std::wstring& s) { SetCaptionText(s); }
};
