// The grid's default text in-place editor: the framework's editor given the cell's looks, the character
// rules of the text kinds, the length limit, validated moves out of the cell, cursor walking, lookup
// completion, the clipboard events and rows that grow while typing.
#include "grid/view/AdvGridInplaceEdit.h"

#include <algorithm>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvGridUnit.h"
#include "grid/engine/AdvUtil.h"
#include "platform/framework/Clipbrd.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/SysStrings.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/winuser.h"

DEFINE_CLASS(TAdvInplaceEdit)

namespace {

bool IsDigit(Char c) {
    return c >= u'0' && c <= u'9';
}

// An optional leading minus and at least one digit.
bool IsIntegerText(StringView text) {
    size_t i = !text.empty() && text[0] == u'-' ? 1 : 0;
    if (i == text.size())
        return false;
    for (; i < text.size(); ++i)
        if (!IsDigit(text[i]))
            return false;
    return true;
}

// An integer text, or one with a single decimal separator among its digits.
bool IsDecimalText(StringView text) {
    const Char separator = GetDecimalSeparator();
    size_t i = !text.empty() && text[0] == u'-' ? 1 : 0;
    bool digits = false;
    bool separatorSeen = false;
    for (; i < text.size(); ++i) {
        if (IsDigit(text[i])) {
            digits = true;
        } else if (text[i] == separator && !separatorSeen) {
            separatorSeen = true;
        } else {
            return false;
        }
    }
    return digits;
}

bool HoldsMinus(StringView text) {
    return text.find(u'-') != StringView::npos;
}

// One typed character in upper or lower case; a letter whose case takes more characters stays as typed.
Char TypedCase(Char c, bool upper) {
    const String changed = upper ? AnsiUpperCase(StringView(&c, 1)) : AnsiLowerCase(StringView(&c, 1));
    return changed.size() == 1 ? changed[0] : c;
}

bool IsTextLineKind(TEditorType kind) {
    return kind == edNormal || kind == edCapital || kind == edMixedCase || kind == edLowerCase ||
           kind == edUpperCase || kind == edValidChars;
}

} // namespace

TAdvInplaceEdit::TAdvInplaceEdit(TComponent* AOwner) : TInplaceEdit(AOwner) {
    FAltBack = false;
}

TAdvStringGrid* TAdvInplaceEdit::Grid() const {
    // Null while the grid is being destroyed: the editor then behaves as the framework's.
    return dynamic_cast<TAdvStringGrid*>(Owner());
}

void TAdvInplaceEdit::SetVAlign(bool Value) {
    FValign = Value;
    RecreateWnd();
}

void TAdvInplaceEdit::SetWordWrap(bool Value) {
    FWordWrap = Value;
    RecreateWnd();
}

// ---- Window

void TAdvInplaceEdit::CreateParams(TCreateParams& params) {
    TInplaceEdit::CreateParams(params);
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr)
        return;
    FWordWrap = grid->WordWrap();
    if (FValign)
        params.Style |= ES_RIGHT;
    if (grid->EditControl() == edPassword) {
        params.Style |= ES_PASSWORD;
        params.Style &= ~static_cast<DWORD>(ES_MULTILINE);
    }
    if (FWordWrap)
        params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    params.Style |= ES_WANTRETURN;
    Workmode = true;
}

void TAdvInplaceEdit::CreateWnd() {
    TInplaceEdit::CreateWnd();
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr)
        return;
    if (grid->EditControl() == edPassword)
        SendMessageW(Handle(), EM_SETPASSWORDCHAR, grid->PasswordChar(), 0);
    FLengthLimit = static_cast<SmallInt>(grid->MaxEditLength());
}

