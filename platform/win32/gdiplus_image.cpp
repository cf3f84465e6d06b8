// GDI+ images and bitmaps: decoded from BMP, PNG, JPEG, GIF and icon files or streams, made from
// memory and GDI bitmaps, read and written pixel by pixel or locked, turned, scaled and saved.
#include <cmath>
#include <cstring>

#include "platform/backend/file.h"
#include "platform/codecs/Bmp.h"
#include "platform/codecs/Gif.h"
#include "platform/codecs/Ico.h"
#include "platform/codecs/Jpeg.h"
#include "platform/codecs/Png.h"
#include "platform/rtl/UString.h"
#include "platform/win32/gdiplus_private.h"

namespace gdiplus {

ImageObject* FindImage(const void* handle) {
    return Find<ImageObject>(handle);
}

GpImage* AddImage(std::unique_ptr<ImageObject> image) {
    return Add<GpBitmap>(std::move(image));
}

} // namespace gdiplus

using namespace gdiplus;

namespace {

constexpr UINT ImageFlagsHasAlpha = 0x0002;
constexpr UINT ImageFlagsColorSpaceRGB = 0x0010;
constexpr UINT ImageFlagsHasRealPixelSize = 0x2000;

// Larger files than this are refused before reading: no picture the program shows comes close.
constexpr std::int64_t MaxFileBytes = std::int64_t{512} << 20;

gp::Bitmap ToBitmap(codecs::Image&& image) {
    gp::Bitmap bitmap;
    bitmap.width = image.width;
    bitmap.height = image.height;
    bitmap.pixels = std::move(image.pixels);
    return bitmap;
}

PixelFormat FormatOfDepth(int bits, bool alpha) {
    if (alpha)
        return PixelFormat32bppARGB;
    switch (bits) {
    case 1:
        return PixelFormat1bppIndexed;
    case 2:
    case 4:
        return PixelFormat4bppIndexed;
    case 8:
        return PixelFormat8bppIndexed;
    case 15:
        return PixelFormat16bppRGB555;
    case 16:
        return PixelFormat16bppRGB565;
    case 24:
        return PixelFormat24bppRGB;
    case 48:
        return PixelFormat48bppRGB;
    case 64:
        return PixelFormat64bppARGB;
    default:
        return PixelFormat32bppRGB;
    }
}

Status StatusOf(const codecs::CodecError& error) {
    return error.kind == codecs::CodecErrorKind::TooLarge ? OutOfMemory : UnknownImageFormat;
}

// Decodes a picture file into a new image object.
Status Decode(codecs::ByteSpan data, std::unique_ptr<ImageObject>& image) {
    auto object = std::make_unique<ImageObject>();
    switch (codecs::DetectImageFormat(data)) {
    case codecs::ImageFormat::Bmp: {
        auto result = codecs::DecodeBmp(data);
        if (!result)
            return StatusOf(result.Error());
        codecs::Image& img = result.Value();
        object->format = FormatOfDepth(img.bitsPerPixel, img.hasAlpha);
        object->rawFormat = ImageFormatBMP;
        object->bitmap = ToBitmap(std::move(img));
        break;
    }
    case codecs::ImageFormat::Png: {
        auto result = codecs::DecodePng(data);
        if (!result)
            return StatusOf(result.Error());
        codecs::Image& img = result.Value();
        object->format = FormatOfDepth(img.bitsPerPixel, img.hasAlpha);
        object->rawFormat = ImageFormatPNG;
        object->bitmap = ToBitmap(std::move(img));
        break;
    }
    case codecs::ImageFormat::Jpeg: {
        auto result = codecs::DecodeJpeg(data);
        if (!result)
            return StatusOf(result.Error());
        codecs::Image& img = result.Value();
        object->format = img.bitsPerPixel == 8 ? PixelFormat8bppIndexed : PixelFormat24bppRGB;
        object->rawFormat = ImageFormatJPEG;
        object->bitmap = ToBitmap(std::move(img));
        break;
    }
    case codecs::ImageFormat::Gif: {
        auto result = codecs::DecodeGif(data);
        if (!result)
            return StatusOf(result.Error());
        auto frames = codecs::ComposeGifFrames(result.Value());
        if (!frames)
            return StatusOf(frames.Error());
        for (codecs::Image& frame : frames.Value())
            object->frames.push_back(ToBitmap(std::move(frame)));
        if (object->frames.empty())
            return UnknownImageFormat;
        object->bitmap = object->frames.front();
        if (object->frames.size() == 1)
            object->frames.clear();
        object->format = PixelFormat8bppIndexed;
        object->rawFormat = ImageFormatGIF;
        break;
    }
    case codecs::ImageFormat::Ico:
    case codecs::ImageFormat::Cur: {
        auto result = codecs::DecodeIco(data);
        if (!result)
            return StatusOf(result.Error());
        if (result.Value().images.empty())
            return UnknownImageFormat;
        // The first picture of the file, as the file lists them.
        codecs::Image& img = result.Value().images.front().image;
        object->format = PixelFormat32bppARGB;
        object->rawFormat = ImageFormatIcon;
        object->bitmap = ToBitmap(std::move(img));
        break;
    }
    default:
        return UnknownImageFormat;
    }
    if (object->bitmap.width <= 0 || object->bitmap.height <= 0)
        return UnknownImageFormat;
    image = std::move(object);
    return Ok;
}

Status LoadFile(const WCHAR* fileName, GpImage** image) {
    GP_STARTED();
    if (!fileName || !image)
        return InvalidParameter;
    return Guard([&] {
        std::string path = StringToUtf8(StringView(fileName));
        backend::FileStamp stamp = backend::StatFile(path);
        if (!backend::FileExists(path))
            return FileNotFound;
        if (stamp.size > MaxFileBytes)
            return OutOfMemory;
        std::string contents;
        int error = 0;
        if (!backend::ReadWholeFile(path, contents, &error))
            return FileNotFound;
        std::unique_ptr<ImageObject> object;
        Status status =
            Decode(codecs::ByteSpan(reinterpret_cast<const std::uint8_t*>(contents.data()), contents.size()),
                   object);
        if (status != Ok)
            return status;
        *image = AddImage(std::move(object));
        return Ok;
    });
}

Status LoadStream(IStream* stream, GpImage** image) {
    GP_STARTED();
    if (!stream || !image)
        return InvalidParameter;
    return Guard([&] {
        // The whole stream is the picture, wherever its position was left: callers commonly write the
        // bytes into a new stream and hand it over without rewinding.
        stream->Seek(LARGE_INTEGER{0}, STREAM_SEEK_SET, nullptr);
        std::vector<std::uint8_t> bytes;
        std::uint8_t buffer[65536];
        for (;;) {
            ULONG read = 0;
            HRESULT hr = stream->Read(buffer, sizeof(buffer), &read);
            if (FAILED(hr))
                return Win32Error;
            if (static_cast<std::int64_t>(bytes.size()) + read > MaxFileBytes)
                return OutOfMemory;
            bytes.insert(bytes.end(), buffer, buffer + read);
            if (read < sizeof(buffer))
                break;
        }
        std::unique_ptr<ImageObject> object;
        Status status = Decode(bytes, object);
        if (status != Ok)
            return status;
        *image = AddImage(std::move(object));
        return Ok;
    });
}

size_t PixelCount(const gp::Bitmap& bitmap) {
    return static_cast<size_t>(bitmap.width) * static_cast<size_t>(bitmap.height);
}

// Bytes per pixel of the formats pixels can be exchanged in.
int BytesPerPixel(PixelFormat format) {
    switch (format) {
    case PixelFormat32bppARGB:
    case PixelFormat32bppPARGB:
    case PixelFormat32bppRGB:
        return 4;
    case PixelFormat24bppRGB:
        return 3;
    case PixelFormat16bppRGB555:
    case PixelFormat16bppRGB565:
    case PixelFormat16bppARGB1555:
        return 2;
    default:
        return 0;
    }
}

ARGB ReadPixel(const std::uint8_t* p, PixelFormat format) {
    switch (format) {
    case PixelFormat32bppARGB:
        return static_cast<ARGB>(p[0] | (p[1] << 8) | (p[2] << 16)) | (static_cast<ARGB>(p[3]) << 24);
    case PixelFormat32bppPARGB: {
        ARGB a = p[3];
        if (a == 0)
            return 0;
        auto un = [&](int v) {
            return static_cast<ARGB>(std::min<ARGB>(255, (static_cast<ARGB>(v) * 255 + a / 2) / a));
        };
        return (a << 24) | (un(p[2]) << 16) | (un(p[1]) << 8) | un(p[0]);
    }
    case PixelFormat32bppRGB:
    case PixelFormat24bppRGB:
        return 0xFF000000u | static_cast<ARGB>(p[0] | (p[1] << 8) | (p[2] << 16));
    case PixelFormat16bppRGB565: {
        unsigned v = p[0] | (p[1] << 8);
        ARGB r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
        return 0xFF000000u | (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) |
               ((b << 3) | (b >> 2));
    }
    default: { // 555 and 1555
        unsigned v = p[0] | (p[1] << 8);
        ARGB r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
        ARGB a = format == PixelFormat16bppARGB1555 && !(v & 0x8000) ? 0 : 0xFF;
        return (a << 24) | (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) |
               ((b << 3) | (b >> 2));
    }
    }
}

void WritePixel(std::uint8_t* p, PixelFormat format, ARGB c) {
    ARGB a = c >> 24, r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    switch (format) {
    case PixelFormat32bppARGB:
    case PixelFormat32bppRGB:
        p[0] = static_cast<std::uint8_t>(b);
        p[1] = static_cast<std::uint8_t>(g);
        p[2] = static_cast<std::uint8_t>(r);
        p[3] = static_cast<std::uint8_t>(format == PixelFormat32bppRGB ? 0xFF : a);
        break;
    case PixelFormat32bppPARGB:
        p[0] = static_cast<std::uint8_t>((b * a + 127) / 255);
        p[1] = static_cast<std::uint8_t>((g * a + 127) / 255);
        p[2] = static_cast<std::uint8_t>((r * a + 127) / 255);
        p[3] = static_cast<std::uint8_t>(a);
        break;
    case PixelFormat24bppRGB:
        p[0] = static_cast<std::uint8_t>(b);
        p[1] = static_cast<std::uint8_t>(g);
        p[2] = static_cast<std::uint8_t>(r);
        break;
    case PixelFormat16bppRGB565: {
        unsigned v = ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
        break;
    }
    default: {
        unsigned v = ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3) | (a >= 128 ? 0x8000 : 0);
        p[0] = static_cast<std::uint8_t>(v);
        p[1] = static_cast<std::uint8_t>(v >> 8);
        break;
    }
    }
}

