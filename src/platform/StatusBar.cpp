#include "platform/StatusBar.h"

bool StatusBar::Create(HWND parent, int id, const std::vector<int>& widths) {
    if (!CreateChild(parent, STATUSCLASSNAMEW, WS_VISIBLE | SBARS_SIZEGRIP, 0, id)) return false;
    SetWidths(widths);
    return true;
}

void StatusBar::SetWidths(const std::vector<int>& widths) {
    std::vector<int> edges;
    int x = 0;
    for (int w : widths) {
        if (w < 0) {
            edges.push_back(-1);
        } else {
            x += w;
            edges.push_back(x);
        }
    }
    SendMessageW(hwnd_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

int StatusBar::PanelCount() const { return static_cast<int>(SendMessageW(hwnd_, SB_GETPARTS, 0, 0)); }

std::wstring StatusBar::PanelText(int panel) const {
    if (panel < 1 || panel > PanelCount()) return {};
    int len = LOWORD(SendMessageW(hwnd_, SB_GETTEXTLENGTHW, panel - 1, 0));
    std::wstring s(static_cast<size_t>(len) + 1, L'\0');
    SendMessageW(hwnd_, SB_GETTEXTW, panel - 1, reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(len));
    return s;
}

void StatusBar::SetPanelText(int panel, const std::wstring& s) {
    if (panel >= 1 && panel <= PanelCount())
        SendMessageW(hwnd_, SB_SETTEXTW, panel - 1, reinterpret_cast<LPARAM>(s.c_str()));
}

void StatusBar::Relayout() { SendMessageW(hwnd_, WM_SIZE, 0, 0); }

int StatusBar::Height() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r.bottom - r.top;
}

bool StatusBar::OnNotify(NMHDR* nm, LRESULT& result) {
    if (nm->code == NM_CLICK) {
        auto* m = reinterpret_cast<NMMOUSE*>(nm);
        if (PanelClick && m->dwItemSpec != static_cast<DWORD_PTR>(-1)) PanelClick(static_cast<int>(m->dwItemSpec) + 1);
        result = FALSE;
        return true;
    }
    return false;
}
