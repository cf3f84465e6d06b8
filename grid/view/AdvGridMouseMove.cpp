// The grid's answer to mouse movement: the hover state painting reads (row, fixed cell, cell button,
// link), links and their events, what a press would do and the cursor; while a button is held, the
// feedback of the gesture the press began (row and column selection drags, fixed borders, the drag
// threshold, moving columns and rows, sizing events and the sizing hint).
#include <algorithm>
#include <cstdlib>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvGridUnit.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/framework/Messages.h"
#include "platform/win32/commctrl.h"

namespace {

bool PointIn(const TRect& r, Integer x, Integer y) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

bool PrimaryButtonDown() {
    const int button = GetSystemMetrics(SM_SWAPBUTTON) != 0 ? VK_RBUTTON : VK_LBUTTON;
    return (GetAsyncKeyState(button) & 0x8000) != 0;
}

// The cursor resources of the select modes.
constexpr int RowSelectCursor = 8010;
constexpr int ColumnSelectCursor = 8011;
constexpr int SelectAllCursor = 8012;
constexpr int CellSelectorCursor = 8014;

HCURSOR GridCursor(int number) {
    return LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(number));
}

} // namespace

// ---- Hover queries

bool TAdvStringGrid::IsHoverFixedCell(Integer ACol, Integer ARow) const {
    switch (FHoverFixedCells) {
    case hfAll:
        return (ACol >= 0 && ACol < FixedCols()) || (ARow >= 0 && ARow < FixedRows());
    case hfFixedColumns:
        return ACol >= 0 && ACol < FixedCols();
    case hfFixedRows:
        return ARow >= 0 && ARow < FixedRows();
    default:
        return false;
    }
}

void TAdvStringGrid::ResetFixedCellHighlight() {
    FSizeFixed = false;
    FSizeFixedR = false;
    FNoMouseLeave = false;
    if (FHoverFixedCells != hfNone && (FHoverFixedX != -1 || FHoverFixedY != -1)) {
        const Integer col = FHoverFixedX;
        const Integer row = FHoverFixedY;
        FHoverFixedX = -1;
        FHoverFixedY = -1;
        if (col >= 0 && row >= 0)
            RepaintCell(RealColIndex(col), row);
    }
}

bool TAdvStringGrid::OnFixedSizingBorder(Integer X, Integer Y) {
    Integer col = -1;
    Integer row = -1;
    MouseToCell(X, Y, col, row);
    if (col < 0 || row < 0)
        return false;
    const TRect r = CellRect(col, row);
    bool result = row <= FixedRows() && Options().Contains(goColSizing) &&
                  (std::abs(X - r.Left) < 4 || std::abs(X - r.Right) < 4);
    if (col <= FixedCols() && Options().Contains(goRowSizing))
        result = std::abs(Y - r.Top) < 4 || std::abs(Y - r.Bottom) < 4;
    return result;
}

bool TAdvStringGrid::FooterIsFixedLastRow() const {
    // The floating footer's style is not kept yet: a visible footer has its first style, the fixed last
    // row.
    return FFloatingFooter->Visible();
}

void TAdvStringGrid::SetGridCursor(TCursor Value) {
    // The grid's own temporary cursors leave FOldCursor, the one it returns to.
    if (Cursor() != Value) {
        Invokedchange = true;
        TBaseGrid::SetCursor(Value);
    }
}

void TAdvStringGrid::HideMoveArrows() {
    for (TArrowWindow* arrow : {ArwU.get(), ArwD.get(), ArwL.get(), ArwR.get()})
        if (arrow != nullptr)
            arrow->SetVisible(false);
}

// ---- The move

