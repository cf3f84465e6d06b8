// What painting, printing and editing ask the full string grid about each cell.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::GetCheckTrue(Integer ACol, Integer ARow, String& Value) {
    Value = FCheckTrue;
    if (OnGetCheckTrue)
        OnGetCheckTrue(this, ACol, ARow, Value);
}

void TAdvStringGrid::GetCheckFalse(Integer ACol, Integer ARow, String& Value) {
    Value = FCheckFalse;
    if (OnGetCheckFalse)
        OnGetCheckFalse(this, ACol, ARow, Value);
}

void TAdvStringGrid::CanEditCell(Integer, Integer, bool&) {}
