// Glyph buttons: the layout of glyph and caption, the glyph image each state draws, grouped speed
// buttons clicked by the mouse, and bit buttons of the standard kinds.
#include "tests/platform/framework/controls_testing.h"

#include "platform/framework/Buttons.h"
#include "platform/rtl/UString.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/winbutton.h"
#include "platform/win32/wininput.h"

namespace {

class ButtonsTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 400, 300);
    }
    void TearDown() override {
        FForm->Free();
        ControlsTest::TearDown();
    }

    TSpeedButton* AddSpeedButton(const char16_t* name, int left) {
        auto* button = new TSpeedButton(FForm);
        button->SetName(name);
        button->SetBounds(left, 10, 30, 30);
        button->SetParent(FForm);
        button->OnClick = [](TObject* sender) {
            ControlsLog().push_back(StringToUtf8(static_cast<TComponent*>(sender)->Name()));
        };
        return button;
    }
    static TPoint Centre(TControl* control) {
        return control->ClientToScreen(TPoint(control->Width() / 2, control->Height() / 2));
    }
    static void ClickOn(TControl* control) {
        TPoint centre = Centre(control);
        win32::input::Click(win32::input::Button::Left, centre.X, centre.Y);
        Pump();
    }

    TForm* FForm = nullptr;
};

TEST(ButtonLayout, GlyphAndCaptionPlacedByLayoutMarginAndSpacing) {
    struct Case {
        const char* name;
        TButtonLayout layout;
        int margin;
        int spacing;
        TSize glyph;
        TPoint offset;
        TPoint glyphPos;
        TRect text;
    };
    const TRect client(0, 0, 100, 30);
    const TSize text{40, 13};
    const Case cases[] = {
        {"left, pair centred", blGlyphLeft, -1, 4, {16, 16}, {0, 0}, {20, 7}, {40, 9, 80, 22}},
        {"left, pressed", blGlyphLeft, -1, 4, {16, 16}, {1, 1}, {21, 8}, {41, 10, 81, 23}},
        {"right, margin 5", blGlyphRight, 5, 4, {16, 16}, {0, 0}, {79, 7}, {35, 9, 75, 22}},
        {"top, all shared", blGlyphTop, -1, -1, {16, 16}, {0, 0}, {42, 0}, {30, 16, 70, 29}},
        {"bottom, spacing shared", blGlyphBottom, 2, -1, {16, 16}, {0, 0}, {42, 12}, {30, -1, 70, 12}},
        {"no glyph: no spacing", blGlyphLeft, -1, 4, {0, 0}, {0, 0}, {30, 15}, {30, 9, 70, 22}},
    };
    for (const Case& c : cases) {
        TButtonLayoutResult result =
            CalcButtonLayout(client, c.offset, c.glyph, text, c.layout, c.margin, c.spacing);
        EXPECT_EQ(result.glyphPos, c.glyphPos) << c.name;
        EXPECT_EQ(result.textBounds, c.text) << c.name;
    }
}

TEST(ButtonGlyph, EachStateDrawsItsImageOverTheTarget) {
    // Two 4x4 images on an olive background: red for up, blue for disabled.
    TBitmap glyph(8, 4);
    glyph.Canvas()->Brush()->SetColor(clOlive);
    glyph.Canvas()->FillRect(TRect(0, 0, 8, 4));
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(TRect(1, 1, 3, 3));
    glyph.Canvas()->Brush()->SetColor(clBlue);
    glyph.Canvas()->FillRect(TRect(5, 1, 7, 3));
    TButtonGlyph button;
    button.SetGlyph(&glyph);
    EXPECT_EQ(button.NumGlyphs(), 2); // two square images side by side
    EXPECT_EQ(button.ImageSize(), (TSize{4, 4}));

    struct Case {
        TButtonState state;
        int numGlyphs;
        TColor inside;
    };
    const Case cases[] = {
        {bsUp, 2, clRed},
        {bsDisabled, 2, clBlue},
        {bsDown, 2, clRed}, // no pressed image: the up one
        {bsExclusive, 2, clRed},
        {bsDisabled, 1,
         static_cast<TColor>(ColorToRGB(clBtnShadow))}, // no disabled image: the up one embossed
    };
    for (const Case& c : cases) {
        button.SetNumGlyphs(c.numGlyphs);
        TBitmap target(4, 4);
        target.Canvas()->Brush()->SetColor(clWhite);
        target.Canvas()->FillRect(TRect(0, 0, 4, 4));
        button.Draw(target.Canvas(), TPoint(0, 0), c.state, true);
        EXPECT_EQ(target.Canvas()->Pixels(1, 1), c.inside) << "state " << c.state << " of " << c.numGlyphs;
        // The background colour is transparent.
        EXPECT_EQ(target.Canvas()->Pixels(0, 0), clWhite) << "state " << c.state;
    }
}

