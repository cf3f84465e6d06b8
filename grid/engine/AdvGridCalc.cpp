// Column, row, rectangle and selection calculations over cell values.
#include "grid/engine/AdvGrid.h"

#include <cmath>
#include <unordered_set>

#include "platform/rtl/SysStrings.h"

namespace {

// Reports the end of a walk to ExportNotification on every path, also when a conversion error passes.
class ExportWalk {
public:
    ExportWalk(std::function<void(TGridExportState, Integer)> notify, Integer startRow)
        : FNotify(std::move(notify)) {
        FNotify(esExportStart, startRow);
    }
    ~ExportWalk() { FNotify(esExportDone, -1); }
    ExportWalk(const ExportWalk&) = delete;
    ExportWalk& operator=(const ExportWalk&) = delete;
    void NextRow(Integer row) { FNotify(esExportNextRow, row); }

private:
    std::function<void(TGridExportState, Integer)> FNotify;
};

} // namespace

// ---- Column aggregates

namespace {

// The rows a column aggregate walks: -1 at either end stands for all data rows.
void ResolveDataRows(Integer& FromRow, Integer& ToRow, Integer FirstData, Integer LastData) {
    if (FromRow == -1 || ToRow == -1) {
        FromRow = FirstData;
        ToRow = LastData;
    }
}

} // namespace

// Walks the used rows of a column range as ColumnSum defines them and hands each value that reads as a
// number to take. Rows are stored ones when the range reaches past the displayed rows.
template <class Take>
static void WalkUsedColumnValues(TAdvStringGrid& grid, Integer ACol, Integer FromRow, Integer ToRow,
                                 bool storedRows, bool grouped, Take take,
                                 const std::function<void(Integer)>& nextRow) {
    for (Integer r = FromRow; r <= ToRow; ++r) {
        const Integer displayed = storedRows ? grid.DisplRowIndex(r) : r;
        const bool hidden = storedRows && grid.IsHiddenRow(r);
        if (grouped && !hidden && (grid.IsNode(displayed) || grid.IsSummary(displayed)))
            continue;
        // A hidden row keeps its cells out of the grid, so the displayed cell at its place is another
        // row's and says nothing about it.
        if (!hidden && !grid.IsBaseCell(ACol, displayed))
            continue;
        nextRow(r);
        try {
            take(storedRows ? grid.GetAllFloats(ACol, r) : grid.GetFloats(ACol, r));
        } catch (const EAdvGridError&) {
            // A text that is no number is left out of the aggregate.
        }
    }
}

double TAdvStringGrid::ColumnSum(Integer ACol, Integer FromRow, Integer ToRow) {
    ResolveDataRows(FromRow, ToRow, FixedRows(), RowCount() - FFixedFooters - 1);
    const bool storedRows = FFloatingFooter->Visible() ? ToRow >= RowCount() : ToRow > RowCount();
    ExportWalk walk([this](TGridExportState s, Integer r) { ExportNotification(s, r); }, FromRow);
    double sum = 0;
    WalkUsedColumnValues(
        *this, ACol, FromRow, ToRow, storedRows, FGroupColumn != -1, [&](double v) { sum += v; },
        [&](Integer r) { walk.NextRow(r); });
    return sum;
}

double TAdvStringGrid::ColumnAvg(Integer ACol, Integer FromRow, Integer ToRow) {
    ResolveDataRows(FromRow, ToRow, FixedRows(), RowCount() - FFixedFooters - 1);
    const Integer rows = ToRow - FromRow + 1;
    if (rows <= 0)
        return 0;
    return ColumnSum(ACol, FromRow, ToRow) / rows;
}

double TAdvStringGrid::ColumnMin(Integer ACol, Integer FromRow, Integer ToRow) {
    ResolveDataRows(FromRow, ToRow, FixedRows(), RowCount() - FFixedFooters - 1);
    const bool storedRows = FFloatingFooter->Visible() ? ToRow >= RowCount() : ToRow > RowCount();
    double result = GetFloats(ACol, FromRow);
    ExportWalk walk([this](TGridExportState s, Integer r) { ExportNotification(s, r); }, FromRow);
    WalkUsedColumnValues(
        *this, ACol, FromRow, ToRow, storedRows, FGroupColumn != -1,
        [&](double v) {
            if (v < result)
                result = v;
        },
        [&](Integer r) { walk.NextRow(r); });
    return result;
}

double TAdvStringGrid::ColumnMax(Integer ACol, Integer FromRow, Integer ToRow) {
    ResolveDataRows(FromRow, ToRow, FixedRows(), RowCount() - FFixedFooters - 1);
    const bool storedRows = FFloatingFooter->Visible() ? ToRow >= RowCount() : ToRow > RowCount();
    double result = GetFloats(ACol, FromRow);
    ExportWalk walk([this](TGridExportState s, Integer r) { ExportNotification(s, r); }, FromRow);
    WalkUsedColumnValues(
        *this, ACol, FromRow, ToRow, storedRows, FGroupColumn != -1,
        [&](double v) {
            if (v > result)
                result = v;
        },
        [&](Integer r) { walk.NextRow(r); });
    return result;
}