bool ValidFormat(PixelFormat format) {
    return BytesPerPixel(format) > 0 || format == PixelFormat1bppIndexed ||
           format == PixelFormat4bppIndexed || format == PixelFormat8bppIndexed;
}

gp::Bitmap Scaled(const gp::Bitmap& source, int width, int height) {
    gp::Bitmap result;
    result.width = width;
    result.height = height;
    result.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    // Each output pixel averages the source pixels under it.
    for (int y = 0; y < height; ++y) {
        auto y0 = static_cast<int>(std::int64_t{y} * source.height / height);
        int y1 = std::max(y0 + 1, static_cast<int>(std::int64_t{y + 1} * source.height / height));
        for (int x = 0; x < width; ++x) {
            auto x0 = static_cast<int>(std::int64_t{x} * source.width / width);
            int x1 = std::max(x0 + 1, static_cast<int>(std::int64_t{x + 1} * source.width / width));
            std::uint64_t sum[4] = {0, 0, 0, 0};
            int n = 0;
            for (int sy = y0; sy < y1 && sy < source.height; ++sy)
                for (int sx = x0; sx < x1 && sx < source.width; ++sx, ++n) {
                    ARGB c = source.pixels[static_cast<size_t>(sy) * source.width + sx];
                    for (int k = 0; k < 4; ++k)
                        sum[k] += (c >> (8 * k)) & 0xFF;
                }
            ARGB c = 0;
            for (int k = 0; k < 4; ++k)
                c |= static_cast<ARGB>(n ? sum[k] / n : 0) << (8 * k);
            result.pixels[static_cast<size_t>(y) * width + x] = c;
        }
    }
    return result;
}

