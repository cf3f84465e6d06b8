// Row flags, repaints and the grid's cell navigation services: the modified and disabled rows, the
// invalidation of cells, rows and columns, moving to cells, the search footer's last row, the walk of
// selectable cells, and the least forms of the view's cell queries.
#include <algorithm>

#include "grid/engine/AdvGrid.h"

// ---- Row flags

Integer TAdvStringGrid::ModifiedRowCount() const {
    Integer count = 0;
    for (Integer i = 0; i < FModifiedRows->Count(); ++i)
        count += FModifiedRows->Items(i) == 1 ? 1 : 0;
    return count;
}

bool TAdvStringGrid::GetRowModified(Integer ARow) const {
    return ARow >= 0 && ARow < FModifiedRows->Count() && FModifiedRows->Items(ARow) == 1;
}

void TAdvStringGrid::SetRowModified(Integer ARow, bool Value) {
    if (ARow < 0)
        throw EAdvGridError(AdvGridErrors::InvalidRowAccessed);
    FUseModifiedRows = true;
    while (FModifiedRows->Count() <= ARow)
        FModifiedRows->Insert(FModifiedRows->Count(), 0);
    FModifiedRows->SetItems(ARow, Value ? 1 : 0);
    RepaintCell(0, ARow);
}

bool TAdvStringGrid::GetRowEnabled(Integer ARow) const {
    return ARow < 0 || ARow >= FEnabledRows->Count() || FEnabledRows->Items(ARow) == 0;
}

void TAdvStringGrid::SetRowEnabled(Integer ARow, bool Value) {
    if (ARow < 0)
        throw EAdvGridError(AdvGridErrors::InvalidRowAccessed);
    if (ARow == Row()) {
        for (Integer r = FixedRows(); r < RowCount(); ++r) {
            if (r != ARow && GetRowEnabled(r)) {
                SetRow(r);
                break;
            }
        }
    }
    FUseEnabledRows = true;
    while (FEnabledRows->Count() <= ARow)
        FEnabledRows->Insert(FEnabledRows->Count(), 0);
    FEnabledRows->SetItems(ARow, Value ? 0 : 1);
    RepaintRow(ARow);
}

// ---- Repaints
// The rectangles are the framework grid's, empty for a cell out of view.

void TAdvStringGrid::RepaintRect(const TRect& r) {
    if (r.Left < 0 || r.Top < 0 || r.Right < 0 || r.Bottom < 0 || !HandleAllocated())
        return;
    const RECT first = TCustomGrid::CellRect(r.Left, r.Top);
    const RECT last = TCustomGrid::CellRect(std::min(VisibleColCount() + FixedCols(), r.Right), r.Bottom);
    if (IsRectEmpty(&first) || IsRectEmpty(&last)) {
        Invalidate();
        return;
    }
    RECT both{};
    UnionRect(&both, &first, &last);
    InvalidateRect(Handle(), &both, TRUE);
}

void TAdvStringGrid::RepaintRow(Integer ARow) {
    if (!HandleAllocated() || ARow < 0 || ARow >= RowCount())
        return;
    // The row's extent from its first scrolling cell; a row scrolled out of view shows nothing.
    const TRect first = TCustomGrid::CellRect(LeftCol(), ARow);
    if (first.Bottom <= first.Top)
        return;
    const TRect last = TCustomGrid::CellRect(std::min(LeftCol() + VisibleColCount(), ColCount() - 1), ARow);
    const RECT rect{0, first.Top, std::max(last.Right, first.Right), first.Bottom};
    InvalidateRect(Handle(), &rect, FALSE);
}

void TAdvStringGrid::RepaintCol(Integer ACol) {
    if (!HandleAllocated() || ACol < 0 || ACol >= ColCount())
        return;
    const TRect top = TCustomGrid::CellRect(ACol, TopRow());
    const TRect bottom = TCustomGrid::CellRect(ACol, std::min(TopRow() + VisibleRowCount(), RowCount() - 1));
    if (top.Right <= top.Left)
        return;
    const RECT rect{top.Left, top.Top, top.Right, std::max(bottom.Bottom, top.Bottom)};
    InvalidateRect(Handle(), &rect, FALSE);
}

// ---- Cells