void TAdvInplaceEdit::BoundsChanged() {
    TInplaceEdit::BoundsChanged();
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr)
        return;
    TRect R = grid->GetEditRect(grid->Col(), grid->Row());
    if (grid->UseRightToLeftAlignment()) {
        R.Left += 1;
        if (grid->IsMergedCell(grid->RealColIndex(grid->Col()), grid->Row())) {
            // The block is mirrored against the first visible cell, keeping its width.
            const TRect first = grid->CellRect(grid->LeftCol(), grid->TopRow());
            const Integer width = R.Right - R.Left;
            R.Left = first.Left + first.Right - R.Right + 1;
            R.Right = R.Left + width;
        }
    }
    const Integer lineWidth = grid->GridLineWidth();
    const Integer A = lineWidth > 1 ? 1 + lineWidth / 2 : 1;
    SetWindowPos(Handle(), nullptr, R.Left, R.Top, R.Right - R.Left - A, R.Bottom - R.Top - A,
                 SWP_SHOWWINDOW | SWP_NOREDRAW | SWP_NOZORDER);
    UpdateBounds();
    RECT rect{3, 3, Width() - 4, Height() - A};
    SendMessageW(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
    if (lineWidth > 1)
        grid->Invalidate();
}

void TAdvInplaceEdit::UpdateContents() {
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr) {
        TInplaceEdit::UpdateContents();
        return;
    }
    // The window's styles follow the cell: a password cell and a right-aligned one need their own.
    TAlignment hAlign = taLeftJustify;
    TVAlignment vAlign = vtaTop;
    const TPoint base = grid->BaseCell(grid->RealColIndex(grid->Col()), grid->Row());
    grid->ResolveCellAlignment(base.X, base.Y, hAlign, vAlign);
    const bool password = grid->EditControl() == edPassword;
    const bool passwordWindow =
        HandleAllocated() && (GetWindowLongW(WindowHandle(), GWL_STYLE) & ES_PASSWORD);
    if ((hAlign == taRightJustify) != FValign || (HandleAllocated() && password != passwordWindow)) {
        FValign = hAlign == taRightJustify;
        RecreateWnd();
    }
    grid->FNoEditChange = true;
    try {
        TInplaceEdit::UpdateContents();
    } catch (...) {
        grid->FNoEditChange = false;
        throw;
    }
    grid->FNoEditChange = false;
    ApplyCellLooks();
    if (HandleAllocated() && WM_GRIDEDITPROP != 0)
        PostMessageW(WindowHandle(), WM_GRIDEDITPROP, 0, 0);
}

void TAdvInplaceEdit::ApplyCellLooks() {
    TAdvStringGrid* grid = Grid();
    TCanvas* canvas = grid->Canvas();
    TGridDrawState state;
    TColor colorTo = clNone;
    TColor mirrorColor = clNone;
    TColor mirrorColorTo = clNone;
    TAlignment hAlign = taLeftJustify;
    TVAlignment vAlign = vtaTop;
    bool wordWrap = grid->WordWrap();
    TCellGradientDirection direction = GradientVertical;
    grid->GetVisualProperties(grid->Col(), grid->Row(), state, false, false, true, canvas->Brush(), colorTo,
                              mirrorColor, mirrorColorTo, canvas->Font(), hAlign, vAlign, wordWrap,
                              direction);
    const TColor color = canvas->Brush()->Color();
    SetColor(color == clNone ? grid->Color() : color);
    Font()->Assign(canvas->Font());
    FColE = grid->Col();
    FRowE = grid->Row();
    SetAlignment(hAlign);
    grid->DoGetEditorProp(grid->RealColIndex(FColE), FRowE, nullptr);
}

void TAdvInplaceEdit::WndProc(TMessage& Message) {
    if (Grid() == nullptr) {
        TInplaceEdit::WndProc(Message);
        return;
    }
    if (WM_GRIDEDITPROP != 0 && Message.Msg == WM_GRIDEDITPROP) {
        // The framework has finished showing the editor: the looks are applied once more over what it set.
        if (Grid()->EditMode())
            ApplyCellLooks();
        return;
    }
    if (Message.Msg == WM_SYSKEYDOWN && Message.WParam == VK_BACK)
        FAltBack = true;
    else if (Message.Msg == WM_SYSKEYUP && Message.WParam == VK_BACK)
        FAltBack = false;
    TInplaceEdit::WndProc(Message);
}

void TAdvInplaceEdit::Dispatch(TMessage& message) {
    if (Grid() == nullptr) {
        TInplaceEdit::Dispatch(message);
        return;
    }
    switch (message.Msg) {
    case WM_PASTE:
        WMPaste(message);
        break;
    case WM_COPY:
        WMCopyCut(message, false);
        break;
    case WM_CUT:
        WMCopyCut(message, true);
        break;
    default:
        TInplaceEdit::Dispatch(message);
        break;
    }
}

