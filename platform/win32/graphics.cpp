// Lines, shapes, region fills, pixels and flood fill, and the window-manager library's rectangle helpers
// and fills (FillRect, FrameRect, InvertRect, DrawFocusRect).
#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <utility>

#include "platform/win32/gdi_private.h"
#include "platform/win32/windraw.h"

namespace gdi {
namespace {

std::vector<backend::Point> MapPoints(const DC& dc, const POINT* points, size_t count) {
    std::vector<backend::Point> mapped;
    mapped.reserve(count);
    for (size_t i = 0; i < count; ++i)
        mapped.push_back(dc.Map(points[i].x, points[i].y));
    return mapped;
}

// A region in logical units, in absolute device pixels.
// Takes the region by value so that a fill of a temporary region moves it along instead of copying.
backend::Region MapRegion(const DC& dc, backend::Region region) {
    if (dc.Identity()) {
        backend::Point offset = dc.Map(0, 0);
        region.Offset(offset.x, offset.y);
        return region;
    }
    backend::Region mapped;
    for (const backend::Rect& r : region.Rects())
        mapped = mapped.United(backend::Region(dc.MapRect(r.left, r.top, r.right, r.bottom)));
    return mapped;
}

// Cubic Bezier segments flattened into points, enough of them for a smooth curve.
void FlattenBezier(const backend::Point& p0, const backend::Point& p1, const backend::Point& p2,
                   const backend::Point& p3, std::vector<backend::Point>& out) {
    double length = std::hypot(p1.x - p0.x, p1.y - p0.y) + std::hypot(p2.x - p1.x, p2.y - p1.y) +
                    std::hypot(p3.x - p2.x, p3.y - p2.y);
    int steps = std::clamp(static_cast<int>(length / 3), 1, 1000);
    for (int i = 1; i <= steps; ++i) {
        double t = static_cast<double>(i) / steps, u = 1 - t;
        double x = u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x;
        double y = u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y;
        backend::Point p{static_cast<int>(std::floor(x + 0.5)), static_cast<int>(std::floor(y + 0.5))};
        if (!(out.back() == p))
            out.push_back(p);
    }
}

// Takes the DC its callers have looked up already: grid lines come here one LineTo at a time.
BOOL DrawPolyline(std::shared_ptr<DC> dc, std::span<const backend::Point> points) {
    Drawing drawing(std::move(dc));
    if (!drawing)
        return FALSE;
    drawing.Device().Polyline(drawing.State(), PenSpecOf(drawing.Dc()), points);
    return TRUE;
}

BOOL Shape(HDC handle, int left, int top, int right, int bottom,
           void (*draw)(Drawing&, const backend::PenSpec&, const backend::BrushSpec&, const backend::Rect&,
                        int, int),
           int a = 0, int b = 0) {
    Drawing drawing(handle);
    if (!drawing)
        return FALSE;
    DC& dc = drawing.Dc();
    backend::Rect rect = dc.MapRect(left, top, right, bottom);
    draw(drawing, PenSpecOf(dc), CurrentBrushSpec(dc), rect, a, b);
    return TRUE;
}

BOOL ArcShape(HDC handle, backend::ArcKind kind, int left, int top, int right, int bottom, int xStart,
              int yStart, int xEnd, int yEnd) {
    Drawing drawing(handle);
    if (!drawing)
        return FALSE;
    DC& dc = drawing.Dc();
    backend::Rect rect = dc.MapRect(left, top, right, bottom);
    // A mapping that flips one axis turns the direction round on the device.
    bool clockwise = dc.state.arcDirection == AD_CLOCKWISE;
    if (dc.ScaleX() * dc.ScaleY() < 0)
        clockwise = !clockwise;
    drawing.Device().Arc(drawing.State(), PenSpecOf(dc), CurrentBrushSpec(dc), kind, rect,
                         dc.Map(xStart, yStart), dc.Map(xEnd, yEnd), clockwise);
    return TRUE;
}

BOOL FillWith(HDC handle, backend::Region logical, const backend::BrushSpec* brush, std::uint32_t rop3,
              bool invert) {
    Drawing drawing(handle);
    if (!drawing)
        return FALSE;
    backend::Region region = MapRegion(drawing.Dc(), std::move(logical));
    if (invert)
        drawing.Device().InvertRegion(drawing.State(), region);
    else
        drawing.Device().FillRegion(drawing.State(), region, brush ? *brush : CurrentBrushSpec(drawing.Dc()),
                                    rop3);
    return TRUE;
}

// The brush FillRect and friends take: a handle, or a system colour index plus one.
std::shared_ptr<Brush> BrushArgument(HBRUSH handle) {
    std::uintptr_t value = reinterpret_cast<std::uintptr_t>(handle);
    if (value >= 1 && value <= static_cast<std::uintptr_t>(COLOR_MENUBAR) + 1)
        handle = GetSysColorBrush(static_cast<int>(value - 1));
    return Find<Brush>(handle, OBJ_BRUSH);
}

backend::Region RectRegion(const RECT& r) {
    return backend::Region(backend::Rect{std::min(r.left, r.right), std::min(r.top, r.bottom),
                                         std::max(r.left, r.right), std::max(r.top, r.bottom)});
}

// The 50% grey of focus rectangles: pixels alternate between white and black, white at the origin.
const std::shared_ptr<const backend::Pattern>& FocusPattern() {
    static const std::shared_ptr<const backend::Pattern> pattern = [] {
        auto p = std::make_shared<backend::Pattern>();
        p->width = 2;
        p->height = 2;
        p->monochrome = true;
        p->pixels = {0xFFFFFF, 0x000000, 0x000000, 0xFFFFFF};
        return p;
    }();
    return pattern;
}

} // namespace
} // namespace gdi

