// The grid's geometry, counts, sparse cell store, moving of columns and rows, and painting only what
// is shown.
#include "tests/platform/framework/grids_testing.h"

#include <functional>
#include <limits>
#include <set>
#include <utility>

#include "platform/rtl/Convert.h"
#include "platform/rtl/Strings.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/uxtheme.h"
#include "platform/win32/wingdi.h"

namespace {

using GridModel = GridTest;

TEST_F(GridModel, CellRectFollowsFixedCellsScrollingAndLineWidth) {
    struct Case {
        const char* name;
        Integer lineWidth;
        Integer leftCol;
        Integer col;
        Integer row;
        TRect expected;
    };
    for (const Case& c : {
             Case{"fixed corner", 1, 1, 0, 0, Rect(0, 0, 64, 24)},
             Case{"first scrolling cell", 1, 1, 1, 1, Rect(65, 25, 129, 49)},
             Case{"cut at the client edge", 1, 1, 4, 2, Rect(260, 50, 300, 74)},
             Case{"past the client edge", 1, 1, 5, 1, TRect()},
             Case{"no lines", 0, 1, 1, 1, Rect(64, 24, 128, 48)},
             Case{"wide lines", 3, 1, 2, 1, Rect(134, 27, 198, 51)},
             Case{"scrolled: left column after the fixed one", 1, 3, 3, 1, Rect(65, 25, 129, 49)},
             Case{"scrolled: fixed column stays", 1, 3, 0, 1, Rect(0, 25, 64, 49)},
             Case{"scrolled away", 1, 3, 2, 1, TRect()},
             Case{"outside the grid", 1, 1, 10, 1, TRect()},
         }) {
        SCOPED_TRACE(c.name);
        FGrid->SetGridLineWidth(c.lineWidth);
        FGrid->SetLeftCol(c.leftCol);
        EXPECT_EQ(FGrid->CellRect(c.col, c.row), c.expected);
    }
}

// A hidden line is still somewhere: its rectangle has no width (or height) but stands at its place,
// so a descendant that measures from the first scrolling cell finds the right origin.
TEST_F(GridModel, HiddenCellsHaveARectangleOfNoSizeAtTheirPlace) {
    struct Case {
        const char* name;
        Integer hiddenCol;
        Integer hiddenRow;
        Integer extent;
        TGridCoord cell;
        TRect expected;
    };
    for (const Case& c : {
             Case{"column of width 0", 2, -1, 0, {2, 1}, Rect(130, 25, 130, 49)},
             Case{"the cell after it", 2, -1, 0, {3, 1}, Rect(131, 25, 195, 49)},
             Case{"column of width -1", 2, -1, -1, {2, 1}, Rect(130, 25, 130, 49)},
             Case{"the cell after it takes its place", 2, -1, -1, {3, 1}, Rect(130, 25, 194, 49)},
             Case{"first scrolling column hidden", 1, -1, 0, {1, 2}, Rect(65, 50, 65, 74)},
             Case{"row of height 0", -1, 3, 0, {2, 3}, Rect(130, 75, 194, 75)},
             Case{"hidden past the client edge", 6, -1, 0, {6, 1}, TRect()},
         }) {
        SCOPED_TRACE(c.name);
        FGrid->SetDefaultColWidth(64);
        FGrid->SetDefaultRowHeight(24);
        if (c.hiddenCol >= 0)
            FGrid->SetColWidths(c.hiddenCol, c.extent);
        if (c.hiddenRow >= 0)
            FGrid->SetRowHeights(c.hiddenRow, c.extent);
        EXPECT_EQ(FGrid->CellRect(c.cell.X, c.cell.Y), c.expected);
    }
}

TEST_F(GridModel, MouseCoordFindsTheCellAndGivesLinesToTheCellBefore) {
    struct Case {
        const char* name;
        int x;
        int y;
        TGridCoord expected;
    };
    FGrid->SetColCount(4);
    for (const Case& c : {
             Case{"fixed corner", 10, 10, {0, 0}},
             Case{"on the line after column 0", 64, 30, {0, 1}},
             Case{"just past that line", 65, 30, {1, 1}},
             Case{"last column", 250, 30, {3, 1}},
             Case{"past the last column", 270, 30, {-1, -1}},
             Case{"left of the client", -1, 30, {-1, -1}},
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FGrid->MouseCoord(c.x, c.y), c.expected);
    }
    FGrid->SetTopRow(5);
    EXPECT_EQ(FGrid->MouseCoord(70, 30), (TGridCoord{1, 5}));
    Integer col = 0;
    Integer row = 0;
    FGrid->MouseToCell(70, 55, col, row);
    EXPECT_EQ(col, 1);
    EXPECT_EQ(row, 6);
}

TEST_F(GridModel, VisibleCountsAndScrollLimits) {
    EXPECT_EQ(FGrid->VisibleColCount(), 3);
    EXPECT_EQ(FGrid->VisibleRowCount(), 7);
    EXPECT_EQ(FGrid->GridWidth(), 300);
    FGrid->SetTopRow(1000);
    EXPECT_EQ(FGrid->TopRow(), 19);
    FGrid->SetTopRow(-4);
    EXPECT_EQ(FGrid->TopRow(), 1);
    FGrid->SetColCount(3);
    EXPECT_EQ(FGrid->GridWidth(), 195);
    EXPECT_EQ(FGrid->VisibleColCount(), 2);
}

TEST_F(GridModel, CountsAndFixedCellsCheckTheirValues) {
    EXPECT_THROW(FGrid->SetFixedCols(10), EInvalidGridOperation);
    EXPECT_THROW(FGrid->SetFixedRows(-1), EInvalidGridOperation);
    EXPECT_THROW(FGrid->SetColWidths(10, 5), EInvalidGridOperation);
    EXPECT_THROW(FGrid->SetCol(10), EInvalidGridOperation);
    EXPECT_EQ(FGrid->ColWidths(99), 64);

    FGrid->SetFixedCols(2);
    EXPECT_EQ(FGrid->Col(), 2);
    EXPECT_EQ(FGrid->LeftCol(), 2);

    // Shrinking below the current cell moves it in; a count at or below the fixed ones lowers them.
    FGrid->SetCol(8);
    FGrid->SetRow(15);
    FGrid->log.clear();
    FGrid->SetRowCount(10);
    EXPECT_EQ(FGrid->Row(), 9);
    EXPECT_EQ(FGrid->log.back(), "SizeChanged 10x20");
    FGrid->SetColCount(2);
    EXPECT_EQ(FGrid->FixedCols(), 1);
    EXPECT_EQ(FGrid->Col(), 1);
    FGrid->SetRowCount(0);
    EXPECT_EQ(FGrid->RowCount(), 1);
    EXPECT_EQ(FGrid->FixedRows(), 0);
}

TEST_F(GridModel, ShrinkRefusedBySelectCellStillKeepsTheCurrentCellInside) {
    FGrid->SetRow(15);
    FGrid->OnSelectCell = [](TObject*, Integer, Integer, bool& canSelect) { canSelect = false; };
    FGrid->SetRowCount(5);
    EXPECT_EQ(FGrid->Row(), 4);
}

TEST_F(GridModel, ColumnWidthsAndRowHeights) {
    FGrid->SetColWidths(1, 100);
    FGrid->SetRowHeights(2, 40);
    EXPECT_EQ(FGrid->CellRect(2, 2), Rect(166, 50, 230, 90));
    EXPECT_EQ(FGrid->log, (std::vector<std::string>{"ColWidthsChanged", "RowHeightsChanged"}));
    // A new default forgets the single widths.
    FGrid->SetDefaultColWidth(50);
    EXPECT_EQ(FGrid->ColWidths(1), 50);
    EXPECT_EQ(FGrid->RowHeights(2), 40);
    // Widths follow a grown count with the default.
    FGrid->SetColWidths(2, 10);
    FGrid->SetColCount(12);
    EXPECT_EQ(FGrid->ColWidths(11), 50);
    EXPECT_EQ(FGrid->ColWidths(2), 10);
}

TEST_F(GridModel, LineSumsFollowEveryChangeOfExtentsAndCounts) {
    // Where a line starts is summed from kept sums; after each change they must equal a plain sum.
    const auto check = [this](const char* step) {
        SCOPED_TRACE(step);
        Int64 width = 0;
        for (Integer c = 0; c <= FGrid->ColCount() + 3; ++c) {
            ASSERT_EQ(FGrid->ColsWidthBefore(c), width) << "column " << c;
            width += FGrid->ColWidths(c);
        }
        Int64 height = 0;
        for (Integer r = 0; r <= FGrid->RowCount() + 3; ++r) {
            ASSERT_EQ(FGrid->RowsHeightBefore(r), height) << "row " << r;
            height += FGrid->RowHeights(r);
        }
        EXPECT_EQ(FGrid->RowsHeightBefore(-5), 0);
    };
    check("defaults");
    FGrid->SetColWidths(2, 10);
    FGrid->SetRowHeights(5, 50);
    check("first extents set");
    FGrid->SetRowHeights(5, 7);
    FGrid->SetRowHeights(0, 0);
    FGrid->SetColWidths(9, -1);
    check("extents changed again");
    FGrid->MoveRow(5, 12);
    FGrid->MoveColumn(2, 8);
    check("moved");
    FGrid->SetRowCount(30);
    FGrid->SetColCount(4);
    check("counts changed");
    FGrid->SetRowHeights(25, 99);
    check("a grown row set");
    FGrid->SetDefaultRowHeight(11);
    check("new default");
}

TEST_F(GridModel, CellsAreSparseAndSurviveAShrink) {
    EXPECT_EQ(FGrid->Cells(3, 3), u"");
    EXPECT_EQ(FGrid->Cells(-1, 500000), u"");
    EXPECT_EQ(FGrid->Objects(3, 3), nullptr);
    FGrid->SetCells(3, 3, u"kept");
    TObject marker;
    FGrid->SetObjects(3, 3, &marker);
    // Cells beyond the counts are stored and read as any other.
    FGrid->SetCells(40, 100, u"far");
    EXPECT_EQ(FGrid->Cells(40, 100), u"far");
    // The in-place reads see the same texts, short, long, far and missing.
    EXPECT_EQ(FGrid->CellView(3, 3), u"kept");
    EXPECT_EQ(FGrid->CellView(40, 100), u"far");
    EXPECT_EQ(FGrid->CellView(-1, 5), u"");
    EXPECT_EQ(FGrid->CellView(39, 100), u"");
    FGrid->SetColCount(2);
    FGrid->SetRowCount(2);
    EXPECT_EQ(FGrid->Cells(3, 3), u"kept");
    FGrid->SetColCount(10);
    FGrid->SetRowCount(20);
    EXPECT_EQ(FGrid->Cells(3, 3), u"kept");
    EXPECT_EQ(FGrid->Objects(3, 3), &marker);
    EXPECT_THROW(FGrid->SetCells(-1, 0, u"x"), EInvalidGridOperation);
    EXPECT_THROW(FGrid->SetObjects(0, -1, nullptr), EInvalidGridOperation);

    // Long and short texts both move with their rows and can be emptied again.
    const String longText = u"a text longer than a short one";
    FGrid->SetCells(2, 3, longText);
    EXPECT_EQ(FGrid->CellView(2, 3), longText);
    FGrid->MoveRow(3, 5);
    EXPECT_EQ(FGrid->Cells(2, 5), longText);
    EXPECT_EQ(FGrid->Cells(3, 5), u"kept");
    EXPECT_EQ(FGrid->Cells(2, 3), u"");
    FGrid->SetCells(2, 5, u"");
    EXPECT_EQ(FGrid->Cells(2, 5), u"");
}

TEST_F(GridModel, AFarIndexCostsWhatIsWrittenAndMovesLikeAnyCell) {
    // Indices far past the counts must neither allocate their whole range nor lose the cell.
    constexpr Integer far = 2000000000;
    TObject marker;
    struct Case {
        const char* name;
        Integer col;
        Integer row;
    };
    for (const Case& c :
         {Case{"far column", far, 4}, Case{"far row", 4, far}, Case{"far corner", far, far}}) {
        SCOPED_TRACE(c.name);
        FGrid->SetCells(c.col, c.row, u"far text");
        FGrid->SetObjects(c.col, c.row, &marker);
        EXPECT_EQ(FGrid->Cells(c.col, c.row), u"far text");
        EXPECT_EQ(FGrid->Objects(c.col, c.row), &marker);
        EXPECT_EQ(FGrid->Cells(c.col - 1, c.row), u"");
        EXPECT_EQ(FGrid->Rows(c.row)->Strings(4 == c.col ? 4 : 0), 4 == c.col ? u"far text" : u"");
        EXPECT_EQ(FGrid->Cols(c.col)->Objects(4 == c.row ? 4 : 0), 4 == c.row ? &marker : nullptr);
        FGrid->SetCells(c.col, c.row, u"");
        FGrid->SetObjects(c.col, c.row, nullptr);
        EXPECT_EQ(FGrid->Cells(c.col, c.row), u"");
        EXPECT_EQ(FGrid->Objects(c.col, c.row), nullptr);
    }

    // A cell in a far row moves with its column, and one in a far column with its row, also into a
    // place where the rows already hold cells.
    FGrid->SetCells(2, far, u"in column 2");
    FGrid->SetCells(far, 3, u"in row 3");
    FGrid->SetCells(far - 1, 3, u"beside");
    FGrid->SetCells(5, 3, u"near");
    FGrid->MoveColumn(2, 7);
    FGrid->MoveRow(3, 1);
    EXPECT_EQ(FGrid->Cells(7, far), u"in column 2");
    EXPECT_EQ(FGrid->Cells(2, far), u"");
    EXPECT_EQ(FGrid->Cells(far, 1), u"in row 3");
    EXPECT_EQ(FGrid->Cells(far - 1, 1), u"beside");
    EXPECT_EQ(FGrid->Cells(4, 1), u"near") << "column 5 moved left by the column move";
    EXPECT_EQ(FGrid->Cells(far, 3), u"");

    // Grown counts that reach a far cell take it in; it reads and moves as before.
    FGrid->SetCells(3, 5000, u"reached");
    FGrid->SetRowCount(6000);
    EXPECT_EQ(FGrid->Cells(3, 5000), u"reached");
    FGrid->MoveRow(5000, 10);
    EXPECT_EQ(FGrid->Cells(3, 10), u"reached");
    FGrid->SetCells(3, 10, u"");
    EXPECT_EQ(FGrid->Cells(3, 10), u"");
}

TEST_F(GridModel, RowsAndColsCarryStringsAndObjects) {
    TObject first;
    TObject second;
    TStringList source;
    source.AddObject(u"a", &first);
    source.Add(u"b");
    source.AddObject(u"c", &second);
    FGrid->SetCells(5, 2, u"old");
    FGrid->SetRows(2, &source);
    EXPECT_EQ(FGrid->Cells(0, 2), u"a");
    EXPECT_EQ(FGrid->Objects(0, 2), &first);
    EXPECT_EQ(FGrid->Cells(2, 2), u"c");
    EXPECT_EQ(FGrid->Objects(2, 2), &second);
    EXPECT_EQ(FGrid->Cells(5, 2), u"old"); // a shorter source leaves the rest of the line
    // A longer source is cut at the line's count: nothing is stored past it.
    TStringList wide;
    for (int i = 0; i < 12; ++i)
        wide.Add(u"w" + IntToStr(i));
    FGrid->SetRows(3, &wide);
    EXPECT_EQ(FGrid->Cells(9, 3), u"w9");
    EXPECT_EQ(FGrid->Cells(10, 3), u"");

    TStrings* col = FGrid->Cols(2);
    EXPECT_EQ(col->Count(), 20);
    EXPECT_EQ(col->Strings(2), u"c");
    EXPECT_EQ(col->Objects(2), &second);
    col->SetStrings(7, u"down");
    EXPECT_EQ(FGrid->Cells(2, 7), u"down");
    // Add fills the first empty item; a full line has no room.
    EXPECT_EQ(col->Add(u"added"), 0);
    EXPECT_EQ(FGrid->Cells(2, 0), u"added");
    EXPECT_THROW(col->Insert(0, u"x"), EInvalidGridOperation);
    EXPECT_THROW(col->Delete(0), EInvalidGridOperation);
    FGrid->Rows(2)->Clear();
    EXPECT_EQ(FGrid->Cells(0, 2), u"");
    EXPECT_EQ(FGrid->Objects(0, 2), nullptr);
    FGrid->SetColCount(2);
    TStrings* row = FGrid->Rows(4);
    EXPECT_EQ(row->Add(u"1"), 0);
    EXPECT_EQ(row->Add(u""), 1);
    EXPECT_EQ(row->Add(u"3"), -1);
}

TEST_F(GridModel, MovingAColumnMovesWidthsAndCurrentCellBeforeTheNotificationAndCellsInIt) {
    for (Integer c = 0; c < 10; ++c)
        FGrid->SetCells(c, 3, String(1, static_cast<Char>(u'A' + c)));
    TObject marker;
    FGrid->SetObjects(1, 3, &marker);
    FGrid->SetColWidths(1, 30);
    FGrid->SetCol(1);
    std::vector<std::string> events;
    FGrid->OnColumnMoved = [&](TObject*, Integer from, Integer to) {
        events.push_back(std::to_string(from) + ">" + std::to_string(to) + " " +
                         StringToUtf8(FGrid->Cells(to, 3)));
    };
    FGrid->log.clear();
    FGrid->MoveColumn(1, 4);
    EXPECT_EQ(FGrid->log.front(), "ColumnMoved 1>4 col 4 width 30");
    EXPECT_EQ(events, (std::vector<std::string>{"1>4 B"}));
    String order;
    for (Integer c = 0; c < 10; ++c)
        order += FGrid->Cells(c, 3);
    EXPECT_EQ(order, u"ACDEBFGHIJ");
    EXPECT_EQ(FGrid->Objects(4, 3), &marker);
    EXPECT_EQ(FGrid->ColWidths(4), 30);
    EXPECT_EQ(FGrid->Col(), 4);

    FGrid->MoveColumn(4, 1);
    order.clear();
    for (Integer c = 0; c < 10; ++c)
        order += FGrid->Cells(c, 3);
    EXPECT_EQ(order, u"ABCDEFGHIJ");
    EXPECT_THROW(FGrid->MoveColumn(1, 10), EInvalidGridOperation);
}

TEST_F(GridModel, MovingAndDeletingRowsKeepsTheDeletedDataBeyondTheCount) {
    for (Integer r = 0; r < 20; ++r)
        FGrid->SetCells(1, r, IntToStr(r));
    FGrid->SetRow(2);
    std::vector<std::string> events;
    FGrid->OnRowMoved = [&](TObject*, Integer from, Integer to) {
        events.push_back(std::to_string(from) + ">" + std::to_string(to));
    };
    FGrid->MoveRow(5, 2);
    EXPECT_EQ(FGrid->Cells(1, 2), u"5");
    EXPECT_EQ(FGrid->Cells(1, 3), u"2");
    EXPECT_EQ(FGrid->Row(), 3); // the current row moved along with its data
    EXPECT_EQ(FGrid->log.front(), "RowMoved 5>2 row 3");

    FGrid->DeleteRow(2);
    EXPECT_EQ(FGrid->RowCount(), 19);
    EXPECT_EQ(FGrid->Cells(1, 2), u"2");
    EXPECT_EQ(FGrid->Cells(1, 19), u"5"); // beyond the count, until overwritten
    EXPECT_EQ(events, (std::vector<std::string>{"5>2", "2>19"}));
    FGrid->DeleteColumn(1);
    EXPECT_EQ(FGrid->ColCount(), 9);
    EXPECT_EQ(FGrid->Cells(9, 2), u"2");
}

TEST_F(GridModel, RowBlocksMoveInsertAndDeleteDataHeightsAndTheCurrentRowWithoutRowMoved) {
    // Each row r carries its text, an object in every third row, a far cell in row 7 and a height of
    // 10 + r; a plain model of the rows says where each must be after the operation.
    constexpr Integer far = 2000000000;
    std::vector<TObject> markers(20);
    struct Line {
        String text;
        TObject* object;
        Integer height;
    };
    struct Case {
        const char* name;
        std::function<void(TRecordingGrid*)> op;
        std::function<void(std::vector<Line>&)> model;
        Integer count;   // RowCount after
        Integer current; // current row after, from 12
    };
    auto rotate = [](std::vector<Line>& m, Integer from, Integer count, Integer to) {
        std::vector<Line> block(m.begin() + from, m.begin() + from + count);
        m.erase(m.begin() + from, m.begin() + from + count);
        m.insert(m.begin() + to, block.begin(), block.end());
    };
    const Case cases[] = {
        {"move down", [](TRecordingGrid* g) { g->MoveRowBlock(2, 3, 10); },
         [&](std::vector<Line>& m) { rotate(m, 2, 3, 10); }, 20, 9},
        {"move up over the current row", [](TRecordingGrid* g) { g->MoveRowBlock(14, 4, 3); },
         [&](std::vector<Line>& m) { rotate(m, 14, 4, 3); }, 20, 16},
        {"move the current row", [](TRecordingGrid* g) { g->MoveRowBlock(11, 3, 0); },
         [&](std::vector<Line>& m) { rotate(m, 11, 3, 0); }, 20, 1},
        {"insert amid", [](TRecordingGrid* g) { g->InsertRowBlock(5, 4); },
         [](std::vector<Line>& m) {
             m.insert(m.begin() + 5, 4, Line{u"", nullptr, 24});
         },
         24, 16},
        {"insert at the end", [](TRecordingGrid* g) { g->InsertRowBlock(20, 2); },
         [](std::vector<Line>& m) {
             m.insert(m.end(), 2, Line{u"", nullptr, 24});
         },
         22, 12},
        {"delete amid", [](TRecordingGrid* g) { g->DeleteRowBlock(3, 5); },
         [&](std::vector<Line>& m) { rotate(m, 3, 5, 15); }, 15, 7},
        {"delete the current row", [](TRecordingGrid* g) { g->DeleteRowBlock(10, 10); },
         [&](std::vector<Line>& m) { rotate(m, 10, 10, 10); }, 10, 9},
        {"count 0", [](TRecordingGrid* g) { g->InsertRowBlock(5, 0); }, [](std::vector<Line>&) {}, 20, 12},
        {"delete a list",
         [](TRecordingGrid* g) {
             g->DeleteRowList({2, 7, 12, 13, 19});
         },
         [](std::vector<Line>& m) {
             std::vector<Line> kept, listed;
             for (size_t r = 0; r < m.size(); ++r)
                 (r == 2 || r == 7 || r == 12 || r == 13 || r == 19 ? listed : kept).push_back(m[r]);
             m = kept;
             m.insert(m.end(), listed.begin(), listed.end());
         },
         15, 14},
        {"insert a list",
         [](TRecordingGrid* g) {
             g->InsertRowList({0, 5, 6, 21});
         },
         [](std::vector<Line>& m) {
             for (size_t at : {0, 5, 6, 21})
                 m.insert(m.begin() + static_cast<std::ptrdiff_t>(at), Line{u"", nullptr, 24});
         },
         24, 15},
        {"empty list", [](TRecordingGrid* g) { g->DeleteRowList({}); }, [](std::vector<Line>&) {}, 20, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FGrid->SetRowCount(20);
        FGrid->SetDefaultRowHeight(24);
        std::vector<Line> model;
        for (Integer r = 0; r < 20; ++r) {
            model.push_back({u"row " + IntToStr(r), r % 3 == 0 ? &markers[r] : nullptr, 10 + r});
            FGrid->SetCells(1, r, model.back().text);
            FGrid->SetObjects(2, r, model.back().object);
            FGrid->SetRowHeights(r, model.back().height);
        }
        FGrid->SetCells(far, 7, u"far 7");
        FGrid->SetRow(12);
        // Rows kept beyond the count are what an insert takes in: they come back empty.
        FGrid->SetCells(1, 20, u"kept");
        FGrid->SetCells(1, 21, u"kept");
        FGrid->log.clear();
        Integer moves = 0;
        FGrid->OnRowMoved = [&](TObject*, Integer, Integer) { ++moves; };

        c.op(FGrid);
        c.model(model);
        EXPECT_EQ(FGrid->RowCount(), c.count);
        EXPECT_EQ(FGrid->Row(), c.current);
        EXPECT_EQ(moves, 0);
        for (const std::string& entry : FGrid->log)
            EXPECT_EQ(entry.rfind("RowMoved", 0), std::string::npos) << entry;
        for (Integer r = 0; r < static_cast<Integer>(model.size()); ++r) {
            EXPECT_EQ(FGrid->Cells(1, r), model[r].text) << "row " << r;
            EXPECT_EQ(FGrid->Objects(2, r), model[r].object) << "row " << r;
            if (r < FGrid->RowCount()) {
                EXPECT_EQ(FGrid->RowHeights(r), model[r].height) << "row " << r;
            }
            const bool farHere = model[r].text == u"row 7";
            EXPECT_EQ(FGrid->Cells(far, r), farHere ? u"far 7" : u"") << "row " << r;
        }
        for (Integer r = 0; r < 30; ++r) {
            FGrid->SetCells(1, r, u"");
            FGrid->SetCells(far, r, u"");
            FGrid->SetObjects(2, r, nullptr);
        }
    }

    EXPECT_THROW(FGrid->MoveRowBlock(15, 6, 0), EInvalidGridOperation);
    EXPECT_THROW(FGrid->MoveRowBlock(0, 2, 19), EInvalidGridOperation);
    EXPECT_THROW(FGrid->InsertRowBlock(21, 1), EInvalidGridOperation);
    EXPECT_THROW(FGrid->DeleteRowBlock(-1, 1), EInvalidGridOperation);
    EXPECT_THROW(FGrid->DeleteRowBlock(15, 6), EInvalidGridOperation);
    EXPECT_THROW(FGrid->DeleteRowList({3, 3}), EInvalidGridOperation);
    EXPECT_THROW(FGrid->DeleteRowList({5, 2}), EInvalidGridOperation);
    EXPECT_THROW(FGrid->DeleteRowList({20}), EInvalidGridOperation);
    EXPECT_THROW(FGrid->InsertRowList({-1}), EInvalidGridOperation);
    EXPECT_THROW(FGrid->InsertRowList({4, 22}), EInvalidGridOperation);
    EXPECT_EQ(FGrid->RowCount(), 20);
}

// Rows taken out whole keep their texts and objects, read in place, and go back whole elsewhere.
TEST_F(GridModel, RowCellsTakenOutWholeGoBackWhole) {
    constexpr Integer far = 2000000000;
    TObject marker;
    FGrid->SetCells(0, 3, u"three");
    FGrid->SetCells(4, 3, u"a longer text than fits inside");
    FGrid->SetObjects(2, 3, &marker);
    FGrid->SetCells(far, 3, u"far");
    FGrid->SetCells(1, 8, u"eight");
    std::vector<std::unique_ptr<TStringGrid::CellRow>> taken(3);
    FGrid->TakeRowCells({3, 5, 8}, [&](size_t i, std::unique_ptr<TStringGrid::CellRow> cells) {
        taken[i] = std::move(cells);
    });
    ASSERT_EQ(taken.size(), 3u);
    ASSERT_NE(taken[0], nullptr);
    EXPECT_EQ(taken[1], nullptr) << "nothing was stored in row 5";
    EXPECT_EQ(taken[0]->Count(), 5);
    EXPECT_EQ(taken[0]->Text(4), u"a longer text than fits inside");
    EXPECT_EQ(taken[0]->Object(2), &marker);
    EXPECT_EQ(taken[0]->Text(9), u"");
    EXPECT_EQ(taken[0]->Object(-1), nullptr);
    for (Integer c : {0, 1, 4, far})
        EXPECT_EQ(FGrid->Cells(c, 3) + FGrid->Cells(c, 8), u"") << "column " << c;
    EXPECT_EQ(FGrid->Objects(2, 3), nullptr);

    FGrid->PutRowCells({10, 11, 12}, [&](size_t i) { return std::move(taken[i]); });
    EXPECT_EQ(FGrid->Cells(0, 10), u"three");
    EXPECT_EQ(FGrid->Cells(4, 10), u"a longer text than fits inside");
    EXPECT_EQ(FGrid->Objects(2, 10), &marker);
    EXPECT_EQ(FGrid->Cells(1, 12), u"eight");
    EXPECT_EQ(FGrid->Cells(far, 10), u"") << "far cells go with no row";
    EXPECT_THROW(FGrid->TakeRowCells({-1}, [](size_t, std::unique_ptr<TStringGrid::CellRow>) {}),
                 EInvalidGridOperation);
}

TEST_F(GridModel, RowsEmptiedByABlockStayEmptyWhenTheirStorageIsWrittenAgain) {
    // Rows 3 .. 5 are kept beyond the count, and an insert takes two of them in, emptied.
    std::vector<TObject> markers(6);
    FGrid->SetRowCount(6);
    for (Integer r = 0; r < 6; ++r)
        for (Integer c = 0; c < 4; ++c) {
            FGrid->SetCells(c, r, u"cell " + IntToStr(c) + u"," + IntToStr(r));
            FGrid->SetObjects(c, r, &markers[r]);
        }
    FGrid->SetRowCount(3);
    FGrid->InsertRowBlock(1, 2);
    // Writing one cell of an emptied row, and of rows never written, shows none of the old cells.
    FGrid->SetCells(2, 1, u"new");
    FGrid->SetCells(1, 9, u"new");
    FGrid->SetCells(0, 10, u"new");
    for (Integer r : {1, 2, 9, 10})
        for (Integer c = 0; c < 4; ++c) {
            const bool written = (r == 1 && c == 2) || (r == 9 && c == 1) || (r == 10 && c == 0);
            EXPECT_EQ(FGrid->Cells(c, r), written ? u"new" : u"") << c << "," << r;
            EXPECT_EQ(FGrid->Objects(c, r), nullptr) << c << "," << r;
        }
    EXPECT_EQ(FGrid->Cells(3, 3), u"cell 3,1") << "the rows moved down keep theirs";
    EXPECT_EQ(FGrid->Cells(3, 5), u"cell 3,5") << "as does the row still kept beyond the count";
}

TEST_F(GridModel, HugeBlocksAndFarExchangesNeitherOverflowNorGrowTheRows) {
    constexpr Integer most = std::numeric_limits<Integer>::max();
    constexpr Integer far = 2000000000;
    TObject marker;
    for (Integer r = 0; r < 20; ++r)
        FGrid->SetCells(1, r, u"row " + IntToStr(r));
    FGrid->SetObjects(2, 3, &marker);
    FGrid->SetRowHeights(6, 40);

    // A count past the largest row count is outside the grid, as a negative one is.
    for (Integer count : {most, most - 19, -1, std::numeric_limits<Integer>::min()}) {
        EXPECT_THROW(FGrid->InsertRowBlock(1, count), EInvalidGridOperation) << count;
        EXPECT_EQ(FGrid->RowCount(), 20) << count;
    }
    // Resetting stops at the last row.
    FGrid->ResetRowBlock(5, most);
    EXPECT_EQ(FGrid->RowHeights(6), FGrid->DefaultRowHeight());
    EXPECT_EQ(FGrid->Cells(1, 4), u"row 4");
    EXPECT_EQ(FGrid->Cells(1, 5), u"");
    EXPECT_EQ(FGrid->Cells(1, 19), u"");

    // A row or column far beyond the counts takes the cells as far cells, and gives them back.
    FGrid->ExchangeRowStores(3, far);
    EXPECT_EQ(FGrid->Cells(1, far), u"row 3");
    EXPECT_EQ(FGrid->Objects(2, far), &marker);
    EXPECT_EQ(FGrid->Cells(1, 3), u"");
    EXPECT_EQ(FGrid->Objects(2, 3), nullptr);
    FGrid->ExchangeColStores(far, 1);
    EXPECT_EQ(FGrid->Cells(far, 2), u"row 2");
    EXPECT_EQ(FGrid->Cells(1, far), u"") << "the far cell moves with its column";
    EXPECT_EQ(FGrid->Cells(far, far), u"row 3");
    FGrid->ExchangeColStores(1, far);
    FGrid->ExchangeRowStores(far, 3);
    for (Integer r : {0, 2, 3, 4}) {
        EXPECT_EQ(FGrid->Cells(1, r), u"row " + IntToStr(r)) << r;
        EXPECT_EQ(FGrid->Cells(far, r), u"") << r;
    }
    EXPECT_EQ(FGrid->Objects(2, 3), &marker);
    EXPECT_EQ(FGrid->Cells(1, far), u"");
    EXPECT_EQ(FGrid->Objects(2, far), nullptr);
    FGrid->SetObjects(2, 3, nullptr);
}

TEST_F(GridModel, PermutingRowStoresMovesWholeRowsUnlessAFarCellIsInThem) {
    TObject marker;
    for (Integer r = 0; r < 8; ++r)
        FGrid->SetCells(1, r, u"row " + IntToStr(r));
    FGrid->SetObjects(2, 4, &marker);
    const auto rows = [&] {
        std::vector<String> texts;
        for (Integer r = 0; r < 8; ++r)
            texts.push_back(FGrid->Cells(1, r));
        return texts;
    };
    // Rows 2 .. 5 receive rows 4, 5, 3, 2.
    const Integer sources[] = {4, 5, 3, 2};
    EXPECT_TRUE(FGrid->PermuteRowStores(2, sources, 4));
    EXPECT_EQ(rows(), (std::vector<String>{u"row 0", u"row 1", u"row 4", u"row 5", u"row 3", u"row 2",
                                           u"row 6", u"row 7"}));
    EXPECT_EQ(FGrid->Objects(2, 2), &marker);
    EXPECT_EQ(FGrid->Objects(2, 4), nullptr);

    // A source outside the rows moved raises before anything moves.
    const Integer outside[] = {2, 6};
    EXPECT_THROW(FGrid->PermuteRowStores(2, outside, 2), EInvalidGridOperation);
    const Integer pastCount[] = {19, 20};
    EXPECT_THROW(FGrid->PermuteRowStores(19, pastCount, 2), EInvalidGridOperation);

    // A far cell in one of the rows leaves them to ExchangeRowStores.
    const std::vector<String> before = rows();
    FGrid->SetCells(100000, 3, u"far");
    const Integer swap[] = {3, 2};
    EXPECT_FALSE(FGrid->PermuteRowStores(2, swap, 2));
    EXPECT_EQ(rows(), before);
    EXPECT_EQ(FGrid->Cells(100000, 3), u"far");
    // ... and one outside them does not.
    const Integer swapLater[] = {6, 5};
    EXPECT_TRUE(FGrid->PermuteRowStores(5, swapLater, 2));
    EXPECT_EQ(FGrid->Cells(1, 5), u"row 6");
    EXPECT_EQ(FGrid->Cells(1, 6), u"row 2");
    FGrid->SetObjects(2, 2, nullptr);
}

TEST_F(GridModel, PaintsOnlyTheShownCellsOfAMillionRows) {
    FGrid->SetRowCount(1000000);
    FGrid->SetTopRow(500000);
    FGrid->SetRow(500001);
    FGrid->painted.clear();
    FGrid->Invalidate();
    FGrid->Update();
    std::set<std::pair<Integer, Integer>> cells;
    for (const auto& cell : FGrid->painted) {
        EXPECT_TRUE(cells.insert({cell.col, cell.row}).second)
            << "painted twice: " << cell.col << "," << cell.row;
        EXPECT_EQ(cell.state.Contains(gdFixed), cell.col == 0 || cell.row == 0);
        const bool current = cell.col == 1 && cell.row == 500001;
        EXPECT_EQ(cell.state.Contains(gdFocused), current);
        EXPECT_EQ(cell.state.Contains(gdSelected), current);
    }
    std::set<std::pair<Integer, Integer>> expected;
    for (Integer col : {0, 1, 2, 3, 4})
        for (Integer row : {0, 500000, 500001, 500002, 500003, 500004, 500005, 500006})
            expected.insert({col, row});
    EXPECT_EQ(cells, expected);

    // Invalidating one cell paints that cell alone.
    FGrid->painted.clear();
    FGrid->InvalidateCell(2, 500003);
    FGrid->Update();
    ASSERT_EQ(FGrid->painted.size(), 1u);
    EXPECT_EQ(FGrid->painted[0].col, 2);
    EXPECT_EQ(FGrid->painted[0].row, 500003);
}

TEST(GridPaintLoop, ADescendantPaintsTheVisibleCellsWithItsOwnPainter) {
    // A grid that paints each cell its own way through the framework's loop over what is shown.
    class TOwnPainterGrid : public TStringGrid {
    public:
        using TStringGrid::TStringGrid;
        std::vector<std::pair<Integer, Integer>> painted;
        std::vector<TRect> rects;

    protected:
        void Paint() override {
            TGridDrawInfo drawInfo;
            CalcDrawInfo(drawInfo);
            PaintVisibleCells(drawInfo,
                              [this](Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState) {
                                  painted.emplace_back(ACol, ARow);
                                  rects.push_back(ARect);
                              });
        }
    };
    auto* form = new TForm(nullptr, 0);
    form->SetBounds(100, 100, 400, 300);
    auto* grid = new TOwnPainterGrid(form);
    grid->SetBorderStyle(bsNone);
    grid->SetScrollBars(ssNone);
    grid->SetBounds(0, 0, 300, 200);
    grid->SetColCount(10);
    grid->SetRowCount(1000000);
    grid->SetParent(form);
    form->Show();
    grid->SetTopRow(700000);
    grid->painted.clear();
    grid->rects.clear();
    grid->Invalidate();
    grid->Update();
    // Columns 0..4 and rows 0, 700000..700006 show in 300 x 200 (cells of 64 x 24 and a line).
    std::set<std::pair<Integer, Integer>> expected;
    for (Integer col = 0; col < 5; ++col)
        for (Integer row : {0, 700000, 700001, 700002, 700003, 700004, 700005, 700006})
            expected.insert({col, row});
    const std::set<std::pair<Integer, Integer>> painted(grid->painted.begin(), grid->painted.end());
    EXPECT_EQ(painted, expected);
    EXPECT_EQ(grid->painted.size(), expected.size());
    for (size_t i = 0; i < grid->painted.size(); ++i) {
        if (grid->painted[i] == std::make_pair(1, 700001)) {
            EXPECT_EQ(grid->rects[i], grid->CellRect(1, 700001));
        }
    }
    form->Free();
}

TEST_F(GridModel, DefaultDrawingPaintsTheCellTextAndTheSelectionColours) {
    FGrid->Font()->SetColor(clBlack);
    FGrid->SetCells(2, 1, u"WWW");
    FGrid->SetSelection({1, 2, 2, 3});
    EXPECT_EQ((TGridCoord{FGrid->Col(), FGrid->Row()}), (TGridCoord{2, 3})) << "current at the bottom-right";
    FGrid->Repaint();
    HDC dc = GetDC(FGrid->Handle());
    auto hasInk = [&](const TRect& rect, COLORREF ink) {
        for (int y = rect.Top; y < rect.Bottom; ++y)
            for (int x = rect.Left; x < rect.Right; ++x)
                if (GetPixel(dc, x, y) == ink)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasInk(FGrid->CellRect(2, 1), ColorToRGB(clBlack)));
    EXPECT_FALSE(hasInk(FGrid->CellRect(3, 1), ColorToRGB(clBlack)));
    // A selected cell other than the focused one is in the highlight colour.
    EXPECT_EQ(GetPixel(dc, FGrid->CellRect(1, 2).Left + 1, FGrid->CellRect(1, 2).Top + 1),
              ColorToRGB(clHighlight));
    EXPECT_EQ(GetPixel(dc, FGrid->CellRect(3, 3).Left + 1, FGrid->CellRect(3, 3).Top + 1),
              ColorToRGB(clWindow));
    // Lines: black among fixed cells, silver among the others.
    EXPECT_EQ(GetPixel(dc, 64, 10), ColorToRGB(clBlack));
    EXPECT_EQ(GetPixel(dc, 129, 60), ColorToRGB(clSilver));
    ReleaseDC(FGrid->Handle(), dc);
}

TEST_F(GridModel, FixedCellsAreThemedHeaderItemsOrClassicRaisedCells) {
    FGrid->Font()->SetColor(clBlack);
    FGrid->SetCells(1, 0, u"WWW");
    const TRect blank = FGrid->CellRect(2, 0);
    const TRect written = FGrid->CellRect(1, 0);
    auto hasInk = [](HDC dc, const TRect& rect, COLORREF ink) {
        for (int y = rect.Top; y < rect.Bottom; ++y)
            for (int x = rect.Left; x < rect.Right; ++x)
                if (GetPixel(dc, x, y) == ink)
                    return true;
        return false;
    };
    for (bool themes : {true, false}) {
        SCOPED_TRACE(themes ? "themed" : "classic");
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.themesActive = themes;
        win32::SetSystemSettings(settings);
        FGrid->Repaint();
        HDC dc = GetDC(FGrid->Handle());
        if (themes) {
            // The cell is the header item the theme paints, pixel for pixel.
            TBitmap face(blank.Width(), blank.Height());
            HTHEME theme = OpenThemeData(FGrid->Handle(), u"header");
            ASSERT_NE(theme, nullptr);
            RECT r{0, 0, blank.Width(), blank.Height()};
            DrawThemeBackground(theme, face.Canvas()->Handle(), HP_HEADERITEM, HIS_NORMAL, &r, nullptr);
            CloseThemeData(theme);
            int differing = 0;
            for (int y = 0; y < blank.Height(); ++y)
                for (int x = 0; x < blank.Width(); ++x)
                    differing += GetPixel(dc, blank.Left + x, blank.Top + y) !=
                                 GetPixel(face.Canvas()->Handle(), x, y);
            EXPECT_EQ(differing, 0);
            EXPECT_EQ(GetPixel(dc, written.Left, written.Top), GetPixel(face.Canvas()->Handle(), 0, 0))
                << "the text leaves the face around it";
        } else {
            EXPECT_EQ(GetPixel(dc, blank.Left, blank.Top), ColorToRGB(clBtnHighlight));
            EXPECT_EQ(GetPixel(dc, blank.Right - 1, blank.Bottom - 1), ColorToRGB(clBtnShadow));
            EXPECT_EQ(GetPixel(dc, (blank.Left + blank.Right) / 2, (blank.Top + blank.Bottom) / 2),
                      ColorToRGB(FGrid->FixedColor()));
        }
        EXPECT_TRUE(hasInk(dc, written, ColorToRGB(clBlack)));
        ReleaseDC(FGrid->Handle(), dc);
    }
    win32::ResetSystemSettings();
}

} // namespace
