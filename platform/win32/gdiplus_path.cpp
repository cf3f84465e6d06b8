// GDI+ paths: figures of lines and Bézier curves, the shapes (rectangles, ellipses, arcs, pies,
// polygons, cardinal splines) turned into them as GDI+ builds them, and questions about them.
#include <cmath>
#include <numbers>

#include "platform/win32/gdiplus_private.h"

namespace gdiplus {

namespace {

constexpr std::uint8_t Start = PathPointTypeStart;
constexpr std::uint8_t Line = PathPointTypeLine;
constexpr std::uint8_t Bezier = PathPointTypeBezier;
constexpr std::uint8_t Close = PathPointTypeCloseSubpath;

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// GDI+ measures arc angles on the ellipse itself; the curve is built from the angle of the circle
// that the ellipse is a stretched copy of.
double Unstretch(double degrees, double rx, double ry) {
    double angle = Radians(degrees);
    if (std::abs(std::cos(angle)) < 1e-5 || std::abs(std::sin(angle)) < 1e-5)
        return angle;
    double stretched = std::atan2(std::sin(angle) / std::abs(ry), std::cos(angle) / std::abs(rx));
    double turns =
        std::round(angle / (2 * std::numbers::pi)) - std::round(stretched / (2 * std::numbers::pi));
    return stretched + turns * 2 * std::numbers::pi;
}

} // namespace

void PathObject::AddLines(const std::vector<gp::PointF>& points) {
    for (size_t i = 0; i < points.size(); ++i) {
        path.points.push_back(points[i]);
        path.types.push_back(startFigure ? Start : Line);
        startFigure = false;
    }
}

void PathObject::AddBeziers(const std::vector<gp::PointF>& points) {
    if (points.empty())
        return;
    path.points.push_back(points[0]);
    path.types.push_back(startFigure ? Start : Line);
    startFigure = false;
    for (size_t i = 1; i < points.size(); ++i) {
        path.points.push_back(points[i]);
        path.types.push_back(Bezier);
    }
}

void PathObject::CloseFigure() {
    if (!path.types.empty() && !startFigure)
        path.types.back() |= Close;
    startFigure = true;
}

gp::Path RectanglePath(REAL x, REAL y, REAL width, REAL height) {
    gp::Path path;
    path.points = {{x, y}, {x + width, y}, {x + width, y + height}, {x, y + height}};
    path.types = {Start, Line, Line, static_cast<std::uint8_t>(Line | Close)};
    return path;
}

std::vector<gp::PointF> ArcPoints(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
    double rx = width / 2.0, ry = height / 2.0, cx = x + rx, cy = y + ry;
    sweepAngle = std::clamp(sweepAngle, -360.0f, 360.0f);
    double from = Unstretch(startAngle, rx, ry);
    double to = Unstretch(static_cast<double>(startAngle) + sweepAngle, rx, ry);
    if (std::abs(sweepAngle) >= 360)
        to = from + (sweepAngle > 0 ? 2 : -2) * std::numbers::pi;
    double total = to - from;
    if (!std::isfinite(total))
        total = 0; // angles that are not numbers give the start point alone
    int segments = std::max(1, static_cast<int>(std::ceil(std::abs(total) / (std::numbers::pi / 2) - 1e-9)));
    double step = total / segments;
    double k = 4.0 / 3.0 * std::tan(step / 4);
    auto at = [&](double a) {
        return gp::PointF{static_cast<float>(cx + rx * std::cos(a)),
                          static_cast<float>(cy + ry * std::sin(a))};
    };
    std::vector<gp::PointF> points{at(from)};
    for (int i = 0; i < segments; ++i) {
        double a0 = from + step * i, a1 = a0 + step;
        points.push_back({static_cast<float>(cx + rx * (std::cos(a0) - k * std::sin(a0))),
                          static_cast<float>(cy + ry * (std::sin(a0) + k * std::cos(a0)))});
        points.push_back({static_cast<float>(cx + rx * (std::cos(a1) + k * std::sin(a1))),
                          static_cast<float>(cy + ry * (std::sin(a1) - k * std::cos(a1)))});
        points.push_back(at(a1));
    }
    return points;
}

gp::Path EllipsePath(REAL x, REAL y, REAL width, REAL height) {
    gp::Path path;
    path.points = ArcPoints(x, y, width, height, 0, 360);
    path.types.assign(path.points.size(), Bezier);
    path.types.front() = Start;
    path.types.back() |= Close;
    return path;
}

gp::Path PiePath(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
    gp::Path path;
    path.points.push_back({x + width / 2, y + height / 2});
    path.types.push_back(Start);
    std::vector<gp::PointF> arc = ArcPoints(x, y, width, height, startAngle, sweepAngle);
    for (size_t i = 0; i < arc.size(); ++i) {
        path.points.push_back(arc[i]);
        path.types.push_back(i == 0 ? Line : Bezier);
    }
    path.types.back() |= Close;
    return path;
}

gp::Path PolygonPath(const std::vector<gp::PointF>& points, bool winding) {
    gp::Path path;
    path.winding = winding;
    path.points = points;
    path.types.assign(points.size(), Line);
    if (!points.empty()) {
        path.types.front() = Start;
        path.types.back() |= Close;
    }
    return path;
}

std::vector<gp::PointF> CurvePoints(const std::vector<gp::PointF>& points, REAL tension, bool closed) {
    std::vector<gp::PointF> result;
    size_t n = points.size();
    if (n < 2)
        return result;
    float t = tension / 3;
    auto at = [&](long i) {
        if (closed)
            return points[static_cast<size_t>((i % static_cast<long>(n) + static_cast<long>(n)) %
                                              static_cast<long>(n))];
        return points[static_cast<size_t>(std::clamp<long>(i, 0, static_cast<long>(n) - 1))];
    };
    result.push_back(points[0]);
    long segments = static_cast<long>(closed ? n : n - 1);
    for (long i = 0; i < segments; ++i) {
        gp::PointF p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        result.push_back({p1.x + (p2.x - p0.x) * t, p1.y + (p2.y - p0.y) * t});
        result.push_back({p2.x - (p3.x - p1.x) * t, p2.y - (p3.y - p1.y) * t});
        result.push_back(p2);
    }
    return result;
}

} // namespace gdiplus

