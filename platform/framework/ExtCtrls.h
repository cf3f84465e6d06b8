// The framework's extra controls and components; here TTimer.
#pragma once

#include "platform/framework/Component.h"
#include "platform/rtl/Strings.h"
#include "platform/win32/winuser.h"

ZELMOR_DECLARE_EXCEPTION(EOutOfResources, EOutOfMemory)

// A window timer on the platform clock, served by the message loop of the thread that made it (WM_TIMER
// on a hidden window of its own). It runs while Enabled and Interval is not 0; each tick calls OnTimer
// when it is assigned. An exception of OnTimer goes to the application's exception handler and the timer goes
// on.
class TTimer : public TComponent {
    DECLARE_CLASS(TTimer, TComponent)

public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    // Turning a running timer on again keeps its phase; turning it off and on restarts the count.
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    // Milliseconds between ticks; a change restarts the count, 0 stops the timer.
    Cardinal Interval() const { return FInterval; }
    void SetInterval(Cardinal value);

    TNotifyEvent OnTimer;

protected:
    void Loaded() override;
    virtual void Timer();

private:
    static LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Stops the window timer and starts it again when the timer is to run. Raises EOutOfResources
    // "Not enough timers available" when the window manager refuses.
    void UpdateTimer();

    bool FEnabled = true;
    Cardinal FInterval = 1000;
    HWND FWindowHandle = nullptr;
};
