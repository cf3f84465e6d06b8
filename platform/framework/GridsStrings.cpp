// The draw grid's events and the string grid: its sparse store of cells and objects, and the Rows and
// Cols string lists over it.
#include "platform/framework/Grids.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <tuple>
#include <utility>

#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"

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

namespace {

// How far the rows may grow past the counts: a little past them is where a reader writes before it
// grows the count, much further is a stray index.
Integer NearLimit(Integer count) {
    return static_cast<Integer>(std::min<Int64>(Int64(count) * 2 + 64, std::numeric_limits<Integer>::max()));
}

// Where a line inside lo..hi goes when the line fromIndex moves to toIndex.
Integer MovedIndex(Integer index, Integer fromIndex, Integer toIndex) {
    if (index == fromIndex)
        return toIndex;
    return fromIndex < toIndex ? index - 1 : index + 1;
}

} // namespace

void TStringGrid::GrowData(size_t rows) {
    if (rows <= FData.size())
        return;
    if (rows > FData.capacity())
        FData.reserve(std::max(rows, FData.capacity() * 2));
    FData.resize(FData.capacity());
}

TStringGrid::CellRow* TStringGrid::EnsureRow(Integer ARow) {
    GrowData(static_cast<size_t>(ARow) + 1);
    auto& row = FData[static_cast<size_t>(ARow)];
    if (!row && !FSpareRows.empty()) {
        // An emptied row's storage comes back here, its old cells dropped only now.
        row = std::move(FSpareRows.back());
        FSpareRows.pop_back();
        row->texts.clear();
        row->objects.clear();
    }
    if (!row)
        row = std::make_unique<CellRow>();
    return row.get();
}

void TStringGrid::UpdateNearLimits() {
    const Integer cols = std::max(FNearCols, NearLimit(ColCount()));
    const Integer rows = std::max(FNearRows, NearLimit(RowCount()));
    if (cols == FNearCols && rows == FNearRows)
        return;
    FNearCols = cols;
    FNearRows = rows;
    // A far cell is never near: the ones the higher limits reach move into the rows.
    std::vector<std::pair<std::uint64_t, FarCell>> reached;
    for (auto it = FFar.begin(); it != FFar.end();) {
        const Integer col = static_cast<Integer>(std::uint32_t(it->first));
        const Integer row = static_cast<Integer>(std::uint32_t(it->first >> 32));
        if (col < FNearCols && row < FNearRows) {
            reached.emplace_back(it->first, std::move(it->second));
            it = FFar.erase(it);
        } else {
            ++it;
        }
    }
    for (auto& [key, cell] : reached) {
        const Integer col = static_cast<Integer>(std::uint32_t(key));
        const Integer row = static_cast<Integer>(std::uint32_t(key >> 32));
        if (!cell.text.Empty())
            StoreText(col, row, cell.text.Get());
        if (cell.object != nullptr)
            StoreObject(col, row, cell.object);
    }
}

bool TStringGrid::IsNear(Integer ACol, Integer ARow) {
    UpdateNearLimits();
    return ACol < FNearCols && ARow < FNearRows;
}

void TStringGrid::StoreText(Integer ACol, Integer ARow, StringView value) {
    CellRow* row =
        static_cast<size_t>(ARow) < FData.size() ? FData[static_cast<size_t>(ARow)].get() : nullptr;
    if (row != nullptr && static_cast<size_t>(ACol) < row->texts.size()) {
        row->texts[static_cast<size_t>(ACol)].Assign(value);
        return;
    }
    if (IsNear(ACol, ARow)) {
        if (value.empty())
            return; // an empty cell beyond the row's end is what is stored already
        row = EnsureRow(ARow);
        const size_t need = static_cast<size_t>(ACol) + 1;
        if (row->texts.capacity() < need) {
            // A row takes the grid's width at once, up to 16 columns, so that a row written cell by cell
            // is allocated once and rows written together lie together; a wider row grows by doubling.
            const size_t width =
                std::min(static_cast<size_t>(ColCount()), std::max<size_t>(16, 2 * row->texts.capacity()));
            row->texts.reserve(std::max(need, width));
        }
        row->texts.resize(need);
        row->texts[static_cast<size_t>(ACol)].Assign(value);
        return;
    }
    const std::uint64_t key = FarKey(ACol, ARow);
    auto it = FFar.find(key);
    if (it == FFar.end()) {
        if (value.empty())
            return;
        it = FFar.emplace(key, FarCell()).first;
    }
    it->second.text.Assign(value);
    if (it->second.text.Empty() && it->second.object == nullptr)
        FFar.erase(it);
}

