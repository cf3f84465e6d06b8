// The event firers of an edit's end that the mouse handling shares: a cell clicked, a check box
// clicked, a column sorted by its header.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::DoCheckBoxClick(Integer ACol, Integer ARow, bool State) {
    if (OnCheckBoxClick)
        OnCheckBoxClick(this, ACol, ARow, State);
}

void TAdvStringGrid::DoClickCell(Integer ARow, Integer ACol) {
    if (OnClickCell)
        OnClickCell(this, ARow, ACol);
}

void TAdvStringGrid::DoClickSort(Integer ACol) {
    if (OnClickSort)
        OnClickSort(this, ACol);
}
