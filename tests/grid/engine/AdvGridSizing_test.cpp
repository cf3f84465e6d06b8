// Tests of fitting the columns to the control and of exchanging rows and columns with all they carry.
#include <algorithm>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/engine/AdvGridTesting.h"

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"
#include "platform/win32/windraw.h"

namespace {

using advgrid_fixtures::gLiveGraphics;
using advgrid_fixtures::TCellGraphic;

class AdvGridSizingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gLiveGraphics, 0);
        form = new TForm(nullptr, 0);
        form->SetBounds(0, 0, 800, 600);
        grid = new TAdvStringGrid(nullptr);
        grid->SetScrollBars(ssNone);
        grid->SetBorderStyle(bsNone);
        // Text is measured on the grid's canvas, which needs the grid's window.
        grid->SetParent(form);
    }
    void TearDown() override {
        delete grid;
        delete form;
        EXPECT_EQ(gLiveGraphics, 0) << "every record is freed with the grid";
    }
    void SetWidths(const std::vector<Integer>& widths) {
        grid->SetColCount(static_cast<Integer>(widths.size()));
        for (size_t c = 0; c < widths.size(); ++c)
            grid->SetColWidths(static_cast<Integer>(c), widths[c]);
    }
    std::vector<Integer> Widths() const {
        std::vector<Integer> out;
        for (Integer c = 0; c < grid->ColCount(); ++c)
            out.push_back(grid->ColWidths(c));
        return out;
    }
    TForm* form = nullptr;
    TAdvStringGrid* grid = nullptr;
};

TEST_F(AdvGridSizingTest, AutoFitColumnsStretchesTheNormalColumnsInProportion) {
    grid->SetWidth(400);
    SetWidths({30, 50, 100, 50});
    grid->SetFixedCols(1);
    // 367 of 370 pixels in proportion (three line widths kept back), the two left over to the widest.
    grid->AutoFitColumns(false);
    EXPECT_EQ(Widths(), (std::vector<Integer>{30, 92, 186, 92}));
    // Fitted columns stay as they are.
    grid->AutoFitColumns(false);
    EXPECT_EQ(Widths(), (std::vector<Integer>{30, 92, 186, 92}));
    // With the fixed column the whole width is shared, the fixed column's lines included.
    grid->AutoFitColumns(true);
    Integer total = 0;
    for (Integer w : Widths())
        total += w;
    EXPECT_EQ(total, 400);
}

TEST_F(AdvGridSizingTest, AutoFitColumnsLeavesColumnsWithoutWidthAlone) {
    grid->SetWidth(300);
    SetWidths({40, 0, 0});
    grid->SetFixedCols(1);
    grid->AutoFitColumns(false);
    EXPECT_EQ(Widths(), (std::vector<Integer>{40, 0, 0}));
}

TEST_F(AdvGridSizingTest, AutoFitColumnsOnOneColumnLeavesRoomForTheScrollBar) {
    grid->SetWidth(250);
    grid->SetFixedCols(0);
    SetWidths({64});
    grid->AutoFitColumns(true);
    EXPECT_EQ(grid->ColWidths(0), 245);
    grid->SetScrollBarAlways(saVert);
    grid->AutoFitColumns(true);
    EXPECT_EQ(grid->ColWidths(0), 245 - GetSystemMetrics(SM_CXVSCROLL));
}

TEST_F(AdvGridSizingTest, SizeToCellsSizesTheClientToTheLines) {
    SetWidths({10, 20, 30});
    grid->SetRowCount(2);
    grid->SetRowHeights(0, 15);
    grid->SetRowHeights(1, 25);
    grid->SetScrollBars(ssBoth);
    grid->SizeToCells();
    EXPECT_EQ(grid->ClientWidth(), 60);
    EXPECT_EQ(grid->ClientHeight(), 40);
    EXPECT_EQ(grid->ScrollBars(), ssBoth);
}

