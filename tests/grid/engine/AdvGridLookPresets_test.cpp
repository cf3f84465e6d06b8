// Tests of the look presets and their names, and of the grid's small services: print layout accessors,
// merged columns following their list, the thin scroll controls and the link settings.
#include <memory>

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"

namespace {

// A grid that can be marked as loading from a stored description.
class TLoadingGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    void SetLoading(bool value) {
        if (value)
            FComponentState.Include(csLoading);
        else
            FComponentState.Exclude(csLoading);
    }
};

constexpr TColor White = 0x00FFFFFF;
constexpr TColor Grey = 0x00808080;
constexpr TColor Silver = 0x00C0C0C0;

class AdvGridLookPresetsTest : public ::testing::Test {
protected:
    void SetUp() override { grid = std::make_unique<TLoadingGrid>(nullptr); }
    TControlLook* look() const { return grid->ControlLook(); }

    std::unique_ptr<TLoadingGrid> grid;
};

TEST(AdvGridLookNames, EveryLookButCustomHasAnIdentifierAndADisplayName) {
    struct Case {
        TGridLook look;
        const char16_t* ident;
        const char16_t* display;
    };
    const Case cases[] = {
        {glStandard, u"glStandard", u"Standard"},
        {glSoft, u"glSoft", u"Soft"},
        {glClassic, u"glClassic", u"Classic"},
        {glQEL, u"glQEL", u"QEL"},
        {glXP, u"glXP", u"Windows XP"},
        {glListView, u"glListView", u"ListView"},
        {glVista, u"glVista", u"Windows Vista"},
        {glWin7, u"glWin7", u"Windows 7"},
        {glOffice2007, u"glOffice2007", u"Office2007"},
        {glCustom, u"before", u"before"},
    };
    for (const Case& c : cases) {
        String ident = u"before";
        String display = u"before";
        LookToIdent(c.look, ident);
        LookToDisplayName(c.look, display);
        EXPECT_EQ(ident, c.ident);
        EXPECT_EQ(display, c.display);
    }
}

TEST_F(AdvGridLookPresetsTest, PlainLooksSetTheirFixedLineAndSelectionColours) {
    ASSERT_EQ(grid->Look(), glXP);
    // The present look again changes nothing.
    grid->SetSelectionColor(clRed);
    grid->SetLook(glXP);
    EXPECT_EQ(grid->SelectionColor(), clRed);

    grid->SetScrollType(ssFlat);
    grid->SetLook(glStandard);
    EXPECT_EQ(grid->FixedColor(), clBtnFace);
    EXPECT_EQ(look()->FixedGradientFrom(), clBtnFace);
    EXPECT_EQ(look()->FixedGradientTo(), clNone);
    EXPECT_EQ(grid->QELGradientFrom(), static_cast<TColor>(ColorToRGB(clBtnFace)));
    EXPECT_EQ(grid->QELGradientTo(), clNone);
    EXPECT_EQ(grid->GridFixedLineColor(), Grey);
    EXPECT_EQ(grid->GridLineColor(), Silver);
    EXPECT_EQ(grid->ActiveCellColor(), Grey);
    EXPECT_EQ(grid->SelectionColor(), clHighlight);
    EXPECT_EQ(grid->SelectionTextColor(), clHighlightText);
    EXPECT_EQ(grid->SearchFooter()->Color(), clBtnFace);
    EXPECT_EQ(grid->SearchFooter()->ColorTo(), clBtnFace);
    EXPECT_EQ(grid->SelectionStyle(), ssDefault);
    EXPECT_EQ(grid->ScrollType(), ssNormal);
    EXPECT_EQ(grid->BorderColor(), 0x00B99D7F);

    // The search footer takes the gradient the plain part of the look gave the fixed cells; the QEL
    // look then ends on its silver gradient.
    grid->SetLook(glQEL);
    EXPECT_EQ(grid->SearchFooter()->Color(), White);
    EXPECT_EQ(grid->SearchFooter()->ColorTo(), static_cast<TColor>(ColorToRGB(clBtnFace)));
    EXPECT_EQ(look()->FixedGradientFrom(), White);
    EXPECT_EQ(look()->FixedGradientTo(), Silver);
    EXPECT_EQ(grid->QELGradientTo(), Silver);
    EXPECT_EQ(grid->QELGradientMirrorFrom(), clNone);
    EXPECT_EQ(grid->ActiveCellColor(), 0x00EACAB6);
    EXPECT_EQ(grid->SelectionColor(), 0x00EACAB6);
    EXPECT_EQ(grid->SelectionColorTo(), clNone);
    EXPECT_EQ(grid->SelectionTextColor(), 0);
    EXPECT_EQ(look()->FixedGradientHoverFrom(), 0x00CFD0D1);
    EXPECT_EQ(look()->FixedGradientHoverMirrorTo(), 0x00ABBCBF);
    EXPECT_EQ(look()->FixedGradientDownTo(), 0x00737C7E);
    EXPECT_EQ(look()->FixedGradientDownMirrorTo(), 0x00627376);

    grid->SetLook(glXP);
    EXPECT_EQ(look()->FixedGradientTo(), clBtnFace);
}

