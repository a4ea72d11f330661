#pragma once
// Tab strip with tabs counted from 1.
#include "platform/Window.h"

#include <functional>

class TabStrip : public Control {
public:
    bool Create(HWND parent, int id);
    int AddTab(const std::wstring& caption);  // returns the tab's number
    int Count() const;
    int SelectedIndex() const;  // 0 when none
    // Selects tab `n`; a number with no such tab is refused (false) and the selection stays.
    bool Select(int n);
    // Raised when the user picks another tab (not by Select).
    std::function<void()> Click;
    bool OnNotify(NMHDR* nm, LRESULT& result) override;
};
