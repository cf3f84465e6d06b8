// In-cell graphics and controls: their layout beside the text and their drawing.
#include <gtest/gtest.h>

#include "platform/win32/sysconfig.h"
#include "tests/grid/view/GridViewTesting.h"

namespace {

using gridview_fixtures::GridViewTest;

class CellGraphics : public GridViewTest {
protected:
    void SetUp() override {
        GridViewTest::SetUp();
        surface.SetSize(300, 200);
        // Away from the cells the tests compare, so no current-cell look tells them apart.
        grid->SetCol(5);
        grid->SetRow(5);
    }

    TCellDrawContext Layout(Integer c, Integer r) {
        TCellDrawContext context;
        context.col = c;
        context.rcol = grid->RealColIndex(c);
        context.row = r;
        grid->GetCellGraphicLayout(context);
        return context;
    }

    // The pixels of one cell as the base cell painter leaves them.
    std::vector<TColor> Render(Integer c, Integer r) {
        const TRect rect = grid->CellRect(c, r);
        surface.Canvas()->Brush()->SetColor(clWhite);
        surface.Canvas()->FillRect(TRect(0, 0, 300, 200));
        grid->PaintCell(surface.Canvas(), c, r, rect, TGridDrawState());
        std::vector<TColor> pixels;
        for (Integer y = rect.Top; y < rect.Bottom; ++y)
            for (Integer x = rect.Left; x < rect.Right; ++x)
                pixels.push_back(surface.Canvas()->Pixels(x, y));
        return pixels;
    }