TEST_F(ButtonsTest, GroupedSpeedButtonsReleaseEachOther) {
    TSpeedButton* bold = AddSpeedButton(u"Bold", 10);
    TSpeedButton* italic = AddSpeedButton(u"Italic", 50);
    TSpeedButton* plain = AddSpeedButton(u"Plain", 90);
    for (TSpeedButton* button : {bold, italic})
        button->SetGroupIndex(1);
    FForm->Show();
    Pump();

    ClickOn(bold);
    EXPECT_TRUE(bold->Down());
    ClickOn(italic);
    EXPECT_TRUE(italic->Down());
    EXPECT_FALSE(bold->Down());
    // Without AllowAllUp the down button of a group stays down.
    ClickOn(italic);
    EXPECT_TRUE(italic->Down());
    italic->SetAllowAllUp(true);
    EXPECT_TRUE(bold->AllowAllUp()); // the group shares it
    ClickOn(italic);
    EXPECT_FALSE(italic->Down());
    // A button of no group never stays down.
    plain->SetDown(true);
    EXPECT_FALSE(plain->Down());
    ClickOn(plain);
    EXPECT_FALSE(plain->Down());
    EXPECT_EQ(plain->State(), bsUp);
    EXPECT_EQ(ControlsLog(), (std::vector<std::string>{"Bold", "Italic", "Italic", "Italic", "Plain"}));

    // Setting Down in code lets the others of the group up, without a click.
    ControlsLog().clear();
    bold->SetDown(true);
    italic->SetDown(true);
    EXPECT_FALSE(bold->Down());
    EXPECT_TRUE(ControlsLog().empty());
}

TEST_F(ButtonsTest, SpeedButtonReleasedOutsideDoesNotClick) {
    TSpeedButton* button = AddSpeedButton(u"Go", 10);
    FForm->Show();
    Pump();
    TPoint centre = Centre(button);
    win32::input::MouseButton(win32::input::Button::Left, true, centre.X, centre.Y);
    Pump();
    EXPECT_EQ(button->State(), bsDown);
    win32::input::MouseMove(centre.X + 100, centre.Y);
    Pump();
    EXPECT_EQ(button->State(), bsUp);
    win32::input::MouseButton(win32::input::Button::Left, false, centre.X + 100, centre.Y);
    Pump();
    EXPECT_TRUE(ControlsLog().empty());
    EXPECT_EQ(button->State(), bsUp);
}

TEST_F(ButtonsTest, SpeedButtonPaintsCaptionBesideItsGlyph) {
    TSpeedButton* button = AddSpeedButton(u"Go", 10);
    button->SetWidth(100);
    TBitmap glyph(16, 16);
    glyph.Canvas()->Brush()->SetColor(clRed);
    glyph.Canvas()->FillRect(TRect(0, 0, 16, 16));
    button->SetGlyph(&glyph);
    button->SetCaption(u"Text");
    FForm->Show();
    Pump();
    FForm->Repaint();
    TRect text = button->TextBounds();
    EXPECT_FALSE(text.IsEmpty());
    // The glyph (16 wide) and 4 pixels of spacing come before the caption.
    TButtonLayoutResult layout = CalcButtonLayout(TRect(1, 1, 99, 29), TPoint(0, 0), TSize{16, 16},
                                                  TSize{text.Width(), text.Height()}, blGlyphLeft, -1, 4);
    EXPECT_EQ(text, layout.textBounds);
    EXPECT_EQ(text.Left, layout.glyphPos.X + 16 + 4);
}

