// Column stretching, and what the grid does when its counts, column widths or row heights change: the
// stretch follows, a mouse sizing may scale every other column or row, and the size events fire.
#include "grid/engine/AdvGrid.h"

#include <cstdlib>
#include <vector>

#include "platform/framework/Application.h"
#include "platform/rtl/Consts.h"

namespace {

// Sets a flag for the life of a scope, whatever leaves it.
class TFlagScope {
public:
    TFlagScope(bool& flag, bool value) : FFlag(flag), FOld(flag) { FFlag = value; }
    ~TFlagScope() { FFlag = FOld; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
    bool FOld;
};

} // namespace

// ---- Stretching

void TAdvStringGrid::StretchColumns() {
    FColumnSize->StoreStretch(true, true);
    ApplyColumnStretch(-1, -1);
}

void TAdvStringGrid::StretchRightColumn() {
    ApplyColumnStretch(ColCount() - 1, -1);
}

void TAdvStringGrid::ApplyColumnStretch(Integer ACol, Integer AWidth) {
    if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying) ||
        (Application != nullptr && Application->Terminated()))
        return;
    const TRect client = ClientRect();
    const Integer clientWidth = client.Right - client.Left;
    if (AWidth == -1)
        AWidth = clientWidth;
    if (ACol == -1)
        ACol = ColCount() - 1;
    if (ACol >= ColCount())
        throw Exception(u"Stretch column index out of range");
    if (ColCount() == 0 || !FColumnSize->Stretch() || FIsColChanging)
        return;

    FIsColChanging = true;
    ColchgFlg = false;
    // The width changes below come back through ColWidthsChanged, which must not stretch again; an
    // exception from an event leaves both flags as they were before the stretch.
    struct TStretchEnd {
        TAdvStringGrid* grid;
        ~TStretchEnd() {
            grid->ColchgFlg = true;
            grid->FIsColChanging = false;
        }
    } stretchEnd{this};

    if (ColCount() == 1) {
        SetColWidths(0, clientWidth);
        return;
    }
    if (FColumnSize->StretchAll()) {
        const Integer first = FixedCols();
        const Integer last = ColCount() - FFixedRightCols - 1;
        const Integer count = last - first + 1;
        if (count > 0) {
            for (Integer c = 0; c < first; ++c)
                AWidth -= ColWidths(c);
            for (Integer c = last + 1; c < ColCount(); ++c)
                AWidth -= ColWidths(c);
            const Integer share = AWidth / count;
            const Integer extra = AWidth % count;
            for (Integer c = first; c <= last; ++c)
                SetColWidths(c, share + (c - first < extra ? 1 : 0));
        }
    } else {
        Integer others = 0;
        for (Integer c = 0; c < ColCount(); ++c)
            if (c != ACol)
                others += ColWidths(c);
        if (others < clientWidth)
            SetColWidths(ACol, AWidth - others);
        else if (LeftCol() == FixedCols())
            SetColWidths(ACol, DefaultColWidth());
    }
    if (FFloatingFooter->Visible() && FFooterPanel != nullptr)
        FFooterPanel->SetAlign(alBottom);
}

void TAdvStringGrid::StretchFromNotification() {
    if (!FColumnSize->Stretch())
        return;
    const Integer column = FColumnSize->StretchColumn();
    if (column < ColCount())
        ApplyColumnStretch(column, -1);
}

// ---- Size notifications

void TAdvStringGrid::SizeChanged(Integer OldColCount, Integer OldRowCount) {
    if (Parent() == nullptr || ComponentState().Contains(csLoading) || ComponentState().Contains(csReading) ||
        (Application != nullptr && Application->Terminated()))
        return;
    StretchFromNotification();
    TBaseGrid::SizeChanged(OldColCount, OldRowCount);
    FlatShowScrollBar(SB_VERT, VisibleRowCount() + FixedRows() < RowCount());
    SyncFlatVertScroll();
    FlatShowScrollBar(SB_HORZ, VisibleColCount() + FixedCols() < ColCount());
    SyncFlatHorzScroll();
}

