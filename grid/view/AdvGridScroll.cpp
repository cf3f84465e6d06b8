// The grid's scroll bars: proportional thumbs, flat scroll bars and scroll controls.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::UpdateVertScrollProportional() {}

void TAdvStringGrid::UpdateHorzScrollProportional() {}

void TAdvStringGrid::UpdateFlatScrollBars() {}
