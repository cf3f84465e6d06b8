// Tests of the grid's header lists, fill routines, date and time cells and auto numbering.
#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Filer.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Random.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/UString.h"

namespace {

// Counts the change hook the fills end with.
class FillGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    int changedHooks = 0;
    void CellsChangedHook() override {
        ++changedHooks;
        TAdvStringGrid::CellsChangedHook();
    }
};

class AdvGridHeadersTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved = FormatSettings;
        grid = std::make_unique<FillGrid>(nullptr);
        grid->SetColCount(5);
        grid->SetRowCount(6);
    }
    void TearDown() override { FormatSettings = saved; }
    // The grid's texts, rows on lines, cells split by '|'.
    String Dump() {
        String s;
        for (Integer r = 0; r < grid->RowCount(); ++r) {
            for (Integer c = 0; c < grid->ColCount(); ++c)
                s += (c > 0 ? u"|" : u"") + grid->Cells(c, r);
            s += u"\n";
        }
        return s;
    }
    TFormatSettings saved;
    std::unique_ptr<FillGrid> grid;
};

TEST_F(AdvGridHeadersTest, ColumnHeadersFollowTheListAtOnce) {
    grid->ColumnHeaders()->Add(u"Time");
    grid->ColumnHeaders()->Add(u"Port\\nname");
    EXPECT_EQ(grid->Cells(0, 0), u"Time");
    EXPECT_EQ(grid->Cells(1, 0), u"Port\rname");
    grid->ColumnHeaders()->SetStrings(0, u"When");
    EXPECT_EQ(grid->Cells(0, 0), u"When");
    // Entries past the stored columns are ignored; a hidden column still gets its entry.
    grid->HideColumn(2);
    for (const Char* t : {u"c2", u"c3", u"c4", u"c5", u"c6"})
        grid->ColumnHeaders()->Add(t);
    EXPECT_EQ(grid->Cells(2, 0), u"c2");
    EXPECT_EQ(grid->Cells(4, 0), u"c4");
    EXPECT_EQ(grid->Cells(5, 0), u"");

    // Writing the list replaces the header row: columns the new list lacks are emptied.
    TStringList fresh;
    fresh.Add(u"A");
    grid->SetColumnHeaders(&fresh);
    EXPECT_EQ(grid->Cells(0, 0), u"A");
    EXPECT_EQ(grid->Cells(1, 0), u"");
    EXPECT_EQ(grid->ColumnHeaders()->Text(), u"A\r\n");
}

TEST_F(AdvGridHeadersTest, HeadersNeedFixedCellsAndRowHeadersStopAtRowCount) {
    grid->SetFixedRows(0);
    grid->SetFixedCols(0);
    grid->ColumnHeaders()->Add(u"x");
    grid->RowHeaders()->Add(u"y");
    EXPECT_EQ(grid->Cells(0, 0), u"");
    grid->SetFixedCols(1);
    TStringList rows;
    for (Integer i = 0; i < 8; ++i)
        rows.Add(u"r" + IntToStr(i));
    grid->SetRowHeaders(&rows);
    EXPECT_EQ(grid->Cells(0, 0), u"r0");
    EXPECT_EQ(grid->Cells(0, 5), u"r5");
    EXPECT_EQ(grid->Cells(0, 6), u"");
    grid->ClearRowHeaders();
    EXPECT_EQ(grid->Cells(0, 3), u"");
}

