#pragma once
// The menu-hover procedure: while the candidate popup is open, the value bar
// previews the highlighted candidate's data. Installed over the main window
// once, at its load, and removed at its unload (or when the window goes).
#include <windows.h>

namespace modMenu {
// True only while the main window shows the candidate popup.
extern bool ValueMenuOpen;
// Installs MenuSelectWndProc over the window; nothing when one is installed.
void HookMenuSelect(HWND window);
// Puts the kept procedure back; nothing when none is installed.
void UnhookMenuSelect();
bool Hooked();
LRESULT CALLBACK MenuSelectWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
short LoWord(WPARAM v);
short HiWord(WPARAM v);
}  // namespace modMenu
