// Panels, bevels, shapes and paint boxes: the client space inside a panel's bevels and what each paints.
#include "tests/platform/framework/controls_testing.h"

#include "platform/framework/ExtCtrls.h"
#include "platform/win32/wingdi.h"

namespace {

class ExtCtrls : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 300, 200);
        FForm->SetColor(clWhite);
    }
    void TearDown() override {
        FForm->Free();
        ControlsTest::TearDown();
    }
    void ShowForm() {
        FForm->Show();
        Pump();
    }
    // A pixel of a window's client area, as painted.
    static COLORREF PixelOf(HWND hwnd, int x, int y) {
        HDC dc = GetDC(hwnd);
        COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(hwnd, dc);
        return color;
    }

    TForm* FForm = nullptr;
};

TEST_F(ExtCtrls, PanelChildrenStayInsideBevelsAndBorder) {
    struct Case {
        const char* name;
        TPanelBevel outer;
        TPanelBevel inner;
        int bevelWidth;
        int borderWidth;
        int inset;
    };
    for (const Case& c :
         {Case{"default raised bevel", bvRaised, bvNone, 1, 0, 1}, Case{"no bevels", bvNone, bvNone, 1, 0, 0},
          Case{"both bevels, wide", bvLowered, bvRaised, 2, 0, 4},
          Case{"bevels and border", bvRaised, bvLowered, 1, 3, 5}}) {
        SCOPED_TRACE(c.name);
        auto* panel = new TPanel(FForm);
        panel->SetBounds(0, 0, 100, 60);
        panel->SetParent(FForm);
        auto* child = new TPanel(FForm);
        child->SetParent(panel);
        child->SetAlign(alClient);
        panel->SetBevelOuter(c.outer);
        panel->SetBevelInner(c.inner);
        panel->SetBevelWidth(c.bevelWidth);
        panel->SetBorderWidth(c.borderWidth);
        EXPECT_EQ(child->BoundsRect(), Rect(c.inset, c.inset, 100 - c.inset, 60 - c.inset));
        panel->Free();
    }
}

TEST_F(ExtCtrls, PanelPaintsItsBevelAroundItsColourAndCentresTheCaption) {
    auto* panel = new TPanel(FForm);
    panel->SetBounds(10, 10, 120, 40);
    panel->SetParent(FForm);
    panel->SetCaption(u"Ready");
    panel->Font()->SetColor(clBlack);
    EXPECT_EQ(panel->Color(), clBtnFace);
    ShowForm();
    HWND hwnd = panel->Handle();
    EXPECT_EQ(PixelOf(hwnd, 0, 0), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(PixelOf(hwnd, 119, 39), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelOf(hwnd, 3, 3), ColorToRGB(clBtnFace));
    // The caption's ink is in the middle third, none near the edges.
    auto inkIn = [&](int from, int to) {
        HDC dc = GetDC(hwnd);
        bool found = false;
        for (int x = from; x < to && !found; ++x)
            for (int y = 2; y < 38 && !found; ++y)
                found = GetPixel(dc, x, y) != ColorToRGB(clBtnFace);
        ReleaseDC(hwnd, dc);
        return found;
    };
    EXPECT_TRUE(inkIn(40, 80));
    EXPECT_FALSE(inkIn(2, 30));
    EXPECT_FALSE(inkIn(90, 118));

    panel->SetBevelOuter(bvLowered);
    Pump();
    EXPECT_EQ(PixelOf(hwnd, 0, 0), ColorToRGB(clBtnShadow));
    panel->SetBorderStyle(bsSingle);
    EXPECT_NE(GetWindowLongW(panel->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_LT(panel->ClientWidth(), panel->Width());
}

TEST_F(ExtCtrls, ShapeFillsWithItsBrushInsideItsPen) {
    struct Case {
        const char* name;
        TShapeType shape;
        bool cornerFilled; // the brush reaches a pixel near the top-left corner
    };
    for (const Case& c : {Case{"rectangle", stRectangle, true}, Case{"ellipse", stEllipse, false},
                          Case{"circle", stCircle, false}}) {
        SCOPED_TRACE(c.name);
        auto* shape = new TShape(FForm);
        shape->SetBounds(20, 20, 60, 40);
        shape->SetParent(FForm);
        shape->SetShape(c.shape);
        shape->Brush()->SetColor(clRed);
        shape->Pen()->SetColor(clBlue);
        ShowForm();
        HWND hwnd = FForm->Handle();
        EXPECT_EQ(PixelOf(hwnd, 50, 40), ColorToRGB(clRed)) << "the middle";
        EXPECT_EQ(PixelOf(hwnd, 22, 22) == ColorToRGB(clRed), c.cornerFilled);
        if (c.shape == stRectangle) {
            EXPECT_EQ(PixelOf(hwnd, 20, 20), ColorToRGB(clBlue));
            EXPECT_EQ(PixelOf(hwnd, 79, 59), ColorToRGB(clBlue));
            EXPECT_EQ(PixelOf(hwnd, 80, 60), ColorToRGB(clWhite)) << "nothing outside the bounds";
        }
        if (c.shape == stCircle) {
            EXPECT_EQ(PixelOf(hwnd, 25, 40), ColorToRGB(clWhite)) << "the circle is centred in the width";
        }
        shape->Free();
        Pump();
    }
}

TEST_F(ExtCtrls, PaintBoxAndBevelPaintOnTheirParent) {
    auto* box = new TPaintBox(FForm);
    box->SetBounds(10, 10, 50, 50);
    box->SetParent(FForm);
    int paints = 0;
    box->OnPaint = [&](TObject* sender) {
        ++paints;
        auto* self = static_cast<TPaintBox*>(sender);
        self->Canvas()->Brush()->SetColor(clGreen);
        self->Canvas()->FillRect(Rect(0, 0, 10, 10));
    };
    auto* bevel = new TBevel(FForm);
    bevel->SetBounds(100, 10, 40, 30);
    bevel->SetParent(FForm);
    ShowForm();
    HWND hwnd = FForm->Handle();
    EXPECT_GE(paints, 1);
    EXPECT_EQ(PixelOf(hwnd, 10, 10), ColorToRGB(clGreen)) << "the canvas origin is the box's corner";
    EXPECT_EQ(PixelOf(hwnd, 25, 25), ColorToRGB(clWhite));
    // A lowered box: shadow top-left, highlight bottom-right.
    EXPECT_EQ(PixelOf(hwnd, 100, 10), ColorToRGB(clBtnShadow));
    EXPECT_EQ(PixelOf(hwnd, 139, 39), ColorToRGB(clBtnHighlight));
    bevel->SetStyle(bsRaised);
    Pump();
    EXPECT_EQ(PixelOf(hwnd, 100, 10), ColorToRGB(clBtnHighlight));
}

} // namespace
