// The grid's left-button release: it finishes what the press began (touch taps, pushed buttons, fixed-cell
// sizing, selection clicks, disjunct selections, enhanced moves, the selection resize), lets the framework
// grid end its own state, and sorts by a clicked header.
#include <algorithm>
#include <cstdlib>

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Forms.h"
#include "platform/win32/time.h"
#include "platform/win32/windraw.h"

namespace {

bool KeyHeld(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

bool PointIn(const TRect& r, Integer x, Integer y) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

} // namespace

void TAdvStringGrid::WMLButtonUp(TMessage& Message) {
    const Integer X = GET_X_LPARAM(Message.LParam);
    const Integer Y = GET_Y_LPARAM(Message.LParam);
    Integer ACol = -1;
    Integer ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    const bool validCell = ACol >= 0 && ARow >= 0;

    // 1. Entry.
    ColMoveFlg = false;
    ColSizeFlg = false;
    FMouseDown = false;
    FMouseKeepDown = false;
    FMouseSelectMode = msNormal;

    // 2. The end of touch scrolling.
    if (FScrollStart) {
        FScrollStart = false;
        FScrollDelta = Y > ptdown.Y ? -1 : 1;
        // A quick flick that scrolled goes on scrolling for a few more rows.
        if (GetTickCount() - FTimeStart < 500 && TopRow() != FTopDown) {
            FScrollSteps = 10;
            if (FScrollTimer == nullptr)
                FScrollTimer = std::make_unique<TTimer>(nullptr);
            FScrollEnd = true;
            FScrollTimer->SetInterval(10);
            FScrollTimer->OnTimer = [this](TObject* Sender) { MomentumScrollTimer(Sender); };
            FScrollTimer->SetEnabled(true);
        }
        if (TopRow() == FTopDown) {
            // A tap: the cell becomes current, and its check box or button takes the click.
            if (validCell) {
                FocusCell(ACol, ARow);
                if (SelectCell(ACol, ARow))
                    MoveColRow(ACol, ARow, true, true);
            }
            SetTopRow(FTopDown);
            if (validCell) {
                const Integer realCol = RealColIndex(ACol);
                bool mayEdit = true;
                CanEditCell(realCol, ARow, mayEdit);
                if (mayEdit && HasCheckBox(realCol, ARow)) {
                    ToggleCheckBox(realCol, ARow);
                    bool state = false;
                    GetCheckBoxState(realCol, ARow, state);
                    DoCheckBoxClick(ACol, ARow, state);
                } else if (mayEdit && HasButton(ACol, ARow)) {
                    DoButtonClick(ACol, ARow);
                }
            }
        }
        ptdown.Y = -1;
        ReleaseCapture();
        if (CanFocus())
            SetFocus();
        if (ActiveRowShow())
            Invalidate();
    }

    // 3. A pushed form control of a cell's mini-HTML comes up.
    if (FCtrlDown) {
        FCtrlDown = false;
        RepaintCell(FCtrlXY.X, FCtrlXY.Y);
    }

    // 4.
    FMouseDownMove = false;
    if (FLook == glListView) {
        RepaintRow(0);
        if (FixedCols() > 0)
            RepaintCol(0);
    }
    FMouseSelectStart = -1;
    if (!IsDesigning())
        HideMoveArrows();

    // 5. The end of sizing a fixed column.
    if (FSizingFixed) {
        FSizeFixed = false;
        FSizingFixed = false;
        DrawFixedSizingLine(true, FSizeFixedX);
        if (FSizingFixedCol >= 0 && FSizingFixedCol < ColCount()) {
            Integer start = 0;
            for (Integer c = 0; c < FSizingFixedCol; ++c)
                start += ColWidths(c);
            Integer width = X - start;
            SetColWidths(FSizingFixedCol, width);
            if (OnEndColumnSize)
                OnEndColumnSize(this, FSizingFixedCol);
            const Integer before = width;
            if (OnUpdateColumnSize)
                OnUpdateColumnSize(this, FSizingFixedCol, width);
            if (width != before)
                SetColWidths(FSizingFixedCol, width);
        }
    }

    // 6. The end of sizing a fixed row.
    if (FSizingFixedR) {
        FSizeFixedR = false;
        FSizingFixedR = false;
        DrawFixedSizingLine(false, FSizeFixedY);
        if (FSizingFixedRow >= 0 && FSizingFixedRow < RowCount()) {
            Integer start = 0;
            for (Integer r = 0; r < FSizingFixedRow; ++r)
                start += RowHeights(r);
            SetRowHeights(FSizingFixedRow, Y - start);
            if (OnEndRowSize)
                OnEndRowSize(this, FSizingFixedRow);
        }
    }

    // 7. A fixed cell drawn as a pushed button comes up.
    if (FFixedCellPushed) {
        RECT edge = FPushedFixedCell;
        DrawEdge(Canvas()->Handle(), &edge, BDR_RAISEDINNER, BF_RIGHT | BF_BOTTOM);
        DrawEdge(Canvas()->Handle(), &edge, BDR_RAISEDINNER, BF_LEFT | BF_TOP);
        FFixedCellPushed = false;
    }

    // 8. Cell and expand buttons.
    if (FPushedCellButton.X != -1) {
        const Integer pushedCol = FPushedCellButton.X;
        const Integer pushedRow = FPushedCellButton.Y;
        const bool pushedFixed = pushedCol < FixedCols() || pushedRow < FixedRows();
        const bool noDisabledLook = FControlLook->NoDisabledButtonLook();
        bool enabled = Options().Contains(goEditing);
        if (validCell && !noDisabledLook) {
            const TPoint base = BaseCell(RealColIndex(ACol), ARow);
            bool canEdit = true;
            CanEditCell(base.X, base.Y, canEdit);
            enabled = canEdit && !IsFixed(DisplColIndex(base.X), base.Y);
        }
        const bool releaseOnExpand = validCell && HasExpand(RealColIndex(ACol), ARow);
        if (enabled || noDisabledLook || releaseOnExpand || pushedFixed) {
            if (!IsNode(pushedRow))
                PushButton(pushedCol, pushedRow, false);
            if (validCell) {
                const TPoint base = BaseCell(RealColIndex(ACol), ARow);
                const Integer baseCol = DisplColIndex(base.X);
                const bool inControl = PointIn(GetCellControlRect(baseCol, base.Y), X, Y);
                const bool fires =
                    inControl || (FFixedAsButtons && pushedCol < FixedCols()) || pushedRow < FixedRows();
                if (fires && HasButton(pushedCol, pushedRow))
                    DoButtonClick(pushedCol, pushedRow);
                if (HasExpand(base.X, base.Y)) {
                    const bool inExpand = PointIn(GetExpandButtonRect(base.X, base.Y), X, Y);
                    if (inExpand || (FFixedAsButtons && pushedCol < FixedCols()) || pushedRow < FixedRows()) {
                        const Integer realPushed = RealColIndex(pushedCol);
                        const bool state = ToggleExpand(realPushed, pushedRow);
                        DoExpandClick(realPushed, pushedRow, state);
                    }
                }
            }
        }
        FPushedCellButton = TPoint(-1, -1);
        ReleaseCapture();
    }

    // 9. The sizing hint goes.
    if ((IsDesigning() || FHintShowSizing) && FScrollHintWnd != nullptr && FScrollHintWnd->Visible())
        FScrollHintWnd->SetVisible(false);

    // 10. A move the grid carries out itself (EnhRowColMove) shows the drag cursor.
    const bool enhancedMove = (Screen()->Cursor() == crDrag || Screen()->Cursor() == crNoDrop) &&
                              (GridState() == gsRowMoving || GridState() == gsColMoving) && FEnhRowColMove;

    // 11. A release on a cell's button or expand toggle ends here.
    if (validCell && !enhancedMove) {
        const Integer realCol = RealColIndex(ACol);
        if ((HasButton(ACol, ARow) && PointIn(GetCellControlRect(ACol, ARow), X, Y)) ||
            (HasExpand(realCol, ARow) && PointIn(GetExpandButtonRect(realCol, ARow), X, Y)))
            return;
    }

    // 12. A release on a header border that sizes a column.
    const bool onSizer =
        validCell && ARow < FixedRows() && Options().Contains(goColSizing) && Screen()->Cursor() == crHSplit;

    // 13. OnClick for a click on the fixed cells, once per press.
    if (OnClick && FDoOnClick && !onSizer && validCell && (ARow < FixedRows() || ACol < FixedCols()))
        OnClick(this);
    FDoOnClick = false;

    // 14. The end of selecting.
    if (GridState() == gsSelecting || Dragging()) {
        SetGridState(gsNormal);
        Click();
    }

    // 15. A press on the selection that did not become a drag.
    if (FSelectionClick) {
        FSelectionClick = false;
        if (ACol >= FixedCols() && ARow >= FixedRows()) {
            const bool disjunctDrag =
                FMouseActions->DisjunctRowSelect() && FDragDropSettings->OleDropSource();
            const bool ctrl = KeyHeld(VK_CONTROL);
            if (disjunctDrag && !ctrl && !FMouseActions->DisjunctRowSelectNoCtrl())
                ClearRowSelectAll();
            if (disjunctDrag && (ctrl || FMouseActions->DisjunctRowSelectNoCtrl())) {
                SetRowSelect(ARow, !GetRowSelect(ARow));
                if (OnMouseUp)
                    OnMouseUp(this, mbLeft, TShiftState{ssCtrl}, X, Y);
                return;
            }
            const bool indicator = FRowIndicator != nullptr && !FRowIndicator->Empty() && FixedCols() > 0;
            if (indicator)
                RepaintCell(0, Row());
            if (Options().Contains(goRowSelect))
                SetSelection(TGridRect{FixedCols(), ARow, ColCount() - 1, ARow});
            else
                SetSelection(TGridRect{ACol, ARow, ACol, ARow});
            if (indicator)
                RepaintCell(0, Row());
        }
    }

    // 16. Disjunct rows.
    bool rowDeselected = false;
    if (FMouseActions->DisjunctRowSelect()) {
        if (ACol == -1 && ARow == -1) {
            SelectionToRowSelect(false);
        } else if (ACol >= 0 && !(ACol == 0 && ARow >= 0 && IsNode(ARow))) {
            if (!(ACol == 0 && FMouseActions->HotmailRowSelect()))
                SelectionToRowSelect(false);
            if (ARow >= FixedRows() && ARow < RowCount() - FFixedFooters && FDeselectState) {
                SetRowSelect(FMouseActions->RowSelectPersistent() ? RealRowIndex(ARow) : ARow, false);
                rowDeselected = true;
            }
            if (FMouseActions->HotmailRowSelect())
                RepaintCell(0, 0);
        }
        FDeselectState = false;
    }

    // 17. A click on an expanded node row selects its group.
    if (validCell && IsNode(ARow) && FGrouping->AutoSelectGroup() && ACol > 0 && !GetNodeState(ARow)) {
        const Integer span = GetNodeSpan(ARow);
        if (FMouseActions->DisjunctRowSelect()) {
            for (Integer r = ARow + 1; r <= ARow + span - 1 && r < RowCount(); ++r)
                SetRowSelect(RealRowIndex(r), true);
        } else {
            SetSelection(
                TGridRect{FixedCols(), ARow, ColCount() - 1, std::min(ARow + span - 1, RowCount() - 1)});
        }
    }

    // 18. Disjunct columns.
    if (FMouseActions->DisjunctColSelect()) {
        SelectionToColSelect(false);
        if (ACol >= FixedCols() && ACol <= ColCount() - FFixedRightCols - 1 && FDeselectState)
            SetColSelect(ACol, false);
        FDeselectState = false;
    }

    // 19. The end of a move the grid carries out itself.
    bool moveEnded = false;
    if (enhancedMove) {
        if (MoveButton != nullptr) {
            MoveButton->SetEnabled(false);
            MoveButton->SetVisible(false);
        }
        DoEndBlockFocus();
        const bool dropped = Screen()->Cursor() != crNoDrop;
        Screen()->SetCursor(crDefault);
        const TGridState state = GridState();
        if (dropped) {
            if (state == gsColMoving && Movecell >= 0 && ACol >= FixedCols() && ACol != Movecell)
                MoveColumn(Movecell, ACol);
            else if (state == gsRowMoving && Movecell >= 0 && ARow >= FixedRows() && ARow != Movecell)
                MoveRow(Movecell, ARow);
        } else if (state == gsColMoving) {
            RepaintRow(0);
        } else {
            RepaintCol(0);
        }
        SetGridState(gsNormal);
        moveEnded = true;
    }

    // 20. The framework grid ends its sizing, moving or selecting and fires OnMouseUp. Sizing here keeps
    // the header click from sorting.
    const TGridState platformState = GridState();
    if (platformState == gsColSizing || platformState == gsRowSizing)
        ColSizeFlg = true;
    TBaseGrid::WMLButtonUp(Message);

    // 21.
    if (OnFixedCellClick && validCell && (ARow < FixedRows() || ACol < FixedCols()) && !onSizer)
        OnFixedCellClick(this, ACol, ARow);

    // 22.
    if (rowDeselected)
        FSelChange = false;
    if (GridState() == gsSelecting)
        SetGridState(gsNormal);

    // 23. A selection resize fills the enlarged selection with the cells copied at the press.
    if (FMouseResize) {
        const TGridRect now = Selection();
        if (OnSelectionResize)
            OnSelectionResize(this, FDropSelection, now);
        FEditDisable = true;
        try {
            PasteSelectionFromClipboard();
        } catch (...) {
            FEditDisable = false;
            FMouseResize = false;
            throw;
        }
        FEditDisable = false;
        FMouseResize = false;
        if (OnSelectionResized)
            OnSelectionResized(this, FDropSelection, now);
    }

    // 24.
    if (ColMoveFlg || ColSizeFlg || !validCell)
        return;

    // 25. The release events of check boxes and radio groups.
    const Integer realCol = RealColIndex(ACol);
    if (HasCheckBox(realCol, ARow) && OnCheckBoxMouseUp) {
        bool state = false;
        GetCheckBoxState(realCol, ARow, state);
        OnCheckBoxMouseUp(this, realCol, ARow, state);
    }
    if (IsRadio(realCol, ARow) && OnRadioMouseUp) {
        Integer index = -1;
        GetRadioIdx(realCol, ARow, index);
        OnRadioMouseUp(this, realCol, ARow, index);
    }

    // 26. Sorting by the header.
    ClickSort(ACol, ARow, X, Y, moveEnded);
}

void TAdvStringGrid::ClickSort(Integer ACol, Integer ARow, Integer X, Integer Y, bool moveEnded) {
    if (ACol < FixedCols() && ARow < FixedRows() && !FSortSettings->FixedCols())
        return;
    bool doSort = true;
    // 26.1 The release that ends a double click on a header border.
    if (FDblClk) {
        FDblClk = false;
        return;
    }
    // 26.2 A release on a column border ends a column sizing.
    const TRect r = CellRect(ACol, ARow);
    if (ARow < FixedRows() && Options().Contains(goColSizing) &&
        (std::abs(X - r.Left) <= 4 || std::abs(X - r.Right) <= 4))
        return;
    // 26.3 - 26.5
    Integer pressCol = -1;
    Integer pressRow = -1;
    MouseToCell(Clickposx, Clickposy, pressCol, pressRow);
    const Integer realCol = RealColIndex(ACol);
    if (FixedDropdownButtonShown() && CanShowFixedDropDown(realCol) && X > r.Right - 16)
        return;
    if (X > r.Right - 16 && BuildFilterList(realCol, false))
        return;
    // 26.6
    const bool applies = FSortSettings->Row() == ARow && ARow == pressRow && FixedRows() > 0 &&
                         !IsInCheckBox(realCol, ARow, X, Y) && FSortSettings->Show() && !moveEnded &&
                         RowCount() > 2;
    if (applies) {
        if (IsIgnoredColumn(realCol))
            doSort = false;
        DoCanSort(realCol, doSort);
    }
    if (!(applies && doSort)) {
        if (applies)
            RepaintCell(realCol, FSortSettings->Row());
        return;
    }

    // 26.7 The sort.
    HideInplaceEdit();
    if (RowCount() != FSortRowXRef->Count())
        InitSortXRef();
    const bool keepLeft = FNavigation->KeepHorizScroll() && Options().Contains(goRowSelect);
    const Integer leftCol = LeftCol();
    if (keepLeft)
        BeginUpdate();
    const DWORD start = GetTickCount();
    try {
        if (FSortSettings->IndexShow()) {
            const int key = FSortSettings->IndexSortKey() == ikShift ? VK_SHIFT : VK_CONTROL;
            TSortIndexList* indexes = FSortIndexes.get();
            const Integer at = indexes->FindIndex(realCol);
            const bool ascending = FSortSettings->InitSortDirection() == sdAscending;
            if (KeyHeld(key)) {
                if (at < 0)
                    indexes->AddIndex(realCol, ascending);
                else
                    indexes->ToggleIndex(realCol);
            } else if (indexes->Count() == 1 && at == 0) {
                indexes->ToggleIndex(realCol);
            } else {
                indexes->Clear();
                indexes->AddIndex(realCol, ascending);
            }
            // A grid with nodes sorts within them, keeping each node's rows under it.
            if (HasNodes())
                QSortGroupIndexed();
            else
                QSortIndexed();
            FSortSettings->SetColumn(indexes->Count() > 0 ? indexes->SortColumns(0) : -1);
        } else {
            bool undo = false;
            if (FSortSettings->Column() == realCol) {
                undo = FSortSettings->Direction() != FSortSettings->InitSortDirection() &&
                       FSortSettings->UndoSort();
                FSortSettings->ToggleDirection();
            } else {
                FSortSettings->SetDirection(FSortSettings->InitSortDirection());
                FSortSettings->SetColumn(realCol);
            }
            // Within nodes there is no unsorted order to go back to: the nodes sort again instead.
            if (HasNodes()) {
                QSortGroup();
            } else if (undo) {
                QUnSort();
                FSortSettings->SetColumn(-1);
            } else {
                QSort();
            }
        }
    } catch (...) {
        if (keepLeft) {
            SetLeftCol(leftCol);
            EndUpdate();
        }
        throw;
    }
    if (keepLeft) {
        SetLeftCol(leftCol);
        EndUpdate();
    }
    FSortTime = static_cast<Integer>(GetTickCount() - start);
    if (FControlList->Count() > 0)
        CellControlsUpdate(true);
    DoClickSort(FSortSettings->Column());
}
