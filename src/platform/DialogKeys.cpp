#include "platform/DialogKeys.h"

#include "platform/Modal.h"
#include "platform/Window.h"

#include <commctrl.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

namespace Ui {
namespace {
std::wstring ClassOf(HWND h) {
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    return cls;
}

bool SameClass(HWND h, const wchar_t* name) { return _wcsicmp(ClassOf(h).c_str(), name) == 0; }

bool Usable(HWND h) { return IsWindowVisible(h) && IsWindowEnabled(h); }

// The letter a caption marks with '&' (an upper-case letter), or 0.
wchar_t AccessLetter(HWND h) {
    const int n = GetWindowTextLengthW(h);
    if (n <= 0) return 0;
    std::wstring s(static_cast<size_t>(n) + 1, L'\0');
    s.resize(static_cast<size_t>(GetWindowTextW(h, s.data(), n + 1)));
    for (size_t i = 0; i + 1 < s.size(); ++i) {
        if (s[i] != L'&') continue;
        if (s[i + 1] == L'&') {
            ++i;
            continue;
        }
        return static_cast<wchar_t>(std::towupper(s[i + 1]));
    }
    return 0;
}

bool IsPushButton(HWND h) {
    if (!SameClass(h, L"Button")) return false;
    const LONG type = GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}
}  // namespace

HWND ChildOf(HWND root, HWND h) {
    if (!root || !h || h == root || !IsChild(root, h)) return nullptr;
    while (GetParent(h) != root) h = GetParent(h);
    return h;
}

void FocusControl(HWND control) {
    if (!control) return;
    SetFocus(control);
    // A picture combo box gives the keyboard to its own box.
    if (SameClass(control, L"ComboBoxEx32")) {
        HWND inner = reinterpret_cast<HWND>(SendMessageW(control, CBEM_GETEDITCONTROL, 0, 0));
        if (!inner) inner = reinterpret_cast<HWND>(SendMessageW(control, CBEM_GETCOMBOCONTROL, 0, 0));
        if (inner) SetFocus(inner);
    }
}

HWND NextTabStop(HWND root, HWND from, bool previous) {
    std::vector<HWND> stops;
    for (HWND c = GetWindow(root, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if ((GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP) && Usable(c)) stops.push_back(c);
    if (stops.empty()) return nullptr;
    const auto at = std::find(stops.begin(), stops.end(), from);
    if (at == stops.end()) return previous ? stops.back() : stops.front();
    const size_t n = stops.size(), i = static_cast<size_t>(at - stops.begin());
    return stops[(i + (previous ? n - 1 : 1)) % n];
}

bool TabKey(const MSG& m) {
    if (m.message != WM_KEYDOWN || m.wParam != VK_TAB || !m.hwnd) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    const HWND root = GetAncestor(m.hwnd, GA_ROOT);
    // A modal window's own loop gives it the dialog manager's keys.
    if (!root || !Form::FromHwnd(root) || root == Modal::Innermost()) return false;
    // A label being edited in place in a list or tree keeps its keys.
    if (const HWND parent = GetParent(m.hwnd);
        parent && SameClass(m.hwnd, L"Edit") && (SameClass(parent, L"SysListView32") || SameClass(parent, L"SysTreeView32")))
        return false;
    const HWND next = NextTabStop(root, ChildOf(root, GetFocus()), GetKeyState(VK_SHIFT) < 0);
    if (!next) return false;
    FocusControl(next);
    // As the dialog manager does: a box reached by Tab has its text selected.
    if (const HWND focus = GetFocus(); focus && SameClass(focus, L"Edit")) SendMessageW(focus, EM_SETSEL, 0, -1);
    return true;
}

bool RadioArrow(const MSG& m) {
    if (m.message != WM_KEYDOWN || !m.hwnd) return false;
    const bool back = m.wParam == VK_UP || m.wParam == VK_LEFT;
    if (!back && m.wParam != VK_DOWN && m.wParam != VK_RIGHT) return false;
    const HWND root = GetAncestor(m.hwnd, GA_ROOT);
    if (!root || !Form::FromHwnd(root) || root == Modal::Innermost()) return false;
    const HWND focus = GetFocus();
    auto radio = [](HWND h) {
        if (!h || !SameClass(h, L"Button")) return false;
        const LONG type = GetWindowLongW(h, GWL_STYLE) & BS_TYPEMASK;
        return type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON;
    };
    auto starts = [](HWND h) { return (GetWindowLongW(h, GWL_STYLE) & WS_GROUP) != 0; };
    if (!focus || GetParent(focus) != root || !radio(focus)) return false;
    // The option buttons of the focused one's group: the run of option buttons
    // around it in the Tab order, up to the next one that starts a group.
    HWND first = focus;
    while (!starts(first)) {
        const HWND prev = GetWindow(first, GW_HWNDPREV);
        if (!radio(prev)) break;
        first = prev;
    }
    std::vector<HWND> group;
    for (HWND h = first; radio(h) && (h == first || !starts(h)); h = GetWindow(h, GW_HWNDNEXT))
        if (Usable(h) || h == focus) group.push_back(h);
    const auto at = std::find(group.begin(), group.end(), focus);
    if (group.size() < 2 || at == group.end()) return true;
    const size_t n = group.size(), i = static_cast<size_t>(at - group.begin());
    const HWND next = group[(i + (back ? n - 1 : 1)) % n];
    SetFocus(next);
    if (SendMessageW(next, BM_GETCHECK, 0, 0) != BST_CHECKED) SendMessageW(next, BM_CLICK, 0, 0);
    return true;
}

bool SharedAccessKey(HWND root, const MSG& m) {
    if (!root || (m.message != WM_SYSCHAR && m.message != WM_CHAR)) return false;
    const HWND focus = GetFocus();
    if (m.message == WM_CHAR) {
        // A letter alone is an access key only where the focused control takes no characters.
        if (!focus || SameClass(focus, L"Edit")) return false;
        MSG copy = m;
        if (SendMessageW(focus, WM_GETDLGCODE, m.wParam, reinterpret_cast<LPARAM>(&copy)) & DLGC_WANTCHARS)
            return false;
    }
    const wchar_t key = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(m.wParam)));
    if (!std::iswalnum(key)) return false;
    std::vector<HWND> buttons;
    for (HWND c = GetWindow(root, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (SameClass(c, L"Button") && Usable(c) && AccessLetter(c) == key) buttons.push_back(c);
    if (buttons.size() < 2) return false;
    const auto at = std::find(buttons.begin(), buttons.end(), ChildOf(root, focus));
    SetFocus(at == buttons.end() || at + 1 == buttons.end() ? buttons.front() : *(at + 1));
    return true;
}

bool EnterOnButton(HWND root, const MSG& m) {
    if (m.message != WM_KEYDOWN || m.wParam != VK_RETURN || !root) return false;
    const HWND focus = GetFocus();
    if (!focus || GetParent(focus) != root || !IsPushButton(focus) || !IsWindowEnabled(focus)) return false;
    SendMessageW(root, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED), reinterpret_cast<LPARAM>(focus));
    return true;
}

void Dispatch(MSG& m) {
    if (TabKey(m) || RadioArrow(m)) return;
    TranslateMessage(&m);
    DispatchMessageW(&m);
}

}  // namespace Ui
