// The window-manager calls of the Win32 API: classes and windows, messages and queues, painting, focus
// and input, timers, hooks, scroll bars, system metrics, libraries and resources. Every call answers as
// Win32 does (FALSE, 0 or NULL on failure, with the last error set where Win32 sets it); nothing here
// throws.
//
// Contents: handles and callbacks - structures - window messages - message parameters - window styles -
// ShowWindow, SetWindowPos, GetWindow - messages and queues - painting - scroll bars - hooks - mouse
// tracking - virtual keys - cursors, icons, images and resources - system metrics and parameters -
// the calls, grouped by the file that implements them.
#pragma once

#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/wintypes.h"

// ---- Handles and callbacks ----
struct HWND__ {};
struct HINSTANCE__ {};
struct HICON__ {};
struct HMENU__ {};
struct HHOOK__ {};
struct HRSRC__ {};
using HWND = HWND__*;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using HICON = HICON__*;
using HCURSOR = HICON;
using HMENU = HMENU__*;
using HHOOK = HHOOK__*;
using HRSRC = HRSRC__*;
using HGLOBAL = void*;
using ATOM = WORD;
using LPMSG = struct MSG*;

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using HOOKPROC = LRESULT (*)(int, WPARAM, LPARAM);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);
using FARPROC = void (*)();

constexpr WORD LOWORD(std::uintptr_t v) {
    return static_cast<WORD>(v & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t v) {
    return static_cast<WORD>((v >> 16) & 0xFFFF);
}
constexpr BYTE LOBYTE(std::uintptr_t v) {
    return static_cast<BYTE>(v & 0xFF);
}
constexpr LONG MAKELONG(WORD low, WORD high) {
    return static_cast<LONG>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
    return static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(low, high)));
}
constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
    return static_cast<LPARAM>(MAKELONG(low, high));
}
constexpr LRESULT MAKELRESULT(WORD low, WORD high) {
    return static_cast<LRESULT>(MAKELONG(low, high));
}
// Signed coordinates packed into an LPARAM.
constexpr int GET_X_LPARAM(LPARAM lp) {
    return static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lp)));
}
constexpr int GET_Y_LPARAM(LPARAM lp) {
    return static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lp)));
}
constexpr short GET_WHEEL_DELTA_WPARAM(WPARAM wp) {
    return static_cast<short>(HIWORD(wp));
}
constexpr WORD GET_KEYSTATE_WPARAM(WPARAM wp) {
    return LOWORD(wp);
}

// Resource names: a small integer stands for a numbered resource.
inline LPCWSTR MAKEINTRESOURCEW(std::uintptr_t id) {
    return reinterpret_cast<LPCWSTR>(id & 0xFFFF);
}
inline LPCWSTR MAKEINTRESOURCE(std::uintptr_t id) {
    return MAKEINTRESOURCEW(id);
}
inline bool IS_INTRESOURCE(LPCWSTR name) {
    return (reinterpret_cast<std::uintptr_t>(name) >> 16) == 0;
}
inline LPCWSTR MAKEINTATOM(ATOM atom) {
    return MAKEINTRESOURCEW(atom);
}

// ---- Structures ----
struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

struct WNDCLASSW {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
};
using WNDCLASS = WNDCLASSW;

struct WNDCLASSEXW {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
    HICON hIconSm;
};
using WNDCLASSEX = WNDCLASSEXW;

struct CREATESTRUCTW {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCWSTR lpszName;
    LPCWSTR lpszClass;
    DWORD dwExStyle;
};
using CREATESTRUCT = CREATESTRUCTW;

struct WINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
};

struct NCCALCSIZE_PARAMS {
    RECT rgrc[3];
    WINDOWPOS* lppos;
};

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

struct STYLESTRUCT {
    DWORD styleOld;
    DWORD styleNew;
};

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

struct SCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
using LPSCROLLINFO = SCROLLINFO*;
using LPCSCROLLINFO = const SCROLLINFO*;

struct TRACKMOUSEEVENT {
    DWORD cbSize;
    DWORD dwFlags;
    HWND hwndTrack;
    DWORD dwHoverTime;
};

struct CWPSTRUCT {
    LPARAM lParam;
    WPARAM wParam;
    UINT message;
    HWND hwnd;
};

struct CWPRETSTRUCT {
    LRESULT lResult;
    LPARAM lParam;
    WPARAM wParam;
    UINT message;
    HWND hwnd;
};

struct MOUSEHOOKSTRUCT {
    POINT pt;
    HWND hwnd;
    UINT wHitTestCode;
    ULONG_PTR dwExtraInfo;
};

struct NONCLIENTMETRICSW {
    UINT cbSize;
    int iBorderWidth;
    int iScrollWidth;
    int iScrollHeight;
    int iCaptionWidth;
    int iCaptionHeight;
    LOGFONTW lfCaptionFont;
    int iSmCaptionWidth;
    int iSmCaptionHeight;
    LOGFONTW lfSmCaptionFont;
    int iMenuWidth;
    int iMenuHeight;
    LOGFONTW lfMenuFont;
    LOGFONTW lfStatusFont;
    LOGFONTW lfMessageFont;
    int iPaddedBorderWidth;
};
using NONCLIENTMETRICS = NONCLIENTMETRICSW;

struct HIGHCONTRASTW {
    UINT cbSize;
    DWORD dwFlags;
    LPWSTR lpszDefaultScheme;
};
using HIGHCONTRAST = HIGHCONTRASTW;
inline constexpr DWORD HCF_HIGHCONTRASTON = 0x00000001;

struct OSVERSIONINFOW {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    WCHAR szCSDVersion[128];
};
using OSVERSIONINFO = OSVERSIONINFOW;
struct OSVERSIONINFOEXW {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    WCHAR szCSDVersion[128];
    WORD wServicePackMajor;
    WORD wServicePackMinor;
    WORD wSuiteMask;
    BYTE wProductType;
    BYTE wReserved;
};
using OSVERSIONINFOEX = OSVERSIONINFOEXW;
inline constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct VS_FIXEDFILEINFO {
    DWORD dwSignature;
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;
    DWORD dwFileVersionLS;
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};

// The version record of comctl32's DllGetVersion.
struct DLLVERSIONINFO {
    DWORD cbSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformID;
};

struct ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
};