void TStringGrid::StoreObject(Integer ACol, Integer ARow, TObject* value) {
    CellRow* row =
        static_cast<size_t>(ARow) < FData.size() ? FData[static_cast<size_t>(ARow)].get() : nullptr;
    if (row != nullptr && static_cast<size_t>(ACol) < row->objects.size()) {
        row->objects[static_cast<size_t>(ACol)] = value;
        return;
    }
    if (IsNear(ACol, ARow)) {
        if (value == nullptr)
            return;
        row = EnsureRow(ARow);
        row->objects.resize(static_cast<size_t>(ACol) + 1, nullptr);
        row->objects[static_cast<size_t>(ACol)] = value;
        return;
    }
    const std::uint64_t key = FarKey(ACol, ARow);
    auto it = FFar.find(key);
    if (it == FFar.end()) {
        if (value == nullptr)
            return;
        it = FFar.emplace(key, FarCell()).first;
    }
    it->second.object = value;
    if (it->second.text.Empty() && it->second.object == nullptr)
        FFar.erase(it);
}

String TStringGrid::Cells(Integer ACol, Integer ARow) const {
    return String(CellView(ACol, ARow));
}

StringView TStringGrid::FarCellView(Integer ACol, Integer ARow) const {
    if (ACol < 0 || ARow < 0)
        return StringView();
    const auto it = FFar.find(FarKey(ACol, ARow));
    return it != FFar.end() ? it->second.text.View() : StringView();
}

void TStringGrid::SetCells(Integer ACol, Integer ARow, const String& value) {
    if (ACol < 0 || ARow < 0)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    StoreText(ACol, ARow, value);
    if (FUpdateLevel > 0 || !HandleAllocated())
        return;
    if (ACol == Col() && ARow == Row() && !FEditUpdate)
        InvalidateEditor();
    InvalidateCell(ACol, ARow);
}

TObject* TStringGrid::FarObjectSlot(Integer ACol, Integer ARow) const {
    if (ACol < 0 || ARow < 0)
        return nullptr;
    const auto it = FFar.find(FarKey(ACol, ARow));
    return it != FFar.end() ? it->second.object : nullptr;
}

void TStringGrid::SetObjectSlot(Integer ACol, Integer ARow, TObject* value) {
    if (ACol < 0 || ARow < 0)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    StoreObject(ACol, ARow, value);
}

TObject* TStringGrid::Objects(Integer ACol, Integer ARow) const {
    return ObjectSlot(ACol, ARow);
}

void TStringGrid::SetObjects(Integer ACol, Integer ARow, TObject* value) {
    SetObjectSlot(ACol, ARow, value);
}