// ---- Caret

Integer TAdvInplaceEdit::CaretPos() {
    DWORD selStart = 0;
    DWORD selEnd = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    return static_cast<Integer>(selStart);
}

bool TAdvInplaceEdit::HasSelection() {
    DWORD selStart = 0;
    DWORD selEnd = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    return selStart != selEnd;
}

void TAdvInplaceEdit::SetCaret(Integer Pos) {
    SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(Pos), static_cast<LPARAM>(Pos));
}

bool TAdvInplaceEdit::CaretOnFirstLine() {
    return SendMessageW(Handle(), EM_LINEFROMCHAR, static_cast<WPARAM>(CaretPos()), 0) == 0;
}

bool TAdvInplaceEdit::CaretOnLastLine() {
    const LRESULT lines = SendMessageW(Handle(), EM_GETLINECOUNT, 0, 0);
    return SendMessageW(Handle(), EM_LINEFROMCHAR, static_cast<WPARAM>(CaretPos()), 0) >= lines - 1;
}

void TAdvInplaceEdit::Restore(Integer CaretAt) {
    TAdvStringGrid* grid = Grid();
    const String oldCellText = grid->FOldCellText;
    SetText(grid->FNewCellText);
    if (grid->Navigation()->EditSelectAll())
        SelectAll();
    else
        SetCaret(CaretAt < 0 ? static_cast<Integer>(Text().size()) : CaretAt);
    grid->FOldCellText = oldCellText;
}

// ---- Focus

void TAdvInplaceEdit::WMSetFocus(TMessage& Message) {
    TInplaceEdit::WMSetFocus(Message);
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr)
        return;
    FGotFocus = true;
    grid->FNoEditChange = false;
    FLengthLimit = static_cast<SmallInt>(grid->MaxEditLength());
    SetMaxLength(grid->MaxEditLength());
    const Integer length = static_cast<Integer>(Text().size());
    if (!EditMask().empty() && !grid->LButFlg && grid->Navigation()->ImproveMaskSel()) {
        SendMessageW(Handle(), EM_SETSEL, 0, 1);
        return;
    }
    if (!grid->Navigation()->EditSelectAll())
        SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(length), static_cast<LPARAM>(length + 1));
    if (grid->LButFlg) {
        POINT pt{};
        GetCursorPos(&pt);
        ::ScreenToClient(Handle(), &pt);
        RECT client{};
        GetClientRect(Handle(), &client);
        if (PtInRect(&client, pt)) {
            const LRESULT hit = SendMessageW(Handle(), EM_CHARFROMPOS, 0, MAKELPARAM(pt.x, pt.y));
            // Posted: the framework grid's editor mode moves the caret to the end once the editor has
            // the focus, and the caret under the mouse must come after that.
            const WPARAM caret = LOWORD(hit);
            PostMessageW(Handle(), EM_SETSEL, caret, static_cast<LPARAM>(caret));
            grid->LButFlg = false;
        }
    }
}

void TAdvInplaceEdit::WMKillFocus(TMessage& Message) {
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr) {
        TInplaceEdit::WMKillFocus(Message);
        return;
    }
    grid->FStartEditChar = 0;
    if (grid->LookupHistory() && grid->LookupItems()->IndexOf(Text()) < 0)
        grid->LookupItems()->Add(Text());
    grid->FormulaEditHook(false);
    TInplaceEdit::WMKillFocus(Message);
    // A window going away (the form closing, the grid or the editor made again) takes the focus with
    // it without the user leaving the cell: nothing is validated, stored or reported then.
    if (ControlState().Contains(csDestroyingHandle) || grid->ControlState().Contains(csDestroyingHandle) ||
        grid->ComponentState().Contains(csDestroying))
        return;
    if (FAltBack) {
        // The key's release goes to the window that took the focus, so the flag covers this one loss.
        FAltBack = false;
        return;
    }
    const HWND target = reinterpret_cast<HWND>(Message.WParam);
    // The framework grid loads the editor again over the same cell by hiding and showing it (a cell
    // written while it is edited): the edit goes on.
    if (grid->HandleAllocated() && target == grid->WindowHandle() && grid->EditorMode() &&
        !IsWindowVisible(Handle()) && FColE == grid->Col() && FRowE == grid->Row())
        return;
    if (!grid->HandleAllocated() || target != grid->WindowHandle()) {
        // The focus leaves for another window: the text is validated, and whatever the answer the edit
        // ends on the cell it was made in.
        try {
            grid->ValidateCell(Text());
            SetText(grid->GetCurrentCell());
        } catch (...) {
            grid->HideInplaceEdit();
            grid->FEditing = false;
            grid->FEditMode = false;
            throw;
        }
        grid->HideInplaceEdit();
        grid->FEditing = false;
        grid->FEditMode = false;
        grid->SelectCell(FColE, FRowE);
    }
    grid->FNoEditChange = true;
    SetText(grid->GetCurrentCell());
    grid->FNoEditChange = false;
    grid->EditCaretHook(Text(), TPoint(-1, -1), -1);
    if (FGotFocus) {
        FGotFocus = false;
        grid->EditDonePost(grid->RealColIndex(FColE), FRowE);
    }
}