TEST_F(AdvGridLookPresetsTest, CustomKeepsTheGradientsAndTheBorder) {
    grid->SetLook(glQEL);
    grid->SetBorderColor(clRed);
    grid->SetScrollType(ssFlat);
    grid->SetLook(glCustom);
    EXPECT_EQ(look()->FixedGradientFrom(), White);
    EXPECT_EQ(look()->FixedGradientTo(), Silver);
    EXPECT_EQ(grid->QELGradientFrom(), White);
    EXPECT_EQ(grid->ScrollType(), ssNormal);
    EXPECT_EQ(grid->BorderColor(), clRed);
}

TEST_F(AdvGridLookPresetsTest, StyledLooksTakeTheirSelectionStyle) {
    // Each takes its style's fixed-cell gradient; only the Office 2007 style keeps it in the control look.
    struct Case {
        TGridLook look;
        TGridSelectionStyle selection;
        TQELStyle style;
        TColor gradientFrom;
        TColor lookFrom;
    };
    for (const Case& c : {Case{glVista, ssVista, tsWindowsVista, 0xFFFFFF, clNone},
                          Case{glWin7, ssWin7, tsWindows7, 0xFDFCFA, clNone},
                          Case{glOffice2007, ssOffice2007, tsOffice2007Luna, 0xFBF9F6, 0xFBF9F6}}) {
        grid->SetLook(glQEL);
        grid->SetFixedColor(clRed);
        grid->SetLook(c.look);
        EXPECT_EQ(grid->SelectionStyle(), c.selection);
        EXPECT_EQ(grid->Style(), c.style);
        EXPECT_EQ(grid->QELGradientFrom(), c.gradientFrom);
        EXPECT_EQ(look()->FixedGradientFrom(), c.lookFrom);
        EXPECT_EQ(grid->FixedColor(), clRed);
    }
}

TEST_F(AdvGridLookPresetsTest, ALoadingGridKeepsTheColoursOfItsDescription) {
    grid->SetLook(glVista);
    grid->SetScrollType(ssFlat);
    grid->SetFixedColor(clRed);
    grid->SetSelectionColor(clRed);
    grid->SetLoading(true);
    grid->SetLook(glClassic);
    grid->SetLoading(false);
    EXPECT_EQ(grid->SelectionStyle(), ssDefault);
    EXPECT_EQ(grid->ScrollType(), ssNormal);
    EXPECT_EQ(look()->FixedGradientFrom(), clNone);
    EXPECT_EQ(grid->FixedColor(), clRed);
    EXPECT_EQ(grid->SelectionColor(), clRed);
}

TEST_F(AdvGridLookPresetsTest, ControlLookGradientsReachTheGridOnlyThroughTheirSetters) {
    look()->SetFixedGradientFrom(clRed);
    look()->SetFixedGradientFrom(clNone);
    EXPECT_EQ(look()->FixedGradientFrom(), clNone);
    EXPECT_EQ(grid->QELGradientFrom(), clRed) << "clNone leaves the grid's colour";
    look()->SetFixedGradientMirrorFrom(clRed);
    look()->SetFixedGradientMirrorFrom(clNone);
    EXPECT_EQ(grid->QELGradientMirrorFrom(), clNone) << "a mirror colour always reaches the grid";

    TControlLook other(nullptr);
    other.SetFixedGradientTo(clBlue);
    other.SetFixedGradientDownFrom(clBlue);
    other.SetCheckAlwaysActive(true);
    other.SetRadioAlwaysActive(true);
    const TColor before = grid->QELGradientTo();
    look()->Assign(&other);
    EXPECT_EQ(look()->FixedGradientTo(), clBlue);
    EXPECT_EQ(look()->FixedGradientDownFrom(), clBlue);
    EXPECT_TRUE(look()->CheckAlwaysActive());
    EXPECT_TRUE(look()->RadioAlwaysActive());
    EXPECT_EQ(grid->QELGradientTo(), before);
}

