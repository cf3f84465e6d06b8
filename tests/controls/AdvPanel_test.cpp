// The caption panel's body, caption bar and status bar as they show, and its form description.
#include <set>
#include <string>

#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/Streams.h"
#include "render/CaptionHTML.h"
#include "tests/controls/PanelTesting.h"

namespace {

// A panel with no bevel, border or caption, so that its body shows alone.
TAdvPanel* PlainBody(TAdvPanel* panel, TColor color) {
    panel->SetBevelOuter(bvNone);
    panel->SetColor(color);
    return panel;
}

} // namespace

class PanelPaintTest : public PanelTest {
protected:
    // Pixels of one shot, so that scanning an area costs one paint.
    TColor ShotPixel(TControl* control, int x, int y) {
        if (!FShotTaken) {
            FShotColor = std::make_unique<TBitmap>();
            FShotColor->SetSize(FForm->ClientWidth(), FForm->ClientHeight());
            Pump();
            FForm->PaintTo(FShotColor->Canvas()->Handle(), 0, 0);
            FShotTaken = true;
        }
        TPoint p = FForm->ScreenToClient(control->ClientToScreen(TPoint(x, y)));
        return FShotColor->Canvas()->Pixels(p.X, p.Y);
    }
    void Reshoot() { FShotTaken = false; }
    // The bounding box of the pixels of one colour inside an area of a control's client rectangle.
    TRect Box(TControl* control, TRect area, TColor color) {
        TRect box(area.Right, area.Bottom, area.Left, area.Top);
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x)
                if (ShotPixel(control, x, y) == color) {
                    box.Left = std::min<LONG>(box.Left, x);
                    box.Top = std::min<LONG>(box.Top, y);
                    box.Right = std::max<LONG>(box.Right, x + 1);
                    box.Bottom = std::max<LONG>(box.Bottom, y + 1);
                }
        return box;
    }
    // The bounding box of the pixels that differ from the background (text is anti-aliased).
    TRect Ink(TControl* control, TRect area, TColor background) {
        TRect box(area.Right, area.Bottom, area.Left, area.Top);
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x)
                if (ShotPixel(control, x, y) != background) {
                    box.Left = std::min<LONG>(box.Left, x);
                    box.Top = std::min<LONG>(box.Top, y);
                    box.Right = std::max<LONG>(box.Right, x + 1);
                    box.Bottom = std::max<LONG>(box.Bottom, y + 1);
                }
        return box;
    }

    std::unique_ptr<TBitmap> FShotColor;
    bool FShotTaken = false;
};

TEST_F(PanelPaintTest, BodyFillsSolidWithoutColorToAndInAtMost32Bands) {
    TAdvPanel* solid = PlainBody(AddPanel(0, 0, 100, 100), clRed);
    TAdvPanel* gradient = PlainBody(AddPanel(120, 0, 300, 200), clBlack);
    gradient->SetColorTo(clWhite);
    ShowForm();
    EXPECT_EQ(ShotPixel(solid, 0, 0), clRed);
    EXPECT_EQ(ShotPixel(solid, 99, 99), clRed);

    std::set<TColor> bands;
    for (int y = 0; y < 200; ++y)
        bands.insert(ShotPixel(gradient, 150, y));
    EXPECT_EQ(bands.size(), 32u);
    EXPECT_EQ(ShotPixel(gradient, 150, 0), clBlack);
    // The last band stops one step short of the end colour: 31/32 of 255.
    EXPECT_EQ(ShotPixel(gradient, 150, 199), static_cast<TColor>(RGB(247, 247, 247)));
}

TEST_F(PanelPaintTest, MirrorGradientSplitsTheBodyAtItsMiddle) {
    TAdvPanel* panel = PlainBody(AddPanel(0, 0, 200, 200), clRed);
    panel->SetColorTo(clRed);
    panel->SetColorMirror(clBlue);
    panel->SetColorMirrorTo(clBlue);
    ShowForm();
    EXPECT_EQ(ShotPixel(panel, 100, 99), clRed);
    EXPECT_EQ(ShotPixel(panel, 100, 100), clBlue);
    Reshoot();
    panel->SetGradientDirection(AdvPanel::gdHorizontal);
    EXPECT_EQ(ShotPixel(panel, 99, 150), clRed);
    EXPECT_EQ(ShotPixel(panel, 100, 150), clBlue);
}

