// The GDI+ layer's painter: paths, pens, brushes, images and glyphs drawn with QPainter onto the
// pixels of a DC's surface or of a bitmap, and the geometry of paths and regions.
//
// Contents: conversions; regions; brushes; pens; painting onto a target; the drawing calls; text;
// geometry.
#include "platform/backend/gdiplus_paint.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRawFont>
#include <algorithm>
#include <cmath>

#include "platform/backend/fonts_p.h"
#include "platform/backend/raster_p.h"

namespace backend::gdip {

namespace {

// ---- Conversions ----

// The conventional extent of an infinite region.
constexpr double InfiniteOrigin = -4194304.0;
constexpr double InfiniteSize = 8388608.0;

QTransform ToQ(const Matrix& m) {
    return QTransform(m.m11, m.m12, m.m21, m.m22, m.dx, m.dy);
}

QPainterPath ToQ(const Path& path) {
    QPainterPath result;
    result.setFillRule(path.winding ? Qt::WindingFill : Qt::OddEvenFill);
    size_t count = std::min(path.points.size(), path.types.size());
    bool open = false;
    for (size_t i = 0; i < count; ++i) {
        QPointF p(path.points[i].x, path.points[i].y);
        int kind = path.types[i] & 0x07;
        size_t last = i;
        if (kind == 0 || !open) {
            result.moveTo(p);
            open = true;
        } else if (kind == 3 && i + 2 < count) {
            QPointF c2(path.points[i + 1].x, path.points[i + 1].y);
            QPointF e(path.points[i + 2].x, path.points[i + 2].y);
            result.cubicTo(p, c2, e);
            last = i + 2;
            i += 2;
        } else {
            result.lineTo(p);
        }
        if (path.types[last] & 0x80) {
            result.closeSubpath();
            open = false;
        }
    }
    return result;
}

QColor ToColor(std::uint32_t argb) {
    return QColor::fromRgba(argb);
}

QImage ToImage(const Bitmap& bitmap) {
    if (bitmap.width <= 0 || bitmap.height <= 0 ||
        bitmap.pixels.size() < static_cast<size_t>(bitmap.width) * static_cast<size_t>(bitmap.height))
        return QImage();
    // A read-only view of the bitmap's pixels: the image must not outlive the bitmap.
    return QImage(reinterpret_cast<const uchar*>(bitmap.pixels.data()), bitmap.width, bitmap.height,
                  bitmap.width * 4, QImage::Format_ARGB32);
}

QPainterPath InfinitePath() {
    QPainterPath path;
    path.addRect(QRectF(InfiniteOrigin, InfiniteOrigin, InfiniteSize, InfiniteSize));
    return path;
}

// ---- Regions ----

struct RegionShape {
    QPainterPath path;
    bool infinite = false;
};

RegionShape Evaluate(const Region& region);

RegionShape StepShape(const RegionStep& step) {
    RegionShape shape;
    switch (step.kind) {
    case RegionStep::Kind::Infinite:
        return {InfinitePath(), true};
    case RegionStep::Kind::Empty:
        return shape;
    case RegionStep::Kind::Rect:
        shape.path.addRect(QRectF(step.rect.x, step.rect.y, step.rect.width, step.rect.height).normalized());
        break;
    case RegionStep::Kind::Path:
        shape.path = ToQ(step.path);
        break;
    case RegionStep::Kind::Region:
        if (step.region)
            shape = Evaluate(*step.region);
        break;
    }
    if (!step.transform.Identity() && !shape.infinite)
        shape.path = ToQ(step.transform).map(shape.path);
    return shape;
}

RegionShape Combine(const RegionShape& a, const RegionShape& b, int mode) {
    switch (mode) {
    case 1: // intersect
        if (a.infinite)
            return b;
        if (b.infinite)
            return a;
        return {a.path.intersected(b.path), false};
    case 2: // union
        if (a.infinite || b.infinite)
            return {InfinitePath(), true};
        return {a.path.united(b.path), false};
    case 3: // xor
        return {a.path.subtracted(b.path).united(b.path.subtracted(a.path)), false};
    case 4: // exclude
        return {a.path.subtracted(b.path), false};
    case 5: // complement
        return {b.path.subtracted(a.path), false};
    default: // replace
        return b;
    }
}

RegionShape Evaluate(const Region& region) {
    RegionShape shape{InfinitePath(), true};
    for (const RegionStep& step : region.steps)
        shape = Combine(shape, StepShape(step), step.combine);
    return shape;
}

// ---- Brushes ----

// 8 x 8 hatch patterns, one byte per row, the high bit on the left.
const std::uint8_t HatchBits[][8] = {
    {0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, // horizontal
    {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}, // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // forward diagonal
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // backward diagonal
    {0xFF, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}, // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // diagonal cross
};

// The share of foreground pixels of the percentage hatches (styles 6 to 17), in 64ths.
const int HatchPercent[] = {3, 6, 13, 16, 19, 26, 32, 38, 45, 48, 51, 58};

bool HatchPixel(int style, int x, int y) {
    if (style >= 0 && style <= 5)
        return (HatchBits[style][y] >> (7 - x)) & 1;
    if (style >= 6 && style <= 17) {
        // An ordered dither of the percentage keeps the pattern even.
        static const int Bayer[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                                        {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
                                        {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
                                        {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};
        return Bayer[y][x] < HatchPercent[style - 6];
    }
    switch (style) {
    case 18:
    case 20:
    case 22:
    case 30: // downward diagonals
        return ((x - y) & 3) == 0 || (style == 20 && ((x - y) & 3) == 1) ||
               (style == 22 && ((x - y) & 7) < 3);
    case 19:
    case 21:
    case 23:
    case 31: // upward diagonals
        return ((x + y) & 3) == 3 || (style == 21 && ((x + y) & 3) == 2) ||
               (style == 23 && ((x + y) & 7) < 3);
    case 24:
    case 26:
    case 28:
    case 33: // vertical lines
        return (x & (style == 24 ? 3 : 1)) == 0 || (style == 28 && (x & 3) == 1);
    case 25:
    case 27:
    case 29:
    case 32: // horizontal lines
        return (y & (style == 25 ? 3 : 1)) == 0 || (style == 29 && (y & 3) == 1);
    case 49: // small checker board
        return ((x ^ y) & 1) != 0;
    case 50: // large checker board
        return ((x / 4) ^ (y / 4)) & 1;
    case 48: // small grid
        return (x & 3) == 0 || (y & 3) == 0;
    default: // the remaining ornaments draw as a fine grid
        return x == 0 || y == 0;
    }
}

QImage HatchImage(const Brush& brush) {
    QImage image(8, 8, QImage::Format_ARGB32);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            image.setPixel(x, y, HatchPixel(brush.hatch, x, y) ? brush.color : brush.back);
    return image;
}

QImage WrappedTexture(const Bitmap& bitmap, Wrap wrap) {
    QImage image = ToImage(bitmap).copy();
    if (image.isNull())
        return image;
    bool flipX = wrap == Wrap::TileFlipX || wrap == Wrap::TileFlipXY;
    bool flipY = wrap == Wrap::TileFlipY || wrap == Wrap::TileFlipXY;
    if (!flipX && !flipY)
        return image;
    int w = image.width(), h = image.height();
    QImage tiled(flipX ? w * 2 : w, flipY ? h * 2 : h, QImage::Format_ARGB32);
    QPainter painter(&tiled);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, image);
    if (flipX)
        painter.drawImage(w, 0, image.mirrored(true, false));
    if (flipY)
        painter.drawImage(0, h, image.mirrored(false, true));
    if (flipX && flipY)
        painter.drawImage(w, h, image.mirrored(true, true));
    return tiled;
}

double ToLinear(double v) {
    return std::pow(v, 2.2);
}
double FromLinear(double v) {
    return std::pow(std::max(0.0, v), 1 / 2.2);
}

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, double t, bool gamma) {
    auto channel = [&](int shift) {
        double x = ((a >> shift) & 0xFF) / 255.0, y = ((b >> shift) & 0xFF) / 255.0;
        double v = gamma && shift != 24 ? FromLinear(ToLinear(x) + (ToLinear(y) - ToLinear(x)) * t)
                                        : x + (y - x) * t;
        return static_cast<std::uint32_t>(std::clamp(std::lround(v * 255), 0L, 255L)) << shift;
    };
    return channel(24) | channel(16) | channel(8) | channel(0);
}

// The colour of a gradient at t (0 to 1) from its stops.
std::uint32_t GradientAt(const Brush& brush, double t) {
    const auto& pos = brush.positions;
    const auto& col = brush.colors;
    if (col.empty())
        return 0;
    if (col.size() == 1 || t <= pos.front())
        return col.front();
    for (size_t i = 1; i < pos.size() && i < col.size(); ++i) {
        if (t <= pos[i]) {
            double span = pos[i] - pos[i - 1];
            return Mix(col[i - 1], col[i], span > 0 ? (t - pos[i - 1]) / span : 1, brush.gamma);
        }
    }
    return col.back();
}

QGradientStops Stops(const Brush& brush) {
    QGradientStops stops;
    // Gamma-corrected blends are not linear between stops: sample them finely.
    int samples = brush.gamma ? 64 : 0;
    if (samples) {
        for (int i = 0; i <= samples; ++i) {
            double t = static_cast<double>(i) / samples;
            stops.append({t, ToColor(GradientAt(brush, t))});
        }
        return stops;
    }
    for (size_t i = 0; i < brush.positions.size() && i < brush.colors.size(); ++i)
        stops.append({std::clamp<double>(brush.positions[i], 0, 1), ToColor(brush.colors[i])});
    return stops;
}

// The colours of a path gradient over the pixels of area (image coordinates), for the boundary
// already mapped there.
QImage PathGradientImage(const Brush& brush, const QTransform& toImage, const QRect& area) {
    QImage image(area.size(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QList<QPolygonF> polygons = toImage.map(ToQ(brush.boundary)).toSubpathPolygons();
    if (polygons.isEmpty())
        return image;
    QPolygonF boundary = polygons.front();
    if (boundary.size() > 1 && boundary.front() == boundary.back())
        boundary.removeLast();
    int n = static_cast<int>(boundary.size());
    if (n < 2)
        return image;
    QPointF center = toImage.map(QPointF(brush.center.x, brush.center.y));
    // The colour at each boundary point: points past the last colour take the last.
    auto surroundAt = [&](int i) {
        if (brush.surround.empty())
            return std::uint32_t{0xFF000000};
        return brush.surround[std::min<size_t>(static_cast<size_t>(i), brush.surround.size() - 1)];
    };
    for (int y = 0; y < area.height(); ++y) {
        auto row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            QPointF p(area.left() + x + 0.5, area.top() + y + 0.5);
            QPointF d = p - center;
            std::uint32_t colour = surroundAt(0);
            double best = -1;
            for (int i = 0; i < n; ++i) {
                QPointF a = boundary[i] - center, b = boundary[(i + 1) % n] - center;
                double det = a.x() * b.y() - a.y() * b.x();
                if (std::abs(det) < 1e-9)
                    continue;
                double s = (d.x() * b.y() - d.y() * b.x()) / det;
                double t = (a.x() * d.y() - a.y() * d.x()) / det;
                if (s < -1e-6 || t < -1e-6)
                    continue;
                double u = s + t; // 0 at the centre, 1 on the edge
                if (best >= 0 && u >= best)
                    continue;
                best = u;
                std::uint32_t edge =
                    Mix(surroundAt(i), surroundAt((i + 1) % n), u > 0 ? t / u : 0, brush.gamma);
                // Blend positions of a path gradient run from the edge (0) to the centre (1).
                double fromEdge = std::clamp(1 - u, 0.0, 1.0);
                if (!brush.colors.empty())
                    colour = GradientAt(brush, fromEdge);
                else
                    colour = Mix(edge, brush.centerColor, fromEdge, brush.gamma);
            }
            row[x] = colour;
        }
    }
    return image;
}

// The Qt brush for a brush, given the transform from world units to the image painted on and the
// part of the image being painted.
QBrush ToQBrush(const Brush& brush, const QTransform& toImage, const QRect& area) {
    switch (brush.type) {
    case 1: {
        QBrush result(HatchImage(brush));
        // Hatches line up with the device pixels whatever the world transform.
        result.setTransform(toImage.inverted());
        return result;
    }
    case 2: {
        if (!brush.texture)
            return QBrush();
        QBrush result(WrappedTexture(*brush.texture, brush.wrap));
        result.setTransform(ToQ(brush.transform));
        return result;
    }
    case 3: {
        QBrush result(PathGradientImage(brush, toImage, area));
        result.setTransform(QTransform::fromTranslate(area.left(), area.top()) * toImage.inverted());
        return result;
    }
    case 4: {
        QLinearGradient gradient(QPointF(brush.start.x, brush.start.y), QPointF(brush.end.x, brush.end.y));
        gradient.setStops(Stops(brush));
        gradient.setSpread(brush.wrap == Wrap::Tile    ? QGradient::RepeatSpread
                           : brush.wrap == Wrap::Clamp ? QGradient::PadSpread
                                                       : QGradient::ReflectSpread);
        QBrush result(gradient);
        result.setTransform(ToQ(brush.transform));
        return result;
    }
    default:
        return QBrush(ToColor(brush.color));
    }
}

// A clamped texture paints only over the image itself.
QPainterPath TextureArea(const Brush& brush) {
    QPainterPath area;
    if (brush.type == 2 && brush.wrap == Wrap::Clamp && brush.texture)
        area.addPolygon(
            ToQ(brush.transform).map(QPolygonF(QRectF(0, 0, brush.texture->width, brush.texture->height))));
    return area;
}

// ---- Pens ----

Qt::PenJoinStyle ToQ(Join join) {
    switch (join) {
    case Join::Bevel:
        return Qt::BevelJoin;
    case Join::Round:
        return Qt::RoundJoin;
    case Join::MiterClipped:
        return Qt::SvgMiterJoin;
    default:
        return Qt::MiterJoin;
    }
}

double Scale(const QTransform& t) {
    return std::sqrt(std::abs(t.determinant()));
}

// The shape a cap adds at a figure's end, pointing along direction (a unit vector) from point.
void AddCap(QPainterPath& shape, Cap cap, QPointF point, QPointF direction, double width) {
    double h = width / 2;
    QPointF normal(-direction.y(), direction.x());
    switch (cap) {
    case Cap::Square:
        shape.addPolygon(
            QPolygonF({point + normal * h, point + normal * h + direction * h,
                       point - normal * h + direction * h, point - normal * h, point + normal * h}));
        break;
    case Cap::Round:
        shape.addEllipse(point, h, h);
        break;
    case Cap::Triangle:
        shape.addPolygon(
            QPolygonF({point + normal * h, point + direction * h, point - normal * h, point + normal * h}));
        break;
    case Cap::SquareAnchor: {
        double a = width * 1.5 > 4 ? width * 1.5 : 4;
        shape.addRect(QRectF(point.x() - a / 2, point.y() - a / 2, a, a));
        break;
    }
    case Cap::RoundAnchor: {
        double a = std::max(width * 2, 4.0) / 2;
        shape.addEllipse(point, a, a);
        break;
    }
    case Cap::DiamondAnchor: {
        double a = std::max(width * 2, 4.0) / 2;
        shape.addPolygon(QPolygonF({point + direction * a, point + normal * a, point - direction * a,
                                    point - normal * a, point + direction * a}));
        break;
    }
    case Cap::ArrowAnchor: {
        double a = std::max(width * 2, 4.0);
        QPointF back = point - direction * a;
        shape.addPolygon(QPolygonF({point, back + normal * (a / 2), back - normal * (a / 2), point}));
        break;
    }
    default:
        break;
    }
}

// The area a pen covers along a path, in the path's coordinates.
QPainterPath Stroke(const QPainterPath& path, const Pen& pen, double width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setJoinStyle(ToQ(pen.join));
    stroker.setMiterLimit(pen.miterLimit);
    bool sameSimpleCaps =
        pen.startCap == pen.endCap &&
        (pen.startCap == Cap::Flat || pen.startCap == Cap::Square || pen.startCap == Cap::Round);
    Qt::PenCapStyle cap = Qt::FlatCap;
    if (sameSimpleCaps && pen.dashes.empty())
        cap = pen.startCap == Cap::Square  ? Qt::SquareCap
              : pen.startCap == Cap::Round ? Qt::RoundCap
                                           : Qt::FlatCap;
    if (!pen.dashes.empty() && pen.dashCap == 2)
        cap = Qt::RoundCap;
    stroker.setCapStyle(cap);
    if (!pen.dashes.empty()) {
        QVector<qreal> pattern;
        for (float d : pen.dashes)
            pattern.append(std::max<qreal>(d, 0.001));
        if (pattern.size() % 2)
            pattern.append(pattern.back());
        stroker.setDashPattern(pattern);
        stroker.setDashOffset(pen.dashOffset);
    }
    QPainterPath shape = stroker.createStroke(path);
    shape.setFillRule(Qt::WindingFill);
    if (sameSimpleCaps && pen.dashes.empty())
        return shape;
    // Caps of their own at the two ends of every open figure.
    QPainterPath caps;
    caps.setFillRule(Qt::WindingFill);
    for (const QPolygonF& figure : path.toSubpathPolygons()) {
        if (figure.size() < 2 || figure.isClosed())
            continue;
        auto direction = [](QPointF from, QPointF to) {
            QPointF d = to - from;
            double length = std::hypot(d.x(), d.y());
            return length > 0 ? d / length : QPointF(1, 0);
        };
        AddCap(caps, pen.startCap, figure.front(), direction(figure[1], figure.front()), width);
        AddCap(caps, pen.endCap, figure.back(), direction(figure[figure.size() - 2], figure.back()), width);
    }
    if (caps.isEmpty())
        return shape;
    QPainterPath all = shape;
    all.addPath(caps);
    all.setFillRule(Qt::WindingFill);
    return all;
}

// ---- Painting onto a target ----

// Whole pixels covering r, cut to a range that fits in int; empty for coordinates that are not numbers.
QRect Pixels(const QRectF& r) {
    if (!std::isfinite(r.x()) || !std::isfinite(r.y()) || !std::isfinite(r.width()) ||
        !std::isfinite(r.height()))
        return QRect();
    QRectF cut = r.normalized() & QRectF(-1e7, -1e7, 2e7, 2e7);
    return cut.isEmpty() ? QRect() : cut.toAlignedRect();
}

QRect TargetRect(const Target& target) {
    return QRect(0, 0, target.pixels.width, target.pixels.height);
}

// Runs paint on a QPainter set up for the target: the graphics' coordinates in world units, the clips
// applied. extent is the device area the drawing may touch (graphics pixels), or null for all of it.
template <class Paint>
void PaintOn(const Target& target, const Context& context, const QRectF* extent, Paint&& paint) {
    if (!target.pixels.top || target.pixels.width <= 0 || target.pixels.height <= 0)
        return;
    QRect area = TargetRect(target);
    if (extent) {
        // Coordinates that are not numbers draw nothing; huge ones are cut before they become pixels.
        QRect e = Pixels(extent->translated(target.origin.x, target.origin.y));
        if (e.isEmpty())
            return;
        area &= e.adjusted(-2, -2, 2, 2);
    }
    if (target.deviceClip) {
        Rect b = target.deviceClip->Bounds();
        area &= QRect(b.left, b.top, b.Width(), b.Height());
    }
    if (area.isEmpty())
        return;

    // The pixels under the drawing are copied out, painted and the changed ones copied back, so that
    // bottom-up buffers and the surface's meaningless alpha bytes need no special case.
    QImage image(area.size(), target.alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y) {
        const std::uint32_t* src = target.pixels.Row(area.top() + y) + area.left();
        auto dst = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < area.width(); ++x)
            dst[x] = target.alpha ? src[x] : (src[x] | 0xFF000000u);
    }
    QImage before = image.copy();
    {
        QPainter painter(&image);
        if (target.deviceClip) {
            backend::Region local = *target.deviceClip;
            local.Offset(-area.left(), -area.top());
            painter.setClipRegion(ToQRegion(local));
        }
        QTransform base =
            QTransform::fromTranslate(target.origin.x - area.left(), target.origin.y - area.top());
        if (context.clip) {
            RegionShape clip = Evaluate(*context.clip);
            if (!clip.infinite) {
                painter.setTransform(base);
                painter.setClipPath(clip.path, target.deviceClip ? Qt::IntersectClip : Qt::ReplaceClip);
            }
        }
        if (context.sourceCopy)
            painter.setCompositionMode(QPainter::CompositionMode_Source);
        paint(painter, base);
    }
    for (int y = 0; y < area.height(); ++y) {
        std::uint32_t* dst = target.pixels.Row(area.top() + y) + area.left();
        auto now = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        auto was = reinterpret_cast<const std::uint32_t*>(before.constScanLine(y));
        for (int x = 0; x < area.width(); ++x)
            if (now[x] != was[x])
                dst[x] = target.alpha ? now[x] : (now[x] & 0x00FFFFFFu);
    }
}

// The transform from world units to the painted image, with GDI+'s pixel centres on whole
// coordinates when anti-aliasing.
QTransform ShapeTransform(const Context& context, const QTransform& base) {
    QTransform t = ToQ(context.world) * base;
    if (context.antialias && !context.halfPixel)
        t = t * QTransform::fromTranslate(0.5, 0.5);
    return t;
}

QRectF DeviceExtent(const QPainterPath& path, const Matrix& world, double grow) {
    return ToQ(world).map(path).boundingRect().adjusted(-grow, -grow, grow, grow);
}

void FillShape(const Target& target, const Context& context, const QPainterPath& shape, const Brush& brush,
               double grow) {
    if (shape.isEmpty())
        return;
    QRectF extent = DeviceExtent(shape, context.world, grow + 1);
    PaintOn(target, context, &extent, [&](QPainter& painter, const QTransform& base) {
        QTransform toImage = ShapeTransform(context, base);
        painter.setRenderHint(QPainter::Antialiasing, context.antialias);
        QRect area = Pixels(toImage.map(shape).boundingRect()).adjusted(-1, -1, 1, 1) &
                     QRect(0, 0, painter.device()->width(), painter.device()->height());
        painter.setTransform(toImage);
        QPainterPath fill = shape;
        QPainterPath clamp = TextureArea(brush);
        if (!clamp.isEmpty())
            fill = fill.intersected(clamp);
        painter.fillPath(fill, ToQBrush(brush, toImage, area));
    });
}

} // namespace

// ---- The drawing calls ----

void FillPath(const Target& target, const Context& context, const Path& path, const Brush& brush) {
    FillShape(target, context, ToQ(path), brush, 0);
}

void DrawPath(const Target& target, const Context& context, const Path& path, const Pen& pen) {
    QPainterPath shape = ToQ(path);
    if (shape.isEmpty())
        return;
    double scale = Scale(ToQ(context.world));
    if (pen.width * scale <= 1.0 || scale == 0) {
        // Thin pens draw one device pixel wide, whatever the transform: stroke in device space.
        QPainterPath device = ToQ(context.world).map(shape);
        Pen thin = pen;
        QPainterPath stroke = Stroke(device, thin, 1.0);
        Context identity = context;
        identity.world = Matrix{};
        Brush brush = pen.brush;
        if (brush.type != 0) // brush geometry is in world units
            brush.transform = brush.transform.Then(context.world);
        FillShape(target, identity, stroke, brush, 1);
        return;
    }
    // An inset pen draws closed figures inside their outline only: a stroke twice as wide, cut by the fill.
    bool allClosed = !path.types.empty();
    for (size_t i = 0; i < path.types.size(); ++i)
        if (i + 1 == path.types.size() || (path.types[i + 1] & 0x07) == 0)
            allClosed = allClosed && (path.types[i] & 0x80);
    if (pen.inset && allClosed) {
        FillShape(target, context, Stroke(shape, pen, pen.width * 2).intersected(shape), pen.brush, 4);
        return;
    }
    FillShape(target, context, Stroke(shape, pen, pen.width), pen.brush, pen.width * 2 + 4);
}

void FillRegion(const Target& target, const Context& context, const Region& region, const Brush& brush) {
    RegionShape shape = Evaluate(region);
    if (shape.infinite) {
        // Only the part the target can show.
        QPainterPath visible;
        QTransform back = ToQ(context.world).inverted();
        visible.addPolygon(back.map(QPolygonF(QRectF(-target.origin.x - 2, -target.origin.y - 2,
                                                     target.pixels.width + 4, target.pixels.height + 4))));
        shape.path = shape.path.intersected(visible);
    }
    FillShape(target, context, shape.path, brush, 0);
}

void Clear(const Target& target, const Context& context, std::uint32_t color) {
    PaintOn(target, context, nullptr, [&](QPainter& painter, const QTransform&) {
        painter.resetTransform();
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(QRect(0, 0, painter.device()->width(), painter.device()->height()), ToColor(color));
    });
}

void DrawBitmap(const Target& target, const Context& context, const Bitmap& bitmap, const RectF& source,
                const PointF dest[3]) {
    QImage image = ToImage(bitmap);
    if (image.isNull() || source.width == 0 || source.height == 0)
        return;
    // The affine map from the source rectangle onto the parallelogram.
    double m11 = (dest[1].x - dest[0].x) / source.width, m12 = (dest[1].y - dest[0].y) / source.width;
    double m21 = (dest[2].x - dest[0].x) / source.height, m22 = (dest[2].y - dest[0].y) / source.height;
    QTransform place(m11, m12, m21, m22, dest[0].x - m11 * source.x - m21 * source.y,
                     dest[0].y - m12 * source.x - m22 * source.y);
    QRectF sourceRect(source.x, source.y, source.width, source.height);
    QRectF extent = (place * ToQ(context.world)).mapRect(sourceRect);
    PaintOn(target, context, &extent, [&](QPainter& painter, const QTransform& base) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, context.smoothImages);
        painter.setRenderHint(QPainter::Antialiasing, context.antialias);
        painter.setTransform(place * ToQ(context.world) * base);
        painter.drawImage(sourceRect, image, sourceRect);
    });
}

// ---- Text ----

namespace {

QGlyphRun GlyphRunOf(const Font& font, const GlyphLine& line, float scale) {
    QVector<quint32> glyphs;
    font.Shape(line.text, &glyphs, nullptr);
    QVector<quint32> used;
    QVector<QPointF> positions;
    for (qsizetype i = 0; i < glyphs.size() && static_cast<size_t>(i) < line.x.size(); ++i) {
        char16_t c = line.text[static_cast<size_t>(i)];
        if ((c >= 0xDC00 && c <= 0xDFFF) || c < 0x20)
            continue;
        used.append(glyphs[i]);
        positions.append(QPointF(line.x[static_cast<size_t>(i)] / scale, line.y / scale));
    }
    QGlyphRun run;
    run.setRawFont(font.rawFont);
    run.setGlyphIndexes(used);
    run.setPositions(positions);
    return run;
}

} // namespace

void DrawGlyphs(const Target& target, const Context& context, const FontRef& font, float scale,
                const std::vector<GlyphLine>& lines, const Brush& brush) {
    if (!font || lines.empty() || scale <= 0)
        return;
    const FontMetrics& m = font->metrics;
    QRectF extent;
    for (const GlyphLine& line : lines) {
        if (line.x.empty())
            continue;
        float left = line.x.front(), right = line.x.front() + line.width;
        QRectF box(left - m.maxCharWidth * scale, line.y - (m.ascent + 2) * scale,
                   right - left + 2 * m.maxCharWidth * scale, (m.height + 4) * scale);
        extent = extent.isNull() ? box : extent.united(box);
    }
    extent = ToQ(context.world).mapRect(extent);
    PaintOn(target, context, &extent, [&](QPainter& painter, const QTransform& base) {
        QTransform toImage = ToQ(context.world) * base;
        QRect area(0, 0, painter.device()->width(), painter.device()->height());
        QBrush qbrush = ToQBrush(brush, toImage, area);
        painter.setTransform(QTransform::fromScale(scale, scale) * toImage);
        painter.setRenderHint(QPainter::TextAntialiasing, context.antialiasText);
        painter.setRenderHint(QPainter::Antialiasing, context.antialiasText);
        painter.setPen(QPen(qbrush, 0));
        const FontRequest& request = font->request;
        for (const GlyphLine& line : lines) {
            painter.drawGlyphRun(QPointF(0, 0), GlyphRunOf(*font, line, scale));
            std::vector<std::pair<float, float>> underlines = line.underlines;
            if (request.underline && !line.x.empty())
                underlines.push_back({line.x.front(), line.x.front() + line.width});
            for (auto [from, to] : underlines)
                painter.fillRect(QRectF(from / scale, line.y / scale + m.underlinePosition,
                                        (to - from) / scale, std::max(1, m.underlineThickness)),
                                 qbrush);
            if (request.strikeOut && !line.x.empty())
                painter.fillRect(QRectF(line.x.front() / scale, line.y / scale - m.strikeoutPosition,
                                        line.width / scale, std::max(1, m.strikeoutThickness)),
                                 qbrush);
        }
    });
}

void AppendGlyphOutlines(Path& path, const FontRef& font, float scale, const std::vector<GlyphLine>& lines) {
    if (!font || scale <= 0)
        return;
    auto close = [&] {
        if (!path.types.empty())
            path.types.back() |= 0x80;
    };
    for (const GlyphLine& line : lines) {
        QGlyphRun run = GlyphRunOf(*font, line, scale);
        QVector<quint32> glyphs = run.glyphIndexes();
        QVector<QPointF> positions = run.positions();
        for (qsizetype g = 0; g < glyphs.size(); ++g) {
            QPainterPath outline = font->rawFont.pathForGlyph(glyphs[g]);
            outline.translate(positions[g]);
            for (int i = 0; i < outline.elementCount(); ++i) {
                QPainterPath::Element e = outline.elementAt(i);
                PointF p{static_cast<float>(e.x * scale), static_cast<float>(e.y * scale)};
                std::uint8_t type = 1;
                if (e.type == QPainterPath::MoveToElement) {
                    close();
                    type = 0;
                } else if (e.type != QPainterPath::LineToElement) {
                    type = 3;
                }
                path.points.push_back(p);
                path.types.push_back(type);
            }
            close();
        }
    }
}

bool FaceKnown(const std::u16string& face) {
    return IsKnownFace(face);
}

// ---- Geometry ----

RectF PathBounds(const Path& path, const Matrix& matrix, const Pen* pen) {
    QPainterPath shape = ToQ(matrix).map(ToQ(path));
    if (pen && pen->width > 0) {
        double width = pen->width * Scale(ToQ(matrix));
        shape = Stroke(shape, *pen, width);
    }
    QRectF r = shape.boundingRect();
    if (shape.elementCount() == 0 && !path.points.empty()) {
        PointF p = matrix.Map(path.points.front());
        r = QRectF(p.x, p.y, 0, 0);
    }
    return {static_cast<float>(r.x()), static_cast<float>(r.y()), static_cast<float>(r.width()),
            static_cast<float>(r.height())};
}

bool PathContains(const Path& path, PointF point) {
    return ToQ(path).contains(QPointF(point.x, point.y));
}

bool PathOutlineContains(const Path& path, const Pen& pen, PointF point) {
    return Stroke(ToQ(path), pen, std::max(1.0f, pen.width)).contains(QPointF(point.x, point.y));
}

RectF RegionBounds(const Region& region) {
    RegionShape shape = Evaluate(region);
    if (shape.infinite)
        return {static_cast<float>(InfiniteOrigin), static_cast<float>(InfiniteOrigin),
                static_cast<float>(InfiniteSize), static_cast<float>(InfiniteSize)};
    QRectF r = shape.path.boundingRect();
    return {static_cast<float>(r.x()), static_cast<float>(r.y()), static_cast<float>(r.width()),
            static_cast<float>(r.height())};
}

bool RegionEmpty(const Region& region) {
    RegionShape shape = Evaluate(region);
    return !shape.infinite && (shape.path.isEmpty() || shape.path.boundingRect().isEmpty() ||
                               shape.path.toFillPolygons().isEmpty());
}

bool RegionInfinite(const Region& region) {
    return Evaluate(region).infinite;
}

bool RegionContains(const Region& region, PointF point) {
    RegionShape shape = Evaluate(region);
    return shape.infinite || shape.path.contains(QPointF(point.x, point.y));
}

backend::Region RegionPixels(const Region& region) {
    RegionShape shape = Evaluate(region);
    // Pixels far outside any surface are of no use to anyone: the scan stays within a bound.
    QPainterPath limit;
    limit.addRect(QRectF(-16384, -16384, 32768, 32768));
    QPainterPath path = shape.infinite ? limit : shape.path.intersected(limit);
    return ScanPolygons(path.toFillPolygons(), path.fillRule() == Qt::WindingFill);
}

bool RegionsEqual(const Region& a, const Region& b) {
    bool infiniteA = RegionInfinite(a), infiniteB = RegionInfinite(b);
    if (infiniteA || infiniteB)
        return infiniteA == infiniteB;
    return RegionPixels(a) == RegionPixels(b);
}

} // namespace backend::gdip
