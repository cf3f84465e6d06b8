// Check boxes, radio buttons and buttons in cells.
#include "grid/engine/AdvGrid.h"

bool TAdvStringGrid::IsClickControlCell(Integer /*ACol*/, Integer /*ARow*/) {
    return false;
}
