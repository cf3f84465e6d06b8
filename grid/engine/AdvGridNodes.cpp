// Outline nodes: adding and removing them, collapsing and expanding their blocks through the hidden-row
// store, parents and levels, and rows inserted into and removed from blocks.
#include "grid/engine/AdvGrid.h"

#include <algorithm>
#include <numeric>
#include <utility>
#include <vector>

namespace {

// Holds the grid's update lock for its lifetime.
class TNodeUpdateScope {
public:
    explicit TNodeUpdateScope(TAdvStringGrid& grid, bool lock = true) : FGrid(lock ? &grid : nullptr) {
        if (FGrid != nullptr)
            FGrid->BeginUpdate();
    }
    ~TNodeUpdateScope() {
        if (FGrid != nullptr)
            FGrid->EndUpdate();
    }
    TNodeUpdateScope(const TNodeUpdateScope&) = delete;
    TNodeUpdateScope& operator=(const TNodeUpdateScope&) = delete;

private:
    TAdvStringGrid* FGrid;
};

} // namespace

// Showing rows must neither copy the moved current row into a disjunct row selection nor let the row
// selection follow the rows: both are switched off for the time, and with goRowSelect the current row and
// top row are put back afterwards. Everything is restored also when showing the rows fails.
class TAdvStringGrid::TExpandScope {
public:
    explicit TExpandScope(TAdvStringGrid& grid)
        : FGrid(grid), FTopRow(grid.TopRow()), FRow(grid.Row()),
          FDisjunct(grid.FMouseActions->DisjunctRowSelect()),
          FRowSelect(grid.Options().Contains(goRowSelect)) {
        FGrid.FMouseActions->SetDisjunctRowSelect(false);
        if (FRowSelect)
            FGrid.SetOptions(FGrid.Options() - TGridOptions{goRowSelect});
    }
    ~TExpandScope() {
        try {
            if (FRowSelect) {
                FGrid.SetOptions(FGrid.Options() + TGridOptions{goRowSelect});
                if (FRow >= 0 && FRow < FGrid.RowCount())
                    FGrid.SetRow(FRow);
                FGrid.SetTopRow(FTopRow);
            }
        } catch (...) {
            // The rows are shown; a current row the grid refuses now is left where the grid put it.
        }
        FGrid.FMouseActions->SetDisjunctRowSelect(FDisjunct);
    }
    TExpandScope(const TExpandScope&) = delete;
    TExpandScope& operator=(const TExpandScope&) = delete;

private:
    TAdvStringGrid& FGrid;
    Integer FTopRow;
    Integer FRow;
    bool FDisjunct;
    bool FRowSelect;
};

// ---- Node state

TCellGraphic* TAdvStringGrid::NodeAt(Integer ARow) {
    // A shared row check box stands in column 0 for every row: such a grid shows no nodes.
    if (ARow < 0 || FMouseActions->HotmailRowSelect())
        return nullptr;
    const TCellProperties* record = AssignedProps(0, ARow);
    if (record == nullptr)
        return nullptr;
    auto* graphic = dynamic_cast<TCellGraphic*>(GraphicObjectOf(record));
    return graphic != nullptr && graphic->CellType() == ctNode ? graphic : nullptr;
}

Integer TAdvStringGrid::LevelOf(Integer ARow) const {
    const TCellProperties* record = AssignedProps(0, ARow);
    return record != nullptr ? record->NodeLevel() : 0;
}

void TAdvStringGrid::AddNode(Integer ARow, Integer Span) {
    if (Span < 1)
        return;
    const Integer r = DisplRowIndex(ARow);
    // A hidden row has no displayed row of its own: its position belongs to the next shown row.
    if (r < 0 || r >= RowCount() || IsHiddenRow(ARow))
        return;
    TCellGraphic* node = CreateCellGraphic(0, r);
    node->SetCellType(ctNode);
    node->SetCellAngle(r);
    node->SetCellBoolean(false);
    node->SetCellIndex(Span);
    node->SetCellHAlign(haBeforeText);
    node->SetCellVAlign(vaCenter);
    node->SetCellErrFrom(0);
    node->SetCellVar(-1);
    const Integer last = std::min(r + Span - 1, RowCount() - 1);
    for (Integer i = r; i <= last; ++i) {
        TCellProperties* record = GetCellProperties(0, i);
        record->SetNodeLevel(record->NodeLevel() + 1);
    }
    if (FNumNodes == 0)
        InvalidateCol(0);
    ++FNumNodes;
    if (Col() == 0 && ColCount() > 1)
        SetCol(1);
}

