// Pictures added to an image list in one step draw as the same pictures made
// into icons do, each at its number, with its transparent parts left alone.
#include "platform/Icons.h"
#include "platform/ImageList.h"
#include "support/Fixture.h"

#include <vector>

namespace {
constexpr int kSize = 16;

// The pixels of a white square after `draw` has drawn on it.
template <class Draw>
std::vector<DWORD> Drawn(Draw draw) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = kSize;
    bi.bmiHeader.biHeight = -kSize;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    RECT all{0, 0, kSize, kSize};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    draw(dc);
    GdiFlush();
    std::vector<DWORD> px(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + kSize * kSize);
    for (DWORD& v : px) v &= 0xFFFFFF;
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);
    return px;
}
}  // namespace

TEST(ImageListTest, PicturesAddedInOneStepDrawAsTheirIcons) {
    ImageList list;
    ASSERT_TRUE(list.Create(kSize, kSize));
    std::vector<std::vector<DWORD>> pictures;
    for (int n = 1; n <= Icons::kLastNumber; ++n) pictures.push_back(Icons::Argb(n, kSize));
    ASSERT_TRUE(pictures[23].empty());  // number 24 has no picture
    EXPECT_EQ(1, list.AddPictures(pictures));
    EXPECT_EQ(Icons::kLastNumber, list.Count());
    const std::vector<DWORD> white(kSize * kSize, 0xFFFFFF);
    for (int n : {1, 2, 6, 13, 24, 29, 33, 34}) {
        SCOPED_TRACE(n);
        const std::vector<DWORD> fromList =
            Drawn([&](HDC dc) { ImageList_Draw(list.handle(), n - 1, dc, 0, 0, ILD_NORMAL); });
        HICON icon = Icons::Create(n, kSize);
        if (!icon) {
            EXPECT_EQ(white, fromList);  // a blank image
            continue;
        }
        const std::vector<DWORD> fromIcon =
            Drawn([&](HDC dc) { DrawIconEx(dc, 0, 0, icon, kSize, kSize, 0, nullptr, DI_NORMAL); });
        DestroyIcon(icon);
        EXPECT_EQ(fromIcon, fromList);
        EXPECT_NE(white, fromList);
        EXPECT_EQ(0xFFFFFFu, fromList.front());  // the corner is transparent
    }
}
