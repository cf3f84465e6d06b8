// GDI+ brushes: solid, hatch, texture, linear-gradient and path-gradient fills.
#include <cmath>
#include <numbers>

#include "platform/win32/gdiplus_private.h"

namespace gdiplus {

void BrushObject::UpdateStops() {
    if (preset)
        return;
    if (brush.type != BrushTypeLinearGradient && brush.type != BrushTypePathGradient)
        return;
    brush.positions.clear();
    brush.colors.clear();
    if (brush.type == BrushTypePathGradient) {
        // A factor blend runs from the surround colour (0) to the centre colour (1).
        ARGB edge = brush.surround.empty() ? 0xFFFFFFFF : brush.surround.front();
        for (size_t i = 0; i < blendFactors.size(); ++i) {
            double f = std::clamp(blendFactors[i], 0.0f, 1.0f);
            auto mix = [&](int shift) {
                double a = (edge >> shift) & 0xFF, b = (brush.centerColor >> shift) & 0xFF;
                return static_cast<ARGB>(std::lround(a + (b - a) * f)) << shift;
            };
            brush.positions.push_back(blendPositions[i]);
            brush.colors.push_back(mix(24) | mix(16) | mix(8) | mix(0));
        }
        return;
    }
    if (blendFactors.empty()) {
        brush.positions = {0, 1};
        brush.colors = {lineColors[0], lineColors[1]};
        return;
    }
    for (size_t i = 0; i < blendFactors.size(); ++i) {
        double f = std::clamp(blendFactors[i], 0.0f, 1.0f);
        auto mix = [&](int shift) {
            double a = (lineColors[0] >> shift) & 0xFF, b = (lineColors[1] >> shift) & 0xFF;
            return static_cast<ARGB>(std::lround(a + (b - a) * f)) << shift;
        };
        brush.positions.push_back(blendPositions[i]);
        brush.colors.push_back(mix(24) | mix(16) | mix(8) | mix(0));
    }
}

GpBrush* AddBrush(std::unique_ptr<BrushObject> brush) {
    switch (brush->brush.type) {
    case BrushTypeHatchFill:
        return Add<GpHatch>(std::move(brush));
    case BrushTypeTextureFill:
        return Add<GpTexture>(std::move(brush));
    case BrushTypePathGradient:
        return Add<GpPathGradient>(std::move(brush));
    case BrushTypeLinearGradient:
        return Add<GpLineGradient>(std::move(brush));
    default:
        return Add<GpSolidFill>(std::move(brush));
    }
}

std::unique_ptr<BrushObject> MakeBrush(const gp::Brush& brush) {
    auto object = std::make_unique<BrushObject>();
    object->brush = brush;
    if (brush.type == BrushTypeLinearGradient && brush.colors.size() >= 2) {
        object->lineColors[0] = brush.colors.front();
        object->lineColors[1] = brush.colors.back();
    }
    return object;
}

} // namespace gdiplus

using namespace gdiplus;

