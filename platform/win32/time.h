// Win32 time calls: the millisecond tick count and the local and UTC date and time, from the platform's
// one clock (the manual clock in tests).
#pragma once

#include "platform/win32/wintypes.h"

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;     // 1 = January
    WORD wDayOfWeek; // 0 = Sunday
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};
using LPSYSTEMTIME = SYSTEMTIME*;

// Milliseconds since the clock's start; wraps to 0 after about 49.7 days.
DWORD GetTickCount();
ULONGLONG GetTickCount64();
// Do nothing when given no structure.
void GetLocalTime(LPSYSTEMTIME systemTime);
void GetSystemTime(LPSYSTEMTIME systemTime);
