// Points, rectangles and regions of device pixels, for the GDI layer: clipping and the region calls.
#pragma once

#include <algorithm>
#include <span>
#include <utility>
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

// The rectangles of a region. Most regions are one rectangle (a clip box, a cell, a fill), and that one is
// kept in place: making, copying and intersecting such regions, which a paint does per cell, takes no
// memory from the heap.
class RectList {
public:
    RectList() = default;
    RectList(const RectList& other) = default;
    RectList(RectList&& other) noexcept
        : FOne(other.FOne), FMany(std::move(other.FMany)), FSize(std::exchange(other.FSize, 0)) {}
    RectList& operator=(const RectList& other) = default;
    RectList& operator=(RectList&& other) noexcept {
        FOne = other.FOne;
        FMany = std::move(other.FMany);
        FSize = std::exchange(other.FSize, 0);
        return *this;
    }

    bool empty() const { return FSize == 0; }
    size_t size() const { return FSize; }
    Rect* data() { return FSize > 1 ? FMany.data() : &FOne; }
    const Rect* data() const { return FSize > 1 ? FMany.data() : &FOne; }
    Rect* begin() { return data(); }
    Rect* end() { return data() + FSize; }
    const Rect* begin() const { return data(); }
    const Rect* end() const { return data() + FSize; }
    Rect& operator[](size_t i) { return data()[i]; }
    const Rect& operator[](size_t i) const { return data()[i]; }
    Rect& front() { return data()[0]; }
    const Rect& front() const { return data()[0]; }
    Rect& back() { return data()[FSize - 1]; }
    const Rect& back() const { return data()[FSize - 1]; }

    void reserve(size_t n) {
        if (n > 1)
            FMany.reserve(n);
    }
    void push_back(const Rect& rect) {
        if (FSize == 0) {
            FOne = rect;
        } else {
            if (FSize == 1) {
                FMany.clear();
                FMany.push_back(FOne);
            }
            FMany.push_back(rect);
        }
        ++FSize;
    }
    bool operator==(const RectList& other) const {
        return std::equal(begin(), end(), other.begin(), other.end());
    }

private:
    Rect FOne;
    std::vector<Rect> FMany; // every rectangle once there are two or more
    size_t FSize = 0;
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
    std::span<const Rect> Rects() const { return {FRects.data(), FRects.size()}; }
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
    RectList FRects;
    friend struct RegionAccess;
};

} // namespace backend
