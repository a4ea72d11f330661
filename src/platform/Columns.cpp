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
