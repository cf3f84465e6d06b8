// The row insertion and deletion the key handling asks for.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::InsertRowAuto(Integer ARow) {
    // FIXME: a row under an outline node should become a child row of the node.
    InsertRows(ARow, 1);
}

void TAdvStringGrid::DeleteRowAuto(Integer ARow) {
    // FIXME: a child row should keep its node's span, and OnAutoDeleteRow should fire.
    RemoveRows(ARow, 1);
}