using namespace gdiplus;

namespace {

bool ValidFillMode(GpFillMode mode) {
    return mode == FillModeAlternate || mode == FillModeWinding;
}

GpPath* NewPath(gp::Path path) {
    auto object = std::make_unique<PathObject>();
    object->startFigure = path.types.empty() || (path.types.back() & Close);
    object->path = std::move(path);
    return Add<GpPath>(std::move(object));
}

// Whether types describe figures: each starts with a start point and Bézier points come in threes.
bool ValidTypes(const BYTE* types, INT count) {
    int bezierRun = 0;
    for (INT i = 0; i < count; ++i) {
        int kind = types[i] & PathPointTypePathTypeMask;
        if (i == 0 && kind != Start)
            return false;
        if (kind == Bezier) {
            ++bezierRun;
        } else {
            if (bezierRun % 3)
                return false;
            bezierRun = 0;
            if (kind != Start && kind != Line)
                return false;
        }
    }
    return bezierRun % 3 == 0;
}

template <class Point>
Status CreatePath2(const Point* points, const BYTE* types, INT count, GpFillMode fillMode, GpPath** path) {
    GP_STARTED();
    if (!points || !types || !path || count < 0 || !ValidFillMode(fillMode) || !ValidTypes(types, count))
        return InvalidParameter;
    return Guard([&] {
        gp::Path p;
        p.points = ToPoints(points, count);
        p.types.assign(types, types + count);
        p.winding = fillMode == FillModeWinding;
        *path = NewPath(std::move(p));
        return Ok;
    });
}

// Appends a closed figure of its own.
void AddFigure(PathObject& p, const gp::Path& figure) {
    p.path.points.insert(p.path.points.end(), figure.points.begin(), figure.points.end());
    p.path.types.insert(p.path.types.end(), figure.types.begin(), figure.types.end());
    p.startFigure = true;
}

template <class Point> Status AddLine2(GpPath* path, const Point* points, INT count) {
    GP_OBJECT(PathObject, p, path);
    if (!points || count < 1)
        return InvalidParameter;
    return Guard([&] {
        p->AddLines(ToPoints(points, count));
        return Ok;
    });
}

template <class Point> Status AddBeziers(GpPath* path, const Point* points, INT count) {
    GP_OBJECT(PathObject, p, path);
    if (!points || count < 4 || (count - 1) % 3)
        return InvalidParameter;
    return Guard([&] {
        p->AddBeziers(ToPoints(points, count));
        return Ok;
    });
}

template <class Point> Status AddCurve(GpPath* path, const Point* points, INT count, REAL tension) {
    GP_OBJECT(PathObject, p, path);
    if (!points || count < 2)
        return InvalidParameter;
    return Guard([&] {
        p->AddBeziers(CurvePoints(ToPoints(points, count), tension, false));
        return Ok;
    });
}

template <class Point> Status AddPolygon(GpPath* path, const Point* points, INT count) {
    GP_OBJECT(PathObject, p, path);
    if (!points || count < 3)
        return InvalidParameter;
    return Guard([&] {
        AddFigure(*p, PolygonPath(ToPoints(points, count), false));
        return Ok;
    });
}

Status AddArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle) {
    GP_OBJECT(PathObject, p, path);
    if (width <= 0 || height <= 0)
        return InvalidParameter;
    return Guard([&] {
        p->AddBeziers(ArcPoints(x, y, width, height, startAngle, sweepAngle));
        return Ok;
    });
}

} // namespace

