// Blits (PatBlt, BitBlt, StretchBlt, TransparentBlt, AlphaBlend, GradientFill) and device-independent
// bitmaps: DIB formats, DIB sections with direct pixel access, GetDIBits, SetDIBits, SetDIBitsToDevice
// and StretchDIBits.
#include <algorithm>
#include <cstring>

#include "platform/win32/gdi_private.h"

namespace gdi {

int DibStride(int width, int bitsPerPixel) {
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

size_t ColorTableSize(const BITMAPINFOHEADER& header) {
    if (header.biBitCount <= 8)
        return header.biClrUsed ? std::min<size_t>(header.biClrUsed, size_t{1} << header.biBitCount)
                                : size_t{1} << header.biBitCount;
    return 0;
}

namespace {

constexpr size_t MaxDibBytes = size_t{1} << 30;

// The layout of DIB pixels, and the conversion of one row to and from 32-bit pixels.
struct DibFormat {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    bool topDown = false;
    std::vector<RGBQUAD> colors;
    DWORD masks[3] = {0, 0, 0};
    int stride = 0;

    static int Shift(DWORD mask) {
        int s = 0;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++s;
        }
        return s;
    }
    static std::uint32_t Expand(std::uint32_t value, DWORD mask) {
        if (!mask)
            return 0;
        int shift = Shift(mask);
        std::uint32_t max = mask >> shift;
        return (((value & mask) >> shift) * 255 + max / 2) / max;
    }
    static std::uint32_t Compress(std::uint32_t channel, DWORD mask) {
        if (!mask)
            return 0;
        int shift = Shift(mask);
        std::uint32_t max = mask >> shift;
        return ((channel * max + 127) / 255) << shift;
    }
    bool StandardMasks() const { return masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF; }

    void DecodeRow(const std::uint8_t* src, std::uint32_t* out) const {
        for (int x = 0; x < width; ++x) {
            switch (bitsPerPixel) {
            case 1:
            case 4:
            case 8: {
                int bit = x * bitsPerPixel;
                unsigned index = (src[bit / 8] >> (8 - bitsPerPixel - bit % 8)) & ((1u << bitsPerPixel) - 1);
                RGBQUAD q = index < colors.size() ? colors[index] : RGBQUAD{0, 0, 0, 0};
                out[x] = (static_cast<std::uint32_t>(q.rgbRed) << 16) | (q.rgbGreen << 8) | q.rgbBlue;
                break;
            }
            case 16: {
                std::uint32_t v = src[x * 2] | (src[x * 2 + 1] << 8);
                out[x] = (Expand(v, masks[0]) << 16) | (Expand(v, masks[1]) << 8) | Expand(v, masks[2]);
                break;
            }
            case 24:
                out[x] = (src[x * 3 + 2] << 16) | (src[x * 3 + 1] << 8) | src[x * 3];
                break;
            case 32: {
                std::uint32_t v;
                std::memcpy(&v, src + x * 4, 4);
                out[x] = StandardMasks()
                             ? v
                             : (Expand(v, masks[0]) << 16) | (Expand(v, masks[1]) << 8) | Expand(v, masks[2]);
                break;
            }
            }
        }
    }

    unsigned Nearest(std::uint32_t pixel) const {
        int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
        unsigned best = 0;
        int bestDistance = INT32_MAX;
        for (size_t i = 0; i < colors.size(); ++i) {
            int dr = r - colors[i].rgbRed, dg = g - colors[i].rgbGreen, db = b - colors[i].rgbBlue;
            int distance = dr * dr + dg * dg + db * db;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = static_cast<unsigned>(i);
            }
        }
        return best;
    }

    void EncodeRow(const std::uint32_t* in, std::uint8_t* dst) const {
        // Palette indexes are merged into their bytes with OR, so the row starts from zero.
        if (bitsPerPixel <= 8)
            std::memset(dst, 0, static_cast<size_t>(stride));
        std::uint32_t lastPixel = 0xFFFFFFFF;
        unsigned lastIndex = 0;
        for (int x = 0; x < width; ++x) {
            std::uint32_t p = in[x] & 0xFFFFFF;
            switch (bitsPerPixel) {
            case 1:
            case 4:
            case 8: {
                if (p != lastPixel) {
                    lastPixel = p;
                    lastIndex = Nearest(p);
                }
                int bit = x * bitsPerPixel;
                dst[bit / 8] |= static_cast<std::uint8_t>(lastIndex << (8 - bitsPerPixel - bit % 8));
                break;
            }
            case 16: {
                std::uint32_t v = Compress((p >> 16) & 0xFF, masks[0]) | Compress((p >> 8) & 0xFF, masks[1]) |
                                  Compress(p & 0xFF, masks[2]);
                dst[x * 2] = v & 0xFF;
                dst[x * 2 + 1] = (v >> 8) & 0xFF;
                break;
            }
            case 24:
                dst[x * 3] = p & 0xFF;
                dst[x * 3 + 1] = (p >> 8) & 0xFF;
                dst[x * 3 + 2] = (p >> 16) & 0xFF;
                break;
            case 32: {
                std::uint32_t v = StandardMasks() ? p
                                                  : Compress((p >> 16) & 0xFF, masks[0]) |
                                                        Compress((p >> 8) & 0xFF, masks[1]) |
                                                        Compress(p & 0xFF, masks[2]);
                std::memcpy(dst + x * 4, &v, 4);
                break;
            }
            }
        }
    }
};

// The format a BITMAPINFO describes; false for compressed or unknown formats.
bool FormatOf(const BITMAPINFO* info, UINT usage, const Palette* palette, DibFormat& format) {
    if (!info)
        return false;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biWidth <= 0 || h.biHeight == 0 || h.biPlanes != 1)
        return false;
    int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return false;
    if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && (bpp == 16 || bpp == 32)))
        return false;
    format.width = h.biWidth;
    format.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    format.bitsPerPixel = bpp;
    format.topDown = h.biHeight < 0;
    format.stride = DibStride(format.width, bpp);
    if (static_cast<size_t>(format.stride) * static_cast<size_t>(format.height) > MaxDibBytes)
        return false;
    auto after = reinterpret_cast<const std::uint8_t*>(info) + h.biSize;
    if (bpp <= 8) {
        size_t count = ColorTableSize(h);
        format.colors.resize(count);
        for (size_t i = 0; i < count; ++i) {
            if (usage == DIB_PAL_COLORS) {
                WORD index;
                std::memcpy(&index, after + i * 2, 2);
                PALETTEENTRY e = palette && index < palette->entries.size() ? palette->entries[index]
                                                                            : PALETTEENTRY{0, 0, 0, 0};
                format.colors[i] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
            } else {
                std::memcpy(&format.colors[i], after + i * 4, 4);
            }
        }
    } else if (h.biCompression == BI_BITFIELDS) {
        // The masks follow a plain header; later headers hold them at the same place.
        auto masks = reinterpret_cast<const std::uint8_t*>(info) + sizeof(BITMAPINFOHEADER);
        std::memcpy(format.masks, masks, sizeof format.masks);
    } else if (bpp == 16) {
        format.masks[0] = 0x7C00;
        format.masks[1] = 0x03E0;
        format.masks[2] = 0x001F;
    } else {
        format.masks[0] = 0xFF0000;
        format.masks[1] = 0x00FF00;
        format.masks[2] = 0x0000FF;
    }
    return true;
}

