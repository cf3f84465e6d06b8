// The LED: its picture pixel by pixel, what repaints it, and its stream defaults.
#include "controls/VrLeds.h"

#include <functional>

#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "tests/controls/InstrumentTesting.h"

namespace {

TColor Rgb(int r, int g, int b) {
    return static_cast<TColor>(RGB(static_cast<BYTE>(r), static_cast<BYTE>(g), static_cast<BYTE>(b)));
}

// The default LED of 20 x 10: a black outline, a raised one-pixel edge, a one-pixel button-face gap
// and 14 x 4 lamp rows from lampTop towards black.
void ExpectDefaultLed(TBitmap& bitmap, const std::vector<TColor>& rows) {
    const TColor highlight = static_cast<TColor>(ColorToRGB(clBtnHighlight));
    const TColor shadow = static_cast<TColor>(ColorToRGB(clBtnShadow));
    const TColor face = static_cast<TColor>(ColorToRGB(clBtnFace));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            TColor expected;
            if (x == 0 || y == 0 || x == 19 || y == 9)
                expected = clBlack;
            else if (x == 18 || y == 8)
                expected = shadow;
            else if (x == 1 || y == 1)
                expected = highlight;
            else if (x == 2 || y == 2 || x == 17 || y == 7)
                expected = face;
            else
                expected = rows[static_cast<size_t>(y - 3)];
            ASSERT_EQ(bitmap.Canvas()->Pixels(x, y), expected) << x << "," << y;
        }
}

TEST(VrUserLed, PaintsOutlineEdgeGapAndLampRows) {
    TVrUserLed led(nullptr);
    EXPECT_EQ(led.Width(), 20);
    EXPECT_EQ(led.Height(), 10);
    auto off = PaintControl(&led);
    ExpectDefaultLed(*off, {Rgb(128, 0, 0), Rgb(96, 0, 0), Rgb(64, 0, 0), Rgb(32, 0, 0)});

    led.SetActive(true);
    auto on = PaintControl(&led);
    ExpectDefaultLed(*on, {Rgb(255, 0, 0), Rgb(192, 0, 0), Rgb(128, 0, 0), Rgb(64, 0, 0)});
}

// The LED keeps the picture it painted: after each change the next paint shows what a LED made with
// that change from the start paints, over any background.
TEST(VrUserLed, APaintAfterAChangeShowsTheChange) {
    struct Case {
        const char* name;
        std::function<void(TVrUserLed&)> change;
    };
    const Case cases[] = {
        {"active", [](TVrUserLed& led) { led.SetActive(true); }},
        {"size", [](TVrUserLed& led) { led.SetBounds(0, 0, 30, 14); }},
        {"lamp colour", [](TVrUserLed& led) { led.PaletteEx()->SetLow1(clBlue); }},
        {"outline", [](TVrUserLed& led) { led.SetOutlineWidth(2); }},
        {"outline colour",
         [](TVrUserLed& led) {
             led.SetOutlineWidth(1);
             led.SetOutlineColor(clRed);
         }},
        {"bevel style", [](TVrUserLed& led) { led.Bevel()->SetInnerStyle(VrClasses::bsRaised); }},
        {"bevel colour", [](TVrUserLed& led) { led.Bevel()->SetOuterHighlight(clYellow); }},
        // No room inside the frames for the lamp.
        {"3 x 3", [](TVrUserLed& led) { led.SetBounds(0, 0, 3, 3); }},
    };
    TVrUserLed plain(nullptr);
    auto before = PaintControl(&plain, clBlue);
    for (const Case& c : cases) {
        TVrUserLed led(nullptr);
        PaintControl(&led);
        c.change(led);
        auto painted = PaintControl(&led, clBlue);
        TVrUserLed fresh(nullptr);
        c.change(fresh);
        auto expected = PaintControl(&fresh, clBlue);
        EXPECT_TRUE(SamePicture(*painted, *expected)) << c.name;
        EXPECT_FALSE(SamePicture(*painted, *before)) << c.name;
    }
}

