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

namespace {
// The main window is at the front when no shown window stands above it but
// the always-on-top ones (a window above it that is hidden is not seen) and
// its own satellites (a window it owns always stands above it: raising it
// leaves them there).
bool AtFront(HWND mainWindow) {
    for (HWND h = GetWindow(mainWindow, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV))
        if (IsWindowVisible(h) && !(GetWindowLongPtrW(h, GWL_EXSTYLE) & WS_EX_TOPMOST) &&
            GetWindow(h, GW_OWNER) != mainWindow)
            return false;
    return true;
}

void BringToFront(HWND mainWindow) {
    // Raising a window already at the front changes nothing on the screen but
    // costs a round trip to the display.
    if (mainWindow && !AtFront(mainWindow))
        SetWindowPos(mainWindow, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// PlaceWindow without bringing the main window to the front.
void Place(HWND window, int left, int top, int width, int height) {
    width = width < 0 ? 0 : width;
    height = height < 0 ? 0 : height;
    // A window shown where it is to go stays as it is: hiding and showing it
    // again would only make it flicker (and costs a round trip to the display
    // for each, the main window's start-up docks twice).
    const bool there = Ui::IsAt(window, left, top, width, height);
    if (IsWindowVisible(window) && there) return;
    ShowWindow(window, SW_HIDE);
    if (!there) SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOWNA);
}
}  // namespace

void PlaceWindow(HWND window, HWND mainWindow, int left, int top, int width, int height) {
    if (!window) return;
    Place(window, left, top, width, height);
    BringToFront(mainWindow);
}

void DockSatellites(HWND mainWindow, bool linked, bool propertiesOn, bool show) {
    RECT m = Outer(mainWindow);
    int w = m.right - m.left, h = m.bottom - m.top;
    ::Form1* bar = Forms::Form1IfLoaded();
    int barHeight = 0;
    if (bar && bar->Exists()) {
        RECT b = Outer(bar->hwnd());
        barHeight = b.bottom - b.top;
    }
    // Each window is placed; the main window comes to the front once, after
    // them all, where it would stand had it come forward after each of them.
    bool placed = false;
    auto place = [&](HWND window, int left, int top, int width, int height) {
        if (!window) return;
        if (!show) {
            // Placed while hidden; a window already there is left alone.
            if (!Ui::IsAt(window, left, top, width, height))
                SetWindowPos(window, nullptr, left, top, width < 0 ? 0 : width, height < 0 ? 0 : height,
                             SWP_NOZORDER | SWP_NOACTIVATE);
            return;
        }
        Place(window, left, top, width, height);
        placed = true;
    };
    if (linked) {
        HWND shadow = Forms::frmShadow().hwnd();
        RECT s = Outer(shadow);
        int sw = s.right - s.left;
        place(shadow, m.left - sw, m.top, sw, h + barHeight);
        if (propertiesOn) {
            HWND props = Forms::Form3().hwnd();
            RECT p = Outer(props);
            place(props, m.right, m.top, p.right - p.left, h + barHeight);
        }
    }
    if (bar && bar->Exists()) place(bar->hwnd(), m.left, m.bottom, w, barHeight);
    if (placed) BringToFront(mainWindow);
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
