#include "platform/Resize.h"

#include "platform/Twips.h"

#include <utility>
#include <vector>

namespace Resize {
namespace {
// Each installed window's SavedWindowProc, kept in the process: a window
// property would be looked up at every message the window gets, which is a
// server call under Wine (a list view's notifications to its form add up).
std::vector<std::pair<HWND, WNDPROC>> g_saved;

WNDPROC Saved(HWND h) {
    for (const auto& [window, proc] : g_saved)
        if (window == h) return proc;
    return nullptr;
}
void Forget(HWND h) {
    for (auto it = g_saved.begin(); it != g_saved.end(); ++it)
        if (it->first == h) {
            g_saved.erase(it);
            return;
        }
}

LRESULT MinSize(HWND h, UINT msg, WPARAM wp, LPARAM lp, int wTwips, int hTwips) {
    WNDPROC saved = Saved(h);
    if (msg == WM_GETMINMAXINFO && lp) {
        auto* mmi = reinterpret_cast<MINMAXINFO*>(lp);
        SIZE s = MinTrackPixels(wTwips, hTwips);
        mmi->ptMinTrackSize.x = s.cx;
        mmi->ptMinTrackSize.y = s.cy;
        return 0;
    }
    if (msg == WM_NCDESTROY) Forget(h);
    return saved ? CallWindowProcW(saved, h, msg, wp, lp) : DefWindowProcW(h, msg, wp, lp);
}

bool Install(HWND h, WNDPROC proc) {
    if (!h || !IsWindow(h) || Saved(h)) return false;
    auto old = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(h, GWLP_WNDPROC));
    if (!old) return false;
    g_saved.emplace_back(h, old);
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
    return true;
}
}  // namespace

SIZE MinTrackPixels(int widthTwips, int heightTwips) {
    int tx = Twips::PerPixelX(), ty = Twips::PerPixelY();
    return SIZE{tx > 0 ? widthTwips / tx : 0, ty > 0 ? heightTwips / ty : 0};
}

LRESULT CALLBACK MainMinSizeWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return MinSize(h, msg, wp, lp, kMainMinWidth, kMainMinHeight);
}
LRESULT CALLBACK SideMinSizeWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    return MinSize(h, msg, wp, lp, kSideMinWidth, kSideMinHeight);
}

bool InstallMainMinSize(HWND h) { return Install(h, &MainMinSizeWndProc); }
bool InstallSideMinSize(HWND h) { return Install(h, &SideMinSizeWndProc); }
bool Installed(HWND h) { return h && Saved(h) != nullptr; }

void Uninstall(HWND h) {
    WNDPROC saved = h ? Saved(h) : nullptr;
    if (!saved) return;
    SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
    Forget(h);
}

}  // namespace Resize
