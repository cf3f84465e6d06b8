// The grid's left-button press: the hit tests of in-cell controls, links, headers and editing in their
// fixed order, then the framework grid's own press.
#include <algorithm>
#include <cmath>

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/shell.h"
#include "platform/win32/time.h"
#include "platform/win32/windraw.h"
#include "render/AsgHTMLE.h"

namespace {

bool KeyHeld(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

bool PointIn(const TRect& r, Integer x, Integer y) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
}

LPARAM PointParam(Integer x, Integer y) {
    return static_cast<LPARAM>(
        MAKELONG(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(y))));
}

} // namespace

// ---- Shared pieces

TShiftState TAdvStringGrid::PressShift() const {
    if (KeyHeld(VK_MENU))
        return TShiftState{ssAlt};
    if (KeyHeld(VK_SHIFT))
        return TShiftState{ssShift};
    if (KeyHeld(VK_CONTROL))
        return TShiftState{ssCtrl};
    return TShiftState{};
}

TRect TAdvStringGrid::HTMLTextRect(Integer ACol, Integer ARow, Integer realCol) {
    TRect r = CellRect(ACol, ARow);
    r.Left += 1 + FXYOffset.X;
    r.Top += 1 + FXYOffset.Y;
    r.Right -= FXYOffset.X;
    if (HasCheckBox(realCol, ARow))
        r.Left += FControlLook->CheckSize();
    return r;
}

String TAdvStringGrid::HTMLAnchorAt(Integer ACol, Integer ARow, Integer X, Integer Y, String& hint,
                                    Integer& link, String& controlID, String& controlType,
                                    String& controlValue, TRect& controlRect) {
    const Integer realCol = RealColIndex(ACol);
    const String text = Cells(realCol, ARow);
    TRect bounds = HTMLTextRect(ACol, ARow, realCol);
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(IsFixed(ACol, ARow) ? FixedFont() : Font());
    String anchor;
    String plainText;
    String focusAnchor;
    Integer textWidth = 0;
    Integer textHeight = 0;
    Integer anchorCount = 0;
    Integer mouseAnchor = -1;
    TRect hoverRect;
    controlID.clear();
    if (!RenderMiniHTML(canvas, text, bounds, GridImages(), X, Y, -1, -1, 1, true, false, false, false, true,
                        false, !FEnhTextSize, false, String(), 1.0, FURLColor, clNone, clNone, 0x00808080,
                        anchor, plainText, focusAnchor, hint, textWidth, textHeight, anchorCount, mouseAnchor,
                        hoverRect, controlRect, controlID, controlValue, controlType, FImageCache.get(),
                        nullptr, HandleAllocated() ? WindowHandle() : nullptr, BiDiMode())) {
        anchor.clear();
        hint.clear();
        controlID.clear();
        mouseAnchor = -1;
    }
    link = mouseAnchor;
    return anchor;
}

// ---- The press

