#include "platform/TextBox.h"

bool TextBox::Create(HWND parent, int id, Lines lines) {
    // Without ES_AUTOHSCROLL a multi-line edit breaks its lines at its width.
    const DWORD style = WS_VISIBLE | WS_TABSTOP |
                        (lines == Lines::Wrapped ? ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL);
    if (!CreateChild(parent, L"EDIT", style, WS_EX_CLIENTEDGE, id)) return false;
    // No cut of typed or pasted text at the system's 30,000 characters: what
    // the text is saved into decides how much it may hold, and says so.
    SendMessageW(hwnd_, EM_LIMITTEXT, 0, 0);
    return true;
}

bool TextBox::OnCommand(UINT, UINT code) {
    if (code != EN_SETFOCUS || !GotFocus) return false;
    GotFocus();
    return true;
}
