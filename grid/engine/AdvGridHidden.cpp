// Hiding and showing rows and columns, and the mapping between displayed and stored indexes.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::ShiftHiddenRows(Integer, Integer) {}

void TAdvStringGrid::UnHideRowsAll() {}

void TAdvStringGrid::UnHideColumnsAll() {}

void TAdvStringGrid::ShiftHiddenColumns(Integer, Integer) {}

void TAdvStringGrid::ClearHiddenRowStrings() {}

// FIXME: nothing can be hidden yet, so there are no flags, widths or hidden cells to move.
void TAdvStringGrid::MoveHiddenColumn(Integer, Integer) {}