void TAdvStringGrid::RemoveNode(Integer ARow) {
    ExpandNodeRows(ARow);
    const Integer d = DisplRowIndex(ARow);
    TCellGraphic* node = NodeAt(d);
    if (node == nullptr)
        return;
    const Integer last = std::min(d + node->CellIndex() - 1, RowCount() - 1);
    for (Integer r = d; r <= last; ++r)
        if (TCellProperties* record = AssignedProps(0, r))
            record->SetNodeLevel(std::max(record->NodeLevel() - 1, 0));
    if (RemoveCellGraphicOfType(0, d, ctNode) && FNumNodes > 0)
        --FNumNodes;
}

void TAdvStringGrid::RemoveAllNodes() {
    {
        const TNodeUpdateScope update(*this);
        // Every block is shown first in one change of the store; removing a node then hides nothing.
        ExpandAll();
        for (Integer r = 0; r < RowCount(); ++r) {
            TCellGraphic* node = NodeAt(r);
            if (node == nullptr)
                continue;
            const Integer last = std::min(r + node->CellIndex() - 1, RowCount() - 1);
            for (Integer i = r; i <= last; ++i)
                if (TCellProperties* record = AssignedProps(0, i))
                    record->SetNodeLevel(std::max(record->NodeLevel() - 1, 0));
            RemoveCellGraphic(0, r);
            FNumNodes = std::max(FNumNodes - 1, 0);
        }
    }
    Invalidate();
}

void TAdvStringGrid::MarkSummaryRow(Integer ARow) {
    const Integer d = DisplRowIndex(ARow);
    if (d < 0 || d >= RowCount())
        return;
    CreateCellGraphic(0, d)->SetCellType(ctSummary);
}

bool TAdvStringGrid::GetNodeState(Integer ARow) {
    const TCellGraphic* node = NodeAt(ARow);
    return node != nullptr && node->CellBoolean();
}

void TAdvStringGrid::SetNodeState(Integer ARow, bool Value) {
    const TCellGraphic* node = NodeAt(ARow);
    if (node == nullptr || node->CellBoolean() == Value)
        return;
    if (Value)
        ContractNode(RealRowIndex(ARow));
    else
        ExpandNode(RealRowIndex(ARow));
}

Integer TAdvStringGrid::GetNodeLevel(Integer ARow) {
    return NodeAt(ARow) != nullptr ? LevelOf(ARow) : -1;
}

Integer TAdvStringGrid::GetNodeSpan(Integer ARow) {
    const TCellGraphic* node = NodeAt(ARow);
    return node != nullptr ? node->CellIndex() : -1;
}

void TAdvStringGrid::SetNodeSpan(Integer ARow, Integer Span) {
    if (TCellGraphic* node = NodeAt(ARow))
        node->SetCellIndex(Span);
}

void TAdvStringGrid::UpdateNodeSpan(Integer ARow, Integer Delta) {
    if (TCellGraphic* node = NodeAt(ARow))
        node->SetCellIndex(node->CellIndex() + Delta);
}

Integer TAdvStringGrid::GetSubNodeCount(Integer ARow) {
    const TCellGraphic* node = NodeAt(ARow);
    return node != nullptr ? node->CellErrFrom() : 0;
}

void TAdvStringGrid::UpdateSubNodeCount(Integer ARow, Integer Delta) {
    if (TCellGraphic* node = NodeAt(ARow))
        node->SetCellErrFrom(node->CellErrFrom() + Delta);
}

Integer TAdvStringGrid::GetRowIndent(Integer ARow) {
    if (!HasNodes() || ARow < 0)
        return 0;
    const TCellProperties* record = AssignedProps(0, ARow);
    return record != nullptr ? record->NodeLevel() * FCellNode->NodeIndent() : 0;
}

// ---- Expanding and collapsing

void TAdvStringGrid::ExpandNode(Integer ARow) {
    if (FCellNode->ExpandOne()) {
        // Collapsing moves the rows below up; an index past the rows left holds no node.
        const Integer count = RowCount();
        for (Integer r = FixedRows(); r < count; ++r) {
            const TCellGraphic* node = NodeAt(r);
            if (node != nullptr && !node->CellBoolean())
                ContractNode(RealRowIndex(r));
        }
    }
    ExpandNodeRows(ARow);
}

