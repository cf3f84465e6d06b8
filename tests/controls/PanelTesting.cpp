// The shared fixture of the caption panel's tests.
#include "tests/controls/PanelTesting.h"

#include "platform/framework/Application.h"
#include "platform/win32/sysconfig.h"
#include "platform/win32/wininput.h"

void PanelTest::SetUp() {
    win32::input::Reset();
    win32::SystemSettings settings = win32::GetSystemSettings();
    settings.themesActive = false;
    win32::SetSystemSettings(settings);
    FForm = new TForm(nullptr, 0);
    FForm->SetBounds(100, 100, 480, 360);
    FForm->SetColor(clWhite);
}

void PanelTest::TearDown() {
    FForm->Free();
    while (Screen()->FormCount() > 0)
        Screen()->Forms(Screen()->FormCount() - 1)->Free();
    Pump();
    win32::input::Reset();
    win32::ResetSystemSettings();
}

TAdvPanel* PanelTest::AddPanel(int left, int top, int width, int height) {
    auto* panel = new TAdvPanel(FForm);
    panel->SetBounds(left, top, width, height);
    panel->SetParent(FForm);
    return panel;
}

void PanelTest::ShowForm() {
    FForm->Show();
    Pump();
}

void PanelTest::Pump() {
    Application->ProcessMessages();
}

void PanelTest::MouseDown(TControl* control, int x, int y) {
    TPoint p = control->ClientToScreen(TPoint(x, y));
    win32::input::MouseMove(p.X, p.Y);
    win32::input::MouseButton(win32::input::Button::Left, true, p.X, p.Y);
    Pump();
}

void PanelTest::MouseUp(TControl* control, int x, int y) {
    TPoint p = control->ClientToScreen(TPoint(x, y));
    win32::input::MouseMove(p.X, p.Y);
    win32::input::MouseButton(win32::input::Button::Left, false, p.X, p.Y);
    Pump();
}

void PanelTest::MouseMove(TControl* control, int x, int y) {
    TPoint p = control->ClientToScreen(TPoint(x, y));
    win32::input::MouseMove(p.X, p.Y);
    Pump();
}

void PanelTest::ClickAt(TControl* control, int x, int y) {
    MouseDown(control, x, y);
    MouseUp(control, x, y);
}

TColor PanelTest::Pixel(TControl* control, int x, int y) {
    Pump();
    FShot = std::make_unique<TBitmap>();
    FShot->SetSize(FForm->ClientWidth(), FForm->ClientHeight());
    FForm->PaintTo(FShot->Canvas()->Handle(), 0, 0);
    TPoint p = FForm->ScreenToClient(control->ClientToScreen(TPoint(x, y)));
    return FShot->Canvas()->Pixels(p.X, p.Y);
}