Status GdipCreatePath(GpFillMode fillMode, GpPath** path) {
    GP_STARTED();
    if (!path || !ValidFillMode(fillMode))
        return InvalidParameter;
    return Guard([&] {
        gp::Path p;
        p.winding = fillMode == FillModeWinding;
        *path = NewPath(std::move(p));
        return Ok;
    });
}

Status GdipCreatePath2(const GpPointF* points, const BYTE* types, INT count, GpFillMode fillMode,
                       GpPath** path) {
    return CreatePath2(points, types, count, fillMode, path);
}

Status GdipCreatePath2I(const GpPoint* points, const BYTE* types, INT count, GpFillMode fillMode,
                        GpPath** path) {
    return CreatePath2(points, types, count, fillMode, path);
}

Status GdipClonePath(GpPath* path, GpPath** clone) {
    GP_OBJECT(PathObject, p, path);
    if (!clone)
        return InvalidParameter;
    return Guard([&] {
        auto copy = std::make_unique<PathObject>(*p);
        *clone = Add<GpPath>(std::move(copy));
        return Ok;
    });
}

Status GdipDeletePath(GpPath* path) {
    GP_OBJECT(PathObject, p, path);
    RemoveEntry(path);
    return Ok;
}

Status GdipResetPath(GpPath* path) {
    GP_OBJECT(PathObject, p, path);
    p->path.points.clear();
    p->path.types.clear();
    p->path.winding = false;
    p->startFigure = true;
    return Ok;
}

Status GdipGetPointCount(GpPath* path, INT* count) {
    GP_OBJECT(PathObject, p, path);
    if (!count)
        return InvalidParameter;
    *count = static_cast<INT>(p->path.points.size());
    return Ok;
}

