// Ending an edit: the special editor's value goes back into the cell through one route and the editor
// hides; Escape's cancel puts the cached text back; the editor set-up event; the click and sort events.
#include "grid/engine/AdvGrid.h"
#include "platform/rtl/FormatSettings.h"

void TAdvStringGrid::EndCellEditor(Integer ACol, Integer ARow) {
    if (ComponentState().Contains(csDestroying))
        return;
    FSpecialEditor = false;
    FBlockKill = true;
    const Integer C = RealColIndex(ACol);
    FStartEditChar = 0;
    // The flags go whatever the commit does, so that a failed write leaves no commit running.
    struct CommitEnd {
        TAdvStringGrid* grid;
        ~CommitEnd() {
            grid->FBlockKill = false;
            grid->FEditActive = false;
        }
    } commitEnd{this};

    switch (FEditControlType) {
    case edCustom:
        if (FControlLook->DropDownAlwaysVisible())
            DoGetEditorTypeFixed(C, ARow, FEditControlType);
        // FIXME: edit links are not activated yet, so a link has no value to write back.
        break;
    case edSpinEdit:
    case edFloatSpinEdit:
    case edTimeSpinEdit:
    case edDateSpinEdit:
        EndSpinEditor(C, ARow);
        break;
    default:
        // The text kinds have no special editor; edDataCheckBox shows none.
        break;
    }

    if (FEditControlType != edNormal && FEditControlType != edCapital && FEditControlType != edValidChars &&
        FEditActive) {
        // Cleared first: the edit-done report ends the edit, which comes back here.
        FEditActive = false;
        EditDonePost(C, ARow);
    }
}

void TAdvStringGrid::RestoreCellCache() {
    SetCells(RealColIndex(Col()), Row(), FCellCache);
}

void TAdvStringGrid::SetEditTextReal(Integer ACol, Integer ARow, const String& Value) {
    SetEditText(DisplColIndex(ACol), ARow, Value);
    SetCells(ACol, ARow, Value);
}

void TAdvStringGrid::HideCellEdit() {
    EndCellEditor(Col(), Row());
}

void TAdvStringGrid::DoGetEditorProp(Integer ACol, Integer ARow, TEditLink* AEditLink) {
    if (OnGetEditorProp)
        OnGetEditorProp(this, ACol, ARow, AEditLink);
}

// ---- The long time format of a time editor's commit

TLongTimeFormatOverride::TLongTimeFormatOverride(const String& Format) {
    if (Format.empty())
        return;
    FSaved = FormatSettings.LongTimeFormat;
    FormatSettings.LongTimeFormat = Format;
    FActive = true;
}

TLongTimeFormatOverride::~TLongTimeFormatOverride() {
    if (FActive)
        FormatSettings.LongTimeFormat = FSaved;
}

void TAdvStringGrid::DoCheckBoxClick(Integer ACol, Integer ARow, bool State) {
    if (OnCheckBoxClick)
        OnCheckBoxClick(this, ACol, ARow, State);
}

void TAdvStringGrid::DoClickCell(Integer ARow, Integer ACol) {
    if (OnClickCell)
        OnClickCell(this, ARow, ACol);
}

void TAdvStringGrid::DoClickSort(Integer ACol) {
    if (OnClickSort)
        OnClickSort(this, ACol);
}