namespace {

bool ValidWrap(GpWrapMode mode) {
    return mode >= WrapModeTile && mode <= WrapModeClamp;
}

gp::Wrap ToWrap(GpWrapMode mode) {
    return static_cast<gp::Wrap>(mode);
}

template <class T> T* NewBrushHandle(std::unique_ptr<BrushObject> object) {
    return static_cast<T*>(AddBrush(std::move(object)));
}

// The gradient line of a rectangle: from the corner where the gradient starts to the corner where it
// ends, along direction (the lines of one colour are across it).
void SetLine(BrushObject& b, const GpRectF& rect, double dx, double dy) {
    double length = std::hypot(dx, dy);
    if (length == 0) {
        dx = 1;
        length = 1;
    }
    dx /= length;
    dy /= length;
    double corners[4][2] = {{rect.X, rect.Y},
                            {rect.X + rect.Width, rect.Y},
                            {rect.X, rect.Y + rect.Height},
                            {rect.X + rect.Width, rect.Y + rect.Height}};
    double low = 0, high = 0;
    int lowIndex = 0;
    for (int i = 0; i < 4; ++i) {
        double along = corners[i][0] * dx + corners[i][1] * dy;
        if (i == 0 || along < low) {
            low = along;
            lowIndex = i;
        }
        if (i == 0 || along > high)
            high = along;
    }
    double sx = corners[lowIndex][0], sy = corners[lowIndex][1];
    b.brush.start = {static_cast<float>(sx), static_cast<float>(sy)};
    b.brush.end = {static_cast<float>(sx + dx * (high - low)), static_cast<float>(sy + dy * (high - low))};
    b.rect = rect;
}

std::unique_ptr<BrushObject> NewLineBrush(ARGB color1, ARGB color2, GpWrapMode wrapMode) {
    auto b = std::make_unique<BrushObject>();
    b->brush.type = BrushTypeLinearGradient;
    b->brush.wrap = ToWrap(wrapMode);
    b->lineColors[0] = color1;
    b->lineColors[1] = color2;
    b->UpdateStops();
    return b;
}

Status CreateLineBrushFromRect(const GpRectF& rect, ARGB color1, ARGB color2, double dx, double dy,
                               GpWrapMode wrapMode, GpLineGradient** brush) {
    return Guard([&] {
        auto b = NewLineBrush(color1, color2, wrapMode);
        SetLine(*b, rect, dx, dy);
        *brush = NewBrushHandle<GpLineGradient>(std::move(b));
        return Ok;
    });
}

Status CreateLineBrushFromRectMode(const GpRectF* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                   GpWrapMode wrapMode, GpLineGradient** brush) {
    GP_STARTED();
    if (!rect || !brush || !ValidWrap(wrapMode) || wrapMode == WrapModeClamp || rect->Width == 0 ||
        rect->Height == 0)
        return InvalidParameter;
    double dx = 1, dy = 0;
    switch (mode) {
    case LinearGradientModeHorizontal:
        break;
    case LinearGradientModeVertical:
        dx = 0;
        dy = 1;
        break;
    // The diagonal modes run corner to corner: the lines of one colour lie along the other diagonal.
    case LinearGradientModeForwardDiagonal:
        dx = rect->Height;
        dy = rect->Width;
        break;
    case LinearGradientModeBackwardDiagonal:
        dx = -rect->Height;
        dy = rect->Width;
        break;
    default:
        return InvalidParameter;
    }
    return CreateLineBrushFromRect(*rect, color1, color2, dx, dy, wrapMode, brush);
}

Status CreateLineBrushWithAngle(const GpRectF* rect, ARGB color1, ARGB color2, REAL angle,
                                BOOL isAngleScalable, GpWrapMode wrapMode, GpLineGradient** brush) {
    GP_STARTED();
    if (!rect || !brush || !ValidWrap(wrapMode) || wrapMode == WrapModeClamp || rect->Width == 0 ||
        rect->Height == 0)
        return InvalidParameter;
    double a = angle * std::numbers::pi / 180.0;
    double dx = std::cos(a), dy = std::sin(a);
    // A scalable angle is the angle in the unit square, stretched with the rectangle.
    if (isAngleScalable) {
        dx = std::cos(a) * rect->Height;
        dy = std::sin(a) * rect->Width;
    }
    return CreateLineBrushFromRect(*rect, color1, color2, dx, dy, wrapMode, brush);
}

GpRectF ToRectF(const GpRect& r) {
    return {static_cast<REAL>(r.X), static_cast<REAL>(r.Y), static_cast<REAL>(r.Width),
            static_cast<REAL>(r.Height)};
}

bool ValidBlend(const REAL* positions, INT count) {
    if (count < 2 || !positions || positions[0] != 0.0f || positions[count - 1] != 1.0f)
        return false;
    for (INT i = 1; i < count; ++i)
        if (positions[i] < positions[i - 1])
            return false;
    return true;
}

std::unique_ptr<BrushObject> NewPathGradient(gp::Path boundary, gp::PointF center, INT pointCount,
                                             GpWrapMode wrapMode) {
    auto b = std::make_unique<BrushObject>();
    b->brush.type = BrushTypePathGradient;
    b->brush.boundary = std::move(boundary);
    b->brush.center = center;
    b->brush.centerColor = 0xFFFFFFFF;
    b->brush.surround = {0xFFFFFFFF};
    b->brush.wrap = ToWrap(wrapMode);
    b->pointCount = pointCount;
    return b;
}

template <class Point>
Status CreatePathGradient(const Point* points, INT count, GpWrapMode wrapMode, GpPathGradient** brush) {
    GP_STARTED();
    if (!points || !brush || count < 2 || !ValidWrap(wrapMode))
        return InvalidParameter;
    return Guard([&] {
        std::vector<gp::PointF> p = ToPoints(points, count);
        gp::PointF center;
        for (const gp::PointF& q : p) {
            center.x += q.x / static_cast<float>(count);
            center.y += q.y / static_cast<float>(count);
        }
        *brush =
            NewBrushHandle<GpPathGradient>(NewPathGradient(PolygonPath(p, false), center, count, wrapMode));
        return Ok;
    });
}

BrushObject* FindOfType(const void* handle, int type) {
    BrushObject* b = Find<BrushObject>(handle);
    return b && b->brush.type == type ? b : nullptr;
}

#define GP_BRUSH(name, handle, type)                                                                         \
    GP_STARTED();                                                                                            \
    BrushObject* name = FindOfType(handle, type);                                                            \
    if (!name)                                                                                               \
        return InvalidParameter;

void Transform(BrushObject& b, const gp::Matrix& m, GpMatrixOrder order) {
    b.brush.transform = order == MatrixOrderAppend ? b.brush.transform.Then(m) : m.Then(b.brush.transform);
}

template <class Number>
Status CreateTextureArea(GpImage* image, GpWrapMode wrapMode, const AttributesObject* attributes, Number x,
                         Number y, Number width, Number height, GpTexture** texture) {
    GP_STARTED();
    ImageObject* img = FindImage(image);
    if (!img || !texture || !ValidWrap(wrapMode))
        return InvalidParameter;
    if (img->locked)
        return ObjectBusy;
    const gp::Bitmap& source = img->bitmap;
    long left = std::lround(x), top = std::lround(y), w = std::lround(width), h = std::lround(height);
    if (w <= 0 || h <= 0 || left < 0 || top < 0 || left + w > source.width || top + h > source.height)
        return InvalidParameter;
    return Guard([&] {
        auto bitmap = std::make_shared<gp::Bitmap>();
        bitmap->width = static_cast<int>(w);
        bitmap->height = static_cast<int>(h);
        bitmap->pixels.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
        for (long row = 0; row < h; ++row)
            std::copy_n(source.pixels.begin() + (top + row) * source.width + left, w,
                        bitmap->pixels.begin() + row * w);
        if (attributes)
            *bitmap = attributes->Apply(*bitmap, ColorAdjustTypeBitmap);
        auto b = std::make_unique<BrushObject>();
        b->brush.type = BrushTypeTextureFill;
        b->brush.texture = bitmap;
        b->brush.wrap = ToWrap(wrapMode);
        *texture = NewBrushHandle<GpTexture>(std::move(b));
        return Ok;
    });
}

} // namespace

