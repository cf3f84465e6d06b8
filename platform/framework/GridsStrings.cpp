// The draw grid's events and the string grid: its sparse store of cells and objects, and the Rows and
// Cols string lists over it.
#include "platform/framework/Grids.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Consts.h"

DEFINE_CLASS(TStringGrid)

// ---- TCustomDrawGrid ----

void TCustomDrawGrid::ColumnMoved(Integer fromIndex, Integer toIndex) {
    if (OnColumnMoved)
        OnColumnMoved(this, fromIndex, toIndex);
}

void TCustomDrawGrid::RowMoved(Integer fromIndex, Integer toIndex) {
    if (OnRowMoved)
        OnRowMoved(this, fromIndex, toIndex);
}

void TCustomDrawGrid::DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) {
    if (OnDrawCell)
        OnDrawCell(this, ACol, ARow, ARect, AState);
}

String TCustomDrawGrid::GetEditMask(Integer ACol, Integer ARow) {
    String result;
    if (OnGetEditMask)
        OnGetEditMask(this, ACol, ARow, result);
    return result;
}

String TCustomDrawGrid::GetEditText(Integer ACol, Integer ARow) {
    String result;
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, result);
    return result;
}

bool TCustomDrawGrid::SelectCell(Integer ACol, Integer ARow) {
    bool result = true;
    if (OnSelectCell)
        OnSelectCell(this, ACol, ARow, result);
    return result;
}

void TCustomDrawGrid::SetEditText(Integer ACol, Integer ARow, const String& value) {
    if (OnSetEditText)
        OnSetEditText(this, ACol, ARow, value);
}

// ---- TStringGrid ----

TStringGrid::CellText::CellText(CellText&& other) noexcept : FTag(other.FTag) {
    static_assert(sizeof(CellText) == 16, "a cell's text slot stays small");
    std::memcpy(FBytes, other.FBytes, sizeof FBytes);
    other.FTag = 0;
}

TStringGrid::CellText& TStringGrid::CellText::operator=(CellText&& other) noexcept {
    if (this != &other) {
        Release();
        std::memcpy(FBytes, other.FBytes, sizeof FBytes);
        FTag = other.FTag;
        other.FTag = 0;
    }
    return *this;
}

void TStringGrid::CellText::Release() {
    if (FTag == HeapTag) {
        Char* heap = nullptr;
        std::memcpy(&heap, FBytes, sizeof heap);
        delete[] heap;
    }
    FTag = 0;
}

void TStringGrid::CellText::Assign(StringView value) {
    Release();
    if (value.size() * sizeof(Char) <= sizeof FBytes) {
        std::memcpy(FBytes, value.data(), value.size() * sizeof(Char));
        FTag = static_cast<std::uint16_t>(value.size());
        return;
    }
    const std::uint32_t length = static_cast<std::uint32_t>(value.size());
    Char* heap = new Char[length];
    std::memcpy(heap, value.data(), length * sizeof(Char));
    std::memcpy(FBytes, &heap, sizeof heap);
    std::memcpy(FBytes + sizeof heap, &length, sizeof length);
    FTag = HeapTag;
}

String TStringGrid::CellText::Get() const {
    if (FTag != HeapTag) {
        String result(FTag, Char());
        std::memcpy(result.data(), FBytes, FTag * sizeof(Char));
        return result;
    }
    const Char* heap = nullptr;
    std::uint32_t length = 0;
    std::memcpy(&heap, FBytes, sizeof heap);
    std::memcpy(&length, FBytes + sizeof heap, sizeof length);
    return String(heap, length);
}

TStringGrid::TStringGrid(TComponent* owner) : TDrawGrid(owner) {}

TStringGrid::~TStringGrid() = default;

TStringGrid::CellRow* TStringGrid::EnsureRow(Integer ARow) {
    if (static_cast<size_t>(ARow) >= FData.size())
        FData.resize(static_cast<size_t>(ARow) + 1);
    auto& row = FData[static_cast<size_t>(ARow)];
    if (!row)
        row = std::make_unique<CellRow>();
    return row.get();
}

