// The Enter-key advance to the next cell and the grid's key presses.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::AdvanceCell() {}
