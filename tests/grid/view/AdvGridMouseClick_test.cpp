// Tests of the grid's clicks: sorting by a header click, the header borders that size instead, double
// clicks on them, links, check boxes of a header row, ratings, the disjunct cell selection's refusal and
// the right button.
#include "tests/grid/view/GridMouseTesting.h"

#include "platform/framework/Menus.h"
#include "platform/win32/shell.h"

namespace {

using gridmouse_fixtures::GridMouseTest;
using Strings = std::vector<std::string>;

class GridSortClickTest : public GridMouseTest {
protected:
    void SetUp() override {
        GridMouseTest::SetUp();
        const char16_t* texts[] = {u"c", u"a", u"g", u"b", u"e", u"d", u"f"};
        for (Integer r = 1; r < 8; ++r)
            grid->SetCells(1, r, texts[r - 1]);
        grid->SortSettings()->SetShow(true);
        grid->OnClickSort = [this](TObject*, Integer col) { sorted.push_back(col); };
    }
    std::vector<Integer> sorted; // OnClickSort's columns
};

// With UndoSort a header cycles through ascending, descending and the order from before the sorts.
TEST_F(GridSortClickTest, HeaderClicksCycleAscendingDescendingUnsorted) {
    grid->SortSettings()->SetUndoSort(true);
    const Strings original = Column(1);
    Click(Centre(1, 0));
    EXPECT_EQ(Column(1), (Strings{"a", "b", "c", "d", "e", "f", "g"}));
    EXPECT_EQ(grid->SortSettings()->Direction(), sdAscending);
    Click(Centre(1, 0));
    EXPECT_EQ(Column(1), (Strings{"g", "f", "e", "d", "c", "b", "a"}));
    Click(Centre(1, 0));
    EXPECT_EQ(Column(1), original);
    EXPECT_EQ(grid->SortSettings()->Column(), -1);
    EXPECT_EQ(sorted, (std::vector<Integer>{1, 1, -1}));
    EXPECT_EQ(grid->GridState(), gsNormal);
}

// Without UndoSort the third click sorts ascending again; another column starts at InitSortDirection.
TEST_F(GridSortClickTest, WithoutUndoSortClicksToggleAndAnotherColumnStartsAtTheInitialDirection) {
    grid->SortSettings()->SetInitSortDirection(sdDescending);
    Click(Centre(1, 0));
    EXPECT_EQ(Column(1).front(), "g");
    Click(Centre(1, 0));
    Click(Centre(1, 0));
    EXPECT_EQ(Column(1).front(), "g");
    Click(Centre(2, 0));
    EXPECT_EQ(grid->SortSettings()->Column(), 2);
    EXPECT_EQ(grid->SortSettings()->Direction(), sdDescending);
}

// A grid with nodes sorts within them: each node row stays and its rows sort under it. There is no
// unsorted order within nodes, so with UndoSort the third click sorts again.
TEST_F(GridSortClickTest, HeaderClicksSortWithinNodes) {
    for (bool indexed : {false, true}) {
        SCOPED_TRACE(indexed ? "by the sort indexes" : "by the sort column");
        const char16_t* texts[] = {u"c", u"a", u"g", u"b", u"e", u"f", u"d"};
        for (Integer r = 1; r < 8; ++r)
            grid->SetCells(1, r, texts[r - 1]);
        grid->AddNode(1, 4);
        grid->AddNode(5, 3);
        grid->SortSettings()->SetUndoSort(true);
        grid->SortSettings()->SetIndexShow(indexed);
        grid->SortSettings()->SetColumn(-1);
        sorted.clear();
        Click(Centre(1, 0));
        EXPECT_EQ(Column(1), (Strings{"c", "a", "b", "g", "e", "d", "f"}));
        Click(Centre(1, 0));
        EXPECT_EQ(Column(1), (Strings{"c", "g", "b", "a", "e", "f", "d"}));
        Click(Centre(1, 0));
        EXPECT_EQ(Column(1), (Strings{"c", "a", "b", "g", "e", "d", "f"}));
        EXPECT_EQ(sorted, (std::vector<Integer>{1, 1, 1}));
        EXPECT_TRUE(grid->IsNode(1));
        EXPECT_TRUE(grid->IsNode(5));
        grid->RemoveAllNodes();
    }
}

// A release near a column border ends a sizing, so it does not sort; a little further in it does.
TEST_F(GridSortClickTest, ReleasesNearAHeaderBorderDoNotSort) {
    grid->SetOptions(grid->Options() + TGridOptions{goColSizing});
    struct Case {
        const char* name;
        Integer dx; // from the cell's left edge
        bool sorts;
    };
    const Case cases[] = {
        {"4 px right of the left border", 4, false},
        {"5 px right of the left border", 5, true},
        {"5 px left of the right border", 35, true},
        {"4 px left of the right border", 36, false},
    };
    for (const Case& c : cases) {
        sorted.clear();
        Click(At(2, 0, c.dx, 10));
        EXPECT_EQ(!sorted.empty(), c.sorts) << c.name;
    }
}

// Refusals: the sort row, fewer than three rows, OnCanSort and ignored columns.
TEST_F(GridSortClickTest, NoSortWhereTheSettingsOrEventsSayNo) {
    grid->SetFixedRows(2);
    grid->SortSettings()->SetRow(1);
    Click(Centre(1, 0));
    EXPECT_TRUE(sorted.empty()) << "not the sort row";
    Click(Centre(1, 1));
    EXPECT_EQ(sorted.size(), 1u) << "the sort row";

    grid->SetFixedRows(1);
    grid->SortSettings()->SetRow(0);
    grid->OnCanSort = [](TObject*, Integer, bool& doSort) { doSort = false; };
    sorted.clear();
    Click(Centre(3, 0));
    EXPECT_TRUE(sorted.empty()) << "OnCanSort";
    grid->OnCanSort = nullptr;

    grid->SetRowCount(2);
    Click(Centre(1, 0));
    EXPECT_TRUE(sorted.empty()) << "two rows";
}

// Several columns: the index key adds a column, a plain click starts over, a click on the only
// column turns its direction.
TEST_F(GridSortClickTest, IndexSortAddsColumnsWithTheIndexKey) {
    grid->SortSettings()->SetIndexShow(true);
    for (Integer r = 1; r < 8; ++r)
        grid->SetCells(2, r, r % 2 == 0 ? u"x" : u"y");
    Click(Centre(2, 0));
    With(VK_SHIFT, [&] { Click(Centre(1, 0)); });
    TSortIndexList* indexes = grid->SortIndexes();
    ASSERT_EQ(indexes->Count(), 2);
    EXPECT_EQ(indexes->SortColumns(0), 2);
    EXPECT_EQ(indexes->SortColumns(1), 1);
    EXPECT_EQ(Column(2), (Strings{"x", "x", "x", "y", "y", "y", "y"}));
    EXPECT_EQ(Column(1), (Strings{"a", "b", "d", "c", "e", "f", "g"}));
    With(VK_SHIFT, [&] { Click(Centre(1, 0)); });
    EXPECT_FALSE(indexes->SortDirections(1));
    Click(Centre(3, 0));
    ASSERT_EQ(indexes->Count(), 1);
    EXPECT_EQ(grid->SortSettings()->Column(), 3);
    Click(Centre(3, 0));
    EXPECT_FALSE(indexes->SortDirections(0));
}

// A double click on a header border sizes the column to its left to its contents, and its release
// does not sort; at 4 pixels from the border nothing is sized.
TEST_F(GridSortClickTest, DoubleClickOnAHeaderBorderSizesTheColumnAndDoesNotSort) {
    grid->SetOptions(grid->Options() + TGridOptions{goColSizing});
    grid->SetWordWrap(false);
    grid->SetCells(1, 3, u"a_rather_long_text_for_the_column");
    std::vector<Integer> ended;
    grid->OnEndColumnSize = [&](TObject*, Integer col) { ended.push_back(col); };

    DoubleClick(At(2, 0, 4, 10));
    EXPECT_EQ(grid->ColWidths(1), 40);
    EXPECT_TRUE(ended.empty());

    DoubleClick(At(2, 0, 2, 10));
    EXPECT_GT(grid->ColWidths(1), 100);
    EXPECT_EQ(ended, (std::vector<Integer>{1}));
    EXPECT_TRUE(sorted.empty());
    EXPECT_FALSE(grid->DoubleClickPending()) << "the release consumed it";

    grid->OnColumnSize = [](TObject*, Integer, bool& allow) { allow = false; };
    const Integer width = grid->ColWidths(2);
    grid->SetCells(2, 3, u"another_rather_long_text_for_the_column");
    DoubleClick(At(3, 0, 1, 10));
    EXPECT_EQ(grid->ColWidths(2), width) << "OnColumnSize refused";
}

class GridClickTest : public GridMouseTest {
protected:
    // The shown child of the grid of class T, or null.
    template <class T> T* Shown() {
        for (Integer i = 0; i < grid->ControlCount(); ++i)
            if (auto* control = dynamic_cast<T*>(grid->Controls(i)); control != nullptr && control->Visible())
                return control;
        return nullptr;
    }
};

// The fixed-cell editors open over their cell with its text: the edit box for header rows, the kind
// OnFixedEdit leaves, column 0's kind also in a header row, 19 pixels further right for the filter row;
// OnCanEditCell may refuse.
TEST_F(GridClickTest, FixedCellEditorsOpenOverTheirCell) {
    grid->MouseActions()->SetFixedRowsEdit(fceDblClick);
    grid->MouseActions()->SetFixedColsEditor(fceComboEdit);
    grid->SetCells(2, 0, u"Head");
    DoubleClick(Centre(2, 0));
    TControl* edit = Shown<TGridTransEdit>();
    ASSERT_NE(edit, nullptr);
    const TRect r = grid->CellRect(2, 0);
    EXPECT_EQ(edit->Left(), r.Left + 1);
    EXPECT_EQ(edit->Top(), r.Top + 3);
    EXPECT_EQ(edit->Width(), r.Right - r.Left - 2);
    EXPECT_EQ(edit->Text(), u"Head");

    std::vector<TGridFixedCellEditor> asked;
    grid->OnFixedEdit = [&](TObject*, Integer, Integer, TGridFixedCellEditor& kind, TStrings*) {
        asked.push_back(kind);
        kind = fceComboList;
    };
    DoubleClick(Centre(3, 0));
    EXPECT_EQ(Shown<TGridTransEdit>(), nullptr);
    EXPECT_NE(Shown<TGridTransCombo>(), nullptr);
    DoubleClick(Centre(0, 0));
    EXPECT_EQ(asked, (std::vector<TGridFixedCellEditor>{fceEdit, fceComboEdit}));

    grid->OnFixedEdit = nullptr;
    grid->EditFixedCell(4, 0, true);
    edit = Shown<TGridTransEdit>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->Left(), grid->CellRect(4, 0).Left + 1 + 19);