String TStringGrid::Cells(Integer ACol, Integer ARow) const {
    if (ACol < 0 || ARow < 0 || static_cast<size_t>(ARow) >= FData.size())
        return String();
    const CellRow* row = FData[static_cast<size_t>(ARow)].get();
    if (row == nullptr || static_cast<size_t>(ACol) >= row->texts.size())
        return String();
    return row->texts[static_cast<size_t>(ACol)].Get();
}

void TStringGrid::SetCells(Integer ACol, Integer ARow, const String& value) {
    if (ACol < 0 || ARow < 0)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    CellRow* row = EnsureRow(ARow);
    if (static_cast<size_t>(ACol) >= row->texts.size()) {
        if (value.empty())
            return; // an empty cell beyond the row's end is what is stored already
        row->texts.resize(static_cast<size_t>(ACol) + 1);
    }
    row->texts[static_cast<size_t>(ACol)].Assign(value);
    if (FUpdateLevel > 0 || !HandleAllocated())
        return;
    if (ACol == Col() && ARow == Row() && !FEditUpdate)
        InvalidateEditor();
    InvalidateCell(ACol, ARow);
}

TObject* TStringGrid::Objects(Integer ACol, Integer ARow) const {
    if (ACol < 0 || ARow < 0 || static_cast<size_t>(ARow) >= FData.size())
        return nullptr;
    const CellRow* row = FData[static_cast<size_t>(ARow)].get();
    if (row == nullptr || static_cast<size_t>(ACol) >= row->objects.size())
        return nullptr;
    return row->objects[static_cast<size_t>(ACol)];
}

void TStringGrid::SetObjects(Integer ACol, Integer ARow, TObject* value) {
    if (ACol < 0 || ARow < 0)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    CellRow* row = EnsureRow(ARow);
    if (static_cast<size_t>(ACol) >= row->objects.size()) {
        if (value == nullptr)
            return;
        row->objects.resize(static_cast<size_t>(ACol) + 1, nullptr);
    }
    row->objects[static_cast<size_t>(ACol)] = value;
}

TStrings* TStringGrid::Rows(Integer index) {
    if (index < 0)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    if (static_cast<size_t>(index) >= FRows.size())
        FRows.resize(static_cast<size_t>(index) + 1);
    auto& view = FRows[static_cast<size_t>(index)];
    if (!view)
        view = std::make_unique<TStringGridStrings>(this, false, index);
    return view.get();
}

TStrings* TStringGrid::Cols(Integer index) {
    if (index < 0)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    if (static_cast<size_t>(index) >= FCols.size())
        FCols.resize(static_cast<size_t>(index) + 1);
    auto& view = FCols[static_cast<size_t>(index)];
    if (!view)
        view = std::make_unique<TStringGridStrings>(this, true, index);
    return view.get();
}

void TStringGrid::ColumnMoved(Integer fromIndex, Integer toIndex) {
    const size_t lo = static_cast<size_t>(std::min(fromIndex, toIndex));
    const size_t hi = static_cast<size_t>(std::max(fromIndex, toIndex));
    auto moveIn = [&](auto& items) {
        if (items.size() <= lo)
            return; // nothing stored from lo on: the move changes nothing
        if (items.size() <= hi)
            items.resize(hi + 1);
        if (fromIndex < toIndex)
            std::rotate(items.begin() + static_cast<std::ptrdiff_t>(lo),
                        items.begin() + static_cast<std::ptrdiff_t>(lo) + 1,
                        items.begin() + static_cast<std::ptrdiff_t>(hi) + 1);
        else
            std::rotate(items.begin() + static_cast<std::ptrdiff_t>(lo),
                        items.begin() + static_cast<std::ptrdiff_t>(hi),
                        items.begin() + static_cast<std::ptrdiff_t>(hi) + 1);
    };
    for (auto& row : FData) {
        if (row) {
            moveIn(row->texts);
            moveIn(row->objects);
        }
    }
    TDrawGrid::ColumnMoved(fromIndex, toIndex);
}

