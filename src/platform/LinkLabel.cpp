#include "platform/LinkLabel.h"

#include <commctrl.h>

LinkLabel::~LinkLabel() {
    if (font_) DeleteObject(font_);
}

bool LinkLabel::Create(HWND parent, int id, const std::wstring& caption) {
    if (!CreateChild(parent, L"STATIC", SS_LEFT | SS_NOTIFY | WS_VISIBLE, 0, id, caption)) return false;
    if (!font_) {
        HDC dc = GetDC(nullptr);
        int height = -MulDiv(9, GetDeviceCaps(dc, LOGPIXELSY), 72);
        ReleaseDC(nullptr, dc);
        font_ = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, TRUE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"宋体");
    }
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SetWindowSubclass(hwnd_, &LinkLabel::Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

bool LinkLabel::OnCommand(UINT, UINT code) {
    if (code != STN_CLICKED) return false;
    if (Click) Click();
    return true;
}

LRESULT CALLBACK LinkLabel::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<LinkLabel*>(ref);
    switch (msg) {
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(h, &ps);
        RECT r;
        GetClientRect(h, &r);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kColor);
        HGDIOBJ old = SelectObject(dc, self->font_ ? self->font_ : GetStockObject(DEFAULT_GUI_FONT));
        std::wstring text = self->Caption();
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        EndPaint(h, &ps);
        return 0;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(h, &LinkLabel::Proc, 1);
        break;
    default:
        break;
    }
    return DefSubclassProc(h, msg, wp, lp);
}