// Colour tables GetDIBits gives to DIBs of 8 bits or fewer made from device-dependent bitmaps.
std::vector<RGBQUAD> DefaultColors(int bitsPerPixel) {
    std::vector<RGBQUAD> colors;
    if (bitsPerPixel == 1) {
        colors = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
    } else if (bitsPerPixel == 4) {
        const COLORREF vga[16] = {RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
                                  RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(128, 128, 128),
                                  RGB(192, 192, 192), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
                                  RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
        for (COLORREF c : vga)
            colors.push_back(RGBQUAD{GetBValue(c), GetGValue(c), GetRValue(c), 0});
    } else {
        // A 6 x 6 x 6 colour cube and 40 greys.
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    colors.push_back(RGBQUAD{static_cast<BYTE>(b * 51), static_cast<BYTE>(g * 51),
                                             static_cast<BYTE>(r * 51), 0});
        for (int i = 0; i < 40; ++i) {
            BYTE v = static_cast<BYTE>((i * 255 + 19) / 39);
            colors.push_back(RGBQUAD{v, v, v, 0});
        }
    }
    return colors;
}

// The image row that DIB scan line `scan` holds.
int RowOfScan(const DibFormat& format, int scan) {
    return format.topDown ? scan : format.height - 1 - scan;
}

// A blit rectangle in device pixels, unordered: a negative extent mirrors. As in GDI the pixel at the
// given corner belongs to a mirrored rectangle, which reaches from there towards smaller coordinates.
backend::Rect Extent(const DC& dc, int x, int y, int width, int height) {
    backend::Point a = dc.Map(x, y), b = dc.Map(x + width, y + height);
    backend::Rect r{a.x, a.y, b.x, b.y};
    if (r.right < r.left) {
        ++r.left;
        ++r.right;
    }
    if (r.bottom < r.top) {
        ++r.top;
        ++r.bottom;
    }
    return r;
}

// Source pixels of a DC for a blit.
bool SourceOf(HDC handle, std::shared_ptr<DC>& dc, backend::BlitSource& source) {
    dc = FindDC(handle);
    if (!dc || !dc->Device())
        return false;
    if (dc->state.bitmap && dc->state.bitmap->dibSection && !dc->state.bitmap->direct)
        dc->state.bitmap->SyncFromDib();
    source.pixels = dc->Device()->Pixels();
    source.monochrome = dc->Caps().bitsPerPixel == 1;
    source.backgroundColor = ToPixel(dc->state.bkColor);
    return source.pixels != nullptr;
}

bool UsesSource(DWORD rop) {
    unsigned code = (rop >> 16) & 0xFF;
    return ((code >> 2) & 0x33) != (code & 0x33);
}

} // namespace