    grid->OnCanEditCell = [](TObject*, Integer, Integer, bool& can) { can = false; };
    edit->SetVisible(false);
    DoubleClick(Centre(5, 0));
    EXPECT_EQ(Shown<TGridTransEdit>(), nullptr);
}

// A fixed column's border sizes the column with MouseActions.SizeFixedCol: the dotted line follows the
// mouse and the release sets the width.
TEST_F(GridClickTest, FixedColumnBorderSizesTheFixedColumn) {
    grid->MouseActions()->SetSizeFixedCol(true);
    std::vector<Integer> ended;
    grid->OnEndColumnSize = [&](TObject*, Integer col) { ended.push_back(col); };
    const Integer border = grid->ColWidths(0);
    MoveTo(TPoint(border + 1, 50));
    Down(TPoint(border + 1, 50));
    MoveTo(TPoint(border + 21, 50));
    Up(TPoint(border + 21, 50));
    EXPECT_EQ(grid->ColWidths(0), border + 21);
    EXPECT_EQ(ended, (std::vector<Integer>{0}));
    EXPECT_EQ(grid->Row(), 1) << "the press moved no cell";
}

// A cell link moves the current cell; OnAnchorClick may keep it; another link goes to the desktop's
// opener as one argument.
TEST_F(GridClickTest, AnchorsMoveToCellLinksOrOpenTheirTarget) {
    grid->SetCells(2, 2, u"<a href=\"CELL://R5C3\">go</a>");
    grid->SetCells(3, 3, u"<a href=\"https://example.org/x y\">web</a>");
    std::vector<String> opened;
    win32::SetShellOpener([&](const String& file) {
        opened.push_back(file);
        return true;
    });
    bool autoHandle = false;
    grid->OnAnchorClick = [&](TObject*, Integer, Integer, const String&, bool& handle) {
        handle = autoHandle;
    };

    Click(At(2, 2, 6, 10));
    EXPECT_EQ(grid->Row(), 1) << "AutoHandle false";
    autoHandle = true;
    Click(At(2, 2, 6, 10));
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(grid->Col(), 3);
    Click(At(3, 3, 6, 10));
    win32::SetShellOpener(nullptr);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], u"https://example.org/x y");
}