void TAdvStringGrid::MouseMove(TShiftState Shift, int X, int Y) {
    // 1. Dragging selects a range instead of editing.
    if (FMouseDownMove && FMouseActions->RangeSelectAndEdit() && Options().Contains(goEditing) && !FEditMode)
        SetOptions(Options() - TGridOptions{goEditing});

    // 2. Touch scrolling follows the finger a row height at a time.
    if (FScrollStart && ptdown.Y != -1 && DefaultRowHeight() > 0)
        SetTopRow((ptdown.Y - Y) / DefaultRowHeight() + FTopDown);

    // 3.
    const TGridRect before = Selection();
    if (FSelectionRectangle && GridState() == gsSelecting && !(Selection() == FSizeSelection))
        FSizeSelection = Selection();

    // 4 - 7.
    Integer ACol = -1;
    Integer ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (!IsDesigning())
        HoverCell(ACol, ARow);

    // 8. The cell button under the mouse.
    {
        bool onButton = false;
        if (ACol >= 0 && ARow >= 0) {
            const Integer realCol = RealColIndex(ACol);
            onButton = (HasButton(ACol, ARow) && PointIn(GetCellControlRect(ACol, ARow), X, Y)) ||
                       (HasExpand(realCol, ARow) && PointIn(GetExpandButtonRect(realCol, ARow), X, Y));
        }
        if (onButton) {
            if (FHoverButton.X != ACol || FHoverButton.Y != ARow) {
                if (FHoverButton.X >= 0)
                    RepaintCell(RealColIndex(FHoverButton.X), FHoverButton.Y);
                FHoverButton = TPoint(ACol, ARow);
                RepaintCell(RealColIndex(ACol), ARow);
            }
        } else if (FHoverButton.X >= 0) {
            RepaintCell(RealColIndex(FHoverButton.X), FHoverButton.Y);
            FHoverButton = TPoint(-1, -1);
        }
    }

    // 9, 10. Whole-row and whole-column selection drags.
    bool scrolledUp = false;
    if (FMouseSelectStart != -1 && FMouseActions->RowSelect() && FMouseSelectMode == msRow) {
        if (ARow >= FixedRows() && ARow <= RowCount() - FFixedFooters) {
            const Integer to = std::max(FixedRows(), ARow);
            SetSelection(TGridRect{FixedCols(), std::min(FMouseSelectStart, to), ColCount() - 1,
                                   std::max(FMouseSelectStart, to)});
            if (FSelectionRectangle && !(Selection() == FSizeSelection)) {
                RepaintRect(
                    TRect(LeftCol(), Selection().Top, LeftCol() + VisibleColCount(), Selection().Bottom));
                FSizeSelection = Selection();
            }
        }
        if (Y > Height() - 4 && TopRow() + VisibleRowCount() < RowCount())
            SetTopRow(TopRow() + 1);
        if (FixedRows() > 0 && RowCount() > 0 && Y < RowHeights(0) && TopRow() > FixedRows()) {
            SetTopRow(TopRow() - 1);
            scrolledUp = true;
        }
    }
    if (FMouseSelectStart != -1 && FMouseActions->ColSelect() && FMouseSelectMode == msColumn && ACol >= 0) {
        const Integer to = std::max(FixedCols(), ACol);
        SetSelection(TGridRect{std::min(FMouseSelectStart, to), FixedRows(), std::max(FMouseSelectStart, to),
                               RowCount() - 1});
        if (FSelectionRectangle && !(Selection() == FSizeSelection)) {
            RepaintRect(TRect(Selection().Left, TopRow(), Selection().Right, TopRow() + VisibleRowCount()));
            FSizeSelection = Selection();
        }
    }

    // 11. The borders of fixed columns and rows, one grid line per line whatever GridLineWidth is.
    FSizeFixed = false;
    {
        Integer x = 0;
        for (Integer c = 0; c < FixedCols(); ++c) {
            if (std::abs(x + ColWidths(c) - X) < 3 && ACol >= 0 && ARow >= 0 && !IsDesigning())
                FSizeFixed = FMouseActions->SizeFixedCol();
            x += ColWidths(c) + 1;
        }
    }
    if (FSizingFixed) {
        DrawFixedSizingLine(true, FSizeFixedX);
        FSizeFixedX = X;
        DrawFixedSizingLine(true, X);
    }
    FSizeFixedR = false;
    {
        Integer y = 0;
        for (Integer r = 0; r < FixedRows(); ++r) {
            if (std::abs(y + RowHeights(r) - Y) < 3 && ACol >= 0 && ARow >= 0 && !IsDesigning())
                FSizeFixedR = FMouseActions->SizeFixedRow();
            y += RowHeights(r) + 1;
        }
    }
    if (FSizingFixedR) {
        DrawFixedSizingLine(false, FSizeFixedY);
        FSizeFixedY = Y;
        DrawFixedSizingLine(false, Y);
    }

    // 12. The selection resizer's handle.
    bool onHandle = false;
    if (FSelectionResizer && FSelectionRectangle) {
        TRect r = CellRect(Selection().Right, Selection().Bottom);
        r.Top = r.Bottom - 6;
        if (BiDiMode() == bdLeftToRight)
            r.Left = r.Right - 6;
        else
            r.Right = r.Left + 6;
        onHandle = PointIn(r, X, Y);
    }

    // 13. A press on the selection that moves more than 3 pixels starts a drag.
    if (FSelectionClick && ACol >= 0 && ARow >= 0 && PrimaryButtonDown() &&
        (std::abs(X - Clickposx) > 3 || std::abs(Y - Clickposy) > 3) && FDragDropSettings->OleDropSource() &&
        GridState() != gsColSizing && !onHandle) {
        FSelectionClick = false;
        // FIXME: the OLE drag of cells and columns is not built; the gesture goes on as a range selection,
        // as it does after OnOleDrag refuses.
        if (GridState() == gsNormal)
            SetGridState(gsSelecting);
    }

    if (!IsDesigning()) {
        // 14. Sizing flags and whether a move may go on.
        if (GridState() == gsColSizing)
            ColSized = true;
        if (GridState() == gsRowSizing)
            RowSized = true;
        bool allow = true;
        if (GridState() == gsColMoving && OnColumnMove)
            OnColumnMove(this, Movecell, allow);
        else if (GridState() == gsRowMoving && OnRowMove)
            OnRowMove(this, Movecell, allow);
        if (!allow)
            SetGridState(gsNormal);

        // 15. Moves the grid carries out itself.
        if ((GridState() == gsRowMoving || GridState() == gsColMoving) && RowCount() > 1 &&
            (X != Clickposx || Y != Clickposy) && FEnhRowColMove && !FSizingFixed && !FSizingFixedR)
            EnhancedMoveFeedback(X, Y, ACol, ARow);

        // 16. What a press here would do.
        FMouseSelectMode = onHandle ? msResize : msNormal;
        bool cursorKept = false;
        if (ARow >= 0 && ARow < FixedRows() && ACol >= 0) {
            if (ACol < FixedCols() && FMouseActions->AllSelect()) {
                FMouseSelectMode = msAll;
                cursorKept = true;
            } else if (ACol >= FixedCols() && FMouseActions->ColSelect() && !OnFixedSizingBorder(X, Y)) {
                FMouseSelectMode = msColumn;
                cursorKept = true;
            }
        }
        const Integer lastRow = RowCount() - (FooterIsFixedLastRow() ? 2 : 1);
        if (ACol >= 0 && ACol < FixedCols() && ARow >= 0 && ARow <= lastRow &&
            (ARow >= FixedRows() || scrolledUp) && FMouseActions->RowSelect() && !OnFixedSizingBorder(X, Y) &&
            !IsInNodeGlyph(ARow, X)) {
            FMouseSelectMode = msRow;
            cursorKept = true;
        }
        if (cursorKept)
            Invokedchange = true;

        // 17. Links.
        MouseMoveLinks(X, Y, cursorKept);

        // 18. Back to the grid's own cursor.
        if (!cursorKept)
            SetGridCursor(FOldCursor);
    }

    // 19. The hint and the balloon follow the cell under the mouse.
    {
        Integer baseCol = ACol;
        Integer baseRow = ARow;
        if (ACol >= 0 && ARow >= 0) {
            Integer realBase = 0;
            if (ResolveBaseCell(RealColIndex(ACol), ARow, realBase, baseRow))
                baseCol = DisplColIndex(realBase);
        }
        if (FLastHintPos.X >= 0 && FLastHintPos.Y >= 0 &&
            (baseCol != FLastHintPos.X || baseRow != FLastHintPos.Y)) {
            Application->CancelHint();
            FLastHintPos = TPoint(-1, -1);
        }
        if (FBalloonSettings->Enable() && (baseCol != FLastBalloonPos.X || baseRow != FLastBalloonPos.Y)) {
            if (FHToolTip != nullptr)
                SendMessageW(FHToolTip, TTM_POP, 0, 0);
            FLastBalloonPos = TPoint(-1, -1);
        }
    }

    // 20. A drag selection repaints what it covers.
    if (GridState() == gsSelecting && FSelectionRectangle && !(Selection() == FMoveSelection)) {
        const TGridRect s = Selection();
        RepaintRect(TRect(s.Left, s.Top, s.Right, s.Bottom));
        FMoveSelection = s;
    }

    // 21. The framework grid's move: range selection, sizing and moving.
    TBaseGrid::MouseMove(Shift, X, Y);
    if (FNavigation->KeepHorizScroll() && FMouseKeepDown && GridState() != gsColMoving) {
        StartUpdate();
        SetLeftCol(FOldKeepLeftCol);
        ResetUpdate();
    }
    SizingFeedback(X, Y, ARow);
    if (FEnhRowColMove && (GridState() == gsRowMoving || GridState() == gsColMoving))
        Update();

    // 22.
    if (!(Selection() == before)) {
        const TGridRect s = Selection();
        DoSelectionChanged(s.Left, s.Top, s.Right, s.Bottom);
    }
}

