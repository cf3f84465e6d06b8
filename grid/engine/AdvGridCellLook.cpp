// The look of single cells and rows, the controls placed in cells, and zoom.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::Zoom(Integer /*x*/) {}

void TAdvStringGrid::CellControlsUpdate(bool /*rebuildlist*/) {}
