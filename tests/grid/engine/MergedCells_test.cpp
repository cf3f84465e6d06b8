// Tests of merged cells: the encoding in the cell records, the block queries, text through a block, the
// count of blocks, span comparisons of rows and columns, block rectangles and the cursor keys.
#include "tests/grid/engine/BaseGridTesting.h"

#include <chrono>

#include "platform/rtl/Convert.h"

namespace {

class MergedCells : public ::testing::Test {
protected:
    void SetUp() override {
        FGrid = new TTestBaseGrid(nullptr);
        FGrid->SetColCount(8);
        FGrid->SetRowCount(8);
    }
    void TearDown() override { FGrid->Free(); }

    TTestBaseGrid* FGrid = nullptr;
};

TEST_F(MergedCells, EncodingAndQueriesOfABlock) {
    FGrid->MergeCells(2, 3, 3, 2); // columns 2..4, rows 3..4
    const TCellProperties* base = FGrid->PeekCellProperties(2, 3);
    ASSERT_NE(base, nullptr);
    EXPECT_TRUE(base->IsBaseCell());
    EXPECT_EQ(base->CellSpanX(), 2);
    EXPECT_EQ(base->CellSpanY(), 1);
    const TCellProperties* corner = FGrid->PeekCellProperties(4, 4);
    EXPECT_FALSE(corner->IsBaseCell());
    EXPECT_EQ(corner->CellSpanX(), 2);
    EXPECT_EQ(corner->CellSpanY(), 1);

    struct Case {
        Integer col, row;
        TPoint baseCell, span, ext;
        TRect full;
        bool merged, nonBase;
    };
    for (const Case& c : {
             Case{2, 3, {2, 3}, {2, 1}, {2, 1}, {2, 3, 4, 4}, true, false},
             Case{3, 3, {2, 3}, {2, 1}, {1, 1}, {2, 3, 4, 4}, true, true},
             Case{4, 4, {2, 3}, {2, 1}, {0, 0}, {2, 3, 4, 4}, true, true},
             Case{3, 4, {2, 3}, {2, 1}, {1, 0}, {2, 3, 4, 4}, true, true},
             Case{5, 3, {5, 3}, {0, 0}, {0, 0}, {5, 3, 5, 3}, false, false},
         }) {
        SCOPED_TRACE(testing::Message() << "cell " << c.col << "," << c.row);
        EXPECT_EQ(FGrid->BaseCell(c.col, c.row), c.baseCell);
        EXPECT_EQ(FGrid->CellSpan(c.col, c.row), c.span);
        EXPECT_EQ(FGrid->CellExt(c.col, c.row), c.ext);
        EXPECT_EQ(FGrid->FullCell(c.col, c.row), c.full);
        EXPECT_EQ(FGrid->IsMergedCell(c.col, c.row), c.merged);
        EXPECT_EQ(FGrid->IsMergedNonBaseCell(c.col, c.row), c.nonBase);
        EXPECT_EQ(FGrid->IsXMergedCell(c.col, c.row), c.merged);
        EXPECT_EQ(FGrid->IsYMergedCell(c.col, c.row), c.merged);
        Integer bc = -1, br = -1;
        EXPECT_EQ(FGrid->ResolveBaseCell(c.col, c.row, bc, br), !c.nonBase);
        EXPECT_EQ(TPoint(bc, br), c.baseCell);
    }
    EXPECT_EQ(FGrid->MinRowSpan(3), 1);
    EXPECT_EQ(FGrid->MaxRowSpan(4), 1);
    EXPECT_EQ(FGrid->MinRowSpan(0), FGrid->RowCount()) << "no vertical block in the row";
    EXPECT_EQ(FGrid->MaxRowSpan(0), 0);

    // One row only: merged across, not down.
    FGrid->MergeCells(0, 6, 3, 1);
    EXPECT_TRUE(FGrid->IsXMergedCell(1, 6));
    EXPECT_FALSE(FGrid->IsYMergedCell(1, 6));
}

TEST_F(MergedCells, ABlockOfOneCellIsNotMerged) {
    FGrid->MergeCells(1, 1, 1, 1);
    EXPECT_FALSE(FGrid->IsMergedCell(1, 1));
    EXPECT_EQ(FGrid->CellSpan(1, 1), TPoint(0, 0));
    EXPECT_EQ(FGrid->MergeCount(), 0);
    FGrid->MergeCells(1, 1, 0, 3);
    EXPECT_FALSE(FGrid->CellPropsAssigned(1, 2)) << "a span below one changes nothing";
}

TEST_F(MergedCells, SplittingAnyCellDissolvesTheWholeBlock) {
    for (const TPoint at : {TPoint(2, 3), TPoint(4, 4), TPoint(3, 4)}) {
        SCOPED_TRACE(testing::Message() << "split at " << at.X << "," << at.Y);
        FGrid->MergeCells(2, 3, 3, 2);
        FGrid->SplitCells(at.X, at.Y);
        for (Integer c = 2; c <= 4; ++c) {
            for (Integer r = 3; r <= 4; ++r) {
                const TCellProperties* record = FGrid->PeekCellProperties(c, r);
                EXPECT_TRUE(record->IsBaseCell());
                EXPECT_EQ(record->CellSpanX(), -1);
                EXPECT_EQ(record->CellSpanY(), -1);
            }
        }
        EXPECT_EQ(FGrid->MergeCount(), 0);
    }
}

TEST_F(MergedCells, TheCountFollowsTheBlocksThatExist) {
    struct Case {
        const char* name;
        void (*steps)(TBaseGrid* grid);
        Integer count;
    };
    for (const Case& c : {
             Case{"two blocks",
                  [](TBaseGrid* g) {
                      g->MergeCells(0, 0, 2, 2);
                      g->MergeCells(4, 4, 2, 1);
                  },
                  2},
             Case{"split twice",
                  [](TBaseGrid* g) {
                      g->MergeCells(0, 0, 2, 2);
                      g->SplitCells(0, 0);
                      g->SplitCells(1, 1);
                  },
                  0},
             Case{"split a plain cell", [](TBaseGrid* g) { g->SplitCells(5, 5); }, 0},
             Case{"merge over a block",
                  [](TBaseGrid* g) {
                      g->MergeCells(0, 0, 3, 3);
                      g->MergeCells(2, 2, 3, 3);
                  },
                  1},
             Case{"records freed",
                  [](TBaseGrid* g) {
                      g->MergeCells(1, 1, 2, 2);
                      g->FreeCellProperties(0, 0, 7, 1);
                  },
                  0},
             Case{"record replaced",
                  [](TBaseGrid* g) {
                      g->MergeCells(1, 1, 2, 2);
                      g->SetCellProperties(1, 1, new TCellProperties(g, 1, 1));
                  },
                  0},
         }) {
        SCOPED_TRACE(c.name);
        c.steps(FGrid);
        EXPECT_EQ(FGrid->MergeCount(), c.count);
        FGrid->FreeAllCellProperties();
        EXPECT_EQ(FGrid->MergeCount(), 0);
    }
}

TEST_F(MergedCells, MergingOverABlockDissolvesItFirst) {
    FGrid->MergeCells(0, 0, 3, 3);
    FGrid->MergeCells(2, 2, 2, 2);
    EXPECT_FALSE(FGrid->IsMergedCell(0, 0)) << "the old block is gone as a whole";
    EXPECT_FALSE(FGrid->IsMergedCell(1, 2));
    EXPECT_EQ(FGrid->FullCell(3, 3), (TRect{2, 2, 3, 3}));
}

TEST_F(MergedCells, CellsPartedFromTheirBlockStandForThemselves) {
    // Moving the block's last row to the top leaves two cells whose offsets reach above row 0.
    FGrid->MergeCells(1, 1, 2, 2); // columns 1..2, rows 1..2
    FGrid->MoveRow(2, 0);          // the base is now (1, 2), the block's lower row is row 0
    for (const TPoint cell : {TPoint(1, 0), TPoint(2, 0)}) {
        SCOPED_TRACE(testing::Message() << "cell " << cell.X << "," << cell.Y);
        EXPECT_EQ(FGrid->BaseCell(cell.X, cell.Y), cell);
        EXPECT_EQ(FGrid->CellSpan(cell.X, cell.Y), TPoint(0, 0));
        EXPECT_EQ(FGrid->CellExt(cell.X, cell.Y), TPoint(0, 0));
        Integer bc = -1, br = -1;
        EXPECT_TRUE(FGrid->ResolveBaseCell(cell.X, cell.Y, bc, br)) << "painted as a cell of its own";
        EXPECT_EQ(TPoint(bc, br), cell);
    }
    FGrid->SetCellEx(1, 0, u"parted");
    EXPECT_EQ(FGrid->GridCells(1, 0), u"parted");
    EXPECT_EQ(FGrid->GetCellEx(1, 0), u"parted");

    // Splitting a parted cell makes only that cell plain; the block that moved down is untouched.
    FGrid->SplitCells(2, 0);
    EXPECT_FALSE(FGrid->IsMergedCell(2, 0));
    EXPECT_EQ(FGrid->FullCell(2, 2), (TRect{1, 2, 2, 3}));
    EXPECT_EQ(FGrid->MergeCount(), 1);
    FGrid->MergeCells(0, 0, 2, 1); // over the other parted cell
    EXPECT_EQ(FGrid->FullCell(1, 0), (TRect{0, 0, 1, 0}));
    EXPECT_EQ(FGrid->MergeCount(), 2);

    // A base replaced by a plain record leaves the other cells with no block and no negative extent.
    FGrid->MergeCells(4, 4, 2, 2);
    FGrid->FreeCellPropertiesAt(4, 4);
    FGrid->GetCellProperties(4, 4);
    EXPECT_EQ(FGrid->CellSpan(5, 5), TPoint(0, 0));
    EXPECT_EQ(FGrid->CellExt(5, 5), TPoint(0, 0));
    FGrid->SplitCells(5, 5);
    EXPECT_TRUE(FGrid->PeekCellProperties(5, 5)->IsBaseCell());
    EXPECT_EQ(FGrid->MergeCount(), 2);
}

TEST_F(MergedCells, TextOfABlockIsTheBaseCellsText) {
    FGrid->SetCellEx(4, 4, u"hidden");
    FGrid->MergeCells(2, 3, 3, 2);
    FGrid->SetCellEx(4, 4, u"block");
    EXPECT_EQ(FGrid->GridCells(2, 3), u"block");
    EXPECT_EQ(FGrid->GetCellEx(3, 3), u"block");
    EXPECT_EQ(FGrid->GridCells(4, 4), u"hidden") << "a non-base cell keeps its own stored text";
    ASSERT_EQ(FGrid->textChanged.size(), 1u);
    EXPECT_EQ(FGrid->textChanged[0], std::make_pair(2, 3));

    // The display event gets the base cell.
    FGrid->SetNormalRowCount(8);
    std::pair<Integer, Integer> asked;
    FGrid->OnGetDisplText = [&](TObject*, Integer c, Integer r, String&) { asked = {c, r}; };
    FGrid->GetCellEx(4, 4);
    EXPECT_EQ(asked, std::make_pair(2, 3));

    FGrid->SplitCells(3, 4);
    EXPECT_EQ(FGrid->GetCellEx(4, 4), u"hidden") << "the stored text shows again";
}

TEST_F(MergedCells, SpanComparisonsOfRowsAndColumns) {
    EXPECT_FALSE(FGrid->RowSpanIdentical(2, 3)) << "no vertical blocks at all";
    FGrid->MergeCells(1, 2, 1, 3); // rows 2..4 in column 1
    EXPECT_TRUE(FGrid->RowSpanIdentical(2, 4));
    FGrid->MergeCells(3, 3, 1, 2); // rows 3..4 in column 3: rows 2 and 4 are apart there
    EXPECT_TRUE(FGrid->RowSpanIdentical(2, 4)) << "column 3 does not hold row 2 in a block";
    EXPECT_TRUE(FGrid->RowSpanIdentical(3, 4));
    FGrid->MergeCells(5, 2, 1, 2); // rows 2..3 and then 4..5 in column 5
    FGrid->MergeCells(5, 4, 1, 2);
    EXPECT_FALSE(FGrid->RowSpanIdentical(2, 4)) << "column 5 holds them in different blocks";

    FGrid->FreeAllCellProperties();
    FGrid->MergeCells(2, 1, 3, 1); // columns 2..4 in row 1
    EXPECT_TRUE(FGrid->ColSpanIdentical(2, 4));
    FGrid->MergeCells(2, 5, 2, 1); // columns 2..3 in row 5: column 4 differs there
    EXPECT_FALSE(FGrid->ColSpanIdentical(2, 4));
    EXPECT_TRUE(FGrid->ColSpanIdentical(2, 3));
    EXPECT_FALSE(FGrid->ColSpanIdentical(5, 6)) << "never inside a common block";
}

class MergedCellsShown : public ShownGridTest {};

TEST_F(MergedCellsShown, BlockRectangleIsTheUnionOfItsCells) {
    FGrid->MergeCells(2, 3, 3, 2);
    const TRect first = FGrid->CalcCellRect(2, 3);
    const TRect last = FGrid->CalcCellRect(4, 4);
    const TRect block(first.Left, first.Top, last.Right, last.Bottom);
    EXPECT_EQ(FGrid->CellRect(3, 4), block);
    EXPECT_EQ(FGrid->CellRect(2, 3), block);
    EXPECT_EQ(FGrid->CellSize(4, 3), TPoint(block.Width(), block.Height()));
    EXPECT_EQ(FGrid->CellSize(6, 6), TPoint(FGrid->ColWidths(6), FGrid->RowHeights(6)));

    // Repainting any cell of the block repaints the whole block.
    ValidateRect(FGrid->Handle(), nullptr);
    FGrid->RepaintCell(4, 4);
    RECT update{};
    GetUpdateRect(FGrid->Handle(), &update, FALSE);
    EXPECT_EQ(TRect(update), block);

    // The computed rectangle of a plain cell is the framework's, also when it is scrolled.
    EXPECT_EQ(FGrid->CellRect(6, 6), FGrid->TCustomGrid::CellRect(6, 6));
    FGrid->SetColWidths(1, 30);
    FGrid->SetLeftCol(2);
    const TRect framework = FGrid->TCustomGrid::CellRect(3, 2);
    EXPECT_EQ(FGrid->CalcCellRect(3, 2),
              TRect(framework.Left, framework.Top, framework.Left + FGrid->ColWidths(3),
                    framework.Top + FGrid->RowHeights(2)));
    EXPECT_EQ(FGrid->CalcCellRect(0, 0).Left, 0) << "fixed cells do not scroll";
    EXPECT_EQ(FGrid->FixedColsWidth(), FGrid->ColWidths(0));
}

TEST_F(MergedCellsShown, BlockGeometryCostsTheSameAtTheBottomOfAHugeGrid) {
    constexpr Integer rows = 2000000;
    constexpr Integer bottom = 1999990;
    FGrid->SetRowCount(rows);
    FGrid->SetRowHeights(3, 30);
    FGrid->SetRowHeights(bottom + 1, 40);
    FGrid->MergeCells(2, 1, 2, 3);
    FGrid->MergeCells(2, bottom, 2, 3);
    FGrid->SetTopRow(bottom);
    // Column 2 follows the fixed column 0 and column 1; rows bottom.. follow the fixed row 0.
    EXPECT_EQ(FGrid->CellRect(3, bottom + 1), TRect(128, 24, 256, 24 + 24 + 40 + 24));
    EXPECT_EQ(FGrid->CellSize(3, bottom + 2), TPoint(128, 88));
    EXPECT_EQ(FGrid->CellSize(2, 1), TPoint(128, 24 + 24 + 30));

    // Every write repaints its block through its rectangle; the same writes cost the same at the top
    // and at the bottom (a sum from row 0 made the bottom thousands of times dearer). The view goes
    // back to the top, so only the row of the block differs.
    FGrid->SetTopRow(1);
    const auto writes = [this](Integer row) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 200; ++i)
            FGrid->SetCellEx(3, row + 1, IntToStr(i));
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    const double top = writes(1);
    const double atBottom = writes(bottom);
    EXPECT_LT(atBottom, top * 20 + 0.05) << "top " << top << " s, bottom " << atBottom << " s";
    EXPECT_EQ(FGrid->GetCellEx(2, bottom), u"199");
}

