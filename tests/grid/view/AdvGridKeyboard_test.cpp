// Tests of the grid's WM_KEYDOWN stages, driven through the input entry points: scroll-only moves, the
// Home and End variants, skipping fixed cells, appending on the down arrow, the clipboard shortcuts, row
// insertion and deletion, select-all, Enter, F2 and typing on editable and read-only cells and the search
// footer's last row.
#include <string>
#include <vector>

#include "tests/grid/view/GridKeysTesting.h"

namespace {

using KeyboardTest = GridKeysTest;

TEST_F(KeyboardTest, MoveScrollOnlyMovesTheViewAndNeverTheCell) {
    FGrid->SetRowCount(40);
    FGrid->Navigation()->SetMoveScrollOnly(true);
    const Integer visRows = FGrid->VisibleRowCount();
    ASSERT_GT(visRows, 4);
    struct Case {
        const char* name;
        int key;
        Integer top;
        Integer expectedTop;
    };
    const Case cases[] = {
        {"page down", VK_NEXT, 1, 1 + visRows},
        {"page down on the last page", VK_NEXT, 40 - visRows, 40 - visRows},
        {"down", VK_DOWN, 3, 4},
        {"down on the last page", VK_DOWN, 40 - visRows, 40 - visRows},
        {"up", VK_UP, 3, 2},
        {"up at the top", VK_UP, 1, 1},
        {"page up", VK_PRIOR, 20, 20 - visRows},
        {"page up near the top", VK_PRIOR, 3, 1},
        {"end", VK_END, 1, 40 - visRows},
        {"home", VK_HOME, 20, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Place(2, 2);
        FGrid->SetTopRow(c.top);
        LogKeyDown();
        log.clear();
        Press(c.key);
        EXPECT_EQ(FGrid->TopRow(), c.expectedTop);
        EXPECT_EQ(Current(), TPoint(2, 2));
        EXPECT_TRUE(log.empty()) << "the keys it takes fire no OnKeyDown";
    }
    // Left and right are not its keys.
    FGrid->SetTopRow(1);
    Press(VK_LEFT);
    EXPECT_EQ(Current(), TPoint(1, 2));
}

TEST_F(KeyboardTest, HomeAndEndByHomeEndKey) {
    struct Case {
        const char* name;
        THomeEndAction action;
        int key;
        TShiftState shift;
        Integer fixedFooters;
        Integer fixedRightCols;
        TPoint start;
        TPoint expected;
    };
    const Case cases[] = {
        {"home to the first cell", heFirstLastCell, VK_HOME, {}, 0, 0, TPoint(4, 5), TPoint(1, 1)},
        {"end to the last cell", heFirstLastCell, VK_END, {}, 0, 0, TPoint(2, 2), TPoint(5, 9)},
        {"home to the first row", heFirstLastRow, VK_HOME, {}, 0, 0, TPoint(3, 6), TPoint(3, 1)},
        {"end to the last row", heFirstLastRow, VK_END, {}, 0, 0, TPoint(3, 2), TPoint(3, 9)},
        {"end above the footer", heFirstLastRow, VK_END, {}, 1, 0, TPoint(3, 2), TPoint(3, 8)},
        // Column 1 refuses selection below, so the first selectable column is 2.
        {"home to the first selectable column",
         heFirstLastColumn,
         VK_HOME,
         {},
         0,
         0,
         TPoint(4, 5),
         TPoint(2, 5)},
        {"ctrl+home to the first row's first selectable column",
         heFirstLastColumn,
         VK_HOME,
         {ssCtrl},
         0,
         0,
         TPoint(4, 5),
         TPoint(2, 1)},
        // End aims at the very last column; a fixed right column there is refused by the cell selection.
        {"end to the last column", heFirstLastColumn, VK_END, {}, 0, 0, TPoint(2, 5), TPoint(5, 5)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FGrid->Navigation()->SetHomeEndKey(c.action);
        FGrid->SetFixedFooters(c.fixedFooters);
        FGrid->SetFixedRightCols(c.fixedRightCols);
        Place(c.start.X, c.start.Y);
        if (c.action == heFirstLastColumn && c.key == VK_HOME)
            FGrid->OnSelectCell = [](TObject*, Integer ACol, Integer, bool& CanSelect) {
                if (ACol == 1)
                    CanSelect = false;
            };
        LogKeyDown();
        log.clear();
        Press(c.key, c.shift);
        EXPECT_EQ(Current(), c.expected);
        EXPECT_EQ(log, (std::vector<std::string>{"KeyDown " + std::to_string(c.key)}))
            << "OnKeyDown fires once";
        FGrid->OnSelectCell = nullptr;
    }
}

TEST_F(KeyboardTest, ShiftHomeAndEndSelectWithinTheRow) {
    FGrid->Navigation()->SetHomeEndKey(heFirstLastColumn);
    Place(3, 4);
    Press(VK_HOME, {ssShift});
    EXPECT_EQ(FGrid->Selection(), (TGridRect{1, 4, 3, 4}));
    Place(2, 4);
    FGrid->SetFixedRightCols(1);
    Press(VK_END, {ssShift});
    EXPECT_EQ(FGrid->Selection(), (TGridRect{2, 4, 4, 4}));
}

TEST_F(KeyboardTest, HomeAndEndInAGridOfOnlyItsAlwaysFixedRowGoToTheFramework) {
    FGrid->SetFixedRows(0);
    FGrid->SetRowCount(1);
    FGrid->SetFixedRowAlways(true);
    for (THomeEndAction action : {heFirstLastRow, heFirstLastColumn}) {
        FGrid->Navigation()->SetHomeEndKey(action);
        Press(VK_HOME);
        Press(VK_END);
        EXPECT_EQ(FGrid->Row(), 0);
    }
}

TEST_F(KeyboardTest, SkipFixedCellsStepsOverFixedRunsOrStays) {
    FGrid->Navigation()->SetSkipFixedCells(true);
    std::vector<Integer> fixedCols;
    FGrid->OnIsFixedCell = [&fixedCols](TObject*, Integer, Integer ACol, bool& IsFixed) {
        for (Integer c : fixedCols)
            if (c == ACol)
                IsFixed = true;
    };
    LogKeyDown();

    fixedCols = {3};
    Place(2, 2);
    log.clear();
    Press(VK_RIGHT);
    EXPECT_EQ(Current(), TPoint(4, 2)) << "over the fixed column";
    EXPECT_EQ(log, (std::vector<std::string>{"KeyDown 39"}));

    Press(VK_LEFT);
    EXPECT_EQ(Current(), TPoint(2, 2)) << "back over it";

    // A run that reaches the right border leaves the cell where it is and takes the key.
    fixedCols = {3, 4, 5};
    Place(2, 2);
    log.clear();
    Press(VK_RIGHT);
    EXPECT_EQ(Current(), TPoint(2, 2));
    EXPECT_EQ(log, (std::vector<std::string>{"KeyDown 39"}));
}

TEST_F(KeyboardTest, AppendOnArrowDownAddsARowAtTheLastDataRow) {
    FGrid->Navigation()->SetAppendOnArrowDown(true);
    std::vector<Integer> added;
    FGrid->OnAutoAddRow = [&added](TObject*, Integer ARow) { added.push_back(ARow); };
    Place(2, 9);
    FGrid->SetCells(2, 9, u"last");
    Press(VK_DOWN);
    EXPECT_EQ(FGrid->RowCount(), 11);
    EXPECT_EQ(Current(), TPoint(2, 10));
    EXPECT_EQ(added, (std::vector<Integer>{10}));
    EXPECT_EQ(FGrid->Cells(2, 10), u"");

    bool allow = false;
    FGrid->OnCanAddRow = [&allow](TObject*, bool& CanAdd) { CanAdd = allow; };
    Press(VK_DOWN);
    EXPECT_EQ(FGrid->RowCount(), 11) << "refused";
    EXPECT_EQ(Current(), TPoint(2, 10));
}

TEST_F(KeyboardTest, ClipboardShortcutsAskTheirEventsAndReportTheSelection) {
    std::vector<std::string> events;
    FGrid->OnClipboardCut = [&events](TObject*, bool&) { events.push_back("cut"); };
    FGrid->OnClipboardCutDone = [&events](TObject*, const TGridRect& r) {
        events.push_back("cut done " + std::to_string(r.Left) + "," + std::to_string(r.Top));
    };
    FGrid->OnClipboardCopy = [&events](TObject*, bool& Allow) {
        events.push_back("copy");
        Allow = false;
    };
    FGrid->OnClipboardCopyDone = [&events](TObject*, const TGridRect&) { events.push_back("copy done"); };
    FGrid->OnClipboardPaste = [&events](TObject*, bool&) { events.push_back("paste"); };
    FGrid->Navigation()->SetAllowDeleteRow(true);
    Place(2, 3);

    // Without the shortcuts Shift+Delete is a plain Delete: the row goes.
    Press(VK_DELETE, {ssShift});
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(FGrid->RowCount(), 9);

    FGrid->Navigation()->SetAllowClipboardShortCuts(true);
    Press(VK_DELETE, {ssShift});
    Press(u'X', {ssCtrl});
    Press(u'C', {ssCtrl});
    Press(VK_INSERT, {ssShift});
    Press(u'V', {ssCtrl});
    EXPECT_EQ(events, (std::vector<std::string>{"cut", "cut done 2,3", "cut", "cut done 2,3", "copy", "paste",
                                                "paste"}));
    EXPECT_EQ(FGrid->RowCount(), 9) << "the shortcut deletes no row";
}

TEST_F(KeyboardTest, DeleteRowAsksOnCanDeleteRowAndKeepsTheFilterState) {
    FGrid->Navigation()->SetAllowDeleteRow(true);
    for (Integer r = 1; r < 10; ++r)
        FGrid->SetCells(1, r, u"r" + IntToStr(r));
    std::vector<Integer> asked;
    bool allow = false;
    FGrid->OnCanDeleteRow = [&](TObject*, Integer ARow, bool& CanDelete) {
        asked.push_back(ARow);
        CanDelete = allow;
    };
    Place(1, 4);
    Press(VK_DELETE);
    EXPECT_EQ(asked, (std::vector<Integer>{4}));
    EXPECT_EQ(FGrid->RowCount(), 10);
    EXPECT_FALSE(FGrid->FilterActive());
    EXPECT_FALSE(FGrid->Modified());

    allow = true;
    Press(VK_DELETE);
    EXPECT_EQ(FGrid->RowCount(), 9);
    EXPECT_EQ(FGrid->Cells(1, 4), u"r5");
    EXPECT_TRUE(FGrid->Modified());
}

TEST_F(KeyboardTest, InsertRowBeforeOrAfterTheCurrentRow) {
    FGrid->Navigation()->SetAllowInsertRow(true);
    for (Integer r = 1; r < 10; ++r)
        FGrid->SetCells(1, r, u"r" + IntToStr(r));
    std::vector<Integer> inserted;
    FGrid->OnAutoInsertRow = [&inserted](TObject*, Integer ARow) { inserted.push_back(ARow); };

    Place(1, 3);
    Press(VK_INSERT);
    EXPECT_EQ(FGrid->RowCount(), 11);
    EXPECT_EQ(FGrid->Cells(1, 3), u"");
    EXPECT_EQ(FGrid->Cells(1, 4), u"r3");
    EXPECT_EQ(FGrid->Row(), 3);

    FGrid->Navigation()->SetInsertPosition(pInsertAfter);
    Press(VK_INSERT);
    EXPECT_EQ(FGrid->Cells(1, 3), u"");
    EXPECT_EQ(FGrid->Cells(1, 4), u"");
    EXPECT_EQ(FGrid->Cells(1, 5), u"r3");
    EXPECT_EQ(FGrid->Row(), 4);
    EXPECT_EQ(inserted, (std::vector<Integer>{3, 4}));
    EXPECT_TRUE(FGrid->Modified());

    FGrid->OnCanInsertRow = [](TObject*, Integer, bool& CanInsert) { CanInsert = false; };
    Press(VK_INSERT);
    EXPECT_EQ(FGrid->RowCount(), 12);
}

TEST_F(KeyboardTest, InsertAfterInAnEmptyGridWithItsAlwaysFixedRowMakesRowOne) {
    FGrid->Navigation()->SetAllowInsertRow(true);
    FGrid->Navigation()->SetInsertPosition(pInsertAfter);
    FGrid->SetFixedRows(0);
    FGrid->SetRowCount(1);
    FGrid->SetFixedRowAlways(true);
    Press(VK_INSERT);
    EXPECT_EQ(FGrid->RowCount(), 2);
    EXPECT_EQ(FGrid->Row(), 1);
}

TEST_F(KeyboardTest, CtrlASelectsEveryDataCell) {
    FGrid->SetFixedFooters(1);
    Place(2, 3);
    Press(u'A', {ssCtrl});
    EXPECT_EQ(FGrid->Selection(), (TGridRect{1, 1, 5, 8}));

    // As disjunct cells, the current cell stays where it was.
    FGrid->MouseActions()->SetDisjunctCellSelect(true);
    Place(2, 3);
    Press(u'A', {ssCtrl});
    EXPECT_EQ(FGrid->SelectedCellsCount(), 5 * 8);
    EXPECT_TRUE(FGrid->SelectedCells(5, 8));
    EXPECT_FALSE(FGrid->SelectedCells(5, 9));
    EXPECT_EQ(Current(), TPoint(2, 3));
}

TEST_F(KeyboardTest, CtrlAWithoutRangeOrRowSelectDoesNothing) {
    FGrid->SetOptions(FGrid->Options() - TGridOptions{goRangeSelect});
    Place(2, 3);
    Press(u'A', {ssCtrl});
    EXPECT_EQ(FGrid->Selection(), (TGridRect{2, 3, 2, 3}));
}

TEST_F(KeyboardTest, EnterOnAReadOnlyCellReachesTheFormOnlyWithKeyPreview) {
    std::vector<std::string> events;
    FGrid->OnKeyDown = [&events](TObject*, Word& key, TShiftState) {
        events.push_back("grid " + std::to_string(key));
    };
    FForm->OnKeyDown = [&events](TObject*, Word& key, TShiftState) {
        events.push_back("form " + std::to_string(key));
    };
    Place(2, 2);

    Press(VK_RETURN);
    EXPECT_EQ(events, (std::vector<std::string>{"grid 13"}));

    events.clear();
    FForm->SetKeyPreview(true);
    Press(VK_RETURN);
    EXPECT_EQ(events, (std::vector<std::string>{"form 13", "grid 13"}));
    EXPECT_EQ(Current(), TPoint(2, 2));
}

// Enter, F2 and a typed character open the editor of an editable cell and of no read-only one; with
// EditOnDblClickOnly they switch editing on for an editable cell first.
TEST_F(KeyboardTest, EnterF2AndTypingEditOnlyEditableCells) {
    struct Case {
        const char* name;
        int key; // 0: the character is typed instead
        Char typed;
        bool dblClickOnly;
        bool readOnly;
        bool edits;
    };
    const Case cases[] = {
        {"F2", VK_F2, 0, false, false, true},
        {"F2 read-only", VK_F2, 0, false, true, false},
        {"Enter", VK_RETURN, 0, false, false, true},
        {"typed", 0, u'q', false, false, true},
        {"typed read-only", 0, u'q', false, true, false},
        {"Enter, double click only", VK_RETURN, 0, true, false, true},
        {"F2, double click only", VK_F2, 0, true, false, true},
        {"F2, read-only, double click only", VK_F2, 0, true, true, false},
        {"typed, double click only", 0, u'q', true, false, true},
    };
    bool readOnly = false;
    FGrid->OnCanEditCell = [&readOnly](TObject*, Integer, Integer, bool& can) { can = !readOnly; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FGrid->HideInplaceEdit();
        FGrid->MouseActions()->SetEditOnDblClickOnly(c.dblClickOnly);
        FGrid->SetOptions(c.dblClickOnly ? FGrid->Options() - TGridOptions{goEditing}
                                         : FGrid->Options() + TGridOptions{goEditing});
        readOnly = c.readOnly;
        FGrid->SetCells(2, 3, u"text");
        // Entering the cell decides whether it edits: the grid switches editing per cell as it selects.
        Place(1, 3);
        Place(2, 3);
        Pump();
        if (c.key != 0)
            Press(c.key);
        else
            Type(c.typed);
        // The framework's editor mode may be asked for without an editor showing: the editor decides.
        EXPECT_EQ(FGrid->NormalEdit() != nullptr && FGrid->NormalEdit()->Visible(), c.edits);
        EXPECT_EQ(Current(), TPoint(2, 3));
        if (c.dblClickOnly) {
            EXPECT_EQ(FGrid->Options().Contains(goEditing), c.edits);
        }
        if (c.edits) {
            ASSERT_NE(FGrid->NormalEdit(), nullptr);
            EXPECT_TRUE(FGrid->NormalEdit()->Visible());
            EXPECT_EQ(FGrid->NormalEdit()->Text(), c.key != 0 ? u"text" : u"q");
            FGrid->HideInplaceEdit();
        } else {
            EXPECT_EQ(FGrid->Cells(2, 3), u"text");
        }
    }
    FGrid->OnCanEditCell = nullptr;
}

TEST_F(KeyboardTest, SpaceTogglesACheckBoxAndReportsTheNewState) {
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goEditing});
    FGrid->AddCheckBox(2, 3, false, false);
    std::vector<std::string> events;
    FGrid->OnCheckBoxClick = [&events](TObject*, Integer ACol, Integer ARow, bool State) {
        events.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + (State ? " on" : " off"));
    };
    Place(2, 3);
    Press(VK_SPACE);
    Press(VK_SPACE);
    EXPECT_EQ(events, (std::vector<std::string>{"2,3 on", "2,3 off"}));
}