void TAdvInplaceEdit::Change() {
    TInplaceEdit::Change();
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr)
        return;
    if (!grid->FNoEditChange && grid->OnEditChange)
        grid->OnEditChange(grid, grid->Col(), grid->Row(), Text());
}

void TAdvInplaceEdit::DblClick() {
    TInplaceEdit::DblClick();
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr)
        return;
    if (grid->OnDblClickCell)
        grid->OnDblClickCell(grid, grid->Row(), grid->Col());
}

// ---- Keys

void TAdvInplaceEdit::WMKeyDown(TMessage& Message) {
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr) {
        TInplaceEdit::WMKeyDown(Message);
        return;
    }
    const TNavigation* nav = grid->Navigation();
    const Word key = static_cast<Word>(Message.WParam);
    const TShiftState shift = KeyDataToShiftState(static_cast<LONG>(Message.LParam));
    const bool ctrl = shift.Contains(ssCtrl);
    const bool multiline = grid->WordWrap() || grid->MultilineCells();
    grid->EditWMKeyDownHook(Message);
    FOldSelStart = CaretPos();
    FLeavingRow = false;
    FEnterRefused = false;

    if (key == VK_ESCAPE) {
        SetText(grid->FCellCache);
        TInplaceEdit::WMKeyDown(Message);
        grid->HideInplaceEdit();
        // What follows matches no other key, and the key handling's second pass meets a hidden editor.
        return;
    }
    if (key == u'A' && ctrl && !shift.Contains(ssAlt)) {
        SelectAll();
        Message.Result = 1;
        return;
    }
    if (key == VK_RETURN && ctrl && !(nav->AllowCtrlEnter() && multiline)) {
        Message.Result = 1;
        if (grid->OnKeyDown) {
            Word enter = VK_RETURN;
            grid->OnKeyDown(grid, enter, TShiftState{ssCtrl});
        }
        return;
    }
    const String T = Text();
    const String oldCellText = grid->FOldCellText;

    if (key == VK_TAB && grid->EditorWantsTab()) {
        if (grid->ValidateCell(T)) {
            SetText(grid->FNewCellText);
            grid->HideInplaceEdit();
            if (grid->Options().Contains(goTabs)) {
                grid->TabAdvance(shift.Contains(ssShift));
                Message.Result = 1;
            } else {
                PostMessageW(grid->Handle(), WM_KEYDOWN, VK_TAB, 0);
            }
        } else {
            Restore(-1);
            grid->FOldCellText = oldCellText;
            if (grid->OnKeyDown) {
                Word tab = VK_TAB;
                grid->OnKeyDown(grid, tab, shift.Contains(ssShift) ? TShiftState{ssShift} : TShiftState{});
            }
        }
        return;
    }
    const Integer length = static_cast<Integer>(T.size());
    if (nav->CursorWalkEditor() && shift.Contains(ssShift) &&
        ((key == VK_LEFT && FOldSelStart == 0) || (key == VK_RIGHT && FOldSelStart == length))) {
        grid->FValidating = true;
        grid->SetCurrentCell(T);
        grid->FValidating = false;
        if (grid->ValidateCell(T)) {
            SetText(grid->FNewCellText);
            grid->HideInplaceEdit();
            if (grid->CanFocus())
                grid->SetFocus();
        } else {
            Restore(length);
            Invalidate();
        }
        return;
    }
    if ((key == VK_UP && CaretOnFirstLine()) || (key == VK_DOWN && CaretOnLastLine())) {
        grid->FValidating = true;
        grid->SetCurrentCell(T);
        grid->FValidating = false;
        if (!grid->ValidateCell(T)) {
            Restore(length);
            Invalidate();
            return;
        }
        SetText(grid->FNewCellText);
        FLeavingRow = true;
    }
    if (key == VK_RETURN && !nav->LineFeedOnEnter() && !ctrl) {
        if (!grid->ValidateCell(T)) {
            Restore(-1);
            // The Enter character that follows is not validated a second time.
            FEnterRefused = true;
            return;
        }
        SetText(grid->FNewCellText);
    }
    if (key == VK_HOME && !ctrl && !shift.Contains(ssShift))
        SetCaret(0);
    if (key == VK_END && !ctrl && !shift.Contains(ssShift))
        SetCaret(static_cast<Integer>(Text().size()));

    if (key == VK_RETURN && ctrl && nav->LineFeedOnEnter()) {
        TMessage lineBreak{WM_CHAR, u'\r', 0, 0};
        DefaultHandler(lineBreak);
        return;
    }
    TInplaceEdit::WMKeyDown(Message);
    if (FLeavingRow && grid->MouseActions()->DisjunctRowSelect()) {
        grid->ClearRowSelectAll();
        grid->SetRowSelect(grid->Row(), true);
    }
}

