// Radio groups, radio buttons, push buttons and expand cells: adding, querying, changing and removing
// them, and the group rule of radio buttons.
#include "grid/engine/AdvGrid.h"

// ---- Shared lookups

TCellGraphic* TAdvStringGrid::CellGraphicOfKind(Integer ACol, Integer ARow, TCellType Kind) {
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    return graphic != nullptr && graphic->CellType() == Kind ? graphic : nullptr;
}

TCellGraphic* TAdvStringGrid::ButtonObject(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = GetCellGraphic(RealColIndex(ACol), ARow);
    if (graphic == nullptr || (graphic->CellType() != ctButton && graphic->CellType() != ctBitButton))
        return nullptr;
    return graphic;
}

TCellGraphic* TAdvStringGrid::ExpandObject(Integer ACol, Integer ARow) {
    if (ACol < 0 || ARow < 0)
        return nullptr;
    const TPoint base = BaseCell(ACol, ARow);
    return CellGraphicOfKind(base.X, base.Y, ctExpand);
}

// ---- Radio groups

void TAdvStringGrid::AddRadio(Integer ACol, Integer ARow, Integer DirRadio, Integer IdxRadio, TStrings* sl) {
    if (ACol < 0 || ARow < 0)
        return;
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetCellType(ctRadio);
    graphic->SetCellBitmap(sl);
    graphic->SetCellCreated(false);
    graphic->SetCellAngle(sl != nullptr ? sl->Count() : 0);
    graphic->SetCellBoolean(DirRadio != 0);
    graphic->SetCellIndex(IdxRadio);
}

TStrings* TAdvStringGrid::CreateRadio(Integer ACol, Integer ARow, Integer DirRadio, Integer IdxRadio) {
    if (ACol < 0 || ARow < 0)
        return nullptr;
    auto list = std::make_unique<TStringList>();
    AddRadio(ACol, ARow, DirRadio, IdxRadio, list.get());
    TCellGraphic* graphic = GetCellGraphic(ACol, ARow);
    graphic->SetCellCreated(true);
    graphic->SetCellAngle(0);
    return list.release();
}

bool TAdvStringGrid::GetRadioIdx(Integer ACol, Integer ARow, Integer& IdxRadio) {
    TCellGraphic* graphic = CellGraphicOfKind(ACol, ARow, ctRadio);
    if (graphic == nullptr)
        return false;
    IdxRadio = graphic->CellIndex();
    return true;
}

bool TAdvStringGrid::SetRadioIdx(Integer ACol, Integer ARow, Integer IdxRadio) {
    TCellGraphic* graphic = CellGraphicOfKind(ACol, ARow, ctRadio);
    if (graphic == nullptr)
        return false;
    graphic->SetCellIndex(IdxRadio);
    if (IdxRadio == -1)
        SetCells(ACol, ARow, String());
    RepaintCell(ACol, ARow);
    return true;
}

TStrings* TAdvStringGrid::GetRadioStrings(Integer ACol, Integer ARow) {
    if (ACol < 0 || ARow < 0)
        return nullptr;
    const TPoint base = BaseCell(ACol, ARow);
    TCellGraphic* graphic = CellGraphicOfKind(base.X, base.Y, ctRadio);
    return graphic != nullptr ? dynamic_cast<TStrings*>(graphic->CellBitmap()) : nullptr;
}

bool TAdvStringGrid::IsRadio(Integer ACol, Integer ARow) {
    return CellTypeInSet(ACol, ARow, {ctRadio});
}

void TAdvStringGrid::RemoveRadio(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctRadio);
}

bool TAdvStringGrid::CycleRadio(Integer ACol, Integer ARow, bool AskCanEdit) {
    TCellGraphic* graphic = CellGraphicOfKind(ACol, ARow, ctRadio);
    if (graphic == nullptr)
        return false;
    auto* options = dynamic_cast<TStrings*>(graphic->CellBitmap());
    // Without options there is nothing to choose and no text to write.
    if (options == nullptr || options->Count() == 0)
        return false;
    if (AskCanEdit && !FControlLook->RadioAlwaysActive()) {
        bool canEdit = true;
        CanEditCell(ACol, ARow, canEdit);
        if (!canEdit)
            return false;
    }
    const Integer chosen = graphic->CellIndex();
    Integer next = chosen >= 0 ? chosen + 1 : options->IndexOf(Cells(ACol, ARow)) + 1;
    if (next >= options->Count())
        next = 0;
    if (chosen >= -1)
        graphic->SetCellIndex(next);
    graphic->SetCellVar(next);
    SetCells(ACol, ARow, options->Strings(next));
    return false;
}

// ---- Radio buttons

void TAdvStringGrid::AddRadioButton(Integer ACol, Integer ARow, bool State) {
    AddRadioButtonGroup(ACol, ARow, rgCol, State);
}

