// Painting of windowed controls: double buffering (painted through a bitmap, the window's own erase
// skipped), PaintTo drawing a control with its children into another DC, ScaleBy, and the colours a
// system window class gets from its control.
#include "tests/platform/framework/controls_testing.h"

#include "platform/framework/StdEdit.h"
#include "platform/win32/uxtheme.h"

namespace {

// A panel that notes the DC its Paint was given.
class TPaintProbe : public TCtlPanel {
public:
    using TCtlPanel::TCtlPanel;
    bool painted = false;
    HWND paintedWindow = nullptr; // the window of the DC Paint was given

protected:
    void Paint() override {
        painted = true;
        paintedWindow = WindowFromDC(Canvas()->Handle());
        TCtlPanel::Paint();
    }
};

// A window that shows its parent's picture beneath it instead of a background of its own: through the
// visual-styles call, or by moving its DC's window origin and sending the parent the erase and paint
// messages itself.
class TGlass : public TCustomControl {
public:
    explicit TGlass(TComponent* owner) : TCustomControl(owner) {}
    bool themed = true;

protected:
    void Paint() override {
        HDC dc = Canvas()->Handle();
        if (themed) {
            DrawThemeParentBackground(Handle(), dc, nullptr);
            return;
        }
        int saved = SaveDC(dc);
        POINT origin;
        GetWindowOrgEx(dc, &origin);
        SetWindowOrgEx(dc, origin.x + Left(), origin.y + Top(), nullptr);
        Parent()->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        Parent()->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RestoreDC(dc, saved);
    }
};

class ControlsPaint : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        form = new TForm(nullptr, 0);
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 200, 150);
        form->SetColor(clWhite);
        panel = new TPaintProbe(form);
        panel->SetBounds(10, 10, 100, 80);
        panel->SetColor(clBlue);
        panel->SetParent(form);
        shape = new TCtlShape(form);
        shape->SetBounds(5, 5, 20, 20);
        shape->SetParent(panel);
        inner = new TCtlPanel(form);
        inner->SetBounds(50, 40, 30, 30);
        inner->SetColor(clLime);
        inner->SetParent(panel);
    }
    // A pixel of what the window shows.
    static COLORREF Shown(TWinControl* control, int x, int y) {
        HDC dc = GetDC(control->Handle());
        COLORREF color = GetPixel(dc, x, y);
        ReleaseDC(control->Handle(), dc);
        return color;
    }

    TForm* form = nullptr;
    TPaintProbe* panel = nullptr;
    TCtlShape* shape = nullptr;
    TCtlPanel* inner = nullptr;
};

TEST_F(ControlsPaint, ADoubleBufferedWindowPaintsThroughABitmapWithItsGraphicChildren) {
    for (bool doubleBuffered : {false, true}) {
        SCOPED_TRACE(doubleBuffered ? "double buffered" : "direct");
        panel->SetDoubleBuffered(doubleBuffered);
        form->Show();
        panel->Repaint();
        Pump();
        ASSERT_TRUE(panel->painted);
        // Straight into the window, or into a bitmap that belongs to no window.
        EXPECT_EQ(panel->paintedWindow, doubleBuffered ? nullptr : panel->Handle());
        EXPECT_EQ(Shown(panel, 1, 1), static_cast<COLORREF>(ColorToRGB(clBlue)));
        EXPECT_EQ(Shown(panel, 10, 10), static_cast<COLORREF>(ColorToRGB(clRed)));
        EXPECT_EQ(Shown(inner, 2, 2), static_cast<COLORREF>(ColorToRGB(clLime)));

        // The erase the window manager asks for fills the window only without double buffering; the
        // bitmap is erased when the paint comes.
        TBitmap target;
        target.SetSize(4, 4);
        target.Canvas()->Brush()->SetColor(clYellow);
        target.Canvas()->FillRect(Rect(0, 0, 4, 4));
        panel->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(target.Canvas()->Handle()), 0);
        EXPECT_EQ(target.Canvas()->Pixels(1, 1), doubleBuffered ? clYellow : panel->Brush()->Color());
        form->Hide();
    }
}