TEST_F(PanelPaintTest, BorderShadowDrawsTwoBlendedLinesOutsideTheSmallerBorder) {
    EXPECT_EQ(PanelBlendColor(clBlack, clWhite, 50), static_cast<TColor>(RGB(128, 128, 128)));
    EXPECT_EQ(PanelBlendColor(clBlack, clWhite, 20), static_cast<TColor>(RGB(204, 204, 204)));
    EXPECT_EQ(PanelBlendColor(clRed, clWhite, 100), clRed);

    TAdvPanel* panel = PlainBody(AddPanel(0, 0, 300, 200), clWhite);
    panel->SetBorderWidth(1);
    panel->SetBorderColor(clBlack);
    panel->SetBorderShadow(true);
    ShowForm();
    TColor half = PanelBlendColor(clBlack, clBtnFace, 50);
    TColor fifth = PanelBlendColor(clBlack, clBtnFace, 20);
    EXPECT_EQ(ShotPixel(panel, 0, 0), clBlack);
    EXPECT_EQ(ShotPixel(panel, 297, 100), clBlack); // the border ends 2 pixels early
    EXPECT_EQ(ShotPixel(panel, 150, 197), clBlack);
    EXPECT_EQ(ShotPixel(panel, 298, 100), half);
    EXPECT_EQ(ShotPixel(panel, 150, 198), half);
    EXPECT_EQ(ShotPixel(panel, 299, 100), fifth);
    EXPECT_EQ(ShotPixel(panel, 150, 199), fifth);
    EXPECT_EQ(ShotPixel(panel, 298, 0), clWhite); // the shadow starts a pixel below the top
    EXPECT_EQ(ShotPixel(panel, 299, 1), clWhite);
}

TEST_F(PanelPaintTest, ANoneBorderIsFramedInTheBodyColourInsideTheBevel) {
    TAdvPanel* panel = AddPanel(0, 0, 200, 200);
    panel->SetColor(clRed);
    panel->SetColorTo(clBlue);
    panel->SetBorderColor(clNone);
    ShowForm();
    EXPECT_EQ(ShotPixel(panel, 100, 198), clRed);
    EXPECT_NE(ShotPixel(panel, 100, 197), clRed);
    EXPECT_EQ(ShotPixel(panel, 100, 199), ColorToRGB(clBtnShadow));
}

TEST_F(PanelPaintTest, TallCentredTextStaysAtTheTop) {
    String text = u"First line<br>Second line<br>Third line<br>Fourth line<br>Fifth line";
    TAdvPanel* top = PlainBody(AddPanel(0, 0, 120, 40), clWhite);
    TAdvPanel* centred = PlainBody(AddPanel(140, 0, 120, 40), clWhite);
    TAdvPanel* shortCentred = PlainBody(AddPanel(280, 0, 120, 40), clWhite);
    top->SetText(text);
    centred->SetText(text);
    centred->SetTextVAlign(tvaCenter);
    shortCentred->SetText(u"First line");
    shortCentred->SetTextVAlign(tvaCenter);
    ShowForm();
    TRect area(0, 0, 120, 40);
    TRect topInk = Ink(top, area, clWhite);
    ASSERT_LT(topInk.Top, topInk.Bottom);
    EXPECT_EQ(Ink(centred, area, clWhite), topInk);
    EXPECT_GT(Ink(shortCentred, area, clWhite).Top, topInk.Top + 5);
}

