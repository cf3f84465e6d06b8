// The grid's window procedure: the registered editing messages, editor and combo-box notifications, the
// theme and border, the mouse wheel with zoom and row stepping, and middle-button wheel panning.
#include <algorithm>
#include <cmath>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvGridUnit.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/win32/windraw.h"

namespace {

// The shared theme notifier's message: the Office colour scheme may have changed.
constexpr UINT OfficeThemeMessage = WM_USER + 1969;
constexpr UINT WheelPanPeriod = 10;        // milliseconds between panning steps
constexpr Integer WheelPanDeadZone = 5;    // pixels around the start point that do not move
constexpr Integer WheelPanMarkerSize = 32; // the square the marker is repainted in

// The editors whose text goes into the cell while the user types, with ShowEditProcess.
bool FollowsTyping(TEditorType kind) {
    switch (kind) {
    case edNormal:
    case edNumeric:
    case edPositiveNumeric:
    case edFloat:
    case edCapital:
    case edMixedCase:
    case edPassword:
    case edLowerCase:
    case edUpperCase:
    case edPositiveFloat:
    case edSpinEdit:
    case edFloatSpinEdit:
    case edTimeSpinEdit:
    case edDateSpinEdit:
    case edEditBtn:
    case edNumericEditBtn:
    case edFloatEditBtn:
    case edMaskEditBtn:
        return true;
    default:
        return false;
    }
}

// Halves to even, as the grid rounds.
Integer RoundHalfEven(double value) {
    return static_cast<Integer>(std::nearbyint(value));
}

// The panning cursor for a direction: dy > 0 is down, dx > 0 is right; (0, 0) is the start cursor.
int PanCursorNumber(Integer dx, Integer dy) {
    static const int numbers[3][3] = {
        {8006, 8004, 8005}, // up-left, up, up-right
        {8002, 8000, 8003}, // left, still, right
        {8008, 8001, 8007}, // down-left, down, down-right
    };
    return numbers[dy + 1][dx + 1];
}

} // namespace

// ---- The window procedure

