// The shared fixture of the instrument and picture controls' tests.
#include "tests/controls/InstrumentTesting.h"

#include "platform/framework/Application.h"
#include "platform/win32/wininput.h"

std::unique_ptr<TBitmap> PaintControl(TControl* control, TColor background) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(control->Width(), control->Height());
    bitmap->Canvas()->Brush()->SetColor(background);
    bitmap->Canvas()->FillRect(TRect(0, 0, control->Width(), control->Height()));
    control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap->Canvas()->Handle()), 0);
    return bitmap;
}

TRect BoundsOfColor(TBitmap& bitmap, TColor color) {
    TRect bounds(bitmap.Width(), bitmap.Height(), 0, 0);
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Canvas()->Pixels(x, y) == color) {
                bounds.Left = std::min<LONG>(bounds.Left, x);
                bounds.Top = std::min<LONG>(bounds.Top, y);
                bounds.Right = std::max<LONG>(bounds.Right, x + 1);
                bounds.Bottom = std::max<LONG>(bounds.Bottom, y + 1);
            }
    return bounds.IsEmpty() ? TRect() : bounds;
}

int CountColor(TBitmap& bitmap, TColor color) {
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
        for (int x = 0; x < bitmap.Width(); ++x)
            if (bitmap.Canvas()->Pixels(x, y) == color)
                ++count;
    return count;
}

bool SamePicture(TBitmap& a, TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height())
        return false;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Canvas()->Pixels(x, y) != b.Canvas()->Pixels(x, y))
                return false;
    return true;
}

void InstrumentTest::SetUp() {
    win32::input::Reset();
    FForm = new TForm(nullptr, 0);
    FForm->SetBounds(100, 100, 320, 240);
    FForm->SetColor(clYellow);
}

void InstrumentTest::TearDown() {
    FForm->Free();
    Pump();
    win32::input::Reset();
}

void InstrumentTest::ShowForm() {
    FForm->Show();
    Pump();
}

void InstrumentTest::Pump() {
    Application->ProcessMessages();
}

void InstrumentTest::MouseDown(TControl* control, int x, int y) {
    TPoint p = control->ClientToScreen(TPoint(x, y));
    win32::input::MouseMove(p.X, p.Y);
    win32::input::MouseButton(win32::input::Button::Left, true, p.X, p.Y);
    Pump();
}

void InstrumentTest::MouseUp(TControl* control, int x, int y) {
    TPoint p = control->ClientToScreen(TPoint(x, y));
    win32::input::MouseMove(p.X, p.Y);
    win32::input::MouseButton(win32::input::Button::Left, false, p.X, p.Y);
    Pump();
}

void InstrumentTest::MouseMove(TControl* control, int x, int y) {
    TPoint p = control->ClientToScreen(TPoint(x, y));
    win32::input::MouseMove(p.X, p.Y);
    Pump();
}

TBitmap& InstrumentTest::Shot() {
    Pump();
    FShot = std::make_unique<TBitmap>();
    FShot->SetSize(FForm->ClientWidth(), FForm->ClientHeight());
    FForm->PaintTo(FShot->Canvas()->Handle(), 0, 0);
    return *FShot;
}

TColor InstrumentTest::Pixel(TControl* control, int x, int y) {
    TPoint p = FForm->ScreenToClient(control->ClientToScreen(TPoint(x, y)));
    return FShot->Canvas()->Pixels(p.X, p.Y);
}