void TAdvInplaceEdit::KeyDown(Word& Key, TShiftState Shift) {
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr) {
        TInplaceEdit::KeyDown(Key, Shift);
        return;
    }
    FSelKeyDown = CaretPos();
    if (Key == VK_BACK || Key == VK_DELETE) {
        Workmode = false;
    } else if ((Key == VK_UP && !CaretOnFirstLine()) || (Key == VK_DOWN && !CaretOnLastLine())) {
        // The caret moves between the lines of the text.
        return;
    } else if (Key == VK_RETURN) {
        const bool multiline = grid->WordWrap() || grid->MultilineCells();
        if (!grid->Navigation()->AllowCtrlEnter() && multiline)
            grid->FEditing = false;
        if ((Shift.Contains(ssCtrl) || Shift.Contains(ssShift)) && grid->SizeWhileTyping()->Height() &&
            grid->MultilineCells()) {
            // The row grows for the new line.
            const bool synch = grid->ColumnSize()->SynchWithGrid();
            grid->ColumnSize()->SetSynchWithGrid(false);
            const Integer lines = static_cast<Integer>(std::count(Text().begin(), Text().end(), u'\n')) + 2;
            if (lines < grid->GetMaxLinesInRow(grid->Row()))
                grid->AutoSizeRow(grid->Row(), 0);
            else
                grid->SizeRowToLines(grid->Row(), lines, grid->XYOffset().Y);
            grid->ColumnSize()->SetSynchWithGrid(synch);
            if (grid->OnEndRowSize)
                grid->OnEndRowSize(grid, grid->Row());
        }
    } else {
        Workmode = true;
    }
    grid->EditKeyDownHook(Key, Shift);
    TInplaceEdit::KeyDown(Key, Shift);
}

bool TAdvInplaceEdit::CursorWalk(bool Forward) {
    TAdvStringGrid* grid = Grid();
    const TNavigation* nav = grid->Navigation();
    const Integer col = grid->Col();
    const Integer row = grid->Row();
    Integer next = col - 1;
    if (Forward) {
        const TPoint span = grid->CellSpan(grid->RealColIndex(col), row);
        next = col + std::max(span.X, 0) + 1;
    }
    const Integer lastCol = grid->ColCount() - 1 - (Forward ? grid->FixedRightCols() : 0);
    if (next >= grid->FixedCols() && next <= lastCol && !grid->IsFixed(next, row) &&
        grid->IsClickControlCell(grid->RealColIndex(next), row)) {
        if (grid->ValidateCell(Text())) {
            grid->HideInplaceEdit();
            grid->SetCol(next);
        }
        return true;
    }
    const String typed = Text();
    if (!grid->ValidateCell(typed)) {
        SetText(typed);
        SelectAll();
        return true;
    }
    grid->HideInplaceEdit();
    TNavigation* navigation = grid->Navigation();
    const TAdvanceDirection direction = navigation->AdvanceDirection();
    if (direction != adLeftRight && direction != adLeftRightInRow)
        navigation->SetAdvanceDirection(adLeftRight);
    const bool alwaysEdit = nav->CursorWalkAlwaysEdit();
    grid->AdvanceCell(col, row, alwaysEdit, false, Forward, alwaysEdit, true);
    navigation->SetAdvanceDirection(direction);
    if (!alwaysEdit)
        grid->HideInplaceEdit();
    return true;
}