// ---- Window messages ----
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_SETFOCUS = 0x0007;
inline constexpr UINT WM_KILLFOCUS = 0x0008;
inline constexpr UINT WM_ENABLE = 0x000A;
inline constexpr UINT WM_SETREDRAW = 0x000B;
inline constexpr UINT WM_SETTEXT = 0x000C;
inline constexpr UINT WM_GETTEXT = 0x000D;
inline constexpr UINT WM_GETTEXTLENGTH = 0x000E;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ERASEBKGND = 0x0014;
inline constexpr UINT WM_SYSCOLORCHANGE = 0x0015;
inline constexpr UINT WM_SHOWWINDOW = 0x0018;
inline constexpr UINT WM_SETTINGCHANGE = 0x001A;
inline constexpr UINT WM_WININICHANGE = WM_SETTINGCHANGE;
inline constexpr UINT WM_ACTIVATEAPP = 0x001C;
inline constexpr UINT WM_FONTCHANGE = 0x001D;
inline constexpr UINT WM_CANCELMODE = 0x001F;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_MOUSEACTIVATE = 0x0021;
inline constexpr UINT WM_CHILDACTIVATE = 0x0022;
inline constexpr UINT WM_GETMINMAXINFO = 0x0024;
// wParam: the control's window when LOWORD(lParam) is non-zero, else 0 for the next control and
// non-zero for the previous one.
inline constexpr UINT WM_NEXTDLGCTL = 0x0028;
inline constexpr UINT WM_DRAWITEM = 0x002B;
inline constexpr UINT WM_MEASUREITEM = 0x002C;
inline constexpr UINT WM_DELETEITEM = 0x002D;
inline constexpr UINT WM_SETFONT = 0x0030;
inline constexpr UINT WM_GETFONT = 0x0031;
inline constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
inline constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
inline constexpr UINT WM_NOTIFY = 0x004E;
inline constexpr UINT WM_HELP = 0x0053;
inline constexpr UINT WM_CONTEXTMENU = 0x007B;
inline constexpr UINT WM_STYLECHANGING = 0x007C;
inline constexpr UINT WM_STYLECHANGED = 0x007D;
inline constexpr UINT WM_GETICON = 0x007F;
inline constexpr UINT WM_SETICON = 0x0080;
inline constexpr UINT WM_NCCREATE = 0x0081;
inline constexpr UINT WM_NCDESTROY = 0x0082;
inline constexpr UINT WM_NCCALCSIZE = 0x0083;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_NCPAINT = 0x0085;
inline constexpr UINT WM_NCACTIVATE = 0x0086;
inline constexpr UINT WM_GETDLGCODE = 0x0087;
inline constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
inline constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
inline constexpr UINT WM_NCLBUTTONUP = 0x00A2;
inline constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
inline constexpr UINT WM_NCRBUTTONDOWN = 0x00A4;
inline constexpr UINT WM_NCRBUTTONUP = 0x00A5;
inline constexpr UINT WM_NCRBUTTONDBLCLK = 0x00A6;
inline constexpr UINT WM_NCMBUTTONDOWN = 0x00A7;
inline constexpr UINT WM_NCMBUTTONUP = 0x00A8;
inline constexpr UINT WM_NCMBUTTONDBLCLK = 0x00A9;
inline constexpr UINT WM_KEYFIRST = 0x0100;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_DEADCHAR = 0x0103;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_SYSCHAR = 0x0106;
inline constexpr UINT WM_SYSDEADCHAR = 0x0107;
inline constexpr UINT WM_UNICHAR = 0x0109;
inline constexpr UINT WM_KEYLAST = 0x0109;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_TIMER = 0x0113;
// The system's own timers (scroll-bar repeat, caret blink): handled by DefWindowProc.
inline constexpr UINT WM_SYSTIMER = 0x0118;
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_VSCROLL = 0x0115;
inline constexpr UINT WM_INITMENU = 0x0116;
inline constexpr UINT WM_INITMENUPOPUP = 0x0117;
inline constexpr UINT WM_MENUSELECT = 0x011F;
inline constexpr UINT WM_MENUCHAR = 0x0120;
inline constexpr UINT WM_ENTERIDLE = 0x0121;
inline constexpr UINT WM_CHANGEUISTATE = 0x0127;
inline constexpr UINT WM_UPDATEUISTATE = 0x0128;
inline constexpr UINT WM_QUERYUISTATE = 0x0129;
inline constexpr UINT WM_CTLCOLORMSGBOX = 0x0132;
inline constexpr UINT WM_CTLCOLOREDIT = 0x0133;
inline constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
inline constexpr UINT WM_CTLCOLORBTN = 0x0135;
inline constexpr UINT WM_CTLCOLORDLG = 0x0136;
inline constexpr UINT WM_CTLCOLORSCROLLBAR = 0x0137;
inline constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
inline constexpr UINT WM_MOUSEFIRST = 0x0200;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
inline constexpr UINT WM_MBUTTONDOWN = 0x0207;
inline constexpr UINT WM_MBUTTONUP = 0x0208;
inline constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
inline constexpr UINT WM_MOUSEWHEEL = 0x020A;
inline constexpr UINT WM_MOUSEHWHEEL = 0x020E;
inline constexpr UINT WM_MOUSELAST = 0x020E;
inline constexpr UINT WM_PARENTNOTIFY = 0x0210;
inline constexpr UINT WM_ENTERMENULOOP = 0x0211;
inline constexpr UINT WM_EXITMENULOOP = 0x0212;
inline constexpr UINT WM_SIZING = 0x0214;
inline constexpr UINT WM_CAPTURECHANGED = 0x0215;
inline constexpr UINT WM_MOVING = 0x0216;
inline constexpr UINT WM_ENTERSIZEMOVE = 0x0231;
inline constexpr UINT WM_EXITSIZEMOVE = 0x0232;
inline constexpr UINT WM_IME_SETCONTEXT = 0x0281;
inline constexpr UINT WM_IME_NOTIFY = 0x0282;
inline constexpr UINT WM_NCMOUSEHOVER = 0x02A0;
inline constexpr UINT WM_MOUSEHOVER = 0x02A1;
inline constexpr UINT WM_NCMOUSELEAVE = 0x02A2;
inline constexpr UINT WM_MOUSELEAVE = 0x02A3;
inline constexpr UINT WM_CUT = 0x0300;
inline constexpr UINT WM_COPY = 0x0301;
inline constexpr UINT WM_PASTE = 0x0302;
inline constexpr UINT WM_CLEAR = 0x0303;
inline constexpr UINT WM_UNDO = 0x0304;
inline constexpr UINT WM_PRINT = 0x0317;
inline constexpr UINT WM_PRINTCLIENT = 0x0318;
inline constexpr UINT WM_THEMECHANGED = 0x031A;
inline constexpr UINT WM_USER = 0x0400;
inline constexpr UINT WM_APP = 0x8000;

// ---- Message parameters ----
inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;
inline constexpr WORD WA_INACTIVE = 0;
inline constexpr WORD WA_ACTIVE = 1;
inline constexpr WORD WA_CLICKACTIVE = 2;
inline constexpr LRESULT MA_ACTIVATE = 1;
inline constexpr LRESULT MA_ACTIVATEANDEAT = 2;
inline constexpr LRESULT MA_NOACTIVATE = 3;
inline constexpr LRESULT MA_NOACTIVATEANDEAT = 4;

inline constexpr LRESULT HTERROR = -2;
inline constexpr LRESULT HTTRANSPARENT = -1;
inline constexpr LRESULT HTNOWHERE = 0;
inline constexpr LRESULT HTCLIENT = 1;
inline constexpr LRESULT HTCAPTION = 2;
inline constexpr LRESULT HTSYSMENU = 3;
inline constexpr LRESULT HTGROWBOX = 4;
inline constexpr LRESULT HTSIZE = HTGROWBOX;
inline constexpr LRESULT HTMENU = 5;
inline constexpr LRESULT HTHSCROLL = 6;
inline constexpr LRESULT HTVSCROLL = 7;
inline constexpr LRESULT HTMINBUTTON = 8;
inline constexpr LRESULT HTMAXBUTTON = 9;
inline constexpr LRESULT HTLEFT = 10;
inline constexpr LRESULT HTRIGHT = 11;
inline constexpr LRESULT HTTOP = 12;
inline constexpr LRESULT HTTOPLEFT = 13;
inline constexpr LRESULT HTTOPRIGHT = 14;
inline constexpr LRESULT HTBOTTOM = 15;
inline constexpr LRESULT HTBOTTOMLEFT = 16;
inline constexpr LRESULT HTBOTTOMRIGHT = 17;
inline constexpr LRESULT HTBORDER = 18;
inline constexpr LRESULT HTCLOSE = 20;
inline constexpr LRESULT HTHELP = 21;

inline constexpr WPARAM WVR_ALIGNTOP = 0x0010;
inline constexpr WPARAM WVR_REDRAW = 0x0300;
inline constexpr WPARAM WVR_VALIDRECTS = 0x0400;

inline constexpr WPARAM WMSZ_LEFT = 1;
inline constexpr WPARAM WMSZ_RIGHT = 2;
inline constexpr WPARAM WMSZ_TOP = 3;
inline constexpr WPARAM WMSZ_TOPLEFT = 4;
inline constexpr WPARAM WMSZ_TOPRIGHT = 5;
inline constexpr WPARAM WMSZ_BOTTOM = 6;
inline constexpr WPARAM WMSZ_BOTTOMLEFT = 7;
inline constexpr WPARAM WMSZ_BOTTOMRIGHT = 8;

