// What the tests of the grid's window procedure, editor hand-over and balloons share: a full string grid
// on a shown form, driven through the window manager's input entry points and the message dispatch.
#pragma once

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvGridUnit.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Clock.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/wininput.h"
#include "tests/platform/framework/input_testing.h"

// Opens up what the tests set and read, and records the zoom steps the wheel asks for.
class TWndProcGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::DoneInplaceEdit;
    using TAdvStringGrid::EditDonePost;
    using TAdvStringGrid::TAdvStringGrid;

    std::vector<Integer> zooms;
    void Zoom(Integer x) override {
        zooms.push_back(x);
        TAdvStringGrid::Zoom(x);
    }
    // A descendant may take the wheel after the grid's step.
    bool hookHandles = false;
    void WheelHook(Integer Delta, bool& Handled) override { Handled = hookHandles; }

    void SetEditing(bool mode, TEditorType kind) {
        FEditMode = mode;
        FEditControlType = kind;
    }
    // The grid's inner control of that class (the combo editor, the search panel ...).
    template <class T> T* Inner() const {
        for (Integer i = 0; i < ComponentCount(); ++i)
            if (auto* found = dynamic_cast<T*>(Components(i)))
                return found;
        return nullptr;
    }
};

// A 30 x 100 grid of 400 x 300 pixels without border or scroll bars, focused on a shown form: rows are
// 22 pixels and columns 64, one fixed row and column; three lines per wheel notch.
class WndProcTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32::SystemSettings settings = win32::GetSystemSettings();
        settings.wheelScrollLines = 3;
        win32::SetSystemSettings(settings);
        win32::input::Reset();
        GridUnitStartup();
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 500, 400);
        FGrid = new TWndProcGrid(FForm);
        FGrid->SetBorderStyle(bsNone);
        FGrid->SetScrollBars(ssNone);
        FGrid->SetBounds(0, 0, 400, 300);
        FGrid->SetColCount(30);
        FGrid->SetRowCount(100);
        FGrid->SetParent(FForm);
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
        win32::ResetSystemSettings();
    }
    static void Pump() { Application->ProcessMessages(); }
    static void Advance(UInt64 milliseconds) {
        Clock::Advance(milliseconds);
        Pump();
    }
    TPoint ScreenPoint(int x, int y) const { return FGrid->ClientToScreen(TPoint(x, y)); }
    // Turns the wheel by notches (negative towards the user) with the mouse at a client point.
    void Wheel(int notches, TPoint at = TPoint(200, 150)) {
        const TPoint p = ScreenPoint(at.X, at.Y);
        win32::input::MouseWheel(notches * WHEEL_DELTA, false, p.X, p.Y);
        Pump();
    }
    void PressWith(int key, TShiftState shift) {
        input_testing::PressWith(key, shift);
        Pump();
    }
    // Puts the current cell there with the view at the top left.
    void Place(Integer col, Integer row, Integer topRow = 1) {
        FGrid->SetTopRow(topRow);
        FGrid->SetLeftCol(1);
        FGrid->SetCol(col);
        FGrid->SetRow(row);
        FGrid->SetTopRow(topRow);
    }

    TForm* FForm = nullptr;
    TWndProcGrid* FGrid = nullptr;
};