using namespace gdi;

// ---- Lines ----

BOOL MoveToEx(HDC handle, int x, int y, LPPOINT previous) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return FALSE;
    if (previous)
        *previous = dc->state.position;
    dc->state.position = POINT{x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC handle, LPPOINT position) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc || !position)
        return FALSE;
    *position = dc->state.position;
    return TRUE;
}

BOOL LineTo(HDC handle, int x, int y) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return FALSE;
    POINT from = dc->state.position;
    const std::array<backend::Point, 2> line{dc->Map(from.x, from.y), dc->Map(x, y)};
    BOOL result = DrawPolyline(dc, line);
    dc->state.position = POINT{x, y};
    return result;
}

BOOL Polyline(HDC handle, const POINT* points, int count) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return FALSE;
    if (!points || count < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return DrawPolyline(dc, MapPoints(*dc, points, static_cast<size_t>(count)));
}

BOOL PolylineTo(HDC handle, const POINT* points, DWORD count) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return FALSE;
    if (!points || count == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<backend::Point> mapped{dc->Map(dc->state.position.x, dc->state.position.y)};
    for (DWORD i = 0; i < count; ++i)
        mapped.push_back(dc->Map(points[i].x, points[i].y));
    BOOL result = DrawPolyline(dc, mapped);
    dc->state.position = points[count - 1];
    return result;
}

BOOL PolyBezier(HDC handle, const POINT* points, DWORD count) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return FALSE;
    if (!points || count < 4 || (count - 1) % 3 != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<backend::Point> mapped = MapPoints(*dc, points, count);
    std::vector<backend::Point> flat{mapped[0]};
    for (size_t i = 0; i + 3 < mapped.size(); i += 3)
        FlattenBezier(mapped[i], mapped[i + 1], mapped[i + 2], mapped[i + 3], flat);
    if (flat.size() == 1)
        flat.push_back(flat[0]);
    return DrawPolyline(std::move(dc), flat);
}

// ---- Shapes ----

BOOL PolyPolygon(HDC handle, const POINT* points, const INT* counts, int polygons) {
    Drawing drawing(handle);
    if (!drawing)
        return FALSE;
    if (!points || !counts || polygons <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    size_t total = 0;
    std::vector<int> sizes;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 2) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        sizes.push_back(counts[i]);
        total += static_cast<size_t>(counts[i]);
    }
    DC& dc = drawing.Dc();
    drawing.Device().Polygons(drawing.State(), PenSpecOf(dc), CurrentBrushSpec(dc),
                              MapPoints(dc, points, total), sizes);
    return TRUE;
}

BOOL Polygon(HDC handle, const POINT* points, int count) {
    return PolyPolygon(handle, points, &count, 1);
}

BOOL Rectangle(HDC handle, int left, int top, int right, int bottom) {
    return Shape(handle, left, top, right, bottom,
                 [](Drawing& d, const backend::PenSpec& pen, const backend::BrushSpec& brush,
                    const backend::Rect& r, int, int) { d.Device().Rectangle(d.State(), pen, brush, r); });
}