Status GdipCloneBrush(GpBrush* brush, GpBrush** clone) {
    GP_OBJECT(BrushObject, b, brush);
    if (!clone)
        return InvalidParameter;
    return Guard([&] {
        *clone = AddBrush(std::make_unique<BrushObject>(*b));
        return Ok;
    });
}

Status GdipDeleteBrush(GpBrush* brush) {
    GP_OBJECT(BrushObject, b, brush);
    RemoveEntry(brush);
    return Ok;
}

Status GdipGetBrushType(GpBrush* brush, GpBrushType* type) {
    GP_OBJECT(BrushObject, b, brush);
    if (!type)
        return InvalidParameter;
    *type = static_cast<GpBrushType>(b->brush.type);
    return Ok;
}

// ---- Solid ----

Status GdipCreateSolidFill(ARGB color, GpSolidFill** brush) {
    GP_STARTED();
    if (!brush)
        return InvalidParameter;
    return Guard([&] {
        auto b = std::make_unique<BrushObject>();
        b->brush.color = color;
        *brush = NewBrushHandle<GpSolidFill>(std::move(b));
        return Ok;
    });
}

Status GdipSetSolidFillColor(GpSolidFill* brush, ARGB color) {
    GP_BRUSH(b, brush, BrushTypeSolidColor);
    b->brush.color = color;
    return Ok;
}

Status GdipGetSolidFillColor(GpSolidFill* brush, ARGB* color) {
    GP_BRUSH(b, brush, BrushTypeSolidColor);
    if (!color)
        return InvalidParameter;
    *color = b->brush.color;
    return Ok;
}

// ---- Hatch ----

Status GdipCreateHatchBrush(GpHatchStyle style, ARGB foreColor, ARGB backColor, GpHatch** brush) {
    GP_STARTED();
    if (!brush || style < HatchStyleMin || style > HatchStyleMax)
        return InvalidParameter;
    return Guard([&] {
        auto b = std::make_unique<BrushObject>();
        b->brush.type = BrushTypeHatchFill;
        b->brush.hatch = style;
        b->brush.color = foreColor;
        b->brush.back = backColor;
        *brush = NewBrushHandle<GpHatch>(std::move(b));
        return Ok;
    });
}

