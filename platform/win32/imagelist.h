// Image lists: a row of same-sized pictures with transparency, drawn by index. The process-wide system
// image lists of the shell (shell.h) are image lists too.
//
// Pictures are kept as 32-bit colour with an alpha channel whatever colour depth the list is created
// with; transparency comes from the alpha of a 32-bit picture, from a mask bitmap, or from a mask colour.
// Every call answers as Win32 does and never throws: handles that are not live lists, indices outside
// the list and missing arguments fail with ERROR_INVALID_HANDLE, ERROR_INVALID_INDEX or
// ERROR_INVALID_PARAMETER. All calls may be made from any thread.
#pragma once

#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"

struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;

// ImageList_Create flags. The colour depth is accepted and kept; it does not change how pictures are
// stored.
inline constexpr UINT ILC_MASK = 0x00000001;
inline constexpr UINT ILC_COLOR = 0x00000000;
inline constexpr UINT ILC_COLORDDB = 0x000000FE;
inline constexpr UINT ILC_COLOR4 = 0x00000004;
inline constexpr UINT ILC_COLOR8 = 0x00000008;
inline constexpr UINT ILC_COLOR16 = 0x00000010;
inline constexpr UINT ILC_COLOR24 = 0x00000018;
inline constexpr UINT ILC_COLOR32 = 0x00000020;

// ImageList_Draw styles. ILD_NORMAL draws on the list's background colour unless that is CLR_NONE (the
// default), ILD_TRANSPARENT always draws transparently. Other styles draw as ILD_NORMAL.
inline constexpr UINT ILD_NORMAL = 0x00000000;
inline constexpr UINT ILD_TRANSPARENT = 0x00000001;

// Lists are at most this wide or high, so that a bad size cannot ask for unbounded memory.
inline constexpr int ImageListMaxSide = 1024;

// A new empty list of cx by cy pictures; NULL (ERROR_INVALID_PARAMETER) for a size that is not positive
// or exceeds ImageListMaxSide. initial and grow are capacity hints.
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);
// FALSE for a handle that is not a live list and for the system image lists, which live as long as the
// process.
BOOL ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
COLORREF ImageList_GetBkColor(HIMAGELIST list);

// Adds the pictures of image, cut from left to right in the list's width (a narrower remainder is
// ignored); mask, when given, is white where the pictures are transparent. A 32-bit image without a mask
// uses its own alpha channel when any pixel has one, else it is opaque. Answers the index of the first
// picture added, or -1.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// As ImageList_Add; pixels of colour maskColor are transparent.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor);
// Replaces picture index with icon, or adds it when index is -1; an icon of another size is scaled to
// the list's. Answers the index, or -1.
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);
inline int ImageList_AddIcon(HIMAGELIST list, HICON icon) {
    return ImageList_ReplaceIcon(list, -1, icon);
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
// As ImageList_Draw; dx and dy (0: the whole picture) draw only the top-left part of that size, without
// stretching. background CLR_DEFAULT is the list's background colour, CLR_NONE draws transparently;
// foreground is accepted for the blend styles, which are not drawn differently.
BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int dx, int dy, COLORREF background,
                      COLORREF foreground, UINT style);
// A new icon of picture index, which the caller destroys with DestroyIcon; NULL on failure.
HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT style);

namespace win32 {
// Makes list live for the rest of the process: ImageList_Destroy refuses it from then on.
void KeepImageList(HIMAGELIST list);
} // namespace win32