BOOL RoundRect(HDC handle, int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight) {
    std::shared_ptr<DC> dc = FindDC(handle);
    if (!dc)
        return FALSE;
    // The corner ellipse is given in logical units too.
    int w = static_cast<int>(std::lround(std::abs(ellipseWidth * dc->ScaleX())));
    int h = static_cast<int>(std::lround(std::abs(ellipseHeight * dc->ScaleY())));
    return Shape(
        handle, left, top, right, bottom,
        [](Drawing& d, const backend::PenSpec& pen, const backend::BrushSpec& brush, const backend::Rect& r,
           int a, int b) { d.Device().RoundRect(d.State(), pen, brush, r, a, b); },
        w, h);
}

BOOL Ellipse(HDC handle, int left, int top, int right, int bottom) {
    return Shape(handle, left, top, right, bottom,
                 [](Drawing& d, const backend::PenSpec& pen, const backend::BrushSpec& brush,
                    const backend::Rect& r, int, int) { d.Device().Ellipse(d.State(), pen, brush, r); });
}

BOOL Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    return ArcShape(dc, backend::ArcKind::Arc, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

BOOL Pie(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    return ArcShape(dc, backend::ArcKind::Pie, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

BOOL Chord(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    return ArcShape(dc, backend::ArcKind::Chord, left, top, right, bottom, xStart, yStart, xEnd, yEnd);
}

// ---- Regions ----

BOOL FillRgn(HDC handle, HRGN regionHandle, HBRUSH brushHandle) {
    std::shared_ptr<DC> dc = FindDC(handle);
    std::shared_ptr<Region> region = Find<Region>(regionHandle, OBJ_REGION);
    std::shared_ptr<Brush> brush = Find<Brush>(brushHandle, OBJ_BRUSH);
    if (!dc || !region || !brush)
        return FALSE;
    backend::BrushSpec spec = BrushSpecOf(*dc, *brush);
    return FillWith(handle, region->region, &spec, PATCOPY, false);
}

BOOL PaintRgn(HDC handle, HRGN regionHandle) {
    std::shared_ptr<Region> region = Find<Region>(regionHandle, OBJ_REGION);
    if (!region)
        return FALSE;
    return FillWith(handle, region->region, nullptr, 0, false);
}

BOOL InvertRgn(HDC handle, HRGN regionHandle) {
    std::shared_ptr<Region> region = Find<Region>(regionHandle, OBJ_REGION);
    if (!region)
        return FALSE;
    return FillWith(handle, region->region, nullptr, 0, true);
}

BOOL FrameRgn(HDC handle, HRGN regionHandle, HBRUSH brushHandle, int width, int height) {
    std::shared_ptr<DC> dc = FindDC(handle);
    std::shared_ptr<Region> region = Find<Region>(regionHandle, OBJ_REGION);
    std::shared_ptr<Brush> brush = Find<Brush>(brushHandle, OBJ_BRUSH);
    if (!dc || !region || !brush)
        return FALSE;
    // The frame is what of the region is nearer to its edge than width across or height down.
    backend::Region inner = region->region;
    for (int d = 1; d <= std::abs(width); ++d)
        for (int sign : {-1, 1}) {
            backend::Region shifted = region->region;
            shifted.Offset(sign * d, 0);
            inner = inner.Intersected(shifted);
        }
    for (int d = 1; d <= std::abs(height); ++d)
        for (int sign : {-1, 1}) {
            backend::Region shifted = region->region;
            shifted.Offset(0, sign * d);
            inner = inner.Intersected(shifted);
        }
    backend::BrushSpec spec = BrushSpecOf(*dc, *brush);
    return FillWith(handle, region->region.Subtracted(inner), &spec, PATCOPY, false);
}

// ---- Pixels ----

COLORREF SetPixel(HDC handle, int x, int y, COLORREF color) {
    Drawing drawing(handle);
    if (!drawing)
        return CLR_INVALID;
    DC& dc = drawing.Dc();
    backend::Point p = dc.Map(x, y);
    const backend::Region* clip = drawing.State().clip;
    backend::DeviceCaps caps = dc.Caps();
    if (p.x < 0 || p.y < 0 || p.x >= caps.width || p.y >= caps.height || (clip && !clip->Contains(p.x, p.y)))
        return CLR_INVALID;
    drawing.Device().SetPixel(drawing.State(), p, ToPixel(color & 0xFFFFFF));
    if (const backend::PixelBuffer* pixels = drawing.Device().Pixels())
        return ToColorRef(pixels->Row(p.y)[p.x] & 0xFFFFFF);
    return color & 0xFFFFFF;
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF color) {
    return SetPixel(dc, x, y, color) != CLR_INVALID;
}

COLORREF GetPixel(HDC handle, int x, int y) {
    Drawing drawing(handle);
    if (!drawing)
        return CLR_INVALID;
    drawing.ReadOnly();
    backend::Point p = drawing.Dc().Map(x, y);
    const backend::PixelBuffer* pixels = drawing.Device().Pixels();
    const backend::Region* clip = drawing.State().clip;
    if (!pixels || p.x < 0 || p.y < 0 || p.x >= pixels->width || p.y >= pixels->height ||
        (clip && !clip->Contains(p.x, p.y)))
        return CLR_INVALID;
    return ToColorRef(pixels->Row(p.y)[p.x] & 0xFFFFFF);
}

BOOL ExtFloodFill(HDC handle, int x, int y, COLORREF color, UINT type) {
    Drawing drawing(handle);
    if (!drawing)
        return FALSE;
    if (type != FLOODFILLBORDER && type != FLOODFILLSURFACE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DC& dc = drawing.Dc();
    return drawing.Device().FloodFill(drawing.State(), dc.Map(x, y), ToPixel(color & 0xFFFFFF),
                                      type == FLOODFILLBORDER, CurrentBrushSpec(dc))
               ? TRUE
               : FALSE;
}

BOOL FloodFill(HDC dc, int x, int y, COLORREF color) {
    return ExtFloodFill(dc, x, y, color, FLOODFILLBORDER);
}

// ---- Rectangles ----

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom) {
    if (!rect)
        return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(LPRECT rect) {
    return SetRect(rect, 0, 0, 0, 0);
}

BOOL IsRectEmpty(const RECT* rect) {
    return !rect || rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy) {
    if (!rect)
        return FALSE;
    *rect = RECT{rect->left + dx, rect->top + dy, rect->right + dx, rect->bottom + dy};
    return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy) {
    if (!rect)
        return FALSE;
    *rect = RECT{rect->left - dx, rect->top - dy, rect->right + dx, rect->bottom + dy};
    return TRUE;
}

BOOL IntersectRect(LPRECT dest, const RECT* a, const RECT* b) {
    if (!dest || !a || !b)
        return FALSE;
    RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
           std::min(a->bottom, b->bottom)};
    if (IsRectEmpty(&r) || IsRectEmpty(a) || IsRectEmpty(b)) {
        *dest = RECT{0, 0, 0, 0};
        return FALSE;
    }
    *dest = r;
    return TRUE;
}

BOOL UnionRect(LPRECT dest, const RECT* a, const RECT* b) {
    if (!dest || !a || !b)
        return FALSE;
    if (IsRectEmpty(a) && IsRectEmpty(b)) {
        *dest = RECT{0, 0, 0, 0};
        return FALSE;
    }
    if (IsRectEmpty(a)) {
        *dest = *b;
        return TRUE;
    }
    if (IsRectEmpty(b)) {
        *dest = *a;
        return TRUE;
    }
    *dest = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                 std::max(a->bottom, b->bottom)};
    return TRUE;
}

BOOL PtInRect(const RECT* rect, POINT point) {
    return rect && point.x >= rect->left && point.x < rect->right && point.y >= rect->top &&
           point.y < rect->bottom;
}

BOOL EqualRect(const RECT* a, const RECT* b) {
    return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

// ---- Fills of the window-manager library ----

int FillRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
    std::shared_ptr<DC> dc = FindDC(handle);
    std::shared_ptr<Brush> brush = BrushArgument(brushHandle);
    if (!dc || !brush || !rect)
        return FALSE;
    backend::BrushSpec spec = BrushSpecOf(*dc, *brush);
    // Cells and gradient bands are filled this way, so the DC found above serves the drawing too.
    Drawing drawing(std::move(dc));
    if (!drawing)
        return FALSE;
    drawing.Device().FillRegion(drawing.State(), MapRegion(drawing.Dc(), RectRegion(*rect)), spec, PATCOPY);
    return TRUE;
}

int FrameRect(HDC handle, const RECT* rect, HBRUSH brushHandle) {
    std::shared_ptr<DC> dc = FindDC(handle);
    std::shared_ptr<Brush> brush = BrushArgument(brushHandle);
    if (!dc || !brush || !rect)
        return FALSE;
    if (rect->right <= rect->left || rect->bottom <= rect->top)
        return TRUE;
    RECT r = *rect;
    backend::Region outer = RectRegion(r);
    backend::Region frame =
        outer.Subtracted(backend::Region(backend::Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}));
    backend::BrushSpec spec = BrushSpecOf(*dc, *brush);
    return FillWith(handle, std::move(frame), &spec, PATCOPY, false);
}

BOOL InvertRect(HDC handle, const RECT* rect) {
    if (!rect)
        return FALSE;
    return FillWith(handle, RectRegion(*rect), nullptr, 0, true);
}

BOOL DrawFocusRect(HDC handle, const RECT* rect) {
    if (!rect)
        return FALSE;
    RECT r = *rect;
    if (r.right <= r.left || r.bottom <= r.top)
        return TRUE;
    // The four sides do not overlap, so every pixel of the frame is inverted exactly once.
    backend::Region frame = RectRegion(r).Subtracted(
        backend::Region(backend::Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}));
    backend::BrushSpec brush;
    brush.kind = backend::BrushKind::Pattern;
    brush.pattern = FocusPattern();
    return FillWith(handle, std::move(frame), &brush, PATINVERT, false);
}

