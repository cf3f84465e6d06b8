// The grid's scroll bars: their settings, proportional thumbs, flat scroll bars, the scroll messages with
// their hints and synchronous scrolling, and the momentum scrolling after a touch drag.
#include "grid/engine/AdvGrid.h"

#include <algorithm>
#include <cmath>

#include "grid/view/AdvGridScrollControl.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winuser.h"

namespace {

// The flat scroll-bar properties of the common-controls library.
constexpr Integer WSB_PROP_CYHSCROLL = 0x0004;
constexpr Integer WSB_PROP_CXVSCROLL = 0x0008;
constexpr Integer WSB_PROP_VBKGCOLOR = 0x0040;
constexpr Integer WSB_PROP_HBKGCOLOR = 0x0080;
constexpr Integer WSB_PROP_VSTYLE = 0x0100;
constexpr Integer WSB_PROP_HSTYLE = 0x0200;
constexpr Integer FSB_REGULAR_MODE = 0;
constexpr Integer FSB_ENCARTA_MODE = 1;
constexpr Integer FSB_FLAT_MODE = 2;

using InitializeFlatSBProc = BOOL (*)(HWND);
using UninitializeFlatSBProc = HRESULT (*)(HWND);
using FlatSBSetScrollPropProc = BOOL (*)(HWND, UINT, LONG_PTR, BOOL);
using FlatSBShowScrollBarProc = BOOL (*)(HWND, int, BOOL);
using FlatSBSetScrollInfoProc = int (*)(HWND, int, LPCSCROLLINFO, BOOL);

// The library is only looked at when it is loaded already, and the entry point is looked up on every
// call: a missing one leaves the grid on its window scroll bars.
HMODULE FlatLibrary() {
    return GetModuleHandle(u"comctl32.dll");
}

template <typename Proc> Proc FlatEntry(const char* name) {
    HMODULE library = FlatLibrary();
    if (library == nullptr)
        return nullptr;
    return reinterpret_cast<Proc>(GetProcAddress(library, name));
}

bool HasHorzBar(TScrollStyle bars) {
    return bars == ssHorizontal || bars == ssBoth;
}

bool HasVertBar(TScrollStyle bars) {
    return bars == ssVertical || bars == ssBoth;
}

} // namespace

DEFINE_CLASS(TScrollControl)

// ---- Settings

void TAdvStringGrid::SetScrollBars(TScrollStyle Value) {
    FScrollBars = Value;
    TBaseGrid::SetScrollBars(Value);
    ApplyScrollBarAlways(false);
}

void TAdvStringGrid::SetScrollType(TScrollType Value) {
    if (FScrollType != Value) {
        FScrollType = Value;
        if (Value == ssFlat || Value == ssEncarta) {
            InitFlatScrollBars();
            UpdateFlatScrollBars();
        } else {
            DoneFlatScrollBars();
        }
        if (HandleAllocated() && Value == ssMetro) {
            CreateScrollControls();
            SetScrollBars(ssNone);
        }
        if (HandleAllocated() && Value != ssMetro && FVertScrollControl != nullptr) {
            FVertScrollControl.reset();
            FHorzScrollControl.reset();
            SetScrollBars(ssBoth);
        }
    }
    ApplyFlatScrollStyle();
}

void TAdvStringGrid::SetScrollColor(TColor Value) {
    FScrollColor = Value;
    ApplyFlatScrollColor();
}

void TAdvStringGrid::SetScrollWidth(Integer Value) {
    FScrollWidth = Value;
    ApplyFlatScrollWidth();
}

void TAdvStringGrid::SetScrollBarAlways(TScrollBarAlways Value) {
    FScrollBarAlways = Value;
    ApplyScrollBarAlways(false);
}

void TAdvStringGrid::SetScrollProportional(bool Value) {
    FScrollProportional = Value;
    if (Value) {
        UpdateVertScrollProportional();
        UpdateHorzScrollProportional();
        return;
    }
    if (FIsFlat && FScrollType == ssNormal)
        DoneFlatScrollBars();
    if (!HandleAllocated())
        return;
    // The window bars go back to the 0..127 model without a page, flat bars or not: a page left behind
    // would keep the thumb from reaching the last rows.
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_PAGE;
    info.nPage = 0;
    SetScrollInfo(WindowHandle(), SB_HORZ, &info, TRUE);
    SetScrollInfo(WindowHandle(), SB_VERT, &info, TRUE);
    UpdateScrollRange();
}

