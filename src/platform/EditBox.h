#pragma once
// A single-line text box with the events and states a form's search or
// information boxes need: a change event, a focus event, locking (read-only,
// drawn on the button face as the system draws a read-only edit) and selecting
// its text.
#include "platform/TextBox.h"

#include <functional>

class EditBox : public TextBox {
public:
    bool Locked() const;
    // Read-only (true) or editable; the system draws the matching background.
    bool SetLocked(bool on);
    // Selects `length` characters from `start` (0-based).
    void SetSelection(int start, int length);
    int SelStart() const;
    int SelLength() const;

    std::function<void()> Change;    // the text changed (by the user or by code)
    std::function<void()> GotFocus;  // the box received the focus
    bool OnCommand(UINT id, UINT code) override;
};
