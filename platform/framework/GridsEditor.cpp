// In-place editing: the editor over the current cell, when it shows and hides, how its text goes to and
// from the grid, and which of its keys go to the grid.
#include "platform/framework/Grids.h"

#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winctrl.h"
#include "platform/win32/windraw.h"
#include "platform/win32/winuser.h"

DEFINE_CLASS(TInplaceEdit)

// ---- TInplaceEdit ----

TInplaceEdit::TInplaceEdit(TComponent* owner) : TCustomMaskEdit(owner) {
    SetAutoSize(false);
    SetParentCtl3D(false);
    SetCtl3D(false);
    SetTabStop(false);
    SetBorderStyle(bsNone);
    SetDoubleBuffered(false);
}

void TInplaceEdit::CreateParams(TCreateParams& params) {
    TCustomMaskEdit::CreateParams(params);
    params.Style |= ES_MULTILINE;
}

void TInplaceEdit::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_GETDLGCODE:
        WMGetDlgCode(message);
        break;
    default:
        TCustomMaskEdit::Dispatch(message);
        break;
    }
}

void TInplaceEdit::WMGetDlgCode(TMessage& message) {
    TCustomMaskEdit::Dispatch(message);
    if (FGrid != nullptr && FGrid->Options().Contains(goTabs))
        message.Result |= DLGC_WANTTAB;
}

bool TInplaceEdit::EditCanModify() {
    return FGrid == nullptr || FGrid->CanEditModify();
}

void TInplaceEdit::BoundsChanged() {
    RECT rect{2, 2, Width() - 2, Height()};
    SendMessageW(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
    SendMessageW(Handle(), EM_SCROLLCARET, 0, 0);
}

void TInplaceEdit::UpdateContents() {
    if (FGrid == nullptr)
        return;
    // Loading the text is no edit: storing it back would empty the cell before it is read.
    FLoading = true;
    try {
        SetText(String());
        SetEditMask(FGrid->GetEditMask(FGrid->Col(), FGrid->Row()));
        SetText(FGrid->GetEditText(FGrid->Col(), FGrid->Row()));
        SetMaxLength(FGrid->GetEditLimit());
    } catch (...) {
        FLoading = false;
        throw;
    }
    FLoading = false;
}

void TInplaceEdit::Change() {
    TCustomMaskEdit::Change();
    if (FGrid != nullptr && !FLoading)
        FGrid->UpdateText();
}

void TInplaceEdit::DblClick() {
    if (FGrid != nullptr)
        FGrid->DblClick();
}

bool TInplaceEdit::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    return FGrid != nullptr ? FGrid->DoMouseWheel(shift, wheelDelta, mousePos)
                            : TCustomMaskEdit::DoMouseWheel(shift, wheelDelta, mousePos);
}

void TInplaceEdit::KeyDown(Word& key, TShiftState shift) {
    if (FGrid == nullptr) {
        TCustomMaskEdit::KeyDown(key, shift);
        return;
    }
    auto sendToParent = [&] {
        FGrid->KeyDown(key, shift);
        key = 0;
    };
    auto parentEvent = [&] {
        // The grid's OnKeyDown sees the editor's keys too, so a form can watch one place.
        if (FGrid->OnKeyDown)
            FGrid->OnKeyDown(FGrid, key, shift);
    };
    const bool forwardMovement = FGrid->Options().Contains(goAlwaysShowEditor);
    const bool ctrl = shift.Contains(ssCtrl);
    DWORD selStart = 0;
    DWORD selEnd = 0;
    SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    const DWORD textLength = static_cast<DWORD>(GetWindowTextLengthW(Handle()));
    const bool leftSide = selStart == 0 && (selEnd == 0 || selEnd == textLength);
    const bool rightSide = selEnd == textLength && (selStart == 0 || selStart == selEnd);
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE:
        sendToParent();
        break;
    case VK_INSERT:
        if (shift.Empty())
            sendToParent();
        else if (shift == TShiftState{ssShift} && !FGrid->CanEditModify())
            key = 0;
        break;
    case VK_LEFT:
    case VK_HOME:
        if (forwardMovement && (ctrl || leftSide))
            sendToParent();
        break;
    case VK_RIGHT:
    case VK_END:
        if (forwardMovement && (ctrl || rightSide))
            sendToParent();
        break;
    case VK_F2:
        parentEvent();
        if (key == VK_F2) {
            Deselect();
            return;
        }
        break;
    case VK_TAB:
        if (!shift.Contains(ssAlt))
            sendToParent();
        break;
    case VK_DELETE:
        if (ctrl)
            sendToParent();
        else if (!FGrid->CanEditModify())
            key = 0;
        break;
    default:
        break;
    }
    if (key != 0) {
        parentEvent();
        TCustomMaskEdit::KeyDown(key, shift);
    }
}

void TInplaceEdit::KeyPress(Char& key) {
    if (FGrid == nullptr) {
        TCustomMaskEdit::KeyPress(key);
        return;
    }
    FGrid->KeyPress(key);
    if (key >= u' ' && !FGrid->CanEditAcceptKey(key)) {
        key = 0;
        MessageBeep(0);
    }
    switch (key) {
    case u'\t':
    case 0x1B:
        key = 0;
        break;
    case u'\r': {
        // Enter the grid did not take (goAlwaysShowEditor) toggles between all selected and none.
        DWORD selStart = 0;
        DWORD selEnd = 0;
        SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&selStart),
                     reinterpret_cast<LPARAM>(&selEnd));
        if (selStart == 0 && selEnd == static_cast<DWORD>(GetWindowTextLengthW(Handle())))
            Deselect();
        else
            SelectAll();
        key = 0;
        break;
    }
    case u'\b':
    case 0x16:
    case 0x18:
        if (!FGrid->CanEditModify())
            key = 0;
        break;
    default:
        if (key >= u' ' && !FGrid->CanEditModify())
            key = 0;
        break;
    }
    if (key != 0)
        TCustomMaskEdit::KeyPress(key);
}

