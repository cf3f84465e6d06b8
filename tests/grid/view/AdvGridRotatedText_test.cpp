// Rotated-text cells: where the turned text starts in its cell, the ink it leaves on the form's surface,
// the level fallback of a cell without room, and the room automatic sizing gives it.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "tests/grid/view/GridViewTesting.h"

namespace {

using namespace gridview_fixtures;

// The bounding box of the dark pixels inside a rectangle; empty when there are none.
struct Ink {
    Integer left = 0;
    Integer top = 0;
    Integer right = -1; // inclusive
    Integer bottom = -1;
    bool Empty() const { return right < left; }
    Integer Width() const { return right - left + 1; }
    Integer Height() const { return bottom - top + 1; }
};

class RotatedTextTest : public GridViewTest {
protected:
    void SetUp() override {
        GridViewTest::SetUp();
        grid->SetFixedCols(0);
        grid->SetFixedRows(0);
    }

    // The dark pixels the grid's window shows inside a cell, its lines left out.
    Ink InkIn(Integer c, Integer r) {
        grid->Repaint();
        const TRect cell = grid->CellRect(c, r);
        Ink ink;
        ink.left = cell.Right;
        ink.top = cell.Bottom;
        for (Integer y = cell.Top + 1; y < cell.Bottom - 1; ++y)
            for (Integer x = cell.Left + 1; x < cell.Right - 1; ++x) {
                const COLORREF p = Pixel(x, y);
                if (GetRValue(p) < 128 && GetGValue(p) < 128 && GetBValue(p) < 128) {
                    ink.left = std::min(ink.left, x);
                    ink.top = std::min(ink.top, y);
                    ink.right = std::max(ink.right, x);
                    ink.bottom = std::max(ink.bottom, y);
                }
            }
        if (ink.right < 0)
            ink = Ink{};
        return ink;
    }

    TSize TextSize(const String& text, TFont* font = nullptr) {
        grid->Canvas()->Font()->Assign(font != nullptr ? font : grid->Font());
        return grid->Canvas()->TextExtent(text);
    }
};

// ---- Placement

// The box a text of Size covers when it starts at Start turned by Angle degrees, the text's top towards
// the turn's left: the turn is counter-clockwise on the screen.
TRect TurnedBox(TPoint start, TSize size, Integer angle) {
    const double theta = angle * std::numbers::pi / 180.0;
    const double along[2] = {std::cos(theta), -std::sin(theta)};
    const double down[2] = {std::sin(theta), std::cos(theta)};
    double xs[4], ys[4];
    for (int i = 0; i < 4; ++i) {
        const double a = (i & 1) ? size.cx : 0;
        const double d = (i & 2) ? size.cy : 0;
        xs[i] = start.X + a * along[0] + d * down[0];
        ys[i] = start.Y + a * along[1] + d * down[1];
    }
    return TRect(static_cast<Integer>(std::lround(*std::min_element(xs, xs + 4))),
                 static_cast<Integer>(std::lround(*std::min_element(ys, ys + 4))),
                 static_cast<Integer>(std::lround(*std::max_element(xs, xs + 4))),
                 static_cast<Integer>(std::lround(*std::max_element(ys, ys + 4))));
}

struct PlacementCase {
    const char* name;
    Integer angle;
    TAlignment hAlign;
    TVAlignment vAlign;
};

class RotatedPlacement : public RotatedTextTest, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(RotatedPlacement, TheTurnedBoxSitsByTheAlignments) {
    const PlacementCase& c = GetParam();
    const String text = u"Placed";
    const TSize expected = TextSize(text + u"w");
    TRect rect(10, 20, 210, 220);
    TSize size{0, 0};
    grid->CalcRotatedTextRect(rect, size, c.vAlign, c.hAlign, text, c.angle);
    EXPECT_EQ(size, expected) << "the text and one \"w\" in the canvas font";

