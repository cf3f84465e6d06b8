// GDI+ graphics: made on a DC or an image, with their quality settings, world and page transforms,
// saved states, clipping and the DC they lend out.
#include <cmath>
#include <numbers>

#include "platform/win32/gdi_private.h"
#include "platform/win32/gdiplus_private.h"

namespace gdiplus {

// The DC half of a surface: kept for the whole call so that a DIB section's pixels are written back.
struct SurfaceDrawing {
    explicit SurfaceDrawing(HDC dc) : drawing(dc) {}
    gdi::Drawing drawing;
};

Surface::Surface(GraphicsObject& graphics) {
    if (graphics.dc) {
        FDrawing = std::make_unique<SurfaceDrawing>(graphics.dc);
        if (!FDrawing->drawing) {
            FStatus = Win32Error;
            return;
        }
        const backend::PixelBuffer* pixels = FDrawing->drawing.Device().Pixels();
        if (!pixels)
            return; // printers and recorders show nothing of GDI+
        FTarget.pixels = *pixels;
        FTarget.origin = FDrawing->drawing.Dc().Map(0, 0);
        FTarget.deviceClip = FDrawing->drawing.State().clip;
        return;
    }
    ImageObject* image = FindImage(graphics.image);
    if (!image) {
        FStatus = InvalidParameter;
        return;
    }
    if (image->locked) {
        FStatus = ObjectBusy;
        return;
    }
    gp::Bitmap& bitmap = image->bitmap;
    if (bitmap.pixels.empty())
        return;
    FTarget.pixels.top = reinterpret_cast<std::uint8_t*>(bitmap.pixels.data());
    FTarget.pixels.stride = static_cast<std::ptrdiff_t>(bitmap.width) * 4;
    FTarget.pixels.width = bitmap.width;
    FTarget.pixels.height = bitmap.height;
    FTarget.alpha = true;
    if (!(image->format & PixelFormatAlpha))
        FOpaque = &bitmap;
}

Surface::~Surface() {
    // Pixels of a format without alpha stay opaque whatever was drawn.
    if (FOpaque)
        for (std::uint32_t& p : FOpaque->pixels)
            p |= 0xFF000000u;
}

gp::Matrix GraphicsObject::WorldToPixels() const {
    REAL page = PixelsPerUnit(state.pageUnit) * state.pageScale;
    return state.world.Then(gp::Matrix{page, 0, 0, page, 0, 0});
}

gp::Context GraphicsObject::Context() const {
    gp::Context context;
    context.world = WorldToPixels();
    context.clip = state.clip;
    context.antialias = state.smoothing == SmoothingModeHighQuality ||
                        state.smoothing == SmoothingModeAntiAlias ||
                        state.smoothing == SmoothingModeAntiAlias8x8;
    context.halfPixel =
        state.pixelOffset == PixelOffsetModeHalf || state.pixelOffset == PixelOffsetModeHighQuality;
    context.antialiasText = state.textHint != TextRenderingHintSingleBitPerPixelGridFit &&
                            state.textHint != TextRenderingHintSingleBitPerPixel;
    context.sourceCopy = state.compositing == CompositingModeSourceCopy;
    context.smoothImages = state.interpolation != InterpolationModeNearestNeighbor;
    return context;
}

} // namespace gdiplus

using namespace gdiplus;

