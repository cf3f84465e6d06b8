// Fitting the columns to the control and the control to its lines, and exchanging two rows or columns.
#include <algorithm>
#include <utility>
#include <vector>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvUtil.h"
#include "platform/rtl/Convert.h"

// ---- Sizing to the contents

namespace {

// Runs body between BeginUpdate and EndUpdate, ending the update also when body raises.
template <typename Body> void InUpdate(TAdvStringGrid& grid, Body body) {
    grid.BeginUpdate();
    try {
        body();
    } catch (...) {
        grid.EndUpdate();
        throw;
    }
    grid.EndUpdate();
}

bool IsPlainCheckKind(TCellType kind) {
    return kind == ctCheckBox || kind == ctDataCheckBox || kind == ctVirtCheckBox || kind == ctRadioButton;
}

// The room a combo button takes in a cell that shows it without being edited.
constexpr Integer ComboButtonRoom = 16;

} // namespace

void TAdvStringGrid::AutoSizeCells(bool DoFixedCells, Integer PaddingX, Integer PaddingY) {
    InUpdate(*this, [&] {
        const Integer firstCol = DoFixedCells ? 0 : FixedCols();
        const Integer firstRow = DoFixedCells ? 0 : FixedRows();
        // Each row ends at the tallest of its measured cells.
        std::vector<Integer> rowBase(static_cast<size_t>(std::max(RowCount(), 0)), 0);
        for (Integer r = firstRow; r < RowCount(); ++r)
            rowBase[static_cast<size_t>(r)] = FSizeGrowOnly ? RowHeights(r) : 0;
        for (Integer c = firstCol; c < ColCount(); ++c) {
            Integer colBase = FSizeGrowOnly ? ColWidths(c) : 0;
            const Integer stored = RealColIndex(c);
            for (Integer r = firstRow; r < RowCount(); ++r) {
                const bool fixed = c < FixedCols() || r < FixedRows();
                Canvas()->Font()->Assign(fixed ? FixedFont() : Font());
                GetCellColor(c, r, TGridDrawState(), Canvas()->Brush(), Canvas()->Font());
                const TSize text = GetCellTextSize(stored, r, false, false);
                const TPoint object = GetCellGraphicSize(stored, r);
                const TPoint span = CellSpan(stored, r);
                Integer w = text.cx + object.X + PaddingX + FXYOffset.X;
                Integer h = text.cy + object.Y + PaddingY + FXYOffset.Y;
                if (span.X == 0 && w > colBase) {
                    w = ClampToLimits(w, FSizeMinColWidth, FSizeMaxColWidth);
                    if (w > colBase) {
                        SetColWidths(c, w);
                        colBase = w;
                    }
                }
                Integer& base = rowBase[static_cast<size_t>(r)];
                if (span.Y == 0 && h > base) {
                    h = ClampToLimits(h, FSizeMinRowHeight, FSizeMaxRowHeight);
                    if (h > base) {
                        SetRowHeights(r, h);
                        base = h;
                    }
                }
            }
        }
    });
}

void TAdvStringGrid::AutoSizeColumns(bool DoFixedCols, Integer Padding) {
    const Integer first = DoFixedCols ? 0 : FixedCols();
    const Integer last = DoFixedCols ? ColCount() - 1 : ColCount() - FixedRightCols() - 1;
    for (Integer c = first; c <= last; ++c) {
        AutoSizeCol(c, 0);
        if (Padding != 0)
            SetColWidths(c, ClampToLimits(ColWidths(c) + Padding, FSizeMinColWidth, FSizeMaxColWidth));
    }
}

void TAdvStringGrid::AutoGrowColumns(bool DoFixedCols, Integer Padding) {
    const bool old = FSizeGrowOnly;
    FSizeGrowOnly = true;
    try {
        AutoSizeColumns(DoFixedCols, Padding);
    } catch (...) {
        FSizeGrowOnly = old;
        throw;
    }
    FSizeGrowOnly = old;
}