// ---- Edges and frame controls ----

namespace {

void FillColor(HDC dc, int left, int top, int right, int bottom, int color) {
    if (right <= left || bottom <= top)
        return;
    RECT r{left, top, right, bottom};
    FillRect(dc, &r, GetSysColorBrush(color));
}

struct EdgeColors {
    int topLeft = -1;
    int bottomRight = -1;
};

// One ring of an edge: the top and left sides first, then the bottom and right sides over their
// corners, so that the dark side owns the two corners it shares.
void DrawRing(HDC dc, const RECT& r, EdgeColors colors, UINT sides) {
    if (colors.topLeft >= 0) {
        if (sides & BF_TOP)
            FillColor(dc, r.left, r.top, (sides & BF_RIGHT) ? r.right - 1 : r.right, r.top + 1,
                      colors.topLeft);
        if (sides & BF_LEFT)
            FillColor(dc, r.left, r.top, r.left + 1, (sides & BF_BOTTOM) ? r.bottom - 1 : r.bottom,
                      colors.topLeft);
    }
    if (colors.bottomRight >= 0) {
        if (sides & BF_BOTTOM)
            FillColor(dc, r.left, r.bottom - 1, r.right, r.bottom, colors.bottomRight);
        if (sides & BF_RIGHT)
            FillColor(dc, r.right - 1, r.top, r.right, r.bottom, colors.bottomRight);
    }
}

EdgeColors OuterColors(UINT edge, UINT flags) {
    if (flags & BF_MONO)
        return {COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
    if (flags & BF_FLAT)
        return {COLOR_BTNSHADOW, COLOR_BTNSHADOW};
    if (edge & BDR_RAISEDOUTER)
        return {(flags & BF_SOFT) ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW};
    if (edge & BDR_SUNKENOUTER)
        return {(flags & BF_SOFT) ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT};
    return {};
}

EdgeColors InnerColors(UINT edge, UINT flags) {
    if (flags & BF_MONO)
        return {COLOR_WINDOW, COLOR_WINDOW};
    if (flags & BF_FLAT)
        return {COLOR_BTNFACE, COLOR_BTNFACE};
    if (edge & BDR_RAISEDINNER)
        return {(flags & BF_SOFT) ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW};
    if (edge & BDR_SUNKENINNER)
        return {(flags & BF_SOFT) ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT};
    return {};
}

// Selects a solid pen and brush of system colours while it lives.
class ShapeColors {
public:
    ShapeColors(HDC dc, int penColor, int brushColor) : FDC(dc), FSaved(SaveDC(dc)) {
        FPen = penColor < 0 ? static_cast<HPEN>(GetStockObject(NULL_PEN))
                            : CreatePen(PS_SOLID, 0, GetSysColor(penColor));
        FBrush =
            brushColor < 0 ? static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)) : GetSysColorBrush(brushColor);
        SelectObject(dc, FPen);
        SelectObject(dc, FBrush);
        SetROP2(dc, R2_COPYPEN);
        SetPolyFillMode(dc, ALTERNATE);
    }
    ~ShapeColors() {
        RestoreDC(FDC, FSaved);
        DeleteObject(FPen);
    }

private:
    HDC FDC;
    int FSaved;
    HPEN FPen;
    HBRUSH FBrush;
};