TEST_F(PanelPaintTest, CollapsedPlainCaptionShowsCloseColourAndAGradientStays) {
    TAdvPanel* plain = AddPanel(0, 0, 200, 100);
    TAdvPanel* gradient = AddPanel(220, 0, 200, 100);
    for (TAdvPanel* panel : {plain, gradient}) {
        panel->SetBevelOuter(bvNone);
        panel->Caption()->SetVisible(true);
        panel->Caption()->SetColor(clBlue);
        panel->Caption()->SetCloseColor(clYellow);
    }
    gradient->Caption()->SetColorTo(clBlue);
    ShowForm();
    EXPECT_EQ(ShotPixel(plain, 100, 5), clBlue);
    plain->SetCollaps(true);
    gradient->SetCollaps(true);
    Reshoot();
    EXPECT_EQ(plain->Height(), 18);
    EXPECT_EQ(ShotPixel(plain, 100, 5), clYellow);
    EXPECT_EQ(ShotPixel(gradient, 100, 5), clBlue);
}

TEST_F(PanelPaintTest, TopCaptionButtonsAtTheRightAndTheTextBeforeThem) {
    TAdvPanel* panel = AddPanel(0, 0, 300, 100);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(clWhite);
    TPanelCaption* caption = panel->Caption();
    caption->SetVisible(true);
    caption->SetColor(clBlue);
    caption->SetCloseButton(true);
    caption->SetMinMaxButton(true);
    caption->SetCloseButtonColor(clLime);
    caption->SetMinMaxButtonColor(clRed);
    caption->Font()->SetColor(clWhite);
    caption->SetText(String(60, u'W'));
    ShowForm();
    // The cross's strokes run from with a 2-pixel pen; the triangle spans R-22..R-16 and
    // points up while expanded.
    EXPECT_EQ(Box(panel, TRect(260, 0, 300, 20), clLime), TRect(290, 4, 297, 11));
    TRect triangle = Box(panel, TRect(260, 0, 300, 20), clRed);
    EXPECT_EQ(triangle.Left, 278);
    EXPECT_EQ(triangle.Right, 285);
    EXPECT_EQ(triangle.Top, 5);
    // The text area ends 40 pixels before the edge the close button left: 288 - 40.
    // The strip is the caption's height less twice the bevel width.
    TRect text = Ink(panel, TRect(0, 0, 277, 18), clBlue);
    EXPECT_LE(text.Right, 248);
    EXPECT_GT(text.Right, 200);
}

TEST_F(PanelPaintTest, ALoneCloseGlyphIsIgnored) {
    TAdvPanel* panel = AddPanel(0, 0, 300, 100);
    panel->SetBevelOuter(bvNone);
    panel->Caption()->SetVisible(true);
    panel->Caption()->SetCloseButton(true);
    panel->Caption()->SetCloseButtonColor(clLime);
    TBitmap glyph;
    glyph.SetSize(12, 12);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(TRect(0, 0, 12, 12));
    panel->Caption()->SetCloseMinGlyph(&glyph);
    ShowForm();
    EXPECT_EQ(ShotPixel(panel, 292, 6), clLime);
}

TEST_F(PanelPaintTest, AnXPCaptionUnderVisualStylesShowsTheWindowButtons) {
    for (bool themed : {false, true}) {
        UseThemes(themed);
        TAdvPanel* panel = AddPanel(0, themed ? 120 : 0, 300, 100);
        panel->SetBevelOuter(bvNone);
        panel->Caption()->SetVisible(true);
        panel->Caption()->SetShadeType(AdvPanel::stXPCaption);
        panel->Caption()->SetCloseButton(true);
        panel->Caption()->SetCloseButtonColor(clLime);
        ShowForm();
        Reshoot();
        // The drawn cross without visual styles; the style's own close button with them.
        EXPECT_EQ(Box(panel, TRect(280, 0, 300, 20), clLime).Left < 300, !themed) << themed;
    }
}

