#include "editor/modMenu.h"

#include "editor/Form1.h"
#include "editor/Form3.h"
#include "editor/ValueTexts.h"
#include "platform/Text.h"

namespace modMenu {

bool ValueMenuOpen = false;

namespace {
WNDPROC MenuSavedWindowProc = nullptr;
HWND MenuHookedWindow = nullptr;

// The candidate row `index` (1-based) previewed in the value bar.
void Preview(int index) {
    ::Form3* props = Forms::Form3IfLoaded();
    if (!props) return;
    ListView& options = props->ListView1;
    if (index < 1 || index > options.Count()) return;
    ComboBox& bar = Forms::Form1().ImageCombo1;
    const std::wstring shown = options.SubText(index, 1);
    if (options.SubIcon(index, 0) == 8) bar.SetListIndex(0);
    else if (props->Combo1.ListIndex() == 1 && shown == ValueTexts::ZeroLengthBinary) bar.SetText(L"");
    else bar.SetText(shown);
}
}  // namespace

short LoWord(WPARAM v) { return static_cast<short>(v & 0xFFFF); }
short HiWord(WPARAM v) { return static_cast<short>((v >> 16) & 0xFFFF); }

bool Hooked() { return MenuSavedWindowProc != nullptr; }

void HookMenuSelect(HWND window) {
    if (MenuSavedWindowProc || !window) return;
    MenuHookedWindow = window;
    MenuSavedWindowProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MenuSelectWndProc));
}

void UnhookMenuSelect() {
    if (!MenuSavedWindowProc) return;
    if (IsWindow(MenuHookedWindow))
        SetWindowLongPtrW(MenuHookedWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MenuSavedWindowProc));
    MenuSavedWindowProc = nullptr;
    MenuHookedWindow = nullptr;
}

LRESULT CALLBACK MenuSelectWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_MENUSELECT) {
        // Never passed on: the main window's other popups have nothing to show here.
        if (lp == 0) return 0;
        const int item = static_cast<unsigned short>(LoWord(wp));
        const int flags = static_cast<unsigned short>(HiWord(wp));
        char text[127] = {};
        const UINT by = (flags & MF_POPUP) ? MF_BYPOSITION : MF_BYCOMMAND;
        if (GetMenuStringA(reinterpret_cast<HMENU>(lp), static_cast<UINT>(item), text, 127, by) == 0) return 0;
        if (!ValueMenuOpen) return 0;
        ComboBox& bar = Forms::Form1().ImageCombo1;
        bar.SetText(Text::Trim(Text::FromAnsi(text)));
        // The candidate by its place in the popup: item n + 1 is option row n.
        if (!(flags & MF_POPUP)) Preview(item - 1);
        return 0;
    }
    WNDPROC saved = MenuSavedWindowProc;
    LRESULT r = saved ? CallWindowProcW(saved, h, msg, wp, lp) : DefWindowProcW(h, msg, wp, lp);
    if (msg == WM_NCDESTROY) UnhookMenuSelect();
    return r;
}

}  // namespace modMenu
