// GDI drawing objects: pens, brushes, fonts, bitmaps and palettes, the stock objects, and
// SelectObject, DeleteObject, GetObject and GetCurrentObject.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "platform/win32/gdi_private.h"

namespace gdi {

namespace {

// Pixels a bitmap may have; larger requests fail as out of memory instead of aborting.
constexpr long long MaxBitmapPixels = 1LL << 28;

constexpr int DefaultBitmapIndex = -1; // the 1 x 1 monochrome bitmap of new memory DCs
constexpr int StockCount = 20;

std::shared_ptr<Bitmap> NewBitmap(int width, int height, int bitsPerPixel) {
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->type = OBJ_BITMAP;
    bitmap->width = width;
    bitmap->height = height;
    bitmap->bitsPerPixel = bitsPerPixel;
    bitmap->storage.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    bitmap->pixels = backend::PixelBuffer{reinterpret_cast<std::uint8_t*>(bitmap->storage.data()),
                                          static_cast<std::ptrdiff_t>(width) * 4, width, height};
    return bitmap;
}

std::shared_ptr<Pen> NewPen(UINT style, int width, COLORREF color) {
    auto pen = std::make_shared<Pen>();
    pen->type = OBJ_PEN;
    pen->style = style;
    pen->width = width;
    pen->color = color;
    return pen;
}

std::shared_ptr<Brush> NewBrush(UINT style, COLORREF color, ULONG_PTR hatch) {
    auto brush = std::make_shared<Brush>();
    brush->type = OBJ_BRUSH;
    brush->logBrush = LOGBRUSH{style, color, hatch};
    return brush;
}

std::shared_ptr<Font> NewFont(const LOGFONTW& logFont) {
    auto font = std::make_shared<Font>();
    font->type = OBJ_FONT;
    font->logFont = logFont;
    font->logFont.lfFaceName[LF_FACESIZE - 1] = 0;
    return font;
}

LOGFONTW StockLogFont(int height, int weight, const char16_t* face) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;
    std::char_traits<char16_t>::copy(lf.lfFaceName, face, std::char_traits<char16_t>::length(face) + 1);
    return lf;
}

struct StockObjects {
    HGDIOBJ handles[StockCount] = {};
    HGDIOBJ defaultBitmapHandle = nullptr;
    std::shared_ptr<Bitmap> defaultBitmap;
};

HGDIOBJ AddStock(std::shared_ptr<Object> object) {
    object->stock = true;
    return AddObject(std::move(object));
}

const StockObjects& Stock() {
    static const StockObjects stock = [] {
        StockObjects s;
        s.handles[WHITE_BRUSH] = AddStock(NewBrush(BS_SOLID, RGB(255, 255, 255), 0));
        s.handles[LTGRAY_BRUSH] = AddStock(NewBrush(BS_SOLID, RGB(192, 192, 192), 0));
        s.handles[GRAY_BRUSH] = AddStock(NewBrush(BS_SOLID, RGB(128, 128, 128), 0));
        s.handles[DKGRAY_BRUSH] = AddStock(NewBrush(BS_SOLID, RGB(64, 64, 64), 0));
        s.handles[BLACK_BRUSH] = AddStock(NewBrush(BS_SOLID, RGB(0, 0, 0), 0));
        s.handles[NULL_BRUSH] = AddStock(NewBrush(BS_NULL, 0, 0));
        s.handles[WHITE_PEN] = AddStock(NewPen(PS_SOLID, 0, RGB(255, 255, 255)));
        s.handles[BLACK_PEN] = AddStock(NewPen(PS_SOLID, 0, RGB(0, 0, 0)));
        s.handles[NULL_PEN] = AddStock(NewPen(PS_NULL, 0, 0));
        s.handles[OEM_FIXED_FONT] = AddStock(NewFont(StockLogFont(12, FW_NORMAL, u"Terminal")));
        s.handles[ANSI_FIXED_FONT] = AddStock(NewFont(StockLogFont(-13, FW_NORMAL, u"Courier New")));
        s.handles[ANSI_VAR_FONT] = AddStock(NewFont(StockLogFont(-11, FW_NORMAL, u"MS Sans Serif")));
        s.handles[SYSTEM_FONT] = AddStock(NewFont(StockLogFont(16, FW_BOLD, u"System")));
        s.handles[DEVICE_DEFAULT_FONT] = AddStock(NewFont(StockLogFont(16, FW_BOLD, u"System")));
        s.handles[SYSTEM_FIXED_FONT] = AddStock(NewFont(StockLogFont(15, FW_NORMAL, u"Fixedsys")));
        s.handles[DEFAULT_GUI_FONT] = AddStock(NewFont(StockLogFont(-11, FW_NORMAL, u"MS Shell Dlg")));
        auto palette = std::make_shared<Palette>();
        palette->type = OBJ_PAL;
        const COLORREF system[20] = {
            RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),
            RGB(0, 0, 128),     RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192),
            RGB(192, 220, 192), RGB(166, 202, 240), RGB(255, 251, 240), RGB(160, 160, 164),
            RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(255, 255, 0),
            RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};
        for (COLORREF c : system)
            palette->entries.push_back(PALETTEENTRY{GetRValue(c), GetGValue(c), GetBValue(c), 0});
        s.handles[DEFAULT_PALETTE] = AddStock(palette);
        auto dcBrush = NewBrush(BS_SOLID, RGB(255, 255, 255), 0);
        dcBrush->dcBrush = true;
        s.handles[DC_BRUSH] = AddStock(dcBrush);
        auto dcPen = NewPen(PS_SOLID, 0, 0);
        dcPen->dcPen = true;
        s.handles[DC_PEN] = AddStock(dcPen);
        s.defaultBitmap = NewBitmap(1, 1, 1);
        s.defaultBitmap->storage[0] = 0xFFFFFF;
        s.defaultBitmapHandle = AddStock(s.defaultBitmap);
        return s;
    }();
    return stock;
}