void TAdvStringGrid::WMLButtonDown(TMessage& Message) {
    const Integer X = GET_X_LPARAM(Message.LParam);
    const Integer Y = GET_Y_LPARAM(Message.LParam);

    // 1. Entry.
    FDoOnClick = true;
    FMouseKeepDown = true;
    FMouseDownMove = true;
    FSpinUpClick = false;
    FSpinDnClick = false;
    Integer ACol = -1;
    Integer ARow = -1;
    MouseToCell(X, Y, ACol, ARow);
    FOrigSelection = Selection();
    const TGridRect entrySelection = Selection();

    // 2. The selection-resize grip: a 6 x 6 square at the bottom-right of the selection.
    if (FSelectionResizer && FSelectionRectangle) {
        TRect grip = CellRect(entrySelection.Right, entrySelection.Bottom);
        if (BiDiMode() == bdRightToLeft)
            grip.Right = grip.Left + 6;
        else
            grip.Left = grip.Right - 6;
        grip.Top = grip.Bottom - 6;
        if (PointIn(grip, X, Y)) {
            StartSelectionResize(Message, X, Y,
                                 !(Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit()));
            Message.Result = 1;
            return;
        }
    }

    // 3. Touch scrolling from any cell but the current one.
    if (FMouseActions->TouchScroll() && ARow >= FixedRows() && !(ACol == Col() && ARow == Row())) {
        DoClickCell(ARow, ACol);
        FTimeStart = GetTickCount();
        ptdown = TPoint(X, Y);
        FTopDown = TopRow();
        FScrollStart = true;
        Message.Result = 1;
        SetCapture(Handle());
        return;
    }

    // 4. Range select and edit: a press outside the selection selects instead of editing.
    if (Options().Contains(goEditing) && FMouseActions->RangeSelectAndEdit() &&
        !PointInGridRect(ACol, ARow, Selection()))
        SetOptions(Options() - TGridOptions{goEditing});

    // 5. The click veto.
    bool allow = true;
    if (OnCanClickCell)
        OnCanClickCell(this, ARow, ACol, allow);
    if (!allow)
        return;

    // 6. Cell-selector mode.
    if (FCellSelectorMode) {
        EmptyHook188(ACol, ARow);
        return;
    }

    // 7. A resize started from the hovered handle.
    if (FMouseSelectMode == msResize) {
        StartSelectionResize(Message, X, Y, !Options().Contains(goEditing));
        return;
    }

    // 8, 9. The one modifier; a plain press empties the disjunct cells.
    const TShiftState shift = PressShift();
    if (FMouseActions->DisjunctCellSelect() && !shift.Contains(ssCtrl) && ACol >= 0 && ARow >= 0 &&
        !IsFixed(ACol, ARow)) {
        FSelectedCells->Clear();
        Invalidate();
    }

    // 10. Reset.
    SearchInc.clear();
    FMoveColInd = -1;
    FMoveRowInd = -1;
    FSelectionClick = false;
    FPushedCellButton = TPoint(-1, -1);
    FOldTopRow = TopRow();
    FOldKeepLeftCol = LeftCol();

    // 11. The cell left of or above the press, whose border a sizing press takes.
    if (ARow == 0)
        MouseToCell(X - 5, Y, Colclicked, Rowclicked);
    else if (ACol == 0)
        MouseToCell(X, Y - 4, Colclicked, Rowclicked);
    else
        MouseToCell(X - 5, Y - 4, Colclicked, Rowclicked);

    // 12. The hot header of the list-view look.
    if (FLook == glListView && FHotFixedCell.X >= 0 && FHotFixedCell.Y >= 0 &&
        (FHotFixedCell.X < FixedCols() || FHotFixedCell.Y < FixedRows()))
        RepaintCell(RealColIndex(FHotFixedCell.X), FHotFixedCell.Y);

    // 13.
    if (Colclicked >= 0 && Rowclicked >= 0) {
        Colclickedsize = ColWidths(Colclicked);
        Rowclickedsize = RowHeights(Rowclicked);
    }
    Clickposx = X;
    Clickposy = Y;
    const bool inFixedArea = ACol >= 0 && ARow >= 0 && (ARow < FixedRows() || ACol < FixedCols());

    // 14. Outside the cells.
    if (ACol == -1 || ARow == -1) {
        HideInplaceEdit();
        if (!FFixedRowAlways)
            TBaseGrid::WMLButtonDown(Message);
        return;
    }

    // 15. A merged block answers for its base cell.
    const Integer clickCol = ACol;
    const Integer clickRow = ARow;
    {
        const TPoint base = BaseCell(RealColIndex(ACol), ARow);
        ACol = DisplColIndex(base.X);
        ARow = base.Y;
    }
    const TRect cellRect = CellRect(ACol, ARow);

    // 16. Only the fixed rows are left.
    if (FFixedRowAlways && RowCount() == FFixedRowsMin && ARow == FFixedRowsMin - 1) {
        TBaseGrid::WMLButtonDown(Message);
        return;
    }

    // 17.
    if (FMouseActions->CaretPositioning())
        LButFlg = true;

    // 18, 19. Sizing a fixed column or row from its border.
    if (FSizeFixed) {
        FSizingFixed = true;
        FSizeFixedX = X;
        DrawFixedSizingLine(true, X);
        Integer x = 0;
        for (Integer c = 0; c < FixedCols(); ++c) {
            x += ColWidths(c) + 1;
            if (std::abs(x - 1 - X) < 3 && !IsDesigning())
                FSizingFixedCol = c;
        }
        return;
    }
    if (FSizeFixedR) {
        FSizingFixedR = true;
        FSizeFixedY = Y;
        DrawFixedSizingLine(false, Y);
        Integer y = 0;
        for (Integer r = 0; r < FixedRows(); ++r) {
            y += RowHeights(r) + 1;
            if (std::abs(y - 1 - Y) < 3 && !IsDesigning())
                FSizingFixedRow = r;
        }
        return;
    }

    // 20.
    if (inFixedArea || IsFixed(ACol, ARow))
        HideInplaceEdit();
    const bool otherFixed = IsFixed(ACol, ARow) && !inFixedArea;

    // 21, 22. Fixed cells drawn as buttons look pushed.
    bool nodeRow = IsNode(ARow);
    if (FFixedAsButtons && Options().Contains(goFixedVertLine) && Options().Contains(goFixedHorzLine) &&
        Ctl3D() && (inFixedArea || otherFixed) && !(nodeRow && IsInNodeGlyph(ARow, X))) {
        FPushedFixedCell = CellRect(ACol, ARow);
        FPushedCellButton = TPoint(ACol, ARow);
        FFixedCellPushed = true;
        RECT edge = FPushedFixedCell;
        DrawEdge(Canvas()->Handle(), &edge, BDR_SUNKENINNER, BF_RIGHT | BF_BOTTOM);
        DrawEdge(Canvas()->Handle(), &edge, BDR_SUNKENINNER, BF_LEFT | BF_TOP);
        nodeRow = false;
    }

    // 23 - 27. In-cell controls.
    const Integer realCol = RealColIndex(ACol);
    if (PressOnInCellControl(Message, ACol, ARow, realCol, cellRect, shift, nodeRow))
        return;

    // 28. A press inside a merged block goes to the framework grid at its base cell.
    if (IsMergedCell(realCol, ARow) && !IsFixed(ACol, ARow) && !OnMouseDown) {
        Integer px = cellRect.Left + 2;
        if (BiDiMode() == bdRightToLeft) {
            px = X;
            for (Integer c = ACol; c < clickCol; ++c)
                px += ColWidths(c);
        }
        Message.LParam = PointParam(px, cellRect.Top + 2);
    }

    // 29. Out of range.
    if (ACol >= ColCount() || ARow >= RowCount() || ACol < 0 || ARow < 0) {
        TBaseGrid::WMLButtonDown(Message);
        return;
    }

    // 30.
    if (Colclicked >= 0 && Rowclicked >= 0) {
        const TRect sized = CellRect(Colclicked, Rowclicked);
        Clickposdx = Clickposx - sized.Right;
        Clickposdy = Clickposy - sized.Bottom;
    } else {
        Clickposdx = Clickposx;
        Clickposdy = Clickposy;
    }

    // 31. Disjunct rows.
    if (FMouseActions->DisjunctRowSelect() && ARow >= FixedRows() &&
        (ACol >= FixedCols() || !(FMouseActions->HotmailRowSelect() || FMouseActions->RowSelect()))) {
        if (KeyHeld(VK_SHIFT)) {
            TBaseGrid::WMLButtonDown(Message);
            SetSelection(TGridRect{ACol, ARow, entrySelection.Left, entrySelection.Top});
            return;
        }
        if (KeyHeld(VK_CONTROL) || FMouseActions->DisjunctRowSelectNoCtrl()) {
            const Integer row = FMouseActions->RowSelectPersistent() ? RealRowIndex(ARow) : ARow;
            if (GetRowSelect(row))
                FDeselectState = true;
        } else {
            FMouseDown = true;
            if (!KeyHeld(VK_MENU))
                ClearRowSelectAll();
        }
    }

    // 32. Disjunct columns.
    if (FMouseActions->DisjunctColSelect() && ACol >= FixedCols()) {
        if (KeyHeld(VK_CONTROL)) {
            if (GetColSelect(ACol))
                FDeselectState = true;
        } else {
            FMouseDown = true;
            ClearColSelect();
        }
    }

    // 33. Links and form controls.
    if (PressOnAnchor(ACol, ARow, clickCol, clickRow, realCol, X, Y))
        return;

    // 34 - 38. Header clicks: select all, rows, columns; what may be moved.
    Movecell = -1;
    PressOnHeaders(ACol, ARow, X, Y, cellRect);

    // 39. Check boxes and radio buttons.
    bool mayEdit = Options().Contains(goEditing) || FMouseActions->RangeSelectAndEdit();
    CanEditCell(realCol, ARow, mayEdit);
    if (PressOnCheckControl(ACol, ARow, realCol, X, Y, mayEdit))
        return;

    // 40, 41. Always-visible editor buttons.
    const bool dataCell = ACol >= FixedCols() && ARow >= FixedRows();
    const bool comboButton =
        dataCell && FControlLook->DropDownAlwaysVisible() && HasComboBox(realCol, ARow, edNone);
    if (dataCell && FControlLook->DropDownAlwaysVisible() && HasEditBtn(realCol, ARow, edNone) &&
        X > cellRect.Right - 18 && X < cellRect.Right - 2 && Y >= cellRect.Top && Y < cellRect.Bottom) {
        HideInplaceEdit();
        SetCol(ACol);
        SetRow(ARow);
        ShowInplaceEdit();
        if (OnEllipsClick) {
            String text = Cells(realCol, ARow);
            const String before = text;
            OnEllipsClick(this, ACol, ARow, text);
            if (text != before) {
                TInplaceEdit* editor = InplaceEditor();
                if (FEditMode && editor != nullptr)
                    editor->SetText(text);
                else
                    SetCells(realCol, ARow, text);
            }
        }
    }

    // 42. Direct edit: the open editor closes before the framework grid takes the press. Closing it
    // validates what it holds; a refusal reopens it on its own cell, which then stays current, so the
    // press goes no further.
    const Integer refusals = FRefusals;
    const bool editable = mayEdit || (FMouseActions->EditOnDblClickOnly() && comboButton);
    if (dataCell && editable &&
        (FMouseActions->DirectEdit() || (FControlLook->DropDownAlwaysVisible() && comboButton))) {
        // A combo that opens only on a double click ends here without reporting the end of an edit.
        if (FMouseActions->EditOnDblClickOnly() && comboButton)
            FEditActive = false;
        HideInplaceEdit();
        if (CanFocus())
            SetFocus();
        if (FRefusals != refusals)
            return;
    }

    // 43.
    const TPoint base = BaseCell(realCol, ARow);
    const TGridRect sel = Selection();
    const bool onSelectedCell = PointIn(cellRect, X, Y) && sel.Left == DisplColIndex(base.X) &&
                                sel.Right == DisplColIndex(base.X) && sel.Top == base.Y &&
                                sel.Bottom == base.Y;

    // 44. Range select and edit once more.
    bool selectAtEnd = false;
    if (!onSelectedCell && FMouseActions->RangeSelectAndEdit() && !IsFixed(ACol, ARow) && !mayEdit) {
        SetOptions(Options() - TGridOptions{goEditing});
        selectAtEnd = true;
    }

    // 45. Other fixed cells.
    if (otherFixed) {
        if (!(ARow == RowCount() - 1 && FooterIsFixedLastRow()))
            DoClickCell(ARow, ACol);
        return;
    }

    // 46, 47. The framework grid's press. A refused validation of the cell being left keeps that cell
    // current with its editor reopened, so the direct edit below must not take the clicked cell.
    PlatformPress(Message, ACol, ARow);
    const bool refused = FRefusals != refusals;

    // 48. No click for a press on a header border that sizes.
    const bool nearBorder = X - cellRect.Left < 4 || cellRect.Right - X < 4;
    if (!(ARow < FixedRows() && Options().Contains(goColSizing) && nearBorder))
        DoClickCell(ARow, ACol);

    // 49. The cell the press left current is what a later validation compares with.
    if (OnCellValidate) {
        FEntered = false;
        StoreOldCell(Col(), Row());
    }

    // 50. A merged block edits at once.
    if (IsMergedCell(realCol, ARow) && !IsFixed(ACol, ARow) && mayEdit &&
        (onSelectedCell || FMouseActions->DirectEdit()))
        ShowInplaceEdit();

    // 51. Direct edit.
    if (!nearBorder && !refused && dataCell && editable &&
        (FMouseActions->DirectEdit() || (FControlLook->DropDownAlwaysVisible() && mayEdit && comboButton)) &&
        !IsClickControlCell(realCol, ARow)) {
        if (FMouseActions->EditOnDblClickOnly() && comboButton && !Options().Contains(goEditing)) {
            SetOptions(Options() + TGridOptions{goEditing});
            if (CanFocus())
                SetFocus();
        }
        bool allowed = true;
        if (Row() != ARow && OnRowChanging)
            OnRowChanging(this, Row(), ARow, allowed);
        if (Col() != ACol && OnColChanging)
            OnColChanging(this, Col(), ACol, allowed);
        if ((Row() != ARow || Col() != ACol) && OnCellChanging)
            OnCellChanging(this, Row(), Col(), ARow, ACol, allowed);
        if (allowed) {
            SetSelection(TGridRect{ACol, ARow, ACol, ARow});
            StoreOldCell(ACol, ARow);
            SetEditorMode(true);
        }
    }

    // 52.
    if (selectAtEnd)
        SetGridState(gsSelecting);
}