void TAdvStringGrid::HoverCell(Integer ACol, Integer ARow) {
    // 5. The cell under the mouse.
    if (ACol >= 0 && ARow >= 0) {
        if (HoverRow() && ARow != FHoverRowIdx) {
            const Integer old = FHoverRowIdx;
            FHoverRowIdx = ARow;
            RepaintRow(ARow);
            if (old >= 0 && old < RowCount())
                RepaintRow(old);
        }
        // The in-cell scroll bar stands over the right edge of the cell that has one; its scroll
        // messages are the scroll bars' own.
        const Integer realCol = RealColIndex(ACol);
        if (HasScrollBar(realCol, ARow)) {
            FScrollCol = ACol;
            FScrollRow = ARow;
            const TRect r = CellRect(ACol, ARow);
            const TScrollProp prop = GetScrollProp(realCol, ARow);
            const Integer top = r.Top + GridLineWidth();
            const Integer left = r.Right - 17 - GridLineWidth();
            const bool placed =
                FScrollBar->Visible() && FScrollBar->Top() == top && FScrollBar->Left() == left;
            if (prop.PageSize < prop.Range && !placed) {
                FScrollBar->SetKind(sbVertical);
                FScrollBar->SetMin(0);
                FScrollBar->SetMax(prop.Range);
                FScrollBar->SetPageSize(prop.PageSize);
                FScrollBar->SetBounds(left, top, 17, r.Bottom - r.Top - 2 * GridLineWidth());
                FScrollBar->SetPosition(GetScrollPosition(realCol, ARow));
                FScrollBar->SetVisible(true);
            }
        } else {
            FScrollBar->SetVisible(false);
        }
        // FIXME: the hover-button strip is not built; hovering a row of the strip only makes it current.
        if (FHoverButtons->Enabled() && FHoverButtons->Buttons()->Count() > 0 &&
            (FHoverButtons->Rows() == hrAll || ARow >= FixedRows()) && ARow != Row())
            SetRow(ARow);
    }

    // 6. The hovered fixed cell.
    if (FHoverFixedCells != hfNone && !FNoMouseLeave) {
        const Integer oldCol = FHoverFixedX;
        const Integer oldRow = FHoverFixedY;
        FHoverFixedX = ACol;
        FHoverFixedY = ARow;
        const auto inFixed = [this](Integer c, Integer r) {
            return c >= 0 && r >= 0 && (r < FixedRows() || c < FixedCols());
        };
        const bool moved = oldCol != ACol || oldRow != ARow;
        if (moved && inFixed(oldCol, oldRow))
            RepaintCell(RealColIndex(oldCol), oldRow);
        if (moved && inFixed(ACol, ARow))
            RepaintCell(RealColIndex(ACol), ARow);
    }

    // 7. The hot header of the list-view look.
    if (FLook == glListView && (FHotFixedCell.X != ACol || FHotFixedCell.Y != ARow)) {
        const auto fixedCell = [this](const TPoint& p) {
            return p.X >= 0 && p.Y >= 0 && (p.X < FixedCols() || p.Y < FixedRows());
        };
        if (fixedCell(FHotFixedCell))
            RepaintCell(RealColIndex(FHotFixedCell.X), FHotFixedCell.Y);
        FHotFixedCell = TPoint(ACol, ARow);
        if (fixedCell(FHotFixedCell))
            RepaintCell(RealColIndex(ACol), ARow);
    }
}