codecs::Image ToCodecImage(const ImageObject& image) {
    codecs::Image result;
    result.width = image.bitmap.width;
    result.height = image.bitmap.height;
    result.pixels = image.bitmap.pixels;
    result.hasAlpha = (image.format & PixelFormatAlpha) != 0;
    if (!result.hasAlpha)
        for (std::uint32_t& p : result.pixels)
            p |= 0xFF000000u;
    return result;
}

Status Encode(const ImageObject& image, const CLSID* encoder, const EncoderParameters* params,
              codecs::Bytes& bytes) {
    if (!encoder)
        return InvalidParameter;
    codecs::Image picture = ToCodecImage(image);
    codecs::Result<codecs::Bytes> result =
        codecs::CodecError{codecs::CodecErrorKind::InvalidArgument, String()};
    if (*encoder == EncoderClsidBMP) {
        result = codecs::EncodeBmp(picture);
    } else if (*encoder == EncoderClsidPNG) {
        result = codecs::EncodePng(picture);
    } else if (*encoder == EncoderClsidJPEG) {
        codecs::JpegWriteOptions options;
        if (params)
            for (UINT i = 0; i < params->Count; ++i)
                if (params->Parameter[i].Guid == EncoderQuality && params->Parameter[i].NumberOfValues >= 1 &&
                    params->Parameter[i].Value)
                    options.quality = std::clamp<int>(
                        static_cast<int>(*static_cast<const ULONG*>(params->Parameter[i].Value)), 1, 100);
        result = codecs::EncodeJpeg(picture, options);
    } else if (*encoder == EncoderClsidGIF) {
        std::vector<codecs::GifWriteFrame> frames(1);
        frames[0].image = std::move(picture);
        result = codecs::EncodeGif(frames);
    } else {
        return UnknownImageFormat;
    }
    if (!result)
        return result.Error().kind == codecs::CodecErrorKind::TooLarge ? OutOfMemory : Win32Error;
    bytes = std::move(result.Value());
    return Ok;
}

