#pragma once
// The drawing of the program's pictures: the toolbar and list icons and the
// status bar's refresh mark with GDI on a 16-unit grid (Icons' numbers), and
// the category window's pictures pixel by pixel. The program does not draw
// them: make_icon_pixels writes what this draws into src/platform/IconPixels.inc.
#include <windows.h>

#include <vector>

namespace IconArt {
// A picture the program shows: one of Icons' numbers at a size, or one of the
// category window's pictures (16 x 16).
struct Kept {
    bool category;
    int number;
    int size;
};
// Every picture the program shows, in the table's order.
std::vector<Kept> Pictures();
// The pixels of Icons' picture `number` drawn at `size`: size x size, rows
// from the top, 0xAARRGGBB with alpha 0 where it is transparent and 255
// elsewhere; empty for a number with no picture.
std::vector<DWORD> Draw(int number, int size);
// The category window's picture `number` (1 to 8), 16 x 16, as above.
std::vector<DWORD> DrawCategory(int number);
// Either, as `kept` names it.
std::vector<DWORD> Draw(const Kept& kept);
}  // namespace IconArt