void TAdvStringGrid::MouseMoveLinks(Integer X, Integer Y, bool& cursorKept) {
    Integer ACol = -1;
    Integer ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    if (ACol < 0 || ARow < 0 || ACol >= ColCount() || ARow >= RowCount())
        return;
    const Integer realCol = RealColIndex(ACol);
    const String text = Cells(realCol, ARow);
    const bool html = CellTextKind(text, FEnableHTML) == CellKindHTML;
    if (FURLShow && !html && HasURLScheme(text)) {
        cursorKept = true;
        SetGridCursor(LinkCursor);
    }
    if (html) {
        String hint;
        Integer link = -1;
        String controlID;
        String controlType;
        String controlValue;
        TRect controlRect;
        String anchor =
            HTMLAnchorAt(ACol, ARow, X, Y, hint, link, controlID, controlType, controlValue, controlRect);
        if (FURLUnderlineOnHover) {
            const bool otherCell = FHoverCell.X != ACol || FHoverCell.Y != ARow;
            if ((otherCell && FHoverCell.X >= 0) || FHoverlink != -1) {
                if (FHoverCell.X >= 0)
                    RepaintCell(RealColIndex(FHoverCell.X), FHoverCell.Y);
            }
            FHoverCell = TPoint(ACol, ARow);
            if (!(FHoverlink == -1 && link == -1)) {
                FHoverlink = link;
                RepaintCell(realCol, ARow);
            }
        }
        if (!anchor.empty() || !hint.empty()) {
            String shown = hint.empty() ? anchor : hint;
            if (OnAnchorHint)
                OnAnchorHint(this, ARow, ACol, shown);
            if (hint != FLastAnchorHint && !FLastAnchorHint.empty() && anchor != FAnchor) {
                FLastAnchorHint = hint;
                Application->CancelHint();
            } else if (FLastAnchorHint.empty()) {
                FLastAnchorHint = hint;
            }
            cursorKept = true;
            SetGridCursor(LinkCursor);
            if (anchor != FAnchor) {
                if (OnAnchorEnter)
                    OnAnchorEnter(this, ARow, ACol, anchor);
                FAnchor = anchor;
            }
            return;
        }
    } else if (FURLUnderlineOnHover &&
               (((FHoverCell.X != ACol || FHoverCell.Y != ARow) && FHoverCell.X >= 0) || FHoverlink != -1)) {
        FHoverlink = -1;
        if (FHoverCell.X >= 0)
            RepaintCell(RealColIndex(FHoverCell.X), FHoverCell.Y);
        FHoverCell = TPoint(-1, -1);
    }
    // The anchor left is the one the event names.
    if (!FAnchor.empty()) {
        const String left = FAnchor;
        FAnchor.clear();
        if (OnAnchorExit)
            OnAnchorExit(this, ARow, ACol, left);
    }
}

