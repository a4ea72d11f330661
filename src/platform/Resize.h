#pragma once
// Minimum tracking sizes of the main window (4250 x 2895 twips) and of the two
// side windows, the category window and the properties window (1800 x 3300 twips).
// Each installed window keeps the procedure it replaced (its SavedWindowProc)
// and gets every other message passed on to it.
#include <windows.h>

namespace Resize {

inline constexpr int kMainMinWidth = 4250, kMainMinHeight = 2895;
inline constexpr int kSideMinWidth = 1800, kSideMinHeight = 3300;

LRESULT CALLBACK MainMinSizeWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);
LRESULT CALLBACK SideMinSizeWndProc(HWND h, UINT msg, WPARAM wp, LPARAM lp);

// Puts the procedure over the window (once; a second call changes nothing).
bool InstallMainMinSize(HWND h);
bool InstallSideMinSize(HWND h);
// Puts the window's SavedWindowProc back when one of the procedures is installed.
void Uninstall(HWND h);
bool Installed(HWND h);

// The minimum tracking size in pixels at the screen's twips per pixel.
SIZE MinTrackPixels(int widthTwips, int heightTwips);

}  // namespace Resize
