// Tests of cell validation against the snapshot taken before editing: unchanged text, refusals with and
// without a corrected value, the balloon on the editor, merged cells and the modified flags.
#include <string>
#include <vector>

#include "tests/grid/view/GridKeysTesting.h"

#include "platform/rtl/UString.h"
#include "platform/win32/winctrl.h"

namespace {

class ValidateTest : public GridKeysTest {
protected:
    void SetUp() override {
        GridKeysTest::SetUp();
        FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
        FGrid->SetCells(2, 3, u"old");
        Place(2, 3);
        FGrid->OnCellValidate = [this](TObject*, Integer ACol, Integer ARow, String& Value, bool& Valid) {
            events.push_back("validate " + std::to_string(ACol) + "," + std::to_string(ARow) + " " +
                             StringToUtf8(Value));
            if (refuse)
                Valid = false;
            if (!correction.empty())
                Value = correction;
        };
        FGrid->OnCellsChanged = [this](TObject*, const TRect&) { events.push_back("changed"); };
    }

    std::vector<std::string> events;
    bool refuse = false;
    String correction;
};

TEST_F(ValidateTest, UnchangedTextPassesWithoutEvents) {
    FGrid->BeginEditing();
    EXPECT_TRUE(FGrid->ValidateCell(u"old"));
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(FGrid->Editing());

    FGrid->SetAlwaysValidate(true);
    FGrid->BeginEditing();
    EXPECT_TRUE(FGrid->ValidateCell(u"old"));
    EXPECT_EQ(events, (std::vector<std::string>{"validate 2,3 old"}));
}

TEST_F(ValidateTest, AcceptedChangeIsStoredFlaggedAndReported) {
    FGrid->BeginEditing();
    EXPECT_TRUE(FGrid->ValidateCell(u"new"));
    EXPECT_EQ(events, (std::vector<std::string>{"validate 2,3 new", "changed"}));
    EXPECT_EQ(FGrid->Cells(2, 3), u"new");
    EXPECT_TRUE(FGrid->GridModified());
    EXPECT_TRUE(FGrid->RowModified(3));
    EXPECT_TRUE(FGrid->LastValidation());
}

TEST_F(ValidateTest, ARefusalPutsTheOldTextBackAndLeavesTheModifiedFlags) {
    refuse = true;
    FGrid->SetModified(false);
    FGrid->BeginEditing();
    FGrid->SetModified(true); // changed during the edit
    EXPECT_FALSE(FGrid->ValidateCell(u"bad"));
    EXPECT_EQ(FGrid->Cells(2, 3), u"old");
    EXPECT_FALSE(FGrid->Modified());
    EXPECT_FALSE(FGrid->GridModified());
    EXPECT_FALSE(FGrid->RowModified(3));
    EXPECT_FALSE(FGrid->LastValidation());
    EXPECT_TRUE(FGrid->Editing()) << "the edit stays open on the cell";
    EXPECT_EQ(Current(), TPoint(2, 3));
    EXPECT_EQ(events, (std::vector<std::string>{"validate 2,3 bad"}));
}

TEST_F(ValidateTest, ARefusalWithACorrectedValueKeepsTheCorrection) {
    refuse = true;
    correction = u"fixed";
    FGrid->BeginEditing();
    EXPECT_FALSE(FGrid->ValidateCell(u"bad"));
    EXPECT_EQ(FGrid->Cells(2, 3), u"fixed");
    EXPECT_TRUE(FGrid->Editing());
}

TEST_F(ValidateTest, TheRefusalBalloonGoesToTheEditor) {
    refuse = true;
    FGrid->SetInvalidEntryTitle(u"Invalid");
    FGrid->SetInvalidEntryText(u"Numbers only");
    FGrid->BeginEditing();
    FGrid->ValidateCell(u"bad");
    TInplaceEdit* editor = FGrid->NormalEdit();
    ASSERT_NE(editor, nullptr);
    std::vector<std::string> balloons;
    // Validating again sends the tip to the editor that is now open.
    TWndMethod own = editor->WindowProc;
    editor->WindowProc = [&](TMessage& message) {
        if (message.Msg == EM_SHOWBALLOONTIP) {
            const auto* tip = reinterpret_cast<const EDITBALLOONTIP*>(message.LParam);
            balloons.push_back(StringToUtf8(reinterpret_cast<const Char*>(tip->pszTitle)) + ": " +
                               StringToUtf8(reinterpret_cast<const Char*>(tip->pszText)) + " " +
                               std::to_string(tip->ttiIcon));
        }
        own(message);
    };
    FGrid->ValidateCell(u"worse");
    editor->WindowProc = own;
    EXPECT_EQ(balloons, (std::vector<std::string>{"Invalid: Numbers only 2"}));
}

TEST_F(ValidateTest, AMergedCellWritesItsBaseCellToo) {
    FGrid->MergeCells(1, 3, 2, 1);
    FGrid->BeginEditing();
    EXPECT_TRUE(FGrid->ValidateCell(u"new"));
    EXPECT_EQ(FGrid->Cells(2, 3), u"new");
    EXPECT_EQ(FGrid->Cells(1, 3), u"new");
}

TEST_F(ValidateTest, WithoutFixedColumnsNoRowIsFlagged) {
    FGrid->SetFixedCols(0);
    Place(2, 3);
    FGrid->BeginEditing();
    EXPECT_TRUE(FGrid->ValidateCell(u"new"));
    EXPECT_FALSE(FGrid->RowModified(3));
    EXPECT_TRUE(FGrid->GridModified());
}

TEST_F(ValidateTest, ValidationInsideValidationPassesUntouched) {
    FGrid->OnCellValidate = [this](TObject*, Integer, Integer, String&, bool&) {
        events.push_back("outer");
        FGrid->BeginEditing();
        EXPECT_TRUE(FGrid->ValidateCell(u"inner"));
    };
    FGrid->BeginEditing();
    EXPECT_TRUE(FGrid->ValidateCell(u"new"));
    EXPECT_EQ(events, (std::vector<std::string>{"outer", "changed"}));
    EXPECT_EQ(FGrid->Cells(2, 3), u"new");
}

TEST_F(ValidateTest, AnExceptionInTheEventLeavesValidationReady) {
    FGrid->OnCellValidate = [](TObject*, Integer, Integer, String&, bool&) { throw Exception(u"boom"); };
    FGrid->BeginEditing();
    EXPECT_THROW(FGrid->ValidateCell(u"new"), Exception);
    FGrid->OnCellValidate = nullptr;
    FGrid->BeginEditing();
    EXPECT_TRUE(FGrid->ValidateCell(u"new"));
    EXPECT_EQ(FGrid->Cells(2, 3), u"new");
}

TEST_F(ValidateTest, TheWideFormComparesWithTheWideSnapshot) {
    std::vector<std::string> wide;
    FGrid->OnCellValidateWide = [&wide](TObject*, Integer, Integer, String& Value, bool& Valid) {
        wide.push_back(StringToUtf8(Value));
        Valid = Value != u"bad";
    };
    FGrid->BeginEditing();
    EXPECT_TRUE(FGrid->ValidateCellWide(u"old"));
    FGrid->BeginEditing();
    EXPECT_FALSE(FGrid->ValidateCellWide(u"bad"));
    EXPECT_EQ(FGrid->Cells(2, 3), u"old");
    EXPECT_FALSE(FGrid->GridModified());
    FGrid->BeginEditing();
    EXPECT_TRUE(FGrid->ValidateCellWide(u"\u20AC"));
    EXPECT_EQ(FGrid->Cells(2, 3), u"\u20AC");
    EXPECT_EQ(wide, (std::vector<std::string>{"bad", "\xE2\x82\xAC"}));
    EXPECT_TRUE(FGrid->GridModified());
}

TEST_F(ValidateTest, AClickTakesTheSnapshotOfTheClickedCell) {
    FGrid->SetCells(3, 5, u"clicked");
    const TRect rect = FGrid->CellRect(3, 5);
    const TPoint p = ScreenPoint(rect.Left + 5, rect.Top + 5);
    win32::input::MouseButton(win32::input::Button::Left, true, p.X, p.Y);
    win32::input::MouseButton(win32::input::Button::Left, false, p.X, p.Y);
    Pump();
    ASSERT_EQ(Current(), TPoint(3, 5));
    FGrid->MarkEditing();
    FGrid->ValidateCell(u"clicked");
    EXPECT_TRUE(events.empty()) << "the clicked cell's text is the snapshot";
}

} // namespace