void TAdvInplaceEdit::KeyUp(Word& Key, TShiftState Shift) {
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr) {
        TInplaceEdit::KeyUp(Key, Shift);
        return;
    }
    if (grid->Navigation()->CursorWalkEditor() && !HasSelection() && !Shift.Contains(ssShift)) {
        const Word key = Key;
        const Integer caret = CaretPos();
        if (key == VK_LEFT && FSelKeyDown == 0 && caret == 0) {
            Key = 0;
            CursorWalk(false);
            return;
        }
        if (key == VK_RIGHT && FOldSelStart == static_cast<Integer>(Text().size()) &&
            caret == static_cast<Integer>(Text().size())) {
            Key = 0;
            CursorWalk(true);
            return;
        }
        if (key == VK_LEFT || key == VK_RIGHT)
            return;
    }
    TInplaceEdit::KeyUp(Key, Shift);
    LookupComplete();
    SizeWhileTypingStep();
}

void TAdvInplaceEdit::SizeWhileTypingStep() {
    TAdvStringGrid* grid = Grid();
    if (grid->SizeWhileTyping()->Width())
        grid->AutoSizeCol(grid->RealColIndex(grid->Col()), 0);
    if (grid->SizeWhileTyping()->Height() && grid->WordWrap()) {
        const bool synch = grid->ColumnSize()->SynchWithGrid();
        grid->ColumnSize()->SetSynchWithGrid(false);
        grid->AutoSizeRow(grid->Row(), 0);
        grid->ColumnSize()->SetSynchWithGrid(synch);
        if (grid->OnEndRowSize)
            grid->OnEndRowSize(grid, grid->Row());
    }
}

void TAdvInplaceEdit::WMKeyUp(TMessage& Message) {
    TInplaceEdit::WMKeyUp(Message);
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr)
        return;
    const Integer caret = CaretPos();
    if (caret > 0) {
        const LRESULT pos = SendMessageW(Handle(), EM_POSFROMCHAR, static_cast<WPARAM>(caret - 1), 0);
        grid->EditCaretHook(Text(), TPoint(static_cast<SHORT>(LOWORD(pos)), static_cast<SHORT>(HIWORD(pos))),
                            caret);
    }
    const String text = Text();
    grid->FormulaEditHook(!text.empty() && text[0] == u'=');
}

void TAdvInplaceEdit::LookupComplete() {
    TAdvStringGrid* grid = Grid();
    if (!Workmode || HasSelection() || !grid->Lookup() || grid->LookupItems()->Count() == 0)
        return;
    const bool caseSensitive = grid->LookupCaseSensitive();
    const String text = Text();
    const Integer caret = std::min(CaretPos(), static_cast<Integer>(text.size()));
    const String typed = text.substr(0, static_cast<size_t>(caret));
    if (typed.empty())
        return;
    const String prefix = caseSensitive ? typed : AnsiUpperCase(typed);
    TStrings* items = grid->LookupItems();
    for (Integer i = 0; i < items->Count(); ++i) {
        const String item = items->Strings(i);
        const String compared = caseSensitive ? item : AnsiUpperCase(item);
        if (compared.size() < prefix.size() || compared.compare(0, prefix.size(), prefix) != 0)
            continue;
        const String rest = item.substr(prefix.size(), 255);
        SetText(typed + rest);
        SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(typed.size()),
                     static_cast<LPARAM>(typed.size() + rest.size()));
        return;
    }
}

// ---- Characters