TEST_F(KeyboardTest, TheSearchFooterScrollEndsWhereTheViewCannotGoFurther) {
    // A view lower than the search panel: the last row can never be clear of it.
    FGrid->SetHeight(30);
    FGrid->SearchFooter()->SetVisible(true);
    Pump();
    Place(2, 9);
    FGrid->SetTopRow(9);
    Press(VK_DOWN);
    Press(VK_END);
    EXPECT_EQ(FGrid->Row(), 9);
    EXPECT_EQ(FGrid->TopRow(), 9);
}

TEST_F(KeyboardTest, SelectionChangesAreReportedOncePerKey) {
    std::vector<std::string> events;
    FGrid->OnSelectionChanged = [&events](TObject*, Integer ALeft, Integer ATop, Integer, Integer) {
        events.push_back(std::to_string(ALeft) + "," + std::to_string(ATop));
    };
    Place(2, 2);
    Press(VK_DOWN);
    Press(VK_RIGHT);
    EXPECT_EQ(events, (std::vector<std::string>{"2,3", "3,3"}));
}

TEST_F(KeyboardTest, DisjunctRowsFollowTheKeys) {
    FGrid->MouseActions()->SetDisjunctRowSelect(true);
    Place(2, 2);
    Press(VK_DOWN);
    EXPECT_TRUE(FGrid->RowSelect(3));
    EXPECT_FALSE(FGrid->RowSelect(2));
    Press(VK_DOWN, {ssShift});
    EXPECT_TRUE(FGrid->RowSelect(3));
    EXPECT_TRUE(FGrid->RowSelect(4));
    Press(VK_SPACE);
    EXPECT_FALSE(FGrid->RowSelect(4)) << "space inverts the current row";
    Press(VK_UP);
    EXPECT_EQ(FGrid->SelectedRowCount(), 1) << "a plain move starts over";
    EXPECT_TRUE(FGrid->RowSelect(3));

    // Shift+Home with heFirstLastRow flags every row from the start row up to the first.
    FGrid->Navigation()->SetHomeEndKey(heFirstLastRow);
    Press(VK_HOME, {ssShift});
    EXPECT_EQ(FGrid->Row(), 1);
    EXPECT_TRUE(FGrid->RowSelect(1));
    EXPECT_TRUE(FGrid->RowSelect(2));
    EXPECT_TRUE(FGrid->RowSelect(3));
    EXPECT_FALSE(FGrid->RowSelect(4));
}

TEST_F(KeyboardTest, RowSelectKeepsTheHorizontalScrollOnVerticalKeys) {
    FGrid->SetColCount(20);
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goRowSelect});
    FGrid->Navigation()->SetKeepHorizScroll(true);
    Place(1, 2);
    FGrid->SetLeftCol(6);
    Press(VK_DOWN);
    EXPECT_EQ(FGrid->Row(), 3);
    EXPECT_EQ(FGrid->LeftCol(), 6);
    EXPECT_FALSE(FGrid->LockUpdate());

    // Left and right scroll the view by a column.
    Press(VK_RIGHT);
    EXPECT_EQ(FGrid->LeftCol(), 7);
    Press(VK_LEFT);
    EXPECT_EQ(FGrid->LeftCol(), 6);
    EXPECT_EQ(FGrid->Row(), 3);
}

} // namespace
