// Tests of the full string grid's selection state: the disjunct row, column and cell selections, their
// events and errors, the selection's text, and the row flags kept in step with hidden and removed rows.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/engine/AdvGridTesting.h"
#include "tests/grid/engine/HiddenStoreChecking.h"

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Forms.h"
#include "platform/framework/RichEdit.h"
#include "platform/rtl/Convert.h"

namespace {

using advgrid_fixtures::CheckHiddenStore;
using advgrid_fixtures::gLiveGraphics;
using advgrid_fixtures::THiddenStoreGrid;

std::vector<Integer> Entries(const TIntList* list) {
    std::vector<Integer> entries;
    for (Integer i = 0; i < list->Count(); ++i)
        entries.push_back(list->Items(i));
    return entries;
}

class AdvGridSelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gLiveGraphics, 0);
        FGrid = new THiddenStoreGrid(nullptr);
    }
    void TearDown() override {
        delete FGrid;
        EXPECT_EQ(gLiveGraphics, 0);
    }
    // A grid of cols x rows (one fixed row and column) whose cell (c, r) reads "c,r".
    void Make(Integer cols, Integer rows) {
        FGrid->SetColCount(cols);
        FGrid->SetRowCount(rows);
        for (Integer r = 0; r < rows; ++r)
            for (Integer c = 0; c < cols; ++c)
                FGrid->SetGridCell(c, r, IntToStr(c) + u"," + IntToStr(r));
    }
    // The displayed rows whose disjunct flag is set.
    std::vector<Integer> Flagged() {
        std::vector<Integer> rows;
        for (Integer r = 0; r < FGrid->RowCount(); ++r)
            if (FGrid->RowSelect(r))
                rows.push_back(r);
        return rows;
    }
    // Column 1's texts of the displayed rows from row 1 on.
    std::vector<String> Column1() {
        std::vector<String> texts;
        for (Integer r = 1; r < FGrid->RowCount(); ++r)
            texts.push_back(FGrid->GridCells(1, r));
        return texts;
    }

    THiddenStoreGrid* FGrid = nullptr;
};

TEST_F(AdvGridSelectionTest, RowFlagsFireTheirEventsOnlyForChangesAndListRowsInSelectionOrder) {
    Make(3, 10);
    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    std::vector<std::string> events;
    FGrid->OnRowDisjunctSelect = [&](TObject* sender, Integer row, bool state, bool& allow) {
        EXPECT_EQ(sender, FGrid);
        events.push_back("ask " + std::to_string(row) + (state ? " on" : " off"));
        allow = row != 7;
    };
    FGrid->OnRowDisjunctSelected = [&](TObject*, Integer row) {
        events.push_back("told " + std::to_string(row));
    };

    // A row beyond the flags reads unselected.
    EXPECT_FALSE(FGrid->RowSelect(9));
    FGrid->SetRowSelect(5, true);
    FGrid->SetRowSelect(2, true);
    FGrid->SetRowSelect(0, true);
    // The state a row has already fires nothing.
    FGrid->SetRowSelect(5, true);
    FGrid->SetRowSelect(3, false);
    // A refusal keeps the row and tells nothing.
    FGrid->SetRowSelect(7, true);
    EXPECT_EQ(events, (std::vector<std::string>{"ask 5 on", "told 5", "ask 2 on", "told 2", "ask 0 on",
                                                "told 0", "ask 7 on"}));
    EXPECT_EQ(Flagged(), (std::vector<Integer>{0, 2, 5}));
    // The fixed row is flagged but not listed.
    EXPECT_EQ(Entries(FGrid->SelectedRowList()), (std::vector<Integer>{5, 2}));
    EXPECT_EQ(FGrid->RowSelectCount(), 3);

    FGrid->SetRowSelect(5, false);
    EXPECT_EQ(Entries(FGrid->SelectedRowList()), (std::vector<Integer>{2}));
    FGrid->ClearRowSelectAll();
    EXPECT_TRUE(Flagged().empty());
    EXPECT_TRUE(Entries(FGrid->SelectedRowList()).empty());
}