void Triangle(HDC dc, POINT a, POINT b, POINT c, int color) {
    ShapeColors colors(dc, color, color);
    POINT points[] = {a, b, c};
    Polygon(dc, points, 3);
}

// An arrow pointing in direction (0 up, 1 down, 2 left, 3 right) centred in r: a base 2 * size + 1 pixels
// long and sides at 45 degrees, so that each line of the glyph is one pixel shorter at each end than the
// one before.
void Arrow(HDC dc, const RECT& r, int direction, int color) {
    int size = std::max(2, std::min(r.right - r.left, r.bottom - r.top) / 3);
    int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    int half = size / 2 + 1;
    switch (direction) {
    case 0:
        Triangle(dc, {cx - size, cy + half - 1}, {cx + size, cy + half - 1}, {cx, cy + half - 1 - size},
                 color);
        break;
    case 1:
        Triangle(dc, {cx - size, cy - half + 1}, {cx + size, cy - half + 1}, {cx, cy - half + 1 + size},
                 color);
        break;
    case 2:
        Triangle(dc, {cx + half - 1, cy - size}, {cx + half - 1, cy + size}, {cx + half - 1 - size, cy},
                 color);
        break;
    default:
        Triangle(dc, {cx - half + 1, cy - size}, {cx - half + 1, cy + size}, {cx - half + 1 + size, cy},
                 color);
        break;
    }
}

