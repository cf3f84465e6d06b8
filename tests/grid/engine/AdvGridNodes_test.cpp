// Tests of the full string grid's outline nodes: levels and spans, collapsing and expanding nested
// nodes through the hidden-row store (checked after every step against a plain row model), parents,
// glyph hits, and rows inserted into and removed from blocks, cell controls included.
#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/engine/HiddenStoreChecking.h"

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Application.h"
#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"

namespace {

using advgrid_fixtures::CheckAgainstModel;
using advgrid_fixtures::CheckHiddenStore;
using advgrid_fixtures::THiddenStoreGrid;
using advgrid_fixtures::TRowModel;

// A grid of 3 columns with one fixed row and column; row r reads "r<r>" in column 1, and the model
// follows the rows in real order.
class AdvGridNodesTest : public ::testing::Test {
protected:
    void SetUp() override { FGrid = new THiddenStoreGrid(nullptr); }
    void TearDown() override { delete FGrid; }

    void Make(Integer rows) {
        FGrid->SetColCount(3);
        FGrid->SetRowCount(rows);
        FModel.rows.clear();
        for (Integer r = 0; r < rows; ++r) {
            FGrid->SetGridCell(1, r, TRowModel::Text(r));
            FModel.rows.push_back({r, false});
        }
    }
    // Marks the real rows as hidden or shown in the model.
    void Hidden(std::initializer_list<int> rows, bool hidden = true) {
        for (int r : rows)
            FModel.rows[static_cast<size_t>(r)].hidden = hidden;
    }
    void ShowAll() {
        for (auto& row : FModel.rows)
            row.hidden = false;
    }
    void Check() {
        CheckHiddenStore(*FGrid);
        CheckAgainstModel(*FGrid, FModel, {1});
    }
    // The displayed row showing real row r.
    Integer At(Integer r) const { return FGrid->DisplRowIndex(r); }
    std::vector<Integer> Levels() const {
        std::vector<Integer> levels;
        for (Integer r = 0; r < FGrid->RowCount(); ++r) {
            const TCellProperties* record = FGrid->PeekCellProperties(0, r);
            levels.push_back(record != nullptr ? record->NodeLevel() : 0);
        }
        return levels;
    }

