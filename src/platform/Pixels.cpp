#include "platform/Pixels.h"

namespace Pixels {

HBITMAP NewDib(int width, int height, void** bits) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    HDC screen = GetDC(nullptr);
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    return dib;
}

HBITMAP NewDib(int size, void** bits) { return NewDib(size, size, bits); }

HICON IconFromArgb(const std::vector<DWORD>& argb, int size) {
    if (size <= 0 || argb.size() < static_cast<size_t>(size) * static_cast<size_t>(size)) return nullptr;
    void* bits = nullptr;
    HBITMAP color = NewDib(size, &bits);
    if (!color || !bits) {
        if (color) DeleteObject(color);
        return nullptr;
    }
    auto* px = static_cast<DWORD*>(bits);
    // The mask is set where the picture is transparent; opaque pixels get full alpha.
    const int stride = ((size + 15) / 16) * 2;
    std::vector<BYTE> mask(static_cast<size_t>(stride * size), 0);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            DWORD v = argb[static_cast<size_t>(y * size + x)];
            if ((v >> 24) == 0) {
                px[y * size + x] = 0;
                mask[static_cast<size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
            } else {
                px[y * size + x] = v | 0xFF000000;
            }
        }
    HBITMAP maskBmp = CreateBitmap(size, size, 1, 1, mask.data());
    ICONINFO ii{TRUE, 0, 0, maskBmp, color};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(maskBmp);
    DeleteObject(color);
    return icon;
}
}  // namespace Pixels