bool TAdvInplaceEdit::FilterChar(Char& Key) {
    TAdvStringGrid* grid = Grid();
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const String text = Text();
    const Integer caret = CaretPos();
    const bool control = Key == 8 || Key == 9 || Key == 13 || Key == 27;
    switch (grid->EditControl()) {
    case edNormal:
    case edPassword:
        return true;
    case edNumeric:
        if (ctrl || control || IsDigit(Key))
            return true;
        if (Key == u'-' && caret == 0 && !HoldsMinus(text))
            return true;
        MessageBeep(0);
        return false;
    case edPositiveNumeric:
        if (ctrl || control || IsDigit(Key))
            return true;
        MessageBeep(0);
        return false;
    case edFloat:
    case edPositiveFloat: {
        const Char decimal = GetDecimalSeparator();
        const Char thousand = GetThousandSeparator();
        const bool candidate = control || Key == u',' || Key == u'-' || Key == u'.' || IsDigit(Key);
        if (!candidate)
            return ctrl;
        if (Key == u'-' && grid->EditControl() == edPositiveFloat)
            return false;
        DWORD selStart = 0;
        DWORD selEnd = 0;
        SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                     reinterpret_cast<LPARAM>(&selEnd));
        const String outside = text.substr(0, selStart) + text.substr(std::min<size_t>(selEnd, text.size()));
        const String selected = text.substr(selStart, selEnd - selStart);
        if (Key == decimal) {
            return outside.find(decimal) == String::npos;
        }
        if (Key == thousand)
            return false;
        if (Key == u'-' && (caret != 0 || HoldsMinus(text)) && !HoldsMinus(selected)) {
            MessageBeep(0);
            return false;
        }
        return true;
    }
    case edCapital:
    case edUpperCase:
        Key = TypedCase(Key, true);
        return true;
    case edLowerCase:
        Key = TypedCase(Key, false);
        return true;
    case edMixedCase:
        return true;
    case edValidChars: {
        if (ctrl || Key == 8 || Key == 10 || Key == 13)
            return true;
        const String& valid = grid->ValidChars();
        if (!valid.empty() ? valid.find(Key) != String::npos : grid->ValidCharSet(Key))
            return true;
        MessageBeep(0);
        return false;
    }
    default:
        return false;
    }
}

void TAdvInplaceEdit::WMChar(TMessage& Message) {
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr) {
        TInplaceEdit::WMChar(Message);
        return;
    }
    const TNavigation* nav = grid->Navigation();
    Char key = static_cast<Char>(Message.WParam);
    // A "." of the numeric keypad types the locale's decimal separator.
    if (grid->ExcelStyleDecimalSeparator() && key == u'.' && (Message.LParam & (1 << 22)) != 0)
        key = GetDecimalSeparator();
    if (key == 13 && FEnterRefused) {
        FEnterRefused = false;
        return;
    }
    const bool multiline = grid->WordWrap() || grid->MultilineCells();
    if (key == 1 || (key == 10 && !(nav->AllowCtrlEnter() && multiline))) {
        Message.Result = 1;
        return;
    }
    if (FLengthLimit > 0 && static_cast<Integer>(Text().size()) >= FLengthLimit && !HasSelection() &&
        key != 8 && key != 27 && key != 13)
        return;
    if (key == 13 && nav->LineFeedOnEnter() && IsTextLineKind(grid->EditControl())) {
        DefaultHandler(Message);
        return;
    }
    if (!FilterChar(key))
        return;
    const Integer caret = CaretPos();
    Message.WParam = key;
    TInplaceEdit::WMChar(Message);
    if (grid->EditControl() == edMixedCase && key >= u' ') {
        SetText(ProperCase(Text()));
        SetCaret(caret + 1);
    }
    const Integer maxLength = grid->MaxEditLength();
    const Integer length = static_cast<Integer>(Text().size());
    if (nav->AdvanceAuto() && nav->AdvanceOnEnter() && maxLength > 0 && length == maxLength &&
        !HasSelection() && CaretPos() == length && key >= u' ') {
        Char enter = 13;
        grid->KeyPress(enter);
    }
}

