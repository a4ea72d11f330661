#pragma once
// Icons from pixels: a 32-bit DIB section to draw into, and an icon made from
// ARGB pixels.
#include <windows.h>

#include <vector>

namespace Pixels {
// A 32-bit top-down DIB section of size x size pixels; `bits` receives its
// pixels. nullptr when it cannot be made. The caller deletes it.
HBITMAP NewDib(int size, void** bits);
// The same, `width` x `height`.
HBITMAP NewDib(int width, int height, void** bits);
// A new icon from `size` x `size` ARGB pixels, top row first; alpha 0 is
// transparent, any other alpha opaque. nullptr when it cannot be made. The
// caller destroys it.
HICON IconFromArgb(const std::vector<DWORD>& argb, int size);
}  // namespace Pixels
