#include "platform/TextBox.h"

bool TextBox::Create(HWND parent, int id, bool multiLine) {
    DWORD style = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | (multiLine ? ES_MULTILINE | WS_VSCROLL : 0);
    if (!CreateChild(parent, L"EDIT", style, WS_EX_CLIENTEDGE, id)) return false;
    // No cut of typed or pasted text at the system's 30,000 characters: what
    // the text is saved into decides how much it may hold, and says so.
    SendMessageW(hwnd_, EM_LIMITTEXT, 0, 0);
    return true;
}

void TextBox::SelectAll() {
    if (hwnd_) SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(GetWindowTextLengthW(hwnd_)), 0);
}

bool TextBox::OnCommand(UINT, UINT code) {
    if (code != EN_SETFOCUS || !GotFocus) return false;
    GotFocus();
    return true;
}
