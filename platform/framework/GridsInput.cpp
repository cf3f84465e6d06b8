// The grid's input: its messages, keyboard navigation, selecting, sizing and moving with the mouse,
// the wheel, the scroll bars and the auto-scroll timer.
#include "platform/framework/Grids.h"

#include <algorithm>

#include "platform/framework/Forms.h"
#include "platform/win32/winuser.h"

namespace {

// The grid's timer while it selects or moves past its edge, and how often it steps.
constexpr UINT_PTR ScrollTimerId = 1;
constexpr UINT ScrollTimerInterval = 60;

void Restrict(TGridCoord& coord, Integer minX, Integer minY, Integer maxX, Integer maxY) {
    coord.X = std::max(std::min(coord.X, maxX), minX);
    coord.Y = std::max(std::min(coord.Y, maxY), minY);
}

} // namespace

void TCustomGrid::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_GETDLGCODE:
        WMGetDlgCode(message);
        break;
    case WM_HSCROLL:
        if (message.LParam == 0)
            WMHScroll(message);
        else
            TCustomControl::Dispatch(message);
        break;
    case WM_VSCROLL:
        if (message.LParam == 0)
            WMVScroll(message);
        else
            TCustomControl::Dispatch(message);
        break;
    case WM_TIMER:
        WMTimer(message);
        break;
    case WM_CANCELMODE:
        WMCancelModeGrid(message);
        break;
    default:
        TCustomControl::Dispatch(message);
        break;
    }
}

bool TCustomGrid::IsActiveControl() {
    if (!HandleAllocated())
        return false;
    for (HWND focus = GetFocus(); focus != nullptr; focus = GetParent(focus)) {
        if (focus == WindowHandle())
            return true;
    }
    return false;
}

void TCustomGrid::WMGetDlgCode(TMessage& message) {
    message.Result = DLGC_WANTARROWS;
    if (FOptions.Contains(goRowSelect))
        return;
    if (FOptions.Contains(goTabs))
        message.Result |= DLGC_WANTTAB;
    if (FOptions.Contains(goEditing))
        message.Result |= DLGC_WANTCHARS;
}

// ---- Keys ----

