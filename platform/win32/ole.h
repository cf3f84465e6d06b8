// Global memory blocks, streams on them and the OLE picture object: the calls that turn a picture
// file's bytes into something that draws on a DC (GlobalAlloc, CreateStreamOnHGlobal, OleLoadPicture).
// Nothing here throws; calls answer as Win32 and OLE do.
#pragma once

#include "platform/win32/com.h"
#include "platform/win32/winerror.h"
#include "platform/win32/wingdi.h"

// ---- Start-up ----
// OLE is set up per thread: the first OleInitialize of a thread answers S_OK, every further one S_FALSE,
// and each must be matched by an OleUninitialize. An extra OleUninitialize does nothing.
HRESULT OleInitialize(LPVOID reserved);
void OleUninitialize();

// ---- Global memory ----
using HGLOBAL = void*;
using SIZE_T = std::size_t;

inline constexpr UINT GMEM_FIXED = 0x0000;
inline constexpr UINT GMEM_MOVEABLE = 0x0002;
inline constexpr UINT GMEM_ZEROINIT = 0x0040;
// Kept for callers that ask for it: every block is shared inside the process anyway.
inline constexpr UINT GMEM_DDESHARE = 0x2000;
inline constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
inline constexpr UINT GPTR = GMEM_FIXED | GMEM_ZEROINIT;

// A fixed block's handle is its memory; a movable block's memory is reached through GlobalLock.
// Null with ERROR_NOT_ENOUGH_MEMORY when the block cannot be had.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// Null with ERROR_NOT_ENOUGH_MEMORY; the old block stays valid. A locked movable block cannot move.
HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags);
// The block's memory, counting one more lock; null with ERROR_INVALID_HANDLE for a handle that is
// not a live block.
LPVOID GlobalLock(HGLOBAL memory);
// TRUE while the block stays locked; FALSE with NO_ERROR when the last lock went, and FALSE with
// ERROR_NOT_LOCKED when it was not locked.
BOOL GlobalUnlock(HGLOBAL memory);
// Null on success; the handle itself (ERROR_INVALID_HANDLE) when it is not a live block.
HGLOBAL GlobalFree(HGLOBAL memory);
// 0 (with ERROR_INVALID_HANDLE) for a handle that is not a live block.
SIZE_T GlobalSize(HGLOBAL memory);

inline constexpr DWORD ERROR_NOT_LOCKED = 158;

// ---- Streams ----
struct LARGE_INTEGER {
    LONGLONG QuadPart;
};
struct ULARGE_INTEGER {
    ULONGLONG QuadPart;
};

inline constexpr DWORD STREAM_SEEK_SET = 0;
inline constexpr DWORD STREAM_SEEK_CUR = 1;
inline constexpr DWORD STREAM_SEEK_END = 2;
inline constexpr DWORD STATFLAG_DEFAULT = 0;
inline constexpr DWORD STATFLAG_NONAME = 1;
inline constexpr DWORD STGTY_STREAM = 2;

struct STATSTG {
    LPWSTR pwcsName;
    DWORD type;
    ULARGE_INTEGER cbSize;
    FILETIME mtime;
    FILETIME ctime;
    FILETIME atime;
    DWORD grfMode;
    DWORD grfLocksSupported;
    CLSID clsid;
    DWORD grfStateBits;
    DWORD reserved;
};

inline constexpr IID IID_ISequentialStream = {
    0x0C733A30, 0x2A1C, 0x11CE, {0xAD, 0xE5, 0x00, 0xAA, 0x00, 0x44, 0x77, 0x3D}};
inline constexpr IID IID_IStream = {
    0x0000000C, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct ISequentialStream : IUnknown {
    // S_OK with *read below count at the end of the data (S_FALSE never: as the memory stream does).
    virtual HRESULT Read(void* buffer, ULONG count, ULONG* read) = 0;
    virtual HRESULT Write(const void* buffer, ULONG count, ULONG* written) = 0;
};

struct IStream : ISequentialStream {
    virtual HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) = 0;
    virtual HRESULT SetSize(ULARGE_INTEGER newSize) = 0;
    virtual HRESULT CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                           ULARGE_INTEGER* written) = 0;
    virtual HRESULT Commit(DWORD flags) = 0;
    virtual HRESULT Revert() = 0;
    virtual HRESULT LockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType) = 0;
    virtual HRESULT UnlockRegion(ULARGE_INTEGER offset, ULARGE_INTEGER count, DWORD lockType) = 0;
    // pwcsName is always null here: memory streams have no name.
    virtual HRESULT Stat(STATSTG* stat, DWORD flags) = 0;
    virtual HRESULT Clone(IStream** stream) = 0;
};
using LPSTREAM = IStream*;

