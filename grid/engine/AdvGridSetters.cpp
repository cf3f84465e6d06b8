// The grid's property setters that do more than the usual compare, store and repaint, and those of the
// selection look.
#include "grid/engine/AdvGrid.h"

// ---- Compare, store and repaint

namespace {

template <typename T>
void StoreAndRepaint(TAdvStringGrid* grid, T& field, T value) {
    if (field == value)
        return;
    field = value;
    grid->Invalidate();
}

} // namespace

void TAdvStringGrid::SetSelectionColor(TColor Value) {
    StoreAndRepaint(this, FSelectionColor, Value);
}

// ---- Setters with more to do

void TAdvStringGrid::SetMaxEditLength(Integer Value) {
    FMaxEditLength = Value;
    // FIXME: the length limit reaches the normal in-place editor once the grid makes its own editor.
}

void TAdvStringGrid::SetAutoSize(bool Value) {
    FAutoSize = Value;
    // FIXME: sizing the normal columns to their contents plus 10 pixels comes with automatic sizing.
}
