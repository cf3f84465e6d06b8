// What the tests of the grid's keyboard, focus, validation, timer and tab advance share: a small full
// string grid focused on a shown form, driven through the window manager's input entry points, and a log
// of the events in the order they fire.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvGridUnit.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/framework/StdCtrls.h"
#include "platform/rtl/Clock.h"
#include "platform/win32/wininput.h"
#include "tests/platform/framework/input_testing.h"

// Opens up what the tests set up and read.
class TKeysGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::StoreOldCell;
    using TAdvStringGrid::TAdvStringGrid;

    // The state an edit start leaves: the cell's snapshot taken and an edit pending validation.
    void BeginEditing() {
        StoreOldCell(Col(), Row());
        FEditing = true;
    }
    // An edit pending validation against the snapshot already taken.
    void MarkEditing() { FEditing = true; }
    bool Editing() const { return FEditing; }
    Integer UpdateCount() const { return FUpdateCount; }
    void SetBlockKill(bool Value) { FBlockKill = Value; }
    // The selection changed while the disjunct row selection was being built.
    void MarkSelectionChanged() { FSelChange = true; }
    Integer PaintCounter() const { return FPaintID; }
};

// A 6 x 10 grid (columns 0 .. 5, rows 0 .. 9) of 64 x 22 pixel cells with one fixed row and column, 400 x
// 300 pixels without border or scroll bars, focused on a shown form beside an edit box.
class GridKeysTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32::input::Reset();
        GridUnitStartup();
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 600, 400);
        FGrid = new TKeysGrid(FForm);
        FGrid->SetBorderStyle(bsNone);
        FGrid->SetScrollBars(ssNone);
        FGrid->SetBounds(0, 0, 400, 300);
        FGrid->SetDefaultColWidth(64);
        FGrid->SetDefaultRowHeight(22);
        FGrid->SetColCount(6);
        FGrid->SetRowCount(10);
        FGrid->SetParent(FForm);
        FEdit = new TEdit(FForm);
        FEdit->SetBounds(450, 10, 100, 24);
        FEdit->SetParent(FForm);
        FForm->Show();
        Pump();
        FGrid->SetFocus();
        Pump();
    }
    void TearDown() override {
        FForm->Free();
        Pump();
        GridUnitShutdown();
        win32::input::Reset();
    }
    static void Pump() { Application->ProcessMessages(); }
    static void Advance(UInt64 milliseconds) {
        Clock::Advance(milliseconds);
        Pump();
    }
    void Press(int key, TShiftState shift = TShiftState{}) {
        input_testing::PressWith(key, shift);
        Pump();
    }
    void Type(Char c) {
        win32::input::TypeCharacter(c);
        Pump();
    }
    void Place(Integer col, Integer row) {
        FGrid->SetCol(col);
        FGrid->SetRow(row);
    }
    TPoint Current() const { return TPoint(FGrid->Col(), FGrid->Row()); }
    // Records OnKeyDown as "KeyDown <code>" into the log, leaving out the modifier keys' own presses.
    void LogKeyDown() {
        FGrid->OnKeyDown = [this](TObject*, Word& key, TShiftState) {
            if (key != VK_SHIFT && key != VK_CONTROL && key != VK_MENU)
                log.push_back("KeyDown " + std::to_string(key));
        };
    }
    TPoint ScreenPoint(int x, int y) const { return FGrid->ClientToScreen(TPoint(x, y)); }

    TForm* FForm = nullptr;
    TKeysGrid* FGrid = nullptr;
    TEdit* FEdit = nullptr;
    std::vector<std::string> log;
};
