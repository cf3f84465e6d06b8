// Polygon fills on tiny bitmaps: which pixels a fill covers, in both fill modes, and how it meets the
// outline drawn over it.
#include <algorithm>
#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "platform/win32/windraw.h"
#include "tests/platform/win32/gdi_test.h"

using gdi_test::Canvas;

namespace {

const COLORREF Red = RGB(255, 0, 0);
const int Size = 15;

struct Shape {
    const char* name;
    std::vector<POINT> points;
    int fillMode;
    bool convex; // each row of it is one run
};

// Edges running in every direction, steep and shallow, in both turning senses, and shapes whose rows
// cross the outline more than twice.
const Shape Shapes[] = {
    {"triangle pointing down", {{1, 2}, {9, 2}, {5, 6}}, ALTERNATE, true},
    {"same triangle drawn backwards", {{5, 6}, {9, 2}, {1, 2}}, ALTERNATE, true},
    {"triangle pointing up", {{6, 1}, {12, 8}, {1, 8}}, ALTERNATE, true},
    {"triangle pointing left", {{1, 7}, {12, 1}, {10, 13}}, ALTERNATE, true},
    {"triangle pointing right", {{2, 1}, {13, 6}, {3, 13}}, ALTERNATE, true},
    {"shallow triangle", {{0, 1}, {14, 4}, {2, 7}}, ALTERNATE, true},
    {"diamond", {{7, 1}, {13, 7}, {7, 13}, {1, 7}}, ALTERNATE, true},
    {"convex hexagon", {{4, 1}, {10, 1}, {14, 6}, {11, 13}, {3, 12}, {0, 6}}, ALTERNATE, true},
    {"concave notch", {{1, 1}, {7, 8}, {13, 1}, {13, 13}, {1, 13}}, ALTERNATE, false},
    {"concave arrow head", {{1, 1}, {14, 7}, {1, 13}, {5, 7}}, ALTERNATE, false},
    {"star, alternate", {{7, 0}, {11, 13}, {0, 5}, {14, 5}, {3, 13}}, ALTERNATE, false},
    {"star, winding", {{7, 0}, {11, 13}, {0, 5}, {14, 5}, {3, 13}}, WINDING, false},
};

// Where a pixel of a polygon stands against it, worked out for the pixel alone: its centre is the point
// of its own coordinates, where a pen draws it.
struct Sample {
    bool inside;    // inside under the fill rule, with left and top edges in and right and bottom ones out
    bool onOutline; // on one of the edges
};

Sample SampleAt(const Shape& shape, int x, int y) {
    int crossings = 0, winding = 0;
    bool onOutline = false;
    size_t n = shape.points.size();
    for (size_t i = 0; i < n; ++i) {
        POINT a = shape.points[i], b = shape.points[(i + 1) % n];
        long long cross =
            static_cast<long long>(b.x - a.x) * (y - a.y) - static_cast<long long>(b.y - a.y) * (x - a.x);
        if (cross == 0 && x >= std::min(a.x, b.x) && x <= std::max(a.x, b.x) && y >= std::min(a.y, b.y) &&
            y <= std::max(a.y, b.y))
            onOutline = true;
        if (a.y == b.y || y < std::min(a.y, b.y) || y >= std::max(a.y, b.y))
            continue;
        // The edge crosses row y at or left of x: the point is then at or right of the edge, which with
        // the edge's direction is the sign of the cross product.
        bool down = b.y > a.y;
        bool atOrLeft = down ? cross <= 0 : cross >= 0;
        if (atOrLeft) {
            ++crossings;
            winding += down ? 1 : -1;
        }
    }
    return {shape.fillMode == WINDING ? winding != 0 : crossings % 2 != 0, onOutline};
}

std::string Draw(const Shape& shape, HGDIOBJ pen, HGDIOBJ brush) {
    Canvas c(Size, Size);
    SelectObject(c.dc(), pen);
    SelectObject(c.dc(), brush);
    SetPolyFillMode(c.dc(), shape.fillMode);
    EXPECT_TRUE(Polygon(c.dc(), shape.points.data(), static_cast<int>(shape.points.size())));
    return c.Picture({{Red, 'r'}});
}

char At(const std::string& picture, int x, int y) {
    return picture[static_cast<size_t>(y * (Size + 1) + x)];
}

void PrintTo(const Shape& shape, std::ostream* out) {
    *out << shape.name;
}

class PolygonFill : public testing::TestWithParam<Shape> {};

// Without a pen the fill takes exactly the pixels whose centres are inside, and a region made from the
// same points holds the same pixels.
TEST_P(PolygonFill, CoversThePixelsWhoseCentresAreInside) {
    const Shape& shape = GetParam();
    std::string fill = Draw(shape, GetStockObject(NULL_PEN), GetStockObject(BLACK_BRUSH));
    std::string expected;
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x)
            expected += SampleAt(shape, x, y).inside ? '#' : '.';
        expected += '\n';
    }
    EXPECT_EQ(fill, expected);

    Canvas c(Size, Size);
    HRGN region =
        CreatePolygonRgn(shape.points.data(), static_cast<int>(shape.points.size()), shape.fillMode);
    ASSERT_NE(region, nullptr);
    FillRgn(c.dc(), region, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DeleteObject(region);
    EXPECT_EQ(c.Picture(), fill);
}

// With a one-pixel pen of the brush's colour the shape is solid: every pixel inside or on an edge is
// painted, and a convex shape paints one run on each row.
TEST_P(PolygonFill, MeetsItsOutlineWithNoGap) {
    const Shape& shape = GetParam();
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    std::string picture = Draw(shape, pen, GetStockObject(BLACK_BRUSH));
    DeleteObject(pen);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            Sample s = SampleAt(shape, x, y);
            if (s.inside || s.onOutline) {
                EXPECT_EQ(At(picture, x, y), '#') << "a gap at " << x << "," << y << "\n" << picture;
            }
        }
    if (!shape.convex)
        return;
    for (int y = 0; y < Size; ++y) {
        std::string row = picture.substr(static_cast<size_t>(y * (Size + 1)), Size);
        size_t first = row.find('#'), last = row.rfind('#');
        if (first != std::string::npos) {
            EXPECT_EQ(std::count(row.begin(), row.end(), '#'), static_cast<long>(last - first + 1))
                << "row " << y << " has a gap\n"
                << picture;
        }
    }
}

// A pen of another colour draws over the fill and the fill never shows outside it: each row's outermost
// painted pixels are the pen's.
TEST_P(PolygonFill, StaysWithinItsOutline) {
    const Shape& shape = GetParam();
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    HBRUSH red = CreateSolidBrush(Red);
    std::string picture = Draw(shape, pen, red);
    DeleteObject(pen);
    DeleteObject(red);
    for (int y = 0; y < Size; ++y) {
        std::string row = picture.substr(static_cast<size_t>(y * (Size + 1)), Size);
        size_t first = row.find_first_not_of('.'), last = row.find_last_not_of('.');
        if (first == std::string::npos)
            continue;
        EXPECT_EQ(row[first], '#') << "row " << y << "\n" << picture;
        EXPECT_EQ(row[last], '#') << "row " << y << "\n" << picture;
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, PolygonFill, testing::ValuesIn(Shapes), [](const auto& info) {
    std::string name;
    for (char ch : std::string(info.param.name))
        if (std::isalnum(static_cast<unsigned char>(ch)))
            name += ch;
    return name;
});

} // namespace