    THiddenStoreGrid* FGrid = nullptr;
    TRowModel FModel;
};

TEST_F(AdvGridNodesTest, AddingAndRemovingNodesKeepsLevelsAndCount) {
    Make(8);
    FGrid->SetFixedCols(0);
    FGrid->SetCol(0);
    FGrid->AddNode(2, 0);
    EXPECT_FALSE(FGrid->HasNodes()) << "a span below 1 adds nothing";
    EXPECT_EQ(FGrid->Col(), 0);

    FGrid->AddNode(2, 3);
    EXPECT_TRUE(FGrid->HasNodes());
    EXPECT_EQ(FGrid->GetNodeCount(), 1);
    EXPECT_EQ(FGrid->Col(), 1) << "the current column leaves the node column";
    EXPECT_EQ(Levels(), (std::vector<Integer>{0, 0, 1, 1, 1, 0, 0, 0}));
    EXPECT_TRUE(FGrid->IsNode(2));
    EXPECT_EQ(FGrid->GetNodeSpan(2), 3);
    EXPECT_EQ(FGrid->GetNodeLevel(2), 1);
    EXPECT_EQ(FGrid->GetRowIndent(3), FGrid->CellNode()->NodeIndent());
    EXPECT_EQ(FGrid->GetRowIndent(6), 0);
    // Rows that hold no node answer as nothing.
    EXPECT_EQ(FGrid->GetNodeSpan(3), -1);
    EXPECT_EQ(FGrid->GetNodeLevel(3), -1);
    EXPECT_EQ(FGrid->GetSubNodeCount(3), 0);
    EXPECT_FALSE(FGrid->GetNodeState(3));

    FGrid->AddNode(3, 2);
    EXPECT_EQ(Levels(), (std::vector<Integer>{0, 0, 1, 2, 2, 0, 0, 0}));
    FGrid->RemoveNode(6);
    EXPECT_EQ(FGrid->GetNodeCount(), 2) << "a row without a node removes none";

    FGrid->SetNodeState(3, true);
    EXPECT_EQ(FGrid->RowCount(), 7);
    FGrid->RemoveNode(3);
    EXPECT_EQ(FGrid->RowCount(), 8) << "a removed node shows its rows first";
    EXPECT_EQ(Levels(), (std::vector<Integer>{0, 0, 1, 1, 1, 0, 0, 0}));
    FGrid->RemoveAllNodes();
    EXPECT_EQ(FGrid->GetNodeCount(), 0);
    EXPECT_EQ(Levels(), std::vector<Integer>(8, 0));
    EXPECT_EQ(FGrid->GetParentRow(3), -1);
    Check();
}

TEST_F(AdvGridNodesTest, NestedNodesCollapseAndExpand) {
    // Outer node over real rows 1-5, inner over 2-3, and a node over 7-8 below.
    Make(10);
    FGrid->AddNode(1, 5);
    FGrid->AddNode(2, 2);
    FGrid->AddNode(7, 2);
    Check();

    FGrid->SetNodeState(At(2), true);
    Hidden({3});
    Check();
    EXPECT_TRUE(FGrid->GetNodeState(At(2)));

    FGrid->ContractNode(1);
    Hidden({2, 4, 5});
    Check();
    EXPECT_TRUE(FGrid->GetNodeState(At(1)));

    FGrid->ContractNode(7);
    Hidden({8});
    Check();
    // Nodes outside the collapsed outer node keep their displayed rows.
    EXPECT_EQ(FGrid->GetParentRow(At(7)), At(7));
    EXPECT_EQ(FGrid->GetParentRow(At(6)), -1);

    FGrid->ExpandNode(1);
    Hidden({2, 3, 4, 5}, false);
    Check();
    EXPECT_FALSE(FGrid->GetNodeState(At(2))) << "the inner node comes back expanded";

    FGrid->SetNodeState(At(7), false);
    ShowAll();
    Check();
    EXPECT_EQ(FGrid->TotalRowCount(), 10);
}

TEST_F(AdvGridNodesTest, ContractAllAndExpandAllKeepOtherHiddenRows) {
    // Top-level nodes at 1 (span 4, with a nested node at 2 over 2-3), 7 (span 3) and 10 (span 2);
    // row 6, outside every block and not right below one, is hidden by hand before and stays hidden.
    Make(14);
    FGrid->AddNode(1, 4);
    FGrid->AddNode(2, 2);
    FGrid->AddNode(7, 3);
    FGrid->AddNode(10, 2);
    FGrid->HideRow(6);
    Hidden({6});
    Check();

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const Integer level = FGrid->FilterLevel();
        FGrid->ContractAll();
        Hidden({2, 3, 4, 8, 9, 11});
        Check();
        EXPECT_EQ(FGrid->FilterLevel(), level + 1) << "the collapsed rows are one filter level";
        EXPECT_TRUE(FGrid->GetNodeState(At(1)));
        EXPECT_TRUE(FGrid->GetNodeState(At(7)));
        EXPECT_TRUE(FGrid->GetNodeState(At(10)));

        FGrid->ExpandAll();
        Hidden({2, 3, 4, 8, 9, 11}, false);
        Check();
        for (Integer r : {1, 2, 7, 10})
            EXPECT_FALSE(FGrid->GetNodeState(At(r))) << "real row " << r;
    }

    // A collapsed nested node is expanded with its parent, in the same change of the store.
    FGrid->ContractNode(2);
    FGrid->ContractNode(1);
    FGrid->ContractNode(10);
    FGrid->ExpandAll();
    Check();
    EXPECT_EQ(FGrid->NumHiddenRows(), 1);

    FGrid->ContractAll();
    FGrid->RemoveAllNodes();
    Check();
    EXPECT_EQ(FGrid->GetNodeCount(), 0);
    EXPECT_EQ(FGrid->NumHiddenRows(), 1) << "only the row hidden by hand stays hidden";
}

