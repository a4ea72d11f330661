#include "platform/Button.h"

bool CommandButton::Create(HWND parent, int id, const std::wstring& caption, bool visible) {
    return CreateChild(parent, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP | (visible ? WS_VISIBLE : 0), 0, id, caption);
}

void CommandButton::PerformClick() {
    if (Enabled() && Click) Click();
}

bool CommandButton::OnCommand(UINT, UINT code) {
    if (code != BN_CLICKED) return false;
    if (Click) Click();
    return true;
}

bool Frame::Create(HWND parent, int id, const std::wstring& caption, bool visible) {
    return CreateChild(parent, L"BUTTON", BS_GROUPBOX | (visible ? WS_VISIBLE : 0), 0, id, caption);
}
