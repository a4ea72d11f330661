#include "platform/Subclass.h"
#include "platform/LinkLabel.h"

#include <commctrl.h>

namespace {
constexpr UINT_PTR kSubclassId = 1;
}

LinkLabel::~LinkLabel() {
    if (hwnd_ && IsWindow(hwnd_)) Subclass::Remove(hwnd_, &LinkLabel::Proc, kSubclassId);
}

bool LinkLabel::Create(HWND parent, int id, const std::wstring& caption, bool visible) {
    // SS_NOTIFY: the static takes the mouse (and reports STN_CLICKED) instead of
    // letting it through to the window below.
    if (!CreateChild(parent, L"STATIC", SS_LEFT | SS_NOTIFY | (visible ? WS_VISIBLE : 0), 0, id, caption))
        return false;
    Subclass::Set(hwnd_, &LinkLabel::Proc, kSubclassId, 0);
    return true;
}

bool LinkLabel::OnCommand(UINT, UINT code) {
    if (code != STN_CLICKED) return false;
    if (Click) Click();
    return true;
}

LRESULT CALLBACK LinkLabel::Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_SETCURSOR && LOWORD(lp) == HTCLIENT) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
    }
    if (msg == WM_NCDESTROY) Subclass::Remove(h, &LinkLabel::Proc, kSubclassId);
    return Subclass::Def(h, msg, wp, lp);
}