void TStringGrid::ForEachObjectSlot(Integer fromCol, Integer fromRow, Integer toCol, Integer toRow,
                                    const std::function<void(Integer, Integer, TObject*)>& fn) const {
    fromCol = std::max<Integer>(fromCol, 0);
    fromRow = std::max<Integer>(fromRow, 0);
    if (toRow >= fromRow && !FData.empty()) {
        const Integer lastRow = std::min<Integer>(toRow, static_cast<Integer>(FData.size()) - 1);
        for (Integer r = fromRow; r <= lastRow; ++r) {
            const CellRow* row = FData[static_cast<size_t>(r)].get();
            if (row == nullptr || row->objects.empty())
                continue;
            const Integer lastCol = std::min<Integer>(toCol, static_cast<Integer>(row->objects.size()) - 1);
            for (Integer c = fromCol; c <= lastCol; ++c)
                if (TObject* object = row->objects[static_cast<size_t>(c)])
                    fn(c, r, object);
        }
    }
    for (const auto& [key, cell] : FFar) {
        const Integer col = static_cast<Integer>(std::uint32_t(key));
        const Integer row = static_cast<Integer>(std::uint32_t(key >> 32));
        if (cell.object != nullptr && col >= fromCol && col <= toCol && row >= fromRow && row <= toRow)
            fn(col, row, cell.object);
    }
}

TStrings* TStringGrid::Rows(Integer index) {
    if (index < 0)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    auto& view = FRows[index];
    if (!view)
        view = std::make_unique<TStringGridStrings>(this, false, index);
    return view.get();
}

TStrings* TStringGrid::Cols(Integer index) {
    if (index < 0)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    auto& view = FCols[index];
    if (!view)
        view = std::make_unique<TStringGridStrings>(this, true, index);
    return view.get();
}

void TStringGrid::MoveFarCells(bool isColumn, Integer fromIndex, Integer toIndex) {
    if (FFar.empty())
        return;
    const Integer lo = std::min(fromIndex, toIndex);
    const Integer hi = std::max(fromIndex, toIndex);
    std::vector<std::tuple<Integer, Integer, FarCell>> moved;
    for (auto it = FFar.begin(); it != FFar.end();) {
        const Integer col = static_cast<Integer>(std::uint32_t(it->first));
        const Integer row = static_cast<Integer>(std::uint32_t(it->first >> 32));
        const Integer index = isColumn ? col : row;
        if (index >= lo && index <= hi) {
            moved.emplace_back(col, row, std::move(it->second));
            it = FFar.erase(it);
        } else {
            ++it;
        }
    }
    // The rows are moved before these come back, so each lands where the rows now have no cell.
    MoveLines(isColumn, fromIndex, toIndex);
    for (auto& [col, row, cell] : moved) {
        Integer& index = isColumn ? col : row;
        index = MovedIndex(index, fromIndex, toIndex);
        if (!cell.text.Empty())
            StoreText(col, row, cell.text.Get());
        if (cell.object != nullptr)
            StoreObject(col, row, cell.object);
    }
}

void TStringGrid::MoveLines(bool isColumn, Integer fromIndex, Integer toIndex) {
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
    if (isColumn) {
        for (auto& row : FData) {
            if (row) {
                moveIn(row->texts);
                moveIn(row->objects);
            }
        }
    } else {
        moveIn(FData);
    }
}

void TStringGrid::ExchangeFarCells(bool isColumn, Integer a, Integer b,
                                   const std::function<void()>& exchange) {
    UpdateNearLimits();
    std::vector<std::tuple<Integer, Integer, FarCell>> taken;
    for (auto it = FFar.begin(); it != FFar.end();) {
        const Integer col = static_cast<Integer>(std::uint32_t(it->first));
        const Integer row = static_cast<Integer>(std::uint32_t(it->first >> 32));
        const Integer index = isColumn ? col : row;
        if (index == a || index == b) {
            taken.emplace_back(col, row, std::move(it->second));
            it = FFar.erase(it);
        } else {
            ++it;
        }
    }
    exchange();
    for (auto& [col, row, cell] : taken) {
        Integer& index = isColumn ? col : row;
        index = index == a ? b : a;
        if (!cell.text.Empty())
            StoreText(col, row, cell.text.Get());
        if (cell.object != nullptr)
            StoreObject(col, row, cell.object);
    }
}

