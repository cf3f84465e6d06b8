// The operating system's clocks, for the platform layer: the wall-clock time broken down and a monotonic
// millisecond counter.
#pragma once

#include <cstdint>

namespace backend {

// A moment broken down into calendar fields.
struct BrokenDownTime {
    int year = 0;
    int month = 0;       // 1..12
    int day = 0;         // 1..31
    int hour = 0;        // 0..23
    int minute = 0;      // 0..59
    int second = 0;      // 0..59; a leap second reads as 59
    int millisecond = 0; // 0..999
    int dayOfWeek = 0;   // 0 = Sunday .. 6 = Saturday
};

// The present moment in the user's time zone.
BrokenDownTime LocalTimeNow();
// The present moment in UTC.
BrokenDownTime UniversalTimeNow();
// Seconds to add to UTC to get the local time at the present moment (east of Greenwich is positive).
int LocalUtcOffsetSeconds();
// Milliseconds since an unspecified start; never goes backwards.
std::uint64_t MonotonicMilliseconds();

} // namespace backend
