// The least form of cell validation the editors rely on: the snapshot of the cell before an edit and
// OnCellValidate's verdict on the edited text.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::StoreOldCell(Integer ACol, Integer ARow) {
    FOldCol = ACol;
    FOldRow = ARow;
    FOldCellText = GridCells(RealColIndex(ACol), ARow);
}

bool TAdvStringGrid::ValidateCell(const String& NewValue) {
    if (!FEditing || FValidating)
        return true;
    FEditing = false;
    FValidating = true;
    struct Done {
        TAdvStringGrid* grid;
        ~Done() { grid->FValidating = false; }
    } done{this};
    const Integer col = RealColIndex(FOldCol);
    const Integer row = FOldRow;
    FNewCellText = NewValue;
    bool valid = true;
    if (NewValue != FOldCellText) {
        String value = NewValue;
        if (OnCellValidate)
            OnCellValidate(this, col, row, value, valid);
        FNewCellText = value;
        if (valid) {
            SetCells(col, row, value);
        } else {
            // The edit stays open on the cell with the refused text, so it is validated again on leaving.
            FLastValidation = false;
            FEditing = true;
        }
    }
    if (valid)
        StoreOldCell(Col(), Row());
    return valid;
}
