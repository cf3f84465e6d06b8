// The grid's own 500 ms timer (incremental search expiry, select on hover, blinking text), typed
// characters, key release, the search footer's accelerators and the enabled-state notice.
#include <algorithm>

#include "grid/engine/AdvGrid.h"
#include "platform/framework/StdButtons.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/SysStrings.h"
#include "render/AsgHTMLE.h"

namespace {

bool Blinks(const String& text) {
    return UpperCase(text).find(u"<BLI") != String::npos;
}

bool HoldsFormControl(const String& text, bool enableHTML) {
    return CellTextKind(text, enableHTML) == 1 && ContainsControlTag(text);
}

} // namespace

// ---- The grid timer

void TAdvStringGrid::WMTimer(TMessage& Message) {
    if (FGridTimerID == 0 || Message.WParam != FGridTimerID) {
        TBaseGrid::WMTimer(Message);
        return;
    }
    ++FTimerTicks;

    if (FNavigation->AutoGotoIncremental()) {
        // Typed search text is forgotten on the fourth tick without a key.
        if (SearchTics++ == 3) {
            SearchInc.clear();
            SearchTics = 0;
        }
    }

    if (FHovering && !IsDesigning()) {
        POINT cursor{};
        GetCursorPos(&cursor);
        if (HandleAllocated() && WindowFromPoint(cursor) == WindowHandle()) {
            const TPoint pos = ScreenToClient(TPoint(cursor.x, cursor.y));
            Integer c = -1;
            Integer r = -1;
            if (pos.X >= 0 && pos.Y >= 0 && pos.X < ClientWidth() && pos.Y < ClientHeight()) {
                MouseToCell(pos.X, pos.Y, c, r);
                if (c >= FixedCols() && c < ColCount() && r >= FixedRows() && r < RowCount()) {
                    if (CanFocus())
                        SetFocus();
                    SetRow(r);
                    SetCol(c);
                }
            }
        }
    }

    if (FEnableBlink) {
        FGridBlink = !FGridBlink;
        const Integer visibleCols = VisibleColCount();
        const Integer visibleRows = VisibleRowCount();
        const Integer hidden = NumHiddenColumns();
        // The fixed rows count the hidden columns as the normal rows do, so that blinking header cells
        // right of hidden columns repaint too. The corner cells are left to neither pass.
        RepaintBlinkingCells(LeftCol(), LeftCol() + visibleCols + hidden - 1, TopRow(),
                             TopRow() + visibleRows - 1);
        RepaintBlinkingCells(LeftCol(), LeftCol() + visibleCols + hidden - 1, 0, FixedRows() - 1);
        RepaintBlinkingCells(0, FixedCols() - 1, TopRow(), TopRow() + visibleRows - 1);
    }
}

void TAdvStringGrid::RepaintBlinkingCells(Integer FromCol, Integer ToCol, Integer FromRow, Integer ToRow) {
    ToCol = std::min(ToCol, ColCount() + NumHiddenColumns() - 1);
    ToRow = std::min(ToRow, RowCount() - 1);
    for (Integer r = std::max(0, FromRow); r <= ToRow; ++r)
        for (Integer c = std::max(0, FromCol); c <= ToCol; ++c)
            if (Blinks(Cells(c, r)))
                RepaintCell(DisplColIndex(c), r);
}

// ---- Resizing

void TAdvStringGrid::WMSize(TMessage& Message) {
    if (FInWMSize) {
        Message.Result = 1;
        return;
    }
    const Integer width = LOWORD(Message.LParam);
    if (FSearchPanel != nullptr && FSearchPanel->Visible()) {
        // A height change forces the panel's layout at the new width.
        FSearchPanel->SetHeight(33);
        FSearchPanel->SetHeight(32);
        FSearchPanel->SetAlign(alBottom);
    }
    if (FOldSize > 0 && FColumnSize->SynchWithGrid()) {
        HideInplaceEdit();
        const double factor = BorderStyle() == bsSingle ? (width + 2) / static_cast<double>(FOldSize)
                                                        : width / static_cast<double>(FOldSize);
        const bool normalOnly = FColumnSize->SynchNormalCellsOnly();
        const Integer first = normalOnly ? FixedCols() : 0;
        const Integer last = normalOnly ? ColCount() - FFixedRightCols - 1 : ColCount() - 1;
        FInWMSize = true;
        for (Integer c = first; c <= last && c < FOrigColSizes->Count(); ++c)
            SetColWidths(c, static_cast<Integer>(FOrigColSizes->Items(c) * factor));
        FInWMSize = false;
    }
    const bool stretch = FColumnSize->Stretch() && (FScrollBarAlways == saNone || FScrollBarAlways == saVert);
    if (!stretch) {
        // FIXME: the flat scroll bars are not shown or hidden after a resize; they follow the window's
        // bars at the next scroll.
        TBaseGrid::WMSize(Message);
        UpdateProportionalThumbs();
        return;
    }

    // The stretch column takes what the other columns leave of the new width. Its width changes come
    // back here through the framework, which the flag turns away.
    const Integer stretchColumn = FColumnSize->StretchColumn();
    const Integer stretched = stretchColumn == -1 ? ColCount() - 1 : stretchColumn;
    Integer others = 0;
    for (Integer c = 0; c < ColCount(); ++c)
        if (c != stretched)
            others += ColWidths(c);
    bool didStretch = false;
    {
        FInWMSize = true;
        struct TSizeEnd {
            bool& flag;
            ~TSizeEnd() { flag = false; }
        } sizeEnd{FInWMSize};
        if (others < width && stretched >= 0 && stretched < ColCount()) {
            ApplyColumnStretch(stretchColumn, width);
            didStretch = true;
        }
    }

    if (HandleAllocated()) {
        if ((FScrollBars == ssHorizontal || FScrollBars == ssBoth) && FScrollBarAlways == saNone) {
            const Integer all =
                others + (stretched >= 0 && stretched < ColCount() ? ColWidths(stretched) : 0);
            ShowScrollBar(WindowHandle(), SB_HORZ, width < all ? TRUE : FALSE);
        }
        if (FScrollBars == ssVertical || FScrollBars == ssBoth) {
            const bool show = FScrollBarAlways == saVert || VisibleRowCount() < RowCount() - FixedRows();
            ShowScrollBar(WindowHandle(), SB_VERT, show ? TRUE : FALSE);
        }
    }
    UpdateProportionalThumbs();
    if (didStretch && FScrollBarAlways == saNone && OnGridResize)
        OnGridResize(this);

    // With a floating footer the framework lays the grid out as for any resize; otherwise the stretched
    // grid has settled its columns and bars itself.
    if (FFloatingFooter->Visible()) {
        TBaseGrid::WMSize(Message);
        return;
    }
    Message.Result = 1;
}

