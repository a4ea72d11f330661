#include "platform/EditBox.h"

bool EditBox::Locked() const {
    return hwnd_ && (GetWindowLongW(hwnd_, GWL_STYLE) & ES_READONLY) != 0;
}

bool EditBox::SetLocked(bool on) {
    return hwnd_ && SendMessageW(hwnd_, EM_SETREADONLY, on ? TRUE : FALSE, 0) != 0;
}

void EditBox::SetSelection(int start, int length) {
    if (hwnd_) SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
}

int EditBox::SelStart() const {
    DWORD s = 0, e = 0;
    if (hwnd_) SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    return static_cast<int>(s);
}

int EditBox::SelLength() const {
    DWORD s = 0, e = 0;
    if (hwnd_) SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    return static_cast<int>(e - s);
}

bool EditBox::OnCommand(UINT, UINT code) {
    if (code == EN_CHANGE && Change) {
        Change();
        return true;
    }
    if (code == EN_SETFOCUS && GotFocus) {
        GotFocus();
        return true;
    }
    return false;
}
