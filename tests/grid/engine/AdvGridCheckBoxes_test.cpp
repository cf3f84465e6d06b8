// Tests of check boxes in cells: data check boxes and the checked texts, toggling each kind, the group
// check of outline nodes, states in hidden rows, whole columns, and removing checked rows.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"

namespace {

struct TChange {
    Integer col;
    Integer row;
    bool state;
    bool operator==(const TChange&) const = default;
};

class AdvGridCheckBoxesTest : public ::testing::Test {
protected:
    void SetUp() override {
        FGrid = new TAdvStringGrid(nullptr);
        FGrid->SetColCount(3);
        FGrid->SetRowCount(8);
        for (Integer r = 0; r < 8; ++r)
            FGrid->SetCells(0, r, u"r" + IntToStr(r));
        FGrid->OnCheckBoxChange = [this](TObject*, Integer c, Integer r, bool s) {
            changes.push_back({c, r, s});
        };
    }
    void TearDown() override { delete FGrid; }

    bool State(Integer c, Integer r) {
        bool state = false;
        EXPECT_TRUE(FGrid->GetCheckBoxState(c, r, state)) << c << "," << r;
        return state;
    }
    TCheckBoxState TriState(Integer c, Integer r) {
        TCheckBoxState state = cbUnchecked;
        EXPECT_TRUE(FGrid->GetCheckBoxState(c, r, state)) << c << "," << r;
        return state;
    }
    // Makes displayed row ARow a node heading span rows, each of them at level 1.
    void MakeNode(Integer ARow, Integer span) { FGrid->AddNode(ARow, span); }

    TAdvStringGrid* FGrid = nullptr;
    std::vector<TChange> changes;
};

TEST_F(AdvGridCheckBoxesTest, DataCheckBoxesKeepATextThatMeansAStateAndWriteOneOtherwise) {
    struct Case {
        const char16_t* before;
        bool state;
        const char16_t* after;
        bool checked;
    };
    const Case cases[] = {{u"N", true, u"N", false},
                          {u"", true, u"Y", true},
                          {u"x", false, u"N", false},
                          {u"Y", false, u"Y", true}};
    Integer r = 1;
    for (const Case& c : cases) {
        FGrid->SetCells(1, r, c.before);
        FGrid->AddCheckBox(1, r, c.state, true);
        EXPECT_EQ(FGrid->Cells(1, r), c.after) << r;
        EXPECT_EQ(State(1, r), c.checked) << r;
        EXPECT_TRUE(FGrid->HasDataCheckBox(1, r));
        ++r;
    }
    EXPECT_TRUE(FGrid->IsDataCheckBoxColumn(1));
    EXPECT_TRUE(IsDataCellType(FGrid, 1, 1));
    EXPECT_FALSE(FGrid->IsDataCheckBoxColumn(2));

    // A plain box keeps its state in its object; a text cell has none to read.
    FGrid->AddCheckBox(2, 1, true, false);
    EXPECT_TRUE(State(2, 1));
    EXPECT_EQ(FGrid->Cells(2, 1), u"");
    bool untouched = true;
    EXPECT_FALSE(FGrid->GetCheckBoxState(2, 2, untouched));
    EXPECT_TRUE(untouched);
    EXPECT_FALSE(FGrid->IsChecked(2, 2));
}

TEST_F(AdvGridCheckBoxesTest, AddingOutsideTheStoredCellsRaisesInvalidCell) {
    FGrid->HideRows(2, 3);
    // Rows count the hidden ones: 6 displayed and 2 hidden.
    EXPECT_NO_THROW(FGrid->AddCheckBox(1, 7, true, false));
    for (const auto& [c, r] : {std::pair{1, 8}, std::pair{3, 1}, std::pair{-1, 1}, std::pair{1, -1}}) {
        try {
            FGrid->AddCheckBox(c, r, true, false);
            ADD_FAILURE() << c << "," << r;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), u"Invalid cell");
        }
        EXPECT_THROW(FGrid->AddCheckBox(c, r, cbChecked), Exception);
    }
}

