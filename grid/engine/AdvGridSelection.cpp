// The selection state of rows, columns and single cells: the disjunct selections beside the framework
// grid's selection rectangle, and the text of the selection.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <unordered_set>
#include <vector>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvUtil.h"
#include "platform/framework/RichEdit.h"

namespace {

// The flags of a row or column list: nil or 1.
void* const Flagged = reinterpret_cast<void*>(std::intptr_t{1});

bool FlagAt(const TList& list, Integer index) {
    return index >= 0 && index < list.Count() && list.Items(index) != nullptr;
}

void GrowTo(TList& list, Integer count) {
    while (list.Count() < count)
        list.Add(nullptr);
}

// A disjunct cell selection entry: the row in the high 16 bits, the column in the low.
Integer CellEntry(Integer ACol, Integer ARow) {
    return static_cast<Integer>((static_cast<Cardinal>(ARow) << 16) | (static_cast<Cardinal>(ACol) & 0xFFFF));
}

// Only cells within 0 .. 65535 each way have an entry of their own; any other would alias a cell.
bool HasCellEntry(Integer ACol, Integer ARow) {
    return ACol >= 0 && ACol <= 0xFFFF && ARow >= 0 && ARow <= 0xFFFF;
}

TGridRect Normalised(TGridRect rect) {
    if (rect.Left > rect.Right)
        std::swap(rect.Left, rect.Right);
    if (rect.Top > rect.Bottom)
        std::swap(rect.Top, rect.Bottom);
    return rect;
}

} // namespace

Integer TAdvStringGrid::RowSelectIndex(Integer ARow) const {
    return FMouseActions->RowSelectPersistent() ? RealRowIndex(ARow) : ARow;
}

// ---- Row and column flags

bool TAdvStringGrid::GetRowSelect(Integer ARow) {
    if (!FMouseActions->RowSelectPersistent() && (ARow < 0 || ARow >= TotalRowCount()))
        throw EAdvGridError(AdvGridErrors::InvalidRowNumberAccessed(ARow));
    if (!FMouseActions->DisjunctRowSelect()) {
        const TGridRect selection = Normalised(Selection());
        return ARow >= selection.Top && ARow <= selection.Bottom;
    }
    if (ARow < 0)
        return false;
    GrowTo(*FRowSelect, std::max(RowCount(), ARow + 1));
    return FRowSelect->Items(ARow) != nullptr;
}

void TAdvStringGrid::SetRowSelect(Integer ARow, bool Value) {
    CheckRowSelectIndex(ARow);
    const bool old = FlagAt(*FRowSelect, ARow);
    if (!WriteRowFlag(ARow, Value, old))
        return;
    if (Value) {
        if (ARow >= FixedRows() && !FSelectedRows->HasValue(ARow))
            FSelectedRows->Add(ARow);
    } else {
        FSelectedRows->DeleteValue(ARow);
    }
    if (Value != old && OnRowDisjunctSelected)
        OnRowDisjunctSelected(this, ARow);
}

void TAdvStringGrid::CheckRowSelectIndex(Integer ARow) const {
    if (ARow < 0 || (ARow >= TotalRowCount() && RowCount() > FixedRows()))
        throw EAdvGridError(AdvGridErrors::InvalidRowAccessed);
}

bool TAdvStringGrid::WriteRowFlag(Integer ARow, bool Value, bool Old) {
    if (Value != Old && OnRowDisjunctSelect) {
        bool allow = true;
        OnRowDisjunctSelect(this, ARow, Value, allow);
        if (!allow)
            return false;
    }
    GrowTo(*FRowSelect, ARow + 1);
    if (Value != Old)
        RepaintRow(FMouseActions->RowSelectPersistent() ? DisplRowIndex(ARow) : ARow);
    FRowSelect->SetItems(ARow, Value ? Flagged : nullptr);
    return true;
}

void TAdvStringGrid::SetRowSelects(Integer FromRow, Integer ToRow,
                                   const std::function<int(Integer)>& Wanted) {
    FromRow = std::max(FromRow, 0);
    ToRow = std::min(ToRow, RowCount() - 1);
    std::vector<Integer> added;
    bool removed = false;
    for (Integer r = FromRow; r <= ToRow; ++r) {
        const int wanted = Wanted(r);
        if (wanted < 0)
            continue;
        const Integer index = RowSelectIndex(r);
        // A handler told of each row sees the list of selected rows as it is after that row.
        if (OnRowDisjunctSelected) {
            SetRowSelect(index, wanted == 1);
            continue;
        }
        CheckRowSelectIndex(index);
        const bool old = FlagAt(*FRowSelect, index);
        if (old == (wanted == 1) || !WriteRowFlag(index, wanted == 1, old))
            continue;
        if (wanted == 0)
            removed = true;
        else if (index >= FixedRows())
            added.push_back(index);
    }
    if (added.empty() && !removed)
        return;
    // The list of selected rows is brought in step once: the rows no longer flagged leave it, the newly
    // flagged ones follow in their order.
    std::vector<Integer> kept;
    std::unordered_set<Integer> listed;
    for (Integer i = 0; i < FSelectedRows->Count(); ++i) {
        const Integer row = FSelectedRows->Items(i);
        if ((!removed || FlagAt(*FRowSelect, row)) && listed.insert(row).second)
            kept.push_back(row);
    }
    for (Integer row : added)
        if (listed.insert(row).second)
            kept.push_back(row);
    FSelectedRows->Clear();
    for (Integer row : kept)
        FSelectedRows->Add(row);
}