// A stream on the bytes of a movable global block (a new empty one when memory is null), positioned
// at 0, with the block's whole size as its size. deleteOnRelease frees the block with the stream.
// E_INVALIDARG for a handle that is not a live block, E_POINTER for a null stream pointer.
HRESULT CreateStreamOnHGlobal(HGLOBAL memory, BOOL deleteOnRelease, LPSTREAM* stream);
HRESULT GetHGlobalFromStream(IStream* stream, HGLOBAL* memory);

// ---- Pictures ----
// The OLE picture's handle is pointer-sized here: our GDI handles are pointers.
using OLE_HANDLE = UINT_PTR;
using OLE_XPOS_HIMETRIC = LONG;
using OLE_YPOS_HIMETRIC = LONG;
using OLE_XSIZE_HIMETRIC = LONG;
using OLE_YSIZE_HIMETRIC = LONG;

inline constexpr SHORT PICTYPE_UNINITIALIZED = -1;
inline constexpr SHORT PICTYPE_NONE = 0;
inline constexpr SHORT PICTYPE_BITMAP = 1;
inline constexpr SHORT PICTYPE_METAFILE = 2;
inline constexpr SHORT PICTYPE_ICON = 3;
inline constexpr SHORT PICTYPE_ENHMETAFILE = 4;

inline constexpr DWORD PICTURE_SCALABLE = 0x1;
inline constexpr DWORD PICTURE_TRANSPARENT = 0x2;

inline constexpr IID IID_IPicture = {
    0x7BF80980, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

struct IPicture : IUnknown {
    // The picture's bitmap (PICTYPE_BITMAP) or icon (PICTYPE_ICON); it stays owned by the picture.
    virtual HRESULT get_Handle(OLE_HANDLE* handle) = 0;
    virtual HRESULT get_hPal(OLE_HANDLE* palette) = 0;
    virtual HRESULT get_Type(SHORT* type) = 0;
    // Sizes in 0.01 mm, from the pixels at 96 pixels per inch.
    virtual HRESULT get_Width(OLE_XSIZE_HIMETRIC* width) = 0;
    virtual HRESULT get_Height(OLE_YSIZE_HIMETRIC* height) = 0;
    // Draws the part (xSrc, ySrc, cxSrc, cySrc) of the picture, in 0.01 mm from its bottom-left corner
    // upwards, into (x, y, cx, cy) on dc. A negative size mirrors; the usual call passes the bottom of
    // the destination as y with a negative height. E_INVALIDARG for a zero size.
    virtual HRESULT Render(HDC dc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc,
                           OLE_YPOS_HIMETRIC ySrc, OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc,
                           LPCRECT bounds) = 0;
    virtual HRESULT set_hPal(OLE_HANDLE palette) = 0;
    virtual HRESULT get_CurDC(HDC* dc) = 0;
    virtual HRESULT SelectPicture(HDC dcIn, HDC* dcOut, OLE_HANDLE* bitmapOut) = 0;
    virtual HRESULT get_KeepOriginalFormat(BOOL* keep) = 0;
    virtual HRESULT put_KeepOriginalFormat(BOOL keep) = 0;
    virtual HRESULT PictureChanged() = 0;
    // Writes the bytes the picture was loaded from.
    virtual HRESULT SaveAsFile(IStream* stream, BOOL saveMemCopy, LONG* size) = 0;
    virtual HRESULT get_Attributes(DWORD* attributes) = 0;
};
using LPPICTURE = IPicture*;

// Reads a BMP, JPEG, GIF (its first frame), icon or PNG file from the stream (size bytes, or the rest
// of the stream when size is 0) and answers the picture through the interface riid names. The bytes
// are checked, never read past their end: CTL_E_INVALIDPICTURE for bytes that are no picture or a
// broken one, E_POINTER for a null stream or result, E_NOINTERFACE for an interface other than
// IPicture and IUnknown. The stream is left after the bytes read.
HRESULT OleLoadPicture(LPSTREAM stream, LONG size, BOOL runMode, REFIID riid, LPVOID* object);