TEST_F(ControlsPaint, PaintToDrawsTheControlAndItsChildrenAtAPoint) {
    form->Show();
    Pump();
    TBitmap target;
    target.SetSize(130, 100);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(Rect(0, 0, 130, 100));
    panel->PaintTo(target.Canvas()->Handle(), 20, 10);
    struct Probe {
        const char* name;
        int x;
        int y;
        TColor color;
    };
    for (const Probe& p : {Probe{"left of the panel", 19, 10, clWhite}, Probe{"panel corner", 20, 10, clBlue},
                           Probe{"graphic child", 20 + 5, 10 + 5, clRed},
                           Probe{"graphic child's far corner", 20 + 24, 10 + 24, clRed},
                           Probe{"window child", 20 + 50, 10 + 40, clLime},
                           Probe{"panel's far corner", 20 + 99, 10 + 79, clBlue},
                           Probe{"past the panel", 20 + 100, 10 + 80, clWhite}}) {
        SCOPED_TRACE(p.name);
        EXPECT_EQ(target.Canvas()->Pixels(p.x, p.y), p.color);
    }
    // A hidden child is left out.
    inner->Hide();
    target.Canvas()->FillRect(Rect(0, 0, 130, 100));
    panel->PaintTo(target.Canvas()->Handle(), 0, 0);
    EXPECT_EQ(target.Canvas()->Pixels(55, 45), clBlue);
}

TEST_F(ControlsPaint, AChildShowsItsParentsPictureWithTheGraphicChildrenBeneathIt) {
    // The glass covers the red shape at (5,5)-(25,25) of the blue panel and some plain panel.
    auto* glass = new TGlass(form);
    glass->SetBounds(15, 15, 30, 30);
    glass->SetParent(panel);
    form->Show();
    Pump();
    for (bool themed : {true, false}) {
        SCOPED_TRACE(themed ? "visual-styles call" : "erase and paint messages");
        glass->themed = themed;
        glass->Repaint();
        EXPECT_EQ(Shown(glass, 2, 2), static_cast<COLORREF>(ColorToRGB(clRed)));
        EXPECT_EQ(Shown(glass, 9, 9), static_cast<COLORREF>(ColorToRGB(clRed)));
        EXPECT_EQ(Shown(glass, 10, 10), static_cast<COLORREF>(ColorToRGB(clBlue)));
        EXPECT_EQ(Shown(glass, 29, 29), static_cast<COLORREF>(ColorToRGB(clBlue)));
    }
    // A hidden parent asked to draw only when visible (PRF_CHECKVISIBLE) draws nothing.
    TBitmap target;
    target.SetSize(4, 4);
    target.Canvas()->Brush()->SetColor(clYellow);
    target.Canvas()->FillRect(Rect(0, 0, 4, 4));
    panel->Hide();
    panel->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.Canvas()->Handle()), 0x4 | 0x1);
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clYellow);
    panel->Perform(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target.Canvas()->Handle()), 0x4);
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clBlue);
}

TEST_F(ControlsPaint, ScaleByScalesTheSizeAndTheChildrenButNotThePosition) {
    panel->SetBounds(10, 10, 101, 81);
    shape->SetBounds(5, 5, 21, 21);
    shape->Font()->SetSize(9);
    inner->SetBounds(25, 40, 31, 30);
    panel->ScaleBy(3, 2);
    EXPECT_EQ(panel->BoundsRect(), Rect(10, 10, 10 + 152, 10 + 122));
    // Children scale by their edges, rounded, so that adjoining controls stay adjoining.
    EXPECT_EQ(shape->BoundsRect(), Rect(8, 8, 39, 39));
    EXPECT_EQ(inner->BoundsRect(), Rect(38, 60, 84, 105));
    EXPECT_EQ(shape->Font()->Size(), 14);
    // Scaling back returns to the start.
    panel->ScaleBy(2, 3);
    EXPECT_EQ(panel->BoundsRect(), Rect(10, 10, 111, 91));
    EXPECT_EQ(inner->BoundsRect(), Rect(25, 40, 56, 70));
}

TEST_F(ControlsPaint, ASystemClassControlGetsItsColoursFromItsFontAndColor) {
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetColor(clYellow);
    edit->Font()->SetColor(clMaroon);
    form->Show();
    Pump();
    struct Case {
        const char* name;
        UINT msg;
    };
    for (const Case& c : {Case{"edit", WM_CTLCOLOREDIT}, Case{"static", WM_CTLCOLORSTATIC},
                          Case{"list box", WM_CTLCOLORLISTBOX}}) {
        SCOPED_TRACE(c.name);
        TBitmap target;
        target.SetSize(2, 2);
        HDC dc = target.Canvas()->Handle();
        // The window class asks its parent, which hands the question back to the control.
        LRESULT brush = SendMessageW(form->Handle(), c.msg, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(edit->Handle()));
        EXPECT_EQ(brush, reinterpret_cast<LRESULT>(edit->Brush()->Handle()));
        EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(ColorToRGB(clMaroon)));
        EXPECT_EQ(GetBkColor(dc), static_cast<COLORREF>(ColorToRGB(clYellow)));
    }
}

} // namespace