inline constexpr WPARAM SC_SIZE = 0xF000;
inline constexpr WPARAM SC_MOVE = 0xF010;
inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_NEXTWINDOW = 0xF040;
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM SC_VSCROLL = 0xF070;
inline constexpr WPARAM SC_HSCROLL = 0xF080;
inline constexpr WPARAM SC_KEYMENU = 0xF100;
inline constexpr WPARAM SC_RESTORE = 0xF120;

// Mouse-message key flags.
inline constexpr WPARAM MK_LBUTTON = 0x0001;
inline constexpr WPARAM MK_RBUTTON = 0x0002;
inline constexpr WPARAM MK_SHIFT = 0x0004;
inline constexpr WPARAM MK_CONTROL = 0x0008;
inline constexpr WPARAM MK_MBUTTON = 0x0010;
inline constexpr WPARAM MK_XBUTTON1 = 0x0020;
inline constexpr WPARAM MK_XBUTTON2 = 0x0040;
inline constexpr int WHEEL_DELTA = 120;
inline constexpr UINT WHEEL_PAGESCROLL = 0xFFFFFFFF;

// WM_GETDLGCODE answers.
inline constexpr LRESULT DLGC_WANTARROWS = 0x0001;
inline constexpr LRESULT DLGC_WANTTAB = 0x0002;
inline constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
inline constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;
inline constexpr LRESULT DLGC_HASSETSEL = 0x0008;
inline constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
inline constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
inline constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
inline constexpr LRESULT DLGC_WANTCHARS = 0x0080;
inline constexpr LRESULT DLGC_STATIC = 0x0100;
inline constexpr LRESULT DLGC_BUTTON = 0x2000;

// ---- Window styles ----
inline constexpr DWORD WS_OVERLAPPED = 0x00000000;
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_MINIMIZE = 0x20000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
inline constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
inline constexpr DWORD WS_MAXIMIZE = 0x01000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_DLGFRAME = 0x00400000;
inline constexpr DWORD WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_HSCROLL = 0x00100000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_SIZEBOX = WS_THICKFRAME;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
inline constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
inline constexpr DWORD WS_POPUPWINDOW = WS_POPUP | WS_BORDER | WS_SYSMENU;
inline constexpr DWORD WS_CHILDWINDOW = WS_CHILD;

inline constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
inline constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008;
inline constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;
inline constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
inline constexpr DWORD WS_EX_MDICHILD = 0x00000040;
inline constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
inline constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
inline constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr DWORD WS_EX_CONTEXTHELP = 0x00000400;
inline constexpr DWORD WS_EX_RIGHT = 0x00001000;
inline constexpr DWORD WS_EX_RTLREADING = 0x00002000;
inline constexpr DWORD WS_EX_LEFTSCROLLBAR = 0x00004000;
inline constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
inline constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
inline constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
inline constexpr DWORD WS_EX_LAYERED = 0x00080000;
inline constexpr DWORD WS_EX_NOINHERITLAYOUT = 0x00100000;
inline constexpr DWORD WS_EX_LAYOUTRTL = 0x00400000;
inline constexpr DWORD WS_EX_COMPOSITED = 0x02000000;
inline constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;
inline constexpr DWORD WS_EX_OVERLAPPEDWINDOW = WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE;

inline constexpr UINT CS_VREDRAW = 0x0001;
inline constexpr UINT CS_HREDRAW = 0x0002;
inline constexpr UINT CS_DBLCLKS = 0x0008;
inline constexpr UINT CS_OWNDC = 0x0020;
inline constexpr UINT CS_CLASSDC = 0x0040;
inline constexpr UINT CS_PARENTDC = 0x0080;
inline constexpr UINT CS_NOCLOSE = 0x0200;
inline constexpr UINT CS_SAVEBITS = 0x0800;
inline constexpr UINT CS_GLOBALCLASS = 0x4000;
inline constexpr UINT CS_DROPSHADOW = 0x00020000;

inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);
inline HWND const HWND_DESKTOP = nullptr;
inline HWND const HWND_MESSAGE = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-3));
inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(static_cast<std::intptr_t>(1));
inline HWND const HWND_TOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-1));
inline HWND const HWND_NOTOPMOST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(-2));
inline HWND const HWND_BROADCAST = reinterpret_cast<HWND>(static_cast<std::intptr_t>(0xFFFF));

// ---- ShowWindow, SetWindowPos, GetWindow ----
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_NORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_MAXIMIZE = 3;
inline constexpr int SW_SHOWNOACTIVATE = 4;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_SHOWMINNOACTIVE = 7;
inline constexpr int SW_SHOWNA = 8;
inline constexpr int SW_RESTORE = 9;
inline constexpr int SW_SHOWDEFAULT = 10;

inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOREDRAW = 0x0008;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_FRAMECHANGED = 0x0020;
inline constexpr UINT SWP_DRAWFRAME = SWP_FRAMECHANGED;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;
inline constexpr UINT SWP_NOCOPYBITS = 0x0100;
inline constexpr UINT SWP_NOOWNERZORDER = 0x0200;
inline constexpr UINT SWP_NOREPOSITION = SWP_NOOWNERZORDER;
inline constexpr UINT SWP_NOSENDCHANGING = 0x0400;
inline constexpr UINT SWP_NOCLIENTSIZE = 0x0800; // set by the system in WM_WINDOWPOSCHANGED
inline constexpr UINT SWP_NOCLIENTMOVE = 0x1000; // set by the system in WM_WINDOWPOSCHANGED
inline constexpr UINT SWP_DEFERERASE = 0x2000;
inline constexpr UINT SWP_ASYNCWINDOWPOS = 0x4000;

inline constexpr UINT GW_HWNDFIRST = 0;
inline constexpr UINT GW_HWNDLAST = 1;
inline constexpr UINT GW_HWNDNEXT = 2;
inline constexpr UINT GW_HWNDPREV = 3;
inline constexpr UINT GW_OWNER = 4;
inline constexpr UINT GW_CHILD = 5;
inline constexpr UINT GW_ENABLEDPOPUP = 6;
inline constexpr UINT GA_PARENT = 1;
inline constexpr UINT GA_ROOT = 2;
inline constexpr UINT GA_ROOTOWNER = 3;

inline constexpr UINT CWP_ALL = 0x0000;
inline constexpr UINT CWP_SKIPINVISIBLE = 0x0001;
inline constexpr UINT CWP_SKIPDISABLED = 0x0002;
inline constexpr UINT CWP_SKIPTRANSPARENT = 0x0004;

inline constexpr int GWL_WNDPROC = -4;
inline constexpr int GWLP_WNDPROC = -4;
inline constexpr int GWLP_HINSTANCE = -6;
inline constexpr int GWL_HINSTANCE = -6;
inline constexpr int GWLP_HWNDPARENT = -8;
inline constexpr int GWL_HWNDPARENT = -8;
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;
inline constexpr int GWL_USERDATA = -21;
inline constexpr int GWLP_USERDATA = -21;
inline constexpr int GWL_ID = -12;
inline constexpr int GWLP_ID = -12;
inline constexpr int GCL_STYLE = -26;
inline constexpr int GCLP_HCURSOR = -12;
inline constexpr int GCLP_HBRBACKGROUND = -10;
inline constexpr int GCLP_WNDPROC = -24;

// Layered windows.
inline constexpr DWORD LWA_COLORKEY = 0x00000001;
inline constexpr DWORD LWA_ALPHA = 0x00000002;
inline constexpr DWORD ULW_COLORKEY = 0x00000001;
inline constexpr DWORD ULW_ALPHA = 0x00000002;
inline constexpr DWORD ULW_OPAQUE = 0x00000004;