#define GP_IMAGE(name, handle)                                                                               \
    GP_STARTED();                                                                                            \
    ImageObject* name = FindImage(handle);                                                                   \
    if (!name)                                                                                               \
        return InvalidParameter;

} // namespace

Status GdipLoadImageFromFile(const WCHAR* fileName, GpImage** image) {
    return LoadFile(fileName, image);
}

Status GdipLoadImageFromFileICM(const WCHAR* fileName, GpImage** image) {
    return LoadFile(fileName, image);
}

Status GdipLoadImageFromStream(IStream* stream, GpImage** image) {
    return LoadStream(stream, image);
}

Status GdipLoadImageFromStreamICM(IStream* stream, GpImage** image) {
    return LoadStream(stream, image);
}

Status GdipCreateBitmapFromFile(const WCHAR* fileName, GpBitmap** bitmap) {
    return LoadFile(fileName, reinterpret_cast<GpImage**>(bitmap));
}

Status GdipCreateBitmapFromFileICM(const WCHAR* fileName, GpBitmap** bitmap) {
    return LoadFile(fileName, reinterpret_cast<GpImage**>(bitmap));
}

Status GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap) {
    return LoadStream(stream, reinterpret_cast<GpImage**>(bitmap));
}

Status GdipCreateBitmapFromStreamICM(IStream* stream, GpBitmap** bitmap) {
    return LoadStream(stream, reinterpret_cast<GpImage**>(bitmap));
}

Status GdipCreateBitmapFromScan0(INT width, INT height, INT stride, PixelFormat format, BYTE* scan0,
                                 GpBitmap** bitmap) {
    GP_STARTED();
    if (!bitmap || width <= 0 || height <= 0 || !ValidFormat(format) || (scan0 && stride == 0))
        return InvalidParameter;
    if (static_cast<std::int64_t>(width) * height > codecs::MaxImagePixels)
        return OutOfMemory;
    int bytes = BytesPerPixel(format);
    if (scan0 && (bytes == 0 ||
                  std::abs(static_cast<std::int64_t>(stride)) < static_cast<std::int64_t>(width) * bytes))
        return InvalidParameter;
    return Guard([&] {
        auto object = std::make_unique<ImageObject>();
        object->format = format;
        object->rawFormat = ImageFormatMemoryBMP;
        object->bitmap.width = width;
        object->bitmap.height = height;
        // New pixels are transparent black, or opaque black in formats without alpha.
        object->bitmap.pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height),
                                     (format & PixelFormatAlpha) ? 0u : 0xFF000000u);
        if (scan0)
            for (INT y = 0; y < height; ++y) {
                const std::uint8_t* row = scan0 + static_cast<std::ptrdiff_t>(y) * stride;
                for (INT x = 0; x < width; ++x)
                    object->bitmap.pixels[static_cast<size_t>(y) * width + x] =
                        ReadPixel(row + x * bytes, format);
            }
        *bitmap = static_cast<GpBitmap*>(AddImage(std::move(object)));
        return Ok;
    });
}

