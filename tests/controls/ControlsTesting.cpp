// The shared fixture of the styled controls' tests.
#include "tests/controls/ControlsTesting.h"

#include "platform/framework/Application.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/wininput.h"

void StyledControlsTest::SetUp() {
    win32::input::Reset();
    UseThemes(false);
    FForm = new TForm(nullptr, 0);
    FForm->SetBounds(100, 100, 420, 300);
    FForm->SetColor(clWhite);
}

void StyledControlsTest::TearDown() {
    FForm->Free();
    while (Screen()->FormCount() > 0)
        Screen()->Forms(Screen()->FormCount() - 1)->Free();
    Pump();
    win32::input::Reset();
    win32::ResetSystemSettings();
}

void StyledControlsTest::ShowForm() {
    FForm->Show();
    Pump();
}

void StyledControlsTest::Pump() {
    Application->ProcessMessages();
}

void StyledControlsTest::MouseDown(TControl* control, int x, int y) {
    TPoint p = control->ClientToScreen(TPoint(x, y));
    win32::input::MouseMove(p.X, p.Y);
    win32::input::MouseButton(win32::input::Button::Left, true, p.X, p.Y);
    Pump();
}

void StyledControlsTest::MouseUp(TControl* control, int x, int y) {
    TPoint p = control->ClientToScreen(TPoint(x, y));
    win32::input::MouseMove(p.X, p.Y);
    win32::input::MouseButton(win32::input::Button::Left, false, p.X, p.Y);
    Pump();
}

void StyledControlsTest::MouseMove(TControl* control, int x, int y) {
    TPoint p = control->ClientToScreen(TPoint(x, y));
    win32::input::MouseMove(p.X, p.Y);
    Pump();
}

void StyledControlsTest::ClickAt(TControl* control, int x, int y) {
    MouseDown(control, x, y);
    MouseUp(control, x, y);
}

void StyledControlsTest::Press(int virtualKey) {
    win32::input::PressKey(virtualKey);
    Pump();
}

void StyledControlsTest::PressAlt(int key) {
    win32::input::Key(VK_MENU, true);
    win32::input::PressKey(key);
    win32::input::Key(VK_MENU, false);
    Pump();
}

TBitmap& StyledControlsTest::Shot() {
    Pump();
    FShot = std::make_unique<TBitmap>();
    FShot->SetSize(FForm->ClientWidth(), FForm->ClientHeight());
    FForm->PaintTo(FShot->Canvas()->Handle(), 0, 0);
    return *FShot;
}

TColor StyledControlsTest::Pixel(TControl* control, int x, int y) {
    if (FShot == nullptr)
        Shot();
    TPoint p = FForm->ScreenToClient(control->ClientToScreen(TPoint(x, y)));
    return FShot->Canvas()->Pixels(p.X, p.Y);
}

void StyledControlsTest::UseThemes(bool on) {
    win32::SystemSettings settings = win32::GetSystemSettings();
    settings.themesActive = on;
    win32::SetSystemSettings(settings);
}