void TStringGrid::RowMoved(Integer fromIndex, Integer toIndex) {
    const size_t lo = static_cast<size_t>(std::min(fromIndex, toIndex));
    const size_t hi = static_cast<size_t>(std::max(fromIndex, toIndex));
    if (FData.size() > lo) {
        if (FData.size() <= hi)
            FData.resize(hi + 1);
        auto first = FData.begin() + static_cast<std::ptrdiff_t>(lo);
        auto last = FData.begin() + static_cast<std::ptrdiff_t>(hi) + 1;
        if (fromIndex < toIndex)
            std::rotate(first, first + 1, last);
        else
            std::rotate(first, last - 1, last);
    }
    TDrawGrid::RowMoved(fromIndex, toIndex);
}

void TStringGrid::DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) {
    if (DefaultDrawing())
        Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

String TStringGrid::GetEditText(Integer ACol, Integer ARow) {
    String result = Cells(ACol, ARow);
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, result);
    return result;
}

void TStringGrid::SetEditText(Integer ACol, Integer ARow, const String& value) {
    // The editor holds this text already; storing it must not reload the editor.
    FEditUpdate = true;
    try {
        if (value != Cells(ACol, ARow))
            SetCells(ACol, ARow, value);
    } catch (...) {
        FEditUpdate = false;
        throw;
    }
    FEditUpdate = false;
    TDrawGrid::SetEditText(ACol, ARow, value);
}

void TStringGrid::BeginStringsUpdate() {
    ++FUpdateLevel;
}

void TStringGrid::EndStringsUpdate() {
    if (FUpdateLevel > 0 && --FUpdateLevel == 0) {
        Invalidate();
        if (HandleAllocated())
            InvalidateEditor();
    }
}

// ---- TStringGridStrings ----

Integer TStringGridStrings::GetCount() const {
    return FIsColumn ? FGrid->RowCount() : FGrid->ColCount();
}

String TStringGridStrings::Get(Integer index) const {
    return FIsColumn ? FGrid->Cells(FIndex, index) : FGrid->Cells(index, FIndex);
}

void TStringGridStrings::Put(Integer index, const String& s) {
    if (FIsColumn)
        FGrid->SetCells(FIndex, index, s);
    else
        FGrid->SetCells(index, FIndex, s);
}

TObject* TStringGridStrings::GetObject(Integer index) const {
    return FIsColumn ? FGrid->Objects(FIndex, index) : FGrid->Objects(index, FIndex);
}

void TStringGridStrings::PutObject(Integer index, TObject* object) {
    if (FIsColumn)
        FGrid->SetObjects(FIndex, index, object);
    else
        FGrid->SetObjects(index, FIndex, object);
}

Integer TStringGridStrings::Add(const String& s) {
    return AddObject(s, nullptr);
}

Integer TStringGridStrings::AddObject(const String& s, TObject* object) {
    // A line has a fixed number of items: Add fills the first empty one. An empty text is stored as a
    // blank so that the item counts as used.
    const Integer count = GetCount();
    for (Integer i = 0; i < count; ++i) {
        if (Get(i).empty()) {
            Put(i, s.empty() ? String(u" ") : s);
            PutObject(i, object);
            return i;
        }
    }
    return -1;
}

void TStringGridStrings::Assign(const TStrings& source) {
    // The items are copied over the line's first ones; a shorter source leaves the rest of the line as
    // it was, and a longer one is cut at the line's count.
    BeginUpdate();
    try {
        const Integer count = std::min(GetCount(), source.Count());
        for (Integer i = 0; i < count; ++i) {
            Put(i, source.Strings(i));
            PutObject(i, source.Objects(i));
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStringGridStrings::Clear() {
    BeginUpdate();
    const Integer count = GetCount();
    for (Integer i = 0; i < count; ++i) {
        Put(i, String());
        PutObject(i, nullptr);
    }
    EndUpdate();
}

void TStringGridStrings::Delete(Integer) {
    throw EInvalidGridOperation(Consts::SInvalidStringGridOp);
}

void TStringGridStrings::Insert(Integer, const String&) {
    throw EInvalidGridOperation(Consts::SInvalidStringGridOp);
}

void TStringGridStrings::SetUpdateState(bool updating) {
    if (updating)
        FGrid->BeginStringsUpdate();
    else
        FGrid->EndStringsUpdate();
}