TEST_F(AdvGridSizingTest, SwapRowsCarriesTextsRecordsHeightsAndControls) {
    grid->SetColCount(3);
    grid->SetRowCount(5);
    for (Integer r = 0; r < 5; ++r)
        for (Integer c = 0; c < 3; ++c)
            grid->SetCells(c, r, IntToStr(c) + u"," + IntToStr(r));
    grid->SetGraphicObjects(1, 1, new TCellGraphic);
    TObject* graphic = grid->GraphicObjects(1, 1);
    grid->SetColors(2, 3, clRed);
    grid->SetRowHeights(1, 40);
    // A cell beyond the near columns lives outside the rows' stores; it travels as well.
    grid->SetGridCell(5000, 1, u"far");
    grid->SwapRows(1, 3);

    for (Integer c = 0; c < 3; ++c) {
        EXPECT_EQ(grid->Cells(c, 1), IntToStr(c) + u",3");
        EXPECT_EQ(grid->Cells(c, 3), IntToStr(c) + u",1");
    }
    EXPECT_EQ(grid->GraphicObjects(1, 3), graphic);
    EXPECT_EQ(grid->GraphicObjects(1, 1), nullptr);
    EXPECT_EQ(grid->Colors(2, 1), clRed);
    EXPECT_EQ(grid->RowHeights(3), 40);
    EXPECT_EQ(grid->RowHeights(1), grid->DefaultRowHeight());
    EXPECT_EQ(grid->GridCells(5000, 3), u"far");
    EXPECT_EQ(grid->GridCells(5000, 1), u"");
    EXPECT_EQ(gLiveGraphics, 1) << "the record moved, none copied or freed";

    grid->SwapRows(3, 1);
    EXPECT_EQ(grid->GraphicObjects(1, 1), graphic);
    EXPECT_EQ(grid->Cells(0, 1), u"0,1");
    EXPECT_THROW(grid->SwapRows(1, 5), EAdvGridError);
}

TEST_F(AdvGridSizingTest, SwapsMoveTheControlsOfTheDisplayedRowsAndColumnsPastHiddenOnes) {
    grid->SetColCount(5);
    grid->SetRowCount(6);
    grid->HandleNeeded();
    auto* first = new TControl(nullptr);
    auto* second = new TControl(nullptr);
    grid->SetCellControls(2, 2, first);
    grid->SetCellControls(3, 3, second);
    // Controls are kept by stored row and column. With real row 1 and real column 1 hidden, the
    // controls sit at displayed rows 1 and 2 and displayed columns 1 and 2.
    grid->HideRow(1);
    grid->HideColumn(1);
    const auto top = [&](Integer row) { return grid->CellRect(0, row).Top - 1; };
    const auto left = [&](Integer col) { return grid->CellRect(col, 0).Left - 1; };

    grid->SwapRows(2, 3);
    EXPECT_EQ(first->Top(), top(1)) << "displayed row 1 takes no part";
    EXPECT_EQ(second->Top(), top(3));
    EXPECT_EQ(grid->CellControls(3, 3), second);

    grid->SwapColumns(1, 2);
    EXPECT_EQ(first->Left(), left(2));
    EXPECT_EQ(second->Left(), left(1));
    EXPECT_TRUE(first->Visible()) << "no control goes to the hidden column";
    EXPECT_TRUE(second->Visible());
    EXPECT_EQ(grid->CellControls(3, 1), first);
    delete first;
    delete second;
}

TEST_F(AdvGridSizingTest, SortSwapRowsCarriesTextsRecordsAndHeights) {
    grid->SetColCount(2);
    grid->SetRowCount(4);
    grid->SetCells(1, 1, u"b");
    grid->SetCells(1, 2, u"a");
    grid->SetGraphicObjects(0, 2, new TCellGraphic);
    TObject* graphic = grid->GraphicObjects(0, 2);
    grid->SetRowHeights(2, 33);
    grid->SortSwapRows(1, 2);
    EXPECT_EQ(grid->Cells(1, 1), u"a");
    EXPECT_EQ(grid->Cells(1, 2), u"b");
    EXPECT_EQ(grid->GraphicObjects(0, 1), graphic);
    EXPECT_EQ(grid->RowHeights(1), 33);
    EXPECT_EQ(grid->RowHeights(2), grid->DefaultRowHeight());
    grid->SortSwapRows(2, 2);
    EXPECT_EQ(grid->Cells(1, 2), u"b");
    EXPECT_EQ(gLiveGraphics, 1);
}

