// Tests of the grid's button painters in their four looks and states (recorded calls, themed and
// classic), the colour arithmetic and the transparent bitmap drawing.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "grid/engine/AdvUtil.h"
#include "platform/backend/recorder.h"
#include "platform/framework/Graphics.h"
#include "platform/win32/gdidevice.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"
#include "render/AdvStyleIF.h"

namespace {

class Recording {
public:
    Recording() : FRecorder(backend::CreateRecorder(100, 100)), FDC(CreateDeviceDC(FRecorder)) {
        FCanvas.SetHandle(FDC);
    }
    ~Recording() {
        FCanvas.SetHandle(nullptr);
        DeleteDC(FDC);
    }
    TCanvas* Canvas() { return &FCanvas; }
    const std::vector<std::string>& Calls() const { return FRecorder->Calls(); }

private:
    std::shared_ptr<backend::Recorder> FRecorder;
    HDC FDC;
    TCanvas FCanvas;
};

// Visual styles on or off for one test.
class Themes {
public:
    explicit Themes(bool on) {
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = on;
        win32::SetSystemSettings(settings);
    }
    ~Themes() { win32::ResetSystemSettings(); }
};

// Tones whose every colour is different, so a recorded call shows which one was taken.
TColorTones DistinctTones() {
    TColorTones tones;
    tones.Background = {0x00000011, 0x00000012, 0x00000013};
    tones.Hover = {0x00000021, 0x00000022, 0x00000023};
    tones.Selected = {0x00000031, 0x00000032, 0x00000033};
    tones.Disabled = {0x00000041, 0x00000042, 0x00000043};
    return tones;
}

using Painter = void (*)(TCanvas*, const TRect&, Integer state, Integer look);

void ComboButton(TCanvas* canvas, const TRect& rect, Integer state, Integer look) {
    DrawComboButton(canvas, nullptr, rect, DistinctTones(), state, look);
}
void PushButton(TCanvas* canvas, const TRect& rect, Integer state, Integer look) {
    DrawPushButton(canvas, nullptr, rect, u"", DistinctTones(), state, look);
}
void SpinButtons(TCanvas* canvas, const TRect& rect, Integer state, Integer look) {
    DrawSpinButtons(canvas, nullptr, rect, DistinctTones(), state, look);
}

std::vector<std::string> Paint(Painter painter, Integer state, Integer look) {
    Recording r;
    painter(r.Canvas(), TRect(0, 0, 60, 20), state, look);
    return r.Calls();
}

TEST(AdvUtilGlyphsTest, CustomLookFillsWithTheStatesTone) {
    struct Case {
        const char* name;
        Painter painter;
        Integer state;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"combo, hot",
         ComboButton,
         1,
         {"Rectangle 44,1-58,19 pen=#210000/1 brush=#210000", "Polyline 45,1 45,19 pen=#120000/1",
          "Polygons [3] 49,9 55,9 52,12 pen=#130000/1 brush=#130000"}},
        {"push, down", PushButton, 2, {"Rectangle 0,0-60,20 pen=#320000/1 brush=#310000"}},
        // The arrows are black whatever the tones.
        {"spin, disabled",
         SpinButtons,
         3,
         {"Rectangle 44,-1-59,9 pen=#410000/1 brush=#410000",
          "Rectangle 44,10-59,19 pen=#410000/1 brush=#410000",
          "Polygons [3] 49,4 53,4 51,2 pen=#000000/1 brush=#000000",
          "Polygons [3] 49,11 53,11 51,13 pen=#000000/1 brush=#000000"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Paint(c.painter, c.state, ButtonLookCustom), c.calls) << c.name;
}

TEST(AdvUtilGlyphsTest, ThemedAndClassicLooksShowTheirStates) {
    for (bool themes : {true, false}) {
        Themes switched(themes);
        // The themed drop-down and spin buttons show only normal and disabled.
        for (Painter painter : {ComboButton, SpinButtons}) {
            const auto normal = Paint(painter, 0, ButtonLookThemed);
            ASSERT_FALSE(normal.empty());
            EXPECT_EQ(Paint(painter, 1, ButtonLookThemed), normal) << themes;
            EXPECT_EQ(Paint(painter, 2, ButtonLookThemed), normal) << themes;
            EXPECT_NE(Paint(painter, 3, ButtonLookThemed), normal) << themes;
        }
        // Without visual styles the themed look is the classic one.
        for (Painter painter : {ComboButton, PushButton, SpinButtons})
            for (Integer state = 0; state < 4; ++state)
                EXPECT_EQ(Paint(painter, state, ButtonLookThemed) == Paint(painter, state, ButtonLookClassic),
                          !themes)
                    << "themes " << themes << ", state " << state;
    }
    Themes off(false);
    // The classic push button shows pressed; the flat look differs from the classic.
    EXPECT_NE(Paint(PushButton, 2, ButtonLookClassic), Paint(PushButton, 0, ButtonLookClassic));
    EXPECT_NE(Paint(PushButton, 0, ButtonLookFlat), Paint(PushButton, 0, ButtonLookClassic));
    EXPECT_NE(Paint(ComboButton, 0, ButtonLookFlat), Paint(ComboButton, 0, ButtonLookClassic));
    EXPECT_NE(Paint(ComboButton, 3, ButtonLookClassic), Paint(ComboButton, 0, ButtonLookClassic));
}

TEST(AdvUtilGlyphsTest, PushButtonCaptionIsCentredBelowTheTop) {
    Recording r;
    DrawPushButton(r.Canvas(), nullptr, TRect(10, 10, 110, 40), u"Go", DistinctTones(), 0, ButtonLookCustom);
    Recording expected;
    expected.Canvas()->Brush()->SetStyle(bsClear);
    expected.Canvas()->TextOut(10 + (100 - expected.Canvas()->TextWidth(u"Go")) / 2, 14, u"Go");
    ASSERT_EQ(r.Calls().size(), 2u);
    EXPECT_EQ(r.Calls()[1], expected.Calls()[0]);
    EXPECT_EQ(r.Canvas()->Brush()->Style(), bsClear);
}

TEST(AdvUtilGlyphsTest, ColourArithmetic) {
    EXPECT_EQ(ChangeColorPercent(RGB(200, 100, 0), 50), RGB(255, 150, 0));
    EXPECT_EQ(ChangeColorPercent(RGB(200, 100, 0), -50), RGB(100, 50, 0));
    EXPECT_EQ(ChangeColorPercent(RGB(200, 100, 0), -200), RGB(0, 0, 0));
    EXPECT_EQ(ChangeColorPercent(RGB(5, 15, 25), 10), RGB(6, 16, 28)); // 5.5 and 16.5 go to even, 27.5 too
    EXPECT_EQ(HalveColor(RGB(255, 128, 1)), RGB(127, 64, 0));
    EXPECT_EQ(HalveColor(clBtnFace), static_cast<TColor>((ColorToRGB(clBtnFace) >> 1) & 0x7F7F7F));
    EXPECT_EQ(BlendColorsAt(RGB(0, 100, 200), RGB(100, 100, 0), 10, 5, 20), RGB(50, 100, 100));
    EXPECT_EQ(BlendColorsAt(clRed, clNone, 0, 5, 10), clRed);
    EXPECT_EQ(BlendColorsAt(clRed, clBlue, 3, 0, 3), clRed); // an empty range stays at its start
}

TEST(AdvUtilGlyphsTest, TransparentBitmapTakesTheBackgroundForItsCornerColour) {
    TBitmap sprite(3, 2);
    sprite.Canvas()->Brush()->SetColor(clLime);
    sprite.Canvas()->FillRect(TRect(0, 0, 3, 2));
    sprite.Canvas()->SetPixels(1, 1, clRed);
    TBitmap target(6, 4);
    target.Canvas()->Brush()->SetColor(clWhite);
    target.Canvas()->FillRect(TRect(0, 0, 6, 4));
    DrawTransparentBitmap(target.Canvas(), &sprite, clBlue, TRect(2, 1, 6, 4));
    EXPECT_EQ(target.Canvas()->Pixels(2, 1), clBlue);
    EXPECT_EQ(target.Canvas()->Pixels(3, 2), clRed);
    EXPECT_EQ(target.Canvas()->Pixels(5, 1), clWhite); // the bitmap's own size only
    EXPECT_EQ(target.Canvas()->Pixels(1, 1), clWhite);
}

TEST(AdvUtilGlyphsTest, SmallTriangleAndThemeQuestions) {
    Recording r;
    DrawSmallTriangle(r.Canvas(), 10, 5, clRed);
    EXPECT_EQ(r.Calls(),
              (std::vector<std::string>{"Polygons [3] 7,5 13,5 10,8 pen=#FF0000/1 brush=#FF0000"}));
    {
        Themes on(true);
        EXPECT_TRUE(ThemedDrawingActive());
    }
    Themes off(false);
    EXPECT_FALSE(ThemedDrawingActive());
    EXPECT_EQ(CurrentXPColorScheme(), 0);
}

TEST(AdvUtilGlyphsTest, SetLayeredWindowAttributesDynPassesTheCallOn) {
    const HWND window = CreateWindowExW(WS_EX_LAYERED, u"STATIC", u"", WS_POPUP, 0, 0, 20, 20, nullptr,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(SetLayeredWindowAttributesDyn(window, 0, 128, LWA_ALPHA));
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 128);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    DestroyWindow(window);
}

} // namespace
