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

// The GIF layout the pictures' frame bookkeeping reads, with every read inside the data: a frame block is
// a graphic control extension (21 F9 04) whose image descriptor (2C) follows at once; values are
// little-endian.
struct GifBytes {
    const Byte* data;
    Int64 size;

    Word WordAt(Int64 p) const { return static_cast<Word>(data[p] | data[p + 1] << 8); }
    // Tests the bytes p .. p + 8; the caller keeps them inside the data.
    bool FrameStartAt(Int64 p) const {
        return data[p] == 0x21 && data[p + 1] == 0xF9 && data[p + 2] == 4 && data[p + 8] == 0x2C;
    }
    // The frame scans' bound: a byte beyond the descriptor's separator must be there.
    bool FrameBlockAt(Int64 p) const { return p + 9 < size && FrameStartAt(p); }
    // The descriptor's left, top, width and height end at p + 16; a block cut short has no geometry.
    bool HasGeometry(Int64 p) const { return p + 16 < size; }

    // Position of frame block number (from 1), or -1.
    Int64 FindFrame(Integer number) const {
        Integer n = 0;
        for (Int64 p = 0; p + 9 < size; ++p)
            if (FrameBlockAt(p) && ++n == number)
                return p;
        return -1;
    }
    Integer CountFrames() const {
        Integer n = 0;
        for (Int64 p = 0; p + 9 < size; ++p)
            if (FrameBlockAt(p))
                ++n;
        return n;
    }
};

inline GifBytes GifBytesOf(TMemoryStream& stream) {
    return GifBytes{static_cast<const Byte*>(stream.Memory()), stream.Size()};
}

// The RCDATA resource name of the module in bytes; false (bytes untouched) when there is none.
bool ReadRCData(NativeUInt instance, LPCWSTR name, TMemoryStream& bytes);

// "RES://" or "FILE://" at the start of url, in any case: the rest of the address, and which prefix.
enum class UrlKind { Resource, File, Other };
UrlKind SplitPictureUrl(const String& url, String& rest);

} // namespace render
