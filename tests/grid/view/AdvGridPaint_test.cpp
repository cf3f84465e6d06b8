// Tests of the grid's paint cycle and of what is drawn inside a cell: the update lock, painting only what
// is visible, the XOR sizing lines, the background outside the cells, the focus frame, the draw events,
// the focus rectangle and editor buttons shown without editing.
#include "tests/grid/view/GridViewTesting.h"

#include <algorithm>
#include <set>
#include <utility>

#include "platform/framework/StdCtrls.h"

namespace {

using gridview_fixtures::GridViewTest;

bool Has(const std::vector<std::string>& calls, const std::string& part) {
    return std::any_of(calls.begin(), calls.end(),
                       [&](const std::string& call) { return call.find(part) != std::string::npos; });
}

bool PaintPending(HWND window) {
    MSG msg;
    return PeekMessageW(&msg, window, WM_PAINT, WM_PAINT, PM_NOREMOVE) != 0;
}

// A paint during the lock is answered without drawing, but its area is validated, so it does not come
// back over and over; the lock's end paints once.
TEST_F(GridViewTest, ALockedGridPaintsNothingThenOnceWhenTheLockEnds) {
    int painted = 0;
    grid->OnPainted = [&](TObject*) { ++painted; };
    for (bool reset : {false, true}) {
        painted = 0;
        grid->StartUpdate();
        grid->Invalidate();
        Application->ProcessMessages();
        EXPECT_EQ(painted, 0) << reset;
        EXPECT_FALSE(PaintPending(grid->Handle())) << "the locked paint is not asked for again";
        if (reset)
            grid->ResetUpdate();
        else
            grid->EndUpdate();
        EXPECT_TRUE(PaintPending(grid->Handle())) << reset;
        Application->ProcessMessages();
        EXPECT_EQ(painted, 1) << reset;
    }
}

// Only the cells in view reach the draw event: the fixed row and column and the rows from the top row
// on, whatever the grid holds; a hidden column never, a merged block once.
TEST_F(GridViewTest, OnlyVisibleCellsAreDrawnOnceAPass) {
    grid->SetColCount(8);
    grid->SetRowCount(1000000);
    grid->SetFixedRows(1);
    grid->SetFixedCols(1);
    grid->SetTopRow(500000);
    grid->HideColumn(2);
    grid->MergeCells(3, 500001, 2, 2);
    std::vector<std::pair<Integer, Integer>> drawn;
    grid->OnDrawCell = [&](TObject*, Integer c, Integer r, TRect, TGridDrawState) {
        drawn.emplace_back(c, r);
    };
    PaintAll();
    const Integer visibleRows = grid->VisibleRowCount() + 1;
    std::set<std::pair<Integer, Integer>> unique(drawn.begin(), drawn.end());
    EXPECT_EQ(unique.size(), drawn.size()) << "no cell twice";
    for (const auto& [c, r] : drawn) {
        EXPECT_NE(c, 2) << "the hidden column";
        EXPECT_TRUE(r == 0 || (r >= 500000 && r <= 500000 + visibleRows)) << r;
        EXPECT_FALSE(c >= 3 && c <= 4 && r >= 500001 && r <= 500002 && !(c == 3 && r == 500001))
            << "only the block's base cell: " << c << "," << r;
    }
    EXPECT_TRUE(std::find(drawn.begin(), drawn.end(), std::make_pair(3, 500001)) != drawn.end());
    EXPECT_LE(drawn.size(), static_cast<size_t>((visibleRows + 1) * 8));
}

// A cell's rectangle asked for in the middle of its paint is the one asked for at any other time, on a
// scrolled grid of uneven lines, wide grid lines, a hidden column and a merged block.
TEST_F(GridViewTest, ACellPaintedSeesTheRectangleItHasOutsideThePaint) {
    grid->SetColCount(12);
    grid->SetRowCount(40);
    grid->SetFixedRows(1);
    grid->SetFixedCols(1);
    grid->SetGridLineWidth(2);
    for (Integer c = 0; c < grid->ColCount(); ++c)
        grid->SetColWidths(c, 20 + 7 * (c % 4));
    for (Integer r = 0; r < grid->RowCount(); ++r)
        grid->SetRowHeights(r, 14 + 3 * (r % 3));
    grid->HideColumn(5);
    grid->MergeCells(6, 12, 2, 2);
    grid->SetLeftCol(3);
    grid->SetTopRow(10);
    std::vector<std::pair<TGridCoord, TRect>> seen;
    grid->OnDrawCell = [&](TObject*, Integer c, Integer r, TRect, TGridDrawState) {
        seen.emplace_back(TGridCoord{c, r}, grid->CellRect(c, r));
    };
    PaintAll();
    ASSERT_GT(seen.size(), 20u);
    for (const auto& [cell, rect] : seen) {
        const TRect outside = grid->CellRect(cell.X, cell.Y);
        EXPECT_TRUE(rect == outside) << cell.X << "," << cell.Y << ": " << rect.Left << "," << rect.Top << ","
                                     << rect.Right << "," << rect.Bottom << " against " << outside.Left << ","
                                     << outside.Top << "," << outside.Right << "," << outside.Bottom;
    }
}

TEST_F(GridViewTest, TheSizingLineDrawnTwiceLeavesThePixels) {
    grid->Repaint();
    std::vector<COLORREF> before;
    for (Integer y = 0; y < 200; ++y)
        before.push_back(Pixel(57, y));
    grid->DrawColSizingLine(57);
    int changed = 0;
    for (Integer y = 0; y < 200; ++y)
        changed += Pixel(57, y) != before[y];
    EXPECT_GT(changed, 50) << "a dotted line";
    grid->DrawColSizingLine(57);
    for (Integer y = 0; y < 200; ++y)
        ASSERT_EQ(Pixel(57, y), before[y]) << y;

    const COLORREF row = Pixel(150, 33);
    grid->DrawRowSizingLine(33);
    grid->DrawRowSizingLine(33);
    EXPECT_EQ(Pixel(150, 33), row);
}

// The gradient fills the client area below the last row only, and leaves the search footer its 32
// pixels at the bottom.
TEST_F(GridViewTest, TheOuterBackgroundFillsBelowTheRowsAndSparesTheSearchFooter) {
    grid->SetRowCount(3);
    grid->BackGround()->SetDisplay(bdGradientVert);
    grid->BackGround()->SetColor(clRed);
    grid->BackGround()->SetColorTo(clBlue);
    for (bool footer : {false, true}) {
        grid->SearchFooter()->SetVisible(footer);
        TBitmap bitmap(300, 200);
        grid->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()), 0);
        const TColor white = ColorToRGB(grid->Color());
        EXPECT_NE(bitmap.Canvas()->Pixels(150, 80), white) << "below the rows";
        EXPECT_NE(bitmap.Canvas()->Pixels(150, 80) & 0xFF, 0) << "red at the top";
        EXPECT_EQ(bitmap.Canvas()->Pixels(150, 190) == white, footer) << "the footer's strip, " << footer;
    }
}

