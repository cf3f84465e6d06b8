// The MouseDown and MouseUp steps the framework's mouse chain calls around the framework grid's own press
// and release: range-select-and-edit, the fixed cells' drop-down button and editors, the filter-type
// button, sizing released outside the window, the disjunct cell selection and the selection-change
// notifications.
#include "grid/engine/AdvGrid.h"

namespace {

bool PointIn(const TRect& r, Integer x, Integer y) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

} // namespace

// ---- The framework's press and release steps

bool TAdvStringGrid::FixedDropdownButtonShown() const {
    // FIXME: the control look does not hold FixedDropdownButton yet, so no fixed cell shows the button.
    return false;
}

bool TAdvStringGrid::PressOnFixedDropDown(Integer ACol, Integer ARow, Integer X, Integer Y) {
    const TRect r = CellRect(ACol, ARow);
    const Integer margin = Options().Contains(goColSizing) ? 2 : 0;
    if (!(r.Right - 16 < X && X < r.Right - margin && IsHoverFixedCell(ACol, ARow) &&
          FixedDropdownButtonShown()))
        return false;
    FDropDownDown = true;
    if (FFixedDropDownMenu == nullptr && !OnFixedDropDownClick)
        return true;
    FNoMouseLeave = true;
    TPopupMenu* menu = FFixedDropDownMenu;
    if (menu != nullptr)
        menu->SetTag(ACol);
    bool keep = false;
    if (OnFixedDropDownClick)
        OnFixedDropDownClick(this, ACol, ARow, menu, keep);
    if (menu != nullptr) {
        FMouseDownMove = false;
        FHoverFixedX = ACol;
        FHoverFixedY = ARow;
        RepaintCell(RealColIndex(ACol), ARow);
        const TPoint at = ClientToScreen(TPoint(r.Right - 16, r.Bottom));
        menu->Popup(at.X, at.Y);
        FHoverFixedX = -1;
        FHoverFixedY = -1;
        RepaintCell(RealColIndex(ACol), ARow);
    }
    FNoMouseLeave = keep;
    return true;
}

void TAdvStringGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    Integer ACol = -1;
    Integer ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    FFltrPopPressCol = -1;

    // 1. A second press on the current cell edits it in range-select-and-edit mode.
    if (FMouseActions->RangeSelectAndEdit() && Button == mbLeft && !FMouseActions->EditOnDblClickOnly()) {
        if (ACol == Col() && ARow == Row() && !Options().Contains(goEditing) && ACol >= 0 && ARow >= 0 &&
            IsEditable(RealColIndex(ACol), ARow)) {
            SetOptions(Options() + TGridOptions{goEditing});
            TBaseGrid::MouseDown(Button, Shift, X, Y);
            ShowInplaceEdit();
            return;
        }
        if ((ACol != Col() || ARow != Row()) && Options().Contains(goEditing) && Shift.Contains(ssShift)) {
            SetOptions(Options() - TGridOptions{goEditing});
            TBaseGrid::MouseDown(Button, Shift, X, Y);
            return;
        }
    }

    // 2. A fixed cell's drop-down button.
    if (ACol >= 0 && ARow >= 0 && PressOnFixedDropDown(ACol, ARow, X, Y))
        return;

    // 3. The pressed look of the last header row.
    const bool pressedLook = ACol >= 0 && ARow >= 0 && IsHoverFixedCell(ACol, ARow) &&
                             FControlLook->FixedGradientDownTo() != clNone && ARow == FixedRows() - 1;
    if (pressedLook)
        RepaintCell(RealColIndex(ACol), ARow);

    // 4.
    FEditStart = true;
    try {
        TBaseGrid::MouseDown(Button, Shift, X, Y);
    } catch (...) {
        FEditStart = false;
        throw;
    }
    FEditStart = false;

    // 5.
    if (Shift.Contains(ssShift) && FSelectionRectangle)
        RepaintRect(TRect(Selection().Left, Selection().Top, Selection().Right, Selection().Bottom));

    // 6. Fixed cells start their editors.
    if (ACol >= 0 && ARow >= 0 && (ACol < FixedCols() || ARow < FFixedRowsMin)) {
        const TRect r = CellRect(ACol, ARow);
        RECT box = r;
        InflateRect(&box, -4, -4);
        TRect inner = box;
        if (HasFilterEdit(ACol, ARow)) {
            if (r.Left < X && X < r.Left + 16 && Y < r.Top + 16)
                FFltrPopPressCol = ACol;
            TRect edit = inner;
            edit.Left += 18;
            if (PointIn(edit, X, Y))
                EditFixedCell(ACol, ARow, true);
        } else if (FMouseActions->FixedRowsEdit() == fceLeftClick && Button == mbLeft &&
                   ARow < FFixedRowsMin) {
            if (!Options().Contains(goColSizing) || PointIn(inner, X, Y))
                EditFixedCell(ACol, ARow, false);
        } else if (FMouseActions->FixedColsEdit() == fceLeftClick && Button == mbLeft && ACol < FixedCols()) {
            if (!Options().Contains(goRowSizing) || PointIn(inner, X, Y))
                EditFixedCell(ACol, ARow, false);
        } else if (FMouseActions->FixedRowsEdit() == fceRightClick && Button == mbRight &&
                   ARow < FixedRows()) {
            EditFixedCell(ACol, ARow, false);
        } else if (FMouseActions->FixedColsEdit() == fceRightClick && Button == mbRight &&
                   ACol < FixedCols()) {
            EditFixedCell(ACol, ARow, false);
        }
    }

    // 7. A synchronised grid follows the current cell.
    if (auto* other = dynamic_cast<TCustomGrid*>(FSyncGrid->Grid())) {
        if (FSyncGrid->SelectionColumn() && FUpdateCount == 0 && Col() < other->ColCount())
            other->SetCol(Col());
        if (FSyncGrid->SelectionRow() && Row() < other->RowCount())
            other->SetRow(Row());
    }
}

