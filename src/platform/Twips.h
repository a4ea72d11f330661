#pragma once
// Geometry in twips (1/1440 inch) is converted at the screen's DPI here only.
namespace Twips {
int PerPixelX();                 // 15 at 96 DPI
int PerPixelY();
int ToPixelsX(long long twips);  // rounded to the nearest pixel
int ToPixelsY(long long twips);
long long FromPixelsX(int px);
long long FromPixelsY(int px);
}  // namespace Twips