// A check mark three pixels thick filling most of r.
void CheckMark(HDC dc, const RECT& r, int color) {
    ShapeColors colors(dc, color, -1);
    int w = r.right - r.left, h = r.bottom - r.top;
    for (int i = 0; i < 3; ++i) {
        POINT points[] = {{r.left + w / 5, r.top + h * 2 / 5 + i},
                          {r.left + w * 2 / 5, r.top + h * 3 / 5 + i},
                          {r.left + w * 4 / 5, r.top + h / 5 + i}};
        Polyline(dc, points, 3);
    }
}

RECT SquareIn(const RECT& r) {
    int side = std::min(r.right - r.left, r.bottom - r.top);
    int top = r.top + (r.bottom - r.top - side) / 2;
    return RECT{r.left, top, r.left + side, top + side};
}

void ButtonFrame(HDC dc, RECT& r, UINT state) {
    UINT edge = (state & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED;
    UINT flags = BF_RECT | BF_SOFT | BF_MIDDLE;
    if (state & DFCS_FLAT)
        flags |= BF_FLAT;
    if (state & DFCS_MONO)
        flags |= BF_MONO;
    RECT inner = r;
    DrawEdge(dc, &inner, edge, flags | BF_ADJUST);
    if (state & DFCS_ADJUSTRECT)
        r = inner;
}

void CheckBox(HDC dc, const RECT& r, UINT state) {
    RECT box = SquareIn(r);
    UINT flags = BF_RECT | ((state & DFCS_FLAT) ? BF_FLAT : 0) | ((state & DFCS_MONO) ? BF_MONO : 0);
    DrawEdge(dc, &box, EDGE_SUNKEN, flags | BF_ADJUST);
    bool grey =
        (state & (DFCS_PUSHED | DFCS_INACTIVE)) || ((state & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED));
    FillColor(dc, box.left, box.top, box.right, box.bottom, grey ? COLOR_BTNFACE : COLOR_WINDOW);
    if (state & DFCS_CHECKED)
        CheckMark(dc, box, (state & (DFCS_INACTIVE | DFCS_BUTTON3STATE)) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
}

void RadioButton(HDC dc, const RECT& r, UINT state) {
    RECT box = SquareIn(r);
    if (state & DFCS_BUTTONRADIOMASK) {
        FillColor(dc, box.left, box.top, box.right, box.bottom, COLOR_WINDOW);
        ShapeColors colors(dc, COLOR_WINDOWTEXT, COLOR_WINDOWTEXT);
        Ellipse(dc, box.left, box.top, box.right, box.bottom);
        return;
    }
    // Two rings, each shaded light at the bottom right and dark at the top left.
    const int rings[2][2] = {{COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT}, {COLOR_3DDKSHADOW, COLOR_3DLIGHT}};
    for (int i = 0; i < 2; ++i) {
        RECT ring{box.left + i, box.top + i, box.right - i, box.bottom - i};
        for (int half = 0; half < 2; ++half) {
            ShapeColors colors(dc, rings[i][half], -1);
            if (half == 0)
                Arc(dc, ring.left, ring.top, ring.right, ring.bottom, ring.right, ring.top, ring.left,
                    ring.bottom);
            else
                Arc(dc, ring.left, ring.top, ring.right, ring.bottom, ring.left, ring.bottom, ring.right,
                    ring.top);
        }
    }
    bool grey = (state & (DFCS_PUSHED | DFCS_INACTIVE)) != 0;
    {
        ShapeColors colors(dc, -1, grey ? COLOR_BTNFACE : COLOR_WINDOW);
        Ellipse(dc, box.left + 2, box.top + 2, box.right - 1, box.bottom - 1);
    }
    if (state & DFCS_CHECKED) {
        int side = box.right - box.left, dot = std::max(2, side / 3);
        int left = box.left + (side - dot) / 2, top = box.top + (side - dot) / 2;
        ShapeColors colors(dc, -1, (state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
        Ellipse(dc, left, top, left + dot + 1, top + dot + 1);
    }
}

void CaptionGlyph(HDC dc, const RECT& r, UINT kind, int color) {
    int w = r.right - r.left, h = r.bottom - r.top;
    int side = std::max(4, std::min(w, h) * 5 / 8);
    int left = r.left + (w - side) / 2, top = r.top + (h - side) / 2;
    switch (kind) {
    case DFCS_CAPTIONCLOSE: {
        ShapeColors colors(dc, color, -1);
        for (int i = 0; i < 2; ++i) {
            MoveToEx(dc, left + i, top, nullptr);
            LineTo(dc, left + side + i, top + side);
            MoveToEx(dc, left + side - 1 + i, top, nullptr);
            LineTo(dc, left - 1 + i, top + side);
        }
        break;
    }
    case DFCS_CAPTIONMIN:
        FillColor(dc, left, top + side - 2, left + side, top + side, color);
        break;
    case DFCS_CAPTIONMAX: {
        FillColor(dc, left, top, left + side, top + 2, color);
        RECT frame{left, top, left + side, top + side};
        FrameRect(dc, &frame, GetSysColorBrush(color));
        break;
    }
    case DFCS_CAPTIONRESTORE: {
        int small = side * 3 / 4;
        RECT back{left + side - small, top, left + side, top + small};
        RECT front{left, top + side - small, left + small, top + side};
        FrameRect(dc, &back, GetSysColorBrush(color));
        FillColor(dc, front.left, front.top, front.right, front.bottom, COLOR_BTNFACE);
        FrameRect(dc, &front, GetSysColorBrush(color));
        FillColor(dc, front.left, front.top, front.right, front.top + 2, color);
        break;
    }
    default: {
        // The help button's question mark, drawn with the system's font.
        int saved = SaveDC(dc);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(color));
        RECT text = r;
        DrawTextW(dc, u"?", 1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
        RestoreDC(dc, saved);
        break;
    }
    }
}

void SizeGrip(HDC dc, const RECT& r) {
    int side = std::min(r.right - r.left, r.bottom - r.top);
    for (int i = 3; i < side; i += 4) {
        for (int j = 0; j < 3; ++j) {
            ShapeColors colors(dc, j == 0 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW, -1);
            MoveToEx(dc, r.right - 1, r.bottom - i - j - 1, nullptr);
            LineTo(dc, r.right - i - j - 1, r.bottom - 1);
        }
    }
}

} // namespace

BOOL DrawEdge(HDC dc, LPRECT rect, UINT edge, UINT flags) {
    if (!rect || !FindDC(dc))
        return FALSE;
    RECT r = *rect;
    EdgeColors outer = OuterColors(edge, flags), inner = InnerColors(edge, flags);
    bool hasOuter = (edge & BDR_OUTER) || (flags & (BF_FLAT | BF_MONO));
    bool hasInner = (edge & BDR_INNER) != 0;
    if (flags & BF_DIAGONAL) {
        // A diagonal edge runs between the two corners the side flags name.
        ShapeColors colors(dc, outer.bottomRight >= 0 ? outer.bottomRight : inner.bottomRight, -1);
        bool up = (flags & (BF_TOP | BF_RIGHT)) == (BF_TOP | BF_RIGHT) ||
                  (flags & (BF_BOTTOM | BF_LEFT)) == (BF_BOTTOM | BF_LEFT);
        MoveToEx(dc, r.left, up ? r.bottom - 1 : r.top, nullptr);
        LineTo(dc, r.right, up ? r.top - 1 : r.bottom);
        return TRUE;
    }
    UINT sides = flags & BF_RECT;
    if (hasOuter)
        DrawRing(dc, r, outer, sides);
    RECT in = r;
    if (hasOuter) {
        in.left += (sides & BF_LEFT) ? 1 : 0;
        in.top += (sides & BF_TOP) ? 1 : 0;
        in.right -= (sides & BF_RIGHT) ? 1 : 0;
        in.bottom -= (sides & BF_BOTTOM) ? 1 : 0;
    }
    if (hasInner) {
        DrawRing(dc, in, inner, sides);
        in.left += (sides & BF_LEFT) ? 1 : 0;
        in.top += (sides & BF_TOP) ? 1 : 0;
        in.right -= (sides & BF_RIGHT) ? 1 : 0;
        in.bottom -= (sides & BF_BOTTOM) ? 1 : 0;
    }
    if (flags & BF_MIDDLE)
        FillColor(dc, in.left, in.top, in.right, in.bottom, (flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE);
    if (flags & BF_ADJUST)
        *rect = in;
    return TRUE;
}

BOOL DrawFrameControl(HDC dc, LPRECT rect, UINT type, UINT state) {
    if (!rect || !FindDC(dc))
        return FALSE;
    RECT r = *rect;
    int glyph = (state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_BTNTEXT;
    switch (type) {
    case DFC_BUTTON:
        if (state & DFCS_BUTTONPUSH)
            ButtonFrame(dc, *rect, state);
        else if (state & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE | DFCS_BUTTONRADIOMASK))
            RadioButton(dc, r, state);
        else
            CheckBox(dc, r, state);
        return TRUE;
    case DFC_SCROLL: {
        UINT kind = state & 0xFF;
        if (kind == DFCS_SCROLLSIZEGRIP || kind == DFCS_SCROLLSIZEGRIPRIGHT) {
            FillColor(dc, r.left, r.top, r.right, r.bottom, COLOR_BTNFACE);
            SizeGrip(dc, r);
            return TRUE;
        }
        ButtonFrame(dc, r, state);
        int direction = kind == DFCS_SCROLLUP      ? 0
                        : kind == DFCS_SCROLLLEFT  ? 2
                        : kind == DFCS_SCROLLRIGHT ? 3
                                                   : 1;
        RECT glyphArea = *rect;
        if (state & DFCS_PUSHED)
            OffsetRect(&glyphArea, 1, 1);
        if (state & DFCS_INACTIVE) {
            // Disabled arrows are embossed: a light copy one pixel down and right under a grey one.
            RECT light = glyphArea;
            OffsetRect(&light, 1, 1);
            Arrow(dc, light, direction, COLOR_BTNHIGHLIGHT);
        }
        Arrow(dc, glyphArea, direction, glyph);
        return TRUE;
    }
    case DFC_CAPTION: {
        ButtonFrame(dc, r, state);
        RECT glyphArea = *rect;
        if (state & DFCS_PUSHED)
            OffsetRect(&glyphArea, 1, 1);
        CaptionGlyph(dc, glyphArea, state & 0xFF, glyph);
        return TRUE;
    }
    case DFC_MENU:
    case DFC_POPUPMENU: {
        // Menu glyphs are black on white, for use as masks.
        FillColor(dc, r.left, r.top, r.right, r.bottom, COLOR_WINDOW);
        UINT kind = state & 0xFF;
        if (kind == DFCS_MENUCHECK) {
            CheckMark(dc, r, COLOR_WINDOWTEXT);
        } else if (kind == DFCS_MENUBULLET) {
            int side = std::min(r.right - r.left, r.bottom - r.top) / 3;
            int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
            ShapeColors colors(dc, -1, COLOR_WINDOWTEXT);
            Ellipse(dc, cx - side / 2, cy - side / 2, cx - side / 2 + side + 1, cy - side / 2 + side + 1);
        } else {
            Arrow(dc, r, kind == DFCS_MENUARROWRIGHT ? 2 : 3, COLOR_WINDOWTEXT);
        }
        return TRUE;
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
}