TEST_F(PanelPaintTest, SideCaptionTextsRunAlongTheBar) {
    TAdvPanel* left = AddPanel(0, 0, 150, 250);
    TAdvPanel* right = AddPanel(200, 0, 150, 250);
    for (TAdvPanel* panel : {left, right}) {
        panel->SetBevelOuter(bvNone);
        panel->SetColor(clWhite);
        panel->Caption()->SetVisible(true);
        panel->Caption()->SetColor(clBlue);
        panel->Caption()->Font()->SetColor(clWhite);
        panel->Caption()->SetText(u"<b>Module</b> panel");
    }
    left->Caption()->SetPosition(AdvPanel::cpLeft);
    right->Caption()->SetPosition(AdvPanel::cpRight);
    ShowForm();
    TRect leftInk = Ink(left, TRect(0, 0, 18, 250), clBlue);
    TRect rightInk = Ink(right, TRect(130, 0, 150, 250), clBlue);
    ASSERT_LT(leftInk.Top, leftInk.Bottom);
    ASSERT_LT(rightInk.Top, rightInk.Bottom);
    EXPECT_GT(leftInk.Height(), 3 * leftInk.Width());
    EXPECT_GT(rightInk.Height(), 3 * rightInk.Width());
    // Upwards from the bottom of the left bar; downwards from the top of the right one.
    EXPECT_GT(leftInk.Top, 125);
    EXPECT_LT(rightInk.Bottom, 125);
}

TEST_F(PanelPaintTest, SizeGripOnlyWhileExpandedAndSizeable) {
    TAdvPanel* sizeable = PlainBody(AddPanel(0, 0, 150, 100), clWhite);
    TAdvPanel* fixed = PlainBody(AddPanel(200, 0, 150, 100), clWhite);
    sizeable->SetCanSize(true);
    ShowForm();
    TRect corner(135, 85, 150, 100);
    EXPECT_LT(Box(sizeable, corner, clGray).Left, 150);
    EXPECT_EQ(Box(fixed, corner, clGray).Left, 150);
}

TEST_F(PanelPaintTest, StatusBarFillsItsStripWithText) {
    TAdvPanel* panel = PlainBody(AddPanel(0, 0, 200, 100), clWhite);
    panel->StatusBar()->SetVisible(true);
    panel->StatusBar()->SetColor(clYellow);
    panel->StatusBar()->Font()->SetColor(clBlack);
    panel->StatusBar()->SetText(u"Ready");
    ShowForm();
    EXPECT_EQ(ShotPixel(panel, 190, 85), clYellow);
    EXPECT_EQ(ShotPixel(panel, 190, 70), clWhite);
    EXPECT_LT(Ink(panel, TRect(0, 81, 100, 99), clYellow).Left, 100);
}

namespace {

// A flat rectangular shaded caption on a bare body: the header shows one pixel in from the strip's
// edges, so strip pixel (x + 1, y + 1) is header pixel (x, y).
TAdvPanel* Shaded(TAdvPanel* panel, AdvPanel::TShadeType type) {
    PlainBody(panel, clYellow);
    TPanelCaption* caption = panel->Caption();
    caption->SetVisible(true);
    caption->SetColor(clWhite);
    caption->SetShadeLight(255);
    caption->SetFlat(true);
    caption->SetShadeType(type);
    return panel;
}

Integer Grey(TColor color) {
    COLORREF c = ColorToRGB(color);
    EXPECT_EQ(GetRValue(c), GetBValue(c));
    return GetRValue(c);
}

// Counts how often the header is built.
class TCountingPanel : public TAdvPanel {
public:
    using TAdvPanel::TAdvPanel;
    void BuildShadedHeader() override {
        ++builds;
        TAdvPanel::BuildShadedHeader();
    }
    int builds = 0;
};

} // namespace

TEST_F(PanelPaintTest, ComputedShadingsFollowTheirFormulas) {
    // The header is 100 x 20; L is 255 and the caption white, so the grey level is v itself.
    TAdvPanel* h = Shaded(AddPanel(0, 0, 100, 60), AdvPanel::stHShade);
    TAdvPanel* hInv = Shaded(AddPanel(120, 0, 100, 60), AdvPanel::stHShadeInv);
    TAdvPanel* v = Shaded(AddPanel(240, 0, 100, 60), AdvPanel::stVShade);
    ShowForm();
    auto hShade = [](Integer x) { return 255 - ((100 - x) * 239 / 100 + 8) / 2; };
    EXPECT_EQ(Grey(ShotPixel(h, 1, 5)), 255 - 123); // darkest at the left
    EXPECT_EQ(Grey(ShotPixel(h, 51, 5)), hShade(50));
    EXPECT_EQ(Grey(ShotPixel(h, 98, 5)), hShade(97));
    EXPECT_EQ(Grey(ShotPixel(hInv, 1, 5)), hShade(100)); // the mirror: lightest at the left
    EXPECT_EQ(Grey(ShotPixel(hInv, 98, 5)), hShade(3));
    EXPECT_EQ(Grey(ShotPixel(v, 50, 1)), 253); // top row
    EXPECT_EQ(Grey(ShotPixel(v, 50, 10)), 255 - (9 * 239 / 20 + 8) / 4);
    // The body shows around the clipped header.
    EXPECT_EQ(ShotPixel(h, 50, 40), clYellow);
}

