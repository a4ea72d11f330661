#include "platform/Twips.h"

#include <windows.h>

namespace Twips {
namespace {
int AskDpi(int axis) {
    HDC dc = GetDC(nullptr);
    int d = dc ? GetDeviceCaps(dc, axis) : 96;
    if (dc) ReleaseDC(nullptr, dc);
    return d > 0 ? d : 96;
}
// The screen's DPI does not change while the program runs: asked once per axis.
int Dpi(int axis) {
    static const int x = AskDpi(LOGPIXELSX), y = AskDpi(LOGPIXELSY);
    return axis == LOGPIXELSX ? x : y;
}
long long Round(long long num, long long den) { return num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den); }
}  // namespace

int PerPixelAt(int dpi) {
    if (dpi <= 0) dpi = 96;
    int q = 1440 / dpi, twiceRest = 2 * (1440 % dpi);
    if (twiceRest > dpi || (twiceRest == dpi && q % 2 != 0)) ++q;
    return q;
}
int PerPixelX() { return PerPixelAt(Dpi(LOGPIXELSX)); }
int PerPixelY() { return PerPixelAt(Dpi(LOGPIXELSY)); }
int ToPixelsX(long long t) { return static_cast<int>(Round(t * Dpi(LOGPIXELSX), 1440)); }
int ToPixelsY(long long t) { return static_cast<int>(Round(t * Dpi(LOGPIXELSY), 1440)); }
long long FromPixelsX(int px) { return static_cast<long long>(px) * 1440 / Dpi(LOGPIXELSX); }
long long FromPixelsY(int px) { return static_cast<long long>(px) * 1440 / Dpi(LOGPIXELSY); }
}  // namespace Twips