void TAdvStringGrid::EnhancedMoveFeedback(Integer X, Integer Y, Integer ACol, Integer ARow) {
    if (MoveButton == nullptr)
        return;
    bool mayDrop = true;
    DoStartBlockFocus();
    const bool columns = GridState() == gsColMoving;
    // FIXME: DragDropSettings.ShowCells shows no snapshot of the moved cells yet; the header button
    // follows the mouse.
    if (columns && Movecell >= FixedCols() && ARow >= 0) {
        MoveButton->SetCaption(Cells(RealColIndex(Movecell), 0));
        MoveButton->SetWidth(ColWidths(Movecell));
        MoveButton->SetHeight(RowHeights(ARow));
        MoveButton->Invalidate();
    } else if (!columns && Movecell >= FixedRows() && ACol >= 0) {
        MoveButton->SetCaption(Cells(0, Movecell));
        MoveButton->SetHeight(RowHeights(Movecell));
        MoveButton->SetWidth(ColWidths(ACol));
        MoveButton->Invalidate();
    }
    const TPoint at = ClientToScreen(TPoint(X - MoveOfsX, Y - MoveOfsY));
    MoveButton->SetLeft(at.X);
    MoveButton->SetTop(at.Y);

    if (columns) {
        if (FMoveColInd >= FixedCols() && FMoveColInd >= 0 && ACol >= 0) {
            const TRect cell = CellRect(FMoveColInd, 0);
            const TPoint topLeft = ClientToScreen(TPoint(cell.Left, cell.Top));
            const TPoint bottomRight = ClientToScreen(TPoint(cell.Right, cell.Bottom));
            const Integer x = FMoveColInd < Movecell ? topLeft.X - 5 : topLeft.X + ColWidths(FMoveColInd) - 5;
            ArwU->SetBounds(x, bottomRight.Y, ArwU->Width(), ArwU->Height());
            ArwD->SetBounds(x, topLeft.Y - 8, ArwD->Width(), ArwD->Height());
            const bool shown = FMoveColInd >= FixedCols() && FMoveColInd - LeftCol() < VisibleColCount();
            ArwU->SetVisible(shown);
            ArwD->SetVisible(shown);
        }
        FMoveColInd = ACol;
        FMoveRowInd = 0;
        if (OnColumnMoving)
            OnColumnMoving(this, ACol, mayDrop);
    } else {
        const bool footerRow = FooterIsFixedLastRow() && FMoveRowInd == RowCount() - 1;
        if (!footerRow && FMoveRowInd >= FixedRows() && FMoveRowInd - TopRow() < VisibleRowCount() &&
            ARow >= 0) {
            const TRect cell = CellRect(0, FMoveRowInd);
            const TPoint topLeft = ClientToScreen(TPoint(cell.Left, cell.Top));
            const TPoint bottomRight = ClientToScreen(TPoint(cell.Right, cell.Bottom));
            const Integer y =
                FMoveRowInd < Movecell ? topLeft.Y - 5 : topLeft.Y - 5 + RowHeights(FMoveRowInd);
            ArwL->SetBounds(topLeft.X - 10, y, ArwL->Width(), ArwL->Height());
            ArwR->SetBounds(bottomRight.X, y, ArwR->Width(), ArwR->Height());
            ArwL->SetVisible(true);
            ArwR->SetVisible(true);
        }
        FMoveColInd = 0;
        FMoveRowInd = ARow;
        if (OnRowMoving)
            OnRowMoving(this, ARow, mayDrop);
    }

    // Scrolling past the edges while not all lines show.
    if (columns && VisibleColCount() < ColCount() - FixedCols()) {
        Integer fixedWidth = 0;
        for (Integer c = 0; c < FixedCols(); ++c)
            fixedWidth += ColWidths(c);
        if (X < fixedWidth && LeftCol() > FixedCols()) {
            SetLeftCol(LeftCol() - 1);
            Repaint();
        } else if (X > Width() && LeftCol() + VisibleColCount() < ColCount()) {
            SetLeftCol(LeftCol() + 1);
            Repaint();
        }
    } else if (!columns && VisibleRowCount() < RowCount() - FixedRows()) {
        Integer fixedHeight = 0;
        for (Integer r = 0; r < FixedRows(); ++r)
            fixedHeight += RowHeights(r);
        if (Y < fixedHeight && TopRow() > FixedRows()) {
            SetTopRow(TopRow() - 1);
            Repaint();
        } else if (Y > Height() && TopRow() + VisibleRowCount() < RowCount()) {
            SetTopRow(TopRow() + 1);
            Repaint();
        }
    }

    if (!MoveButton->Visible()) {
        MoveButton->SetVisible(true);
        if (Parent() != nullptr && Parent()->HandleAllocated())
            ::SetFocus(Parent()->Handle());
    }
    if (!MoveButton->Enabled())
        MoveButton->SetEnabled(true);
    Screen()->SetCursor(mayDrop ? crDrag : crNoDrop);
}