namespace {

bool ValidOrder(GpMatrixOrder order) {
    return order == MatrixOrderPrepend || order == MatrixOrderAppend;
}

void Combine(GraphicsObject& g, const gp::Matrix& m, GpMatrixOrder order) {
    g.state.world = order == MatrixOrderAppend ? g.state.world.Then(m) : m.Then(g.state.world);
}

// Combines a shape (in world units, mapped by transform to pixels) into the clip.
void CombineClip(GraphicsObject& g, gp::RegionStep step, CombineMode mode) {
    gp::Region region;
    if (g.state.clip && mode != CombineModeReplace)
        region = *g.state.clip;
    step.combine = mode;
    if (mode == CombineModeReplace)
        region.steps.clear();
    region.steps.push_back(std::move(step));
    g.state.clip = std::make_shared<const gp::Region>(std::move(region));
}

bool ValidMode(CombineMode mode) {
    return mode >= CombineModeReplace && mode <= CombineModeComplement;
}

bool Invert(const gp::Matrix& m, gp::Matrix& inverse) {
    double det = static_cast<double>(m.m11) * m.m22 - static_cast<double>(m.m12) * m.m21;
    if (det == 0 || !std::isfinite(det))
        return false;
    double i11 = m.m22 / det, i12 = -m.m12 / det, i21 = -m.m21 / det, i22 = m.m11 / det;
    inverse = {static_cast<float>(i11),
               static_cast<float>(i12),
               static_cast<float>(i21),
               static_cast<float>(i22),
               static_cast<float>(-(m.dx * i11 + m.dy * i21)),
               static_cast<float>(-(m.dx * i12 + m.dy * i22))};
    return true;
}

// The clip in world units.
gp::Region WorldClip(const GraphicsObject& g) {
    gp::Region region;
    if (!g.state.clip)
        return region;
    gp::Matrix inverse;
    if (!Invert(g.WorldToPixels(), inverse))
        return region;
    gp::RegionStep step;
    step.kind = gp::RegionStep::Kind::Region;
    step.region = g.state.clip;
    step.transform = inverse;
    region.steps.push_back(std::move(step));
    return region;
}

} // namespace

Status GdipCreateFromHDC(HDC dc, GpGraphics** graphics) {
    GP_STARTED();
    if (!graphics || !dc || !gdi::FindDC(dc))
        return InvalidParameter;
    return Guard([&] {
        auto g = std::make_unique<GraphicsObject>();
        g->dc = dc;
        *graphics = Add<GpGraphics>(std::move(g));
        return Ok;
    });
}

Status GdipCreateFromHDC2(HDC dc, HANDLE device, GpGraphics** graphics) {
    return GdipCreateFromHDC(dc, graphics);
}

Status GdipGetImageGraphicsContext(GpImage* image, GpGraphics** graphics) {
    GP_STARTED();
    ImageObject* img = FindImage(image);
    if (!img || !graphics)
        return InvalidParameter;
    if (img->locked)
        return ObjectBusy;
    // GDI+ draws on no indexed bitmap.
    if (img->format & PixelFormatIndexed)
        return OutOfMemory;
    return Guard([&] {
        auto g = std::make_unique<GraphicsObject>();
        g->image = image;
        *graphics = Add<GpGraphics>(std::move(g));
        return Ok;
    });
}

Status GdipDeleteGraphics(GpGraphics* graphics) {
    GP_OBJECT(GraphicsObject, g, graphics);
    if (g->imageDC) {
        DeleteDC(g->imageDC);
        DeleteObject(g->imageDCBitmap);
    }
    RemoveEntry(graphics);
    return Ok;
}

Status GdipFlush(GpGraphics* graphics, GpFlushIntention intention) {
    GP_GRAPHICS(g, graphics);
    return Ok; // drawing happens at once
}

Status GdipGetDC(GpGraphics* graphics, HDC* dc) {
    GP_GRAPHICS(g, graphics);
    if (!dc)
        return InvalidParameter;
    if (g->dc) {
        *dc = g->dc;
        g->dcOut = true;
        return Ok;
    }
    ImageObject* img = FindImage(g->image);
    if (!img)
        return InvalidParameter;
    if (img->locked)
        return ObjectBusy;
    // An image lends a memory DC on a copy of its pixels; they go back at GdipReleaseDC.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = img->bitmap.width;
    info.bmiHeader.biHeight = -img->bitmap.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap || !bits)
        return OutOfMemory;
    std::copy(img->bitmap.pixels.begin(), img->bitmap.pixels.end(), static_cast<std::uint32_t*>(bits));
    HDC memory = CreateCompatibleDC(nullptr);
    SelectObject(memory, bitmap);
    g->imageDC = memory;
    g->imageDCBitmap = bitmap;
    g->dcOut = true;
    *dc = memory;
    return Ok;
}