void TAdvStringGrid::AddRadioButtonGroup(Integer ACol, Integer ARow, TRadioButtonGroup Group, bool State) {
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() + FNumHidden || ARow >= RowCount() + NumHiddenRows())
        throw Exception(u"Invalid cell");
    CreateCellGraphic(ACol, ARow)->SetRadioButton(State, true, haBeforeText, CheckBoxVAlign(), Group);
}

void TAdvStringGrid::AddRadioButtonColumn(Integer ACol) {
    for (Integer r = FixedRows(); r < RowCount(); ++r)
        AddRadioButton(ACol, r, false);
}

void TAdvStringGrid::AddRadioButtonGroupColumn(Integer ACol) {
    for (Integer r = FixedRows(); r < RowCount(); ++r)
        AddRadioButtonGroup(ACol, r, rgRow, false);
}

void TAdvStringGrid::RemoveRadioButton(Integer ACol, Integer ARow) {
    if (RemoveCellGraphicOfType(ACol, ARow, ctRadioButton))
        RepaintCell(ACol, ARow);
}

void TAdvStringGrid::RemoveRadioButtonColumn(Integer ACol) {
    for (Integer r = FixedRows(); r < RowCount(); ++r)
        if (HasRadioButton(ACol, r))
            RemoveRadioButton(ACol, r);
}

bool TAdvStringGrid::HasRadioButton(Integer ACol, Integer ARow) {
    return CellTypeInSet(ACol, ARow, {ctRadioButton});
}

bool TAdvStringGrid::HasRadioButtonGroup(Integer ACol, Integer ARow, TRadioButtonGroup Group) {
    if (!HasRadioButton(ACol, ARow))
        return false;
    const TPoint base = BaseCell(ACol, ARow);
    return GetCellGraphic(base.X, base.Y)->CellAngle() == Group;
}

bool TAdvStringGrid::IsRadioButtonChecked(Integer ACol, Integer ARow) {
    if (!HasRadioButton(ACol, ARow))
        return false;
    const TPoint base = BaseCell(ACol, ARow);
    return GetCellGraphic(base.X, base.Y)->CellBoolean();
}

bool TAdvStringGrid::SetRadioButtonState(Integer ACol, Integer ARow, bool State) {
    if (!HasRadioButton(ACol, ARow))
        return false;
    const TPoint base = BaseCell(ACol, ARow);
    TCellGraphic* graphic = GetCellGraphic(base.X, base.Y);
    if (graphic->CellBoolean() != State) {
        graphic->SetCellBoolean(State);
        RepaintCell(ACol, ARow);
    }
    return true;
}

void TAdvStringGrid::SetRadioButtonColumnIndex(Integer ACol, Integer Index) {
    for (Integer r = FixedRows(); r < RowCount(); ++r)
        SetRadioButtonState(ACol, r, r == Index);
}

Integer TAdvStringGrid::GetRadioButtonColumnIndex(Integer ACol) {
    for (Integer r = FixedRows(); r < RowCount(); ++r)
        if (IsRadioButtonChecked(ACol, r))
            return r;
    return -1;
}

void TAdvStringGrid::UncheckRadioRun(Integer ACol, Integer ARow, Integer dx, Integer dy) {
    for (Integer c = ACol, r = ARow; c >= 0 && r >= 0 && c < ColCount() && r < RowCount(); c += dx, r += dy) {
        TCellGraphic* graphic = CellGraphicOfKind(c, r, ctRadioButton);
        if (graphic == nullptr)
            return;
        if (graphic->CellBoolean()) {
            graphic->SetCellBoolean(false);
            RepaintCell(c, r);
        }
    }
}

bool TAdvStringGrid::ToggleRadioButton(Integer ACol, Integer ARow, bool AskCanEdit) {
    TCellGraphic* graphic = CellGraphicOfKind(ACol, ARow, ctRadioButton);
    if (graphic == nullptr)
        return false;
    if (AskCanEdit && !FControlLook->CheckAlwaysActive()) {
        bool canEdit = true;
        CanEditCell(ACol, ARow, canEdit);
        if (!canEdit)
            return false;
    }
    if (graphic->CellBoolean())
        return true;
    graphic->SetCellBoolean(true);
    RepaintCell(ACol, ARow);
    // The neighbours are unchecked whatever their own group: a run of buttons is one group.
    switch (graphic->CellAngle()) {
    case rgCol:
        UncheckRadioRun(ACol, ARow + 1, 0, 1);
        UncheckRadioRun(ACol, ARow - 1, 0, -1);
        break;
    case rgRow:
        UncheckRadioRun(ACol + 1, ARow, 1, 0);
        UncheckRadioRun(ACol - 1, ARow, -1, 0);
        break;
    default:
        break;
    }
    return true;
}

// ---- Push buttons

