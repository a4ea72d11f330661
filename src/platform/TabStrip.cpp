#include "platform/TabStrip.h"

#include <commctrl.h>

bool TabStrip::Create(HWND parent, int id) {
    return CreateChild(parent, WC_TABCONTROLW, WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, id);
}
int TabStrip::AddTab(const std::wstring& caption) {
    TCITEMW it{};
    it.mask = TCIF_TEXT;
    it.pszText = const_cast<wchar_t*>(caption.c_str());
    LRESULT i = SendMessageW(hwnd_, TCM_INSERTITEMW, Count(), reinterpret_cast<LPARAM>(&it));
    return i >= 0 ? static_cast<int>(i) + 1 : 0;
}
int TabStrip::Count() const { return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, TCM_GETITEMCOUNT, 0, 0)) : 0; }
int TabStrip::SelectedIndex() const { return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, TCM_GETCURSEL, 0, 0)) + 1 : 0; }
bool TabStrip::Select(int n) {
    if (n < 1 || n > Count()) return false;
    SendMessageW(hwnd_, TCM_SETCURSEL, n - 1, 0);
    return true;
}
bool TabStrip::OnNotify(NMHDR* nm, LRESULT& result) {
    if (nm->code != TCN_SELCHANGE) return false;
    if (Click) Click();
    result = 0;
    return true;
}
