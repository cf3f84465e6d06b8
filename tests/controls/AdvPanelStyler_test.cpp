// Panel stylers: the look table, the shared looks and colour tones, and which panels follow a styler.
#include "tests/controls/PanelTesting.h"

namespace {

// Counts the looks applied to it.
class TCountingPanel : public TAdvPanel {
public:
    using TAdvPanel::TAdvPanel;
    void ApplyPanelSettings(TAdvPanelSettings* settings) override {
        ++applied;
        TAdvPanel::ApplyPanelSettings(settings);
    }
    int applied = 0;
};

struct LookCase {
    const char* name;
    AdvPanel::TAdvPanelStyle style;
    TColor color, colorTo, captionColor, captionFont, statusColor, statusFont;
    bool borderShadow;
    AdvPanel::TGradientDirection captionDirection;
};

class PanelStylerLooks : public ::testing::TestWithParam<LookCase> {};

} // namespace

TEST_P(PanelStylerLooks, AStyleWritesItsRowOfTheTable) {
    const LookCase& c = GetParam();
    TAdvPanelStyler styler(nullptr);
    styler.SetStyle(c.style);
    TAdvPanelSettings* s = styler.Settings();
    EXPECT_EQ(s->Color(), c.color);
    EXPECT_EQ(s->ColorTo(), c.colorTo);
    EXPECT_EQ(s->BorderShadow(), c.borderShadow);
    EXPECT_EQ(s->Caption()->Color(), c.captionColor);
    EXPECT_EQ(s->Caption()->Font()->Color(), c.captionFont);
    EXPECT_EQ(s->Caption()->GradientDirection(), c.captionDirection);
    EXPECT_EQ(s->StatusBar()->Color(), c.statusColor);
    EXPECT_EQ(s->StatusBar()->Font()->Color(), c.statusFont);
    EXPECT_EQ(s->Caption()->ShadeType(), AdvPanel::stNormal);
    EXPECT_EQ(s->BevelInner(), bvNone);
    EXPECT_EQ(s->BorderStyle(), AdvPanel::bsNone);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PanelStylerLooks,
    ::testing::Values(LookCase{"XP", AdvPanel::psXP, clWhite, TColor(0xE3F0F2), clHighlight, clHighlightText,
                               TColor(0xE3F0F2), clBlack, true, AdvPanel::gdHorizontal},
                      LookCase{"Office2003Blue", AdvPanel::psOffice2003Blue, TColor(0xFDEADA),
                               TColor(0xE4AE88), TColor(0xD68759), clWhite, TColor(0xE08F65), clWhite, false,
                               AdvPanel::gdVertical},
                      LookCase{"WindowsXP", AdvPanel::psWindowsXP, clBtnFace, clNone, clHighlight,
                               clHighlightText, clBtnFace, clBlack, false, AdvPanel::gdHorizontal},
                      LookCase{"Office2013Gray", AdvPanel::psOffice2013Gray, clWhite, clNone,
                               TColor(0xE5E5E5), clBlack, TColor(0xE5E5E5), clBlack, false,
                               AdvPanel::gdVertical}),
    [](const ::testing::TestParamInfo<LookCase>& info) { return std::string(info.param.name); });

TEST(PanelStyler, CustomLooksChangeNothingAndSharedLooksMapByName) {
    TAdvPanelStyler styler(nullptr);
    styler.SetStyle(AdvPanel::psOffice2007Luna);
    const TColor luna = styler.Settings()->Color();
    styler.SetStyle(AdvPanel::psCustom);
    EXPECT_EQ(styler.Settings()->Color(), luna);
    styler.SetComponentStyle(tsCustom);
    EXPECT_EQ(styler.Style(), AdvPanel::psCustom);
    // tsOffice2003Silver is the second shared look but the seventh panel style.
    styler.SetComponentStyle(tsOffice2003Silver);
    EXPECT_EQ(styler.Style(), AdvPanel::psOffice2003Silver);
    EXPECT_EQ(styler.Settings()->Color(), TColor(0xECE2E1));
}

