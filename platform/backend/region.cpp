// Regions on QRegion, whose banded rectangles are already in the order GDI regions keep.
#include "platform/backend/region.h"

#include <QPainterPath>
#include <QPolygon>
#include <QRegion>
#include <algorithm>
#include <cmath>

#include "platform/backend/raster_p.h"

namespace backend {

struct RegionAccess {
    static QRegion ToQt(const Region& region) {
        QRegion result;
        if (region.FRects.empty())
            return result;
        std::vector<QRect> rects;
        rects.reserve(region.FRects.size());
        for (const Rect& r : region.FRects)
            rects.emplace_back(r.left, r.top, r.Width(), r.Height());
        result.setRects(rects.data(), static_cast<int>(rects.size()));
        return result;
    }
    static RectList& RectsOf(Region& region) { return region.FRects; }
    static Region FromQt(const QRegion& region) {
        Region result;
        result.FRects.reserve(static_cast<size_t>(region.rectCount()));
        for (const QRect& r : region)
            result.FRects.push_back(Rect{r.left(), r.top(), r.right() + 1, r.bottom() + 1});
        return result;
    }
};

namespace {

struct Crossing {
    double x;
    int direction; // +1 for an edge going down, -1 going up
};

} // namespace

// Scan conversion with pixel centres as the sampling points, as GDI fills: pixel (x, y) is inside when
// (x + 0.5, y + 0.5) is. Rows with the same runs are merged into one band.
Region ScanPolygons(const QList<QPolygonF>& polygons, bool winding) {
    double top = 1e18, bottom = -1e18;
    for (const QPolygonF& polygon : polygons)
        for (const QPointF& p : polygon) {
            top = std::min(top, p.y());
            bottom = std::max(bottom, p.y());
        }
    Region result;
    if (top > bottom)
        return result;
    int firstRow = static_cast<int>(std::ceil(top - 0.5));
    int lastRow = static_cast<int>(std::ceil(bottom - 0.5)) - 1;
    std::vector<Crossing> crossings;
    std::vector<std::pair<int, int>> runs, previousRuns;
    size_t bandStart = 0;
    for (int y = firstRow; y <= lastRow; ++y) {
        double yc = y + 0.5;
        crossings.clear();
        for (const QPolygonF& polygon : polygons) {
            qsizetype n = polygon.size();
            for (qsizetype i = 0; i < n; ++i) {
                QPointF a = polygon[i];
                QPointF b = polygon[(i + 1) % n];
                if (a.y() == b.y())
                    continue;
                bool down = b.y() > a.y();
                double y0 = down ? a.y() : b.y();
                double y1 = down ? b.y() : a.y();
                if (yc < y0 || yc >= y1)
                    continue;
                double x = a.x() + (yc - a.y()) * (b.x() - a.x()) / (b.y() - a.y());
                crossings.push_back({x, down ? 1 : -1});
            }
        }
        std::sort(crossings.begin(), crossings.end(),
                  [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
        runs.clear();
        int count = 0;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
            count += winding ? crossings[i].direction : 1;
            bool inside = winding ? count != 0 : (count % 2) != 0;
            if (!inside)
                continue;
            int x0 = static_cast<int>(std::ceil(crossings[i].x - 0.5));
            int x1 = static_cast<int>(std::ceil(crossings[i + 1].x - 0.5));
            if (x1 <= x0)
                continue;
            if (!runs.empty() && runs.back().second >= x0)
                runs.back().second = std::max(runs.back().second, x1);
            else
                runs.emplace_back(x0, x1);
        }
        RectList& rects = RegionAccess::RectsOf(result);
        if (!runs.empty() && runs == previousRuns && !rects.empty() && rects.back().bottom == y) {
            for (size_t i = bandStart; i < rects.size(); ++i)
                rects[i].bottom = y + 1;
        } else {
            bandStart = rects.size();
            for (const auto& run : runs)
                rects.push_back(Rect{run.first, y, run.second, y + 1});
        }
        previousRuns = runs;
    }
    return result;
}

QRegion ToQRegion(const Region& region) {
    return RegionAccess::ToQt(region);
}

namespace {

Region FromPath(const QPainterPath& path, bool winding) {
    return ScanPolygons(path.toSubpathPolygons(), winding);
}

} // namespace

Rect Rect::Intersected(const Rect& other) const {
    Rect r{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
           std::min(bottom, other.bottom)};
    return r.Empty() ? Rect{} : r;
}

Region::Region(const Rect& rect) {
    if (!rect.Empty())
        FRects.push_back(rect);
}

Region Region::Ellipse(const Rect& bounds) {
    if (bounds.Empty())
        return Region();
    QPainterPath path;
    path.addEllipse(QRectF(bounds.left, bounds.top, bounds.Width(), bounds.Height()));
    return FromPath(path, false);
}

Region Region::RoundRect(const Rect& bounds, int ellipseWidth, int ellipseHeight) {
    if (bounds.Empty())
        return Region();
    double rx = std::min(std::abs(ellipseWidth), bounds.Width()) / 2.0;
    double ry = std::min(std::abs(ellipseHeight), bounds.Height()) / 2.0;
    if (rx < 1 || ry < 1)
        return Region(bounds);
    // Controls paint the same rounded shapes at the same places over and over (a button's face and its
    // shadow at every paint), and scanning the curves costs far more than the copy: the last few stay.
    struct Cached {
        Rect bounds;
        int ellipseWidth;
        int ellipseHeight;
        Region region;
    };
    constexpr size_t CacheSize = 8;
    thread_local std::vector<Cached> cache;
    for (const Cached& entry : cache)
        if (entry.bounds == bounds && entry.ellipseWidth == ellipseWidth &&
            entry.ellipseHeight == ellipseHeight)
            return entry.region;
    QPainterPath path;
    path.addRoundedRect(QRectF(bounds.left, bounds.top, bounds.Width(), bounds.Height()), rx, ry);
    Region region = FromPath(path, false);
    if (cache.size() == CacheSize)
        cache.erase(cache.begin());
    cache.push_back(Cached{bounds, ellipseWidth, ellipseHeight, region});
    return region;
}

Region Region::Polygons(std::span<const Point> points, std::span<const int> counts, bool winding) {
    QPainterPath path;
    size_t index = 0;
    for (int count : counts) {
        if (count < 2 || index + static_cast<size_t>(count) > points.size())
            break;
        // A GDI coordinate names a pixel and a pen draws through that pixel, so the point (x, y) stands
        // at the centre of pixel (x, y). Sampling pixel centres against the polygon moved there makes the
        // fill meet its one-pixel outline on every edge: up to the outline's pixel on a left or top edge
        // and up to the pixel before it on a right or bottom one, with none to spare or missing.
        QPolygonF polygon;
        for (int i = 0; i < count; ++i) {
            const Point& p = points[index + static_cast<size_t>(i)];
            polygon << QPointF(p.x + 0.5, p.y + 0.5);
        }
        polygon << polygon.first();
        path.addPolygon(polygon);
        index += static_cast<size_t>(count);
    }
    if (path.isEmpty())
        return Region();
    return FromPath(path, winding);
}

Region Region::FromRows(std::vector<Rect> rows) {
    std::sort(rows.begin(), rows.end(),
              [](const Rect& a, const Rect& b) { return a.top != b.top ? a.top < b.top : a.left < b.left; });
    Region result;
    for (const Rect& r : rows) {
        if (r.Empty())
            continue;
        // Runs that touch on one row become one rectangle.
        if (!result.FRects.empty() && result.FRects.back().top == r.top &&
            result.FRects.back().right == r.left)
            result.FRects.back().right = r.right;
        else
            result.FRects.push_back(r);
    }
    return result;
}

Rect Region::Bounds() const {
    if (FRects.empty())
        return Rect{};
    Rect b = FRects.front();
    for (const Rect& r : FRects) {
        b.left = std::min(b.left, r.left);
        b.top = std::min(b.top, r.top);
        b.right = std::max(b.right, r.right);
        b.bottom = std::max(b.bottom, r.bottom);
    }
    return b;
}

bool Region::Contains(int x, int y) const {
    for (const Rect& r : FRects)
        if (r.Contains(x, y))
            return true;
    return false;
}

bool Region::Intersects(const Rect& rect) const {
    for (const Rect& r : FRects)
        if (!r.Intersected(rect).Empty())
            return true;
    return false;
}

// One rectangle against an empty region or another rectangle is answered without the conversion: a
// single rectangle is already in the one form the conversion would give.
Region Region::United(const Region& other) const {
    if (other.FRects.empty() && FRects.size() <= 1)
        return *this;
    if (FRects.empty() && other.FRects.size() == 1)
        return other;
    return RegionAccess::FromQt(RegionAccess::ToQt(*this).united(RegionAccess::ToQt(other)));
}

Region Region::Intersected(const Region& other) const {
    if (FRects.empty() || other.FRects.empty())
        return Region();
    if (FRects.size() == 1 && other.FRects.size() == 1)
        return Region(FRects.front().Intersected(other.FRects.front()));
    return RegionAccess::FromQt(RegionAccess::ToQt(*this).intersected(RegionAccess::ToQt(other)));
}

Region Region::Intersected(const Rect& rect) const {
    // The common case of clipping to a rectangle needs no conversion.
    Region result;
    for (const Rect& r : FRects) {
        Rect piece = r.Intersected(rect);
        if (!piece.Empty())
            result.FRects.push_back(piece);
    }
    return result;
}

Region Region::Subtracted(const Region& other) const {
    if (FRects.empty())
        return Region();
    if (FRects.size() == 1 && !other.Intersects(FRects.front()))
        return *this;
    return RegionAccess::FromQt(RegionAccess::ToQt(*this).subtracted(RegionAccess::ToQt(other)));
}

Region Region::Xored(const Region& other) const {
    return RegionAccess::FromQt(RegionAccess::ToQt(*this).xored(RegionAccess::ToQt(other)));
}

bool Region::operator==(const Region& other) const {
    if (FRects == other.FRects)
        return true;
    return RegionAccess::ToQt(*this).xored(RegionAccess::ToQt(other)).isEmpty();
}

void Region::Offset(int dx, int dy) {
    for (Rect& r : FRects) {
        r.left += dx;
        r.right += dx;
        r.top += dy;
        r.bottom += dy;
    }
}

} // namespace backend
