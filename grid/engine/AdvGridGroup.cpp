// Grouping the rows of the full string grid by the values of a column, and the group calculations
// written into the header and summary rows.
#include "grid/engine/AdvGrid.h"

#include <algorithm>

#include "platform/framework/Application.h"

namespace {

// No cell text equals it, so the first row compared always starts a group.
const String GroupSentinel = String(1, Char(0x00FF)) + String(1, Char(0x00FE));

// Holds the grid's update lock for its lifetime.
class TGroupUpdateScope {
public:
    explicit TGroupUpdateScope(TAdvStringGrid& grid) : FGrid(grid) { FGrid.BeginUpdate(); }
    ~TGroupUpdateScope() { FGrid.EndUpdate(); }
    TGroupUpdateScope(const TGroupUpdateScope&) = delete;
    TGroupUpdateScope& operator=(const TGroupUpdateScope&) = delete;

private:
    TAdvStringGrid& FGrid;
};

// Switches CellNode.ExpandOne off for its lifetime.
class TNoExpandOne {
public:
    explicit TNoExpandOne(TCellNode& node) : FNode(node), FWas(node.ExpandOne()) {
        FNode.SetExpandOne(false);
    }
    ~TNoExpandOne() { FNode.SetExpandOne(FWas); }
    TNoExpandOne(const TNoExpandOne&) = delete;
    TNoExpandOne& operator=(const TNoExpandOne&) = delete;

private:
    TCellNode& FNode;
    bool FWas;
};

} // namespace

// Raises the grid's grouping flag for its lifetime.
class TAdvStringGrid::TGroupBusyScope {
public:
    explicit TGroupBusyScope(TAdvStringGrid& grid) : FGrid(grid) { FGrid.FGroupBusy = true; }
    ~TGroupBusyScope() { FGrid.FGroupBusy = false; }
    TGroupBusyScope(const TGroupBusyScope&) = delete;
    TGroupBusyScope& operator=(const TGroupBusyScope&) = delete;

private:
    TAdvStringGrid& FGrid;
};

// ---- Looks of the group rows

void TAdvStringGrid::ColorGroupRow(Integer ARow, bool Header, bool AsRGB) {
    const TColor colors[3] = {
        Header ? FGrouping->HeaderColor() : FGrouping->SummaryColor(),
        Header ? FGrouping->HeaderColorTo() : FGrouping->SummaryColorTo(),
        Header ? FGrouping->HeaderTextColor() : FGrouping->SummaryTextColor(),
    };
    auto value = [AsRGB](TColor color) { return AsRGB ? static_cast<TColor>(ColorToRGB(color)) : color; };
    if (colors[0] != clNone)
        SetRowColor(ARow, value(colors[0]));
    if (colors[1] != clNone)
        SetRowColorTo(ARow, value(colors[1]));
    if (colors[2] != clNone)
        SetRowFontColor(ARow, value(colors[2]));
}

void TAdvStringGrid::ColorGroupCell(Integer ACol, Integer ARow, bool Header, bool AsRGB) {
    const TColor colors[3] = {
        Header ? FGrouping->HeaderColor() : FGrouping->SummaryColor(),
        Header ? FGrouping->HeaderColorTo() : FGrouping->SummaryColorTo(),
        Header ? FGrouping->HeaderTextColor() : FGrouping->SummaryTextColor(),
    };
    auto value = [AsRGB](TColor color) { return AsRGB ? static_cast<TColor>(ColorToRGB(color)) : color; };
    if (colors[0] != clNone)
        SetColors(ACol, ARow, value(colors[0]));
    if (colors[1] != clNone)
        SetColorsTo(ACol, ARow, value(colors[1]));
    if (colors[2] != clNone)
        SetFontColors(ACol, ARow, value(colors[2]));
}

void TAdvStringGrid::MergeGroupRow(Integer ACol, Integer ARow) {
    if (ACol < ColCount() - 1)
        MergeCells(ACol, ARow, ColCount() - ACol, 1);
}

void TAdvStringGrid::StoreGroupColumn(Integer Colindex, bool Displayed) {
    FGroupColumn = Colindex;
    FGroupWidth = Colindex < ColCount() ? ColWidths(Colindex) : DefaultColWidth();
    FGroupCaption = FixedRows() > 0 ? (Displayed ? Cells(Colindex, 0) : GridCells(Colindex, 0)) : String();
    FGroupFooter = FFixedFooters > 0 ? GridCells(Colindex, RowCount() - 1) : String();
}