void TAdvStringGrid::StartSelectionResize(TMessage& Message, Integer X, Integer Y, bool platformPress) {
    SetGridState(gsSelecting);
    FDropSelection = Selection();
    CopySelectionToClipboard();
    FMouseResize = true;
    const TGridRect selection = Selection();
    const Integer col = Col();
    const Integer row = Row();
    if (platformPress)
        TBaseGrid::WMLButtonDown(Message);
    // The current cell stays; the selection's opposite corner is the end the drag moves.
    MoveColRow(col, row, true, false);
    MoveAnchor(TGridCoord{col == selection.Left ? selection.Right : selection.Left,
                          row == selection.Top ? selection.Bottom : selection.Top});
    MouseMove(TShiftState{}, X, Y);
}

void TAdvStringGrid::DrawFixedSizingLine(bool vertical, Integer pos) {
    // A dotted inverted line, drawn twice to take it away again.
    HDC dc = GetDC(Handle());
    const HPEN pen = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    const int oldRop = SetROP2(dc, R2_XORPEN);
    if (vertical) {
        const Integer bottom = std::max(CellRect(0, RowCount() - 1).Bottom, Height());
        MoveToEx(dc, pos, 0, nullptr);
        LineTo(dc, pos, bottom);
    } else {
        const Integer right = std::max(CellRect(ColCount() - 1, 0).Right, Width());
        MoveToEx(dc, 0, pos, nullptr);
        LineTo(dc, right, pos);
    }
    SetROP2(dc, oldRop);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    ReleaseDC(Handle(), dc);
}

