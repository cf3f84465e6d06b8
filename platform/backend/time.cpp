// POSIX implementation of the platform's clocks.
#include "platform/backend/time.h"

#include <ctime>

namespace backend {

namespace {

BrokenDownTime FromTm(const std::tm& fields, long nanoseconds) {
    BrokenDownTime result;
    result.year = fields.tm_year + 1900;
    result.month = fields.tm_mon + 1;
    result.day = fields.tm_mday;
    result.hour = fields.tm_hour;
    result.minute = fields.tm_min;
    // The calendar routines know no 61st second; a leap second is shown as the one before it.
    result.second = fields.tm_sec > 59 ? 59 : fields.tm_sec;
    result.millisecond = static_cast<int>(nanoseconds / 1000000);
    result.dayOfWeek = fields.tm_wday;
    return result;
}

timespec RealTime() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

} // namespace

BrokenDownTime LocalTimeNow() {
    timespec now = RealTime();
    std::tm fields{};
    ::localtime_r(&now.tv_sec, &fields);
    return FromTm(fields, now.tv_nsec);
}

BrokenDownTime UniversalTimeNow() {
    timespec now = RealTime();
    std::tm fields{};
    ::gmtime_r(&now.tv_sec, &fields);
    return FromTm(fields, now.tv_nsec);
}

int LocalUtcOffsetSeconds() {
    std::time_t now = std::time(nullptr);
    std::tm fields{};
    ::localtime_r(&now, &fields);
    return static_cast<int>(fields.tm_gmtoff);
}

std::uint64_t MonotonicMilliseconds() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000u +
           static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
}

} // namespace backend