// A check box in the header row with CheckAllCheck sets every row's box of its column to its state.
TEST_F(GridClickTest, HeaderCheckBoxSetsTheWholeColumn) {
    grid->MouseActions()->SetCheckAllCheck(true);
    grid->ControlLook()->SetCheckAlwaysActive(true);
    for (Integer r = 0; r < 8; ++r)
        grid->AddCheckBox(2, r, r == 3, false);
    std::vector<std::string> clicks;
    grid->OnCheckBoxClick = [&](TObject*, Integer c, Integer r, bool state) {
        clicks.push_back(std::to_string(c) + "," + std::to_string(r) + (state ? " on" : " off"));
    };
    Click(At(2, 0, 8, 10));
    EXPECT_EQ(clicks, (Strings{"2,0 on"}));
    for (Integer r = 1; r < 8; ++r) {
        bool state = false;
        grid->GetCheckBoxState(2, r, state);
        EXPECT_TRUE(state) << r;
    }
}

// Half a star per 9 pixels across a 90 pixel rating cell.
TEST_F(GridClickTest, RatingTakesHalfStarsAcrossTheCell) {
    grid->SetColWidths(2, 90);
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    grid->AddRating(2, 2, 5, clYellow, clGray);
    const struct {
        Integer dx;
        double value;
    } cases[] = {{1, 0.0}, {9, 0.5}, {17, 0.5}, {45, 2.5}, {89, 4.5}};
    for (const auto& c : cases) {
        Click(At(2, 2, c.dx, 10));
        EXPECT_DOUBLE_EQ(grid->Floats(2, 2), c.value) << c.dx;
    }
    grid->OnRatingChange = [](TObject*, Integer, Integer, double&, bool& allow) { allow = false; };
    Click(At(2, 2, 30, 10));
    EXPECT_DOUBLE_EQ(grid->Floats(2, 2), 4.5) << "refused";
}