void TAdvStringGrid::AddButton(Integer ACol, Integer ARow, Integer bw, Integer bh, const String& Caption,
                               TCellHAlign hal, TCellVAlign val) {
    if (ACol < 0 || ARow < 0)
        return;
    CreateCellGraphic(ACol, ARow)->SetButton(bw, bh, Caption, hal, val);
}

void TAdvStringGrid::AddBitButton(Integer ACol, Integer ARow, Integer bw, Integer bh, const String& Caption,
                                  TBitmap* Glyph, TCellHAlign hal, TCellVAlign val) {
    if (ACol < 0 || ARow < 0)
        return;
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetBitButton(bw, bh, Caption, Glyph, hal, val);
    graphic->SetCellCreated(false);
}

TBitmap* TAdvStringGrid::CreateBitButton(Integer ACol, Integer ARow, Integer bw, Integer bh,
                                         const String& Caption, TCellHAlign hal, TCellVAlign val) {
    if (ACol < 0 || ARow < 0)
        return nullptr;
    auto glyph = std::make_unique<TBitmap>();
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetBitButton(bw, bh, Caption, glyph.get(), hal, val);
    graphic->SetCellCreated(true);
    return glyph.release();
}

void TAdvStringGrid::SetButtonText(Integer ACol, Integer ARow, const String& Caption) {
    TCellGraphic* graphic = ButtonObject(ACol, ARow);
    if (graphic == nullptr)
        return;
    graphic->SetCellText(Caption);
    RepaintCell(RealColIndex(ACol), ARow);
}

String TAdvStringGrid::GetButtonText(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = ButtonObject(ACol, ARow);
    return graphic != nullptr ? graphic->CellText() : String();
}

void TAdvStringGrid::PushButton(Integer ACol, Integer ARow, bool push) {
    TCellGraphic* graphic = ButtonObject(ACol, ARow);
    if (graphic == nullptr)
        return;
    graphic->SetCellBoolean(push);
    RepaintCell(RealColIndex(ACol), ARow);
}

bool TAdvStringGrid::HasButton(Integer ACol, Integer ARow) {
    return CellTypeInSet(ACol, ARow, {ctButton, ctBitButton});
}

void TAdvStringGrid::RemoveButton(Integer ACol, Integer ARow) {
    if (!RemoveCellGraphicOfType(ACol, ARow, ctButton))
        RemoveCellGraphicOfType(ACol, ARow, ctBitButton);
}

void TAdvStringGrid::RemoveBitButton(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctBitButton);
}

void TAdvStringGrid::RemoveAllButtons() {
    for (Integer r = 0; r < RowCount(); ++r)
        for (Integer c = 0; c < ColCount(); ++c)
            if (HasButton(c, r))
                RemoveButton(c, r);
}

// ---- Expand cells

void TAdvStringGrid::AddExpand(Integer ACol, Integer ARow, Integer ExpandedHeight) {
    if (ACol < 0 || ARow < 0)
        return;
    const Integer collapsed = ARow < RowCount() ? RowHeights(ARow) : DefaultRowHeight();
    TCellGraphic* graphic = CreateCellGraphic(ACol, ARow);
    graphic->SetCellType(ctExpand);
    graphic->SetCellVar(0);
    graphic->SetCellAngle(ExpandedHeight);
    graphic->SetCellIndex(collapsed);
}

void TAdvStringGrid::RemoveExpand(Integer ACol, Integer ARow) {
    RemoveCellGraphicOfType(ACol, ARow, ctExpand);
}

bool TAdvStringGrid::HasExpand(Integer ACol, Integer ARow) {
    return CellTypeInSet(ACol, ARow, {ctExpand});
}

bool TAdvStringGrid::ToggleExpand(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = ExpandObject(ACol, ARow);
    if (graphic == nullptr)
        return false;
    const bool expanded = graphic->CellVar() == 0;
    graphic->SetCellVar(expanded ? 1 : 0);
    return expanded;
}

bool TAdvStringGrid::GetExpandState(Integer ACol, Integer ARow) {
    TCellGraphic* graphic = ExpandObject(ACol, ARow);
    return graphic != nullptr && graphic->CellVar() != 0;
}

Integer TAdvStringGrid::GetExpandHeight(Integer ACol, Integer ARow, bool Expanded) {
    TCellGraphic* graphic = ExpandObject(ACol, ARow);
    if (graphic == nullptr)
        return DefaultRowHeight();
    return Expanded ? graphic->CellAngle() : graphic->CellIndex();
}

TRect TAdvStringGrid::GetExpandButtonRect(Integer ACol, Integer ARow) {
    if (!HasExpand(ACol, ARow))
        return TRect(0, 0, 0, 0);
    const TRect R = CellRect(DisplColIndex(ACol), ARow);
    return TRect(R.Right - 13, R.Top + 2, R.Right - 2, R.Top + 13);
}
