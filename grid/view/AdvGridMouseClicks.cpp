// The grid's double click (sizing a column from its header border, the cell double-click event, editing
// on double click, fixed-cell editors), its right button (selecting under the mouse, disjunct rows for
// context menus, the right-click event, editing a link) and the fixed-cell editor's opening.
#include <algorithm>
#include <cstdlib>

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Forms.h"

namespace {

bool PointIn(const TRect& r, Integer x, Integer y) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

} // namespace

// ---- Double click

void TAdvStringGrid::DoubleClickSizeColumn(TMessage& Message, Integer C) {
    bool allow = true;
    if (OnColumnSize)
        OnColumnSize(this, C, allow);
    if (allow) {
        AutoSizeCol(RealColIndex(C), 0);
        if (OnEndColumnSize)
            OnEndColumnSize(this, C);
    }
    FForceSel = false;
    TBaseGrid::WMLButtonDblClk(Message);
}

void TAdvStringGrid::WMLButtonDblClk(TMessage& Message) {
    const Integer X = GET_X_LPARAM(Message.LParam);
    const Integer Y = GET_Y_LPARAM(Message.LParam);
    Integer ACol = -1;
    Integer ARow = -1;
    MouseToCell(X, Y, ACol, ARow);

    // 1.
    if (FMouseActions->RangeSelectAndEdit() &&
        !(ACol >= 0 && ARow >= 0 && IsClickControlCell(RealColIndex(ACol), ARow)))
        FForceSel = true;

    // 2. Right of the last column counts as the last column's header cell.
    if (ACol == -1) {
        if (FFixedRowAlways) {
            FForceSel = false;
            TBaseGrid::WMLButtonDblClk(Message);
            return;
        }
        ACol = ColCount() - 1;
        ARow = 0;
    }

    // 3. A double click on a header border sizes the column to its contents.
    if (ARow >= 0 && ARow < FixedRows() && Options().Contains(goColSizing) &&
        FMouseActions->AutoSizeColOnDblClick()) {
        const TRect r = CellRect(ACol, ARow);
        // On the first scrollable column's left edge there is no column to size: the right edge's test
        // follows.
        if (std::abs(X - r.Left) < 4) {
            FDblClk = true;
            if (ACol - 1 >= FixedCols()) {
                DoubleClickSizeColumn(Message, ACol - 1);
                return;
            }
        }
        if (std::abs(X - r.Right) < 4 && ACol >= FixedCols()) {
            FDblClk = true;
            DoubleClickSizeColumn(Message, ACol);
            return;
        }
    }

    // 4. Cell buttons and expand toggles take the double click as two clicks.
    if (ACol >= 0 && ARow >= 0) {
        const Integer realCol = RealColIndex(ACol);
        if ((HasButton(ACol, ARow) && PointIn(GetCellControlRect(ACol, ARow), X, Y)) ||
            (HasExpand(realCol, ARow) && PointIn(GetExpandButtonRect(realCol, ARow), X, Y))) {
            FForceSel = false;
            return;
        }
    }

    // 5, 6.
    TBaseGrid::WMLButtonDblClk(Message);
    Integer hitCol = -1;
    Integer hitRow = -1;
    MouseToCell(X, Y, hitCol, hitRow);
    if (OnDblClickCell)
        OnDblClickCell(this, hitRow, hitCol);

    // 7.
    if (ACol >= 0 && ARow >= 0 && IsClickControlCell(RealColIndex(ACol), ARow) && !HasButton(ACol, ARow)) {
        FForceSel = false;
        return;
    }

    // 8. Editing on double click only.
    if (FMouseActions->EditOnDblClickOnly() && ACol >= 0 && ARow >= 0) {
        const bool rangeEdit = FMouseActions->RangeSelectAndEdit();
        FMouseActions->SetRangeSelectAndEdit(true);
        if (IsEditable(RealColIndex(ACol), ARow)) {
            SetOptions(Options() + TGridOptions{goEditing});
            FOldCol = ACol;
            FOldRow = ARow;
            ShowInplaceEdit();
        }
        FMouseActions->SetRangeSelectAndEdit(rangeEdit);
    }

    // 9. Range select and edit: the double click edits the cell.
    if (ACol >= 0 && ARow >= 0 && FMouseActions->RangeSelectAndEdit() &&
        IsEditable(RealColIndex(ACol), ARow) && !FMouseActions->EditOnDblClickOnly()) {
        SetOptions(Options() + TGridOptions{goEditing});
        const TPoint base = BaseCell(RealColIndex(ACol), ARow);
        const TRect r = CellRect(DisplColIndex(base.X), base.Y);
        MouseDown(mbLeft, TShiftState{}, r.Left + 4, r.Top + 4);
    }

    // 10.
    FForceSel = false;

    // 11. Fixed cells edit on double click.
    if (ARow >= 0 && ARow < FixedRows() && FMouseActions->FixedRowsEdit() == fceDblClick)
        EditFixedCell(ACol, ARow, false);
    else if (ACol >= 0 && ACol < FixedCols() && FMouseActions->FixedColsEdit() == fceDblClick)
        EditFixedCell(ACol, ARow, false);
}

// ---- The fixed-cell editors

