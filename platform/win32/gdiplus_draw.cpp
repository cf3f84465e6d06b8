// GDI+ drawing: outlines with pens, fills with brushes and images, on a graphics' surface.
#include "platform/win32/gdiplus_private.h"

using namespace gdiplus;

namespace {

// Runs paint on the graphics' pixels when it has any; a surface that cannot be had gives its status.
template <class Paint> Status PaintOnSurface(GraphicsObject* g, Paint&& paint) {
    return Guard([&] {
        Surface surface(*g);
        if (surface.Check() != Ok)
            return surface.Check();
        if (surface.HasPixels())
            paint(surface.Target());
        return Ok;
    });
}

Status Stroke(GpGraphics* graphics, GpPen* pen, const gp::Path& path) {
    GP_GRAPHICS(g, graphics);
    PenObject* p = Find<PenObject>(pen);
    if (!p)
        return InvalidParameter;
    return PaintOnSurface(
        g, [&](const gp::Target& target) { gp::DrawPath(target, g->Context(), path, PaintPen(*p, g)); });
}

Status Fill(GpGraphics* graphics, GpBrush* brush, const gp::Path& path) {
    GP_GRAPHICS(g, graphics);
    BrushObject* b = Find<BrushObject>(brush);
    if (!b)
        return InvalidParameter;
    return PaintOnSurface(
        g, [&](const gp::Target& target) { gp::FillPath(target, g->Context(), path, b->brush); });
}

gp::Path OpenFigure(const std::vector<gp::PointF>& points, bool bezier) {
    gp::Path path;
    path.points = points;
    path.types.assign(points.size(),
                      static_cast<std::uint8_t>(bezier ? PathPointTypeBezier : PathPointTypeLine));
    if (!points.empty())
        path.types.front() = PathPointTypeStart;
    return path;
}

gp::Path ClosedFigure(const std::vector<gp::PointF>& points, bool bezier) {
    gp::Path path = OpenFigure(points, bezier);
    if (!path.types.empty())
        path.types.back() |= PathPointTypeCloseSubpath;
    return path;
}

// The outlines of several rectangles as one path, one closed figure each.
gp::Path RectanglesPath(const GpRectF* rects, INT count) {
    gp::Path path;
    for (INT i = 0; i < count; ++i) {
        gp::Path r = RectanglePath(rects[i].X, rects[i].Y, rects[i].Width, rects[i].Height);
        path.points.insert(path.points.end(), r.points.begin(), r.points.end());
        path.types.insert(path.types.end(), r.types.begin(), r.types.end());
    }
    return path;
}

template <class Point> Status Lines(GpGraphics* graphics, GpPen* pen, const Point* points, INT count) {
    if (!points || count < 2)
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    return Stroke(graphics, pen, OpenFigure(ToPoints(points, count), false));
}

template <class Point> Status Beziers(GpGraphics* graphics, GpPen* pen, const Point* points, INT count) {
    if (!points || count < 4 || (count - 1) % 3)
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    return Stroke(graphics, pen, OpenFigure(ToPoints(points, count), true));
}

template <class Point> Status Polygon(GpGraphics* graphics, GpPen* pen, const Point* points, INT count) {
    if (!points || count < 2)
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    return Stroke(graphics, pen, PolygonPath(ToPoints(points, count), false));
}

template <class Point>
Status Curve(GpGraphics* graphics, GpPen* pen, const Point* points, INT count, REAL tension, bool closed) {
    if (!points || count < (closed ? 3 : 2))
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    std::vector<gp::PointF> bezier = CurvePoints(ToPoints(points, count), tension, closed);
    return Stroke(graphics, pen, closed ? ClosedFigure(bezier, true) : OpenFigure(bezier, true));
}

template <class Point>
Status FillPolygonOf(GpGraphics* graphics, GpBrush* brush, const Point* points, INT count,
                     GpFillMode fillMode) {
    if (!points || count < 3 || (fillMode != FillModeAlternate && fillMode != FillModeWinding))
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    return Fill(graphics, brush, PolygonPath(ToPoints(points, count), fillMode == FillModeWinding));
}

// Where an image of the given pixel size goes when drawn unscaled at (x, y): its size in world units.
void UnscaledSize(const GraphicsObject& g, const ImageObject& image, REAL& width, REAL& height) {
    REAL page = PixelsPerUnit(g.state.pageUnit) * g.state.pageScale;
    if (page <= 0)
        page = 1;
    width = image.bitmap.width * (96.0f / image.dpiX) / page;
    height = image.bitmap.height * (96.0f / image.dpiY) / page;
}

Status DrawImageOnto(GpGraphics* graphics, GpImage* image, const gp::PointF dest[3], gp::RectF source,
                     GpUnit sourceUnit, const GpImageAttributes* attributes, DrawImageAbort callback,
                     void* callbackData) {
    GP_GRAPHICS(g, graphics);
    ImageObject* img = FindImage(image);
    AttributesObject* a = Find<AttributesObject>(attributes);
    if (!img || (attributes && !a) || sourceUnit < UnitWorld || sourceUnit > UnitMillimeter)
        return InvalidParameter;
    if (img->locked)
        return ObjectBusy;
    REAL perUnit = sourceUnit == UnitWorld || sourceUnit == UnitDisplay ? 1.0f : PixelsPerUnit(sourceUnit);
    source = {source.x * perUnit, source.y * perUnit, source.width * perUnit, source.height * perUnit};
    if (source.width == 0 || source.height == 0)
        return InvalidParameter;
    if (callback && callback(callbackData))
        return Aborted;
    return Guard([&] {
        Surface surface(*g);
        if (surface.Check() != Ok)
            return surface.Check();
        if (!surface.HasPixels() || img->bitmap.pixels.empty())
            return Ok;
        if (a) {
            gp::Bitmap adjusted = a->Apply(img->bitmap, ColorAdjustTypeBitmap);
            gp::DrawBitmap(surface.Target(), g->Context(), adjusted, source, dest);
        } else {
            gp::DrawBitmap(surface.Target(), g->Context(), img->bitmap, source, dest);
        }
        return Ok;
    });
}

Status DrawImageRectOnto(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height) {
    GP_STARTED();
    ImageObject* img = FindImage(image);
    if (!img)
        return InvalidParameter;
    gp::PointF dest[3] = {{x, y}, {x + width, y}, {x, y + height}};
    return DrawImageOnto(
        graphics, image, dest,
        {0, 0, static_cast<float>(img->bitmap.width), static_cast<float>(img->bitmap.height)}, UnitPixel,
        nullptr, nullptr, nullptr);
}

} // namespace