// The colour a COLORREF names, with palette indexes looked up in the DC's palette.
COLORREF ResolveColor(const DC& dc, COLORREF color) {
    if ((color >> 24) == 0x01 && dc.state.palette) {
        size_t index = color & 0xFFFF;
        const auto& entries = dc.state.palette->entries;
        if (index < entries.size())
            return RGB(entries[index].peRed, entries[index].peGreen, entries[index].peBlue);
        return 0;
    }
    return color & 0xFFFFFF;
}

backend::DashStyle DashOf(UINT style) {
    switch (style & PS_STYLE_MASK) {
    case PS_DASH:
        return backend::DashStyle::Dash;
    case PS_DOT:
        return backend::DashStyle::Dot;
    case PS_DASHDOT:
        return backend::DashStyle::DashDot;
    case PS_DASHDOTDOT:
        return backend::DashStyle::DashDotDot;
    case PS_ALTERNATE:
        return backend::DashStyle::Alternate;
    case PS_USERSTYLE:
        return backend::DashStyle::User;
    default:
        return backend::DashStyle::Solid;
    }
}

std::shared_ptr<const backend::Pattern> PatternOf(const Bitmap& bitmap) {
    auto pattern = std::make_shared<backend::Pattern>();
    pattern->width = bitmap.width;
    pattern->height = bitmap.height;
    pattern->monochrome = bitmap.Monochrome() || (bitmap.dibSection && bitmap.bitsPerPixel == 1);
    pattern->pixels.reserve(static_cast<size_t>(bitmap.width) * static_cast<size_t>(bitmap.height));
    for (int y = 0; y < bitmap.height; ++y) {
        const std::uint32_t* row = bitmap.pixels.Row(y);
        for (int x = 0; x < bitmap.width; ++x)
            pattern->pixels.push_back(row[x] & 0xFFFFFF);
    }
    return pattern;
}

} // namespace

HGDIOBJ StockObject(int index) {
    const StockObjects& stock = Stock();
    if (index == DefaultBitmapIndex)
        return stock.defaultBitmapHandle;
    if (index < 0 || index >= StockCount)
        return nullptr;
    return stock.handles[index];
}

