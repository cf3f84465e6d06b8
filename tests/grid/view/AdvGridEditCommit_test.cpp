// Tests of the end of an edit: the events of one edit in order, the posted edit-done report, a commit
// without a special editor, and the time format a time editor's commit borrows.
#include <string>
#include <vector>

#include "tests/grid/view/GridEditTesting.h"

#include "grid/view/AdvGridEditors.h"

namespace {

using namespace gridedit_fixtures;
using EditCommitTest = EditTest;

std::string Narrow(const String& text) {
    return std::string(text.begin(), text.end());
}

TEST_F(EditCommitTest, OneEditsEventsComeInOrderWithTheDoneReportPosted) {
    std::vector<std::string> events;
    grid->OnGetEditorType = [&](TObject*, Integer col, Integer row, TEditorType&) {
        events.push_back("GetEditorType " + std::to_string(col) + "," + std::to_string(row));
    };
    grid->OnGetEditorProp = [&](TObject*, Integer col, Integer row, TEditLink* link) {
        events.push_back("GetEditorProp " + std::to_string(col) + "," + std::to_string(row) +
                         (link == nullptr ? "" : " link"));
    };
    grid->OnEditChange = [&](TObject*, Integer, Integer, const String& value) {
        events.push_back("EditChange " + Narrow(value));
    };
    grid->OnCellValidate = [&](TObject*, Integer col, Integer row, String& value, bool&) {
        events.push_back("CellValidate " + std::to_string(col) + "," + std::to_string(row) + " " +
                         Narrow(value));
    };
    grid->OnEditingDone = [&](TObject*) { events.push_back("EditingDone"); };
    grid->OnEditCellDone = [&](TObject*, Integer col, Integer row) {
        events.push_back("EditCellDone " + std::to_string(col) + "," + std::to_string(row));
    };
    grid->SetCells(2, 3, u"a");
    grid->SetCol(2);
    grid->SetRow(3);
    events.clear();
    Press(VK_F2);
    Type(u"b");
    Press(VK_RETURN);
    const std::vector<std::string> expected{
        "GetEditorType 2,3",   "GetEditorProp 2,3", "GetEditorProp 2,3", "EditChange ab",
        "CellValidate 2,3 ab", "EditingDone",       "EditCellDone 2,3",
    };
    EXPECT_EQ(events, expected);
    EXPECT_EQ(grid->Cells(2, 3), u"ab");
}

TEST_F(EditCommitTest, TheCellDoneEventWaitsForThePostedMessage) {
    std::vector<std::string> events;
    grid->OnEditingDone = [&](TObject*) { events.push_back("EditingDone"); };
    grid->OnEditCellDone = [&](TObject*, Integer, Integer) { events.push_back("EditCellDone"); };
    EditAt(2, 2);
    Type(u"x");
    // The focus leaves by code, without pumping the queue.
    other->SetFocus();
    EXPECT_EQ(events, (std::vector<std::string>{"EditingDone"}));
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"EditingDone", "EditCellDone"}));
    EXPECT_FALSE(grid->EditMode());
    EXPECT_EQ(grid->Cells(2, 2), u"x");
}

TEST_F(EditCommitTest, HideCellEditWithoutASpecialEditorWritesNothing) {
    grid->SetCells(2, 2, u"kept");
    std::vector<String> stored;
    grid->OnSetEditText = [&](TObject*, Integer, Integer, const String& value) { stored.push_back(value); };
    grid->HideCellEdit();
    // A kind without an editor of its own: edit mode on, nothing to commit.
    grid->OnGetEditorType = [](TObject*, Integer, Integer, TEditorType& kind) { kind = edDataCheckBox; };
    EditAt(2, 2);
    ASSERT_TRUE(grid->EditMode());
    grid->HideCellEdit();
    grid->HideCellEdit();
    EXPECT_TRUE(stored.empty());
    EXPECT_EQ(grid->Cells(2, 2), u"kept");
}

TEST_F(EditCommitTest, RestoreCellCachePutsBackTheTextTheCellBecameCurrentWith) {
    grid->SetCells(3, 4, u"first");
    grid->SetCol(3);
    grid->SetRow(4);
    grid->SetCells(3, 4, u"changed by code");
    grid->RestoreCellCache();
    EXPECT_EQ(grid->Cells(3, 4), u"first");
}

TEST(LongTimeFormatOverride, TheFormatComesBackOnEveryWayOut) {
    const String saved = FormatSettings.LongTimeFormat;
    FormatSettings.LongTimeFormat = u"hh:nn:ss";
    {
        TLongTimeFormatOverride swap(u"hh:nn");
        EXPECT_EQ(FormatSettings.LongTimeFormat, u"hh:nn");
    }
    EXPECT_EQ(FormatSettings.LongTimeFormat, u"hh:nn:ss");
    try {
        TLongTimeFormatOverride swap(u"h AMPM");
        throw EConvertError(u"not a time");
    } catch (const EConvertError&) {
    }
    EXPECT_EQ(FormatSettings.LongTimeFormat, u"hh:nn:ss") << "restored when the reading raises";
    {
        TLongTimeFormatOverride none{String()};
        EXPECT_EQ(FormatSettings.LongTimeFormat, u"hh:nn:ss") << "an empty format changes nothing";
    }
    FormatSettings.LongTimeFormat = saved;
}

} // namespace