bool TAdvStringGrid::PressOnInCellControl(TMessage& Message, Integer ACol, Integer ARow, Integer realCol,
                                          const TRect& cellRect, TShiftState shift, bool nodeRow) {
    const Integer X = GET_X_LPARAM(Message.LParam);
    const Integer Y = GET_Y_LPARAM(Message.LParam);
    if (!IsDesigning()) {
        // 24.1 Spin buttons shown without editing.
        if (FControlLook->SpinButtonsAlwaysVisible() && HasSpinEdit(realCol, ARow, edNone) &&
            X > cellRect.Right - 18) {
            if (Y > (cellRect.Top + cellRect.Bottom) / 2)
                FSpinDnClick = true;
            else
                FSpinUpClick = true;
        }
        const bool glyphHit = nodeRow && ACol == 0 && IsInNodeGlyph(ARow, X);
        // 24.2 The node glyph of a header row expands or contracts everything.
        if (ARow < FixedRows() && glyphHit && FMouseActions->NodeAllExpandContract()) {
            TCellGraphic* graphic = GetCellGraphic(0, ARow);
            const bool contracted = graphic != nullptr && graphic->CellBoolean();
            if (contracted)
                ExpandAll();
            else
                ContractAll();
            graphic = GetCellGraphic(0, ARow);
            if (graphic != nullptr)
                graphic->SetCellBoolean(!contracted);
        }
        // 24.3 A node glyph of a data row.
        if (ARow >= FixedRows() && glyphHit) {
            if (OnMouseDown)
                OnMouseDown(this, mbLeft, shift, X, Y);
            DoClickCell(ARow, ACol);
            const Integer realRow = RealRowIndex(ARow);
            bool allow = true;
            if (GetNodeState(ARow)) {
                if (OnBeforeExpandNode)
                    OnBeforeExpandNode(this, ARow, realRow, allow);
                if (allow) {
                    ExpandNode(realRow);
                    if (OnExpandNode)
                        OnExpandNode(this, ARow, realRow);
                }
            } else {
                if (OnBeforeContractNode)
                    OnBeforeContractNode(this, ARow, realRow, allow);
                if (allow) {
                    ContractNode(realRow);
                    if (OnContractNode)
                        OnContractNode(this, ARow, realRow);
                }
            }
            if (FMouseActions->MoveRowOnNodeClick())
                SetRow(ARow);
            return true;
        }
        // 24.4 A radio group.
        if (IsRadio(realCol, ARow) && (IsEditable(realCol, ARow) || FControlLook->RadioAlwaysActive())) {
            HideInplaceEdit();
            RadioClickAt(realCol, ARow, X - cellRect.Left, Y - cellRect.Top);
            if (CanFocus())
                SetFocus();
            return true;
        }
        // 24.5 The node column without row selection or row sizing.
        if (ACol == 0 && ARow >= FixedRows() && HasNodes() && !FMouseActions->RowSelect() &&
            !Options().Contains(goRowSizing)) {
            if (OnMouseDown)
                OnMouseDown(this, mbLeft, shift, X, Y);
            DoClickCell(ARow, ACol);
            return true;
        }
        // 24.6 A press on the selection may become a drag.
        const bool farFromBorders = X - cellRect.Left >= 4 && cellRect.Right - X >= 4;
        if ((IsSelected(ACol, ARow) || (ARow < FixedRows() && !FEnhRowColMove)) &&
            !Options().Contains(goEditing) && !HasButton(ACol, ARow) && !HasCheckBox(realCol, ARow) &&
            FDragDropSettings->OleDropSource() &&
            !(ARow < FixedRows() && (FMouseActions->ColSelect() || FMouseActions->AllSelect())) &&
            ACol >= FixedCols() && (farFromBorders || !Options().Contains(goColSizing))) {
            if (CanFocus())
                SetFocus();
            if (OnMouseDown)
                OnMouseDown(this, mbLeft, shift, X, Y);
            FSelectionClick = true;
            DoClickCell(ARow, ACol);
            return true;
        }
    }

    // 25. Ratings: half a star per 9 pixels.
    if (HasRating(realCol, ARow) && IsEditable(realCol, ARow)) {
        HideInplaceEdit();
        double value = std::trunc((X - cellRect.Left) / 9.0) / 2.0;
        if (DoRatingChange(realCol, ARow, value)) {
            SetFloats(realCol, ARow, value);
            RepaintCell(realCol, ARow);
        }
        return true;
    }

    // 26, 27. Cell buttons and expand buttons.
    const bool button = HasButton(ACol, ARow);
    const bool expand = !button && HasExpand(realCol, ARow);
    if (button || expand) {
        HideInplaceEdit();
        if (!IsFixed(ACol, ARow)) {
            FForceSel = true;
            SelectCell(ACol, ARow) && (MoveColRow(ACol, ARow, true, true), true);
            FForceSel = false;
        }
        const TRect hit = button ? GetCellControlRect(ACol, ARow) : GetExpandButtonRect(realCol, ARow);
        if (PointIn(hit, X, Y)) {
            if (button)
                PushButton(ACol, ARow, true);
            FPushedCellButton = TPoint(ACol, ARow);
            SetCapture(Handle());
            DoClickCell(ARow, ACol);
            return true;
        }
    }
    return false;
}

