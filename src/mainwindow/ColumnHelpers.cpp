#include "mainwindow/ColumnHelpers.h"

#include "platform/Twips.h"

namespace General {

void SetColumnWidth(ListView& list, int column, int width) {
    if (list.View() != LV_VIEW_DETAILS) return;
    if (column < 1 || column > list.ColumnCount()) return;
    SendMessageW(list.hwnd(), LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column - 1), MAKELPARAM(width, 0));
}

void AutoSizeColumns(ListView& list, int width) {
    for (int c = 1, n = list.ColumnCount(); c <= n; ++c) SetColumnWidth(list, c, width);
}

bool AutoSizeTipColumns(ListView& list, int width) {
    int n = list.ColumnCount();
    for (int c = 1; c <= n; ++c)
        if (c != 3) SetColumnWidth(list, c, width);
    if (n < 3) return false;
    SetHeaderWidth(list, 3, Twips::ToPixelsX(240));
    return true;
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

}  // namespace General
