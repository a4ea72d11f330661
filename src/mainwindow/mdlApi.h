#pragma once
// Placing the satellite windows and the main window's docking procedure, which
// re-docks them when the user ends moving or sizing the main window.
// Geometry is 32-bit: wide and second screens work.
#include <windows.h>

namespace mdlApi {

// Hides the window, gives it the place and size (pixels of the screen), shows it
// again without activating it, then brings the main window to the top (when
// it is not there already).
void PlaceWindow(HWND window, HWND mainWindow, int left, int top, int width, int height);

// Docks the satellites to the main window by the docking rule: while linked the
// category window to its left and, while it is switched on, the properties
// window to its right (both as tall as the main window and the value bar); the
// value bar under it at its width, whatever the link state. Without `show`
// the windows only take their places (hidden ones stay hidden) and the main
// window is not brought forward.
void DockSatellites(HWND mainWindow, bool linked, bool propertiesOn, bool show = true);

// Installs DockWndProc over the main window once; later calls change nothing.
void HookMainWindow(HWND h);
// Puts back the procedure DockWndProc replaced, when it is installed.
void UnhookMainWindow(HWND h);
bool Hooked();

LRESULT CALLBACK DockWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace mdlApi