Status GdipCreateBitmapFromHBITMAP(HBITMAP hbitmap, HPALETTE palette, GpBitmap** bitmap) {
    GP_STARTED();
    BITMAP info{};
    if (!bitmap || !hbitmap || GetObjectW(hbitmap, sizeof(info), &info) == 0 || info.bmWidth <= 0 ||
        info.bmHeight <= 0)
        return InvalidParameter;
    return Guard([&] {
        auto object = std::make_unique<ImageObject>();
        object->format = PixelFormat32bppRGB;
        object->rawFormat = ImageFormatMemoryBMP;
        object->bitmap.width = info.bmWidth;
        object->bitmap.height = info.bmHeight;
        object->bitmap.pixels.resize(PixelCount(object->bitmap));
        BITMAPINFO header{};
        header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        header.bmiHeader.biWidth = info.bmWidth;
        header.bmiHeader.biHeight = -info.bmHeight;
        header.bmiHeader.biPlanes = 1;
        header.bmiHeader.biBitCount = 32;
        header.bmiHeader.biCompression = BI_RGB;
        HDC dc = CreateCompatibleDC(nullptr);
        int lines = GetDIBits(dc, hbitmap, 0, static_cast<UINT>(info.bmHeight), object->bitmap.pixels.data(),
                              &header, DIB_RGB_COLORS);
        DeleteDC(dc);
        if (lines == 0)
            return Win32Error;
        for (std::uint32_t& p : object->bitmap.pixels)
            p |= 0xFF000000u;
        *bitmap = static_cast<GpBitmap*>(AddImage(std::move(object)));
        return Ok;
    });
}

Status GdipCreateBitmapFromGraphics(INT width, INT height, GpGraphics* target, GpBitmap** bitmap) {
    GP_OBJECT(GraphicsObject, g, target);
    return GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, nullptr, bitmap);
}

Status GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* hbitmap, ARGB background) {
    GP_IMAGE(img, bitmap);
    if (!hbitmap)
        return InvalidParameter;
    if (img->locked)
        return ObjectBusy;
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    header.bmiHeader.biWidth = img->bitmap.width;
    header.bmiHeader.biHeight = -img->bitmap.height;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    header.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP result = CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!result || !bits)
        return OutOfMemory;
    auto out = static_cast<std::uint32_t*>(bits);
    // Each pixel composed over the background; what stays transparent keeps premultiplied colour.
    ARGB ba = background >> 24;
    for (size_t i = 0; i < img->bitmap.pixels.size(); ++i) {
        ARGB c = img->bitmap.pixels[i], a = c >> 24;
        ARGB alpha = a + ba * (255 - a) / 255;
        auto channel = [&](int shift) {
            ARGB s = (c >> shift) & 0xFF, d = (background >> shift) & 0xFF;
            return ((s * a + d * ba * (255 - a) / 255) / 255) << shift;
        };
        out[i] = (alpha << 24) | channel(16) | channel(8) | channel(0);
    }
    *hbitmap = result;
    return Ok;
}

Status GdipCloneImage(GpImage* image, GpImage** clone) {
    GP_IMAGE(img, image);
    if (!clone)
        return InvalidParameter;
    return Guard([&] {
        auto copy = std::make_unique<ImageObject>(*img);
        copy->locked = false;
        copy->lockBuffer.clear();
        *clone = AddImage(std::move(copy));
        return Ok;
    });
}

