// The grid's special in-place editors: bringing the one of the cell's kind up over the cell, and the
// rows the editing appends.
#include "grid/engine/AdvGrid.h"

TAdvStringGrid::TEditorPlace TAdvStringGrid::SpecialEditorPlace(Integer ACol, Integer ARow) {
    TEditorPlace place;
    place.R = CellRect(ACol, ARow);
    if (UseRightToLeftAlignment())
        place.R.Left += 1;
    place.L = place.R.Left;
    place.T = place.R.Top;
    place.W = place.R.Right - place.R.Left - 1;
    place.H = place.R.Bottom - place.R.Top - 1;
    TCanvas* canvas = Canvas();
    TGridDrawState state;
    TColor colorTo = clNone;
    TColor mirrorColor = clNone;
    TColor mirrorColorTo = clNone;
    TAlignment hAlign = taLeftJustify;
    TVAlignment vAlign = vtaTop;
    bool wordWrap = FWordWrapEx;
    TCellGradientDirection direction = GradientVertical;
    GetVisualProperties(ACol, Row(), state, false, false, true, canvas->Brush(), colorTo, mirrorColor,
                        mirrorColorTo, canvas->Font(), hAlign, vAlign, wordWrap, direction);
    place.C = canvas->Brush()->Color() == clNone ? Color() : canvas->Brush()->Color();
    place.F = canvas->Font();
    place.S = GetEditText(ACol, ARow);
    return place;
}

void TAdvStringGrid::PostStartChar(TWinControl* Editor) {
    if (FStartEditChar != 0 && Editor != nullptr && Editor->HandleAllocated())
        PostMessageW(Editor->WindowHandle(), WM_CHAR, static_cast<WPARAM>(FStartEditChar), 0);
}

void TAdvStringGrid::ShowSpecialEditor(Integer ACol, Integer ARow) {
    FEditing = true;
    FSpecialEditor = true;
    FEditActive = true;
    SetGridState(gsNormal);
    EditCtrl = nullptr;
    // The edit link reopens its editor while the last validation refused, so edCustom keeps the flag.
    if (FEditControlType != edCustom)
        FLastValidation = true;
    // Each kind's branch places its editor from SpecialEditorPlace(ACol, ARow) and ends with
    // PostStartChar where the kind takes the start character.
    switch (FEditControlType) {
    case edCustom:
        // FIXME: edit links are not activated yet; without a link nothing happens, as for any grid.
        break;
    case edSpinEdit:
    case edFloatSpinEdit:
    case edTimeSpinEdit:
    case edDateSpinEdit:
        ShowSpinEditor(ACol, ARow);
        break;
    default:
        // edDataCheckBox shows no editor: edit mode stays on until the edit ends.
        break;
    }
    FStartEditChar = 0;
}