void TAdvStringGrid::SizingFeedback(Integer X, Integer Y, Integer ARow) {
    const bool colSizing = GridState() == gsColSizing || FSizingFixed;
    const bool rowSizing = GridState() == gsRowSizing || FSizingFixedR;
    if (colSizing && OnColumnSizing) {
        if (FSizingFixed)
            OnColumnSizing(this, 0, FSizeFixedX);
        else if (Colclicked >= 0)
            OnColumnSizing(this, Colclicked, X - CellRect(Colclicked, std::max(ARow, 0)).Left - Clickposdx);
    }
    const Integer sizedRow = Rowclicked >= 0 ? Rowclicked : RowCount() - 1;
    const Integer sizedRowCol = Rowclicked >= 0 ? std::max(Colclicked, 0) : 0;
    if (rowSizing && OnRowSizing) {
        if (FSizingFixedR)
            OnRowSizing(this, 0, FSizeFixedY);
        else
            OnRowSizing(this, sizedRow, Y - CellRect(sizedRowCol, sizedRow).Top - Clickposdy);
    }
    if (!(IsDesigning() || FHintShowSizing) || !(colSizing || rowSizing) || FScrollHintWnd == nullptr)
        return;
    String text;
    TRect anchor = CellRect(0, 0);
    if (FSizingFixed) {
        text = u"cw=<b>" + IntToStr(FSizeFixedX) + u"</b>";
    } else if (FSizingFixedR) {
        text = u"rh=<b>" + IntToStr(FSizeFixedY) + u"</b>";
    } else if (colSizing) {
        const Integer c = Colclicked >= 0 ? Colclicked : ColCount() - 1;
        const Integer r = Colclicked >= 0 ? std::max(Rowclicked, 0) : 0;
        anchor = CellRect(c, r);
        text = u"cw=<b>" + IntToStr(X - anchor.Left - Clickposdx) + u"</b>";
    } else {
        anchor = CellRect(sizedRowCol, sizedRow);
        text = u"rh=<b>" + IntToStr(Y - anchor.Top - Clickposdy) + u"</b>";
    }
    // FIXME: the mini-HTML hint window is an empty control; it carries the hint's text and colour and
    // shows at its place, but does not measure or paint the text yet.
    FScrollHintWnd->SetText(text);
    FScrollHintWnd->SetColor(FHintColor);
    const TPoint at = ClientToScreen(TPoint(anchor.Left, anchor.Top));
    FScrollHintWnd->SetBounds(at.X, at.Y, 200, FScrollHintWnd->Height());
    FScrollHintWnd->SetVisible(true);
}