TEST_F(AdvGridLookPresetsTest, PrintColumnsOutsideTheLayoutRaise) {
    EXPECT_EQ(grid->GetPrintColWidth(0), 0);
    EXPECT_EQ(grid->GetPrintColOffset(511), 0);
    for (Integer col : {-1, 512}) {
        try {
            grid->GetPrintColWidth(col);
            FAIL() << col;
        } catch (const EAdvGridError& e) {
            EXPECT_EQ(e.Message(), u"Columns is not in valid range");
        }
        EXPECT_THROW(grid->GetPrintColOffset(col), EAdvGridError) << col;
    }
}

TEST_F(AdvGridLookPresetsTest, VersionIsReadOnly) {
    EXPECT_EQ(grid->Version(), u"7.4.6.3");
    grid->SetVersion(u"1.0.0.0");
    EXPECT_EQ(grid->Version(), u"7.4.6.3");
}

TEST_F(AdvGridLookPresetsTest, MergedColumnsFollowTheirList) {
    grid->SetColCount(3);
    grid->SetRowCount(5);
    for (Integer r = 1; r < 5; ++r) {
        grid->SetCells(1, r, r < 3 ? u"a" : u"b");
        grid->SetCells(2, r, u"same");
    }
    grid->MergedColumns()->Add(1);
    EXPECT_EQ(grid->CellSpan(1, 1), TPoint(0, 1));
    EXPECT_EQ(grid->CellSpan(1, 3), TPoint(0, 1));
    // A later column merges within the merges of the first.
    grid->MergedColumns()->Add(2);
    EXPECT_EQ(grid->CellSpan(2, 1), TPoint(0, 1));
    EXPECT_EQ(grid->CellSpan(2, 3), TPoint(0, 1));
    grid->MergedColumns()->Delete(0);
    EXPECT_EQ(grid->CellSpan(1, 1), TPoint(0, 0));
    EXPECT_EQ(grid->CellSpan(2, 1), TPoint(0, 3));
}

TEST_F(AdvGridLookPresetsTest, ScrollControlsAreMadeOnce) {
    grid->CreateScrollControls();
    TScrollControl* vert = grid->VertScrollControl();
    TScrollControl* horz = grid->HorzScrollControl();
    ASSERT_NE(vert, nullptr);
    ASSERT_NE(horz, nullptr);
    EXPECT_EQ(vert->Direction(), 0);
    EXPECT_EQ(vert->Width(), 6);
    EXPECT_EQ(vert->Align(), alRight);
    EXPECT_EQ(horz->Direction(), 1);
    EXPECT_EQ(horz->Height(), 6);
    EXPECT_EQ(horz->Align(), alBottom);
    for (TScrollControl* control : {vert, horz}) {
        EXPECT_EQ(control->Parent(), grid.get());
        EXPECT_TRUE(control->DoubleBuffered());
        EXPECT_TRUE(control->Visible());
    }
    grid->CreateScrollControls();
    EXPECT_EQ(grid->VertScrollControl(), vert);
    EXPECT_EQ(grid->HorzScrollControl(), horz);
}

TEST_F(AdvGridLookPresetsTest, LinkSettingsAndLookupItems) {
    grid->SetURLFull(true);
    EXPECT_TRUE(grid->URLFull());
    grid->SetURLShow(true);
    grid->SetURLColor(clRed);
    EXPECT_EQ(grid->URLColor(), clRed);
    TStringList items;
    items.Add(u"one");
    grid->SetLookupItems(&items);
    grid->SetLookupItems(nullptr);
    EXPECT_EQ(grid->LookupItems()->Text(), items.Text());
}

} // namespace
