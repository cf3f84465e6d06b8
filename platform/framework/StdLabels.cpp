// TLabel, painted by its parent, and TStaticText on the STATIC window class.
#include "platform/framework/StdButtons.h"

#include "platform/rtl/PropertyInfo.h"
#include "platform/win32/winbutton.h"
#include "platform/win32/windraw.h"

DEFINE_CLASS(TCustomLabel, PROPERTY(Alignment).Default(taLeftJustify), PROPERTY(AutoSize).Default(true),
             PROPERTY(FocusControl), PROPERTY(Layout).Default(tlTop), PROPERTY(ShowAccelChar).Default(true),
             PROPERTY(Transparent).Default(false), PROPERTY(WordWrap).Default(false))
DEFINE_CLASS(TLabel)
DEFINE_CLASS(TCustomStaticText, PROPERTY(Alignment).Default(taLeftJustify), PROPERTY(AutoSize).Default(true),
             PROPERTY(BorderStyle).Default(sbsNone), PROPERTY(FocusControl),
             PROPERTY(ShowAccelChar).Default(true))
DEFINE_CLASS(TStaticText)

namespace {

constexpr UINT AlignmentFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};

// The accelerator of a CM_DIALOGCHAR focuses control when it can take the focus.
bool FocusByAccel(TMessage& message, TWinControl* control, bool enabled, bool showAccelChar,
                  const String& caption) {
    if (control == nullptr || !enabled || !showAccelChar ||
        !IsAccel(static_cast<Word>(message.WParam), caption) || !control->CanFocus())
        return false;
    control->SetFocus();
    message.Result = 1;
    return true;
}

// A caption with nothing to measure still takes the height of a line.
String MeasuredText(const String& text, bool showAccelChar) {
    if (text.empty() || (showAccelChar && text == u"&"))
        return text + u" ";
    return text;
}

} // namespace

// ---- TCustomLabel ----

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    FControlStyle.Include(csOpaque);
    FControlStyle.Include(csReplicatable);
    SetBounds(0, 0, 65, 17);
    TControl::SetAutoSize(true);
}

void TCustomLabel::SetAlignment(TAlignment value) {
    if (FAlignment == value)
        return;
    FAlignment = value;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool value) {
    if (AutoSize() == value)
        return;
    TGraphicControl::SetAutoSize(value);
    AdjustBounds();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
    if (FFocusControl != nullptr)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (value != nullptr)
        value->FreeNotification(this);
}

void TCustomLabel::SetLayout(TTextLayout value) {
    if (FLayout == value)
        return;
    FLayout = value;
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (FShowAccelChar == value)
        return;
    FShowAccelChar = value;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
    if (Transparent() == value)
        return;
    if (value)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
    if (FWordWrap == value)
        return;
    FWordWrap = value;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::DoDrawText(TRect& rect, UINT flags) {
    String text = Caption();
    if ((flags & DT_CALCRECT) != 0)
        text = MeasuredText(text, FShowAccelChar);
    if (!FShowAccelChar)
        flags |= DT_NOPREFIX;
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(Font());
    HDC dc = canvas->Handle();
    SetBkMode(dc, TRANSPARENT);
    RECT r = rect;
    auto draw = [&](RECT& target) {
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &target, flags);
    };
    if (!Enabled() && (flags & DT_CALCRECT) == 0) {
        // Disabled text is embossed: a light copy one pixel down and right, the shadow on top.
        RECT light = r;
        OffsetRect(&light, 1, 1);
        SetTextColor(dc, ColorToRGB(clBtnHighlight));
        draw(light);
        SetTextColor(dc, ColorToRGB(clBtnShadow));
        draw(r);
    } else {
        SetTextColor(dc, ColorToRGB(Font()->Color()));
        draw(r);
    }
    rect = r;
}

void TCustomLabel::Paint() {
    TCanvas* canvas = Canvas();
    if (!Transparent()) {
        canvas->Brush()->SetColor(Color());
        canvas->Brush()->SetStyle(bsSolid);
        canvas->FillRect(ClientRect());
    }
    canvas->Brush()->SetStyle(bsClear);
    TRect rect = ClientRect();
    UINT flags = DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) | AlignmentFlags[FAlignment];
    if (FLayout != tlTop) {
        // Measure first, then move the text down by the space it leaves.
        TRect calc = rect;
        DoDrawText(calc, flags | DT_CALCRECT);
        int offset = rect.Height() - calc.Height();
        rect.Top += FLayout == tlBottom ? offset : offset / 2;
    }
    DoDrawText(rect, flags);
}