// ---- Messages and queues ----
inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;
inline constexpr UINT PM_NOYIELD = 0x0002;
inline constexpr UINT QS_KEY = 0x0001;
inline constexpr UINT QS_MOUSEMOVE = 0x0002;
inline constexpr UINT QS_MOUSEBUTTON = 0x0004;
inline constexpr UINT QS_POSTMESSAGE = 0x0008;
inline constexpr UINT QS_TIMER = 0x0010;
inline constexpr UINT QS_PAINT = 0x0020;
inline constexpr UINT QS_SENDMESSAGE = 0x0040;
inline constexpr UINT QS_MOUSE = QS_MOUSEMOVE | QS_MOUSEBUTTON;
inline constexpr UINT QS_INPUT = QS_MOUSE | QS_KEY;
inline constexpr UINT QS_ALLEVENTS = QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT;
inline constexpr UINT QS_ALLINPUT = QS_ALLEVENTS | QS_SENDMESSAGE;

inline constexpr DWORD ISMEX_NOSEND = 0x00000000;
inline constexpr DWORD ISMEX_SEND = 0x00000001;
inline constexpr DWORD ISMEX_REPLIED = 0x00000008;

inline constexpr UINT SMTO_NORMAL = 0x0000;
inline constexpr UINT SMTO_BLOCK = 0x0001;
inline constexpr UINT SMTO_ABORTIFHUNG = 0x0002;

// ---- Painting ----
inline constexpr UINT RDW_INVALIDATE = 0x0001;
inline constexpr UINT RDW_INTERNALPAINT = 0x0002;
inline constexpr UINT RDW_ERASE = 0x0004;
inline constexpr UINT RDW_VALIDATE = 0x0008;
inline constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
inline constexpr UINT RDW_NOERASE = 0x0020;
inline constexpr UINT RDW_NOCHILDREN = 0x0040;
inline constexpr UINT RDW_ALLCHILDREN = 0x0080;
inline constexpr UINT RDW_UPDATENOW = 0x0100;
inline constexpr UINT RDW_ERASENOW = 0x0200;
inline constexpr UINT RDW_FRAME = 0x0400;
inline constexpr UINT RDW_NOFRAME = 0x0800;

inline constexpr DWORD DCX_WINDOW = 0x00000001;
inline constexpr DWORD DCX_CACHE = 0x00000002;
inline constexpr DWORD DCX_NORESETATTRS = 0x00000004;
inline constexpr DWORD DCX_CLIPCHILDREN = 0x00000008;
inline constexpr DWORD DCX_CLIPSIBLINGS = 0x00000010;
inline constexpr DWORD DCX_PARENTCLIP = 0x00000020;
inline constexpr DWORD DCX_EXCLUDERGN = 0x00000040;
inline constexpr DWORD DCX_INTERSECTRGN = 0x00000080;
inline constexpr DWORD DCX_LOCKWINDOWUPDATE = 0x00000400;
inline constexpr DWORD DCX_VALIDATE = 0x00200000;
// Clip as the window's styles say (what GetDC and GetWindowDC ask for).
inline constexpr DWORD DCX_USESTYLE = 0x00010000;

inline constexpr UINT SW_SCROLLCHILDREN = 0x0001;
inline constexpr UINT SW_INVALIDATE = 0x0002;
inline constexpr UINT SW_ERASE = 0x0004;

// ---- Scroll bars ----
inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;
inline constexpr int SB_CTL = 2;
inline constexpr int SB_BOTH = 3;
inline constexpr WORD SB_LINEUP = 0;
inline constexpr WORD SB_LINELEFT = 0;
inline constexpr WORD SB_LINEDOWN = 1;
inline constexpr WORD SB_LINERIGHT = 1;
inline constexpr WORD SB_PAGEUP = 2;
inline constexpr WORD SB_PAGELEFT = 2;
inline constexpr WORD SB_PAGEDOWN = 3;
inline constexpr WORD SB_PAGERIGHT = 3;
inline constexpr WORD SB_THUMBPOSITION = 4;
inline constexpr WORD SB_THUMBTRACK = 5;
inline constexpr WORD SB_TOP = 6;
inline constexpr WORD SB_LEFT = 6;
inline constexpr WORD SB_BOTTOM = 7;
inline constexpr WORD SB_RIGHT = 7;
inline constexpr WORD SB_ENDSCROLL = 8;
inline constexpr UINT SIF_RANGE = 0x0001;
inline constexpr UINT SIF_PAGE = 0x0002;
inline constexpr UINT SIF_POS = 0x0004;
inline constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
inline constexpr UINT SIF_TRACKPOS = 0x0010;
inline constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
// Scroll-bar control messages (SB_CTL goes through them).
inline constexpr UINT SBM_SETPOS = 0x00E0;
inline constexpr UINT SBM_GETPOS = 0x00E1;
inline constexpr UINT SBM_SETRANGE = 0x00E2;
inline constexpr UINT SBM_GETRANGE = 0x00E3;
inline constexpr UINT SBM_ENABLE_ARROWS = 0x00E4;
inline constexpr UINT SBM_SETSCROLLINFO = 0x00E9;
inline constexpr UINT SBM_GETSCROLLINFO = 0x00EA;
inline constexpr UINT ESB_ENABLE_BOTH = 0x0000;
inline constexpr UINT ESB_DISABLE_BOTH = 0x0003;
inline constexpr UINT ESB_DISABLE_LEFT = 0x0001;
inline constexpr UINT ESB_DISABLE_RIGHT = 0x0002;
inline constexpr UINT ESB_DISABLE_UP = 0x0001;
inline constexpr UINT ESB_DISABLE_DOWN = 0x0002;
inline constexpr UINT ESB_DISABLE_LTUP = ESB_DISABLE_LEFT;
inline constexpr UINT ESB_DISABLE_RTDN = ESB_DISABLE_RIGHT;

// ---- Hooks ----
inline constexpr int WH_GETMESSAGE = 3;
inline constexpr int WH_CALLWNDPROC = 4;
inline constexpr int WH_KEYBOARD = 2;
inline constexpr int WH_MOUSE = 7;
inline constexpr int WH_CALLWNDPROCRET = 12;
inline constexpr int HC_ACTION = 0;
inline constexpr int HC_NOREMOVE = 3;

// ---- Mouse tracking ----
inline constexpr DWORD TME_HOVER = 0x00000001;
inline constexpr DWORD TME_LEAVE = 0x00000002;
inline constexpr DWORD TME_NONCLIENT = 0x00000010;
inline constexpr DWORD TME_QUERY = 0x40000000;
inline constexpr DWORD TME_CANCEL = 0x80000000;
inline constexpr DWORD HOVER_DEFAULT = 0xFFFFFFFF;