void TInplaceEdit::Deselect() {
    SendMessageW(Handle(), EM_SETSEL, 0x7FFFFFFF, static_cast<LPARAM>(0xFFFFFFFF));
}

void TInplaceEdit::Hide() {
    if (!HandleAllocated() || !IsWindowVisible(WindowHandle()))
        return;
    Invalidate();
    const bool hadFocus = Focused();
    SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOZORDER | SWP_NOREDRAW);
    if (hadFocus && FGrid != nullptr && FGrid->HandleAllocated())
        ::SetFocus(FGrid->Handle());
}

void TInplaceEdit::Invalidate() {
    if (!HandleAllocated())
        return;
    InvalidateRect(WindowHandle(), nullptr, TRUE);
    if (FGrid != nullptr && FGrid->HandleAllocated()) {
        // The grid paints the room around the editor's text, so it must repaint under it too.
        RECT rect{Left(), Top(), Left() + Width(), Top() + Height()};
        InvalidateRect(FGrid->Handle(), &rect, FALSE);
    }
}

void TInplaceEdit::InternalMove(const TRect& loc, bool redraw) {
    if (loc.Right <= loc.Left || loc.Bottom <= loc.Top) {
        Hide();
        return;
    }
    HWND hwnd = Handle();
    redraw = redraw || !IsWindowVisible(hwnd);
    Invalidate();
    SetWindowPos(hwnd, HWND_TOP, loc.Left, loc.Top, loc.Width(), loc.Height(), SWP_SHOWWINDOW | SWP_NOREDRAW);
    UpdateBounds();
    BoundsChanged();
    if (redraw)
        Invalidate();
    if (FGrid != nullptr && FGrid->Focused())
        ::SetFocus(hwnd);
}

void TInplaceEdit::Move(const TRect& loc) {
    InternalMove(loc, true);
}

void TInplaceEdit::UpdateLoc(const TRect& loc) {
    InternalMove(loc, false);
}

bool TInplaceEdit::PosEqual(const TRect& rect) {
    return HandleAllocated() && BoundsRect() == rect;
}

void TInplaceEdit::SetFocus() {
    if (IsWindowVisible(Handle()))
        ::SetFocus(Handle());
}

bool TInplaceEdit::Visible() {
    return HandleAllocated() && IsWindowVisible(WindowHandle());
}

// ---- The grid's side of editing ----

TInplaceEdit* TCustomGrid::CreateEditor() {
    return new TInplaceEdit(this);
}

bool TCustomGrid::CanEditShow() {
    return FOptions.Contains(goEditing) && !FOptions.Contains(goRowSelect) && FEditorMode &&
           HandleAllocated() && (FOptions.Contains(goAlwaysShowEditor) || IsActiveControl());
}

void TCustomGrid::SetEditorMode(bool value) {
    if (!value) {
        HideEditor();
        return;
    }
    ShowEditor();
    if (FInplaceEdit != nullptr && FInplaceEdit->HandleAllocated())
        FInplaceEdit->Deselect();
}

void TCustomGrid::ShowEditor() {
    FEditorMode = true;
    UpdateEdit();
}

void TCustomGrid::ShowEditorChar(Char ch) {
    ShowEditor();
    if (FInplaceEdit != nullptr && FInplaceEdit->HandleAllocated() && FInplaceEdit->Visible())
        PostMessageW(FInplaceEdit->Handle(), WM_CHAR, ch, 0);
}

void TCustomGrid::HideEditor() {
    FEditorMode = false;
    HideEdit();
}

void TCustomGrid::HideEdit() {
    if (FInplaceEdit == nullptr)
        return;
    // The cell keeps the text even if storing it fails; the editor goes away in any case.
    try {
        UpdateText();
    } catch (...) {
        FInplaceCol = -1;
        FInplaceRow = -1;
        FInplaceEdit->Hide();
        throw;
    }
    FInplaceCol = -1;
    FInplaceRow = -1;
    FInplaceEdit->Hide();
}

void TCustomGrid::UpdateText() {
    if (FInplaceEdit != nullptr && FInplaceCol != -1 && FInplaceRow != -1)
        SetEditText(FInplaceCol, FInplaceRow, FInplaceEdit->Text());
}

void TCustomGrid::UpdateEdit() {
    if (!CanEditShow())
        return;
    auto updateEditor = [this] {
        FInplaceCol = FCurrent.X;
        FInplaceRow = FCurrent.Y;
        FInplaceEdit->FStartText = String();
        FInplaceEdit->UpdateContents();
        FInplaceEdit->FStartText = FInplaceEdit->Text();
        FCanEditModify = FInplaceEdit->MaxLength() != -1;
        FInplaceEdit->SelectAll();
    };
    if (FInplaceEdit == nullptr) {
        FInplaceEdit = CreateEditor();
        FInplaceEdit->SetGrid(this);
        FInplaceEdit->SetParent(this);
        // Until the editor sits over its cell it must not show.
        FInplaceEdit->SetBounds(0, 0, 0, 0);
        updateEditor();
    } else if (FCurrent.X != FInplaceCol || FCurrent.Y != FInplaceRow) {
        HideEdit();
        updateEditor();
    }
    if (CanEditShow())
        FInplaceEdit->Move(GetEditRect(FCurrent.X, FCurrent.Y));
}
