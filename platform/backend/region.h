// Points, rectangles and regions of device pixels, for the GDI layer: clipping and the region calls.
#pragma once

#include <span>
#include <vector>

namespace backend {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Right and bottom are outside the rectangle.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Rect&) const = default;
    bool Empty() const { return right <= left || bottom <= top; }
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    Rect Intersected(const Rect& other) const;
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// A set of pixels as non-overlapping rectangles in bands from top to bottom and left to right within a
// band, so that two regions of the same pixels have the same rectangles.
class Region {
public:
    Region() = default;
    explicit Region(const Rect& rect);
    static Region Ellipse(const Rect& bounds);
    static Region RoundRect(const Rect& bounds, int ellipseWidth, int ellipseHeight);
    // Polygons with the pixel-centre rule of GDI fills, where pixel (x, y) is inside when the point
    // (x, y) is (left and top edges in, right and bottom ones out); winding selects the non-zero rule.
    static Region Polygons(std::span<const Point> points, std::span<const int> counts, bool winding);
    // Rectangles one row high, in any order and not overlapping.
    static Region FromRows(std::vector<Rect> rows);

    bool Empty() const { return FRects.empty(); }
    const std::vector<Rect>& Rects() const { return FRects; }
    Rect Bounds() const;
    bool Contains(int x, int y) const;
    bool Intersects(const Rect& rect) const;

    Region United(const Region& other) const;
    Region Intersected(const Region& other) const;
    Region Intersected(const Rect& rect) const;
    Region Subtracted(const Region& other) const;
    Region Xored(const Region& other) const;
    void Offset(int dx, int dy);

    // Same pixels, however the rectangles are cut.
    bool operator==(const Region& other) const;

private:
    std::vector<Rect> FRects;
    friend struct RegionAccess;
};

} // namespace backend