void TAdvStringGrid::AutoSizeCol(Integer ACol, Integer Padding) {
    // Column 0 of an outline first takes the room of its deepest glyph, rows without a node counting as
    // level -1; the text measure below replaces it unless sizing only grows.
    if (ACol == 0 && HasNodes()) {
        Integer reach = 4;
        switch (FCellNode->NodeType()) {
        case cn3D:
            reach = 6;
            break;
        case cnGlyph:
            reach = FCellNode->ExpandGlyph()->Empty() ? 0 : FCellNode->ExpandGlyph()->Width() / 2;
            break;
        case cnLeaf:
            reach = 8;
            break;
        default:
            break;
        }
        Integer width = 0;
        for (Integer r = 0; r < RowCount(); ++r)
            width = std::max(width, reach + GetNodeLevel(r) * FCellNode->NodeIndent());
        SetColWidths(0, width);
    }
    AutoSizeColumnCore(ACol, FSizeGrowOnly);
    if (Padding != 0)
        SetColWidths(ACol, ClampToLimits(ColWidths(ACol) + Padding, FSizeMinColWidth, FSizeMaxColWidth));
}

void TAdvStringGrid::AutoGrowCol(Integer ACol, Integer Padding) {
    const bool old = FSizeGrowOnly;
    FSizeGrowOnly = true;
    try {
        AutoSizeCol(ACol, Padding);
    } catch (...) {
        FSizeGrowOnly = old;
        throw;
    }
    FSizeGrowOnly = old;
}

void TAdvStringGrid::AutoSizeColumnCore(Integer ACol, bool GrowOnly) {
    Integer first = 0;
    Integer last = RowCount() - 1;
    switch (FColumnSize->Rows()) {
    case arAll:
        break;
    case arNormal:
        first = FixedRows();
        last = RowCount() - FixedFooters() - 1;
        break;
    case arFixed:
        last = FixedRows() - 1;
        break;
    }
    const Integer stored = RealColIndex(ACol);
    Integer widest = 0;
    for (Integer r = first; r <= last; ++r) {
        if (CellSpan(stored, r).X != 0)
            continue;
        Canvas()->Font()->Assign(r < FixedRows() || ACol < FixedCols() ? FixedFont() : Font());
        GetCellColor(ACol, r, TGridDrawState(), Canvas()->Brush(), Canvas()->Font());
        const TPoint object = GetCellGraphicSize(stored, r);
        Integer w = object.X + GetCellTextSize(stored, r, false, WordWrap()).cx;
        if (FControlLook->DropDownAlwaysVisible() && HasComboBox(ACol, r, edNone))
            w += ComboButtonRoom;
        // FIXME: room for the filter drop-down of the filter row and for the sort indicator comes with
        // filtering and sorting.
        // An object laid over the whole width counts alone, less the inset and lines added below.
        const TCellGraphic* graphic = GetCellGraphic(stored, r);
        if (graphic != nullptr && graphic->CellHAlign() == haFull)
            w = object.X - (2 * GridLineWidth() + 2 + FXYOffset.X);
        widest = std::max(widest, w);
    }
    Integer width = widest + XYOffsetTotalX() + 2 * (GridLineWidth() + 1);
    if (GrowOnly && ColWidths(ACol) >= width)
        return;
    DoAutoColumnSize(ACol, width);
    SetColWidths(ACol, ClampToLimits(width, FSizeMinColWidth, FSizeMaxColWidth));
}

void TAdvStringGrid::DoAutoColumnSize(Integer ACol, Integer& Width) {
    if (OnUpdateColumnSize)
        OnUpdateColumnSize(this, ACol, Width);
}

void TAdvStringGrid::AutoSizeRow(Integer ARow, Integer Padding) {
    AutoSizeRowCore(ARow, FSizeGrowOnly, Padding);
    if (Padding != 0)
        SetRowHeights(ARow, ClampToLimits(RowHeights(ARow) + Padding, FSizeMinRowHeight, FSizeMaxRowHeight));
}

