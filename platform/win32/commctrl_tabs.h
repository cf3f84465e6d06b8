// The tab control ("SysTabControl32") and the track bar ("msctls_trackbar32"): their styles, messages,
// records and notifications. Included through commctrl.h, which defines NMHDR first.
#pragma once

#include "platform/win32/winuser.h"

// ---- Tab control ----
inline constexpr const Char* WC_TABCONTROLW = u"SysTabControl32";
inline constexpr const Char* WC_TABCONTROL = WC_TABCONTROLW;

inline constexpr DWORD TCS_SCROLLOPPOSITE = 0x0001;
inline constexpr DWORD TCS_BOTTOM = 0x0002;
inline constexpr DWORD TCS_RIGHT = 0x0002;
inline constexpr DWORD TCS_MULTISELECT = 0x0004;
inline constexpr DWORD TCS_FLATBUTTONS = 0x0008;
inline constexpr DWORD TCS_FORCEICONLEFT = 0x0010;
inline constexpr DWORD TCS_FORCELABELLEFT = 0x0020;
inline constexpr DWORD TCS_HOTTRACK = 0x0040;
inline constexpr DWORD TCS_VERTICAL = 0x0080;
inline constexpr DWORD TCS_TABS = 0x0000;
inline constexpr DWORD TCS_BUTTONS = 0x0100;
inline constexpr DWORD TCS_SINGLELINE = 0x0000;
inline constexpr DWORD TCS_MULTILINE = 0x0200;
inline constexpr DWORD TCS_RIGHTJUSTIFY = 0x0000;
inline constexpr DWORD TCS_FIXEDWIDTH = 0x0400;
inline constexpr DWORD TCS_RAGGEDRIGHT = 0x0800;
inline constexpr DWORD TCS_FOCUSONBUTTONDOWN = 0x1000;
inline constexpr DWORD TCS_OWNERDRAWFIXED = 0x2000;
inline constexpr DWORD TCS_TOOLTIPS = 0x4000;
inline constexpr DWORD TCS_FOCUSNEVER = 0x8000;

inline constexpr UINT TCM_FIRST = 0x1300;
inline constexpr UINT TCM_GETIMAGELIST = TCM_FIRST + 2;
inline constexpr UINT TCM_SETIMAGELIST = TCM_FIRST + 3;
inline constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
inline constexpr UINT TCM_DELETEITEM = TCM_FIRST + 8;
inline constexpr UINT TCM_DELETEALLITEMS = TCM_FIRST + 9;
inline constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;
inline constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
inline constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;
inline constexpr UINT TCM_HITTEST = TCM_FIRST + 13;
inline constexpr UINT TCM_SETITEMEXTRA = TCM_FIRST + 14;
inline constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;
inline constexpr UINT TCM_SETITEMSIZE = TCM_FIRST + 41;
inline constexpr UINT TCM_REMOVEIMAGE = TCM_FIRST + 42;
inline constexpr UINT TCM_SETPADDING = TCM_FIRST + 43;
inline constexpr UINT TCM_GETROWCOUNT = TCM_FIRST + 44;
inline constexpr UINT TCM_GETTOOLTIPS = TCM_FIRST + 45;
inline constexpr UINT TCM_SETTOOLTIPS = TCM_FIRST + 46;
inline constexpr UINT TCM_GETCURFOCUS = TCM_FIRST + 47;
inline constexpr UINT TCM_SETCURFOCUS = TCM_FIRST + 48;
inline constexpr UINT TCM_SETMINTABWIDTH = TCM_FIRST + 49;
inline constexpr UINT TCM_DESELECTALL = TCM_FIRST + 50;
inline constexpr UINT TCM_HIGHLIGHTITEM = TCM_FIRST + 51;
inline constexpr UINT TCM_GETITEMW = TCM_FIRST + 60;
inline constexpr UINT TCM_SETITEMW = TCM_FIRST + 61;
inline constexpr UINT TCM_INSERTITEMW = TCM_FIRST + 62;
inline constexpr UINT TCM_GETITEM = TCM_GETITEMW;
inline constexpr UINT TCM_SETITEM = TCM_SETITEMW;
inline constexpr UINT TCM_INSERTITEM = TCM_INSERTITEMW;

inline constexpr UINT TCIF_TEXT = 0x0001;
inline constexpr UINT TCIF_IMAGE = 0x0002;
inline constexpr UINT TCIF_RTLREADING = 0x0004;
inline constexpr UINT TCIF_PARAM = 0x0008;
inline constexpr UINT TCIF_STATE = 0x0010;
inline constexpr DWORD TCIS_BUTTONPRESSED = 0x0001;
inline constexpr DWORD TCIS_HIGHLIGHTED = 0x0002;

struct TCITEMW {
    UINT mask;
    DWORD dwState;
    DWORD dwStateMask;
    LPWSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};
using TCITEM = TCITEMW;
using LPTCITEMW = TCITEMW*;

inline constexpr UINT TCHT_NOWHERE = 0x0001;
inline constexpr UINT TCHT_ONITEMICON = 0x0002;
inline constexpr UINT TCHT_ONITEMLABEL = 0x0004;
inline constexpr UINT TCHT_ONITEM = TCHT_ONITEMICON | TCHT_ONITEMLABEL;

struct TCHITTESTINFO {
    POINT pt;
    UINT flags;
};

