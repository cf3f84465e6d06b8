// Whether and with which editor a cell is edited: the grid's answer to the framework's CanEditShow, the
// editability, fixed and password tests, starting an edit from code, and the in-place combo's list.
#include "grid/engine/AdvGrid.h"
#include "grid/view/AdvGridInplaceEdit.h"
#include "platform/rtl/Consts.h"

// ---- The editor kind

TEditorType TAdvStringGrid::EffectiveEditorKind(TEditorType Kind) const {
    switch (Kind) {
    // FIXME: these kinds' editors are not built yet, so their cells are edited as text: combo
    // (edComboEdit, edComboList), edit with button (edEditBtn, edNumericEditBtn, edFloatEditBtn,
    // edMaskEditBtn), unit edit (edUnitEditBtn, edNumericUnitEditBtn, edFloatUnitEditBtn), date and time
    // (edDateEdit, edDateEditUpDown, edTimeEdit, edDateTimeEdit), check box (edCheckBox), button
    // (edButton), rich text (edRichEdit) and the drop-downs (edTrackbarDropDown .. edControlDropDown).
    // Each takes its kind off this list with its branches in ShowSpecialEditor and EndCellEditor.
    case edComboEdit:
    case edComboList:
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn:
    case edMaskEditBtn:
    case edUnitEditBtn:
    case edNumericUnitEditBtn:
    case edFloatUnitEditBtn:
    case edDateEdit:
    case edDateEditUpDown:
    case edTimeEdit:
    case edDateTimeEdit:
    case edCheckBox:
    case edButton:
    case edRichEdit:
    case edTrackbarDropDown:
    case edMemoDropDown:
    case edCalculatorDropDown:
    case edTimePickerDropDown:
    case edDetailDropDown:
    case edGridDropDown:
    case edColorPickerDropDown:
    case edImagePickerDropDown:
    case edAdvGridDropDown:
    case edControlDropDown:
        return edNormal;
    default:
        return Kind;
    }
}

// ---- CanEditShow

bool TAdvStringGrid::CanEditShow() {
    if (FValidating || (!FEditMode && FEnterEndCell == TPoint(Col(), Row())))
        return false;
    bool result = TBaseGrid::CanEditShow();
    if (IsDesigning())
        return result;
    const TPoint base = BaseCell(RealColIndex(Col()), Row());
    // Check boxes, radio buttons and buttons change by clicks, never through an editor.
    if (result && !FEditMode && IsClickControlCell(base.X, base.Y))
        return false;
    if (result && !FEditMode) {
        FNoEditChange = true;
        FCellCache = GetCurrentCell();
        FEditControlType = FDefaultEditor;
        DoGetEditorType(base.X, base.Y, FEditControlType);
        if (FEditControlType == edNone)
            return false;
        FEditControlType = EffectiveEditorKind(FEditControlType);
        FEditMode = true;
        // Validation compares against the cell as the edit starts, however the edit was started.
        StoreOldCell(Col(), Row());
        // A text kind goes on in the framework's editor, which hands every change of its text to the
        // cell by itself: ShowEditProcess is left as the application set it, so that a change is not
        // stored twice.
        if (!IsTextEditorKind(FEditControlType)) {
            const TPoint displayed = BaseCell(Col(), Row());
            ShowSpecialEditor(displayed.X, displayed.Y);
            FEntered = true;
            if (FFocusHelper->Enabled())
                ShowFocusWindow(CellRect(Col(), Row()));
            return false;
        }
    } else if (result && FEditMode && !IsTextEditorKind(FEditControlType)) {
        // While a special editor (or a kind that shows none) edits the cell, the framework's text editor
        // stays hidden whoever asks again.
        return false;
    }
    if (result) {
        FEntered = true;
        FEditing = true;
        if (FFocusHelper->Enabled())
            ShowFocusWindow(CellRect(Col(), Row()));
    }
    return result;
}

TInplaceEdit* TAdvStringGrid::CreateEditor() {
    return new TAdvInplaceEdit(this);
}

// ---- Editability

bool TAdvStringGrid::IsEditable(Integer ACol, Integer ARow) {
    if (!Options().Contains(goEditing) && !FMouseActions->RangeSelectAndEdit() && !FEditDisable)
        return false;
    return IsCellEditable(ACol, ARow);
}

bool TAdvStringGrid::IsCellEditable(Integer ACol, Integer ARow) {
    const Integer realCol = RealColIndex(ACol);
    TPoint cell(realCol, ARow);
    if (IsMergedCell(realCol, ARow) && !IsBaseCell(realCol, ARow))
        cell = BaseCell(realCol, ARow);
    bool canEdit = true;
    bool fixed = false;
    CanEditCell(cell.X, cell.Y, canEdit);
    GetIsFixedCell(cell.X, cell.Y, fixed);
    return canEdit && !fixed;
}

bool TAdvStringGrid::IsPasswordCell(Integer ACol, Integer ARow) {
    bool isPassword = false;
    DoIsPasswordCell(ACol, ARow, isPassword);
    return isPassword;
}

bool TAdvStringGrid::EditorWantsTab() {
    return Options().Contains(goTabs) || static_cast<bool>(OnCellValidate);
}

void TAdvStringGrid::ShowCellEdit() {
    if (!Options().Contains(goEditing) && FMouseActions->RangeSelectAndEdit())
        SetOptions(Options() + TGridOptions{goEditing});
    if (HandleAllocated())
        SendMessageW(WindowHandle(), WM_KEYDOWN, VK_F2, 0);
}

void TAdvStringGrid::DisableEditing() {
    SetOptions(Options() - TGridOptions{goEditing});
}

// ---- The in-place combo's list

void TAdvStringGrid::ClearComboString() {
    EditCombo->Items()->Clear();
}

void TAdvStringGrid::AddComboString(const String& S) {
    EditCombo->Items()->Add(S);
}

void TAdvStringGrid::AddComboStringObject(const String& S, TObject* AObject) {
    EditCombo->Items()->AddObject(S, AObject);
}

bool TAdvStringGrid::RemoveComboString(const String& S) {
    const Integer index = EditCombo->Items()->IndexOf(S);
    if (index < 0)
        return false;
    EditCombo->Items()->Delete(index);
    return true;
}

void TAdvStringGrid::SetComboSelection(Integer Index) {
    FComboIdx = Index;
}

bool TAdvStringGrid::SetComboSelectionString(const String& S) {
    const Integer index = EditCombo->Items()->IndexOf(S);
    if (index < 0)
        return false;
    FComboIdx = index;
    return true;
}

Integer TAdvStringGrid::GetComboCount() {
    return EditCombo->Items()->Count();
}

void TAdvStringGrid::SetComboIndex(Integer ACol, Integer ARow, Integer Index) {
    DoGetEditorProp(ACol, ARow, nullptr);
    TStrings* items = EditCombo->Items();
    if (Index < 0 || Index >= items->Count())
        throw EStringListError(Consts::SListIndexError, {Index});
    SetCells(ACol, ARow, items->Strings(Index));
}

Integer TAdvStringGrid::GetComboIndex(Integer ACol, Integer ARow) {
    DoGetEditorProp(ACol, ARow, nullptr);
    return EditCombo->Items()->IndexOf(Cells(ACol, ARow));
}
