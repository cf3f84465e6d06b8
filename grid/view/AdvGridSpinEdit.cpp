// The grid's spin in-place editor: the lazy accessor, filling it from a cell and bringing it up, the
// commit of its value through the typed cell setters, and the wrapper's keys, steps and focus loss.
#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvUtil.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/winuser.h"

// ---- The grid's side

TGridSpin* TAdvStringGrid::SpinEdit() {
    if (FEditSpin == nullptr) {
        auto spin = std::make_unique<TGridSpin>(this);
        spin->SetVisible(false);
        spin->SetEnabled(false);
        spin->SetBorderStyle(bsNone);
        spin->SetParent(this);
        spin->SetIsWinXP(FIsWinXP);
        FEditSpin = std::move(spin);
    }
    return FEditSpin.get();
}

void TAdvStringGrid::ShowSpinEditor(Integer ACol, Integer ARow) {
    const TEditorPlace place = SpecialEditorPlace(ACol, ARow);
    const Integer realCol = RealColIndex(ACol);
    TGridSpin* spin = SpinEdit();
    FSpinCancelled = false;
    spin->RecreateWnd();
    spin->SetBounds(place.L, place.T, place.W, place.H);
    spin->SetVisible(true);
    spin->SetEnabled(true);
    spin->SetColor(place.C);
    spin->SetExcelStyleDecimalSeparator(FExcelStyleDecimalSeparator);
    // The application sets the range, increments and formats for this cell before the value is read,
    // so that the cell's value is clamped to that range.
    DoGetEditorProp(realCol, ARow, FEditLink);

    // Filling the editor is the grid's change, not the user's: OnEditChange stays quiet.
    FNoEditChange = true;
    struct Quiet {
        TAdvStringGrid* grid;
        ~Quiet() { grid->FNoEditChange = false; }
    } quiet{this};
    const String& S = place.S;
    switch (FEditControlType) {
    case edSpinEdit: {
        // A text that is no integer starts the editor at 0, clamped to its range.
        Integer value = 0;
        if (!TryStrToInt(Trim(S), value))
            value = 0;
        spin->SetValue(value);
        spin->SetSpinType(sptNormal);
        break;
    }
    case edFloatSpinEdit: {
        Extended value = 0;
        Integer code = 0;
        Val(CleanNumberText(S), value, code);
        spin->SetFloatValue(code == 0 ? static_cast<double>(value) : 0.0);
        spin->SetSpinType(sptFloat);
        break;
    }
    case edTimeSpinEdit:
        spin->SetText(S);
        spin->SetSpinType(sptTime);
        break;
    case edDateSpinEdit: {
        TDateTime value = 0;
        if (S.empty() || !TryStrToDate(S, value))
            value = Now();
        spin->SetDateValue(value);
        spin->SetSpinType(sptDate);
        break;
    }
    default:
        break;
    }

    EditCtrl = spin;
    if (spin->CanFocus())
        spin->SetFocus();
    PostStartChar(spin);
    // A press on a spin button drawn in the cell opened the editor: that press steps it once.
    if (FSpinUpClick)
        spin->StepUp(false);
    if (FSpinDnClick)
        spin->StepDown(false);
    FSpinUpClick = false;
    FSpinDnClick = false;
}

void TAdvStringGrid::EndSpinEditor(Integer ACol, Integer ARow) {
    TGridSpin* spin = FEditSpin.get();
    if (spin == nullptr)
        return;
    // A second end of the same edit, or an end after Escape, leaves the cell as it is: the hidden
    // editor's value is stale by then.
    const bool write = FEditMode && !FSpinCancelled;
    FEditMode = false;
    FSpinCancelled = false;
    if (write) {
        if (spin->AllowEmptyValue() && Trim(spin->Text()).empty()) {
            SetCells(ACol, ARow, String());
        } else {
            switch (FEditControlType) {
            case edSpinEdit:
                SetInts(ACol, ARow, spin->Value());
                break;
            case edFloatSpinEdit:
                SetFloats(ACol, ARow, spin->FloatValue());
                break;
            case edTimeSpinEdit:
                SetEditTextReal(ACol, ARow, spin->Text());
                break;
            case edDateSpinEdit:
                SetDates(ACol, ARow, spin->DateValue());
                break;
            default:
                break;
            }
        }
    }
    // An edit ended by the grid (a move of the current cell) leaves the focus with the grid, not with a
    // hidden editor.
    if (spin->HandleAllocated() && GetFocus() == spin->WindowHandle() && CanFocus())
        SetFocus();
    spin->SetVisible(false);
    spin->SetEnabled(false);
}

