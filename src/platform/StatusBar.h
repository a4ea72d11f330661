#pragma once
// Status bar with panels counted from 1.
#include "platform/Window.h"

#include <commctrl.h>

#include <functional>
#include <vector>

class StatusBar : public Control {
public:
    // `widths` in pixels; -1 for the last panel stretches it to the edge.
    bool Create(HWND parent, int id, const std::vector<int>& widths);
    void SetWidths(const std::vector<int>& widths);
    int PanelCount() const;
    std::wstring PanelText(int panel) const;
    void SetPanelText(int panel, const std::wstring& s);
    // Keeps its place at the bottom of the parent.
    void Relayout();
    int Height() const;
    // Raised with the clicked panel's 1-based index.
    std::function<void(int panel)> PanelClick;
    bool OnNotify(NMHDR* nm, LRESULT& result) override;
};