TEST_F(AdvGridSizingTest, SwapColumnsCarriesTextsRecordsAndWidths) {
    grid->SetColCount(4);
    grid->SetRowCount(3);
    for (Integer r = 0; r < 3; ++r)
        for (Integer c = 0; c < 4; ++c)
            grid->SetCells(c, r, IntToStr(c) + u"," + IntToStr(r));
    grid->SetGraphicObjects(3, 2, new TCellGraphic);
    TObject* graphic = grid->GraphicObjects(3, 2);
    grid->SetColWidths(3, 17);
    // A row shorter than both columns and one that reaches only the first.
    grid->SetRowCount(5);
    grid->SetCells(1, 4, u"x");
    grid->SortSettings()->SetColumn(3);
    grid->SwapColumns(1, 3);

    for (Integer r = 0; r < 3; ++r) {
        EXPECT_EQ(grid->Cells(1, r), u"3," + IntToStr(r));
        EXPECT_EQ(grid->Cells(3, r), u"1," + IntToStr(r));
    }
    EXPECT_EQ(grid->Cells(3, 4), u"x");
    EXPECT_EQ(grid->Cells(1, 4), u"");
    EXPECT_EQ(grid->GraphicObjects(1, 2), graphic);
    EXPECT_EQ(grid->ColWidths(1), 17);
    EXPECT_EQ(grid->ColWidths(3), grid->DefaultColWidth());
    EXPECT_EQ(grid->SortSettings()->Column(), 1) << "the sort column follows its cells";
    EXPECT_EQ(gLiveGraphics, 1);
}

} // namespace

namespace {

// Widths and heights measured on the grid's canvas with the grid's pinned font.
class AdvGridAutoSizeTest : public AdvGridSizingTest {
protected:
    void SetUp() override {
        AdvGridSizingTest::SetUp();
        grid->SetColCount(3);
        grid->SetRowCount(4);
        grid->FixedFont()->Assign(grid->Font());
        grid->SetWordWrap(false);
        grid->SetMultilineCells(true);
    }
    Integer TextWidth(const String& text) {
        grid->Canvas()->Font()->Assign(grid->Font());
        return grid->Canvas()->TextWidth(text);
    }
    Integer LineHeight() {
        grid->Canvas()->Font()->Assign(grid->Font());
        return grid->Canvas()->TextHeight(u"gh");
    }
};

TEST_F(AdvGridAutoSizeTest, ColumnFitsItsWidestTextWithinTheLimits) {
    grid->SetCells(1, 0, u"Head");
    grid->SetCells(1, 1, u"a rather long text");
    grid->SetCells(1, 2, u"short");
    grid->SetCells(1, 3, u"line one\r\nline two, longer");
    // Text, the inset on both sides and a grid line with a pixel on both sides.
    const Integer fitted = TextWidth(u"a rather long text") + 4 + 4;
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), std::max(fitted, TextWidth(u"line two, longer") + 8));
    grid->SetCells(1, 3, u"");
    grid->AutoSizeCol(1, 3);
    EXPECT_EQ(grid->ColWidths(1), fitted + 3);

    grid->SetMaxColWidth(40);
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), 40);
    grid->SetMaxColWidth(0);
    grid->SetMinColWidth(500);
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), 500);
    grid->SetMinColWidth(0);

    // Only the fixed rows, or only the normal rows without the footer.
    grid->ColumnSize()->SetRows(arFixed);
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), TextWidth(u"Head") + 8);
    grid->ColumnSize()->SetRows(arNormal);
    grid->SetFixedFooters(2);
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), fitted);

    // Wrapped text is measured inside the column's present width less the inset and 2 pixels a side.
    grid->ColumnSize()->SetRows(arAll);
    grid->SetWordWrap(true);
    grid->SetColWidths(1, 30);
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), 30 - 4 - 4 + 8);
}