Status GdipReleaseDC(GpGraphics* graphics, HDC dc) {
    GP_OBJECT(GraphicsObject, g, graphics);
    if (!g->dcOut || (g->dc ? dc != g->dc : dc != g->imageDC))
        return InvalidParameter;
    g->dcOut = false;
    if (g->imageDC) {
        ImageObject* img = FindImage(g->image);
        BITMAP info{};
        GetObjectW(g->imageDCBitmap, sizeof(info), &info);
        auto bits = static_cast<const std::uint32_t*>(info.bmBits);
        if (img && bits && img->bitmap.width == info.bmWidth && img->bitmap.height == info.bmHeight) {
            // GDI leaves alpha meaningless: pixels it changed come back opaque.
            for (size_t i = 0; i < img->bitmap.pixels.size(); ++i) {
                std::uint32_t& p = img->bitmap.pixels[i];
                if ((bits[i] & 0xFFFFFFu) != (p & 0xFFFFFFu))
                    p = bits[i] | 0xFF000000u;
            }
        }
        DeleteDC(g->imageDC);
        DeleteObject(g->imageDCBitmap);
        g->imageDC = nullptr;
        g->imageDCBitmap = nullptr;
    }
    return Ok;
}

Status GdipGraphicsClear(GpGraphics* graphics, ARGB color) {
    GP_GRAPHICS(g, graphics);
    return Guard([&] {
        Surface surface(*g);
        if (surface.Check() != Ok)
            return surface.Check();
        if (surface.HasPixels())
            gp::Clear(surface.Target(), g->Context(), color);
        return Ok;
    });
}

// ---- Quality settings ----

Status GdipSetSmoothingMode(GpGraphics* graphics, SmoothingMode mode) {
    GP_GRAPHICS(g, graphics);
    if (mode < SmoothingModeDefault || mode > SmoothingModeAntiAlias8x8)
        return InvalidParameter;
    // Default and high speed draw without anti-aliasing, as GDI+ does; the mode reads back as set.
    g->state.smoothing = mode;
    return Ok;
}

Status GdipGetSmoothingMode(GpGraphics* graphics, SmoothingMode* mode) {
    GP_GRAPHICS(g, graphics);
    if (!mode)
        return InvalidParameter;
    *mode = g->state.smoothing;
    return Ok;
}

Status GdipSetTextRenderingHint(GpGraphics* graphics, TextRenderingHint hint) {
    GP_GRAPHICS(g, graphics);
    if (hint < TextRenderingHintSystemDefault || hint > TextRenderingHintClearTypeGridFit)
        return InvalidParameter;
    g->state.textHint = hint;
    return Ok;
}

Status GdipGetTextRenderingHint(GpGraphics* graphics, TextRenderingHint* hint) {
    GP_GRAPHICS(g, graphics);
    if (!hint)
        return InvalidParameter;
    *hint = g->state.textHint;
    return Ok;
}

Status GdipSetCompositingMode(GpGraphics* graphics, CompositingMode mode) {
    GP_GRAPHICS(g, graphics);
    if (mode != CompositingModeSourceOver && mode != CompositingModeSourceCopy)
        return InvalidParameter;
    g->state.compositing = mode;
    return Ok;
}

Status GdipGetCompositingMode(GpGraphics* graphics, CompositingMode* mode) {
    GP_GRAPHICS(g, graphics);
    if (!mode)
        return InvalidParameter;
    *mode = g->state.compositing;
    return Ok;
}

Status GdipSetCompositingQuality(GpGraphics* graphics, CompositingQuality quality) {
    GP_GRAPHICS(g, graphics);
    if (quality < CompositingQualityDefault || quality > CompositingQualityAssumeLinear)
        return InvalidParameter;
    g->state.compositingQuality = quality;
    return Ok;
}