TEST_F(AdvGridCheckBoxesTest, CheckedTextFromTheEventDecidesAndIsWrittenByToggling) {
    FGrid->OnGetCheckTrue = [](TObject*, Integer ACol, Integer, String& Value) {
        if (ACol == 1)
            Value = u"1";
    };
    FGrid->SetCells(1, 1, u"Y");
    FGrid->AddCheckBox(1, 1, true, true);
    EXPECT_FALSE(State(1, 1)) << "\"Y\" is not the checked text of column 1";

    EXPECT_TRUE(FGrid->ToggleCheck(1, 1, false));
    EXPECT_EQ(FGrid->Cells(1, 1), u"1");
    EXPECT_TRUE(State(1, 1));
    EXPECT_TRUE(FGrid->ToggleCheckBox(1, 1));
    EXPECT_EQ(FGrid->Cells(1, 1), u"N");
    EXPECT_EQ(changes, (std::vector<TChange>{{1, 1, true}, {1, 1, false}}));

    EXPECT_FALSE(FGrid->ToggleCheck(2, 1, false)) << "no check box";
    EXPECT_EQ(changes.size(), 2u);
}

TEST_F(AdvGridCheckBoxesTest, ToggleReportsTheNewCheckedStateOfEveryKind) {
    FGrid->AddCheckBox(1, 1, false, false);
    FGrid->AddCheckBox(2, 1, cbUnchecked);
    for (int i = 0; i < 3; ++i) {
        FGrid->ToggleCheck(1, 1, false);
        FGrid->ToggleCheck(2, 1, false);
    }
    EXPECT_EQ(changes,
              (std::vector<TChange>{
                  {1, 1, true}, {2, 1, false}, {1, 1, false}, {2, 1, true}, {1, 1, true}, {2, 1, false}}))
        << "a tri-state box goes grayed, checked, unchecked and reports checked when it becomes so";
    EXPECT_EQ(TriState(2, 1), cbUnchecked);

    // The row check box is the row's selection: toggling it never writes column 0.
    FGrid->MouseActions()->SetHotmailRowSelect(true);
    EXPECT_TRUE(FGrid->ToggleCheck(0, 3, false));
    EXPECT_EQ(FGrid->Cells(0, 3), u"r3");
}

TEST_F(AdvGridCheckBoxesTest, AskingToEditRefusesTheToggleOfACellThatMayNotBeEdited) {
    FGrid->SetOptions(FGrid->Options() + goEditing);
    FGrid->AddCheckBox(1, 1, false, false);
    FGrid->AddCheckBox(1, 2, false, true);
    FGrid->SetReadOnly(1, 1, true);
    FGrid->OnCanEditCell = [](TObject*, Integer ARow, Integer, bool& CanEdit) {
        if (ARow == 2)
            CanEdit = false;
    };

    EXPECT_FALSE(FGrid->ToggleCheck(1, 1, true));
    EXPECT_FALSE(FGrid->ToggleCheck(1, 2, true));
    EXPECT_FALSE(State(1, 1));
    EXPECT_EQ(FGrid->Cells(1, 2), u"N");
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(FGrid->ToggleCheck(1, 2, false)) << "without asking, the toggle goes through";
    EXPECT_EQ(FGrid->Cells(1, 2), u"Y");
}

TEST_F(AdvGridCheckBoxesTest, UndoingADataCheckBoxToggleWritesBackItsText) {
    ZOvoReziDoviRuzo undo(nullptr);
    FGrid->SetUndoRedo(&undo);
    // Made checked: the toggles go unchecked and back, the registered texts following each toggle.
    FGrid->AddCheckBox(1, 1, true, true);
    FGrid->ToggleCheck(1, 1, false);
    FGrid->ToggleCheck(1, 1, false);
    EXPECT_EQ(FGrid->Cells(1, 1), u"Y");
    undo.Undo();
    EXPECT_EQ(FGrid->Cells(1, 1), u"N");
    undo.Undo();
    EXPECT_EQ(FGrid->Cells(1, 1), u"Y");
    FGrid->SetUndoRedo(nullptr);
}