// ---- Grouping

void TAdvStringGrid::SetGroupColumn(Integer Value) {
    if (Value == -1)
        UnGroup();
    else if (Value > 0)
        Group(Value);
}

void TAdvStringGrid::Group(Integer Colindex) {
    // Column 0 holds the nodes; grouping by it would write over them.
    if (FGroupBusy || Colindex < FixedCols() || Colindex <= 0)
        return;
    if (FGroupColumn != -1)
        UnGroup();
    if (RowCount() <= FixedRows() + FFixedFooters)
        return;
    {
        const TGroupUpdateScope update(*this);
        StoreGroupColumn(Colindex, false);
        if (FSortSettings->AutoSortForGrouping()) {
            FSortSettings->SetColumn(Colindex);
            QSort();
        }
        // From here on the application processes messages: nothing may group or sort meanwhile.
        const TGroupBusyScope busy(*this);

        // The header text goes into the column that is column 1 once the grouped column is gone.
        const Integer textCol = Colindex == 1 ? 2 : 1;
        const bool summary = FGrouping->Summary();
        String previous = GroupSentinel;
        Integer header = -1;
        // Closes the group whose header is at header and whose rows end above b: the summary row of the
        // group before it comes first, right above its header.
        auto closeGroup = [&](Integer& b) {
            if (header > FixedRows() && summary) {
                InsertRows(header, 1);
                MarkSummaryRow(RealRowIndex(header));
                if (!FGrouping->MergeSummary())
                    ColorGroupRow(header, false, true);
                ++header;
                ++b;
            }
            AddNode(RealRowIndex(header), b - header);
        };
        for (Integer b = FixedRows(); b <= RowCount() - FFixedFooters - 1; ++b) {
            Application->ProcessMessages();
            const String text = GridCells(Colindex, b);
            if (text != previous) {
                if (header != -1)
                    closeGroup(b);
                InsertRows(b, 1);
                SetGridCell(textCol, b, text);
                if (!FGrouping->MergeHeader())
                    ColorGroupRow(b, true, true);
                header = b;
                ++b;
            }
            previous = text;
        }
        if (header != -1) {
            Integer end = RowCount() - FFixedFooters;
            closeGroup(end);
            if (!FGrouping->MergeHeader())
                ColorGroupRow(header, true, false);
            if (summary) {
                InsertRows(end, 1);
                MarkSummaryRow(RealRowIndex(end));
                if (!FGrouping->MergeSummary())
                    ColorGroupRow(end, false, false);
            }
        }

        RemoveCols(Colindex, 1);

        const bool mergeSummary = FGrouping->MergeSummary() && summary;
        if (FGrouping->MergeHeader() || mergeSummary) {
            for (Integer c = FixedRows(); c < RowCount(); ++c) {
                if (IsNode(c)) {
                    MergeGroupRow(1, c);
                    if (FGrouping->MergeHeader())
                        ColorGroupCell(1, c, true, true);
                } else if (mergeSummary && IsSummary(c)) {
                    MergeGroupRow(1, c);
                    ColorGroupCell(1, c, false, false);
                }
            }
        }

        if (FCellNode->ExpandOne())
            for (Integer r = FixedRows(); r < RowCount(); ++r)
                if (IsNode(r)) {
                    ExpandNode(RealRowIndex(r));
                    break;
                }

        if (Col() >= ColCount() || Row() >= RowCount())
            MoveToCell(FixedCols(), FixedRows());
        if (FixedRows() < RowCount())
            SetRow(FixedRows());
    }
    // The search panel lays itself out again on a change of its width.
    if (FSearchFooter->Visible() && FSearchPanel != nullptr) {
        FSearchPanel->SetWidth(FSearchPanel->Width() + 1);
        FSearchPanel->SetWidth(FSearchPanel->Width() - 1);
    }
}

