// System colours, edges and frame controls.
#include <algorithm>
#include <vector>

#include "platform/win32/windraw.h"
#include "tests/platform/win32/gdi_test.h"

using gdi_test::Canvas;
using gdi_test::Rows;

namespace {

TEST(GdiSysColor, DefaultSchemeAndItsBrushes) {
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(240, 240, 240));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(99), 0u);
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), face);
    EXPECT_EQ(GetSysColorBrush(25), nullptr);
    EXPECT_TRUE(DeleteObject(face));
    EXPECT_EQ(GetObjectType(face), OBJ_BRUSH) << "system brushes are not freed";
    // FillRect also takes a colour index plus one.
    Canvas c(2, 1);
    RECT r{0, 0, 2, 1};
    FillRect(c.dc(), &r, reinterpret_cast<HBRUSH>(static_cast<std::intptr_t>(COLOR_BTNSHADOW + 1)));
    EXPECT_EQ(c.At(1, 0), GetSysColor(COLOR_BTNSHADOW));
}

TEST(GdiEdge, RaisedAndSunkenEdgesShadeTheirSides) {
    Canvas c(6, 5);
    RECT r{0, 0, 6, 5};
    const std::map<COLORREF, char> legend = {{GetSysColor(COLOR_3DLIGHT), 'l'},
                                             {GetSysColor(COLOR_3DDKSHADOW), 'd'},
                                             {GetSysColor(COLOR_BTNHIGHLIGHT), 'h'},
                                             {GetSysColor(COLOR_BTNSHADOW), 's'},
                                             {GetSysColor(COLOR_BTNFACE), 'f'}};
    RECT inner = r;
    EXPECT_TRUE(DrawEdge(c.dc(), &inner, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST));
    // The dark sides own the corners they share with the light ones.
    EXPECT_EQ(c.Picture(legend), Rows({"llllld", "lhhhsd", "lhffsd", "lssssd", "dddddd"}));
    EXPECT_EQ(inner.left, 2);
    EXPECT_EQ(inner.right, 4);
    EXPECT_EQ(inner.bottom, 3);

    DrawEdge(c.dc(), &r, EDGE_SUNKEN, BF_RECT);
    EXPECT_EQ(c.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(c.At(1, 1), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(c.At(5, 4), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(c.At(4, 3), GetSysColor(COLOR_3DLIGHT));
}

// The arrows of scroll buttons are whole triangles: along the arrow each line of the glyph is one run of
// glyph pixels, two shorter than the one before and centred on it, with no face showing through its
// slanted sides; the up and down (and left and right) glyphs mirror each other.
TEST(GdiFrameControl, ScrollArrowsAreWholeTriangles) {
    struct Direction {
        const char* name;
        UINT kind;
        bool vertical; // pointing up or down: the glyph's lines are rows
    };
    const Direction directions[] = {{"up", DFCS_SCROLLUP, true},
                                    {"down", DFCS_SCROLLDOWN, true},
                                    {"left", DFCS_SCROLLLEFT, false},
                                    {"right", DFCS_SCROLLRIGHT, false}};
    for (int side : {13, 16, 17, 21}) {
        std::map<std::string, std::vector<int>> lengths;
        for (const Direction& d : directions) {
            SCOPED_TRACE(std::string(d.name) + " at " + std::to_string(side));
            Canvas c(side, side);
            RECT r{0, 0, side, side};
            ASSERT_TRUE(DrawFrameControl(c.dc(), &r, DFC_SCROLL, d.kind));
            COLORREF glyph = GetSysColor(COLOR_BTNTEXT);
            std::vector<int>& runs = lengths[d.name];
            for (int line = 0; line < side; ++line) {
                int first = -1, last = -1, count = 0;
                for (int i = 0; i < side; ++i) {
                    bool ink = d.vertical ? c.At(i, line) == glyph : c.At(line, i) == glyph;
                    if (!ink)
                        continue;
                    first = first < 0 ? i : first;
                    last = i;
                    ++count;
                }
                if (count == 0)
                    continue;
                EXPECT_EQ(count, last - first + 1) << "a gap in line " << line << ":\n" << c.Picture();
                EXPECT_EQ(count % 2, 1) << "line " << line << " is not centred:\n" << c.Picture();
                runs.push_back(count);
            }
            ASSERT_GE(runs.size(), 3u) << c.Picture();
            bool growing = d.kind == DFCS_SCROLLUP || d.kind == DFCS_SCROLLLEFT;
            for (size_t i = 1; i < runs.size(); ++i)
                EXPECT_EQ(runs[i], runs[i - 1] + (growing ? 2 : -2)) << c.Picture();
        }
        std::vector<int> up = lengths["up"], left = lengths["left"];
        std::reverse(up.begin(), up.end());
        std::reverse(left.begin(), left.end());
        EXPECT_EQ(up, lengths["down"]) << side;
        EXPECT_EQ(left, lengths["right"]) << side;
    }
}

TEST(GdiFrameControl, StatesDrawDifferently) {
    auto draw = [](UINT type, UINT state) {
        Canvas c(16, 16);
        RECT r{0, 0, 16, 16};
        EXPECT_TRUE(DrawFrameControl(c.dc(), &r, type, state));
        return c.Picture();
    };
    EXPECT_NE(draw(DFC_BUTTON, DFCS_BUTTONCHECK), draw(DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED));
    EXPECT_NE(draw(DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED),
              draw(DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE));
    EXPECT_NE(draw(DFC_BUTTON, DFCS_BUTTONRADIO), draw(DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED));
    EXPECT_NE(draw(DFC_BUTTON, DFCS_BUTTONPUSH), draw(DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED));
    EXPECT_NE(draw(DFC_BUTTON, DFCS_BUTTONPUSH), draw(DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_FLAT));
    EXPECT_NE(draw(DFC_SCROLL, DFCS_SCROLLUP), draw(DFC_SCROLL, DFCS_SCROLLDOWN));
    EXPECT_NE(draw(DFC_SCROLL, DFCS_SCROLLLEFT), draw(DFC_SCROLL, DFCS_SCROLLRIGHT));
    EXPECT_EQ(draw(DFC_SCROLL, DFCS_SCROLLCOMBOBOX), draw(DFC_SCROLL, DFCS_SCROLLDOWN));
    EXPECT_NE(draw(DFC_SCROLL, DFCS_SCROLLDOWN), draw(DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE));
    EXPECT_NE(draw(DFC_CAPTION, DFCS_CAPTIONCLOSE), draw(DFC_CAPTION, DFCS_CAPTIONMAX));
    EXPECT_NE(draw(DFC_CAPTION, DFCS_CAPTIONMIN), draw(DFC_CAPTION, DFCS_CAPTIONRESTORE));
    EXPECT_NE(draw(DFC_MENU, DFCS_MENUCHECK), draw(DFC_MENU, DFCS_MENUBULLET));
    // A check box is drawn in the left square of a wide rectangle.
    Canvas wide(40, 16);
    RECT r{0, 0, 40, 16};
    DrawFrameControl(wide.dc(), &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_EQ(wide.At(30, 8), RGB(255, 255, 255));
    EXPECT_EQ(wide.At(0, 0), GetSysColor(COLOR_BTNSHADOW));
    // The push button gives back its content rectangle.
    RECT adjust{0, 0, 20, 10};
    DrawFrameControl(wide.dc(), &adjust, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
    EXPECT_EQ(adjust.left, 2);
    EXPECT_EQ(adjust.bottom, 8);
    EXPECT_FALSE(DrawFrameControl(wide.dc(), &adjust, 99, 0));
}

} // namespace
