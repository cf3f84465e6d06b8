// The shadow button: its geometry by pixels, press and release through the mouse, accelerators, the
// disabled caption and transparency.
#include "controls/VrButtons.h"

#include <functional>
#include <memory>

#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "platform/win32/wininput.h"
#include "tests/controls/InstrumentTesting.h"

namespace {

TEST(VrShadowButton, FaceShadowAndTextAreaFollowDepthAndDirection) {
    struct Case {
        const char* name;
        TVrShadowDirection direction;
        int depth;
        TRect face;   // bounds of the lime outline
        TRect shadow; // bounds of the shadow's colour
    };
    const Case cases[] = {
        {"bottom right, defaults", sdBottomRight, 4, TRect(1, 1, 105, 25), TRect(5, 5, 109, 29)},
        {"top left", sdTopLeft, 4, TRect(5, 5, 109, 29), TRect(1, 1, 105, 25)},
        {"top right, depth 6", sdTopRight, 6, TRect(1, 7, 103, 29), TRect(7, 1, 109, 23)},
        {"bottom left", sdBottomLeft, 4, TRect(5, 1, 109, 25), TRect(1, 5, 105, 29)},
    };
    for (const Case& c : cases) {
        TVrShadowButton button(nullptr);
        button.SetStyle(ssRectangle);
        button.SetShadowColor(clNavy);
        button.SetShadowOutline(clNavy);
        button.SetDirection(c.direction);
        button.SetDepth(c.depth);
        auto bitmap = PaintControl(&button);
        EXPECT_EQ(BoundsOfColor(*bitmap, clLime), c.face) << c.name;
        // The face covers the shadow where they overlap; what shows of the shadow spans all of it.
        EXPECT_EQ(BoundsOfColor(*bitmap, clNavy), c.shadow) << c.name;
        EXPECT_EQ(button.CurrentRect(),
                  TRect(c.face.Left + 1, c.face.Top + 1, c.face.Right - 1, c.face.Bottom - 1))
            << c.name;
    }
}

TEST(VrShadowButton, DepthTwoOrLessIsIgnored) {
    TVrShadowButton button(nullptr);
    button.SetDepth(2);
    EXPECT_EQ(button.Depth(), 4);
    button.SetDepth(-1);
    EXPECT_EQ(button.Depth(), 4);
    button.SetDepth(3);
    EXPECT_EQ(button.Depth(), 3);
}

TEST(VrShadowButton, DisabledCaptionTakesTheDisabledTextColour) {
    TVrShadowButton button(nullptr);
    button.SetCaption(u"WWW");
    button.SetDisabledTextColor(clFuchsia);
    auto enabled = PaintControl(&button);
    EXPECT_GT(CountColor(*enabled, clWhite), 0);
    EXPECT_EQ(CountColor(*enabled, clFuchsia), 0);
    button.SetEnabled(false);
    auto disabled = PaintControl(&button);
    EXPECT_GT(CountColor(*disabled, clFuchsia), 0);
    // The caption is inside the text area.
    TRect text = BoundsOfColor(*disabled, clFuchsia);
    EXPECT_GE(text.Left, 2);
    EXPECT_LE(text.Right, 104);
}

// The button keeps the picture it drew: after each change the next paint shows what a button made with
// that change from the start paints.
TEST(VrShadowButton, APaintAfterAChangeShowsTheChange) {
    struct Case {
        const char* name;
        std::function<void(TVrShadowButton&)> change;
    };
    const Case cases[] = {
        {"caption", [](TVrShadowButton& b) { b.SetCaption(u"Connected"); }},
        {"face colour", [](TVrShadowButton& b) { b.Brush()->SetColor(clMaroon); }},
        {"outline width", [](TVrShadowButton& b) { b.Pen()->SetWidth(2); }},
        {"size", [](TVrShadowButton& b) { b.SetBounds(0, 0, 90, 40); }},
        {"font colour", [](TVrShadowButton& b) { b.Font()->SetColor(clYellow); }},
        {"font size", [](TVrShadowButton& b) { b.Font()->SetSize(14); }},
        {"background", [](TVrShadowButton& b) { b.SetColor(clTeal); }},
        {"shadow colour", [](TVrShadowButton& b) { b.SetShadowColor(clNavy); }},
        {"direction", [](TVrShadowButton& b) { b.SetDirection(sdTopLeft); }},
        {"alignment", [](TVrShadowButton& b) { b.SetTextAlign(vtaLeft); }},
        {"disabled", [](TVrShadowButton& b) { b.SetEnabled(false); }},
    };
    auto make = [] {
        auto button = std::make_unique<TVrShadowButton>(nullptr);
        button->SetCaption(u"DisConnected");
        return button;
    };
    auto plain = make();
    auto before = PaintControl(plain.get());
    for (const Case& c : cases) {
        auto button = make();
        PaintControl(button.get());
        c.change(*button);
        auto painted = PaintControl(button.get());
        auto fresh = make();
        c.change(*fresh);
        auto expected = PaintControl(fresh.get());
        EXPECT_TRUE(SamePicture(*painted, *expected)) << c.name;
        EXPECT_FALSE(SamePicture(*painted, *before)) << c.name;
    }
}

class VrShadowButtonOnForm : public InstrumentTest {
protected:
    TVrShadowButton* AddButton() {
        auto* button = Add<TVrShadowButton>(20, 20, 110, 30);
        button->SetStyle(ssRectangle);
        button->OnClick = [this](TObject*) { ++FClicks; };
        return button;
    }
    int FClicks = 0;
};

TEST_F(VrShadowButtonOnForm, APressOnTheFaceClicksOnceReleasedOnIt) {
    TVrShadowButton* button = AddButton();
    ShowForm();
    MouseDown(button, 50, 12);
    EXPECT_TRUE(button->Pressed());
    EXPECT_TRUE(button->Down());
    Shot();
    EXPECT_EQ(Pixel(button, 3, 3), clLime); // the face slid towards the shadow
    EXPECT_EQ(FClicks, 0);
    MouseUp(button, 50, 12);
    EXPECT_EQ(FClicks, 1);
    EXPECT_FALSE(button->Pressed());
    EXPECT_FALSE(button->Down());
    Shot();
    EXPECT_EQ(Pixel(button, 1, 1), clLime);
}

TEST_F(VrShadowButtonOnForm, DraggingOffTheFaceReleasesWithoutAClick) {
    TVrShadowButton* button = AddButton();
    ShowForm();
    MouseDown(button, 50, 12);
    // Pressed, the text area slid to (4, 4)-(106, 26); its right edge is outside.
    MouseMove(button, 106, 12);
    EXPECT_TRUE(button->Pressed());
    EXPECT_FALSE(button->Down());
    // Released, it is back at (2, 2)-(104, 24), which is where a return counts.
    MouseMove(button, 104, 12);
    EXPECT_FALSE(button->Down());
    MouseMove(button, 103, 12);
    EXPECT_TRUE(button->Down());
    MouseMove(button, 50, 40);
    MouseUp(button, 50, 40);
    EXPECT_EQ(FClicks, 0);
    EXPECT_FALSE(button->Pressed());

    // A press on the shadow, outside the face, does nothing.
    MouseDown(button, 107, 27);
    EXPECT_FALSE(button->Pressed());
    MouseUp(button, 107, 27);
    EXPECT_EQ(FClicks, 0);
}

TEST_F(VrShadowButtonOnForm, TheCaptionsAcceleratorClicks) {
    TVrShadowButton* button = AddButton();
    button->SetCaption(u"&Go");
    ShowForm();
    win32::input::Key(VK_MENU, true);
    win32::input::PressKey('G');
    win32::input::Key(VK_MENU, false);
    Pump();
    EXPECT_EQ(FClicks, 1);
    button->SetEnabled(false);
    win32::input::Key(VK_MENU, true);
    win32::input::PressKey('G');
    win32::input::Key(VK_MENU, false);
    Pump();
    EXPECT_EQ(FClicks, 1);
}

TEST_F(VrShadowButtonOnForm, ATransparentButtonShowsTheParentAroundFaceAndShadow) {
    TVrShadowButton* button = AddButton();
    button->SetParentColor(false);
    button->SetColor(clBlue);
    ShowForm();
    Shot();
    EXPECT_EQ(Pixel(button, 109, 0), clBlue);
    EXPECT_EQ(Pixel(button, 0, 29), clBlue);
    button->SetTransparent(true);
    Shot();
    EXPECT_EQ(Pixel(button, 109, 0), clYellow);
    EXPECT_EQ(Pixel(button, 0, 29), clYellow);
    EXPECT_EQ(Pixel(button, 1, 1), clLime);
    // A repaint of its own reuses the parent's picture it keeps.
    button->SetShadowColor(clNavy);
    Shot();
    EXPECT_EQ(Pixel(button, 109, 0), clYellow);
    EXPECT_EQ(Pixel(button, 107, 27), clNavy);
}

} // namespace

