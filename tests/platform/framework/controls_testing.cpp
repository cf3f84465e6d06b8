// The stand-in controls and the form of the control and form tests.
#include "tests/platform/framework/controls_testing.h"

#include "platform/framework/Application.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/UString.h"
#include "platform/win32/wininput.h"

DEFINE_CLASS(TCtlPanel)
DEFINE_CLASS(TCtlShape)
DEFINE_CLASS(TCtlEdit)
DEFINE_CLASS(TCtlButton, PROPERTY(Default).Default(false), PROPERTY(Cancel).Default(false),
             PROPERTY(ModalResult).Default(0))
DEFINE_CLASS(TControlsForm, METHOD(FormActivate), METHOD(FormCreate), METHOD(FormResize), METHOD(FormShow),
             METHOD(ButtonClick), FIELD(Header), FIELD(Mark), FIELD(Footer), FIELD(OkButton),
             FIELD(CancelButton), FIELD(Side), FIELD(Body), FIELD(Edit1), FIELD(Edit2), FIELD(Corner))

namespace {

std::string Utf8(const String& text) {
    return StringToUtf8(text);
}

std::string NameOf(TObject* sender) {
    auto* component = dynamic_cast<TComponent*>(sender);
    return component != nullptr ? Utf8(component->Name()) : std::string("?");
}

} // namespace

std::vector<std::string>& ControlsLog() {
    static std::vector<std::string> log;
    return log;
}

TCtlPanel::TCtlPanel(TComponent* owner) : TCustomControl(owner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csOpaque});
    SetBounds(0, 0, 100, 50);
}

void TCtlPanel::Paint() {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

TCtlShape::TCtlShape(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 20, 20);
    SetColor(clRed);
}

void TCtlShape::Paint() {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

TCtlEdit::TCtlEdit(TComponent* owner) : TCustomControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 120, 21);
}

void TCtlEdit::Dispatch(TMessage& message) {
    if (message.Msg == WM_GETDLGCODE) {
        message.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
        return;
    }
    TCustomControl::Dispatch(message);
}

void TCtlEdit::KeyDown(Word& key, TShiftState shift) {
    ControlsLog().push_back(Utf8(Name()) + " KeyDown " + std::to_string(key));
    TCustomControl::KeyDown(key, shift);
}

void TCtlEdit::KeyPress(Char& key) {
    ControlsLog().push_back(Utf8(Name()) + " KeyPress " + std::to_string(static_cast<int>(key)));
    TCustomControl::KeyPress(key);
}

void TCtlEdit::Paint() {
    Canvas()->Brush()->SetColor(clWhite);
    Canvas()->FillRect(ClientRect());
}

TCtlButton::TCtlButton(TComponent* owner) : TCustomControl(owner) {
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void TCtlButton::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_GETDLGCODE:
        message.Result = DLGC_BUTTON | (FDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        return;
    case CM_DIALOGKEY:
        if (((message.WParam == VK_RETURN && FDefault) || (message.WParam == VK_ESCAPE && FCancel)) &&
            KeyDataToShiftState(static_cast<LONG>(message.LParam)).Empty() && CanFocus()) {
            Click();
            message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TCustomControl::Dispatch(message);
}

void TCtlButton::DoClick() {
    if (TCustomForm* form = GetParentForm(this); form != nullptr)
        form->SetModalResult(FModalResult);
    TCustomControl::DoClick();
}

void TControlsForm::FormActivate(TObject*) {
    ControlsLog().push_back("Activate");
}

void TControlsForm::FormCreate(TObject*) {
    ControlsLog().push_back("Create");
}

void TControlsForm::FormResize(TObject*) {
    ControlsLog().push_back("Resize");
}

void TControlsForm::FormShow(TObject*) {
    ControlsLog().push_back("Show");
}

void TControlsForm::ButtonClick(TObject* sender) {
    ControlsLog().push_back(NameOf(sender) + " Click");
}

void ControlsTest::SetUp() {
    ControlsLog().clear();
    win32::input::Reset();
}

void ControlsTest::TearDown() {
    while (Screen()->FormCount() > 0)
        Screen()->Forms(Screen()->FormCount() - 1)->Free();
    Pump();
    Application->OnIdle = nullptr;
    win32::input::Reset();
}

void ControlsTest::Pump() {
    Application->ProcessMessages();
}

void ControlsTest::Press(int virtualKey) {
    win32::input::PressKey(virtualKey);
    Pump();
}

std::string ControlsTest::FocusName() {
    TWinControl* control = FindControl(GetFocus());
    return control != nullptr ? Utf8(control->Name()) : std::string();
}