bool TAdvStringGrid::GetColSelect(Integer ACol) {
    if (ACol < 0 || ACol >= ColCount())
        throw EAdvGridError(AdvGridErrors::InvalidColumnAccessed);
    GrowTo(*FColSelect, ACol + 1);
    return FColSelect->Items(ACol) != nullptr;
}

void TAdvStringGrid::SetColSelect(Integer ACol, bool Value) {
    if (ACol < 0 || ACol >= ColCount())
        throw EAdvGridError(AdvGridErrors::InvalidColumnAccessed);
    GrowTo(*FColSelect, ACol + 1);
    if ((FColSelect->Items(ACol) != nullptr) != Value)
        RepaintCol(ACol);
    FColSelect->SetItems(ACol, Value ? Flagged : nullptr);
}

// ---- Selecting and unselecting

void TAdvStringGrid::SelectRows(Integer RowIndex, Integer RCount) {
    if (RowIndex + RCount > RowCount())
        RCount = RowCount() - RowIndex;
    if (FMouseActions->DisjunctRowSelect()) {
        SetRowSelects(RowIndex, RowIndex + RCount - 1, [](Integer) { return 1; });
    } else if (RCount > 0) {
        SetSelection(TGridRect{FixedCols(), RowIndex, ColCount() - 1, RowIndex + RCount - 1});
    }
    if (!FRowIndicator->Empty())
        RepaintCol(0);
    FSelChange = false;
}

void TAdvStringGrid::UnSelectRows(Integer RowIndex, Integer RCount) {
    if (FMouseActions->DisjunctRowSelect())
        SetRowSelects(RowIndex, RowIndex + RCount - 1, [](Integer) { return 0; });
    FSelChange = false;
}

void TAdvStringGrid::SelectCols(Integer ColIndex, Integer CCount) {
    if (FMouseActions->DisjunctColSelect()) {
        for (Integer c = ColIndex; c < ColIndex + CCount; ++c)
            if (c >= 0 && c < ColCount())
                SetColSelect(c, true);
    } else if (CCount > 0) {
        SetSelection(TGridRect{ColIndex, FixedRows(), ColIndex + CCount - 1, RowCount() - 1});
    }
}

void TAdvStringGrid::UnSelectCols(Integer ColIndex, Integer CCount) {
    if (!FMouseActions->DisjunctColSelect())
        return;
    for (Integer c = ColIndex; c < ColIndex + CCount; ++c)
        if (c >= 0 && c < ColCount())
            SetColSelect(c, false);
}

void TAdvStringGrid::SelectRange(Integer FromCol, Integer ToCol, Integer FromRow, Integer ToRow) {
    SetRow(ToRow);
    SetCol(ToCol);
    SetSelection(TGridRect{FromCol, FromRow, ToCol, ToRow});
}

void TAdvStringGrid::SelectCells(Integer FromCol, Integer FromRow, Integer ToCol, Integer ToRow) {
    if (FMouseActions->DisjunctCellSelect()) {
        ClearSelectedCells();
        for (Integer c = FromCol; c <= ToCol; ++c)
            for (Integer r = FromRow; r <= ToRow; ++r)
                SetSelectedCells(c, r, true);
        return;
    }
    const bool single = FromCol == ToCol && FromRow == ToRow;
    if (single && Col() >= 0 && Col() < ColCount() - 1 && Row() >= 0 && Row() < RowCount() - 1) {
        SetCol(FromCol);
        SetRow(FromRow);
        return;
    }
    SetSelection(TGridRect{FromCol, FromRow, ToCol, ToRow});
}

void TAdvStringGrid::ClearSelectedCells() {
    SetSelection(TGridRect{FixedCols(), FixedRows(), FixedCols(), FixedRows()});
    FSelectedCells->Clear();
    Invalidate();
}

void TAdvStringGrid::SetSelectedCells(Integer ACol, Integer ARow, bool Value) {
    if (!HasCellEntry(ACol, ARow))
        return;
    const Integer entry = CellEntry(ACol, ARow);
    const bool listed = FSelectedCells->HasValue(entry);
    if (Value == listed)
        return;
    if (Value)
        FSelectedCells->Add(entry);
    else
        FSelectedCells->DeleteValue(entry);
    RepaintCell(ACol, ARow);
}