TEST_F(AdvGridNodesTest, NodesShownAgainShowExpanded) {
    // The nested node at 2 is left marked contracted with its rows shown again by hand; collapsing
    // everything hides it inside its parent's block, and it shows expanded with the block's rows.
    Make(8);
    FGrid->AddNode(1, 5);
    FGrid->AddNode(2, 2);
    FGrid->ContractNode(2);
    FGrid->UnHideRowsAll();
    ASSERT_TRUE(FGrid->GetNodeState(2));
    for (bool all : {false, true}) {
        SCOPED_TRACE(all);
        FGrid->ContractAll();
        Hidden({2, 3, 4, 5});
        Check();
        if (all)
            FGrid->ExpandAll();
        else
            FGrid->ExpandNode(1);
        ShowAll();
        Check();
        EXPECT_FALSE(FGrid->GetNodeState(2));
        FGrid->GetCellGraphic(0, 2)->SetCellBoolean(true);
    }
}

TEST_F(AdvGridNodesTest, ExpandOneCollapsesTheOthers) {
    Make(10);
    FGrid->AddNode(1, 3);
    FGrid->AddNode(4, 3);
    FGrid->AddNode(7, 3);
    FGrid->CellNode()->SetExpandOne(true);
    FGrid->ContractNode(4);
    FGrid->ExpandNode(4);
    Hidden({2, 3, 8, 9});
    Check();
    EXPECT_TRUE(FGrid->GetNodeState(At(1)));
    EXPECT_FALSE(FGrid->GetNodeState(At(4)));
    EXPECT_TRUE(FGrid->GetNodeState(At(7)));

    // Expanding everything is not limited to one node, and removing every node loses no row.
    FGrid->ExpandAll();
    ShowAll();
    Check();
    FGrid->ContractNode(1);
    FGrid->RemoveAllNodes();
    Check();
    EXPECT_EQ(FGrid->GetNodeCount(), 0);
}

TEST_F(AdvGridNodesTest, ASpanOfZeroReachesTheNextNode) {
    Make(9);
    FGrid->AddNode(1, 1);
    FGrid->SetNodeSpan(1, 0);
    FGrid->AddNode(5, 2);
    FGrid->ContractNode(1);
    Hidden({2, 3, 4});
    Check();
    FGrid->ExpandNode(1);
    ShowAll();
    Check();
    // ContractAll moves on past it: only the node with a span hides rows.
    FGrid->ContractAll();
    Hidden({6});
    Check();
    FGrid->ExpandAll();
    ShowAll();
    Check();
}

TEST_F(AdvGridNodesTest, ParentsAndSpanTypes) {
    // Node 1 over 1-6 holding node 3 over 3-4; row 7 is outside; row 9 is a footer row.
    Make(10);
    FGrid->SetFixedFooters(1);
    FGrid->AddNode(1, 6);
    FGrid->AddNode(3, 2);
    struct Case {
        Integer row;
        Integer parent;
        Integer spanType;
    };
    for (const Case& c : {Case{1, 1, 0}, Case{2, 1, 2}, Case{3, 1, 0}, Case{4, 3, 1}, Case{5, 1, 2},
                          Case{6, 1, 1}, Case{7, -1, 1}, Case{8, -1, 1}}) {
        EXPECT_EQ(FGrid->GetParentRow(c.row), c.parent) << "row " << c.row;
        EXPECT_EQ(FGrid->GetNodeSpanType(c.row), c.spanType) << "row " << c.row;
    }
    // Under a collapsed inner node the rows below it move up, and their parent stays the outer node.
    FGrid->ContractNode(3);
    EXPECT_EQ(FGrid->GetParentRow(4), 1) << "real row 5";
    EXPECT_EQ(FGrid->GetParentRow(5), 1) << "real row 6";
    EXPECT_EQ(FGrid->GetParentRow(6), -1) << "real row 7";
}

