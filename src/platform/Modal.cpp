#include "platform/Modal.h"

#include "platform/DialogKeys.h"
#include "platform/Window.h"

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
unsigned g_waits = 0;

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
    if (IsWindow(window) && (Ui::EnterOnButton(window, m) || Ui::SharedAccessKey(window, m))) return true;
    if (IsWindow(window) && IsDialogMessageW(window, &m)) return true;
    TranslateMessage(&m);
    DispatchMessageW(&m);
    return true;
}

// The window that was active before a modal window or system dialog came up
// gets the activation back once it has gone (the system gives it to the
// owner, which need not be the window the user was working in); the window
// then gives the focus back to the control that had it.
void GiveBackActivation(HWND before) {
    if (!before || !IsWindow(before) || !IsWindowVisible(before) || !IsWindowEnabled(before)) return;
    if (GetActiveWindow() != before) SetActiveWindow(before);
}
}  // namespace

bool Active() { return !g_stack.empty(); }

unsigned Waits() { return g_waits; }

HWND Innermost() {
    for (auto it = g_stack.rbegin(); it != g_stack.rend(); ++it)
        if (IsWindow((*it)->except)) return (*it)->except;
    return nullptr;
}

namespace {
BOOL CALLBACK NoteOne(HWND h, LPARAM lp) {
    reinterpret_cast<std::vector<std::pair<HWND, bool>>*>(lp)->emplace_back(h, IsWindowEnabled(h) != FALSE);
    return TRUE;
}
}  // namespace

SystemDialog::SystemDialog(HWND requestedOwner) : owner_(requestedOwner), before_(GetActiveWindow()) {
    if (HWND modal = Innermost()) owner_ = modal;
    EnumThreadWindows(GetCurrentThreadId(), &NoteOne, reinterpret_cast<LPARAM>(&windows_));
    // The owner is left to the system: it disables it for the dialog and
    // enables it again before the dialog goes, so the activation returns to it.
    for (const auto& [h, enabled] : windows_)
        if (enabled && h != owner_) EnableWindow(h, FALSE);
}

SystemDialog::~SystemDialog() {
    for (const auto& [h, enabled] : windows_)
        if (IsWindow(h) && (IsWindowEnabled(h) != FALSE) != enabled) EnableWindow(h, enabled ? TRUE : FALSE);
    GiveBackActivation(before_);
    ++g_waits;
}

UINT KeyPreviewMessage() {
    static const UINT message = RegisterWindowMessageW(L"Quorix.KeyPreview");
    return message;
}

void Ending(HWND window) {
    for (Disabled* d : g_stack)
        if (d->except == window) Reenable(*d);
}

void SetHookForTests(Hook hook) { g_hook = std::move(hook); }

void DoEvents() {
    HWND window = Innermost();
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (!Handle(window, m)) break;
        window = Innermost();
    }
}

void Run(HWND window) {
    if (!window || !IsWindow(window)) return;
    // The window the user was in: when the modal window took the activation
    // already (its focus set while it was being made), the one it took it from.
    HWND before = GetActiveWindow();
    if (before == window)
        if (const Form* form = Form::FromHwnd(window)) before = form->ActivatedFrom();
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
    GiveBackActivation(before);
    ++g_waits;
}

}  // namespace Modal
