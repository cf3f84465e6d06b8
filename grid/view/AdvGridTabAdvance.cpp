// The Tab move of the current cell, shared by the key handling and every in-place editor, and the small
// navigation routines it and the Enter advance use.
#include <algorithm>

#include "grid/engine/AdvGrid.h"

// ---- Navigation routines

Integer TAdvStringGrid::FirstSelectableCol(Integer ARow) {
    for (Integer c = 0; c < ColCount(); ++c)
        if (IsSelectableCell(c, ARow))
            return c;
    return -1;
}

Integer TAdvStringGrid::LastSelectableCol(Integer ARow) {
    for (Integer c = ColCount() - 1; c >= 0; --c)
        if (IsSelectableCell(c, ARow))
            return c;
    return -1;
}

bool TAdvStringGrid::IsLastDataRow() {
    return Row() == RowCount() - FFixedFooters - 1 || (FFloatingFooter->Visible() && Row() == RowCount() - 2);
}

void TAdvStringGrid::AppendAutoRow() {
    bool allow = true;
    if (OnCanAddRow)
        OnCanAddRow(this, allow);
    if (!allow)
        return;
    // AddRow keeps a visible floating footer last; the new data row starts empty whatever the rows
    // beyond the count still held.
    AddRow();
    const Integer added = FFloatingFooter->Visible() ? RowCount() - 2 : RowCount() - 1;
    ClearRect(0, added, ColCount() + NumHiddenColumns() - 1, added);
    if (FFloatingFooter->Visible() || FFixedFooters > 0)
        SetRow(Row() + 1);
    if (FFloatingFooter->Visible())
        CalcFooter(-1);
    if (OnAutoAddRow)
        OnAutoAddRow(this, RowCount() - FFixedFooters - 1);
}

// ---- Tab advance

bool TAdvStringGrid::TabAdvance(bool Backward) {
    bool result = true;
    if (FNavigation->AlwaysEdit())
        HideInplaceEdit();
    if (OnKeyDown) {
        Word key = VK_TAB;
        OnKeyDown(this, key, Backward ? TShiftState{ssShift} : TShiftState{});
        if (key != VK_TAB)
            return result;
    }
    if (Col() == FLastTabCol && Row() == FLastTabRow)
        return result;
    const Integer startCol = Col();
    const Integer startRow = Row();
    FLastTabCol = startCol;
    FLastTabRow = startRow;

    // A cell that may not be entered is passed by stepping again. One full pass over the grid without a
    // cell to land on ends the walk where it began.
    const Integer limit = (ColCount() + 1) * (RowCount() + 1);
    Integer steps = 0;
    bool again = true;
    bool landed = false;
    while (again) {
        const Integer fromCol = Col();
        const Integer fromRow = Row();
        again = false;
        result = TabAdvanceStep(Backward, again) && result;
        ++steps;
        if (!again && Options().Contains(goEditing) && !IsEditable(Col(), Row()))
            again = true;
        if (!again) {
            landed = true;
            break;
        }
        const bool moved = Col() != fromCol || Row() != fromRow;
        const bool backAtStart = Col() == startCol && Row() == startRow;
        if (!moved || backAtStart || steps >= limit)
            break;
    }
    if (!landed && (Col() != startCol || Row() != startRow)) {
        FForceSel = true;
        FocusCell(startCol, startRow);
        FForceSel = false;
    }

    if (landed && FNavigation->AdvanceAutoEdit() && !IsClickControlCell(RealColIndex(Col()), Row()))
        ClickGridCell(this, Col(), Row());
    if (IsMergedCell(RealColIndex(startCol), startRow))
        RepaintCell(startCol, startRow);
    FLastTabCol = -1;
    FLastTabRow = -1;
    if (FNavigation->AlwaysEdit() && CanFocus())
        SetFocus();
    return result;
}

