// The full string grid's update lock: painting stays off while many changes are made, and the grid
// repaints once when the last lock is released.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::BeginUpdate() {
    if (!Visible())
        return;
    ++FUpdateCount;
    // Every nested call switches redrawing off again, as the window may have been recreated since.
    if (HandleAllocated())
        SendMessage(WindowHandle(), WM_SETREDRAW, 0, 0);
}

void TAdvStringGrid::EndUpdate() {
    // A grid hidden while locked only lowers its count, without window messages (switching redrawing on
    // would show the window); showing it again draws it whole, so it is never locked for good.
    if (!Visible()) {
        if (FUpdateCount > 0)
            --FUpdateCount;
        return;
    }
    if (FUpdateCount > 0)
        --FUpdateCount;
    if (FUpdateCount > 0 || ComponentState().Contains(csDestroying) || !HandleAllocated())
        return;
    FSelectionChangedFlag = false;
    SendMessage(WindowHandle(), WM_SETREDRAW, 1, 0);
    InvalidateRect(WindowHandle(), nullptr, FALSE);
    DrawGridBorder();
    // FIXME: a visible search footer is laid out again here once the grid has its search panel.
}
