// Check boxes in cells: adding and removing them, reading and setting their state (also in hidden rows),
// toggling with the group check of outline nodes.
#include "grid/engine/AdvGrid.h"

namespace {

const TCellTypes CheckKinds = {ctCheckBox, ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox, ctTriStateCheckBox};
const TCellTypes TextKinds = {ctDataCheckBox, ctVirtCheckBox, ctRowCheckBox};

} // namespace

bool IsDataCellType(TAdvStringGrid* grid, Integer ACol, Integer ARow) {
    return grid->CellTypeInSet(ACol, ARow, {ctDataCheckBox, ctDataImage, ctVirtCheckBox, ctRowCheckBox});
}

TCellVAlign TAdvStringGrid::CheckBoxVAlign() const {
    switch (FVAlignment) {
    case vtaCenter:
        return vaCenter;
    case vtaBottom:
        return vaBottom;
    default:
        return vaTop;
    }
}

void TAdvStringGrid::AddCheckBox(Integer ACol, Integer ARow, bool State, bool Data) {
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() + FNumHidden || ARow >= RowCount() + NumHiddenRows())
        throw Exception(u"Invalid cell");
    CreateCellGraphic(ACol, ARow)->SetCheckBox(State, Data, true, haBeforeText, CheckBoxVAlign());
    if (!Data)
        return;
    // The stored texts, not the events': a text that already means one of the states keeps it.
    const String text = Cells(ACol, ARow);
    if (text != FCheckTrue && text != FCheckFalse)
        SetCells(ACol, ARow, State ? FCheckTrue : FCheckFalse);
}

void TAdvStringGrid::AddCheckBox(Integer ACol, Integer ARow, TCheckBoxState State) {
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() + FNumHidden || ARow >= RowCount() + NumHiddenRows())
        throw Exception(u"Invalid cell");
    CreateCellGraphic(ACol, ARow)->SetCheckBox(State, true, haBeforeText, CheckBoxVAlign());
}

void TAdvStringGrid::AddCheckBoxColumn(Integer ACol, bool DefaultState, bool DataCheckBox) {
    const Integer first = FMouseActions->CheckAllCheck() ? 0 : FixedRows();
    for (Integer r = first; r <= RowCount() - FFixedFooters - 1; ++r) {
        const TCellType rowKind = GetCellType(0, r);
        if (rowKind == ctSummary)
            continue;
        if (rowKind == ctNode)
            AddCheckBox(ACol, r, BoolToCheckBoxState(DefaultState));
        else
            AddCheckBox(ACol, r, DefaultState, DataCheckBox);
    }
}

void TAdvStringGrid::AddTriStateCheckBoxColumn(Integer ACol, TCheckBoxState state) {
    const Integer first = FMouseActions->CheckAllCheck() ? 0 : FixedRows();
    for (Integer r = first; r < RowCount(); ++r)
        AddCheckBox(ACol, r, state);
}

void TAdvStringGrid::RemoveCheckBox(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic == nullptr ||
        !TCellTypes{ctCheckBox, ctDataCheckBox, ctTriStateCheckBox}.Contains(graphic->CellType()))
        return;
    RemoveCellGraphic(ACol, ARow);
    RepaintCell(ACol, ARow);
}

void TAdvStringGrid::RemoveCheckBoxColumn(Integer ACol) {
    const Integer first = FMouseActions->CheckAllCheck() ? 0 : FixedRows();
    for (Integer r = first; r < RowCount(); ++r)
        if (HasCheckBox(ACol, r))
            RemoveCheckBox(ACol, r);
}

bool TAdvStringGrid::HasCheckBox(Integer ACol, Integer ARow) {
    return CellTypeInSet(ACol, ARow, CheckKinds);
}

bool TAdvStringGrid::HasDataCheckBox(Integer ACol, Integer ARow) {
    return CellTypeInSet(ACol, ARow, TextKinds);
}

bool TAdvStringGrid::IsDataCheckBoxColumn(Integer ACol) {
    const Integer first = FixedRows();
    return first + 1 < RowCount() && HasDataCheckBox(ACol, first) && HasDataCheckBox(ACol, first + 1);
}

bool TAdvStringGrid::IsClickControlCell(Integer ACol, Integer ARow) {
    return CellTypeInSet(ACol, ARow,
                         {ctCheckBox, ctDataCheckBox, ctRadio, ctButton, ctVirtCheckBox, ctRowCheckBox,
                          ctRadioButton, ctTriStateCheckBox});
}

TCellGraphic* TAdvStringGrid::CheckBoxObject(Integer ACol, Integer ARow, bool& ViaRecord) {
    ViaRecord = false;
    if (ACol < 0 || ARow < 0)
        return nullptr;
    if (NumHiddenRows() > 0) {
        // The real row's record, wherever the row is: the grid's slots or the hidden-row store.
        if (auto* record = dynamic_cast<TCellProperties*>(PeekObjectsEx(ACol, ARow))) {
            ViaRecord = true;
            return dynamic_cast<TCellGraphic*>(GraphicObjectOf(record));
        }
    }
    return GetCellGraphic(ACol, ARow);
}

