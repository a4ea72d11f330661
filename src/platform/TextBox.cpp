#include "platform/TextBox.h"

bool TextBox::Create(HWND parent, int id, Lines lines) {
    // Without ES_AUTOHSCROLL a multi-line edit breaks its lines at its width.
    const DWORD style = WS_VISIBLE | WS_TABSTOP |
                        (lines == Lines::Wrapped ? ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL : ES_AUTOHSCROLL);
    return CreateChild(parent, L"EDIT", style, WS_EX_CLIENTEDGE, id);
}

bool TextBox::OnCommand(UINT, UINT code) {
    if (code != EN_SETFOCUS || !GotFocus) return false;
    GotFocus();
    return true;
}
