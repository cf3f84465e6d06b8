// Tests of the grid timer on the manual clock (incremental search expiry, select on hover, blinking) and
// of typed characters and resizing.
#include <string>
#include <vector>

#include "tests/grid/view/GridKeysTesting.h"

#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/UString.h"

namespace {

class TimerTest : public GridKeysTest {
protected:
    // One grid-timer tick at a time: a timer that fell behind fires once, not once per period.
    static void Ticks(int count) {
        for (int i = 0; i < count; ++i)
            Advance(500);
    }
};

TEST_F(TimerTest, IncrementalSearchTextIsForgottenOnTheFourthTick) {
    FGrid->Navigation()->SetAutoGotoWhenSorted(true);
    FGrid->Navigation()->SetAutoGotoIncremental(true);
    FGrid->SetCells(1, 3, u"apple");
    FGrid->SetCells(1, 6, u"banana");
    Type(u'b');
    EXPECT_EQ(FGrid->Row(), 6);
    EXPECT_EQ(FGrid->IncrementalSearchText(), u"b");
    Ticks(3);
    EXPECT_EQ(FGrid->IncrementalSearchText(), u"b") << "three ticks";
    Type(u'a');
    EXPECT_EQ(StringToUtf8(FGrid->IncrementalSearchText()), "ba") << "a key starts the count again";
    Ticks(3);
    EXPECT_EQ(FGrid->IncrementalSearchText(), u"ba");
    Ticks(1);
    EXPECT_EQ(FGrid->IncrementalSearchText(), u"");
}

TEST_F(TimerTest, HoveringMakesTheNormalCellUnderTheMouseCurrent) {
    FGrid->SetHovering(true);
    Place(1, 1);
    TRect rect = FGrid->CellRect(3, 5);
    TPoint p = ScreenPoint(rect.Left + 5, rect.Top + 5);
    win32::input::MouseMove(p.X, p.Y);
    Pump();
    EXPECT_EQ(Current(), TPoint(1, 1));
    Advance(500);
    EXPECT_EQ(Current(), TPoint(3, 5));

    rect = FGrid->CellRect(0, 7);
    p = ScreenPoint(rect.Left + 5, rect.Top + 5);
    win32::input::MouseMove(p.X, p.Y);
    Advance(500);
    EXPECT_EQ(Current(), TPoint(3, 5)) << "a fixed cell is never made current";
}

TEST_F(TimerTest, BlinkPhasesAlternateAndOnlyBlinkingCellsRepaint) {
    FGrid->SetEnableBlink(true);
    Pump();
    const bool first = FGrid->GridBlink();
    Integer painted = FGrid->PaintCounter();
    Advance(500);
    EXPECT_NE(FGrid->GridBlink(), first);
    EXPECT_EQ(FGrid->PaintCounter(), painted) << "nothing blinks yet";
    Advance(500);
    EXPECT_EQ(FGrid->GridBlink(), first);

    FGrid->SetCells(2, 3, u"<BLINK>alarm</BLINK>");
    Pump();
    painted = FGrid->PaintCounter();
    Advance(500);
    EXPECT_GT(FGrid->PaintCounter(), painted);
}

TEST_F(TimerTest, EveryCharacterFromTheBlankUpStartsEditing) {
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
    std::vector<Char> pressed;
    FGrid->OnKeyPress = [&pressed](TObject*, Char& Key) { pressed.push_back(Key); };
    Place(2, 3);
    Type(u'\u20AC');
    ASSERT_TRUE(FGrid->EditorMode());
    ASSERT_NE(FGrid->NormalEdit(), nullptr);
    EXPECT_EQ(FGrid->NormalEdit()->Text(), u"\u20AC");
    ASSERT_FALSE(pressed.empty());
    EXPECT_EQ(pressed.front(), u'\u20AC');
}

TEST_F(TimerTest, ACellWithAFormControlSwallowsTypedCharacters) {
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
    FGrid->SetCells(2, 3, u"<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"v\">");
    bool pressed = false;
    FGrid->OnKeyPress = [&pressed](TObject*, Char&) { pressed = true; };
    Place(2, 3);
    Type(u'x');
    EXPECT_FALSE(FGrid->EditorMode());
    EXPECT_FALSE(pressed);
}

TEST_F(TimerTest, TheKeypadDecimalKeyTypesTheLocaleSeparator) {
    const TFormatSettings saved = FormatSettings;
    FormatSettings.DecimalSeparator = u',';
    FGrid->SetExcelStyleDecimalSeparator(true);
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
    Place(2, 3);
    // The keypad's decimal key carries scan code $53, which sets bit 22 of the key data.
    PostMessageW(FGrid->WindowHandle(), WM_CHAR, u'.', 0x00530001);
    Pump();
    ASSERT_NE(FGrid->NormalEdit(), nullptr);
    EXPECT_EQ(FGrid->NormalEdit()->Text(), u",");
    FGrid->HideInplaceEdit();

    Place(3, 3);
    PostMessageW(FGrid->WindowHandle(), WM_CHAR, u'.', 0x00340001);
    Pump();
    EXPECT_EQ(FGrid->NormalEdit()->Text(), u".");
    FormatSettings = saved;
}

TEST_F(TimerTest, ColumnsSynchronisedWithTheGridKeepTheirShares) {
    FGrid->ColumnSize()->SetSynchWithGrid(true);
    FGrid->SetColWidths(1, 45);
    FGrid->InitOrigColSizes();
    FGrid->SetWidth(600);
    Pump();
    EXPECT_EQ(FGrid->ColWidths(0), 96);
    EXPECT_EQ(FGrid->ColWidths(1), 67) << "45 x 1.5, truncated";
    EXPECT_EQ(FGrid->ColWidths(5), 96);

    FGrid->ColumnSize()->SetSynchNormalCellsOnly(true);
    FGrid->SetWidth(200);
    Pump();
    EXPECT_EQ(FGrid->ColWidths(0), 96) << "the fixed column keeps its width";
    EXPECT_EQ(FGrid->ColWidths(1), 22);
}

// With ColumnSize.Stretch a resize gives the stretch column what the other columns leave of the new
// width and reports it with OnGridResize once; a grid narrower than its other columns stretches nothing
// and reports nothing.
TEST_F(TimerTest, AResizeStretchesTheStretchColumn) {
    struct Case {
        const char* name;
        Integer stretchColumn;
        Integer width;
        Integer stretched; // the column that takes the rest, -1 for none
    };
    const Case cases[] = {
        {"last column", -1, 500, 5},
        {"named column", 2, 450, 2},
        {"too narrow", -1, 250, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FGrid->SetWidth(400);
        for (Integer col = 0; col < FGrid->ColCount(); ++col)
            FGrid->SetColWidths(col, 64);
        FGrid->ColumnSize()->SetStretchColumn(c.stretchColumn);
        FGrid->ColumnSize()->SetStretch(true);
        Pump();
        std::vector<Integer> before;
        Integer others = 0;
        for (Integer col = 0; col < FGrid->ColCount(); ++col) {
            before.push_back(FGrid->ColWidths(col));
            if (col != c.stretched)
                others += FGrid->ColWidths(col);
        }
        Integer resized = 0;
        FGrid->OnGridResize = [&resized](TObject*) { ++resized; };
        FGrid->SetWidth(c.width);
        Pump();
        for (Integer col = 0; col < FGrid->ColCount(); ++col)
            EXPECT_EQ(FGrid->ColWidths(col), col == c.stretched ? c.width - others : before[col])
                << "column " << col;
        EXPECT_EQ(resized, c.stretched >= 0 ? 1 : 0);
        EXPECT_EQ(FGrid->Width(), c.width);
        FGrid->OnGridResize = nullptr;
        FGrid->ColumnSize()->SetStretch(false);
    }
}

} // namespace
