// Tests of the full string grid's navigation services: the modified and disabled row flags, cell swaps,
// the walk of selectable cells, the fixed-cell test, and the repaints and search-footer scrolling on a
// shown grid.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/engine/AdvGridTesting.h"
#include "tests/grid/engine/AdvGridWndProcTesting.h"
#include "tests/grid/engine/HiddenStoreChecking.h"

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"

namespace {

using advgrid_fixtures::CheckHiddenStore;
using advgrid_fixtures::gLiveGraphics;
using advgrid_fixtures::THiddenStoreGrid;

class AdvGridNavigationTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gLiveGraphics, 0);
        FGrid = new THiddenStoreGrid(nullptr);
    }
    void TearDown() override {
        delete FGrid;
        EXPECT_EQ(gLiveGraphics, 0);
    }
    void Make(Integer cols, Integer rows) {
        FGrid->SetColCount(cols);
        FGrid->SetRowCount(rows);
        for (Integer r = 0; r < rows; ++r)
            for (Integer c = 0; c < cols; ++c)
                FGrid->SetGridCell(c, r, IntToStr(c) + u"," + IntToStr(r));
    }

    THiddenStoreGrid* FGrid = nullptr;
};

TEST_F(AdvGridNavigationTest, ModifiedRowsAreCountedAndReadBeyondTheFlagsAsUnmodified) {
    Make(3, 10);
    EXPECT_FALSE(FGrid->RowModified(3));
    EXPECT_EQ(FGrid->ModifiedRowCount(), 0);
    FGrid->SetRowModified(5, true);
    FGrid->SetRowModified(2, true);
    EXPECT_TRUE(FGrid->RowModified(5));
    EXPECT_FALSE(FGrid->RowModified(6));
    EXPECT_FALSE(FGrid->RowModified(100));
    EXPECT_EQ(FGrid->ModifiedRowCount(), 2);
    FGrid->SetRowModified(5, false);
    EXPECT_EQ(FGrid->ModifiedRowCount(), 1);
}

TEST_F(AdvGridNavigationTest, DisablingTheCurrentRowMovesItToTheFirstEnabledDataRow) {
    Make(3, 8);
    FGrid->SetRow(3);
    FGrid->SetRowEnabled(1, false);
    EXPECT_EQ(FGrid->Row(), 3) << "another row than the current one moves nothing";
    FGrid->SetRowEnabled(3, false);
    EXPECT_EQ(FGrid->Row(), 2);
    EXPECT_FALSE(FGrid->RowEnabled(3));
    EXPECT_TRUE(FGrid->RowEnabled(4));
    EXPECT_TRUE(FGrid->RowEnabled(50));
    // Enabling the current row also moves it first.
    FGrid->SetRowEnabled(2, true);
    EXPECT_EQ(FGrid->Row(), 4);

    // With one data row there is nowhere to go.
    Make(3, 2);
    FGrid->SetRow(1);
    FGrid->SetRowEnabled(1, false);
    EXPECT_EQ(FGrid->Row(), 1);
    EXPECT_FALSE(FGrid->RowEnabled(1));
}

TEST_F(AdvGridNavigationTest, RowFlagsStayWithTheirRowsThroughHidingSortingAndRemoval) {
    for (bool shown : {true, false}) {
        SCOPED_TRACE(shown ? "modified rows shown" : "modified rows not shown");
        delete FGrid;
        FGrid = new THiddenStoreGrid(nullptr);
        Make(3, 10);
        FGrid->ShowModified()->SetEnabled(shown);
        FGrid->SetRowModified(4, true);
        FGrid->SetRowModified(7, true);
        FGrid->SetRowEnabled(6, false);
        FGrid->HideRows(2, 4);
        CheckHiddenStore(*FGrid);
        // Displayed row 3 is real row 6, displayed row 4 real row 7.
        EXPECT_TRUE(FGrid->RowModified(4));
        EXPECT_FALSE(FGrid->RowEnabled(3));
        EXPECT_EQ(FGrid->ModifiedRowCount(), 1) << "the hidden row's flag went with it";
        FGrid->SortSwapRows(3, 1);
        EXPECT_FALSE(FGrid->RowEnabled(1));
        EXPECT_TRUE(FGrid->RowEnabled(3));
        FGrid->SortSwapRows(3, 1);
        FGrid->UnHideRowsAll();
        CheckHiddenStore(*FGrid);
        for (Integer r = 0; r < FGrid->RowCount(); ++r) {
            EXPECT_EQ(FGrid->RowModified(r), r == 4 || r == 7) << "row " << r;
            EXPECT_EQ(FGrid->RowEnabled(r), r != 6) << "row " << r;
        }
        FGrid->RemoveRows(2, 3);
        FGrid->InsertRows(1, 1);
        for (Integer r = 0; r < FGrid->RowCount(); ++r) {
            EXPECT_EQ(FGrid->RowModified(r), r == 5) << "row " << r;
            EXPECT_EQ(FGrid->RowEnabled(r), r != 4) << "row " << r;
        }
    }
}

