// The grid's special in-place editors.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::EndCellEditor(Integer /*ACol*/, Integer /*ARow*/) {}