// A refusal by OnSelectCell in disjunct cell selection leaves the list alone, but the framework grid
// still ends the gesture: no capture, no selecting state.
TEST_F(GridClickTest, RefusedDisjunctCellEndsTheGestureAllTheSame) {
    grid->MouseActions()->SetDisjunctCellSelect(true);
    Click(Centre(2, 2));
    ASSERT_EQ(grid->SelectedCellList()->Count(), 1);
    grid->OnSelectCell = [](TObject*, Integer c, Integer r, bool& can) { can = !(c == 4 && r == 4); };
    With(VK_CONTROL, [&] { Click(Centre(4, 4)); });
    ASSERT_EQ(grid->SelectedCellList()->Count(), 1);
    EXPECT_EQ(grid->SelectedCellList()->Items(0), (2 << 16) | 2);
    EXPECT_EQ(grid->GridState(), gsNormal);
    EXPECT_EQ(GetCapture(), nullptr);
    Click(Centre(4, 4));
    EXPECT_EQ(grid->SelectedCellList()->Count(), 0) << "a plain press empties the list before the refusal";
    EXPECT_EQ(grid->GridState(), gsNormal);
    EXPECT_EQ(GetCapture(), nullptr);
    With(VK_CONTROL, [&] { Click(Centre(3, 5)); });
    EXPECT_EQ(grid->SelectedCellList()->Count(), 1) << "Ctrl adds";
    With(VK_CONTROL, [&] { Click(Centre(2, 6)); });
    EXPECT_EQ(grid->SelectedCellList()->Count(), 2) << "Ctrl adds";
    With(VK_CONTROL, [&] { Click(Centre(3, 5)); });
    EXPECT_EQ(grid->SelectedCellList()->Count(), 1) << "Ctrl again removes";
}