void TAdvStringGrid::WndProc(TMessage& Message) {
    const UINT msg = Message.Msg;
    if (msg == WM_DESTROY) {
        // Panning ends with the window: its timer and capture go, the cursor and hints come back.
        if (wheelpan)
            StopWheelPan();
        if (!Application->IsLibrary() && !IsDesigning() && FAutoThemeAdapt)
            SharedThemeNotifier(this)->UnRegisterWindow(WindowHandle());
        // FIXME: the window is not registered as an OLE drop target yet, so there is none to revoke.
        if (FGridTimerID != 0)
            KillTimer(WindowHandle(), FGridTimerID);
        FGridTimerID = 0;
        if (FFocusHelper->Enabled() && FFocusWindow != nullptr)
            FFocusWindow->SetVisible(false);
    }
    if (ComponentState().Contains(csDestroying)) {
        TBaseGrid::WndProc(Message);
        return;
    }

    const TGridRect oldSelection = Selection();
    const Integer oldRow = Row();
    bool handled = false;

    if (WM_GRIDEDITSHOW != 0 && msg == WM_GRIDEDITSHOW)
        ShowInplaceEdit();
    if (WM_GRIDEDITDONE != 0 && msg == WM_GRIDEDITDONE) {
        if (OnEditCellDone)
            OnEditCellDone(this, static_cast<Integer>(Message.WParam), static_cast<Integer>(Message.LParam));
        if (FMouseActions->EditOnDblClickOnly()) {
            HideInplaceEdit();
            FEditMode = false;
            SetOptions(Options() - TGridOptions{goEditing});
        }
    }

    switch (msg) {
    case WM_CANCELMODE:
        // A row or column move in progress ends without its drag button.
        if (Screen()->Cursor() == crDrag && (GridState() == gsRowMoving || GridState() == gsColMoving) &&
            FEnhRowColMove) {
            Screen()->SetCursor(crDefault);
            if (MoveButton != nullptr) {
                MoveButton->SetEnabled(false);
                MoveButton->SetVisible(false);
            }
            KillTimer(WindowHandle(), 1);
            SetGridState(gsNormal);
        }
        break;
    case WM_PAINT:
        if (FUpdateCount == 0 && FScrollProportional && FScrollType != ssMetro && !IsDesigning()) {
            UpdateVertScrollProportional();
            UpdateHorzScrollProportional();
        }
        break;
    case WM_SIZE:
    case WM_LBUTTONUP:
    case CM_UIACTIVATE:
        if (!IsDesigning()) {
            UpdateVertScrollProportional();
            UpdateHorzScrollProportional();
        }
        break;
    case WM_THEMECHANGED:
    case OfficeThemeMessage:
        if (FAutoThemeAdapt)
            FollowOfficeTheme();
        break;
    case WM_NCPAINT:
        TBaseGrid::WndProc(Message);
        if (FUpdateCount < 1) {
            DrawGridBorder();
            Message.Result = 0;
        }
        return;
    case WM_COMMAND:
        if (CommandMessage(Message))
            return;
        break;
    case WM_TIMER:
        // Every tick steps while panning, whichever timer it is.
        if (wheelpan)
            WheelPanStep();
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: // a quick second press is a press all the same
        if (wheelpan)
            StopWheelPan();
        else if (FWheelMsg != 0 && FIntelliPan != ipNone && RowCount() > FixedRows())
            StartWheelPan(TPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_KEYDOWN:
        if (wheelpan)
            StopWheelPan();
        break;
    default:
        break;
    }

    const bool wheel = FWheelMsg != 0 && msg == FWheelMsg && !wheelpan;
    if (wheel)
        MouseWheelStep(Message, oldSelection, handled);
    if (!handled) {
        // The grid stepped already: the framework's wheel handlers, which the framework reaches through
        // further messages, only answer.
        const bool stepped = FWheelStepped;
        FWheelStepped = stepped || wheel;
        TBaseGrid::WndProc(Message);
        FWheelStepped = stepped;
    }
    if (Row() != oldRow)
        FollowSyncGridRow();
    if (msg == CM_CURSORCHANGED)
        CursorChanged();
}

// ---- Commands: editor changes and combo notifications

bool TAdvStringGrid::CommandMessage(TMessage& Message) {
    const UINT code = HIWORD(Message.WParam);
    const HWND sender = reinterpret_cast<HWND>(Message.LParam);
    const bool fromChild = sender != nullptr && sender != WindowHandle();

    // The sender gets its notification back as a command of its own, which the framework reflects to
    // it; the grid's framework handling does not reflect it a second time.
    if (code == EN_CHANGE && fromChild) {
        SendMessageW(sender, WM_COMMAND, Message.WParam, Message.LParam);
        // The spin editor's changes carry its own text, not the hidden default editor's.
        const bool fromSpin =
            FEditSpin != nullptr && FEditSpin->HandleAllocated() && sender == FEditSpin->WindowHandle();
        TWinControl* editor = fromSpin ? static_cast<TWinControl*>(FEditSpin.get()) : InplaceEditor();
        if (FShowEditProcess && editor != nullptr && editor->HandleAllocated()) {
            SendMessageW(editor->WindowHandle(), WM_SETREDRAW, FALSE, 0);
            if (!FEditStart && FEditMode && FollowsTyping(FEditControlType))
                SetEditText(Col(), Row(), editor->Text());
            SendMessageW(editor->WindowHandle(), WM_SETREDRAW, TRUE, 0);
        }
        return true;
    }
    if (fromChild)
        SendMessageW(sender, WM_COMMAND, Message.WParam, Message.LParam);

    const HWND combo =
        EditCombo != nullptr && EditCombo->HandleAllocated() ? EditCombo->WindowHandle() : nullptr;
    TWinControl* linkControl = FEditLink != nullptr ? FEditLink->GetEditControl() : nullptr;
    const HWND link =
        linkControl != nullptr && linkControl->HandleAllocated() ? linkControl->WindowHandle() : nullptr;
    const bool fromCombo = combo != nullptr && sender == combo;

    if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE) {
        if (fromCombo && FEditMode) {
            ComboChanged();
        } else if (link != nullptr && sender == link && OnComboChange) {
            const Integer index = static_cast<Integer>(SendMessageW(link, CB_GETCURSEL, 0, 0));
            String item;
            // The item is read at its own length, however long it is.
            if (index != CB_ERR) {
                const LRESULT length = SendMessageW(link, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
                if (length > 0) {
                    item.resize(static_cast<size_t>(length) + 1);
                    const LRESULT copied = SendMessageW(link, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                                        reinterpret_cast<LPARAM>(item.data()));
                    item.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
                }
            }
            OnComboChange(this, Col(), Row(), index, item);
        }
    }
    if (code == CBN_CLOSEUP && fromCombo) {
        if (FMouseActions->DirectComboClose()) {
            const Integer index = EditCombo->ItemIndex();
            if (index >= 0)
                EditCombo->SetText(EditCombo->Items()->Strings(index));
            ComboChanged();
            FEditControlType = edComboEdit;
            FEditMode = true;
            const bool directEdit = FMouseActions->DirectEdit();
            FMouseActions->SetDirectEdit(false);
            HideInplaceEdit();
            FMouseActions->SetDirectEdit(directEdit);
            if (CanFocus())
                SetFocus();
        }
        DoComboCloseUp(RealColIndex(Col()), Row());
    }
    if (code == CBN_DROPDOWN && fromCombo)
        DoComboDropDown(RealColIndex(Col()), Row());
    if (code == CBN_EDITCHANGE && OnComboChange)
        OnComboChange(this, Col(), Row(), -1, EditCombo != nullptr ? EditCombo->Text() : String());
    return fromChild;
}

void TAdvStringGrid::ComboChanged() {
    const Integer index = EditCombo->ItemIndex();
    const String selection = index == -1 ? EditCombo->Text() : EditCombo->Items()->Strings(index);
    const Integer col = RealColIndex(Col());
    if (OnComboChange)
        OnComboChange(this, col, Row(), index, selection);
    if (OnComboObjectChange)
        OnComboObjectChange(this, col, Row(), index, selection,
                            index == -1 ? nullptr : EditCombo->Items()->Objects(index));
}

// ---- The mouse wheel

void TAdvStringGrid::MouseWheelStep(TMessage& Message, const TGridRect& oldSelection, bool& handled) {
    handled = true;
    if (FScrollBar != nullptr)
        FScrollBar->SetVisible(false);
    const TWMMouseWheel wheel(Message);
    const bool down = wheel.WheelDelta < 0;
    const TPoint mousePos(wheel.XPos, wheel.YPos);

    if (FMouseActions->WheelActive() == waMouseOver) {
        POINT pt{wheel.XPos, wheel.YPos};
        ::ScreenToClient(WindowHandle(), &pt);
        RECT client{};
        GetClientRect(WindowHandle(), &client);
        if (!PtInRect(&client, pt))
            return;
    }
    if (Parent() != nullptr && Parent()->Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam) != 0)
        return;
    if (KeysToShiftState(wheel.Keys).Contains(ssCtrl) && FIntelliZoom) {
        Zoom(down ? -FWheelScrollLines : FWheelScrollLines);
        DoIntelliZoom();
        return;
    }
    if (!FEnableWheel)
        return;
    if (FFixedRowAlways && RowCount() == 1)
        return;

    Integer step = FMouseActions->WheelIncrement() > 0 ? FMouseActions->WheelIncrement() : FWheelScrollLines;
    const bool moveSelection = FMouseActions->WheelAction() == waMoveSelection;
    Integer q = Row();
    if (!moveSelection) {
        if (down) {
            if (TopRow() < RowCount() - VisibleRowCount() && TopRow() + step >= FixedRows())
                SetTopRow(std::min(TopRow() + step, RowCount() - 1));
        } else {
            if (TopRow() - step < FixedRows())
                step = TopRow() - FixedRows();
            if (TopRow() > FixedRows() && TopRow() - step >= FixedRows())
                SetTopRow(TopRow() - step);
        }
    } else {
        q = down ? Row() + step : Row() - step;
    }

    q = std::max(FixedRows(), std::min(q, RowCount() - FFixedFooters - 1));
    if (Col() >= ColCount() && Row() >= RowCount())
        FocusCell(ColCount() - 1, RowCount() - 1, true);
    else if (Col() >= ColCount())
        FocusCell(ColCount() - 1, Row(), true);
    else if (Col() < FixedCols())
        FocusCell(FixedCols(), Row(), true);
    const Integer leftCol = LeftCol();

    Integer moved = 0;
    if (q >= 0 && q < RowCount()) {
        // The moves repaint once at the end; an update the wheel came into stays open.
        const Integer updateCount = FUpdateCount;
        StartUpdate();
        if (FMouseActions->DisjunctRowSelect() && moveSelection)
            ClearRowSelectAll();
        moved = q - Row();
        if (moveSelection) {
            SetRow(q);
            // Rows that refuse the selection are passed by pushing the target on by the shortfall.
            if (Row() < q) {
                while (Row() != q) {
                    q += q - Row();
                    if (q >= RowCount())
                        break;
                    SetRow(q);
                }
            } else if (Row() > q) {
                while (Row() != q) {
                    q -= Row() - q;
                    if (q < FixedRows())
                        break;
                    SetRow(q);
                }
            }
            if (Row() != q) {
                const Integer half = Row() + RoundHalfEven((q - Row()) / 2.0);
                SetRow(std::max(FixedRows(), std::min(half, RowCount() - 1)));
                if (TopRow() > FixedRows())
                    SetTopRow(TopRow() - 1);
            }
        }
        if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll())
            SetLeftCol(leftCol);
        FUpdateCount = updateCount;
    }

    bool hookHandled = true;
    WheelHook(moved, hookHandled);
    const bool disjunct = FMouseActions->DisjunctRowSelect();
    if (hookHandled && (FMouseActions->WheelIncrement() != 0 || disjunct)) {
        Message.Result = 1;
        const TShiftState shift = disjunct ? KeyDataToShiftState(0) : TShiftState{};
        bool eventHandled = false;
        if (down && OnMouseWheelDown)
            OnMouseWheelDown(this, shift, mousePos, eventHandled);
        else if (!down && OnMouseWheelUp)
            OnMouseWheelUp(this, shift, mousePos, eventHandled);
    }
    const TGridRect selection = Selection();
    if (!(selection == oldSelection))
        DoSelectionChanged(selection.Left, selection.Top, selection.Right, selection.Bottom);
    if (FSearchFooter->Visible() && TopRow() == RowCount() - VisibleRowCount())
        ScrollAboveSearchFooter();
    handled = hookHandled;
}

