// The OLE picture object: BMP, JPEG, GIF, icon and PNG files read from a stream into a picture that
// reports its size in HIMETRIC, renders onto a DC and lends its bitmap or icon.
#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/codecs/Bmp.h"
#include "platform/codecs/Gif.h"
#include "platform/codecs/Ico.h"
#include "platform/codecs/Jpeg.h"
#include "platform/codecs/Png.h"
#include "platform/win32/ole.h"
#include "platform/win32/winuser.h"

namespace {

// Pictures are measured at the screen's 96 pixels per inch; 2540 HIMETRIC units make an inch.
constexpr LONG PixelsPerInch = 96;
constexpr LONG HimetricPerInch = 2540;

// No picture file larger than this is read at all.
constexpr ULONGLONG MaxPictureBytes = ULONGLONG{256} << 20;

LONG MulDivRound(LONG a, LONG b, LONG c) {
    return static_cast<LONG>(std::llround(static_cast<double>(a) * b / c));
}

class Picture : public ComObject<IPicture> {
public:
    Picture(codecs::Image image, bool icon, std::vector<std::uint8_t> bytes)
        : FImage(std::move(image)), FIcon(icon), FBytes(std::move(bytes)) {}

    ~Picture() override {
        if (FPart)
            DeleteObject(FPart);
        if (FBitmap)
            DeleteObject(FBitmap);
        if (FIconHandle)
            DestroyIcon(FIconHandle);
    }

