// Saving and loading the grid's column sizes and positions.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::SaveColSizes() {}

void TAdvStringGrid::LoadColSizes() {}