// A cell button: a press on it pushes it and its release there clicks it; released elsewhere it comes up
// without a click; a press beside it selects the cell without pushing. A button clicks only in a cell
// that may be edited.
TEST_F(GridClickTest, CellButtonsClickOnlyWhenReleasedOnThem) {
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    grid->AddButton(2, 3, 20, 12, u"b", haLeft, vaTop);
    std::vector<std::string> log;
    grid->OnButtonClick = [&](TObject*, Integer c, Integer r) {
        log.push_back("button " + std::to_string(c) + "," + std::to_string(r));
    };
    grid->OnClickCell = [&](TObject*, Integer r, Integer c) {
        log.push_back("cell " + std::to_string(c) + "," + std::to_string(r));
    };
    Click(At(2, 3, 5, 5));
    EXPECT_EQ(log, (Strings{"cell 2,3", "button 2,3"}));
    EXPECT_EQ(GetCapture(), nullptr);
    log.clear();
    Down(At(2, 3, 5, 5));
    Up(Centre(4, 5));
    EXPECT_EQ(log, (Strings{"cell 2,3"}));
    log.clear();
    Click(At(2, 3, 30, 15));
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(log, (Strings{"cell 2,3"}));

    // The button of a cell that may not be edited clicks only with ControlLook.NoDisabledButtonLook.
    grid->OnCanEditCell = [](TObject*, Integer, Integer, bool& can) { can = false; };
    log.clear();
    Click(At(2, 3, 5, 5));
    EXPECT_EQ(log, (Strings{"cell 2,3"}));
    grid->ControlLook()->SetNoDisabledButtonLook(true);
    log.clear();
    Click(At(2, 3, 5, 5));
    EXPECT_EQ(log, (Strings{"cell 2,3", "button 2,3"}));
    grid->OnCanEditCell = nullptr;
}

// A press inside a merged block selects the block's base cell.
TEST_F(GridClickTest, PressInAMergedBlockSelectsItsBaseCell) {
    grid->MergeCells(2, 2, 2, 3);
    Click(Centre(3, 4));
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
}

// Range select and edit: a second click on the current editable cell edits it; a Shift-click on another
// cell while editing is on extends the selection instead.
TEST_F(GridClickTest, RangeSelectAndEditEditsOnASecondClick) {
    grid->MouseActions()->SetRangeSelectAndEdit(true);
    Click(Centre(2, 2));
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_FALSE(grid->Options().Contains(goEditing));
    Click(Centre(2, 2));
    EXPECT_TRUE(grid->Options().Contains(goEditing));
    EXPECT_TRUE(grid->EditorMode());
    With(VK_SHIFT, [&] { Click(Centre(4, 4)); });
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 2, 4, 4}));
}

