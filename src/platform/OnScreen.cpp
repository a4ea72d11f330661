#include "platform/OnScreen.h"

#include <algorithm>

namespace OnScreen {

bool Keep(HWND window) {
    RECT r{};
    if (!window || !GetWindowRect(window, &r)) return false;
    if (MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) return false;
    RECT work{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const long long workW = work.right - work.left, workH = work.bottom - work.top;
    const int width = static_cast<int>(std::clamp<long long>(static_cast<long long>(r.right) - r.left, 1, workW));
    const int height = static_cast<int>(std::clamp<long long>(static_cast<long long>(r.bottom) - r.top, 1, workH));
    // Centred on the primary screen.
    const int left = work.left + static_cast<int>((workW - width) / 2);
    const int top = work.top + static_cast<int>((workH - height) / 2);
    return SetWindowPos(window, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE) != 0;
}

}  // namespace OnScreen
