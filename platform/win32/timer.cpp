// Window and thread timers on the platform clock: SetTimer, KillTimer, and the WM_TIMER messages the
// queues generate when a timer is due.
#include <algorithm>

#include "platform/rtl/Clock.h"
#include "platform/win32/win_private.h"
#include "platform/win32/winerror.h"

namespace win32 {

namespace {

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    UInt64 due = 0;
    TIMERPROC proc = nullptr;
    DWORD threadId = 0;
    UInt64 serial = 0; // timers due at the same moment fire in the order they were set
    bool system = false;
};

struct TimerTable {
    std::mutex lock;
    std::vector<Timer> timers;
    UINT_PTR nextThreadTimerId = 0x7FF0;
    UInt64 nextSerial = 1;
    bool listening = false;
};

TimerTable& Timers() {
    static TimerTable table;
    return table;
}

// Every queue looks at its timers again when the manual clock moves.
void ListenToClock(TimerTable& table) {
    if (table.listening)
        return;
    table.listening = true;
    Clock::AddAdvanceListener([] { WakeAllQueues(); });
}

} // namespace

bool TakeDueTimer(DWORD threadId, HWND filter, UINT filterMin, UINT filterMax, bool remove, MSG& msg) {
    bool wantTimer = (filterMin == 0 && filterMax == 0) || (WM_TIMER >= filterMin && WM_TIMER <= filterMax);
    bool wantSystem =
        (filterMin == 0 && filterMax == 0) || (WM_SYSTIMER >= filterMin && WM_SYSTIMER <= filterMax);
    if (!wantTimer && !wantSystem)
        return false;
    UInt64 now = Clock::TickCount64();
    TimerTable& table = Timers();
    std::lock_guard<std::mutex> guard(table.lock);
    Timer* best = nullptr;
    for (Timer& timer : table.timers) {
        if (timer.threadId != threadId || timer.due > now || (timer.system ? !wantSystem : !wantTimer))
            continue;
        if (filter && timer.hwnd != filter && !IsChild(filter, timer.hwnd))
            continue;
        if (!best || timer.due < best->due || (timer.due == best->due && timer.serial < best->serial))
            best = &timer;
    }
    if (!best)
        return false;
    msg = MSG{best->hwnd,
              best->system ? WM_SYSTIMER : WM_TIMER,
              best->id,
              reinterpret_cast<LPARAM>(best->proc),
              static_cast<DWORD>(now),
              CursorPosition()};
    if (remove) {
        // A timer that fell behind fires once, then counts its interval from now, as Win32 does.
        best->due = now + best->interval;
        best->serial = table.nextSerial++;
    }
    return true;
}

void KillWindowTimers(HWND hwnd) {
    TimerTable& table = Timers();
    std::lock_guard<std::mutex> guard(table.lock);
    std::erase_if(table.timers, [&](const Timer& timer) { return timer.hwnd == hwnd; });
}

Int64 NextTimerDelay(DWORD threadId) {
    UInt64 now = Clock::TickCount64();
    TimerTable& table = Timers();
    std::lock_guard<std::mutex> guard(table.lock);
    Int64 delay = -1;
    for (const Timer& timer : table.timers) {
        if (timer.threadId != threadId)
            continue;
        Int64 wait = timer.due > now ? static_cast<Int64>(timer.due - now) : 0;
        if (delay < 0 || wait < delay)
            delay = wait;
    }
    return delay;
}

void SetSystemTimer(HWND hwnd, UINT_PTR id, UINT elapse) {
    TimerTable& table = Timers();
    std::lock_guard<std::mutex> guard(table.lock);
    ListenToClock(table);
    auto it = std::find_if(table.timers.begin(), table.timers.end(), [&](const Timer& timer) {
        return timer.system && timer.hwnd == hwnd && timer.id == id;
    });
    if (it == table.timers.end()) {
        table.timers.push_back(Timer{});
        it = table.timers.end() - 1;
    }
    *it =
        Timer{hwnd, id, elapse, Clock::TickCount64() + elapse, nullptr, CurrentThreadId(), table.nextSerial++,
              true};
}

void KillSystemTimer(HWND hwnd, UINT_PTR id) {
    TimerTable& table = Timers();
    std::lock_guard<std::mutex> guard(table.lock);
    std::erase_if(table.timers,
                  [&](const Timer& timer) { return timer.system && timer.hwnd == hwnd && timer.id == id; });
}

} // namespace win32

using namespace win32;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC timerProc) {
    DWORD threadId = CurrentThreadId();
    if (hwnd) {
        TreeGuard guard(TreeLock());
        Window* window = Check(hwnd);
        if (!window)
            return 0;
        threadId = window->threadId;
    }
    elapse = std::clamp(elapse, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    TimerTable& table = Timers();
    std::lock_guard<std::mutex> guard(table.lock);
    ListenToClock(table);
    auto same = [&](const Timer& timer) {
        return !timer.system && timer.hwnd == hwnd && timer.id == id && (hwnd || timer.threadId == threadId);
    };
    auto it = std::find_if(table.timers.begin(), table.timers.end(), same);
    if (it == table.timers.end()) {
        if (!hwnd)
            id = table.nextThreadTimerId++;
        table.timers.push_back(Timer{});
        it = table.timers.end() - 1;
    }
    it->hwnd = hwnd;
    it->id = id;
    it->interval = elapse;
    it->due = Clock::TickCount64() + elapse;
    it->proc = timerProc;
    it->threadId = threadId;
    it->serial = table.nextSerial++;
    it->system = false;
    return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    DWORD threadId = CurrentThreadId();
    TimerTable& table = Timers();
    std::lock_guard<std::mutex> guard(table.lock);
    auto it = std::find_if(table.timers.begin(), table.timers.end(), [&](const Timer& timer) {
        return !timer.system && timer.hwnd == hwnd && timer.id == id && (hwnd || timer.threadId == threadId);
    });
    if (it == table.timers.end()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    table.timers.erase(it);
    return TRUE;
}