void TAdvStringGrid::ExpandNodeRows(Integer ARow) {
    const Integer d = DisplRowIndex(ARow);
    TCellGraphic* node = NodeAt(d);
    if (node == nullptr || !node->CellBoolean())
        return;
    node->SetCellBoolean(false);
    // A span of 0 reaches up to the next node.
    Integer n = d + 1;
    if (node->CellIndex() == 0)
        while (n < RowCount() && NodeAt(n) == nullptr)
            ++n;
    {
        // Cell controls are laid over their rows as they come back, which needs the window to follow.
        const TNodeUpdateScope update(*this, FNumCellControls == 0);
        const TExpandScope expand(*this);
        const Integer before = RowCount();
        UnHideRows(RealRowIndex(d) + 1, RealRowIndex(n) - 1);
        // Every row of a node among them came back too: such a node shows expanded.
        for (Integer r = d + 1; r <= d + RowCount() - before; ++r)
            if (TCellGraphic* inner = NodeAt(r))
                inner->SetCellBoolean(false);
    }
    CalcFooter(-1);
}

void TAdvStringGrid::ContractNode(Integer ARow) {
    HideInplaceEdit();
    // Cell selection reads the flag while rows leave.
    struct TForceSel {
        bool& flag;
        explicit TForceSel(bool& f) : flag(f) { flag = true; }
        ~TForceSel() { flag = false; }
    } forceSel(FForceSel);
    const Integer a = DisplRowIndex(ARow);
    TCellGraphic* node = NodeAt(a);
    if (node == nullptr || node->CellBoolean())
        return;
    node->SetCellBoolean(true);
    Integer end = a + 1;
    if (node->CellIndex() > 0)
        end = std::min(a + node->CellIndex(), RowCount());
    else
        while (end < RowCount() && NodeAt(end) == nullptr)
            ++end;
    const Integer start = a + 1;
    Integer r = start;
    while (r < end) {
        TCellGraphic* inner = NodeAt(r);
        if (inner == nullptr || !inner->CellBoolean()) {
            ++r;
            continue;
        }
        // A collapsed node inside: its own rows are hidden already. It is marked expanded, since
        // expanding this node shows every row below it at once, and the rows up to it leave now.
        inner->SetCellBoolean(false);
        if (TControl* control = CellControls(1, r + 1))
            control->Hide();
        HideRows(RealRowIndex(start), RealRowIndex(r));
        end -= std::max(inner->CellIndex() - 1, 0) + (r - start + 1);
        r = start;
    }
    if (r > start)
        HideRows(RealRowIndex(start), RealRowIndex(r - 1));
    CalcFooter(-1);
}

std::vector<std::pair<Integer, TCellGraphic*>> TAdvStringGrid::DisplayedNodes() {
    std::vector<std::pair<Integer, TCellGraphic*>> nodes;
    if (FMouseActions->HotmailRowSelect() || TotalColCount() <= 0)
        return nodes;
    // One pass over column 0's slots: rows without a record cost no lookup of their own.
    ForEachObjectSlot(0, FixedRows(), 0, RowCount() - 1, [&nodes](Integer, Integer r, TObject* slot) {
        auto* graphic = dynamic_cast<TCellGraphic*>(GraphicObjectOf(static_cast<TCellProperties*>(slot)));
        if (graphic != nullptr && graphic->CellType() == ctNode)
            nodes.emplace_back(r, graphic);
    });
    // Cells far beyond the stored rows come last; the rows are wanted in order.
    if (!std::is_sorted(nodes.begin(), nodes.end(),
                        [](const auto& x, const auto& y) { return x.first < y.first; }))
        std::sort(nodes.begin(), nodes.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    return nodes;
}

void TAdvStringGrid::ExpandAll() {
    {
        const TNodeUpdateScope update(*this);
        ExpandAllNodes();
    }
    CalcFooter(-1);
}

void TAdvStringGrid::ExpandAllNodes() {
    const std::vector<std::pair<Integer, TCellGraphic*>> nodes = DisplayedNodes();
    // Every node is marked expanded, and the hidden rows right below each contracted one (up to the
    // next displayed row, or the next node for a span of 0) are collected by their place in the store.
    // The records are mostly in row order already, so one walk along them serves every node.
    const std::vector<THiddenRow>& store = FGridItems->Rows();
    std::vector<Integer> order; // store indexes by Idx, when the store is not in that order itself
    const bool storeSorted =
        std::is_sorted(store.begin(), store.end(),
                       [](const THiddenRow& x, const THiddenRow& y) { return x.Idx() < y.Idx(); });
    if (!storeSorted) {
        order.resize(store.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&store](Integer x, Integer y) {
            return store[static_cast<size_t>(x)].Idx() < store[static_cast<size_t>(y)].Idx();
        });
    }
    auto at = [&](size_t k) { return storeSorted ? static_cast<Integer>(k) : order[k]; };
    auto idxAt = [&](size_t k) { return store[static_cast<size_t>(at(k))].Idx(); };

    std::vector<Integer> records;
    size_t next = 0;
    const Integer count = RowCount();
    for (size_t i = 0; i < nodes.size(); ++i) {
        const auto [d, node] = nodes[i];
        const bool contracted = node->CellBoolean();
        node->SetCellBoolean(false);
        if (!contracted || next >= store.size())
            continue;
        Integer n = d + 1;
        if (node->CellIndex() == 0)
            n = i + 1 < nodes.size() ? nodes[i + 1].first : count;
        const Integer from = RealRowIndex(d);
        const Integer to = RealRowIndex(n);
        while (next < store.size() && idxAt(next) <= from)
            ++next;
        for (; next < store.size() && idxAt(next) < to; ++next)
            records.push_back(at(next));
    }
    if (records.empty())
        return;
    // Nodes among the rows coming back are expanded too, since their own rows come back with them. When
    // every node counted is displayed, none is among them.
    if (static_cast<Integer>(nodes.size()) < FNumNodes) {
        for (Integer i : records) {
            const THiddenRow& record = store[static_cast<size_t>(i)];
            if (record.Count() == 0)
                continue;
            if (const auto* props = dynamic_cast<const TCellProperties*>(record.Objects(0)))
                if (auto* graphic = dynamic_cast<TCellGraphic*>(GraphicObjectOf(props)))
                    if (graphic->CellType() == ctNode)
                        graphic->SetCellBoolean(false);
        }
    }
    if (!storeSorted)
        std::sort(records.begin(), records.end());
    const TExpandScope expand(*this);
    RestoreRecords(std::move(records));
}

