#pragma once
// What a started program has built, counted from outside: its visible top-level
// windows, their descendant windows by class, the buttons of its toolbars, the
// nodes of its trees and the rows of its lists. startup_bench prints it for
// Quorix.exe and for the floor, so that the floor is seen to build the same.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>

namespace Census {

struct Count {
    int windows = 0;                        // visible top-level windows
    std::map<std::wstring, int> children;   // descendant windows by class
    int buttons = 0, nodes = 0, rows = 0;   // toolbar buttons, tree nodes, list rows (all lists)
    std::wstring buttonList, rowList;       // per control, in the system's order
};

namespace Detail {
struct Walk {
    DWORD pid;
    Count* count;
};
inline BOOL CALLBACK Child(HWND h, LPARAM lp) {
    auto* c = reinterpret_cast<Count*>(lp);
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    ++c->children[cls];
    if (wcscmp(cls, TOOLBARCLASSNAMEW) == 0) {
        const int n = static_cast<int>(SendMessageW(h, TB_BUTTONCOUNT, 0, 0));
        c->buttons += n;
        c->buttonList += (c->buttonList.empty() ? L"" : L", ") + std::to_wstring(n);
    } else if (wcscmp(cls, WC_TREEVIEWW) == 0) {
        c->nodes += static_cast<int>(SendMessageW(h, TVM_GETCOUNT, 0, 0));
    } else if (wcscmp(cls, WC_LISTVIEWW) == 0) {
        const int n = static_cast<int>(SendMessageW(h, LVM_GETITEMCOUNT, 0, 0));
        c->rows += n;
        c->rowList += (c->rowList.empty() ? L"" : L", ") + std::to_wstring(n);
    }
    return TRUE;
}
inline BOOL CALLBACK Top(HWND h, LPARAM lp) {
    auto* w = reinterpret_cast<Walk*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != w->pid || !IsWindowVisible(h)) return TRUE;
    wchar_t cls[64] = {};
    GetClassNameW(h, cls, 64);
    if (wcscmp(cls, TOOLTIPS_CLASSW) == 0 || wcscmp(cls, L"IME") == 0) return TRUE;
    ++w->count->windows;
    EnumChildWindows(h, Child, reinterpret_cast<LPARAM>(w->count));
    return TRUE;
}
}  // namespace Detail

inline Count Of(DWORD pid) {
    Count c;
    Detail::Walk w{pid, &c};
    EnumWindows(Detail::Top, reinterpret_cast<LPARAM>(&w));
    return c;
}

inline std::wstring Text(const Count& c) {
    std::wstring s = std::to_wstring(c.windows) + L" windows; children:";
    int total = 0;
    for (const auto& [cls, n] : c.children) {
        s += L" " + cls + L" " + std::to_wstring(n);
        total += n;
    }
    s += L" (" + std::to_wstring(total) + L"); toolbar buttons " + c.buttonList + L"; tree nodes " +
         std::to_wstring(c.nodes) + L"; list rows " + c.rowList;
    return s;
}

}  // namespace Census