void TAdvStringGrid::AutoSizeRowCore(Integer ARow, bool GrowOnly, Integer Reserve) {
    Integer tallest = 0;
    for (Integer c = 0; c < ColCount(); ++c) {
        const Integer stored = RealColIndex(c);
        if (CellSpan(stored, ARow).Y != 0 || IsIgnoredColumn(stored))
            continue;
        TFont* font = Canvas()->Font();
        font->Assign(ARow < FixedRows() || c < FixedCols() ? FixedFont() : Font());
        GetCellColor(c, ARow, TGridDrawState(), Canvas()->Brush(), font);
        const Integer size = font->Size() + FZoomFactor;
        font->SetSize(size == 0 ? 1 : size);
        Integer th = GetCellTextSize(stored, ARow, false, WordWrap()).cy;
        Integer gh = GetCellGraphicExtent(stored, ARow, Reserve).Y;
        const TCellGraphic* graphic = GetCellGraphic(stored, ARow);
        const TCellType kind = graphic != nullptr ? graphic->CellType() : ctEmpty;
        // An object over the whole height fits whatever the text needs.
        if (graphic != nullptr && graphic->CellVAlign() == vaFull)
            gh = th > 0 ? 0 : DefaultRowHeight();
        // A check box that keeps its state in the text shows the box, not the text.
        if ((kind == ctDataCheckBox || kind == ctVirtCheckBox) && gh > 0)
            th = 0;
        Integer total = th + gh;
        if (!IsBaseCell(stored, ARow))
            total = 0;
        else if (IsPlainCheckKind(kind))
            total = DefaultRowHeight();
        tallest = std::max(tallest, total);
    }
    Integer height = XYOffsetTotalY() + tallest + 2 * GridLineWidth();
    if (FXYOffsetTopLeftOnly)
        height += 2;
    // While every row shows, a row growing under the editor may push rows out of view: the editor is
    // then placed again over its cell.
    const bool typing = VisibleRowCount() == RowCount() && EditMode() && FSizeWhileTyping->Height();
    if (GrowOnly && RowHeights(ARow) >= height)
        return;
    SetRowHeights(ARow, ClampToLimits(height, FSizeMinRowHeight, FSizeMaxRowHeight));
    if (typing && VisibleRowCount() != RowCount()) {
        ShowInplaceEdit();
        if (TInplaceEdit* editor = InplaceEditor())
            editor->SetSelStart(editor->Text().length());
    }
}

void TAdvStringGrid::AutoSizeRows(bool DoFixedRows, Integer Padding) {
    if (RowCount() == 0)
        return;
    const Integer first = DoFixedRows ? 0 : FixedRows();
    ExportNotification(esExportStart, first);
    for (Integer r = first; r < RowCount(); ++r) {
        ExportNotification(esExportNextRow, r);
        if (WordWrap()) {
            AutoSizeRow(r, 0);
            if (Padding != 0)
                SetRowHeights(r,
                              ClampToLimits(RowHeights(r) + Padding, FSizeMinRowHeight, FSizeMaxRowHeight));
        } else {
            SizeRowToLines(r, GetMaxLinesInRow(r), Padding);
        }
    }
    ApplyScrollBarAlways(true);
    ExportNotification(esExportDone, -1);
}