void TStringGrid::ExchangeRowStores(Integer ARow1, Integer ARow2) {
    if (ARow1 < 0 || ARow2 < 0)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    if (ARow1 == ARow2)
        return;
    const auto exchange = [&] {
        const size_t lo = static_cast<size_t>(std::min(ARow1, ARow2));
        const Integer hi = std::max(ARow1, ARow2);
        if (FData.size() <= lo)
            return; // neither row has near cells
        if (static_cast<size_t>(hi) < FData.size() || hi < FNearRows) {
            GrowData(static_cast<size_t>(hi) + 1);
            std::swap(FData[lo], FData[static_cast<size_t>(hi)]);
            return;
        }
        // A row far beyond the counts has only far cells: the near row's cells become far cells there,
        // rather than the rows growing to reach it.
        const std::unique_ptr<CellRow> cells = std::move(FData[lo]);
        if (!cells)
            return;
        for (size_t c = 0; c < cells->texts.size(); ++c)
            if (!cells->texts[c].Empty())
                StoreText(static_cast<Integer>(c), hi, cells->texts[c].Get());
        for (size_t c = 0; c < cells->objects.size(); ++c)
            if (cells->objects[c] != nullptr)
                StoreObject(static_cast<Integer>(c), hi, cells->objects[c]);
    };
    // Sorting exchanges rows a million times: without far cells there is nothing to take out and put
    // back, and no function object to make.
    if (FFar.empty()) {
        UpdateNearLimits();
        exchange();
        return;
    }
    ExchangeFarCells(false, ARow1, ARow2, exchange);
}

bool TStringGrid::PermuteRowStores(Integer First, const Integer* Sources, Integer Count) {
    if (First < 0 || Count < 0 || Int64(First) + Count > RowCount())
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    for (Integer k = 0; k < Count; ++k)
        if (Sources[k] < First || Sources[k] - First >= Count)
            throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    UpdateNearLimits();
    for (const auto& far : FFar) {
        const Integer row = static_cast<Integer>(std::uint32_t(far.first >> 32));
        if (row >= First && row - First < Count)
            return false;
    }
    const size_t first = static_cast<size_t>(First);
    const size_t n = static_cast<size_t>(Count);
    if (FData.size() <= first || n == 0)
        return true; // none of the rows has near cells
    // Gathered through a second list rather than along the permutation's cycles: the reads do not wait
    // on each other, which matters at a million rows.
    std::vector<std::unique_ptr<CellRow>> moved(n);
    GrowData(first + n);
    for (size_t k = 0; k < n; ++k)
        moved[k] = std::move(FData[static_cast<size_t>(Sources[k])]);
    std::move(moved.begin(), moved.end(), FData.begin() + static_cast<std::ptrdiff_t>(first));
    return true;
}

void TStringGrid::ExchangeColStores(Integer ACol1, Integer ACol2) {
    if (ACol1 < 0 || ACol2 < 0)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    if (ACol1 == ACol2)
        return;
    const size_t lo = static_cast<size_t>(std::min(ACol1, ACol2));
    const Integer hi = std::max(ACol1, ACol2);
    ExchangeFarCells(true, ACol1, ACol2, [&] {
        // A column far beyond the counts has only far cells: a row that does not reach it hands its
        // cell there as a far cell, rather than growing to reach it.
        const bool nearHi = hi < FNearCols;
        std::vector<std::pair<Integer, FarCell>> leaving;
        for (size_t r = 0; r < FData.size(); ++r) {
            CellRow* row = FData[r].get();
            if (row == nullptr)
                continue;
            auto exchangeIn = [&](auto& items) {
                if (items.size() <= lo)
                    return;
                if (items.size() <= static_cast<size_t>(hi))
                    items.resize(static_cast<size_t>(hi) + 1);
                std::swap(items[lo], items[static_cast<size_t>(hi)]);
            };
            const size_t reach = std::max(row->texts.size(), row->objects.size());
            if (nearHi || reach > static_cast<size_t>(hi)) {
                exchangeIn(row->texts);
                exchangeIn(row->objects);
                continue;
            }
            FarCell cell;
            if (lo < row->texts.size())
                cell.text = std::move(row->texts[lo]);
            if (lo < row->objects.size())
                cell.object = std::exchange(row->objects[lo], nullptr);
            if (!cell.text.Empty() || cell.object != nullptr)
                leaving.emplace_back(static_cast<Integer>(r), std::move(cell));
        }
        for (auto& [row, cell] : leaving) {
            if (!cell.text.Empty())
                StoreText(hi, row, cell.text.Get());
            if (cell.object != nullptr)
                StoreObject(hi, row, cell.object);
        }
    });
}