bool TAdvStringGrid::WheelEventOnly(bool down, TShiftState Shift, TPoint MousePos) {
    bool eventHandled = false;
    if (down && OnMouseWheelDown)
        OnMouseWheelDown(this, Shift, MousePos, eventHandled);
    else if (!down && OnMouseWheelUp)
        OnMouseWheelUp(this, Shift, MousePos, eventHandled);
    return eventHandled;
}

bool TAdvStringGrid::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    if (FWheelStepped) {
        WheelEventOnly(true, Shift, MousePos);
        return true;
    }
    if (FDropList->Visible() || FDropCheckList->Visible())
        return false;
    if (FMouseActions->WheelAction() == waScroll || !FEnableWheel)
        return WheelEventOnly(true, Shift, MousePos);
    const bool directEdit = FMouseActions->DirectEdit();
    const bool editing = FEditMode;
    FMouseActions->SetDirectEdit(false);
    bool result;
    if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll()) {
        const Integer leftCol = LeftCol();
        BeginUpdate();
        result = TBaseGrid::DoMouseWheelDown(Shift, MousePos);
        SetLeftCol(leftCol);
        EndUpdate();
    } else {
        result = TBaseGrid::DoMouseWheelDown(Shift, MousePos);
        if (editing && CanFocus())
            SetFocus();
    }
    FMouseActions->SetDirectEdit(directEdit);
    return result;
}