TEST_F(AdvGridNodesTest, GlyphHitsInBothReadingDirections) {
    Make(6);
    FGrid->SetBounds(0, 0, 300, 200);
    FGrid->AddNode(1, 4);
    FGrid->AddNode(2, 2);
    FGrid->MouseActions()->SetPreciseNodeClick(false);
    EXPECT_TRUE(FGrid->IsInNodeGlyph(2, 250)) << "anywhere without a precise click";
    FGrid->MouseActions()->SetPreciseNodeClick(true);
    // Indent 12; a level 2 node's glyph lies between start + 12 and reach + 24, both exclusive.
    struct Case {
        TNodeType type;
        Integer X;
        bool hit;
    };
    for (const Case& c : {Case{cnXP, 16, false}, Case{cnXP, 17, true}, Case{cnXP, 27, true},
                          Case{cnXP, 28, false}, Case{cn3D, 13, true}, Case{cn3D, 29, true},
                          Case{cn3D, 30, false}, Case{cnLeaf, 15, true}, Case{cnLeaf, 31, true},
                          Case{cnLeaf, 32, false}, Case{cnGlyph, 13, true}, Case{cnGlyph, 24, false}}) {
        FGrid->CellNode()->SetNodeType(c.type);
        EXPECT_EQ(FGrid->IsInNodeGlyph(2, c.X), c.hit) << static_cast<int>(c.type) << " at " << c.X;
    }
    // Right to left, with every row in view: from Width - 2 - 24 - 4 up to Width - 12, exclusive.
    FGrid->CellNode()->SetNodeType(cnXP);
    FGrid->SetBiDiMode(bdRightToLeft);
    ASSERT_GE(FGrid->VisibleRowCount(), FGrid->RowCount() - FGrid->FixedRows());
    EXPECT_FALSE(FGrid->IsInNodeGlyph(2, 269));
    EXPECT_TRUE(FGrid->IsInNodeGlyph(2, 270));
    EXPECT_TRUE(FGrid->IsInNodeGlyph(2, 287));
    EXPECT_FALSE(FGrid->IsInNodeGlyph(2, 288));
}

TEST_F(AdvGridNodesTest, ChildRowsGrowAndShrinkTheirBlocks) {
    // Node 1 over 1-5 holding node 2 over 2-3; node 7 over 7-8 is collapsed throughout, so the store
    // holds row 8 while rows are inserted and removed above it.
    Make(10);
    FGrid->AddNode(1, 5);
    FGrid->AddNode(2, 2);
    FGrid->AddNode(7, 2);
    FGrid->ContractNode(7);
    Hidden({8});
    Check();

    // Into the inner block, below row 3: the inner node and its parent both grow.
    FGrid->InsertChildRow(3, 1);
    FModel.rows.insert(FModel.rows.begin() + 4, {-1, false});
    Check();
    EXPECT_EQ(FGrid->GetNodeSpan(At(1)), 6);
    EXPECT_EQ(FGrid->GetSubNodeCount(At(1)), 1);
    EXPECT_EQ(FGrid->GetNodeSpan(At(2)), 3);
    EXPECT_EQ(FGrid->GetSubNodeCount(At(2)), 1);
    EXPECT_EQ(Levels()[static_cast<size_t>(At(4))], 2);

    // At a node row with InsertAt 0 the new row goes below it and takes the node row's texts; the
    // block that holds a nested node row is its parent's.
    FGrid->SetGridCell(2, At(2), u"inner");
    FGrid->InsertChildRow(2, 0);
    FModel.rows.insert(FModel.rows.begin() + 3, {2, false});
    FModel.rows[2].id = -1;
    Check();
    EXPECT_TRUE(FGrid->IsNode(At(2)));
    EXPECT_EQ(FGrid->GridCells(2, At(2)), u"");
    EXPECT_EQ(FGrid->GridCells(2, At(3)), u"inner");
    EXPECT_EQ(FGrid->GetNodeSpan(At(1)), 7);

    // Removing the rows again shrinks both blocks back.
    FGrid->RemoveChildRow(5);
    FModel.rows.erase(FModel.rows.begin() + 5);
    Check();
    FGrid->RemoveChildRow(3);
    FModel.rows.erase(FModel.rows.begin() + 3);
    FModel.rows[2].id = 2;
    FGrid->SetGridCell(1, At(2), TRowModel::Text(2));
    Check();
    EXPECT_EQ(FGrid->GetNodeSpan(At(1)), 5);
    EXPECT_EQ(FGrid->GetSubNodeCount(At(1)), 0);
    EXPECT_EQ(FGrid->GetNodeSpan(At(2)), 2);
    EXPECT_EQ(FGrid->GetSubNodeCount(At(2)), 0);

    // Plain rows keep the store in step as well.
    FGrid->InsertNormalRow(6);
    FModel.rows.insert(FModel.rows.begin() + 6, {-1, false});
    Check();
    FGrid->RemoveNormalRow(At(6));
    FModel.rows.erase(FModel.rows.begin() + 6);
    Check();
    FGrid->ExpandAll();
    ShowAll();
    Check();
}

