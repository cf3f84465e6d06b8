// Painting: WM_PAINT from update regions, erasing, validation, WM_SETREDRAW, clipping of overlapping
// children and siblings on the top-level window's surface, and scrolling.
#include <gtest/gtest.h>

#include "tests/platform/win32/win_testing.h"

using namespace wintest;

namespace {

class WinPaint : public testing::Test {
protected:
    void SetUp() override { ResetWindowManager(); }
    void TearDown() override { ResetWindowManager(); }
};

// A window that fills its update area with one colour in WM_PAINT and records what it was asked to paint.
struct Painter {
    COLORREF colour;
    std::vector<RECT> painted;
    std::vector<BOOL> erase;
};

Handler Paints(Painter& painter) {
    return [&painter](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_PAINT)
            return std::nullopt;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        painter.painted.push_back(ps.rcPaint);
        painter.erase.push_back(ps.fErase);
        RECT client;
        GetClientRect(hwnd, &client);
        HBRUSH brush = CreateSolidBrush(painter.colour);
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &ps);
        return 0;
    };
}

// The colour on the top-level window's surface at a point of its client area.
COLORREF SurfaceAt(HWND top, int x, int y) {
    HDC dc = GetDCEx(top, nullptr, DCX_CACHE);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(top, dc);
    return colour;
}

TEST_F(WinPaint, UpdateRegionsMakeWmPaint) {
    Painter painter{RGB(0, 0, 255), {}, {}};
    Options o;
    o.style = WS_POPUP | WS_VISIBLE;
    o.rect = RECT{0, 0, 100, 80};
    o.handler = Paints(painter);
    HWND hwnd = Create(o);
    Pump();
    ASSERT_EQ(painter.painted.size(), 1u);
    EXPECT_EQ(painter.painted[0].right, 100);
    EXPECT_EQ(SurfaceAt(hwnd, 50, 40), RGB(0, 0, 255));

    // Two rectangles paint once, with their bounds; validating takes a part away.
    MessageLog log;
    log.Name(hwnd, "w");
    painter.painted.clear();
    RECT a{10, 10, 20, 20};
    RECT b{30, 5, 40, 15};
    InvalidateRect(hwnd, &a, FALSE);
    InvalidateRect(hwnd, &b, FALSE);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
    EXPECT_EQ(update.left, 10);
    EXPECT_EQ(update.right, 40);
    ValidateRect(hwnd, &a);
    Pump();
    ASSERT_EQ(painter.painted.size(), 1u);
    EXPECT_EQ(painter.painted[0].left, 30);
    EXPECT_EQ(painter.erase[0], FALSE);
    EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE));

    // With erase, WM_ERASEBKGND comes from BeginPaint; the class brush erases, so fErase is FALSE.
    InvalidateRect(hwnd, nullptr, TRUE);
    log.Clear();
    Pump();
    EXPECT_EQ(painter.erase.back(), FALSE);

    // Hidden windows and windows with drawing switched off get no WM_PAINT.
    painter.painted.clear();
    SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
    InvalidateRect(hwnd, nullptr, FALSE);
    Pump();
    EXPECT_TRUE(painter.painted.empty());
    SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    InvalidateRect(hwnd, nullptr, FALSE);
    EXPECT_TRUE(UpdateWindow(hwnd));
    EXPECT_EQ(painter.painted.size(), 1u);
    Pump();
    EXPECT_EQ(painter.painted.size(), 1u);
}

TEST_F(WinPaint, ParentsPaintBeforeChildren) {
    std::vector<std::string> order;
    auto recordPaint = [&order](const char* name) {
        return [&order, name](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (message == WM_PAINT)
                order.push_back(name);
            return std::nullopt;
        };
    };
    Options top;
    top.style = WS_POPUP;
    top.rect = RECT{0, 0, 100, 100};
    top.handler = recordPaint("top");
    HWND parent = Create(top);
    Options child;
    child.style = WS_CHILD | WS_VISIBLE;
    child.parent = parent;
    child.rect = RECT{10, 10, 50, 50};
    child.handler = recordPaint("child");
    Create(child);
    ShowWindow(parent, SW_SHOW);
    Pump();
    EXPECT_EQ(order, (std::vector<std::string>{"top", "child"}));
}

