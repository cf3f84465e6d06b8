// The grid's drag auto-scroll: while the framework's drag rests near an edge, a timer scrolls the grid
// towards it, first after InitialDelay and then every RepeatDelay.
#include "grid/view/AdvGridDragScroll.h"

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/PropertyInfo.h"

DEFINE_CLASS(TDragScrollDelays, PROPERTY(InitialDelay).Default(1000), PROPERTY(RepeatDelay).Default(250))
DEFINE_CLASS(TDragScrollMargins, PROPERTY(TopMargin).Default(50), PROPERTY(BottomMargin).Default(50),
             PROPERTY(LeftMargin).Default(50), PROPERTY(RightMargin).Default(50))
DEFINE_CLASS(TDragScrollOptions, PROPERTY(Active).Default(false), PROPERTY(Delays), PROPERTY(Margins))

void TDragScrollDelays::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TDragScrollDelays*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FInitialDelay = source->FInitialDelay;
    FRepeatDelay = source->FRepeatDelay;
}

void TDragScrollMargins::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TDragScrollMargins*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FTopMargin = source->FTopMargin;
    FBottomMargin = source->FBottomMargin;
    FLeftMargin = source->FLeftMargin;
    FRightMargin = source->FRightMargin;
}

TDragScrollOptions::TDragScrollOptions()
    : FDelays(std::make_unique<TDragScrollDelays>()), FMargins(std::make_unique<TDragScrollMargins>()) {}

TDragScrollOptions::~TDragScrollOptions() = default;

void TDragScrollOptions::Assign(TPersistent* Source) {
    auto* source = dynamic_cast<TDragScrollOptions*>(Source);
    if (source == nullptr) {
        TPersistent::Assign(Source);
        return;
    }
    FActive = source->FActive;
    FDelays->Assign(source->FDelays.get());
    FMargins->Assign(source->FMargins.get());
}

// ---- The grid's side

void TAdvStringGrid::FreeDragTimer() {
    // A timer stopped from its own tick is disabled there and freed at the next drag event or tick,
    // never while its handler runs.
    if (FDragTmr == nullptr)
        return;
    FDragTmr->SetEnabled(false);
    if (FInDragScrollTick)
        FDragTmrStopped = true;
    else
        FDragTmr.reset();
}

void TAdvStringGrid::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
    if (FDragTmrStopped && !FInDragScrollTick) {
        FDragTmr.reset();
        FDragTmrStopped = false;
    }
    if (!FDragScrollOptions->Active()) {
        FreeDragTimer();
    } else {
        const bool wasEmpty = FDragScrollDirection.Empty();
        FDragScrollDirection = TDragScrollDirection{};
        if (State == dsDragLeave) {
            FreeDragTimer();
        } else {
            const TDragScrollMargins* margins = FDragScrollOptions->Margins();
            if (Y < margins->TopMargin())
                FDragScrollDirection.Include(dsdUp);
            else if (Y > Height() - margins->BottomMargin())
                FDragScrollDirection.Include(dsdDown);
            if (X < margins->LeftMargin())
                FDragScrollDirection.Include(dsdLeft);
            else if (X > Width() - margins->RightMargin())
                FDragScrollDirection.Include(dsdRight);
            if (FDragScrollDirection.Empty()) {
                FreeDragTimer();
            } else if (FDragTmr == nullptr) {
                FDragTmr = std::make_unique<TTimer>(nullptr);
                FDragTmr->SetInterval(static_cast<Cardinal>(FDragScrollOptions->Delays()->InitialDelay()));
                FDragTmr->OnTimer = [this](TObject*) { DragScrollTimer(); };
                FDragTmr->SetEnabled(true);
            } else if (!wasEmpty) {
                // Each further move inside the margin starts the wait again.
                FDragTmr->SetEnabled(true);
                FDragTmr->SetInterval(static_cast<Cardinal>(FDragScrollOptions->Delays()->InitialDelay()));
            }
        }
    }
    TBaseGrid::DragOver(Source, X, Y, State, Accept);
}

void TAdvStringGrid::DragScrollTimer() {
    FInDragScrollTick = true;
    struct TickEnd {
        TAdvStringGrid* grid;
        ~TickEnd() { grid->FInDragScrollTick = false; }
    } tickEnd{this};
    if (!FDragScrollOptions->Active()) {
        FreeDragTimer();
        return;
    }
    FDragTmr->SetInterval(static_cast<Cardinal>(FDragScrollOptions->Delays()->RepeatDelay()));
    TDragScrollDirection direction = FDragScrollDirection;
    bool canScroll = true;
    if (OnDragScroll)
        OnDragScroll(this, TopRow(), LeftCol(), direction, canScroll);
    if (!canScroll)
        return;
    if (direction.Contains(dsdUp) && TopRow() > FixedRows())
        SetTopRow(TopRow() - 1);
    if (direction.Contains(dsdDown) && TopRow() + VisibleRowCount() < RowCount())
        SetTopRow(TopRow() + 1);
    if (direction.Contains(dsdLeft) && LeftCol() > FixedCols())
        SetLeftCol(LeftCol() - 1);
    if (direction.Contains(dsdRight) && VisibleColCount() + LeftCol() < ColCount())
        SetLeftCol(LeftCol() + 1);
}