Status GdipCloneBitmapAreaI(INT x, INT y, INT width, INT height, PixelFormat format, GpBitmap* source,
                            GpBitmap** clone) {
    GP_IMAGE(img, source);
    if (!clone || width <= 0 || height <= 0 || x < 0 || y < 0 ||
        std::int64_t{x} + width > img->bitmap.width || std::int64_t{y} + height > img->bitmap.height)
        return InvalidParameter;
    return Guard([&] {
        auto copy = std::make_unique<ImageObject>();
        copy->format = format == PixelFormatDontCare ? img->format : format;
        copy->rawFormat = img->rawFormat;
        copy->bitmap.width = width;
        copy->bitmap.height = height;
        copy->bitmap.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (INT row = 0; row < height; ++row)
            std::copy_n(img->bitmap.pixels.begin() +
                            static_cast<std::ptrdiff_t>(y + row) * img->bitmap.width + x,
                        width, copy->bitmap.pixels.begin() + static_cast<std::ptrdiff_t>(row) * width);
        *clone = static_cast<GpBitmap*>(AddImage(std::move(copy)));
        return Ok;
    });
}

Status GdipDisposeImage(GpImage* image) {
    GP_IMAGE(img, image);
    RemoveEntry(image);
    return Ok;
}

Status GdipGetImageWidth(GpImage* image, UINT* width) {
    GP_IMAGE(img, image);
    if (!width)
        return InvalidParameter;
    *width = static_cast<UINT>(img->bitmap.width);
    return Ok;
}

Status GdipGetImageHeight(GpImage* image, UINT* height) {
    GP_IMAGE(img, image);
    if (!height)
        return InvalidParameter;
    *height = static_cast<UINT>(img->bitmap.height);
    return Ok;
}

Status GdipGetImageDimension(GpImage* image, REAL* width, REAL* height) {
    GP_IMAGE(img, image);
    if (!width || !height)
        return InvalidParameter;
    *width = static_cast<REAL>(img->bitmap.width);
    *height = static_cast<REAL>(img->bitmap.height);
    return Ok;
}

Status GdipGetImageType(GpImage* image, ImageType* type) {
    GP_IMAGE(img, image);
    if (!type)
        return InvalidParameter;
    *type = ImageTypeBitmap;
    return Ok;
}

Status GdipGetImageRawFormat(GpImage* image, GUID* format) {
    GP_IMAGE(img, image);
    if (!format)
        return InvalidParameter;
    *format = img->rawFormat;
    return Ok;
}

Status GdipGetImagePixelFormat(GpImage* image, PixelFormat* format) {
    GP_IMAGE(img, image);
    if (!format)
        return InvalidParameter;
    *format = img->format;
    return Ok;
}

Status GdipGetImageFlags(GpImage* image, UINT* flags) {
    GP_IMAGE(img, image);
    if (!flags)
        return InvalidParameter;
    *flags = ImageFlagsHasRealPixelSize | ImageFlagsColorSpaceRGB;
    if (img->format & PixelFormatAlpha)
        *flags |= ImageFlagsHasAlpha;
    return Ok;
}

Status GdipGetImageHorizontalResolution(GpImage* image, REAL* resolution) {
    GP_IMAGE(img, image);
    if (!resolution)
        return InvalidParameter;
    *resolution = img->dpiX;
    return Ok;
}

Status GdipGetImageVerticalResolution(GpImage* image, REAL* resolution) {
    GP_IMAGE(img, image);
    if (!resolution)
        return InvalidParameter;
    *resolution = img->dpiY;
    return Ok;
}

Status GdipImageRotateFlip(GpImage* image, RotateFlipType type) {
    GP_IMAGE(img, image);
    if (type < RotateNoneFlipNone || type > Rotate270FlipX)
        return InvalidParameter;
    if (img->locked)
        return ObjectBusy;
    return Guard([&] {
        auto turn = [&](gp::Bitmap& b) {
            int quarter = type & 3;
            bool flipX = type >= RotateNoneFlipX;
            int w = b.width, h = b.height;
            int nw = quarter % 2 ? h : w, nh = quarter % 2 ? w : h;
            std::vector<std::uint32_t> out(b.pixels.size());
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    int tx = x, ty = y;
                    switch (quarter) { // clockwise turns
                    case 1:
                        tx = h - 1 - y;
                        ty = x;
                        break;
                    case 2:
                        tx = w - 1 - x;
                        ty = h - 1 - y;
                        break;
                    case 3:
                        tx = y;
                        ty = w - 1 - x;
                        break;
                    default:
                        break;
                    }
                    if (flipX)
                        tx = nw - 1 - tx;
                    out[static_cast<size_t>(ty) * nw + tx] = b.pixels[static_cast<size_t>(y) * w + x];
                }
            b.width = nw;
            b.height = nh;
            b.pixels = std::move(out);
        };
        turn(img->bitmap);
        for (gp::Bitmap& frame : img->frames)
            turn(frame);
        return Ok;
    });
}

