// What the in-place editing tests share: a full string grid with editing on, focused on a shown form,
// driven through the window manager's input entry points and the message loop.
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvGridUnit.h"
#include "grid/view/AdvGridInplaceEdit.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/win32/wininput.h"
#include "platform/win32/winuser.h"
#include "tests/platform/framework/input_testing.h"

namespace gridedit_fixtures {

// Opens up the protected steps the tests reach for.
class TEditGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::SelectCell;
    using TAdvStringGrid::SpecialEditorPlace;
    using TAdvStringGrid::TAdvStringGrid;
};

// A 6 x 8 grid of 64 x 22 cells with one fixed row and column and goEditing, 400 x 200 pixels, focused
// on a shown form beside a plain edit that can take the focus.
class EditTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedSettings = FormatSettings;
        win32::input::Reset();
        GridUnitStartup();
        form = new TForm(nullptr, 0);
        form->SetBounds(100, 100, 500, 300);
        grid = new TEditGrid(form);
        grid->SetBorderStyle(bsNone);
        grid->SetScrollBars(ssNone);
        grid->SetBounds(0, 0, 400, 200);
        grid->SetColCount(6);
        grid->SetRowCount(8);
        grid->SetDefaultRowHeight(22);
        grid->SetOptions(grid->Options() + TGridOptions{goEditing});
        grid->SetParent(form);
        other = new TEdit(form);
        other->SetBounds(410, 0, 80, 22);
        other->SetParent(form);
        form->Show();
        Pump();
        grid->SetFocus();
        Pump();
    }
    void TearDown() override {
        // The handlers the tests set hold their locals; closing the form must not reach them.
        grid->OnGetEditorType = nullptr;
        grid->OnCellValidate = nullptr;
        grid->OnEditingDone = nullptr;
        grid->OnEditCellDone = nullptr;
        grid->OnGetEditorProp = nullptr;
        grid->OnEditChange = nullptr;
        grid->OnSetEditText = nullptr;
        grid->OnGetEditText = nullptr;
        grid->OnGetEditMask = nullptr;
        grid->OnRowChanged = nullptr;
        grid->OnRowChanging = nullptr;
        grid->OnColChanging = nullptr;
        grid->OnCellChanging = nullptr;
        grid->OnClipboardPaste = nullptr;
        grid->OnClipboardBeforePasteCell = nullptr;
        grid->OnClipboardAfterPasteCell = nullptr;
        grid->OnControlComboList = nullptr;
        grid->OnControlComboSelect = nullptr;
        grid->OnControlEditDone = nullptr;
        form->Free();
        Pump();
        GridUnitShutdown();
        win32::input::Reset();
        FormatSettings = savedSettings;
    }
    static void Pump() { Application->ProcessMessages(); }
    void Press(int key, TShiftState shift = {}) {
        input_testing::PressWith(key, shift);
        Pump();
    }
    void Type(const std::u16string& text) {
        input_testing::TypeText(text);
        Pump();
    }
    // Makes the cell current and opens its editor with F2.
    void EditAt(Integer col, Integer row) {
        grid->SetCol(col);
        grid->SetRow(row);
        Press(VK_F2);
    }
    TAdvInplaceEdit* Editor() const { return dynamic_cast<TAdvInplaceEdit*>(grid->InplaceEditor()); }
    bool EditorShown() const { return Editor() != nullptr && Editor()->Visible(); }
    String EditorText() const { return Editor() != nullptr ? Editor()->Text() : String(); }

    TForm* form = nullptr;
    TEditGrid* grid = nullptr;
    TEdit* other = nullptr;
    TFormatSettings savedSettings;
};

} // namespace gridedit_fixtures
