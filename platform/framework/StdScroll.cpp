// TScrollBar on the SCROLLBAR window class: its range, page and position, and the scroll steps the
// window reports.
#include "platform/framework/StdScroll.h"

#include <algorithm>

#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winbutton.h"

DEFINE_CLASS(TScrollBar, PROPERTY(Kind).Default(sbHorizontal), PROPERTY(LargeChange).Default(1),
             PROPERTY(Max).Default(100), PROPERTY(Min).Default(0), PROPERTY(PageSize).Default(0),
             PROPERTY(Position).Default(0), PROPERTY(SmallChange).Default(1), PROPERTY(TabStop).Default(true),
             EVENT(OnChange), EVENT(OnScroll))

TScrollBar::TScrollBar(TComponent* owner) : TWinControl(owner) {
    FControlStyle.Exclude(csFramed);
    FControlStyle.Exclude(csSetCaption);
    SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
    SetTabStop(true);
}

void TScrollBar::SetKind(TScrollBarKind value) {
    if (FKind == value)
        return;
    FKind = value;
    if (!ComponentState().Contains(csLoading))
        SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TScrollBar::SetPageSize(Integer value) {
    if (value == FPageSize)
        return;
    if (value < 0 || value > FMax - FMin + 1)
        throw EInvalidOperation(Consts::SScrollBarRange);
    FPageSize = value;
    UpdateScrollInfo();
}

void TScrollBar::SetParams(Integer position, Integer min, Integer max) {
    if (max < min || max < FPageSize)
        throw EInvalidOperation(Consts::SScrollBarRange);
    position = std::clamp(position, min, max);
    FMin = min;
    FMax = max;
    bool changed = position != FPosition;
    FPosition = position;
    UpdateScrollInfo();
    if (changed)
        Change();
}

void TScrollBar::UpdateScrollInfo() {
    if (!HandleAllocated())
        return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = FMin;
    info.nMax = FMax;
    info.nPage = static_cast<UINT>(FPageSize);
    info.nPos = FPosition;
    SetScrollInfo(Handle(), SB_CTL, &info, TRUE);
}

void TScrollBar::Change() {
    if (OnChange)
        OnChange(this);
}

void TScrollBar::Scroll(TScrollCode scrollCode, int& scrollPos) {
    if (OnScroll)
        OnScroll(this, scrollCode, scrollPos);
}

void TScrollBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, u"SCROLLBAR");
    params.Style |= FKind == sbVertical ? SBS_VERT : SBS_HORZ;
}

void TScrollBar::CreateWnd() {
    TWinControl::CreateWnd();
    UpdateScrollInfo();
}

void TScrollBar::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL:
        CNScroll(message);
        return;
    default:
        break;
    }
    TWinControl::Dispatch(message);
}

void TScrollBar::CNScroll(TMessage& message) {
    auto code = static_cast<TScrollCode>(std::min<WPARAM>(LOWORD(message.WParam), scEndScroll));
    int scrollPos = FPosition;
    switch (code) {
    case scLineUp:
        scrollPos = FPosition - FSmallChange;
        break;
    case scLineDown:
        scrollPos = FPosition + FSmallChange;
        break;
    case scPageUp:
        scrollPos = FPosition - FLargeChange;
        break;
    case scPageDown:
        scrollPos = FPosition + FLargeChange;
        break;
    case scPosition:
    case scTrack: {
        // The message carries 16 bits of the position; the window has all 32.
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        scrollPos = GetScrollInfo(Handle(), SB_CTL, &info) ? info.nTrackPos : HIWORD(message.WParam);
        break;
    }
    case scTop:
        scrollPos = FMin;
        break;
    case scBottom:
        scrollPos = FMax;
        break;
    case scEndScroll:
        break;
    }
    scrollPos = std::clamp(scrollPos, FMin, FMax);
    Scroll(code, scrollPos);
    SetPosition(scrollPos);
    message.Result = 0;
}
