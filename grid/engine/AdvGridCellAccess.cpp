// Reading and writing the full string grid's cell text in stored, original, unsorted and current-cell
// coordinates, the text the in-place editor exchanges, and the rich-text and stripped forms of a cell.
#include "grid/engine/AdvGrid.h"

#include "grid/engine/AdvUtil.h"
#include "platform/framework/RichEdit.h"
#include "platform/rtl/Streams.h"
#include "render/AsgHTMLE.h"

namespace {

// Grows a hidden row's cell list with empty texts until it has an entry at column i.
void ReachColumn(TStrings* items, Integer i) {
    while (items->Count() <= i)
        items->Add(String());
}

} // namespace

// ---- The hidden rows' cells

TStrings* TAdvStringGrid::HiddenRowItems(Integer ARow) const {
    // The lookup answers shown rows without a walk over the records.
    if (!IsHiddenRow(ARow))
        return nullptr;
    for (Integer k = 0; k < FGridItems->Count(); ++k)
        if (HiddenRowItem(k)->Idx() == ARow)
            return HiddenRowItem(k)->Items();
    return nullptr;
}

TObject* TAdvStringGrid::PeekObjectsEx(Integer ACol, Integer ARow) {
    if (TStrings* items = HiddenRowItems(ARow))
        return ACol >= 0 && ACol < items->Count() ? items->Objects(ACol) : nullptr;
    return PeekCellProperties(ACol, DisplRowIndex(ARow));
}

// ---- Stored coordinates

String TAdvStringGrid::GetCellsEx(Integer i, Integer j) {
    if (i < 0 || j < 0)
        return String();
    if (TStrings* items = HiddenRowItems(j)) {
        ReachColumn(items, i);
        String text = items->Strings(i);
        DoGetDisplText(i, j, text);
        return text;
    }
    return Cells(i, DisplRowIndex(j));
}

void TAdvStringGrid::SetCellsEx(Integer i, Integer j, const String& Value) {
    if (TStrings* items = HiddenRowItems(j)) {
        ReachColumn(items, i);
        items->SetStrings(i, Value);
        return;
    }
    const Integer d = DisplRowIndex(j);
    SetCells(i, d, Value);
    if (DisplColIndex(i) != i)
        RepaintCell(i, d);
}

String TAdvStringGrid::GetGridCellsEx(Integer i, Integer j) {
    if (TStrings* items = HiddenRowItems(j))
        return items->Strings(i);
    return GridCells(i, DisplRowIndex(j));
}

void TAdvStringGrid::SetGridCellsEx(Integer i, Integer j, const String& Value) {
    if (TStrings* items = HiddenRowItems(j)) {
        items->SetStrings(i, Value);
        return;
    }
    SetGridCells(i, DisplRowIndex(j), Value);
}

TObject* TAdvStringGrid::GetObjectsEx(Integer i, Integer j) {
    TStrings* items = HiddenRowItems(j);
    if (items == nullptr)
        return GetObjectEx(i, DisplRowIndex(j));
    if (i < 0 || i >= items->Count())
        return nullptr;
    TObject* object = items->Objects(i);
    if (auto* record = dynamic_cast<TCellProperties*>(object))
        return reinterpret_cast<TObject*>(record->CellObject());
    return object;
}

void TAdvStringGrid::SetObjectsEx(Integer i, Integer j, TObject* aObject) {
    TStrings* items = HiddenRowItems(j);
    if (items == nullptr) {
        SetObjectEx(i, DisplRowIndex(j), aObject);
        return;
    }
    if (i >= 0 && i < items->Count()) {
        if (auto* record = dynamic_cast<TCellProperties*>(items->Objects(i))) {
            record->SetCellObject(reinterpret_cast<NativeUInt>(aObject));
            return;
        }
    }
    if (aObject == nullptr || i < 0)
        return;
    // The row's own record: the grid's slot at the same position belongs to the shown row there.
    ReachColumn(items, i);
    TCellProperties* record = MakeCellProperties(i, j);
    record->SetCellObject(reinterpret_cast<NativeUInt>(aObject));
    items->SetObjects(i, record);
}

