// The floating focus frame around the cell being edited.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::UpdateFocusFrame() {}