bool TAdvStringGrid::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    if (FWheelStepped) {
        WheelEventOnly(false, Shift, MousePos);
        return true;
    }
    if (FDropList->Visible() || FDropCheckList->Visible())
        return false;
    if (FMouseActions->WheelAction() == waScroll || !FEnableWheel)
        return WheelEventOnly(false, Shift, MousePos);
    const bool directEdit = FMouseActions->DirectEdit();
    const bool editing = FEditMode;
    FMouseActions->SetDirectEdit(false);
    bool result = true;
    if (Options().Contains(goRowSelect) && FNavigation->KeepHorizScroll()) {
        const Integer leftCol = LeftCol();
        BeginUpdate();
        result = TBaseGrid::DoMouseWheelUp(Shift, MousePos);
        SetLeftCol(leftCol);
        EndUpdate();
    } else if (Row() < RowCount() && Col() < ColCount()) {
        result = TBaseGrid::DoMouseWheelUp(Shift, MousePos);
        if (editing && CanFocus())
            SetFocus();
    }
    FMouseActions->SetDirectEdit(directEdit);
    return result;
}

// ---- Wheel panning

void TAdvStringGrid::StartWheelPan(const TPoint& pos) {
    RegisterGridResources();
    FICursor = LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(8000));
    prevcurs = ::SetCursor(FICursor);
    wheelpan = true;
    wheeltimer = SetTimer(WindowHandle(), WheelPanTimerID, WheelPanPeriod, nullptr);
    wheelpanpos = pos;
    SetCapture(WindowHandle());
    FPanHintsWere = Application->ShowHint();
    Application->SetShowHint(false);
    PaintWheelPanMarker();
}