struct Scene {
    HWND top;
    HWND upper;
    HWND lower;
};

// A parent (white) with two overlapping children: upper (red) above lower (green).
Scene MakeScene(DWORD parentStyle, DWORD childStyle, Painter& parentPaint, Painter& upperPaint,
                Painter& lowerPaint) {
    Options top;
    top.style = WS_POPUP | WS_VISIBLE | parentStyle;
    top.rect = RECT{0, 0, 120, 100};
    top.handler = Paints(parentPaint);
    HWND parent = Create(top);
    Options upper;
    upper.style = WS_CHILD | WS_VISIBLE | childStyle;
    upper.parent = parent;
    upper.rect = RECT{10, 10, 60, 60};
    upper.handler = Paints(upperPaint);
    HWND a = Create(upper);
    Options lower = upper;
    lower.rect = RECT{40, 40, 100, 90};
    lower.handler = Paints(lowerPaint);
    HWND b = Create(lower);
    Pump();
    return Scene{parent, a, b};
}

TEST_F(WinPaint, ClippingOfOverlappingChildrenAndSiblings) {
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF red = RGB(255, 0, 0);
    const COLORREF green = RGB(0, 128, 0);
    struct Case {
        const char* name;
        DWORD parentStyle;
        DWORD childStyle;
        COLORREF overlap; // at (50, 50), in both children
        COLORREF inUpper; // at (20, 20)
        COLORREF inLower; // at (90, 80)
        COLORREF outside; // at (5, 95)
    };
    const Case cases[] = {
        {"clip children and siblings", WS_CLIPCHILDREN, WS_CLIPSIBLINGS, red, red, green, white},
        // Without WS_CLIPSIBLINGS the lower sibling, painted after the upper one, draws over it: the
        // classic Win32 artefact, kept.
        {"siblings not clipped", WS_CLIPCHILDREN, 0, green, red, green, white},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetWindowManager();
        Painter parentPaint{white, {}, {}};
        Painter upperPaint{red, {}, {}};
        Painter lowerPaint{green, {}, {}};
        Scene scene = MakeScene(c.parentStyle, c.childStyle, parentPaint, upperPaint, lowerPaint);
        EXPECT_EQ(SurfaceAt(scene.top, 50, 50), c.overlap);
        EXPECT_EQ(SurfaceAt(scene.top, 20, 20), c.inUpper);
        EXPECT_EQ(SurfaceAt(scene.top, 90, 80), c.inLower);
        EXPECT_EQ(SurfaceAt(scene.top, 5, 95), c.outside);
    }

    // Drawing on the parent at any time through GetDC keeps off its children (WS_CLIPCHILDREN), and a
    // child's DC keeps off the sibling above it (WS_CLIPSIBLINGS).
    ResetWindowManager();
    Painter parentPaint{white, {}, {}};
    Painter upperPaint{red, {}, {}};
    Painter lowerPaint{green, {}, {}};
    Scene scene = MakeScene(WS_CLIPCHILDREN, WS_CLIPSIBLINGS, parentPaint, upperPaint, lowerPaint);
    HDC dc = GetDC(scene.top);
    RECT all{0, 0, 120, 100};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &all, blue);
    ReleaseDC(scene.top, dc);
    EXPECT_EQ(SurfaceAt(scene.top, 5, 5), RGB(0, 0, 255));
    EXPECT_EQ(SurfaceAt(scene.top, 20, 20), red);
    dc = GetDC(scene.lower);
    RECT inLower{0, 0, 60, 50};
    FillRect(dc, &inLower, blue);
    ReleaseDC(scene.lower, dc);
    DeleteObject(blue);
    EXPECT_EQ(SurfaceAt(scene.top, 50, 50), red);
    EXPECT_EQ(SurfaceAt(scene.top, 90, 80), RGB(0, 0, 255));

    // Moving the upper child away uncovers the lower one, which paints again.
    lowerPaint.painted.clear();
    MoveWindow(scene.upper, 0, 0, 20, 20, TRUE);
    Pump();
    EXPECT_FALSE(lowerPaint.painted.empty());
    EXPECT_EQ(SurfaceAt(scene.top, 50, 50), green);
    EXPECT_EQ(SurfaceAt(scene.top, 30, 30), white);
}

