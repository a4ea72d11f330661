#pragma once
// Option (radio) buttons: the buttons of one group exclude each other. The first
// button of a group is created with `groupStart`.
#include "platform/Window.h"

#include <functional>

class OptionButton : public Control {
public:
    bool Create(HWND parent, int id, const std::wstring& caption, bool groupStart);
    bool Value() const;
    // Selecting one clears the others of its group.
    void SetValue(bool on);
    std::function<void()> Click;
    bool OnCommand(UINT id, UINT code) override;
};
