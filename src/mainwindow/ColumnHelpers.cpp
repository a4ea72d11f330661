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
    // Through the column itself, so that it holds in every view.
    LVCOLUMNW col{};
    col.mask = LVCF_WIDTH;
    col.cx = Twips::ToPixelsX(240);
    SendMessageW(list.hwnd(), LVM_SETCOLUMNW, 2, reinterpret_cast<LPARAM>(&col));
    return true;
}

}  // namespace General