TEST_F(MergedCellsShown, ABlockSizeDoesNotDependOnTheScrollPosition) {
    FGrid->MergeCells(0, 1, 3, 1); // the fixed column 0 and the scrolling columns 1 and 2
    const TPoint size = FGrid->CellSize(1, 1);
    EXPECT_EQ(size, TPoint(3 * FGrid->DefaultColWidth(), FGrid->DefaultRowHeight()));
    FGrid->SetLeftCol(3);
    EXPECT_EQ(FGrid->CellSize(1, 1), size);
    EXPECT_EQ(FGrid->CellSize(0, 1), size);
}

TEST_F(MergedCellsShown, TheEditorEditsABlockAtItsBaseOverTheWholeBlock) {
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
    FGrid->MergeCells(2, 2, 3, 2); // columns 2..4, rows 2..3
    FGrid->SetCellEx(2, 2, u"block");
    FGrid->textChanged.clear();
    // The cursor set straight onto a cell inside the block, where no key moved it to the base.
    FGrid->SetCol(3);
    FGrid->SetRow(3);
    FGrid->SetEditorMode(true);
    TInplaceEdit* editor = FGrid->InplaceEditor();
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->Visible());
    EXPECT_EQ(editor->Text(), u"block");
    EXPECT_EQ(editor->BoundsRect(), FGrid->CellRect(2, 2)) << "over the whole block";

    editor->SetText(u"edited");
    EXPECT_EQ(FGrid->GetCellEx(4, 3), u"edited");
    EXPECT_EQ(FGrid->GridCells(3, 3), u"") << "the slot under the block stays empty";
    ASSERT_FALSE(FGrid->textChanged.empty());
    EXPECT_EQ(FGrid->textChanged.back(), std::make_pair(2, 2));

    // A plain cell keeps the framework's rectangle, and the editor follows the block when it scrolls.
    FGrid->SetEditorMode(false);
    FGrid->SetCol(6);
    FGrid->SetRow(6);
    FGrid->SetEditorMode(true);
    EXPECT_EQ(editor->BoundsRect(), FGrid->TCustomGrid::CellRect(6, 6));
    FGrid->SetEditorMode(false);
    FGrid->SetCol(2);
    FGrid->SetRow(2);
    FGrid->SetEditorMode(true);
    FGrid->SetLeftCol(2);
    EXPECT_EQ(editor->BoundsRect(), FGrid->CellRect(2, 2));
    EXPECT_EQ(editor->BoundsRect().Left, FGrid->ColWidths(0));
}

