#pragma once
// The program's own pictures: the toolbar buttons, the tip list's row, danger
// and value-type icons, the status bar's refresh mark, and the category
// window's pictures. Numbers are the image numbers of the main window's image
// lists. The program keeps their pixels (IconPixels.inc, written by
// tools/iconpixels from their drawing) and draws nothing at run time.
#include <windows.h>
#include <commctrl.h>

#include <vector>

namespace Icons {
inline constexpr int kLastNumber = 34;
inline constexpr int kRefresh = 100;  // the status bar's reload panel
// A new icon (the caller destroys it); nullptr for a number with no picture.
HICON Create(int number, int size);
// The picture's pixels, size x size, rows from the top, 0xAARRGGBB with alpha 0
// where it is transparent and 255 elsewhere; empty for a number with no picture
// and for a size the program does not show it at. Every number has its picture
// at 16; 1, 10, 12, 29 and 34 also at 32.
std::vector<DWORD> Argb(int number, int size);
// The category window's pictures, 16 x 16, as Argb: 1 folder, 2 open folder,
// 3 and 4 the same with a star (favourites), 5 page, 6 page with a plus,
// 7 red cross, 8 the letter i.
inline constexpr int kLastCategoryPicture = 8;
std::vector<DWORD> CategoryArgb(int number);
}  // namespace Icons
