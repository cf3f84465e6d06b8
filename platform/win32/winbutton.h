// The BUTTON, STATIC and SCROLLBAR window classes' side of the Win32 API: their styles, messages,
// states and notification codes. The classes are registered by win32::RegisterSystemControls (winctrl.h).
#pragma once

#include "platform/win32/winctrl.h"

// ---- BUTTON ----
inline constexpr DWORD BS_PUSHBUTTON = 0x0000;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x0001;
inline constexpr DWORD BS_CHECKBOX = 0x0002;
inline constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
inline constexpr DWORD BS_RADIOBUTTON = 0x0004;
inline constexpr DWORD BS_3STATE = 0x0005;
inline constexpr DWORD BS_AUTO3STATE = 0x0006;
inline constexpr DWORD BS_GROUPBOX = 0x0007;
inline constexpr DWORD BS_USERBUTTON = 0x0008;
inline constexpr DWORD BS_AUTORADIOBUTTON = 0x0009;
inline constexpr DWORD BS_PUSHBOX = 0x000A;
inline constexpr DWORD BS_OWNERDRAW = 0x000B;
inline constexpr DWORD BS_TYPEMASK = 0x000F;
inline constexpr DWORD BS_LEFTTEXT = 0x0020;
inline constexpr DWORD BS_RIGHTBUTTON = BS_LEFTTEXT;
inline constexpr DWORD BS_TEXT = 0x0000;
inline constexpr DWORD BS_ICON = 0x0040;
inline constexpr DWORD BS_BITMAP = 0x0080;
inline constexpr DWORD BS_LEFT = 0x0100;
inline constexpr DWORD BS_RIGHT = 0x0200;
inline constexpr DWORD BS_CENTER = 0x0300;
inline constexpr DWORD BS_TOP = 0x0400;
inline constexpr DWORD BS_BOTTOM = 0x0800;
inline constexpr DWORD BS_VCENTER = 0x0C00;
inline constexpr DWORD BS_PUSHLIKE = 0x1000;
inline constexpr DWORD BS_MULTILINE = 0x2000;
inline constexpr DWORD BS_NOTIFY = 0x4000;
inline constexpr DWORD BS_FLAT = 0x8000;

inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT BM_GETSTATE = 0x00F2;
inline constexpr UINT BM_SETSTATE = 0x00F3;
inline constexpr UINT BM_SETSTYLE = 0x00F4;
inline constexpr UINT BM_CLICK = 0x00F5;
inline constexpr UINT BM_GETIMAGE = 0x00F6;
inline constexpr UINT BM_SETIMAGE = 0x00F7;
inline constexpr UINT BM_SETDONTCLICK = 0x00F8;

inline constexpr LRESULT BST_UNCHECKED = 0x0000;
inline constexpr LRESULT BST_CHECKED = 0x0001;
inline constexpr LRESULT BST_INDETERMINATE = 0x0002;
inline constexpr LRESULT BST_PUSHED = 0x0004;
inline constexpr LRESULT BST_FOCUS = 0x0008;
inline constexpr LRESULT BST_HOT = 0x0200;

inline constexpr WORD BN_CLICKED = 0;
inline constexpr WORD BN_PAINT = 1;
inline constexpr WORD BN_HILITE = 2;
inline constexpr WORD BN_PUSHED = BN_HILITE;
inline constexpr WORD BN_UNHILITE = 3;
inline constexpr WORD BN_UNPUSHED = BN_UNHILITE;
inline constexpr WORD BN_DISABLE = 4;
inline constexpr WORD BN_DOUBLECLICKED = 5;
inline constexpr WORD BN_DBLCLK = BN_DOUBLECLICKED;
inline constexpr WORD BN_SETFOCUS = 6;
inline constexpr WORD BN_KILLFOCUS = 7;