void TCustomGrid::KeyDown(Word& key, TShiftState shift) {
    // Escape while sizing or moving drops the drag: nothing changes and the feedback goes away.
    if (key == VK_ESCAPE && FGridState != gsNormal && FGridState != gsSelecting) {
        CancelMode();
        SetMouseCapture(false);
        key = 0;
        return;
    }
    TCustomControl::KeyDown(key, shift);
    if (!CanGridAcceptKey(key, shift))
        key = 0;
    TGridDrawInfo drawInfo;
    CalcDrawInfo(drawInfo);
    const Integer pageWidth = std::max<Integer>(drawInfo.Horz.LastFullVisibleCell - LeftCol(), 1);
    const Integer pageHeight = std::max<Integer>(drawInfo.Vert.LastFullVisibleCell - TopRow(), 1);
    const bool rowSelect = FOptions.Contains(goRowSelect);
    TGridCoord newCurrent = FCurrent;
    TGridCoord newTopLeft = FTopLeft;
    if (shift.Contains(ssCtrl)) {
        switch (key) {
        case VK_UP:
            --newTopLeft.Y;
            break;
        case VK_DOWN:
            ++newTopLeft.Y;
            break;
        case VK_LEFT:
            if (!rowSelect) {
                newCurrent.X -= pageWidth;
                newTopLeft.X -= pageWidth;
            }
            break;
        case VK_RIGHT:
            if (!rowSelect) {
                newCurrent.X += pageWidth;
                newTopLeft.X += pageWidth;
            }
            break;
        case VK_PRIOR:
            newCurrent.Y = TopRow();
            break;
        case VK_NEXT:
            newCurrent.Y = drawInfo.Vert.LastFullVisibleCell;
            break;
        case VK_HOME:
            newCurrent = {FFixedCols, FFixedRows};
            break;
        case VK_END:
            newCurrent = {FColCount - 1, FRowCount - 1};
            break;
        default:
            break;
        }
    } else {
        switch (key) {
        case VK_UP:
            --newCurrent.Y;
            break;
        case VK_DOWN:
            ++newCurrent.Y;
            break;
        case VK_LEFT:
            if (rowSelect)
                --newTopLeft.X;
            else
                --newCurrent.X;
            break;
        case VK_RIGHT:
            if (rowSelect)
                ++newTopLeft.X;
            else
                ++newCurrent.X;
            break;
        case VK_NEXT:
            newCurrent.Y += pageHeight;
            newTopLeft.Y += pageHeight;
            break;
        case VK_PRIOR:
            newCurrent.Y -= pageHeight;
            newTopLeft.Y -= pageHeight;
            break;
        case VK_HOME:
            if (rowSelect)
                newCurrent.Y = FFixedRows;
            else
                newCurrent.X = FFixedCols;
            break;
        case VK_END:
            if (rowSelect)
                newCurrent.Y = FRowCount - 1;
            else
                newCurrent.X = FColCount - 1;
            break;
        case VK_TAB:
            if (!shift.Contains(ssAlt)) {
                // Tab walks the cells in reading order and wraps; Shift+Tab walks back and must not
                // extend the selection.
                if (shift.Contains(ssShift)) {
                    if (--newCurrent.X < FFixedCols) {
                        newCurrent.X = FColCount - 1;
                        if (--newCurrent.Y < FFixedRows)
                            newCurrent.Y = FRowCount - 1;
                    }
                    shift.Exclude(ssShift);
                } else if (++newCurrent.X >= FColCount) {
                    newCurrent.X = FFixedCols;
                    if (++newCurrent.Y >= FRowCount)
                        newCurrent.Y = FFixedRows;
                }
            }
            break;
        case VK_F2:
            SetEditorMode(true);
            break;
        case VK_ESCAPE:
            // Escape gives the cell back the text it had when editing began.
            if (FEditorMode && FInplaceEdit != nullptr && FInplaceCol != -1) {
                FInplaceEdit->SetText(FInplaceEdit->FStartText);
                UpdateText();
                if (FOptions.Contains(goAlwaysShowEditor))
                    FInplaceEdit->SelectAll();
                else
                    HideEditor();
            }
            break;
        default:
            break;
        }
    }
    const TGridCoord maxTopLeft = CalcMaxTopLeft({FColCount - 1, FRowCount - 1}, drawInfo);
    Restrict(newTopLeft, FFixedCols, FFixedRows, maxTopLeft.X, maxTopLeft.Y);
    if (newTopLeft != FTopLeft)
        MoveTopLeft(newTopLeft.X, newTopLeft.Y);
    Restrict(newCurrent, FFixedCols, FFixedRows, FColCount - 1, FRowCount - 1);
    if (newCurrent != FCurrent)
        FocusCell(newCurrent.X, newCurrent.Y, !shift.Contains(ssShift));
}

void TCustomGrid::KeyPress(Char& key) {
    TCustomControl::KeyPress(key);
    if (!FOptions.Contains(goAlwaysShowEditor) && key == u'\r') {
        if (FEditorMode)
            HideEditor();
        else
            ShowEditor();
        key = 0;
    }
}

void TCustomGrid::WMChar(TMessage& message) {
    const Char ch = static_cast<Char>(message.WParam);
    if (FOptions.Contains(goEditing) && (ch == u'\b' || ch >= u' ')) {
        // The editor gets the character as if it had been typed into it.
        ShowEditorChar(ch);
        return;
    }
    TCustomControl::WMChar(message);
}

// ---- Mouse ----

void TCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int X, int Y) {
    if (CanFocus() || GetParentForm(this) == nullptr) {
        SetFocus();
        if (!IsActiveControl()) {
            SetMouseCapture(false);
            return;
        }
    }
    if (button == mbLeft && shift.Contains(ssDouble)) {
        DblClick();
    } else if (button == mbLeft) {
        TGridDrawInfo drawInfo;
        CalcDrawInfo(drawInfo);
        CalcSizingState(X, Y, FGridState, FSizingIndex, FSizingPos, FSizingOfs, drawInfo);
        if (FGridState != gsNormal) {
            // A press that starts sizing is the grid's own: OnMouseDown does not see it.
            DrawSizingLine(drawInfo);
            return;
        }
        const TGridCoord cellHit = CalcCoordFromPoint(X, Y, drawInfo);
        if (cellHit.X >= FFixedCols && cellHit.Y >= FFixedRows) {
            if (FOptions.Contains(goEditing)) {
                if (cellHit == FCurrent) {
                    ShowEditor();
                } else {
                    MoveCurrent(cellHit.X, cellHit.Y, true, true);
                    UpdateEdit();
                }
                Click();
            } else {
                FGridState = gsSelecting;
                FTimerRunning = SetTimer(Handle(), ScrollTimerId, ScrollTimerInterval, nullptr) != 0;
                if (shift.Contains(ssShift))
                    MoveAnchor(cellHit);
                else
                    MoveCurrent(cellHit.X, cellHit.Y, true, true);
            }
        } else if (FOptions.Contains(goRowMoving) && cellHit.X >= 0 && cellHit.X < FFixedCols &&
                   cellHit.Y >= FFixedRows) {
            FMoveIndex = cellHit.Y;
            FMovePos = FMoveIndex;
            if (BeginRowDrag(FMoveIndex, FMovePos, TPoint(X, Y))) {
                FGridState = gsRowMoving;
                Update();
                DrawMove();
                FTimerRunning = SetTimer(Handle(), ScrollTimerId, ScrollTimerInterval, nullptr) != 0;
            }
        } else if (FOptions.Contains(goColMoving) && cellHit.Y >= 0 && cellHit.Y < FFixedRows &&
                   cellHit.X >= FFixedCols) {
            FMoveIndex = cellHit.X;
            FMovePos = FMoveIndex;
            if (BeginColumnDrag(FMoveIndex, FMovePos, TPoint(X, Y))) {
                FGridState = gsColMoving;
                Update();
                DrawMove();
                FTimerRunning = SetTimer(Handle(), ScrollTimerId, ScrollTimerInterval, nullptr) != 0;
            }
        }
    }
    // An OnMouseDown that throws must not leave the grid selecting or moving with its timer running.
    try {
        TCustomControl::MouseDown(button, shift, X, Y);
    } catch (...) {
        CancelMode();
        throw;
    }
}

