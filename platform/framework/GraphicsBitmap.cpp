// TBitmap: a DIB section of the bitmap's pixel format with a canvas on a memory DC, read from and written
// to BMP files; and the drawing of decoded pixels the other picture classes share.
#include "platform/framework/Graphics.h"

#include <algorithm>
#include <cstring>

#include "platform/codecs/Bmp.h"
#include "platform/framework/GraphicsPrivate.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Streams.h"
#include "platform/win32/winuser.h"

// ---- Shared helpers ----

namespace graphics {

codecs::Bytes ReadRest(TStream& stream) {
    Int64 rest = stream.Size() - stream.Position();
    if (rest <= 0)
        return {};
    if (rest > INT32_MAX)
        throw EInvalidGraphic(Consts::SInvalidImage);
    codecs::Bytes bytes(static_cast<size_t>(rest));
    stream.ReadBuffer(bytes.data(), static_cast<Integer>(rest));
    return bytes;
}

void WriteAll(TStream& stream, const codecs::Bytes& bytes) {
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<Integer>(bytes.size()));
}

void DrawImage(HDC dc, const TRect& rect, const codecs::Image& image) {
    if (image.Empty() || rect.IsEmpty())
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr)
        return;
    // AlphaBlend takes premultiplied pixels.
    auto* out = static_cast<std::uint32_t*>(bits);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
        std::uint32_t p = image.pixels[i];
        std::uint32_t a = image.hasAlpha ? p >> 24 : 0xFF;
        std::uint32_t r = ((p >> 16) & 0xFF) * a / 255, g = ((p >> 8) & 0xFF) * a / 255,
                      b = (p & 0xFF) * a / 255;
        out[i] = (a << 24) | (r << 16) | (g << 8) | b;
    }
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(memory, section);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, rect.Left, rect.Top, rect.Width(), rect.Height(), memory, 0, 0, image.width, image.height,
               blend);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(section);
}

codecs::Image MaskByColor(const codecs::Image& image, COLORREF transparent) {
    codecs::Image result = image;
    std::uint32_t key = ((transparent & 0xFF) << 16) | (transparent & 0xFF00) | ((transparent >> 16) & 0xFF);
    for (std::uint32_t& p : result.pixels)
        p = (p & 0xFFFFFF) == key ? (p & 0xFFFFFF) : (p | 0xFF000000);
    result.hasAlpha = true;
    return result;
}

} // namespace graphics

// ---- The bitmap's canvas ----

class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* bitmap) : FBitmap(bitmap) {}
    ~TBitmapCanvas() override { FreeContext(); }

    void FreeContext() {
        if (FDC == nullptr)
            return;
        SetHandle(nullptr);
        SelectObject(FDC, FOldBitmap);
        DeleteDC(FDC);
        FDC = nullptr;
        FOldBitmap = nullptr;
    }

protected:
    void CreateHandle() override {
        FreeContext();
        FDC = CreateCompatibleDC(nullptr);
        if (FBitmap->FHandle != nullptr)
            FOldBitmap = SelectObject(FDC, FBitmap->FHandle);
        SetHandle(FDC);
    }

private:
    TBitmap* FBitmap;
    HDC FDC = nullptr;
    HGDIOBJ FOldBitmap = nullptr;
};

// ---- TBitmap ----

DEFINE_CLASS(TBitmap)

