// A grid shown on a form, so that text is measured on its canvas and repaints leave an update region
// that a test can read.
#pragma once

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/win32/winuser.h"

namespace advgrid_fixtures {

class ShownGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr, 0);
        form->SetBounds(0, 0, 600, 400);
        grid = new TAdvStringGrid(nullptr);
        grid->SetBounds(0, 0, 500, 300);
        grid->SetScrollBars(ssNone);
        grid->SetColCount(5);
        grid->SetRowCount(6);
        grid->SetParent(form);
        form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override {
        delete grid;
        delete form;
    }
    // Forgets the repaints so far.
    void Settle() { ValidateRect(grid->Handle(), nullptr); }
    // The displayed cell lies in the region waiting to be repainted.
    bool Repainting(Integer ACol, Integer ARow) {
        const TRect cell = grid->CellRect(ACol, ARow);
        RECT update{};
        if (!GetUpdateRect(grid->Handle(), &update, FALSE))
            return false;
        return update.left <= cell.Left && update.top <= cell.Top && update.right >= cell.Right &&
               update.bottom >= cell.Bottom;
    }
    // Measured on the grid's canvas with the grid's font.
    Integer TextWidth(const String& text) {
        grid->Canvas()->Font()->Assign(grid->Font());
        return grid->Canvas()->TextWidth(text);
    }
    Integer LineHeight() {
        grid->Canvas()->Font()->Assign(grid->Font());
        return grid->Canvas()->TextHeight(u"gh");
    }

    TForm* form = nullptr;
    TAdvStringGrid* grid = nullptr;
};

} // namespace advgrid_fixtures
