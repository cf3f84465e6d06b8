// TButton, TCheckBox and TRadioButton on the BUTTON window class, and the group box.
#include "platform/framework/StdButtons.h"

#include "platform/framework/Forms.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winbutton.h"
#include "platform/win32/windraw.h"

DEFINE_CLASS(TButtonControl, PROPERTY(WordWrap).Default(false))
DEFINE_CLASS(TButton, PROPERTY(Cancel).Default(false), PROPERTY(Default).Default(false),
             PROPERTY(ModalResult).Default(0), PROPERTY(TabStop).Default(true))
DEFINE_CLASS(TCustomCheckBox, PROPERTY(Alignment).Default(taRightJustify),
             PROPERTY(AllowGrayed).Default(false), PROPERTY(State).Default(cbUnchecked),
             PROPERTY(Checked).Stored(false), PROPERTY(TabStop).Default(true))
DEFINE_CLASS(TCheckBox)
DEFINE_CLASS(TRadioButton, PROPERTY(Alignment).Default(taRightJustify), PROPERTY(Checked).Default(false))
DEFINE_CLASS(TCustomGroupBox)
DEFINE_CLASS(TGroupBox)

bool IsAccel(Word virtualKey, const String& caption) {
    // "&&" is a literal ampersand; the first single '&' marks the accelerator.
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] == u'&') {
            ++i;
            continue;
        }
        Char accel = caption[i + 1];
        Char key = static_cast<Char>(virtualKey);
        auto upper = [](Char c) { return c >= u'a' && c <= u'z' ? static_cast<Char>(c - u'a' + u'A') : c; };
        return upper(accel) == upper(key);
    }
    return false;
}

namespace {

// The character of a CM_DIALOGCHAR.
Word DialogCharCode(const TMessage& message) {
    return static_cast<Word>(message.WParam);
}

WORD NotifyCode(const TMessage& message) {
    return HIWORD(static_cast<DWORD>(message.WParam));
}

// The height of a line in font, measured on a screen DC: the children are aligned before the group box
// has a window to measure on.
int TextHeightOf(TFont* font) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, font->Handle());
    RECT rect{0, 0, 0, 0};
    DrawTextW(screen, u"0", 1, &rect, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return rect.bottom - rect.top;
}

} // namespace

// ---- TButtonControl ----

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {}

void TButtonControl::SetWordWrap(bool value) {
    if (FWordWrap == value)
        return;
    FWordWrap = value;
    RecreateWnd();
}

void TButtonControl::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    if (FWordWrap)
        params.Style |= BS_MULTILINE;
}

// ---- TButton ----

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 75, 25);
    SetTabStop(true);
}

void TButton::SetDefault(bool value) {
    FDefault = value;
    if (!HandleAllocated())
        return;
    // Every button of the form works out again which one Enter clicks now.
    if (TCustomForm* form = GetParentForm(this); form != nullptr)
        form->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(form->ActiveControl()));
}

void TButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    CreateSubClass(params, u"BUTTON");
    params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::CreateWnd() {
    TButtonControl::CreateWnd();
    FActive = FDefault;
}

void TButton::SetButtonStyle(bool isDefault) {
    if (!HandleAllocated())
        return;
    DWORD style = isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((static_cast<DWORD>(GetWindowLongW(Handle(), GWL_STYLE)) & BS_TYPEMASK) != style)
        SendMessageW(Handle(), BM_SETSTYLE, style, 1);
}

void TButton::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        if (NotifyCode(message) == BN_CLICKED) {
            Click();
            message.Result = 1;
            return;
        }
        break;
    case CM_DIALOGKEY:
        if (((message.WParam == VK_RETURN && FActive) || (message.WParam == VK_ESCAPE && FCancel)) &&
            KeyDataToShiftState(static_cast<LONG>(message.LParam)).Empty() && CanFocus()) {
            Click();
            message.Result = 1;
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(DialogCharCode(message), Caption()) && CanFocus()) {
            Click();
            message.Result = 1;
            return;
        }
        break;
    case CM_FOCUSCHANGED: {
        // A focused button is the one Enter clicks; while the focus is on anything else, the default is.
        auto* sender = reinterpret_cast<TWinControl*>(message.LParam);
        if (sender != nullptr && sender->InheritsFrom(TButton::StaticClass()))
            FActive = sender == this;
        else
            FActive = FDefault;
        SetButtonStyle(FActive);
        break;
    }
    default:
        break;
    }
    TButtonControl::Dispatch(message);
}

void TButton::DoClick() {
    if (TCustomForm* form = GetParentForm(this); form != nullptr)
        form->SetModalResult(FModalResult);
    TButtonControl::DoClick();
}

// ---- TCustomCheckBox ----

TCustomCheckBox::TCustomCheckBox(TComponent* owner) : TButtonControl(owner) {
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 97, 17);
    SetTabStop(true);
}

void TCustomCheckBox::SetAlignment(TAlignment value) {
    if (FAlignment == value)
        return;
    FAlignment = value;
    RecreateWnd();
}

void TCustomCheckBox::SetState(TCheckBoxState value) {
    if (FState == value)
        return;
    FState = value;
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(FState), 0);
    if (!ClicksDisabled() && !ComponentState().Contains(csLoading))
        Click();
}