void TStringGrid::RowBlockMoved(Integer fromIndex, Integer count, Integer toIndex) {
    UpdateNearLimits();
    const Integer lo = std::min(fromIndex, toIndex);
    const Integer hi = std::max(fromIndex, toIndex) + count; // exclusive
    std::vector<std::tuple<Integer, Integer, FarCell>> moved;
    for (auto it = FFar.begin(); it != FFar.end();) {
        const Integer col = static_cast<Integer>(std::uint32_t(it->first));
        const Integer row = static_cast<Integer>(std::uint32_t(it->first >> 32));
        if (row >= lo && row < hi) {
            moved.emplace_back(col, row, std::move(it->second));
            it = FFar.erase(it);
        } else {
            ++it;
        }
    }
    if (FData.size() > static_cast<size_t>(lo)) {
        GrowData(static_cast<size_t>(hi));
        const auto first = FData.begin();
        if (toIndex > fromIndex)
            std::rotate(first + fromIndex, first + fromIndex + count, first + hi);
        else
            std::rotate(first + toIndex, first + fromIndex, first + hi);
    }
    // The rows are in place before the far cells come back, so each lands where the rows have no cell.
    for (auto& [col, row, cell] : moved) {
        row = BlockMovedIndex(row, fromIndex, count, toIndex);
        if (!cell.text.Empty())
            StoreText(col, row, cell.text.Get());
        if (cell.object != nullptr)
            StoreObject(col, row, cell.object);
    }
}

void TStringGrid::RowBlockEmptied(Integer ARow, Integer count) {
    const size_t last = std::min(FData.size(), static_cast<size_t>(ARow) + static_cast<size_t>(count));
    // The rows' storage is kept for the rows written next, so emptying a block costs a pointer per row
    // whatever the rows held.
    for (size_t r = static_cast<size_t>(ARow); r < last; ++r)
        if (FData[r])
            FSpareRows.push_back(std::move(FData[r]));
    for (auto it = FFar.begin(); it != FFar.end();) {
        const Integer row = static_cast<Integer>(std::uint32_t(it->first >> 32));
        if (row >= ARow && row - ARow < count)
            it = FFar.erase(it);
        else
            ++it;
    }
}

void TStringGrid::RowListDeleted(const std::vector<Integer>& rows, Integer oldCount) {
    UpdateNearLimits();
    const Integer lo = rows.front();
    std::vector<std::tuple<Integer, Integer, FarCell>> moved;
    for (auto it = FFar.begin(); it != FFar.end();) {
        const Integer col = static_cast<Integer>(std::uint32_t(it->first));
        const Integer row = static_cast<Integer>(std::uint32_t(it->first >> 32));
        if (row >= lo && row < oldCount) {
            moved.emplace_back(col, row, std::move(it->second));
            it = FFar.erase(it);
        } else {
            ++it;
        }
    }
    if (FData.size() > static_cast<size_t>(lo)) {
        GrowData(static_cast<size_t>(oldCount));
        DeleteListed(FData, rows, static_cast<size_t>(oldCount));
    }
    for (auto& [col, row, cell] : moved) {
        row = ListDeletedIndex(row, rows, oldCount);
        if (!cell.text.Empty())
            StoreText(col, row, cell.text.Get());
        if (cell.object != nullptr)
            StoreObject(col, row, cell.object);
    }
}

