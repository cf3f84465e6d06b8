// The surface device: GDI drawing on 32-bit pixels in memory with GDI's pixel rules. Raster operations,
// fills, thin lines and blits work on the pixels directly so that XOR, NOT and the other operations are
// exact; curves and wide pens become regions by scan conversion. Glyphs are drawn once each through
// QPainter into a coverage mask that is then blended as QPainter would blend it; only turned text and
// monochrome surfaces still draw through QPainter on every call.
//
// Contents: raster operations and inks; the Surface class; fills and lines; shapes; blits; text; flood fill.
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

#include "platform/backend/device.h"
#include "platform/backend/fonts_p.h"
#include "platform/backend/raster_p.h"

namespace backend {

namespace {

constexpr Pixel White = 0xFFFFFF;
constexpr int R2CopyPen = 13;

// ---- Raster operations ----

// The 16 binary operations: rop2 - 1 is a truth table indexed by pen bit * 2 + destination bit.
inline Pixel ApplyRop2(int rop2, Pixel p, Pixel d) {
    switch (rop2) {
    case 13:
        return p;
    case 7:
        return (p ^ d) & White;
    case 6:
        return ~d & White;
    case 9:
        return p & d;
    case 15:
        return p | d;
    case 11:
        return d;
    case 1:
        return 0;
    case 16:
        return White;
    default: {
        unsigned table = static_cast<unsigned>(rop2 - 1);
        Pixel r = 0;
        if (table & 1)
            r |= ~p & ~d;
        if (table & 2)
            r |= ~p & d;
        if (table & 4)
            r |= p & ~d;
        if (table & 8)
            r |= p & d;
        return r & White;
    }
    }
}

// The 256 ternary operations: the low byte of the code is a truth table indexed by pattern bit * 4 +
// source bit * 2 + destination bit.
inline Pixel ApplyRop3(unsigned rop, Pixel p, Pixel s, Pixel d) {
    switch (rop) {
    case 0xCC:
        return s;
    case 0xF0:
        return p;
    case 0x88:
        return s & d;
    case 0xEE:
        return s | d;
    case 0x66:
        return (s ^ d) & White;
    case 0x44:
        return s & ~d & White;
    case 0x33:
        return ~s & White;
    case 0x55:
        return ~d & White;
    case 0x5A:
        return (p ^ d) & White;
    case 0x00:
        return 0;
    case 0xFF:
        return White;
    case 0xAA:
        return d;
    default: {
        Pixel r = 0;
        for (unsigned i = 0; i < 8; ++i)
            if (rop & (1u << i))
                r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
        return r & White;
    }
    }
}

inline bool RopUsesSource(unsigned rop) {
    return ((rop >> 2) & 0x33) != (rop & 0x33);
}
inline bool RopUsesPattern(unsigned rop) {
    return ((rop >> 4) & 0x0F) != (rop & 0x0F);
}

// The ROP2 code that does what a ternary operation does when the source plays no part.
int Rop2OfRop3(unsigned rop) {
    unsigned table = 0;
    for (unsigned pen = 0; pen < 2; ++pen)
        for (unsigned dest = 0; dest < 2; ++dest)
            if (rop & (1u << (pen * 4 + dest)))
                table |= 1u << (pen * 2 + dest);
    return static_cast<int>(table) + 1;
}

inline Pixel ToMonochrome(Pixel c) {
    int sum =
        static_cast<int>((c >> 16) & 0xFF) + static_cast<int>((c >> 8) & 0xFF) + static_cast<int>(c & 0xFF);
    return sum > 382 ? White : 0;
}

// 8 x 8 hatch patterns, one byte per row, the high bit on the left.
const std::uint8_t HatchBits[6][8] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF}, // horizontal
    {0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01}, // vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01}, // forward diagonal, top left to bottom right
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, // backward diagonal
    {0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0x01, 0xFF}, // cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81}, // diagonal cross
};

inline int Wrap(int v, int n) {
    int r = v % n;
    return r < 0 ? r + n : r;
}

// What a brush puts on one pixel; At answers false where a hatch leaves the background alone.
struct Ink {
    BrushKind kind = BrushKind::Solid;
    Pixel color = 0;
    const std::uint8_t* hatch = nullptr;
    const Pattern* pattern = nullptr;
    Pixel textColor = 0;
    Pixel backgroundColor = White;
    bool opaque = true;
    Point origin;
    bool monochrome = false;

    Ink(const BrushSpec& brush, const DrawState& state, bool mono) {
        kind = brush.kind;
        monochrome = mono;
        color = mono ? ToMonochrome(brush.color) : brush.color & White;
        textColor = mono ? ToMonochrome(state.textColor) : state.textColor & White;
        backgroundColor = mono ? ToMonochrome(state.backgroundColor) : state.backgroundColor & White;
        opaque = state.opaqueBackground;
        origin = state.brushOrigin;
        if (kind == BrushKind::Hatch)
            hatch = HatchBits[std::clamp(brush.hatch, 0, 5)];
        if (kind == BrushKind::Pattern) {
            pattern = brush.pattern.get();
            if (!pattern || pattern->width <= 0 || pattern->height <= 0)
                kind = BrushKind::Null;
        }
    }
    explicit Ink(Pixel solid) : color(solid & White) {}

    bool Solid() const { return kind == BrushKind::Solid; }
    bool At(int x, int y, Pixel& out) const {
        switch (kind) {
        case BrushKind::Solid:
            out = color;
            return true;
        case BrushKind::Null:
            return false;
        case BrushKind::Hatch: {
            int px = Wrap(x - origin.x, 8), py = Wrap(y - origin.y, 8);
            if (hatch[py] & (0x80 >> px)) {
                out = color;
                return true;
            }
            if (!opaque)
                return false;
            out = backgroundColor;
            return true;
        }
        case BrushKind::Pattern: {
            int px = Wrap(x - origin.x, pattern->width), py = Wrap(y - origin.y, pattern->height);
            Pixel p = pattern->pixels[static_cast<size_t>(py) * static_cast<size_t>(pattern->width) +
                                      static_cast<size_t>(px)] &
                      White;
            if (pattern->monochrome)
                out = p == 0 ? textColor : backgroundColor;
            else
                out = monochrome ? ToMonochrome(p) : p;
            return true;
        }
        }
        return false;
    }
};

// Pixels a thin line or a set of lines covers: how often the pen drew each one (as GDI draws every
// segment on its own, a pixel two segments cross is combined twice), and the gaps of a styled pen
// that the background colour fills.
struct Mask {
    static constexpr std::uint8_t Gap = 0x80;
    Rect bounds;
    std::vector<std::uint8_t> values;

    explicit Mask(const Rect& area) : bounds(area) {
        if (!bounds.Empty())
            values.assign(static_cast<size_t>(bounds.Width()) * static_cast<size_t>(bounds.Height()), 0);
    }
    void Set(int x, int y, bool pen) {
        if (!bounds.Contains(x, y))
            return;
        std::uint8_t& slot =
            values[static_cast<size_t>(y - bounds.top) * static_cast<size_t>(bounds.Width()) +
                   static_cast<size_t>(x - bounds.left)];
        if (!pen)
            slot |= Gap;
        else if ((slot & 0x7F) < 0x7F)
            ++slot;
    }
    std::uint8_t At(int x, int y) const {
        return values[static_cast<size_t>(y - bounds.top) * static_cast<size_t>(bounds.Width()) +
                      static_cast<size_t>(x - bounds.left)];
    }
};

