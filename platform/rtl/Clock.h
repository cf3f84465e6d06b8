// The one clock behind GetTickCount, Now, Date, Time, window timers and TTimer. Tests switch it to a
// manual clock and advance it by hand.
#pragma once

#include <functional>

#include "platform/rtl/Types.h"

namespace Clock {

// Local date and time now.
TDateTime Now();
// Milliseconds since an arbitrary fixed start; never goes backwards.
UInt64 TickCount64();

// Switches to a manual clock that stands at the given local date and time (and at a tick count of
// one hour, so that code subtracting small intervals stays positive) until it is advanced.
void UseManualClock(TDateTime start);
// Back to the system's clock.
void UseSystemClock();
bool IsManual();
// Moves the manual clock forward; does nothing on the system clock.
void Advance(UInt64 milliseconds);

// Called whenever the clock moves by hand: after each Advance of the manual clock and after each switch
// (UseManualClock, UseSystemClock), so that code waiting on the clock looks at it again (window timers
// fire from here). Runs on the thread that moved the clock, outside the clock's lock, so that it may read
// the clock. Listeners run in the order they were added. One removed while another thread is moving the
// clock may still be called once.
using AdvanceListener = std::function<void()>;
// Returns the id that RemoveAdvanceListener takes.
UInt64 AddAdvanceListener(AdvanceListener listener);
void RemoveAdvanceListener(UInt64 id);

} // namespace Clock