// ---- The editor's side

TGridSpin::TGridSpin(TComponent* owner) : TAsgSpinEdit(owner) {
    SetMaxValue(100);
    SetMinValue(0);
    SetIncrement(1);
}

TAdvStringGrid* TGridSpin::Grid() const {
    auto* grid = dynamic_cast<TAdvStringGrid*>(Owner());
    if (grid == nullptr || grid->ComponentState().Contains(csDestroying))
        return nullptr;
    return grid;
}

void TGridSpin::ClampRange() {
    switch (SpinType()) {
    case sptNormal:
        if (MinValue() != MaxValue()) {
            const Integer value = Value();
            if (value < MinValue() || value > MaxValue())
                SetValue(value);
        }
        break;
    case sptFloat:
        if (MinFloatValue() != MaxFloatValue()) {
            const double value = FloatValue();
            if (!(value >= MinFloatValue()) || value > MaxFloatValue())
                SetFloatValue(value);
        }
        break;
    default:
        // Dates and times are not clamped here.
        break;
    }
}

void TGridSpin::FireSpinClick(bool up) {
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr)
        return;
    switch (SpinType()) {
    case sptNormal:
        if (grid->OnSpinClick)
            grid->OnSpinClick(grid, grid->Col(), grid->Row(), Value(), up);
        break;
    case sptFloat:
        if (grid->OnFloatSpinClick)
            grid->OnFloatSpinClick(grid, grid->Col(), grid->Row(), FloatValue(), up);
        break;
    case sptDate:
        if (grid->OnDateSpinClick)
            grid->OnDateSpinClick(grid, grid->Col(), grid->Row(), DateValue(), up);
        break;
    case sptTime:
        if (grid->OnTimeSpinClick)
            grid->OnTimeSpinClick(grid, grid->Col(), grid->Row(), TimeValue(), up);
        break;
    }
}

void TGridSpin::UpButtonClick(TObject* sender) {
    TAsgSpinEdit::UpButtonClick(sender);
    FireSpinClick(true);
}

void TGridSpin::DownButtonClick(TObject* sender) {
    TAsgSpinEdit::DownButtonClick(sender);
    FireSpinClick(false);
}

bool TGridSpin::RangeKey(Word key) {
    const bool integer = SpinType() == sptNormal;
    const bool floating = SpinType() == sptFloat;
    switch (key) {
    case VK_PRIOR:
        if (integer && Value() + Increment() <= MaxValue())
            SetValue(Value() + Increment());
        else if (floating && FloatValue() + IncrementFloat() <= MaxFloatValue())
            SetFloatValue(FloatValue() + IncrementFloat());
        return true;
    case VK_NEXT:
        if (integer && Value() - Increment() >= MinValue())
            SetValue(Value() - Increment());
        else if (floating && FloatValue() - IncrementFloat() >= MinFloatValue())
            SetFloatValue(FloatValue() - IncrementFloat());
        return true;
    case VK_END:
        if (integer)
            SetValue(MinValue());
        else if (floating)
            SetFloatValue(MinFloatValue());
        return true;
    case VK_HOME:
        if (integer)
            SetValue(MaxValue());
        else if (floating)
            SetFloatValue(MaxFloatValue());
        return true;
    default:
        return false;
    }
}

