#include "platform/SelectAllText.h"

#include "platform/ComboBox.h"
#include "platform/TextBox.h"

#include <commctrl.h>

#include <cwchar>

namespace General {

void SelectAllText(HWND box) {
    if (!box || !IsWindow(box)) return;
    wchar_t cls[64] = {};
    GetClassNameW(box, cls, 64);
    const int length = GetWindowTextLengthW(box);
    if (_wcsicmp(cls, L"Edit") == 0) {
        SendMessageW(box, EM_SETSEL, 0, length);
    } else if (_wcsicmp(cls, L"ComboBox") == 0) {
        SendMessageW(box, CB_SETEDITSEL, 0, MAKELPARAM(0, length));
    } else if (_wcsicmp(cls, WC_COMBOBOXEXW) == 0) {
        // An image combo keeps its text in an edit control of its own.
        SelectAllText(reinterpret_cast<HWND>(SendMessageW(box, CBEM_GETEDITCONTROL, 0, 0)));
    }
}

void SelectAllText(const TextBox& box) { SelectAllText(box.hwnd()); }
void SelectAllText(const ComboBox& box) { SelectAllText(box.hwnd()); }

}  // namespace General