namespace {

int DepthOf(TPixelFormat format) {
    switch (format) {
    case pf1bit:
        return 1;
    case pf4bit:
        return 4;
    case pf8bit:
        return 8;
    case pf15bit:
        return 15;
    case pf16bit:
        return 16;
    case pf24bit:
        return 24;
    default:
        return 32;
    }
}

TPixelFormat FormatOfDepth(int depth, bool alpha) {
    switch (depth) {
    case 1:
        return pf1bit;
    case 4:
        return pf4bit;
    case 8:
        return pf8bit;
    case 15:
        return pf15bit;
    case 16:
        return pf16bit;
    case 24:
        return pf24bit;
    case 32:
        return pf32bit;
    default:
        return alpha ? pf32bit : pf24bit;
    }
}

RGBQUAD Quad(std::uint32_t argb) {
    return RGBQUAD{static_cast<BYTE>(argb & 0xFF), static_cast<BYTE>((argb >> 8) & 0xFF),
                   static_cast<BYTE>((argb >> 16) & 0xFF), 0};
}

// The table a new bitmap of the depth gets: black and white, the 16 standard colours, or a colour cube
// with greys.
std::vector<RGBQUAD> DefaultColors(int depth) {
    std::vector<RGBQUAD> colors;
    if (depth == 1) {
        colors = {Quad(0x000000), Quad(0xFFFFFF)};
    } else if (depth == 4) {
        for (std::uint32_t c :
             {0x000000u, 0x800000u, 0x008000u, 0x808000u, 0x000080u, 0x800080u, 0x008080u, 0x808080u,
              0xC0C0C0u, 0xFF0000u, 0x00FF00u, 0xFFFF00u, 0x0000FFu, 0xFF00FFu, 0x00FFFFu, 0xFFFFFFu})
            colors.push_back(Quad(c));
    } else if (depth == 8) {
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    colors.push_back(
                        Quad(static_cast<std::uint32_t>((r * 51) << 16 | (g * 51) << 8 | b * 51)));
        for (int i = 0; colors.size() < 256; ++i) {
            std::uint32_t v = static_cast<std::uint32_t>(i * 255 / 39);
            colors.push_back(Quad(v << 16 | v << 8 | v));
        }
    }
    return colors;
}

struct TDibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

TDibInfo TopDown32(int width, int height) {
    TDibInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = -height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 32;
    info.header.biCompression = BI_RGB;
    return info;
}

} // namespace

TBitmap::TBitmap() = default;

TBitmap::TBitmap(Integer width, Integer height) {
    SetSize(width, height);
}

TBitmap::~TBitmap() {
    FCanvas.reset();
    FreeHandle();
}

int TBitmap::BitCount() const {
    return DepthOf(FPixelFormat);
}

void TBitmap::FreeContext() {
    if (FCanvas)
        FCanvas->FreeContext();
}

void TBitmap::FreeHandle() {
    FreeContext();
    if (FHandle != nullptr)
        DeleteObject(FHandle);
    FHandle = nullptr;
    FBits = nullptr;
    FStride = 0;
}

void TBitmap::ReadPixels(std::vector<std::uint32_t>& argb) {
    argb.assign(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight), 0xFFFFFFFF);
    if (FHandle == nullptr)
        return;
    if (BitCount() == 32) {
        for (int y = 0; y < FHeight; ++y)
            std::memcpy(&argb[static_cast<size_t>(y) * static_cast<size_t>(FWidth)],
                        FBits + static_cast<size_t>(FHeight - 1 - y) * static_cast<size_t>(FStride),
                        static_cast<size_t>(FWidth) * 4);
        return;
    }
    TDibInfo info = TopDown32(FWidth, FHeight);
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, FHandle, 0, static_cast<UINT>(FHeight), argb.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteDC(dc);
    for (std::uint32_t& p : argb)
        p |= 0xFF000000;
}

