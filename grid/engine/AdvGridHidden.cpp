// Hiding and showing rows and columns, and the mapping between displayed and stored indexes.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::UnHideRowsAll() {}

void TAdvStringGrid::UnHideColumnsAll() {}