void TAdvStringGrid::SizeRowToLines(Integer ARow, Integer Lines, Integer Extra) {
    // The line height of the grid's font as the first normal cell of the row colours it.
    TFont* font = Canvas()->Font();
    font->Assign(Font());
    GetCellColor(FixedCols(), ARow, TGridDrawState(), Canvas()->Brush(), font);
    RECT box{0, 0, 4096, 20};
    const Integer h =
        DrawText(Canvas()->Handle(), u"gh", -1, &box, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    // The inset comes on top of the limits.
    SetRowHeights(ARow,
                  ClampToLimits(Extra + Lines * (h + 2), FSizeMinRowHeight, FSizeMaxRowHeight) + FXYOffset.Y);
}

Integer TAdvStringGrid::GetMaxLinesInRow(Integer ARow) {
    if (ColCount() == 0 || !FMultilineCells)
        return 1;
    Integer lines = 1;
    for (Integer c = 0; c < ColCount(); ++c)
        lines = std::max(lines, GetLinesInCell(RealColIndex(c), ARow));
    return lines;
}

// ---- Fitting

void TAdvStringGrid::AutoFitColumns(bool DoFixedCells) {
    const Integer fixedCols = FixedCols();
    const Integer rightCols = FixedRightCols();
    Integer v = 0;
    if (FScrollBarAlways == saVert ||
        (ScrollBars() != ssNone && VisibleRowCount() + FixedRows() < RowCount()))
        v = GetSystemMetrics(SM_CXVSCROLL);
    Integer border = 0;
    if (BorderStyle() == bsSingle)
        border = Ctl3D() ? 4 : 2;

    Integer first = 0;
    Integer last = ColCount() - 1;
    Integer available = Width();
    if (!DoFixedCells) {
        first = fixedCols;
        last = ColCount() - rightCols - 1;
        for (Integer c = 0; c < fixedCols; ++c)
            available -= ColWidths(c);
        for (Integer c = ColCount() - rightCols; c < ColCount(); ++c)
            available -= ColWidths(c);
    }
    Integer lines = 0;
    if (Options().Contains(goVertLine))
        lines = GridLineWidth() * (ColCount() - fixedCols - rightCols);
    if (DoFixedCells && Options().Contains(goFixedVertLine))
        lines += fixedCols + rightCols;

    if (ColCount() < 2) {
        if (ColCount() == 1)
            SetColWidths(0, Width() - v - 5);
        return;
    }
    if (last < first)
        return;

    Int64 sum = 0;
    for (Integer c = first; c <= last; ++c)
        sum += ColWidths(c);
    if (sum == available - v - border)
        return; // fitted already
    // Nothing to scale in proportion: the widths stay as they are.
    if (sum == 0)
        return;

    const double factor = static_cast<double>(available - v - border - lines) / static_cast<double>(sum);
    Int64 target = 0;
    for (Integer c = first; c <= last; ++c)
        target += Round(ColWidths(c) * factor);
    BeginUpdate();
    try {
        std::vector<Integer> widths;
        for (Integer c = first; c <= last; ++c)
            widths.push_back(static_cast<Integer>(Round(
                static_cast<double>(ColWidths(c)) * static_cast<double>(target) / static_cast<double>(sum))));
        Int64 chosen = 0;
        for (Integer w : widths)
            chosen += w;
        Int64 rest = available - (chosen + v + border);
        const Integer n = static_cast<Integer>(widths.size());
        if (n >= 2 && rest > n) {
            const Int64 each = rest / n;
            for (Integer& w : widths)
                w += static_cast<Integer>(each);
            rest %= n;
        }
        // What is left goes to the widest column, the first of equal ones.
        const auto widest = std::max_element(widths.begin(), widths.end());
        *widest += static_cast<Integer>(rest);
        for (Integer i = 0; i < n; ++i)
            SetColWidths(first + i, widths[static_cast<size_t>(i)]);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TAdvStringGrid::SizeToCols() {
    Integer total = 0;
    for (Integer c = 0; c < ColCount(); ++c)
        total += ColWidths(c);
    SetClientWidth(total);
}

void TAdvStringGrid::SizeToRows() {
    Integer total = 0;
    for (Integer r = 0; r < RowCount(); ++r)
        total += RowHeights(r);
    SetClientHeight(total);
}

void TAdvStringGrid::SizeToCells() {
    const TScrollStyle old = ScrollBars();
    SetScrollBars(ssNone);
    SizeToCols();
    SizeToRows();
    SetScrollBars(old);
}

// ---- Swaps

void TAdvStringGrid::SwapRows(Integer ARow1, Integer ARow2) {
    if (ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount())
        throw EAdvGridError(AdvGridErrors::InvalidRowAccessed);
    if (ARow1 == ARow2)
        return;
    ExchangeRowStores(ARow1, ARow2);
    const Integer h1 = RowHeights(ARow1);
    const Integer h2 = RowHeights(ARow2);
    if (h1 != h2) {
        SetRowHeights(ARow1, h2);
        SetRowHeights(ARow2, h1);
    }
    if (FControlList->Count() > 0) {
        // The list keeps controls by stored row, which differs from the displayed one past hidden rows.
        const Integer real1 = RealRowIndex(ARow1);
        const Integer real2 = RealRowIndex(ARow2);
        for (Integer i = 0; i < FControlList->Count(); ++i) {
            TControlItem* item = FControlList->Control(i);
            if (item->Y() == real1)
                item->SetY(real2);
            else if (item->Y() == real2)
                item->SetY(real1);
        }
        CellControlsUpdate(false);
    }
    Invalidate();
}

void TAdvStringGrid::SwapColumns(Integer ACol1, Integer ACol2) {
    if (ACol1 < 0 || ACol2 < 0 || ACol1 >= ColCount() || ACol2 >= ColCount())
        throw EAdvGridError(AdvGridErrors::InvalidColumnAccessed);
    if (ACol1 == ACol2)
        return;
    const Integer real1 = RealColIndex(ACol1);
    const Integer real2 = RealColIndex(ACol2);
    ExchangeColStores(real1, real2);
    const Integer w1 = ColWidths(ACol1);
    const Integer w2 = ColWidths(ACol2);
    if (w1 != w2) {
        SetColWidths(ACol1, w2);
        SetColWidths(ACol2, w1);
    }
    // The sort column follows its cells.
    const Integer sortCol = FSortSettings->Column();
    if (sortCol >= 0 && sortCol == RealColIndex(ACol1))
        FSortSettings->SetColumn(RealColIndex(ACol2));
    else if (sortCol >= 0 && sortCol == RealColIndex(ACol2))
        FSortSettings->SetColumn(RealColIndex(ACol1));
    if (FControlList->Count() > 0) {
        for (Integer i = 0; i < FControlList->Count(); ++i) {
            TControlItem* item = FControlList->Control(i);
            // Controls are kept by stored column, as the cells are.
            if (item->X() == real1)
                item->SetX(real2);
            else if (item->X() == real2)
                item->SetX(real1);
        }
        CellControlsUpdate(false);
    }
    Invalidate();
}

namespace {

// Exchanges two entries of a flag list that reaches both.
void ExchangeEntries(TIntList& list, Integer a, Integer b) {
    if (a < 0 || b < 0 || a >= list.Count() || b >= list.Count())
        return;
    const Integer value = list.Items(a);
    list.SetItems(a, list.Items(b));
    list.SetItems(b, value);
}

} // namespace

// SortPermuteRows (AdvGridSort.cpp) does what a series of these does in one pass: a change here goes
// there too.
void TAdvStringGrid::SortSwapRows(Integer ARow1, Integer ARow2) {
    if (ARow1 < 0 || ARow2 < 0 || ARow1 >= RowCount() || ARow2 >= RowCount())
        throw EAdvGridError(AdvGridErrors::InvalidRowAccessed);
    ++Swaps;
    ExchangeEntries(*FSortRowXRef, ARow1, ARow2);
    if (FUseEnabledRows)
        ExchangeEntries(*FEnabledRows, ARow1, ARow2);
    if (FSortSettings->SingleColumn()) {
        // Only the sort column's two cells change places, texts and records by reference.
        const Integer col = FSortSettings->Column();
        if (col >= 0 && ARow1 != ARow2) {
            const String text = GetGridCell(col, ARow1);
            SetGridCell(col, ARow1, GetGridCell(col, ARow2));
            SetGridCell(col, ARow2, text);
            TObject* slot = ObjectSlot(col, ARow1);
            SetObjectSlot(col, ARow1, ObjectSlot(col, ARow2));
            SetObjectSlot(col, ARow2, slot);
        }
        if (!FSortMoving)
            Invalidate();
        return;
    }
    if (ARow1 != ARow2) {
        const Integer h1 = RowHeights(ARow1);
        const Integer h2 = RowHeights(ARow2);
        if (h1 != h2) {
            SetRowHeights(ARow1, h2);
            SetRowHeights(ARow2, h1);
        }
        ExchangeRowStores(ARow1, ARow2);
    }
    // The rows' disjunct selection travels with them when the current row does.
    if (FMouseActions->DisjunctRowSelect() && FNavigation->MoveRowOnSort() && ARow1 != ARow2) {
        const bool selected1 = GetRowSelect(ARow1);
        const bool selected2 = GetRowSelect(ARow2);
        if (selected1 != selected2) {
            SetRowSelect(ARow1, selected2);
            SetRowSelect(ARow2, selected1);
        }
    }
    if (ModifiedRowsKept())
        ExchangeEntries(*FModifiedRows, ARow1, ARow2);
    if (SortRow == ARow1)
        SortRow = ARow2;
    else if (SortRow == ARow2)
        SortRow = ARow1;
    if (!FSortMoving)
        Invalidate();
}
