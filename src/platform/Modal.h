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
#include <utility>
#include <vector>

namespace Modal {

void Run(HWND window);
// True while a modal window is up.
bool Active();
// Called by a modal window just before it closes: the windows it disabled are
// enabled again first, so that the system hands the activation back to them
// (destroying the active window while its owner is disabled makes the system
// look elsewhere, and under Wine wait for it).
void Ending(HWND window);

// The innermost modal window up (nullptr when none).
HWND Innermost();

// How many times the program has waited for the user so far: every modal
// window, system dialog and message box counts once it is over. What was read
// of files before a wait is read again after it (the user may have changed
// them meanwhile).
unsigned Waits();

// A system dialog (open, save, colour, font, folder) shown while the program
// runs: it stays as modal as the window under it. Made just before the system
// call and ended right after it returns:
// - its owner is the innermost modal window when one is up (the system then
//   disables that window while the dialog is up, so the page under the dialog
//   takes no input), else the owner the caller asked for;
// - every other top-level window of the thread is disabled while it is up;
// - afterwards every one of them, the owner included, is as enabled or
//   disabled as before: the system re-enables the owner it was handed, which
//   must not end a modal window's hold on the windows it disabled;
// - the window that was active before is active again, with the focus where
//   it was.
class SystemDialog {
public:
    explicit SystemDialog(HWND requestedOwner);
    ~SystemDialog();
    SystemDialog(const SystemDialog&) = delete;
    SystemDialog& operator=(const SystemDialog&) = delete;
    HWND Owner() const { return owner_; }

private:
    HWND owner_;
    HWND before_;  // the window active before the dialog: active again after it
    std::vector<std::pair<HWND, bool>> windows_;  // each top-level window and whether it was enabled
};

// Key preview: a key pressed anywhere in the modal window reaches the window
// first as this message (wParam the key code, lParam the WM_KEYDOWN's); a
// nonzero answer consumes the key, zero lets the controls have it.
UINT KeyPreviewMessage();

// Handles the messages waiting for the innermost modal window as its loop
// does (key preview, the dialog manager's keys, dispatch), without waiting:
// a hook lets the page answer keys and clicks it has been sent, then looks.
void DoEvents();

using Hook = std::function<void(HWND window)>;
// The hook for the next modal window only (nullptr clears it).
void SetHookForTests(Hook hook);

}  // namespace Modal