// The header lists and the fixed font travel in a form description, and the read grid shows the headers.
TEST_F(AdvGridHeadersTest, HeadersAndFixedFontStreamWithTheForm) {
    if (GetClass(u"TAdvStringGrid") == nullptr)
        RegisterClass(TAdvStringGrid::StaticClass());
    TForm form(nullptr, 0);
    form.SetName(u"Form1");
    auto* source = new TAdvStringGrid(&form);
    source->SetName(u"Grid1");
    source->SetParent(&form);
    source->ColumnHeaders()->Add(u"Time");
    source->ColumnHeaders()->Add(u"Two\\nlines");
    source->RowHeaders()->Add(u"corner");
    source->FixedFont()->SetSize(15);
    TMemoryStream binary;
    WriteComponent(binary, &form);
    binary.SetPosition(0);
    TForm copyForm(nullptr, 0);
    ReadComponent(binary, &copyForm);
    auto* copy = dynamic_cast<TAdvStringGrid*>(copyForm.FindComponent(u"Grid1"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->ColumnHeaders()->Text(), u"Time\r\nTwo\\nlines\r\n");
    EXPECT_EQ(copy->Cells(1, 0), u"Two\rlines");
    EXPECT_EQ(copy->RowHeaders()->Strings(0), u"corner");
    EXPECT_EQ(copy->FixedFont()->Size(), 15);
}

TEST_F(AdvGridHeadersTest, FixedFontIsCopied) {
    TFont font;
    font.SetName(u"Arial");
    font.SetSize(14);
    grid->SetFixedFont(&font);
    EXPECT_EQ(grid->FixedFont()->Name(), u"Arial");
    EXPECT_EQ(grid->FixedFont()->Size(), 14);
    EXPECT_NE(grid->FixedFont(), &font);
}

TEST_F(AdvGridHeadersTest, FillsWriteTheNormalCellsOrTheWholeGrid) {
    grid->SetFixedFooters(1);
    grid->SetFixedRightCols(1);
    grid->LinearFill(false);
    EXPECT_EQ(Dump(), u"||||\n"
                      u"|1:1|2:1|3:1|\n"
                      u"|1:2|2:2|3:2|\n"
                      u"|1:3|2:3|3:3|\n"
                      u"|1:4|2:4|3:4|\n"
                      u"||||\n");
    EXPECT_EQ(grid->changedHooks, 1);

    grid->FormatFill(true, u"%d-%d");
    EXPECT_EQ(grid->Cells(0, 0), u"0-0");
    EXPECT_EQ(grid->Cells(4, 5), u"4-5");
    EXPECT_EQ(grid->Cells(3, 1), u"3-1");

    grid->TextFill(false, u"x");
    EXPECT_EQ(grid->Cells(1, 1), u"x");
    EXPECT_EQ(grid->Cells(3, 4), u"x");
    EXPECT_EQ(grid->Cells(4, 4), u"4-4");
    EXPECT_EQ(grid->changedHooks, 3);
}

TEST_F(AdvGridHeadersTest, FormatFillWithAnUnfitFormatRaisesBeforeWritingAnything) {
    grid->TextFill(true, u"old");
    EXPECT_THROW(grid->FormatFill(true, u"%s and %s"), EConvertError);
    EXPECT_EQ(grid->Cells(0, 0), u"old");
    EXPECT_EQ(grid->Cells(4, 5), u"old");
}

TEST_F(AdvGridHeadersTest, RandomFillDrawsFromTheRuntimeGenerator) {
    const Cardinal seed = RandSeed();
    SetRandSeed(1234);
    grid->RandomFill(false, 10);
    const String first = Dump();
    SetRandSeed(1234);
    grid->RandomFill(false, 10);
    EXPECT_EQ(Dump(), first);
    for (Integer r = 1; r < 6; ++r)
        for (Integer c = 1; c < 5; ++c) {
            const Integer v = grid->Ints(c, r);
            EXPECT_GE(v, 0);
            EXPECT_LT(v, 10);
        }
    EXPECT_EQ(grid->Cells(0, 3), u"");
    grid->RandomFill(false, 0);
    EXPECT_EQ(grid->Cells(2, 2), u"0");
    SetRandSeed(seed);
}

TEST_F(AdvGridHeadersTest, DatesAndTimesUseTheLocaleFormats) {
    FormatSettings.ShortDateFormat = u"dd/MM/yyyy";
    FormatSettings.DateSeparator = u'/';
    FormatSettings.LongTimeFormat = u"hh:nn:ss";
    FormatSettings.TimeSeparator = u':';
    grid->SetDates(1, 1, EncodeDate(2026, 3, 9));
    EXPECT_EQ(grid->Cells(1, 1), u"09/03/2026");
    EXPECT_EQ(grid->GetDates(1, 1), EncodeDate(2026, 3, 9));
    grid->SetTimes(2, 1, EncodeTime(13, 5, 7, 0));
    EXPECT_EQ(grid->Cells(2, 1), u"13:05:07");
    EXPECT_NEAR(grid->GetTimes(2, 1), EncodeTime(13, 5, 7, 0), 1e-9);

    grid->SetDates(1, 2, 0);
    EXPECT_EQ(grid->Cells(1, 2), u"30/12/1899");
    grid->SetShowNullDates(false);
    grid->SetDates(1, 2, -3);
    EXPECT_EQ(grid->Cells(1, 2), u"");
    grid->SetDates(1, 2, 1);
    EXPECT_EQ(grid->Cells(1, 2), u"31/12/1899");

    grid->SetCells(1, 3, u"31/02/2026");
    EXPECT_THROW(grid->GetDates(1, 3), EConvertError);
    grid->SetCells(1, 3, u"noon");
    EXPECT_THROW(grid->GetTimes(1, 3), EConvertError);
}

struct NumberCase {
    const char* name;
    Integer start;
    Integer offset;
    TSortDirection direction;
    const Char* column; // rows 1 .. 4, then the footer
};

TEST_F(AdvGridHeadersTest, AutoNumberingColumnsAndRows) {
    const NumberCase cases[] = {
        {"ascending", 0, 0, sdAscending, u"1|2|3|4|f"},
        {"descending", 0, 0, sdDescending, u"4|3|2|1|f"},
        {"start 2", 2, 0, sdAscending, u"t|t|3|4|f"},
        {"offset 10", 0, 10, sdAscending, u"11|12|13|14|f"},
        {"start 1 descending", 1, 0, sdDescending, u"4|3|2|t|f"},
    };
    grid->SetFixedFooters(1);
    for (const NumberCase& c : cases) {
        grid->TextFill(true, u"t");
        grid->SetCells(1, 5, u"f");
        grid->SetAutoNumberStart(c.start);
        grid->SetAutoNumberOffset(c.offset);
        grid->SetAutoNumberDirection(c.direction);
        grid->AutoNumberCol(1);
        String column;
        for (Integer r = 1; r <= 5; ++r)
            column += (r > 1 ? u"|" : u"") + grid->Cells(1, r);
        EXPECT_EQ(column, c.column) << c.name;
        EXPECT_EQ(grid->Cells(1, 0), u"t") << c.name;
    }

    grid->SetFixedRightCols(1);
    grid->TextFill(true, u"t");
    grid->SetAutoNumberStart(0);
    grid->SetAutoNumberOffset(0);
    grid->SetAutoNumberDirection(sdDescending);
    grid->AutoNumberRow(2);
    EXPECT_EQ(grid->Cells(0, 2) + grid->Cells(1, 2) + grid->Cells(2, 2) + grid->Cells(3, 2) +
                  grid->Cells(4, 2),
              u"t321t");
}

} // namespace