bool TAdvStringGrid::PressOnAnchor(Integer ACol, Integer ARow, Integer clickCol, Integer clickRow,
                                   Integer realCol, Integer X, Integer Y) {
    const String text = Cells(realCol, ARow);
    const bool html = CellTextKind(text, FEnableHTML) == CellKindHTML;
    if (!FURLShow && !html)
        return false;
    String anchor;
    String hint;
    Integer link = -1;
    String controlID;
    String controlType;
    String controlValue;
    TRect controlRect;
    if (!html) {
        if (HasURLScheme(text))
            anchor = text;
    } else {
        anchor =
            HTMLAnchorAt(ACol, ARow, X, Y, hint, link, controlID, controlType, controlValue, controlRect);
    }

    if (!anchor.empty() || !controlID.empty()) {
        bool mayEditControl = Options().Contains(goEditing) && !ReadOnly(RealColIndex(clickCol), clickRow);
        FCtrlDownId = controlID;
        if (!controlID.empty())
            DoCanEditCell(clickRow, clickCol, mayEditControl);
        if (!controlID.empty() && mayEditControl) {
            // An open form-control editor writes its value back first, so the text read below has it.
            if (FCtrlEditing)
                ControlEditExit(this);
            const String type = UpperCase(controlType);
            String cellText = Cells(realCol, ARow);
            if (type == u"BUTTON") {
                FCtrlXY = TPoint(realCol, ARow);
                FCtrlDown = true;
                RepaintCell(realCol, ARow);
            } else if (type == u"CHECK") {
                const String value = UpperCase(controlValue) == u"TRUE" ? u"FALSE" : u"TRUE";
                WriteControlValue(cellText, controlID, value);
                SetCells(realCol, ARow, cellText);
            } else if (type == u"RADIO") {
                cellText = UncheckAllRadioControls(cellText);
                WriteControlValue(cellText, controlID, u"TRUE");
                SetCells(realCol, ARow, cellText);
            }
            if (OnControlClick)
                OnControlClick(this, ARow, ACol, controlID, controlType, controlValue);
            ShowControlEditor(Cells(realCol, ARow), controlType, ARow, ACol, controlRect, controlValue,
                              controlID);
            return true;
        }
        if (!anchor.empty()) {
            bool autoHandle = true;
            if (OnAnchorClick)
                OnAnchorClick(this, ARow, ACol, anchor, autoHandle);
            if (!autoHandle)
                return true;
            if (Pos(u"CELL://", UpperCase(anchor)) > 0) {
                TPoint target;
                if (ParseRCReference(StringView(anchor).substr(7), target)) {
                    SetRow(target.Y);
                    SetCol(target.X);
                    ScrollInView(target.X, target.Y, spMiddle);
                }
                return true;
            }
            HWND owner = Application->Handle();
            ShellExecuteW(owner, u"open", anchor.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
            return true;
        }
    }
    if (html && Pos(u"<CONTROL", UpperCase(text)) > 0) {
        DoClickCell(clickRow, clickCol);
        HideInplaceEdit();
        SetSelection(TGridRect{ACol, ARow, ACol, ARow});
        return true;
    }
    return false;
}

void TAdvStringGrid::PressOnHeaders(Integer ACol, Integer ARow, Integer X, Integer Y, const TRect& cellRect) {
    const bool shiftHeld = KeyHeld(VK_SHIFT);
    // 35. Select all from the corner.
    if (ACol < FixedCols() && ARow < FixedRows() && FMouseActions->AllSelect() &&
        Options().Contains(goRangeSelect) && FMouseSelectMode == msAll) {
        const TGridRect old = Selection();
        if (CanFocus())
            SetFocus();
        ExportNotification(esExportStart, -1);
        ExportNotification(esExportNewRow, RowCount() - 1);
        ExportNotification(esExportFail, -1);
        HideSelection();
        const TGridRect range{FixedCols(), FixedRows(), ColCount() - 1, RowCount() - 1};
        EmptyHook190(range);
        SetSelection(range);
        FSelHidden = false;
        DoExit();
        if (FActiveCellShow)
            RepaintHeaderCells(old.Left, old.Top, ACol, ARow);
    }
    // 36. A row header selects its row.
    if (ACol < FixedCols() && ARow >= FixedRows() && FMouseActions->RowSelect() &&
        FMouseSelectMode == msRow) {
        const TGridRect old = Selection();
        if (FEditMode && CanFocus())
            SetFocus();
        if (FMouseActions->DisjunctRowSelect() && KeyHeld(VK_CONTROL)) {
            SetRowSelect(ARow, !GetRowSelect(ARow));
        } else {
            if (FMouseActions->DisjunctRowSelect())
                ClearRowSelectAll();
            HideSelection();
            if (FMouseActions->DisjunctCellSelect())
                FSelectedCells->Clear();
            if (shiftHeld)
                SetSelection(
                    TGridRect{FixedCols(), std::min(ARow, old.Top), ColCount() - 1, std::max(ARow, old.Top)});
            else
                SetSelection(TGridRect{FixedCols(), ARow, ColCount() - 1, ARow});
            FSelHidden = false;
            DoExit();
            FMouseSelectStart = ARow;
        }
        if (FActiveCellShow)
            RepaintHeaderCells(old.Left, old.Top, ACol, ARow);
        if (FRowIndicator != nullptr && !FRowIndicator->Empty())
            RepaintCol(0);
    }
    // 37. A column header selects its column.
    if (ACol >= FixedCols() && ARow < FixedRows() && FMouseActions->ColSelect() &&
        Options().Contains(goRangeSelect) && FMouseSelectMode == msColumn) {
        const TGridRect old = Selection();
        if (CanFocus())
            SetFocus();
        HideSelection();
        if (FMouseActions->DisjunctCellSelect())
            FSelectedCells->Clear();
        TGridRect range{ACol, FixedRows(), ACol, RowCount() - 1};
        if (shiftHeld) {
            if (ACol < old.Left) {
                range.Left = ACol;
                range.Right = old.Right;
            } else {
                range.Left = old.Left;
                range.Right = ACol;
            }
        }
        SetSelection(range);
        FSelHidden = false;
        DoExit();
        FMouseSelectStart = ACol;
        if (FActiveCellShow)
            RepaintHeaderCells(old.Left, old.Top, ACol, ARow);
    }
    // 38. What a drag from here would move.
    if (ACol >= FixedCols() && ARow < FixedRows())
        Movecell = ACol;
    else if (ACol < FixedCols() && ARow >= FixedRows())
        Movecell = ARow;
    MoveOfsX = X - cellRect.Left;
    MoveOfsY = Y - cellRect.Top;
}

bool TAdvStringGrid::PressOnCheckControl(Integer ACol, Integer ARow, Integer realCol, Integer X, Integer Y,
                                         bool mayEdit) {
    const bool hotmail = FMouseActions->HotmailRowSelect();
    const bool rowFits = ARow >= FixedRows() || (FMouseActions->CheckAllCheck() && !hotmail);
    if (!(ACol < ColCount() && ARow < RowCount() &&
          (mayEdit || FControlLook->CheckAlwaysActive() || (ACol == 0 && hotmail)) && rowFits &&
          (HasCheckBox(realCol, ARow) || HasRadioButton(realCol, ARow)) && IsInCheckBox(realCol, ARow, X, Y)))
        return false;

    const bool keepLeft = Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll();
    const Integer leftCol = LeftCol();
    if (keepLeft)
        BeginUpdate();
    HideInplaceEdit();
    if (CanFocus())
        SetFocus();
    const Integer realRow = RealRowIndex(ARow);
    if (HasRadioButton(realCol, ARow)) {
        ToggleRadioButton(realCol, ARow, true);
        if (OnRadioButtonClick)
            OnRadioButtonClick(this, realCol, ARow);
    } else {
        ToggleCheck(realCol, ARow, true);
    }
    if (FShowModified->Enabled()) {
        SetRowModified(ARow, true);
        RepaintCell(0, ARow);
    }
    if (ACol == 0 && hotmail) {
        SetSelection(TGridRect{FixedCols(), ARow, ColCount() - 1, ARow});
        SetRowSelect(realRow, !GetRowSelect(realRow));
        if (realRow != ARow)
            RepaintCell(0, ARow);
        if (ARow == Row() && !GetRowSelect(realRow)) {
            HideSelection();
            FSelHidden = false;
        }
    }
    bool state = false;
    GetCheckBoxState(realCol, ARow, state);
    if (!FNavigation->AlwaysEdit() && ACol >= FixedCols() && ARow >= FixedRows())
        MoveColRow(ACol, ARow, true, true);
    DoCheckBoxClick(ACol, ARow, state);
    if (HideFocusRect())
        RepaintCell(realCol, ARow);
    if (ARow < FixedRows() && FMouseActions->CheckAllCheck()) {
        for (Integer r = FixedRows(); r < RowCount(); ++r) {
            if (hotmail)
                SetRowSelect(r, state);
            else
                SetCheckBoxState(realCol, r, state);
        }
        Invalidate();
    }
    if (OnMouseDown)
        OnMouseDown(this, mbLeft, PressShift(), X, Y);
    Click();
    if (keepLeft) {
        SetLeftCol(leftCol);
        EndUpdate();
    }
    return true;
}

void TAdvStringGrid::PlatformPress(TMessage& Message, Integer ACol, Integer ARow) {
    const bool atEdge = ARow == TopRow() + VisibleRowCount() || ACol == LeftCol() + VisibleColCount() ||
                        (ACol == LeftCol() && LeftCol() > FixedCols());
    const bool keepLeft = Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll();
    const Integer leftCol = LeftCol();
    const Integer topRow = TopRow();
    if (keepLeft)
        BeginUpdate();
    try {
        if (!FSelHidden) {
            const bool alwaysEdit = FNavigation->AlwaysEdit();
            FNavigation->SetAlwaysEdit(false);
            try {
                TBaseGrid::WMLButtonDown(Message);
            } catch (...) {
                FNavigation->SetAlwaysEdit(alwaysEdit);
                throw;
            }
            FNavigation->SetAlwaysEdit(alwaysEdit);
        }
        if (GridState() == gsSelecting && atEdge && FMouseActions->NoAutoRangeScroll())
            SetGridState(gsNormal);
        if (TopRow() != topRow && FMouseActions->NoScrollOnPartialRow()) {
            SetTopRow(topRow);
            Perform(WM_LBUTTONUP, 0, 0);
        }
        if (LeftCol() != leftCol && FMouseActions->NoScrollOnPartialCol()) {
            SetLeftCol(leftCol);
            Perform(WM_LBUTTONUP, 0, 0);
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
}

// ---- Radio groups

void TAdvStringGrid::RadioClickAt(Integer ACol, Integer ARow, Integer XOfs, Integer YOfs) {
    const TPoint base = BaseCell(ACol, ARow);
    TCellGraphic* graphic = GetCellGraphic(base.X, base.Y);
    if (graphic == nullptr)
        return;
    const Integer displCol = DisplColIndex(base.X);
    if (!IsFixed(displCol, base.Y))
        MoveColRow(displCol, base.Y, true, true);
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    const Integer step = FControlLook->ControlStyle() >= AdvGrid::csWinXP ? 16 : FControlLook->RadioSize();
    TStrings* options = GetRadioStrings(base.X, base.Y);
    if (options == nullptr)
        return;
    Integer hit = -1;
    Integer acc = 0;
    for (Integer i = 0; i < options->Count(); ++i) {
        const Integer previous = acc;
        if (graphic->CellBoolean())
            acc += canvas->TextWidth(options->Strings(i)) + step;
        else
            acc += std::max(step, canvas->TextHeight(u"gh"));
        const Integer ofs = graphic->CellBoolean() ? XOfs : YOfs;
        if (acc > ofs && ofs > previous) {
            hit = i;
            break;
        }
    }
    if (hit < 0)
        return;
    SetCells(base.X, base.Y, options->Strings(hit));
    SetRadioIdx(base.X, base.Y, hit);
    if (OnRadioClick)
        OnRadioClick(this, displCol, base.Y, hit);
}