// ---- Lines and outlines ----

Status GdipDrawLine(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2) {
    return Stroke(graphics, pen, OpenFigure({{x1, y1}, {x2, y2}}, false));
}

Status GdipDrawLineI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2) {
    return GdipDrawLine(graphics, pen, static_cast<REAL>(x1), static_cast<REAL>(y1), static_cast<REAL>(x2),
                        static_cast<REAL>(y2));
}

Status GdipDrawLines(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count) {
    return Lines(graphics, pen, points, count);
}

Status GdipDrawLinesI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count) {
    return Lines(graphics, pen, points, count);
}

Status GdipDrawArc(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                   REAL sweepAngle) {
    if (width <= 0 || height <= 0)
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    return Stroke(graphics, pen, OpenFigure(ArcPoints(x, y, width, height, startAngle, sweepAngle), true));
}

Status GdipDrawArcI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height, REAL startAngle,
                    REAL sweepAngle) {
    return GdipDrawArc(graphics, pen, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                       static_cast<REAL>(height), startAngle, sweepAngle);
}

Status GdipDrawBezier(GpGraphics* graphics, GpPen* pen, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3,
                      REAL x4, REAL y4) {
    GpPointF points[4] = {{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}};
    return Beziers(graphics, pen, points, 4);
}

Status GdipDrawBezierI(GpGraphics* graphics, GpPen* pen, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3,
                       INT x4, INT y4) {
    GpPoint points[4] = {{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}};
    return Beziers(graphics, pen, points, 4);
}