void TGridSpin::KeyDown(Word& key, TShiftState shift) {
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr) {
        TAsgSpinEdit::KeyDown(key, shift);
        return;
    }
    // The page keys reach this handler only with Alt held: the editor steps on them plainly.
    if (RangeKey(key) && grid->OnSpinClick)
        grid->OnSpinClick(grid, grid->Col(), grid->Row(), Value(), false);

    switch (key) {
    case VK_ESCAPE: {
        // The cell keeps the text it had when the edit started; the editor shows it until it hides.
        grid->FNoEditChange = true;
        SetText(grid->FCellCache);
        grid->FNoEditChange = false;
        grid->FSpinCancelled = true;
        // With ShowEditProcess the cell followed the steps: it gets its text back.
        if (grid->GetCurrentCell() != grid->FCellCache)
            grid->RestoreCellCache();
        break;
    }
    case VK_TAB:
    case VK_RETURN:
    case VK_UP:
    case VK_DOWN: {
        ClampRange();
        grid->SetCurrentCell(Text());
        if (!grid->ValidateCell(Text())) {
            // The grid has put the accepted text back into the cell; the editor stays open on it.
            SetText(grid->GetCurrentCell());
            SetSelStart(static_cast<Integer>(Text().size()));
            key = 0;
            Repaint();
            return;
        }
        SetText(grid->GetCurrentCell());
        if (key == VK_TAB && grid->Options().Contains(goTabs)) {
            grid->HideInplaceEdit();
            if (grid->CanFocus())
                grid->SetFocus();
            grid->TabAdvance(GetKeyState(VK_SHIFT) < 0);
            return;
        }
        break;
    }
    default:
        TAsgSpinEdit::KeyDown(key, shift);
        return;
    }

    const Word ended = key;
    grid->DoneInplaceEdit(ended, shift);
    // Enter moves on and edits there; Escape ends editing whatever the advance settings say.
    const TNavigation* nav = grid->Navigation();
    if (ended != VK_ESCAPE && nav->AdvanceOnEnter() && nav->AdvanceAutoEdit())
        grid->ShowInplaceEdit();
    key = 0;
    TAsgSpinEdit::KeyDown(key, shift);
}

void TGridSpin::KeyPress(Char& key) {
    if (key == VK_ESCAPE) {
        key = 0;
        return;
    }
    // Enter ended the edit at its key-down; its character goes nowhere.
    if (key == VK_RETURN)
        return;
    TAsgSpinEdit::KeyPress(key);
}

void TGridSpin::Dispatch(TMessage& message) {
    if (message.Msg == WM_CHAR && (message.WParam == VK_TAB || message.WParam == VK_RETURN)) {
        message.Result = 0;
        return;
    }
    TAsgSpinEdit::Dispatch(message);
}

void TGridSpin::CMWantSpecialKey(TMessage& message) {
    TAsgSpinEdit::CMWantSpecialKey(message);
    TAdvStringGrid* grid = Grid();
    if (message.WParam == VK_RETURN || message.WParam == VK_ESCAPE)
        message.Result = 1;
    else if (message.WParam == VK_TAB && grid != nullptr && grid->Options().Contains(goTabs))
        message.Result = 1;
}

void TGridSpin::Change() {
    TAsgSpinEdit::Change();
    TAdvStringGrid* grid = Grid();
    if (grid != nullptr && !grid->FNoEditChange && grid->OnEditChange)
        grid->OnEditChange(grid, grid->Col(), grid->Row(), Text());
}

void TGridSpin::DoExit() {
    TAdvStringGrid* grid = Grid();
    // A window going away (the form closing, the editor made again) takes the focus without the user
    // leaving the cell: nothing is stored then.
    const bool goingAway = ControlState().Contains(csDestroyingHandle) || grid == nullptr ||
                           grid->ControlState().Contains(csDestroyingHandle);
    if (!goingAway) {
        ClampRange();
        grid->HideInplaceEdit();
    }
    TAsgSpinEdit::DoExit();
}
