#include "platform/Picture.h"

bool Picture::CreateIcon(HWND parent, int id, HICON icon, bool visible) {
    if (!CreateChild(parent, L"STATIC", SS_ICON | SS_REALSIZECONTROL | (visible ? WS_VISIBLE : 0), 0, id))
        return false;
    SendMessageW(hwnd_, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    return true;
}

bool Picture::CreateLine(HWND parent, int id, bool horizontal, bool visible) {
    return CreateChild(parent, L"STATIC", (horizontal ? SS_ETCHEDHORZ : SS_ETCHEDVERT) | (visible ? WS_VISIBLE : 0),
                       0, id);
}

bool Picture::CreateOwnerDrawn(HWND parent, int id, const std::wstring& caption, bool visible) {
    return CreateChild(parent, L"STATIC", SS_OWNERDRAW | (visible ? WS_VISIBLE : 0), 0, id, caption);
}
