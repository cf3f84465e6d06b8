// The grid's scroll bars: proportional thumbs.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::UpdateVertScrollProportional() {}

void TAdvStringGrid::UpdateHorzScrollProportional() {}
