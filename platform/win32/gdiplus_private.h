// What the GDI+ files share and nothing else sees: the table of live objects behind the opaque
// handles, the objects themselves and the conversions into what the painter draws with.
#pragma once

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

#include "platform/backend/gdiplus_paint.h"
#include "platform/win32/gdiplus.h"

namespace gdiplus {

namespace gp = backend::gdip;

// ---- Start-up and the object table (gdiplus_startup.cpp) ----

bool Started();

struct Object {
    virtual ~Object() = default;
};

// Handles are small allocations of the public type, so that a deleted or made-up handle is found
// missing instead of being followed.
void AddEntry(const void* handle, std::unique_ptr<Object> object, void (*destroy)(const void*));
Object* FindEntry(const void* handle);
// False when the handle is not in the table.
bool RemoveEntry(const void* handle);

template <class Handle, class T> Handle* Add(std::unique_ptr<T> object) {
    Handle* handle = new Handle;
    AddEntry(handle, std::move(object), [](const void* p) { delete static_cast<const Handle*>(p); });
    return handle;
}
template <class T> T* Find(const void* handle) {
    if (!handle)
        return nullptr;
    return dynamic_cast<T*>(FindEntry(handle));
}

// Looks the handle up as a T: answers from the enclosing function with GdiplusNotInitialized before
// start-up and InvalidParameter for a handle that is not a live T.
#define GP_OBJECT(T, name, handle)                                                                           \
    if (!::gdiplus::Started())                                                                               \
        return GdiplusNotInitialized;                                                                        \
    T* name = ::gdiplus::Find<T>(handle);                                                                    \
    if (!name)                                                                                               \
        return InvalidParameter;

#define GP_STARTED()                                                                                         \
    if (!::gdiplus::Started())                                                                               \
        return GdiplusNotInitialized;

// Runs body, turning a failed allocation into OutOfMemory.
template <class Body> Status Guard(Body&& body) {
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return OutOfMemory;
    }
}

// ---- Objects ----

struct MatrixObject : Object {
    gp::Matrix m;
};

struct StringFormatObject : Object {
    INT flags = 0;
    StringAlignment align = StringAlignmentNear;
    StringAlignment lineAlign = StringAlignmentNear;
    StringTrimming trimming = StringTrimmingCharacter;
    INT hotkeyPrefix = HotkeyPrefixNone;
    bool typographic = false; // no padding around the text
    bool shared = false;      // the generic formats: deleting them does nothing
};

struct ImageObject;

struct BrushObject : Object {
    gp::Brush brush;
    GpRectF rect{0, 0, 0, 0};                        // linear gradients: the rectangle of the gradient
    ARGB lineColors[2] = {0, 0};                     // linear gradients: the two end colours
    std::vector<float> blendFactors, blendPositions; // factor blend of a linear or path gradient
    bool preset = false;                             // the stops come from a preset blend
    INT pointCount = 0;                              // path gradients: points of the boundary
    // Turns the end colours and the blend into the painter's stops.
    void UpdateStops();
};

struct PenObject : Object {
    gp::Pen pen;
    DashStyle dashStyle = DashStyleSolid;
    LineCap startCap = LineCapFlat;
    LineCap endCap = LineCapFlat;
    LineJoin join = LineJoinMiter;
    PenAlignment alignment = PenAlignmentCenter;
    GpUnit unit = UnitWorld;
    REAL width = 1; // as given, in unit
};

struct PathObject : Object {
    gp::Path path;
    bool startFigure = true; // the next point starts a new figure
    // Appends points to the current figure: the first one starts a figure when one is due, else it
    // joins with a line.
    void AddLines(const std::vector<gp::PointF>& points);
    // Appends Bézier points (3n + 1) to the current figure.
    void AddBeziers(const std::vector<gp::PointF>& points);
    void CloseFigure();
};

struct RegionObject : Object {
    gp::Region region;
};

struct FontFamilyObject : Object {
    String name;         // as asked for
    bool shared = false; // the generic families: deleting them does nothing
};

struct FontObject : Object {
    String family;
    REAL emSize = 0;
    INT style = 0;
    Unit unit = UnitPoint;
};

struct ImageObject : Object {
    gp::Bitmap bitmap;              // the active frame
    std::vector<gp::Bitmap> frames; // every frame of an animated GIF; empty for one frame
    UINT activeFrame = 0;
    GUID rawFormat = ImageFormatMemoryBMP;
    PixelFormat format = PixelFormat32bppARGB;
    REAL dpiX = 96;
    REAL dpiY = 96;
    // A lock of GdipBitmapLockBits: the pixels handed out and where they go back.
    bool locked = false;
    GpRect lockRect{0, 0, 0, 0};
    UINT lockFlags = 0;
    PixelFormat lockFormat = 0;
    std::vector<std::uint8_t> lockBuffer;
};

