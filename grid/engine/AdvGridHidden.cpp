// Hiding and showing rows and columns, and the mapping between displayed and stored indexes.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::ShiftHiddenRows(Integer, Integer) {}

void TAdvStringGrid::UnHideRowsAll() {}

void TAdvStringGrid::UnHideColumnsAll() {}

void TAdvStringGrid::ShiftHiddenColumns(Integer, Integer) {}

void TAdvStringGrid::ClearHiddenRowStrings() {}
