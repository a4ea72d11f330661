#pragma once
// The program's own pictures, drawn with GDI at any size: the toolbar buttons,
// the tip list's row, danger and value-type icons, and the status bar's refresh
// mark. Numbers are the image numbers of the main window's image lists.
#include <windows.h>
#include <commctrl.h>

#include <vector>

namespace Icons {
inline constexpr int kLastNumber = 34;
inline constexpr int kRefresh = 100;  // the status bar's reload panel
// A new icon (the caller destroys it); nullptr for a number with no picture.
HICON Create(int number, int size);
// The picture's pixels, size x size, rows from the top, 0xAARRGGBB with alpha 0
// where it is transparent and 255 elsewhere; empty for a number with no picture.
std::vector<DWORD> Argb(int number, int size);
}  // namespace Icons
