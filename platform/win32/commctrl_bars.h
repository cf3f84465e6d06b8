// The bar-shaped and tip common controls: tooltips (plain and balloon), the status bar, the progress bar
// and the up-down control. Included by commctrl.h after NMHDR.
#pragma once

#include <cstddef>

#include "platform/win32/winuser.h"

// Styles every common control that places itself along its parent understands.
inline constexpr DWORD CCS_TOP = 0x0001;
inline constexpr DWORD CCS_NOMOVEY = 0x0002;
inline constexpr DWORD CCS_BOTTOM = 0x0003;
inline constexpr DWORD CCS_NORESIZE = 0x0004;
inline constexpr DWORD CCS_NOPARENTALIGN = 0x0008;
inline constexpr DWORD CCS_NODIVIDER = 0x0040;

// ---- Tooltips ----
inline constexpr const WCHAR* TOOLTIPS_CLASSW = u"Tooltips_Class32";
inline constexpr const WCHAR* TOOLTIPS_CLASS = TOOLTIPS_CLASSW;

inline constexpr DWORD TTS_ALWAYSTIP = 0x01; // shows also while the owner is inactive
inline constexpr DWORD TTS_NOPREFIX = 0x02;
inline constexpr DWORD TTS_NOANIMATE = 0x10;
inline constexpr DWORD TTS_NOFADE = 0x20;
inline constexpr DWORD TTS_BALLOON = 0x40;
inline constexpr DWORD TTS_CLOSE = 0x80;

inline constexpr UINT TTF_IDISHWND = 0x0001;
inline constexpr UINT TTF_CENTERTIP = 0x0002;
inline constexpr UINT TTF_RTLREADING = 0x0004;
inline constexpr UINT TTF_SUBCLASS = 0x0010;
inline constexpr UINT TTF_TRACK = 0x0020;
inline constexpr UINT TTF_ABSOLUTE = 0x0080;
inline constexpr UINT TTF_TRANSPARENT = 0x0100;
inline constexpr UINT TTF_PARSELINKS = 0x1000;
inline constexpr UINT TTF_DI_SETITEM = 0x8000;

inline constexpr WPARAM TTDT_AUTOMATIC = 0;
inline constexpr WPARAM TTDT_RESHOW = 1;
inline constexpr WPARAM TTDT_AUTOPOP = 2;
inline constexpr WPARAM TTDT_INITIAL = 3;

inline constexpr UINT TTM_ACTIVATE = WM_USER + 1;
inline constexpr UINT TTM_SETDELAYTIME = WM_USER + 3;
inline constexpr UINT TTM_RELAYEVENT = WM_USER + 7;
inline constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;
inline constexpr UINT TTM_WINDOWFROMPOINT = WM_USER + 16;
inline constexpr UINT TTM_TRACKACTIVATE = WM_USER + 17;
inline constexpr UINT TTM_TRACKPOSITION = WM_USER + 18;
inline constexpr UINT TTM_SETTIPBKCOLOR = WM_USER + 19;
inline constexpr UINT TTM_SETTIPTEXTCOLOR = WM_USER + 20;
inline constexpr UINT TTM_GETDELAYTIME = WM_USER + 21;
inline constexpr UINT TTM_GETTIPBKCOLOR = WM_USER + 22;
inline constexpr UINT TTM_GETTIPTEXTCOLOR = WM_USER + 23;
inline constexpr UINT TTM_SETMAXTIPWIDTH = WM_USER + 24;
inline constexpr UINT TTM_GETMAXTIPWIDTH = WM_USER + 25;
inline constexpr UINT TTM_POP = WM_USER + 28;
inline constexpr UINT TTM_UPDATE = WM_USER + 29;
inline constexpr UINT TTM_GETBUBBLESIZE = WM_USER + 30;
inline constexpr UINT TTM_ADJUSTRECT = WM_USER + 31;
inline constexpr UINT TTM_SETTITLEW = WM_USER + 33;
inline constexpr UINT TTM_POPUP = WM_USER + 34;
inline constexpr UINT TTM_ADDTOOLW = WM_USER + 50;
inline constexpr UINT TTM_DELTOOLW = WM_USER + 51;
inline constexpr UINT TTM_NEWTOOLRECTW = WM_USER + 52;
inline constexpr UINT TTM_GETTOOLINFOW = WM_USER + 53;
inline constexpr UINT TTM_SETTOOLINFOW = WM_USER + 54;
inline constexpr UINT TTM_GETTEXTW = WM_USER + 56;
inline constexpr UINT TTM_UPDATETIPTEXTW = WM_USER + 57;
inline constexpr UINT TTM_ADDTOOL = TTM_ADDTOOLW;
inline constexpr UINT TTM_DELTOOL = TTM_DELTOOLW;
inline constexpr UINT TTM_NEWTOOLRECT = TTM_NEWTOOLRECTW;
inline constexpr UINT TTM_GETTOOLINFO = TTM_GETTOOLINFOW;
inline constexpr UINT TTM_SETTOOLINFO = TTM_SETTOOLINFOW;
inline constexpr UINT TTM_GETTEXT = TTM_GETTEXTW;
inline constexpr UINT TTM_UPDATETIPTEXT = TTM_UPDATETIPTEXTW;
inline constexpr UINT TTM_SETTITLE = TTM_SETTITLEW;

