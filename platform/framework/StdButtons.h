// The framework's buttons, check boxes, radio buttons and group boxes on the BUTTON window class, and
// the labels: TLabel (painted by its parent) and TStaticText (a STATIC window).
#pragma once

#include "platform/framework/Controls.h"
#include "platform/framework/StdEdit.h" // TAlignment, shared with the edits
ZELMOR_ENUM(TTextLayout, tlTop, tlCenter, tlBottom)
ZELMOR_ENUM(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)
ZELMOR_ENUM(TStaticBorderStyle, sbsNone, sbsSingle, sbsSunken)

// Whether the accelerator of caption (the character after a single '&') is the key's character,
// compared without regard to case.
bool IsAccel(Word virtualKey, const String& caption);

// ---- What buttons share ----
class TButtonControl : public TWinControl {
    DECLARE_CLASS(TButtonControl, TWinControl)

public:
    explicit TButtonControl(TComponent* owner);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

protected:
    // While set, changing the check state in code does not fire OnClick.
    bool ClicksDisabled() const { return FClicksDisabled; }
    void SetClicksDisabled(bool value) { FClicksDisabled = value; }
    void CreateParams(TCreateParams& params) override;

private:
    bool FClicksDisabled = false;
    bool FWordWrap = false;
};

// ---- A push button ----
// Enter clicks the default button (or the focused button), Escape the cancel button; a click hands
// ModalResult to the parent form, which ends a modal form when it is not mrNone.
class TButton : public TButtonControl {
    DECLARE_CLASS(TButton, TButtonControl)

public:
    explicit TButton(TComponent* owner);
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void DoClick() override;

private:
    // Shows the button as the form's default push button or as a plain one.
    void SetButtonStyle(bool isDefault);

    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false; // the button Enter clicks now: focused, or the default one while no button is
    TModalResult FModalResult = mrNone;
};

// ---- A check box ----
class TCustomCheckBox : public TButtonControl {
    DECLARE_CLASS(TCustomCheckBox, TButtonControl)

public:
    explicit TCustomCheckBox(TComponent* owner);
    // The box sits left of the caption with taRightJustify (the default), right of it otherwise.
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }
    // Changing the state (in code too) fires OnClick, as a click does; reading a description does not,
    // since the handler may be bound before the rest of the form is read.
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState value);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }

protected:
    // A click moves unchecked to grayed (when allowed) or checked, checked to unchecked, grayed to
    // checked.
    virtual void Toggle();
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;

private:
    TAlignment FAlignment = taRightJustify;
    bool FAllowGrayed = false;
    TCheckBoxState FState = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
    DECLARE_CLASS(TCheckBox, TCustomCheckBox)

public:
    using TCustomCheckBox::TCustomCheckBox;
};

// ---- A radio button ----
// Checking one (by a click, the keyboard or in code) unchecks the radio buttons among its siblings;
// only the checked one is a tab stop.
class TRadioButton : public TButtonControl {
    DECLARE_CLASS(TRadioButton, TButtonControl)

public:
    explicit TRadioButton(TComponent* owner);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;

private:
    TAlignment FAlignment = taRightJustify;
    bool FChecked = false;
};

// ---- A group box: a frame with a caption around other controls ----
class TCustomGroupBox : public TCustomControl {
    DECLARE_CLASS(TCustomGroupBox, TCustomControl)

public:
    explicit TCustomGroupBox(TComponent* owner);

protected:
    void AdjustClientRect(TRect& rect) override;
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    void Paint() override;
};

class TGroupBox : public TCustomGroupBox {
    DECLARE_CLASS(TGroupBox, TCustomGroupBox)

public:
    using TCustomGroupBox::TCustomGroupBox;
};

// ---- A label painted by its parent ----
// Its accelerator focuses FocusControl. With AutoSize it keeps the size of its text (the right edge
// stays put for right-justified text, the width for wrapped text).
class TCustomLabel : public TGraphicControl {
    DECLARE_CLASS(TCustomLabel, TGraphicControl)

public:
    explicit TCustomLabel(TComponent* owner);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    void SetAutoSize(bool value) override;
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
    void SetTransparent(bool value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

protected:
    // Sizes the label to its text when AutoSize is on.
    virtual void AdjustBounds();
    // Draws (or with DT_CALCRECT measures) the caption on the canvas within rect.
    virtual void DoDrawText(TRect& rect, UINT flags);
    void Dispatch(TMessage& message) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void Paint() override;

private:
    TAlignment FAlignment = taLeftJustify;
    TWinControl* FFocusControl = nullptr;
    TTextLayout FLayout = tlTop;
    bool FShowAccelChar = true;
    bool FWordWrap = false;
};

class TLabel : public TCustomLabel {
    DECLARE_CLASS(TLabel, TCustomLabel)

public:
    using TCustomLabel::TCustomLabel;
};

// ---- A label on a STATIC window ----
class TCustomStaticText : public TWinControl {
    DECLARE_CLASS(TCustomStaticText, TWinControl)

public:
    explicit TCustomStaticText(TComponent* owner);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    void SetAutoSize(bool value) override;
    TStaticBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TStaticBorderStyle value);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);

protected:
    void AdjustBounds();
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    TAlignment FAlignment = taLeftJustify;
    TStaticBorderStyle FBorderStyle = sbsNone;
    TWinControl* FFocusControl = nullptr;
    bool FShowAccelChar = true;
};

class TStaticText : public TCustomStaticText {
    DECLARE_CLASS(TStaticText, TCustomStaticText)

public:
    using TCustomStaticText::TCustomStaticText;
};
