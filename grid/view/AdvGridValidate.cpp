// Validation of edited values against the snapshot of the cell taken before editing, and the click step
// that refreshes that snapshot.
#include "grid/engine/AdvGrid.h"
#include "platform/win32/winctrl.h"

void TAdvStringGrid::StoreOldCell(Integer ACol, Integer ARow) {
    FOldCol = ACol;
    FOldRow = ARow;
    if (ACol >= 0 && ARow >= 0) {
        FOldCellText = Cells(RealColIndex(ACol), ARow);
        FOldCellTextWide = FOldCellText;
    } else {
        FOldCellText.clear();
        FOldCellTextWide.clear();
    }
    FOldModifiedValue = FModified;
}

void TAdvStringGrid::DoClick() {
    TBaseGrid::DoClick();
    FEntered = false;
    StoreOldCell(Col(), Row());
}

void TAdvStringGrid::ReopenRefusedEdit(Integer ACol, Integer ARow, const String& text, bool wide) {
    HideEditor();
    SetCells(ACol, ARow, text);
    MoveColRow(FOldCol, ARow, true, true);
    FValidating = false;
    FEditing = true;
    ShowInplaceEdit();
    if (!wide && Col() != FOldCol)
        InvalidateEditor();
}

void TAdvStringGrid::ShowInvalidEntryBalloon() {
    // FIXME: of the special editors only the spin editor takes the tip; while another one is open the
    // tip goes to the default text editor.
    TWinControl* editor = InplaceEditor();
    if (FSpecialEditor && FEditSpin != nullptr && EditCtrl == FEditSpin.get())
        editor = FEditSpin.get();
    if (editor == nullptr || !editor->HandleAllocated())
        return;
    EDITBALLOONTIP tip{};
    tip.cbStruct = sizeof(EDITBALLOONTIP);
    tip.pszTitle = reinterpret_cast<LPCWSTR>(FInvalidEntryTitle.c_str());
    tip.pszText = reinterpret_cast<LPCWSTR>(FInvalidEntryText.c_str());
    tip.ttiIcon = static_cast<INT>(FInvalidEntryIcon);
    SendMessageW(editor->WindowHandle(), EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip));
}

bool TAdvStringGrid::ValidateCell(const String& NewValue) {
    if (!FEditing || FValidating)
        return true;
    FEditing = false;
    FValidating = true;
    bool valid = true;
    // Reopening a refused edit takes a new snapshot; the flag goes back to the one before this edit.
    const bool oldModified = FOldModifiedValue;
    const Integer ACol = RealColIndex(FOldCol);
    const Integer ARow = FOldRow;
    FNewCellText = NewValue;
    {
        // Whatever happens, the snapshot follows the current cell and validation can run again.
        struct Guard {
            TAdvStringGrid* grid;
            ~Guard() {
                grid->StoreOldCell(grid->Col(), grid->Row());
                grid->FValidating = false;
            }
        } guard{this};

        if (NewValue != FOldCellText || FAlwaysValidate) {
            const bool changed = NewValue != FOldCellText;
            const bool advanceOnEnter = FNavigation->AdvanceOnEnter();
            FNavigation->SetAdvanceOnEnter(false);
            String value = NewValue;
            if (FCellChecker != nullptr && FCellChecker->AutoCorrect())
                value = FCellChecker->Correct(ACol, ARow, value);
            if (OnCellValidate)
                OnCellValidate(this, ACol, ARow, value, valid);
            // A refusal that puts the old text back leaves the modified flags as they were; a corrected
            // value stays in the cell and counts as a change.
            const bool oldTextBack = !valid && value == NewValue;
            if (!oldTextBack && value != FOldCellText) {
                FGridModified = true;
                if (FixedCols() > 0) {
                    SetRowModified(RealRowIndex(Row()), true);
                    if (FShowModified->Enabled())
                        RepaintCell(0, Row());
                }
            }
            if (valid)
                CalcFooterCol(ACol);
            if (FCellChecker != nullptr && FCellChecker->AutoMarkError())
                value = FCellChecker->MarkError(ACol, ARow, value);
            if (valid && UndoRedo() != nullptr)
                UndoRedo()->RegisterChange(ACol, ARow, FOldCellText, value);
            if (valid && changed)
                DoCellsChanged(TRect(ACol, ARow, ACol, ARow));
            FNavigation->SetAdvanceOnEnter(advanceOnEnter);
            FNewCellText = value;
            if (valid) {
                SetCells(ACol, ARow, value);
                const TPoint base = BaseCell(ACol, ARow);
                if (base.X != ACol || base.Y != ARow)
                    SetCells(base.X, base.Y, value);
            } else {
                FLastValidation = false;
                ++FRefusals;
                if (value != NewValue) {
                    ReopenRefusedEdit(ACol, ARow, value, false);
                } else {
                    if (FEditMode)
                        FValidating = false;
                    ReopenRefusedEdit(ACol, ARow, FOldCellText, false);
                }
                FModified = oldModified;
                if (!FInvalidEntryText.empty() || !FInvalidEntryTitle.empty())
                    ShowInvalidEntryBalloon();
            }
            FOldCellText = Cells(ACol, FOldRow);
        }
    }
    if (valid)
        HideFocusWindow();
    return valid;
}

bool TAdvStringGrid::ValidateCellWide(const String& NewValue) {
    if (!FEditing || FValidating)
        return true;
    FEditing = false;
    FValidating = true;
    bool valid = true;
    // Reopening a refused edit takes a new snapshot; the flag goes back to the one before this edit.
    const bool oldModified = FOldModifiedValue;
    const Integer ACol = RealColIndex(FOldCol);
    const Integer ARow = FOldRow;
    FNewCellText = NewValue;
    struct Guard {
        TAdvStringGrid* grid;
        ~Guard() {
            grid->StoreOldCell(grid->Col(), grid->Row());
            grid->FValidating = false;
        }
    } guard{this};

    if (NewValue != FOldCellTextWide || FAlwaysValidate) {
        const bool changed = NewValue != FOldCellTextWide;
        const bool advanceOnEnter = FNavigation->AdvanceOnEnter();
        FNavigation->SetAdvanceOnEnter(false);
        String value = NewValue;
        CalcFooterCol(ACol);
        if (OnCellValidateWide)
            OnCellValidateWide(this, ACol, ARow, value, valid);
        FNavigation->SetAdvanceOnEnter(advanceOnEnter);
        if (valid) {
            SetCells(ACol, ARow, value);
        } else {
            FLastValidation = false;
            ++FRefusals;
            ReopenRefusedEdit(ACol, ARow, value != NewValue ? value : FOldCellTextWide, true);
            FModified = oldModified;
        }
        const bool oldTextBack = !valid && value == NewValue;
        if (changed && !oldTextBack) {
            FGridModified = true;
            if (FShowModified->Enabled() && FixedCols() > 0) {
                SetRowModified(FOldRow, true);
                RepaintCell(0, FOldRow);
            }
        }
        if (valid && changed)
            DoCellsChanged(TRect(ACol, ARow, ACol, ARow));
        FOldCellTextWide = Cells(ACol, FOldRow);
    }
    return valid;
}