void TAdvStringGrid::UnGroup() {
    if (FGroupBusy || FGroupColumn <= 0)
        return;
    const TGroupBusyScope busy(*this);
    const TNoExpandOne noExpandOne(*FCellNode);
    {
        const TGroupUpdateScope update(*this);
        ExpandAll();
        // The header and summary rows are split before the column comes back, so that no merged block
        // spans the new column.
        for (Integer r = FixedRows(); r < RowCount(); ++r)
            if ((IsNode(r) || IsSummary(r)) && IsMergedCell(1, r))
                SplitCells(1, r);
        const Integer column = FGroupColumn;
        InsertCols(column, 1);
        SetColWidths(column, FGroupWidth);
        if (FixedRows() > 0)
            SetGridCell(column, 0, FGroupCaption);
        if (FFixedFooters > 0)
            SetGridCell(column, RowCount() - 1, FGroupFooter);
        const Integer textCol = column == 1 ? 2 : 1;
        String value;
        for (Integer r = FixedRows(); r <= RowCount() - FFixedFooters - 1;) {
            const TCellGraphic* node = NodeAt(r);
            if (node == nullptr) {
                if (!IsSummary(r))
                    SetGridCell(column, r, value);
                ++r;
                continue;
            }
            const Integer summaryRow = r + node->CellIndex();
            if (IsSummary(summaryRow))
                RemoveRows(summaryRow, 1);
            value = GridCells(textCol, r);
            if (RemoveCellGraphicOfType(0, r, ctNode))
                FNumNodes = std::max(FNumNodes - 1, 0);
            RemoveRows(r, 1);
        }
        // A summary row left behind a group that was not followed by one goes too.
        for (Integer r = RowCount() - FFixedFooters - 1; r >= FixedRows(); --r)
            if (IsSummary(r))
                RemoveRows(r, 1);
        FGroupColumn = -1;
    }
    Invalidate();
}

void TAdvStringGrid::SubGroup(Integer Colindex) {
    if (FGroupBusy || Colindex < FixedCols())
        return;
    // Over at most one data row the walk finds no subgroup, and a header over rows that do not exist is
    // not wanted.
    if (RowCount() - FFixedFooters - FixedRows() <= 1)
        return;
    const TGroupBusyScope busy(*this);
    // Expanding a parent for a new subgroup header must not collapse the groups the walk passed.
    const TNoExpandOne noExpandOne(*FCellNode);
    {
        const TGroupUpdateScope update(*this);
        StoreGroupColumn(Colindex, true);
        const Integer textCol = Colindex + 1;
        const bool mergeHeader = FGrouping->MergeHeader();
        auto makeNode = [&](Integer header, Integer end) {
            AddNode(RealRowIndex(header), end - header);
            if (TCellGraphic* node = NodeAt(header))
                node->SetCellVar(Colindex);
        };
        auto isGroupRow = [this](Integer r) { return IsNode(r) || IsSummary(r); };
        String compare = GroupSentinel;
        Integer header = -1;
        Integer r = FixedRows() + 1;
        while (r < RowCount() - FFixedFooters) {
            const bool groupRow = isGroupRow(r);
            if (groupRow || Cells(Colindex, r) != compare) {
                if (header != -1 && !isGroupRow(header))
                    makeNode(header, r);
                if (!groupRow) {
                    const String text = Cells(Colindex, r);
                    InsertChildRow(RealRowIndex(r), 0);
                    SetGridCell(textCol, r, text);
                    if (mergeHeader) {
                        MergeGroupRow(textCol, r);
                        ColorGroupCell(textCol, r, true, true);
                    } else {
                        ColorGroupRow(r, true, true);
                    }
                }
                header = r;
                ++r;
            }
            if (r >= RowCount() - FFixedFooters)
                break;
            if (isGroupRow(r - 1)) {
                compare = GroupSentinel;
            } else {
                compare = Cells(Colindex, r);
                SetGridCell(Colindex, r, String());
                ++r;
            }
        }
        // The last subgroup closes at the end of the data rows; the footer rows are left alone.
        if (header != -1 && !isGroupRow(header)) {
            const Integer end = RowCount() - FFixedFooters;
            makeNode(header, end);
            if (mergeHeader)
                ColorGroupCell(textCol, header, true, false);
            else
                ColorGroupRow(header, true, false);
            if (FGrouping->Summary()) {
                InsertRows(end, 1);
                MarkSummaryRow(RealRowIndex(end));
                if (FGrouping->MergeSummary()) {
                    MergeGroupRow(textCol, end);
                    ColorGroupCell(textCol, end, false, false);
                } else {
                    ColorGroupRow(end, false, false);
                }
            }
        }
        if (FixedRows() < RowCount())
            SetRow(FixedRows());
    }
}