TEST_F(AdvGridNodesTest, NodeRowsShowTheirGroupCountAndSizeColumnZero) {
    // Node 1 over 1-5 holding node 2 over 2-3, counted as one sub-node of node 1.
    Make(8);
    FGrid->SetGridCell(1, 1, u"A");
    FGrid->AddNode(1, 5);
    FGrid->AddNode(2, 2);
    FGrid->UpdateSubNodeCount(1, 1);
    EXPECT_EQ(FGrid->Cells(1, 1), u"A") << "no count unless asked for";
    FGrid->Grouping()->SetShowGroupCount(true);
    EXPECT_EQ(FGrid->Cells(1, 1), u"A (3)");
    EXPECT_EQ(FGrid->Cells(2, 1), u"") << "only column 1 shows it";
    EXPECT_EQ(FGrid->Cells(1, 3), u"r3") << "only node rows show it";
    FGrid->Grouping()->SetGroupCountFormat(u" [%d]");
    EXPECT_EQ(FGrid->Cells(1, 1), u"A [3]");

    // Growing column 0 makes room for the deepest glyph: 4 + 2 levels x 12 with the default look.
    // Measuring draws on the grid's canvas, which needs a window.
    TForm form(nullptr, 0);
    FGrid->SetParent(&form);
    FGrid->SetColWidths(0, 5);
    FGrid->SetSizeGrowOnly(true);
    FGrid->AutoSizeCol(0, 0);
    EXPECT_EQ(FGrid->ColWidths(0), 28);
    FGrid->SetParent(nullptr);
}

// A shown grid on a form, for the cell controls laid over the rows.
class AdvGridNodeControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(0, 0, 600, 400);
        FGrid = new TAdvStringGrid(FForm);
        FGrid->SetBorderStyle(bsNone);
        FGrid->SetScrollBars(ssNone);
        FGrid->SetDefaultRowHeight(20);
        FGrid->SetColCount(4);
        FGrid->SetRowCount(12);
        FGrid->SetBounds(0, 0, 350, 300);
        FGrid->SetParent(FForm);
        FForm->Show();
        Application->ProcessMessages();
    }
    void TearDown() override {
        FForm->Free();
        Application->ProcessMessages();
    }
    TPanel* Control() { return new TPanel(FForm); }
    TRect Placed(Integer displCol, Integer row) {
        const TRect cell = FGrid->CellRect(displCol, row);
        return TRect(cell.Left - 1, cell.Top - 1, cell.Right, cell.Bottom);
    }

    TForm* FForm = nullptr;
    TAdvStringGrid* FGrid = nullptr;
};

TEST_F(AdvGridNodeControlsTest, ChildRowsCarryTheirCellControls) {
    FGrid->AddNode(1, 6);
    TPanel* removed = Control();
    TPanel* below = Control();
    TPanel* outside = Control();
    FGrid->SetCellControls(2, 3, removed);
    FGrid->SetCellControls(2, 5, below);
    FGrid->SetCellControls(2, 9, outside);

    FGrid->InsertChildRow(2, 1);
    EXPECT_EQ(below->BoundsRect(), Placed(2, 6)) << "moved down with its row";
    EXPECT_EQ(outside->BoundsRect(), Placed(2, 10));

    FGrid->RemoveChildRow(4);
    EXPECT_EQ(FGrid->NumCellControls(), 2) << "the removed row's control leaves the grid";
    EXPECT_FALSE(removed->Visible());
    EXPECT_EQ(FGrid->CellControls(2, 4), nullptr);
    EXPECT_EQ(FGrid->CellControls(2, 5), below);
    EXPECT_EQ(below->BoundsRect(), Placed(2, 5)) << "the rows below move up with their controls";
    EXPECT_EQ(outside->BoundsRect(), Placed(2, 9));
    EXPECT_EQ(FGrid->GetNodeSpan(1), 6);

    // Collapsing hides the controls of the rows it hides; expanding lays them over their rows again.
    FGrid->ContractNode(1);
    EXPECT_FALSE(below->Visible());
    EXPECT_EQ(outside->BoundsRect(), Placed(2, 4));
    FGrid->ExpandAll();
    EXPECT_TRUE(below->Visible());
    EXPECT_EQ(below->BoundsRect(), Placed(2, 5));
    EXPECT_EQ(outside->BoundsRect(), Placed(2, 9));
}

} // namespace