TEST_F(AdvGridNavigationTest, SwapCellsExchangesTextsAndLooks) {
    Make(4, 4);
    FGrid->SetColors(1, 1, 0x00112233);
    FGrid->SetFontStyles(1, 1, TFontStyles{fsBold});
    FGrid->SwapCells(TGridCoord{1, 1}, TGridCoord{3, 2});
    EXPECT_EQ(FGrid->GridCells(1, 1), u"3,2");
    EXPECT_EQ(FGrid->GridCells(3, 2), u"1,1");
    EXPECT_EQ(FGrid->Colors(3, 2), TColor(0x00112233));
    EXPECT_EQ(FGrid->FontStyles(3, 2), TFontStyles{fsBold});
    EXPECT_FALSE(FGrid->CellPropsAssigned(1, 1));
}

TEST_F(AdvGridNavigationTest, FindLastSelectableCellWalksInTheAdvanceOrder) {
    // Six columns, eight rows; one fixed row and column, one footer row and one fixed right column, so the
    // data cells run from (1, 1) to (4, 6).
    Make(6, 8);
    FGrid->SetFixedFooters(1);
    FGrid->SetFixedRightCols(1);
    Integer refusedCol = -1;
    Integer refusedRow = -1;
    FGrid->OnSelectCell = [&](TObject*, Integer c, Integer r, bool& canSelect) {
        if (c == refusedCol || r == refusedRow)
            canSelect = false;
    };
    struct Case {
        const char* name;
        TAdvanceDirection direction;
        Integer col, row;
        Integer refusedCol, refusedRow;
        TPoint expected;
    };
    for (const Case& c : {
             Case{"left to right", adLeftRight, 1, 1, -1, -1, TPoint(4, 6)},
             Case{"within the row", adLeftRightInRow, 1, 2, -1, -1, TPoint(4, 2)},
             Case{"top to bottom", adTopBottom, 2, 1, -1, -1, TPoint(4, 6)},
             Case{"within the column", adTopBottomInCol, 2, 1, -1, -1, TPoint(2, 6)},
             Case{"last column refused", adLeftRight, 1, 1, 4, -1, TPoint(3, 6)},
             Case{"last row refused, column-wise", adTopBottom, 1, 1, -1, 6, TPoint(4, 5)},
             Case{"nothing after the start", adLeftRight, 2, 6, 3, -1, TPoint(4, 6)},
             Case{"nothing selectable after", adLeftRightInRow, 2, 3, 3, 3, TPoint(-1, -1)},
             Case{"from the last cell", adLeftRight, 4, 6, -1, -1, TPoint(-1, -1)},
             Case{"start in a fixed column", adLeftRight, 0, 2, -1, -1, TPoint(-1, -1)},
             Case{"start in a footer row", adTopBottom, 2, 7, -1, -1, TPoint(-1, -1)},
             Case{"start right of the normal columns", adLeftRight, 5, 2, -1, -1, TPoint(-1, -1)},
         }) {
        SCOPED_TRACE(c.name);
        FGrid->Navigation()->SetAdvanceDirection(c.direction);
        refusedCol = c.refusedCol;
        refusedRow = c.refusedRow;
        EXPECT_EQ(FGrid->FindLastSelectableCell(c.col, c.row), c.expected);
    }
}

TEST_F(AdvGridNavigationTest, FixedCellsAreTheFixedLinesFootersRightColumnsAndWhatTheEventSays) {
    Make(6, 8);
    FGrid->SetFixedFooters(2);
    FGrid->SetFixedRightCols(1);
    FGrid->OnIsFixedCell = [](TObject*, Integer row, Integer col, bool& fixed) {
        fixed = row == 3 && col == 3;
    };
    EXPECT_TRUE(FGrid->IsFixed(0, 2));
    EXPECT_TRUE(FGrid->IsFixed(2, 0));
    EXPECT_TRUE(FGrid->IsFixed(2, 6));
    EXPECT_TRUE(FGrid->IsFixed(5, 2));
    EXPECT_TRUE(FGrid->IsFixed(3, 3));
    EXPECT_FALSE(FGrid->IsFixed(4, 5));
    EXPECT_EQ(FGrid->GetNodeFixedCols(), 1);

    FGrid->SetFixedRightCols(2);
    EXPECT_EQ(FGrid->GetVisibleFixedRightCols(), 2);
    FGrid->HideColumn(5);
    EXPECT_EQ(FGrid->GetVisibleFixedRightCols(), 1) << "a hidden right column does not count";
}

// ---- On a shown grid

class AdvGridRepaintTest : public WndProcTest {
protected:
    // The update rectangle after the call, the window validated before.
    TRect UpdateAfter(const std::function<void()>& call) {
        Pump();
        ValidateRect(FGrid->WindowHandle(), nullptr);
        call();
        RECT rect{};
        if (!GetUpdateRect(FGrid->WindowHandle(), &rect, FALSE))
            return TRect();
        return rect;
    }
    TRect Cell(Integer c, Integer r) { return FGrid->CellRect(c, r); }
};