void TAdvStringGrid::ClearRowSelectAll() {
    for (Integer r = 0; r < FRowSelect->Count(); ++r) {
        if (FRowSelect->Items(r) != nullptr) {
            RepaintRow(r);
            FRowSelect->SetItems(r, nullptr);
        }
    }
    FSelectedRows->Clear();
}

void TAdvStringGrid::ClearColSelect() {
    for (Integer c = 0; c < FColSelect->Count(); ++c) {
        if (FColSelect->Items(c) != nullptr) {
            RepaintCol(c);
            FColSelect->SetItems(c, nullptr);
        }
    }
}

void TAdvStringGrid::ClearRowSelect() {
    ClearRowSelectAll();
    SetSelection(TGridRect{ColCount(), RowCount(), ColCount(), RowCount()});
}

void TAdvStringGrid::SelectionToRowSelect(bool All) {
    const TGridRect selection = Normalised(Selection());
    const Integer bottom = std::min(selection.Bottom, RowCount() - FFixedFooters - 1);
    SetRowSelects(FixedRows(), RowCount() - 1, [&](Integer r) {
        const bool inside = r >= selection.Top && r <= bottom;
        return inside ? 1 : All ? 0 : -1;
    });
    if (NumHiddenRows() > 0)
        Invalidate();
}

void TAdvStringGrid::SelectionToColSelect(bool All) {
    const TGridRect selection = Normalised(Selection());
    for (Integer c = FixedCols(); c < ColCount(); ++c) {
        const bool inside = c >= selection.Left && c <= selection.Right;
        if (All || inside)
            SetColSelect(c, inside);
    }
}

// ---- Queries

Integer TAdvStringGrid::GetRowSelectCount() {
    if (FMouseActions->DisjunctRowSelect()) {
        const Integer last = std::min(FRowSelect->Count(), TotalRowCount());
        Integer count = 0;
        for (Integer r = 0; r < last; ++r)
            count += FRowSelect->Items(r) != nullptr ? 1 : 0;
        return count;
    }
    if (Options().Contains(goRowSelect)) {
        const TGridRect selection = Normalised(Selection());
        return selection.Bottom - selection.Top + 1;
    }
    return 0;
}

Integer TAdvStringGrid::GetColSelectCount() {
    if (FMouseActions->DisjunctColSelect()) {
        Integer count = 0;
        for (Integer c = 0; c < FColSelect->Count(); ++c)
            count += FColSelect->Items(c) != nullptr ? 1 : 0;
        return count;
    }
    const TGridRect selection = Normalised(Selection());
    return selection.Right - selection.Left + 1;
}

bool TAdvStringGrid::IsSelected(Integer ACol, Integer ARow) {
    if (ARow < FixedRows() || ACol < FixedCols())
        return false;
    if (FMouseActions->DisjunctCellSelect())
        return HasCellEntry(ACol, ARow) && FSelectedCells->HasValue(CellEntry(ACol, ARow));
    if (FMouseActions->DisjunctRowSelect())
        return GetRowSelect(RowSelectIndex(ARow));
    if (FMouseActions->DisjunctColSelect())
        return GetColSelect(ACol);
    const TGridRect selection = Normalised(Selection());
    return ACol >= selection.Left && ACol <= selection.Right && ARow >= selection.Top &&
           ARow <= selection.Bottom;
}

// ---- The text of the selection

TRichEdit* TAdvStringGrid::GetRichEdit() {
    if (FRichEdit == nullptr) {
        FRichEdit = new TRichEdit(this);
        FRichEdit->SetVisible(false);
        FRichEdit->SetBounds(0, 0, 0, 0);
        FRichEdit->SetParent(this);
    }
    return FRichEdit;
}

String TAdvStringGrid::SelectedText() {
    const TGridRect selection = Normalised(Selection());
    Integer left = selection.Left;
    Integer right = selection.Right;
    if (FDragDropSettings->OleEntireRows()) {
        left = 0;
        right = ColCount() - 1;
    }
    auto appendRow = [&](String& text, Integer r) {
        for (Integer c = left; c <= right; ++c) {
            String cell = Cells(RealColIndex(c), r);
            if (cell.find(u"{\\") != String::npos) {
                TRichEdit* rich = GetRichEdit();
                CellToRich(RealColIndex(c), r, rich);
                cell = rich->Text();
            }
            if (FExcelClipboardFormat && CountLines(cell, FMultilineCells) > 1)
                QuoteMultiLine(cell);
            if (c > left)
                text += u'\t';
            text += cell;
        }
    };
    String text;
    if (FMouseActions->DisjunctRowSelect()) {
        for (Integer r = FixedRows(); r < RowCount(); ++r) {
            if (!GetRowSelect(RowSelectIndex(r)))
                continue;
            appendRow(text, r);
            text += u"\r\n";
        }
        return text;
    }
    for (Integer r = selection.Top; r <= selection.Bottom; ++r) {
        if (r > selection.Top)
            text += u"\r\n";
        appendRow(text, r);
    }
    return text;
}