void TAdvStringGrid::EditFixedCell(Integer ACol, Integer ARow, bool AFilter) {
    // A grid in design mode has no editors.
    if (EditTrans == nullptr || ComboTrans == nullptr)
        return;
    // 1. FIXME: the fixed-cell editors are empty controls without StopEdit, so an open one has nothing to
    // commit or refuse; it is hidden.
    if (EditTrans->Visible())
        EditTrans->SetVisible(false);
    if (ComboTrans->Visible())
        ComboTrans->SetVisible(false);

    // 2.
    bool canEdit = true;
    if (OnCanEditCell)
        OnCanEditCell(this, ARow, ACol, canEdit);
    if (!canEdit)
        return;

    // 3 - 6.
    FFixedColEdit = ACol;
    FFixedRowEdit = ARow;
    TGridFixedCellEditor kind =
        ACol == 0 ? FMouseActions->FixedColsEditor() : FMouseActions->FixedRowsEditor();
    FFixedComboItems->Assign(FMouseActions->FixedComboValues());
    DoFixedEdit(ACol, ARow, kind, FFixedComboItems.get());

    // 7, 8.
    RECT box = CellRect(ACol, ARow);
    InflateRect(&box, -1, -1);
    TRect r = box;
    const Integer realCol = RealColIndex(ACol);
    r.Top += 2;
    if (AFilter) {
        r.Left += 19;
        kind = fceEdit;
    }
    FFixedEditKind = kind;
    FFixedEditFilter = AFilter;

    // 9, 10. FIXME: the edit and combo boxes are empty controls: they are placed, shown and focused with
    // the cell's text, but take no typing, items or style yet.
    TCustomControl* editor = nullptr;
    if (kind == fceEdit) {
        editor = EditTrans.get();
        editor->SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
    } else {
        editor = ComboTrans.get();
        editor->SetBounds(r.Left - 1, r.Top - 1, r.Right - r.Left + 1, r.Bottom - r.Top);
    }
    editor->SetText(Cells(realCol, ARow));
    editor->SetVisible(true);
    if (editor->CanFocus())
        editor->SetFocus();
}

// ---- Right button

void TAdvStringGrid::WMRButtonDown(TMessage& Message) {
    const Integer X = GET_X_LPARAM(Message.LParam);
    const Integer Y = GET_Y_LPARAM(Message.LParam);

    // 1. The framework's right press first: MouseDown (fixed-cell editors on a right click), OnMouseDown.
    TBaseGrid::WMRButtonDown(Message);
    Integer ACol = -1;
    Integer ARow = -1;
    MouseToCell(X, Y, ACol, ARow);

    // 2. Selecting the cell under the mouse.
    if (FMouseActions->SelectOnRightClick() && ACol >= 0 && ARow >= 0 && !IsFixed(ACol, ARow) &&
        !(FMouseActions->DisjunctCellSelect() && IsSelected(ACol, ARow))) {
        const Integer realCol = RealColIndex(ACol);
        if (!IsClickControlCell(realCol, ARow)) {
            if (OnRightClickCell) {
                FocusCell(ACol, ARow);
            } else {
                MouseDown(mbLeft, TShiftState{}, X, Y);
                MouseUp(mbLeft, TShiftState{}, X, Y);
            }
        }
        if (IsSelected(ACol, ARow) && !Options().Contains(goRowSelect)) {
            bool canSelect = true;
            if (OnSelectCell)
                OnSelectCell(this, ACol, ARow, canSelect);
        } else {
            const Integer leftCol = LeftCol();
            const bool keepLeft = FNavigation->KeepHorizScroll();
            if (keepLeft)
                BeginUpdate();
            try {
                const TPoint base = BaseCell(realCol, ARow);
                MoveColRow(DisplColIndex(base.X), base.Y, true, true);
            } catch (...) {
                if (keepLeft) {
                    SetLeftCol(leftCol);
                    EndUpdate();
                }
                throw;
            }
            if (keepLeft) {
                SetLeftCol(leftCol);
                EndUpdate();
            }
        }
        if (FMouseActions->DisjunctRowSelect()) {
            if ((GetKeyState(VK_CONTROL) & 0x8000) != 0 || FMouseActions->DisjunctRowSelectNoCtrl()) {
                SetRowSelect(ARow, !GetRowSelect(ARow));
            } else if (GetRowSelectCount() > 1 && PopupMenu() != nullptr) {
                if (!GetRowSelect(ARow)) {
                    ClearRowSelectAll();
                    SetRowSelect(ARow, true);
                }
            } else {
                ClearRowSelectAll();
                SetRowSelect(ARow, true);
            }
        }
    }

    // 3. Every right press reports its cell, -1 outside the cells.
    if (OnRightClickCell)
        OnRightClickCell(this, ARow, ACol);

    // 4. A link is edited, not followed.
    if (ACol >= 0 && ARow >= 0 && FURLShow && FURLEdit && HasURLScheme(Cells(RealColIndex(ACol), ARow))) {
        SetCol(ACol);
        SetRow(ARow);
        SetEditorMode(true);
    }
}

void TAdvStringGrid::WMRButtonUp(TMessage& Message) {
    // A right release during a move the grid carries out itself shows no context menu.
    if ((Screen()->Cursor() == crDrag || Screen()->Cursor() == crNoDrop) &&
        (GridState() == gsRowMoving || GridState() == gsColMoving) && FEnhRowColMove) {
        Message.Result = 0;
        return;
    }
    TBaseGrid::WMRButtonUp(Message);
}
