// The Enter-key advance to the next cell, the grid's key presses, the walk over a cell's form controls
// and the change handlers of the fixed-cell editors.
#include <algorithm>
#include <cstdint>

#include "grid/engine/AdvGrid.h"
#include "platform/framework/StdLists.h"
#include "render/AsgHTMLE.h"

// ---- The Enter advance

bool TAdvStringGrid::AdvanceTarget(Integer ACol, Integer ARow, bool Forward, Integer& NewCol,
                                   Integer& NewRow) {
    const TAdvanceDirection direction = FNavigation->AdvanceDirection();
    const bool loop = FNavigation->AdvanceOnEnterLoop();
    const bool insert = FNavigation->AdvanceInsert();
    const Integer firstCol = GetNodeFixedCols();
    const Integer lastCol = ColCount() - GetVisibleFixedRightCols() - 1;
    const Integer firstRow = FixedRows();
    const Integer lastRow = RowCount() - FFixedFooters - 1;
    NewCol = ACol;
    NewRow = ARow;

    if (!Forward) {
        if (direction == adLeftRight) {
            if (ACol > firstCol) {
                NewCol = ACol - 1;
            } else {
                NewCol = lastCol;
                NewRow = ARow > firstRow ? ARow - 1 : lastRow;
            }
            return true;
        }
        if (direction == adTopBottom) {
            if (ARow > firstRow) {
                NewRow = ARow - 1;
            } else {
                NewRow = lastRow;
                NewCol = ACol > firstCol ? ACol - 1 : lastCol;
            }
            return true;
        }
        return false;
    }

    // A merged block is passed as a whole when moving right.
    const Integer span = std::max(0, CellSpan(RealColIndex(ACol), ARow).X);
    if (direction == adLeftRight || direction == adLeftRightInRow) {
        if (ACol + span < lastCol) {
            NewCol = ACol + span + 1;
            return true;
        }
        NewCol = firstCol;
        if (direction == adLeftRightInRow)
            return loop;
        if (ARow < lastRow) {
            NewRow = ARow + 1;
            return true;
        }
        if (insert) {
            bool canAdd = true;
            DoCanAddRow(canAdd);
            if (!canAdd)
                return true;
            AddRow();
            NewRow = ARow + 1;
            for (Integer c = firstCol; c <= lastCol; ++c)
                if (IsEditable(c, NewRow))
                    return true;
            return false;
        }
        NewRow = firstRow;
        return loop;
    }

    if (ARow < lastRow) {
        NewRow = ARow + 1;
        return true;
    }
    if (direction == adTopBottomInCol) {
        if (insert) {
            bool canAdd = true;
            DoCanAddRow(canAdd);
            if (canAdd) {
                AddRow();
                NewRow = ARow + 1;
            }
            return true;
        }
        NewRow = firstRow;
        return loop;
    }
    if (ACol < lastCol) {
        NewCol = ACol + 1 < ColCount() ? ACol + 1 : firstCol;
        NewRow = firstRow;
    } else if (insert) {
        bool canAdd = true;
        DoCanAddCol(canAdd);
        if (canAdd) {
            SetColCount(ColCount() + 1);
            NewCol = ACol + span + 1;
            NewRow = firstRow;
            if (OnAutoInsertCol)
                OnAutoInsertCol(this, ColCount() - GetVisibleFixedRightCols() - 1);
        }
    } else {
        NewCol = firstCol;
        NewRow = firstRow;
    }
    Invalidate();
    return true;
}