Status GdipDrawBeziers(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count) {
    return Beziers(graphics, pen, points, count);
}

Status GdipDrawBeziersI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count) {
    return Beziers(graphics, pen, points, count);
}

Status GdipDrawRectangle(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height) {
    return Stroke(graphics, pen, RectanglePath(x, y, width, height));
}

Status GdipDrawRectangleI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height) {
    return GdipDrawRectangle(graphics, pen, static_cast<REAL>(x), static_cast<REAL>(y),
                             static_cast<REAL>(width), static_cast<REAL>(height));
}

Status GdipDrawRectangles(GpGraphics* graphics, GpPen* pen, const GpRectF* rects, INT count) {
    if (!rects || count <= 0)
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    return Stroke(graphics, pen, RectanglesPath(rects, count));
}

Status GdipDrawEllipse(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height) {
    return Stroke(graphics, pen, EllipsePath(x, y, width, height));
}

Status GdipDrawEllipseI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height) {
    return GdipDrawEllipse(graphics, pen, static_cast<REAL>(x), static_cast<REAL>(y),
                           static_cast<REAL>(width), static_cast<REAL>(height));
}

Status GdipDrawPie(GpGraphics* graphics, GpPen* pen, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                   REAL sweepAngle) {
    if (width <= 0 || height <= 0)
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    return Stroke(graphics, pen, PiePath(x, y, width, height, startAngle, sweepAngle));
}

Status GdipDrawPieI(GpGraphics* graphics, GpPen* pen, INT x, INT y, INT width, INT height, REAL startAngle,
                    REAL sweepAngle) {
    return GdipDrawPie(graphics, pen, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                       static_cast<REAL>(height), startAngle, sweepAngle);
}

Status GdipDrawPolygon(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count) {
    return Polygon(graphics, pen, points, count);
}

Status GdipDrawPolygonI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count) {
    return Polygon(graphics, pen, points, count);
}

Status GdipDrawCurve(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count) {
    return Curve(graphics, pen, points, count, 0.5f, false);
}

Status GdipDrawCurveI(GpGraphics* graphics, GpPen* pen, const GpPoint* points, INT count) {
    return Curve(graphics, pen, points, count, 0.5f, false);
}

Status GdipDrawCurve2(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count, REAL tension) {
    return Curve(graphics, pen, points, count, tension, false);
}

Status GdipDrawClosedCurve(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count) {
    return Curve(graphics, pen, points, count, 0.5f, true);
}

Status GdipDrawClosedCurve2(GpGraphics* graphics, GpPen* pen, const GpPointF* points, INT count,
                            REAL tension) {
    return Curve(graphics, pen, points, count, tension, true);
}

Status GdipDrawPath(GpGraphics* graphics, GpPen* pen, GpPath* path) {
    GP_STARTED();
    PathObject* p = Find<PathObject>(path);
    if (!p)
        return InvalidParameter;
    return Stroke(graphics, pen, p->path);
}

// ---- Fills ----

Status GdipFillRectangle(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height) {
    return Fill(graphics, brush, RectanglePath(x, y, width, height));
}

Status GdipFillRectangleI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height) {
    return GdipFillRectangle(graphics, brush, static_cast<REAL>(x), static_cast<REAL>(y),
                             static_cast<REAL>(width), static_cast<REAL>(height));
}

Status GdipFillRectangles(GpGraphics* graphics, GpBrush* brush, const GpRectF* rects, INT count) {
    if (!rects || count <= 0)
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    gp::Path path = RectanglesPath(rects, count);
    path.winding = true;
    return Fill(graphics, brush, path);
}