bool TAdvStringGrid::TabAdvanceStep(bool Backward, bool& recursed) {
    const Integer firstCol = GetNodeFixedCols();
    const Integer rightFixed = GetVisibleFixedRightCols();
    const Integer lastCol = ColCount() - rightFixed - 1;
    const Integer lastDataRow = RowCount() - FFixedFooters - 1;
    const bool rowWise = FNavigation->TabAdvanceDirection() == adLeftRight;
    bool endOfGrid = false;

    auto selectable = [this](Integer c, Integer r) { return IsSelectableCell(c, r); };
    auto baseCell = [this](Integer c, Integer r) { return IsBaseCell(RealColIndex(c), r); };
    auto selectSingle = [this](Integer c, Integer r) {
        if (FIsDBVersion) {
            SetRow(r);
            SetCol(c);
        } else {
            SetSelection(TGridRect{c, r, c, r});
        }
    };

    if (Backward && !rowWise) {
        if (Row() > FixedRows()) {
            SetRow(Row() - 1);
        } else {
            SetRow(lastDataRow);
            SetCol(Col() > firstCol ? Col() - 1 : lastCol);
        }
    } else if (Backward) {
        if (Col() > firstCol) {
            Integer a = 1;
            while (Col() - a >= firstCol && !(selectable(Col() - a, Row()) && baseCell(Col() - a, Row())))
                ++a;
            if (Col() - a < firstCol) {
                const bool firstRow = Row() <= FixedRows();
                const Integer row = firstRow ? lastDataRow : Row() - 1;
                const Integer c = LastSelectableCol(row);
                if (c >= 0)
                    selectSingle(c, row);
                if (firstRow)
                    ScrollInView(Col(), Row(), spMiddle);
                SnapToBaseCell();
            } else {
                SetCol(Col() - a);
            }
        } else {
            Integer a = 1;
            while (lastCol + 1 - a >= FixedCols() && !selectable(lastCol + 1 - a, Row()))
                ++a;
            const Integer c = std::max(lastCol + 1 - a, FixedCols());
            const Integer row = Row() > FixedRows() ? Row() - 1 : lastDataRow;
            SetCol(c);
            SetRow(row);
        }
    } else if (!rowWise) {
        const Integer spanY = std::max(0, CellSpan(RealColIndex(Col()), Row()).Y);
        if (Row() + spanY + 1 <= lastDataRow) {
            SetRow(Row() + spanY + 1);
        } else {
            GotoFirstDataRow();
            if (Col() < lastCol) {
                SetCol(Col() + 1);
            } else {
                SetCol(firstCol);
                endOfGrid = true;
            }
        }
    } else {
        const Integer spanX = std::max(0, CellSpan(RealColIndex(Col()), Row()).X);
        const Integer colEnd = ColCount() - rightFixed;
        if (Col() + spanX + 1 < colEnd) {
            Integer b = 1;
            while (Col() + spanX + b < colEnd && !selectable(Col() + spanX + b, Row()))
                ++b;
            if (Col() + spanX + b >= colEnd) {
                FForceSel = true;
                if (Row() < lastDataRow) {
                    const Integer c = FirstSelectableCol(Row() + 1);
                    bool allow = true;
                    if (OnRowChanging)
                        OnRowChanging(this, Row(), Row() + 1, allow);
                    if (allow && OnCellChanging)
                        OnCellChanging(this, Row(), Col(), Row() + 1, c, allow);
                    if (allow && OnColChanging)
                        OnColChanging(this, Col(), c, allow);
                    if (allow) {
                        SetCol(c < 0 ? FixedCols() : c);
                        SetRow(Row() + 1);
                    }
                } else {
                    const Integer c = FirstSelectableCol(FixedRows());
                    if (c >= 0)
                        selectSingle(c, FixedRows());
                    endOfGrid = true;
                }
                FForceSel = false;
            } else {
                SetCol(Col() + spanX + b);
                if (!baseCell(Col(), Row()))
                    recursed = true;
            }
        } else if (Row() >= lastDataRow) {
            if (FNavigation->TabToNextAtEnd() || !FNavigation->AdvanceInsert()) {
                GotoFirstDataRow();
            } else {
                bool allow = true;
                DoCanAddRow(allow);
                if (allow) {
                    if (FFloatingFooter->Visible()) {
                        InsertRows(RowCount() - 1, 1);
                        SetRow(RowCount() - 2);
                    } else {
                        SetRowCount(RowCount() + 1);
                        SetRow(RowCount() - 1);
                    }
                    if (OnAutoAddRow)
                        OnAutoAddRow(this, RowCount() - FFixedFooters - 1);
                } else {
                    GotoFirstDataRow();
                }
            }
            const Integer c = FirstSelectableCol(Row());
            if (c >= 0)
                SetCol(c);
            endOfGrid = true;
        } else {
            Integer d = firstCol;
            while (d < ColCount() && !(baseCell(d, Row() + 1) && selectable(d, Row() + 1)))
                ++d;
            if (d < ColCount()) {
                FForceSel = true;
                SetCol(d);
                FForceSel = false;
                SetRow(Row() + 1);
            } else {
                Integer f = Row() + 2;
                while (f < RowCount() && FirstSelectableCol(f) < 0)
                    ++f;
                if (f < RowCount()) {
                    SetRow(f);
                    SetCol(FirstSelectableCol(f));
                } else {
                    SetRow(RowCount() - 1);
                    SetCol(ColCount() - 1);
                    recursed = true;
                }
            }
        }
    }

    if (endOfGrid && Parent() != nullptr && FNavigation->TabToNextAtEnd()) {
        if (Parent()->HandleAllocated())
            PostMessageW(Parent()->WindowHandle(), WM_KEYDOWN, VK_TAB, 0);
        return false;
    }
    return true;
}
