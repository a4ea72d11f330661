#include "platform/OptionButton.h"

bool OptionButton::Create(HWND parent, int id, const std::wstring& caption, bool groupStart) {
    return CreateChild(parent, L"BUTTON", BS_AUTORADIOBUTTON | WS_VISIBLE | WS_TABSTOP | (groupStart ? WS_GROUP : 0),
                       0, id, caption);
}

bool OptionButton::Value() const {
    return hwnd_ && SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OptionButton::SetValue(bool on) {
    if (!hwnd_) return;
    if (on) {
        // Clear the group's other buttons, as a click would.
        HWND parent = GetParent(hwnd_);
        for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            if (h == hwnd_) continue;
            wchar_t cls[16] = {};
            GetClassNameW(h, cls, 16);
            if (lstrcmpiW(cls, L"BUTTON") == 0 && (GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
                GetNextDlgGroupItem(parent, h, FALSE) && SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                // Only buttons of this button's group.
                bool same = false;
                for (HWND g = GetNextDlgGroupItem(parent, hwnd_, FALSE); g && g != hwnd_; g = GetNextDlgGroupItem(parent, g, FALSE))
                    if (g == h) same = true;
                if (same) SendMessageW(h, BM_SETCHECK, BST_UNCHECKED, 0);
            }
        }
    }
    SendMessageW(hwnd_, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool OptionButton::OnCommand(UINT, UINT code) {
    if (code != BN_CLICKED) return false;
    if (Click) Click();
    return true;
}