void TAdvStringGrid::UpdateProportionalThumbs() {
    if (!FScrollProportional || FScrollType == ssMetro)
        return;
    UpdateVertScrollProportional();
    UpdateHorzScrollProportional();
}

// ---- Typed characters and key release

void TAdvStringGrid::WMChar(TMessage& Message) {
    Char c = static_cast<Char>(Message.WParam);
    const Integer realCol = RealColIndex(Col());
    if (HoldsFormControl(Cells(realCol, Row()), FEnableHTML)) {
        Message.Result = 1;
        return;
    }
    if (FMouseActions->EditOnDblClickOnly()) {
        bool can = true;
        CanEditCell(realCol, Row(), can);
        if (can)
            SetOptions(Options() + TGridOptions{goEditing});
    }
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    // Copy, paste and cut were done on key-down; their control characters go nowhere.
    if (FNavigation->AllowClipboardShortCuts() && ctrl && (c == 3 || c == 22 || c == 24)) {
        Message.WParam = 0;
        return;
    }
    const bool clickControl = IsClickControlCell(realCol, Row());
    if (FMouseActions->RangeSelectAndEdit() && !clickControl && IsEditable(Col(), Row()) && c != VK_TAB &&
        c != VK_ESCAPE && !ctrl) {
        if (OnKeyPress)
            OnKeyPress(this, c);
        Message.WParam = c;
        FStartEditChar = c;
        SetOptions(Options() + TGridOptions{goEditing});
        if (Col() > LeftCol() + VisibleColCount() || Row() > TopRow() + VisibleRowCount() ||
            Col() < LeftCol() || Row() < TopRow())
            ScrollInView(Col(), Row(), spMiddle);
        if (c != VK_RETURN) {
            const TRect rect = CellRect(Col(), Row());
            MouseDown(mbLeft, TShiftState{}, rect.Left + 2, rect.Top + 2);
        }
        TBaseGrid::WMChar(Message);
        return;
    }

    // The numeric keypad's decimal key types the locale's decimal separator.
    if (c == u'.' && FExcelStyleDecimalSeparator && (Message.LParam & (1 << 22)) != 0) {
        c = FormatSettings.DecimalSeparator;
        Message.WParam = c;
    }
    bool handled = false;
    if (clickControl && c == VK_RETURN && FNavigation->AdvanceOnEnter()) {
        TBaseGrid::WMChar(Message);
        handled = true;
    }
    // Every character from the blank up starts editing, whatever plane it is from.
    if (Options().Contains(goEditing) && c != VK_TAB && (c == VK_BACK || c >= 32)) {
        if (OnKeyPress)
            OnKeyPress(this, c);
        Message.WParam = c;
        FStartEditChar = c;
        if (c != 0 && !clickControl)
            ShowEditorChar(c);
        return;
    }
    // The grid's key presses also take characters sent to it while the focus is elsewhere (Enter
    // advances from outside the grid), so the framework's handling runs without a focus test.
    if (!handled)
        TBaseGrid::WMChar(Message);
}

void TAdvStringGrid::WMKeyUp(TMessage& Message) {
    TBaseGrid::WMKeyUp(Message);
    const Word key = static_cast<Word>(Message.WParam);
    if (FMouseActions->RangeSelectAndEdit() && !Options().Contains(goEditing) &&
        (key == VK_RETURN || key == VK_F2) && IsEditable(Col(), Row())) {
        SetOptions(Options() + TGridOptions{goEditing});
        ShowInplaceEdit();
    }
}

// ---- Accelerators and notices

void TAdvStringGrid::CMDialogChar(TMessage& Message) {
    Message.Result = 0;
    if (!FSearchFooter->Visible())
        return;
    const Word key = static_cast<Word>(Message.WParam);
    const TAdvGridButton* buttons[] = {FSearchPanel->ForwardButton(), FSearchPanel->BackwardButton(),
                                       FSearchPanel->HiliteButton()};
    for (const TAdvGridButton* button : buttons)
        if (button != nullptr && IsAccel(key, button->Caption()) && button->Visible() && button->Enabled()) {
            // FIXME: the search panel finds nothing yet, so its accelerators only take the key.
            Message.Result = 1;
            return;
        }
}

void TAdvStringGrid::CMEnabledChanged(TMessage& Message) {
    TBaseGrid::CMEnabledChanged(Message);
    Invalidate();
}
