// What the grid does as it gains and loses the keyboard focus: the always-edit mode reopens the editor,
// merged and pressed cells repaint, the disjunct row selection is completed, and the blocking flags let
// the grid move the focus to its own popups and editors without enter and exit events.
#include "grid/engine/AdvGrid.h"

void TAdvStringGrid::WMSetFocus(TMessage& Message) {
    if (InvokedFocusChange)
        return;
    TBaseGrid::WMSetFocus(Message);
    if (HasCheckBox(RealColIndex(Col()), Row()))
        return;
    // FIXME: the rich-text in-place editor is not built yet; when it shows, it is to be hidden here.

    const bool inView = LeftCol() <= Col() && Col() < LeftCol() + VisibleColCount() && TopRow() <= Row() &&
                        Row() < TopRow() + VisibleRowCount();
    bool can = true;
    if (FNavigation->AlwaysEdit() && inView) {
        CanEditCell(RealColIndex(Col()), Row(), can);
        if (can) {
            TInplaceEdit* editor = NormalEdit();
            if (editor != nullptr) {
                const HWND previous = reinterpret_cast<HWND>(Message.WParam);
                const bool fromEditor = editor->HandleAllocated() && previous == editor->WindowHandle();
                const bool moving = GridState() == gsRowMoving || GridState() == gsColMoving;
                const TEditorType kind = FEditControlType;
                const bool textKind = kind == edNormal || kind == edCapital || kind == edMixedCase ||
                                      kind == edLowerCase || kind == edUpperCase || kind == edValidChars;
                if (!fromEditor && !moving && textKind) {
                    ShowInplaceEdit();
                    Message.Result = 0;
                    return;
                }
            } else if (!FMouseActions->DirectEdit() && !FControlLook->DropDownAlwaysVisible() &&
                       HasComboBox(Col(), Row(), edNone)) {
                ShowInplaceEdit();
            }
        }
    }
    if (IsMergedCell(Col(), Row())) {
        const TPoint span = CellSpan(Col(), Row());
        RepaintRect(TRect(Col(), Row(), Col() + span.X, Row() + span.Y));
    }
}

void TAdvStringGrid::WMKillFocus(TMessage& Message) {
    if (FBlockKill) {
        Message.Result = 1;
        return;
    }
    TBaseGrid::WMKillFocus(Message);
    if (IsMergedCell(Col(), Row()))
        RepaintCell(Col(), Row());
    if (FCtrlDown) {
        FCtrlDown = false;
        RepaintCell(FCtrlXY.X, FCtrlXY.Y);
    }
}

void TAdvStringGrid::DoEnter() {
    if (FBlockFocus)
        return;
    struct Snapshot {
        TAdvStringGrid* grid;
        ~Snapshot() { grid->StoreOldCell(grid->Col(), grid->Row()); }
    } snapshot{this};
    TBaseGrid::DoEnter();
    if (Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit())
        SelectCell(Col(), Row());
}

void TAdvStringGrid::DoExit() {
    if (FBlockKill)
        return;
    if (FSelChange && FMouseActions->DisjunctRowSelect())
        SelectionToRowSelect(false);
    FSelChange = false;
    TBaseGrid::DoExit();
}