// ---- Virtual keys ----
inline constexpr int VK_LBUTTON = 0x01;
inline constexpr int VK_RBUTTON = 0x02;
inline constexpr int VK_CANCEL = 0x03;
inline constexpr int VK_MBUTTON = 0x04;
inline constexpr int VK_XBUTTON1 = 0x05;
inline constexpr int VK_XBUTTON2 = 0x06;
inline constexpr int VK_BACK = 0x08;
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_CLEAR = 0x0C;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12;
inline constexpr int VK_PAUSE = 0x13;
inline constexpr int VK_CAPITAL = 0x14;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_PRIOR = 0x21;
inline constexpr int VK_NEXT = 0x22;
inline constexpr int VK_END = 0x23;
inline constexpr int VK_HOME = 0x24;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_SELECT = 0x29;
inline constexpr int VK_PRINT = 0x2A;
inline constexpr int VK_SNAPSHOT = 0x2C;
inline constexpr int VK_INSERT = 0x2D;
inline constexpr int VK_DELETE = 0x2E;
inline constexpr int VK_HELP = 0x2F;
// '0'..'9' and 'A'..'Z' are their ASCII codes.
inline constexpr int VK_LWIN = 0x5B;
inline constexpr int VK_RWIN = 0x5C;
inline constexpr int VK_APPS = 0x5D;
inline constexpr int VK_NUMPAD0 = 0x60;
inline constexpr int VK_NUMPAD1 = 0x61;
inline constexpr int VK_NUMPAD2 = 0x62;
inline constexpr int VK_NUMPAD3 = 0x63;
inline constexpr int VK_NUMPAD4 = 0x64;
inline constexpr int VK_NUMPAD5 = 0x65;
inline constexpr int VK_NUMPAD6 = 0x66;
inline constexpr int VK_NUMPAD7 = 0x67;
inline constexpr int VK_NUMPAD8 = 0x68;
inline constexpr int VK_NUMPAD9 = 0x69;
inline constexpr int VK_MULTIPLY = 0x6A;
inline constexpr int VK_ADD = 0x6B;
inline constexpr int VK_SEPARATOR = 0x6C;
inline constexpr int VK_SUBTRACT = 0x6D;
inline constexpr int VK_DECIMAL = 0x6E;
inline constexpr int VK_DIVIDE = 0x6F;
inline constexpr int VK_F1 = 0x70;
inline constexpr int VK_F2 = 0x71;
inline constexpr int VK_F3 = 0x72;
inline constexpr int VK_F4 = 0x73;
inline constexpr int VK_F5 = 0x74;
inline constexpr int VK_F6 = 0x75;
inline constexpr int VK_F7 = 0x76;
inline constexpr int VK_F8 = 0x77;
inline constexpr int VK_F9 = 0x78;
inline constexpr int VK_F10 = 0x79;
inline constexpr int VK_F11 = 0x7A;
inline constexpr int VK_F12 = 0x7B;
inline constexpr int VK_F24 = 0x87;
inline constexpr int VK_NUMLOCK = 0x90;
inline constexpr int VK_SCROLL = 0x91;
inline constexpr int VK_LSHIFT = 0xA0;
inline constexpr int VK_RSHIFT = 0xA1;
inline constexpr int VK_LCONTROL = 0xA2;
inline constexpr int VK_RCONTROL = 0xA3;
inline constexpr int VK_LMENU = 0xA4;
inline constexpr int VK_RMENU = 0xA5;
inline constexpr int VK_OEM_1 = 0xBA;      // ;:
inline constexpr int VK_OEM_PLUS = 0xBB;   // =+
inline constexpr int VK_OEM_COMMA = 0xBC;  // ,<
inline constexpr int VK_OEM_MINUS = 0xBD;  // -_
inline constexpr int VK_OEM_PERIOD = 0xBE; // .>
inline constexpr int VK_OEM_2 = 0xBF;      // /?
inline constexpr int VK_OEM_3 = 0xC0;      // `~
inline constexpr int VK_OEM_4 = 0xDB;      // [{
inline constexpr int VK_OEM_5 = 0xDC;      // \|
inline constexpr int VK_OEM_6 = 0xDD;      // ]}
inline constexpr int VK_OEM_7 = 0xDE;      // '"
inline constexpr int VK_OEM_102 = 0xE2;
inline constexpr int VK_PROCESSKEY = 0xE5;
// A character typed without a key of its own: WM_KEYDOWN carries it in the high word of wParam.
inline constexpr int VK_PACKET = 0xE7;

// Bits of a key message's lParam.
inline constexpr LPARAM KF_EXTENDED_BIT = 1 << 24;
inline constexpr LPARAM KF_ALTDOWN_BIT = 1 << 29;
inline constexpr LPARAM KF_REPEAT_BIT = 1 << 30;
inline constexpr LPARAM KF_UP_BIT = static_cast<LPARAM>(0x80000000u);

inline constexpr UINT MAPVK_VK_TO_VSC = 0;
inline constexpr UINT MAPVK_VSC_TO_VK = 1;
inline constexpr UINT MAPVK_VK_TO_CHAR = 2;

// ---- Cursors, icons, images and resources ----
inline LPCWSTR const IDC_ARROW = MAKEINTRESOURCEW(32512);
inline LPCWSTR const IDC_IBEAM = MAKEINTRESOURCEW(32513);
inline LPCWSTR const IDC_WAIT = MAKEINTRESOURCEW(32514);
inline LPCWSTR const IDC_CROSS = MAKEINTRESOURCEW(32515);
inline LPCWSTR const IDC_UPARROW = MAKEINTRESOURCEW(32516);
inline LPCWSTR const IDC_SIZENWSE = MAKEINTRESOURCEW(32642);
inline LPCWSTR const IDC_SIZENESW = MAKEINTRESOURCEW(32643);
inline LPCWSTR const IDC_SIZEWE = MAKEINTRESOURCEW(32644);
inline LPCWSTR const IDC_SIZENS = MAKEINTRESOURCEW(32645);
inline LPCWSTR const IDC_SIZEALL = MAKEINTRESOURCEW(32646);
inline LPCWSTR const IDC_NO = MAKEINTRESOURCEW(32648);
inline LPCWSTR const IDC_HAND = MAKEINTRESOURCEW(32649);
inline LPCWSTR const IDC_APPSTARTING = MAKEINTRESOURCEW(32650);
inline LPCWSTR const IDC_HELP = MAKEINTRESOURCEW(32651);
inline LPCWSTR const IDI_APPLICATION = MAKEINTRESOURCEW(32512);
inline LPCWSTR const IDI_ERROR = MAKEINTRESOURCEW(32513);
inline LPCWSTR const IDI_HAND = IDI_ERROR;
inline LPCWSTR const IDI_QUESTION = MAKEINTRESOURCEW(32514);
inline LPCWSTR const IDI_WARNING = MAKEINTRESOURCEW(32515);
inline LPCWSTR const IDI_EXCLAMATION = IDI_WARNING;
inline LPCWSTR const IDI_INFORMATION = MAKEINTRESOURCEW(32516);
inline LPCWSTR const IDI_ASTERISK = IDI_INFORMATION;
inline LPCWSTR const IDI_WINLOGO = MAKEINTRESOURCEW(32517);

inline LPCWSTR const RT_CURSOR = MAKEINTRESOURCEW(1);
inline LPCWSTR const RT_BITMAP = MAKEINTRESOURCEW(2);
inline LPCWSTR const RT_ICON = MAKEINTRESOURCEW(3);
inline LPCWSTR const RT_STRING = MAKEINTRESOURCEW(6);
inline LPCWSTR const RT_RCDATA = MAKEINTRESOURCEW(10);
inline LPCWSTR const RT_GROUP_CURSOR = MAKEINTRESOURCEW(12);
inline LPCWSTR const RT_GROUP_ICON = MAKEINTRESOURCEW(14);

inline constexpr UINT IMAGE_BITMAP = 0;
inline constexpr UINT IMAGE_ICON = 1;
inline constexpr UINT IMAGE_CURSOR = 2;
inline constexpr UINT LR_DEFAULTCOLOR = 0x00000000;
inline constexpr UINT LR_LOADFROMFILE = 0x00000010;
inline constexpr UINT LR_DEFAULTSIZE = 0x00000040;
inline constexpr UINT LR_SHARED = 0x00008000;
inline constexpr UINT LR_CREATEDIBSECTION = 0x00002000;