Status GdipFillEllipse(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height) {
    return Fill(graphics, brush, EllipsePath(x, y, width, height));
}

Status GdipFillEllipseI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height) {
    return GdipFillEllipse(graphics, brush, static_cast<REAL>(x), static_cast<REAL>(y),
                           static_cast<REAL>(width), static_cast<REAL>(height));
}

Status GdipFillPie(GpGraphics* graphics, GpBrush* brush, REAL x, REAL y, REAL width, REAL height,
                   REAL startAngle, REAL sweepAngle) {
    if (width <= 0 || height <= 0)
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    return Fill(graphics, brush, PiePath(x, y, width, height, startAngle, sweepAngle));
}

Status GdipFillPieI(GpGraphics* graphics, GpBrush* brush, INT x, INT y, INT width, INT height,
                    REAL startAngle, REAL sweepAngle) {
    return GdipFillPie(graphics, brush, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                       static_cast<REAL>(height), startAngle, sweepAngle);
}

Status GdipFillPolygon(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count,
                       GpFillMode fillMode) {
    return FillPolygonOf(graphics, brush, points, count, fillMode);
}

Status GdipFillPolygonI(GpGraphics* graphics, GpBrush* brush, const GpPoint* points, INT count,
                        GpFillMode fillMode) {
    return FillPolygonOf(graphics, brush, points, count, fillMode);
}

Status GdipFillPolygon2(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count) {
    return FillPolygonOf(graphics, brush, points, count, FillModeAlternate);
}

Status GdipFillClosedCurve(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count) {
    return GdipFillClosedCurve2(graphics, brush, points, count, 0.5f, FillModeAlternate);
}

Status GdipFillClosedCurve2(GpGraphics* graphics, GpBrush* brush, const GpPointF* points, INT count,
                            REAL tension, GpFillMode fillMode) {
    if (!points || count < 3 || (fillMode != FillModeAlternate && fillMode != FillModeWinding))
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    gp::Path path = ClosedFigure(CurvePoints(ToPoints(points, count), tension, true), true);
    path.winding = fillMode == FillModeWinding;
    return Fill(graphics, brush, path);
}

Status GdipFillPath(GpGraphics* graphics, GpBrush* brush, GpPath* path) {
    GP_STARTED();
    PathObject* p = Find<PathObject>(path);
    if (!p)
        return InvalidParameter;
    return Fill(graphics, brush, p->path);
}

Status GdipFillRegion(GpGraphics* graphics, GpBrush* brush, GpRegion* region) {
    GP_GRAPHICS(g, graphics);
    BrushObject* b = Find<BrushObject>(brush);
    RegionObject* r = Find<RegionObject>(region);
    if (!b || !r)
        return InvalidParameter;
    return PaintOnSurface(
        g, [&](const gp::Target& target) { gp::FillRegion(target, g->Context(), r->region, b->brush); });
}

// ---- Images ----

Status GdipDrawImage(GpGraphics* graphics, GpImage* image, REAL x, REAL y) {
    GP_GRAPHICS(g, graphics);
    ImageObject* img = FindImage(image);
    if (!img)
        return InvalidParameter;
    REAL width = 0, height = 0;
    UnscaledSize(*g, *img, width, height);
    return DrawImageRectOnto(graphics, image, x, y, width, height);
}

Status GdipDrawImageI(GpGraphics* graphics, GpImage* image, INT x, INT y) {
    return GdipDrawImage(graphics, image, static_cast<REAL>(x), static_cast<REAL>(y));
}

Status GdipDrawImageRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL width, REAL height) {
    return DrawImageRectOnto(graphics, image, x, y, width, height);
}