namespace {

TEST_F(VrShadowButtonOnForm, EnteringAndLeavingFireTheirEventsOnce) {
    TVrShadowButton* button = AddButton();
    int enters = 0;
    int leaves = 0;
    button->OnMouseEnter = [&](TObject*) { ++enters; };
    button->OnMouseLeave = [&](TObject*) { ++leaves; };
    ShowForm();
    MouseMove(button, 50, 12);
    MouseMove(button, 60, 12);
    EXPECT_EQ(enters, 1);
    MouseMove(button, 50, 60);
    EXPECT_EQ(leaves, 1);
}

TEST(VrShadowButtonStream, ADescriptionCreatesItByNameWithItsSettings) {
    VrButtonsStartup();
    const std::string form = "object Connect: TVrShadowButton\r\n"
                             "  Caption = 'DisConnected'\r\n"
                             "  Brush.Color = clMaroon\r\n"
                             "  Depth = 6\r\n"
                             "  Direction = sdTopLeft\r\n"
                             "end\r\n";
    TMemoryStream input, output;
    input.WriteBuffer(form.data(), static_cast<Integer>(form.size()));
    input.SetPosition(0);
    ObjectTextToBinary(input, output);
    output.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponent(output, nullptr));
    auto* button = dynamic_cast<TVrShadowButton*>(read.get());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Caption(), u"DisConnected");
    EXPECT_EQ(button->Brush()->Color(), clMaroon);
    EXPECT_EQ(button->Pen()->Color(), clLime);
    EXPECT_EQ(button->Depth(), 6);
    EXPECT_EQ(button->Direction(), sdTopLeft);
    EXPECT_EQ(button->Width(), 110);
    EXPECT_EQ(button->Font()->Color(), clWhite);

    // Written back, only what differs from the defaults appears.
    TMemoryStream binary;
    WriteComponent(binary, button);
    binary.SetPosition(0);
    TMemoryStream text;
    ObjectBinaryToText(binary, text);
    std::string description(static_cast<const char*>(text.Memory()), static_cast<size_t>(text.Size()));
    EXPECT_NE(description.find("Depth = 6"), std::string::npos) << description;
    EXPECT_EQ(description.find("DepthAdjust"), std::string::npos) << description;
    EXPECT_EQ(description.find("Pen.Color"), std::string::npos) << description;
    EXPECT_EQ(description.find("TextAlign"), std::string::npos) << description;
}

} // namespace
