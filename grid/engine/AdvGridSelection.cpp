// The selection state of rows, columns and single cells.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::ClearRowSelectAll() {}

bool TAdvStringGrid::GetRowSelect(Integer) {
    return false;
}

void TAdvStringGrid::SetRowSelect(Integer, bool) {}

bool TAdvStringGrid::GetColSelect(Integer) {
    return false;
}

bool TAdvStringGrid::IsSelected(Integer ACol, Integer ARow) {
    if (ACol < FixedCols() || ARow < FixedRows())
        return false;
    if (FMouseActions->DisjunctCellSelect())
        return FSelectedCells->HasValue(ARow * 65536 + ACol);
    if (FMouseActions->DisjunctRowSelect())
        return GetRowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(ARow) : ARow);
    if (FMouseActions->DisjunctColSelect())
        return GetColSelect(ACol);
    const TGridRect selection = Selection();
    return ACol >= selection.Left && ACol <= selection.Right && ARow >= selection.Top &&
           ARow <= selection.Bottom;
}

bool TAdvStringGrid::GetRowEnabled(Integer) {
    return true;
}

bool TAdvStringGrid::GetRowModified(Integer ARow) {
    return ARow >= 0 && ARow < FModifiedRows->Count() && FModifiedRows->Items(ARow) != 0;
}
