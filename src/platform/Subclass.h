#pragma once
// Subclassing of controls, in the manner of the common controls' own
// (an install by procedure and id, a default step that passes the message on,
// the newest procedure first), without their per-message cost: theirs asks a
// window property of the system for every message, twice, which under Wine is
// a round trip to the server. Here the chain is kept in the program, and a
// message to a subclassed control costs one look-up.
#include <windows.h>
#include <commctrl.h>

namespace Subclass {
// Installs `proc` with `id` on the window, or gives an installed one its new `ref`.
bool Set(HWND h, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR ref);
// Takes `proc` with `id` off the window (also from inside the procedure).
bool Remove(HWND h, SUBCLASSPROC proc, UINT_PTR id);
// The next procedure of the chain, and at its end the window's own.
LRESULT Def(HWND h, UINT msg, WPARAM wp, LPARAM lp);
}  // namespace Subclass
