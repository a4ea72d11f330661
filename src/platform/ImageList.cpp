#include "platform/ImageList.h"

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