inline constexpr UINT TTN_FIRST = 0u - 520u;
inline constexpr UINT TTN_SHOW = TTN_FIRST - 1;
inline constexpr UINT TTN_POP = TTN_FIRST - 2;
inline constexpr UINT TTN_GETDISPINFOW = TTN_FIRST - 10;
inline constexpr UINT TTN_GETDISPINFO = TTN_GETDISPINFOW;
inline constexpr UINT TTN_NEEDTEXTW = TTN_GETDISPINFOW;

// As lpszText: the tool's owner is asked for the text (TTN_GETDISPINFOW) each time the tip shows.
inline WCHAR* const LPSTR_TEXTCALLBACKW = reinterpret_cast<WCHAR*>(static_cast<std::intptr_t>(-1));
inline WCHAR* const LPSTR_TEXTCALLBACK = LPSTR_TEXTCALLBACKW;

struct TOOLINFOW {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;    // the window that owns the tool and hears its notifications
    UINT_PTR uId; // the tool's id, or its window with TTF_IDISHWND
    RECT rect;    // in hwnd's client coordinates; unused with TTF_IDISHWND
    HINSTANCE hinst;
    LPWSTR lpszText; // text, LPSTR_TEXTCALLBACKW, or a string resource id with hinst
    LPARAM lParam;
    void* lpReserved;
};
using TTTOOLINFOW = TOOLINFOW;
using LPTOOLINFOW = TOOLINFOW*;
// The record sizes older callers pass: without lParam, and without lpReserved.
inline constexpr UINT TTTOOLINFOW_V1_SIZE = offsetof(TOOLINFOW, lParam);
inline constexpr UINT TTTOOLINFOW_V2_SIZE = offsetof(TOOLINFOW, lpReserved);

struct NMTTDISPINFOW {
    NMHDR hdr;
    LPWSTR lpszText; // where the text is: szText, a string of the owner's, or a resource id with hinst
    WCHAR szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};
using NMTTDISPINFO = NMTTDISPINFOW;
using LPNMTTDISPINFOW = NMTTDISPINFOW*;

// ---- Status bar ----
inline constexpr const WCHAR* STATUSCLASSNAMEW = u"msctls_statusbar32";
inline constexpr const WCHAR* STATUSCLASSNAME = STATUSCLASSNAMEW;

inline constexpr DWORD SBARS_SIZEGRIP = 0x0100;
inline constexpr DWORD SBARS_TOOLTIPS = 0x0800;

inline constexpr UINT SB_SETTEXTW = WM_USER + 11;
inline constexpr UINT SB_GETTEXTW = WM_USER + 13;
inline constexpr UINT SB_GETTEXTLENGTHW = WM_USER + 12;
inline constexpr UINT SB_SETPARTS = WM_USER + 4;
inline constexpr UINT SB_GETPARTS = WM_USER + 6;
inline constexpr UINT SB_GETBORDERS = WM_USER + 7;
inline constexpr UINT SB_SETMINHEIGHT = WM_USER + 8;
inline constexpr UINT SB_SIMPLE = WM_USER + 9;
inline constexpr UINT SB_GETRECT = WM_USER + 10;
inline constexpr UINT SB_ISSIMPLE = WM_USER + 14;
inline constexpr UINT SB_SETBKCOLOR = CCM_SETBKCOLOR;
inline constexpr UINT SB_SETTEXT = SB_SETTEXTW;
inline constexpr UINT SB_GETTEXT = SB_GETTEXTW;
inline constexpr UINT SB_GETTEXTLENGTH = SB_GETTEXTLENGTHW;

// The part number that addresses the single part of simple mode.
inline constexpr WPARAM SB_SIMPLEID = 0x00FF;