void TCustomCheckBox::Toggle() {
    switch (FState) {
    case cbUnchecked:
        SetState(FAllowGrayed ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    }
}

void TCustomCheckBox::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    CreateSubClass(params, u"BUTTON");
    // A 3-state box the window class does not toggle by itself: the state is ours.
    params.Style |= BS_3STATE;
    if (FAlignment == taLeftJustify)
        params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWnd() {
    TButtonControl::CreateWnd();
    SendMessageW(Handle(), BM_SETCHECK, static_cast<WPARAM>(FState), 0);
}

void TCustomCheckBox::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        if (NotifyCode(message) == BN_CLICKED) {
            Toggle();
            message.Result = 1;
            return;
        }
        break;
    case CM_DIALOGCHAR:
        if (IsAccel(DialogCharCode(message), Caption()) && CanFocus()) {
            SetFocus();
            if (Focused())
                Toggle();
            message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TButtonControl::Dispatch(message);
}

// ---- TRadioButton ----

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
    FControlStyle = TControlStyle{csSetCaption, csDoubleClicks};
    SetBounds(0, 0, 113, 17);
}

void TRadioButton::SetAlignment(TAlignment value) {
    if (FAlignment == value)
        return;
    FAlignment = value;
    RecreateWnd();
}

void TRadioButton::SetChecked(bool value) {
    if (FChecked == value)
        return;
    FChecked = value;
    SetTabStop(value);
    if (HandleAllocated())
        SendMessageW(Handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!value)
        return;
    if (TWinControl* parent = Parent(); parent != nullptr) {
        for (Integer i = 0; i < parent->ControlCount(); ++i) {
            TControl* sibling = parent->Controls(i);
            if (sibling != this && sibling->InheritsFrom(TRadioButton::StaticClass()))
                static_cast<TRadioButton*>(sibling)->SetChecked(false);
        }
    }
    if (!ClicksDisabled() && !ComponentState().Contains(csLoading))
        Click();
}

void TRadioButton::CreateParams(TCreateParams& params) {
    TButtonControl::CreateParams(params);
    CreateSubClass(params, u"BUTTON");
    params.Style |= BS_RADIOBUTTON;
    if (FAlignment == taLeftJustify)
        params.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd() {
    TButtonControl::CreateWnd();
    SendMessageW(Handle(), BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        if (NotifyCode(message) == BN_CLICKED) {
            SetChecked(true);
            message.Result = 1;
            return;
        }
        if (NotifyCode(message) == BN_DOUBLECLICKED) {
            DblClick();
            message.Result = 1;
            return;
        }
        break;
    case CM_DIALOGCHAR:
        // Focusing a radio button by its accelerator checks it (the window class reports the focus
        // as a click).
        if (IsAccel(DialogCharCode(message), Caption()) && CanFocus()) {
            SetFocus();
            message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TButtonControl::Dispatch(message);
}

// ---- TCustomGroupBox ----

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
    FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents,     csSetCaption,
                                  csDoubleClicks,    csReplicatable, csParentBackground};
    SetBounds(0, 0, 185, 105);
}

void TCustomGroupBox::AdjustClientRect(TRect& rect) {
    TCustomControl::AdjustClientRect(rect);
    rect.Top += TextHeightOf(Font());
    int frame = Ctl3D() ? 2 : 1;
    rect.Left += frame;
    rect.Top += frame;
    rect.Right -= frame;
    rect.Bottom -= frame;
}

void TCustomGroupBox::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TCustomGroupBox::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_DIALOGCHAR:
        if (IsAccel(DialogCharCode(message), Caption()) && CanFocus()) {
            SelectFirst();
            message.Result = 1;
            return;
        }
        break;
    case CM_TEXTCHANGED:
        Invalidate();
        Realign();
        break;
    case CM_FONTCHANGED:
        TCustomControl::Dispatch(message);
        Realign();
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(message);
}

void TCustomGroupBox::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    int height = TextHeightOf(Font());
    TRect rect(0, height / 2 - 1, Width(), Height());
    // The frame: an etched line (light inside dark) in 3D, a plain one otherwise.
    canvas->Brush()->SetStyle(bsClear);
    if (Ctl3D()) {
        rect.Left += 1;
        rect.Top += 1;
        canvas->Brush()->SetColor(clBtnHighlight);
        canvas->FrameRect(rect);
        rect.Left -= 1;
        rect.Top -= 1;
        rect.Right -= 1;
        rect.Bottom -= 1;
        canvas->Brush()->SetColor(clBtnShadow);
    } else {
        canvas->Brush()->SetColor(clWindowFrame);
    }
    canvas->FrameRect(rect);
    String text = Caption();
    if (text.empty())
        return;
    RECT textRect{0, 0, 0, 0};
    HDC dc = canvas->Handle();
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_CALCRECT | DT_SINGLELINE);
    OffsetRect(&textRect, 8, 0);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, ColorToRGB(Color()));
    SetTextColor(dc, ColorToRGB(Font()->Color()));
    if (!Enabled())
        SetTextColor(dc, ColorToRGB(clGrayText));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE);
}
