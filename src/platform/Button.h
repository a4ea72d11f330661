#pragma once
// Push buttons and group frames.
#include "platform/Window.h"

#include <functional>

class CommandButton : public Control {
public:
    bool Create(HWND parent, int id, const std::wstring& caption, bool visible = true);
    std::wstring Caption() const { return CaptionText(); }
    void SetCaption(const std::wstring& s) { SetCaptionText(s); }
    // Runs Click as a press of the button would (nothing while it is disabled).
    void PerformClick();
    std::function<void()> Click;
    bool OnCommand(UINT id, UINT code) override;
};

// A group box: a caption and an etched border; the controls "inside" it are
// siblings placed over it.
class Frame : public Control {
public:
    bool Create(HWND parent, int id, const std::wstring& caption = {}, bool visible = true);
};