// One colour-adjustment category of image attributes.
struct Adjustments {
    bool used = false; // this category has settings of its own
    bool noOp = false;
    bool matrixEnabled = false;
    ColorMatrix matrix{};
    bool grayEnabled = false;
    ColorMatrix grayMatrix{};
    ColorMatrixFlags matrixFlags = ColorMatrixFlagsDefault;
    bool thresholdEnabled = false;
    REAL threshold = 0;
    bool gammaEnabled = false;
    REAL gamma = 1;
    bool keyEnabled = false;
    ARGB keyLow = 0, keyHigh = 0;
    bool channelEnabled = false;
    ColorChannelFlags channel = ColorChannelFlagsLast;
    std::vector<ColorMap> remap;
};

struct AttributesObject : Object {
    Adjustments categories[ColorAdjustTypeCount];
    WrapMode wrap = WrapModeClamp;
    ARGB wrapColor = 0;
    // The settings for a category: its own when it has them, else the default ones.
    const Adjustments& For(ColorAdjustType type) const {
        return categories[type].used ? categories[type] : categories[ColorAdjustTypeDefault];
    }
    // The pixels with the adjustments of type applied.
    gp::Bitmap Apply(const gp::Bitmap& source, ColorAdjustType type) const;
    ARGB ApplyColor(ARGB color, ColorAdjustType type) const;
};

struct GraphicsObject : Object {
    HDC dc = nullptr;         // drawing on a DC, or
    GpImage* image = nullptr; // on an image (its handle, looked up at each call)
    bool dcOut = false;       // GdipGetDC has handed a DC out
    HDC imageDC = nullptr;    // the DC handed out for an image
    HBITMAP imageDCBitmap = nullptr;
    struct State {
        gp::Matrix world;
        std::shared_ptr<const gp::Region> clip; // in the graphics' pixels
        SmoothingMode smoothing = SmoothingModeNone;
        TextRenderingHint textHint = TextRenderingHintSystemDefault;
        CompositingMode compositing = CompositingModeSourceOver;
        CompositingQuality compositingQuality = CompositingQualityDefault;
        InterpolationMode interpolation = InterpolationModeBilinear;
        PixelOffsetMode pixelOffset = PixelOffsetModeDefault;
        Unit pageUnit = UnitDisplay;
        REAL pageScale = 1;
    } state;
    std::vector<std::pair<GraphicsState, State>> saved;
    GraphicsState nextSaved = 1;

    // World units (with the page unit and scale) to the graphics' pixels.
    gp::Matrix WorldToPixels() const;
    gp::Context Context() const;
};

// The pixels a graphics draws on for one call; null target pixels when the DC's device has none
// (printers, recorders) or the image is gone.
class Surface {
public:
    explicit Surface(GraphicsObject& graphics);
    ~Surface();
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    // Ok, or the status of a graphics that cannot draw now.
    Status Check() const { return FStatus; }
    bool HasPixels() const { return FTarget.pixels.top != nullptr; }
    const gp::Target& Target() const { return FTarget; }

private:
    Status FStatus = Ok;
    gp::Target FTarget;
    std::unique_ptr<struct SurfaceDrawing> FDrawing;
    gp::Bitmap* FOpaque = nullptr; // a bitmap without alpha, made opaque again after drawing
};

// Looks a graphics up and checks that it may draw: the GP_OBJECT answers, then ObjectBusy while its
// DC is out.
#define GP_GRAPHICS(name, handle)                                                                            \
    GP_OBJECT(::gdiplus::GraphicsObject, name, handle)                                                       \
    if (name->dcOut)                                                                                         \
        return ObjectBusy;

// ---- Shared helpers ----

inline gp::PointF ToPoint(const GpPointF& p) {
    return {p.X, p.Y};
}
inline gp::PointF ToPoint(const GpPoint& p) {
    return {static_cast<float>(p.X), static_cast<float>(p.Y)};
}
std::vector<gp::PointF> ToPoints(const GpPointF* points, INT count);
std::vector<gp::PointF> ToPoints(const GpPoint* points, INT count);

// Pixels per unit at 96 dpi (UnitWorld and UnitDisplay count as pixels).
REAL PixelsPerUnit(Unit unit);

// Figures for shapes, as GDI+ builds them (gdiplus_path.cpp).
gp::Path RectanglePath(REAL x, REAL y, REAL width, REAL height);
gp::Path EllipsePath(REAL x, REAL y, REAL width, REAL height);
// The arc's Bézier points (the first is the start point).
std::vector<gp::PointF> ArcPoints(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
gp::Path PiePath(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
gp::Path PolygonPath(const std::vector<gp::PointF>& points, bool winding);
// Bézier points of a cardinal spline through points.
std::vector<gp::PointF> CurvePoints(const std::vector<gp::PointF>& points, REAL tension, bool closed);

// The painter's pen and brush of our objects.
gp::Pen PaintPen(const PenObject& pen, const GraphicsObject* graphics);
// A new brush handle of the right kind for the brush object (gdiplus_brush.cpp).
GpBrush* AddBrush(std::unique_ptr<BrushObject> brush);
std::unique_ptr<BrushObject> MakeBrush(const gp::Brush& brush);

// A GDI region as a GDI+ region (its pixels); false for a handle that is not a region.
bool HrgnRegion(HRGN hrgn, gp::Region& region);

// The image object of an image handle, when it is live.
ImageObject* FindImage(const void* handle);
GpImage* AddImage(std::unique_ptr<ImageObject> image);

} // namespace gdiplus