bool ReadDib(const BITMAPINFO* info, UINT usage, const void* bits, const Palette* palette,
             std::vector<std::uint32_t>& pixels, int& width, int& height) {
    DibFormat format;
    if (!bits || !FormatOf(info, usage, palette, format))
        return false;
    width = format.width;
    height = format.height;
    pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    auto src = static_cast<const std::uint8_t*>(bits);
    for (int scan = 0; scan < height; ++scan)
        format.DecodeRow(src + static_cast<size_t>(scan) * static_cast<size_t>(format.stride),
                         pixels.data() +
                             static_cast<size_t>(RowOfScan(format, scan)) * static_cast<size_t>(width));
    return true;
}

namespace {

DibFormat SectionFormat(const Bitmap& bitmap) {
    DibFormat format;
    format.width = bitmap.width;
    format.height = bitmap.height;
    format.bitsPerPixel = bitmap.bitsPerPixel;
    format.topDown = bitmap.header.biHeight < 0;
    format.colors = bitmap.colors;
    std::memcpy(format.masks, bitmap.masks, sizeof format.masks);
    format.stride = bitmap.stride;
    return format;
}

} // namespace

void Bitmap::SyncFromDib() {
    DibFormat format = SectionFormat(*this);
    for (int scan = 0; scan < height; ++scan)
        format.DecodeRow(memory.get() + static_cast<size_t>(scan) * static_cast<size_t>(stride),
                         pixels.Row(RowOfScan(format, scan)));
}

void Bitmap::SyncToDib() {
    DibFormat format = SectionFormat(*this);
    for (int scan = 0; scan < height; ++scan)
        format.EncodeRow(pixels.Row(RowOfScan(format, scan)),
                         memory.get() + static_cast<size_t>(scan) * static_cast<size_t>(stride));
}

} // namespace gdi

using namespace gdi;

// ---- Blits ----

