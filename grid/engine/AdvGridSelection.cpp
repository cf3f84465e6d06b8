// The selection state of rows, columns and single cells.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::ClearRowSelectAll() {}

bool TAdvStringGrid::GetRowSelect(Integer) {
    return false;
}

void TAdvStringGrid::SetRowSelect(Integer, bool) {}