void TAdvStringGrid::AdvanceCell(Integer ACol, Integer ARow, bool ShowEditor, bool Recursing, bool Forward,
                                 bool AutoEdit, bool Always) {
    if (!FNavigation->AdvanceOnEnter() && !Always)
        return;
    if (FMouseActions->RangeSelectAndEdit() && !Options().Contains(goEditing))
        SetOptions(Options() + TGridOptions{goEditing});
    if (!Recursing) {
        FAECol = ACol;
        FAERow = ARow;
    }

    // Whether a selectable cell follows a target, asked of FindLastSelectableCell once while the grid
    // keeps its shape: the last selectable cell it found stays the answer for every target before it, so
    // a long walk over cells that may not be entered costs one pass of the grid, not one per cell.
    const TAdvanceDirection direction = FNavigation->AdvanceDirection();
    const bool columnWise = direction == adTopBottom || direction == adTopBottomInCol;
    auto order = [columnWise](Integer c, Integer r) {
        return columnWise ? (std::int64_t{c} << 32) + r : (std::int64_t{r} << 32) + c;
    };
    struct {
        bool known = false;
        TPoint last;
        std::int64_t from = 0;
        Integer rows = 0;
        Integer cols = 0;
    } found;
    auto noneAfter = [&](Integer c, Integer r) {
        const bool inside = c >= FixedCols() && c <= ColCount() - FFixedRightCols - 1 && r >= FixedRows() &&
                            r <= RowCount() - FFixedFooters - 1;
        if (!inside)
            return true;
        const bool sameShape = found.known && found.rows == RowCount() && found.cols == ColCount();
        if (sameShape && found.last.X >= 0)
            return order(c, r) >= order(found.last.X, found.last.Y);
        if (sameShape && order(c, r) >= found.from)
            return true;
        found = {true, FindLastSelectableCell(c, r), order(c, r), RowCount(), ColCount()};
        return found.last.X < 0;
    };

    // Cells that may not be entered are skipped in a loop rather than by recursion: each pass is what a
    // recursive advance from the skipped cell would do, and the walk stops where that would, when it
    // comes back to the cell it started from. A walk that cannot come back there (it started outside the
    // cells it visits) stops after as many steps as the grid has cells.
    const std::int64_t maxSteps = (std::int64_t{RowCount()} + 1) * (std::int64_t{ColCount()} + 1);
    for (std::int64_t step = 0;; ++step) {
        if ((Recursing && ACol == FAECol && ARow == FAERow) || step > maxSteps)
            return;
        FStartEditChar = 0;
        const Integer rows = RowCount();
        const Integer cols = ColCount();
        Integer c = ACol;
        Integer r = ARow;
        if (!AdvanceTarget(ACol, ARow, Forward, c, r))
            return;
        bool canEnter = !IsFixed(c, r);
        if (canEnter)
            CanEditCell(RealColIndex(c), r, canEnter);
        if (canEnter) {
            EnterAdvanceTarget(ACol, ARow, c, r, ShowEditor, AutoEdit, true);
            return;
        }
        if (!FNavigation->AdvanceOnEnterLoop() && noneAfter(c, r))
            return;
        if (!FNavigation->AdvanceSkipReadOnlyCells()) {
            EnterAdvanceTarget(ACol, ARow, c, r, ShowEditor, AutoEdit, false);
            return;
        }
        // A line just added that may not be entered ends the walk: going on would add line after line.
        if (RowCount() != rows || ColCount() != cols)
            return;
        ACol = c;
        ARow = r;
        Recursing = true;
    }
}

