// The column and row headers the grid shows in its fixed cells.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::ShowColumnHeaders() {}

void TAdvStringGrid::ShowRowHeaders() {}
