#pragma once
// Image list whose images are numbered from 1, as the program refers to them.
#include <windows.h>
#include <commctrl.h>

#include <vector>

class ImageList {
public:
    ImageList() = default;
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;
    ~ImageList();
    bool Create(int cx, int cy);
    HIMAGELIST handle() const { return list_; }
    int Count() const;
    // Appends an icon; returns its 1-based number (0 on failure).
    int AddIcon(HICON icon);
    // Appends the icon resource `id` of the program at the list's size.
    int AddIconResource(int id);
    // Puts `icon` at 1-based number `n`, growing the list with blanks as needed.
    bool SetIcon(int n, HICON icon);
    // Appends pictures given as pixels (0xAARRGGBB rows from the top, each the
    // list's size; alpha 0 is transparent, an empty picture a blank image) in
    // one step; returns the number of the first (0 on failure).
    int AddPictures(const std::vector<std::vector<DWORD>>& pictures);

private:
    HIMAGELIST list_ = nullptr;
    int cx_ = 16, cy_ = 16;
};