String TAdvStringGrid::CheckBoxText(Integer ACol, Integer ARow, bool ViaRecord) {
    return ViaRecord ? GetCellsEx(ACol, ARow) : Cells(ACol, ARow);
}

bool TAdvStringGrid::GetCheckBoxState(Integer ACol, Integer ARow, TCheckBoxState& state) {
    // A narrowed-down grid reads as any grid with hidden rows: the state is where the row's box keeps it.
    if (NumHiddenRows() > 0 && ACol == 0 && FMouseActions->HotmailRowSelect()) {
        state = BoolToCheckBoxState(GetRowSelect(ARow));
        return true;
    }
    bool viaRecord = false;
    TCellGraphic* graphic = CheckBoxObject(ACol, ARow, viaRecord);
    if (graphic == nullptr)
        return false;
    // Without a record of its own the real row holds no box of its own kind: only the text-kept kinds
    // are read from the displayed position.
    const bool fallback = NumHiddenRows() > 0 && !viaRecord;
    switch (graphic->CellType()) {
    case ctCheckBox:
        if (fallback)
            return false;
        state = BoolToCheckBoxState(graphic->CellBoolean());
        return true;
    case ctTriStateCheckBox:
        if (fallback)
            return false;
        state = graphic->CellCheckBoxState();
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        String checkTrue;
        GetCheckTrue(ACol, ARow, checkTrue);
        state = BoolToCheckBoxState(CheckBoxText(ACol, ARow, viaRecord) == checkTrue);
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        state = BoolToCheckBoxState(GetRowSelect(ARow));
        return true;
    default:
        return false;
    }
}

bool TAdvStringGrid::GetCheckBoxState(Integer ACol, Integer ARow, bool& state) {
    TCheckBoxState read = cbUnchecked;
    if (!GetCheckBoxState(ACol, ARow, read))
        return false;
    state = read == cbChecked;
    return true;
}

bool TAdvStringGrid::IsChecked(Integer ACol, Integer ARow) {
    bool state = false;
    return GetCheckBoxState(ACol, ARow, state) && state;
}

bool TAdvStringGrid::SetCheckBoxState(Integer ACol, Integer ARow, bool State) {
    bool viaRecord = false;
    TCellGraphic* graphic = CheckBoxObject(ACol, ARow, viaRecord);
    if (graphic == nullptr)
        return false;
    switch (graphic->CellType()) {
    case ctCheckBox:
        graphic->SetCellBoolean(State);
        RepaintCell(ACol, DisplRowIndex(ARow));
        return true;
    case ctTriStateCheckBox:
        graphic->SetCellCheckBoxState(BoolToCheckBoxState(State));
        RepaintCell(ACol, DisplRowIndex(ARow));
        return true;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        String text;
        if (State)
            GetCheckTrue(ACol, ARow, text);
        else
            GetCheckFalse(ACol, ARow, text);
        SetCellsEx(ACol, ARow, text);
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        SetRowSelect(ARow, State);
        return true;
    default:
        return false;
    }
}

bool TAdvStringGrid::SetCheckBoxState(Integer ACol, Integer ARow, TCheckBoxState State) {
    bool viaRecord = false;
    TCellGraphic* graphic = CheckBoxObject(ACol, ARow, viaRecord);
    if (graphic == nullptr || graphic->CellType() != ctTriStateCheckBox)
        return false;
    graphic->SetCellCheckBoxState(State);
    RepaintCell(ACol, DisplRowIndex(ARow));
    return true;
}

bool TAdvStringGrid::SetCheckBoxStateNotify(Integer ACol, Integer ARow, bool State) {
    const Integer real = NumHiddenRows() > 0 ? RealRowIndex(ARow) : ARow;
    bool viaRecord = false;
    TCellGraphic* graphic = CheckBoxObject(ACol, real, viaRecord);
    if (graphic == nullptr)
        return false;
    switch (graphic->CellType()) {
    case ctCheckBox:
        if (graphic->CellBoolean() != State) {
            graphic->SetCellBoolean(State);
            DoCheckBoxChange(ACol, ARow, State);
            RepaintCell(ACol, ARow);
        }
        return true;
    case ctTriStateCheckBox:
        graphic->SetCellCheckBoxState(BoolToCheckBoxState(State));
        return false;
    case ctDataCheckBox:
    case ctVirtCheckBox: {
        String checkTrue, checkFalse;
        GetCheckTrue(ACol, ARow, checkTrue);
        GetCheckFalse(ACol, ARow, checkFalse);
        const bool before = GetCellsEx(ACol, real) == checkTrue;
        SetCellsEx(ACol, real, State ? checkTrue : checkFalse);
        if (before != State)
            DoCheckBoxChange(ACol, ARow, State);
        return true;
    }
    case ctRowCheckBox:
        if (ACol != 0)
            return false;
        if (GetRowSelect(ARow) != State) {
            SetRowSelect(ARow, State);
            DoCheckBoxChange(ACol, ARow, State);
        }
        return true;
    default:
        return false;
    }
}