// RectVisible answers in the DC's own units: a child's DC is off the sibling above it and off the
// area outside the child, and within the clip selected into it; a memory DC within its bitmap.
TEST_F(WinPaint, RectVisibleFollowsTheWindowAndTheClip) {
    Painter parentPaint{RGB(255, 255, 255), {}, {}};
    Painter upperPaint{RGB(255, 0, 0), {}, {}};
    Painter lowerPaint{RGB(0, 128, 0), {}, {}};
    Scene scene = MakeScene(WS_CLIPCHILDREN, WS_CLIPSIBLINGS, parentPaint, upperPaint, lowerPaint);
    struct Case {
        const char* name;
        RECT rect;
        bool visible;
        bool visibleClipped; // with the clip (30, 30, 40, 40)
    };
    const Case cases[] = {
        {"under the upper sibling", {0, 0, 10, 10}, false, false},
        {"free part", {30, 30, 40, 40}, true, true},
        {"free part outside the clip", {42, 5, 50, 15}, true, false},
        {"touching the clip's right edge", {40, 30, 45, 40}, true, false},
        {"right of the window", {70, 0, 80, 10}, false, false},
        {"crossing the window's edge", {55, 45, 70, 60}, true, false},
    };
    HDC dc = GetDC(scene.lower);
    for (const Case& c : cases)
        EXPECT_EQ(RectVisible(dc, &c.rect) != FALSE, c.visible) << c.name;
    IntersectClipRect(dc, 30, 30, 40, 40);
    for (const Case& c : cases)
        EXPECT_EQ(RectVisible(dc, &c.rect) != FALSE, c.visibleClipped) << c.name << ", clipped";
    ReleaseDC(scene.lower, dc);

    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(memory, 20, 10);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const RECT inside{15, 5, 30, 30}, outside{20, 0, 30, 5};
    EXPECT_TRUE(RectVisible(memory, &inside));
    EXPECT_FALSE(RectVisible(memory, &outside));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
}

TEST_F(WinPaint, ScrollWindowMovesPixelsAndInvalidatesTheRest) {
    Painter painter{RGB(255, 255, 255), {}, {}};
    Options o;
    o.style = WS_POPUP | WS_VISIBLE;
    o.rect = RECT{0, 0, 100, 100};
    o.handler = Paints(painter);
    HWND hwnd = Create(o);
    Pump();
    HDC dc = GetDC(hwnd);
    SetPixel(dc, 10, 50, RGB(1, 2, 3));
    ReleaseDC(hwnd, dc);
    RECT update;
    EXPECT_EQ(ScrollWindowEx(hwnd, 0, -20, nullptr, nullptr, nullptr, &update, 0), SIMPLEREGION);
    EXPECT_EQ(SurfaceAt(hwnd, 10, 30), RGB(1, 2, 3));
    EXPECT_EQ(update.top, 80);
    EXPECT_EQ(update.bottom, 100);
    EXPECT_FALSE(GetUpdateRect(hwnd, nullptr, FALSE));
    ScrollWindow(hwnd, 0, 10, nullptr, nullptr);
    EXPECT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
    EXPECT_EQ(update.top, 0);
    EXPECT_EQ(update.bottom, 10);
    EXPECT_EQ(SurfaceAt(hwnd, 10, 40), RGB(1, 2, 3));
}

} // namespace
