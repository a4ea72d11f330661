#pragma once
// The dialog manager's keys where the system's own do not reach or fall short:
// Tab and Shift+Tab between a window's controls in the order they are seen, an
// access key carried by several buttons, Enter on a focused push button.
#include <windows.h>

namespace Ui {

// The child of `root` that holds `h` (h itself when it is one), else nullptr.
HWND ChildOf(HWND root, HWND h);

// Gives `control` the keyboard (a picture combo box: its own box inside).
void FocusControl(HWND control);

// The control after (or before) `from` among the visible, enabled tab stops
// that are children of `root`, in the window's Tab order (the order its
// controls were made in), wrapping round at the ends; the first (last) one when
// `from` is none of them. nullptr when the window has no tab stop.
HWND NextTabStop(HWND root, HWND from, bool previous);

// Tab or Shift+Tab pressed in a window of the program that no modal loop
// serves: the focus moves to the next (previous) control. Ctrl+Tab is left to
// the control (a multi-line box may take it as a TAB). True when the key was used.
bool TabKey(const MSG& m);

// An arrow key on an option button of a window that no modal loop serves:
// the next (Down, Right) or previous (Up, Left) option button of its group
// takes the focus and is chosen. True when the key was used.
bool RadioArrow(const MSG& m);

// An access key (Alt+letter, or the letter alone where the focused control
// takes no characters) carried by more than one visible, enabled button of
// `root`: the focus moves to the next of them and none is pressed. True when so.
bool SharedAccessKey(HWND root, const MSG& m);

// Enter on a focused push button of `root`: the button is pressed, as in any
// dialog. True when so.
bool EnterOnButton(HWND root, const MSG& m);

// One message of the program's loop: Tab between controls, the arrow keys
// between option buttons, else translation
// and dispatch.
void Dispatch(MSG& m);

}  // namespace Ui