TEST_F(AdvGridSelectionTest, SelectingAndUnselectingManyRowsCostsAPass) {
    FGrid->SetColCount(2);
    FGrid->SetRowCount(100001);
    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    FGrid->SetRowSelect(7, true);
    FGrid->SelectRows(1, 100000);
    EXPECT_EQ(FGrid->RowSelectCount(), 100000);
    ASSERT_EQ(FGrid->SelectedRowList()->Count(), 100000);
    EXPECT_EQ(FGrid->SelectedRowList()->Items(0), 7) << "the row selected first stays first";
    EXPECT_EQ(FGrid->SelectedRowList()->Items(1), 1);
    FGrid->UnSelectRows(1, 60000);
    EXPECT_EQ(FGrid->RowSelectCount(), 40000);
    ASSERT_EQ(FGrid->SelectedRowList()->Count(), 40000);
    EXPECT_EQ(FGrid->SelectedRowList()->Items(0), 60001);
    FGrid->SetSelection(TGridRect{1, 10, 1, 20});
    FGrid->SelectionToRowSelect(true);
    EXPECT_EQ(Entries(FGrid->SelectedRowList()).size(), 11u);
    EXPECT_EQ(FGrid->SelectedRowList()->Items(0), 10);
}

TEST_F(AdvGridSelectionTest, RowsAndColumnsOutsideTheGridRaise) {
    Make(4, 6);
    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    struct Case {
        const char* name;
        std::function<void()> call;
        const Char* message;
    };
    const Case cases[] = {
        {"read row -1", [&] { FGrid->GetRowSelect(-1); }, u"Invalid row -1 accessed"},
        {"read row past the rows", [&] { FGrid->GetRowSelect(6); }, u"Invalid row 6 accessed"},
        {"write row -1", [&] { FGrid->SetRowSelect(-1, true); }, u"Invalid row accessed"},
        {"write row past the rows", [&] { FGrid->SetRowSelect(6, true); }, u"Invalid row accessed"},
        {"read column -1", [&] { FGrid->GetColSelect(-1); }, u"Invalid column accessed"},
        {"write column past the columns", [&] { FGrid->SetColSelect(4, true); }, u"Invalid column accessed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            c.call();
            ADD_FAILURE() << "no error";
        } catch (const EAdvGridError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
    EXPECT_EQ(FGrid->RowSelectCount(), 0) << "nothing changed";
    // A hidden row still counts as a row.
    FGrid->HideRow(2);
    EXPECT_NO_THROW(FGrid->SetRowSelect(5, true));
}

TEST_F(AdvGridSelectionTest, IsSelectedFollowsTheModeInUseAndNeverAFixedCell) {
    Make(5, 6);
    FGrid->SetSelection(TGridRect{1, 1, 2, 3});
    EXPECT_TRUE(FGrid->IsSelected(2, 3));
    EXPECT_FALSE(FGrid->IsSelected(3, 3));

    FGrid->SetFixedCols(2);
    EXPECT_FALSE(FGrid->IsSelected(1, 2)) << "a fixed column the rectangle covers";

    FGrid->MouseActions()->SetDisjunctColSelect(true);
    FGrid->SelectCols(3, 9);
    EXPECT_TRUE(FGrid->IsSelected(4, 1));
    EXPECT_FALSE(FGrid->IsSelected(2, 2));
    EXPECT_EQ(FGrid->ColSelectCount(), 2) << "columns past the grid are skipped";
    FGrid->UnSelectCols(4, 1);
    EXPECT_EQ(FGrid->ColSelectCount(), 1);

    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    FGrid->SelectRows(4, 5);
    EXPECT_TRUE(FGrid->IsSelected(2, 5));
    EXPECT_FALSE(FGrid->IsSelected(3, 3)) << "the row mode comes before the column mode";
    EXPECT_EQ(FGrid->RowSelectCount(), 2);

    FGrid->MouseActions()->SetDisjunctCellSelect(true);
    FGrid->SelectCells(2, 1, 3, 2);
    EXPECT_TRUE(FGrid->IsSelected(3, 2));
    EXPECT_FALSE(FGrid->IsSelected(2, 5)) << "the cell mode comes first";
    EXPECT_EQ(FGrid->SelectedCellList()->Count(), 4);
    FGrid->ClearSelectedCells();
    EXPECT_EQ(FGrid->SelectedCellList()->Count(), 0);
}

TEST_F(AdvGridSelectionTest, ClearRowSelectLeavesNoCellShownSelected) {
    Make(4, 8);
    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    FGrid->SelectRows(2, 3);
    FGrid->ClearRowSelect();
    EXPECT_EQ(FGrid->RowSelectCount(), 0);
    FGrid->MouseActions()->SetDisjunctRowSelect(false);
    for (Integer r = 0; r < FGrid->RowCount(); ++r)
        for (Integer c = 0; c < FGrid->ColCount(); ++c)
            EXPECT_FALSE(FGrid->IsSelected(c, r)) << c << "," << r;
}

TEST_F(AdvGridSelectionTest, SelectionToRowSelectCopiesTheRectangleAboveTheFooters) {
    Make(4, 10);
    FGrid->SetFixedFooters(2);
    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    FGrid->SetRowSelect(2, true);
    FGrid->SetSelection(TGridRect{1, 5, 2, 9});
    FGrid->SelectionToRowSelect(false);
    EXPECT_EQ(Flagged(), (std::vector<Integer>{2, 5, 6, 7})) << "without All the rows outside stay";
    FGrid->SelectionToRowSelect(true);
    EXPECT_EQ(Flagged(), (std::vector<Integer>{5, 6, 7}));

    FGrid->MouseActions()->SetDisjunctColSelect(true);
    FGrid->SelectionToColSelect(true);
    EXPECT_TRUE(FGrid->ColSelect(1));
    EXPECT_TRUE(FGrid->ColSelect(2));
    EXPECT_FALSE(FGrid->ColSelect(3));
}

TEST_F(AdvGridSelectionTest, WritingRowMakesItTheDisjunctRowSelection) {
    Make(4, 10);
    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    FGrid->SetRow(4);
    EXPECT_EQ(Flagged(), (std::vector<Integer>{4}));
    FGrid->SetRow(6);
    EXPECT_EQ(Flagged(), (std::vector<Integer>{6}));
    // The row check box of column 0 shows and sets the same flags.
    FGrid->MouseActions()->SetHotmailRowSelect(true);
    bool state = false;
    ASSERT_TRUE(FGrid->GetCheckBoxState(0, 6, state));
    EXPECT_TRUE(state);
    FGrid->ToggleCheckBox(0, 3);
    EXPECT_EQ(Flagged(), (std::vector<Integer>{3, 6}));
}

TEST_F(AdvGridSelectionTest, SelectedTextJoinsCellsByTabAndRowsByLineBreaks) {
    Make(4, 6);
    FGrid->SetCells(1, 1, u"a");
    FGrid->SetCells(2, 1, u"b");
    FGrid->SetCells(1, 2, u"c");
    FGrid->SetCells(2, 2, u"d");
    FGrid->SetSelection(TGridRect{1, 1, 2, 2});
    EXPECT_EQ(FGrid->SelectedText(), u"a\tb\r\nc\td") << "no line break after the last row";

    FGrid->DragDropSettings()->SetOleEntireRows(true);
    EXPECT_EQ(FGrid->SelectedText(), u"0,1\ta\tb\t3,1\r\n0,2\tc\td\t3,2");
    FGrid->DragDropSettings()->SetOleEntireRows(false);

    // A multi-line text is quoted for the spreadsheet only when asked.
    FGrid->SetMultilineCells(true);
    FGrid->SetCells(2, 2, u"d1\r\nd2");
    EXPECT_EQ(FGrid->SelectedText(), u"a\tb\r\nc\td1\r\nd2");
    FGrid->SetExcelClipboardFormat(true);
    EXPECT_EQ(FGrid->SelectedText(), u"a\tb\r\nc\t\"d1\x0b"
                                     u"d2\"");

    // Each flagged row is a line of its own, the last one too; hidden columns are left out.
    FGrid->SetExcelClipboardFormat(false);
    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    FGrid->SetRowSelect(1, true);
    FGrid->SetRowSelect(4, true);
    FGrid->HideColumn(2);
    FGrid->SetSelection(TGridRect{1, 1, 2, 1});
    EXPECT_EQ(FGrid->SelectedText(), u"a\t3,1\r\n1,4\t3,4\r\n");
}

TEST_F(AdvGridSelectionTest, SelectedTextGivesRichTextAsPlainText) {
    TForm form(nullptr, 0);
    form.SetBounds(0, 0, 300, 200);
    FGrid->SetParent(&form);
    Make(3, 3);
    auto* rich = new TRichEdit(&form);
    rich->SetParent(&form);
    rich->Lines()->Add(u"bold words");
    FGrid->RichToCell(1, 1, rich);
    ASSERT_EQ(FGrid->Cells(1, 1).rfind(u"{\\", 0), 0u);
    FGrid->SetSelection(TGridRect{1, 1, 2, 1});
    EXPECT_EQ(FGrid->SelectedText(), u"bold words\t2,1");
    FGrid->SetParent(nullptr);
}

TEST_F(AdvGridSelectionTest, RowFlagsTravelWithHiddenRows) {
    for (bool persistent : {false, true}) {
        SCOPED_TRACE(persistent ? "persistent" : "by displayed row");
        Make(3, 12);
        FGrid->UnHideRowsAll();
        FGrid->MouseActions()->SetDisjunctRowSelect(true);
        FGrid->MouseActions()->SetRowSelectPersistent(persistent);
        FGrid->ClearRowSelectAll();
        FGrid->SelectRows(3, 2);
        FGrid->SetRowSelect(8, true);
        FGrid->HideRows(2, 3);
        CheckHiddenStore(*FGrid);
        // Displayed row 2 is real row 4, displayed row 6 real row 8.
        std::vector<Integer> selected;
        for (Integer d = 1; d < FGrid->RowCount(); ++d)
            if (FGrid->IsSelected(1, d))
                selected.push_back(d);
        EXPECT_EQ(selected, (std::vector<Integer>{2, 6}));
        FGrid->SetRowSelect(persistent ? FGrid->RealRowIndex(3) : 3, true);
        FGrid->UnHideRowsAll();
        CheckHiddenStore(*FGrid);
        for (Integer r = 1; r < FGrid->RowCount(); ++r)
            EXPECT_EQ(FGrid->IsSelected(1, r), r == 3 || r == 4 || r == 5 || r == 8) << "row " << r;
    }
}

TEST_F(AdvGridSelectionTest, HidingByTheSelectionKeepsTheStoreSound) {
    Make(3, 12);
    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    for (Integer r : {2, 3, 6, 10})
        FGrid->SetRowSelect(r, true);
    FGrid->HideSelectedRows();
    CheckHiddenStore(*FGrid);
    EXPECT_EQ(Column1(), (std::vector<String>{u"1,1", u"1,4", u"1,5", u"1,7", u"1,8", u"1,9", u"1,11"}));
    EXPECT_EQ(FGrid->RowSelectCount(), 0) << "the hidden rows' flags went with them";
    FGrid->UnHideRowsAll();
    CheckHiddenStore(*FGrid);
    EXPECT_EQ(FGrid->RowSelectCount(), 4);
    FGrid->HideUnSelectedRows();
    CheckHiddenStore(*FGrid);
    EXPECT_EQ(Column1(), (std::vector<String>{u"1,2", u"1,3", u"1,6", u"1,10"}));
    FGrid->UnHideRowsAll();
    CheckHiddenStore(*FGrid);
    EXPECT_EQ(FGrid->RowCount(), 12);
}

TEST_F(AdvGridSelectionTest, RemovalsAndClearingFollowTheDisjunctSelections) {
    Make(5, 10);
    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    for (Integer r : {2, 5, 6})
        FGrid->SetRowSelect(r, true);
    FGrid->ClearSelection();
    EXPECT_EQ(FGrid->Cells(1, 5), u"");
    EXPECT_EQ(FGrid->Cells(1, 4), u"1,4");
    FGrid->SetCells(1, 5, u"1,5");

    FGrid->RemoveSelectedRows();
    EXPECT_EQ(Column1(), (std::vector<String>{u"1,1", u"1,3", u"1,4", u"1,7", u"1,8", u"1,9"}));
    EXPECT_EQ(FGrid->RowSelectCount(), 0);
    EXPECT_FALSE(FGrid->LockUpdate());

    FGrid->SetRowSelect(3, true);
    FGrid->SetRowSelect(5, true);
    FGrid->RemoveUnSelectedRows();
    EXPECT_EQ(Column1(), (std::vector<String>{u"1,4", u"1,8"}));
    EXPECT_EQ(FGrid->RowSelectCount(), 0);

    FGrid->MouseActions()->SetDisjunctRowSelect(false);
    FGrid->MouseActions()->SetDisjunctColSelect(true);
    FGrid->SetColSelect(1, true);
    FGrid->SetColSelect(3, true);
    FGrid->RemoveSelectedCols();
    EXPECT_EQ(FGrid->ColCount(), 3);
    EXPECT_EQ(FGrid->GridCells(1, 1), u"2,4");
    EXPECT_EQ(FGrid->GridCells(2, 1), u"4,4");
    EXPECT_EQ(FGrid->ColSelectCount(), 0);
    FGrid->SetColSelect(2, true);
    FGrid->RemoveUnSelectedCols();
    EXPECT_EQ(FGrid->ColCount(), 2);
    EXPECT_EQ(FGrid->GridCells(1, 1), u"4,4");
    EXPECT_EQ(FGrid->ColSelectCount(), 0);
}

} // namespace
