// Tests of the grid's typed cell values under a '.' and a ',' decimal separator.
#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/UString.h"

namespace {

class AdvGridValuesTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = FormatSettings;
        grid = std::make_unique<TAdvStringGrid>(nullptr);
    }
    void TearDown() override { FormatSettings = saved; }
    void UseCommaDecimal() {
        FormatSettings.DecimalSeparator = u',';
        FormatSettings.ThousandSeparator = u'.';
    }
    TFormatSettings saved;
    std::unique_ptr<TAdvStringGrid> grid;
};

struct IntCase {
    const Char* text;
    bool commaDecimal;
    Integer value;
};

TEST_F(AdvGridValuesTest, IntsReadWholeNumbersAndRoundSeparatedOnes) {
    const IntCase cases[] = {
        {u"12", false, 12}, {u"", false, 0},    {u"-", false, 0},         {u"  -7 ", false, -7},
        {u"2.5", false, 2}, {u"3.5", false, 4}, {u"1,234", false, 1234},  {u"<b>42</b>", false, 42},
        {u"2,5", true, 2},  {u"3,5", true, 4},  {u"1.234,6", true, 1235}, {u"12", true, 12},
    };
    for (const IntCase& c : cases) {
        FormatSettings = saved;
        if (c.commaDecimal)
            UseCommaDecimal();
        grid->SetCells(1, 1, c.text);
        EXPECT_EQ(grid->GetInts(1, 1), c.value) << StringToUtf8(c.text) << " comma " << c.commaDecimal;
    }
}

TEST_F(AdvGridValuesTest, ReadersRaiseOnTextThatIsNoNumberAndLeaveTheCell) {
    for (const Char* text : {u"abc", u"12abc", u"1.2.3"}) {
        grid->SetCells(1, 1, text);
        try {
            grid->GetInts(1, 1);
            ADD_FAILURE() << "no error for " << StringToUtf8(text);
        } catch (const EAdvGridError& e) {
            EXPECT_EQ(e.Message(), u"Cell does not contain integer value");
        }
        EXPECT_EQ(grid->Cells(1, 1), text);
    }
    grid->SetCells(1, 1, u"1.2.3");
    try {
        grid->GetFloats(1, 1);
        ADD_FAILURE() << "no error";
    } catch (const EAdvGridError& e) {
        EXPECT_EQ(e.Message(), u"Cell does not contain a float value");
    }
    // AllInts reads the stored text as it is: a separated number is no integer there.
    grid->SetCells(1, 1, u"2.5");
    EXPECT_THROW(grid->GetAllInts(1, 1), EAdvGridError);
}

TEST_F(AdvGridValuesTest, FloatsFollowTheLocaleSeparators) {
    grid->SetCells(1, 1, u"1,234.5");
    EXPECT_DOUBLE_EQ(grid->GetFloats(1, 1), 1234.5);
    EXPECT_DOUBLE_EQ(grid->GetAllFloats(1, 1), 1234.5);
    grid->SetCells(1, 1, u"-");
    EXPECT_DOUBLE_EQ(grid->GetFloats(1, 1), 0);
    grid->SetFloats(1, 2, 3.14159);
    EXPECT_EQ(grid->Cells(1, 2), u"3.14");
    EXPECT_DOUBLE_EQ(grid->GetFloats(1, 2), 3.14);

    UseCommaDecimal();
    grid->SetCells(1, 1, u"1.234,5");
    EXPECT_DOUBLE_EQ(grid->GetFloats(1, 1), 1234.5);
    grid->SetFloats(1, 2, 2.5);
    EXPECT_EQ(grid->Cells(1, 2), u"2,50");
    EXPECT_DOUBLE_EQ(grid->GetFloats(1, 2), 2.5);
    grid->SetAllFloats(1, 3, -0.125);
    EXPECT_EQ(grid->Cells(1, 3), u"-0,13");
}

// A grid whose cells format by column.
class TColumnFormatGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    String GetFloatFormat(Integer ACol, Integer ARow) override {
        return ACol == 2 ? String(u"%.0f") : TAdvStringGrid::GetFloatFormat(ACol, ARow);
    }
};

TEST_F(AdvGridValuesTest, FloatsWriteWithTheCellFormatAndAllFloatsWithTheGridFormat) {
    TColumnFormatGrid g(nullptr);
    g.SetFloats(2, 1, 7.25);
    g.SetFloats(1, 1, 7.25);
    g.SetAllFloats(2, 2, 7.25);
    EXPECT_EQ(g.Cells(2, 1), u"7");
    EXPECT_EQ(g.Cells(1, 1), u"7.25");
    EXPECT_EQ(g.Cells(2, 2), u"7.25");
    g.SetFloatFormat(u"%.1f");
    g.SetFloats(1, 1, 7.04);
    EXPECT_EQ(g.Cells(1, 1), u"7.0");
}

TEST_F(AdvGridValuesTest, IntsRoundTripThroughBothAccessors) {
    grid->SetInts(1, 1, -2147483647 - 1);
    EXPECT_EQ(grid->Cells(1, 1), u"-2147483648");
    EXPECT_EQ(grid->GetInts(1, 1), -2147483647 - 1);
    grid->SetAllInts(2, 3, 99);
    EXPECT_EQ(grid->GetAllInts(2, 3), 99);
    EXPECT_EQ(grid->GetInts(2, 3), 99);
    // Beyond the range of an integer it is no integer, not a wrapped one.
    grid->SetCells(1, 1, u"9,999,999,999.5");
    EXPECT_THROW(grid->GetInts(1, 1), EAdvGridError);
}

TEST_F(AdvGridValuesTest, URLShowInTextLinksTheFirstAddress) {
    grid->SetCells(1, 1, u"see WWW.Example.org <now>");
    EXPECT_EQ(grid->Cells(1, 1), u"see WWW.Example.org <now>");
    grid->SetURLShowInText(true);
    EXPECT_EQ(grid->Cells(1, 1), u"see <a href=\"WWW.Example.org\">WWW.Example.org</a> &lt;now&gt;");
    EXPECT_EQ(grid->GridCells(1, 1), u"see WWW.Example.org <now>") << "the stored text stays";
    grid->SetCells(1, 1, u"https://www.x.org");
    EXPECT_EQ(grid->Cells(1, 1), u"https://<a href=\"www.x.org\">www.x.org</a>");
    grid->SetCells(1, 1, u"plain");
    EXPECT_EQ(grid->Cells(1, 1), u"plain");
}

} // namespace