void TAdvStringGrid::ContractAll() {
    {
        const TNodeUpdateScope update(*this);
        // Expanding every node first brings back the rows of the nodes collapsed now. With no row
        // hidden no node has rows to bring back: the nodes inside the blocks collapsed here are set
        // right when their rows are shown again, so the rows inside the blocks need no visit.
        if (NumHiddenRows() > 0)
            ExpandAllNodes();
        // The rows of each top-level block, walking from block to block; a span of 0 still moves on,
        // to the next row. The list is written as TIntList keeps it, an integer in each slot, in one go.
        const Integer count = RowCount();
        auto forEachBlock = [&](auto&& block) {
            for (Integer r = FixedRows(); r < count;) {
                TCellGraphic* node = NodeAt(r);
                if (node == nullptr) {
                    ++r;
                    continue;
                }
                block(r, node, std::min(r + node->CellIndex() - 1, count - 1));
                r += std::max(node->CellIndex(), 1);
            }
        };
        Integer total = 0;
        forEachBlock([&](Integer r, TCellGraphic*, Integer last) { total += std::max(last - r, 0); });
        TIntList list(0, 0);
        list.SetCount(total);
        void** slots = list.List();
        Integer written = 0;
        forEachBlock([&](Integer r, TCellGraphic* node, Integer last) {
            node->SetCellBoolean(true);
            for (Integer i = r + 1; i <= last; ++i)
                slots[written++] = reinterpret_cast<void*>(static_cast<NativeInt>(i));
        });
        // The level's records keep their rows' real indexes, so the mapping and expanding find them
        // also when rows were hidden already.
        if (total > 0)
            HideRowList(&list);
    }
    CellControlsUpdate(false);
    CalcFooter(-1);
}

// ---- Parents, levels and glyphs

Integer TAdvStringGrid::GetParentRow(Integer ARow) {
    if (FNumNodes <= 0 || ARow < 0 || ARow >= RowCount())
        return -1;
    // A node looks for a node of a lower level; any other row for the nearest block around it.
    Integer level = 65535;
    Integer answer = -1;
    if (NodeAt(ARow) != nullptr) {
        level = LevelOf(ARow);
        answer = ARow;
    }
    Integer skipped = 0;
    for (Integer r = ARow; r >= FixedRows(); --r) {
        const TCellGraphic* node = NodeAt(r);
        if (node == nullptr || LevelOf(r) >= level)
            continue;
        const Integer span = node->CellIndex();
        // A contracted node's block shows only its node row.
        if (node->CellBoolean())
            skipped += span - 1;
        if (ARow < r + span - skipped)
            return r;
    }
    return answer;
}

Integer TAdvStringGrid::GetNodeSpanType(Integer ARow) {
    if (IsNode(ARow))
        return 0;
    if (ARow >= RowCount() - FFixedFooters - 1 || AssignedProps(0, ARow + 1) == nullptr ||
        LevelOf(ARow + 1) < LevelOf(ARow))
        return 1;
    return 2;
}

