#pragma once
// Column widths of list views. Columns count from 1; a width is pixels or
// LVSCW_AUTOSIZE (-1) / LVSCW_AUTOSIZE_USEHEADER (-2).
#include "platform/ListView.h"

namespace Columns {
// Sets one column's width while the list is in report view; otherwise, or for a
// column number out of range, nothing happens.
void SetWidth(ListView& list, int column, int width);
// SetWidth for every column.
void AutoSize(ListView& list, int width);
// A column header's width in pixels, read and set through the column itself so
// that it holds in every view (the list's view-dependent width message does not).
int HeaderWidth(const ListView& list, int column);
void SetHeaderWidth(ListView& list, int column, int widthPx);
}  // namespace Columns
