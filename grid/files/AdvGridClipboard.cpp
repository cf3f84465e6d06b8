// The grid's clipboard commands and the repaint of a cell range they share with the key handling.
#include <algorithm>

#include "grid/engine/AdvGrid.h"

// FIXME: the clipboard formats of the grid are not built yet, so the commands do nothing.
void TAdvStringGrid::CopySelectionToClipboard() {}

void TAdvStringGrid::CutSelectionToClipboard() {}

void TAdvStringGrid::PasteSelectionFromClipboard() {}

void TAdvStringGrid::InvalidateCellRange(const TGridRect& Range) {
    if (!HandleAllocated())
        return;
    const TRect first = CellRect(Range.Left, Range.Top);
    const TRect last = CellRect(Range.Right, Range.Bottom);
    RECT area{std::min(first.Left, last.Left), std::min(first.Top, last.Top),
              std::max(first.Right, last.Right), std::max(first.Bottom, last.Bottom)};
    InvalidateRect(WindowHandle(), &area, FALSE);
}