// The 6 x 6 grip at the selection's bottom-right corner resizes the selection without moving the
// current cell; the resize is reported with the selection from before and after.
TEST_F(GridClickTest, SelectionGripResizesTheSelection) {
    grid->SetSelectionRectangle(true);
    grid->SetSelectionResizer(true);
    MoveTo(Centre(2, 2));
    Down(Centre(2, 2));
    MoveTo(Centre(3, 3));
    Up(Centre(3, 3));
    ASSERT_EQ(grid->Selection(), (TGridRect{2, 2, 3, 3}));
    std::vector<std::string> log;
    const auto text = [](const TGridRect& r) {
        return std::to_string(r.Left) + "," + std::to_string(r.Top) + "-" + std::to_string(r.Right) + "," +
               std::to_string(r.Bottom);
    };
    grid->OnSelectionResize = [&](TObject*, const TGridRect& from, const TGridRect& to) {
        log.push_back("resize " + text(from) + " " + text(to));
    };
    grid->OnSelectionResized = [&](TObject*, const TGridRect& from, const TGridRect& to) {
        log.push_back("resized " + text(from) + " " + text(to));
    };
    const TRect corner = grid->CellRect(3, 3);
    const TPoint grip(corner.Right - 3, corner.Bottom - 3);
    MoveTo(grip);
    Down(grip);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->Row(), 2);
    MoveTo(Centre(4, 5));
    Up(Centre(4, 5));
    EXPECT_EQ(log, (Strings{"resize 2,2-3,3 2,2-4,5", "resized 2,2-3,3 2,2-4,5"}));
    EXPECT_EQ(grid->GridState(), gsNormal);
}

// Touch scrolling: a drag from a cell other than the current one scrolls a row per row height, and a
// quick one goes on for ten rows more, one every 10 ms, in the drag's direction; a tap makes the cell
// current and toggles its check box only when it may be edited.
TEST_F(GridClickTest, TouchScrollDragsScrollAndTapsToggle) {
    grid->SetRowCount(40);
    grid->MouseActions()->SetTouchScroll(true);
    grid->AddCheckBox(2, 3, false, false);
    const TPoint start = Centre(3, 6);
    const TPoint up(start.X, start.Y - 2 * grid->DefaultRowHeight());
    Down(start);
    EXPECT_EQ(GetCapture(), grid->Handle());
    MoveTo(up);
    EXPECT_EQ(grid->TopRow(), 3);
    Up(up);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(grid->TopRow(), 3);
    Advance(10);
    EXPECT_EQ(grid->TopRow(), 4);
    for (int i = 0; i < 12; ++i)
        Advance(10);
    EXPECT_EQ(grid->TopRow(), 13) << "the flick ends after ten rows";

    // A slow drag, and a quick one downwards that goes back up to the first row.
    Advance(GetDoubleClickTime() + 1);
    Down(start);
    Advance(600);
    MoveTo(up);
    Up(up);
    for (int i = 0; i < 12; ++i)
        Advance(10);
    EXPECT_EQ(grid->TopRow(), 15);
    Advance(GetDoubleClickTime() + 1);
    Down(start);
    MoveTo(TPoint(start.X, start.Y + grid->DefaultRowHeight()));
    Up(TPoint(start.X, start.Y + grid->DefaultRowHeight()));
    EXPECT_EQ(grid->TopRow(), 14);
    for (int i = 0; i < 12; ++i)
        Advance(10);
    EXPECT_EQ(grid->TopRow(), 4);

    grid->SetTopRow(1);
    bool state = true;
    Click(Centre(2, 3));
    grid->GetCheckBoxState(2, 3, state);
    EXPECT_FALSE(state) << "a cell that may not be edited";
    EXPECT_EQ(grid->Row(), 3);
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    Click(Centre(2, 4));
    Click(Centre(2, 3));
    grid->GetCheckBoxState(2, 3, state);
    EXPECT_TRUE(state);
}

