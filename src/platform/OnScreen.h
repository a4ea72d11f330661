#pragma once
// Saved window positions against the screens of this moment.
#include <windows.h>

namespace OnScreen {
// Moves a window whose rectangle lies on no screen (a position saved on a
// screen that is gone, or a damaged one) onto the primary screen's work area,
// keeping its size where it fits. True when it was moved.
bool Keep(HWND window);
}  // namespace OnScreen
