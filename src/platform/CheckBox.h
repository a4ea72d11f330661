#pragma once
// A check box with three states: clear (0), ticked (1) and grey (2, ticked
// and dimmed). Only code makes a box grey: a user's click (mouse, Space or the
// box's access key) clears a ticked or grey box and ticks a clear one.
#include "platform/Window.h"

#include <functional>

class CheckBox : public Control {
public:
    enum State : int { Clear = 0, Ticked = 1, Grey = 2 };

    bool Create(HWND parent, int id, const std::wstring& caption, bool visible = true);
    std::wstring Caption() const { return CaptionText(); }

    // The state, 0 to 2 (0 while the box does not exist).
    int Value() const;
    // Sets the state; any value other than 0, 1 or 2 is refused (false) and the
    // box keeps its state.
    bool SetValue(long long value);

    // Runs after a user's click has changed the state.
    std::function<void()> Click;
    bool OnCommand(UINT id, UINT code) override;
};
