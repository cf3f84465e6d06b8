// What the picture classes share: global-memory streams of their bytes, GDI+ decoding, resources.
#include "render/PictureStream.h"

#include <cstring>

#include "platform/rtl/Consts.h"
#include "platform/win32/winuser.h"

namespace render {

ComRef<IStream> NewPictureStream(TMemoryStream& bytes, HRESULT& result) {
    auto size = static_cast<SIZE_T>(bytes.Size());
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr)
        throw Exception(Consts::SImageAllocError);
    if (size > 0) {
        void* memory = GlobalLock(block);
        if (memory == nullptr) {
            GlobalFree(block);
            throw Exception(Consts::SImageAllocError);
        }
        std::memcpy(memory, bytes.Memory(), size);
        GlobalUnlock(block);
    }
    ComRef<IStream> stream;
    result = CreateStreamOnHGlobal(block, TRUE, stream.Put());
    if (FAILED(result)) {
        stream.Reset();
        GlobalFree(block);
    }
    return stream;
}

std::unique_ptr<TGPImage> DecodePicture(TMemoryStream& bytes) {
    HRESULT result = S_OK;
    ComRef<IStream> stream = NewPictureStream(bytes, result);
    if (!stream)
        return nullptr;
    // GDI+ reads the whole stream at once; the image keeps its own copy of the pixels.
    return std::unique_ptr<TGPImage>(new TGPImage(stream.Get()));
}

bool ReadRCData(NativeUInt instance, LPCWSTR name, TMemoryStream& bytes) {
    auto module = reinterpret_cast<HMODULE>(instance);
    HRSRC resource = FindResourceW(module, name, RT_RCDATA);
    if (resource == nullptr)
        return false;
    const void* data = LockResource(LoadResource(module, resource));
    DWORD size = SizeofResource(module, resource);
    bytes.Clear();
    if (data != nullptr && size > 0)
        bytes.WriteBuffer(data, static_cast<Integer>(size));
    bytes.SetPosition(0);
    return true;
}

UrlKind SplitPictureUrl(const String& url, String& rest) {
    auto startsWith = [&url](StringView prefix) {
        if (url.size() < prefix.size())
            return false;
        for (size_t i = 0; i < prefix.size(); ++i) {
            Char c = url[i];
            if (c >= u'a' && c <= u'z')
                c = static_cast<Char>(c - u'a' + u'A');
            if (c != prefix[i])
                return false;
        }
        return true;
    };
    if (startsWith(u"RES://")) {
        rest = url.substr(6);
        return UrlKind::Resource;
    }
    if (startsWith(u"FILE://")) {
        rest = url.substr(7);
        return UrlKind::File;
    }
    rest.clear();
    return UrlKind::Other;
}

} // namespace render
