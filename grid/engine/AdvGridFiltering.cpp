// Filtering the grid's rows by the conditions of its filter.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::RemoveAllFilters() {}
