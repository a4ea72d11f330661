#include "platform/Modal.h"

#include <utility>
#include <vector>

namespace Modal {
namespace {
Hook g_hook;

struct Disabled {
    HWND except;
    std::vector<HWND> windows;
};
std::vector<Disabled*> g_stack;  // the modal windows up, innermost last

void Reenable(Disabled& d) {
    for (HWND h : d.windows)
        if (IsWindow(h)) EnableWindow(h, TRUE);
    d.windows.clear();
}

BOOL CALLBACK DisableOne(HWND h, LPARAM lp) {
    auto* d = reinterpret_cast<Disabled*>(lp);
    if (h != d->except && IsWindowEnabled(h)) {
        EnableWindow(h, FALSE);
        d->windows.push_back(h);
    }
    return TRUE;
}

// Handles one message for the modal window; false when WM_QUIT arrived.
bool Handle(HWND window, MSG& m) {
    if (m.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(m.wParam));
        return false;
    }
    if ((m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) && IsWindow(window) &&
        (m.hwnd == window || IsChild(window, m.hwnd)) &&
        SendMessageW(window, KeyPreviewMessage(), m.wParam, m.lParam) != 0)
        return true;
    if (IsWindow(window) && IsDialogMessageW(window, &m)) return true;
    TranslateMessage(&m);
    DispatchMessageW(&m);
    return true;
}
}  // namespace

bool Active() { return !g_stack.empty(); }

UINT KeyPreviewMessage() {
    static const UINT message = RegisterWindowMessageW(L"Quorix.KeyPreview");
    return message;
}

void Ending(HWND window) {
    for (Disabled* d : g_stack)
        if (d->except == window) Reenable(*d);
}

void SetHookForTests(Hook hook) { g_hook = std::move(hook); }

void Run(HWND window) {
    if (!window || !IsWindow(window)) return;
    Disabled d{window, {}};
    EnumThreadWindows(GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(&d));
    g_stack.push_back(&d);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    if (g_hook) {
        Hook hook = std::exchange(g_hook, nullptr);
        hook(window);
        MSG m;
        while (IsWindow(window) && PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE))
            if (!Handle(window, m)) break;
        if (IsWindow(window)) DestroyWindow(window);
    } else {
        MSG m;
        while (IsWindow(window) && IsWindowVisible(window)) {
            BOOL r = GetMessageW(&m, nullptr, 0, 0);
            if (r == -1) break;
            if (r == 0) {
                PostQuitMessage(static_cast<int>(m.wParam));
                break;
            }
            Handle(window, m);
        }
    }
    g_stack.pop_back();
    Reenable(d);
}

}  // namespace Modal
