#include "mainwindow/mdlApi.h"

#include "editor/Form1.h"
#include "editor/Form3.h"
#include "library/frmShadow.h"
#include "mainwindow/Form2.h"
#include "platform/Window.h"

namespace mdlApi {
namespace {
WNDPROC g_dockSaved = nullptr;  // DockSavedWindowProc
HWND g_dockWindow = nullptr;

RECT Outer(HWND h) {
    RECT r{};
    if (h) GetWindowRect(h, &r);
    return r;
}
}  // namespace

void PlaceWindow(HWND window, HWND mainWindow, int left, int top, int width, int height) {
    if (!window) return;
    width = width < 0 ? 0 : width;
    height = height < 0 ? 0 : height;
    // A window shown where it is to go stays as it is: hiding and showing it
    // again would only make it flicker (and costs a round trip to the display
    // for each, the main window's start-up docks twice).
    const RECT now = Outer(window);
    if (IsWindowVisible(window) && now.left == left && now.top == top && now.right - now.left == width &&
        now.bottom - now.top == height) {
        if (mainWindow) SetWindowPos(mainWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    ShowWindow(window, SW_HIDE);
    SetWindowPos(window, nullptr, left, top, width < 0 ? 0 : width, height < 0 ? 0 : height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNA);
    if (mainWindow) SetWindowPos(mainWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void DockSatellites(HWND mainWindow, bool linked, bool propertiesOn) {
    RECT m = Outer(mainWindow);
    int w = m.right - m.left, h = m.bottom - m.top;
    ::Form1* bar = Forms::Form1IfLoaded();
    int barHeight = 0;
    if (bar && bar->Exists()) {
        RECT b = Outer(bar->hwnd());
        barHeight = b.bottom - b.top;
    }
    if (linked) {
        HWND shadow = Forms::frmShadow().hwnd();
        RECT s = Outer(shadow);
        int sw = s.right - s.left;
        PlaceWindow(shadow, mainWindow, m.left - sw, m.top, sw, h + barHeight);
        if (propertiesOn) {
            HWND props = Forms::Form3().hwnd();
            RECT p = Outer(props);
            PlaceWindow(props, mainWindow, m.right, m.top, p.right - p.left, h + barHeight);
        }
    }
    if (bar && bar->Exists()) PlaceWindow(bar->hwnd(), mainWindow, m.left, m.bottom, w, barHeight);
}

void HookMainWindow(HWND h) {
    if (g_dockSaved || !h) return;
    g_dockSaved = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC));
    g_dockWindow = h;
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DockWndProc));
}

void UnhookMainWindow(HWND h) {
    if (!g_dockSaved) return;
    if (h && h == g_dockWindow) SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_dockSaved));
    g_dockSaved = nullptr;
    g_dockWindow = nullptr;
}

bool Hooked() { return g_dockSaved != nullptr; }

LRESULT CALLBACK DockWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    WNDPROC saved = g_dockSaved;
    if (msg == WM_EXITSIZEMOVE) {
        Ui::DoEvents();
        ::Form2* main = Forms::Form2IfLoaded();
        if (main && main->hwnd() == h) DockSatellites(h, main->WindowLink(), main->PropertyWindowOn());
        return 0;
    }
    if (msg == WM_NCDESTROY && h == g_dockWindow) {
        // The window goes without its procedures taken off: forget ours.
        g_dockSaved = nullptr;
        g_dockWindow = nullptr;
    }
    return saved ? CallWindowProcW(saved, h, msg, wp, lp) : DefWindowProcW(h, msg, wp, lp);
}

}  // namespace mdlApi
