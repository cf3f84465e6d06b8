// Win32 time calls over the platform's clock.
#include "platform/win32/time.h"

#include "platform/backend/time.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"

namespace {

void FillSystemTime(TDateTime value, LPSYSTEMTIME systemTime) {
    DecodeDateTime(value, systemTime->wYear, systemTime->wMonth, systemTime->wDay, systemTime->wHour,
                   systemTime->wMinute, systemTime->wSecond, systemTime->wMilliseconds);
    systemTime->wDayOfWeek = static_cast<WORD>(DayOfWeek(value) - 1);
}

} // namespace

DWORD GetTickCount() {
    return static_cast<DWORD>(Clock::TickCount64());
}

ULONGLONG GetTickCount64() {
    return Clock::TickCount64();
}

void GetLocalTime(LPSYSTEMTIME systemTime) {
    if (systemTime)
        FillSystemTime(Clock::Now(), systemTime);
}

void GetSystemTime(LPSYSTEMTIME systemTime) {
    if (!systemTime)
        return;
    if (!Clock::IsManual()) {
        backend::BrokenDownTime now = backend::UniversalTimeNow();
        *systemTime = {static_cast<WORD>(now.year),      static_cast<WORD>(now.month),
                       static_cast<WORD>(now.dayOfWeek), static_cast<WORD>(now.day),
                       static_cast<WORD>(now.hour),      static_cast<WORD>(now.minute),
                       static_cast<WORD>(now.second),    static_cast<WORD>(now.millisecond)};
        return;
    }
    // The manual clock keeps local time; UTC is that less the zone's present offset.
    TDateTime local = Clock::Now();
    FillSystemTime(local - static_cast<double>(backend::LocalUtcOffsetSeconds()) / SecsPerDay, systemTime);
}