    HRESULT QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IPicture) {
            *object = static_cast<IPicture*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    HRESULT get_Handle(OLE_HANDLE* handle) override {
        if (!handle)
            return E_POINTER;
        if (FIcon) {
            if (!FIconHandle)
                FIconHandle = MakeIcon();
            *handle = reinterpret_cast<OLE_HANDLE>(FIconHandle);
            return FIconHandle ? S_OK : E_OUTOFMEMORY;
        }
        if (!FBitmap)
            FBitmap = MakeBitmap(false);
        *handle = reinterpret_cast<OLE_HANDLE>(FBitmap);
        return FBitmap ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT get_hPal(OLE_HANDLE* palette) override {
        if (!palette)
            return E_POINTER;
        *palette = 0;
        return S_OK;
    }

    HRESULT get_Type(SHORT* type) override {
        if (!type)
            return E_POINTER;
        *type = FIcon ? PICTYPE_ICON : PICTYPE_BITMAP;
        return S_OK;
    }

    HRESULT get_Width(OLE_XSIZE_HIMETRIC* width) override {
        if (!width)
            return E_POINTER;
        *width = HimetricWidth();
        return S_OK;
    }

    HRESULT get_Height(OLE_YSIZE_HIMETRIC* height) override {
        if (!height)
            return E_POINTER;
        *height = HimetricHeight();
        return S_OK;
    }

    HRESULT Render(HDC dc, LONG x, LONG y, LONG cx, LONG cy, OLE_XPOS_HIMETRIC xSrc, OLE_YPOS_HIMETRIC ySrc,
                   OLE_XSIZE_HIMETRIC cxSrc, OLE_YSIZE_HIMETRIC cySrc, LPCRECT) override {
        if (cx == 0 || cy == 0 || cxSrc == 0 || cySrc == 0)
            return E_INVALIDARG;
        if (!dc)
            return E_INVALIDARG;
        // HIMETRIC runs up from the picture's bottom-left corner; pixel rows run down from the top.
        double w = FImage.width, h = FImage.height;
        double hmW = HimetricWidth(), hmH = HimetricHeight();
        double sx0 = xSrc * w / hmW, sx1 = (static_cast<double>(xSrc) + cxSrc) * w / hmW;
        double sy0 = h - ySrc * h / hmH, sy1 = h - (static_cast<double>(ySrc) + cySrc) * h / hmH;
        bool flipX = (sx1 < sx0) != (cx < 0);
        bool flipY = (sy1 < sy0) != (cy < 0);
        int left = static_cast<int>(std::lround(std::min(sx0, sx1))),
            right = static_cast<int>(std::lround(std::max(sx0, sx1)));
        int top = static_cast<int>(std::lround(std::min(sy0, sy1))),
            bottom = static_cast<int>(std::lround(std::max(sy0, sy1)));
        left = std::clamp(left, 0, FImage.width);
        right = std::clamp(right, 0, FImage.width);
        top = std::clamp(top, 0, FImage.height);
        bottom = std::clamp(bottom, 0, FImage.height);
        if (right <= left || bottom <= top)
            return S_OK;
        int partWidth = right - left, partHeight = bottom - top;
        HBITMAP part = PartBitmap(left, top, right, bottom, flipX, flipY);
        if (!part)
            return E_OUTOFMEMORY;
        HDC memory = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(memory, part);
        int dx = cx < 0 ? x + cx : x, dy = cy < 0 ? y + cy : y;
        BOOL ok = FALSE;
        if (FImage.hasAlpha) {
            BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            ok = AlphaBlend(dc, dx, dy, std::abs(cx), std::abs(cy), memory, 0, 0, partWidth, partHeight,
                            blend);
        } else {
            ok = StretchBlt(dc, dx, dy, std::abs(cx), std::abs(cy), memory, 0, 0, partWidth, partHeight,
                            SRCCOPY);
        }
        SelectObject(memory, old);
        DeleteDC(memory);
        return ok ? S_OK : E_FAIL;
    }

    HRESULT set_hPal(OLE_HANDLE) override { return E_NOTIMPL; }
    HRESULT get_CurDC(HDC* dc) override {
        if (!dc)
            return E_POINTER;
        *dc = nullptr;
        return S_OK;
    }
    HRESULT SelectPicture(HDC, HDC*, OLE_HANDLE*) override { return E_NOTIMPL; }
    HRESULT get_KeepOriginalFormat(BOOL* keep) override {
        if (!keep)
            return E_POINTER;
        *keep = FKeepOriginal;
        return S_OK;
    }
    HRESULT put_KeepOriginalFormat(BOOL keep) override {
        FKeepOriginal = keep;
        return S_OK;
    }
    HRESULT PictureChanged() override { return S_OK; }

    HRESULT SaveAsFile(IStream* stream, BOOL, LONG* size) override {
        if (!stream)
            return E_POINTER;
        ULONG written = 0;
        HRESULT hr = stream->Write(FBytes.data(), static_cast<ULONG>(FBytes.size()), &written);
        if (size)
            *size = static_cast<LONG>(written);
        return hr;
    }

    HRESULT get_Attributes(DWORD* attributes) override {
        if (!attributes)
            return E_POINTER;
        *attributes = FImage.hasAlpha || FIcon ? PICTURE_TRANSPARENT : 0;
        return S_OK;
    }

private:
    // The part of the pixels as it appears on the destination, mirrored where asked and premultiplied for
    // blending. A picture is rendered the same way again and again, so the last part made is kept.
    HBITMAP PartBitmap(int left, int top, int right, int bottom, bool flipX, bool flipY) {
        const int key[6] = {left, top, right, bottom, flipX, flipY};
        if (FPart && std::equal(key, key + 6, FPartKey))
            return FPart;
        if (FPart)
            DeleteObject(FPart);
        FPart = nullptr;
        int partWidth = right - left, partHeight = bottom - top;
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = partWidth;
        info.bmiHeader.biHeight = -partHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP part = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!part || !bits) {
            if (part)
                DeleteObject(part);
            return nullptr;
        }
        auto out = static_cast<std::uint32_t*>(bits);
        for (int row = 0; row < partHeight; ++row)
            for (int col = 0; col < partWidth; ++col) {
                int sx = flipX ? right - 1 - col : left + col;
                int sy = flipY ? bottom - 1 - row : top + row;
                std::uint32_t c = FImage.Pixel(sx, sy);
                if (FImage.hasAlpha) {
                    std::uint32_t a = c >> 24;
                    auto premultiply = [&](int shift) {
                        return ((((c >> shift) & 0xFF) * a + 127) / 255) << shift;
                    };
                    c = (a << 24) | premultiply(16) | premultiply(8) | premultiply(0);
                }
                out[static_cast<size_t>(row) * partWidth + col] = c;
            }
        FPart = part;
        std::copy(key, key + 6, FPartKey);
        return FPart;
    }

    LONG HimetricWidth() const { return MulDivRound(FImage.width, HimetricPerInch, PixelsPerInch); }
    LONG HimetricHeight() const { return MulDivRound(FImage.height, HimetricPerInch, PixelsPerInch); }

    // A 32-bit DIB section of the pixels (alpha kept as it is, not premultiplied).
    HBITMAP MakeBitmap(bool forIcon) const {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = FImage.width;
        info.bmiHeader.biHeight = -FImage.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap || !bits)
            return nullptr;
        auto out = static_cast<std::uint32_t*>(bits);
        for (size_t i = 0; i < FImage.pixels.size(); ++i)
            out[i] = forIcon || FImage.hasAlpha ? FImage.pixels[i] : (FImage.pixels[i] & 0xFFFFFFu);
        return bitmap;
    }

