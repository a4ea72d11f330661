#pragma once
// Geometry in twips (1/1440 inch) is converted at the screen's DPI here only.
namespace Twips {
// Twips per pixel at the screen's DPI, 1440 / DPI rounded to the nearest whole
// number, a half to the even one (15 at 96 DPI, 8 at 192 DPI). Minimum sizes and
// the splitter's end position use these.
int PerPixelX();
int PerPixelY();
// The same rounding for a given DPI (the two above use it).
int PerPixelAt(int dpi);
int ToPixelsX(long long twips);  // rounded to the nearest pixel
int ToPixelsY(long long twips);
long long FromPixelsX(int px);
long long FromPixelsY(int px);
}  // namespace Twips