Status GdipGetHatchStyle(GpHatch* brush, GpHatchStyle* style) {
    GP_BRUSH(b, brush, BrushTypeHatchFill);
    if (!style)
        return InvalidParameter;
    *style = static_cast<GpHatchStyle>(b->brush.hatch);
    return Ok;
}

Status GdipGetHatchForegroundColor(GpHatch* brush, ARGB* color) {
    GP_BRUSH(b, brush, BrushTypeHatchFill);
    if (!color)
        return InvalidParameter;
    *color = b->brush.color;
    return Ok;
}

Status GdipGetHatchBackgroundColor(GpHatch* brush, ARGB* color) {
    GP_BRUSH(b, brush, BrushTypeHatchFill);
    if (!color)
        return InvalidParameter;
    *color = b->brush.back;
    return Ok;
}

// ---- Texture ----

Status GdipCreateTexture(GpImage* image, GpWrapMode wrapMode, GpTexture** texture) {
    GP_STARTED();
    ImageObject* img = FindImage(image);
    if (!img)
        return InvalidParameter;
    return CreateTextureArea(image, wrapMode, nullptr, 0, 0, img->bitmap.width, img->bitmap.height, texture);
}

Status GdipCreateTexture2(GpImage* image, GpWrapMode wrapMode, REAL x, REAL y, REAL width, REAL height,
                          GpTexture** texture) {
    return CreateTextureArea(image, wrapMode, nullptr, x, y, width, height, texture);
}

Status GdipCreateTexture2I(GpImage* image, GpWrapMode wrapMode, INT x, INT y, INT width, INT height,
                           GpTexture** texture) {
    return CreateTextureArea(image, wrapMode, nullptr, x, y, width, height, texture);
}

Status GdipCreateTextureIA(GpImage* image, GpImageAttributes* attributes, REAL x, REAL y, REAL width,
                           REAL height, GpTexture** texture) {
    GP_STARTED();
    AttributesObject* a = Find<AttributesObject>(attributes);
    if (attributes && !a)
        return InvalidParameter;
    return CreateTextureArea(image, a ? a->wrap : WrapModeTile, a, x, y, width, height, texture);
}

Status GdipCreateTextureIAI(GpImage* image, GpImageAttributes* attributes, INT x, INT y, INT width,
                            INT height, GpTexture** texture) {
    GP_STARTED();
    AttributesObject* a = Find<AttributesObject>(attributes);
    if (attributes && !a)
        return InvalidParameter;
    return CreateTextureArea(image, a ? a->wrap : WrapModeTile, a, x, y, width, height, texture);
}

Status GdipGetTextureImage(GpTexture* brush, GpImage** image) {
    GP_BRUSH(b, brush, BrushTypeTextureFill);
    if (!image || !b->brush.texture)
        return InvalidParameter;
    return Guard([&] {
        auto img = std::make_unique<ImageObject>();
        img->bitmap = *b->brush.texture;
        *image = AddImage(std::move(img));
        return Ok;
    });
}

Status GdipResetTextureTransform(GpTexture* brush) {
    GP_BRUSH(b, brush, BrushTypeTextureFill);
    b->brush.transform = {};
    return Ok;
}

Status GdipSetTextureTransform(GpTexture* brush, GpMatrix* matrix) {
    GP_BRUSH(b, brush, BrushTypeTextureFill);
    MatrixObject* m = Find<MatrixObject>(matrix);
    if (!m)
        return InvalidParameter;
    b->brush.transform = m->m;
    return Ok;
}

Status GdipTranslateTextureTransform(GpTexture* brush, REAL dx, REAL dy, GpMatrixOrder order) {
    GP_BRUSH(b, brush, BrushTypeTextureFill);
    Transform(*b, {1, 0, 0, 1, dx, dy}, order);
    return Ok;
}

Status GdipScaleTextureTransform(GpTexture* brush, REAL sx, REAL sy, GpMatrixOrder order) {
    GP_BRUSH(b, brush, BrushTypeTextureFill);
    Transform(*b, {sx, 0, 0, sy, 0, 0}, order);
    return Ok;
}