TEST_F(MergedCellsShown, ArrowKeysStepOverBlocks) {
    FGrid->MergeCells(2, 2, 3, 2); // columns 2..4, rows 2..3
    struct Case {
        const char* name;
        TPoint start;
        int key;
        TPoint expected;
    };
    for (const Case& c : {
             Case{"right from the base leaves the block", {2, 2}, VK_RIGHT, {5, 2}},
             Case{"down from the base leaves the block", {2, 2}, VK_DOWN, {2, 4}},
             Case{"right into a block lands on its base", {1, 3}, VK_RIGHT, {2, 2}},
             Case{"up into a block lands on its base", {3, 4}, VK_UP, {2, 2}},
             Case{"left from the base", {2, 2}, VK_LEFT, {1, 2}},
             Case{"up from the base", {2, 2}, VK_UP, {2, 1}},
         }) {
        SCOPED_TRACE(c.name);
        FGrid->SetCol(c.start.X);
        FGrid->SetRow(c.start.Y);
        Press(c.key);
        EXPECT_EQ(TPoint(FGrid->Col(), FGrid->Row()), c.expected);
    }

    // Inside the block (the cursor set there directly), left and up leave it on its near side.
    for (const auto& [key, expected] : {std::pair{VK_LEFT, TPoint(1, 3)}, std::pair{VK_UP, TPoint(4, 1)}}) {
        FGrid->SetCol(4);
        FGrid->SetRow(3);
        Press(key);
        EXPECT_EQ(TPoint(FGrid->Col(), FGrid->Row()), expected);
    }
}

} // namespace
