// The row, column and cell selection state of the full string grid.
#include "grid/engine/AdvGrid.h"

bool TAdvStringGrid::GetRowSelect(Integer) {
    return false;
}

void TAdvStringGrid::SetRowSelect(Integer, bool) {}