Status GdipGetImageThumbnail(GpImage* image, UINT width, UINT height, GpImage** thumbnail,
                             GetThumbnailImageAbort callback, void* callbackData) {
    GP_IMAGE(img, image);
    if (!thumbnail || width > 65535 || height > 65535)
        return InvalidParameter;
    if (width == 0 && height == 0)
        width = height = 120;
    if (width == 0 || height == 0)
        return InvalidParameter;
    if (std::int64_t{width} * height > codecs::MaxImagePixels)
        return OutOfMemory;
    if (callback && callback(callbackData))
        return Aborted;
    return Guard([&] {
        auto object = std::make_unique<ImageObject>();
        object->format = PixelFormat32bppPARGB;
        object->rawFormat = ImageFormatMemoryBMP;
        object->bitmap = Scaled(img->bitmap, static_cast<int>(width), static_cast<int>(height));
        *thumbnail = AddImage(std::move(object));
        return Ok;
    });
}

Status GdipImageGetFrameCount(GpImage* image, const GUID* dimension, UINT* count) {
    GP_IMAGE(img, image);
    if (!dimension || !count)
        return InvalidParameter;
    bool time = *dimension == FrameDimensionTime;
    if (!time && !(*dimension == FrameDimensionPage))
        return InvalidParameter;
    *count = time && !img->frames.empty() ? static_cast<UINT>(img->frames.size()) : 1;
    return Ok;
}

Status GdipImageSelectActiveFrame(GpImage* image, const GUID* dimension, UINT index) {
    GP_IMAGE(img, image);
    if (!dimension)
        return InvalidParameter;
    if (img->locked)
        return ObjectBusy;
    UINT count = img->frames.empty() ? 1 : static_cast<UINT>(img->frames.size());
    if (index >= count)
        return InvalidParameter;
    if (!img->frames.empty()) {
        img->bitmap = img->frames[index];
        img->activeFrame = index;
    }
    return Ok;
}

Status GdipSaveImageToFile(GpImage* image, const WCHAR* fileName, const CLSID* encoder,
                           const EncoderParameters* params) {
    GP_IMAGE(img, image);
    if (!fileName)
        return InvalidParameter;
    return Guard([&] {
        codecs::Bytes bytes;
        Status status = Encode(*img, encoder, params, bytes);
        if (status != Ok)
            return status;
        int error = 0;
        if (!backend::WriteFileAtomically(StringToUtf8(StringView(fileName)),
                                          std::string(bytes.begin(), bytes.end()), &error))
            return Win32Error;
        return Ok;
    });
}

Status GdipSaveImageToStream(GpImage* image, IStream* stream, const CLSID* encoder,
                             const EncoderParameters* params) {
    GP_IMAGE(img, image);
    if (!stream)
        return InvalidParameter;
    return Guard([&] {
        codecs::Bytes bytes;
        Status status = Encode(*img, encoder, params, bytes);
        if (status != Ok)
            return status;
        ULONG written = 0;
        if (FAILED(stream->Write(bytes.data(), static_cast<ULONG>(bytes.size()), &written)) ||
            written != bytes.size())
            return Win32Error;
        return Ok;
    });
}

Status GdipSaveAdd(GpImage* image, const EncoderParameters* params) {
    GP_IMAGE(img, image);
    return NotImplemented;
}

Status GdipSaveAddImage(GpImage* image, GpImage* newImage, const EncoderParameters* params) {
    GP_IMAGE(img, image);
    if (!FindImage(newImage))
        return InvalidParameter;
    return NotImplemented;
}

Status GdipBitmapGetPixel(GpBitmap* bitmap, INT x, INT y, ARGB* color) {
    GP_IMAGE(img, bitmap);
    if (!color || x < 0 || y < 0 || x >= img->bitmap.width || y >= img->bitmap.height)
        return InvalidParameter;
    if (img->locked)
        return ObjectBusy;
    *color = img->bitmap.pixels[static_cast<size_t>(y) * img->bitmap.width + x];
    return Ok;
}

