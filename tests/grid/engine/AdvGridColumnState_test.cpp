// Tests of the column-state string and of the column widths and order kept in an INI file.
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/UString.h"

namespace fs = std::filesystem;

namespace {

class AdvGridColumnStateTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = backend::MakeTemporaryDirectory("zelmor-colstate");
        ASSERT_FALSE(folder.empty());
    }
    void TearDown() override { fs::remove_all(folder); }

    // Four columns whose header cells name them, with widths 20, 30, 40 and 50.
    static void Label(TAdvStringGrid& grid) {
        grid.SetColCount(4);
        for (Integer c = 0; c < 4; ++c) {
            grid.SetCells(c, 0, u"c" + IntToStr(c));
            grid.SetColWidths(c, 20 + 10 * c);
        }
    }
    static std::vector<String> Headers(TAdvStringGrid& grid) {
        std::vector<String> out;
        for (Integer c = 0; c < grid.ColCount(); ++c)
            out.push_back(grid.Cells(c, 0));
        return out;
    }
    static std::vector<Integer> Widths(TAdvStringGrid& grid) {
        std::vector<Integer> out;
        for (Integer c = 0; c < grid.ColCount(); ++c)
            out.push_back(grid.ColWidths(c));
        return out;
    }
    void UseIni(TAdvStringGrid& grid, const char* name) {
        grid.ColumnSize()->SetLocation(clIniFile);
        grid.ColumnSize()->SetKey(Utf8ToString((folder / name).string()));
        grid.ColumnSize()->SetSection(u"Columns");
    }

    fs::path folder;
};

TEST_F(AdvGridColumnStateTest, ASavedStateLoadsBackWithItsHiddenColumnAndOrder) {
    TAdvStringGrid source(nullptr);
    Label(source);
    source.MoveColumn(1, 3); // c0 c2 c3 c1
    source.HideColumn(1);    // c0 c3 c1 shown
    const String state = source.ColumnStatesToString();
    EXPECT_EQ(state, u"4#20,50,30," + IntToStr(source.DefaultColWidth()) + u"#0,2,3,1#1,0,1,1");

    TAdvStringGrid target(nullptr);
    Label(target);
    target.StringToColumnStates(state);
    EXPECT_EQ(target.ColCount(), 3);
    EXPECT_EQ(target.NumHiddenColumns(), 1);
    EXPECT_TRUE(target.IsHiddenColumn(1));
    EXPECT_EQ(Headers(target), Headers(source));
    EXPECT_EQ(Widths(target), Widths(source));
    EXPECT_EQ(target.ColumnStatesToString(), state);

    // A text without "#" changes nothing.
    target.StringToColumnStates(u"4,20,30");
    EXPECT_EQ(target.ColumnStatesToString(), state);
}

TEST_F(AdvGridColumnStateTest, WidthsAndPositionsRoundTripThroughAnIniFile) {
    TAdvStringGrid source(nullptr);
    Label(source);
    UseIni(source, "grid.ini");
    source.MoveColumn(1, 3); // c0 c2 c3 c1
    source.SaveColSizes();
    source.SaveColPositions();

    TAdvStringGrid target(nullptr);
    Label(target);
    UseIni(target, "grid.ini");
    target.LoadColPositions();
    EXPECT_EQ(Headers(target), Headers(source));
    for (Integer c = 0; c < 4; ++c)
        target.SetColWidths(c, 99);
    target.LoadColSizes();
    EXPECT_EQ(Widths(target), Widths(source));
}

TEST_F(AdvGridColumnStateTest, AMissingOrUnnamedStoreChangesNothing) {
    TAdvStringGrid grid(nullptr);
    Label(grid);
    const std::vector<Integer> widths = Widths(grid);
    const std::vector<String> headers = Headers(grid);

    UseIni(grid, "missing.ini");
    grid.LoadColSizes();
    grid.LoadColPositions();
    EXPECT_EQ(Widths(grid), widths);
    EXPECT_EQ(Headers(grid), headers);
    EXPECT_TRUE(fs::exists(folder / "missing.ini")) << "loading writes the file back";

    grid.ColumnSize()->SetKey(u"");
    grid.SaveColSizes();
    grid.SaveColPositions();
    grid.LoadColSizes();
    grid.LoadColPositions();
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

} // namespace