TEST(VrUserLed, OwnerDrawFillsWithColourAndHandsOverTheCanvas) {
    TVrUserLed led(nullptr);
    led.SetParentColor(false);
    led.SetColor(clTeal);
    led.SetDrawStyle(VrControls::dsOwnerDraw);
    TRect given;
    led.OnDraw = [&](TObject*, TCanvas* canvas, TRect rect) {
        given = rect;
        canvas->Brush()->SetColor(clFuchsia);
        canvas->FillRect(TRect(0, 0, 2, 2));
    };
    auto bitmap = PaintControl(&led);
    EXPECT_EQ(given, TRect(0, 0, 20, 10));
    EXPECT_EQ(CountColor(*bitmap, clFuchsia), 4);
    EXPECT_EQ(CountColor(*bitmap, clTeal), 200 - 4);
}

class VrUserLedOnForm : public InstrumentTest {};

TEST_F(VrUserLedOnForm, OnlyRealChangesRepaintAndActiveChangesFireOnChange) {
    auto* led = Add<TVrUserLed>(10, 10, 20, 10);
    ShowForm();
    int paints = 0;
    int changes = 0;
    led->SetDrawStyle(VrControls::dsOwnerDraw);
    led->OnDraw = [&](TObject*, TCanvas*, TRect) { ++paints; };
    led->OnChange = [&](TObject*) { ++changes; };
    Pump();
    paints = 0;

    led->SetActive(false);
    EXPECT_EQ(paints, 0);
    EXPECT_EQ(changes, 0);
    led->SetActive(true);
    EXPECT_EQ(paints, 1);
    EXPECT_EQ(changes, 1);

    paints = 0;
    led->PaletteEx()->SetHigh1(clLime);
    led->Bevel()->SetBorderWidth(2);
    led->SetOutlineWidth(1);
    EXPECT_EQ(paints, 3);
    led->PaletteEx()->SetHigh1(clLime);
    EXPECT_EQ(paints, 3);

    // Inside an update nothing repaints until the last EndUpdate.
    led->BeginUpdate();
    led->SetOutlineColor(clRed);
    EXPECT_EQ(paints, 3);
    led->EndUpdate();
    EXPECT_EQ(paints, 4);
}

TEST(VrUserLedStream, WritesOnlyWhatDiffersAndIsCreatedByName) {
    VrLedsStartup();
    TVrUserLed led(nullptr);
    led.SetName(u"Link");
    led.SetActive(true);
    led.PaletteEx()->SetLow2(clRed);
    TMemoryStream binary;
    WriteComponent(binary, &led);
    binary.SetPosition(0);
    TMemoryStream text;
    ObjectBinaryToText(binary, text);
    std::string description(static_cast<const char*>(text.Memory()), static_cast<size_t>(text.Size()));
    EXPECT_NE(description.find("object Link: TVrUserLed"), std::string::npos) << description;
    EXPECT_NE(description.find("Active = True"), std::string::npos) << description;
    EXPECT_NE(description.find("PaletteEx.Low2 = clRed"), std::string::npos) << description;
    EXPECT_EQ(description.find("OutlineWidth"), std::string::npos) << description;
    EXPECT_EQ(description.find("DrawStyle"), std::string::npos) << description;

    // A description that sets the version text cannot change it.
    const std::string form = "object Link: TVrUserLed\r\n  Version = '9.9'\r\n  Active = True\r\nend\r\n";
    TMemoryStream input, output;
    input.WriteBuffer(form.data(), static_cast<Integer>(form.size()));
    input.SetPosition(0);
    ObjectTextToBinary(input, output);
    output.SetPosition(0);
    std::unique_ptr<TComponent> read(ReadComponent(output, nullptr));
    auto* readLed = dynamic_cast<TVrUserLed*>(read.get());
    ASSERT_NE(readLed, nullptr);
    EXPECT_TRUE(readLed->Active());
    EXPECT_EQ(readLed->Version(), u"1.4.5");
}

} // namespace