    TBitmap surface;
};

// ---- Layout

struct LayoutCase {
    const char* name;
    std::function<void(TAdvStringGrid*)> make; // puts the graphic into cell (2, 2)
    Integer width, height;
    bool text;
};

class GraphicLayout : public CellGraphics, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(GraphicLayout, SizeAndRoomForTextByKind) {
    const LayoutCase& c = GetParam();
    c.make(grid);
    const TCellDrawContext context = Layout(2, 2);
    ASSERT_NE(context.graphic, nullptr);
    EXPECT_EQ(context.graphicWidth, c.width);
    EXPECT_EQ(context.graphicHeight, c.height);
    EXPECT_EQ(context.roomForText, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, GraphicLayout,
    ::testing::Values(
        LayoutCase{"Bitmap",
                   [](TAdvStringGrid* g) { g->CreateBitmap(2, 2, false, haLeft, vaTop)->SetSize(7, 5); }, 7,
                   5, true},
        LayoutCase{"CheckBox", [](TAdvStringGrid* g) { g->AddCheckBox(2, 2, true, false); }, 15, 15, true},
        LayoutCase{"DataCheckBox", [](TAdvStringGrid* g) { g->AddCheckBox(2, 2, true, true); }, 15, 15,
                   false},
        LayoutCase{"RadioButton", [](TAdvStringGrid* g) { g->AddRadioButton(2, 2, true); }, 14, 14, true},
        LayoutCase{"Progress", [](TAdvStringGrid* g) { g->AddProgress(2, 2, clBlue, clWhite); }, 0, 0, false},
        LayoutCase{"XPProgress", [](TAdvStringGrid* g) { g->AddAdvProgress(2, 2, 0, 10); }, 0, 0, false},
        LayoutCase{"Pie", [](TAdvStringGrid* g) { g->AddProgressPie(2, 2, clRed, 40); }, 20, 20, true},
        LayoutCase{"Rating", [](TAdvStringGrid* g) { g->AddRating(2, 2, 3, clYellow, clSilver); }, 54, 16,
                   false},
        LayoutCase{"Button", [](TAdvStringGrid* g) { g->AddButton(2, 2, 30, 12, u"Go", haLeft, vaTop); }, 30,
                   12, true},
        // The row's 20 pixels less the cell offset of 2 above and below.
        LayoutCase{"Shape",
                   [](TAdvStringGrid* g) { g->AddShape(2, 2, csCircle, clRed, clBlack, haLeft, vaTop); }, 16,
                   16, true},
        LayoutCase{"Comment", [](TAdvStringGrid* g) { g->AddComment(2, 2, u"note"); }, 0, 0, true}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST_F(CellGraphics, ACellWithoutAGraphicKeepsTheWholeCellForText) {
    const TCellDrawContext context = Layout(2, 2);
    EXPECT_EQ(context.graphic, nullptr);
    EXPECT_TRUE(context.roomForText);
}

TEST_F(CellGraphics, APictureWithoutStretchingTakesItsNaturalSizeAtTheTopLeft) {
    TPicture* picture = grid->CreatePicture(2, 2, false, noStretch, 0, haLeft, vaTop);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(6, 4);
    bitmap->Canvas()->Brush()->SetColor(clRed);
    bitmap->Canvas()->FillRect(TRect(0, 0, 6, 4));
    picture->SetGraphic(bitmap.get());
    const TCellDrawContext context = Layout(2, 2);
    EXPECT_EQ(context.graphicWidth, 6);
    EXPECT_EQ(context.graphicHeight, 4);

    Render(2, 2);
    // The picture sits one pixel in, past the cell offset of 2 less 1.
    const TRect cell = grid->CellRect(2, 2);
    const Integer x = cell.Left + 2, y = cell.Top + 2;
    EXPECT_EQ(surface.Canvas()->Pixels(x, y), clRed);
    EXPECT_EQ(surface.Canvas()->Pixels(x + 5, y + 3), clRed);
    EXPECT_NE(surface.Canvas()->Pixels(x + 6, y), clRed);
    EXPECT_NE(surface.Canvas()->Pixels(x, y + 4), clRed);
}

// ---- Placement

struct PlacementCase {
    const char* name;
    TCellHAlign halign;
    TCellVAlign valign;
    Integer dx, dy; // of the bitmap's top-left from the cell's
};

class GraphicPlacement : public CellGraphics, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(GraphicPlacement, TheBitmapSitsWhereItsAlignmentsPutIt) {
    const PlacementCase& c = GetParam();
    TBitmap* bitmap = grid->CreateBitmap(2, 2, false, c.halign, c.valign);
    bitmap->SetSize(6, 4);
    bitmap->Canvas()->Brush()->SetColor(clRed);
    bitmap->Canvas()->FillRect(TRect(0, 0, 6, 4));
    Render(2, 2);
    const TRect cell = grid->CellRect(2, 2);
    Integer left = 1000, top = 1000;
    for (Integer y = cell.Top; y < cell.Bottom; ++y)
        for (Integer x = cell.Left; x < cell.Right; ++x)
            if (surface.Canvas()->Pixels(x, y) == clRed) {
                left = std::min(left, x);
                top = std::min(top, y);
            }
    EXPECT_EQ(left - cell.Left, c.dx);
    EXPECT_EQ(top - cell.Top, c.dy);
}

// The 40 x 20 cell's graphic area is the cell moved in by the cell offset less one: 1 .. 39 across and
// 1 .. 19 down.
INSTANTIATE_TEST_SUITE_P(
    Alignments, GraphicPlacement,
    ::testing::Values(PlacementCase{"LeftTop", haLeft, vaTop, 2, 2},
                      PlacementCase{"RightBottom", haRight, vaBottom, 39 - 6 - 1, 19 - 1 - 4},
                      PlacementCase{"CenterCenter", haCenter, vaCenter, 1 + (38 - 6) / 2, 1 + (18 - 4) / 2}),
    [](const ::testing::TestParamInfo<PlacementCase>& info) { return std::string(info.param.name); });

// ---- Check boxes and radio groups

TEST_F(CellGraphics, ADataCheckBoxIsCheckedExactlyWhenItsTextIsTheCheckTrueText) {
    grid->AddCheckBox(1, 1, true, false);
    grid->AddCheckBox(1, 2, false, false);
    const std::vector<TColor> checked = Render(1, 1);
    const std::vector<TColor> unchecked = Render(1, 2);
    ASSERT_NE(checked, unchecked);

    grid->AddCheckBox(2, 1, false, true);
    grid->SetCells(2, 1, u"true");
    grid->OnGetCheckTrue = [](TObject*, Integer, Integer, String& Value) { Value = u"true"; };
    grid->SetColWidths(2, 40);
    auto shifted = [&](Integer c, Integer r) { return Render(c, r); };
    EXPECT_EQ(shifted(2, 1), checked);
    for (const char16_t* text : {u"TRUE", u"true ", u"", u"1"}) {
        grid->SetCells(2, 1, text);
        EXPECT_EQ(shifted(2, 1), unchecked) << "text '" << String(text).size() << "'";
    }
}

TEST_F(CellGraphics, ARadioGroupWithoutIndexSelectsTheOptionEqualToTheCellText) {
    TStringList options;
    options.Add(u"A");
    options.Add(u"B");
    grid->SetColWidths(1, 80);
    grid->SetColWidths(2, 80);
    grid->AddRadio(1, 1, 0, 1, &options);
    grid->AddRadio(2, 1, 0, -1, &options);
    grid->SetCells(2, 1, u"B");
    EXPECT_EQ(Render(2, 1), Render(1, 1));
    grid->SetCells(2, 1, u"C");
    EXPECT_NE(Render(2, 1), Render(1, 1));
}

TEST_F(CellGraphics, EveryControlStyleDrawsACheckedBoxUnlikeAnUncheckedOne) {
    grid->AddCheckBox(1, 1, true, false);
    grid->AddCheckBox(1, 2, false, false);
    TBitmap glyph;
    glyph.SetSize(8, 8);
    for (AdvGrid::TControlStyle style : {AdvGrid::csClassic, AdvGrid::csFlat, AdvGrid::csWinXP,
                                         AdvGrid::csTarvel, AdvGrid::csQEL, AdvGrid::csTheme}) {
        grid->ControlLook()->SetControlStyle(style);
        EXPECT_NE(Render(1, 1), Render(1, 2)) << static_cast<int>(style);
    }
}

// ---- Bars

TEST_F(CellGraphics, AnXPProgressWithAnEmptyRangeIsEmptyBelowAndFullAtIt) {
    grid->AddAdvProgress(1, 1, 0, 10);
    grid->AddAdvProgress(1, 2, 5, 5);
    grid->SetCells(1, 1, u"0");
    const std::vector<TColor> empty = Render(1, 1);
    grid->SetCells(1, 1, u"10");
    const std::vector<TColor> full = Render(1, 1);
    ASSERT_NE(empty, full);

    grid->SetCells(1, 2, u"3");
    EXPECT_EQ(Render(1, 2), empty);
    grid->SetCells(1, 2, u"5");
    EXPECT_EQ(Render(1, 2), full);
}

TEST_F(CellGraphics, AProgressBarFollowsTheCellsValueAndANonNumberDrawsAsZero) {
    grid->AddProgress(1, 1, clBlue, clWhite);
    grid->SetCells(1, 1, u"0");
    const std::vector<TColor> zero = Render(1, 1);
    grid->SetCells(1, 1, u"60");
    EXPECT_NE(Render(1, 1), zero);
    grid->SetCells(1, 1, u"n/a");
    EXPECT_NO_THROW(Render(1, 1));
}

// ---- Comments, nodes and buttons

TEST_F(CellGraphics, ACommentMarksTheTopRightCornerButNotOnANodeButton) {
    grid->AddComment(2, 2, u"note");
    grid->ControlLook()->SetCommentColor(clRed);
    std::string calls = Joined(PaintOne(2, 2));
    EXPECT_NE(calls.find("Polygons [3]"), std::string::npos) << calls;

    grid->AddNode(3, 2);
    grid->AddComment(0, 3, u"note");
    calls = Joined(PaintOne(0, 3));
    EXPECT_EQ(calls.find("Polygons [3]"), std::string::npos) << calls;
}

TEST_F(CellGraphics, AContractedNodeDrawsTheContractedGlyph) {
    grid->CellNode()->SetNodeType(cnFlat);
    grid->AddNode(2, 2);
    const std::vector<TColor> expanded = Render(0, 2);
    grid->ContractNode(2);
    const std::vector<TColor> contracted = Render(0, 2);
    EXPECT_NE(expanded, contracted);
    grid->ExpandNode(2);
    EXPECT_EQ(Render(0, 2), expanded);
}

TEST_F(CellGraphics, AButtonRemembersWhereItWasDrawnAndShowsItsPushedState) {
    // The grid allows no editing, which would show every button disabled.
    grid->ControlLook()->SetNoDisabledButtonLook(true);
    grid->AddButton(2, 2, 20, 12, u"Go", haRight, vaTop);
    const std::vector<TColor> normal = Render(2, 2);
    TCellGraphic* button = grid->GetCellGraphic(2, 2);
    const auto offset = static_cast<Integer>(button->CellValue());
    EXPECT_EQ(offset & 0xFFFF, 39 - 20 - 1);
    EXPECT_EQ(offset >> 16, 2);
    button->SetCellBoolean(true);
    EXPECT_NE(Render(2, 2), normal);
}

} // namespace

namespace {

// ---- Themes and editor buttons

class ThemeSwitch {
public:
    explicit ThemeSwitch(bool on) : FSaved(win32::GetSystemSettings()) {
        win32::SystemSettings settings = FSaved;
        settings.themesActive = on;
        win32::SetSystemSettings(settings);
    }
    ~ThemeSwitch() { win32::SetSystemSettings(FSaved); }

private:
    win32::SystemSettings FSaved;
};

TEST_F(CellGraphics, ThemedCheckBoxesFallBackToClassicWithoutVisualStyles) {
    const ThemeSwitch themes(false);
    grid->AddCheckBox(1, 1, true, false);
    grid->AddCheckBox(1, 2, false, false);
    grid->ControlLook()->SetControlStyle(AdvGrid::csClassic);
    const std::vector<TColor> classicOn = Render(1, 1);
    const std::vector<TColor> classicOff = Render(1, 2);
    grid->ControlLook()->SetControlStyle(AdvGrid::csTheme);
    EXPECT_EQ(Render(1, 1), classicOn);
    EXPECT_EQ(Render(1, 2), classicOff);
}

TEST_F(CellGraphics, AlwaysVisibleButtonsShowInTheRightEndOfCellsWhoseEditorHasThem) {
    grid->OnGetEditorType = [](TObject*, Integer ACol, Integer, TEditorType& AEditor) {
        AEditor = ACol == 2 ? edComboList : ACol == 3 ? edSpinEdit : edNormal;
    };
    // The right end's pixels of a cell, less the grid lines.
    auto rightEnd = [&](Integer c, Integer r) {
        Render(c, r);
        const TRect cell = grid->CellRect(c, r);
        Integer painted = 0;
        for (Integer y = cell.Top + 2; y < cell.Bottom - 2; ++y)
            for (Integer x = cell.Right - 14; x < cell.Right - 2; ++x)
                painted += surface.Canvas()->Pixels(x, y) != clWhite;
        return painted;
    };
    EXPECT_EQ(rightEnd(2, 2), 0);
    EXPECT_EQ(rightEnd(3, 2), 0);

    grid->ControlLook()->SetDropDownAlwaysVisible(true);
    grid->ControlLook()->SetSpinButtonsAlwaysVisible(true);
    EXPECT_GT(rightEnd(2, 2), 0);
    EXPECT_GT(rightEnd(3, 2), 0);
    EXPECT_EQ(rightEnd(4, 2), 0);
    // Fixed cells never show them.
    EXPECT_EQ(rightEnd(2, 0) > 0, rightEnd(1, 0) > 0);
}

} // namespace