// A press on a node's glyph collapses or expands its block, as OnBeforeContractNode and
// OnBeforeExpandNode allow.
TEST_F(GridClickTest, NodeGlyphPressesCollapseAndExpand) {
    grid->AddNode(2, 3);
    Integer glyphX = -1;
    const TRect r = grid->CellRect(0, 2);
    for (Integer x = r.Left; x < r.Right && glyphX < 0; ++x)
        if (grid->IsInNodeGlyph(2, x))
            glyphX = x;
    ASSERT_GE(glyphX, 0);
    const TPoint glyph(glyphX, (r.Top + r.Bottom) / 2);
    Strings events;
    bool allow = false;
    grid->OnBeforeContractNode = [&](TObject*, Integer row, Integer, bool& a) {
        events.push_back("before contract " + std::to_string(row));
        a = allow;
    };
    grid->OnContractNode = [&](TObject*, Integer row, Integer) {
        events.push_back("contract " + std::to_string(row));
    };
    grid->OnExpandNode = [&](TObject*, Integer row, Integer) {
        events.push_back("expand " + std::to_string(row));
    };
    Click(glyph);
    EXPECT_FALSE(grid->GetNodeState(2)) << "refused";
    allow = true;
    Click(glyph);
    EXPECT_TRUE(grid->GetNodeState(2));
    EXPECT_EQ(grid->RowCount(), 6);
    Click(glyph);
    EXPECT_FALSE(grid->GetNodeState(2));
    EXPECT_EQ(grid->RowCount(), 8);
    EXPECT_EQ(events, (Strings{"before contract 2", "before contract 2", "contract 2", "expand 2"}));
}

// With HoverRow the row under the mouse is recorded for painting until the mouse leaves the grid.
TEST_F(GridClickTest, HoverRowFollowsTheMouseAndClearsOnLeaving) {
    grid->SetHoverRow(true);
    MoveTo(Centre(2, 3));
    EXPECT_EQ(grid->HoverRowIndex(), 3);
    MoveTo(Centre(4, 5));
    EXPECT_EQ(grid->HoverRowIndex(), 5);
    MoveTo(TPoint(350, 250));
    EXPECT_EQ(grid->HoverRowIndex(), -1);
}

// Every right press reports its cell, fixed cells and the space outside the cells too.
TEST_F(GridClickTest, RightClicksReportTheirCellEverywhere) {
    std::vector<std::string> cells;
    grid->OnRightClickCell = [&](TObject*, Integer r, Integer c) {
        cells.push_back(std::to_string(c) + "," + std::to_string(r));
    };
    Click(Centre(0, 0), win32::input::Button::Right);
    Click(Centre(3, 4), win32::input::Button::Right);
    Click(TPoint(290, 190), win32::input::Button::Right);
    EXPECT_EQ(cells, (Strings{"0,0", "3,4", "-1,-1"}));
}

// Selecting on a right click: with a popup menu a click on one of several selected rows keeps them
// all; on an unselected row it selects that row alone.
TEST_F(GridClickTest, RightClickOnSelectedRowsKeepsThemForThePopupMenu) {
    grid->MouseActions()->SetSelectOnRightClick(true);
    grid->MouseActions()->SetDisjunctRowSelect(true);
    TPopupMenu menu(nullptr);
    grid->SetPopupMenu(&menu);
    // The menu itself does not pop up: the test answers the context popup.
    grid->OnContextPopup = [](TObject*, TPoint, bool& handled) { handled = true; };
    grid->SetRowSelect(2, true);
    grid->SetRowSelect(4, true);
    Down(Centre(2, 4), win32::input::Button::Right);
    Up(Centre(2, 4), win32::input::Button::Right);
    EXPECT_TRUE(grid->GetRowSelect(2));
    EXPECT_TRUE(grid->GetRowSelect(4));
    EXPECT_EQ(grid->Row(), 4);
    grid->SetPopupMenu(nullptr);
    Down(Centre(2, 6), win32::input::Button::Right);
    Up(Centre(2, 6), win32::input::Button::Right);
    EXPECT_FALSE(grid->GetRowSelect(2));
    EXPECT_TRUE(grid->GetRowSelect(6));
}

// With URLEdit a right click on a link edits it.
TEST_F(GridClickTest, RightClickOnALinkEditsItWithURLEdit) {
    grid->SetURLShow(true);
    grid->SetURLEdit(true);
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    grid->SetCells(3, 2, u"https://example.org");
    Click(Centre(3, 2), win32::input::Button::Right);
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_TRUE(grid->EditorMode());
}

} // namespace