// ---- Proportional thumbs

void TAdvStringGrid::UpdateHorzScrollProportional() {
    if (ComponentState().Contains(csLoading) || IsDesigning() || !HasHorzBar(FScrollBars) ||
        !FScrollProportional || FScrollType == ssMetro || FScrollLock || !HandleAllocated())
        return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(WindowHandle(), SB_HORZ, &info);

    const Int64 line = GridLineWidth();
    const Int64 available = Width() - (VisibleRowCount() < RowCount() ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    const Int64 fixedWidth = ColsWidthBefore(FixedCols());
    const Int64 fixed = line + FixedCols() * line + fixedWidth;
    const Int64 total = line + (ColCount() - FixedCols()) * line + ColsWidthBefore(ColCount()) - fixedWidth;
    const Int64 before = line + (LeftCol() - FixedCols()) * line + ColsWidthBefore(LeftCol()) - fixedWidth;
    // Without scrolling columns there is no share to show, as on the vertical bar.
    if (total == 0)
        return;
    const float share = static_cast<float>(available - fixed) / static_cast<float>(total);
    if (!(share < 0.99999f))
        return;
    const Integer maximum = static_cast<Integer>(std::trunc((share + 127.0) / (1.0 - share)));
    const Integer position =
        total > available
            ? static_cast<Integer>(std::trunc(static_cast<double>(before) / (total - available) * 128))
            : info.nPos;
    if (total + fixed - available < 0)
        return;
    const Integer page = maximum - 126;
    if (page < 4000) {
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMax = maximum;
        info.nPage = static_cast<UINT>(page);
        info.nPos = position;
        SetScrollInfo(WindowHandle(), SB_HORZ, &info, TRUE);
    }
    SyncFlatHorzScroll();
}

void TAdvStringGrid::UpdateVertScrollProportional() {
    if (ComponentState().Contains(csLoading) || IsDesigning() || !FScrollProportional ||
        FScrollType == ssMetro || !HasVertBar(FScrollBars) || FScrollLock || !HandleAllocated() ||
        VisibleRowCount() + FixedRows() >= RowCount())
        return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(WindowHandle(), SB_VERT, &info);

    const Int64 line = GridLineWidth();
    const Int64 available = Height() - (VisibleColCount() < ColCount() ? GetSystemMetrics(SM_CYHSCROLL) : 0);
    const Int64 fixedHeight = RowsHeightBefore(FixedRows());
    const Int64 fixed = line + FixedRows() * line + fixedHeight;
    const Int64 total = line + (RowCount() - FixedRows()) * line + RowsHeightBefore(RowCount()) - fixedHeight;
    const Int64 before = line + (TopRow() - FixedRows()) * line + RowsHeightBefore(TopRow()) - fixedHeight;
    if (total == 0)
        return;
    const float share = static_cast<float>(available - fixed) / static_cast<float>(total);
    if (!(share < 0.9999f))
        return;
    const Integer maximum = static_cast<Integer>(std::trunc((share + 127.0) / (1.0 - share)));
    const Integer position =
        total > available
            ? static_cast<Integer>(std::trunc(static_cast<double>(before) / (total - available) * 128))
            : 127;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = maximum;
    info.nPage = static_cast<UINT>(maximum - 126);
    info.nPos = position;
    SetScrollInfo(WindowHandle(), SB_VERT, &info, TRUE);
    SyncFlatVertScroll();
}

// ---- Flat scroll bars

void TAdvStringGrid::InitFlatScrollBars() {
    if (!HandleAllocated() || FlatLibrary() == nullptr)
        return;
    auto initialize = FlatEntry<InitializeFlatSBProc>("InitializeFlatSB");
    FIsFlat = initialize != nullptr;
    if (initialize != nullptr)
        initialize(WindowHandle());
}

void TAdvStringGrid::DoneFlatScrollBars() {
    FIsFlat = false;
    if (!HandleAllocated())
        return;
    if (auto uninitialize = FlatEntry<UninitializeFlatSBProc>("UninitializeFlatSB"))
        uninitialize(WindowHandle());
}

void TAdvStringGrid::FlatSetScrollProp(Integer Index, Integer Value) {
    if (!FIsFlat || !HandleAllocated())
        return;
    if (auto setProp = FlatEntry<FlatSBSetScrollPropProc>("FlatSB_SetScrollProp"))
        setProp(WindowHandle(), static_cast<UINT>(Index), Value, TRUE);
}

void TAdvStringGrid::FlatShowScrollBar(Integer Bar, bool Show) {
    if (!FIsFlat || !HandleAllocated())
        return;
    if ((Bar == SB_HORZ && !HasHorzBar(FScrollBars)) || (Bar == SB_VERT && !HasVertBar(FScrollBars)))
        return;
    if (auto show = FlatEntry<FlatSBShowScrollBarProc>("FlatSB_ShowScrollBar"))
        show(WindowHandle(), Bar, Show ? TRUE : FALSE);
}

void TAdvStringGrid::FlatSetScrollInfo(Integer Bar, const SCROLLINFO& ScrollInfo) {
    if (!HandleAllocated())
        return;
    if (auto setInfo = FlatEntry<FlatSBSetScrollInfoProc>("FlatSB_SetScrollInfo"))
        setInfo(WindowHandle(), Bar, &ScrollInfo, TRUE);
}

void TAdvStringGrid::ApplyFlatScrollStyle() {
    Integer mode = FSB_REGULAR_MODE;
    switch (FScrollType) {
    case ssFlat:
        mode = FSB_FLAT_MODE;
        break;
    case ssEncarta:
        mode = FSB_ENCARTA_MODE;
        break;
    case ssMetro:
        return;
    default:
        break;
    }
    FlatSetScrollProp(WSB_PROP_VSTYLE, mode);
    FlatSetScrollProp(WSB_PROP_HSTYLE, mode);
}

void TAdvStringGrid::ApplyFlatScrollColor() {
    if (FScrollColor == clNone)
        return;
    FlatSetScrollProp(WSB_PROP_VBKGCOLOR, static_cast<Integer>(FScrollColor));
    FlatSetScrollProp(WSB_PROP_HBKGCOLOR, static_cast<Integer>(FScrollColor));
}

void TAdvStringGrid::ApplyFlatScrollWidth() {
    FlatSetScrollProp(WSB_PROP_CXVSCROLL, FScrollWidth);
    FlatSetScrollProp(WSB_PROP_CYHSCROLL, FScrollWidth);
}

void TAdvStringGrid::UpdateFlatScrollBars() {
    ApplyFlatScrollStyle();
    ApplyFlatScrollColor();
    ApplyFlatScrollWidth();
    if (!HandleAllocated())
        return;
    auto follow = [this](int bar, bool show) {
        FlatShowScrollBar(bar, show);
        if (!show)
            return;
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(WindowHandle(), bar, &info);
        FlatSetScrollInfo(bar, info);
    };
    follow(SB_VERT, VisibleRowCount() + FixedRows() < RowCount());
    follow(SB_HORZ, VisibleColCount() + FixedCols() < ColCount());
}

void TAdvStringGrid::SyncFlatVertScroll() {
    if (!HasVertBar(FScrollBars) || !FIsFlat || !HandleAllocated())
        return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(WindowHandle(), SB_VERT, &info);
    FlatSetScrollInfo(SB_VERT, info);
}

void TAdvStringGrid::SyncFlatHorzScroll() {
    if (!HasHorzBar(FScrollBars) || !FIsFlat || !HandleAllocated())
        return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(WindowHandle(), SB_HORZ, &info);
    FlatSetScrollInfo(SB_HORZ, info);
}

// ---- Scroll messages

Integer TAdvStringGrid::ScrollPosToCol(Integer Pos) {
    return MulDiv(Pos, ColCount() - VisibleColCount() - FixedCols(), 127) + FixedCols();
}

Integer TAdvStringGrid::ScrollPosToRow(Integer Pos) {
    return MulDiv(Pos, RowCount() - VisibleRowCount() - FixedRows(), 127) + FixedRows();
}

void TAdvStringGrid::ShowScrollHint(Integer Index, const String& Caption) {
    String hint = Caption;
    if (OnScrollHint)
        OnScrollHint(this, Index, hint);
    TRect rect = FScrollHintWnd->CalcHintRect(100, hint, nullptr);
    FScrollHintWnd->SetColor(FHintColor);
    POINT cursor{};
    GetCursorPos(&cursor);
    rect.Left += cursor.x + 10;
    rect.Right += cursor.x + 10;
    rect.Top += cursor.y;
    rect.Bottom += cursor.y;
    FScrollHintWnd->ActivateHint(rect, hint);
    FScrollHintShow = true;
}

void TAdvStringGrid::HideScrollHint() {
    FScrollHintWnd->ReleaseHandle();
    FScrollHintShow = false;
}

TRect TAdvStringGrid::BackGroundCellRect() {
    Integer left = 0;
    Integer top = 0;
    Integer right = 0;
    Integer bottom = 0;
    TGraphic* picture = FBackGround->Bitmap();
    MouseToCell(FBackGround->Left(), FBackGround->Top(), left, top);
    MouseToCell(FBackGround->Left() + picture->Width(), FBackGround->Top() + picture->Height(), right,
                bottom);
    return TRect(left, top, right, bottom);
}

void TAdvStringGrid::WMHScroll(TMessage& Message) {
    const WORD code = Message.WParamLo();
    Integer pos = Message.WParamHi();
    if (FScrollHints == shHorizontal || FScrollHints == shBoth) {
        if (code == SB_ENDSCROLL)
            HideScrollHint();
        if (code == SB_THUMBTRACK) {
            const Integer col = ScrollPosToCol(pos);
            ShowScrollHint(col, u"Col : " + IntToStr(col));
        }
    }
    if (FNavigation->AlwaysEdit() && FEditMode)
        HideInplaceEdit();
    // Flat bars report the thumb on a scale their page shortens; bring it back to 0..127.
    if (code == SB_THUMBPOSITION && FIsFlat && ColCount() > 0) {
        const Integer share = static_cast<Integer>(std::lround(VisibleColCount() * 128.0 / ColCount()));
        if (share != 128)
            pos = static_cast<Integer>(std::lround(pos * 127.0 / (128 - share)));
    }
    const Integer col = ScrollPosToCol(pos);
    if (code == SB_THUMBTRACK && FScrollSynch)
        SetLeftCol(col);
    const bool fixedPicture = FBackGround->Display() == bdFixed && !FBackGround->Bitmap()->Empty();
    const TRect oldPicture = fixedPicture ? BackGroundCellRect() : TRect();
    if (FixedCols() == 0 && col >= Col())
        HideInplaceEdit();
    Message.WParam = MAKEWPARAM(code, static_cast<WORD>(pos));
    TBaseGrid::WMHScroll(Message);
    if (fixedPicture) {
        const TRect newPicture = BackGroundCellRect();
        if (code != SB_THUMBTRACK && !(newPicture == oldPicture)) {
            RepaintRect(oldPicture);
            RepaintRect(newPicture);
        }
    }
    if (code == SB_ENDSCROLL) {
        if (UseRightToLeftAlignment() && MergeCount() > 0)
            Invalidate();
        if (ColCount() == 1)
            Repaint();
    }
    SyncFlatHorzScroll();
    SyncFlatVertScroll();
    if (HasCheckBox(Col(), Row()))
        HideEditor();
    UpdateFooter();
}

void TAdvStringGrid::WMVScroll(TMessage& Message) {
    if (IsDesigning()) {
        TBaseGrid::WMVScroll(Message);
        return;
    }
    const WORD code = Message.WParamLo();
    const Integer pos = Message.WParamHi();
    const Integer row = ScrollPosToRow(pos);
    if (FScrollHints == shVertical || FScrollHints == shBoth) {
        if (code == SB_ENDSCROLL)
            HideScrollHint();
        if (code == SB_THUMBTRACK)
            ShowScrollHint(row, u"Row : " + IntToStr(row));
    }
    if (FNavigation->AlwaysEdit() && FEditMode)
        HideInplaceEdit();
    if (code == SB_THUMBTRACK && FScrollSynch)
        SetTopRow(row);
    const bool fixedPicture = FBackGround->Display() == bdFixed && !FBackGround->Bitmap()->Empty();
    const TRect oldPicture = fixedPicture ? BackGroundCellRect() : TRect();
    const bool searchFooter = FSearchFooter->Visible();
    if ((code == SB_LINEDOWN || code == SB_ENDSCROLL) && searchFooter && IsSearchFooterOverlap()) {
        Message.Result = 1;
        return;
    }
    TBaseGrid::WMVScroll(Message);
    if (searchFooter) {
        const bool atEnd = TopRow() == RowCount() - VisibleRowCount();
        if (code == SB_LINEUP && atEnd)
            SetTopRow(TopRow() - 1);
        if ((code == SB_LINEDOWN || code == SB_ENDSCROLL) && atEnd)
            ScrollAboveSearchFooter();
    }
    if (fixedPicture) {
        const TRect newPicture = BackGroundCellRect();
        if (code != SB_THUMBTRACK && !(newPicture == oldPicture)) {
            RepaintRect(oldPicture);
            RepaintRect(newPicture);
        }
    }
    SyncFlatVertScroll();
    SyncFlatHorzScroll();
    if (HasCheckBox(Col(), Row()))
        HideEditor();
}

void TAdvStringGrid::WMGetDlgCode(TMessage& Message) {
    TBaseGrid::WMGetDlgCode(Message);
    // Typed characters always reach the grid: they start edits or go to its type-ahead search.
    if (FNavigation->AutoGotoWhenSorted())
        Message.Result |= DLGC_WANTCHARS;
    if (!Options().Contains(goEditing))
        Message.Result |= DLGC_WANTCHARS;
}

// ---- Momentum scrolling

void TAdvStringGrid::MomentumScrollTimer(TObject* /*Sender*/) {
    if (FScrollSteps == 0)
        return;
    SetTopRow(TopRow() + FScrollDelta);
    --FScrollSteps;
    FScrollEnd = false;
    if (FScrollTimer != nullptr)
        FScrollTimer->SetEnabled(FScrollSteps > 0);
}

// ---- The metro scroll bar

TScrollControl::TScrollControl(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(0x00C0C0C0);
}

TAdvStringGrid* TScrollControl::GetGrid() const {
    return dynamic_cast<TAdvStringGrid*>(Parent());
}

Integer TScrollControl::GetTrackLength() {
    TAdvStringGrid* grid = GetGrid();
    if (grid == nullptr)
        return 0;
    if (FDirection == sdVertical) {
        Integer length = Height();
        for (Integer r = 0; r < grid->FixedRows(); ++r)
            length -= grid->RowHeights(r);
        for (Integer r = grid->RowCount() - grid->FixedFooters(); r < grid->RowCount(); ++r)
            length -= grid->RowHeights(r);
        return length;
    }
    Integer length = Width();
    for (Integer c = 0; c < grid->FixedCols(); ++c)
        length -= grid->ColWidths(c);
    for (Integer c = grid->ColCount() - grid->FixedRightCols(); c < grid->ColCount(); ++c)
        length -= grid->ColWidths(c);
    return length;
}

Integer TScrollControl::GetTrackStart() {
    TAdvStringGrid* grid = GetGrid();
    if (grid == nullptr)
        return 0;
    return static_cast<Integer>(FDirection == sdVertical ? grid->RowsHeightBefore(grid->FixedRows())
                                                         : grid->ColsWidthBefore(grid->FixedCols()));
}

void TScrollControl::GetThumb(Integer& Start, Integer& Length) {
    Start = 0;
    Length = 0;
    TAdvStringGrid* grid = GetGrid();
    if (grid == nullptr)
        return;
    const bool vertical = FDirection == sdVertical;
    const Integer count = vertical ? grid->RowCount() : grid->ColCount();
    const Integer fixed = vertical ? grid->FixedRows() : grid->FixedCols();
    const Integer visible = vertical ? grid->VisibleRowCount() : grid->VisibleColCount();
    const Integer first = vertical ? grid->TopRow() : grid->LeftCol();
    const double share = static_cast<double>(visible) / std::max<Integer>(1, count);
    const double offset = static_cast<double>(first - fixed) / std::max<Integer>(1, count - fixed);
    const Integer track = GetTrackLength();
    const Integer extent = vertical ? Height() : Width();
    Start = GetTrackStart() + static_cast<Integer>(Round(track * offset));
    Length = std::max<Integer>(20, static_cast<Integer>(Round(track * share)));
    if (Start + Length > extent)
        Start = extent - Length;
}

bool TScrollControl::HasThumb() {
    TAdvStringGrid* grid = GetGrid();
    if (grid == nullptr)
        return false;
    if (FDirection == sdVertical)
        return grid->VisibleRowCount() < grid->RowCount() - grid->FixedRows();
    return grid->VisibleColCount() < grid->ColCount() - grid->FixedCols();
}

void TScrollControl::PaintParentBehind(TAdvStringGrid* grid) {
    HDC dc = Canvas()->Handle();
    const int saved = SaveDC(dc);
    POINT previous{};
    OffsetWindowOrgEx(dc, Left(), Top(), &previous);
    grid->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    grid->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    RestoreDC(dc, saved);
}

void TScrollControl::Paint() {
    TAdvStringGrid* grid = GetGrid();
    if (grid == nullptr)
        return;
    PaintParentBehind(grid);
    if (!HasThumb())
        return;
    Integer start = 0;
    Integer length = 0;
    GetThumb(start, length);
    Canvas()->Pen()->SetColor(Color());
    Canvas()->Brush()->SetColor(Color());
    if (FDirection == sdVertical)
        Canvas()->Rectangle(0, start, FScrollWidth, start + length);
    else
        Canvas()->Rectangle(start, 0, start + length, FScrollWidth);
}

void TScrollControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseDown(Button, Shift, X, Y);
    TAdvStringGrid* grid = GetGrid();
    if (grid == nullptr)
        return;
    Integer start = 0;
    Integer length = 0;
    GetThumb(start, length);
    const Integer pos = FDirection == sdVertical ? Y : X;
    if (FDirection == sdVertical) {
        if (pos < start)
            grid->SetTopRow(std::max(grid->FixedRows(), grid->TopRow() - grid->VisibleRowCount()));
        else if (pos > start + length)
            grid->SetTopRow(std::min(grid->TopRow() + grid->VisibleRowCount(),
                                     grid->RowCount() - grid->VisibleRowCount()));
    } else {
        if (pos < start)
            grid->SetLeftCol(std::max(grid->FixedCols(), grid->LeftCol() - grid->VisibleColCount()));
        else if (pos > start + length)
            grid->SetLeftCol(std::min(grid->LeftCol() + grid->VisibleColCount(),
                                      grid->ColCount() - grid->VisibleColCount()));
    }
    if (pos >= start && pos <= start + length) {
        FDownOnScroller = true;
        FDownPos = pos;
        FDownRow = FDirection == sdVertical ? grid->TopRow() : grid->LeftCol();
    }
}

void TScrollControl::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomControl::MouseMove(Shift, X, Y);
    TAdvStringGrid* grid = GetGrid();
    if (grid == nullptr || !FDownOnScroller)
        return;
    const bool vertical = FDirection == sdVertical;
    // A bar no longer than the first line has no way to move over: the drag does nothing.
    const Integer way = vertical ? Height() - grid->RowHeights(0) : Width() - grid->ColWidths(0);
    if (way <= 0)
        return;
    const Integer count = vertical ? grid->RowCount() : grid->ColCount();
    const Integer moved = (vertical ? Y : X) - FDownPos;
    const Integer delta = static_cast<Integer>(Round(static_cast<double>(moved) / way * count));
    if (vertical)
        grid->SetTopRow(std::max(grid->FixedRows(),
                                 std::min(FDownRow + delta, grid->RowCount() - grid->VisibleRowCount())));
    else
        grid->SetLeftCol(std::max(grid->FixedCols(),
                                  std::min(FDownRow + delta, grid->ColCount() - grid->VisibleColCount())));
}

void TScrollControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomControl::MouseUp(Button, Shift, X, Y);
    FDownOnScroller = false;
}
