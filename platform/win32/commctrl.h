// The common controls in one include: the notification header every WM_NOTIFY carries, the
// notification codes they share, and the control classes (bars and tips, tabs and track bars, date
// and calendar controls) declared in their own headers.
#pragma once

#include "platform/win32/winuser.h"

struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
using LPNMHDR = NMHDR*;

// Codes shared by all common controls (their own codes lie in ranges below these).
inline constexpr UINT NM_FIRST = 0u - 0u;
inline constexpr UINT NM_OUTOFMEMORY = NM_FIRST - 1;
inline constexpr UINT NM_CLICK = NM_FIRST - 2;
inline constexpr UINT NM_DBLCLK = NM_FIRST - 3;
inline constexpr UINT NM_RETURN = NM_FIRST - 4;
inline constexpr UINT NM_RCLICK = NM_FIRST - 5;
inline constexpr UINT NM_RDBLCLK = NM_FIRST - 6;
inline constexpr UINT NM_SETFOCUS = NM_FIRST - 7;
inline constexpr UINT NM_KILLFOCUS = NM_FIRST - 8;
inline constexpr UINT NM_CUSTOMDRAW = NM_FIRST - 12;
inline constexpr UINT NM_HOVER = NM_FIRST - 13;
inline constexpr UINT NM_RELEASEDCAPTURE = NM_FIRST - 16;

inline constexpr UINT CCM_FIRST = 0x2000;
inline constexpr UINT CCM_SETBKCOLOR = CCM_FIRST + 1;
inline constexpr UINT CCM_SETUNICODEFORMAT = CCM_FIRST + 5;
inline constexpr UINT CCM_GETUNICODEFORMAT = CCM_FIRST + 6;

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
inline constexpr DWORD ICC_LISTVIEW_CLASSES = 0x1;
inline constexpr DWORD ICC_TREEVIEW_CLASSES = 0x2;
inline constexpr DWORD ICC_BAR_CLASSES = 0x4;
inline constexpr DWORD ICC_TAB_CLASSES = 0x8;
inline constexpr DWORD ICC_UPDOWN_CLASS = 0x10;
inline constexpr DWORD ICC_PROGRESS_CLASS = 0x20;
inline constexpr DWORD ICC_WIN95_CLASSES = 0xFF;
inline constexpr DWORD ICC_DATE_CLASSES = 0x100;
inline constexpr DWORD ICC_STANDARD_CLASSES = 0x4000;

// The classes are registered with the system's own controls before the first window is made, so
// these only check their argument.
void InitCommonControls();
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);

#include "platform/win32/commctrl_bars.h"
#include "platform/win32/commctrl_dates.h"
#include "platform/win32/commctrl_tabs.h"