void TStringGrid::RowListInserted(const std::vector<Integer>& rows, Integer oldCount) {
    UpdateNearLimits();
    const Integer lo = rows.front();
    const Integer newCount = oldCount + static_cast<Integer>(rows.size());
    // The far cells of the old rows move with them; those kept from the old count on are emptied.
    std::vector<std::tuple<Integer, Integer, FarCell>> moved;
    for (auto it = FFar.begin(); it != FFar.end();) {
        const Integer col = static_cast<Integer>(std::uint32_t(it->first));
        const Integer row = static_cast<Integer>(std::uint32_t(it->first >> 32));
        if (row >= lo && row < newCount) {
            if (row < oldCount)
                moved.emplace_back(col, row, std::move(it->second));
            it = FFar.erase(it);
        } else {
            ++it;
        }
    }
    if (FData.size() > static_cast<size_t>(lo)) {
        GrowData(static_cast<size_t>(newCount));
        InsertListed(FData, rows, static_cast<size_t>(newCount), [] { return std::unique_ptr<CellRow>(); });
    }
    for (auto& [col, row, cell] : moved) {
        row = ListInsertedIndex(row, rows);
        if (!cell.text.Empty())
            StoreText(col, row, cell.text.Get());
        if (cell.object != nullptr)
            StoreObject(col, row, cell.object);
    }
}

void TStringGrid::DropFarCells(const std::vector<Integer>& rows) {
    if (FFar.empty())
        return;
    for (auto it = FFar.begin(); it != FFar.end();) {
        const Integer row = static_cast<Integer>(std::uint32_t(it->first >> 32));
        if (std::binary_search(rows.begin(), rows.end(), row))
            it = FFar.erase(it);
        else
            ++it;
    }
}

void TStringGrid::PrepareRows(Integer first, Integer last) {
    if (first < 0)
        throw EInvalidGridOperation(Consts::SIndexOutOfRange);
    UpdateNearLimits();
    GrowData(static_cast<size_t>(last) + 1);
}

String TStringGrid::CellRow::Text(Integer ACol) const {
    return ACol >= 0 && static_cast<size_t>(ACol) < texts.size() ? texts[static_cast<size_t>(ACol)].Get()
                                                                 : String();
}

TObject* TStringGrid::CellRow::Object(Integer ACol) const {
    return ACol >= 0 && static_cast<size_t>(ACol) < objects.size() ? objects[static_cast<size_t>(ACol)]
                                                                   : nullptr;
}

void TStringGrid::ColumnMoved(Integer fromIndex, Integer toIndex) {
    // Moves stay inside the counts, which the near limits cover: the rows may grow to hi.
    UpdateNearLimits();
    if (FFar.empty())
        MoveLines(true, fromIndex, toIndex);
    else
        MoveFarCells(true, fromIndex, toIndex);
    TDrawGrid::ColumnMoved(fromIndex, toIndex);
}

void TStringGrid::RowMoved(Integer fromIndex, Integer toIndex) {
    UpdateNearLimits();
    if (FFar.empty())
        MoveLines(false, fromIndex, toIndex);
    else
        MoveFarCells(false, fromIndex, toIndex);
    TDrawGrid::RowMoved(fromIndex, toIndex);
}

void TStringGrid::DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) {
    if (DefaultDrawing())
        Canvas()->TextRect(ARect, ARect.Left + 2, ARect.Top + 2, Cells(ACol, ARow));
    TDrawGrid::DrawCell(ACol, ARow, ARect, AState);
}

String TStringGrid::GetEditText(Integer ACol, Integer ARow) {
    String result = GetEditCellText(ACol, ARow);
    if (OnGetEditText)
        OnGetEditText(this, ACol, ARow, result);
    return result;
}

void TStringGrid::SetEditText(Integer ACol, Integer ARow, const String& value) {
    // The editor holds this text already; storing it must not reload the editor.
    FEditUpdate = true;
    try {
        if (value != GetEditCellText(ACol, ARow))
            SetEditCellText(ACol, ARow, value);
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