std::shared_ptr<Bitmap> DefaultBitmap() {
    return Stock().defaultBitmap;
}

const std::shared_ptr<backend::Device>& Bitmap::Surface() {
    if (!FSurface)
        FSurface = backend::CreateSurface(pixels, Monochrome());
    return FSurface;
}

backend::PenSpec PenSpecOf(const DC& dc) {
    backend::PenSpec spec;
    const Pen& pen = *dc.state.pen;
    UINT style = pen.style & PS_STYLE_MASK;
    if (style == PS_NULL) {
        spec.null = true;
        return spec;
    }
    COLORREF color = pen.dcPen ? dc.state.dcPenColor : pen.extended ? pen.brush.lbColor : pen.color;
    spec.color = ToPixel(ResolveColor(dc, color));
    bool geometric = pen.extended ? (pen.style & PS_TYPE_MASK) == PS_GEOMETRIC : pen.width > 0;
    int width = 1;
    if (geometric && pen.width > 0)
        width = std::max(1, static_cast<int>(std::floor(pen.width * std::abs(dc.ScaleX()) + 0.5)));
    spec.width = width;
    spec.geometric = geometric;
    spec.insideFrame = style == PS_INSIDEFRAME;
    // Plain pens wider than a pixel draw solid; extended pens keep their style at any width.
    spec.dash = (width > 1 && !pen.extended) ? backend::DashStyle::Solid : DashOf(pen.style);
    for (DWORD entry : pen.styleEntries)
        spec.userDashes.push_back(static_cast<int>(entry));
    if (pen.extended) {
        UINT cap = pen.style & PS_ENDCAP_MASK, join = pen.style & PS_JOIN_MASK;
        spec.cap = cap == PS_ENDCAP_SQUARE ? backend::LineCap::Square
                   : cap == PS_ENDCAP_FLAT ? backend::LineCap::Flat
                                           : backend::LineCap::Round;
        spec.join = join == PS_JOIN_BEVEL   ? backend::LineJoin::Bevel
                    : join == PS_JOIN_MITER ? backend::LineJoin::Miter
                                            : backend::LineJoin::Round;
    }
    return spec;
}

backend::BrushSpec BrushSpecOf(const DC& dc, const Brush& brush) {
    backend::BrushSpec spec;
    switch (brush.logBrush.lbStyle) {
    case BS_SOLID:
        spec.kind = backend::BrushKind::Solid;
        spec.color =
            ToPixel(ResolveColor(dc, brush.dcBrush ? dc.state.dcBrushColor : brush.logBrush.lbColor));
        break;
    case BS_HATCHED:
        spec.kind = backend::BrushKind::Hatch;
        spec.color = ToPixel(ResolveColor(dc, brush.logBrush.lbColor));
        spec.hatch = static_cast<int>(brush.logBrush.lbHatch);
        break;
    case BS_PATTERN:
        spec.kind = brush.pattern ? backend::BrushKind::Pattern : backend::BrushKind::Null;
        spec.pattern = brush.pattern;
        break;
    default:
        spec.kind = backend::BrushKind::Null;
        break;
    }
    return spec;
}

backend::BrushSpec CurrentBrushSpec(const DC& dc) {
    return BrushSpecOf(dc, *dc.state.brush);
}

} // namespace gdi

using namespace gdi;

HGDIOBJ GetStockObject(int index) {
    if (index < 0 || index >= StockCount || index == 9)
        return nullptr;
    return StockObject(index);
}

DWORD GetObjectType(HGDIOBJ handle) {
    std::shared_ptr<Object> object = FindObject(handle);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return object->type;
}

// ---- Pens ----

