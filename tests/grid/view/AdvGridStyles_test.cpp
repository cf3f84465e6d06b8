// The grid's colour styles, colour tones, XP schemes and the following of the Office scheme.
#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"

namespace {

class GridStyles : public ::testing::Test {
protected:
    void SetUp() override { grid = std::make_unique<TAdvStringGrid>(nullptr); }
    std::unique_ptr<TAdvStringGrid> grid;
};

// What one style leaves, read back from the grid and its settings.
struct StyleCase {
    const char* name;
    TAdvGridStyle style;
    TGridLook look;
    TColor from, to, mirrorFrom, mirrorTo;
    TColor lookFrom, lookTo; // ControlLook's fixed gradient
    TColor active, activeTo;
    TColor selection, selectionTo, selectionText;
    TColor gridLine, fixedLine;
    TColor footer, footerTo;
    TColor header, headerMirrorTo;
    TGridSelectionStyle selectionStyle;
};

constexpr TColor N = clNone;

TColor RGBOf(TColor color) {
    return static_cast<TColor>(ColorToRGB(color));
}

class StyleTable : public GridStyles, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(StyleTable, SetsTheStylesColours) {
    const StyleCase& c = GetParam();
    grid->SetStyle(c.style);
    EXPECT_EQ(grid->Look(), c.look);
    // The grid keeps its gradient in RGB.
    EXPECT_EQ(grid->QELGradientFrom(), RGBOf(c.from));
    EXPECT_EQ(grid->QELGradientTo(), RGBOf(c.to));
    EXPECT_EQ(grid->QELGradientMirrorFrom(), c.mirrorFrom);
    EXPECT_EQ(grid->QELGradientMirrorTo(), c.mirrorTo);
    EXPECT_EQ(grid->ControlLook()->FixedGradientFrom(), c.lookFrom);
    EXPECT_EQ(grid->ControlLook()->FixedGradientTo(), c.lookTo);
    EXPECT_EQ(grid->ControlLook()->FixedGradientMirrorFrom(), c.mirrorFrom);
    EXPECT_EQ(grid->ActiveCellColor(), c.active);
    EXPECT_EQ(grid->ActiveCellColorTo(), c.activeTo);
    EXPECT_EQ(grid->SelectionColor(), c.selection);
    EXPECT_EQ(grid->SelectionColorTo(), c.selectionTo);
    EXPECT_EQ(grid->SelectionTextColor(), c.selectionText);
    EXPECT_EQ(grid->SelectionMirrorColor(), clNone);
    EXPECT_EQ(grid->GridLineColor(), c.gridLine);
    EXPECT_EQ(grid->GridFixedLineColor(), c.fixedLine);
    EXPECT_EQ(grid->SearchFooter()->Color(), c.footer);
    EXPECT_EQ(grid->SearchFooter()->ColorTo(), c.footerTo);
    EXPECT_EQ(grid->SortSettings()->HeaderColor(), c.header);
    EXPECT_EQ(grid->SortSettings()->HeaderMirrorColorTo(), c.headerMirrorTo);
    EXPECT_EQ(grid->SelectionStyle(), c.selectionStyle);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, StyleTable,
    ::testing::Values(
        StyleCase{"Office2003Blue", gsOffice2003Blue, glXP,     0xFCE1CB, 0xE0A57D, N,        N,
                  0xFCE1CB,         0xE0A57D,         0x94E6FB, 0x1595EE, 0x94E6FB, 0x1595EE, 0,
                  0xC0C0C0,         0x808080,         0xFCE1CB, N,        N,        N,        ssDefault},
        StyleCase{"Office2003Classic",
                  gsOffice2003Classic,
                  glXP,
                  0xFFFFFF,
                  0xCCD4D8,
                  N,
                  N,
                  N,
                  N,
                  0xD8D5D4,
                  0xD8D5D4,
                  clHighlight,
                  N,
                  clHighlightText,
                  0xC0C0C0,
                  0x808080,
                  0xFFFFFF,
                  N,
                  N,
                  N,
                  ssDefault},
        StyleCase{"Luna",   gsOffice2007Luna, glOffice2007, 0xFBF9F6, 0xE8DBD2, N, N,
                  0xFBF9F6, 0xE8DBD2,         0x9DD8F9,     0x5EC1F1, 0x5EC1F1, N, 0,
                  0xF1EDEB, 0xD1BBA4,         0xFBF9F6,     N,        N,        N, ssOffice2007},
        StyleCase{"WindowsXP", gsWindowsXP, glXP,      clBtnFace, clBtnFace,   N, N,
                  N,           N,           clBtnFace, clBtnFace, clHighlight, N, clHighlightText,
                  0xC0C0C0,    0x808080,    clBtnFace, N,         N,           N, ssDefault},
        StyleCase{"Vista",  gsWindowsVista, glVista,  0xFFFFFF, 0xFFFFFF, 0xFAF8F7, 0xF4F2F1, N,
                  N,        0xFDF8F1,       0xFCEFD5, 0xEACAB6, N,        0,        0xECECF0, 0xD4D2D1,
                  0xFFFFFF, 0xF4F2F1,       0xFCF9F2, 0xF6ECD8, ssVista},
        StyleCase{"Windows7", gsWindows7, glWin7,   0xFDFCFA, 0xFAF0E6, 0xF4E6DC, 0xF7E9DD,
                  N,          N,          0xFCEBDC, 0xFCDBC1, 0xEACAB6, N,        0,
                  0xECECF0,   0xD4D2D1,   0xFDFCFA, 0xF7E9DD, 0xFCF9F2, 0xF6ECD8, ssWin7},
        StyleCase{"Office2010Black",
                  gsOffice2010Black,
                  glOffice2007,
                  0x6A6A6A,
                  0x6A6A6A,
                  0x6A6A6A,
                  0x6A6A6A,
                  N,
                  N,
                  0x5BD5FF,
                  0x71EFFF,
                  0xFFDBB7,
                  N,
                  0,
                  0xC0C0C0,
                  0x444444,
                  0x6A6A6A,
                  0x6A6A6A,
                  0xBABABA,
                  0xBABABA,
                  ssDefault},
        StyleCase{"Office2013Gray",
                  gsOffice2013Gray,
                  glOffice2007,
                  0xF3F3F3,
                  0xF3F3F3,
                  0xF3F3F3,
                  0xF3F3F3,
                  N,
                  N,
                  0xF3F3F3,
                  0xF3F3F3,
                  0xDAA026,
                  N,
                  0xFFFFFF,
                  0xABABAB,
                  0xABABAB,
                  0xF3F3F3,
                  0xF3F3F3,
                  0xF3F3F3,
                  0xF3F3F3,
                  ssDefault}),
    [](const ::testing::TestParamInfo<StyleCase>& info) { return std::string(info.param.name); });

TEST_F(GridStyles, HoveredAndPressedHeadersFollowTheStyleAndVistaKeepsItsBorderOnTheGrid) {
    grid->SetStyle(gsWindows7);
    EXPECT_EQ(grid->QELGradientHoverFrom(), 0xFEFBF8);
    EXPECT_EQ(grid->QELGradientHoverMirrorTo(), 0xE8D2C1);
    EXPECT_EQ(grid->QELGradientHoverBorder(), 0xEEE8E3);
    EXPECT_EQ(grid->QELGradientDownFrom(), 0xF1E8DD);
    EXPECT_EQ(grid->QELGradientDownBorder(), 0xD5BCAA);
    EXPECT_EQ(grid->ControlLook()->FixedGradientDownMirrorFrom(), 0xECDBCF);

    grid->SetStyle(gsWindowsVista);
    EXPECT_EQ(grid->QELGradientHoverBorder(), 0xE3C993);
    EXPECT_EQ(grid->ControlLook()->FixedGradientHoverBorder(), 0xC0C0C0);
    EXPECT_EQ(grid->ControlLook()->FixedGradientDownBorder(), 0xAE904F);
}

TEST_F(GridStyles, WindowsEightAndOfficeThirteenSetTheBorder) {
    grid->SetStyle(gsWindows8);
    EXPECT_EQ(grid->BorderColor(), 0xE4E3E2);
    grid->SetStyle(gsOffice2013LightGray);
    EXPECT_EQ(grid->BorderColor(), 0xC6C6C6);
}

TEST_F(GridStyles, CustomResetsSelectionAndSortHeaderButKeepsTheRest) {
    grid->SetStyle(gsWindowsVista);
    grid->SetStyle(gsCustom);
    EXPECT_EQ(grid->SelectionColor(), clHighlight);
    EXPECT_EQ(grid->SelectionTextColor(), clHighlightText);
    EXPECT_EQ(grid->SelectionStyle(), ssDefault);
    EXPECT_EQ(grid->SortSettings()->HeaderColor(), clNone);
    EXPECT_EQ(grid->SortSettings()->HeaderMirrorColorTo(), clNone);
    // The look and the gradient stay as Vista left them.
    EXPECT_EQ(grid->Look(), glVista);
    EXPECT_EQ(grid->QELGradientMirrorFrom(), 0xFAF8F7);
    EXPECT_EQ(grid->ControlLook()->Color(), 0);
    EXPECT_EQ(grid->ControlLook()->FixedGradientHoverFrom(), 0xFFFFFF);
    EXPECT_EQ(grid->ControlLook()->FixedGradientDownTo(), 0x808080);
}

TEST_F(GridStyles, TerminalOnlySetsTheStandardLookAndWhidbeyKeepsTheLook) {
    grid->SetStyle(gsOffice2007Luna);
    grid->SetStyle(gsTerminal);
    EXPECT_EQ(grid->Look(), glStandard);

    grid->SetLook(glSoft);
    grid->SetStyle(gsWhidbey);
    EXPECT_EQ(grid->Look(), glSoft);
    EXPECT_EQ(grid->QELGradientFrom(), 0xFFFFFF);
    EXPECT_EQ(grid->QELGradientTo(), RGBOf(clBtnFace));
    EXPECT_EQ(grid->ActiveCellColor(), 0x94E6FB);
}

TEST_F(GridStyles, ObsidianThroughALookChangeKeepsLunasHeaderStatesAndSelectionStyle) {
    grid->SetLook(glStandard);
    grid->SetStyle(gsOffice2007Obsidian);
    EXPECT_EQ(grid->Look(), glOffice2007);
    EXPECT_EQ(grid->QELGradientFrom(), 0xF7F7F7);
    EXPECT_EQ(grid->GridLineColor(), 0xE5D7D0);
    EXPECT_EQ(grid->QELGradientHoverFrom(), 0xE4E2DF);
    EXPECT_EQ(grid->QELGradientDownBorder(), 0xE4C19D);
    EXPECT_EQ(grid->SelectionStyle(), ssOffice2007);

    // Applied again on a grid already in that look, the reset colours stay.
    grid->SetStyle(gsOffice2007Obsidian);
    EXPECT_EQ(grid->ControlLook()->FixedGradientHoverFrom(), 0xFFFFFF);
    EXPECT_EQ(grid->ControlLook()->FixedGradientDownBorder(), 0x808080);
    EXPECT_EQ(grid->SelectionStyle(), ssDefault);
}

TEST_F(GridStyles, ComponentStyleRemembersTheStyleAndEndsMetroScrollBarsUnlessCustom) {
    grid->SetScrollType(ssMetro);
    grid->SetComponentStyle(tsCustom);
    EXPECT_EQ(grid->ScrollType(), ssMetro);
    EXPECT_EQ(grid->Style(), tsCustom);

    // In a look the style keeps: a change of look would remember the look's own style instead.
    grid->SetLook(glOffice2007);
    grid->SetScrollType(ssMetro);
    grid->SetComponentStyle(tsOffice2010Silver);
    EXPECT_EQ(grid->ScrollType(), ssNormal);
    EXPECT_EQ(grid->Style(), tsOffice2010Silver);
    EXPECT_EQ(grid->GridFixedLineColor(), 0xBAB5B1);
}

TEST_F(GridStyles, ColorTonesGiveTheFlatMetroLook) {
    TColorTones tones;
    tones.Background = {0x00F0F0F0, 0x00A0A0A0, 0x00202020};
    tones.Foreground = {0x00C86400, 0x00C86400, 0x00FFFFFF};
    tones.Selected = {0x00D77800, 0x00D77800, 0x00FFFFFE};
    tones.Hover = {0x00E0E0E0, 0x00E0E0E0, 0};
    grid->SetLook(glOffice2007);
    grid->SetColorTones(tones);

    EXPECT_EQ(grid->Tones(), tones);
    EXPECT_EQ(grid->Look(), glClassic);
    EXPECT_TRUE(grid->Flat());
    EXPECT_EQ(grid->ScrollType(), ssMetro);
    EXPECT_EQ(grid->BorderStyle(), bsNone);
    EXPECT_EQ(grid->FixedColor(), 0x00C86400);
    EXPECT_EQ(grid->FixedFont()->Color(), 0x00FFFFFF);
    EXPECT_EQ(grid->Color(), 0x00F0F0F0);
    EXPECT_EQ(grid->Font()->Color(), 0x00202020);
    EXPECT_EQ(grid->SelectionColor(), 0x00D77800);
    EXPECT_EQ(grid->SelectionTextColor(), 0x00FFFFFE);
    EXPECT_EQ(grid->GridLineColor(), 0x00E6E6E6);
    // 20 percent darker per channel: $C8 -> $A0, $64 -> $50.
    EXPECT_EQ(grid->GridFixedLineColor(), 0x00A05000);
    EXPECT_EQ(grid->ControlLook()->ControlStyle(), AdvGrid::csGlyph);
    EXPECT_TRUE(grid->ControlLook()->FlatButton());
    EXPECT_EQ(grid->CellNode()->NodeType(), cnFlat);
    EXPECT_EQ(grid->SearchFooter()->ColorTo(), 0x00C86400);
    EXPECT_EQ(grid->FloatingFooter()->Color(), 0x00C86400);
    for (TBitmap* glyph : {grid->ControlLook()->CheckedGlyph(), grid->ControlLook()->UnCheckedGlyph(),
                           grid->ControlLook()->RadioOnGlyph(), grid->ControlLook()->RadioOffGlyph()}) {
        EXPECT_EQ(glyph->Width(), 16);
        EXPECT_EQ(glyph->Height(), 16);
    }
}

TEST_F(GridStyles, XPSchemesSetTheFixedGradientActiveCellAndFooter) {
    grid->SetTheme(xpGreen);
    EXPECT_EQ(grid->QELGradientFrom(), 0xCFF0EA);
    EXPECT_EQ(grid->QELGradientTo(), 0x8CC0B1);
    EXPECT_EQ(grid->ControlLook()->FixedGradientTo(), 0x8CC0B1);
    EXPECT_EQ(grid->ActiveCellColor(), 0x94E6FB);
    EXPECT_EQ(grid->SearchFooter()->Color(), 0xCFF0EA);

    grid->SetTheme(vistaAero);
    EXPECT_EQ(grid->QELGradientMirrorTo(), 0xF4F2F1);
    EXPECT_EQ(grid->SearchFooter()->Color(), 0xECE2E1);
    EXPECT_EQ(grid->SearchFooter()->ColorTo(), 0xB39698);

    grid->SetTheme(xpNone);
    EXPECT_EQ(grid->QELGradientFrom(), 0xFFFFFF);
    EXPECT_EQ(grid->QELGradientTo(), RGBOf(clBtnFace));
    EXPECT_EQ(grid->QELGradientMirrorFrom(), clNone);
    EXPECT_EQ(grid->ControlLook()->FixedGradientFrom(), clNone);
    EXPECT_EQ(grid->ActiveCellColorTo(), 0xFFD9B3);
    EXPECT_EQ(grid->SearchFooter()->ColorTo(), 0xFFD9B3);
}

TEST_F(GridStyles, FollowingTheOfficeSchemeActsOnlyWhenTheSchemeChanged) {
    grid->FollowOfficeTheme();
    const TQELStyle followed = OfficeThemeToStyle(DetectOfficeTheme());
    EXPECT_EQ(grid->Style(), followed);
    // The scheme is the same the second time: a style chosen since is kept.
    grid->SetComponentStyle(tsWindows7);
    grid->FollowOfficeTheme();
    EXPECT_EQ(grid->Style(), tsWindows7);
}

} // namespace