// ---- Columns before moves, rows before sorting

String TAdvStringGrid::GetOriginalCells(Integer i, Integer j) {
    return Cells(RealColIndex(ColumnPosition(i)), j);
}

void TAdvStringGrid::SetOriginalCells(Integer i, Integer j, const String& Value) {
    SetCells(RealColIndex(ColumnPosition(i)), j, Value);
}

Integer TAdvStringGrid::SortedRowIndex(Integer ARow) const {
    const Integer a = ARow >= 0 && ARow < FSortRowXRef->Count() ? FSortRowXRef->Items(ARow) : ARow;
    return RealRowIndex(a);
}

Integer TAdvStringGrid::UnSortedRowIndex(Integer ARow) const {
    if (FSortRowXRef->Count() == 0)
        return ARow;
    const Integer k = FSortRowXRef->IndexOf(ARow);
    return k >= 0 ? k : FSortRowXRef->Count();
}

namespace {

// The row the unsorted row j now stands in: j itself past the sorted rows, else its position among them,
// or the number of sorted rows when it is not there.
Integer UnSortedCellRow(const TIntList& xref, Integer j) {
    if (j > xref.Count())
        return j;
    const Integer k = xref.IndexOf(j);
    return k >= 0 ? k : xref.Count();
}

} // namespace

String TAdvStringGrid::GetUnSortedCell(Integer i, Integer j) {
    return Cells(i, UnSortedCellRow(*FSortRowXRef, j));
}

void TAdvStringGrid::SetUnSortedCell(Integer i, Integer j, const String& Value) {
    SetCells(i, UnSortedCellRow(*FSortRowXRef, j), Value);
}

// ---- Text forms

String TAdvStringGrid::GetStrippedCell(Integer i, Integer j) {
    return MiniHTMLToPlainText(Cells(i, j));
}

Integer TAdvStringGrid::GetLinesInCell(Integer i, Integer j) {
    return CountLines(Cells(i, j), true);
}

void TAdvStringGrid::CellToRich(Integer Col, Integer Row, TRichEdit* Richeditor) {
    const String text = Cells(Col, Row);
    if (text.empty()) {
        Richeditor->Clear();
        return;
    }
    TStringStream stream(text);
    stream.SetPosition(0);
    Richeditor->Lines()->LoadFromStream(stream);
}

String TAdvStringGrid::RichToString(TRichEdit* Richeditor) {
    if (ComponentState().Contains(csDestroying))
        return String();
    TStringStream stream;
    Richeditor->Lines()->SaveToStream(stream);
    return stream.DataString();
}

void TAdvStringGrid::RichToCell(Integer Col, Integer Row, TRichEdit* Richeditor) {
    SetCells(Col, Row, RichToString(Richeditor));
}

// ---- The current cell

String TAdvStringGrid::GetCurrentCell() {
    if (FVirtualEdit)
        return GetCurrentCellRaw();
    const TPoint base = BaseCell(RealCol(), Row());
    return GridCells(base.X, base.Y);
}

void TAdvStringGrid::SetCurrentCell(const String& AValue) {
    const TPoint base = BaseCell(RealCol(), Row());
    SetCells(base.X, base.Y, AValue);
}

String TAdvStringGrid::GetCurrentCellRaw() {
    const TPoint base = BaseCell(RealCol(), Row());
    return Cells(base.X, base.Y);
}

// ---- The in-place editor's text

String TAdvStringGrid::GetEditText(Integer ACol, Integer ARow) {
    FNoEditChange = true;
    // The default editor takes the cell's alignment itself when it loads the text.
    const TPoint base = BaseCell(RealColIndex(ACol), ARow);
    const String text = TBaseGrid::GetEditText(DisplColIndex(base.X), base.Y);
    return FEditWithTags ? text : MiniHTMLToPlainText(text);
}

void TAdvStringGrid::SetEditText(Integer ACol, Integer ARow, const String& Value) {
    const TPoint base = BaseCell(RealColIndex(ACol), ARow);
    TBaseGrid::SetEditText(DisplColIndex(base.X), base.Y, Value);
}