TEST_F(GridViewTest, TheFocusFrameRingsTheCellAndHidesWhenItScrollsAway) {
    grid->SetRowCount(40);
    grid->SetRow(2);
    grid->SetCol(2);
    const TRect cell = grid->CellRect(2, 2);
    grid->ShowFocusWindow(cell);
    HWND frame = GetWindow(grid->Handle(), GW_HWNDFIRST);
    POINT origin{cell.Left, cell.Top};
    ClientToScreen(grid->Handle(), &origin);
    // The frame is the window FocusWindowGrid shows: find it among the top-level windows by its place.
    RECT want{origin.x - 4, origin.y - 4, origin.x + cell.Width() + 5, origin.y + cell.Height() + 5};
    bool found = false;
    for (HWND w = GetTopWindow(nullptr); w != nullptr; w = GetWindow(w, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(w, &r);
        if (IsWindowVisible(w) && EqualRect(&r, &want) &&
            (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED)) {
            found = true;
            frame = w;
        }
    }
    ASSERT_TRUE(found) << "a layered window 4 pixels out at the left and top, 5 at the right and bottom";
    grid->SetTopRow(20);
    grid->UpdateFocusWindow();
    EXPECT_FALSE(IsWindowVisible(frame));
}

// The grid's text first, the handler's drawing over it; with NoDefaultDraw only the handler's.
TEST_F(GridViewTest, OnDrawCellDrawsAfterTheTextOrAlone) {
    grid->SetCells(2, 2, u"text");
    grid->OnDrawCell = [&](TObject*, Integer c, Integer row, TRect r, TGridDrawState) {
        if (c != 2 || row != 2)
            return;
        grid->Canvas()->Brush()->SetColor(clLime);
        grid->Canvas()->FillRect(TRect(r.Left, r.Top, r.Left + 3, r.Top + 3));
    };
    for (bool alone : {false, true}) {
        grid->SetNoDefaultDraw(alone);
        std::vector<std::string> calls = PaintAll();
        const auto text = std::find_if(calls.begin(), calls.end(), [](const std::string& c) {
            return c.find("'text'") != std::string::npos;
        });
        const auto mark = std::find_if(calls.begin(), calls.end(), [](const std::string& c) {
            return c.find("#00FF00") != std::string::npos;
        });
        ASSERT_NE(mark, calls.end());
        EXPECT_EQ(text == calls.end(), alone) << Joined(calls);
        if (!alone) {
            EXPECT_LT(text - calls.begin(), mark - calls.begin());
        }
    }
}

// The focus rectangle (a dotted pattern XORed in) shows on the current cell only while the grid has the focus
// and does not select whole rows.
TEST_F(GridViewTest, TheFocusRectangleNeedsTheFocusAndCellSelection) {
    auto* other = new TEdit(form);
    other->SetBounds(0, 220, 80, 20);
    other->SetParent(form);
    struct Case {
        bool focused;
        bool rowSelect;
        bool drawn;
    };
    for (const Case& c : {Case{true, false, true}, Case{false, false, false}, Case{true, true, false}}) {
        TGridOptions options = grid->Options();
        if (c.rowSelect)
            options.Include(goRowSelect);
        else
            options.Exclude(goRowSelect);
        grid->SetOptions(options);
        if (c.focused)
            grid->SetFocus();
        else
            other->SetFocus();
        Application->ProcessMessages();
        EXPECT_EQ(Has(PaintOne(grid->Col(), grid->Row()), "rop=005A0049"), c.drawn)
            << c.focused << c.rowSelect;
    }
}

// Combo buttons show on every normal row of a combo column, drawn disabled on a read-only row, and the
// text's room ends 16 pixels earlier there.
TEST_F(GridViewTest, AlwaysVisibleComboButtonsTakeTheirRoomOnEveryRow) {
    for (Integer r = 1; r < 6; ++r)
        grid->SetCells(2, r, u"x");
    grid->SetReadOnly(2, 3, true);
    // The right edge of the text's clip rectangle.
    auto textRight = [](const std::vector<std::string>& calls) {
        for (const std::string& call : calls)
            if (call.find("'x'") != std::string::npos) {
                const size_t clip = call.find(" clip ");
                return std::stoi(call.substr(call.find('-', clip) + 1));
            }
        return -1;
    };
    const Integer plain = textRight(PaintOne(2, 1));
    grid->SetDefaultEditor(edComboList);
    grid->ControlLook()->SetDropDownAlwaysVisible(true);
    for (Integer r = 1; r < 6; ++r) {
        const std::vector<std::string> calls = PaintOne(2, r);
        EXPECT_EQ(textRight(calls), plain - 16) << r;
        // The button's arrow is dark while the cell can be edited.
        EXPECT_EQ(Has(calls, "brush=#333333"), r != 3) << r << "\n" << Joined(calls);
    }
}

} // namespace