void TAdvStringGrid::EnterAdvanceTarget(Integer OriginCol, Integer OriginRow, Integer ACol, Integer ARow,
                                        bool ShowEditor, bool AutoEdit, bool AskEvents) {
    struct ChangeScope {
        bool& flag;
        ~ChangeScope() { flag = false; }
    } changeScope{FDisableChange};

    if (AskEvents) {
        bool allow = true;
        Integer newRow = ARow;
        Integer newCol = ACol;
        if (OnAutoAdvance)
            OnAutoAdvance(this, FAERow, FAECol, newRow, newCol, allow);
        if (allow && OnCellChanging)
            OnCellChanging(this, FAERow, FAECol, newRow, newCol, allow);
        FDisableChange = true;
        if (!allow) {
            SelectCell(OriginCol, OriginRow);
            return;
        }
        ACol = newCol;
        ARow = newRow;
    }
    FDisableChange = true;
    SetCol(ACol);
    SetRow(ARow);

    if (ShowEditor) {
        const Integer realCol = RealColIndex(ACol);
        if (TControl* control = CellControls(realCol, ARow)) {
            auto* windowed = dynamic_cast<TWinControl*>(control);
            if (windowed != nullptr && windowed->CanFocus())
                windowed->SetFocus();
            SetCol(OriginCol);
            SetRow(OriginRow);
            return;
        }
        const bool click = IsClickControlCell(realCol, ARow);
        if ((AutoEdit && FNavigation->AdvanceAutoEdit()) || click) {
            if (!IsEditable(ACol, ARow))
                return;
            ShowInplaceEdit();
            if (click) {
                if (FDisableChange) {
                    SetCol(OriginCol);
                    SetRow(OriginRow);
                    SetCol(ACol);
                    SetRow(ARow);
                }
                if (!IsClickControlCell(RealColIndex(OriginCol), OriginRow)) {
                    // The click goes through the window procedure, as the user's would.
                    if (HandleAllocated()) {
                        const TRect rect = CellRect(ACol, ARow);
                        const LPARAM at =
                            MAKELPARAM(static_cast<WORD>(rect.Left + 2), static_cast<WORD>(rect.Top + 2));
                        SendMessageW(WindowHandle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
                        SendMessageW(WindowHandle(), WM_LBUTTONUP, 0, at);
                    }
                    if (FNavigation->AdvanceDirection() != adLeftRight)
                        HideInplaceEdit();
                }
                FDisableChange = false;
                bool allow = true;
                if (OnCellChanging)
                    OnCellChanging(this, OriginRow, OriginCol, Row(), Col(), allow);
                TEditorType kind = FDefaultEditor;
                DoGetEditorType(RealColIndex(OriginCol), OriginRow, kind);
                if (!IsTextEditorKind(kind))
                    HideInplaceEdit();
            }
        }
    }

    if (FMouseActions->DisjunctRowSelect()) {
        ClearRowSelectAll();
        SetRowSelect(RowSelectIndex(Row()), true);
    }
}

// ---- Key presses

void TAdvStringGrid::KeyPress(Char& Key) {
    auto tell = [this, &Key] {
        if (OnKeyPress)
            OnKeyPress(this, Key);
    };
    if (Key == 27) {
        if (Options().Contains(goEditing) && FEditMode)
            RestoreCellCache();
        tell();
        return;
    }
    if (Key == 13) {
        const bool advance = FNavigation->AdvanceOnEnter();
        if (!advance && !IsEditable(Col(), Row())) {
            tell();
            Key = 0;
            return;
        }
        if (advance && RowCount() == FFixedRowsMin) {
            tell();
            if (FNavigation->AdvanceInsert()) {
                SetRowCount(RowCount() + 1);
                ClearRows(RowCount() - 1, 1);
            }
            return;
        }
        const Integer enterCol = RealColIndex(Col());
        if (!Focused() || IsClickControlCell(enterCol, Row())) {
            if (CanFocus())
                SetFocus();
            AdvanceCell(Col(), Row(), FEditMode, false, true, false, false);
            if (!FNavigation->AdvanceAutoEdit()) {
                tell();
                Key = 0;
                return;
            }
            if (IsClickControlCell(enterCol, Row())) {
                tell();
                if (advance)
                    ShowInplaceEdit();
                return;
            }
        }
    }
    if (!Options().Contains(goEditing) && FNavigation->AutoGotoWhenSorted())
        TypeAheadKey(Key);
    TBaseGrid::KeyPress(Key);
}

// ---- Form controls in a cell

void TAdvStringGrid::EditHTMLControl(Integer ACol, Integer ARow, const String& ID) {
    const Integer realCol = RealColIndex(ACol);
    const String text = Cells(realCol, ARow);
    String controlID = NextEditableControlID(text, ID);
    if (controlID.empty()) {
        if (CanFocus())
            SetFocus();
        return;
    }
    TRect bounds = CellRect(ACol, ARow);
    bounds = TRect(bounds.Left + FXYOffset.X + 1, bounds.Top + FXYOffset.Y + 1,
                   bounds.Right + FXYOffset.X + 1, bounds.Bottom + FXYOffset.Y + 1);
    if (HasCheckBox(realCol, ARow))
        bounds.Left += FControlLook->CheckSize();
    THTMLRenderResult html;
    html.controlID = controlID;
    RenderMiniHTML(Canvas(), text, bounds, nullptr, -1, -1, -1, 0, 1, true, false, false, false, false, false,
                   !FEnhTextSize, false, String(), 0.0, FURLColor, clNone, clNone, RGB(128, 128, 128), html,
                   FImageCache.get(), nullptr, HandleAllocated() ? WindowHandle() : nullptr, BiDiMode());
    ShowControlEditor(text, html.controlType, ARow, ACol, html.controlRect, html.controlValue,
                      html.controlID);
}

// ---- The fixed-cell editors

void TAdvStringGrid::FixedEditChange(TObject* Sender) {
    auto* edit = dynamic_cast<TControl*>(Sender);
    if (OnEditChange && edit != nullptr)
        OnEditChange(this, FFixedColEdit, FFixedRowEdit, edit->Text());
}

void TAdvStringGrid::FixedComboSelect(TObject* Sender) {
    auto* combo = dynamic_cast<TCustomComboBox*>(Sender);
    if (!OnComboChange || combo == nullptr)
        return;
    const Integer index = combo->ItemIndex();
    const String selection = index >= 0 ? combo->Items()->Strings(index) : String();
    OnComboChange(this, FFixedColEdit, FFixedRowEdit, index, selection);
}