    const TRect area(12, 22, 208, 218);
    const TRect box = TurnedBox(TPoint(rect.Left, rect.Top), size, c.angle);
    // Truncated projections leave the box up to a pixel short of the edge it is put against.
    constexpr Integer slack = 1;
    switch (c.hAlign) {
    case taLeftJustify:
        EXPECT_NEAR(box.Left, area.Left, slack);
        break;
    case taRightJustify:
        EXPECT_NEAR(box.Right, area.Right, slack);
        break;
    case taCenter:
        EXPECT_NEAR(box.Left - area.Left, area.Right - box.Right, 2 * slack);
        break;
    }
    switch (c.vAlign) {
    case vtaTop:
        EXPECT_NEAR(box.Top, area.Top, slack);
        break;
    case vtaBottom:
        EXPECT_NEAR(box.Bottom, area.Bottom, slack);
        break;
    case vtaCenter:
        EXPECT_NEAR(box.Top - area.Top, area.Bottom - box.Bottom, 2 * slack);
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Angles, RotatedPlacement,
    ::testing::Values(PlacementCase{"level_top_left", 0, taLeftJustify, vtaTop},
                      PlacementCase{"level_bottom_right", 0, taRightJustify, vtaBottom},
                      PlacementCase{"up_top_left", 90, taLeftJustify, vtaTop},
                      PlacementCase{"up_bottom_right", 90, taRightJustify, vtaBottom},
                      PlacementCase{"up_centred", 90, taCenter, vtaCenter},
                      PlacementCase{"upside_down_top_left", 180, taLeftJustify, vtaTop},
                      PlacementCase{"upside_down_bottom_right", 180, taRightJustify, vtaBottom},
                      PlacementCase{"down_top_left", 270, taLeftJustify, vtaTop},
                      PlacementCase{"down_centred", 270, taCenter, vtaCenter},
                      PlacementCase{"down_as_minus_90", -90, taRightJustify, vtaBottom},
                      PlacementCase{"slanted_top_left", 45, taLeftJustify, vtaTop},
                      PlacementCase{"slanted_bottom_right", 45, taRightJustify, vtaBottom},
                      PlacementCase{"slanted_centred", 45, taCenter, vtaCenter},
                      PlacementCase{"steep_back_top_left", 135, taLeftJustify, vtaTop},
                      PlacementCase{"steep_down_bottom_right", 300, taRightJustify, vtaBottom}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Drawing

TEST_F(RotatedTextTest, ALongTextInATallNarrowCellRunsAlongItsHeight) {
    grid->SetColWidths(1, 30);
    grid->SetRowHeights(1, 150);
    const String text = u"Turned header text";
    grid->AddRotated(1, 1, 90, text);
    const TSize size = TextSize(text);
    const TRect cell = grid->CellRect(1, 1);
    const Ink ink = InkIn(1, 1);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GT(ink.Height(), size.cx * 8 / 10) << "the text's length runs down the cell";
    EXPECT_LE(ink.Width(), size.cy) << "and its height across it";
    // Top-aligned, the text ends near the cell's top: the room of one "w" is measured with it.
    EXPECT_LE(ink.top - cell.Top, TextSize(u"w").cx + 4);
}

TEST_F(RotatedTextTest, TextThatJustFitsIsNotPushedOverTheFarEdge) {
    const String text = u"Just fits";
    const TSize size = TextSize(text);
    for (Integer angle : {180, 90}) {
        SCOPED_TRACE(angle);
        grid->SetColWidths(1, angle == 180 ? size.cx + 6 : 40);
        grid->SetRowHeights(1, angle == 180 ? 20 : size.cx + 6);
        grid->AddRotated(1, 1, static_cast<SmallInt>(angle), text);
        const Ink ink = InkIn(1, 1);
        ASSERT_FALSE(ink.Empty());
        EXPECT_GE(angle == 180 ? ink.Width() : ink.Height(), size.cx - 3) << "the whole text shows";
    }
}

struct TurnCase {
    const char* name;
    Integer angle;
    bool upright;     // the text runs up or down the cell
    bool baselineFar; // the baseline is on the right (upright) or at the bottom (lying)
};

class RotatedTurn : public RotatedTextTest, public ::testing::WithParamInterface<TurnCase> {};

// A row of full stops shows where the baseline went: the turn's direction and the start point together.
TEST_P(RotatedTurn, TheBaselineTurnsWithTheAngle) {
    const TurnCase& c = GetParam();
    grid->SetColWidths(1, 70);
    grid->SetRowHeights(1, 70);
    const String text = u"..........";
    grid->AddRotated(1, 1, static_cast<SmallInt>(c.angle), text);
    const TSize size = TextSize(text);
    const TRect cell = grid->CellRect(1, 1);
    const Ink ink = InkIn(1, 1);
    ASSERT_FALSE(ink.Empty());
    const Integer across = c.upright ? ink.Width() : ink.Height();
    const Integer along = c.upright ? ink.Height() : ink.Width();
    EXPECT_GT(along, size.cx / 2);
    EXPECT_LT(across, size.cy / 2);
    // The box starts at the cell's top-left (2 pixels in); the stops sit at its baseline side.
    const Integer from = c.upright ? ink.left - cell.Left : ink.top - cell.Top;
    if (c.baselineFar)
        EXPECT_GT(from, size.cy / 2);
    else
        EXPECT_LT(from, size.cy / 2);
}

INSTANTIATE_TEST_SUITE_P(Angles, RotatedTurn,
                         ::testing::Values(TurnCase{"level", 0, false, true}, TurnCase{"up", 90, true, true},
                                           TurnCase{"upside_down", 180, false, false},
                                           TurnCase{"down", 270, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RotatedTextTest, UprightLinesStandSideBySide) {
    grid->SetMultilineCells(true);
    grid->SetColWidths(1, 60);
    grid->SetRowHeights(1, 120);
    grid->AddRotated(1, 1, 90, u"First line\r\nSecond");
    const TSize line = TextSize(u"First line");
    const Ink ink = InkIn(1, 1);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GT(ink.Width(), line.cy) << "two lines across";
    EXPECT_LE(ink.Width(), 2 * line.cy);
    EXPECT_GT(ink.Height(), line.cx * 8 / 10) << "the widest line runs down";
}

TEST_F(RotatedTextTest, ACellWithoutRoomShowsTheTextLevel) {
    const String text = u"Much too long to stand";
    grid->AddRotated(1, 1, 90, text);
    const TRect cell = grid->CellRect(1, 1);
    const Ink ink = InkIn(1, 1);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GT(ink.Width(), ink.Height()) << "a 40 x 20 cell has no room for the text turned";
    EXPECT_LE(ink.left - cell.Left, 4) << "level, it starts at the cell's left";
}

TEST_F(RotatedTextTest, APasswordCellShowsItsMaskTurned) {
    grid->SetRowHeights(1, 60);
    grid->AddRotated(1, 1, 90, u"l");
    EXPECT_LE(InkIn(1, 1).Height(), 2) << "the letter's one stroke, turned";
    grid->SetPasswordChar(u'#');
    grid->OnIsPasswordCell = [](TObject*, Integer, Integer, bool& isPassword) { isPassword = true; };
    EXPECT_GT(InkIn(1, 1).Height(), 2) << "the mask, never the text";
}

TEST_F(RotatedTextTest, AutomaticSizingGivesTheTurnedTextItsRoom) {
    grid->SetFixedRows(1);
    const String text = u"Sized header";
    grid->AddRotated(2, 0, 90, text);
    EXPECT_GT(InkIn(2, 0).Width(), InkIn(2, 0).Height()) << "level before sizing";
    grid->AutoSizeRow(0, 0);
    const TSize size = TextSize(text, grid->FixedFont());
    EXPECT_GE(grid->RowHeights(0), size.cx + 12);
    const Ink ink = InkIn(2, 0);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GT(ink.Height(), 2 * ink.Width()) << "turned once the row is tall enough";
}

} // namespace
