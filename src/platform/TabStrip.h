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
    // Gives every tab one width: as wide as the widest caption needs, narrower
    // when that is what lets all of them show side by side within the strip's
    // own width (no tab hidden behind the scroll arrows).
    void FitTabs();
    // Raised when the user picks another tab (not by Select).
    std::function<void()> Click;
    bool OnNotify(NMHDR* nm, LRESULT& result) override;
};