Status GdipGetCompositingQuality(GpGraphics* graphics, CompositingQuality* quality) {
    GP_GRAPHICS(g, graphics);
    if (!quality)
        return InvalidParameter;
    *quality = g->state.compositingQuality;
    return Ok;
}

Status GdipSetInterpolationMode(GpGraphics* graphics, InterpolationMode mode) {
    GP_GRAPHICS(g, graphics);
    if (mode < InterpolationModeDefault || mode > InterpolationModeHighQualityBicubic)
        return InvalidParameter;
    g->state.interpolation = mode == InterpolationModeDefault || mode == InterpolationModeLowQuality
                                 ? InterpolationModeBilinear
                             : mode == InterpolationModeHighQuality ? InterpolationModeHighQualityBicubic
                                                                    : mode;
    return Ok;
}

Status GdipGetInterpolationMode(GpGraphics* graphics, InterpolationMode* mode) {
    GP_GRAPHICS(g, graphics);
    if (!mode)
        return InvalidParameter;
    *mode = g->state.interpolation;
    return Ok;
}

Status GdipSetPixelOffsetMode(GpGraphics* graphics, PixelOffsetMode mode) {
    GP_GRAPHICS(g, graphics);
    if (mode < PixelOffsetModeDefault || mode > PixelOffsetModeHalf)
        return InvalidParameter;
    g->state.pixelOffset = mode;
    return Ok;
}

Status GdipGetPixelOffsetMode(GpGraphics* graphics, PixelOffsetMode* mode) {
    GP_GRAPHICS(g, graphics);
    if (!mode)
        return InvalidParameter;
    *mode = g->state.pixelOffset;
    return Ok;
}

Status GdipSetPageUnit(GpGraphics* graphics, GpUnit unit) {
    GP_GRAPHICS(g, graphics);
    if (unit <= UnitWorld || unit > UnitMillimeter)
        return InvalidParameter;
    g->state.pageUnit = unit;
    return Ok;
}

Status GdipGetPageUnit(GpGraphics* graphics, GpUnit* unit) {
    GP_GRAPHICS(g, graphics);
    if (!unit)
        return InvalidParameter;
    *unit = g->state.pageUnit;
    return Ok;
}

Status GdipSetPageScale(GpGraphics* graphics, REAL scale) {
    GP_GRAPHICS(g, graphics);
    if (!(scale > 0) || !std::isfinite(scale))
        return InvalidParameter;
    g->state.pageScale = scale;
    return Ok;
}

Status GdipGetPageScale(GpGraphics* graphics, REAL* scale) {
    GP_GRAPHICS(g, graphics);
    if (!scale)
        return InvalidParameter;
    *scale = g->state.pageScale;
    return Ok;
}

Status GdipGetDpiX(GpGraphics* graphics, REAL* dpi) {
    GP_GRAPHICS(g, graphics);
    if (!dpi)
        return InvalidParameter;
    *dpi = 96;
    return Ok;
}

Status GdipGetDpiY(GpGraphics* graphics, REAL* dpi) {
    GP_GRAPHICS(g, graphics);
    if (!dpi)
        return InvalidParameter;
    *dpi = 96;
    return Ok;
}

// ---- World transform ----

Status GdipSetWorldTransform(GpGraphics* graphics, GpMatrix* matrix) {
    GP_GRAPHICS(g, graphics);
    MatrixObject* m = Find<MatrixObject>(matrix);
    if (!m)
        return InvalidParameter;
    g->state.world = m->m;
    return Ok;
}

Status GdipGetWorldTransform(GpGraphics* graphics, GpMatrix* matrix) {
    GP_GRAPHICS(g, graphics);
    MatrixObject* m = Find<MatrixObject>(matrix);
    if (!m)
        return InvalidParameter;
    m->m = g->state.world;
    return Ok;
}

