// What the grid tests share: a string grid that records its painted cells and notifications, on a
// shown form, with helpers that click and drag at cell positions.
#pragma once

#include <string>
#include <vector>

#include "tests/platform/framework/controls_testing.h"

#include "platform/framework/Grids.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/UString.h"
#include "platform/win32/wininput.h"
#include "tests/platform/framework/input_testing.h"

// Opens up the protected members the tests drive and records DrawCell and the notifications.
class TRecordingGrid : public TStringGrid {
public:
    using TCustomGrid::CalcDrawInfo;
    using TCustomGrid::CalcSizingState;
    using TCustomGrid::DeleteColumn;
    using TCustomGrid::DeleteRow;
    using TCustomGrid::DeleteRowBlock;
    using TCustomGrid::DeleteRowList;
    using TCustomGrid::InsertRowBlock;
    using TCustomGrid::InsertRowList;
    using TCustomGrid::InvalidateCell;
    using TCustomGrid::MoveColumn;
    using TCustomGrid::MoveRow;
    using TCustomGrid::MoveRowBlock;
    using TCustomGrid::ResetRowBlock;
    using TCustomGrid::SetGridState;
    using TCustomGrid::SetKeptScrollBars;
    using TStringGrid::ExchangeColStores;
    using TStringGrid::ExchangeRowStores;
    using TStringGrid::PermuteRowStores;
    using TStringGrid::PutRowCells;
    using TStringGrid::TakeRowCells;
    using TStringGrid::TStringGrid;

    struct PaintedCell {
        Integer col;
        Integer row;
        TGridDrawState state;
    };
    std::vector<PaintedCell> painted;
    std::vector<std::string> log; // notifications in order

protected:
    void DrawCell(Integer ACol, Integer ARow, const TRect& ARect, TGridDrawState AState) override {
        painted.push_back({ACol, ARow, AState});
        TStringGrid::DrawCell(ACol, ARow, ARect, AState);
    }
    void ColumnMoved(Integer fromIndex, Integer toIndex) override {
        log.push_back("ColumnMoved " + std::to_string(fromIndex) + ">" + std::to_string(toIndex) + " col " +
                      std::to_string(Col()) + " width " + std::to_string(ColWidths(toIndex)));
        TStringGrid::ColumnMoved(fromIndex, toIndex);
    }
    void RowMoved(Integer fromIndex, Integer toIndex) override {
        log.push_back("RowMoved " + std::to_string(fromIndex) + ">" + std::to_string(toIndex) + " row " +
                      std::to_string(Row()));
        TStringGrid::RowMoved(fromIndex, toIndex);
    }
    void ColWidthsChanged() override {
        log.push_back("ColWidthsChanged");
        TStringGrid::ColWidthsChanged();
    }
    void RowHeightsChanged() override {
        log.push_back("RowHeightsChanged");
        TStringGrid::RowHeightsChanged();
    }
    void SizeChanged(Integer oldColCount, Integer oldRowCount) override {
        log.push_back("SizeChanged " + std::to_string(oldColCount) + "x" + std::to_string(oldRowCount));
        TStringGrid::SizeChanged(oldColCount, oldRowCount);
    }
    void TopLeftChanged() override {
        log.push_back("TopLeftChanged " + std::to_string(LeftCol()) + "," + std::to_string(TopRow()));
        TStringGrid::TopLeftChanged();
    }
};

// A 10 x 20 grid with a 300 x 200 client area (no border, no scroll bars) on a shown form: columns are
// 64 pixels and rows 24, each followed by a 1-pixel line, so column c > 0 starts at 65 * c.
class GridTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 400, 300);
        FGrid = new TRecordingGrid(FForm);
        FGrid->SetBorderStyle(bsNone);
        FGrid->SetScrollBars(ssNone);
        FGrid->SetBounds(0, 0, 300, 200);
        FGrid->SetColCount(10);
        FGrid->SetRowCount(20);
        FGrid->SetParent(FForm);
        FForm->Show();
        Pump();
        FGrid->SetFocus();
        Pump();
        FGrid->log.clear();
    }
    void TearDown() override {
        FForm->Free();
        ControlsTest::TearDown();
    }
    TPoint ScreenPoint(int x, int y) const { return FGrid->ClientToScreen(TPoint(x, y)); }
    // The middle of a cell, in screen pixels.
    TPoint CellCentre(Integer col, Integer row) const {
        const TRect rect = FGrid->CellRect(col, row);
        return ScreenPoint((rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2);
    }
    void Down(TPoint p) {
        win32::input::MouseButton(win32::input::Button::Left, true, p.X, p.Y);
        Pump();
    }
    void MoveTo(TPoint p) {
        win32::input::MouseMove(p.X, p.Y);
        Pump();
    }
    void Up(TPoint p) {
        win32::input::MouseButton(win32::input::Button::Left, false, p.X, p.Y);
        Pump();
    }
    void Drag(TPoint from, TPoint to) {
        Down(from);
        MoveTo(to);
        Up(to);
    }
    // Presses key with the modifiers held.
    void PressWith(int key, TShiftState shift) {
        input_testing::PressWith(key, shift);
        Pump();
    }
    void Type(const std::u16string& text) {
        input_testing::TypeText(text);
        Pump();
    }
    static void Advance(UInt64 milliseconds) {
        Clock::Advance(milliseconds);
        Pump();
    }

    TForm* FForm = nullptr;
    TRecordingGrid* FGrid = nullptr;
};