Status GdipRotateTextureTransform(GpTexture* brush, REAL angle, GpMatrixOrder order) {
    GP_BRUSH(b, brush, BrushTypeTextureFill);
    double r = angle * std::numbers::pi / 180.0;
    auto c = static_cast<float>(std::cos(r)), s = static_cast<float>(std::sin(r));
    Transform(*b, {c, s, -s, c, 0, 0}, order);
    return Ok;
}

Status GdipSetTextureWrapMode(GpTexture* brush, GpWrapMode wrapMode) {
    GP_BRUSH(b, brush, BrushTypeTextureFill);
    if (!ValidWrap(wrapMode))
        return InvalidParameter;
    b->brush.wrap = ToWrap(wrapMode);
    return Ok;
}

Status GdipGetTextureWrapMode(GpTexture* brush, GpWrapMode* wrapMode) {
    GP_BRUSH(b, brush, BrushTypeTextureFill);
    if (!wrapMode)
        return InvalidParameter;
    *wrapMode = static_cast<GpWrapMode>(b->brush.wrap);
    return Ok;
}

// ---- Linear gradients ----

Status GdipCreateLineBrush(const GpPointF* point1, const GpPointF* point2, ARGB color1, ARGB color2,
                           GpWrapMode wrapMode, GpLineGradient** brush) {
    GP_STARTED();
    if (!point1 || !point2 || !brush || !ValidWrap(wrapMode) || wrapMode == WrapModeClamp)
        return InvalidParameter;
    if (point1->X == point2->X && point1->Y == point2->Y)
        return OutOfMemory; // what GDI+ answers for a gradient of no length
    return Guard([&] {
        auto b = NewLineBrush(color1, color2, wrapMode);
        b->brush.start = ToPoint(*point1);
        b->brush.end = ToPoint(*point2);
        b->rect = {std::min(point1->X, point2->X), std::min(point1->Y, point2->Y),
                   std::abs(point2->X - point1->X), std::abs(point2->Y - point1->Y)};
        *brush = NewBrushHandle<GpLineGradient>(std::move(b));
        return Ok;
    });
}

Status GdipCreateLineBrushI(const GpPoint* point1, const GpPoint* point2, ARGB color1, ARGB color2,
                            GpWrapMode wrapMode, GpLineGradient** brush) {
    if (!point1 || !point2)
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    GpPointF a{static_cast<REAL>(point1->X), static_cast<REAL>(point1->Y)};
    GpPointF b{static_cast<REAL>(point2->X), static_cast<REAL>(point2->Y)};
    return GdipCreateLineBrush(&a, &b, color1, color2, wrapMode, brush);
}

Status GdipCreateLineBrushFromRect(const GpRectF* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                   GpWrapMode wrapMode, GpLineGradient** brush) {
    return CreateLineBrushFromRectMode(rect, color1, color2, mode, wrapMode, brush);
}

Status GdipCreateLineBrushFromRectI(const GpRect* rect, ARGB color1, ARGB color2, LinearGradientMode mode,
                                    GpWrapMode wrapMode, GpLineGradient** brush) {
    if (!rect)
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    GpRectF r = ToRectF(*rect);
    return CreateLineBrushFromRectMode(&r, color1, color2, mode, wrapMode, brush);
}

Status GdipCreateLineBrushFromRectWithAngle(const GpRectF* rect, ARGB color1, ARGB color2, REAL angle,
                                            BOOL isAngleScalable, GpWrapMode wrapMode,
                                            GpLineGradient** brush) {
    return CreateLineBrushWithAngle(rect, color1, color2, angle, isAngleScalable, wrapMode, brush);
}

Status GdipCreateLineBrushFromRectWithAngleI(const GpRect* rect, ARGB color1, ARGB color2, REAL angle,
                                             BOOL isAngleScalable, GpWrapMode wrapMode,
                                             GpLineGradient** brush) {
    if (!rect)
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    GpRectF r = ToRectF(*rect);
    return CreateLineBrushWithAngle(&r, color1, color2, angle, isAngleScalable, wrapMode, brush);
}

Status GdipGetLineColors(GpLineGradient* brush, ARGB* colors) {
    GP_BRUSH(b, brush, BrushTypeLinearGradient);
    if (!colors)
        return InvalidParameter;
    colors[0] = b->lineColors[0];
    colors[1] = b->lineColors[1];
    return Ok;
}