// ---- System metrics and parameters ----
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;
inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CYHSCROLL = 3;
inline constexpr int SM_CYCAPTION = 4;
inline constexpr int SM_CXBORDER = 5;
inline constexpr int SM_CYBORDER = 6;
inline constexpr int SM_CXDLGFRAME = 7;
inline constexpr int SM_CXFIXEDFRAME = 7;
inline constexpr int SM_CYDLGFRAME = 8;
inline constexpr int SM_CYFIXEDFRAME = 8;
inline constexpr int SM_CYVTHUMB = 9;
inline constexpr int SM_CXHTHUMB = 10;
inline constexpr int SM_CXICON = 11;
inline constexpr int SM_CYICON = 12;
inline constexpr int SM_CXCURSOR = 13;
inline constexpr int SM_CYCURSOR = 14;
inline constexpr int SM_CYMENU = 15;
inline constexpr int SM_CXFULLSCREEN = 16;
inline constexpr int SM_CYFULLSCREEN = 17;
inline constexpr int SM_CYVSCROLL = 20;
inline constexpr int SM_CXHSCROLL = 21;
inline constexpr int SM_SWAPBUTTON = 23;
inline constexpr int SM_CXMIN = 28;
inline constexpr int SM_CYMIN = 29;
inline constexpr int SM_CXSIZE = 30;
inline constexpr int SM_CYSIZE = 31;
inline constexpr int SM_CXFRAME = 32;
inline constexpr int SM_CXSIZEFRAME = 32;
inline constexpr int SM_CYFRAME = 33;
inline constexpr int SM_CYSIZEFRAME = 33;
inline constexpr int SM_CXMINTRACK = 34;
inline constexpr int SM_CYMINTRACK = 35;
inline constexpr int SM_CXDOUBLECLK = 36;
inline constexpr int SM_CYDOUBLECLK = 37;
inline constexpr int SM_CXICONSPACING = 38;
inline constexpr int SM_CYICONSPACING = 39;
inline constexpr int SM_CXEDGE = 45;
inline constexpr int SM_CYEDGE = 46;
inline constexpr int SM_CXSMICON = 49;
inline constexpr int SM_CYSMICON = 50;
inline constexpr int SM_CYSMCAPTION = 51;
inline constexpr int SM_CXMENUCHECK = 71;
inline constexpr int SM_CYMENUCHECK = 72;
inline constexpr int SM_CXDRAG = 68;
inline constexpr int SM_CYDRAG = 69;
inline constexpr int SM_CMOUSEBUTTONS = 43;
inline constexpr int SM_MOUSEWHEELPRESENT = 75;
inline constexpr int SM_XVIRTUALSCREEN = 76;
inline constexpr int SM_YVIRTUALSCREEN = 77;
inline constexpr int SM_CXVIRTUALSCREEN = 78;
inline constexpr int SM_CYVIRTUALSCREEN = 79;
inline constexpr int SM_CMONITORS = 80;
inline constexpr int SM_CXFOCUSBORDER = 83;
inline constexpr int SM_CYFOCUSBORDER = 84;
inline constexpr int SM_REMOTESESSION = 0x1000;
inline constexpr int SM_CXPADDEDBORDER = 92;

inline constexpr UINT SPI_GETBEEP = 0x0001;
inline constexpr UINT SPI_GETWORKAREA = 0x0030;
inline constexpr UINT SPI_GETHIGHCONTRAST = 0x0042;
inline constexpr UINT SPI_SETHIGHCONTRAST = 0x0043;
inline constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;
inline constexpr UINT SPI_GETICONTITLELOGFONT = 0x001F;
inline constexpr UINT SPI_GETKEYBOARDCUES = 0x100A;
inline constexpr UINT SPI_GETDROPSHADOW = 0x1024;
inline constexpr UINT SPI_GETFLATMENU = 0x1022;
inline constexpr UINT SPI_GETGRADIENTCAPTIONS = 0x1008;
inline constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
inline constexpr UINT SPI_SETWHEELSCROLLLINES = 0x0069;
inline constexpr UINT SPI_GETWHEELSCROLLCHARS = 0x006C;
inline constexpr UINT SPI_GETMENUSHOWDELAY = 0x006A;
inline constexpr UINT SPI_GETKEYBOARDDELAY = 0x0016;
inline constexpr UINT SPI_GETKEYBOARDSPEED = 0x000A;
inline constexpr UINT SPI_GETCARETWIDTH = 0x2006;
inline constexpr UINT SPI_GETFONTSMOOTHING = 0x004A;
inline constexpr UINT SPIF_UPDATEINIFILE = 0x0001;
inline constexpr UINT SPIF_SENDCHANGE = 0x0002;

// MessageBeep kinds.
inline constexpr UINT MB_OK = 0x00000000;
inline constexpr UINT MB_ICONHAND = 0x00000010;
inline constexpr UINT MB_ICONERROR = MB_ICONHAND;
inline constexpr UINT MB_ICONQUESTION = 0x00000020;
inline constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
inline constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
inline constexpr UINT MB_ICONASTERISK = 0x00000040;
inline constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;

// ==== Calls ====

// ---- Classes (class.cpp) ----
// Returns the class atom, or 0 with ERROR_CLASS_ALREADY_EXISTS for a name already registered by the
// same module, ERROR_INVALID_PARAMETER for a missing name or window procedure.
ATOM RegisterClassW(const WNDCLASSW* wndClass);
inline ATOM RegisterClass(const WNDCLASSW* wndClass) {
    return RegisterClassW(wndClass);
}
ATOM RegisterClassExW(const WNDCLASSEXW* wndClass);
inline ATOM RegisterClassEx(const WNDCLASSEXW* wndClass) {
    return RegisterClassExW(wndClass);
}
// FALSE with ERROR_CLASS_DOES_NOT_EXIST, or ERROR_CLASS_HAS_WINDOWS while a window of it exists.
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
inline BOOL UnregisterClass(LPCWSTR className, HINSTANCE instance) {
    return UnregisterClassW(className, instance);
}
BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wndClass);
inline BOOL GetClassInfo(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wndClass) {
    return GetClassInfoW(instance, className, wndClass);
}
BOOL GetClassInfoExW(HINSTANCE instance, LPCWSTR className, WNDCLASSEXW* wndClass);
inline BOOL GetClassInfoEx(HINSTANCE instance, LPCWSTR className, WNDCLASSEXW* wndClass) {
    return GetClassInfoExW(instance, className, wndClass);
}
int GetClassNameW(HWND hwnd, LPWSTR name, int maxCount);
inline int GetClassName(HWND hwnd, LPWSTR name, int maxCount) {
    return GetClassNameW(hwnd, name, maxCount);
}
ULONG_PTR GetClassLongPtrW(HWND hwnd, int index);
inline ULONG_PTR GetClassLongPtr(HWND hwnd, int index) {
    return GetClassLongPtrW(hwnd, index);
}
ULONG_PTR SetClassLongPtrW(HWND hwnd, int index, LONG_PTR value);
inline ULONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value) {
    return SetClassLongPtrW(hwnd, index, value);
}