    HICON MakeIcon() const {
        HBITMAP color = MakeBitmap(true);
        if (!color)
            return nullptr;
        // The mask marks the pixels that show what is under the icon.
        int stride = ((FImage.width + 15) / 16) * 2;
        std::vector<std::uint8_t> maskBits(static_cast<size_t>(stride) * FImage.height, 0);
        for (int y = 0; y < FImage.height; ++y)
            for (int x = 0; x < FImage.width; ++x)
                if ((FImage.Pixel(x, y) >> 24) < 128)
                    maskBits[static_cast<size_t>(y) * stride + x / 8] |=
                        static_cast<std::uint8_t>(0x80 >> (x % 8));
        HBITMAP mask = CreateBitmap(FImage.width, FImage.height, 1, 1, maskBits.data());
        ICONINFO info{TRUE, 0, 0, mask, color};
        HICON icon = mask ? CreateIconIndirect(&info) : nullptr;
        DeleteObject(color);
        if (mask)
            DeleteObject(mask);
        return icon;
    }

    codecs::Image FImage;
    bool FIcon;
    std::vector<std::uint8_t> FBytes; // as read, for SaveAsFile
    HBITMAP FBitmap = nullptr;
    HICON FIconHandle = nullptr;
    HBITMAP FPart = nullptr; // the last part rendered, for FPartKey (left, top, right, bottom, flips)
    int FPartKey[6] = {};
    BOOL FKeepOriginal = TRUE;
};

// Decodes a picture file; false for bytes that are no picture or a broken one.
bool DecodePicture(codecs::ByteSpan data, codecs::Image& image, bool& icon) {
    icon = false;
    switch (codecs::DetectImageFormat(data)) {
    case codecs::ImageFormat::Bmp: {
        auto result = codecs::DecodeBmp(data);
        if (!result)
            return false;
        image = std::move(result.Value());
        return true;
    }
    case codecs::ImageFormat::Jpeg: {
        auto result = codecs::DecodeJpeg(data);
        if (!result)
            return false;
        image = std::move(result.Value());
        return true;
    }
    case codecs::ImageFormat::Png: {
        auto result = codecs::DecodePng(data);
        if (!result)
            return false;
        image = std::move(result.Value());
        return true;
    }
    case codecs::ImageFormat::Gif: {
        // The picture object shows a GIF's first frame as a viewer composes it.
        auto result = codecs::DecodeGif(data);
        if (!result || result.Value().frames.empty())
            return false;
        codecs::GifComposer composer(result.Value());
        image = composer.Frame(0);
        image.hasAlpha = true;
        return !image.Empty();
    }
    case codecs::ImageFormat::Ico: {
        auto result = codecs::DecodeIco(data);
        if (!result || result.Value().images.empty())
            return false;
        image = std::move(result.Value().images.front().image);
        image.hasAlpha = true;
        icon = true;
        return true;
    }
    default:
        return false;
    }
}

} // namespace

HRESULT OleLoadPicture(LPSTREAM stream, LONG size, BOOL runMode, REFIID riid, LPVOID* object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (!stream)
        return E_POINTER;
    if (!(riid == IID_IPicture) && !(riid == IID_IUnknown))
        return E_NOINTERFACE;
    try {
        // Read the bytes given (or all that are left), never more than the stream holds.
        std::vector<std::uint8_t> bytes;
        ULONGLONG wanted = size > 0 ? static_cast<ULONGLONG>(size) : MaxPictureBytes;
        std::uint8_t buffer[65536];
        while (bytes.size() < wanted) {
            auto chunk = static_cast<ULONG>(std::min<ULONGLONG>(sizeof(buffer), wanted - bytes.size()));
            ULONG read = 0;
            HRESULT hr = stream->Read(buffer, chunk, &read);
            if (FAILED(hr))
                return hr;
            bytes.insert(bytes.end(), buffer, buffer + read);
            if (read < chunk)
                break;
        }
        if (size <= 0 && bytes.size() >= MaxPictureBytes)
            return CTL_E_INVALIDPICTURE;
        codecs::Image image;
        bool icon = false;
        if (!DecodePicture(bytes, image, icon) || image.Empty())
            return CTL_E_INVALIDPICTURE;
        auto picture = new Picture(std::move(image), icon, std::move(bytes));
        *object = static_cast<IPicture*>(picture);
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