Status GdipGetPathPoints(GpPath* path, GpPointF* points, INT count) {
    GP_OBJECT(PathObject, p, path);
    if (!points || count <= 0)
        return InvalidParameter;
    if (static_cast<size_t>(count) < p->path.points.size())
        return InsufficientBuffer;
    for (size_t i = 0; i < p->path.points.size(); ++i)
        points[i] = {p->path.points[i].x, p->path.points[i].y};
    return Ok;
}

Status GdipGetPathPointsI(GpPath* path, GpPoint* points, INT count) {
    GP_OBJECT(PathObject, p, path);
    if (!points || count <= 0)
        return InvalidParameter;
    if (static_cast<size_t>(count) < p->path.points.size())
        return InsufficientBuffer;
    for (size_t i = 0; i < p->path.points.size(); ++i)
        points[i] = {static_cast<INT>(std::lround(p->path.points[i].x)),
                     static_cast<INT>(std::lround(p->path.points[i].y))};
    return Ok;
}

Status GdipGetPathTypes(GpPath* path, BYTE* types, INT count) {
    GP_OBJECT(PathObject, p, path);
    if (!types || count <= 0)
        return InvalidParameter;
    if (static_cast<size_t>(count) < p->path.types.size())
        return InsufficientBuffer;
    std::copy(p->path.types.begin(), p->path.types.end(), types);
    return Ok;
}

Status GdipGetPathFillMode(GpPath* path, GpFillMode* fillMode) {
    GP_OBJECT(PathObject, p, path);
    if (!fillMode)
        return InvalidParameter;
    *fillMode = p->path.winding ? FillModeWinding : FillModeAlternate;
    return Ok;
}

Status GdipSetPathFillMode(GpPath* path, GpFillMode fillMode) {
    GP_OBJECT(PathObject, p, path);
    if (!ValidFillMode(fillMode))
        return InvalidParameter;
    p->path.winding = fillMode == FillModeWinding;
    return Ok;
}

Status GdipStartPathFigure(GpPath* path) {
    GP_OBJECT(PathObject, p, path);
    p->startFigure = true;
    return Ok;
}

Status GdipClosePathFigure(GpPath* path) {
    GP_OBJECT(PathObject, p, path);
    p->CloseFigure();
    return Ok;
}

Status GdipClosePathFigures(GpPath* path) {
    GP_OBJECT(PathObject, p, path);
    auto& types = p->path.types;
    for (size_t i = 0; i < types.size(); ++i)
        if (i + 1 == types.size() || (types[i + 1] & PathPointTypePathTypeMask) == Start)
            types[i] |= Close;
    p->startFigure = true;
    return Ok;
}

Status GdipGetPathWorldBounds(GpPath* path, GpRectF* bounds, const GpMatrix* matrix, const GpPen* pen) {
    GP_OBJECT(PathObject, p, path);
    if (!bounds)
        return InvalidParameter;
    MatrixObject* m = Find<MatrixObject>(matrix);
    PenObject* penObject = Find<PenObject>(pen);
    if ((matrix && !m) || (pen && !penObject))
        return InvalidParameter;
    if (p->path.points.empty()) {
        *bounds = {0, 0, 0, 0};
        return Ok;
    }
    return Guard([&] {
        gp::Pen painted;
        if (penObject)
            painted = PaintPen(*penObject, nullptr);
        gp::RectF r = gp::PathBounds(p->path, m ? m->m : gp::Matrix{}, penObject ? &painted : nullptr);
        *bounds = {r.x, r.y, r.width, r.height};
        return Ok;
    });
}

Status GdipGetPathWorldBoundsI(GpPath* path, GpRect* bounds, const GpMatrix* matrix, const GpPen* pen) {
    if (!bounds && Started())
        return InvalidParameter;
    GpRectF r{};
    Status status = GdipGetPathWorldBounds(path, &r, matrix, pen);
    if (status == Ok) {
        INT left = static_cast<INT>(std::floor(r.X)), top = static_cast<INT>(std::floor(r.Y));
        *bounds = {left, top, static_cast<INT>(std::ceil(r.X + r.Width)) - left,
                   static_cast<INT>(std::ceil(r.Y + r.Height)) - top};
    }
    return status;
}