TEST_F(AdvGridRepaintTest, RepaintsCoverTheCellsRowsAndColumnsAsked) {
    Place(2, 3);
    EXPECT_EQ(UpdateAfter([&] { FGrid->RepaintRect(TRect(-1, 2, 3, 4)); }), TRect())
        << "a negative coordinate";
    const TRect block = UpdateAfter([&] { FGrid->RepaintRect(TRect(2, 3, 4, 5)); });
    EXPECT_EQ(block, TRect(Cell(2, 3).Left, Cell(2, 3).Top, Cell(4, 5).Right, Cell(4, 5).Bottom));
    const TRect offScreen = UpdateAfter([&] { FGrid->RepaintRect(TRect(2, 3, 4, 90)); });
    EXPECT_EQ(offScreen, FGrid->ClientRect()) << "a corner out of view repaints all";

    const TRect row = UpdateAfter([&] { FGrid->RepaintRow(4); });
    EXPECT_EQ(row.Left, 0);
    EXPECT_EQ(row.Top, Cell(1, 4).Top);
    EXPECT_EQ(row.Bottom, Cell(1, 4).Bottom);
    EXPECT_GE(row.Right, FGrid->ClientWidth() - 64);
    EXPECT_EQ(UpdateAfter([&] { FGrid->RepaintRow(60); }), TRect()) << "a row out of view";

    const TRect col = UpdateAfter([&] { FGrid->RepaintCol(3); });
    EXPECT_EQ(col.Left, Cell(3, 1).Left);
    EXPECT_EQ(col.Right, Cell(3, 1).Right);
    EXPECT_EQ(col.Top, Cell(3, 1).Top);
    EXPECT_GE(col.Bottom, FGrid->ClientHeight() - 22);

    // Flagging a row repaints it.
    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    EXPECT_EQ(UpdateAfter([&] { FGrid->SetRowSelect(5, true); }).Top, Cell(1, 5).Top);
    EXPECT_EQ(UpdateAfter([&] { FGrid->SetRowSelect(5, true); }), TRect()) << "no change, no repaint";
}

TEST_F(AdvGridRepaintTest, TheWheelMovesTheDisjunctRowSelectionWithTheCurrentRow) {
    FGrid->MouseActions()->SetWheelAction(waMoveSelection);
    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    Place(2, 5);
    FGrid->SetRowSelect(9, true);
    Wheel(-1);
    EXPECT_EQ(FGrid->Row(), 8);
    EXPECT_EQ(FGrid->RowSelectCount(), 1);
    EXPECT_TRUE(FGrid->RowSelect(8));
}

TEST_F(AdvGridRepaintTest, TheLastRowIsScrolledClearOfTheSearchPanel) {
    TSearchFooter* footer = FGrid->SearchFooter();
    FGrid->SetRow(50);
    FGrid->SetTopRow(FGrid->RowCount() - FGrid->VisibleRowCount());
    const Integer top = FGrid->TopRow();
    EXPECT_FALSE(FGrid->IsSearchFooterOverlap()) << "no search footer";
    footer->SetVisible(true);
    footer->SetColor(footer->Color());
    const Integer panelTop = FGrid->ClientHeight() - 32;
    FGrid->SetTopRow(top);
    EXPECT_GT(Cell(1, FGrid->RowCount() - 1).Bottom, panelTop + 2) << "the panel covers the last row";
    EXPECT_FALSE(FGrid->IsSearchFooterOverlap());
    FGrid->ScrollAboveSearchFooter();
    EXPECT_GT(FGrid->TopRow(), top);
    EXPECT_LE(Cell(1, FGrid->RowCount() - 1).Bottom, panelTop + 2);
    EXPECT_EQ(FGrid->IsSearchFooterOverlap(), Cell(1, FGrid->RowCount() - 1).Bottom < panelTop + 2);
}

TEST_F(AdvGridRepaintTest, GotoEditAndFocusCellMoveTheCurrentCell) {
    FGrid->GotoCell(4, 7);
    EXPECT_EQ(FGrid->Col(), 4);
    EXPECT_EQ(FGrid->Row(), 7);
    FGrid->FocusCell(5, 9);
    EXPECT_EQ(FGrid->Selection(), (TGridRect{5, 9, 5, 9}));
    FGrid->MoveToCell(2, 80);
    EXPECT_EQ(FGrid->Row(), 80);
    EXPECT_LE(FGrid->TopRow(), 80);
    EXPECT_GE(FGrid->TopRow() + FGrid->VisibleRowCount(), 80) << "scrolled into view";
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
    FGrid->SetCells(3, 4, u"text");
    FGrid->EditCell(3, 4);
    EXPECT_TRUE(FGrid->EditMode());
    EXPECT_EQ(FGrid->InplaceEditor()->Text(), u"text");
    EXPECT_EQ(FGrid->NormalEdit(), FGrid->InplaceEditor());
}

} // namespace