// On and off lengths of the cosmetic pen styles, in pixels.
std::vector<int> DashesOf(const PenSpec& pen) {
    switch (pen.dash) {
    case DashStyle::Dash:
        return {18, 6};
    case DashStyle::Dot:
        return {3, 3};
    case DashStyle::DashDot:
        return {9, 6, 3, 6};
    case DashStyle::DashDotDot:
        return {9, 3, 3, 3, 3, 3};
    case DashStyle::Alternate:
        return {1, 1};
    case DashStyle::User: {
        std::vector<int> dashes;
        for (int d : pen.userDashes)
            dashes.push_back(std::max(1, d));
        if (dashes.size() % 2)
            dashes.push_back(dashes.back());
        return dashes;
    }
    case DashStyle::Solid:
        break;
    }
    return {};
}

// Walks a dash pattern one pixel at a time across the segments of one call.
struct DashWalker {
    std::vector<int> dashes;
    size_t index = 0;
    int left = 0;

    explicit DashWalker(std::vector<int> pattern) : dashes(std::move(pattern)) {
        if (!dashes.empty())
            left = dashes[0];
    }
    // True for a pixel of the pen, false for a gap.
    bool Next() {
        if (dashes.empty())
            return true;
        bool v = index % 2 == 0;
        if (--left <= 0) {
            index = (index + 1) % dashes.size();
            left = dashes[index];
        }
        return v;
    }
};

