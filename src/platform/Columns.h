#pragma once
// Column widths of list views. Columns count from 1; a width is pixels or
// LVSCW_AUTOSIZE (-1) / LVSCW_AUTOSIZE_USEHEADER (-2).
#include "platform/ListView.h"

#include <string>
#include <vector>

namespace Columns {
// Sets one column's width while the list is in report view; otherwise, or for a
// column number out of range, nothing happens.
void SetWidth(ListView& list, int column, int width);
// SetWidth for every column.
void AutoSize(ListView& list, int width);
// Fits a column, as SetWidth with LVSCW_AUTOSIZE does, to the widest of `texts`
// (the column's cells) in the list's font, with the room the list gives a cell
// beside its text (the first column's icons). The texts are measured on one
// device context: the list's own fitting takes one per cell, which is slow
// for long lists on some systems.
void FitToTexts(ListView& list, int column, const std::vector<std::wstring>& texts);
// A column header's width in pixels, read and set through the column itself so
// that it holds in every view (the list's view-dependent width message does not).
int HeaderWidth(const ListView& list, int column);
void SetHeaderWidth(ListView& list, int column, int widthPx);
}  // namespace Columns