HPEN CreatePen(int style, int width, COLORREF color) {
    int kind = style & PS_STYLE_MASK;
    if (kind > PS_INSIDEFRAME) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HPEN>(AddObject(NewPen(static_cast<UINT>(kind), std::max(0, width), color)));
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
    if (!pen) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreatePen(static_cast<int>(pen->lopnStyle), pen->lopnWidth.x, pen->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD* styles) {
    DWORD kind = style & PS_STYLE_MASK;
    bool geometric = (style & PS_TYPE_MASK) == PS_GEOMETRIC;
    bool valid = brush != nullptr && kind <= PS_ALTERNATE;
    // Cosmetic pens are one pixel wide; PS_ALTERNATE is cosmetic only; a user style needs its lengths.
    if (!geometric && width != 1)
        valid = false;
    if (kind == PS_ALTERNATE && geometric)
        valid = false;
    if (kind == PS_USERSTYLE && (styleCount == 0 || styleCount > 16 || !styles))
        valid = false;
    if (kind != PS_USERSTYLE && styleCount != 0)
        valid = false;
    if (!valid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto pen = NewPen(style, static_cast<int>(width), brush->lbColor);
    pen->type = OBJ_EXTPEN;
    pen->extended = true;
    pen->brush = *brush;
    if (kind == PS_USERSTYLE)
        pen->styleEntries.assign(styles, styles + styleCount);
    return static_cast<HPEN>(AddObject(pen));
}

// ---- Brushes ----

HBRUSH CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(AddObject(NewBrush(BS_SOLID, color, 0)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HBRUSH>(AddObject(NewBrush(BS_HATCHED, color, static_cast<ULONG_PTR>(hatch))));
}

HBRUSH CreatePatternBrush(HBITMAP handle) {
    std::shared_ptr<Bitmap> bitmap = Find<Bitmap>(handle, OBJ_BITMAP);
    if (!bitmap)
        return nullptr;
    if (bitmap->dibSection && !bitmap->direct)
        bitmap->SyncFromDib();
    auto brush = NewBrush(BS_PATTERN, 0, reinterpret_cast<ULONG_PTR>(handle));
    // The brush keeps its own copy: the bitmap may change or be deleted afterwards.
    brush->pattern = PatternOf(*bitmap);
    return static_cast<HBRUSH>(AddObject(brush));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (!brush) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    switch (brush->lbStyle) {
    case BS_SOLID:
        return CreateSolidBrush(brush->lbColor);
    case BS_NULL:
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED:
        return CreateHatchBrush(static_cast<int>(brush->lbHatch), brush->lbColor);
    case BS_PATTERN:
        return CreatePatternBrush(reinterpret_cast<HBITMAP>(brush->lbHatch));
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

// ---- Fonts ----

HFONT CreateFontIndirectW(const LOGFONTW* logFont) {
    if (!logFont) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HFONT>(AddObject(NewFont(*logFont)));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, LPCWSTR face) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic ? 1 : 0;
    lf.lfUnderline = underline ? 1 : 0;
    lf.lfStrikeOut = strikeOut ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(charSet);
    lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
    lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    lf.lfQuality = static_cast<BYTE>(quality);
    lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (face) {
        size_t length = std::min<size_t>(std::char_traits<char16_t>::length(face), LF_FACESIZE - 1);
        std::char_traits<char16_t>::copy(lf.lfFaceName, face, length);
    }
    return CreateFontIndirectW(&lf);
}

// ---- Palettes ----

HPALETTE CreatePalette(const LOGPALETTE* logPalette) {
    if (!logPalette || logPalette->palNumEntries == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto palette = std::make_shared<Palette>();
    palette->type = OBJ_PAL;
    palette->entries.assign(logPalette->palPalEntry, logPalette->palPalEntry + logPalette->palNumEntries);
    return static_cast<HPALETTE>(AddObject(palette));
}

HPALETTE SelectPalette(HDC handle, HPALETTE paletteHandle, BOOL) {
    std::shared_ptr<DC> dc = FindDC(handle);
    std::shared_ptr<Palette> palette = Find<Palette>(paletteHandle, OBJ_PAL);
    if (!dc || !palette)
        return nullptr;
    HGDIOBJ previous = dc->state.paletteHandle;
    dc->state.palette = palette;
    dc->state.paletteHandle = paletteHandle;
    return static_cast<HPALETTE>(previous);
}

// True-colour devices have no palette to realise.
UINT RealizePalette(HDC handle) {
    return FindDC(handle) ? 0 : GDI_ERROR;
}

// ---- Bitmaps ----

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
    if (width < 0 || height < 0 || planes != 1 || bitsPerPixel > 32) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (width == 0 || height == 0)
        return static_cast<HBITMAP>(StockObject(DefaultBitmapIndex));
    if (static_cast<long long>(width) * height > MaxBitmapPixels) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    bool mono = bitsPerPixel == 1;
    auto bitmap = NewBitmap(width, height, mono ? 1 : 32);
    if (bits) {
        // Rows of device-dependent bitmaps are padded to 16 bits.
        int depth = static_cast<int>(bitsPerPixel);
        int rowBytes = ((width * depth + 15) / 16) * 2;
        auto src = static_cast<const std::uint8_t*>(bits);
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* row = src + static_cast<size_t>(y) * static_cast<size_t>(rowBytes);
            std::uint32_t* out = bitmap->pixels.Row(y);
            for (int x = 0; x < width; ++x) {
                if (depth == 1)
                    out[x] = (row[x / 8] & (0x80 >> (x % 8))) ? 0xFFFFFF : 0;
                else if (depth == 24)
                    out[x] = (row[x * 3 + 2] << 16) | (row[x * 3 + 1] << 8) | row[x * 3];
                else if (depth == 32)
                    out[x] = (row[x * 4 + 2] << 16) | (row[x * 4 + 1] << 8) | row[x * 4];
            }
        }
    }
    return static_cast<HBITMAP>(AddObject(bitmap));
}

HBITMAP CreateCompatibleBitmap(HDC handle, int width, int height) {
    std::shared_ptr<DC> dc;
    if (handle && !(dc = FindDC(handle)))
        return nullptr;
    if (width < 0 || height < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // As in Win32, a memory DC gives a bitmap like the one selected into it: monochrome for a new one.
    bool mono = dc && dc->memory && dc->state.bitmap && dc->state.bitmap->Monochrome();
    return CreateBitmap(width, height, 1, mono ? 1 : 32, nullptr);
}

LONG GetBitmapBits(HBITMAP handle, LONG size, LPVOID bits) {
    std::shared_ptr<Bitmap> bitmap = Find<Bitmap>(handle, OBJ_BITMAP);
    if (!bitmap)
        return 0;
    if (bitmap->dibSection && !bitmap->direct)
        bitmap->SyncFromDib();
    int depth = bitmap->Monochrome() ? 1 : 32;
    int rowBytes = ((bitmap->width * depth + 15) / 16) * 2;
    LONG total = rowBytes * bitmap->height;
    if (!bits)
        return total;
    auto out = static_cast<std::uint8_t*>(bits);
    LONG written = 0;
    for (int y = 0; y < bitmap->height && written + rowBytes <= size; ++y) {
        std::uint8_t* row = out + written;
        std::memset(row, 0, static_cast<size_t>(rowBytes));
        const std::uint32_t* in = bitmap->pixels.Row(y);
        for (int x = 0; x < bitmap->width; ++x) {
            if (depth == 1) {
                if (in[x] & 0xFFFFFF)
                    row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            } else {
                row[x * 4] = in[x] & 0xFF;
                row[x * 4 + 1] = (in[x] >> 8) & 0xFF;
                row[x * 4 + 2] = (in[x] >> 16) & 0xFF;
            }
        }
        written += rowBytes;
    }
    return written;
}

LONG SetBitmapBits(HBITMAP handle, DWORD size, const void* bits) {
    std::shared_ptr<Bitmap> bitmap = Find<Bitmap>(handle, OBJ_BITMAP);
    if (!bitmap || !bits)
        return 0;
    int depth = bitmap->Monochrome() ? 1 : 32;
    int rowBytes = ((bitmap->width * depth + 15) / 16) * 2;
    auto in = static_cast<const std::uint8_t*>(bits);
    LONG read = 0;
    for (int y = 0; y < bitmap->height && static_cast<DWORD>(read + rowBytes) <= size; ++y) {
        const std::uint8_t* row = in + read;
        std::uint32_t* out = bitmap->pixels.Row(y);
        for (int x = 0; x < bitmap->width; ++x)
            out[x] =
                depth == 1
                    ? ((row[x / 8] & (0x80 >> (x % 8))) ? 0xFFFFFF : 0)
                    : static_cast<std::uint32_t>((row[x * 4 + 2] << 16) | (row[x * 4 + 1] << 8) | row[x * 4]);
        read += rowBytes;
    }
    if (bitmap->dibSection && !bitmap->direct)
        bitmap->SyncToDib();
    return read;
}

BOOL SetBitmapDimensionEx(HBITMAP handle, int width, int height, LPSIZE previous) {
    std::shared_ptr<Bitmap> bitmap = Find<Bitmap>(handle, OBJ_BITMAP);
    if (!bitmap)
        return FALSE;
    if (previous)
        *previous = bitmap->dimension;
    bitmap->dimension = SIZE{width, height};
    return TRUE;
}

BOOL GetBitmapDimensionEx(HBITMAP handle, LPSIZE size) {
    std::shared_ptr<Bitmap> bitmap = Find<Bitmap>(handle, OBJ_BITMAP);
    if (!bitmap || !size)
        return FALSE;
    *size = bitmap->dimension;
    return TRUE;
}

// ---- Selecting, deleting, describing ----

HGDIOBJ SelectObject(HDC handle, HGDIOBJ objectHandle) {
    // What the DC lets go of is freed after the lock, as the table frees what it removes.
    std::shared_ptr<Object> released;
    LockedTable table;
    DC* dc = table.FindDC(handle);
    if (!dc)
        return nullptr;
    const std::shared_ptr<Object>* found = table.Find(objectHandle);
    if (!found) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    const std::shared_ptr<Object>& object = *found;
    DCState& s = dc->state;
    HGDIOBJ previous = nullptr;
    // Selecting the object a DC already has changes nothing; painters do it for every call they make.
    switch (object->type) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        previous = s.penHandle;
        if (previous != objectHandle) {
            released = std::exchange(s.pen, std::static_pointer_cast<Pen>(object));
            s.penHandle = objectHandle;
        }
        return previous;
    case OBJ_BRUSH:
        previous = s.brushHandle;
        if (previous != objectHandle) {
            released = std::exchange(s.brush, std::static_pointer_cast<Brush>(object));
            s.brushHandle = objectHandle;
        }
        return previous;
    case OBJ_FONT:
        previous = s.fontHandle;
        if (previous != objectHandle) {
            released = std::exchange(s.font, std::static_pointer_cast<Font>(object));
            s.fontHandle = objectHandle;
        }
        return previous;
    case OBJ_BITMAP: {
        auto bitmap = std::static_pointer_cast<Bitmap>(object);
        // Bitmaps go into memory DCs only, and into one DC at a time.
        if (!dc->memory || (bitmap->selectedInto && bitmap->selectedInto != dc && !bitmap->stock)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        previous = s.bitmapHandle;
        if (s.bitmap && s.bitmap->selectedInto == dc)
            s.bitmap->selectedInto = nullptr;
        released = std::exchange(s.bitmap, bitmap);
        s.bitmapHandle = objectHandle;
        if (!bitmap->stock)
            bitmap->selectedInto = dc;
        dc->ClipChanged();
        return previous;
    }
    case OBJ_REGION: {
        table.Unlock();
        int kind = SelectClipRgn(handle, static_cast<HRGN>(objectHandle));
        return kind == ERROR ? HGDI_ERROR : reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(kind));
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

BOOL DeleteObject(HGDIOBJ handle) {
    std::shared_ptr<Object> object = FindObject(handle);
    if (!object || object->type == OBJ_DC || object->type == OBJ_MEMDC) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (object->stock)
        return TRUE;
    // A DC that still has the object selected holds its own reference and keeps drawing with it.
    RemoveObject(handle);
    return TRUE;
}

int GetObjectW(HGDIOBJ handle, int size, LPVOID buffer) {
    std::shared_ptr<Object> object = FindObject(handle);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    auto give = [&](const void* data, int dataSize) {
        if (!buffer)
            return dataSize;
        int n = std::min(size, dataSize);
        if (n <= 0)
            return 0;
        std::memcpy(buffer, data, static_cast<size_t>(n));
        return n;
    };
    switch (object->type) {
    case OBJ_PEN: {
        auto pen = std::static_pointer_cast<Pen>(object);
        LOGPEN lp{pen->style, POINT{pen->width, 0}, pen->color};
        return give(&lp, sizeof lp);
    }
    case OBJ_EXTPEN: {
        auto pen = std::static_pointer_cast<Pen>(object);
        int entries = static_cast<int>(pen->styleEntries.size());
        int needed = static_cast<int>(offsetof(EXTLOGPEN, elpStyleEntry)) + std::max(1, entries) * 4;
        std::vector<std::uint8_t> data(static_cast<size_t>(needed), 0);
        auto elp = reinterpret_cast<EXTLOGPEN*>(data.data());
        elp->elpPenStyle = pen->style;
        elp->elpWidth = static_cast<DWORD>(pen->width);
        elp->elpBrushStyle = pen->brush.lbStyle;
        elp->elpColor = pen->brush.lbColor;
        elp->elpHatch = pen->brush.lbHatch;
        elp->elpNumEntries = static_cast<DWORD>(entries);
        for (int i = 0; i < entries; ++i)
            elp->elpStyleEntry[i] = pen->styleEntries[static_cast<size_t>(i)];
        return give(data.data(), needed);
    }
    case OBJ_BRUSH: {
        auto brush = std::static_pointer_cast<Brush>(object);
        return give(&brush->logBrush, sizeof(LOGBRUSH));
    }
    case OBJ_FONT: {
        auto font = std::static_pointer_cast<Font>(object);
        return give(&font->logFont, sizeof(LOGFONTW));
    }
    case OBJ_PAL: {
        WORD count = static_cast<WORD>(std::static_pointer_cast<Palette>(object)->entries.size());
        return give(&count, sizeof count);
    }
    case OBJ_BITMAP: {
        auto bitmap = std::static_pointer_cast<Bitmap>(object);
        DIBSECTION ds{};
        ds.dsBm.bmWidth = bitmap->width;
        ds.dsBm.bmHeight = bitmap->height;
        ds.dsBm.bmPlanes = 1;
        ds.dsBm.bmBitsPixel = static_cast<WORD>(bitmap->bitsPerPixel);
        if (bitmap->dibSection) {
            ds.dsBm.bmWidthBytes = bitmap->stride;
            ds.dsBm.bmBits = bitmap->memory.get();
            ds.dsBmih = bitmap->header;
            ds.dsBmih.biSizeImage = static_cast<DWORD>(bitmap->memorySize);
            std::memcpy(ds.dsBitfields, bitmap->masks, sizeof ds.dsBitfields);
            if (buffer && size >= static_cast<int>(sizeof(DIBSECTION)))
                return give(&ds, sizeof ds);
        } else {
            ds.dsBm.bmWidthBytes = ((bitmap->width * bitmap->bitsPerPixel + 15) / 16) * 2;
        }
        return give(&ds.dsBm, sizeof(BITMAP));
    }
    default:
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
}

HGDIOBJ GetCurrentObject(HDC handle, UINT type) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return nullptr;
    switch (type) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        return dc->state.penHandle;
    case OBJ_BRUSH:
        return dc->state.brushHandle;
    case OBJ_FONT:
        return dc->state.fontHandle;
    case OBJ_BITMAP:
        return dc->state.bitmapHandle;
    case OBJ_PAL:
        return dc->state.paletteHandle;
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}
