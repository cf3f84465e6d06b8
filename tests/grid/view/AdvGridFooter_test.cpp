// Tests of the floating footer: column calculations in the last row, the rows the preview styles add,
// the template, the panel's columns and painting, and the room the search footer keeps.
#include "tests/grid/view/GridViewTesting.h"

#include <algorithm>
#include <string>

#include "grid/view/AdvGridFooter.h"

namespace {

using gridview_fixtures::GridViewTest;

class FooterTest : public GridViewTest {
protected:
    void SetUp() override {
        GridViewTest::SetUp();
        grid->SetRowCount(11);
        footer = grid->FloatingFooter();
        footer->SetVisible(true);
    }
    TFloatingFooter* footer = nullptr;
};

TEST_F(FooterTest, SumCountsHiddenRowsWhileCalculateHiddenRowsIsOn) {
    ASSERT_EQ(grid->FixedFooters(), 1);
    for (Integer r = 1; r <= 9; ++r)
        grid->SetInts(2, r, r);
    grid->SetCells(2, 10, u"old");
    footer->SetColumnCalc(2, acSUM);
    EXPECT_EQ(grid->Cells(2, 10), u"45.00") << "rows 1 .. 9, the footer's own row left out";

    for (Integer hidden : {2, 3}) {
        grid->HideRows(3, 2 + hidden);
        grid->CalcFooter(2);
        EXPECT_EQ(grid->Cells(2, grid->RowCount() - 1), u"45.00") << hidden;
        footer->SetCalculateHiddenRows(false);
        grid->CalcFooter(2);
        const Integer shown = hidden == 2 ? 45 - 3 - 4 : 45 - 3 - 4 - 5;
        EXPECT_EQ(grid->Cells(2, grid->RowCount() - 1), IntToStr(shown) + u".00") << hidden;
        footer->SetCalculateHiddenRows(true);
        grid->UnHideRows(3, 2 + hidden);
    }
}

struct CalcCase {
    const char* name;
    TColumnCalcType calc;
    const char16_t* expected;
};

class FooterCalcTest : public FooterTest, public ::testing::WithParamInterface<CalcCase> {};

// Rows 1 .. 9 hold 1, 2, 2, 4 and five empty cells, which read as 0; the footer cell held "old".
TEST_P(FooterCalcTest, WritesTheFooterCell) {
    const CalcCase& c = GetParam();
    const Integer values[] = {1, 2, 2, 4};
    for (Integer r = 0; r < 4; ++r)
        grid->SetInts(1, r + 1, values[r]);
    grid->SetCells(1, 10, u"old");
    footer->SetColumnCalc(1, c.calc);
    EXPECT_EQ(footer->ColumnCalc(1), c.calc);
    EXPECT_EQ(grid->Cells(1, 10), String(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Calculations, FooterCalcTest,
                         ::testing::Values(CalcCase{"Count", acCOUNT, u"9"}, CalcCase{"Max", acMAX, u"4.00"},
                                           CalcCase{"Distinct", acDISTINCT, u"4.00"},
                                           CalcCase{"Spread", acSPREAD, u"old"},
                                           CalcCase{"CustomWithoutEvent", acCUSTOM, u""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FooterTest, CustomValuesComeFromTheGridFirst) {
    std::vector<Integer> asked;
    footer->OnCalcFooter = [&](TObject*, Integer ACol, Integer ARow, String& Value) {
        asked.push_back(ARow);
        Value = u"footer " + IntToStr(ACol);
    };
    footer->SetColumnCalc(3, acCUSTOM);
    EXPECT_EQ(grid->Cells(3, 10), u"footer 3");
    EXPECT_EQ(asked, std::vector<Integer>{10});
    grid->OnCalcFooter = [](TObject*, Integer, Integer, String& Value) { Value = u"grid"; };
    grid->CalcFooter(-1);
    EXPECT_EQ(grid->Cells(3, 10), u"grid");
    EXPECT_EQ(asked.size(), 1u);
}

TEST_F(FooterTest, ReadingAColumnCalculationMakesNoRecord) {
    EXPECT_EQ(footer->ColumnCalc(4), acNONE);
    EXPECT_FALSE(grid->CellPropsAssigned(4, 10));
}

TEST_F(FooterTest, PreviewStylesAddTheirRowAndTakeItBack) {
    footer->SetFooterStyle(fsColumnPreview);
    EXPECT_EQ(grid->RowCount(), 12);
    EXPECT_TRUE(footer->DidInc());
    footer->SetVisible(false);
    EXPECT_EQ(grid->RowCount(), 11);
    EXPECT_EQ(grid->FixedFooters(), 0);
    EXPECT_EQ(grid->FooterPanel()->Height(), 0);
    footer->SetVisible(true);
    EXPECT_EQ(grid->RowCount(), 12);
    footer->SetFooterStyle(fsFixedLastRow);
    EXPECT_EQ(grid->RowCount(), 11);
    EXPECT_FALSE(footer->DidInc());
}

TEST_F(FooterTest, AssignCopiesTheSettingsAndShowsThroughVisible) {
    TFloatingFooter source(nullptr);
    source.SetColor(clYellow);
    source.SetColumn(3);
    source.SetCustomTemplate(u"<#1>");
    source.SetBorderColor(clRed);
    footer->SetVisible(false);
    source.SetVisible(true);
    footer->Assign(&source);
    EXPECT_EQ(footer->Color(), clYellow);
    EXPECT_EQ(footer->Column(), 3);
    EXPECT_EQ(footer->CustomTemplate(), u"<#1>");
    EXPECT_EQ(footer->BorderColor(), clNone) << "not copied";
    EXPECT_TRUE(footer->Visible());
    EXPECT_EQ(grid->FixedFooters(), 1);
}

struct TemplateCase {
    const char* name;
    const char16_t* text;
    const char16_t* expected;
};

class FooterTemplateTest : public FooterTest, public ::testing::WithParamInterface<TemplateCase> {};

// The current row is 1; its column 2 holds "42" and column 3 "x".
TEST_P(FooterTemplateTest, Expands) {
    grid->SetCells(2, 1, u"42");
    grid->SetCells(3, 1, u"x");
    EXPECT_EQ(ExpandFooterTemplate(grid, GetParam().text), String(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Templates, FooterTemplateTest,
                         ::testing::Values(TemplateCase{"Tag", u"Total <#2>", u"Total 42"},
                                           TemplateCase{"TwoTags", u"<#2>/<#3>!", u"42/x!"},
                                           TemplateCase{"NotANumber", u"a<#b>c", u"ac"},
                                           TemplateCase{"UnclosedTagKeepsTheRest", u"<#2> and <#3",
                                                        u"42 and <#3"},
                                           TemplateCase{"NoTag", u"plain", u"plain"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Columns are 40 wide behind one fixed column: the first scrolling column runs from 40 to 80.
TEST_F(FooterTest, ThePanelFindsTheColumnUnderThePointer) {
    TFooterPanel* panel = grid->FooterPanel();
    EXPECT_EQ(panel->ColumnAt(20), 0);
    EXPECT_EQ(panel->ColumnAt(41), 1);
    EXPECT_EQ(panel->ColumnAt(80), 1);
    EXPECT_EQ(panel->ColumnAt(81), 2);
    EXPECT_EQ(panel->ColumnAt(239), 5);
    EXPECT_EQ(panel->ColumnAt(260), -1) << "past the last column";
    grid->SetColCount(12);
    grid->SetLeftCol(4);
    EXPECT_EQ(panel->ColumnAt(41), 4);
}

TEST_F(FooterTest, ThePanelPaintsTheLastRowWithItsCalculations) {
    for (Integer r = 1; r <= 9; ++r)
        grid->SetInts(2, r, 10);
    footer->SetColumnCalc(2, acSUM);
    grid->SetCells(0, 10, u"Total");
    Integer painted = -1;
    TFooterPanel* panel = grid->FooterPanel();
    EXPECT_EQ(footer->Height(), 20) << "the grid's default row height";
    EXPECT_GT(panel->Height(), 0);
    recorder->Clear();
    panel->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    const std::vector<std::string> texts = Texts(recorder->Calls());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "Total"), texts.end()) << Joined(recorder->Calls());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "90.00"), texts.end()) << Joined(recorder->Calls());

    grid->OnPaintFooter = [&](TObject*, Integer AColumn, TCanvas*, const TRect&) { painted = AColumn; };
    footer->SetFooterStyle(fsCustomPaint);
    footer->SetColumn(3);
    panel->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(painted, 3);
}

// The search panel keeps its 32 pixels at the bottom: scrolling down line by line stops when the last
// row shows whole above it.
TEST_F(GridViewTest, ScrollingStopsWithTheLastRowAboveTheSearchFooter) {
    grid->SetRowCount(40);
    grid->SearchFooter()->SetVisible(true);
    for (int step = 0; step < 60; ++step)
        grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    const TRect last = grid->CellRect(1, grid->RowCount() - 1);
    EXPECT_GT(last.Bottom, last.Top) << "the last row is in view";
    EXPECT_LE(last.Bottom, grid->ClientHeight() - 32);
    const Integer top = grid->TopRow();
    grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_LINEDOWN, 0), 0);
    EXPECT_EQ(grid->TopRow(), top);
}

} // namespace
