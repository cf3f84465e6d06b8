// The Win32 clipboard: formats by number and name, blocks of global memory (ole.h) handed to the
// system, text formats synthesised from one another, carried by the desktop's clipboard.
//
// The clipboard is open for one thread at a time. Calls that need it open fail with
// ERROR_CLIPBOARD_NOT_OPEN otherwise. A handle given to SetClipboardData belongs to the clipboard from
// then on; a handle GetClipboardData answers stays the clipboard's too and is valid until the next
// EmptyClipboard (by anyone). Nothing here throws.
#pragma once

#include "platform/win32/ole.h"
#include "platform/win32/winuser.h"

inline constexpr UINT CF_TEXT = 1;
inline constexpr UINT CF_BITMAP = 2;
inline constexpr UINT CF_METAFILEPICT = 3;
inline constexpr UINT CF_SYLK = 4;
inline constexpr UINT CF_DIF = 5;
inline constexpr UINT CF_TIFF = 6;
inline constexpr UINT CF_OEMTEXT = 7;
inline constexpr UINT CF_DIB = 8;
inline constexpr UINT CF_PALETTE = 9;
inline constexpr UINT CF_UNICODETEXT = 13;
inline constexpr UINT CF_ENHMETAFILE = 14;
inline constexpr UINT CF_HDROP = 15;
inline constexpr UINT CF_LOCALE = 16;
inline constexpr UINT CF_DIBV5 = 17;

inline constexpr UINT WM_RENDERFORMAT = 0x0305;
inline constexpr UINT WM_RENDERALLFORMATS = 0x0306;
inline constexpr UINT WM_DESTROYCLIPBOARD = 0x0307;
inline constexpr UINT WM_CLIPBOARDUPDATE = 0x031D;

inline constexpr DWORD ERROR_CLIPBOARD_NOT_OPEN = 1418;

// The head of a CF_HDROP block: the file names follow at pFiles, each ending in a zero and the list
// in one more (UTF-16 when fWide).
struct DROPFILES {
    DWORD pFiles;
    POINT pt;
    BOOL fNC;
    BOOL fWide;
};

// FALSE with ERROR_ACCESS_DENIED while another thread has it open. A NULL window opens it for the
// thread without an owner window (EmptyClipboard then leaves the clipboard without owner).
BOOL OpenClipboard(HWND newOwner);
// Publishes what was set since it was opened. FALSE with ERROR_CLIPBOARD_NOT_OPEN.
BOOL CloseClipboard();
// Frees every block, sends WM_DESTROYCLIPBOARD to the previous owner and makes the opener the owner.
BOOL EmptyClipboard();
// Blocks are untyped handles (HGLOBAL), so that global memory and GDI handles (CF_BITMAP) both pass.
// A NULL handle promises the format: the owner gets WM_RENDERFORMAT when somebody asks for it.
// Returns the handle; NULL with ERROR_CLIPBOARD_NOT_OPEN, or ERROR_INVALID_PARAMETER for format 0.
HGLOBAL SetClipboardData(UINT format, HGLOBAL memory);
// NULL (ERROR_CLIPBOARD_NOT_OPEN, or ERROR_NOT_FOUND when the format is not there). CF_TEXT,
// CF_OEMTEXT and CF_UNICODETEXT each come from one of the others when only that one was set.
HGLOBAL GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
// The format after the given one (0 for the first); 0 at the end, with NO_ERROR, or with
// ERROR_CLIPBOARD_NOT_OPEN. Set formats come in the order they were set, synthesised ones after them.
UINT EnumClipboardFormats(UINT format);
int CountClipboardFormats();
// The same name (case-insensitive) always gives the same number, from 0xC000 up; 0 with
// ERROR_INVALID_PARAMETER for an empty name.
UINT RegisterClipboardFormatW(LPCWSTR name);
inline UINT RegisterClipboardFormat(LPCWSTR name) {
    return RegisterClipboardFormatW(name);
}
// The name of a registered format, cut to fit (count includes the zero); 0 for a standard format or
// an unknown number (ERROR_INVALID_PARAMETER).
int GetClipboardFormatNameW(UINT format, LPWSTR name, int count);
inline int GetClipboardFormatName(UINT format, LPWSTR name, int count) {
    return GetClipboardFormatNameW(format, name, count);
}
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();
// Counts every change of the content.
DWORD GetClipboardSequenceNumber();
