// OLE drag and drop inside the process: data objects and their formats, drop targets registered per
// window, drop sources and the modal drag loop (DoDragDrop) on the GUI thread. Drags never leave the
// process. Nothing here throws.
#pragma once

#include "platform/win32/clipboard.h"
#include "platform/win32/ole.h"

// ---- Result codes ----
inline constexpr HRESULT DRAGDROP_S_DROP = 0x00040100;
inline constexpr HRESULT DRAGDROP_S_CANCEL = 0x00040101;
inline constexpr HRESULT DRAGDROP_S_USEDEFAULTCURSORS = 0x00040102;
inline constexpr HRESULT DRAGDROP_E_NOTREGISTERED = static_cast<HRESULT>(0x80040100);
inline constexpr HRESULT DRAGDROP_E_ALREADYREGISTERED = static_cast<HRESULT>(0x80040101);
inline constexpr HRESULT DRAGDROP_E_INVALIDHWND = static_cast<HRESULT>(0x80040102);
inline constexpr HRESULT DV_E_FORMATETC = static_cast<HRESULT>(0x80040064);
inline constexpr HRESULT DV_E_TYMED = static_cast<HRESULT>(0x80040069);
inline constexpr HRESULT OLE_E_ADVISENOTSUPPORTED = static_cast<HRESULT>(0x80040003);
inline constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0);

// ---- Effects and key states ----
inline constexpr DWORD DROPEFFECT_NONE = 0;
inline constexpr DWORD DROPEFFECT_COPY = 1;
inline constexpr DWORD DROPEFFECT_MOVE = 2;
inline constexpr DWORD DROPEFFECT_LINK = 4;
inline constexpr DWORD DROPEFFECT_SCROLL = 0x80000000;

// The key states drop targets and sources get are the mouse messages' MK_* flags, with Alt added.
inline constexpr DWORD MK_ALT = 0x0020;

// ---- Formats and media ----
using CLIPFORMAT = WORD;

inline constexpr DWORD DVASPECT_CONTENT = 1;
inline constexpr DWORD DVASPECT_THUMBNAIL = 2;
inline constexpr DWORD DVASPECT_ICON = 4;
inline constexpr DWORD DVASPECT_DOCPRINT = 8;

inline constexpr DWORD TYMED_NULL = 0;
inline constexpr DWORD TYMED_HGLOBAL = 1;
inline constexpr DWORD TYMED_FILE = 2;
inline constexpr DWORD TYMED_ISTREAM = 4;
inline constexpr DWORD TYMED_ISTORAGE = 8;
inline constexpr DWORD TYMED_GDI = 16;
inline constexpr DWORD TYMED_MFPICT = 32;
inline constexpr DWORD TYMED_ENHMF = 64;

inline constexpr DWORD DATADIR_GET = 1;
inline constexpr DWORD DATADIR_SET = 2;

// A target device is never used here; the type only has to exist for the pointers to it.
struct DVTARGETDEVICE {
    DWORD tdSize;
    WORD tdDriverNameOffset;
    WORD tdDeviceNameOffset;
    WORD tdPortNameOffset;
    WORD tdExtDevmodeOffset;
    BYTE tdData[1];
};

struct FORMATETC {
    CLIPFORMAT cfFormat;
    DVTARGETDEVICE* ptd;
    DWORD dwAspect;
    LONG lindex;
    DWORD tymed; // TYMED_* flags: the media asked for or offered
};
using LPFORMATETC = FORMATETC*;

// Data handed over by GetData. With pUnkForRelease null the receiver owns the medium and frees it
// through ReleaseStgMedium; otherwise releasing that object frees it.
struct STGMEDIUM {
    DWORD tymed;
    union {
        HGLOBAL hGlobal;
        LPWSTR lpszFileName;
        IStream* pstm;
        void* hBitmap;
    };
    IUnknown* pUnkForRelease;
};
using LPSTGMEDIUM = STGMEDIUM*;

// Frees the medium's data (a global block, a stream's reference, a file name) unless another object
// owns it, then releases that object; the medium is left empty (TYMED_NULL).
void ReleaseStgMedium(LPSTGMEDIUM medium);