void TAdvStringGrid::ColWidthsChanged() {
    if (ColchgFlg && HandleAllocated())
        StretchFromNotification();
    if (IsDesigning() && FScrollHintShow)
        HideScrollHint();
    TBaseGrid::ColWidthsChanged();
    ColSizeFlg = true;

    if (ColSized && FMouseActions->AllColumnSize() && Colclickedsize > 0 && Colclicked >= 0 &&
        Colclicked < ColCount()) {
        TFlagScope quiet(ColSized, false);
        const double ratio = static_cast<double>(ColWidths(Colclicked)) / Colclickedsize;
        for (Integer c = FixedCols(); c < ColCount(); ++c)
            if (c != Colclicked)
                SetColWidths(c, static_cast<Integer>(Round(ColWidths(c) * ratio)));
    }
    if (ColSized) {
        if (OnEndColumnSize)
            OnEndColumnSize(this, Colclicked);
        if (Colclicked >= 0 && Colclicked < ColCount()) {
            Integer width = ColWidths(Colclicked);
            DoUpdateColumnSize(Colclicked, width);
            if (width != ColWidths(Colclicked)) {
                ColSized = false;
                SetColWidths(Colclicked, width);
            }
        }
    }
    if (ColSized) {
        Colclicked = -1;
        Rowclicked = -1;
    }
    if (FEditMode && InplaceEditor() != nullptr) {
        const TRect rect = CellRect(Col(), Row());
        InplaceEditor()->SetBounds(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
    }
    ColSized = false;
    if (HasCheckBox(Col(), Row()))
        HideEditor();
    UpdateFooter();
    CellControlsUpdate(false);
    if (FColumnSize->Stretch() && FScrollProportional && FScrollType != ssMetro)
        UpdateVertScrollProportional();
}

void TAdvStringGrid::RowHeightsChanged() {
    if (IsDesigning() && FScrollHintShow)
        HideScrollHint();
    TBaseGrid::RowHeightsChanged();
    // A row whose sizing began at height 0 gives no scale for the others.
    if (RowSized && FMouseActions->AllRowSize() && Rowclickedsize > 0 && Rowclicked >= 0 &&
        Rowclicked < RowCount() && FixedRows() < RowCount()) {
        TFlagScope quiet(RowSized, false);
        const double ratio = static_cast<double>(RowHeights(Rowclicked)) / Rowclickedsize;
        std::vector<Integer> fixedHeights;
        for (Integer r = 0; r < FixedRows(); ++r)
            fixedHeights.push_back(RowHeights(r));
        // Every row takes the default height that the scaled first normal row sets, so the scaled
        // heights are that one height: it is set once instead of row by row.
        const Integer first = FixedRows();
        const Integer height =
            first == Rowclicked ? RowHeights(first) : static_cast<Integer>(Round(RowHeights(first) * ratio));
        SetDefaultRowHeight(height);
        for (Integer r = 0; r < static_cast<Integer>(fixedHeights.size()); ++r)
            SetRowHeights(r, fixedHeights[r]);
    }
    if (RowSized) {
        if (OnEndRowSize)
            OnEndRowSize(this, Rowclicked);
        Colclicked = -1;
        Rowclicked = -1;
    }
    RowSized = false;
    if (HasCheckBox(Col(), Row()))
        HideEditor();
    CellControlsUpdate(false);
}

void TAdvStringGrid::DoUpdateColumnSize(Integer ACol, Integer& AWidth) {
    if (OnUpdateColumnSize)
        OnUpdateColumnSize(this, ACol, AWidth);
}

// ---- Coordinates

void TAdvStringGrid::ScreenToCell(TPoint pt, Integer& ACol, Integer& ARow) {
    const TPoint client = ScreenToClient(pt);
    MouseToCell(client.X, client.Y, ACol, ARow);
}

bool TAdvStringGrid::IsOnFixedSizingBorder(Integer X, Integer Y) {
    Integer c = -1;
    Integer r = -1;
    MouseToCell(X, Y, c, r);
    if (c < 0 || r < 0)
        return false;
    const TRect rect = CellRect(c, r);
    const TGridOptions options = Options();
    bool result = r <= FixedRows() && options.Contains(goColSizing) &&
                  (std::abs(X - rect.Left) < 4 || std::abs(X - rect.Right) < 4);
    if (c <= FixedCols() && options.Contains(goRowSizing))
        result = std::abs(Y - rect.Top) < 4 || std::abs(Y - rect.Bottom) < 4;
    return result;
}
