// The one clock of the process: the system's clocks, or a manual clock that tests move by hand.
#include "platform/rtl/Clock.h"

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/backend/time.h"
#include "platform/rtl/DateTime.h"

namespace Clock {

namespace {

// The manual clock starts at this tick count, so that code subtracting small intervals stays positive.
constexpr UInt64 ManualStartTick = 60 * 60 * 1000;

struct Listener {
    UInt64 id;
    std::shared_ptr<AdvanceListener> call;
};

struct ClockState {
    std::mutex lock;
    bool manual = false;
    Int64 manualMoment = 0; // the manual clock's local time: time-stamp days * MSecsPerDay + milliseconds
    UInt64 manualTick = 0;
    std::vector<Listener> listeners;
    UInt64 nextListenerId = 1;
};

ClockState& State() {
    static ClockState state;
    return state;
}

// Milliseconds on one continuous scale, so that advancing crosses midnight (and, below 1899-12-30, the
// sign of the TDateTime) correctly.
Int64 ToMoment(TDateTime value) {
    TTimeStamp stamp = DateTimeToTimeStamp(value);
    return static_cast<Int64>(stamp.Date) * MSecsPerDay + stamp.Time;
}

TDateTime FromMoment(Int64 moment) {
    TTimeStamp stamp;
    stamp.Date = static_cast<Integer>(moment / MSecsPerDay);
    stamp.Time = static_cast<Integer>(moment % MSecsPerDay);
    return TimeStampToDateTime(stamp);
}

TDateTime SystemNow() {
    backend::BrokenDownTime now = backend::LocalTimeNow();
    TDateTime date = 0;
    TDateTime time = 0;
    // The system's calendar is always within the years 1..9999; should it not be, answer midnight
    // of the day zero rather than raise from a clock.
    TryEncodeDate(now.year, now.month, now.day, date);
    TryEncodeTime(now.hour, now.minute, now.second, now.millisecond, time);
    return date + time;
}

void CallListeners(const std::vector<Listener>& listeners) {
    for (const Listener& listener : listeners)
        (*listener.call)();
}

} // namespace

TDateTime Now() {
    ClockState& state = State();
    {
        std::lock_guard<std::mutex> guard(state.lock);
        if (state.manual)
            return FromMoment(state.manualMoment);
    }
    return SystemNow();
}

UInt64 TickCount64() {
    ClockState& state = State();
    {
        std::lock_guard<std::mutex> guard(state.lock);
        if (state.manual)
            return state.manualTick;
    }
    return backend::MonotonicMilliseconds();
}

void UseManualClock(TDateTime start) {
    ClockState& state = State();
    std::vector<Listener> listeners;
    {
        std::lock_guard<std::mutex> guard(state.lock);
        state.manual = true;
        state.manualMoment = ToMoment(start);
        state.manualTick = ManualStartTick;
        listeners = state.listeners;
    }
    CallListeners(listeners);
}

void UseSystemClock() {
    ClockState& state = State();
    std::vector<Listener> listeners;
    {
        std::lock_guard<std::mutex> guard(state.lock);
        state.manual = false;
        listeners = state.listeners;
    }
    CallListeners(listeners);
}

bool IsManual() {
    ClockState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    return state.manual;
}

void Advance(UInt64 milliseconds) {
    ClockState& state = State();
    std::vector<Listener> listeners;
    {
        std::lock_guard<std::mutex> guard(state.lock);
        if (!state.manual)
            return;
        // Unsigned, so that an absurd step wraps instead of overflowing.
        state.manualMoment = static_cast<Int64>(static_cast<UInt64>(state.manualMoment) + milliseconds);
        state.manualTick += milliseconds;
        listeners = state.listeners;
    }
    CallListeners(listeners);
}

UInt64 AddAdvanceListener(AdvanceListener listener) {
    ClockState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    UInt64 id = state.nextListenerId++;
    state.listeners.push_back({id, std::make_shared<AdvanceListener>(std::move(listener))});
    return id;
}

void RemoveAdvanceListener(UInt64 id) {
    ClockState& state = State();
    std::lock_guard<std::mutex> guard(state.lock);
    std::erase_if(state.listeners, [id](const Listener& listener) { return listener.id == id; });
}

} // namespace Clock