// ---- Entering and leaving, the cursor

void TAdvStringGrid::CMMouseEnter(TMessage& Message) {
    TBaseGrid::CMMouseEnter(Message);
    if (FMouseActions->AutoFocus() && !Focused() && CanFocus())
        SetFocus();
}

void TAdvStringGrid::CMMouseLeave(TMessage& Message) {
    TBaseGrid::CMMouseLeave(Message);
    FMouseSelectMode = msNormal;
    FSizeFixed = false;
    FSizeFixedR = false;
    if (FNoMouseLeave)
        return;
    if (FHoverFixedCells != hfNone && (FHoverFixedX != -1 || FHoverFixedY != -1)) {
        const Integer col = FHoverFixedX;
        const Integer row = FHoverFixedY;
        FHoverFixedX = -1;
        FHoverFixedY = -1;
        if (col >= 0 && row >= 0)
            RepaintCell(RealColIndex(col), row);
    }
    if (FLook == glListView && FHotFixedCell.X >= 0 && FHotFixedCell.Y >= 0 &&
        (FHotFixedCell.X < FixedCols() || FHotFixedCell.Y < FixedRows()))
        RepaintCell(RealColIndex(FHotFixedCell.X), FHotFixedCell.Y);
    if (HoverRow() && FHoverRowIdx != -1) {
        const Integer row = FHoverRowIdx;
        FHoverRowIdx = -1;
        if (row < RowCount())
            RepaintRow(row);
    }
}

void TAdvStringGrid::WMSetCursor(TMessage& Message) {
    POINT screen{};
    GetCursorPos(&screen);
    const TPoint point = ScreenToClient(TPoint(screen));
    if (FMouseSelectMode != msNormal && GridState() != gsRowSizing && GridState() != gsColSizing) {
        switch (FMouseSelectMode) {
        case msColumn:
            ::SetCursor(GridCursor(ColumnSelectCursor));
            break;
        case msRow:
            ::SetCursor(GridCursor(RowSelectCursor));
            break;
        case msAll:
        case msResize:
            ::SetCursor(GridCursor(SelectAllCursor));
            break;
        default:
            break;
        }
        Message.Result = 1;
    } else if (FCellSelectorMode) {
        ::SetCursor(GridCursor(CellSelectorCursor));
        Message.Result = 1;
    } else {
        TBaseGrid::WMSetCursor(Message);
        Integer col = -1;
        Integer row = -1;
        MouseToCell(point.X, point.Y, col, row);
        if (col != -1 && row != -1)
            DoGetCellCursor(col, row, point.X, point.Y);
    }
    if (FSizeFixed || FSizingFixed) {
        ::SetCursor(Screen()->Cursors(crHSplit));
        Message.Result = 1;
    } else if (FSizeFixedR || FSizingFixedR) {
        ::SetCursor(Screen()->Cursors(crVSplit));
        Message.Result = 1;
    }
}

void TAdvStringGrid::CursorChanged() {
    if (!Invokedchange)
        FMouseSelectMode = msNormal;
    Invokedchange = false;
}