void TAdvStringGrid::CheckAll(Integer ACol) {
    for (Integer r = FixedRows(); r < RowCount(); ++r)
        SetCheckBoxStateNotify(ACol, r, true);
    if (FNumHidden > 0)
        InvalidateCol(DisplColIndex(ACol));
}

void TAdvStringGrid::UnCheckAll(Integer ACol) {
    for (Integer r = FixedRows(); r < RowCount(); ++r)
        SetCheckBoxStateNotify(ACol, r, false);
}

bool TAdvStringGrid::ToggleCheck(Integer ACol, Integer ARow, bool AskCanEdit) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    if (graphic == nullptr || !CheckKinds.Contains(graphic->CellType()))
        return false;

    // The outline around the row, for the group check after the toggle.
    const bool autoCheck = FGrouping->AutoCheckGroup() && ARow >= FixedRows();
    bool isNode = false;
    bool contracted = false;
    Integer span = 0;
    Integer parent = -1;
    if (autoCheck) {
        TCellGraphic* node = GetCellGraphic(0, ARow);
        isNode = node != nullptr && node->CellType() == ctNode;
        if (isNode) {
            span = node->CellIndex();
            contracted = node->CellBoolean();
        } else {
            parent = GetParentRow(ARow);
            TCellGraphic* parentNode = parent >= 0 ? GetCellGraphic(0, parent) : nullptr;
            if (parentNode != nullptr && parentNode->CellType() == ctNode)
                span = parentNode->CellIndex();
            else
                parent = -1;
        }
    }

    if (AskCanEdit && !FControlLook->CheckAlwaysActive()) {
        bool canEdit = true;
        CanEditCell(ACol, ARow, canEdit);
        if (!canEdit)
            return false;
    }

    bool checked = false;
    switch (graphic->CellType()) {
    case ctCheckBox:
        graphic->SetCellBoolean(!graphic->CellBoolean());
        checked = graphic->CellBoolean();
        break;
    case ctTriStateCheckBox: {
        const TCheckBoxState state = graphic->CellCheckBoxState();
        TCheckBoxState next;
        if (isNode)
            next = state == cbChecked ? cbUnchecked : cbChecked;
        else
            next = state == cbUnchecked ? cbGrayed : state == cbGrayed ? cbChecked : cbUnchecked;
        graphic->SetCellCheckBoxState(next);
        checked = next == cbChecked;
        break;
    }
    case ctRowCheckBox: {
        // The row check box is the row's selection: toggling selects or unselects the row and leaves
        // the cell text alone.
        const Integer real = RealRowIndex(ARow);
        checked = !GetRowSelect(real);
        SetRowSelect(real, checked);
        break;
    }
    default: {
        String checkTrue, checkFalse;
        GetCheckTrue(ACol, ARow, checkTrue);
        GetCheckFalse(ACol, ARow, checkFalse);
        checked = Cells(ACol, ARow) != checkTrue;
        SetCells(ACol, ARow, checked ? checkTrue : checkFalse);
        break;
    }
    }

    RepaintCell(ACol, ARow);
    DoCheckBoxChange(ACol, ARow, checked);

    if (autoCheck && isNode) {
        // A contracted node's children are hidden and follow it in the real row order.
        const Integer realNode = RealRowIndex(ARow);
        for (Integer e = 1; e < span; ++e)
            SetCheckBoxState(ACol, contracted ? realNode + e : RealRowIndex(ARow + e), checked);
    } else if (autoCheck && parent >= 0) {
        bool first = false;
        GetCheckBoxState(ACol, RealRowIndex(parent + 1), first);
        bool differs = false;
        for (Integer e = 1; e < span && !differs; ++e) {
            bool state = first;
            GetCheckBoxState(ACol, RealRowIndex(parent + e), state);
            differs = state != first;
        }
        SetCheckBoxState(ACol, RealRowIndex(parent), differs ? cbGrayed : BoolToCheckBoxState(first));
    }

    if (UndoRedo() != nullptr) {
        // The texts in the direction of the toggle, so that undoing a data check box's toggle writes
        // back the text it had. Undoing a plain box's toggle writes the text only: its state is not kept
        // there.
        String checkTrue, checkFalse;
        GetCheckTrue(ACol, ARow, checkTrue);
        GetCheckFalse(ACol, ARow, checkFalse);
        if (checked)
            UndoRedo()->RegisterChange(ACol, ARow, checkFalse, checkTrue);
        else
            UndoRedo()->RegisterChange(ACol, ARow, checkTrue, checkFalse);
    }
    return true;
}

void TAdvStringGrid::DoCheckBoxChange(Integer ACol, Integer ARow, bool State) {
    if (OnCheckBoxChange)
        OnCheckBoxChange(this, ACol, ARow, State);
}

bool TAdvStringGrid::IsInCheckBox(Integer ACol, Integer ARow, Integer, Integer) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    return graphic != nullptr &&
           (CheckKinds.Contains(graphic->CellType()) || graphic->CellType() == ctRadioButton);
}