Status GdipBitmapSetPixel(GpBitmap* bitmap, INT x, INT y, ARGB color) {
    GP_IMAGE(img, bitmap);
    if (x < 0 || y < 0 || x >= img->bitmap.width || y >= img->bitmap.height ||
        (img->format & PixelFormatIndexed))
        return InvalidParameter;
    if (img->locked)
        return ObjectBusy;
    if (!(img->format & PixelFormatAlpha))
        color |= 0xFF000000u;
    img->bitmap.pixels[static_cast<size_t>(y) * img->bitmap.width + x] = color;
    return Ok;
}

Status GdipBitmapLockBits(GpBitmap* bitmap, const GpRect* rect, UINT flags, PixelFormat format,
                          BitmapData* data) {
    GP_IMAGE(img, bitmap);
    if (!data || !(flags & (ImageLockModeRead | ImageLockModeWrite)) || BytesPerPixel(format) == 0)
        return InvalidParameter;
    GpRect r = rect ? *rect : GpRect{0, 0, img->bitmap.width, img->bitmap.height};
    if (r.X < 0 || r.Y < 0 || r.Width <= 0 || r.Height <= 0 ||
        std::int64_t{r.X} + r.Width > img->bitmap.width || std::int64_t{r.Y} + r.Height > img->bitmap.height)
        return InvalidParameter;
    if (img->locked)
        return ObjectBusy;
    int bytes = BytesPerPixel(format);
    bool user = (flags & ImageLockModeUserInputBuf) != 0;
    if (user && (!data->Scan0 || std::abs(static_cast<std::int64_t>(data->Stride)) <
                                     static_cast<std::int64_t>(r.Width) * bytes))
        return InvalidParameter;
    return Guard([&] {
        INT stride = user ? data->Stride : ((r.Width * bytes + 3) & ~3);
        std::uint8_t* scan0 = nullptr;
        if (user) {
            scan0 = static_cast<std::uint8_t*>(data->Scan0);
        } else {
            img->lockBuffer.assign(static_cast<size_t>(stride) * static_cast<size_t>(r.Height), 0);
            scan0 = img->lockBuffer.data();
        }
        if (flags & ImageLockModeRead)
            for (INT y = 0; y < r.Height; ++y) {
                std::uint8_t* row = scan0 + static_cast<std::ptrdiff_t>(y) * stride;
                for (INT x = 0; x < r.Width; ++x)
                    WritePixel(
                        row + x * bytes, format,
                        img->bitmap.pixels[static_cast<size_t>(r.Y + y) * img->bitmap.width + r.X + x]);
            }
        img->locked = true;
        img->lockRect = r;
        img->lockFlags = flags;
        img->lockFormat = format;
        data->Width = static_cast<UINT>(r.Width);
        data->Height = static_cast<UINT>(r.Height);
        data->Stride = stride;
        data->PixelFormat = format;
        data->Scan0 = scan0;
        data->Reserved = 0;
        return Ok;
    });
}

Status GdipBitmapUnlockBits(GpBitmap* bitmap, BitmapData* data) {
    GP_IMAGE(img, bitmap);
    if (!data)
        return InvalidParameter;
    if (!img->locked)
        return WrongState;
    if ((img->lockFlags & ImageLockModeWrite) && data->Scan0) {
        const GpRect& r = img->lockRect;
        int bytes = BytesPerPixel(img->lockFormat);
        auto scan0 = static_cast<const std::uint8_t*>(data->Scan0);
        bool opaque = !(img->format & PixelFormatAlpha);
        for (INT y = 0; y < r.Height; ++y) {
            const std::uint8_t* row = scan0 + static_cast<std::ptrdiff_t>(y) * data->Stride;
            for (INT x = 0; x < r.Width; ++x) {
                ARGB c = ReadPixel(row + x * bytes, img->lockFormat);
                img->bitmap.pixels[static_cast<size_t>(r.Y + y) * img->bitmap.width + r.X + x] =
                    opaque ? c | 0xFF000000u : c;
            }
        }
    }
    img->locked = false;
    img->lockBuffer.clear();
    img->lockBuffer.shrink_to_fit();
    return Ok;
}
