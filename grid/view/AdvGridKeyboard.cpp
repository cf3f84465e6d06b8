// The grid's WM_KEYDOWN: the stages that run before and after the framework's key handling (scroll-only
// moves, Home and End, skipping fixed cells, cell controls, the search footer, clipboard shortcuts, row
// insertion and deletion, select-all and the disjunct selections by key).
#include <algorithm>

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Forms.h"
#include "render/AsgHTMLE.h"

namespace {

bool IsNavigationKey(Word key) {
    return key >= VK_PRIOR && key <= VK_DOWN;
}

bool KeyHeld(int virtualKey) {
    return GetKeyState(virtualKey) < 0;
}

bool HoldsFormControl(const String& text, bool enableHTML) {
    return CellTextKind(text, enableHTML) == 1 && ContainsControlTag(text);
}

} // namespace

void TAdvStringGrid::FireKeyDown(Word key, TShiftState shift) {
    // The handler gets a copy: what it does to the key is not read back.
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TAdvStringGrid::NotifySelectionMove() {
    const TGridRect selection = Selection();
    if (selection == FMoveSelection)
        return;
    DoSelectionChanged(selection.Left, selection.Top, selection.Right, selection.Bottom);
    FMoveSelection = selection;
}

void TAdvStringGrid::WMKeyDown(TMessage& Message) {
    TShiftState shift;
    if (KeyHeld(VK_CONTROL))
        shift += ssCtrl;
    if (KeyHeld(VK_SHIFT))
        shift += ssShift;
    // The events hear only the left Alt key; the row insertion and deletion test either.
    if (KeyHeld(VK_LMENU))
        shift += ssAlt;
    const bool ctrl = shift.Contains(ssCtrl);
    const bool shifted = shift.Contains(ssShift);
    const bool altDown = KeyHeld(VK_MENU);

    auto key = [&Message]() { return static_cast<Word>(Message.WParam); };
    const Word entryKey = key();
    const Integer startLeft = LeftCol();
    const Integer startCol = Col();
    const Integer startRow = Row();
    FMoveSelection = Selection();
    const Integer visRows = VisibleRowCount();
    const bool rowSelect = Options().Contains(goRowSelect);
    const bool keepHorizontal =
        (entryKey == VK_PRIOR || entryKey == VK_NEXT || entryKey == VK_UP || entryKey == VK_DOWN) &&
        rowSelect && startLeft != FixedCols() && FNavigation->KeepHorizScroll();
    const bool enterOrF2 = entryKey == VK_RETURN || entryKey == VK_F2;

    auto swallow = [&]() {
        FireKeyDown(key(), shift);
        Message.WParam = 0;
        Message.Result = 1;
    };

    // Scroll-only navigation moves the view and never the current cell.
    if (FNavigation->MoveScrollOnly()) {
        bool taken = true;
        switch (entryKey) {
        case VK_PRIOR:
            SetTopRow(visRows + FixedRows() < TopRow() ? TopRow() - visRows : FixedRows());
            break;
        case VK_NEXT:
            if (TopRow() + visRows < RowCount())
                SetTopRow(TopRow() + visRows);
            break;
        case VK_END:
            SetTopRow(RowCount() - visRows);
            break;
        case VK_HOME:
            SetTopRow(FixedRows());
            break;
        case VK_UP:
            if (TopRow() > FixedRows())
                SetTopRow(TopRow() - 1);
            break;
        case VK_DOWN:
            if (TopRow() + visRows < RowCount())
                SetTopRow(TopRow() + 1);
            break;
        default:
            taken = false;
            break;
        }
        if (taken) {
            Message.Result = 1;
            return;
        }
    }

    if (FMouseActions->EditOnDblClickOnly() && enterOrF2 && !Options().Contains(goEditing)) {
        const bool rangeSelectAndEdit = FMouseActions->RangeSelectAndEdit();
        FMouseActions->SetRangeSelectAndEdit(true);
        const bool editable = IsEditable(startCol, startRow);
        FMouseActions->SetRangeSelectAndEdit(rangeSelectAndEdit);
        if (editable)
            SetOptions(Options() + TGridOptions{goEditing});
    }

    if (FMouseActions->RangeSelectAndEdit() && !Options().Contains(goEditing) && enterOrF2 &&
        !IsEditable(startCol, startRow)) {
        swallow();
        return;
    }

    // FIXME: Ctrl+F should put the focus into the search panel's edit box, which is not built yet.

    if (enterOrF2) {
        if (Options().Contains(goEditing) && !IsEditable(Col(), Row())) {
            swallow();
            return;
        }
        if (HoldsFormControl(Cells(RealColIndex(Col()), Row()), FEnableHTML)) {
            Message.Result = 1;
            return;
        }
    }

    // Enter on a read-only cell reaches the form's key events with key preview, and nothing without.
    if (entryKey == VK_RETURN && !IsEditable(Col(), Row())) {
        TCustomForm* form = FindParentForm(this);
        if (form != nullptr && form->KeyPreview())
            TBaseGrid::WMKeyDown(Message);
        else
            swallow();
        return;
    }

    // Space toggles the cell's control; Enter and Space press its button.
    const Integer realStartCol = RealColIndex(startCol);
    if ((entryKey == VK_RETURN || entryKey == VK_SPACE) && IsClickControlCell(realStartCol, startRow)) {
        bool mayEdit = Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit();
        CanEditCell(realStartCol, startRow, mayEdit);
        const bool space = entryKey == VK_SPACE;
        if ((mayEdit || FControlLook->CheckAlwaysActive()) && space && HasCheckBox(realStartCol, startRow)) {
            ToggleCheck(realStartCol, startRow, true);
            if (FShowModified->Enabled()) {
                SetRowModified(startRow, true);
                RepaintCell(0, startRow);
            }
            bool state = false;
            GetCheckBoxState(realStartCol, RealRowIndex(startRow), state);
            DoCheckBoxClick(startCol, startRow, state);
        }
        if ((mayEdit || FControlLook->RadioAlwaysActive()) && space && IsRadio(realStartCol, startRow)) {
            CycleRadio(realStartCol, startRow, false);
            Integer index = -1;
            GetRadioIdx(realStartCol, startRow, index);
            if (OnRadioClick)
                OnRadioClick(this, realStartCol, startRow, index);
        }
        if ((mayEdit || FControlLook->RadioAlwaysActive()) && space &&
            HasRadioButton(realStartCol, startRow)) {
            SetRadioButtonColumnIndex(realStartCol, startRow);
            if (OnRadioButtonClick)
                OnRadioButtonClick(this, realStartCol, startRow);
        }
        if (mayEdit && HasButton(realStartCol, startRow))
            DoButtonClick(startCol, startRow);
        RepaintCell(Col(), Row());
    }

    if ((entryKey == VK_HOME || entryKey == VK_END) &&
        HomeEndKey(Message, entryKey, shift, startCol, startRow, startLeft))
        return;

    // Left and right contract and expand a node row's merged cell.
    if ((entryKey == VK_RIGHT || entryKey == VK_LEFT) && IsNode(Row()) && IsMergedCell(Col(), Row())) {
        if (entryKey == VK_RIGHT)
            ExpandNode(RealRowIndex(Row()));
        else
            ContractNode(RealRowIndex(Row()));
    }

    // In row-select mode left and right scroll the view.
    if ((entryKey == VK_LEFT || entryKey == VK_RIGHT) && rowSelect && !IsNode(Row()) &&
        ColCount() > VisibleColCount()) {
        const bool leftRight = FNavigation->LeftRightRowSelect();
        if (!leftRight || ctrl) {
            if (entryKey == VK_LEFT && LeftCol() > FixedCols())
                SetLeftCol(LeftCol() - 1);
            if (entryKey == VK_RIGHT && VisibleColCount() + LeftCol() < ColCount())
                SetLeftCol(LeftCol() + 1);
        }
        if (!leftRight) {
            FireKeyDown(key(), shift);
            Message.Result = 0;
            return;
        }
    }

    if (entryKey == VK_TAB && !KeyHeld(VK_CONTROL) && Options().Contains(goTabs)) {
        TabAdvance(KeyHeld(VK_SHIFT));
        const TGridRect selection = Selection();
        if (selection != FMoveSelection)
            DoSelectionChanged(selection.Left, selection.Top, selection.Right, selection.Bottom);
        return;
    }

    if (FNavigation->SkipFixedCells() && SkipFixedCellsKey(key(), shift))
        Message.WParam = 0;

    if (entryKey == VK_DOWN && FNavigation->AppendOnArrowDown()) {
        const bool floating = FFloatingFooter->Visible();
        if ((!floating && Row() == RowCount() - 1 - FFixedFooters) || (floating && Row() == RowCount() - 2))
            AppendAutoRow();
    }

    if (Selection() != FMoveSelection && FSelectionRectangle) {
        InvalidateCellRange(Selection());
        FMoveSelection = Selection();
    }

    // The search footer covers the bottom of the view: the last row is kept clear of it.
    const bool searchFooter = FSearchFooter->Visible();
    const Integer rememberedTop = TopRow();
    bool locked = false;
    if (searchFooter && TopRow() >= RowCount() - visRows) {
        const bool lastRow = Row() >= RowCount() - 1;
        const Word k = key();
        if (k == VK_DOWN && lastRow) {
            ScrollAboveSearchFooter();
            Message.Result = 1;
            FireKeyDown(k, shift);
            return;
        }
        if ((k == VK_RIGHT && lastRow && Col() == ColCount() - 1) ||
            (k == VK_LEFT && lastRow && Col() == FixedCols())) {
            Message.Result = 1;
            FireKeyDown(k, shift);
            return;
        }
        if (lastRow && (k == VK_NEXT || k == VK_END || k == VK_LEFT || k == VK_RIGHT || k == VK_DOWN)) {
            BeginUpdate();
            locked = true;
        }
        if (!locked && k != VK_SHIFT && k != VK_MENU && !IsNavigationKey(k)) {
            BeginUpdate();
            locked = true;
        }
    }

    if (keepHorizontal)
        BeginUpdate();
    // A key a stage took (its code cleared) is not handed on: OnKeyDown heard it already.
    if (key() != 0)
        TBaseGrid::WMKeyDown(Message);

    if (searchFooter) {
        const Word k = key();
        if (TopRow() >= RowCount() - visRows && k != VK_SHIFT && k != VK_MENU && !IsNavigationKey(k))
            SetTopRow(rememberedTop);
        if (locked)
            EndUpdate();
        if ((k == VK_NEXT || k == VK_END || k == VK_LEFT || k == VK_RIGHT || k == VK_DOWN) &&
            FSearchFooter->Visible() && Row() == RowCount() - 1) {
            const Integer limit = ClientHeight() - FSearchPanel->Height() + 2;
            // Scrolling ends where the view cannot go further down.
            while (CellRect(Col(), Row()).Bottom > limit) {
                const Integer top = TopRow();
                SetTopRow(top + 1);
                if (TopRow() <= top)
                    break;
            }
        }
    }

    if (keepHorizontal) {
        SetLeftCol(startLeft);
        EndUpdate();
    }

    const Integer selectionRow = FMouseActions->DisjunctRowSelect() && FMouseActions->RowSelectPersistent()
                                     ? RealRowIndex(Row())
                                     : Row();

    if (FNavigation->AllowClipboardShortCuts() && ClipboardShortCut(key(), shift))
        return;

    if (key() == VK_INSERT && FNavigation->AllowInsertRow() && !ctrl && !shifted && !altDown)
        InsertRowKey();

    if (key() == u'A' && ctrl && SelectAllKey())
        return;

    const Word k = key();
    if (IsNavigationKey(k)) {
        if (FMouseActions->DisjunctRowSelect()) {
            if (!shifted && !ctrl)
                ClearRowSelectAll();
            if (shifted)
                SelectionToRowSelect(true);
            else
                SetRowSelect(selectionRow, true);
        }
        if (FMouseActions->DisjunctColSelect()) {
            if (!shifted && !ctrl)
                ClearColSelect();
            if (shifted)
                SelectionToColSelect(true);
            else
                SetColSelect(Col(), true);
        }
    }
    if (k == VK_SPACE) {
        if (FMouseActions->DisjunctRowSelect())
            SetRowSelect(selectionRow, !GetRowSelect(selectionRow));
        if (FMouseActions->DisjunctColSelect())
            SetColSelect(Col(), !GetColSelect(Col()));
    }

    if (k == VK_DELETE && FNavigation->AllowDeleteRow() && !altDown &&
        RowCount() - FFixedFooters - FixedRows() >= 1)
        DeleteRowKey();

    // Ctrl+Tab past the last column before the fixed right columns goes on in the next row.
    if (k == VK_TAB && Options().Contains(goTabs) && FFixedRightCols > 0 &&
        startCol == ColCount() + NumHiddenColumns() - FFixedRightCols - 1) {
        if (startRow == RowCount() - FFixedFooters - 1)
            SetRow(FixedRows());
        else if (Row() + 1 < RowCount())
            SetRow(Row() + 1);
        SetCol(GetNodeFixedCols());
    }

    if (k == VK_RETURN || k == VK_F2) {
        StoreOldCell(Col(), Row());
        if (ContainsControlTag(Cells(RealColIndex(Col()), Row())))
            EditHTMLControl(RealColIndex(Col()), Row(), String());
        if (k == VK_F2) {
            Word hooked = k;
            KeyDownHook(hooked, shift);
        }
    }

    NotifySelectionMove();
}

bool TAdvStringGrid::HomeEndKey(TMessage& Message, Word key, TShiftState shift, Integer startCol,
                                Integer startRow, Integer startLeft) {
    const THomeEndAction action = FNavigation->HomeEndKey();
    const bool ctrl = shift.Contains(ssCtrl);
    const bool shifted = shift.Contains(ssShift);
    const bool rowSelect = Options().Contains(goRowSelect);
    const bool guarded = FFixedRowAlways && RowCount() == 1;
    auto finish = [&]() {
        FireKeyDown(key, shift);
        Message.Result = 0;
        NotifySelectionMove();
        return true;
    };
    auto platform = [&]() {
        TBaseGrid::WMKeyDown(Message);
        return true;
    };
    auto disjunctRowUpdate = [&](Integer target) {
        // From the start row to the target row, so that the target row is the current one.
        const TGridRect rows{0, startRow, ColCount() - 1, target};
        if (FMouseActions->DisjunctRowSelect()) {
            if (!shifted) {
                ClearRowSelectAll();
            } else {
                SetSelection(rows);
            }
            SelectionToRowSelect(false);
        } else if (shifted) {
            SetSelection(rows);
        }
    };
    auto keptScrollRestore = [&]() {
        if (rowSelect && FNavigation->KeepHorizScroll()) {
            StartUpdate();
            SetLeftCol(startLeft);
            ResetUpdate();
        }
    };
    auto rowEnd = [&]() {
        FireKeyDown(key, shift);
        Message.Result = 0;
        keptScrollRestore();
        NotifySelectionMove();
        return true;
    };
    const Integer visRows = VisibleRowCount();

    if (key == VK_HOME) {
        if (action == heFirstLastCell && !ctrl) {
            SetCol(FixedCols());
            SetRow(FixedRows());
            SnapToBaseCell();
            return finish();
        }
        if (action == heFirstLastRow && !ctrl) {
            if (guarded)
                return platform();
            SetRow(FixedRows());
            SnapToBaseCell();
            disjunctRowUpdate(FixedRows());
            return rowEnd();
        }
        if (action == heFirstLastColumn && ctrl) {
            SetRow(FixedRows());
            const Integer first = FirstSelectableCol(Row());
            if (first >= 0)
                SetCol(first);
            SnapToBaseCell();
            SetLeftCol(GetNodeFixedCols());
            return finish();
        }
        if (action == heFirstLastColumn && !rowSelect) {
            if (guarded)
                return platform();
            if (shifted) {
                SetSelection(TGridRect{FixedCols(), Row(), startCol, Row()});
                RepaintRow(Row());
            } else {
                const Integer first = FirstSelectableCol(Row());
                if (first >= 0)
                    SetCol(first);
                SnapToBaseCell();
                SetLeftCol(GetNodeFixedCols());
            }
            return finish();
        }
        return false;
    }

    if (action == heFirstLastCell && !ctrl) {
        SetCol(ColCount() - 1);
        SetRow(RowCount() - 1);
        SnapToBaseCell();
        return finish();
    }
    if (action == heFirstLastRow && !ctrl) {
        if (guarded)
            return platform();
        const bool floating = FFloatingFooter->Visible();
        SetRow(floating && RowCount() > 2 ? RowCount() - 2 : RowCount() - FFixedFooters - 1);
        if (FFixedFooters > 0 && !floating)
            SetTopRow(RowCount() - visRows);
        SnapToBaseCell();
        disjunctRowUpdate(Row());
        if (floating)
            SetTopRow(RowCount() - visRows);
        return rowEnd();
    }
    if (action == heFirstLastColumn && !ctrl && !rowSelect) {
        if (guarded)
            return platform();
        if (shifted) {
            SetSelection(TGridRect{startCol, Row(), ColCount() - FFixedRightCols - 1, Row()});
            RepaintRow(Row());
        } else {
            SetCol(ColCount() - 1);
            SnapToBaseCell();
            SetLeftCol(std::max(FixedCols(), ColCount() - VisibleColCount()));
        }
        return finish();
    }
    return false;
}

bool TAdvStringGrid::SkipFixedCellsKey(Word key, TShiftState shift) {
    const bool rowSel = Options().Contains(goRowSelect);
    const bool rightToLeft = UseRightToLeftAlignment();
    const Integer colEnd = ColCount() - FFixedRightCols;
    const Integer row = Row();
    const Integer col = Col();
    const bool higher = (key == VK_RIGHT && !rightToLeft) || (key == VK_LEFT && rightToLeft);
    const bool lower = (key == VK_LEFT && !rightToLeft) || (key == VK_RIGHT && rightToLeft);

    if (higher) {
        if (col < colEnd && col + 1 < ColCount() && IsFixed(col + 1, row)) {
            Integer c = col;
            while (c + 1 < colEnd && IsFixed(c + 1, row))
                ++c;
            if (c + 1 < colEnd && !IsFixed(c + 1, row))
                SetCol(c + 1);
            FireKeyDown(key, shift);
            return true;
        }
        return false;
    }
    if (lower) {
        if (col > FixedCols() && IsFixed(col - 1, row)) {
            Integer c = col;
            while (c - 1 >= FixedCols() && IsFixed(c - 1, row))
                --c;
            if (c - 1 >= FixedCols() && !IsFixed(c - 1, row))
                SetCol(c - 1);
            FireKeyDown(key, shift);
            return true;
        }
        return false;
    }
    if (key == VK_UP) {
        if (row > FixedRows() && IsFixed(col, row - 1)) {
            Integer r = row;
            while (r - 1 >= FixedRows() && IsFixed(col, r - 1) && !rowSel)
                --r;
            if (r - 1 >= FixedRows() && (rowSel || !IsFixed(col, r - 1)))
                SetRow(r - 1);
            FireKeyDown(key, shift);
            return true;
        }
        return false;
    }
    if (key == VK_DOWN) {
        const Integer rowEnd = RowCount() - FFixedFooters;
        if (row < rowEnd && row + 1 < RowCount() && IsFixed(col, row + 1)) {
            Integer r = row;
            while (r + 1 < rowEnd && IsFixed(col, r + 1) && !rowSel)
                ++r;
            if (r + 1 < rowEnd && (rowSel || !IsFixed(col, r + 1)))
                SetRow(r + 1);
            FireKeyDown(key, shift);
            return true;
        }
    }
    return false;
}

bool TAdvStringGrid::ClipboardShortCut(Word key, TShiftState shift) {
    const bool ctrl = shift.Contains(ssCtrl);
    const bool shifted = shift.Contains(ssShift);
    const TGridRect before = Selection();
    bool allow = true;
    if ((ctrl && key == u'X') || (shifted && key == VK_DELETE)) {
        if (OnClipboardCut)
            OnClipboardCut(this, allow);
        if (allow) {
            CutSelectionToClipboard();
            if (OnClipboardCutDone)
                OnClipboardCutDone(this, before);
        }
        return true;
    }
    if ((ctrl && key == u'V') || (shifted && key == VK_INSERT)) {
        if (OnClipboardPaste)
            OnClipboardPaste(this, allow);
        if (allow)
            PasteSelectionFromClipboard();
        return true;
    }
    if (ctrl && (key == u'C' || key == VK_INSERT)) {
        if (OnClipboardCopy)
            OnClipboardCopy(this, allow);
        if (allow) {
            CopySelectionToClipboard();
            if (OnClipboardCopyDone)
                OnClipboardCopyDone(this, before);
        }
        return true;
    }
    return false;
}

void TAdvStringGrid::InsertRowKey() {
    bool allow = true;
    DoCanInsertRow(Row(), allow);
    if (!allow)
        return;
    const Integer real = RealRowIndex(Row());
    Integer target = Row();
    const bool filterActive = FilterActive();
    SetFilterActive(false);
    // With the filter off the displayed index is the stored one.
    if (real < RowCount())
        SetRow(real);
    Integer at = 0;
    if (FNavigation->InsertPosition() == pInsertAfter) {
        if (FFixedRowAlways && FixedRows() == RowCount()) {
            at = RealRowIndex(Row());
            target = 1;
        } else if (Row() < RowCount()) {
            at = RealRowIndex(Row()) + 1;
            if (RowCount() > target + 1)
                ++target;
        } else {
            at = RealRowIndex(Row());
        }
    } else {
        at = RealRowIndex(Row());
    }
    InsertRowAuto(at);
    if (OnAutoInsertRow)
        OnAutoInsertRow(this, at);
    FModified = true;
    SetFilterActive(filterActive);
    SetRow(std::min(target, RowCount() - 1));
    CalcFooter(-1);
}

void TAdvStringGrid::DeleteRowKey() {
    const Integer real = RealRowIndex(Row());
    const bool filterActive = FilterActive();
    SetFilterActive(false);
    bool allow = true;
    if (OnCanDeleteRow)
        OnCanDeleteRow(this, real, allow);
    if (!allow) {
        SetFilterActive(filterActive);
        return;
    }
    DeleteRowAuto(real);
    SetFilterActive(filterActive);
    if (FFloatingFooter->Visible() && Row() == RowCount() - 1)
        SetRow(RowCount() - 2);
    StoreOldCell(Col(), Row());
    FModified = true;
    CalcFooter(-1);
}

bool TAdvStringGrid::SelectAllKey() {
    if (!Options().Contains(goRowSelect) && !Options().Contains(goRangeSelect))
        return true;
    const TGridRect range{GetNodeFixedCols(), FixedRows(), ColCount() - FFixedRightCols - 1,
                          RowCount() - FFixedFooters - 1};
    if (range.Right < range.Left || range.Bottom < range.Top)
        return true;
    if (FMouseActions->DisjunctRowSelect())
        for (Integer r = FixedRows(); r <= range.Bottom; ++r)
            SetRowSelect(r, true);
    if (FMouseActions->DisjunctCellSelect()) {
        // The cells become the cell selection; the current cell stays where it was.
        const TGridRect current{Col(), Row(), Col(), Row()};
        SelectCells(FixedCols(), FixedRows(), range.Right, range.Bottom);
        SetSelection(current);
        return true;
    }
    KeyDownHookEx(range.Left, range.Top, range.Right, range.Bottom);
    SetSelection(range);
    FocusCell(range.Right, range.Bottom);
    // A click on the last cell leaves the grid as a range select that ends there would.
    const TRect rect = CellRect(range.Right, range.Bottom);
    MouseDown(mbLeft, TShiftState{}, rect.Left + 2, rect.Top + 2);
    MouseUp(mbLeft, TShiftState{}, rect.Left + 2, rect.Top + 2);
    FocusCell(range.Right, range.Bottom);
    SetSelection(range);
    return true;
}
