// The date controls of the common controls: the month calendar ("SysMonthCal32") and the date-time
// picker ("SysDateTimePick32"), their styles, messages, notifications and records.
#pragma once

#include "platform/win32/time.h"
#include "platform/win32/winuser.h"

// ---- Month calendar ----
inline constexpr const Char* MONTHCAL_CLASSW = u"SysMonthCal32";
inline constexpr const Char* MONTHCAL_CLASS = MONTHCAL_CLASSW;

inline constexpr DWORD MCS_DAYSTATE = 0x0001;
inline constexpr DWORD MCS_MULTISELECT = 0x0002;
inline constexpr DWORD MCS_WEEKNUMBERS = 0x0004;
inline constexpr DWORD MCS_NOTODAYCIRCLE = 0x0008;
inline constexpr DWORD MCS_NOTODAY = 0x0010;

inline constexpr UINT MCM_FIRST = 0x1000;
inline constexpr UINT MCM_GETCURSEL = MCM_FIRST + 1;
inline constexpr UINT MCM_SETCURSEL = MCM_FIRST + 2;
inline constexpr UINT MCM_GETMAXSELCOUNT = MCM_FIRST + 3;
inline constexpr UINT MCM_SETMAXSELCOUNT = MCM_FIRST + 4;
inline constexpr UINT MCM_GETSELRANGE = MCM_FIRST + 5;
inline constexpr UINT MCM_SETSELRANGE = MCM_FIRST + 6;
inline constexpr UINT MCM_GETMONTHRANGE = MCM_FIRST + 7;
inline constexpr UINT MCM_SETDAYSTATE = MCM_FIRST + 8;
inline constexpr UINT MCM_GETMINREQRECT = MCM_FIRST + 9;
inline constexpr UINT MCM_SETCOLOR = MCM_FIRST + 10;
inline constexpr UINT MCM_GETCOLOR = MCM_FIRST + 11;
inline constexpr UINT MCM_SETTODAY = MCM_FIRST + 12;
inline constexpr UINT MCM_GETTODAY = MCM_FIRST + 13;
inline constexpr UINT MCM_HITTEST = MCM_FIRST + 14;
inline constexpr UINT MCM_SETFIRSTDAYOFWEEK = MCM_FIRST + 15;
inline constexpr UINT MCM_GETFIRSTDAYOFWEEK = MCM_FIRST + 16;
inline constexpr UINT MCM_GETRANGE = MCM_FIRST + 17;
inline constexpr UINT MCM_SETRANGE = MCM_FIRST + 18;
inline constexpr UINT MCM_GETMONTHDELTA = MCM_FIRST + 19;
inline constexpr UINT MCM_SETMONTHDELTA = MCM_FIRST + 20;
inline constexpr UINT MCM_GETMAXTODAYWIDTH = MCM_FIRST + 21;
inline constexpr UINT MCM_LAST = MCM_FIRST + 0x3F;

// The colours MCM_SETCOLOR and MCM_GETCOLOR name.
inline constexpr int MCSC_BACKGROUND = 0;
inline constexpr int MCSC_TEXT = 1;
inline constexpr int MCSC_TITLEBK = 2;
inline constexpr int MCSC_TITLETEXT = 3;
inline constexpr int MCSC_MONTHBK = 4;
inline constexpr int MCSC_TRAILINGTEXT = 5;

// MCM_GETMONTHRANGE: the months wholly shown, or those with days shown at all.
inline constexpr DWORD GMR_VISIBLE = 0;
inline constexpr DWORD GMR_DAYSTATE = 1;

// A range's wParam flags: which of the two dates are set (also the answer of MCM_GETRANGE and
// DTM_GETRANGE).
inline constexpr DWORD GDTR_MIN = 0x0001;
inline constexpr DWORD GDTR_MAX = 0x0002;