Status GdipResetWorldTransform(GpGraphics* graphics) {
    GP_GRAPHICS(g, graphics);
    g->state.world = {};
    return Ok;
}

Status GdipMultiplyWorldTransform(GpGraphics* graphics, const GpMatrix* matrix, GpMatrixOrder order) {
    GP_GRAPHICS(g, graphics);
    MatrixObject* m = Find<MatrixObject>(matrix);
    if (!m || !ValidOrder(order))
        return InvalidParameter;
    Combine(*g, m->m, order);
    return Ok;
}

Status GdipTranslateWorldTransform(GpGraphics* graphics, REAL dx, REAL dy, GpMatrixOrder order) {
    GP_GRAPHICS(g, graphics);
    if (!ValidOrder(order))
        return InvalidParameter;
    Combine(*g, {1, 0, 0, 1, dx, dy}, order);
    return Ok;
}

Status GdipScaleWorldTransform(GpGraphics* graphics, REAL sx, REAL sy, GpMatrixOrder order) {
    GP_GRAPHICS(g, graphics);
    if (!ValidOrder(order))
        return InvalidParameter;
    Combine(*g, {sx, 0, 0, sy, 0, 0}, order);
    return Ok;
}

Status GdipRotateWorldTransform(GpGraphics* graphics, REAL angle, GpMatrixOrder order) {
    GP_GRAPHICS(g, graphics);
    if (!ValidOrder(order))
        return InvalidParameter;
    double r = angle * std::numbers::pi / 180.0;
    auto c = static_cast<float>(std::cos(r)), s = static_cast<float>(std::sin(r));
    if (std::fmod(std::abs(angle), 90.0f) == 0) {
        c = std::round(c);
        s = std::round(s);
    }
    Combine(*g, {c, s, -s, c, 0, 0}, order);
    return Ok;
}

Status GdipSaveGraphics(GpGraphics* graphics, GraphicsState* state) {
    GP_GRAPHICS(g, graphics);
    if (!state)
        return InvalidParameter;
    return Guard([&] {
        *state = g->nextSaved++;
        g->saved.emplace_back(*state, g->state);
        return Ok;
    });
}

Status GdipRestoreGraphics(GpGraphics* graphics, GraphicsState state) {
    GP_GRAPHICS(g, graphics);
    for (size_t i = g->saved.size(); i-- > 0;) {
        if (g->saved[i].first == state) {
            g->state = g->saved[i].second;
            g->saved.resize(i);
            return Ok;
        }
    }
    return Ok; // an unknown state changes nothing
}

// ---- Clipping ----

Status GdipSetClipGraphics(GpGraphics* graphics, GpGraphics* source, CombineMode mode) {
    GP_GRAPHICS(g, graphics);
    GraphicsObject* other = Find<GraphicsObject>(source);
    if (!other || !ValidMode(mode))
        return InvalidParameter;
    return Guard([&] {
        gp::RegionStep step;
        if (other->state.clip) {
            step.kind = gp::RegionStep::Kind::Region;
            step.region = other->state.clip;
        }
        CombineClip(*g, std::move(step), mode);
        return Ok;
    });
}

Status GdipSetClipRect(GpGraphics* graphics, REAL x, REAL y, REAL width, REAL height, CombineMode mode) {
    GP_GRAPHICS(g, graphics);
    if (!ValidMode(mode))
        return InvalidParameter;
    return Guard([&] {
        gp::RegionStep step;
        step.kind = gp::RegionStep::Kind::Rect;
        step.rect = {x, y, width, height};
        step.transform = g->WorldToPixels();
        CombineClip(*g, std::move(step), mode);
        return Ok;
    });
}

Status GdipSetClipRectI(GpGraphics* graphics, INT x, INT y, INT width, INT height, CombineMode mode) {
    return GdipSetClipRect(graphics, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                           static_cast<REAL>(height), mode);
}