TEST_F(ButtonsTest, FlatSpeedButtonShowsItsFrameOnlyUnderTheMouseThemedAndClassic) {
    TSpeedButton* flat = AddSpeedButton(u"Flat", 10);
    flat->SetFlat(true);
    TSpeedButton* raised = AddSpeedButton(u"Raised", 50);
    FForm->Show();
    Pump();
    // Whether some pixel of the button's edge differs from the form beneath.
    auto framed = [this](TControl* button) {
        TBitmap shot(FForm->ClientWidth(), FForm->ClientHeight());
        FForm->PaintTo(shot.Canvas()->Handle(), 0, 0);
        TColor face = static_cast<TColor>(ColorToRGB(FForm->Color()));
        TRect r = button->BoundsRect();
        for (int x = r.Left; x < r.Right; ++x)
            if (shot.Canvas()->Pixels(x, r.Top) != face || shot.Canvas()->Pixels(x, r.Bottom - 1) != face)
                return true;
        for (int y = r.Top; y < r.Bottom; ++y)
            if (shot.Canvas()->Pixels(r.Left, y) != face || shot.Canvas()->Pixels(r.Right - 1, y) != face)
                return true;
        return false;
    };
    for (bool themes : {true, false}) {
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = themes;
        win32::SetSystemSettings(settings);
        win32::input::MouseMove(0, 0);
        Pump();
        EXPECT_FALSE(framed(flat)) << "themes " << themes;
        EXPECT_TRUE(framed(raised)) << "themes " << themes;
        TPoint centre = Centre(flat);
        win32::input::MouseMove(centre.X, centre.Y);
        Pump();
        EXPECT_TRUE(framed(flat)) << "themes " << themes << ", under the mouse";
    }
    win32::ResetSystemSettings();
}

TEST_F(ButtonsTest, BitBtnKindsBringCaptionGlyphAndModalResult) {
    struct Case {
        TBitBtnKind kind;
        const Char* caption;
        TModalResult modalResult;
        bool isDefault;
        bool cancel;
    };
    const Case cases[] = {
        {bkOK, u"OK", mrOk, true, false},           {bkCancel, u"Cancel", mrCancel, false, true},
        {bkYes, u"&Yes", mrYes, true, false},       {bkNo, u"&No", mrNo, false, true},
        {bkClose, u"&Close", mrNone, false, false}, {bkAll, u"&All", mrAll, false, false},
    };
    for (const Case& c : cases) {
        TBitBtn button(nullptr);
        button.SetKind(c.kind);
        EXPECT_EQ(button.Kind(), c.kind);
        EXPECT_EQ(button.Caption(), c.caption);
        EXPECT_EQ(button.ModalResult(), c.modalResult);
        EXPECT_EQ(button.Default(), c.isDefault);
        EXPECT_EQ(button.Cancel(), c.cancel);
        EXPECT_FALSE(button.Glyph()->Empty());
    }
    // A kind's button changed by hand becomes a custom one.
    TBitBtn button(nullptr);
    button.SetKind(bkOK);
    button.SetModalResult(mrNone);
    EXPECT_EQ(button.Kind(), bkCustom);
    button.SetKind(bkCancel);
    TBitmap glyph(8, 8);
    button.SetGlyph(&glyph);
    EXPECT_EQ(button.Kind(), bkCustom);
}

TEST_F(ButtonsTest, BitBtnDrawsItselfAndClicksWithItsModalResult) {
    auto* button = new TBitBtn(FForm);
    button->SetBounds(10, 10, 90, 30);
    button->SetParent(FForm);
    button->SetKind(bkOK);
    button->OnClick = [](TObject*) { ControlsLog().push_back("OK"); };
    FForm->Show();
    Pump();
    // Becoming the form's default button leaves the window owner-drawn.
    EXPECT_EQ(GetWindowLongW(button->Handle(), GWL_STYLE) & BS_TYPEMASK, static_cast<LONG>(BS_OWNERDRAW));
    for (bool themes : {true, false}) {
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = themes;
        win32::SetSystemSettings(settings);
        button->SetCaption(themes ? u"OK" : u"Fine");
        FForm->Repaint();
        EXPECT_GT(button->TextBounds().Left, 18) << "themes " << themes; // right of the 18-pixel glyph
        EXPECT_FALSE(button->TextBounds().IsEmpty()) << "themes " << themes;
    }
    win32::ResetSystemSettings();
    ClickOn(button);
    EXPECT_EQ(ControlsLog(), std::vector<std::string>{"OK"});
    EXPECT_EQ(FForm->ModalResult(), mrOk);
}

} // namespace
