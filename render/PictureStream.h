// What the picture classes share: their bytes put on a global-memory stream, decoded with GDI+, and
// read from the program's RCDATA resources.
#pragma once

#include <memory>

#include "platform/rtl/Streams.h"
#include "platform/win32/ole.h"
#include "render/AdvGDIP.h"

namespace render {

// Holds one reference to a COM object and releases it.
template <class Interface> class ComRef {
public:
    ComRef() = default;
    explicit ComRef(Interface* object) : FObject(object) {}
    ~ComRef() { Reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    ComRef(ComRef&& other) noexcept : FObject(other.FObject) { other.FObject = nullptr; }
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            Reset();
            FObject = other.FObject;
            other.FObject = nullptr;
        }
        return *this;
    }

    Interface* Get() const { return FObject; }
    Interface* operator->() const { return FObject; }
    explicit operator bool() const { return FObject != nullptr; }
    // For the calls that hand out a new reference.
    Interface** Put() {
        Reset();
        return &FObject;
    }
    void Reset() {
        if (FObject != nullptr)
            FObject->Release();
        FObject = nullptr;
    }

private:
    Interface* FObject = nullptr;
};

// A stream on a new movable global block holding a copy of bytes; the block is freed with the stream.
// Raises Exception "Could not allocate memory for image" when no block can be had. When the stream
// cannot be made the block is freed at once, result holds the failure and the answer is empty.
ComRef<IStream> NewPictureStream(TMemoryStream& bytes, HRESULT& result);

// The GDI+ image of the bytes; null when no stream could be made on them. Bytes GDI+ cannot read give
// an image with a failure status, 0 x 0 in size.
std::unique_ptr<TGPImage> DecodePicture(TMemoryStream& bytes);

// The RCDATA resource name of the module in bytes; false (bytes untouched) when there is none.
bool ReadRCData(NativeUInt instance, LPCWSTR name, TMemoryStream& bytes);

// "RES://" or "FILE://" at the start of url, in any case: the rest of the address, and which prefix.
enum class UrlKind { Resource, File, Other };
UrlKind SplitPictureUrl(const String& url, String& rest);

} // namespace render