// What lies under a point (MCHITTESTINFO::uHit).
inline constexpr UINT MCHT_NOWHERE = 0x00000000;
inline constexpr UINT MCHT_TITLE = 0x00010000;
inline constexpr UINT MCHT_CALENDAR = 0x00020000;
inline constexpr UINT MCHT_TODAYLINK = 0x00030000;
inline constexpr UINT MCHT_NEXT = 0x01000000;
inline constexpr UINT MCHT_PREV = 0x02000000;
inline constexpr UINT MCHT_TITLEBK = MCHT_TITLE;
inline constexpr UINT MCHT_TITLEMONTH = MCHT_TITLE | 0x0001;
inline constexpr UINT MCHT_TITLEYEAR = MCHT_TITLE | 0x0002;
inline constexpr UINT MCHT_TITLEBTNNEXT = MCHT_TITLE | MCHT_NEXT | 0x0003;
inline constexpr UINT MCHT_TITLEBTNPREV = MCHT_TITLE | MCHT_PREV | 0x0003;
inline constexpr UINT MCHT_CALENDARBK = MCHT_CALENDAR;
inline constexpr UINT MCHT_CALENDARDATE = MCHT_CALENDAR | 0x0001;
inline constexpr UINT MCHT_CALENDARDATENEXT = MCHT_CALENDARDATE | MCHT_NEXT;
inline constexpr UINT MCHT_CALENDARDATEPREV = MCHT_CALENDARDATE | MCHT_PREV;
inline constexpr UINT MCHT_CALENDARDAY = MCHT_CALENDAR | 0x0002;
inline constexpr UINT MCHT_CALENDARWEEKNUM = MCHT_CALENDAR | 0x0003;

struct MCHITTESTINFO {
    UINT cbSize;
    POINT pt;
    UINT uHit;
    SYSTEMTIME st; // the date under pt, for the MCHT_CALENDARDATE kinds
};
using PMCHITTESTINFO = MCHITTESTINFO*;

// One bit per day of a month (bit 0 is the 1st): the days drawn bold.
using MONTHDAYSTATE = DWORD;
using LPMONTHDAYSTATE = MONTHDAYSTATE*;

inline constexpr UINT MCN_FIRST = 0u - 746u;
inline constexpr UINT MCN_SELECT = MCN_FIRST;
inline constexpr UINT MCN_GETDAYSTATE = MCN_FIRST - 1;
inline constexpr UINT MCN_SELCHANGE = MCN_FIRST - 3;

// MCN_SELCHANGE and MCN_SELECT.
struct NMSELCHANGE {
    NMHDR nmhdr;
    SYSTEMTIME stSelStart;
    SYSTEMTIME stSelEnd;
};
using LPNMSELCHANGE = NMSELCHANGE*;
using NMSELECT = NMSELCHANGE;
using LPNMSELECT = NMSELECT*;

// MCN_GETDAYSTATE: the parent fills cDayState entries of prgDayState, one per month from stStart.
struct NMDAYSTATE {
    NMHDR nmhdr;
    SYSTEMTIME stStart;
    int cDayState;
    LPMONTHDAYSTATE prgDayState;
};
using LPNMDAYSTATE = NMDAYSTATE*;

// ---- Date-time picker ----
inline constexpr const Char* DATETIMEPICK_CLASSW = u"SysDateTimePick32";
inline constexpr const Char* DATETIMEPICK_CLASS = DATETIMEPICK_CLASSW;

inline constexpr DWORD DTS_UPDOWN = 0x0001;
inline constexpr DWORD DTS_SHOWNONE = 0x0002;
inline constexpr DWORD DTS_SHORTDATEFORMAT = 0x0000;
inline constexpr DWORD DTS_LONGDATEFORMAT = 0x0004;
inline constexpr DWORD DTS_SHORTDATECENTURYFORMAT = 0x000C;
inline constexpr DWORD DTS_TIMEFORMAT = 0x0009;
inline constexpr DWORD DTS_APPCANPARSE = 0x0010;
inline constexpr DWORD DTS_RIGHTALIGN = 0x0020;

inline constexpr UINT DTM_FIRST = 0x1000;
inline constexpr UINT DTM_GETSYSTEMTIME = DTM_FIRST + 1;
inline constexpr UINT DTM_SETSYSTEMTIME = DTM_FIRST + 2;
inline constexpr UINT DTM_GETRANGE = DTM_FIRST + 3;
inline constexpr UINT DTM_SETRANGE = DTM_FIRST + 4;
inline constexpr UINT DTM_SETFORMATA = DTM_FIRST + 5;
inline constexpr UINT DTM_SETMCCOLOR = DTM_FIRST + 6;
inline constexpr UINT DTM_GETMCCOLOR = DTM_FIRST + 7;
inline constexpr UINT DTM_GETMONTHCAL = DTM_FIRST + 8;
inline constexpr UINT DTM_SETMCFONT = DTM_FIRST + 9;
inline constexpr UINT DTM_GETMCFONT = DTM_FIRST + 10;
inline constexpr UINT DTM_SETFORMATW = DTM_FIRST + 50;
inline constexpr UINT DTM_SETFORMAT = DTM_SETFORMATW;
inline constexpr UINT DTM_LAST = DTM_FIRST + 0x3F;

