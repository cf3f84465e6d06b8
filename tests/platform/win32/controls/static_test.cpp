// Tests of the STATIC class: clicks told with SS_NOTIFY, images and how they size the control, text
// styles, the drawn rectangles, frames and etched lines, and owner drawing.
#include <gtest/gtest.h>

#include "platform/win32/winbutton.h"
#include "tests/platform/win32/controls/controls_testing.h"

using namespace wintest;
using namespace controltest;

namespace {

class StaticTest : public ControlTest {
protected:
    // A line of the system font, which statics draw with until they get WM_SETFONT.
    static int LineHeight() {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return tm.tmHeight;
    }
    static COLORREF Pixel(HWND hwnd, int x, int y) {
        HDC dc = GetDC(hwnd);
        COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(hwnd, dc);
        return color;
    }
    // Whether anything but the background colour is drawn in the rectangle.
    static bool Drawn(HWND hwnd, RECT rect) {
        HDC dc = GetDC(hwnd);
        COLORREF background = GetSysColor(COLOR_BTNFACE);
        bool drawn = false;
        for (int y = rect.top; y < rect.bottom && !drawn; ++y)
            for (int x = rect.left; x < rect.right && !drawn; ++x)
                drawn = GetPixel(dc, x, y) != background;
        ReleaseDC(hwnd, dc);
        return drawn;
    }
};

TEST_F(StaticTest, NotifyStyleTellsClicksAndEnabling) {
    HWND label = Child(u"Static", SS_NOTIFY, RECT{10, 10, 110, 30}, u"Label", 5);
    HWND plain = Child(u"Static", 0, RECT{10, 40, 110, 60}, u"Plain", 6);
    EXPECT_EQ(SendMessageW(label, WM_NCHITTEST, 0, 0), HTCLIENT);
    // Without SS_NOTIFY the static lets the mouse through to its parent.
    EXPECT_EQ(SendMessageW(plain, WM_NCHITTEST, 0, 0), HTTRANSPARENT);
    EXPECT_EQ(SendMessageW(label, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    MessageLog log;
    Click(label, 5, 5);
    Click(plain, 5, 5);
    EnableWindow(label, FALSE);
    EnableWindow(label, TRUE);
    std::vector<WORD> expected = {STN_CLICKED, STN_DISABLE, STN_ENABLE};
    EXPECT_EQ(Notifications(log, FParent, label), expected);
    EXPECT_TRUE(Notifications(log, FParent, plain).empty());
}

TEST_F(StaticTest, BitmapSizesTheControlUnlessCentred) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 24, 16);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all{0, 0, 24, 16};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(memory, &all, red);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    HWND image = Child(u"Static", SS_BITMAP, RECT{10, 10, 200, 100});
    HWND centred = Child(u"Static", SS_BITMAP | SS_CENTERIMAGE, RECT{10, 120, 110, 170});
    HWND text = Child(u"Static", SS_LEFT, RECT{200, 10, 300, 30});
    EXPECT_EQ(SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)), 0);
    SendMessageW(centred, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
    // A text static takes no image; an icon is refused by a bitmap static.
    EXPECT_EQ(SendMessageW(text, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)), 0);
    EXPECT_EQ(SendMessageW(text, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(SendMessageW(image, STM_GETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(bitmap));
    EXPECT_EQ(SendMessageW(image, STM_GETIMAGE, IMAGE_ICON, 0), 0);
    RECT rect;
    GetClientRect(image, &rect);
    EXPECT_EQ(rect.right, 24);
    EXPECT_EQ(rect.bottom, 16);
    GetClientRect(centred, &rect);
    EXPECT_EQ(rect.right, 100);
    Pump();
    EXPECT_EQ(Pixel(image, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(Pixel(centred, 50, 25), RGB(255, 0, 0));
    EXPECT_NE(Pixel(centred, 5, 5), RGB(255, 0, 0));
    // Setting another image answers the previous one.
    EXPECT_EQ(SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP, 0), reinterpret_cast<LRESULT>(bitmap));
    DestroyWindow(image);
    DestroyWindow(centred);
    DeleteObject(bitmap);
    DeleteObject(red);
}

// A long caption wraps in a plain static; an ellipsis style keeps it on one line.
TEST_F(StaticTest, EllipsisKeepsTextOnOneLine) {
    const Char* text = u"A caption much too long for the narrow static control";
    struct Case {
        DWORD style;
        bool secondLine;
    };
    const Case cases[] = {{SS_LEFT, true},          {SS_ENDELLIPSIS, false}, {SS_PATHELLIPSIS, false},
                          {SS_WORDELLIPSIS, false}, {SS_SIMPLE, false},      {SS_LEFTNOWORDWRAP, false}};
    for (const Case& c : cases) {
        HWND label = Child(u"Static", c.style, RECT{10, 10, 110, 80}, text);
        Pump();
        int line = LineHeight();
        EXPECT_TRUE(Drawn(label, RECT{0, 0, 100, line})) << "style " << c.style;
        EXPECT_EQ(Drawn(label, RECT{0, line, 100, 2 * line}), c.secondLine) << "style " << c.style;
        DestroyWindow(label);
    }
}

TEST_F(StaticTest, RectanglesFramesAndEtchedLines) {
    struct Case {
        DWORD style;
        COLORREF centre;
        COLORREF corner;
    };
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const Case cases[] = {
        {SS_BLACKRECT, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DDKSHADOW)},
        {SS_GRAYRECT, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW)},
        {SS_WHITERECT, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNHIGHLIGHT)},
        {SS_BLACKFRAME, face, GetSysColor(COLOR_3DDKSHADOW)},
        {SS_GRAYFRAME, face, GetSysColor(COLOR_BTNSHADOW)},
        {SS_WHITEFRAME, face, GetSysColor(COLOR_BTNHIGHLIGHT)},
        {SS_ETCHEDFRAME, face, GetSysColor(COLOR_BTNSHADOW)},
        {SS_ETCHEDHORZ, face, GetSysColor(COLOR_BTNSHADOW)},
    };
    for (const Case& c : cases) {
        // The parent's window background shows where the static draws nothing.
        HWND shape = Child(u"Static", c.style, RECT{10, 10, 50, 30});
        Pump();
        COLORREF centre = Pixel(shape, 20, 10);
        if (c.centre != face)
            EXPECT_EQ(centre, c.centre) << "style " << c.style;
        else
            EXPECT_NE(centre, GetSysColor(COLOR_3DDKSHADOW)) << "style " << c.style;
        EXPECT_EQ(Pixel(shape, 0, 0), c.corner) << "style " << c.style;
        DestroyWindow(shape);
    }
    // An etched line is two pixels high: shadow over highlight, nothing below.
    HWND line = Child(u"Static", SS_ETCHEDHORZ, RECT{10, 10, 50, 20});
    Pump();
    EXPECT_EQ(Pixel(line, 10, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(Pixel(line, 10, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_NE(Pixel(line, 10, 5), GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(StaticTest, OwnerDrawnStaticAsksItsParent) {
    std::vector<DRAWITEMSTRUCT> draws;
    wintest::Options options;
    options.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    options.handler = [&](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_DRAWITEM)
            draws.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return std::nullopt;
    };
    HWND parent = Create(options);
    HWND owner =
        CreateWindowExW(0, u"Static", u"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 0, 0, 40, 20, parent,
                        reinterpret_cast<HMENU>(static_cast<std::intptr_t>(9)), nullptr, nullptr);
    Pump();
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws.back().CtlType, ODT_STATIC);
    EXPECT_EQ(draws.back().CtlID, 9u);
    EXPECT_EQ(draws.back().hwndItem, owner);
    EXPECT_EQ(draws.back().rcItem.bottom, 20);
}

} // namespace