TEST_F(PanelPaintTest, RoundedCaptionsAreOutlinedLightAboveAndDarkBelow) {
    TAdvPanel* panel = Shaded(AddPanel(0, 0, 200, 60), AdvPanel::stVShade);
    panel->Caption()->SetShape(AdvPanel::csRounded);
    panel->Caption()->SetHeight(30);
    ShowForm();
    // The strip is 28 high: the base line runs from 16 to 200 - 16 on row 27.
    EXPECT_EQ(ShotPixel(panel, 100, 27), clGray);
    EXPECT_EQ(ShotPixel(panel, 17, 27), clGray);
    EXPECT_NE(ShotPixel(panel, 8, 27), clGray);
    EXPECT_EQ(ShotPixel(panel, 100, 0), clWhite);
    // The rounded corner leaves the body showing.
    EXPECT_EQ(ShotPixel(panel, 0, 0), clYellow);
}

TEST_F(PanelPaintTest, BitmapCaptionsWithoutABitmapPaintNothingAndTinyHeadersBuild) {
    TAdvPanel* panel = Shaded(AddPanel(0, 0, 200, 60), AdvPanel::stBitmap);
    ShowForm();
    EXPECT_EQ(ShotPixel(panel, 100, 5), clYellow);

    // Headers narrower than 6 pixels, lower than 2 or square divide by nothing.
    TAdvPanel* tiny = AddPanel(0, 80, 3, 40);
    for (auto size : {TPoint(3, 1), TPoint(1, 1), TPoint(20, 20), TPoint(0, 0), TPoint(5, 12)}) {
        tiny->SetWidth(size.X);
        tiny->Caption()->SetHeight(size.Y);
        for (int type = AdvPanel::stNoise; type <= AdvPanel::stVShadeInv; ++type) {
            tiny->Caption()->SetShadeType(static_cast<AdvPanel::TShadeType>(type));
            tiny->BuildShadedHeader();
        }
    }
}

TEST_F(PanelPaintTest, TheHeaderIsBuiltOnChangesNotOnPaints) {
    auto* panel = Add<TCountingPanel>(0, 0, 150, 60);
    Shaded(panel, AdvPanel::stNoise);
    ShowForm();
    panel->builds = 0;
    for (int i = 0; i < 3; ++i) {
        panel->Repaint();
        Pump();
    }
    EXPECT_EQ(panel->builds, 0);
    panel->Caption()->SetShadeGrain(64);
    EXPECT_EQ(panel->builds, 1);
    panel->SetWidth(180);
    Pump();
    EXPECT_GE(panel->builds, 2);
}

TEST(PanelProperties, VersionRawTextAndScaling) {
    TPanel parent(nullptr);
    TAdvPanel panel(nullptr);
    panel.SetParent(&parent);
    EXPECT_EQ(panel.Version(), u"2.3.0.7");
    panel.SetVersion(u"9.9");
    EXPECT_EQ(panel.Version(), u"2.3.0.7");
    panel.SetText(u"<b>Port</b> open<z> hidden</z>");
    EXPECT_EQ(panel.RawText(), u"Port open");
    panel.Caption()->Font()->SetSize(8);
    parent.ScaleBy(3, 2);
    EXPECT_EQ(panel.Caption()->Height(), 30);
    EXPECT_EQ(panel.Caption()->Font()->Size(), 12);
}

