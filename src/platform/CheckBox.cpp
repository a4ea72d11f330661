#include "platform/CheckBox.h"

bool CheckBox::Create(HWND parent, int id, const std::wstring& caption, bool visible) {
    // BS_3STATE: the control never changes its own state; OnCommand does.
    return CreateChild(parent, L"BUTTON", BS_3STATE | WS_TABSTOP | (visible ? WS_VISIBLE : 0), 0, id, caption);
}

int CheckBox::Value() const {
    if (!hwnd_) return Clear;
    switch (SendMessageW(hwnd_, BM_GETCHECK, 0, 0)) {
    case BST_CHECKED: return Ticked;
    case BST_INDETERMINATE: return Grey;
    default: return Clear;
    }
}

bool CheckBox::SetValue(long long value) {
    if (!hwnd_ || value < Clear || value > Grey) return false;
    const WPARAM state = value == Ticked ? BST_CHECKED : value == Grey ? BST_INDETERMINATE : BST_UNCHECKED;
    SendMessageW(hwnd_, BM_SETCHECK, state, 0);
    return true;
}

bool CheckBox::OnCommand(UINT, UINT code) {
    if (code != BN_CLICKED) return false;
    SetValue(Value() == Clear ? Ticked : Clear);
    if (Click) Click();
    return true;
}