// ---- Windows (window.cpp) ----
// Sends WM_GETMINMAXINFO (top-level windows), WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, then WM_SIZE and
// WM_MOVE, and shows the window when WS_VISIBLE is given. Returns NULL (the window destroyed again)
// when WM_NCCREATE answers FALSE or WM_CREATE answers -1; ERROR_CANNOT_FIND_WND_CLASS for an unknown
// class, ERROR_INVALID_WINDOW_HANDLE for a bad parent, ERROR_TLW_WITH_WSCHILD for a child without one.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
inline HWND CreateWindowEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                           int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    return CreateWindowExW(exStyle, className, windowName, style, x, y, width, height, parent, menu, instance,
                           param);
}
inline HWND CreateWindowW(LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                          int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    return CreateWindowExW(0, className, windowName, style, x, y, width, height, parent, menu, instance,
                           param);
}
// Hides, then sends WM_DESTROY to the window and its children (parent first) and WM_NCDESTROY
// (children first); owned windows are destroyed first. Only the owning thread may destroy a window
// (ERROR_ACCESS_DENIED).
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsWindowEnabled(HWND hwnd);
BOOL IsChild(HWND parent, HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
BOOL IsWindowUnicode(HWND hwnd);
HWND GetParent(HWND hwnd);
HWND GetAncestor(HWND hwnd, UINT flags);
HWND SetParent(HWND hwnd, HWND newParent);
HWND GetWindow(HWND hwnd, UINT command);
HWND GetTopWindow(HWND hwnd);
HWND GetDesktopWindow();
BOOL EnumChildWindows(HWND parent, WNDENUMPROC callback, LPARAM lParam);
BOOL EnumWindows(WNDENUMPROC callback, LPARAM lParam);
BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC callback, LPARAM lParam);
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);
inline HWND FindWindow(LPCWSTR className, LPCWSTR windowName) {
    return FindWindowW(className, windowName);
}
DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId);
BOOL ShowWindow(HWND hwnd, int command);
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
// A batch of window moves applied together. BeginDeferWindowPos answers an empty batch with room for
// count windows (NULL, ERROR_INVALID_PARAMETER, for a negative count). DeferWindowPos adds one
// SetWindowPos call and answers the batch; when hwnd is not a window (ERROR_INVALID_WINDOW_HANDLE) or the
// batch is NULL it answers NULL and frees the batch. EndDeferWindowPos makes the calls in the order they
// were added, frees the batch and answers whether every call succeeded.
struct HDWP__ {};
using HDWP = HDWP__*;
HDWP BeginDeferWindowPos(int count);
HDWP DeferWindowPos(HDWP batch, HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL EndDeferWindowPos(HDWP batch);
BOOL BringWindowToTop(HWND hwnd);
BOOL GetWindowRect(HWND hwnd, LPRECT rect);
BOOL GetClientRect(HWND hwnd, LPRECT rect);
BOOL AdjustWindowRectEx(LPRECT rect, DWORD style, BOOL menu, DWORD exStyle);
BOOL AdjustWindowRect(LPRECT rect, DWORD style, BOOL menu);
// Returns the offset added (low word x, high word y); 0 with the last error set on failure.
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);
BOOL ClientToScreen(HWND hwnd, LPPOINT point);
BOOL ScreenToClient(HWND hwnd, LPPOINT point);
HWND WindowFromPoint(POINT point);
HWND ChildWindowFromPoint(HWND parent, POINT point);
HWND ChildWindowFromPointEx(HWND parent, POINT point, UINT flags);
LONG GetWindowLongW(HWND hwnd, int index);
inline LONG GetWindowLong(HWND hwnd, int index) {
    return GetWindowLongW(hwnd, index);
}
LONG SetWindowLongW(HWND hwnd, int index, LONG value);
inline LONG SetWindowLong(HWND hwnd, int index, LONG value) {
    return SetWindowLongW(hwnd, index, value);
}
LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);
inline LONG_PTR GetWindowLongPtr(HWND hwnd, int index) {
    return GetWindowLongPtrW(hwnd, index);
}
// GWL_STYLE and GWL_EXSTYLE send WM_STYLECHANGING and WM_STYLECHANGED; GWLP_WNDPROC subclasses (the
// old procedure is returned, to be called through CallWindowProc).
LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value);
inline LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value) {
    return SetWindowLongPtrW(hwnd, index, value);
}
LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
inline LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(proc, hwnd, message, wParam, lParam);
}
BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
inline BOOL SetWindowText(HWND hwnd, LPCWSTR text) {
    return SetWindowTextW(hwnd, text);
}
int GetWindowTextW(HWND hwnd, LPWSTR text, int maxCount);
inline int GetWindowText(HWND hwnd, LPWSTR text, int maxCount) {
    return GetWindowTextW(hwnd, text, maxCount);
}
int GetWindowTextLengthW(HWND hwnd);
inline int GetWindowTextLength(HWND hwnd) {
    return GetWindowTextLengthW(hwnd);
}
// The window takes the region (it must not be used or deleted by the caller afterwards); NULL removes it.
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
int GetWindowRgn(HWND hwnd, HRGN region);
BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags);
BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* key, BYTE* alpha, DWORD* flags);
BOOL UpdateLayeredWindow(HWND hwnd, HDC screenDC, POINT* position, SIZE* size, HDC sourceDC,
                         POINT* sourcePoint, COLORREF key, BLENDFUNCTION* blend, DWORD flags);
BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE data);
inline BOOL SetProp(HWND hwnd, LPCWSTR name, HANDLE data) {
    return SetPropW(hwnd, name, data);
}
HANDLE GetPropW(HWND hwnd, LPCWSTR name);
inline HANDLE GetProp(HWND hwnd, LPCWSTR name) {
    return GetPropW(hwnd, name);
}
HANDLE RemovePropW(HWND hwnd, LPCWSTR name);
inline HANDLE RemoveProp(HWND hwnd, LPCWSTR name) {
    return RemovePropW(hwnd, name);
}

// ---- Messages (message.cpp) ----
// On the window's own thread the procedure is called directly; from another thread the message is
// queued to the owner, which serves it while it reads messages, and the caller waits (serving sends
// to itself meanwhile). 0 for an invalid window (ERROR_INVALID_WINDOW_HANDLE).
LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
inline LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(hwnd, message, wParam, lParam);
}
// timeout in milliseconds of the platform clock; returns 0 with ERROR_TIMEOUT when it passes.
LRESULT SendMessageTimeoutW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT flags, UINT timeout,
                            DWORD_PTR* result);
inline LRESULT SendMessageTimeout(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT flags,
                                  UINT timeout, DWORD_PTR* result) {
    return SendMessageTimeoutW(hwnd, message, wParam, lParam, flags, timeout, result);
}
// Queued like a posted message but served before any: does not wait for the result.
BOOL SendNotifyMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
inline BOOL SendNotifyMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendNotifyMessageW(hwnd, message, wParam, lParam);
}
// A NULL window posts to the calling thread.
BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
inline BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return PostMessageW(hwnd, message, wParam, lParam);
}
// FALSE with ERROR_INVALID_THREAD_ID when the thread has no message queue.
BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
inline BOOL PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    return PostThreadMessageW(threadId, message, wParam, lParam);
}
void PostQuitMessage(int exitCode);
// Returns 0 for WM_QUIT, -1 for a bad window, else nonzero. Waits for a message; order: sent messages
// (served inside), posted messages, input, WM_PAINT, WM_TIMER.
BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
inline BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    return GetMessageW(msg, hwnd, filterMin, filterMax);
}
BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
inline BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    return PeekMessageW(msg, hwnd, filterMin, filterMax, removeFlags);
}
BOOL WaitMessage();
// Posts WM_CHAR (or WM_SYSCHAR) for a WM_KEYDOWN (WM_SYSKEYDOWN) that types a character; TRUE for any
// key message.
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);
inline LRESULT DispatchMessage(const MSG* msg) {
    return DispatchMessageW(msg);
}
// The same name always gives the same number, from 0xC000 up; 0 for an empty name.
UINT RegisterWindowMessageW(LPCWSTR name);
inline UINT RegisterWindowMessage(LPCWSTR name) {
    return RegisterWindowMessageW(name);
}
BOOL InSendMessage();
DWORD InSendMessageEx(LPVOID reserved);
BOOL ReplyMessage(LRESULT result);
DWORD GetMessageTime();
DWORD GetMessagePos();
LPARAM GetMessageExtraInfo();
DWORD GetQueueStatus(UINT flags);
BOOL GetInputState();
DWORD GetCurrentThreadId();
inline constexpr DWORD MWMO_WAITALL = 0x0001;
inline constexpr DWORD MWMO_ALERTABLE = 0x0002;
inline constexpr DWORD MWMO_INPUTAVAILABLE = 0x0004;
// Waits for kernel objects (sync.h) or for messages of the kinds in wakeMask (QS_ bits); answers
// WAIT_OBJECT_0 + count when messages are there. Sends from other threads are served while waiting.
// Timeouts run on the platform clock.
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds,
                                DWORD wakeMask);