TEST(PanelProperties, AssignKeepsWidthAndCollapsedStateAndRejectsOtherClasses) {
    TAdvPanel source(nullptr), target(nullptr);
    source.SetBounds(0, 0, 120, 90);
    source.SetText(u"copied");
    source.SetColorTo(clRed);
    source.Caption()->SetColor(clGreen);
    target.SetCollaps(true);
    target.Assign(&source);
    EXPECT_EQ(target.Text(), u"copied");
    EXPECT_EQ(target.ColorTo(), clRed);
    EXPECT_EQ(target.Caption()->Color(), clGreen);
    EXPECT_EQ(target.Height(), 90);
    EXPECT_EQ(target.Width(), 300);
    EXPECT_TRUE(target.Collaps());
    TPanelStatusBar other;
    EXPECT_THROW(target.Assign(&other), EInvalidCast);
}

TEST(PanelProperties, OfficeHintOfTheCaptionAboveItsEdge) {
    TAdvPanel panel(nullptr);
    panel.Caption()->SetVisible(true);
    panel.OfficeHint()->SetTitle(u"body");
    IQELOfficeHint* hints = &panel;
    EXPECT_EQ(hints->HintInfoAtPoint(TPoint(5, 5)), panel.OfficeHint()); // the caption's is empty
    panel.Caption()->OfficeHint()->SetTitle(u"caption");
    EXPECT_EQ(hints->HintInfoAtPoint(TPoint(5, 5)), panel.Caption()->OfficeHint());
    EXPECT_EQ(hints->HintInfoAtPoint(TPoint(5, 20)), panel.OfficeHint());
    panel.Caption()->SetVisible(false);
    EXPECT_EQ(hints->HintInfoAtPoint(TPoint(5, 5)), panel.OfficeHint());
}

namespace {
std::string TextOf(TComponent* component) {
    TMemoryStream binary, text;
    WriteComponent(binary, component);
    binary.SetPosition(0);
    ObjectBinaryToText(binary, text);
    std::string result(static_cast<const char*>(text.Memory()), static_cast<std::size_t>(text.Size()));
    std::erase(result, '\r');
    return result;
}
} // namespace

TEST(PanelStreaming, AFormDescriptionRoundTripsWithFullHeightAndBothCaptionColours) {
    AdvPanelUnitStartup();
    TComponent root(nullptr);
    auto* panel = new TAdvPanel(&root);
    panel->SetName(u"ModulePanel");
    panel->SetBounds(8, 8, 250, 160);
    panel->Caption()->SetVisible(true);
    panel->Caption()->SetText(u"Module 1");
    panel->SetText(u"idle");
    panel->SetCollaps(true);
    std::string text = TextOf(panel);
    EXPECT_NE(text.find("FullHeight = 160"), std::string::npos) << text;
    EXPECT_NE(text.find("Caption.Color = clHighlight"), std::string::npos) << text;
    EXPECT_NE(text.find("Caption.ColorTo = clNone"), std::string::npos) << text;
    EXPECT_NE(text.find("Collaps = True"), std::string::npos) << text;

    // A panel that keeps its defaults still writes its expanded size.
    TAdvPanel plain(nullptr);
    EXPECT_NE(TextOf(&plain).find("FullHeight = 200"), std::string::npos);

    TMemoryStream binary;
    WriteComponent(binary, panel);
    binary.SetPosition(0);
    TComponent other(nullptr);
    auto* copy = new TAdvPanel(&other);
    ReadComponent(binary, copy);
    EXPECT_EQ(copy->Caption()->Text(), u"Module 1");
    EXPECT_EQ(copy->Caption()->Color(), clHighlight);
    EXPECT_EQ(copy->Caption()->ColorTo(), clNone);
    EXPECT_TRUE(copy->Caption()->Visible());
    EXPECT_TRUE(copy->Collaps());
    EXPECT_EQ(copy->FullHeight(), 160);
    EXPECT_EQ(copy->Height(), panel->Height());
    copy->SetCollaps(false);
    EXPECT_EQ(copy->Height(), 160);
}
