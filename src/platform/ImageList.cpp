#include "platform/ImageList.h"

#include "platform/Pixels.h"
#include "platform/Window.h"

ImageList::~ImageList() {
    if (list_) ImageList_Destroy(list_);
}

bool ImageList::Create(int cx, int cy) {
    Ui::InitCommonControlsOnce();
    if (list_) ImageList_Destroy(list_);
    cx_ = cx;
    cy_ = cy;
    list_ = ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 40, 8);
    return list_ != nullptr;
}

int ImageList::Count() const { return list_ ? ImageList_GetImageCount(list_) : 0; }

int ImageList::AddIcon(HICON icon) {
    if (!list_ || !icon) return 0;
    int i = ImageList_AddIcon(list_, icon);
    return i >= 0 ? i + 1 : 0;
}

int ImageList::AddIconResource(int id) {
    HICON icon = static_cast<HICON>(LoadImageW(Ui::Instance(), MAKEINTRESOURCEW(id), IMAGE_ICON, cx_, cy_, 0));
    int n = AddIcon(icon);
    if (icon) DestroyIcon(icon);
    return n;
}

bool ImageList::SetIcon(int n, HICON icon) {
    if (!list_ || n < 1) return false;
    // Grow with blank images up to n.
    if (Count() < n && !ImageList_SetImageCount(list_, static_cast<UINT>(n))) return false;
    return !icon || ImageList_ReplaceIcon(list_, n - 1, icon) >= 0;
}

int ImageList::AddPictures(const std::vector<std::vector<DWORD>>& pictures) {
    if (!list_ || pictures.empty()) return 0;
    // One strip of every picture side by side, with its mask (set where
    // transparent): the list takes them in one call, not one icon at a time.
    const int count = static_cast<int>(pictures.size()), width = cx_ * count;
    void* bits = nullptr;
    HBITMAP color = Pixels::NewDib(width, cy_, &bits);
    if (!color || !bits) {
        if (color) DeleteObject(color);
        return 0;
    }
    auto* px = static_cast<DWORD*>(bits);
    const int stride = ((width + 15) / 16) * 2;
    std::vector<BYTE> mask(static_cast<size_t>(stride) * static_cast<size_t>(cy_), 0);
    const size_t cells = static_cast<size_t>(cx_) * static_cast<size_t>(cy_);
    for (int i = 0; i < count; ++i) {
        const std::vector<DWORD>& p = pictures[static_cast<size_t>(i)];
        for (int y = 0; y < cy_; ++y)
            for (int x = 0; x < cx_; ++x) {
                const DWORD v = p.size() >= cells ? p[static_cast<size_t>(y * cx_ + x)] : 0;
                const int sx = i * cx_ + x;
                px[y * width + sx] = (v >> 24) == 0 ? 0 : v;
                if ((v >> 24) == 0) mask[static_cast<size_t>(y * stride + sx / 8)] |= static_cast<BYTE>(0x80 >> (sx % 8));
            }
    }
    HBITMAP maskBmp = CreateBitmap(width, cy_, 1, 1, mask.data());
    const int first = ImageList_Add(list_, color, maskBmp);
    DeleteObject(maskBmp);
    DeleteObject(color);
    return first >= 0 ? first + 1 : 0;
}
