// The smallest part of COM the system uses: result codes, interface identifiers and IUnknown with
// reference counting, for the OLE picture and stream objects.
#pragma once

#include <atomic>
#include <cstring>

#include "platform/win32/wintypes.h"

using HRESULT = std::int32_t;
using SHORT = std::int16_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFF);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057);
inline constexpr HRESULT STG_E_INVALIDFUNCTION = static_cast<HRESULT>(0x80030001);
inline constexpr HRESULT STG_E_INVALIDPOINTER = static_cast<HRESULT>(0x80030009);
inline constexpr HRESULT STG_E_MEDIUMFULL = static_cast<HRESULT>(0x80030070);
// The picture object's answer to bytes that are no picture it can read.
inline constexpr HRESULT CTL_E_INVALIDPICTURE = static_cast<HRESULT>(0x800A017C);

inline constexpr bool SUCCEEDED(HRESULT hr) {
    return hr >= 0;
}
inline constexpr bool FAILED(HRESULT hr) {
    return hr < 0;
}

struct GUID {
    DWORD Data1;
    WORD Data2;
    WORD Data3;
    BYTE Data4[8];
    bool operator==(const GUID& other) const { return std::memcmp(this, &other, sizeof(GUID)) == 0; }
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFGUID = const GUID&;
using REFCLSID = const CLSID&;

inline bool IsEqualGUID(REFGUID a, REFGUID b) {
    return a == b;
}

inline constexpr IID IID_IUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Every interface derives from IUnknown; an object lives while its reference count is above 0.
struct IUnknown {
    virtual HRESULT QueryInterface(REFIID riid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    virtual ~IUnknown() = default;
};

// Reference counting shared by our COM objects: the object deletes itself at the last Release.
template <class Interface> class ComObject : public Interface {
public:
    ULONG AddRef() override { return ++FReferences; }
    ULONG Release() override {
        ULONG left = --FReferences;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    std::atomic<ULONG> FReferences{1};
};
