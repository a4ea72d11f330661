#include "platform/ComboBox.h"

bool ComboBox::Create(HWND parent, int id, bool editable) {
    DWORD style = WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | (editable ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST);
    if (!CreateChild(parent, L"COMBOBOX", style, 0, id)) return false;
    // No cut of typed or pasted text at the system's 30,000 characters: what
    // the text is saved into decides how much it may hold, and says so.
    if (editable) SendMessageW(hwnd_, CB_LIMITTEXT, 0, 0);
    return true;
}
int ComboBox::AddItem(const std::wstring& text) {
    LRESULT i = SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return i >= 0 ? static_cast<int>(i) + 1 : 0;
}
int ComboBox::Count() const { return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0)) : 0; }
std::wstring ComboBox::ItemText(int item) const {
    if (item < 1 || item > Count()) return {};
    LRESULT n = SendMessageW(hwnd_, CB_GETLBTEXTLEN, item - 1, 0);
    if (n < 0) return {};
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(hwnd_, CB_GETLBTEXT, item - 1, reinterpret_cast<LPARAM>(s.data()));
    s.resize(static_cast<size_t>(n));
    return s;
}
int ComboBox::ListIndex() const { return hwnd_ ? static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)) : -1; }
void ComboBox::SetListIndex(int index) {
    if (hwnd_) SendMessageW(hwnd_, CB_SETCURSEL, index, 0);
}
void ComboBox::SetText(const std::wstring& s) {
    if (!hwnd_) return;
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextW(hwnd_, s.c_str());
}
