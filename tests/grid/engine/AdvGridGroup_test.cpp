// Tests of grouping the full string grid by a column: the shapes Group and SubGroup make, their round
// trips through UnGroup and SubUnGroup, the group calculations, and the guards that keep the grid whole
// while messages are processed or an exception passes.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/grid/engine/HiddenStoreChecking.h"

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"

namespace {

using advgrid_fixtures::CheckHiddenStore;
using advgrid_fixtures::THiddenStoreGrid;

// A grid whose row insertions and removals can be made to fail, and whose window runs grouping calls
// when it gets WM_APP.
class TGroupGrid : public THiddenStoreGrid {
public:
    using THiddenStoreGrid::THiddenStoreGrid;

    void InsertRows(Integer RowIndex, Integer RCount, bool UpdateCellControls = true) override {
        if (FailInsertAfter >= 0 && FailInsertAfter-- == 0)
            throw std::runtime_error("insert failed");
        THiddenStoreGrid::InsertRows(RowIndex, RCount, UpdateCellControls);
    }
    void RemoveRows(Integer RowIndex, Integer RCount) override {
        if (FailRemove)
            throw std::runtime_error("remove failed");
        THiddenStoreGrid::RemoveRows(RowIndex, RCount);
    }

    int FailInsertAfter = -1; // insertions that still succeed, -1 for all
    bool FailRemove = false;
    int Messages = 0; // WM_APP handled
    bool BusySeen = false;

protected:
    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_APP) {
            ++Messages;
            BusySeen = GroupBusy();
            Group(1);
            UnGroup();
            SubGroup(1);
            SubUnGroup(1);
            QSort();
            return;
        }
        THiddenStoreGrid::WndProc(Message);
    }
};

// One fixed row and column. Columns: 1 name, 2 key, 3 sub key, 4 value; the rows of Rows() below.
class AdvGridGroupTest : public ::testing::Test {
protected:
    struct Data {
        const char16_t* name;
        const char16_t* key;
        const char16_t* sub;
        const char16_t* value;
    };

    void SetUp() override {
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(0, 0, 600, 400);
        FGrid = new TGroupGrid(FForm);
        FGrid->SetBounds(0, 0, 500, 300);
        FGrid->SetParent(FForm);
        FForm->Show();
        Application->ProcessMessages();
    }
    void TearDown() override {
        FForm->Free();
        Application->ProcessMessages();
    }

    void Make(const std::vector<Data>& rows) {
        FGrid->SetColCount(5);
        FGrid->SetRowCount(static_cast<Integer>(rows.size()) + 1);
        const char16_t* captions[] = {u"", u"Name", u"Key", u"Sub", u"Value"};
        for (Integer c = 0; c < 5; ++c)
            FGrid->SetGridCell(c, 0, captions[c]);
        for (size_t i = 0; i < rows.size(); ++i) {
            const Integer r = static_cast<Integer>(i) + 1;
            FGrid->SetGridCell(1, r, rows[i].name);
            FGrid->SetGridCell(2, r, rows[i].key);
            FGrid->SetGridCell(3, r, rows[i].sub);
            FGrid->SetGridCell(4, r, rows[i].value);
        }
    }
    static std::vector<Data> Rows() {
        return {{u"n1", u"A", u"x", u"1"},
                {u"n2", u"A", u"x", u"2"},
                {u"n3", u"A", u"y", u"3"},
                {u"n4", u"B", u"z", u"4"}};
    }
    // The displayed rows below the fixed row: a node as "[<texts of columns 1 and 3>/<span>]", a
    // summary row as "()", any other row as the texts of its columns from 1 on, joined by commas.
    std::vector<std::string> Shape() {
        std::vector<std::string> shape;
        for (Integer r = FGrid->FixedRows(); r < FGrid->RowCount(); ++r) {
            std::string line;
            if (FGrid->IsNode(r)) {
                line = "[" + Utf8(FGrid->GridCells(1, r) + FGrid->GridCells(3, r)) + "/" +
                       std::to_string(FGrid->GetNodeSpan(r)) + "]";
            } else if (FGrid->IsSummary(r)) {
                line = "()";
            } else {
                for (Integer c = 1; c < FGrid->ColCount(); ++c)
                    line += (c > 1 ? "," : "") + Utf8(FGrid->GridCells(c, r));
            }
            shape.push_back(line);
        }
        return shape;
    }
    static std::string Utf8(const String& text) { return std::string(text.begin(), text.end()); }