Status GdipTransformPath(GpPath* path, GpMatrix* matrix) {
    GP_OBJECT(PathObject, p, path);
    if (!matrix)
        return Ok;
    MatrixObject* m = Find<MatrixObject>(matrix);
    if (!m)
        return InvalidParameter;
    for (gp::PointF& point : p->path.points)
        point = m->m.Map(point);
    return Ok;
}

Status GdipIsVisiblePathPoint(GpPath* path, REAL x, REAL y, GpGraphics* graphics, BOOL* result) {
    GP_OBJECT(PathObject, p, path);
    if (!result)
        return InvalidParameter;
    return Guard([&] {
        *result = gp::PathContains(p->path, {x, y}) ? TRUE : FALSE;
        return Ok;
    });
}

Status GdipIsOutlineVisiblePathPoint(GpPath* path, REAL x, REAL y, GpPen* pen, GpGraphics* graphics,
                                     BOOL* result) {
    GP_OBJECT(PathObject, p, path);
    PenObject* penObject = Find<PenObject>(pen);
    if (!penObject || !result)
        return InvalidParameter;
    return Guard([&] {
        *result = gp::PathOutlineContains(p->path, PaintPen(*penObject, nullptr), {x, y}) ? TRUE : FALSE;
        return Ok;
    });
}

Status GdipAddPathLine(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2) {
    GpPointF points[2] = {{x1, y1}, {x2, y2}};
    return AddLine2(path, points, 2);
}

Status GdipAddPathLineI(GpPath* path, INT x1, INT y1, INT x2, INT y2) {
    GpPoint points[2] = {{x1, y1}, {x2, y2}};
    return AddLine2(path, points, 2);
}

Status GdipAddPathLine2(GpPath* path, const GpPointF* points, INT count) {
    return AddLine2(path, points, count);
}

Status GdipAddPathLine2I(GpPath* path, const GpPoint* points, INT count) {
    return AddLine2(path, points, count);
}

Status GdipAddPathArc(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                      REAL sweepAngle) {
    return AddArc(path, x, y, width, height, startAngle, sweepAngle);
}

Status GdipAddPathArcI(GpPath* path, INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle) {
    return AddArc(path, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                  static_cast<REAL>(height), startAngle, sweepAngle);
}

Status GdipAddPathBezier(GpPath* path, REAL x1, REAL y1, REAL x2, REAL y2, REAL x3, REAL y3, REAL x4,
                         REAL y4) {
    GpPointF points[4] = {{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}};
    return AddBeziers(path, points, 4);
}

Status GdipAddPathBezierI(GpPath* path, INT x1, INT y1, INT x2, INT y2, INT x3, INT y3, INT x4, INT y4) {
    GpPoint points[4] = {{x1, y1}, {x2, y2}, {x3, y3}, {x4, y4}};
    return AddBeziers(path, points, 4);
}

Status GdipAddPathBeziers(GpPath* path, const GpPointF* points, INT count) {
    return AddBeziers(path, points, count);
}

Status GdipAddPathBeziersI(GpPath* path, const GpPoint* points, INT count) {
    return AddBeziers(path, points, count);
}

Status GdipAddPathCurve(GpPath* path, const GpPointF* points, INT count) {
    return AddCurve(path, points, count, 0.5f);
}

Status GdipAddPathCurveI(GpPath* path, const GpPoint* points, INT count) {
    return AddCurve(path, points, count, 0.5f);
}

Status GdipAddPathCurve2(GpPath* path, const GpPointF* points, INT count, REAL tension) {
    return AddCurve(path, points, count, tension);
}

Status GdipAddPathCurve2I(GpPath* path, const GpPoint* points, INT count, REAL tension) {
    return AddCurve(path, points, count, tension);
}

