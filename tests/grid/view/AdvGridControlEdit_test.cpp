// Tests of the form-control editors of a cell's mini-HTML text: opening each type, the combo's list
// handler, and closing, which rewrites only the edited control's VALUE.
#include <string>
#include <vector>

#include "tests/grid/view/GridEditTesting.h"

#include "render/AsgHTMLE.h"

namespace {

using namespace gridedit_fixtures;
using ControlEditTest = EditTest;

const TRect controlRect(70, 30, 150, 52);

String ControlText(const char16_t* type, const char16_t* id, const char16_t* value,
                   const char16_t* extra = u"") {
    return String(u"<CONTROL TYPE=\"") + type + u"\" ID=\"" + id + u"\" VALUE=\"" + value +
           u"\" WIDTH=\"60\"" + extra + u">";
}

TEST_F(ControlEditTest, APasswordControlMasksWhatIsTypedAndTheCellGetsTheText) {
    const String text = u"pw " + ControlText(u"PASSWORD", u"p1", u"");
    grid->SetCells(2, 2, text);
    std::vector<std::string> done;
    grid->OnControlEditDone = [&](TObject*, Integer row, Integer col, const String& id, const String& type,
                                  const String& value) {
        done.push_back(std::to_string(row) + "," + std::to_string(col) + " " +
                       std::string(id.begin(), id.end()) + " " + std::string(type.begin(), type.end()) + " " +
                       std::string(value.begin(), value.end()));
    };
    grid->ShowControlEditor(text, u"PASSWORD", 2, 2, controlRect, String(), u"p1");
    Pump();
    ASSERT_TRUE(grid->ControlEditing());
    EXPECT_EQ(grid->ControlEdit()->PasswordChar(), u'*');
    EXPECT_EQ(GetFocus(), grid->ControlEdit()->Handle());
    EXPECT_EQ(grid->ControlEdit()->Left(), controlRect.Left + 1);
    EXPECT_EQ(grid->ControlEdit()->Top(), controlRect.Top + 8);
    EXPECT_EQ(grid->ControlEdit()->Width(), controlRect.Right - controlRect.Left - 4);
    Type(u"s3cret");
    // Any click elsewhere takes the focus away, which closes the editor.
    other->SetFocus();
    Pump();
    EXPECT_FALSE(grid->ControlEditing());
    EXPECT_FALSE(grid->ControlEdit()->Visible());
    String value;
    ASSERT_TRUE(ReadControlValue(grid->Cells(2, 2), u"p1", value));
    EXPECT_EQ(value, u"s3cret");
    EXPECT_EQ(done, (std::vector<std::string>{"2,2 p1 PASSWORD s3cret"}));
}

TEST_F(ControlEditTest, MaskAndMaximumLengthComeFromTheControlsAttributes) {
    const String masked = ControlText(u"MASK", u"m1", u"12", u" PROP=\"00\" MAXLEN=\"2\"");
    grid->ShowControlEditor(masked, u"MASK", 2, 2, controlRect, u"12", u"m1");
    EXPECT_EQ(grid->ControlEdit()->EditMask(), u"00");
    EXPECT_EQ(grid->ControlEdit()->MaxLength(), 2);
    grid->ControlEditExit(grid->ControlEdit());
    const String plain = ControlText(u"MASK", u"m2", u"");
    grid->ShowControlEditor(plain, u"MASK", 2, 2, controlRect, String(), u"m2");
    EXPECT_EQ(grid->ControlEdit()->EditMask(), u"") << "a MASK without PROP edits without a mask";
    EXPECT_EQ(grid->ControlEdit()->MaxLength(), 0) << "no MAXLEN is no limit";
    grid->ControlEditExit(grid->ControlEdit());
}

TEST_F(ControlEditTest, TheCombosListComesFromTheHandlerAndItsLastUse) {
    const String text = ControlText(u"COMBO", u"k1", u"two");
    TControlCombo* combo = grid->ControlCombo();
    combo->Items()->Add(u"one");
    combo->Items()->Add(u"two");
    // Without a handler: editable, 8 lines, the items of the previous use.
    grid->ShowControlEditor(text, u"COMBO", 2, 2, controlRect, u"two", u"k1");
    Pump();
    EXPECT_EQ(combo->Style(), csDropDown);
    EXPECT_EQ(combo->DropDownCount(), 8);
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(combo->Items()->Count(), 2);
    grid->ControlEditExit(combo);
    // A handler may make it a pick list with fewer lines.
    grid->OnControlComboList = [](TObject*, Integer, Integer, const String&, const String&, const String&,
                                  TStrings* values, bool& edit, Integer& dropCount) {
        values->Add(u"three");
        edit = false;
        dropCount = 5;
    };
    grid->ShowControlEditor(text, u"COMBO", 2, 2, controlRect, u"two", u"k1");
    Pump();
    EXPECT_EQ(combo->Style(), csDropDownList);
    EXPECT_EQ(combo->DropDownCount(), 5);
    EXPECT_EQ(combo->Height(), combo->ItemHeight() * 7);
    EXPECT_EQ(combo->Items()->Count(), 3);
    grid->ControlEditExit(combo);
}

TEST_F(ControlEditTest, ClosingRewritesOnlyTheEditedControlsValue) {
    const String text = u"a " + ControlText(u"EDIT", u"e1", u"x") + u" b " +
                        ControlText(u"EDIT", u"e2", u"y") + u" <b>end</b>";
    grid->SetCells(3, 4, text);
    grid->ShowControlEditor(text, u"EDIT", 4, 3, controlRect, u"y", u"e2");
    grid->ControlEdit()->SetText(u"new");
    grid->ControlEditExit(grid->ControlEdit());
    String expected = text;
    ASSERT_TRUE(WriteControlValue(expected, u"e2", u"new"));
    EXPECT_EQ(grid->Cells(3, 4), expected);
    String first;
    ASSERT_TRUE(ReadControlValue(grid->Cells(3, 4), u"e1", first));
    EXPECT_EQ(first, u"x");
}

TEST_F(ControlEditTest, ClosingWithNoneOpenDoesNothing) {
    bool fired = false;
    grid->OnControlEditDone = [&](TObject*, Integer, Integer, const String&, const String&, const String&) {
        fired = true;
    };
    grid->SetCells(2, 2, u"plain");
    grid->ControlEditExit(nullptr);
    EXPECT_FALSE(fired);
    EXPECT_EQ(grid->Cells(2, 2), u"plain");
    // An unknown type opens nothing either.
    grid->ShowControlEditor(u"plain", u"CHECK", 2, 2, controlRect, u"TRUE", u"c1");
    EXPECT_FALSE(grid->ControlEditing());
}

} // namespace
