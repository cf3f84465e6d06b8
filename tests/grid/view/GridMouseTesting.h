// What the grid's mouse tests share: a shown form with a small full string grid, and presses, moves and
// releases sent through the window manager's input entry points at points of the grid's own cells.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvGridUnit.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Clock.h"
#include "platform/win32/wininput.h"
#include "platform/win32/winuser.h"

namespace gridmouse_fixtures {

// The protected state the tests look at.
class TMouseGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::DragOver;
    using TAdvStringGrid::FDragTmr;
    using TAdvStringGrid::TAdvStringGrid;
    bool DoubleClickPending() const { return FDblClk; }
    Integer HoverRowIndex() const { return FHoverRowIdx; }
};

// A 6 x 8 grid of 40 x 20 cells with one fixed row and column, 300 x 200 pixels without border or scroll
// bars, focused on a shown form.
class GridMouseTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32::input::Reset();
        GridUnitStartup();
        form = new TForm(nullptr, 0);
        form->SetBounds(100, 100, 400, 300);
        grid = new TMouseGrid(form);
        grid->SetScrollBars(ssNone);
        grid->SetBorderStyle(bsNone);
        grid->SetBounds(0, 0, 300, 200);
        grid->SetColCount(6);
        grid->SetRowCount(8);
        grid->SetDefaultColWidth(40);
        grid->SetDefaultRowHeight(20);
        grid->SetParent(form);
        form->Show();
        Pump();
        grid->SetFocus();
        Pump();
    }
    void TearDown() override {
        form->Free();
        Pump();
        win32::input::Reset();
    }

    static void Pump() { Application->ProcessMessages(); }
    static void Advance(UInt64 milliseconds) {
        Clock::Advance(milliseconds);
        Pump();
    }
    TPoint ToScreen(TPoint client) const { return grid->ClientToScreen(client); }
    // A point of a cell: its centre, or its top-left moved by (dx, dy).
    TPoint Centre(Integer col, Integer row) const {
        const TRect r = grid->CellRect(col, row);
        return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
    TPoint At(Integer col, Integer row, Integer dx, Integer dy) const {
        const TRect r = grid->CellRect(col, row);
        return TPoint(r.Left + dx, r.Top + dy);
    }
    void Down(TPoint p, win32::input::Button button = win32::input::Button::Left) {
        const TPoint s = ToScreen(p);
        win32::input::MouseButton(button, true, s.X, s.Y);
        Pump();
    }
    void Up(TPoint p, win32::input::Button button = win32::input::Button::Left) {
        const TPoint s = ToScreen(p);
        win32::input::MouseButton(button, false, s.X, s.Y);
        Pump();
    }
    void MoveTo(TPoint p) {
        const TPoint s = ToScreen(p);
        win32::input::MouseMove(s.X, s.Y);
        Pump();
    }
    void Click(TPoint p, win32::input::Button button = win32::input::Button::Left) {
        MoveTo(p);
        Down(p, button);
        Up(p, button);
        // Past the double-click time, so that the next click is a click of its own.
        Advance(GetDoubleClickTime() + 1);
    }
    void DoubleClick(TPoint p) {
        MoveTo(p);
        Down(p);
        Up(p);
        Down(p);
        Up(p);
        Advance(GetDoubleClickTime() + 1);
    }
    // Holds the modifier key while f runs.
    template <class F> void With(int key, F f) {
        win32::input::Key(key, true);
        Pump();
        f();
        win32::input::Key(key, false);
        Pump();
    }
    std::vector<std::string> Column(Integer col) {
        std::vector<std::string> texts;
        for (Integer r = grid->FixedRows(); r < grid->RowCount(); ++r)
            texts.push_back(StringToUtf8(grid->Cells(col, r)));
        return texts;
    }

    TForm* form = nullptr;
    TMouseGrid* grid = nullptr;
};

} // namespace gridmouse_fixtures
