// The grid's answer to every move of the current cell: whether the target may become current, editing
// switched on or off for it, the open special editor validated before the cell is left, the changing
// events, and the decorations that follow the current cell; the notifications around drags and moves
// that take the focus for a while.
#include "grid/engine/AdvGrid.h"

bool TAdvStringGrid::SelectCell(Integer ACol, Integer ARow) {
    const TGridRect S0 = Selection();
    const bool indicator = FRowIndicator != nullptr && !FRowIndicator->Empty() && FixedCols() > 0;
    if (FForceSel) {
        if (indicator) {
            RepaintCell(0, Row());
            RepaintCell(0, ARow);
        }
        return true;
    }
    if (Parent() == nullptr)
        return true;
    bool result = false;
    bool allow = true;

    // The target row is kept clear of the footers.
    const bool searchFooter = FSearchFooter->Visible() && FSearchPanel != nullptr;
    if (FFloatingFooter->Visible() && ARow >= 0) {
        const Integer B = searchFooter ? FSearchPanel->Height() + 2 : 0;
        const Integer limit = ClientHeight() - FFloatingFooter->Height() - B + 2;
        if (FFloatingFooter->FooterStyle() != fsFixedLastRow) {
            FFloatingFooter->Invalidate();
            if (TCustomGrid::CellRect(0, ARow).Bottom > limit && ARow < RowCount())
                SetTopRow(TopRow() + 1);
        } else if (!IsCustomDrawn()) {
            if (ARow >= TopRow() + VisibleRowCount())
                SetTopRow(ARow + FixedRows() - VisibleRowCount());
            if (TCustomGrid::CellRect(0, ARow).Bottom > limit && ARow < RowCount() - 1)
                SetTopRow(TopRow() + 1);
            if (ARow == RowCount() - 1)
                return false;
        }
    }
    if (searchFooter && ARow >= 0) {
        const Integer limit = ClientHeight() - FSearchPanel->Height() + 2;
        while (TCustomGrid::CellRect(0, ARow).Bottom > limit && ARow <= RowCount() - 1 &&
               TopRow() < RowCount() - 1) {
            const Integer top = TopRow();
            SetTopRow(top + 1);
            if (TopRow() == top)
                break;
        }
    }
    if (ACol < 0 || ARow < 0)
        return false;

    const Integer C = RealColIndex(ACol);
    if (IsMergedNonBaseCell(C, ARow) && !Options().Contains(goRangeSelect)) {
        const TPoint base = BaseCell(C, ARow);
        MoveColRow(DisplColIndex(base.X), base.Y, true, true);
        RepaintCell(base.X, base.Y);
        if (FMouseActions->DirectEdit() ||
            (FControlLook->DropDownAlwaysVisible() && HasComboBox(base.X, base.Y, edNone)))
            ShowEditor();
        return false;
    }
    if (ACol == 0 && HasNodes() && !Options().Contains(goRowSelect))
        return false;
    if (FUseEnabledRows && FNavigation->SkipDisabledRows() && !GetRowEnabled(ARow))
        return false;

    const Integer oldCol = Col();
    const Integer oldRow = Row();
    const Integer selLeft = S0.Left;
    const Integer selTop = S0.Top;
    String T = GridCells(C, ARow);
    TInplaceEdit* editor = InplaceEditor();
    const bool editorFocused =
        editor != nullptr && editor->HandleAllocated() && GetFocus() == editor->WindowHandle();

    // Editing follows the target cell when the grid manages goEditing.
    if (IsClickControlCell(C, ARow)) {
        bool canEdit = true;
        CanEditCell(C, ARow, canEdit);
        if (!FEditDisable)
            canEdit = !canEdit && (Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit());
        if (!Options().Contains(goEditing) && !Options().Contains(goRowSelect) && canEdit) {
            FEditOptionChanged = true;
            SetOptions(Options() + TGridOptions{goEditing});
        }
    } else {
        bool canEdit = Options().Contains(goEditing) || FEditDisable;
        CanEditCell(C, ARow, canEdit);
        if (canEdit && FMouseActions->DirectEdit()) {
            FEditControlType = FDefaultEditor;
            if (IsNoEditorCell(C, ARow))
                canEdit = false;
        }
        if (FMouseActions->EditOnDblClickOnly())
            canEdit = false;
        if (canEdit) {
            FEditDisable = false;
            if (!Options().Contains(goEditing)) {
                FEditOptionChanged = true;
                if (!FEditing)
                    StoreOldCell(ACol, ARow);
                TGridOptions options = Options();
                if (options.Contains(goRowSelect) && FMouseActions->RangeSelectAndEdit())
                    options -= TGridOptions{goRowSelect};
                SetOptions(options + TGridOptions{goEditing});
            }
            if (FEditing && !CommitBeforeMove())
                return false;
            T = GridCells(C, ARow);
        } else {
            if (FEditing && !CommitBeforeMove())
                return false;
            T = GridCells(C, ARow);
            if (Options().Contains(goEditing)) {
                FEditMode = false;
                FEditDisable = true;
                FEditOptionChanged = true;
                SetOptions(Options() - TGridOptions{goEditing});
                SetEditorMode(false);
            }
        }
    }

    // Leaving the old cell: the default editor validates by itself; an open special editor's text is
    // validated here.
    if (!FEditing || editorFocused) {
        DoCellChanging(ACol, ARow, allow);
        if (IsFixed(ACol, ARow) || !allow)
            result =
                (allow && Options().Contains(goRowSelect)) || (FFixedRowAlways && RowCount() == FixedRows());
        else
            result = TBaseGrid::SelectCell(ACol, ARow);
    } else {
        const String oldCache = FCellCache;
        result = IsWideCell(C, Row()) ? ValidateCellWide(GetCurrentCell()) : ValidateCell(GetCurrentCell());
        DoCellChanging(ACol, ARow, allow);
        if (!allow)
            result = false;
        if (result)
            result = TBaseGrid::SelectCell(ACol, ARow);
        if (!result)
            T = oldCache;
    }

    if (indicator) {
        RepaintCell(0, oldRow);
        RepaintCell(0, ARow);
    }
    if (FActiveCellShow) {
        RepaintHeaderCells(oldCol, oldRow, ACol, ARow);
        if (selLeft != oldCol && selTop != oldRow)
            RepaintHeaderCells(selLeft, selTop, ACol, ARow);
    }
    if (FSelectionRectangle) {
        const TGridRect selection = Selection();
        RepaintRect(TRect(selection.Left, selection.Top, selection.Right, selection.Bottom));
    }
    if (!ComponentState().Contains(csLoading) && ARow != FOldRowSel && OnRowChanged) {
        const Integer reported = FOldRowSel;
        FOldRowSel = ARow;
        OnRowChanged(this, reported, ARow);
    }
    if (OnGetCellBorder || OnGetCellBorderProp) {
        // The rows of the old selection lose their custom borders across the visible normal columns.
        const Integer lastCol = std::min(ColCount() - 1, LeftCol() + VisibleColCount());
        InvalidateGridRect(TGridRect{FixedCols(), S0.Top, lastCol, S0.Bottom});
    }
    FCellCache = T;
    return result;
}

bool TAdvStringGrid::CommitBeforeMove() {
    // A refusal reopens the editor on the cell being left, which then stays current.
    const Integer refusals = FRefusals;
    HideInplaceEdit();
    return FRefusals == refusals;
}

void TAdvStringGrid::DoCellChanging(Integer ACol, Integer ARow, bool& Allow) {
    if (ARow != Row() && OnRowChanging)
        OnRowChanging(this, Row(), ARow, Allow);
    if (ACol != Col() && OnColChanging)
        OnColChanging(this, Col(), ACol, Allow);
    if ((ARow != Row() || ACol != Col()) && !FDisableChange && OnCellChanging)
        OnCellChanging(this, Row(), Col(), ARow, ACol, Allow);
}

void TAdvStringGrid::DoStartBlockFocus() {
    if (OnStartBlockFocus)
        OnStartBlockFocus(this);
}

void TAdvStringGrid::DoEndBlockFocus() {
    if (OnEndBlockFocus)
        OnEndBlockFocus(this);
}