void TAdvStringGrid::SwapCells(const TGridCoord& FromCell, const TGridCoord& ToCell) {
    if (FromCell.X < 0 || FromCell.Y < 0 || ToCell.X < 0 || ToCell.Y < 0)
        return;
    const String text = GetGridCell(FromCell.X, FromCell.Y);
    SetGridCell(FromCell.X, FromCell.Y, GetGridCell(ToCell.X, ToCell.Y));
    SetGridCell(ToCell.X, ToCell.Y, text);
    TCellProperties* record = PeekCellProperties(FromCell.X, FromCell.Y);
    PutCellProperties(FromCell.X, FromCell.Y, PeekCellProperties(ToCell.X, ToCell.Y));
    PutCellProperties(ToCell.X, ToCell.Y, record);
}

void TAdvStringGrid::GotoCell(Integer ACol, Integer ARow) {
    SetRow(ARow);
    SetCol(ACol);
}

void TAdvStringGrid::EditCell(Integer ACol, Integer ARow) {
    if (CanFocus())
        SetFocus();
    GotoCell(ACol, ARow);
    ShowInplaceEdit();
}

void TAdvStringGrid::FocusCell(Integer ACol, Integer ARow) {
    SetSelection(TGridRect{ACol, ARow, ACol, ARow});
}

void TAdvStringGrid::MoveToCell(Integer ACol, Integer ARow) {
    MoveCurrent(ACol, ARow, true, true);
}

// ---- The search footer's last row

bool TAdvStringGrid::IsSearchFooterOverlap() {
    if (!FSearchFooter->Visible() || TopRow() + VisibleRowCount() < RowCount() - 1)
        return false;
    return TCustomGrid::CellRect(0, RowCount() - 1).Bottom < ClientHeight() - FSearchPanel->Height() + 2;
}

void TAdvStringGrid::ScrollAboveSearchFooter() {
    const Integer panel = FSearchPanel->Height();
    if (!FSearchFooter->Visible() || ClientHeight() <= DefaultRowHeight() + panel || Row() > RowCount() - 1)
        return;
    ScrollRowAbove(RowCount() - 1, ClientHeight() - panel + 2, RowCount() - 1);
}

// ---- Selectable cells

Integer TAdvStringGrid::GetNodeFixedCols() {
    if (FixedCols() == 0 && GetNodeCount() > 0)
        return 1;
    return FixedCols();
}

Integer TAdvStringGrid::GetVisibleFixedRightCols() {
    if (FNumHidden == 0)
        return FFixedRightCols;
    Integer visible = 0;
    const Integer last = ColCount() + FNumHidden - 1;
    for (Integer c = last; c > last - FFixedRightCols && c >= 0; --c)
        visible += IsHiddenColumn(c) ? 0 : 1;
    return visible;
}

bool TAdvStringGrid::IsSelectableCell(Integer ACol, Integer ARow) {
    bool canSelect = Options().Contains(goEditing) ? IsEditable(ACol, ARow) : !IsFixed(ACol, ARow);
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, canSelect);
    return canSelect;
}

TPoint TAdvStringGrid::FindLastSelectableCell(Integer ACol, Integer ARow) {
    TPoint result(-1, -1);
    const Integer lastCol = ColCount() - FFixedRightCols - 1;
    const Integer lastRow = RowCount() - FFixedFooters - 1;
    // A start outside the data cells would never meet the last one.
    if (ACol < FixedCols() || ACol > lastCol || ARow < FixedRows() || ARow > lastRow)
        return result;
    const TAdvanceDirection direction = FNavigation->AdvanceDirection();
    const bool columnWise = direction == adTopBottom || direction == adTopBottomInCol;
    const bool wraps = direction == adTopBottom || direction == adLeftRight;
    while (ACol != lastCol || ARow != lastRow) {
        if (columnWise) {
            if (ARow < lastRow) {
                ++ARow;
            } else if (wraps) {
                ARow = FixedRows();
                ++ACol;
            } else {
                break;
            }
        } else if (ACol < lastCol) {
            ++ACol;
        } else if (wraps) {
            ACol = FixedCols();
            ++ARow;
        } else {
            break;
        }
        if (IsSelectableCell(ACol, ARow))
            result = TPoint(ACol, ARow);
    }
    return result;
}
