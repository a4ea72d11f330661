#include "platform/TextBox.h"

bool TextBox::Create(HWND parent, int id, bool multiLine) {
    DWORD style = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | (multiLine ? ES_MULTILINE | WS_VSCROLL : 0);
    return CreateChild(parent, L"EDIT", style, WS_EX_CLIENTEDGE, id);
}

void TextBox::SelectAll() {
    if (hwnd_) SendMessageW(hwnd_, EM_SETSEL, static_cast<WPARAM>(GetWindowTextLengthW(hwnd_)), 0);
}

bool TextBox::OnCommand(UINT, UINT code) {
    if (code != EN_SETFOCUS || !GotFocus) return false;
    GotFocus();
    return true;
}