DWORD MsgWaitForMultipleObjectsEx(DWORD count, const HANDLE* handles, DWORD milliseconds, DWORD wakeMask,
                                  DWORD flags);

// ---- Default processing (defwnd.cpp) ----
LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
inline LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// ---- Painting (paint.cpp) ----
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
// A DC on the window's client area (the whole window with DCX_WINDOW), clipped to its visible region;
// NULL for hwnd is the screen.
HDC GetDC(HWND hwnd);
HDC GetDCEx(HWND hwnd, HRGN clip, DWORD flags);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
HWND WindowFromDC(HDC dc);
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL ValidateRgn(HWND hwnd, HRGN region);
BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);
int GetUpdateRgn(HWND hwnd, HRGN region, BOOL erase);
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, const RECT* update, HRGN region, UINT flags);
BOOL LockWindowUpdate(HWND hwnd);
BOOL ScrollWindow(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip);
int ScrollWindowEx(HWND hwnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                   LPRECT updateRect, UINT flags);
BOOL ScrollDC(HDC dc, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, LPRECT updateRect);
int ExcludeUpdateRgn(HDC dc, HWND hwnd);

// ---- Focus, activation, capture and input (input.cpp) ----
HWND SetFocus(HWND hwnd);
HWND GetFocus();
// The control before or after control in the dialog's tab order: its visible, enabled WS_TABSTOP
// descendants in z-order, looking inside WS_EX_CONTROLPARENT children; the order wraps around. A null
// control answers the first (or, with previous, the last); control itself when there is no other one.
// NULL with ERROR_INVALID_WINDOW_HANDLE for a dialog or control that is no window.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
// High bit: down; low bit: toggled (Caps Lock, Num Lock ...). As of the last message read.
std::int16_t GetKeyState(int virtualKey);
// High bit: down now; low bit: pressed since the last call.
std::int16_t GetAsyncKeyState(int virtualKey);
BOOL GetKeyboardState(BYTE* keyState);
BOOL SetKeyboardState(const BYTE* keyState);
UINT MapVirtualKeyW(UINT code, UINT mapType);
inline UINT MapVirtualKey(UINT code, UINT mapType) {
    return MapVirtualKeyW(code, mapType);
}
BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);
BOOL GetCursorPos(LPPOINT point);
BOOL SetCursorPos(int x, int y);
UINT GetDoubleClickTime();
BOOL SetDoubleClickTime(UINT milliseconds);
BOOL SwapMouseButton(BOOL swap);
BOOL DragDetect(HWND hwnd, POINT point);

// ---- Cursors and carets (cursor.cpp, caret.cpp) ----
// Standard shapes (IDC_) with a NULL instance, or cursors of the program's resources.
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);
inline HCURSOR LoadCursor(HINSTANCE instance, LPCWSTR name) {
    return LoadCursorW(instance, name);
}
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
int ShowCursor(BOOL show);
HCURSOR CreateCursor(HINSTANCE instance, int xHotSpot, int yHotSpot, int width, int height,
                     const void* andPlane, const void* xorPlane);
BOOL DestroyCursor(HCURSOR cursor);
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
inline HICON LoadIcon(HINSTANCE instance, LPCWSTR name) {
    return LoadIconW(instance, name);
}
HICON CreateIconIndirect(ICONINFO* info);
HICON CopyIcon(HICON icon);
BOOL DestroyIcon(HICON icon);
BOOL GetIconInfo(HICON icon, ICONINFO* info);
inline constexpr UINT DI_MASK = 0x0001;
inline constexpr UINT DI_IMAGE = 0x0002;
inline constexpr UINT DI_NORMAL = 0x0003;
BOOL DrawIconEx(HDC dc, int x, int y, HICON icon, int width, int height, UINT step, HBRUSH flicker,
                UINT flags);
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(LPPOINT point);
UINT GetCaretBlinkTime();
BOOL SetCaretBlinkTime(UINT milliseconds);

// ---- Timers (timer.cpp) ----
// Timers run on the platform clock. A window timer set again with its id restarts with the new interval
// and returns the id; a NULL window gets a new id from the system. Intervals below USER_TIMER_MINIMUM
// are raised to it. 0 with ERROR_INVALID_WINDOW_HANDLE for a window that is not there.
inline constexpr UINT USER_TIMER_MINIMUM = 0x0000000A;
inline constexpr UINT USER_TIMER_MAXIMUM = 0x7FFFFFFF;
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC timerProc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// ---- Hooks (hook.cpp): for the calling thread only ----
HHOOK SetWindowsHookExW(int idHook, HOOKPROC proc, HINSTANCE module, DWORD threadId);
inline HHOOK SetWindowsHookEx(int idHook, HOOKPROC proc, HINSTANCE module, DWORD threadId) {
    return SetWindowsHookExW(idHook, proc, module, threadId);
}
BOOL UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);

// ---- Window scroll bars (scroll.cpp) ----
// Returns the new position.
int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info);
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos);
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);

// ---- System answers (sysparams.cpp) ----
int GetSystemMetrics(int index);
BOOL SystemParametersInfoW(UINT action, UINT uiParam, PVOID pvParam, UINT winIni);
inline BOOL SystemParametersInfo(UINT action, UINT uiParam, PVOID pvParam, UINT winIni) {
    return SystemParametersInfoW(action, uiParam, pvParam, winIni);
}
BOOL MessageBeep(UINT type);
BOOL GetVersionExW(OSVERSIONINFOW* info);
inline BOOL GetVersionEx(OSVERSIONINFOW* info) {
    return GetVersionExW(info);
}
DWORD GetVersion();

// ---- Libraries and resources (module.cpp) ----
// The libraries the program binds by name at start-up ("UXTHEME.DLL", "USER32.DLL", "shlwapi.dll",
// "kernel32.dll", "COMCTL32.DLL", "gdiplus.dll" ...) answer with our own functions; any other name fails
// with ERROR_MOD_NOT_FOUND. A NULL name is the program itself.
HMODULE LoadLibraryW(LPCWSTR fileName);
inline HMODULE LoadLibrary(LPCWSTR fileName) {
    return LoadLibraryW(fileName);
}
BOOL FreeLibrary(HMODULE module);
HMODULE GetModuleHandleW(LPCWSTR moduleName);
inline HMODULE GetModuleHandle(LPCWSTR moduleName) {
    return GetModuleHandleW(moduleName);
}
// NULL with ERROR_PROC_NOT_FOUND for an entry the library does not have.
FARPROC GetProcAddress(HMODULE module, const char* procName);
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
inline DWORD GetModuleFileName(HMODULE module, LPWSTR fileName, DWORD size) {
    return GetModuleFileNameW(module, fileName, size);
}
// The version resource of a library we stand in for (only its fixed part).
DWORD GetFileVersionInfoSizeW(LPCWSTR fileName, LPDWORD handle);
BOOL GetFileVersionInfoW(LPCWSTR fileName, DWORD handle, DWORD length, LPVOID data);
BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, UINT* length);
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
inline HRSRC FindResource(HMODULE module, LPCWSTR name, LPCWSTR type) {
    return FindResourceW(module, name, type);
}
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL resource);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL resource);
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);
inline HBITMAP LoadBitmap(HINSTANCE instance, LPCWSTR name) {
    return LoadBitmapW(instance, name);
}
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags);
inline HANDLE LoadImage(HINSTANCE instance, LPCWSTR name, UINT type, int cx, int cy, UINT flags) {
    return LoadImageW(instance, name, type, cx, cy, flags);
}