inline constexpr UINT TCN_FIRST = 0u - 550u;
inline constexpr UINT TCN_KEYDOWN = TCN_FIRST - 0;
inline constexpr UINT TCN_SELCHANGE = TCN_FIRST - 1;
inline constexpr UINT TCN_SELCHANGING = TCN_FIRST - 2; // a non-zero answer keeps the selection

struct NMTCKEYDOWN {
    NMHDR hdr;
    WORD wVKey;
    UINT flags; // the key message's lParam
};

// WM_DRAWITEM's CtlType for an owner-drawn tab; the item's data is the tab's lParam.
inline constexpr UINT ODT_TAB = 101;

// ---- Track bar ----
inline constexpr const Char* TRACKBAR_CLASSW = u"msctls_trackbar32";
inline constexpr const Char* TRACKBAR_CLASS = TRACKBAR_CLASSW;

inline constexpr DWORD TBS_AUTOTICKS = 0x0001;
inline constexpr DWORD TBS_VERT = 0x0002;
inline constexpr DWORD TBS_HORZ = 0x0000;
inline constexpr DWORD TBS_TOP = 0x0004;
inline constexpr DWORD TBS_BOTTOM = 0x0000;
inline constexpr DWORD TBS_LEFT = 0x0004;
inline constexpr DWORD TBS_RIGHT = 0x0000;
inline constexpr DWORD TBS_BOTH = 0x0008;
inline constexpr DWORD TBS_NOTICKS = 0x0010;
inline constexpr DWORD TBS_ENABLESELRANGE = 0x0020;
inline constexpr DWORD TBS_FIXEDLENGTH = 0x0040;
inline constexpr DWORD TBS_NOTHUMB = 0x0080;
inline constexpr DWORD TBS_TOOLTIPS = 0x0100;
inline constexpr DWORD TBS_REVERSED = 0x0200;
inline constexpr DWORD TBS_DOWNISLEFT = 0x0400;

inline constexpr UINT TBM_GETPOS = WM_USER;
inline constexpr UINT TBM_GETRANGEMIN = WM_USER + 1;
inline constexpr UINT TBM_GETRANGEMAX = WM_USER + 2;
inline constexpr UINT TBM_GETTIC = WM_USER + 3;
inline constexpr UINT TBM_SETTIC = WM_USER + 4;
inline constexpr UINT TBM_SETPOS = WM_USER + 5;
inline constexpr UINT TBM_SETRANGE = WM_USER + 6;
inline constexpr UINT TBM_SETRANGEMIN = WM_USER + 7;
inline constexpr UINT TBM_SETRANGEMAX = WM_USER + 8;
inline constexpr UINT TBM_CLEARTICS = WM_USER + 9;
inline constexpr UINT TBM_SETSEL = WM_USER + 10;
inline constexpr UINT TBM_SETSELSTART = WM_USER + 11;
inline constexpr UINT TBM_SETSELEND = WM_USER + 12;
inline constexpr UINT TBM_GETPTICS = WM_USER + 14;
inline constexpr UINT TBM_GETTICPOS = WM_USER + 15;
inline constexpr UINT TBM_GETNUMTICS = WM_USER + 16;
inline constexpr UINT TBM_GETSELSTART = WM_USER + 17;
inline constexpr UINT TBM_GETSELEND = WM_USER + 18;
inline constexpr UINT TBM_CLEARSEL = WM_USER + 19;
inline constexpr UINT TBM_SETTICFREQ = WM_USER + 20;
inline constexpr UINT TBM_SETPAGESIZE = WM_USER + 21;
inline constexpr UINT TBM_GETPAGESIZE = WM_USER + 22;
inline constexpr UINT TBM_SETLINESIZE = WM_USER + 23;
inline constexpr UINT TBM_GETLINESIZE = WM_USER + 24;
inline constexpr UINT TBM_GETTHUMBRECT = WM_USER + 25;
inline constexpr UINT TBM_GETCHANNELRECT = WM_USER + 26;
inline constexpr UINT TBM_SETTHUMBLENGTH = WM_USER + 27;
inline constexpr UINT TBM_GETTHUMBLENGTH = WM_USER + 28;
inline constexpr UINT TBM_SETTOOLTIPS = WM_USER + 29;
inline constexpr UINT TBM_GETTOOLTIPS = WM_USER + 30;
inline constexpr UINT TBM_SETTIPSIDE = WM_USER + 31;
inline constexpr UINT TBM_SETBUDDY = WM_USER + 32;
inline constexpr UINT TBM_GETBUDDY = WM_USER + 33;

// The scroll codes a track bar sends in the low word of WM_HSCROLL/WM_VSCROLL; the high word holds the
// position with TB_THUMBTRACK and TB_THUMBPOSITION only.
inline constexpr WORD TB_LINEUP = 0;
inline constexpr WORD TB_LINEDOWN = 1;
inline constexpr WORD TB_PAGEUP = 2;
inline constexpr WORD TB_PAGEDOWN = 3;
inline constexpr WORD TB_THUMBPOSITION = 4;
inline constexpr WORD TB_THUMBTRACK = 5;
inline constexpr WORD TB_TOP = 6;
inline constexpr WORD TB_BOTTOM = 7;
inline constexpr WORD TB_ENDTRACK = 8;