void TAdvStringGrid::StopWheelPan() {
    // Cleared first: releasing the capture sends messages that must not step any more.
    wheelpan = false;
    ReleaseCapture();
    if (wheeltimer != 0)
        KillTimer(WindowHandle(), wheeltimer);
    wheeltimer = 0;
    ::SetCursor(prevcurs);
    Application->SetShowHint(FPanHintsWere);
    InvalidateWheelPanMarker();
}

void TAdvStringGrid::WheelPanStep() {
    POINT mouse{};
    GetCursorPos(&mouse);
    ::ScreenToClient(WindowHandle(), &mouse);
    auto direction = [](Integer at, Integer start) {
        return at < start - WheelPanDeadZone ? -1 : at > start + WheelPanDeadZone ? 1 : 0;
    };
    Integer dx = direction(mouse.x, wheelpanpos.X);
    Integer dy = direction(mouse.y, wheelpanpos.Y);
    if (FIntelliPan == ipHorizontal)
        dy = 0;
    if (FIntelliPan == ipVertical)
        dx = 0;
    const int number = PanCursorNumber(dx, dy);
    const HCURSOR cursor =
        number == 8000 ? FICursor : LoadCursorW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(number));

    // The current cell is first put back among the normal cells.
    const Integer lastRow = RowCount() - FFixedFooters - 1;
    const Integer lastCol = ColCount() - FFixedRightCols - 1;
    if (Row() < FixedRows())
        SetRow(FixedRows());
    else if (Row() > lastRow && lastRow >= FixedRows())
        SetRow(lastRow);
    if (Col() < FixedCols())
        SetCol(FixedCols());
    else if (Col() > lastCol && lastCol >= FixedCols())
        SetCol(lastCol);

    const TGridRect oldSelection = Selection();
    if (FMouseActions->WheelAction() == waScroll) {
        const Integer lastLeft = ColCount() - VisibleColCount();
        const Integer lastTop = RowCount() - VisibleRowCount();
        if (dx == -1 && LeftCol() > FixedCols()) {
            InvalidateWheelPanMarker();
            SetLeftCol(LeftCol() - 1);
        }
        if (dx == 1 && LeftCol() < lastLeft) {
            InvalidateWheelPanMarker();
            SetLeftCol(LeftCol() + 1);
        }
        if (dy == -1 && TopRow() > FixedRows()) {
            InvalidateWheelPanMarker();
            SetTopRow(TopRow() - 1);
        }
        if (dy == 1 && TopRow() < lastTop) {
            InvalidateWheelPanMarker();
            SetTopRow(TopRow() + 1);
        }
    } else {
        Integer col = Col();
        Integer row = Row();
        if (dx == -1 && col > FixedCols())
            --col;
        if (dx == 1 && col < lastCol)
            ++col;
        if (dy == -1 && row > FixedRows())
            --row;
        if (dy == 1 && row < lastRow)
            ++row;
        // A move that scrolls takes the marker's pixels along: repaint its place.
        if (col < LeftCol() || col >= LeftCol() + VisibleColCount() || row < TopRow() ||
            row >= TopRow() + VisibleRowCount())
            InvalidateWheelPanMarker();
        if (col != Col())
            SetCol(col);
        if (row != Row())
            SetRow(row);
    }
    ::SetCursor(cursor);
    PaintWheelPanMarker();
    const TGridRect selection = Selection();
    if (!(selection == oldSelection))
        DoSelectionChanged(selection.Left, selection.Top, selection.Right, selection.Bottom);
}

