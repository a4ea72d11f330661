#include "platform/Columns.h"

namespace Columns {

void SetWidth(ListView& list, int column, int width) {
    if (list.View() != LV_VIEW_DETAILS) return;
    if (column < 1 || column > list.ColumnCount()) return;
    SendMessageW(list.hwnd(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column - 1), MAKELPARAM(width, 0));
}

void AutoSize(ListView& list, int width) {
    for (int c = 1, n = list.ColumnCount(); c <= n; ++c) SetWidth(list, c, width);
}

void FitToTexts(ListView& list, int column, const std::vector<std::wstring>& texts) {
    if (list.View() != LV_VIEW_DETAILS || column < 1 || column > list.ColumnCount()) return;
    const HWND h = list.hwnd();
    HDC dc = GetDC(h);
    if (!dc) return;
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
    int widest = 0;
    for (const std::wstring& t : texts) {
        SIZE size{};
        if (GetTextExtentPoint32W(dc, t.c_str(), static_cast<int>(t.size()), &size) && size.cx > widest)
            widest = size.cx;
    }
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    constexpr int kTrailingPadding = 12;  // what the list leaves after a cell's text
    constexpr int kIconGap = 3;           // and between a row's icon and its text
    int width = widest + kTrailingPadding;
    if (column == 1) {
        int cx = 0, cy = 0;
        if (auto small = reinterpret_cast<HIMAGELIST>(SendMessageW(h, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
            small && ImageList_GetIconSize(small, &cx, &cy))
            width += cx + kIconGap;
        if (list.ExtendedStyle() & LVS_EX_CHECKBOXES) {
            auto state = reinterpret_cast<HIMAGELIST>(SendMessageW(h, LVM_GETIMAGELIST, LVSIL_STATE, 0));
            if (state && ImageList_GetIconSize(state, &cx, &cy)) width += cx;
        }
    }
    SendMessageW(h, LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column - 1), MAKELPARAM(width, 0));
}

int HeaderWidth(const ListView& list, int column) {
    LVCOLUMNW col{};
    col.mask = LVCF_WIDTH;
    if (!SendMessageW(list.hwnd(), LVM_GETCOLUMNW, static_cast<WPARAM>(column - 1), reinterpret_cast<LPARAM>(&col)))
        return 0;
    return col.cx;
}

void SetHeaderWidth(ListView& list, int column, int widthPx) {
    LVCOLUMNW col{};
    col.mask = LVCF_WIDTH;
    col.cx = widthPx < 0 ? 0 : widthPx;
    SendMessageW(list.hwnd(), LVM_SETCOLUMNW, static_cast<WPARAM>(column - 1), reinterpret_cast<LPARAM>(&col));
}

}  // namespace Columns