void TAdvStringGrid::MouseUpDisjunctCells(TShiftState Shift, Integer ACol, Integer ARow, bool& refused) {
    refused = false;
    const TPoint base = BaseCell(RealColIndex(ACol), ARow);
    const Integer baseCol = DisplColIndex(base.X);
    // A cell past column or row 65535 has no entry of its own: the list packs both into 16 bits.
    const auto entry = [](Integer c, Integer r) { return (r << 16) | c; };
    const auto fits = [](Integer c, Integer r) { return c >= 0 && r >= 0 && c <= 0xFFFF && r <= 0xFFFF; };
    if (!IsFixed(baseCol, base.Y)) {
        bool allow = true;
        if (OnSelectCell)
            OnSelectCell(this, baseCol, base.Y, allow);
        if (!allow) {
            refused = true;
            return;
        }
        if (fits(baseCol, base.Y)) {
            const Integer e = entry(baseCol, base.Y);
            const Integer at = FSelectedCells->IndexOf(e);
            if (Shift.Contains(ssShift)) {
                if (at < 0)
                    FSelectedCells->Add(e);
            } else if (Shift.Contains(ssCtrl)) {
                if (at >= 0)
                    FSelectedCells->Delete(at);
                else
                    FSelectedCells->Add(e);
            } else {
                for (Integer i = 0; i < FSelectedCells->Count(); ++i) {
                    const Integer item = FSelectedCells->Items(i);
                    RepaintCell(RealColIndex(item & 0xFFFF), item >> 16);
                }
                FSelectedCells->Clear();
                FSelectedCells->Add(e);
            }
        }
    } else if (!Shift.Contains(ssCtrl) && !IsFixed(ACol, ARow)) {
        FSelectedCells->Clear();
        Invalidate();
    }
    const TGridRect sel = Selection();
    if (sel.Left == sel.Right && sel.Top == sel.Bottom) {
        RepaintCell(RealColIndex(ACol), ARow);
        return;
    }
    for (Integer r = sel.Top; r <= sel.Bottom; ++r)
        for (Integer c = sel.Left; c <= sel.Right; ++c)
            if (!(c == baseCol && r == base.Y) && !IsSelected(c, r) && fits(c, r))
                FSelectedCells->Add(entry(c, r));
    for (Integer i = 0; i < FSelectedCells->Count(); ++i) {
        const Integer item = FSelectedCells->Items(i);
        RepaintCell(RealColIndex(item & 0xFFFF), item >> 16);
    }
    RepaintCell(RealColIndex(ACol), ARow);
}

void TAdvStringGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    // 1. FIXME: the design-time quick configuration box needs a form designer, which this system lacks.
    if (IsDesigning()) {
        TBaseGrid::MouseUp(Button, Shift, X, Y);
        return;
    }
    // 2.
    const bool changed = !(Selection() == FOrigSelection) &&
                         (Button == mbLeft || (Button == mbRight && FMouseActions->SelectOnRightClick()));
    const TGridRect s = Selection();
    Integer ACol = -1;
    Integer ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const Integer realCol = ACol >= 0 ? RealColIndex(ACol) : -1;
    const TRect r = ACol >= 0 && ARow >= 0 ? CellRect(ACol, ARow) : TRect();

    // 3. The filter-type button of the filter row.
    if (ACol >= 0 && ARow >= 0 && HasFilterEdit(ACol, ARow) && GridState() != gsColSizing && r.Left < X &&
        X < r.Left + 16 && Y < r.Top + 16 && FFltrPopPressCol == ACol) {
        // FIXME: the filter-type menu holds no items yet, so its captions take no type names.
        FFltrPopup->SetTag(ACol);
        const TPoint at = ClientToScreen(TPoint(r.Left, r.Bottom));
        FFltrPopup->Popup(at.X, at.Y);
        return;
    }

    // 4. FIXME: the filter drop-down lists are empty controls, so a press on a header's filter button
    // opens no list.

    // 5.
    FDropDownDown = false;

    // 6. A sizing released to the right of or below the window is dropped.
    if ((GridState() == gsColSizing && X > Width()) || (GridState() == gsRowSizing && Y > Height())) {
        SetGridState(gsNormal);
        return;
    }

    // 7. Disjunct cells. A refused cell leaves the disjunct list as it was; the rest of the release still
    // runs, so the framework grid ends the gesture the press began.
    if (FMouseActions->DisjunctCellSelect() && Button == mbLeft && ACol >= 0 && ARow >= 0) {
        bool refused = false;
        MouseUpDisjunctCells(Shift, ACol, ARow, refused);
    }

    // 8.
    if (changed)
        DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);

    // 9. A right release during a column move is not the move's end.
    if (GridState() == gsColMoving && Button == mbRight)
        return;
    TBaseGrid::MouseUp(Button, Shift, X, Y);
    if (ACol >= 0 && ARow >= 0 && IsHoverFixedCell(ACol, ARow) &&
        FControlLook->FixedGradientDownTo() != clNone && ARow == FixedRows() - 1)
        RepaintCell(realCol, ARow);
    if (!(Selection() == s)) {
        const TGridRect now = Selection();
        DoSelectionChanged(now.Left, now.Top, now.Right, now.Bottom);
    }
}