TEST_F(AdvGridCheckBoxesTest, AutoCheckGroupCarriesTheNodeStateAndSumsTheChildrenUp) {
    FGrid->Grouping()->SetAutoCheckGroup(true);
    MakeNode(1, 4); // rows 2, 3, 4 are its children
    FGrid->AddCheckBox(1, 1, cbUnchecked);
    for (Integer r = 2; r <= 4; ++r)
        FGrid->AddCheckBox(1, r, false, false);
    FGrid->AddCheckBox(1, 5, false, false); // under no node

    EXPECT_EQ(FGrid->GetParentRow(3), 1);
    EXPECT_EQ(FGrid->GetParentRow(1), 1);
    EXPECT_EQ(FGrid->GetParentRow(5), -1);

    FGrid->ToggleCheck(1, 3, false);
    EXPECT_EQ(TriState(1, 1), cbGrayed);
    FGrid->ToggleCheck(1, 2, false);
    FGrid->ToggleCheck(1, 4, false);
    EXPECT_EQ(TriState(1, 1), cbChecked);

    FGrid->ToggleCheck(1, 1, false); // checked node row goes unchecked, and its children with it
    EXPECT_EQ(TriState(1, 1), cbUnchecked);
    for (Integer r = 2; r <= 4; ++r)
        EXPECT_FALSE(State(1, r)) << r;
    FGrid->ToggleCheck(1, 5, false);
    EXPECT_EQ(TriState(1, 1), cbUnchecked) << "a row outside the block leaves the node alone";
}

TEST_F(AdvGridCheckBoxesTest, ToggledCollapsedNodeSetsItsHiddenChildren) {
    FGrid->Grouping()->SetAutoCheckGroup(true);
    MakeNode(1, 4);
    FGrid->AddCheckBox(1, 1, cbUnchecked);
    FGrid->AddCheckBox(1, 2, false, false);
    FGrid->AddCheckBox(1, 3, false, true);
    FGrid->AddCheckBox(1, 4, cbGrayed);
    FGrid->GetCellGraphic(0, 1)->SetCellBoolean(true); // contracted
    FGrid->HideRows(2, 4);
    ASSERT_EQ(FGrid->Cells(0, 2), u"r5");

    FGrid->ToggleCheck(1, 1, false);
    EXPECT_EQ(TriState(1, 1), cbChecked);
    // Real rows: the hidden children read from their own records and texts.
    EXPECT_TRUE(State(1, 2));
    EXPECT_TRUE(State(1, 3));
    EXPECT_EQ(FGrid->GetCellsEx(1, 3), u"Y");
    EXPECT_EQ(TriState(1, 4), cbChecked);
}

TEST_F(AdvGridCheckBoxesTest, StatesOfHiddenRowsAreReadAndSetAtTheirRealRow) {
    for (Integer r = 1; r <= 6; ++r)
        FGrid->AddCheckBox(1, r, r % 2 == 0, r > 3);
    FGrid->AddCheckBox(2, 2, cbGrayed);
    FGrid->HideRows(2, 4);

    // Rows 2 to 4 are hidden; real indexes reach them, displayed row 2 is real row 5.
    EXPECT_TRUE(State(1, 2));
    EXPECT_FALSE(State(1, 3));
    EXPECT_TRUE(State(1, 4));
    EXPECT_FALSE(State(1, 5));
    EXPECT_EQ(TriState(2, 2), cbGrayed);

    EXPECT_TRUE(FGrid->SetCheckBoxState(1, 4, false));
    EXPECT_EQ(FGrid->GetCellsEx(1, 4), u"N");
    EXPECT_TRUE(FGrid->SetCheckBoxState(1, 3, true));
    EXPECT_TRUE(State(1, 3));
    EXPECT_TRUE(FGrid->SetCheckBoxState(2, 2, cbChecked));
    EXPECT_FALSE(FGrid->SetCheckBoxState(1, 3, cbChecked)) << "the tri-state form sets tri-state boxes only";
    EXPECT_TRUE(changes.empty()) << "setting is silent";

    FGrid->UnHideRowsAll();
    EXPECT_FALSE(State(1, 4));
    EXPECT_TRUE(State(1, 3));
    EXPECT_EQ(TriState(2, 2), cbChecked);
}

