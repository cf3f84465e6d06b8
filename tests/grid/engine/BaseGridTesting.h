// What the grid base tests share: a base grid that opens up its hooks and fields and records the text
// notifications, and a fixture that shows it on a form.
#pragma once

#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "grid/engine/BaseGrid.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/win32/wininput.h"

class TTestBaseGrid : public TBaseGrid {
public:
    using TBaseGrid::KeyDown;
    using TBaseGrid::TBaseGrid;
    using TCustomGrid::MoveColumn;
    using TCustomGrid::MoveRow;

    void SetNormalRowCount(Integer value) { FNormalRowCount = value; }
    void SetHideLastRow(bool value) { FHideLastRow = value; }

    std::vector<std::pair<Integer, Integer>> textChanged; // cells CellTextChanged ran for
    int lastRowChanged = 0;

protected:
    void CellTextChanged(Integer ACol, Integer ARow) override { textChanged.emplace_back(ACol, ARow); }
    void LastRowChanged() override { ++lastRowChanged; }
};

// A 10 x 10 grid without scroll bars on a shown form, holding the focus.
class ShownGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        win32::input::Reset();
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 800, 400);
        FGrid = new TTestBaseGrid(FForm);
        FGrid->SetScrollBars(ssNone);
        FGrid->SetBorderStyle(bsNone);
        FGrid->SetBounds(0, 0, 700, 300);
        FGrid->SetColCount(10);
        FGrid->SetRowCount(10);
        FGrid->SetParent(FForm);
        FForm->Show();
        Pump();
        FGrid->SetFocus();
        Pump();
    }
    void TearDown() override {
        FForm->Free();
        Pump();
        win32::input::Reset();
    }
    static void Pump() { Application->ProcessMessages(); }
    static void Press(int key) {
        win32::input::PressKey(key);
        Pump();
    }

    TForm* FForm = nullptr;
    TTestBaseGrid* FGrid = nullptr;
};