void TCustomGrid::MouseMove(TShiftState shift, int X, int Y) {
    TGridDrawInfo drawInfo;
    CalcDrawInfo(drawInfo);
    switch (FGridState) {
    case gsSelecting:
    case gsColMoving:
    case gsRowMoving: {
        TGridCoord cellHit = CalcCoordFromPoint(X, Y, drawInfo);
        if (cellHit.X >= FFixedCols && cellHit.Y >= FFixedRows &&
            cellHit.X <= drawInfo.Horz.LastFullVisibleCell + 1 &&
            cellHit.Y <= drawInfo.Vert.LastFullVisibleCell + 1) {
            if (FGridState == gsSelecting) {
                if (cellHit != FAnchor)
                    MoveAnchor(cellHit);
            } else if (FGridState == gsColMoving) {
                MoveAndScroll(X, cellHit.X, drawInfo, drawInfo.Horz, SB_HORZ, TPoint(X, Y));
            } else {
                MoveAndScroll(Y, cellHit.Y, drawInfo, drawInfo.Vert, SB_VERT, TPoint(X, Y));
            }
        } else if (FGridState == gsColMoving && cellHit.Y >= 0) {
            MoveAndScroll(X, cellHit.X, drawInfo, drawInfo.Horz, SB_HORZ, TPoint(X, Y));
        } else if (FGridState == gsRowMoving && cellHit.X >= 0) {
            MoveAndScroll(Y, cellHit.Y, drawInfo, drawInfo.Vert, SB_VERT, TPoint(X, Y));
        }
        break;
    }
    case gsRowSizing:
    case gsColSizing:
        DrawSizingLine(drawInfo); // takes the old line away
        FSizingPos = (FGridState == gsRowSizing ? Y : X) + FSizingOfs;
        DrawSizingLine(drawInfo);
        break;
    default:
        break;
    }
    TCustomControl::MouseMove(shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int X, int Y) {
    const TGridState state = FGridState;
    try {
        TGridDrawInfo drawInfo;
        switch (state) {
        case gsSelecting:
            MouseMove(shift, X, Y);
            StopTimer();
            UpdateEdit();
            Click();
            break;
        case gsRowSizing:
        case gsColSizing: {
            CalcDrawInfo(drawInfo);
            DrawSizingLine(drawInfo);
            const bool cols = state == gsColSizing;
            const Integer newSize = ResizeLine(cols ? drawInfo.Horz : drawInfo.Vert);
            // A line dragged onto or before its cell's start leaves the size as it was.
            if (newSize > 1 && FSizingIndex < (cols ? FColCount : FRowCount)) {
                if (cols)
                    SetColWidths(FSizingIndex, newSize);
                else
                    SetRowHeights(FSizingIndex, newSize);
            }
            break;
        }
        case gsColMoving:
        case gsRowMoving:
            if (FMoveDrawn)
                DrawMove();
            StopTimer();
            if (state == gsColMoving) {
                if (EndColumnDrag(FMoveIndex, FMovePos, TPoint(X, Y)) && FMoveIndex != FMovePos)
                    MoveColumn(FMoveIndex, FMovePos);
            } else if (EndRowDrag(FMoveIndex, FMovePos, TPoint(X, Y)) && FMoveIndex != FMovePos) {
                MoveRow(FMoveIndex, FMovePos);
            }
            UpdateEdit();
            break;
        default:
            UpdateEdit();
            break;
        }
        TCustomControl::MouseUp(button, shift, X, Y);
    } catch (...) {
        FGridState = gsNormal;
        throw;
    }
    FGridState = gsNormal;
}

Integer TCustomGrid::ResizeLine(const TGridAxisDrawInfo& axis) {
    Integer start = axis.FixedBoundary;
    for (Integer i = axis.FirstGridCell; i < FSizingIndex; ++i)
        start += axis.GetExtent(i) + axis.EffectiveLineWidth;
    return FSizingPos - start;
}

void TCustomGrid::CalcSizingState(Integer X, Integer Y, TGridState& state, Integer& index, Integer& sizingPos,
                                  Integer& sizingOfs, TGridDrawInfo& fixedInfo) {
    auto calcAxisState = [&](const TGridAxisDrawInfo& axis, Integer pos, TGridState newState) {
        Integer line = axis.FixedBoundary;
        // The line is easy to hit: at least 7 pixels wide, centred on the grid line.
        Integer range = axis.EffectiveLineWidth;
        Integer back = 0;
        if (range < 7) {
            range = 7;
            back = (range - axis.EffectiveLineWidth) / 2;
        }
        for (Integer i = axis.FirstGridCell; i < axis.GridCellCount; ++i) {
            line += axis.GetExtent(i);
            if (line > axis.GridBoundary)
                break;
            if (pos >= line - back && pos <= line - back + range) {
                state = newState;
                sizingPos = line;
                sizingOfs = line - pos;
                index = i;
                return;
            }
            line += axis.EffectiveLineWidth;
        }
        if (axis.GridBoundary == axis.GridExtent && pos >= axis.GridExtent - back && pos <= axis.GridExtent) {
            state = newState;
            sizingPos = axis.GridExtent;
            sizingOfs = axis.GridExtent - pos;
            index = axis.LastFullVisibleCell + 1;
        }
    };
    state = gsNormal;
    index = -1;
    if (!FOptions.Contains(goColSizing) && !FOptions.Contains(goRowSizing))
        return;
    if (X > fixedInfo.Horz.FixedBoundary && FOptions.Contains(goColSizing)) {
        if (Y >= fixedInfo.Vert.FixedBoundary)
            return;
        calcAxisState(fixedInfo.Horz, X, gsColSizing);
    } else if (Y > fixedInfo.Vert.FixedBoundary && FOptions.Contains(goRowSizing)) {
        if (X >= fixedInfo.Horz.FixedBoundary)
            return;
        calcAxisState(fixedInfo.Vert, Y, gsRowSizing);
    }
}

void TCustomGrid::MoveAndScroll(Integer mouse, Integer cellHit, TGridDrawInfo& drawInfo,
                                TGridAxisDrawInfo& axis, int scrollBar, const TPoint& mousePt) {
    if (cellHit == FMovePos || (FMovePos == axis.FixedCellCount && mouse < axis.FixedBoundary) ||
        (FMovePos == axis.GridCellCount - 1 && mouse > axis.GridBoundary))
        return;
    if (FMoveDrawn)
        DrawMove();
    if (mouse < axis.FixedBoundary) {
        if (FMovePos > axis.FixedCellCount) {
            ModifyScrollBar(scrollBar, SB_LINEUP, 0);
            Update();
            CalcDrawInfo(drawInfo);
        }
        cellHit = axis.FirstGridCell;
    } else if (mouse >= axis.FullVisBoundary) {
        if (FMovePos == axis.LastFullVisibleCell && FMovePos < axis.GridCellCount - 1) {
            ModifyScrollBar(scrollBar, SB_LINEDOWN, 0);
            Update();
            CalcDrawInfo(drawInfo);
        }
        cellHit = axis.LastFullVisibleCell;
    } else if (cellHit < 0) {
        cellHit = FMovePos;
    }
    if ((FGridState == gsColMoving && CheckColumnDrag(FMoveIndex, cellHit, mousePt)) ||
        (FGridState == gsRowMoving && CheckRowDrag(FMoveIndex, cellHit, mousePt)))
        FMovePos = cellHit;
    DrawMove();
}

bool TCustomGrid::DoMouseWheelDown(TShiftState shift, TPoint mousePos) {
    bool result = TCustomControl::DoMouseWheelDown(shift, mousePos);
    if (!result) {
        if (FCurrent.Y < FRowCount - 1)
            SetRow(FCurrent.Y + 1);
        result = true;
    }
    return result;
}

bool TCustomGrid::DoMouseWheelUp(TShiftState shift, TPoint mousePos) {
    bool result = TCustomControl::DoMouseWheelUp(shift, mousePos);
    if (!result) {
        if (FCurrent.Y > FFixedRows)
            SetRow(FCurrent.Y - 1);
        result = true;
    }
    return result;
}

// ---- Scroll bars and the timer ----

void TCustomGrid::WMHScroll(TMessage& message) {
    ModifyScrollBar(SB_HORZ, message.WParamLo(), message.WParamHi());
}

void TCustomGrid::WMVScroll(TMessage& message) {
    ModifyScrollBar(SB_VERT, message.WParamLo(), message.WParamHi());
}

void TCustomGrid::StopTimer() {
    if (FTimerRunning && HandleAllocated())
        KillTimer(Handle(), ScrollTimerId);
    FTimerRunning = false;
}

void TCustomGrid::WMTimer(TMessage& message) {
    if (message.WParam != ScrollTimerId) {
        TCustomControl::Dispatch(message);
        return;
    }
    if (FGridState != gsSelecting && FGridState != gsRowMoving && FGridState != gsColMoving)
        return;
    POINT screen{};
    GetCursorPos(&screen);
    const TPoint point = ScreenToClient(TPoint(screen));
    TGridDrawInfo drawInfo;
    CalcDrawInfo(drawInfo);
    const TGridCoord cellHit = CalcCoordFromPoint(point.X, point.Y, drawInfo);
    switch (FGridState) {
    case gsColMoving:
        MoveAndScroll(point.X, cellHit.X, drawInfo, drawInfo.Horz, SB_HORZ, point);
        break;
    case gsRowMoving:
        MoveAndScroll(point.Y, cellHit.Y, drawInfo, drawInfo.Vert, SB_VERT, point);
        break;
    default: {
        TGridScrollDirection direction;
        if (point.X < drawInfo.Horz.FixedBoundary)
            direction.Include(sdLeft);
        else if (point.X > drawInfo.Horz.FullVisBoundary)
            direction.Include(sdRight);
        if (point.Y < drawInfo.Vert.FixedBoundary)
            direction.Include(sdUp);
        else if (point.Y > drawInfo.Vert.FullVisBoundary)
            direction.Include(sdDown);
        if (!direction.Empty())
            TimedScroll(direction);
        break;
    }
    }
}

void TCustomGrid::CancelMode() {
    const TGridState state = FGridState;
    if (state == gsNormal)
        return;
    // The feedback lines are inverted pixels: drawing them once more, in the state that drew them,
    // takes them away exactly.
    try {
        if (state == gsColSizing || state == gsRowSizing) {
            TGridDrawInfo drawInfo;
            CalcDrawInfo(drawInfo);
            DrawSizingLine(drawInfo);
        } else if ((state == gsColMoving || state == gsRowMoving) && FMoveDrawn) {
            DrawMove();
        }
    } catch (...) {
        FGridState = gsNormal;
        StopTimer();
        throw;
    }
    FGridState = gsNormal;
    StopTimer();
}

void TCustomGrid::SetGridState(TGridState value) {
    if (value == FGridState)
        return;
    // The line is inverted pixels: it goes away by drawing it again while the state that drew it holds.
    if (FGridState == gsColSizing || FGridState == gsRowSizing) {
        TGridDrawInfo drawInfo;
        CalcDrawInfo(drawInfo);
        DrawSizingLine(drawInfo);
    } else if ((FGridState == gsColMoving || FGridState == gsRowMoving) && FMoveDrawn) {
        DrawMove();
    }
    FGridState = value;
    // Back to normal, the auto-scroll timer has nothing left to do.
    if (value == gsNormal)
        StopTimer();
}

// A menu or another window that takes the mouse ends what the mouse had begun.
void TCustomGrid::WMCancelModeGrid(TMessage& message) {
    CancelMode();
    TCustomControl::Dispatch(message);
}

void TCustomGrid::WMCaptureChanged(TMessage& message) {
    // The release before MouseUp (no new owner) is the normal end, which MouseUp finishes itself.
    HWND newOwner = reinterpret_cast<HWND>(message.LParam);
    if (newOwner != nullptr && newOwner != WindowHandle())
        CancelMode();
    TCustomControl::WMCaptureChanged(message);
}

// ---- Focus, size and cursor ----

void TCustomGrid::WMSetFocus(TMessage& message) {
    TCustomControl::WMSetFocus(message);
    // The focus coming back from the editor (it hid, or the grid took the focus for its scroll bar)
    // leaves the editor as it is.
    HWND previous = reinterpret_cast<HWND>(message.WParam);
    if (FInplaceEdit == nullptr || !FInplaceEdit->HandleAllocated() ||
        previous != FInplaceEdit->WindowHandle()) {
        InvalidateGridRect(Selection());
        UpdateEdit();
    }
}

void TCustomGrid::WMKillFocus(TMessage& message) {
    TCustomControl::WMKillFocus(message);
    InvalidateGridRect(Selection());
    // The editor goes out of sight but editing stays on, so it is back when the focus returns: its
    // text is stored with every change already. Leaving for another control of the form ends editing
    // in DoExit.
    HWND focused = reinterpret_cast<HWND>(message.WParam);
    if (FInplaceEdit != nullptr && (focused == nullptr || focused != FInplaceEdit->WindowHandle()))
        FInplaceEdit->Hide();
}

void TCustomGrid::DoExit() {
    TCustomControl::DoExit();
    if (!FOptions.Contains(goAlwaysShowEditor))
        HideEditor();
}

void TCustomGrid::WMSize(TMessage& message) {
    TCustomControl::WMSize(message);
    UpdateScrollRange();
    if (FEditorMode && FInplaceEdit != nullptr)
        FInplaceEdit->UpdateLoc(CellRect(FCurrent.X, FCurrent.Y));
}

void TCustomGrid::WMSetCursor(TMessage& message) {
    if (LOWORD(static_cast<std::uintptr_t>(message.LParam)) == HTCLIENT &&
        reinterpret_cast<HWND>(message.WParam) == WindowHandle()) {
        TGridState state = FGridState;
        if (state == gsNormal) {
            POINT screen{};
            GetCursorPos(&screen);
            const TPoint point = ScreenToClient(TPoint(screen));
            TGridDrawInfo drawInfo;
            CalcDrawInfo(drawInfo);
            Integer index = 0;
            Integer pos = 0;
            Integer ofs = 0;
            CalcSizingState(point.X, point.Y, state, index, pos, ofs, drawInfo);
        }
        if (state == gsRowSizing || state == gsColSizing) {
            ::SetCursor(Screen()->Cursors(state == gsRowSizing ? crVSplit : crHSplit));
            message.Result = 1;
            return;
        }
    }
    TCustomControl::WMSetCursor(message);
}

void TCustomGrid::CMFontChanged(TMessage& message) {
    if (FInplaceEdit != nullptr)
        FInplaceEdit->Font()->Assign(Font());
    TCustomControl::CMFontChanged(message);
}
