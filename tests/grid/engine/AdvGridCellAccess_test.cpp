// Tests of the full string grid's cell text access: stored coordinates over hidden rows, objects of
// hidden cells, the current cell and the editor's text in merged blocks, and rich text through a cell.
#include <gtest/gtest.h>

#include "tests/grid/engine/AdvGridTesting.h"
#include "tests/grid/engine/HiddenStoreChecking.h"

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Forms.h"
#include "platform/framework/RichEdit.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/Exceptions.h"

namespace {

using advgrid_fixtures::CheckHiddenStore;
using advgrid_fixtures::gLiveGraphics;
using advgrid_fixtures::TCellGraphic;
using advgrid_fixtures::THiddenStoreGrid;

class TAccessGrid : public THiddenStoreGrid {
public:
    using TAdvStringGrid::GetEditText;
    using TAdvStringGrid::SetEditText;
    using THiddenStoreGrid::THiddenStoreGrid;
    bool NoEditChange() const { return FNoEditChange; }
};

class AdvGridCellAccessTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gLiveGraphics, 0);
        FGrid = new TAccessGrid(nullptr);
    }
    void TearDown() override {
        delete FGrid;
        EXPECT_EQ(gLiveGraphics, 0) << "every record is freed with the grid";
    }
    // A grid of cols x rows whose cell (c, r) reads "c,r".
    void Make(Integer cols, Integer rows) {
        FGrid->SetColCount(cols);
        FGrid->SetRowCount(rows);
        for (Integer r = 0; r < rows; ++r)
            for (Integer c = 0; c < cols; ++c)
                FGrid->SetGridCell(c, r, IntToStr(c) + u"," + IntToStr(r));
    }

    TAccessGrid* FGrid = nullptr;
};

TEST_F(AdvGridCellAccessTest, StoredRowsReachHiddenRowsAndMapTheShownOnes) {
    Make(4, 8);
    FGrid->HideRow(4);
    EXPECT_EQ(FGrid->AllCells(2, 4), u"2,4") << "the hidden row's own text";
    EXPECT_EQ(FGrid->AllCells(2, 5), FGrid->Cells(2, 4));
    EXPECT_EQ(FGrid->AllCells(2, 5), u"2,5");
    EXPECT_EQ(FGrid->AllGridCells(1, 4), u"1,4");
    EXPECT_EQ(FGrid->AllCells(-1, 4), u"");
    EXPECT_EQ(FGrid->AllCells(1, -1), u"");
    EXPECT_EQ(FGrid->AllRowCount(), 8);

    // Reading past the hidden row's list grows it with empty texts; the raw read does not.
    TStrings* items = FGrid->HiddenRowItems(4);
    ASSERT_NE(items, nullptr);
    ASSERT_EQ(items->Count(), 4);
    EXPECT_THROW(FGrid->AllGridCells(6, 4), EStringListError);
    EXPECT_EQ(FGrid->AllCells(7, 4), u"");
    EXPECT_EQ(items->Count(), 8);
    EXPECT_EQ(FGrid->HiddenRowItems(5), nullptr) << "a shown row has no list";

    // Writes go to the hidden row and come back with it; writes to shown rows go through the mapping.
    FGrid->SetAllCells(1, 4, u"hidden");
    FGrid->SetAllGridCells(2, 4, u"raw");
    FGrid->SetAllCells(1, 6, u"shown");
    EXPECT_EQ(FGrid->GridCells(1, 5), u"shown");
    FGrid->UnHideRow(4);
    EXPECT_EQ(FGrid->GridCells(1, 4), u"hidden");
    EXPECT_EQ(FGrid->GridCells(2, 4), u"raw");
    CheckHiddenStore(*FGrid);
}

TEST_F(AdvGridCellAccessTest, HiddenRowTextGoesThroughTheDisplayEvent) {
    Make(4, 8);
    FGrid->HideRow(3);
    std::vector<std::pair<Integer, Integer>> asked;
    FGrid->OnGetDisplText = [&](TObject*, Integer c, Integer r, String& value) {
        asked.emplace_back(c, r);
        value += u"!";
    };
    EXPECT_EQ(FGrid->AllCells(2, 3), u"2,3!");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], std::make_pair(2, 3)) << "stored coordinates";
    EXPECT_EQ(FGrid->AllGridCells(2, 3), u"2,3") << "the raw text has no event";
}

TEST_F(AdvGridCellAccessTest, AnObjectOfAHiddenCellLivesInTheHiddenRowOnly) {
    Make(4, 8);
    FGrid->HideRow(2);
    // Row 2's grid position now shows stored row 3, which has its own record.
    TObject* shownObject = new TCellGraphic;
    FGrid->SetAllObjects(1, 3, shownObject);
    TCellProperties* shownRecord = FGrid->PeekCellProperties(1, 2);
    ASSERT_NE(shownRecord, nullptr);

    TCellGraphic object;
    FGrid->SetAllObjects(1, 2, &object);
    EXPECT_EQ(FGrid->AllObjects(1, 2), &object);
    EXPECT_EQ(FGrid->PeekCellProperties(1, 2), shownRecord) << "the shown cell keeps its record";
    EXPECT_EQ(FGrid->AllObjects(1, 3), shownObject);
    EXPECT_NE(dynamic_cast<TCellProperties*>(FGrid->PeekObjectsEx(1, 2)), nullptr) << "a record of the row";
    EXPECT_EQ(FGrid->AllObjects(3, 2), nullptr);
    CheckHiddenStore(*FGrid);

    // Clearing the object of a hidden cell without a record makes none; the record comes back with the
    // row and is freed with the grid.
    FGrid->SetAllObjects(0, 2, nullptr);
    EXPECT_EQ(FGrid->PeekObjectsEx(0, 2), nullptr);
    FGrid->UnHideRow(2);
    EXPECT_EQ(FGrid->Objects(1, 2), &object);
    EXPECT_EQ(FGrid->Objects(1, 3), shownObject);
    FGrid->SetObjects(1, 3, nullptr);
    delete shownObject;
    FGrid->SetObjects(1, 2, nullptr);
    CheckHiddenStore(*FGrid);
}

