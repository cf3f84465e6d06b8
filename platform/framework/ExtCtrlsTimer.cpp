// TTimer: a window timer on a hidden window of its own.
#include "platform/framework/ExtCtrls.h"

#include "platform/framework/Thread.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winerror.h"

DEFINE_CLASS(TTimer, PROPERTY(Enabled).Default(true), PROPERTY(Interval).Default(1000), EVENT(OnTimer))

namespace {

constexpr const Char* TimerWindowClass = u"TTimerWindow";
constexpr UINT_PTR TimerId = 1;

bool RegisterTimerWindowClass(WNDPROC proc) {
    static const bool registered = [proc] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = proc;
        windowClass.lpszClassName = TimerWindowClass;
        return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

} // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    if (RegisterTimerWindowClass(&TTimer::WndProc))
        FWindowHandle =
            CreateWindowExW(0, TimerWindowClass, u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!FWindowHandle)
        throw EOutOfResources(Consts::SNoTimers);
    SetWindowLongPtrW(FWindowHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    UpdateTimer();
}

TTimer::~TTimer() {
    SetWindowLongPtrW(FWindowHandle, GWLP_USERDATA, 0);
    KillTimer(FWindowHandle, TimerId);
    DestroyWindow(FWindowHandle);
}

void TTimer::SetEnabled(bool value) {
    if (value == FEnabled)
        return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(Cardinal value) {
    if (value == FInterval)
        return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    KillTimer(FWindowHandle, TimerId);
    // A timer being read from a description starts once it is loaded, with all its properties.
    if (!FEnabled || FInterval == 0 || ComponentState().Contains(csLoading))
        return;
    if (!SetTimer(FWindowHandle, TimerId, FInterval, nullptr))
        throw EOutOfResources(Consts::SNoTimers);
}

void TTimer::Timer() {
    if (OnTimer)
        OnTimer(this);
}

LRESULT TTimer::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_TIMER)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!timer)
        return 0;
    try {
        timer->Timer();
    } catch (...) {
        // The handler may have freed the timer; the sender is only passed on, never used here.
        ApplicationHandleException(timer);
    }
    return 0;
}