Status GdipSetClipPath(GpGraphics* graphics, GpPath* path, CombineMode mode) {
    GP_GRAPHICS(g, graphics);
    PathObject* p = Find<PathObject>(path);
    if (!p || !ValidMode(mode))
        return InvalidParameter;
    return Guard([&] {
        gp::RegionStep step;
        step.kind = gp::RegionStep::Kind::Path;
        step.path = p->path;
        step.transform = g->WorldToPixels();
        CombineClip(*g, std::move(step), mode);
        return Ok;
    });
}

Status GdipSetClipRegion(GpGraphics* graphics, GpRegion* region, CombineMode mode) {
    GP_GRAPHICS(g, graphics);
    RegionObject* r = Find<RegionObject>(region);
    if (!r || !ValidMode(mode))
        return InvalidParameter;
    return Guard([&] {
        gp::RegionStep step;
        step.kind = gp::RegionStep::Kind::Region;
        step.region = std::make_shared<const gp::Region>(r->region);
        step.transform = g->WorldToPixels();
        CombineClip(*g, std::move(step), mode);
        return Ok;
    });
}

Status GdipSetClipHrgn(GpGraphics* graphics, HRGN hrgn, CombineMode mode) {
    GP_GRAPHICS(g, graphics);
    if (!ValidMode(mode))
        return InvalidParameter;
    return Guard([&] {
        gp::Region pixels;
        if (!HrgnRegion(hrgn, pixels))
            return InvalidParameter;
        gp::RegionStep step;
        step.kind = gp::RegionStep::Kind::Region;
        step.region = std::make_shared<const gp::Region>(std::move(pixels));
        CombineClip(*g, std::move(step), mode);
        return Ok;
    });
}

Status GdipResetClip(GpGraphics* graphics) {
    GP_GRAPHICS(g, graphics);
    g->state.clip.reset();
    return Ok;
}

Status GdipTranslateClip(GpGraphics* graphics, REAL dx, REAL dy) {
    GP_GRAPHICS(g, graphics);
    if (!g->state.clip)
        return Ok;
    return Guard([&] {
        gp::Matrix m = g->WorldToPixels();
        gp::RegionStep step;
        step.kind = gp::RegionStep::Kind::Region;
        step.region = g->state.clip;
        step.transform = {1, 0, 0, 1, m.m11 * dx + m.m21 * dy, m.m12 * dx + m.m22 * dy};
        gp::Region region;
        region.steps.push_back(std::move(step));
        g->state.clip = std::make_shared<const gp::Region>(std::move(region));
        return Ok;
    });
}

Status GdipGetClip(GpGraphics* graphics, GpRegion* region) {
    GP_GRAPHICS(g, graphics);
    RegionObject* r = Find<RegionObject>(region);
    if (!r)
        return InvalidParameter;
    return Guard([&] {
        r->region = WorldClip(*g);
        return Ok;
    });
}

Status GdipGetClipBounds(GpGraphics* graphics, GpRectF* rect) {
    GP_GRAPHICS(g, graphics);
    if (!rect)
        return InvalidParameter;
    return Guard([&] {
        gp::RectF b = gp::RegionBounds(WorldClip(*g));
        *rect = {b.x, b.y, b.width, b.height};
        return Ok;
    });
}

Status GdipIsClipEmpty(GpGraphics* graphics, BOOL* result) {
    GP_GRAPHICS(g, graphics);
    if (!result)
        return InvalidParameter;
    return Guard([&] {
        *result = g->state.clip && gp::RegionEmpty(*g->state.clip) ? TRUE : FALSE;
        return Ok;
    });
}

Status GdipIsVisiblePoint(GpGraphics* graphics, REAL x, REAL y, BOOL* result) {
    GP_GRAPHICS(g, graphics);
    if (!result)
        return InvalidParameter;
    return Guard([&] {
        *result = gp::RegionContains(WorldClip(*g), {x, y}) ? TRUE : FALSE;
        return Ok;
    });
}
