#pragma once
// Statics that show a picture rather than text: an icon, an etched line, or a
// surface the parent form draws itself (owner-drawn: the form gets
// WM_DRAWITEM for it; a surface nobody draws shows nothing, not even a
// background, so it can hold the place of a container).
#include "platform/Window.h"

class Picture : public Control {
public:
    // `icon` is not owned: the caller keeps it alive while the control exists.
    bool CreateIcon(HWND parent, int id, HICON icon, bool visible = true);
    bool CreateLine(HWND parent, int id, bool horizontal, bool visible = true);
    // `caption` is the control's text, for whoever draws it.
    bool CreateOwnerDrawn(HWND parent, int id, const std::wstring& caption = {}, bool visible = true);
    std::wstring Caption() const { return CaptionText(); }
};
