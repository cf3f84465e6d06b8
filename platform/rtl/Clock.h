// The one clock behind GetTickCount, Now, Date, Time, window timers and TTimer. Tests switch it to a
// manual clock and advance it by hand.
#pragma once

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

} // namespace Clock