BOOL PatBlt(HDC handle, int x, int y, int width, int height, DWORD rop) {
    Drawing drawing(handle);
    if (!drawing)
        return FALSE;
    if (UsesSource(rop)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DC& dc = drawing.Dc();
    backend::Rect rect = dc.MapRect(x, y, x + width, y + height);
    drawing.Device().FillRegion(drawing.State(), backend::Region(rect), CurrentBrushSpec(dc), rop);
    return TRUE;
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth,
                int srcHeight, DWORD rop) {
    if (!UsesSource(rop))
        return PatBlt(dest, x, y, width, height, rop);
    Drawing drawing(dest);
    if (!drawing)
        return FALSE;
    std::shared_ptr<DC> srcDC;
    backend::BlitSource source;
    if (!SourceOf(src, srcDC, source)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    DC& dc = drawing.Dc();
    drawing.Device().StretchBlt(drawing.State(), Extent(dc, x, y, width, height), source,
                                Extent(*srcDC, xSrc, ySrc, srcWidth, srcHeight), rop & 0x00FFFFFF,
                                CurrentBrushSpec(dc));
    return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, DWORD rop) {
    if (!UsesSource(rop))
        return PatBlt(dest, x, y, width, height, rop);
    // A plain copy keeps the source's size in device pixels, whatever the two mappings are.
    std::shared_ptr<DC> destDC = FindDC(dest);
    std::shared_ptr<DC> srcDC = FindDC(src);
    if (!destDC || !srcDC)
        return FALSE;
    backend::Rect d = Extent(*destDC, x, y, width, height);
    backend::Point s = srcDC->Map(xSrc, ySrc);
    Drawing drawing(dest);
    backend::BlitSource source;
    if (!drawing || !SourceOf(src, srcDC, source))
        return FALSE;
    backend::Rect sourceRect{s.x, s.y, s.x + (d.right - d.left), s.y + (d.bottom - d.top)};
    drawing.Device().StretchBlt(drawing.State(), d, source, sourceRect, rop & 0x00FFFFFF,
                                CurrentBrushSpec(*destDC));
    return TRUE;
}

BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth,
                    int srcHeight, UINT transparent) {
    if (width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Drawing drawing(dest);
    std::shared_ptr<DC> srcDC;
    backend::BlitSource source;
    if (!drawing || !SourceOf(src, srcDC, source))
        return FALSE;
    drawing.Device().TransparentBlt(drawing.State(), Extent(drawing.Dc(), x, y, width, height), source,
                                    Extent(*srcDC, xSrc, ySrc, srcWidth, srcHeight), ToPixel(transparent));
    return TRUE;
}

BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC src, int xSrc, int ySrc, int srcWidth,
                int srcHeight, BLENDFUNCTION blend) {
    if (width < 0 || height < 0 || srcWidth < 0 || srcHeight < 0 || blend.BlendOp != AC_SRC_OVER) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Drawing drawing(dest);
    std::shared_ptr<DC> srcDC;
    backend::BlitSource source;
    if (!drawing || !SourceOf(src, srcDC, source))
        return FALSE;
    backend::Rect sourceRect = Extent(*srcDC, xSrc, ySrc, srcWidth, srcHeight);
    // Unlike the other blits, AlphaBlend refuses a source rectangle outside the source.
    if (sourceRect.left < 0 || sourceRect.top < 0 || sourceRect.right > source.pixels->width ||
        sourceRect.bottom > source.pixels->height) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    drawing.Device().AlphaBlend(drawing.State(), Extent(drawing.Dc(), x, y, width, height), source,
                                sourceRect, blend.SourceConstantAlpha,
                                (blend.AlphaFormat & AC_SRC_ALPHA) != 0);
    return TRUE;
}

BOOL GradientFill(HDC handle, TRIVERTEX* vertices, ULONG vertexCount, PVOID meshes, ULONG meshCount,
                  ULONG mode) {
    Drawing drawing(handle);
    if (!drawing)
        return FALSE;
    if (!vertices || !meshes || mode > GRADIENT_FILL_TRIANGLE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DC& dc = drawing.Dc();
    std::vector<backend::GradientVertex> mapped;
    for (ULONG i = 0; i < vertexCount; ++i) {
        backend::Point p = dc.Map(vertices[i].x, vertices[i].y);
        mapped.push_back(backend::GradientVertex{p.x, p.y, vertices[i].Red, vertices[i].Green,
                                                 vertices[i].Blue, vertices[i].Alpha});
    }
    if (mode == GRADIENT_FILL_TRIANGLE) {
        auto triangles = static_cast<const GRADIENT_TRIANGLE*>(meshes);
        std::vector<std::array<int, 3>> list;
        for (ULONG i = 0; i < meshCount; ++i)
            list.push_back({static_cast<int>(triangles[i].Vertex1), static_cast<int>(triangles[i].Vertex2),
                            static_cast<int>(triangles[i].Vertex3)});
        drawing.Device().GradientTriangles(drawing.State(), mapped, list);
    } else {
        auto rects = static_cast<const GRADIENT_RECT*>(meshes);
        std::vector<std::pair<int, int>> list;
        for (ULONG i = 0; i < meshCount; ++i)
            list.emplace_back(static_cast<int>(rects[i].UpperLeft), static_cast<int>(rects[i].LowerRight));
        drawing.Device().GradientRects(drawing.State(), mapped, list, mode == GRADIENT_FILL_RECT_V);
    }
    return TRUE;
}

// ---- DIB sections and DIB transfers ----

HBITMAP CreateDIBSection(HDC handle, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD) {
    std::shared_ptr<DC> dc;
    if (handle && !(dc = FindDC(handle)))
        return nullptr;
    DibFormat format;
    // Sections of file mappings are not available on this platform.
    if (section || !FormatOf(info, usage, dc ? dc->state.palette.get() : nullptr, format)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->type = OBJ_BITMAP;
    bitmap->width = format.width;
    bitmap->height = format.height;
    bitmap->bitsPerPixel = format.bitsPerPixel;
    bitmap->dibSection = true;
    bitmap->header = info->bmiHeader;
    bitmap->header.biSize = sizeof(BITMAPINFOHEADER);
    bitmap->colors = format.colors;
    std::memcpy(bitmap->masks, format.masks, sizeof bitmap->masks);
    bitmap->stride = format.stride;
    bitmap->memorySize = static_cast<size_t>(format.stride) * static_cast<size_t>(format.height);
    bitmap->memory.reset(new (std::nothrow) std::uint8_t[bitmap->memorySize]());
    if (!bitmap->memory) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    bitmap->direct = format.bitsPerPixel == 32 && format.StandardMasks();
    if (bitmap->direct) {
        std::uint8_t* top = format.topDown ? bitmap->memory.get()
                                           : bitmap->memory.get() + static_cast<size_t>(format.height - 1) *
                                                                        static_cast<size_t>(format.stride);
        bitmap->pixels = backend::PixelBuffer{top, format.topDown ? format.stride : -format.stride,
                                              format.width, format.height};
    } else {
        bitmap->storage.assign(static_cast<size_t>(format.width) * static_cast<size_t>(format.height), 0);
        bitmap->pixels =
            backend::PixelBuffer{reinterpret_cast<std::uint8_t*>(bitmap->storage.data()),
                                 static_cast<std::ptrdiff_t>(format.width) * 4, format.width, format.height};
        bitmap->SyncFromDib();
    }
    if (bits)
        *bits = bitmap->memory.get();
    return static_cast<HBITMAP>(AddObject(bitmap));
}

int SetDIBits(HDC handle, HBITMAP bitmapHandle, UINT start, UINT lines, const void* bits,
              const BITMAPINFO* info, UINT usage) {
    std::shared_ptr<DC> dc = handle ? FindDC(handle) : nullptr;
    std::shared_ptr<Bitmap> bitmap = Find<Bitmap>(bitmapHandle, OBJ_BITMAP);
    DibFormat format;
    if (!bitmap || !bits || !FormatOf(info, usage, dc ? dc->state.palette.get() : nullptr, format)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (bitmap->dibSection && !bitmap->direct)
        bitmap->SyncFromDib();
    auto src = static_cast<const std::uint8_t*>(bits);
    std::vector<std::uint32_t> row(static_cast<size_t>(format.width));
    int copied = 0;
    for (UINT i = 0; i < lines; ++i) {
        int scan = static_cast<int>(start + i);
        if (scan >= format.height)
            break;
        format.DecodeRow(src + static_cast<size_t>(i) * static_cast<size_t>(format.stride), row.data());
        int y = RowOfScan(format, scan);
        if (y < bitmap->height) {
            std::uint32_t* out = bitmap->pixels.Row(y);
            for (int x = 0; x < std::min(format.width, bitmap->width); ++x)
                out[x] = bitmap->Monochrome() ? ((row[static_cast<size_t>(x)] & 0xFFFFFF) ? 0xFFFFFF : 0)
                                              : row[static_cast<size_t>(x)] & 0xFFFFFF;
        }
        ++copied;
    }
    if (bitmap->dibSection && !bitmap->direct)
        bitmap->SyncToDib();
    return copied;
}

int GetDIBits(HDC handle, HBITMAP bitmapHandle, UINT start, UINT lines, LPVOID bits, BITMAPINFO* info,
              UINT usage) {
    std::shared_ptr<DC> dc = FindDC(handle);
    std::shared_ptr<Bitmap> bitmap = Find<Bitmap>(bitmapHandle, OBJ_BITMAP);
    if (!dc || !bitmap || !info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    BITMAPINFOHEADER& h = info->bmiHeader;
    if (h.biBitCount == 0) {
        // Asked for the bitmap's own format only.
        h.biWidth = bitmap->width;
        h.biHeight = bitmap->dibSection && bitmap->header.biHeight < 0 ? -bitmap->height : bitmap->height;
        h.biPlanes = 1;
        h.biBitCount = static_cast<WORD>(bitmap->bitsPerPixel);
        h.biCompression = BI_RGB;
        h.biSizeImage = static_cast<DWORD>(DibStride(bitmap->width, bitmap->bitsPerPixel) * bitmap->height);
        h.biClrUsed = 0;
        h.biClrImportant = 0;
        return bitmap->height;
    }
    if (h.biWidth == 0 || h.biHeight == 0)
        h.biWidth = bitmap->width, h.biHeight = bitmap->height;
    int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // Tables of 8 bits or fewer: the section's own when it has that depth, otherwise a standard one.
    if (bpp <= 8) {
        std::vector<RGBQUAD> colors =
            bitmap->dibSection && bitmap->bitsPerPixel == bpp ? bitmap->colors : DefaultColors(bpp);
        colors.resize(size_t{1} << bpp, RGBQUAD{0, 0, 0, 0});
        if (usage == DIB_RGB_COLORS)
            std::memcpy(info->bmiColors, colors.data(), colors.size() * sizeof(RGBQUAD));
        h.biClrUsed = 0;
    }
    h.biSizeImage = static_cast<DWORD>(DibStride(h.biWidth, bpp) * std::abs(h.biHeight));
    if (!bits)
        return bitmap->height;
    DibFormat format;
    if (!FormatOf(info, DIB_RGB_COLORS, nullptr, format)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (bitmap->dibSection && !bitmap->direct)
        bitmap->SyncFromDib();
    auto dst = static_cast<std::uint8_t*>(bits);
    std::vector<std::uint32_t> row(static_cast<size_t>(format.width), 0);
    int copied = 0;
    for (UINT i = 0; i < lines; ++i) {
        int scan = static_cast<int>(start + i);
        if (scan >= format.height)
            break;
        int y = RowOfScan(format, scan);
        std::fill(row.begin(), row.end(), 0);
        if (y < bitmap->height) {
            const std::uint32_t* in = bitmap->pixels.Row(y);
            for (int x = 0; x < std::min(format.width, bitmap->width); ++x)
                row[static_cast<size_t>(x)] = in[x] & 0xFFFFFF;
        }
        format.EncodeRow(row.data(), dst + static_cast<size_t>(i) * static_cast<size_t>(format.stride));
        ++copied;
    }
    return copied;
}

HBITMAP CreateDIBitmap(HDC handle, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage) {
    if (!header) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
    HBITMAP bitmap = handle ? CreateCompatibleBitmap(handle, header->biWidth, height)
                            : CreateBitmap(header->biWidth, height, 1, 1, nullptr);
    if (bitmap && (init & CBM_INIT) && bits && info)
        SetDIBits(handle, bitmap, 0, static_cast<UINT>(height), bits, info, usage);
    return bitmap;
}

namespace {

// Draws DIB pixels on a DC; ySrc counts from the bottom of bottom-up DIBs, as Win32 does.
int DrawDib(HDC handle, backend::Rect dest, int xSrc, int ySrc, int srcWidth, int srcHeight, UINT startScan,
            UINT lines, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    Drawing drawing(handle);
    if (!drawing)
        return 0;
    DC& dc = drawing.Dc();
    DibFormat format;
    if (!bits || !FormatOf(info, usage, dc.state.palette.get(), format)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // The bits hold the scan lines from startScan on; the rest of the image stays black.
    std::vector<std::uint32_t> pixels(static_cast<size_t>(format.width) * static_cast<size_t>(format.height),
                                      0);
    auto src = static_cast<const std::uint8_t*>(bits);
    int copied = 0;
    for (UINT i = 0; i < lines; ++i) {
        int scan = static_cast<int>(startScan + i);
        if (scan >= format.height)
            break;
        format.DecodeRow(src + static_cast<size_t>(i) * static_cast<size_t>(format.stride),
                         pixels.data() + static_cast<size_t>(RowOfScan(format, scan)) *
                                             static_cast<size_t>(format.width));
        ++copied;
    }
    backend::PixelBuffer buffer{reinterpret_cast<std::uint8_t*>(pixels.data()),
                                static_cast<std::ptrdiff_t>(format.width) * 4, format.width, format.height};
    int top = format.topDown ? ySrc : format.height - ySrc - srcHeight;
    backend::BlitSource source{&buffer, false, 0xFFFFFF};
    drawing.Device().StretchBlt(drawing.State(), dest, source,
                                backend::Rect{xSrc, top, xSrc + srcWidth, top + srcHeight}, rop & 0x00FFFFFF,
                                CurrentBrushSpec(dc));
    return copied;
}

} // namespace

int SetDIBitsToDevice(HDC handle, int xDest, int yDest, DWORD width, DWORD height, int xSrc, int ySrc,
                      UINT startScan, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return 0;
    backend::Point a = dc->Map(xDest, yDest);
    int w = static_cast<int>(width), h = static_cast<int>(height);
    return DrawDib(handle, backend::Rect{a.x, a.y, a.x + w, a.y + h}, xSrc, ySrc, w, h, startScan, lines,
                   bits, info, usage, SRCCOPY);
}

int StretchDIBits(HDC handle, int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc,
                  int srcWidth, int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage,
                  DWORD rop) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !info)
        return 0;
    int height = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
    backend::Rect dest = Extent(*dc, xDest, yDest, destWidth, destHeight);
    if (DrawDib(handle, dest, xSrc, ySrc, srcWidth, srcHeight, 0, static_cast<UINT>(height), bits, info,
                usage, rop) == 0)
        return 0;
    return std::abs(srcHeight);
}

UINT GetDIBColorTable(HDC handle, UINT start, UINT count, RGBQUAD* colors) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !colors || !dc->state.bitmap || !dc->state.bitmap->dibSection)
        return 0;
    const auto& table = dc->state.bitmap->colors;
    UINT copied = 0;
    for (UINT i = start; i < table.size() && copied < count; ++i)
        colors[copied++] = table[i];
    return copied;
}

UINT SetDIBColorTable(HDC handle, UINT start, UINT count, const RGBQUAD* colors) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !colors || !dc->state.bitmap || !dc->state.bitmap->dibSection)
        return 0;
    auto& table = dc->state.bitmap->colors;
    UINT copied = 0;
    for (UINT i = start; i < table.size() && copied < count; ++i)
        table[i] = colors[copied++];
    return copied;
}

// Drawing is never deferred on this platform: DIB memory is up to date when each call returns.
BOOL GdiFlush() {
    return TRUE;
}