Status GdipAddPathClosedCurve(GpPath* path, const GpPointF* points, INT count) {
    return GdipAddPathClosedCurve2(path, points, count, 0.5f);
}

Status GdipAddPathClosedCurve2(GpPath* path, const GpPointF* points, INT count, REAL tension) {
    GP_OBJECT(PathObject, p, path);
    if (!points || count < 3)
        return InvalidParameter;
    return Guard([&] {
        p->startFigure = true;
        p->AddBeziers(CurvePoints(ToPoints(points, count), tension, true));
        p->CloseFigure();
        return Ok;
    });
}

Status GdipAddPathRectangle(GpPath* path, REAL x, REAL y, REAL width, REAL height) {
    GP_OBJECT(PathObject, p, path);
    return Guard([&] {
        AddFigure(*p, RectanglePath(x, y, width, height));
        return Ok;
    });
}

Status GdipAddPathRectangleI(GpPath* path, INT x, INT y, INT width, INT height) {
    return GdipAddPathRectangle(path, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                                static_cast<REAL>(height));
}

Status GdipAddPathRectangles(GpPath* path, const GpRectF* rects, INT count) {
    GP_OBJECT(PathObject, p, path);
    if (!rects || count < 1)
        return InvalidParameter;
    return Guard([&] {
        for (INT i = 0; i < count; ++i)
            AddFigure(*p, RectanglePath(rects[i].X, rects[i].Y, rects[i].Width, rects[i].Height));
        return Ok;
    });
}

Status GdipAddPathEllipse(GpPath* path, REAL x, REAL y, REAL width, REAL height) {
    GP_OBJECT(PathObject, p, path);
    return Guard([&] {
        AddFigure(*p, EllipsePath(x, y, width, height));
        return Ok;
    });
}

Status GdipAddPathEllipseI(GpPath* path, INT x, INT y, INT width, INT height) {
    return GdipAddPathEllipse(path, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                              static_cast<REAL>(height));
}

Status GdipAddPathPie(GpPath* path, REAL x, REAL y, REAL width, REAL height, REAL startAngle,
                      REAL sweepAngle) {
    GP_OBJECT(PathObject, p, path);
    if (width <= 0 || height <= 0)
        return InvalidParameter;
    return Guard([&] {
        AddFigure(*p, PiePath(x, y, width, height, startAngle, sweepAngle));
        return Ok;
    });
}

Status GdipAddPathPieI(GpPath* path, INT x, INT y, INT width, INT height, REAL startAngle, REAL sweepAngle) {
    return GdipAddPathPie(path, static_cast<REAL>(x), static_cast<REAL>(y), static_cast<REAL>(width),
                          static_cast<REAL>(height), startAngle, sweepAngle);
}

Status GdipAddPathPolygon(GpPath* path, const GpPointF* points, INT count) {
    return AddPolygon(path, points, count);
}

Status GdipAddPathPolygonI(GpPath* path, const GpPoint* points, INT count) {
    return AddPolygon(path, points, count);
}

Status GdipAddPathPath(GpPath* path, const GpPath* addingPath, BOOL connect) {
    GP_OBJECT(PathObject, p, path);
    PathObject* other = Find<PathObject>(addingPath);
    if (!other)
        return InvalidParameter;
    return Guard([&] {
        gp::Path adding = other->path; // a copy: the two may be the same path
        for (size_t i = 0; i < adding.points.size(); ++i) {
            std::uint8_t type = adding.types[i];
            if (i == 0 && connect && !p->startFigure)
                type = static_cast<std::uint8_t>((type & ~PathPointTypePathTypeMask) | Line);
            p->path.points.push_back(adding.points[i]);
            p->path.types.push_back(type);
        }
        p->startFigure = adding.types.empty() ? p->startFigure : (adding.types.back() & Close) != 0;
        return Ok;
    });
}