Status GdipSetLineColors(GpLineGradient* brush, ARGB color1, ARGB color2) {
    GP_BRUSH(b, brush, BrushTypeLinearGradient);
    b->lineColors[0] = color1;
    b->lineColors[1] = color2;
    b->preset = false;
    b->UpdateStops();
    return Ok;
}

Status GdipGetLineRect(GpLineGradient* brush, GpRectF* rect) {
    GP_BRUSH(b, brush, BrushTypeLinearGradient);
    if (!rect)
        return InvalidParameter;
    *rect = b->rect;
    return Ok;
}

Status GdipSetLineBlend(GpLineGradient* brush, const REAL* factors, const REAL* positions, INT count) {
    GP_BRUSH(b, brush, BrushTypeLinearGradient);
    if (!factors || !ValidBlend(positions, count))
        return InvalidParameter;
    return Guard([&] {
        b->blendFactors.assign(factors, factors + count);
        b->blendPositions.assign(positions, positions + count);
        b->preset = false;
        b->UpdateStops();
        return Ok;
    });
}

Status GdipSetLinePresetBlend(GpLineGradient* brush, const ARGB* colors, const REAL* positions, INT count) {
    GP_BRUSH(b, brush, BrushTypeLinearGradient);
    if (!colors || !ValidBlend(positions, count))
        return InvalidParameter;
    return Guard([&] {
        b->preset = true;
        b->blendFactors.clear();
        b->blendPositions.clear();
        b->brush.colors.assign(colors, colors + count);
        b->brush.positions.assign(positions, positions + count);
        return Ok;
    });
}

Status GdipSetLineGammaCorrection(GpLineGradient* brush, BOOL useGammaCorrection) {
    GP_BRUSH(b, brush, BrushTypeLinearGradient);
    b->brush.gamma = useGammaCorrection != FALSE;
    return Ok;
}

Status GdipGetLineGammaCorrection(GpLineGradient* brush, BOOL* useGammaCorrection) {
    GP_BRUSH(b, brush, BrushTypeLinearGradient);
    if (!useGammaCorrection)
        return InvalidParameter;
    *useGammaCorrection = b->brush.gamma ? TRUE : FALSE;
    return Ok;
}

Status GdipSetLineWrapMode(GpLineGradient* brush, GpWrapMode wrapMode) {
    GP_BRUSH(b, brush, BrushTypeLinearGradient);
    if (!ValidWrap(wrapMode) || wrapMode == WrapModeClamp)
        return InvalidParameter;
    b->brush.wrap = ToWrap(wrapMode);
    return Ok;
}

Status GdipGetLineWrapMode(GpLineGradient* brush, GpWrapMode* wrapMode) {
    GP_BRUSH(b, brush, BrushTypeLinearGradient);
    if (!wrapMode)
        return InvalidParameter;
    *wrapMode = static_cast<GpWrapMode>(b->brush.wrap);
    return Ok;
}

// ---- Path gradients ----

Status GdipCreatePathGradient(const GpPointF* points, INT count, GpWrapMode wrapMode,
                              GpPathGradient** brush) {
    return CreatePathGradient(points, count, wrapMode, brush);
}

Status GdipCreatePathGradientI(const GpPoint* points, INT count, GpWrapMode wrapMode,
                               GpPathGradient** brush) {
    return CreatePathGradient(points, count, wrapMode, brush);
}

Status GdipCreatePathGradientFromPath(const GpPath* path, GpPathGradient** brush) {
    GP_OBJECT(PathObject, p, path);
    if (!brush || p->path.points.size() < 2)
        return p->path.points.empty() ? OutOfMemory : InvalidParameter;
    return Guard([&] {
        gp::RectF bounds = gp::PathBounds(p->path, {}, nullptr);
        gp::PointF center{bounds.x + bounds.width / 2, bounds.y + bounds.height / 2};
        *brush = NewBrushHandle<GpPathGradient>(
            NewPathGradient(p->path, center, static_cast<INT>(p->path.points.size()), WrapModeClamp));
        return Ok;
    });
}

Status GdipGetPathGradientCenterColor(GpPathGradient* brush, ARGB* color) {
    GP_BRUSH(b, brush, BrushTypePathGradient);
    if (!color)
        return InvalidParameter;
    *color = b->brush.centerColor;
    return Ok;
}

Status GdipSetPathGradientCenterColor(GpPathGradient* brush, ARGB color) {
    GP_BRUSH(b, brush, BrushTypePathGradient);
    b->brush.centerColor = color;
    b->UpdateStops();
    return Ok;
}