void TBitmap::WritePixels(const std::vector<std::uint32_t>& argb) {
    if (FHandle == nullptr)
        return;
    if (BitCount() == 32) {
        for (int y = 0; y < FHeight; ++y)
            std::memcpy(FBits + static_cast<size_t>(FHeight - 1 - y) * static_cast<size_t>(FStride),
                        &argb[static_cast<size_t>(y) * static_cast<size_t>(FWidth)],
                        static_cast<size_t>(FWidth) * 4);
        return;
    }
    // Every pixel is written, so the indices start from zero: the conversion merges an 8-bit index
    // into the byte that is there.
    std::memset(FBits, 0, static_cast<size_t>(FStride) * static_cast<size_t>(FHeight));
    TDibInfo info = TopDown32(FWidth, FHeight);
    SetDIBits(nullptr, FHandle, 0, static_cast<UINT>(FHeight), argb.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
}

void TBitmap::Recreate(Integer width, Integer height, TPixelFormat format,
                       const std::vector<RGBQUAD>* colors) {
    if (width < 0 || height < 0)
        throw EInvalidGraphic(Consts::SInvalidImageSize);
    std::vector<std::uint32_t> old;
    Integer oldWidth = FWidth, oldHeight = FHeight;
    ReadPixels(old);
    // New parts take the colour of the canvas's brush, white for a bitmap that never had a canvas.
    std::uint32_t fill = 0xFFFFFFFF;
    if (FCanvas) {
        COLORREF c = ColorToRGB(FCanvas->Brush()->Color());
        fill = 0xFF000000 | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
    FreeHandle();
    FWidth = width;
    FHeight = height;
    FPixelFormat = format;
    int depth = BitCount();
    FColors = colors != nullptr ? *colors : DefaultColors(depth);
    if (depth > 8)
        FColors.clear();
    if (width > 0 && height > 0) {
        TDibInfo info{};
        info.header.biSize = sizeof(BITMAPINFOHEADER);
        info.header.biWidth = width;
        info.header.biHeight = height;
        info.header.biPlanes = 1;
        info.header.biBitCount = static_cast<WORD>(depth == 15 ? 16 : depth);
        info.header.biCompression = BI_RGB;
        if (depth == 16) {
            info.header.biCompression = BI_BITFIELDS;
            const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
            std::memcpy(info.colors, masks, sizeof masks);
        } else if (depth <= 8) {
            size_t count = std::min<size_t>(FColors.size(), size_t{1} << depth);
            info.header.biClrUsed = static_cast<DWORD>(count);
            std::copy_n(FColors.begin(), count, info.colors);
        }
        void* bits = nullptr;
        FHandle = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits,
                                   nullptr, 0);
        if (FHandle == nullptr)
            throw EOutOfMemory(Consts::SInvalidImageSize);
        FBits = static_cast<Byte*>(bits);
        FStride = ((width * (depth == 15 ? 16 : depth) + 31) / 32) * 4;
        std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height), fill);
        // A picture that had no pixels (a zero width or height) keeps none.
        const int keptRows = old.empty() ? 0 : std::min(height, oldHeight);
        for (int y = 0; y < keptRows; ++y)
            std::copy_n(&old[static_cast<size_t>(y) * static_cast<size_t>(oldWidth)],
                        std::min(width, oldWidth),
                        &pixels[static_cast<size_t>(y) * static_cast<size_t>(width)]);
        WritePixels(pixels);
    }
}

void TBitmap::SetSize(Integer width, Integer height) {
    if (width == FWidth && height == FHeight)
        return;
    std::vector<RGBQUAD> colors = FColors;
    Recreate(width, height, FPixelFormat, &colors);
    Changed(this);
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas) {
        FCanvas = std::make_unique<TBitmapCanvas>(this);
        FCanvas->OnChange = [this](TObject*) { Changed(this); };
    }
    return FCanvas.get();
}

HBITMAP TBitmap::Handle() {
    return FHandle;
}