// ---- STATIC ----
inline constexpr DWORD SS_LEFT = 0x00000000;
inline constexpr DWORD SS_CENTER = 0x00000001;
inline constexpr DWORD SS_RIGHT = 0x00000002;
inline constexpr DWORD SS_ICON = 0x00000003;
inline constexpr DWORD SS_BLACKRECT = 0x00000004;
inline constexpr DWORD SS_GRAYRECT = 0x00000005;
inline constexpr DWORD SS_WHITERECT = 0x00000006;
inline constexpr DWORD SS_BLACKFRAME = 0x00000007;
inline constexpr DWORD SS_GRAYFRAME = 0x00000008;
inline constexpr DWORD SS_WHITEFRAME = 0x00000009;
inline constexpr DWORD SS_USERITEM = 0x0000000A;
inline constexpr DWORD SS_SIMPLE = 0x0000000B;
inline constexpr DWORD SS_LEFTNOWORDWRAP = 0x0000000C;
inline constexpr DWORD SS_OWNERDRAW = 0x0000000D;
inline constexpr DWORD SS_BITMAP = 0x0000000E;
inline constexpr DWORD SS_ENHMETAFILE = 0x0000000F;
inline constexpr DWORD SS_ETCHEDHORZ = 0x00000010;
inline constexpr DWORD SS_ETCHEDVERT = 0x00000011;
inline constexpr DWORD SS_ETCHEDFRAME = 0x00000012;
inline constexpr DWORD SS_TYPEMASK = 0x0000001F;
inline constexpr DWORD SS_REALSIZECONTROL = 0x00000040;
inline constexpr DWORD SS_NOPREFIX = 0x00000080;
inline constexpr DWORD SS_NOTIFY = 0x00000100;
inline constexpr DWORD SS_CENTERIMAGE = 0x00000200;
inline constexpr DWORD SS_RIGHTJUST = 0x00000400;
inline constexpr DWORD SS_REALSIZEIMAGE = 0x00000800;
inline constexpr DWORD SS_SUNKEN = 0x00001000;
inline constexpr DWORD SS_EDITCONTROL = 0x00002000;
inline constexpr DWORD SS_ENDELLIPSIS = 0x00004000;
inline constexpr DWORD SS_PATHELLIPSIS = 0x00008000;
inline constexpr DWORD SS_WORDELLIPSIS = 0x0000C000;
inline constexpr DWORD SS_ELLIPSISMASK = 0x0000C000;

inline constexpr UINT STM_SETICON = 0x0170;
inline constexpr UINT STM_GETICON = 0x0171;
inline constexpr UINT STM_SETIMAGE = 0x0172;
inline constexpr UINT STM_GETIMAGE = 0x0173;

inline constexpr WORD STN_CLICKED = 0;
inline constexpr WORD STN_DBLCLK = 1;
inline constexpr WORD STN_ENABLE = 2;
inline constexpr WORD STN_DISABLE = 3;

// ---- SCROLLBAR ----
// The control's messages (SBM_*) and SB_ codes are in winuser.h with the window scroll bars.
inline constexpr DWORD SBS_HORZ = 0x0000;
inline constexpr DWORD SBS_VERT = 0x0001;
inline constexpr DWORD SBS_TOPALIGN = 0x0002;
inline constexpr DWORD SBS_LEFTALIGN = 0x0002;
inline constexpr DWORD SBS_BOTTOMALIGN = 0x0004;
inline constexpr DWORD SBS_RIGHTALIGN = 0x0004;
inline constexpr DWORD SBS_SIZEBOXTOPLEFTALIGN = 0x0002;
inline constexpr DWORD SBS_SIZEBOXBOTTOMRIGHTALIGN = 0x0004;
inline constexpr DWORD SBS_SIZEBOX = 0x0008;
inline constexpr DWORD SBS_SIZEGRIP = 0x0010;
inline constexpr UINT SBM_SETRANGEREDRAW = 0x00E6;
inline constexpr UINT SBM_GETSCROLLBARINFO = 0x00EB;