TEST_F(PanelTest, AutoAdaptFollowsTheVisualStyleOrTakesTheClassicOfficeLook) {
    TAdvPanelStyler styler(nullptr);
    styler.ThemeChanged();
    EXPECT_EQ(styler.Style(), AdvPanel::psXP); // not asked to adapt
    styler.SetAutoThemeAdapt(true);
    UseThemes(true);
    styler.ThemeChanged(); // the test desktop's style has the blue colour scheme
    EXPECT_EQ(styler.Style(), AdvPanel::psOffice2003Blue);
    UseThemes(false);
    styler.ThemeChanged();
    EXPECT_EQ(styler.Style(), AdvPanel::psOffice2003Classic);
}

TEST(PanelStyler, ColourTonesGoToTheSettingsAsACustomLook) {
    TAdvPanelStyler styler(nullptr);
    TColorTones tones;
    tones.Background = {clWhite, clNone, clNavy};
    tones.Foreground = {clSilver, clNone, clMaroon};
    tones.Selected = {clTeal, clNone, clYellow};
    styler.SetColorTones(tones);
    TAdvPanelSettings* s = styler.Settings();
    EXPECT_EQ(styler.Style(), AdvPanel::psCustom);
    EXPECT_EQ(s->Color(), clWhite);
    EXPECT_EQ(s->Font()->Color(), clNavy);
    EXPECT_EQ(s->Caption()->Color(), clTeal);
    EXPECT_EQ(s->Caption()->CloseColor(), clTeal);
    EXPECT_EQ(s->Caption()->Font()->Color(), clYellow);
    EXPECT_TRUE(s->Caption()->Flat());
    EXPECT_EQ(s->StatusBar()->Color(), clSilver);
    EXPECT_EQ(s->StatusBar()->Font()->Color(), clMaroon);
    EXPECT_EQ(s->Caption()->Font()->Name(), DefaultFontName());
}

TEST_F(PanelTest, LinkedPanelsOfTheOwnerFollowOneChangePerStyle) {
    auto* styler = new TAdvPanelStyler(FForm);
    auto* linked = Add<TCountingPanel>(0, 0, 100, 80);
    auto* unlinked = Add<TCountingPanel>(120, 0, 100, 80);
    TForm other(nullptr, 0);
    auto* elsewhere = new TCountingPanel(&other);
    linked->SetStyler(styler);
    elsewhere->SetStyler(styler);
    EXPECT_EQ(linked->applied, 1); // linking applies the look at once
    linked->applied = elsewhere->applied = 0;
    styler->SetStyle(AdvPanel::psOffice2003Olive);
    EXPECT_EQ(linked->applied, 1);
    EXPECT_EQ(linked->Color(), TColor(0xCFF0EA));
    EXPECT_EQ(unlinked->applied, 0);
    // A panel of another form is not told of later changes.
    EXPECT_EQ(elsewhere->applied, 0);

    // A freed styler leaves no dangling link.
    styler->Free();
    EXPECT_EQ(linked->Styler(), nullptr);
    EXPECT_EQ(elsewhere->Styler(), nullptr);
}

TEST_F(PanelTest, ColourTonesOnAPanelRecolourItAndStopErasing) {
    TAdvPanel* panel = AddPanel(0, 0, 100, 80);
    TColorTones tones;
    tones.Background = {clCream, clNone, clNavy};
    tones.Foreground = {clSilver, clNone, clMaroon};
    tones.Selected = {clTeal, clNone, clYellow};
    panel->SetColorTones(tones);
    EXPECT_EQ(panel->Color(), clCream);
    EXPECT_EQ(panel->Caption()->Color(), clTeal);
    EXPECT_EQ(panel->StatusBar()->Color(), clSilver);
    EXPECT_EQ(panel->BevelOuter(), bvNone);
    EXPECT_TRUE(panel->OptimizePaint());
}