TEST_F(AdvGridAutoSizeTest, WrappedRowsGrowByTheirLines) {
    grid->SetWordWrap(true);
    grid->SetColWidths(1, 44);
    const String text = u"several words that cannot fit in one line";
    grid->SetCells(1, 1, text);
    // The words wrap inside the column less the inset and 2 pixels on each side.
    grid->Canvas()->Font()->Assign(grid->Font());
    RECT room{0, 0, 44 - 4 - 4, 0};
    const Integer height = DrawTextW(grid->Canvas()->Handle(), text.c_str(), -1, &room,
                                     DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    ASSERT_GT(height, 2 * LineHeight());
    grid->AutoSizeRow(1, 0);
    EXPECT_EQ(grid->RowHeights(1), height + 4 + 2);
    // An empty row keeps only its inset and lines.
    grid->AutoSizeRow(2, 0);
    EXPECT_EQ(grid->RowHeights(2), 4 + 2);
    // A check box counts the default row height.
    grid->AddCheckBox(2, 2, true, false);
    grid->AutoSizeRow(2, 0);
    EXPECT_EQ(grid->RowHeights(2), grid->DefaultRowHeight() + 4 + 2);
}

TEST_F(AdvGridAutoSizeTest, GrowOnlyNeverNarrowsOrLowers) {
    grid->SetCells(1, 1, u"wide enough text");
    grid->AutoSizeCol(1, 0);
    const Integer wide = grid->ColWidths(1);
    grid->SetCells(1, 1, u"x");
    grid->AutoGrowCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), wide);
    EXPECT_FALSE(grid->SizeGrowOnly()) << "the grow forms restore the setting";
    grid->AutoGrowColumns(false, 0);
    EXPECT_EQ(grid->ColWidths(1), wide);
    grid->AutoSizeColumns(false, 0);
    EXPECT_EQ(grid->ColWidths(1), TextWidth(u"x") + 8);
    // AutoSize fits the normal columns with ten pixels more.
    grid->SetAutoSize(true);
    EXPECT_EQ(grid->ColWidths(1), TextWidth(u"x") + 8 + 10);
    EXPECT_EQ(grid->ColWidths(0), grid->DefaultColWidth());

    grid->SetCells(0, 2, u"y");
    grid->SetRowHeights(2, 90);
    grid->SetSizeGrowOnly(true);
    grid->AutoSizeRow(2, 0);
    grid->AutoSizeCells(false, 0, 0);
    EXPECT_EQ(grid->RowHeights(2), 90);
    EXPECT_GE(grid->ColWidths(1), TextWidth(u"x") + 8);
    grid->SetSizeGrowOnly(false);
    grid->AutoSizeRow(2, 0);
    EXPECT_EQ(grid->RowHeights(2), LineHeight() + 4 + 2);
}

TEST_F(AdvGridAutoSizeTest, RowsTakeTheirTallestCell) {
    grid->SetCells(0, 1, u"one\r\ntwo\r\nthree");
    grid->SetCells(2, 1, u"single");
    grid->AutoSizeRow(1, 0);
    EXPECT_EQ(grid->RowHeights(1), 3 * LineHeight() + 4 + 2);
    grid->SetMaxRowHeight(20);
    grid->AutoSizeRow(1, 0);
    EXPECT_EQ(grid->RowHeights(1), 20);
    grid->SetMaxRowHeight(0);

    // Together with the columns: the first column's three lines set the row's height although the
    // later columns are shorter, and each column fits its widest cell plus the padding.
    grid->AutoSizeCells(true, 2, 1);
    EXPECT_EQ(grid->RowHeights(1), 3 * LineHeight() + 1 + 2);
    EXPECT_EQ(grid->ColWidths(2), TextWidth(u"single") + 2 + 2);
    EXPECT_EQ(grid->ColWidths(0), TextWidth(u"three") + 2 + 2);
}

TEST_F(AdvGridAutoSizeTest, SizeRowToLinesAddsTheInsetAfterTheLimits) {
    grid->SizeRowToLines(1, 3, 5);
    EXPECT_EQ(grid->RowHeights(1), 5 + 3 * (LineHeight() + 2) + 2);
    grid->SetMaxRowHeight(20);
    grid->SizeRowToLines(1, 3, 5);
    EXPECT_EQ(grid->RowHeights(1), 20 + 2);
}

// A grid that records what its passes over the rows report.
class TReportingGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    std::vector<std::pair<TGridExportState, Integer>> reports;

protected:
    void ExportNotification(TGridExportState AState, Integer ARow) override {
        reports.emplace_back(AState, ARow);
    }
};