    TForm* FForm = nullptr;
    TGroupGrid* FGrid = nullptr;
};

TEST_F(AdvGridGroupTest, GroupShapesAndUnGroupRestores) {
    struct Case {
        const char* name;
        bool summary;
        bool merge;
        std::vector<std::string> shape;
    };
    const Case cases[] = {
        {"plain", false, false, {"[A/4]", "n1,x,1", "n2,x,2", "n3,y,3", "[B/2]", "n4,z,4"}},
        {"summaries", true, false, {"[A/4]", "n1,x,1", "n2,x,2", "n3,y,3", "()", "[B/2]", "n4,z,4", "()"}},
        {"merged", true, true, {"[A/4]", "n1,x,1", "n2,x,2", "n3,y,3", "()", "[B/2]", "n4,z,4", "()"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Make(Rows());
        FGrid->SetColWidths(2, 77);
        FGrid->Grouping()->SetSummary(c.summary);
        FGrid->Grouping()->SetMergeHeader(c.merge);
        FGrid->Grouping()->SetMergeSummary(c.merge);
        FGrid->Grouping()->SetHeaderColor(clYellow);
        FGrid->Group(2);
        EXPECT_EQ(FGrid->GroupColumn(), 2);
        EXPECT_EQ(FGrid->ColCount(), 4) << "the grouped column is gone";
        EXPECT_EQ(Shape(), c.shape);
        EXPECT_EQ(FGrid->IsMergedCell(1, 1), c.merge);
        EXPECT_EQ(FGrid->IsMergedCell(1, 5), c.merge) << "the summary row or the second header";
        EXPECT_EQ(FGrid->Colors(1, 1), clYellow);
        EXPECT_EQ(FGrid->Row(), 1);
        CheckHiddenStore(*FGrid);

        FGrid->ContractNode(1);
        FGrid->UnGroup();
        EXPECT_EQ(FGrid->GroupColumn(), -1);
        EXPECT_EQ(FGrid->GetNodeCount(), 0);
        EXPECT_EQ(FGrid->ColCount(), 5);
        EXPECT_EQ(FGrid->ColWidths(2), 77);
        EXPECT_EQ(FGrid->GridCells(2, 0), u"Key");
        EXPECT_EQ(Shape(), (std::vector<std::string>{"n1,A,x,1", "n2,A,x,2", "n3,A,y,3", "n4,B,z,4"}));
        for (Integer r = 0; r < FGrid->RowCount(); ++r)
            EXPECT_FALSE(FGrid->IsMergedCell(1, r)) << "row " << r;
        CheckHiddenStore(*FGrid);
    }
}

TEST_F(AdvGridGroupTest, GroupColumnSetterAndColumnsThatDoNotGroup) {
    Make(Rows());
    for (Integer column : {0, -2}) {
        FGrid->SetGroupColumn(column);
        EXPECT_EQ(FGrid->GroupColumn(), -1) << column;
    }
    FGrid->Group(0);
    EXPECT_EQ(FGrid->GroupColumn(), -1);
    EXPECT_EQ(FGrid->RowCount(), 5);

    FGrid->SetGroupColumn(2);
    EXPECT_EQ(FGrid->GroupColumn(), 2);
    FGrid->SetGroupColumn(0);
    EXPECT_EQ(FGrid->GroupColumn(), 2);
    // Grouping a grouped grid ungroups it first.
    FGrid->Group(3);
    EXPECT_EQ(FGrid->GroupColumn(), 3);
    EXPECT_EQ(Shape(),
              (std::vector<std::string>{"[x/3]", "n1,A,1", "n2,A,2", "[y/2]", "n3,A,3", "[z/2]", "n4,B,4"}));
    FGrid->SetGroupColumn(-1);
    EXPECT_EQ(FGrid->GroupColumn(), -1);
    EXPECT_EQ(FGrid->ColCount(), 5);

    // A grid without data rows between its fixed and footer rows is not grouped.
    FGrid->SetRowCount(2);
    FGrid->SetFixedFooters(1);
    FGrid->Group(2);
    EXPECT_EQ(FGrid->GroupColumn(), -1);
    EXPECT_EQ(FGrid->ColCount(), 5);
}

TEST_F(AdvGridGroupTest, GroupCalculationsWriteIntoHeadersOrSummaries) {
    std::vector<std::vector<Integer>> calls;
    FGrid->OnGroupCalc = [&](TObject*, Integer ACol, Integer FromRow, Integer ToRow, double& Res) {
        calls.push_back({ACol, FromRow, ToRow});
        Res = FromRow * 10 + ToRow;
    };
    for (bool summary : {false, true}) {
        SCOPED_TRACE(summary);
        Make(Rows());
        FGrid->Grouping()->SetSummary(summary);
        FGrid->Group(2);
        // With summaries the group of B starts one row further down.
        const Integer b = summary ? 6 : 5;
        const Integer aTarget = summary ? 5 : 1;
        const Integer bTarget = summary ? 8 : 5;
        FGrid->GroupCount(3);
        EXPECT_EQ(FGrid->GridCells(3, aTarget), u"3") << "three data rows";
        EXPECT_EQ(FGrid->GridCells(3, bTarget), u"1");

        FGrid->GroupSum(3);
        EXPECT_EQ(FGrid->GridCells(3, aTarget), u"6.00");
        EXPECT_EQ(FGrid->GridCells(3, bTarget), u"4.00");

        calls.clear();
        FGrid->GroupCustomCalc(3);
        EXPECT_EQ(calls, (std::vector<std::vector<Integer>>{{3, 2, 4}, {3, b + 1, b + 1}}));
        EXPECT_EQ(FGrid->GridCells(3, aTarget), u"24.00") << "written with the float format";

        // A contracted group is left out.
        FGrid->ContractNode(1);
        calls.clear();
        FGrid->GroupCustomCalc(2);
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0][1], FGrid->DisplRowIndex(b) + 1);
        FGrid->UnGroup();
    }
}

