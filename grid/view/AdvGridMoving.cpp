// What follows a moved column or row: the sort column and sort indexes, the floating footer, the
// EnhRowColMove flag that keeps the release from sorting, and a synchronised grid that moves along.
#include "grid/engine/AdvGrid.h"

namespace {

// Where index c stands after the line at from moved to to.
Integer MovedIndex(Integer c, Integer from, Integer to) {
    if (c == from)
        return to;
    if (from < c && c <= to)
        return c - 1;
    if (to <= c && c < from)
        return c + 1;
    return c;
}

} // namespace

void TAdvStringGrid::ColumnMovedFollowUp(Integer FromIndex, Integer ToIndex, Integer RealFrom,
                                         Integer RealTo) {
    // The framework grid has moved the width and the current column already. A move the grid carries
    // out itself, or one the user dragged, is remembered, so that its release does not sort.
    if (FEnhRowColMove || GridState() == gsColMoving)
        ColMoveFlg = true;

    // The sort follows the data it sorted by.
    if (FSortSettings->Column() >= 0)
        FSortSettings->SetColumn(MovedIndex(FSortSettings->Column(), RealFrom, RealTo));
    if (FSortSettings->IndexShow()) {
        TSortIndexList* indexes = FSortIndexes.get();
        for (Integer i = 0; i < indexes->Count(); ++i)
            indexes->SetSortColumns(i, MovedIndex(indexes->SortColumns(i), RealFrom, RealTo));
    }

    if (FFloatingFooter->Visible() && FFooterPanel != nullptr)
        FFooterPanel->Invalidate();

    // A synchronised grid moves its column once; its own notification does not pass the move back.
    auto* other = dynamic_cast<TAdvStringGrid*>(FSyncGrid->Grid());
    if (other != nullptr && !FSyncedMove && FSyncGrid->MoveColumn()) {
        other->FSyncedMove = true;
        try {
            other->MoveColumn(FromIndex, ToIndex);
        } catch (...) {
            other->FSyncedMove = false;
            throw;
        }
        other->FSyncedMove = false;
    }
}

void TAdvStringGrid::RowMoved(Integer FromIndex, Integer ToIndex) {
    // The floating footer's row stays the last one.
    if (FooterIsFixedLastRow() && ToIndex == RowCount() - 1)
        return;
    // The framework's handling moves the cells; OnRowMoved fires once, below, after the heights moved
    // (the framework grid moves them before this notification).
    TMovedEvent handler = std::move(OnRowMoved);
    OnRowMoved = nullptr;
    try {
        TBaseGrid::RowMoved(FromIndex, ToIndex);
    } catch (...) {
        OnRowMoved = std::move(handler);
        throw;
    }
    OnRowMoved = std::move(handler);
    if (FEnhRowColMove || GridState() == gsRowMoving)
        ColMoveFlg = true;
    if (OnRowMoved)
        OnRowMoved(this, FromIndex, ToIndex);

    auto* other = dynamic_cast<TAdvStringGrid*>(FSyncGrid->Grid());
    if (other != nullptr && !FSyncedMove && FSyncGrid->MoveRow()) {
        other->FSyncedMove = true;
        try {
            other->MoveRow(FromIndex, ToIndex);
        } catch (...) {
            other->FSyncedMove = false;
            throw;
        }
        other->FSyncedMove = false;
    }
}