void TAdvStringGrid::PaintWheelPanMarker() {
    if (FIntelliPan == ipNone || !HandleAllocated())
        return;
    static const Char* const names[] = {u"INTLI3", u"INTLI2", u"INTLI1"}; // vertical, horizontal, both
    RegisterGridResources();
    TBitmap picture;
    try {
        picture.LoadFromResourceName(reinterpret_cast<NativeUInt>(GetModuleHandleW(nullptr)),
                                     names[static_cast<int>(FIntelliPan)]);
    } catch (const Exception&) {
        // Without its picture the marker is not drawn; panning works all the same.
        return;
    }
    // The picture's top-left colour is its background: the marker shows white there.
    TBitmap marker(picture.Width(), picture.Height());
    marker.Canvas()->Brush()->SetColor(clWhite);
    marker.Canvas()->FillRect(TRect(0, 0, picture.Width(), picture.Height()));
    picture.SetTransparentColor(picture.Canvas()->Pixels(0, 0));
    picture.SetTransparent(true);
    marker.Canvas()->Draw(0, 0, &picture);
    Canvas()->Draw(wheelpanpos.X, wheelpanpos.Y, &marker);
}

void TAdvStringGrid::InvalidateWheelPanMarker() {
    if (!HandleAllocated())
        return;
    RECT area{wheelpanpos.X, wheelpanpos.Y, wheelpanpos.X + WheelPanMarkerSize,
              wheelpanpos.Y + WheelPanMarkerSize};
    InvalidateRect(WindowHandle(), &area, FALSE);
}

// ---- Events

void TAdvStringGrid::DoSelectionChanged(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom) {
    if (FLook == glVista || FLook == glWin7 || FLook == glOffice2007)
        InvalidateGridRect(Selection());
    FSelectionChangedFlag = true;
    if (OnSelectionChanged)
        OnSelectionChanged(this, ALeft, ATop, ARight, ABottom);
}

void TAdvStringGrid::DoComboCloseUp(Integer ACol, Integer ARow) {
    if (OnComboCloseUp)
        OnComboCloseUp(this, ARow, ACol);
}

void TAdvStringGrid::DoComboDropDown(Integer ACol, Integer ARow) {
    if (OnComboDropDown)
        OnComboDropDown(this, ARow, ACol);
}

void TAdvStringGrid::DoIntelliZoom() {
    if (OnIntelliZoom)
        OnIntelliZoom(this);
}