void TBitmap::SetHandle(HBITMAP value) {
    if (value == FHandle)
        return;
    if (value == nullptr) {
        FreeHandle();
        FWidth = FHeight = 0;
        Changed(this);
        return;
    }
    BITMAP bm{};
    if (GetObjectW(value, sizeof bm, &bm) == 0)
        throw EInvalidGraphic(Consts::SInvalidBitmap);
    // The bitmap object is copied into a DIB section of its depth and then freed, as it now belongs to us.
    TPixelFormat format = bm.bmBitsPixel == 1 ? pf1bit : FormatOfDepth(bm.bmBitsPixel, false);
    FreeHandle();
    FWidth = FHeight = 0;
    Recreate(bm.bmWidth, bm.bmHeight, format, nullptr);
    std::vector<std::uint32_t> pixels(static_cast<size_t>(FWidth) * static_cast<size_t>(FHeight));
    TDibInfo info = TopDown32(FWidth, FHeight);
    HDC dc = CreateCompatibleDC(nullptr);
    GetDIBits(dc, value, 0, static_cast<UINT>(FHeight), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
    DeleteDC(dc);
    DeleteObject(value);
    for (std::uint32_t& p : pixels)
        p |= 0xFF000000;
    WritePixels(pixels);
    Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
    if (FHandle == nullptr)
        return nullptr;
    std::vector<std::uint32_t> pixels;
    ReadPixels(pixels);
    FreeContext();
    HBITMAP released = FHandle;
    FHandle = nullptr;
    FBits = nullptr;
    Integer width = FWidth, height = FHeight;
    FWidth = FHeight = 0;
    std::vector<RGBQUAD> colors = FColors;
    Recreate(width, height, FPixelFormat, &colors);
    WritePixels(pixels);
    return released;
}

void TBitmap::SetHandleType(TBitmapHandleType value) {
    if (value == HandleType())
        return;
    SetPixelFormat(value == bmDDB ? pfDevice : pf32bit);
}

bool TBitmap::Monochrome() const {
    auto same = [](const RGBQUAD& q, BYTE v) { return q.rgbRed == v && q.rgbGreen == v && q.rgbBlue == v; };
    return FPixelFormat == pf1bit && FColors.size() == 2 && same(FColors[0], 0) && same(FColors[1], 0xFF);
}

void TBitmap::SetMonochrome(bool value) {
    if (value == Monochrome())
        return;
    if (value) {
        std::vector<RGBQUAD> colors = DefaultColors(1);
        Recreate(FWidth, FHeight, pf1bit, &colors);
    } else {
        Recreate(FWidth, FHeight, pfDevice, nullptr);
    }
    Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
    if (value == pfCustom)
        throw EInvalidGraphic(Consts::SInvalidPixelFormat);
    if (value == FPixelFormat)
        return;
    Recreate(FWidth, FHeight, value, nullptr);
    Changed(this);
}

void TBitmap::SetAlphaFormat(TAlphaFormat value) {
    if (value != FAlphaFormat) {
        FAlphaFormat = value;
        Changed(this);
    }
}

void* TBitmap::ScanLine(Integer row) {
    if (row < 0 || row >= FHeight || FBits == nullptr)
        throw EInvalidGraphic(Consts::SScanLine);
    return FBits + static_cast<size_t>(FHeight - 1 - row) * static_cast<size_t>(FStride);
}

TColor TBitmap::TransparentColor() {
    if (FTransparentMode == tmFixed)
        return FTransparentColor;
    if (Empty())
        return clDefault;
    // The framework marks a colour taken from the picture with $02000000.
    return static_cast<TColor>(Canvas()->Pixels(0, FHeight - 1)) | 0x02000000;
}

void TBitmap::SetTransparentColor(TColor value) {
    if (value == FTransparentColor && FTransparentMode == (value == clDefault ? tmAuto : tmFixed))
        return;
    FTransparentColor = value;
    FTransparentMode = value == clDefault ? tmAuto : tmFixed;
    Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
    if (value == FTransparentMode)
        return;
    if (value == tmAuto)
        SetTransparentColor(clDefault);
    else
        SetTransparentColor(TransparentColor());
}

void TBitmap::Dormant() {
    FreeContext();
}

void TBitmap::Assign(TPersistent* source) {
    if (source == this)
        return;
    if (source == nullptr) {
        FreeHandle();
        FWidth = FHeight = 0;
        Changed(this);
        return;
    }
    auto* bitmap = dynamic_cast<TBitmap*>(source);
    if (bitmap == nullptr) {
        TGraphic::Assign(source);
        return;
    }
    std::vector<std::uint32_t> pixels;
    bitmap->ReadPixels(pixels);
    FreeHandle();
    FWidth = FHeight = 0;
    std::vector<RGBQUAD> colors = bitmap->FColors;
    Recreate(bitmap->FWidth, bitmap->FHeight, bitmap->FPixelFormat, &colors);
    WritePixels(pixels);
    FAlphaFormat = bitmap->FAlphaFormat;
    FTransparentColor = bitmap->FTransparentColor;
    FTransparentMode = bitmap->FTransparentMode;
    SetTransparent(bitmap->Transparent());
    Changed(this);
}

void TBitmap::LoadFromImage(const codecs::Image& image) {
    std::vector<RGBQUAD> colors;
    for (std::uint32_t c : image.palette)
        colors.push_back(Quad(c));
    TPixelFormat format = FormatOfDepth(image.bitsPerPixel, image.hasAlpha);
    if (DepthOf(format) <= 8 && colors.empty())
        format = pf24bit;
    FreeHandle();
    FWidth = FHeight = 0;
    Recreate(image.width, image.height, format, &colors);
    std::vector<std::uint32_t> pixels = image.pixels;
    if (!image.hasAlpha)
        for (std::uint32_t& p : pixels)
            p |= 0xFF000000;
    WritePixels(pixels);
    Changed(this);
}

codecs::Image TBitmap::ToImage() {
    codecs::Image image;
    image.width = FWidth;
    image.height = FHeight;
    ReadPixels(image.pixels);
    image.bitsPerPixel = BitCount();
    image.hasAlpha = FPixelFormat == pf32bit;
    for (const RGBQUAD& q : FColors)
        image.palette.push_back(0xFF000000u | static_cast<std::uint32_t>(q.rgbRed) << 16 |
                                static_cast<std::uint32_t>(q.rgbGreen) << 8 | q.rgbBlue);
    if (!image.hasAlpha)
        for (std::uint32_t& p : image.pixels)
            p |= 0xFF000000;
    return image;
}

void TBitmap::LoadFromResourceName(NativeUInt instance, const String& resName) {
    auto module = reinterpret_cast<HMODULE>(instance);
    HRSRC resource = FindResourceW(module, resName.c_str(), RT_BITMAP);
    if (resource == nullptr)
        throw EResNotFound(Consts::SResNotFound, {resName});
    codecs::ByteSpan bytes(static_cast<const std::uint8_t*>(LockResource(LoadResource(module, resource))),
                           SizeofResource(module, resource));
    codecs::Result<codecs::Image> image = bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M'
                                              ? codecs::DecodeBmp(bytes)
                                              : codecs::DecodeDib(bytes);
    if (!image)
        graphics::Raise<EInvalidGraphic>(image.Error());
    LoadFromImage(image.Value());
}

void TBitmap::LoadFromStream(TStream& stream) {
    // The file header tells how long the file is, so that what follows it in the stream stays unread.
    Byte header[14] = {};
    Int64 rest = stream.Size() - stream.Position();
    if (rest < static_cast<Int64>(sizeof header))
        throw EInvalidGraphic(Consts::SInvalidBitmap);
    stream.ReadBuffer(header, sizeof header);
    if (header[0] != 'B' || header[1] != 'M')
        throw EInvalidGraphic(Consts::SInvalidBitmap);
    Int64 fileSize = header[2] | header[3] << 8 | header[4] << 16 | static_cast<Int64>(header[5]) << 24;
    Int64 size = fileSize >= static_cast<Int64>(sizeof header) && fileSize <= rest ? fileSize : rest;
    codecs::Bytes bytes(static_cast<size_t>(size));
    std::memcpy(bytes.data(), header, sizeof header);
    if (size > static_cast<Int64>(sizeof header))
        stream.ReadBuffer(bytes.data() + sizeof header,
                          static_cast<Integer>(size - static_cast<Int64>(sizeof header)));
    codecs::Result<codecs::Image> image = codecs::DecodeBmp(bytes);
    if (!image)
        graphics::Raise<EInvalidGraphic>(image.Error());
    LoadFromImage(image.Value());
}

void TBitmap::SaveToStream(TStream& stream) {
    if (Empty())
        return;
    codecs::BmpWriteOptions options;
    options.bitsPerPixel = BitCount();
    codecs::Result<codecs::Bytes> bytes = codecs::EncodeBmp(ToImage(), options);
    if (!bytes)
        graphics::Raise<EInvalidGraphic>(bytes.Error());
    graphics::WriteAll(stream, bytes.Value());
}

void TBitmap::ReadData(TStream& stream) {
    Integer size = 0;
    stream.ReadBuffer(&size, sizeof size);
    if (size == 0) {
        Assign(nullptr);
        return;
    }
    if (size < 0 || size > stream.Size() - stream.Position())
        throw EInvalidGraphic(Consts::SInvalidBitmap);
    codecs::Bytes bytes(static_cast<size_t>(size));
    stream.ReadBuffer(bytes.data(), size);
    TMemoryStream data;
    data.WriteBuffer(bytes.data(), size);
    data.SetPosition(0);
    LoadFromStream(data);
}

void TBitmap::WriteData(TStream& stream) {
    TMemoryStream data;
    SaveToStream(data);
    Integer size = static_cast<Integer>(data.Size());
    stream.WriteBuffer(&size, sizeof size);
    if (size > 0)
        stream.WriteBuffer(data.Memory(), size);
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect) {
    if (Empty() || rect.IsEmpty())
        return;
    HDC dest = canvas->Handle();
    HDC source = Canvas()->Handle();
    if (Transparent()) {
        COLORREF key = ColorToRGB(TransparentColor()) & 0xFFFFFF;
        TransparentBlt(dest, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, FWidth, FHeight,
                       key);
    } else if (FPixelFormat == pf32bit && FAlphaFormat != afIgnored) {
        if (FAlphaFormat == afPremultiplied) {
            BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            AlphaBlend(dest, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, FWidth, FHeight,
                       blend);
        } else {
            codecs::Image image = ToImage();
            graphics::DrawImage(dest, rect, image);
        }
    } else {
        StretchBlt(dest, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, FWidth, FHeight,
                   static_cast<DWORD>(canvas->CopyMode()));
    }
}