// Drawing kinds, in the high byte of SB_SETTEXT's wParam and of SB_GETTEXT's and SB_GETTEXTLENGTH's answer.
inline constexpr UINT SBT_NOBORDERS = 0x0100;
inline constexpr UINT SBT_POPOUT = 0x0200;
inline constexpr UINT SBT_RTLREADING = 0x0400;
inline constexpr UINT SBT_NOTABPARSING = 0x0800;
inline constexpr UINT SBT_OWNERDRAW = 0x1000;

inline constexpr UINT SBN_FIRST = 0u - 880u;
inline constexpr UINT SBN_SIMPLEMODECHANGE = SBN_FIRST - 0;

// ---- Progress bar ----
inline constexpr const WCHAR* PROGRESS_CLASSW = u"msctls_progress32";
inline constexpr const WCHAR* PROGRESS_CLASS = PROGRESS_CLASSW;

inline constexpr DWORD PBS_SMOOTH = 0x01;
inline constexpr DWORD PBS_VERTICAL = 0x04;

inline constexpr UINT PBM_SETRANGE = WM_USER + 1;
inline constexpr UINT PBM_SETPOS = WM_USER + 2;
inline constexpr UINT PBM_DELTAPOS = WM_USER + 3;
inline constexpr UINT PBM_SETSTEP = WM_USER + 4;
inline constexpr UINT PBM_STEPIT = WM_USER + 5;
inline constexpr UINT PBM_SETRANGE32 = WM_USER + 6;
inline constexpr UINT PBM_GETRANGE = WM_USER + 7;
inline constexpr UINT PBM_GETPOS = WM_USER + 8;
inline constexpr UINT PBM_SETBARCOLOR = WM_USER + 9;
inline constexpr UINT PBM_GETSTEP = WM_USER + 13;
inline constexpr UINT PBM_GETBKCOLOR = WM_USER + 14;
inline constexpr UINT PBM_GETBARCOLOR = WM_USER + 15;
inline constexpr UINT PBM_SETBKCOLOR = CCM_SETBKCOLOR;

struct PBRANGE {
    int iLow;
    int iHigh;
};

// ---- Up-down ----
inline constexpr const WCHAR* UPDOWN_CLASSW = u"msctls_updown32";
inline constexpr const WCHAR* UPDOWN_CLASS = UPDOWN_CLASSW;

inline constexpr DWORD UDS_WRAP = 0x0001;
inline constexpr DWORD UDS_SETBUDDYINT = 0x0002;
inline constexpr DWORD UDS_ALIGNRIGHT = 0x0004;
inline constexpr DWORD UDS_ALIGNLEFT = 0x0008;
inline constexpr DWORD UDS_AUTOBUDDY = 0x0010;
inline constexpr DWORD UDS_ARROWKEYS = 0x0020;
inline constexpr DWORD UDS_HORZ = 0x0040;
inline constexpr DWORD UDS_NOTHOUSANDS = 0x0080;
inline constexpr DWORD UDS_HOTTRACK = 0x0100;

inline constexpr int UD_MAXVAL = 0x7FFF;
inline constexpr int UD_MINVAL = -UD_MAXVAL;

inline constexpr UINT UDM_SETRANGE = WM_USER + 101;
inline constexpr UINT UDM_GETRANGE = WM_USER + 102;
inline constexpr UINT UDM_SETPOS = WM_USER + 103;
inline constexpr UINT UDM_GETPOS = WM_USER + 104;
inline constexpr UINT UDM_SETBUDDY = WM_USER + 105;
inline constexpr UINT UDM_GETBUDDY = WM_USER + 106;
inline constexpr UINT UDM_SETACCEL = WM_USER + 107;
inline constexpr UINT UDM_GETACCEL = WM_USER + 108;
inline constexpr UINT UDM_SETBASE = WM_USER + 109;
inline constexpr UINT UDM_GETBASE = WM_USER + 110;
inline constexpr UINT UDM_SETRANGE32 = WM_USER + 111;
inline constexpr UINT UDM_GETRANGE32 = WM_USER + 112;
inline constexpr UINT UDM_SETPOS32 = WM_USER + 113;
inline constexpr UINT UDM_GETPOS32 = WM_USER + 114;

struct UDACCEL {
    UINT nSec; // seconds of holding after which this step applies
    UINT nInc;
};

inline constexpr UINT UDN_FIRST = 0u - 721u;
inline constexpr UINT UDN_DELTAPOS = UDN_FIRST - 1;

struct NMUPDOWN {
    NMHDR hdr;
    int iPos;
    int iDelta;
};
using LPNMUPDOWN = NMUPDOWN*;
