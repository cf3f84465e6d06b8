// Outline nodes: collapsing and expanding rows under a node.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::ExpandAll() {}

void TAdvStringGrid::RemoveAllNodes() {}

Integer TAdvStringGrid::GetParentRow(Integer ARow) {
    auto nodeAt = [this](Integer r) -> TCellGraphic* {
        TCellGraphic* graphic = r >= 0 ? GetCellGraphic(0, r) : nullptr;
        return graphic != nullptr && graphic->CellType() == ctNode ? graphic : nullptr;
    };
    auto levelOf = [this](Integer r) {
        const TCellProperties* record = PeekCellProperties(0, r);
        return record != nullptr ? record->NodeLevel() : 0;
    };
    if (ARow < 0 || ARow >= RowCount())
        return -1;
    // A node looks for a node of a lower level; any other row for the nearest block around it.
    Integer level = 65535;
    Integer answer = -1;
    if (nodeAt(ARow) != nullptr) {
        level = levelOf(ARow);
        answer = ARow;
    }
    // FIXME: the grid does not count its nodes yet, so a grid without any still walks up to the fixed
    // rows.
    Integer skipped = 0;
    for (Integer r = ARow; r >= FixedRows(); --r) {
        TCellGraphic* node = nodeAt(r);
        if (node == nullptr || levelOf(r) >= level)
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
