#include "platform/TextBox.h"

bool TextBox::Create(HWND parent, int id, bool multiLine) {
    DWORD style = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | (multiLine ? ES_MULTILINE | WS_VSCROLL : 0);
    return CreateChild(parent, L"EDIT", style, WS_EX_CLIENTEDGE, id);
}
