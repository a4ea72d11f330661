#include "platform/TabStrip.h"

#include <commctrl.h>

#include <cwchar>

bool TabStrip::Create(HWND parent, int id) {
    return CreateChild(parent, WC_TABCONTROLW, WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, id);
}

void TabStrip::FitTabs() {
    const int n = Count();
    if (n < 1) return;
    HDC dc = GetDC(hwnd_);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
    int widest = 0;
    for (int i = 0; i < n; ++i) {
        wchar_t text[128] = {};
        TCITEMW it{};
        it.mask = TCIF_TEXT;
        it.pszText = text;
        it.cchTextMax = 128;
        SendMessageW(hwnd_, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&it));
        SIZE size{};
        GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
        if (size.cx > widest) widest = size.cx;
    }
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    RECT client{}, first{};
    GetClientRect(hwnd_, &client);
    SendMessageW(hwnd_, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    // The selected tab stands out a few pixels on each side; keep room for it.
    const int room = (client.right - 6) / n;
    int width = widest + 2 * tm.tmAveCharWidth + 6;
    if (width > room) width = room;
    if (width < 1) width = 1;
    const int height = first.bottom > first.top ? first.bottom - first.top : tm.tmHeight + 6;
    SetWindowLongPtrW(hwnd_, GWL_STYLE, GetWindowLongPtrW(hwnd_, GWL_STYLE) | TCS_FIXEDWIDTH);
    SendMessageW(hwnd_, TCM_SETITEMSIZE, 0, MAKELPARAM(width, height));
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
