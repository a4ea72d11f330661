#pragma once
// Modal windows. Run shows a window modally: every other top-level window of the
// thread is disabled while it is up, and Run returns once the window is gone.
// Keys reach it through the dialog manager, so Enter and Esc become WM_COMMAND
// IDOK and IDCANCEL for the window to route to its default and cancel buttons.
//
// Test seam: a hook set by a test runs once the next modal window is up, inside
// its modal loop. The hook works the window's controls (it may post keys or
// clicks); Run then handles every message already queued and, when the window
// is still up after that, destroys it, so a test never waits for a user.
#include <windows.h>

#include <functional>

namespace Modal {

void Run(HWND window);
// True while a modal window is up.
bool Active();
// Called by a modal window just before it closes: the windows it disabled are
// enabled again first, so that the system hands the activation back to them
// (destroying the active window while its owner is disabled makes the system
// look elsewhere, and under Wine wait for it).
void Ending(HWND window);

// Key preview: a key pressed anywhere in the modal window reaches the window
// first as this message (wParam the key code, lParam the WM_KEYDOWN's); a
// nonzero answer consumes the key, zero lets the controls have it.
UINT KeyPreviewMessage();

using Hook = std::function<void(HWND window)>;
// The hook for the next modal window only (nullptr clears it).
void SetHookForTests(Hook hook);

}  // namespace Modal