void TAdvInplaceEdit::KeyPress(Char& Key) {
    TAdvStringGrid* grid = Grid();
    if (grid == nullptr) {
        TInplaceEdit::KeyPress(Key);
        return;
    }
    if (Key == 13 && !grid->Navigation()->LineFeedOnEnter() && !grid->ValidateCell(Text())) {
        SetText(grid->GetCurrentCell());
        Key = 0;
        return;
    }
    if (Key == 13 && !grid->Navigation()->LineFeedOnEnter()) {
        // The grid's Enter takes the focus, which ends this edit; the framework's Enter then finds no
        // editor and would open one again on the same cell.
        grid->FEnterEndCell = TPoint(grid->Col(), grid->Row());
        try {
            TInplaceEdit::KeyPress(Key);
        } catch (...) {
            grid->FEnterEndCell = TPoint(-1, -1);
            throw;
        }
        grid->FEnterEndCell = TPoint(-1, -1);
        return;
    }
    TInplaceEdit::KeyPress(Key);
    if (Key == 0 || !grid->Navigation()->AdvanceAuto() || EditMask().empty())
        return;
    const String text = Text();
    if (text.find(u' ') == String::npos && CaretPos() == static_cast<Integer>(text.size())) {
        Char enter = 13;
        grid->KeyPress(enter);
        Key = 0;
    }
}

void TAdvInplaceEdit::CMWantSpecialKey(TMessage& Message) {
    TInplaceEdit::CMWantSpecialKey(Message);
    TAdvStringGrid* grid = Grid();
    if (grid != nullptr && Message.WParam == VK_TAB && grid->EditorWantsTab())
        Message.Result = 1;
}

// ---- Clipboard

void TAdvInplaceEdit::WMCopyCut(TMessage& Message, bool Cut) {
    TAdvStringGrid* grid = Grid();
    bool allow = true;
    const TClipboardAllowEvent& event = Cut ? grid->OnClipboardCut : grid->OnClipboardCopy;
    if (event)
        event(this, allow);
    if (allow)
        TInplaceEdit::Dispatch(Message);
}

void TAdvInplaceEdit::WMPaste(TMessage& /*Message*/) {
    TAdvStringGrid* grid = Grid();
    TClipboard* clipboard = Clipboard();
    bool allow = clipboard->HasFormat(CF_UNICODETEXT) || clipboard->HasFormat(CF_TEXT);
    String value = allow ? clipboard->AsText() : String();
    if (grid->OnClipboardPaste)
        grid->OnClipboardPaste(this, allow);
    if (allow && grid->OnClipboardBeforePasteCell)
        grid->OnClipboardBeforePasteCell(this, grid->Col(), grid->Row(), value, allow);
    if (!allow || (FLengthLimit > 0 && static_cast<Integer>(value.size()) > FLengthLimit))
        return;
    // One line break closing the text is the end of a copied cell, not part of its value.
    if (value.size() >= 2 && value.compare(value.size() - 2, 2, u"\r\n") == 0)
        value.resize(value.size() - 2);
    DWORD selStart = 0;
    DWORD selEnd = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    const String text = Text();
    selStart = std::min<DWORD>(selStart, static_cast<DWORD>(text.size()));
    selEnd = std::min<DWORD>(std::max(selEnd, selStart), static_cast<DWORD>(text.size()));
    String N = text.substr(0, selStart) + value + text.substr(selEnd);
    if (FLengthLimit > 0 && static_cast<Integer>(N.size()) > FLengthLimit)
        return;
    switch (grid->EditControl()) {
    case edNumeric:
    case edPositiveNumeric:
        if (!IsIntegerText(N) || (grid->EditControl() == edPositiveNumeric && HoldsMinus(N)))
            return;
        break;
    case edFloat:
    case edPositiveFloat:
        if (!IsDecimalText(N) || (grid->EditControl() == edPositiveFloat && HoldsMinus(N)))
            return;
        break;
    case edMixedCase:
        N = ProperCase(N);
        break;
    case edLowerCase:
        N = AnsiLowerCase(N);
        break;
    case edUpperCase:
        N = AnsiUpperCase(N);
        break;
    case edValidChars:
        for (Char c : N)
            if (grid->ValidChars().find(c) == String::npos)
                return;
        break;
    default:
        break;
    }
    SetText(N);
    grid->SetCurrentEditText(Text());
    if (selStart != selEnd)
        SendMessageW(Handle(), EM_SETSEL, selStart, selStart + value.size());
    else
        SetCaret(static_cast<Integer>(selStart + value.size()));
    if (grid->OnClipboardAfterPasteCell)
        grid->OnClipboardAfterPasteCell(this, grid->Col(), grid->Row(), Text());
}