// Bresenham's line without its last pixel, as LineTo draws it.
template <class Plot> void WalkLine(Point a, Point b, Plot&& plot) {
    int x = a.x, y = a.y;
    int dx = std::abs(b.x - a.x), sx = a.x < b.x ? 1 : -1;
    int dy = -std::abs(b.y - a.y), sy = a.y < b.y ? 1 : -1;
    int err = dx + dy;
    while (x != b.x || y != b.y) {
        plot(x, y);
        int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

Rect BoundsOf(std::span<const Point> points) {
    Rect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const Point& p : points) {
        r.left = std::min(r.left, p.x);
        r.top = std::min(r.top, p.y);
        r.right = std::max(r.right, p.x + 1);
        r.bottom = std::max(r.bottom, p.y + 1);
    }
    return points.empty() ? Rect{} : r;
}

Rect Inflated(const Rect& r, int d) {
    return Rect{r.left - d, r.top - d, r.right + d, r.bottom + d};
}

Rect Normalized(const Rect& r) {
    return Rect{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
}

Qt::PenCapStyle QtCap(LineCap cap) {
    switch (cap) {
    case LineCap::Square:
        return Qt::SquareCap;
    case LineCap::Flat:
        return Qt::FlatCap;
    case LineCap::Round:
        break;
    }
    return Qt::RoundCap;
}

Qt::PenJoinStyle QtJoin(LineJoin join) {
    switch (join) {
    case LineJoin::Bevel:
        return Qt::BevelJoin;
    case LineJoin::Miter:
        return Qt::MiterJoin;
    case LineJoin::Round:
        break;
    }
    return Qt::RoundJoin;
}

// The pixels a wide pen covers along a path given in pixel-centre coordinates.
Region StrokeRegion(const QPainterPath& path, const PenSpec& pen) {
    QPainterPathStroker stroker;
    stroker.setWidth(std::max(1, pen.width));
    stroker.setCapStyle(QtCap(pen.cap));
    stroker.setJoinStyle(QtJoin(pen.join));
    std::vector<int> dashes = DashesOf(pen);
    if (!dashes.empty()) {
        QList<qreal> pattern;
        for (int d : dashes)
            pattern << static_cast<qreal>(d) / std::max(1, pen.width);
        stroker.setDashPattern(pattern);
    }
    QPainterPath stroke = stroker.createStroke(path);
    return ScanPolygons(stroke.toSubpathPolygons(), true);
}

QPainterPath CentrePath(std::span<const Point> points, bool closed) {
    QPainterPath path;
    if (points.empty())
        return path;
    path.moveTo(points[0].x + 0.5, points[0].y + 0.5);
    for (size_t i = 1; i < points.size(); ++i)
        path.lineTo(points[i].x + 0.5, points[i].y + 0.5);
    if (closed)
        path.closeSubpath();
    return path;
}

// Points of an elliptic arc, t from start to end in radians (counter-clockwise on screen).
void ArcPoints(double cx, double cy, double rx, double ry, double t0, double t1, std::vector<QPointF>& out) {
    double sweep = t1 - t0;
    int steps = std::max(8, static_cast<int>(std::ceil(std::abs(sweep) * std::max(rx, ry) / 2.0)));
    for (int i = 0; i <= steps; ++i) {
        double t = t0 + sweep * i / steps;
        out.emplace_back(cx + rx * std::cos(t), cy - ry * std::sin(t));
    }
}

// ---- The surface ----

struct StretchMap;

class Surface : public Device {
public:
    Surface(const PixelBuffer& pixels, bool monochrome) : FPixels(pixels), FMonochrome(monochrome) {}

    DeviceCaps Caps() const override {
        DeviceCaps caps;
        caps.width = FPixels.width;
        caps.height = FPixels.height;
        caps.bitsPerPixel = FMonochrome ? 1 : 32;
        return caps;
    }
    const PixelBuffer* Pixels() const override { return &FPixels; }

    void FillRegion(const DrawState& state, const Region& region, const BrushSpec& brush,
                    std::uint32_t rop3) override;
    void InvertRegion(const DrawState& state, const Region& region) override;
    void Polyline(const DrawState& state, const PenSpec& pen, std::span<const Point> points) override;
    void Polygons(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                  std::span<const Point> points, std::span<const int> counts) override;
    void Rectangle(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                   const Rect& rect) override;
    void RoundRect(const DrawState& state, const PenSpec& pen, const BrushSpec& brush, const Rect& rect,
                   int ellipseWidth, int ellipseHeight) override;
    void Ellipse(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                 const Rect& rect) override;
    void Arc(const DrawState& state, const PenSpec& pen, const BrushSpec& brush, ArcKind kind,
             const Rect& rect, Point start, Point end, bool clockwise) override;
    void SetPixel(const DrawState& state, Point point, Pixel color) override;
    void StretchBlt(const DrawState& state, const Rect& dest, const BlitSource& source,
                    const Rect& sourceRect, std::uint32_t rop3, const BrushSpec& brush) override;
    void TransparentBlt(const DrawState& state, const Rect& dest, const BlitSource& source,
                        const Rect& sourceRect, Pixel transparent) override;
    void AlphaBlend(const DrawState& state, const Rect& dest, const BlitSource& source,
                    const Rect& sourceRect, int constantAlpha, bool sourceAlpha) override;
    void GradientRects(const DrawState& state, std::span<const GradientVertex> vertices,
                       std::span<const std::pair<int, int>> rects, bool vertical) override;
    void GradientTriangles(const DrawState& state, std::span<const GradientVertex> vertices,
                           std::span<const std::array<int, 3>> triangles) override;
    void Text(const DrawState& state, const TextRun& run) override;
    bool FloodFill(const DrawState& state, Point point, Pixel color, bool border,
                   const BrushSpec& brush) override;

private:
    Rect Bounds() const { return Rect{0, 0, FPixels.width, FPixels.height}; }
    Pixel Quantize(Pixel c) const { return FMonochrome ? ToMonochrome(c) : c & White; }

    // Calls visit(rect) for each piece of area (a rectangle) inside the clip and the surface.
    template <class Visit>
    void ForEachClipped(const DrawState& state, const Rect& area, Visit&& visit) const {
        Rect inside = area.Intersected(Bounds());
        if (inside.Empty())
            return;
        if (!state.clip) {
            visit(inside);
            return;
        }
        for (const Rect& c : state.clip->Rects()) {
            Rect piece = inside.Intersected(c);
            if (!piece.Empty())
                visit(piece);
        }
    }
    // Calls copyRow(out, sy, from, to, dx) for each row piece of dest inside the clip whose source row sy
    // lies in available: out is the destination row, x from to (excluded) its pixels, x + dx their
    // source columns. For copies between pictures of one size.
    template <class CopyRow>
    void ForEachSameSizeRow(const DrawState& state, const Rect& dest, const StretchMap& map,
                            const Rect& available, CopyRow&& copyRow);
    void PaintRegion(const DrawState& state, const Region& region, const Ink& ink, int rop2);
    void PaintMask(const DrawState& state, const Mask& mask, Pixel pen, Pixel gap, int rop2);
    void ThinLines(const DrawState& state, const PenSpec& pen, std::span<const Point> points, bool closed);
    bool StraightCopyLines(const DrawState& state, const PenSpec& pen, std::span<const Point> points,
                           bool closed);
    void WideLines(const DrawState& state, const PenSpec& pen, const QPainterPath& path);
    void Outline(const DrawState& state, const PenSpec& pen, std::span<const Point> points, bool closed);
    // Upright text on colour pixels: cached glyph coverage blended in place, as QPainter would draw it.
    void UprightText(const DrawState& state, const TextRun& run);

    PixelBuffer FPixels;
    bool FMonochrome;
};

// ---- Fills and lines ----

void Surface::PaintRegion(const DrawState& state, const Region& region, const Ink& ink, int rop2) {
    for (const Rect& area : region.Rects()) {
        ForEachClipped(state, area, [&](const Rect& r) {
            for (int y = r.top; y < r.bottom; ++y) {
                std::uint32_t* row = FPixels.Row(y);
                if (ink.Solid() && rop2 == R2CopyPen) {
                    std::fill(row + r.left, row + r.right, ink.color);
                    continue;
                }
                for (int x = r.left; x < r.right; ++x) {
                    Pixel p;
                    if (ink.At(x, y, p))
                        row[x] = ApplyRop2(rop2, p, row[x] & White);
                }
            }
        });
    }
}

void Surface::PaintMask(const DrawState& state, const Mask& mask, Pixel pen, Pixel gap, int rop2) {
    ForEachClipped(state, mask.bounds, [&](const Rect& r) {
        for (int y = r.top; y < r.bottom; ++y) {
            std::uint32_t* row = FPixels.Row(y);
            for (int x = r.left; x < r.right; ++x) {
                std::uint8_t v = mask.At(x, y);
                int hits = v & 0x7F;
                if (hits)
                    for (int i = 0; i < hits; ++i)
                        row[x] = ApplyRop2(rop2, pen, row[x] & White);
                else if (v & Mask::Gap)
                    row[x] = ApplyRop2(rop2, gap, row[x] & White);
            }
        }
    });
}

void Surface::FillRegion(const DrawState& state, const Region& region, const BrushSpec& brush,
                         std::uint32_t rop3) {
    int rop2 = rop3 ? Rop2OfRop3((rop3 >> 16) & 0xFF) : state.rop2;
    // Operations that ignore the pattern (BLACKNESS, DSTINVERT ...) work with any brush, even a null one.
    unsigned table = static_cast<unsigned>(rop2 - 1);
    if ((table & 3) == ((table >> 2) & 3))
        PaintRegion(state, region, Ink(0), rop2);
    else
        PaintRegion(state, region, Ink(brush, state, FMonochrome), rop2);
}

void Surface::InvertRegion(const DrawState& state, const Region& region) {
    PaintRegion(state, region, Ink(0), 6 /* R2_NOT */);
}

void Surface::ThinLines(const DrawState& state, const PenSpec& pen, std::span<const Point> points,
                        bool closed) {
    if (points.size() < 2 && !(closed && points.size() == 1))
        return;
    if (pen.dash == DashStyle::Solid && state.rop2 == R2CopyPen &&
        StraightCopyLines(state, pen, points, closed))
        return;
    Rect bounds = BoundsOf(points).Intersected(Bounds());
    if (state.clip)
        bounds = bounds.Intersected(state.clip->Bounds());
    if (bounds.Empty())
        return;
    Mask mask(bounds);
    DashWalker dashes(DashesOf(pen));
    auto plot = [&](int x, int y) { mask.Set(x, y, dashes.Next()); };
    for (size_t i = 0; i + 1 < points.size(); ++i)
        WalkLine(points[i], points[i + 1], plot);
    if (closed && points.size() > 1)
        WalkLine(points.back(), points.front(), plot);
    // The gaps of a styled pen take the background colour only in opaque mode.
    Pixel gap = Quantize(state.backgroundColor);
    if (!state.opaqueBackground)
        for (std::uint8_t& v : mask.values)
            v &= static_cast<std::uint8_t>(~Mask::Gap);
    PaintMask(state, mask, Quantize(pen.color), gap, state.rop2);
}

// Grid lines and frames: a solid pen that copies, on segments that are all horizontal or vertical, gives
// the same pixels as the mask of hits (a pixel drawn twice is set twice to the same colour), so the spans
// are filled directly. False, with nothing drawn, when a segment is slanted.
bool Surface::StraightCopyLines(const DrawState& state, const PenSpec& pen, std::span<const Point> points,
                                bool closed) {
    size_t segments = points.size() - 1 + (closed && points.size() > 1 ? 1 : 0);
    auto segment = [&](size_t i) {
        return std::pair<Point, Point>{points[i], points[(i + 1) % points.size()]};
    };
    for (size_t i = 0; i < segments; ++i) {
        auto [a, b] = segment(i);
        if (a.x != b.x && a.y != b.y)
            return false;
    }
    Pixel color = Quantize(pen.color);
    for (size_t i = 0; i < segments; ++i) {
        auto [a, b] = segment(i);
        // LineTo leaves out the last pixel.
        Rect span;
        if (a.y == b.y)
            span = a.x < b.x ? Rect{a.x, a.y, b.x, a.y + 1} : Rect{b.x + 1, a.y, a.x + 1, a.y + 1};
        else
            span = a.y < b.y ? Rect{a.x, a.y, a.x + 1, b.y} : Rect{a.x, b.y + 1, a.x + 1, a.y + 1};
        ForEachClipped(state, span, [&](const Rect& r) {
            for (int y = r.top; y < r.bottom; ++y) {
                std::uint32_t* row = FPixels.Row(y);
                std::fill(row + r.left, row + r.right, color);
            }
        });
    }
    return true;
}

void Surface::WideLines(const DrawState& state, const PenSpec& pen, const QPainterPath& path) {
    PaintRegion(state, StrokeRegion(path, pen), Ink(Quantize(pen.color)), state.rop2);
}

void Surface::Outline(const DrawState& state, const PenSpec& pen, std::span<const Point> points,
                      bool closed) {
    if (pen.null || points.empty())
        return;
    if (pen.width <= 1)
        ThinLines(state, pen, points, closed);
    else
        WideLines(state, pen, CentrePath(points, closed));
}

void Surface::Polyline(const DrawState& state, const PenSpec& pen, std::span<const Point> points) {
    Outline(state, pen, points, false);
}

void Surface::Polygons(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                       std::span<const Point> points, std::span<const int> counts) {
    if (brush.kind != BrushKind::Null)
        PaintRegion(state, Region::Polygons(points, counts, state.windingFill),
                    Ink(brush, state, FMonochrome), state.rop2);
    size_t index = 0;
    for (int count : counts) {
        if (count <= 0 || index + static_cast<size_t>(count) > points.size())
            break;
        Outline(state, pen, points.subspan(index, static_cast<size_t>(count)), true);
        index += static_cast<size_t>(count);
    }
}

// ---- Shapes ----

void Surface::Rectangle(const DrawState& state, const PenSpec& pen, const BrushSpec& brush,
                        const Rect& given) {
    Rect rect = Normalized(given);
    Ink ink(brush, state, FMonochrome);
    if (pen.null) {
        // Without a pen GDI fills one pixel less to the right and at the bottom.
        if (brush.kind != BrushKind::Null)
            PaintRegion(state, Region(Rect{rect.left, rect.top, rect.right - 1, rect.bottom - 1}), ink,
                        state.rop2);
        return;
    }
    if (rect.Width() < 1 || rect.Height() < 1)
        return;
    // A thin solid frame in the fill's own colour, copied: the frame and the inside make one rectangle
    // of one colour (cell backgrounds and gradient bands), filled at once.
    if (pen.width <= 1 && pen.dash == DashStyle::Solid && state.rop2 == R2CopyPen && ink.Solid() &&
        ink.color == Quantize(pen.color)) {
        PaintRegion(state, Region(rect), ink, state.rop2);
        return;
    }
    int width = std::max(1, pen.width);
    bool inside = pen.insideFrame || width == 1;
    int inner = inside ? width : width - width / 2;
    if (brush.kind != BrushKind::Null)
        PaintRegion(
            state, Region(Rect{rect.left + inner, rect.top + inner, rect.right - inner, rect.bottom - inner}),
            ink, state.rop2);
    if (width == 1) {
        Point corners[] = {{rect.left, rect.top},
                           {rect.right - 1, rect.top},
                           {rect.right - 1, rect.bottom - 1},
                           {rect.left, rect.bottom - 1}};
        if (rect.Width() == 1 || rect.Height() == 1) {
            PaintRegion(state, Region(rect), Ink(Quantize(pen.color)), state.rop2);
            return;
        }
        ThinLines(state, pen, corners, true);
        return;
    }
    if (pen.insideFrame) {
        Region outer(rect);
        PaintRegion(state, outer.Subtracted(Region(Inflated(rect, -width))), Ink(Quantize(pen.color)),
                    state.rop2);
        return;
    }
    QPainterPath path;
    path.addRect(QRectF(rect.left + 0.5, rect.top + 0.5, rect.Width() - 1, rect.Height() - 1));
    PenSpec framePen = pen;
    framePen.cap = LineCap::Square;
    WideLines(state, framePen, path);
}

void Surface::RoundRect(const DrawState& state, const PenSpec& pen, const BrushSpec& brush, const Rect& given,
                        int ellipseWidth, int ellipseHeight) {
    Rect rect = Normalized(given);
    if (rect.Empty())
        return;
    int width = pen.null ? 0 : std::max(1, pen.width);
    int outerGrow = (pen.null || pen.insideFrame || width == 1) ? 0 : width / 2;
    int inner = width - outerGrow;
    Rect outerRect = Inflated(rect, outerGrow);
    Rect innerRect = Inflated(rect, -inner);
    Region outer = Region::RoundRect(outerRect, ellipseWidth + 2 * outerGrow, ellipseHeight + 2 * outerGrow);
    Region interior = Region::RoundRect(innerRect, ellipseWidth - 2 * inner, ellipseHeight - 2 * inner);
    if (pen.null)
        interior = Region::RoundRect(Rect{rect.left, rect.top, rect.right - 1, rect.bottom - 1}, ellipseWidth,
                                     ellipseHeight);
    if (brush.kind != BrushKind::Null)
        PaintRegion(state, interior, Ink(brush, state, FMonochrome), state.rop2);
    if (!pen.null)
        PaintRegion(state, outer.Subtracted(interior), Ink(Quantize(pen.color)), state.rop2);
}

void Surface::Ellipse(const DrawState& state, const PenSpec& pen, const BrushSpec& brush, const Rect& given) {
    Rect rect = Normalized(given);
    if (rect.Empty())
        return;
    int width = pen.null ? 0 : std::max(1, pen.width);
    int outerGrow = (pen.null || pen.insideFrame || width == 1) ? 0 : width / 2;
    int inner = width - outerGrow;
    Region outer = Region::Ellipse(Inflated(rect, outerGrow));
    Region interior = pen.null ? Region::Ellipse(Rect{rect.left, rect.top, rect.right - 1, rect.bottom - 1})
                               : Region::Ellipse(Inflated(rect, -inner));
    if (brush.kind != BrushKind::Null)
        PaintRegion(state, interior, Ink(brush, state, FMonochrome), state.rop2);
    if (!pen.null)
        PaintRegion(state, outer.Subtracted(interior), Ink(Quantize(pen.color)), state.rop2);
}

void Surface::Arc(const DrawState& state, const PenSpec& pen, const BrushSpec& brush, ArcKind kind,
                  const Rect& given, Point start, Point end, bool clockwise) {
    Rect rect = Normalized(given);
    if (rect.Width() < 2 || rect.Height() < 2)
        return;
    // Angles of the radials through the start and end points, on the ellipse's own scale.
    double cx = (rect.left + rect.right) / 2.0, cy = (rect.top + rect.bottom) / 2.0;
    double rx = rect.Width() / 2.0, ry = rect.Height() / 2.0;
    double t0 = std::atan2(-(start.y - cy) / ry, (start.x - cx) / rx);
    double t1 = std::atan2(-(end.y - cy) / ry, (end.x - cx) / rx);
    constexpr double TwoPi = 2 * std::numbers::pi;
    if (clockwise) {
        while (t1 >= t0)
            t1 -= TwoPi;
    } else {
        while (t1 <= t0)
            t1 += TwoPi;
    }
    if (kind != ArcKind::Arc && brush.kind != BrushKind::Null) {
        std::vector<QPointF> edge;
        ArcPoints(cx, cy, rx, ry, t0, t1, edge);
        if (kind == ArcKind::Pie)
            edge.emplace_back(cx, cy);
        QList<QPolygonF> polygons{QPolygonF(QList<QPointF>(edge.begin(), edge.end()))};
        PaintRegion(state, ScanPolygons(polygons, false), Ink(brush, state, FMonochrome), state.rop2);
    }
    if (pen.null)
        return;
    // The outline runs through pixel centres, on the ellipse one pixel inside the bounds.
    std::vector<QPointF> curve;
    ArcPoints(cx - 0.5, cy - 0.5, rx - 0.5, ry - 0.5, t0, t1, curve);
    std::vector<Point> points;
    if (kind == ArcKind::Pie)
        points.push_back(
            Point{static_cast<int>(std::floor(cx - 0.5 + 0.5)), static_cast<int>(std::floor(cy))});
    for (const QPointF& p : curve) {
        Point q{static_cast<int>(std::floor(p.x() + 0.5)), static_cast<int>(std::floor(p.y() + 0.5))};
        if (points.empty() || !(points.back() == q))
            points.push_back(q);
    }
    bool closed = kind != ArcKind::Arc;
    if (pen.width <= 1) {
        ThinLines(state, pen, points, closed);
    } else {
        WideLines(state, pen, CentrePath(points, closed));
    }
}

void Surface::SetPixel(const DrawState& state, Point point, Pixel color) {
    ForEachClipped(state, Rect{point.x, point.y, point.x + 1, point.y + 1},
                   [&](const Rect&) { FPixels.Row(point.y)[point.x] = Quantize(color); });
}

// ---- Blits ----

// A copy of the source pixels a blit reads, so that a blit within one surface reads what was there
// before it started.
struct SourceCopy {
    int width = 0, height = 0, left = 0, top = 0;
    std::vector<Pixel> pixels;
    bool Valid(int x, int y) const { return x >= left && y >= top && x < left + width && y < top + height; }
    Pixel At(int x, int y) const {
        return pixels[static_cast<size_t>(y - top) * static_cast<size_t>(width) +
                      static_cast<size_t>(x - left)];
    }
};

SourceCopy CopySource(const PixelBuffer& buffer, const Rect& area, bool keepAlpha) {
    SourceCopy copy;
    Rect r = Normalized(area).Intersected(Rect{0, 0, buffer.width, buffer.height});
    copy.left = r.left;
    copy.top = r.top;
    copy.width = r.Width();
    copy.height = r.Height();
    copy.pixels.resize(static_cast<size_t>(copy.width) * static_cast<size_t>(copy.height));
    for (int y = 0; y < copy.height; ++y) {
        const std::uint32_t* row = buffer.Row(r.top + y);
        for (int x = 0; x < copy.width; ++x)
            copy.pixels[static_cast<size_t>(y) * static_cast<size_t>(copy.width) + static_cast<size_t>(x)] =
                keepAlpha ? row[r.left + x] : row[r.left + x] & White;
    }
    return copy;
}

// Maps destination pixels to source pixels for a stretch, mirroring when the signs of the widths differ.
struct StretchMap {
    int destLeft, destTop, destWidth, destHeight;
    int srcLeft, srcTop, srcWidth, srcHeight;

    StretchMap(const Rect& dest, const Rect& src)
        : destLeft(dest.left), destTop(dest.top), destWidth(dest.right - dest.left),
          destHeight(dest.bottom - dest.top), srcLeft(src.left), srcTop(src.top),
          srcWidth(src.right - src.left), srcHeight(src.bottom - src.top) {}
    // Offsets along each axis use the centre of the destination pixel; negative extents mirror.
    static int Map(int d, int destStart, int destExtent, int srcStart, int srcExtent) {
        double f = (d - (destExtent < 0 ? destStart + destExtent : destStart) + 0.5) / std::abs(destExtent);
        if ((destExtent < 0) != (srcExtent < 0))
            f = 1.0 - f;
        int lo = srcExtent < 0 ? srcStart + srcExtent : srcStart;
        return lo + static_cast<int>(std::floor(f * std::abs(srcExtent)));
    }
    int X(int x) const { return Map(x, destLeft, destWidth, srcLeft, srcWidth); }
    int Y(int y) const { return Map(y, destTop, destHeight, srcTop, srcHeight); }
};

template <class CopyRow>
void Surface::ForEachSameSizeRow(const DrawState& state, const Rect& dest, const StretchMap& map,
                                 const Rect& available, CopyRow&& copyRow) {
    int dx = map.srcLeft - map.destLeft, dy = map.srcTop - map.destTop;
    ForEachClipped(state, Normalized(dest), [&](const Rect& r) {
        for (int y = r.top; y < r.bottom; ++y) {
            int sy = y + dy;
            if (sy < available.top || sy >= available.bottom)
                continue;
            copyRow(FPixels.Row(y), sy, std::max(r.left, available.left - dx),
                    std::min(r.right, available.right - dx), dx);
        }
    });
}

void Surface::StretchBlt(const DrawState& state, const Rect& dest, const BlitSource& source,
                         const Rect& sourceRect, std::uint32_t rop3, const BrushSpec& brush) {
    unsigned rop = (rop3 >> 16) & 0xFF;
    bool usesSource = RopUsesSource(rop) && source.pixels;
    Ink ink(brush, state, FMonochrome);
    bool usesPattern = RopUsesPattern(rop);
    if (!usesSource) {
        FillRegion(state, Region(Normalized(dest)), brush, rop3);
        return;
    }
    StretchMap map(dest, sourceRect);
    // A plain copy of the same size (what every BitBlt of a colour picture is) takes whole rows; only a
    // copy within one picture goes through a copy of the source, as the general path does.
    if (rop == 0xCC && !source.monochrome && !FMonochrome && map.destWidth == map.srcWidth &&
        map.destHeight == map.srcHeight && map.destWidth > 0 && map.destHeight > 0) {
        const PixelBuffer& buffer = *source.pixels;
        SourceCopy own;
        if (buffer.top == FPixels.top)
            own = CopySource(buffer, sourceRect, false);
        Rect available = buffer.top == FPixels.top
                             ? Rect{own.left, own.top, own.left + own.width, own.top + own.height}
                             : Normalized(sourceRect).Intersected(Rect{0, 0, buffer.width, buffer.height});
        ForEachSameSizeRow(state, dest, map, available,
                           [&](std::uint32_t* out, int sy, int from, int to, int dx) {
                               if (buffer.top == FPixels.top) {
                                   const Pixel* in = own.pixels.data() + static_cast<size_t>(sy - own.top) *
                                                                             static_cast<size_t>(own.width);
                                   for (int x = from; x < to; ++x)
                                       out[x] = in[x + dx - own.left];
                               } else {
                                   const std::uint32_t* in = buffer.Row(sy);
                                   for (int x = from; x < to; ++x)
                                       out[x] = in[x + dx] & White;
                               }
                           });
        return;
    }
    SourceCopy copy = CopySource(*source.pixels, sourceRect, false);
    Pixel text = Quantize(state.textColor), background = Quantize(state.backgroundColor);
    Pixel sourceBackground = source.backgroundColor & White;
    bool halftone = state.stretchMode == 4 && (std::abs(map.srcWidth) > std::abs(map.destWidth) ||
                                               std::abs(map.srcHeight) > std::abs(map.destHeight));
    ForEachClipped(state, Normalized(dest), [&](const Rect& r) {
        for (int y = r.top; y < r.bottom; ++y) {
            std::uint32_t* row = FPixels.Row(y);
            int sy = map.Y(y);
            for (int x = r.left; x < r.right; ++x) {
                int sx = map.X(x);
                if (!copy.Valid(sx, sy))
                    continue; // outside the source: the destination keeps its pixel
                Pixel s = copy.At(sx, sy);
                if (halftone) {
                    // Averages the block of source pixels this destination pixel covers.
                    int sx1 = std::max(sx + 1, map.X(x + 1)), sy1 = std::max(sy + 1, map.Y(y + 1));
                    unsigned long long rs = 0, gs = 0, bs = 0, n = 0;
                    for (int yy = std::min(sy, sy1); yy < std::max(sy, sy1); ++yy)
                        for (int xx = std::min(sx, sx1); xx < std::max(sx, sx1); ++xx)
                            if (copy.Valid(xx, yy)) {
                                Pixel q = copy.At(xx, yy);
                                rs += (q >> 16) & 0xFF;
                                gs += (q >> 8) & 0xFF;
                                bs += q & 0xFF;
                                ++n;
                            }
                    if (n)
                        s = static_cast<Pixel>(((rs / n) << 16) | ((gs / n) << 8) | (bs / n));
                }
                if (source.monochrome && !FMonochrome)
                    s = (s & White) == 0 ? text : background;
                else if (!source.monochrome && FMonochrome)
                    s = s == sourceBackground ? White : 0;
                Pixel p = 0;
                if (usesPattern && !ink.At(x, y, p))
                    p = row[x] & White;
                row[x] = ApplyRop3(rop, p, s, row[x] & White);
            }
        }
    });
}

void Surface::TransparentBlt(const DrawState& state, const Rect& dest, const BlitSource& source,
                             const Rect& sourceRect, Pixel transparent) {
    if (!source.pixels)
        return;
    StretchMap map(dest, sourceRect);
    Pixel key = transparent & White;
    // A picture of its own size from another buffer (every glyph a control draws) is read in place, row
    // by row: the general path below copies the source and maps each pixel, which costs more than the
    // drawing of a small glyph.
    const PixelBuffer& buffer = *source.pixels;
    if (buffer.top != FPixels.top && map.destWidth == map.srcWidth && map.destHeight == map.srcHeight &&
        map.destWidth > 0 && map.destHeight > 0) {
        Rect available = Normalized(sourceRect).Intersected(Rect{0, 0, buffer.width, buffer.height});
        ForEachSameSizeRow(state, dest, map, available,
                           [&](std::uint32_t* out, int sy, int from, int to, int dx) {
                               const std::uint32_t* in = buffer.Row(sy);
                               for (int x = from; x < to; ++x) {
                                   Pixel s = in[x + dx] & White;
                                   if (s != key)
                                       out[x] = Quantize(s);
                               }
                           });
        return;
    }
    SourceCopy copy = CopySource(buffer, sourceRect, false);
    ForEachClipped(state, Normalized(dest), [&](const Rect& r) {
        for (int y = r.top; y < r.bottom; ++y) {
            std::uint32_t* row = FPixels.Row(y);
            int sy = map.Y(y);
            for (int x = r.left; x < r.right; ++x) {
                int sx = map.X(x);
                if (!copy.Valid(sx, sy))
                    continue;
                Pixel s = copy.At(sx, sy);
                if (s != key)
                    row[x] = Quantize(s);
            }
        }
    });
}

inline std::uint32_t Scale255(std::uint32_t v, std::uint32_t a) {
    return (v * a + 127) / 255;
}

void Surface::AlphaBlend(const DrawState& state, const Rect& dest, const BlitSource& source,
                         const Rect& sourceRect, int constantAlpha, bool sourceAlpha) {
    if (!source.pixels)
        return;
    SourceCopy copy = CopySource(*source.pixels, sourceRect, true);
    StretchMap map(dest, sourceRect);
    std::uint32_t sca = static_cast<std::uint32_t>(std::clamp(constantAlpha, 0, 255));
    ForEachClipped(state, Normalized(dest), [&](const Rect& r) {
        for (int y = r.top; y < r.bottom; ++y) {
            std::uint32_t* row = FPixels.Row(y);
            int sy = map.Y(y);
            for (int x = r.left; x < r.right; ++x) {
                int sx = map.X(x);
                if (!copy.Valid(sx, sy))
                    continue;
                Pixel s = copy.At(sx, sy), d = row[x];
                // Source colours are premultiplied by their alpha when the source has alpha.
                std::uint32_t sa = sourceAlpha ? Scale255(s >> 24, sca) : sca;
                Pixel out = 0;
                for (int shift = 0; shift <= 24; shift += 8) {
                    std::uint32_t sc = shift == 24 ? (sourceAlpha ? s >> 24 : 255) : (s >> shift) & 0xFF;
                    std::uint32_t dc = (d >> shift) & 0xFF;
                    std::uint32_t v = Scale255(sc, sca) + Scale255(dc, 255 - sa);
                    out |= std::min<std::uint32_t>(255, v) << shift;
                }
                row[x] = FMonochrome ? ToMonochrome(out) : out;
            }
        }
    });
}

Pixel GradientColor(const GradientVertex& a, const GradientVertex& b, double f) {
    auto channel = [f](std::uint16_t x, std::uint16_t y) {
        double v = (x >> 8) + ((y >> 8) - (x >> 8)) * f;
        return static_cast<Pixel>(std::clamp(static_cast<int>(std::floor(v + 0.5)), 0, 255));
    };
    return (channel(a.red, b.red) << 16) | (channel(a.green, b.green) << 8) | channel(a.blue, b.blue);
}

void Surface::GradientRects(const DrawState& state, std::span<const GradientVertex> vertices,
                            std::span<const std::pair<int, int>> rects, bool vertical) {
    for (const auto& [first, second] : rects) {
        if (first < 0 || second < 0 || static_cast<size_t>(first) >= vertices.size() ||
            static_cast<size_t>(second) >= vertices.size())
            continue;
        const GradientVertex& a = vertices[static_cast<size_t>(first)];
        const GradientVertex& b = vertices[static_cast<size_t>(second)];
        Rect rect = Normalized(Rect{a.x, a.y, b.x, b.y});
        int span = vertical ? rect.Height() : rect.Width();
        ForEachClipped(state, rect, [&](const Rect& r) {
            for (int y = r.top; y < r.bottom; ++y) {
                std::uint32_t* row = FPixels.Row(y);
                for (int x = r.left; x < r.right; ++x) {
                    int along = vertical ? y - rect.top : x - rect.left;
                    double f = span > 1 ? static_cast<double>(along) / (span - 1) : 0.0;
                    bool forward = vertical ? a.y <= b.y : a.x <= b.x;
                    row[x] = Quantize(forward ? GradientColor(a, b, f) : GradientColor(b, a, f));
                }
            }
        });
    }
}

void Surface::GradientTriangles(const DrawState& state, std::span<const GradientVertex> vertices,
                                std::span<const std::array<int, 3>> triangles) {
    for (const auto& triangle : triangles) {
        bool valid = true;
        for (int i : triangle)
            valid = valid && i >= 0 && static_cast<size_t>(i) < vertices.size();
        if (!valid)
            continue;
        const GradientVertex& a = vertices[static_cast<size_t>(triangle[0])];
        const GradientVertex& b = vertices[static_cast<size_t>(triangle[1])];
        const GradientVertex& c = vertices[static_cast<size_t>(triangle[2])];
        double area =
            static_cast<double>(b.x - a.x) * (c.y - a.y) - static_cast<double>(c.x - a.x) * (b.y - a.y);
        if (area == 0)
            continue;
        // A gradient triangle keeps its vertices at pixel corners: coverage samples each pixel at the
        // same point (x + 0.5, y + 0.5) at which its colour is mixed.
        Region inside =
            ScanPolygons({QPolygonF({QPointF(a.x, a.y), QPointF(b.x, b.y), QPointF(c.x, c.y)})}, false);
        for (const Rect& piece : inside.Rects())
            ForEachClipped(state, piece, [&](const Rect& r) {
                for (int y = r.top; y < r.bottom; ++y) {
                    std::uint32_t* row = FPixels.Row(y);
                    for (int x = r.left; x < r.right; ++x) {
                        double px = x + 0.5, py = y + 0.5;
                        double wb = ((px - a.x) * (c.y - a.y) - (c.x - a.x) * (py - a.y)) / area;
                        double wc = ((b.x - a.x) * (py - a.y) - (px - a.x) * (b.y - a.y)) / area;
                        double wa = 1 - wb - wc;
                        auto mix = [&](std::uint16_t ca, std::uint16_t cb, std::uint16_t cc) {
                            double v = wa * (ca >> 8) + wb * (cb >> 8) + wc * (cc >> 8);
                            return static_cast<Pixel>(
                                std::clamp(static_cast<int>(std::floor(v + 0.5)), 0, 255));
                        };
                        row[x] =
                            Quantize((mix(a.red, b.red, c.red) << 16) |
                                     (mix(a.green, b.green, c.green) << 8) | mix(a.blue, b.blue, c.blue));
                    }
                }
            });
    }
}

// ---- Text ----

void Surface::Text(const DrawState& state, const TextRun& run) {
    if (!run.font)
        return;
    const Font& font = *run.font;
    const FontMetrics& m = font.metrics;
    double angle = RequestOf(font).escapement / 10.0;
    bool rectsForward =
        run.width >= 0 && std::all_of(run.prefixUnderlines.begin(), run.prefixUnderlines.end(),
                                      [](const auto& range) { return range.first <= range.second; });
    if (angle == 0 && !FMonochrome && rectsForward) {
        UprightText(state, run);
        return;
    }
    Region clip = state.clip ? state.clip->Intersected(Bounds()) : Region(Bounds());
    if (run.hasClipRect)
        clip = clip.Intersected(Normalized(run.clipRect));
    DrawState clipped = state;
    clipped.clip = &clip;
    Pixel background = Quantize(run.backgroundColor);
    if (run.hasOpaqueRect)
        PaintRegion(clipped, Region(Normalized(run.opaqueRect)), Ink(background), R2CopyPen);

    // The text cell and the glyphs' overhang, turned by the escapement around the origin.
    QTransform turn;
    turn.translate(run.origin.x, run.origin.y);
    turn.rotate(-angle);
    int overhang = m.maxCharWidth;
    QRectF cell(0, -m.ascent, run.width, m.height);
    if (run.opaqueCell && run.width > 0) {
        // Upright, the cell is a rectangle of whole pixels: exactly the pixels whose centres it holds.
        Region cells = angle == 0 ? Region(Rect{run.origin.x, run.origin.y - m.ascent,
                                                run.origin.x + run.width, run.origin.y - m.ascent + m.height})
                                  : ScanPolygons({turn.map(QPolygonF(cell))}, false);
        PaintRegion(clipped, cells, Ink(background), R2CopyPen);
    }
    if (run.underlinesOnly && run.prefixUnderlines.empty())
        return;
    QRect area =
        turn.mapRect(cell.adjusted(-overhang, -m.height / 2.0, overhang, m.height / 2.0)).toAlignedRect();
    Rect box = Rect{area.left(), area.top(), area.right() + 1, area.bottom() + 1}.Intersected(clip.Bounds());
    if (box.Empty())
        return;

    Pixel ink = Quantize(run.color);
    // Turned text and monochrome surfaces: glyphs are drawn on a copy of the pixels under them, then the
    // pixels that changed go back.
    QImage image(box.Width(), box.Height(), QImage::Format_RGB32);
    for (int y = 0; y < box.Height(); ++y) {
        const std::uint32_t* src = FPixels.Row(box.top + y);
        auto dst = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        for (int x = 0; x < box.Width(); ++x)
            dst[x] = src[box.left + x] | 0xFF000000u;
    }
    {
        QPainter painter(&image);
        Region local = clip;
        local.Offset(-box.left, -box.top);
        painter.setClipRegion(ToQRegion(local));
        painter.translate(run.origin.x - box.left, run.origin.y - box.top);
        painter.rotate(-angle);
        painter.setRenderHint(QPainter::TextAntialiasing, RequestOf(font).antialiased);
        painter.setRenderHint(QPainter::Antialiasing, false);
        QColor color(static_cast<QRgb>(0xFF000000u | ink));
        if (!run.underlinesOnly) {
            QVector<quint32> glyphs;
            font.Shape(run.text, &glyphs, nullptr);
            QVector<quint32> drawn;
            QVector<QPointF> positions;
            for (qsizetype i = 0; i < glyphs.size(); ++i) {
                if (glyphs[i] == 0)
                    continue; // control characters and the second half of pairs draw nothing
                drawn.push_back(glyphs[i]);
                int dy = run.yOffsets.empty() ? 0 : run.yOffsets[static_cast<size_t>(i)];
                positions.push_back(QPointF(run.offsets[static_cast<size_t>(i)], dy));
            }
            if (!drawn.isEmpty()) {
                QGlyphRun glyphRun;
                glyphRun.setRawFont(font.rawFont);
                glyphRun.setGlyphIndexes(drawn);
                glyphRun.setPositions(positions);
                painter.setPen(color);
                painter.drawGlyphRun(QPointF(0, 0), glyphRun);
            }
            if (m.underlined)
                painter.fillRect(QRect(0, m.underlinePosition, run.width, m.underlineThickness), color);
            if (m.struckOut)
                painter.fillRect(QRect(0, -m.strikeoutPosition, run.width, m.strikeoutThickness), color);
        }
        for (const auto& [from, to] : run.prefixUnderlines)
            painter.fillRect(QRect(from, m.underlinePosition, to - from, m.underlineThickness), color);
    }
    for (int y = 0; y < box.Height(); ++y) {
        std::uint32_t* dst = FPixels.Row(box.top + y);
        auto src = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < box.Width(); ++x) {
            Pixel v = src[x] & White;
            if (v != (dst[box.left + x] & White))
                dst[box.left + x] = FMonochrome ? ToMonochrome(v) : v;
        }
    }
}

// QPainter's blend of a solid ink at 0 < coverage < 255 on an opaque pixel: both terms scaled with its
// rounding of (v * a) / 255, channel by channel.
inline std::uint32_t ByteMul(std::uint32_t x, std::uint32_t a) {
    std::uint32_t t = (x & 0xFF00FF) * a;
    t = ((t + ((t >> 8) & 0xFF00FF) + 0x800080) >> 8) & 0xFF00FF;
    x = ((x >> 8) & 0xFF00FF) * a;
    x = (x + ((x >> 8) & 0xFF00FF) + 0x800080) & 0xFF00FF00;
    return x | t;
}

// Text lands mostly on one background colour (a cell's, a caption's), so the blends of an ink over a
// destination colour at every coverage are kept in a small table per thread once the pair has been
// looked up a few times; a pair that does not repeat (text over a gradient or a picture) is blended
// pixel by pixel. A run looks its table up again only where the colour under the glyphs changes.
class BlendTables {
public:
    // The 256 blends of ink over dest, or null while the pair has not come up often enough.
    const Pixel* Find(Pixel ink, Pixel dest) {
        Entry& entry = FEntries[((ink * 0x9E3779B1u) ^ (dest * 0x85EBCA77u)) >> 27];
        if (entry.ink != ink || entry.dest != dest || entry.seen == 0) {
            entry.ink = ink;
            entry.dest = dest;
            entry.seen = 1;
            return nullptr;
        }
        if (entry.seen < BuildAfter) {
            if (++entry.seen < BuildAfter)
                return nullptr;
            const std::uint32_t source = 0xFF000000u | ink;
            entry.values[0] = dest;
            for (std::uint32_t a = 1; a < 255; ++a)
                entry.values[a] = (ByteMul(source, a) + ByteMul(0xFF000000u | dest, 255 - a)) & White;
            entry.values[255] = ink;
        }
        return entry.values;
    }

private:
    static constexpr int BuildAfter = 8; // look-ups of one pair answered null before it gets a table
    struct Entry {
        Pixel ink = 0;
        Pixel dest = 0;
        int seen = 0;
        Pixel values[256];
    };
    Entry FEntries[32];
};

// The common case of every cell and caption, so it builds no region: the DC's clip rectangles are cut
// to the surface, the clip rectangle and the text's box one by one, which covers the same pixels as the
// region Text would build, without overlaps.
void Surface::UprightText(const DrawState& state, const TextRun& run) {
    const Font& font = *run.font;
    const FontMetrics& m = font.metrics;
    Rect clipBox = run.hasClipRect ? Normalized(run.clipRect).Intersected(Bounds()) : Bounds();
    Pixel background = Quantize(run.backgroundColor);
    auto fillOpaque = [&](const Rect& rect) {
        Rect area = rect.Intersected(clipBox);
        ForEachClipped(state, area, [&](const Rect& r) {
            for (int y = r.top; y < r.bottom; ++y) {
                std::uint32_t* row = FPixels.Row(y);
                std::fill(row + r.left, row + r.right, background & White);
            }
        });
    };
    if (run.hasOpaqueRect)
        fillOpaque(Normalized(run.opaqueRect));
    if (run.opaqueCell && run.width > 0)
        fillOpaque(Rect{run.origin.x, run.origin.y - m.ascent, run.origin.x + run.width,
                        run.origin.y - m.ascent + m.height});
    if (run.underlinesOnly && run.prefixUnderlines.empty())
        return;
    // The text cell and the glyphs' overhang: half a cell above and below, rounded outwards.
    int overhang = m.maxCharWidth;
    int spill = (m.height + 1) / 2;
    Rect box{run.origin.x - overhang, run.origin.y - m.ascent - spill, run.origin.x + run.width + overhang,
             run.origin.y - m.ascent + m.height + spill};
    box = box.Intersected(clipBox);
    if (state.clip)
        box = box.Intersected(state.clip->Bounds());
    if (box.Empty())
        return;
    Pixel ink = Quantize(run.color);
    thread_local std::vector<Rect> pieces;
    pieces.clear();
    auto addPiece = [&](const Rect& c) {
        Rect piece = c.Intersected(box);
        if (!piece.Empty())
            pieces.push_back(piece);
    };
    if (state.clip)
        for (const Rect& c : state.clip->Rects())
            addPiece(c);
    else
        addPiece(box);
    const std::uint32_t source = 0xFF000000u | ink;
    auto fill = [&](const Rect& rect) {
        for (const Rect& piece : pieces) {
            Rect r = piece.Intersected(rect);
            for (int y = r.top; y < r.bottom; ++y) {
                std::uint32_t* row = FPixels.Row(y);
                for (int x = r.left; x < r.right; ++x)
                    if ((row[x] & White) != ink)
                        row[x] = ink;
            }
        }
    };
    const int ox = run.origin.x, oy = run.origin.y;
    thread_local BlendTables blendTables;
    const Pixel* blends = nullptr;
    Pixel blendsDest = 0xFFFFFFFFu; // no pixel's colour: the first blended pixel looks its table up
    if (!run.underlinesOnly) {
        thread_local std::vector<const Font::GlyphMask*> masks;
        font.MasksOf(run.text, masks);
        for (size_t i = 0; i < masks.size(); ++i) {
            // Control characters and the second half of pairs (glyph 0) draw nothing.
            if (masks[i] == nullptr || masks[i]->coverage.empty())
                continue;
            const Font::GlyphMask& mask = *masks[i];
            int dy = run.yOffsets.empty() ? 0 : run.yOffsets[i];
            Rect glyphRect{ox + run.offsets[i] + mask.left, oy + dy + mask.top, 0, 0};
            glyphRect.right = glyphRect.left + mask.width;
            glyphRect.bottom = glyphRect.top + mask.height;
            // Blends the covered pixels of one glyph row from column left to right.
            auto blendRow = [&](std::uint32_t* row, const std::uint8_t* cover, int left, int right) {
                for (int x = left; x < right; ++x) {
                    if (blends) {
                        // While the pixels have the colour the table is for, the table answers every
                        // coverage, 0 included (the pixel as it is). Every pixel is stored, one the
                        // table leaves as it is with its own value: coverage changes from pixel to
                        // pixel, and a branch on it is mispredicted about as often as it is taken.
                        for (; x < right; ++x, ++cover) {
                            const std::uint32_t pixel = row[x];
                            const Pixel d = pixel & White;
                            if (d != blendsDest)
                                break;
                            const Pixel v = blends[*cover];
                            row[x] = v == d ? pixel : v;
                        }
                        if (x == right)
                            break;
                    }
                    std::uint32_t a = *cover++;
                    if (a == 0)
                        continue;
                    Pixel d = row[x] & White;
                    if (d != blendsDest) {
                        blends = blendTables.Find(ink, d);
                        blendsDest = d;
                    }
                    Pixel v = blends     ? blends[a]
                              : a == 255 ? ink
                                         : (ByteMul(source, a) + ByteMul(0xFF000000u | d, 255 - a)) & White;
                    if (v != d)
                        row[x] = v;
                }
            };
            for (const Rect& piece : pieces) {
                Rect r = piece.Intersected(glyphRect);
                if (r.Empty())
                    continue;
                const std::uint8_t* coverRow =
                    mask.coverage.data() + static_cast<size_t>(r.top - glyphRect.top) * mask.width;
                const Font::GlyphMask::Span* span = mask.spans.data() + (r.top - glyphRect.top);
                for (int y = r.top; y < r.bottom; ++y, ++span, coverRow += mask.width) {
                    // Only the covered columns of the row; the pixels around them stay as they are.
                    const int left = std::max(r.left, glyphRect.left + span->from);
                    const int right = std::min(r.right, glyphRect.left + span->to);
                    if (left < right)
                        blendRow(FPixels.Row(y), coverRow + (left - glyphRect.left), left, right);
                }
            }
        }
        if (m.underlined)
            fill(Rect{ox, oy + m.underlinePosition, ox + run.width,
                      oy + m.underlinePosition + m.underlineThickness});
        if (m.struckOut)
            fill(Rect{ox, oy - m.strikeoutPosition, ox + run.width,
                      oy - m.strikeoutPosition + m.strikeoutThickness});
    }
    for (const auto& [from, to] : run.prefixUnderlines)
        fill(Rect{ox + from, oy + m.underlinePosition, ox + to,
                  oy + m.underlinePosition + m.underlineThickness});
}

// ---- Flood fill ----

bool Surface::FloodFill(const DrawState& state, Point point, Pixel color, bool border,
                        const BrushSpec& brush) {
    if (!Bounds().Contains(point.x, point.y) || (state.clip && !state.clip->Contains(point.x, point.y)))
        return false;
    Pixel key = Quantize(color);
    auto fillable = [&](int x, int y) {
        Pixel p = FPixels.Row(y)[x] & White;
        return border ? p != key : p == key;
    };
    if (!fillable(point.x, point.y))
        return false;
    // Scan-line fill: each stack entry seeds a run that is extended left and right.
    std::vector<std::uint8_t> seen(static_cast<size_t>(FPixels.width) * static_cast<size_t>(FPixels.height),
                                   0);
    auto index = [&](int x, int y) {
        return static_cast<size_t>(y) * static_cast<size_t>(FPixels.width) + x;
    };
    std::vector<Rect> rows;
    std::vector<Point> stack{point};
    while (!stack.empty()) {
        Point p = stack.back();
        stack.pop_back();
        if (seen[index(p.x, p.y)] || !fillable(p.x, p.y))
            continue;
        int left = p.x, right = p.x;
        while (left > 0 && !seen[index(left - 1, p.y)] && fillable(left - 1, p.y))
            --left;
        while (right + 1 < FPixels.width && !seen[index(right + 1, p.y)] && fillable(right + 1, p.y))
            ++right;
        for (int x = left; x <= right; ++x)
            seen[index(x, p.y)] = 1;
        rows.push_back(Rect{left, p.y, right + 1, p.y + 1});
        for (int dy : {-1, 1}) {
            int y = p.y + dy;
            if (y < 0 || y >= FPixels.height)
                continue;
            for (int x = left; x <= right; ++x)
                if (!seen[index(x, y)] && fillable(x, y) && (x == left || !fillable(x - 1, y)))
                    stack.push_back(Point{x, y});
        }
    }
    PaintRegion(state, Region::FromRows(std::move(rows)), Ink(brush, state, FMonochrome), state.rop2);
    return true;
}

} // namespace

std::shared_ptr<Device> CreateSurface(const PixelBuffer& pixels, bool monochrome) {
    return std::make_shared<Surface>(pixels, monochrome);
}

} // namespace backend