// Sum, average, minimum, maximum and count also put their calculation on a visible floating footer;
// the other group calculations, and every one while the footer is hidden, leave the footer alone.
TEST_F(AdvGridGroupTest, GroupCalculationsSetTheFloatingFootersCalculation) {
    using Calc = void (*)(TAdvStringGrid&, Integer);
    struct Case {
        const char* name;
        Calc calc;
        TColumnCalcType footer;
    };
    const Case cases[] = {
        {"sum", [](TAdvStringGrid& g, Integer c) { g.GroupSum(c); }, acSUM},
        {"average", [](TAdvStringGrid& g, Integer c) { g.GroupAvg(c); }, acAVG},
        {"minimum", [](TAdvStringGrid& g, Integer c) { g.GroupMin(c); }, acMIN},
        {"maximum", [](TAdvStringGrid& g, Integer c) { g.GroupMax(c); }, acMAX},
        {"count", [](TAdvStringGrid& g, Integer c) { g.GroupCount(c); }, acCOUNT},
        {"custom", [](TAdvStringGrid& g, Integer c) { g.GroupCustomCalc(c); }, acNONE},
        {"distinct", [](TAdvStringGrid& g, Integer c) { g.GroupDistinct(c); }, acNONE},
        {"standard deviation", [](TAdvStringGrid& g, Integer c) { g.GroupStdDev(c); }, acNONE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Make(Rows());
        FGrid->Group(2);
        TFloatingFooter* footer = FGrid->FloatingFooter();
        c.calc(*FGrid, 3);
        EXPECT_EQ(footer->ColumnCalc(3), acNONE) << "no footer shows";

        footer->SetVisible(true);
        c.calc(*FGrid, 3);
        EXPECT_EQ(footer->ColumnCalc(3), c.footer);
        footer->SetColumnCalc(3, acNONE);
        footer->SetVisible(false);
        FGrid->UnGroup();
    }
}

TEST_F(AdvGridGroupTest, SubGroupSplitsGroupsAndSubUnGroupRefills) {
    Make(Rows());
    FGrid->Group(2);
    // Columns now: 1 name, 2 sub key, 3 value; the subgroup headers' texts go into column 3.
    FGrid->SubGroup(2);
    EXPECT_EQ(FGrid->GroupColumn(), 2);
    EXPECT_EQ(Shape(), (std::vector<std::string>{"[A/6]", "[x/3]", "n1,,1", "n2,,2", "[y/2]", "n3,,3",
                                                 "[B/3]", "[z/2]", "n4,,4"}));
    EXPECT_EQ(FGrid->GetNodeLevel(2), 2);
    EXPECT_EQ(FGrid->GetParentRow(3), 2);
    EXPECT_EQ(FGrid->GetParentRow(2), 1);
    CheckHiddenStore(*FGrid);

    // Collapsing the outer group hides its subgroups, expanding shows them again.
    FGrid->ContractNode(2);
    FGrid->ContractNode(1);
    EXPECT_EQ(FGrid->RowCount(), 5);
    FGrid->ExpandAll();
    EXPECT_EQ(FGrid->RowCount(), 10);

    FGrid->SubUnGroup(2);
    EXPECT_EQ(Shape(), (std::vector<std::string>{"[A/4]", "n1,x,1", "n2,x,2", "n3,y,3", "[B/2]", "n4,z,4"}));
    EXPECT_EQ(FGrid->GetSubNodeCount(1), 0);
    EXPECT_EQ(FGrid->GetNodeLevel(1), 1);
    EXPECT_EQ(FGrid->GetRowIndent(2), FGrid->CellNode()->NodeIndent());
    CheckHiddenStore(*FGrid);
}

TEST_F(AdvGridGroupTest, SubGroupOverOneDataRowDoesNothing) {
    Make({{u"n1", u"A", u"x", u"1"}});
    FGrid->SubGroup(2);
    EXPECT_EQ(FGrid->GroupColumn(), -1);
    EXPECT_EQ(Shape(), (std::vector<std::string>{"n1,A,x,1"}));
}

TEST_F(AdvGridGroupTest, NothingGroupsOrSortsWhileGroupProcessesMessages) {
    Make(Rows());
    PostMessageW(FGrid->WindowHandle(), WM_APP, 0, 0);
    FGrid->Group(2);
    EXPECT_EQ(FGrid->Messages, 1) << "Group let the application process its messages";
    EXPECT_TRUE(FGrid->BusySeen);
    EXPECT_FALSE(FGrid->GroupBusy());
    EXPECT_EQ(FGrid->GroupColumn(), 2);
    EXPECT_EQ(Shape(), (std::vector<std::string>{"[A/4]", "n1,x,1", "n2,x,2", "n3,y,3", "[B/2]", "n4,z,4"}));
}

TEST_F(AdvGridGroupTest, AFailedGroupLeavesNoBusyFlagOrUpdateLockBehind) {
    Make(Rows());
    FGrid->FailInsertAfter = 1;
    EXPECT_THROW(FGrid->Group(2), std::runtime_error);
    EXPECT_FALSE(FGrid->GroupBusy());
    EXPECT_FALSE(FGrid->LockUpdate());
    CheckHiddenStore(*FGrid);
}

TEST_F(AdvGridGroupTest, AFailedUnGroupPutsExpandOneBack) {
    Make(Rows());
    FGrid->Group(2);
    FGrid->CellNode()->SetExpandOne(true);
    FGrid->FailRemove = true;
    EXPECT_THROW(FGrid->UnGroup(), std::runtime_error);
    EXPECT_TRUE(FGrid->CellNode()->ExpandOne());
    EXPECT_FALSE(FGrid->GroupBusy());
    EXPECT_FALSE(FGrid->LockUpdate());
    CheckHiddenStore(*FGrid);
}

} // namespace
