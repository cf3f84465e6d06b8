// Editing the form controls of a cell's mini-HTML text: an edit or a combo laid over the control, whose
// value goes back into the control's VALUE when it loses the focus.
#include "grid/engine/AdvGrid.h"
#include "render/AsgHTMLE.h"

// ---- Opening and closing

void TAdvStringGrid::ShowControlEditor(const String& CellText, const String& ControlType, Integer ARow,
                                       Integer ACol, const TRect& ControlRect, const String& ControlValue,
                                       const String& ControlID) {
    const TRect& R = ControlRect;
    const bool edit = ControlType == u"EDIT" || ControlType == u"PASSWORD" || ControlType == u"MASK";
    if (!edit && ControlType != u"COMBO")
        return;
    FCtrlEditXY = TPoint(RealColIndex(ACol), ARow);
    FCtrlID = ControlID;
    FCtrlType = ControlType;
    FCtrlEditing = true;
    if (edit) {
        TControlEdit* editor = FEditControl.get();
        editor->SetWidth(0);
        editor->SetPasswordChar(ControlType == u"PASSWORD" ? u'*' : Char(0));
        editor->SetEditMask(ControlType == u"MASK" ? ReadControlProp(CellText, ControlID) : String());
        editor->OnExit = [this](TObject* Sender) { ControlEditExit(Sender); };
        editor->SetText(ControlValue);
        editor->SetBorderStyle(bsNone);
        editor->SetBounds(R.Left + 1, R.Top + 8, R.Right - R.Left - 4, 14);
        editor->SetMaxLength(ReadControlMaxLen(CellText, ControlID));
        editor->SetParent(this);
        editor->SetVisible(true);
        BringWindowToTop(editor->Handle());
        editor->SetFocus();
        return;
    }
    TControlCombo* combo = FComboControl.get();
    combo->SetIsWinXP(FIsWinXP);
    combo->SetWidth(0);
    bool editable = true;
    Integer dropCount = 8;
    combo->SetFlat(false);
    combo->SetLeft(R.Left - 1);
    combo->SetWidth(R.Right - R.Left);
    combo->SetTop(R.Top + 4);
    combo->OnSelect = [this](TObject* Sender) { ControlComboSelect(Sender); };
    combo->SetParent(this);
    // The list keeps the items of its last use; the handler fills it for this control.
    if (OnControlComboList)
        OnControlComboList(this, ARow, ACol, ControlID, ControlType, ControlValue, combo->Items(), editable,
                           dropCount);
    combo->SetStyle(editable ? csDropDown : csDropDownList);
    const Integer index = combo->Items()->IndexOf(ControlValue);
    if (index >= 0)
        combo->SetItemIndex(index);
    combo->SetText(ControlValue);
    combo->SetDropDownCount(dropCount);
    combo->OnExit = [this](TObject* Sender) { ControlEditExit(Sender); };
    combo->SetHeight(combo->ItemHeight() * (dropCount + 2));
    combo->SetMaxLength(ReadControlMaxLen(CellText, ControlID));
    combo->SetVisible(true);
    combo->SetDroppedDown(true);
    combo->SetFocus();
}

void TAdvStringGrid::ControlEditExit(TObject* /*Sender*/) {
    if (!FCtrlEditing)
        return;
    FCtrlEditing = false;
    String value;
    const bool edit = FCtrlType == u"EDIT" || FCtrlType == u"PASSWORD" || FCtrlType == u"MASK";
    if (edit)
        value = FEditControl->Text();
    else if (FCtrlType == u"COMBO")
        value = FComboControl->Text();
    if (edit || FCtrlType == u"COMBO") {
        String text = Cells(FCtrlEditXY.X, FCtrlEditXY.Y);
        WriteControlValue(text, FCtrlID, value);
        SetCells(FCtrlEditXY.X, FCtrlEditXY.Y, text);
        if (edit)
            FEditControl->SetVisible(false);
        else
            FComboControl->SetVisible(false);
    }
    if (OnControlEditDone)
        OnControlEditDone(this, FCtrlEditXY.Y, FCtrlEditXY.X, FCtrlID, FCtrlType, value);
    FCtrlType.clear();
}

void TAdvStringGrid::ControlComboSelect(TObject* /*Sender*/) {
    if (!OnControlComboSelect)
        return;
    TControlCombo* combo = FComboControl.get();
    const Integer index = combo->ItemIndex();
    const String item =
        index >= 0 && index < combo->Items()->Count() ? combo->Items()->Strings(index) : String();
    OnControlComboSelect(this, FCtrlEditXY.Y, FCtrlEditXY.X, index, FCtrlID, item);
}

// ---- The editors' keys

namespace {

// Enter and Tab end the form control's edit; Tab then moves on to the next cell (AdvanceAuto) or the
// next control of the cell. True when the key was one of them.
bool EndControlEdit(TWinControl* editor, Char key) {
    auto* grid = dynamic_cast<TAdvStringGrid*>(editor->Parent());
    if (grid == nullptr || (key != u'\r' && key != u'\t'))
        return false;
    grid->ControlEditExit(editor);
    if (key == u'\r') {
        if (grid->CanFocus())
            grid->SetFocus();
    } else {
        grid->ControlEditTabbed();
    }
    return true;
}

} // namespace

void TControlEdit::CMWantSpecialKey(TMessage& Message) {
    if (Message.WParam == VK_RETURN) {
        Message.Result = 0;
        return;
    }
    if (Message.WParam == VK_TAB) {
        Message.Result = 1;
        return;
    }
    TMaskEdit::CMWantSpecialKey(Message);
}

void TControlEdit::KeyPress(Char& Key) {
    if (EndControlEdit(this, Key)) {
        Key = 0;
        return;
    }
    TMaskEdit::KeyPress(Key);
}

void TControlCombo::CMWantSpecialKey(TMessage& Message) {
    if (Message.WParam == VK_TAB) {
        Message.Result = 1;
        return;
    }
    DefaultHandler(Message);
}

void TControlCombo::KeyPress(Char& Key) {
    if (EndControlEdit(this, Key)) {
        Key = 0;
        return;
    }
    TAsgComboBox::KeyPress(Key);
}

void TAdvStringGrid::ControlEditTabbed() {
    if (FNavigation->AdvanceAuto())
        AdvanceCell(Col(), Row(), true, false, true, true, true);
    else
        EditHTMLControl(Col(), Row(), FCtrlID);
}
