// TTrackBar on the "msctls_trackbar32" window class.
#include <algorithm>

#include "platform/framework/ComCtrlsTabs.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/commctrl.h"

// Max comes before Min so that a description read in order never finds Min above the Max it is about
// to get; while loading nothing is clamped anyway (see Loaded).
DEFINE_CLASS(TTrackBar, PROPERTY(Frequency).Default(1), PROPERTY(LineSize).Default(1),
             PROPERTY(Max).Default(10), PROPERTY(Min).Default(0), PROPERTY(Orientation).Default(trHorizontal),
             PROPERTY(PageSize).Default(2), PROPERTY(Position).Default(0), PROPERTY(SelEnd).Default(0),
             PROPERTY(SelStart).Default(0), PROPERTY(SliderVisible).Default(true),
             PROPERTY(TabStop).Default(true), PROPERTY(ThumbLength).Default(20),
             PROPERTY(TickMarks).Default(tmBottomRight), PROPERTY(TickStyle).Default(tsAuto), EVENT(OnChange))

TTrackBar::TTrackBar(TComponent* owner) : TWinControl(owner) {
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption};
    SetBounds(Left(), Top(), 150, 45);
    SetTabStop(true);
}

LRESULT TTrackBar::Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return HandleAllocated() ? SendMessageW(Handle(), msg, wParam, lParam) : 0;
}

bool TTrackBar::Loading() const {
    return ComponentState().Contains(csLoading);
}

void TTrackBar::SetMin(int value) {
    if (Loading()) {
        FMin = value;
        return;
    }
    if (value <= FMax)
        SetParams(FPosition, value, FMax);
}

void TTrackBar::SetMax(int value) {
    if (Loading()) {
        FMax = value;
        return;
    }
    if (value >= FMin)
        SetParams(FPosition, FMin, value);
}

void TTrackBar::SetPosition(int value) {
    if (Loading()) {
        FPosition = value;
        return;
    }
    SetParams(value, FMin, FMax);
}

void TTrackBar::Loaded() {
    TWinControl::Loaded();
    // A description may name the limits in any order and values outside them; they are put right here.
    int maxValue = std::max(FMax, FMin);
    int position = std::clamp(FPosition, FMin, maxValue);
    FMax = maxValue;
    FPosition = position;
    Send(TBM_SETRANGEMIN, FALSE, FMin);
    Send(TBM_SETRANGEMAX, FALSE, FMax);
    Send(TBM_SETPOS, TRUE, FPosition);
}

void TTrackBar::SetParams(int position, int minValue, int maxValue) {
    position = std::clamp(position, minValue, std::max(minValue, maxValue));
    if (FMin != minValue) {
        FMin = minValue;
        Send(TBM_SETRANGEMIN, TRUE, minValue);
    }
    if (FMax != maxValue) {
        FMax = maxValue;
        Send(TBM_SETRANGEMAX, TRUE, maxValue);
    }
    if (FPosition != position) {
        FPosition = position;
        Send(TBM_SETPOS, TRUE, position);
        Changed();
    }
}

void TTrackBar::SetFrequency(int value) {
    if (FFrequency == value)
        return;
    FFrequency = value;
    Send(TBM_SETTICFREQ, static_cast<WPARAM>(value), 1);
}

void TTrackBar::SetLineSize(int value) {
    FLineSize = value;
    Send(TBM_SETLINESIZE, 0, value);
}

void TTrackBar::SetPageSize(int value) {
    FPageSize = value;
    Send(TBM_SETPAGESIZE, 0, value);
}

void TTrackBar::SetOrientation(TTrackBarOrientation value) {
    if (FOrientation == value)
        return;
    FOrientation = value;
    // Turned on its side, the control keeps its shape turned too.
    if (!Loading())
        SetBounds(Left(), Top(), Height(), Width());
    RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark value) {
    if (FTickMarks == value)
        return;
    FTickMarks = value;
    RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle value) {
    if (FTickStyle == value)
        return;
    FTickStyle = value;
    RecreateWnd();
}

void TTrackBar::SetSliderVisible(bool value) {
    if (FSliderVisible == value)
        return;
    FSliderVisible = value;
    RecreateWnd();
}

void TTrackBar::SetSelStart(int value) {
    if (FSelStart == value)
        return;
    FSelStart = value;
    UpdateSelection();
}

void TTrackBar::SetSelEnd(int value) {
    if (FSelEnd == value)
        return;
    FSelEnd = value;
    UpdateSelection();
}

void TTrackBar::UpdateSelection() {
    if (FSelStart == 0 && FSelEnd == 0) {
        Send(TBM_CLEARSEL, TRUE, 0);
        return;
    }
    Send(TBM_SETSELSTART, FALSE, FSelStart);
    Send(TBM_SETSELEND, TRUE, FSelEnd);
}

void TTrackBar::SetThumbLength(int value) {
    FThumbLength = value;
    Send(TBM_SETTHUMBLENGTH, static_cast<WPARAM>(value), 0);
}

void TTrackBar::SetTick(int value) {
    Send(TBM_SETTIC, 0, value);
}

void TTrackBar::Changed() {
    if (OnChange)
        OnChange(this);
}

void TTrackBar::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, TRACKBAR_CLASS);
    params.Style |= TBS_FIXEDLENGTH | TBS_ENABLESELRANGE;
    params.Style |= FOrientation == trVertical ? TBS_VERT : TBS_HORZ;
    switch (FTickMarks) {
    case tmBottomRight:
        break;
    case tmTopLeft:
        params.Style |= TBS_TOP;
        break;
    case tmBoth:
        params.Style |= TBS_BOTH;
        break;
    }
    switch (FTickStyle) {
    case tsNone:
        params.Style |= TBS_NOTICKS;
        break;
    case tsAuto:
        params.Style |= TBS_AUTOTICKS;
        break;
    case tsManual:
        break;
    }
    if (!FSliderVisible)
        params.Style |= TBS_NOTHUMB;
}

void TTrackBar::CreateWnd() {
    TWinControl::CreateWnd();
    HWND hwnd = Handle();
    SendMessageW(hwnd, TBM_SETTHUMBLENGTH, static_cast<WPARAM>(FThumbLength), 0);
    SendMessageW(hwnd, TBM_SETLINESIZE, 0, FLineSize);
    SendMessageW(hwnd, TBM_SETPAGESIZE, 0, FPageSize);
    SendMessageW(hwnd, TBM_SETRANGEMIN, FALSE, FMin);
    SendMessageW(hwnd, TBM_SETRANGEMAX, FALSE, FMax);
    UpdateSelection();
    SendMessageW(hwnd, TBM_SETPOS, TRUE, FPosition);
    SendMessageW(hwnd, TBM_SETTICFREQ, static_cast<WPARAM>(FFrequency), 1);
}

void TTrackBar::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CN_HSCROLL:
    case CN_VSCROLL: {
        // Every move of the thumb arrives here; OnChange hears only of those that change the position
        // (the closing TB_ENDTRACK of a move does not).
        int position = static_cast<int>(SendMessageW(Handle(), TBM_GETPOS, 0, 0));
        message.Result = 0;
        if (position == FPosition)
            return;
        FPosition = position;
        Changed();
        return;
    }
    default:
        TWinControl::Dispatch(message);
        return;
    }
}
