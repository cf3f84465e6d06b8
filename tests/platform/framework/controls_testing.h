// What the control and form tests share: stand-ins for a panel, a shape, an edit and a push button, the
// form described in forms/ControlsForm.form, and a fixture that pumps messages through the application's
// loop (which routes keys through IsKeyMsg).
#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/framework/Forms.h"

// Records what happened to the test controls, in order ("Edit1 KeyDown 65", "OkButton Click").
std::vector<std::string>& ControlsLog();

// A window that fills itself with its colour and holds other controls.
class TCtlPanel : public TCustomControl {
    DECLARE_CLASS(TCtlPanel, TCustomControl)

public:
    explicit TCtlPanel(TComponent* owner);

protected:
    void Paint() override;
};

// A graphic control filled with its colour (red unless told otherwise).
class TCtlShape : public TGraphicControl {
    DECLARE_CLASS(TCtlShape, TGraphicControl)

public:
    explicit TCtlShape(TComponent* owner);

protected:
    void Paint() override;
};

// A focusable window that wants arrows and characters, as an edit does, and logs its keys.
class TCtlEdit : public TCustomControl {
    DECLARE_CLASS(TCtlEdit, TCustomControl)

public:
    explicit TCtlEdit(TComponent* owner);

protected:
    void Dispatch(TMessage& message) override;
    void KeyDown(Word& key, TShiftState shift) override;
    void KeyPress(Char& key) override;
    void Paint() override;
};

// A push button: Enter clicks the default one and Escape the cancel one; a click hands its
// ModalResult to the form.
class TCtlButton : public TCustomControl {
    DECLARE_CLASS(TCtlButton, TCustomControl)

public:
    explicit TCtlButton(TComponent* owner);
    bool Default() const { return FDefault; }
    void SetDefault(bool value) { FDefault = value; }
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }

protected:
    void Dispatch(TMessage& message) override;
    void DoClick() override;

private:
    bool FDefault = false;
    bool FCancel = false;
    TModalResult FModalResult = mrNone;
};

// The form of ControlsForm.form; its handlers log the form's events.
class TControlsForm : public TForm {
    DECLARE_CLASS(TControlsForm, TForm)

public:
    using TForm::TForm;
    void FormActivate(TObject* sender);
    void FormCreate(TObject* sender);
    void FormResize(TObject* sender);
    void FormShow(TObject* sender);
    void ButtonClick(TObject* sender);

    TCtlPanel* Header = nullptr;
    TCtlShape* Mark = nullptr;
    TCtlPanel* Footer = nullptr;
    TCtlButton* OkButton = nullptr;
    TCtlButton* CancelButton = nullptr;
    TCtlPanel* Side = nullptr;
    TCtlPanel* Body = nullptr;
    TCtlEdit* Edit1 = nullptr;
    TCtlEdit* Edit2 = nullptr;
    TCtlEdit* Corner = nullptr;
};

// Clears the log; frees the forms a test left and forgets pressed keys afterwards.
class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Serves every message waiting, as the application's loop does.
    static void Pump();
    // Types a key (down and up) and serves what it caused.
    static void Press(int virtualKey);
    // The name of the focused control, or "" when the focus is elsewhere.
    static std::string FocusName();
};