Status GdipDrawImageRectI(GpGraphics* graphics, GpImage* image, INT x, INT y, INT width, INT height) {
    return DrawImageRectOnto(graphics, image, static_cast<REAL>(x), static_cast<REAL>(y),
                             static_cast<REAL>(width), static_cast<REAL>(height));
}

Status GdipDrawImagePoints(GpGraphics* graphics, GpImage* image, const GpPointF* points, INT count) {
    GP_STARTED();
    ImageObject* img = FindImage(image);
    if (!img || !points || count != 3)
        return InvalidParameter;
    gp::PointF dest[3] = {ToPoint(points[0]), ToPoint(points[1]), ToPoint(points[2])};
    return DrawImageOnto(
        graphics, image, dest,
        {0, 0, static_cast<float>(img->bitmap.width), static_cast<float>(img->bitmap.height)}, UnitPixel,
        nullptr, nullptr, nullptr);
}

Status GdipDrawImagePointRect(GpGraphics* graphics, GpImage* image, REAL x, REAL y, REAL srcx, REAL srcy,
                              REAL srcwidth, REAL srcheight, GpUnit srcUnit) {
    GP_GRAPHICS(g, graphics);
    ImageObject* img = FindImage(image);
    if (!img)
        return InvalidParameter;
    REAL page = PixelsPerUnit(g->state.pageUnit) * g->state.pageScale;
    REAL perUnit = srcUnit == UnitWorld || srcUnit == UnitDisplay ? 1.0f : PixelsPerUnit(srcUnit);
    REAL width = srcwidth * perUnit / page, height = srcheight * perUnit / page;
    gp::PointF dest[3] = {{x, y}, {x + width, y}, {x, y + height}};
    return DrawImageOnto(graphics, image, dest, {srcx, srcy, srcwidth, srcheight}, srcUnit, nullptr, nullptr,
                         nullptr);
}

Status GdipDrawImageRectRect(GpGraphics* graphics, GpImage* image, REAL dstx, REAL dsty, REAL dstwidth,
                             REAL dstheight, REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight,
                             GpUnit srcUnit, const GpImageAttributes* attributes, DrawImageAbort callback,
                             void* callbackData) {
    gp::PointF dest[3] = {{dstx, dsty}, {dstx + dstwidth, dsty}, {dstx, dsty + dstheight}};
    return DrawImageOnto(graphics, image, dest, {srcx, srcy, srcwidth, srcheight}, srcUnit, attributes,
                         callback, callbackData);
}

Status GdipDrawImageRectRectI(GpGraphics* graphics, GpImage* image, INT dstx, INT dsty, INT dstwidth,
                              INT dstheight, INT srcx, INT srcy, INT srcwidth, INT srcheight, GpUnit srcUnit,
                              const GpImageAttributes* attributes, DrawImageAbort callback,
                              void* callbackData) {
    return GdipDrawImageRectRect(graphics, image, static_cast<REAL>(dstx), static_cast<REAL>(dsty),
                                 static_cast<REAL>(dstwidth), static_cast<REAL>(dstheight),
                                 static_cast<REAL>(srcx), static_cast<REAL>(srcy),
                                 static_cast<REAL>(srcwidth), static_cast<REAL>(srcheight), srcUnit,
                                 attributes, callback, callbackData);
}

Status GdipDrawImagePointsRect(GpGraphics* graphics, GpImage* image, const GpPointF* points, INT count,
                               REAL srcx, REAL srcy, REAL srcwidth, REAL srcheight, GpUnit srcUnit,
                               const GpImageAttributes* attributes, DrawImageAbort callback,
                               void* callbackData) {
    if (!points || count != 3)
        return Started() ? InvalidParameter : GdiplusNotInitialized;
    gp::PointF dest[3] = {ToPoint(points[0]), ToPoint(points[1]), ToPoint(points[2])};
    return DrawImageOnto(graphics, image, dest, {srcx, srcy, srcwidth, srcheight}, srcUnit, attributes,
                         callback, callbackData);
}