TEST_F(AdvGridAutoSizeTest, AutoSizeRowsSizesByLinesOrByWrappedText) {
    auto* reporting = new TReportingGrid(nullptr);
    delete grid;
    grid = reporting;
    grid->SetParent(form);
    grid->SetColCount(3);
    grid->SetRowCount(4);
    grid->SetWordWrap(false);
    grid->SetMultilineCells(true);
    grid->SetRowHeights(0, 50);
    grid->SetCells(1, 1, u"one\r\ntwo\r\nthree");
    grid->SetCells(2, 2, u"a\r\nb");

    grid->AutoSizeRows(false, 4);
    EXPECT_EQ(grid->RowHeights(0), 50) << "fixed rows only when asked";
    EXPECT_EQ(grid->RowHeights(1), 4 + 3 * (LineHeight() + 2) + 2);
    EXPECT_EQ(grid->RowHeights(2), 4 + 2 * (LineHeight() + 2) + 2);
    EXPECT_EQ(grid->RowHeights(3), 4 + 1 * (LineHeight() + 2) + 2);
    using Report = std::pair<TGridExportState, Integer>;
    EXPECT_EQ(reporting->reports, (std::vector<Report>{{esExportStart, 1},
                                                       {esExportNextRow, 1},
                                                       {esExportNextRow, 2},
                                                       {esExportNextRow, 3},
                                                       {esExportDone, -1}}));

    // Without MultilineCells every row counts one line.
    grid->SetMultilineCells(false);
    EXPECT_EQ(grid->GetMaxLinesInRow(1), 1);
    grid->AutoSizeRows(true, 0);
    EXPECT_EQ(grid->RowHeights(0), LineHeight() + 2 + 2);
    EXPECT_EQ(grid->RowHeights(1), LineHeight() + 2 + 2);

    // With WordWrap each row fits its cells, then takes the padding within the limits.
    grid->SetMultilineCells(true);
    grid->SetWordWrap(true);
    grid->SetMaxRowHeight(40);
    grid->AutoSizeRows(false, 30);
    EXPECT_EQ(grid->RowHeights(2), 40);
    EXPECT_EQ(grid->RowHeights(3), std::min(4 + 2 + 30, 40));
}

TEST_F(AdvGridAutoSizeTest, RowHeightsCountCellObjectsByTheirStoredColumn) {
    // A button over the whole height needs a default row when its cell has no text, nothing more when
    // it has.
    grid->AddButton(1, 1, 20, 10, u"", haLeft, vaFull);
    grid->AutoSizeRow(1, 0);
    EXPECT_EQ(grid->RowHeights(1), grid->DefaultRowHeight() + 4 + 2);
    grid->SetCells(1, 1, u"text");
    grid->AutoSizeRow(1, 0);
    EXPECT_EQ(grid->RowHeights(1), LineHeight() + 4 + 2);

    // A check box is found at its stored column when a column before it is hidden.
    grid->AddCheckBox(2, 2, true, false);
    grid->HideColumn(0);
    grid->AutoSizeRow(2, 0);
    EXPECT_EQ(grid->RowHeights(2), grid->DefaultRowHeight() + 4 + 2);
}

TEST_F(AdvGridAutoSizeTest, ARowGrowingUnderTheEditorPlacesItAgainWithTheCaretAtTheEnd) {
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    grid->SetBounds(0, 0, 300, 160);
    form->Show();
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    grid->SizeWhileTyping()->SetHeight(true);
    grid->SetCells(1, 1, u"typed");
    grid->SetCol(1);
    grid->SetRow(1);
    grid->ShowInplaceEdit();
    ASSERT_TRUE(grid->EditMode());
    ASSERT_EQ(grid->VisibleRowCount(), grid->RowCount());
    TInplaceEdit* editor = grid->InplaceEditor();
    editor->SetSelStart(0);
    grid->SetCells(1, 1, u"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10");
    grid->AutoSizeRow(1, 0);
    ASSERT_LT(grid->VisibleRowCount(), grid->RowCount());
    EXPECT_TRUE(grid->EditMode());
    EXPECT_EQ(editor->SelStart(), static_cast<Integer>(editor->Text().length()));
}

TEST_F(AdvGridAutoSizeTest, ColumnSizingCountsComboButtonsTheEventAndFullObjects) {
    grid->SetCells(1, 1, u"combo");
    grid->ColumnSize()->SetRows(arNormal);
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), TextWidth(u"combo") + 8);
    grid->SetDefaultEditor(edComboList);
    grid->ControlLook()->SetDropDownAlwaysVisible(true);
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), TextWidth(u"combo") + 16 + 8);
    grid->ControlLook()->SetDropDownAlwaysVisible(false);

    // The event may change the width before the limits apply.
    grid->SetMaxColWidth(100);
    grid->OnUpdateColumnSize = [](TObject*, Integer ACol, Integer& AWidth) { AWidth = 500 + ACol; };
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), 100);
    grid->SetMaxColWidth(0);
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), 501);
    grid->OnUpdateColumnSize = nullptr;

    // A button over the whole width counts the cell's width less a line and the inset once, whatever
    // the text under it.
    grid->SetCells(1, 2, u"a much longer text under a full button");
    grid->AddButton(1, 2, 0, 10, u"", haFull, vaTop);
    grid->SetColWidths(1, 60);
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), 60 - (2 + 2 + 2) + 8);
}

} // namespace