// What DTM_GETSYSTEMTIME answers and DTM_SETSYSTEMTIME takes, and the flags of the notifications.
inline constexpr LRESULT GDT_ERROR = -1;
inline constexpr DWORD GDT_VALID = 0;
inline constexpr DWORD GDT_NONE = 1;

inline constexpr UINT DTN_FIRST = 0u - 740u;
inline constexpr UINT DTN_FIRST2 = 0u - 753u;
inline constexpr UINT DTN_CLOSEUP = DTN_FIRST2;
inline constexpr UINT DTN_DROPDOWN = DTN_FIRST2 - 1;
inline constexpr UINT DTN_DATETIMECHANGE = DTN_FIRST2 - 6;
inline constexpr UINT DTN_USERSTRINGA = DTN_FIRST2 - 5;
inline constexpr UINT DTN_WMKEYDOWNA = DTN_FIRST2 - 4;
inline constexpr UINT DTN_FORMATA = DTN_FIRST2 - 3;
inline constexpr UINT DTN_FORMATQUERYA = DTN_FIRST2 - 2;
inline constexpr UINT DTN_USERSTRINGW = DTN_FIRST - 5;
inline constexpr UINT DTN_WMKEYDOWNW = DTN_FIRST - 4;
inline constexpr UINT DTN_FORMATW = DTN_FIRST - 3;
inline constexpr UINT DTN_FORMATQUERYW = DTN_FIRST - 2;
inline constexpr UINT DTN_USERSTRING = DTN_USERSTRINGW;
inline constexpr UINT DTN_WMKEYDOWN = DTN_WMKEYDOWNW;
inline constexpr UINT DTN_FORMAT = DTN_FORMATW;
inline constexpr UINT DTN_FORMATQUERY = DTN_FORMATQUERYW;

// DTN_DATETIMECHANGE: dwFlags GDT_VALID with the new st, or GDT_NONE when the check box was cleared.
struct NMDATETIMECHANGE {
    NMHDR nmhdr;
    DWORD dwFlags;
    SYSTEMTIME st;
};
using LPNMDATETIMECHANGE = NMDATETIMECHANGE*;

// DTN_USERSTRING: the parent parses pszUserString into st and sets dwFlags to GDT_VALID, GDT_NONE or
// leaves the value alone with GDT_ERROR.
struct NMDATETIMESTRINGW {
    NMHDR nmhdr;
    LPCWSTR pszUserString;
    SYSTEMTIME st;
    DWORD dwFlags;
};
using LPNMDATETIMESTRINGW = NMDATETIMESTRINGW*;
using NMDATETIMESTRING = NMDATETIMESTRINGW;

// DTN_WMKEYDOWN: a key in a callback field ("X..." in pszFormat); the parent may change st.
struct NMDATETIMEWMKEYDOWNW {
    NMHDR nmhdr;
    int nVirtKey;
    LPCWSTR pszFormat;
    SYSTEMTIME st;
};
using LPNMDATETIMEWMKEYDOWNW = NMDATETIMEWMKEYDOWNW*;
using NMDATETIMEWMKEYDOWN = NMDATETIMEWMKEYDOWNW;

// DTN_FORMAT: the parent answers the text of a callback field, in szDisplay or through pszDisplay.
struct NMDATETIMEFORMATW {
    NMHDR nmhdr;
    LPCWSTR pszFormat;
    SYSTEMTIME st;
    LPCWSTR pszDisplay;
    WCHAR szDisplay[64];
};
using LPNMDATETIMEFORMATW = NMDATETIMEFORMATW*;
using NMDATETIMEFORMAT = NMDATETIMEFORMATW;

// DTN_FORMATQUERY: the parent answers the widest text of a callback field.
struct NMDATETIMEFORMATQUERYW {
    NMHDR nmhdr;
    LPCWSTR pszFormat;
    SIZE szMax;
};
using LPNMDATETIMEFORMATQUERYW = NMDATETIMEFORMATQUERYW*;
using NMDATETIMEFORMATQUERY = NMDATETIMEFORMATQUERYW;