TEST_F(AdvGridCellAccessTest, CurrentCellAndEditorTextUseTheBaseOfAMergedBlock) {
    Make(6, 6);
    FGrid->MergeCells(2, 2, 2, 2);
    FGrid->SetCells(2, 2, u"a <b>bold</b> word");
    FGrid->SetCol(3);
    FGrid->SetRow(3);
    EXPECT_EQ(FGrid->CurrentCell(), u"a <b>bold</b> word");
    FGrid->SetCurrentCell(u"written");
    EXPECT_EQ(FGrid->GridCells(2, 2), u"written");
    EXPECT_EQ(FGrid->GridCells(3, 3), u"3,3") << "the slot under the block is untouched";

    // With VirtualEdit the display text is read.
    FGrid->OnGetDisplText = [](TObject*, Integer, Integer, String& value) { value = u"[" + value + u"]"; };
    EXPECT_EQ(FGrid->CurrentCell(), u"written");
    FGrid->SetVirtualEdit(true);
    EXPECT_EQ(FGrid->CurrentCell(), u"[written]");
    FGrid->OnGetDisplText = nullptr;

    // The editor's text comes from the base cell, without tags unless EditWithTags.
    FGrid->SetCells(2, 2, u"a <b>bold</b> word");
    EXPECT_EQ(FGrid->GetEditText(3, 3), u"a bold word");
    EXPECT_TRUE(FGrid->NoEditChange());
    FGrid->SetEditWithTags(true);
    EXPECT_EQ(FGrid->GetEditText(3, 3), u"a <b>bold</b> word");
    FGrid->SetEditText(3, 2, u"edited");
    EXPECT_EQ(FGrid->GridCells(2, 2), u"edited");
    FGrid->SetCurrentEditText(u"again");
    EXPECT_EQ(FGrid->GridCells(2, 2), u"again");
}

TEST_F(AdvGridCellAccessTest, EditorTextOfAMovedColumnUsesItsStoredCell) {
    Make(6, 4);
    FGrid->HideColumn(1);
    // Displayed column 1 is stored column 2.
    EXPECT_EQ(FGrid->GetEditText(1, 2), u"2,2");
    FGrid->SetEditText(1, 2, u"new");
    EXPECT_EQ(FGrid->GridCells(2, 2), u"new");
    EXPECT_EQ(FGrid->AllColCount(), 6);
}

TEST_F(AdvGridCellAccessTest, TextFormsAndOrders) {
    Make(4, 4);
    FGrid->SetCells(1, 1, u"<b>one</b>\r\ntwo\r\nthree");
    EXPECT_EQ(FGrid->StrippedCells(1, 1), u"one\r\ntwo\r\nthree");
    EXPECT_EQ(FGrid->LinesInCell(1, 1), 3);
    EXPECT_EQ(FGrid->UnSortedRowIndex(3), 3) << "nothing sorted";
    EXPECT_EQ(FGrid->SortedRowIndex(2), 2);
    EXPECT_EQ(FGrid->UnSortedCells(1, 2), u"1,2");

    // Columns keep the number they had before they were moved.
    FGrid->MoveColumn(1, 3);
    EXPECT_EQ(FGrid->GridCells(3, 2), u"1,2");
    EXPECT_EQ(FGrid->OriginalCells(1, 2), u"1,2");
    FGrid->SetOriginalCells(1, 2, u"moved");
    EXPECT_EQ(FGrid->GridCells(3, 2), u"moved");
}

TEST_F(AdvGridCellAccessTest, RichTextRoundTripsThroughACell) {
    Make(3, 3);
    TForm form(nullptr, 0);
    form.SetBounds(0, 0, 300, 200);
    auto* rich = new TRichEdit(&form);
    rich->SetParent(&form);
    rich->Lines()->Add(u"plain");
    rich->SetSelStart(0);
    rich->SetSelLength(5);
    rich->SelAttributes()->SetStyle(TFontStyles{fsBold});

    FGrid->RichToCell(1, 1, rich);
    const String stored = FGrid->Cells(1, 1);
    EXPECT_EQ(stored.rfind(u"{\\rtf", 0), 0u) << "the cell holds rich text";

    rich->Clear();
    FGrid->CellToRich(1, 1, rich);
    EXPECT_EQ(rich->Text(), u"plain");
    rich->SetSelStart(0);
    rich->SetSelLength(5);
    EXPECT_EQ(rich->SelAttributes()->Style(), TFontStyles{fsBold}) << "the formatting comes back";

    // An empty cell clears the rich edit.
    FGrid->CellToRich(2, 2, rich);
    EXPECT_EQ(rich->Text(), u"2,2");
    FGrid->SetCells(2, 2, String());
    FGrid->CellToRich(2, 2, rich);
    EXPECT_EQ(rich->Text(), u"");
}

} // namespace