void TAdvStringGrid::SubUnGroup(Integer Colindex) {
    if (FGroupBusy)
        return;
    const TGroupBusyScope busy(*this);
    const TNoExpandOne noExpandOne(*FCellNode);
    const TGroupUpdateScope update(*this);
    ExpandAll();
    String value;
    for (Integer r = FixedRows(); r <= RowCount() - FFixedFooters - 1;) {
        const TCellGraphic* node = NodeAt(r);
        if (node != nullptr && node->CellVar() == Colindex) {
            value = GridCells(Colindex + 1, r);
            if (IsMergedCell(Colindex + 1, r))
                SplitCells(Colindex + 1, r);
            // The levels of its block go down again, and its parents' spans shrink with the row.
            const Integer real = RealRowIndex(r);
            RemoveNode(real);
            RemoveChildRow(real);
            continue;
        }
        if (node == nullptr && !IsSummary(r))
            SetGridCell(Colindex, r, value);
        ++r;
    }
}

// ---- Group calculations

double TAdvStringGrid::DoGroupCalc(Integer ACol, Integer FromRow, Integer ToRow) {
    double result = 0;
    if (OnGroupCalc)
        OnGroupCalc(this, ACol, FromRow, ToRow, result);
    return result;
}

void TAdvStringGrid::GroupCalc(Integer Colindex, Integer method) {
    const bool summary = FGrouping->Summary();
    for (Integer r = FixedRows(); r < RowCount();) {
        const TCellGraphic* node = NodeAt(r);
        if (node == nullptr || node->CellBoolean()) {
            ++r;
            continue;
        }
        const Integer span = node->CellIndex();
        const Integer target = summary ? r + span : r;
        const Integer from = r + 1;
        const Integer to = r + span - 1;
        if (target < RowCount()) {
            switch (method) {
            case 1:
                SetFloats(Colindex, target, ColumnSum(Colindex, from, to));
                break;
            case 2:
                SetFloats(Colindex, target, ColumnAvg(Colindex, from, to));
                break;
            case 3:
                SetFloats(Colindex, target, ColumnMin(Colindex, from, to));
                break;
            case 4:
                SetFloats(Colindex, target, ColumnMax(Colindex, from, to));
                break;
            case 5:
                SetInts(Colindex, target, span - 1);
                break;
            case 6:
                SetFloats(Colindex, target, DoGroupCalc(Colindex, from, to));
                break;
            case 7:
                SetFloats(Colindex, target, ColumnDistinct(Colindex, from, to));
                break;
            case 8:
                SetFloats(Colindex, target, ColumnStdDev(Colindex, from, to));
                break;
            default:
                break;
            }
        }
        // A span below 1 still moves on.
        r += std::max(span, 1);
    }
}

namespace {

// The footer's calculation covers the whole column, as the group rows cover each group.
void GroupCalcWithFooter(TAdvStringGrid& grid, Integer column, Integer method, TColumnCalcType footerCalc) {
    grid.GroupCalc(column, method);
    if (grid.FloatingFooter()->Visible())
        grid.FloatingFooter()->SetColumnCalc(column, footerCalc);
}

} // namespace

void TAdvStringGrid::GroupSum(Integer Colindex) {
    GroupCalcWithFooter(*this, Colindex, 1, acSUM);
}

void TAdvStringGrid::GroupAvg(Integer Colindex) {
    GroupCalcWithFooter(*this, Colindex, 2, acAVG);
}

void TAdvStringGrid::GroupMin(Integer Colindex) {
    GroupCalcWithFooter(*this, Colindex, 3, acMIN);
}

void TAdvStringGrid::GroupMax(Integer Colindex) {
    GroupCalcWithFooter(*this, Colindex, 4, acMAX);
}

void TAdvStringGrid::GroupCount(Integer Colindex) {
    GroupCalcWithFooter(*this, Colindex, 5, acCOUNT);
}
