// The column and row headers the grid shows in its fixed cells, the fill routines, date and time cells
// and auto numbering.
#include "grid/engine/AdvGrid.h"

#include "grid/engine/AdvUtil.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Random.h"

// ---- Headers

void TAdvStringGrid::SetColumnHeaders(TStringList* Value) {
    FColumnHeaders->Assign(Value);
    if (FixedRows() > 0)
        ClearColumnHeaders();
    ShowColumnHeaders();
}

void TAdvStringGrid::SetRowHeaders(TStringList* Value) {
    FRowHeaders->Assign(Value);
    if (ComponentState().Contains(csDesigning) && FixedCols() > 0)
        ClearRowHeaders();
    ShowRowHeaders();
}

void TAdvStringGrid::SetFixedFont(TFont* Value) {
    FFixedFont->Assign(Value);
    Invalidate();
}

void TAdvStringGrid::ShowColumnHeaders() {
    if (FixedRows() <= 0)
        return;
    const Integer count = std::min(FColumnHeaders->Count(), TotalColCount());
    for (Integer i = 0; i < count; ++i)
        SetCellEx(i, 0, UnescapeNewLines(FColumnHeaders->Strings(i)));
}

void TAdvStringGrid::ShowRowHeaders() {
    if (FixedCols() <= 0)
        return;
    const Integer count = std::min(FRowHeaders->Count(), RowCount());
    for (Integer i = 0; i < count; ++i)
        SetCellEx(0, i, UnescapeNewLines(FRowHeaders->Strings(i)));
}

void TAdvStringGrid::ClearColumnHeaders() {
    for (Integer i = 0; i < ColCount(); ++i)
        SetCellEx(i, 0, String());
}

void TAdvStringGrid::ClearRowHeaders() {
    for (Integer i = 0; i < RowCount(); ++i)
        SetCellEx(0, i, String());
}

// ---- Fills

namespace {

// Keeps the window from redrawing cell by cell while a fill writes, and lets it redraw once on every
// path out.
class FillUpdate {
public:
    explicit FillUpdate(TAdvStringGrid& grid) : FGrid(grid) { FGrid.BeginUpdate(); }
    ~FillUpdate() { FGrid.EndUpdate(); }
    FillUpdate(const FillUpdate&) = delete;
    FillUpdate& operator=(const FillUpdate&) = delete;

private:
    TAdvStringGrid& FGrid;
};

} // namespace

template <class Write>
static void FillRange(TAdvStringGrid& grid, Integer fromCol, Integer toCol, Integer fromRow, Integer toRow,
                      Write write) {
    FillUpdate update(grid);
    for (Integer r = fromRow; r <= toRow; ++r)
        for (Integer c = fromCol; c <= toCol; ++c)
            write(c, r);
}

void TAdvStringGrid::TextFill(bool DoFixed, const String& Txt) {
    FillRange(*this, RangeFirstCol(DoFixed), RangeLastCol(DoFixed), RangeFirstRow(DoFixed),
              RangeLastRow(DoFixed), [&](Integer c, Integer r) { SetCellEx(c, r, Txt); });
    CellsChangedHook();
}

void TAdvStringGrid::FormatFill(bool DoFixed, const String& Fmt) {
    // Every cell formats the same two integers, so a format that fails does so at the first cell,
    // before anything was written.
    FillRange(*this, RangeFirstCol(DoFixed), RangeLastCol(DoFixed), RangeFirstRow(DoFixed),
              RangeLastRow(DoFixed), [&](Integer c, Integer r) {
                  SetCellEx(c, r, Format(Fmt, {c, r}));
              });
    CellsChangedHook();
}

void TAdvStringGrid::RandomFill(bool DoFixed, Integer Rnd) {
    FillRange(*this, RangeFirstCol(DoFixed), RangeLastCol(DoFixed), RangeFirstRow(DoFixed),
              RangeLastRow(DoFixed), [&](Integer c, Integer r) { SetInts(c, r, Random(Rnd)); });
    CellsChangedHook();
}

void TAdvStringGrid::LinearFill(bool DoFixed) {
    FillRange(*this, RangeFirstCol(DoFixed), RangeLastCol(DoFixed), RangeFirstRow(DoFixed),
              RangeLastRow(DoFixed),
              [&](Integer c, Integer r) { SetCellEx(c, r, IntToStr(c) + u":" + IntToStr(r)); });
    CellsChangedHook();
}

// ---- Dates and times

void TAdvStringGrid::SetDates(Integer ACol, Integer ARow, TDateTime Value) {
    if (Value <= 0 && !FShowNullDates)
        SetCellEx(ACol, ARow, String());
    else
        SetCellEx(ACol, ARow, DateToStr(Value));
}

TDateTime TAdvStringGrid::GetDates(Integer ACol, Integer ARow) {
    return StrToDate(Cells(ACol, ARow));
}

void TAdvStringGrid::SetTimes(Integer ACol, Integer ARow, TDateTime Value) {
    SetCellEx(ACol, ARow, TimeToStr(Value));
}

TDateTime TAdvStringGrid::GetTimes(Integer ACol, Integer ARow) {
    return StrToTime(Cells(ACol, ARow));
}

// ---- Auto numbering

void TAdvStringGrid::AutoNumberCol(Integer ACol) {
    if (RowCount() <= 0)
        return;
    const Integer first = FixedRows();
    const Integer end = RowCount() - FFixedFooters; // one past the last data row
    for (Integer a = first + FAutoNumberStart; a < end; ++a) {
        const Integer number = a - first + 1 + FAutoNumberOffset;
        SetInts(ACol, FAutoNumberDirection == sdDescending ? first + end - a - 1 : a, number);
    }
}

void TAdvStringGrid::AutoNumberRow(Integer ARow) {
    if (ColCount() <= 0)
        return;
    const Integer first = FixedCols();
    const Integer end = ColCount() - FFixedRightCols; // one past the last normal column
    for (Integer a = first + FAutoNumberStart; a < end; ++a) {
        const Integer number = a - first + 1 + FAutoNumberOffset;
        SetInts(FAutoNumberDirection == sdDescending ? first + end - a - 1 : a, ARow, number);
    }
}