void TCustomLabel::AdjustBounds() {
    if (ComponentState().Contains(csLoading) || !AutoSize())
        return;
    // Measure on a screen DC: the label may have no parent window yet.
    HDC screen = GetDC(nullptr);
    TRect rect = ClientRect();
    HGDIOBJ old = SelectObject(screen, Font()->Handle());
    RECT r = rect;
    String text = MeasuredText(Caption(), FShowAccelChar);
    UINT flags = DT_CALCRECT | DT_EXPANDTABS | (FWordWrap ? DT_WORDBREAK : 0) | AlignmentFlags[FAlignment] |
                 (FShowAccelChar ? 0 : DT_NOPREFIX);
    DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &r, flags);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    int left = Left();
    // Right-justified text keeps its right edge where it was.
    if (FAlignment == taRightJustify && !FWordWrap)
        left += Width() - (r.right - r.left);
    SetBounds(left, Top(), r.right - r.left, r.bottom - r.top);
}

void TCustomLabel::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_DIALOGCHAR:
        if (FocusByAccel(message, FFocusControl, Enabled(), FShowAccelChar, Caption()))
            return;
        break;
    case CM_TEXTCHANGED:
        Invalidate();
        AdjustBounds();
        break;
    case CM_FONTCHANGED:
        TGraphicControl::Dispatch(message);
        AdjustBounds();
        return;
    default:
        break;
    }
    TGraphicControl::Dispatch(message);
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustBounds();
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl)
        FFocusControl = nullptr;
}

// ---- TCustomStaticText ----

TCustomStaticText::TCustomStaticText(TComponent* owner) : TWinControl(owner) {
    FControlStyle =
        TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csReplicatable, csDoubleClicks};
    SetBounds(0, 0, 65, 17);
    TControl::SetAutoSize(true);
}

void TCustomStaticText::SetAlignment(TAlignment value) {
    if (FAlignment == value)
        return;
    FAlignment = value;
    RecreateWnd();
}

void TCustomStaticText::SetAutoSize(bool value) {
    if (AutoSize() == value)
        return;
    TWinControl::SetAutoSize(value);
    AdjustBounds();
}

void TCustomStaticText::SetBorderStyle(TStaticBorderStyle value) {
    if (FBorderStyle == value)
        return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomStaticText::SetFocusControl(TWinControl* value) {
    if (FFocusControl != nullptr)
        FFocusControl->RemoveFreeNotification(this);
    FFocusControl = value;
    if (value != nullptr)
        value->FreeNotification(this);
}

void TCustomStaticText::SetShowAccelChar(bool value) {
    if (FShowAccelChar == value)
        return;
    FShowAccelChar = value;
    RecreateWnd();
}

void TCustomStaticText::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, u"STATIC");
    static constexpr DWORD Alignments[] = {SS_LEFT, SS_RIGHT, SS_CENTER};
    static constexpr DWORD Borders[] = {0, WS_BORDER, SS_SUNKEN};
    params.Style |= SS_NOTIFY | Alignments[FAlignment] | Borders[FBorderStyle];
    if (!FShowAccelChar)
        params.Style |= SS_NOPREFIX;
}

void TCustomStaticText::AdjustBounds() {
    if (ComponentState().Contains(csLoading) || !AutoSize())
        return;
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, Font()->Handle());
    String text = MeasuredText(Caption(), FShowAccelChar);
    RECT r{0, 0, 0, 0};
    DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_EXPANDTABS | (FShowAccelChar ? 0 : DT_NOPREFIX));
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    // The border is the window's non-client frame: one pixel each side for either style.
    int border = FBorderStyle == sbsNone ? 0 : 2;
    if (HandleAllocated())
        border = Width() - ClientWidth();
    int width = r.right - r.left + border;
    int height = r.bottom - r.top + border;
    int left = Left();
    if (FAlignment == taRightJustify)
        left += Width() - width;
    SetBounds(left, Top(), width, height);
}

void TCustomStaticText::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_DIALOGCHAR:
        if (FocusByAccel(message, FFocusControl, Enabled(), FShowAccelChar, Caption()))
            return;
        break;
    case CM_TEXTCHANGED:
        TWinControl::Dispatch(message);
        Invalidate();
        AdjustBounds();
        return;
    case CM_FONTCHANGED:
        TWinControl::Dispatch(message);
        AdjustBounds();
        return;
    default:
        break;
    }
    TWinControl::Dispatch(message);
}

void TCustomStaticText::Loaded() {
    TWinControl::Loaded();
    AdjustBounds();
}

void TCustomStaticText::Notification(TComponent* component, TOperation operation) {
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl)
        FFocusControl = nullptr;
}