bool TAdvStringGrid::IsInNodeGlyph(Integer ARow, Integer X) {
    if (!FMouseActions->PreciseNodeClick())
        return true;
    const Integer level = GetNodeLevel(ARow);
    const Integer indent = FCellNode->NodeIndent();
    // How far the glyph reaches and where it starts, by the node look.
    Integer reach = 4;
    Integer start = 4;
    switch (FCellNode->NodeType()) {
    case cn3D:
        reach = 6;
        start = 0;
        break;
    case cnGlyph: {
        const bool empty = FCellNode->ExpandGlyph()->Empty();
        reach = empty ? 0 : FCellNode->ExpandGlyph()->Width() / 2;
        start = empty ? 0 : 2;
        break;
    }
    case cnLeaf:
        reach = 8;
        start = 2;
        break;
    default:
        break;
    }
    if (BiDiMode() == bdRightToLeft) {
        const Integer scrollBar =
            VisibleRowCount() < RowCount() - FixedRows() ? GetSystemMetrics(SM_CXVSCROLL) : 0;
        const Integer x = X + scrollBar;
        return Width() - 2 - level * indent - reach <= x && x < Width() - (level - 1) * indent;
    }
    return start + (level - 1) * indent < X && X < reach + level * indent;
}

// ---- Rows inside blocks

void TAdvStringGrid::InsertChildRow(Integer ARow, Integer InsertAt) {
    Integer level = 1;
    const Integer p = GetParentRow(DisplRowIndex(ARow));
    if (p != -1) {
        const Integer pr = RealRowIndex(p);
        UpdateNodeSpan(p, 1);
        UpdateSubNodeCount(p, 1);
        ExpandNode(pr);
        level = LevelOf(DisplRowIndex(pr));
        // Every ancestor's block grows too, each expanded; ancestors are followed by their real rows,
        // which expanding does not move.
        Integer ar = pr;
        Integer m = level;
        while (m > 1) {
            const Integer a = GetParentRow(DisplRowIndex(ar));
            if (a == -1 || a < FixedRows() || LevelOf(a) >= m)
                break;
            ar = RealRowIndex(a);
            UpdateNodeSpan(a, 1);
            UpdateSubNodeCount(a, 1);
            ExpandNode(ar);
            m = LevelOf(DisplRowIndex(ar));
        }
    }
    // The row's displayed place after its parents were expanded.
    const Integer d = DisplRowIndex(ARow);
    const bool belowNode = IsNode(d) && InsertAt == 0;
    if (belowNode)
        InsertAt = 1;
    const Integer at = d + InsertAt;
    // The hidden rows' stored indexes follow the insertion there.
    InsertRows(at, 1, true);
    if (belowNode) {
        for (Integer c = 0; c < TotalColCount(); ++c) {
            SetGridCell(c, d + 1, GridCells(c, d));
            SetGridCell(c, d, String());
            if (c > 0) {
                SetObjects(c, d + 1, Objects(c, d));
                SetObjects(c, d, nullptr);
            }
        }
    }
    if (p != -1 && at >= 0 && at < RowCount())
        GetCellProperties(0, at)->SetNodeLevel(level);
}

void TAdvStringGrid::RemoveChildRow(Integer ARow) {
    Integer p = GetParentRow(DisplRowIndex(ARow));
    if (p != -1) {
        const Integer level = LevelOf(p);
        Integer pr = RealRowIndex(p);
        if (GetNodeSpan(p) > 1) {
            UpdateNodeSpan(p, -1);
            UpdateSubNodeCount(p, -1);
        }
        ExpandNode(pr);
        while (LevelOf(DisplRowIndex(pr)) > 1) {
            p = GetParentRow(DisplRowIndex(pr));
            if (p == -1 || LevelOf(p) >= level || RealRowIndex(p) == pr)
                break;
            pr = RealRowIndex(p);
            if (GetNodeSpan(p) > 1) {
                UpdateNodeSpan(p, -1);
                UpdateSubNodeCount(p, -1);
            }
            ExpandNode(pr);
        }
    }
    // The row's displayed place after its parents were expanded. The removal drops the row's cell
    // controls and moves the ones below up, with the hidden rows, and lowers FMaxRowCount.
    const Integer d = DisplRowIndex(ARow);
    if (!IsHiddenRow(ARow))
        RemoveRows(d, 1);
}

void TAdvStringGrid::InsertNormalRow(Integer ARow) {
    // The hidden rows' stored indexes follow the insertion there.
    InsertRows(DisplRowIndex(ARow), 1, true);
}

void TAdvStringGrid::RemoveNormalRow(Integer ARow) {
    RemoveRows(ARow, 1);
    FMaxRowCount = std::max(FMaxRowCount - 1, RowCount());
}