TEST_F(AdvGridCheckBoxesTest, NotifyingSettersFireOnlyOnAChange) {
    FGrid->AddCheckBox(1, 1, true, false);
    FGrid->AddCheckBox(1, 2, false, true);
    FGrid->AddCheckBox(1, 3, cbGrayed);
    FGrid->CheckAll(1);
    EXPECT_EQ(changes, (std::vector<TChange>{{1, 2, true}}));
    EXPECT_EQ(TriState(1, 3), cbChecked) << "set, but without an event";
    changes.clear();
    FGrid->UnCheckAll(1);
    EXPECT_EQ(changes, (std::vector<TChange>{{1, 1, false}, {1, 2, false}}));
    EXPECT_FALSE(FGrid->SetCheckBoxStateNotify(1, 3, true));
}

TEST_F(AdvGridCheckBoxesTest, ColumnsOfCheckBoxesSkipSummariesAndFootersAndGiveNodesTriStateBoxes) {
    FGrid->SetFixedFooters(1);
    MakeNode(2, 2);
    FGrid->CreateCellGraphic(0, 5)->SetCellType(ctSummary);
    FGrid->AddCheckBoxColumn(1, true, false);
    EXPECT_EQ(FGrid->GetCellType(1, 0), ctEmpty) << "fixed row";
    EXPECT_EQ(FGrid->GetCellType(1, 1), ctCheckBox);
    EXPECT_EQ(FGrid->GetCellType(1, 2), ctTriStateCheckBox);
    EXPECT_EQ(TriState(1, 2), cbChecked);
    EXPECT_EQ(FGrid->GetCellType(1, 5), ctEmpty) << "summary row";
    EXPECT_EQ(FGrid->GetCellType(1, 6), ctCheckBox);
    EXPECT_EQ(FGrid->GetCellType(1, 7), ctEmpty) << "footer row";

    FGrid->MouseActions()->SetCheckAllCheck(true);
    FGrid->AddTriStateCheckBoxColumn(2, cbGrayed);
    EXPECT_EQ(TriState(2, 0), cbGrayed);
    EXPECT_EQ(TriState(2, 7), cbGrayed);

    // Removing leaves radio buttons and a data box's text.
    FGrid->AddCheckBox(1, 3, true, true);
    FGrid->CreateCellGraphic(1, 4)->SetRadioButton(true, true, haLeft, vaTop, rgCol);
    FGrid->RemoveCheckBox(1, 4);
    EXPECT_EQ(FGrid->GetCellType(1, 4), ctRadioButton);
    FGrid->RemoveCheckBoxColumn(1);
    EXPECT_FALSE(FGrid->HasCheckBox(1, 1));
    EXPECT_FALSE(FGrid->HasCheckBox(1, 2));
    EXPECT_EQ(FGrid->Cells(1, 3), u"Y");
    EXPECT_EQ(FGrid->GetCellType(1, 4), ctRadioButton);
    EXPECT_TRUE(FGrid->IsClickControlCell(1, 4));
    EXPECT_FALSE(FGrid->IsClickControlCell(1, 5));
    EXPECT_TRUE(FGrid->IsInCheckBox(1, 4, 0, 0));
    EXPECT_TRUE(FGrid->IsInCheckBox(2, 4, 500, 500));
    EXPECT_FALSE(FGrid->IsInCheckBox(1, 5, 0, 0)) << "a cell without a box";
}

TEST_F(AdvGridCheckBoxesTest, RemoveCheckedRowsRemovesExactlyTheRowsInTheAskedState) {
    FGrid->SetFixedRows(1);
    FGrid->AddCheckBox(1, 0, true, false); // fixed row: stays whatever its state
    for (Integer r = 1; r <= 6; ++r)
        FGrid->AddCheckBox(1, r, r == 2 || r == 3 || r == 6, r > 4);
    // Row 7 has no check box.
    FGrid->RemoveCheckedRows(1, true);
    std::vector<String> left;
    for (Integer r = 0; r < FGrid->RowCount(); ++r)
        left.push_back(FGrid->Cells(0, r));
    EXPECT_EQ(left, (std::vector<String>{u"r0", u"r1", u"r4", u"r5", u"r7"}));

    FGrid->RemoveCheckedRows(1, false);
    left.clear();
    for (Integer r = 0; r < FGrid->RowCount(); ++r)
        left.push_back(FGrid->Cells(0, r));
    EXPECT_EQ(left, (std::vector<String>{u"r0", u"r7"}));
}

} // namespace