// ---- Interfaces ----
inline constexpr IID IID_IEnumFORMATETC = {
    0x00000103, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IDataObject = {
    0x0000010E, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IDropSource = {
    0x00000121, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_IDropTarget = {
    0x00000122, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IEnumFORMATETC : IUnknown {
    // Copies up to count entries; S_OK when all were there, S_FALSE when fewer.
    virtual HRESULT Next(ULONG count, FORMATETC* formats, ULONG* fetched) = 0;
    virtual HRESULT Skip(ULONG count) = 0;
    virtual HRESULT Reset() = 0;
    virtual HRESULT Clone(IEnumFORMATETC** clone) = 0;
};

// Advise sinks and their enumerator are never implemented here: data objects answer
// OLE_E_ADVISENOTSUPPORTED, so these stay declarations for the signatures.
struct IAdviseSink;
struct IEnumSTATDATA;

struct IDataObject : IUnknown {
    virtual HRESULT GetData(FORMATETC* format, STGMEDIUM* medium) = 0;
    virtual HRESULT GetDataHere(FORMATETC* format, STGMEDIUM* medium) = 0;
    virtual HRESULT QueryGetData(FORMATETC* format) = 0;
    virtual HRESULT GetCanonicalFormatEtc(FORMATETC* formatIn, FORMATETC* formatOut) = 0;
    virtual HRESULT SetData(FORMATETC* format, STGMEDIUM* medium, BOOL release) = 0;
    virtual HRESULT EnumFormatEtc(DWORD direction, IEnumFORMATETC** enumerator) = 0;
    virtual HRESULT DAdvise(FORMATETC* format, DWORD flags, IAdviseSink* sink, DWORD* connection) = 0;
    virtual HRESULT DUnadvise(DWORD connection) = 0;
    virtual HRESULT EnumDAdvise(IEnumSTATDATA** enumerator) = 0;
};

struct POINTL {
    LONG x;
    LONG y;
};

// Points are in screen coordinates; keyState holds MK_* flags; effect comes in as the effects the
// source allows and goes out as the one the target would do.
struct IDropTarget : IUnknown {
    virtual HRESULT DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) = 0;
    virtual HRESULT DragOver(DWORD keyState, POINTL pt, DWORD* effect) = 0;
    virtual HRESULT DragLeave() = 0;
    virtual HRESULT Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) = 0;
};

struct IDropSource : IUnknown {
    // S_OK goes on, DRAGDROP_S_DROP drops, DRAGDROP_S_CANCEL ends without a drop.
    virtual HRESULT QueryContinueDrag(BOOL escapePressed, DWORD keyState) = 0;
    // DRAGDROP_S_USEDEFAULTCURSORS lets the loop show its cursor for the effect.
    virtual HRESULT GiveFeedback(DWORD effect) = 0;
};

// ---- Targets and the drag loop ----
// Makes target the drop target of the window, holding a reference until it is revoked or the window
// is destroyed. E_INVALIDARG for a null target, DRAGDROP_E_INVALIDHWND for a window that is not
// there, DRAGDROP_E_ALREADYREGISTERED when the window has one, CO_E_NOTINITIALIZED when OLE is not
// initialised on the thread.
HRESULT RegisterDragDrop(HWND hwnd, IDropTarget* target);
// DRAGDROP_E_NOTREGISTERED when the window has no target (DRAGDROP_E_INVALIDHWND when it is gone).
HRESULT RevokeDragDrop(HWND hwnd);

// Runs the drag until the source drops or cancels. It reads mouse and key messages from the thread's
// queue without dispatching them (other messages are dispatched meanwhile), keeps the target under the
// cursor (the window there or its nearest ancestor with a registered target) informed, asks the
// source whether to go on at every input and gives it the effect as feedback. Effects answered by a
// target are limited to allowedEffects. Answers DRAGDROP_S_DROP with *effect the target's effect of
// the drop, or DRAGDROP_S_CANCEL with DROPEFFECT_NONE (also when a drop met no target or was
// refused); E_INVALIDARG for a null argument, E_UNEXPECTED when a drag is already under way.
HRESULT DoDragDrop(IDataObject* data, IDropSource* source, DWORD allowedEffects, DWORD* effect);