Status GdipGetPathGradientCenterPoint(GpPathGradient* brush, GpPointF* point) {
    GP_BRUSH(b, brush, BrushTypePathGradient);
    if (!point)
        return InvalidParameter;
    *point = {b->brush.center.x, b->brush.center.y};
    return Ok;
}

Status GdipGetPathGradientCenterPointI(GpPathGradient* brush, GpPoint* point) {
    GP_BRUSH(b, brush, BrushTypePathGradient);
    if (!point)
        return InvalidParameter;
    *point = {static_cast<INT>(std::lround(b->brush.center.x)),
              static_cast<INT>(std::lround(b->brush.center.y))};
    return Ok;
}

Status GdipSetPathGradientCenterPoint(GpPathGradient* brush, const GpPointF* point) {
    GP_BRUSH(b, brush, BrushTypePathGradient);
    if (!point)
        return InvalidParameter;
    b->brush.center = ToPoint(*point);
    return Ok;
}

Status GdipSetPathGradientCenterPointI(GpPathGradient* brush, const GpPoint* point) {
    GP_BRUSH(b, brush, BrushTypePathGradient);
    if (!point)
        return InvalidParameter;
    b->brush.center = ToPoint(*point);
    return Ok;
}

Status GdipGetPathGradientPointCount(GpPathGradient* brush, INT* count) {
    GP_BRUSH(b, brush, BrushTypePathGradient);
    if (!count)
        return InvalidParameter;
    *count = b->pointCount;
    return Ok;
}

Status GdipGetPathGradientSurroundColorCount(GpPathGradient* brush, INT* count) {
    GP_BRUSH(b, brush, BrushTypePathGradient);
    if (!count)
        return InvalidParameter;
    *count = b->pointCount;
    return Ok;
}

Status GdipGetPathGradientSurroundColorsWithCount(GpPathGradient* brush, ARGB* colors, INT* count) {
    GP_BRUSH(b, brush, BrushTypePathGradient);
    if (!colors || !count)
        return InvalidParameter;
    if (*count < b->pointCount)
        return InsufficientBuffer;
    for (INT i = 0; i < b->pointCount; ++i)
        colors[i] = b->brush.surround[std::min<size_t>(static_cast<size_t>(i), b->brush.surround.size() - 1)];
    *count = b->pointCount;
    return Ok;
}

Status GdipSetPathGradientSurroundColorsWithCount(GpPathGradient* brush, const ARGB* colors, INT* count) {
    GP_BRUSH(b, brush, BrushTypePathGradient);
    if (!colors || !count || *count <= 0 || *count > b->pointCount)
        return InvalidParameter;
    return Guard([&] {
        b->brush.surround.assign(colors, colors + *count);
        b->UpdateStops();
        return Ok;
    });
}

Status GdipSetPathGradientWrapMode(GpPathGradient* brush, GpWrapMode wrapMode) {
    GP_BRUSH(b, brush, BrushTypePathGradient);
    if (!ValidWrap(wrapMode))
        return InvalidParameter;
    b->brush.wrap = ToWrap(wrapMode);
    return Ok;
}

Status GdipSetPathGradientGammaCorrection(GpPathGradient* brush, BOOL useGammaCorrection) {
    GP_BRUSH(b, brush, BrushTypePathGradient);
    b->brush.gamma = useGammaCorrection != FALSE;
    return Ok;
}

Status GdipSetPathGradientPresetBlend(GpPathGradient* brush, const ARGB* colors, const REAL* positions,
                                      INT count) {
    GP_BRUSH(b, brush, BrushTypePathGradient);
    if (!colors || !ValidBlend(positions, count))
        return InvalidParameter;
    return Guard([&] {
        b->preset = true;
        b->brush.colors.assign(colors, colors + count);
        b->brush.positions.assign(positions, positions + count);
        return Ok;
    });
}

Status GdipSetPathGradientBlend(GpPathGradient* brush, const REAL* factors, const REAL* positions,
                                INT count) {
    GP_BRUSH(b, brush, BrushTypePathGradient);
    if (!factors || !ValidBlend(positions, count))
        return InvalidParameter;
    return Guard([&] {
        b->preset = false;
        b->blendFactors.assign(factors, factors + count);
        b->blendPositions.assign(positions, positions + count);
        b->UpdateStops();
        return Ok;
    });
}