double TAdvStringGrid::ColumnStdDev(Integer ACol, Integer FromRow, Integer ToRow) {
    ResolveDataRows(FromRow, ToRow, FixedRows(), RowCount() - FFixedFooters - 1);
    const Integer rows = ToRow - FromRow + 1;
    // No rows have no spread; dividing would make a quiet NaN of it.
    if (rows <= 0)
        return 0;
    const double mean = ColumnAvg(ACol, FromRow, ToRow);
    ExportWalk walk([this](TGridExportState s, Integer r) { ExportNotification(s, r); }, FromRow);
    double squares = 0;
    for (Integer r = FromRow; r <= ToRow; ++r) {
        const double d = GetFloats(ACol, r) - mean;
        squares += d * d;
    }
    return std::sqrt(squares / rows);
}

double TAdvStringGrid::ColumnDistinct(Integer ACol, Integer FromRow, Integer ToRow) {
    ResolveDataRows(FromRow, ToRow, FixedRows(), RowCount() - FFixedFooters - 1);
    ExportWalk walk([this](TGridExportState s, Integer r) { ExportNotification(s, r); }, FromRow);
    TStringList values;
    values.SetSorted(true);
    values.SetDuplicates(dupIgnore);
    values.SetCaseSensitive(false);
    for (Integer r = FromRow; r <= ToRow; ++r) {
        values.Add(Cells(ACol, r));
        walk.NextRow(r);
    }
    return values.Count();
}

double TAdvStringGrid::ColumnCount(Integer /*ACol*/, Integer FromRow, Integer ToRow) {
    ResolveDataRows(FromRow, ToRow, FixedRows(), RowCount() - FFixedFooters - 1);
    return ToRow - FromRow + 1;
}

double TAdvStringGrid::ColumnCustomCalc(Integer ACol, Integer FromRow, Integer ToRow) {
    double result = 0;
    if (OnColumnCalc)
        OnColumnCalc(this, ACol, FromRow, ToRow, result);
    return result;
}

// ---- Row aggregates

double TAdvStringGrid::RowSum(Integer ARow, Integer fromCol, Integer toCol) {
    double sum = 0;
    for (Integer c = fromCol; c <= toCol; ++c) {
        if (!IsBaseCell(c, ARow))
            continue;
        try {
            sum += GetFloats(c, ARow);
        } catch (const EAdvGridError&) {
            // A text that is no number is left out of the sum.
        }
    }
    return sum;
}

double TAdvStringGrid::RowAvg(Integer ARow, Integer fromCol, Integer toCol) {
    const Integer cols = toCol - fromCol + 1;
    // No columns have no average; dividing would make a quiet NaN of it.
    if (cols <= 0)
        return 0;
    return RowSum(ARow, fromCol, toCol) / cols;
}

double TAdvStringGrid::RowMin(Integer ARow, Integer fromCol, Integer toCol) {
    double result = GetFloats(fromCol, ARow);
    for (Integer c = fromCol; c <= toCol; ++c) {
        if (!IsBaseCell(c, ARow))
            continue;
        try {
            result = std::min(result, GetFloats(c, ARow));
        } catch (const EAdvGridError&) {
            // A text that is no number is passed over.
        }
    }
    return result;
}

double TAdvStringGrid::RowMax(Integer ARow, Integer fromCol, Integer toCol) {
    double result = GetFloats(fromCol, ARow);
    for (Integer c = fromCol; c <= toCol; ++c) {
        if (!IsBaseCell(c, ARow))
            continue;
        try {
            result = std::max(result, GetFloats(c, ARow));
        } catch (const EAdvGridError&) {
            // A text that is no number is passed over.
        }
    }
    return result;
}

// ---- Rectangles and the selection

double TAdvStringGrid::RectCalc(TGridRect GR, TCalcType CalcType) {
    if (GR.Left > GR.Right)
        std::swap(GR.Left, GR.Right);
    if (GR.Top > GR.Bottom)
        std::swap(GR.Top, GR.Bottom);
    double result = CalcType == ctMin || CalcType == ctMax ? GetAllFloats(GR.Left, GR.Top) : 0;
    Integer count = 0;
    for (Integer c = GR.Left; c <= GR.Right; ++c)
        for (Integer r = GR.Top; r <= GR.Bottom; ++r) {
            const double v = GetAllFloats(c, r);
            switch (CalcType) {
            case ctSum:
            case ctAvg:
                result += v;
                break;
            case ctMin:
                result = std::min(result, v);
                break;
            case ctMax:
                result = std::max(result, v);
                break;
            }
            ++count;
        }
    if (CalcType == ctAvg && count > 0)
        result /= count;
    return result;
}

// ---- Distinct values

std::unique_ptr<TStringList> TAdvStringGrid::DistinctValues(Integer ACol, bool CaseSensitive) {
    auto result = std::make_unique<TStringList>();
    result->SetSorted(true);
    result->SetDuplicates(dupIgnore);
    // The keys decide what is distinct; the list only keeps the first form of each in text order, so it
    // must not merge texts that differ in case on its own when they are distinct values.
    result->SetCaseSensitive(CaseSensitive);
    std::unordered_set<String> seen;
    for (Integer r = FixedRows(); r <= RowCount() - FFixedFooters - 1; ++r) {
        const String text = SaveCell(ACol, r);
        if (seen.insert(CaseSensitive ? text : AnsiUpperCase(text)).second)
            result->Add(text);
    }
    return result;
}
