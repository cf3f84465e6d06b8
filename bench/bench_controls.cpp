// Benchmark of the styled controls' painting: each control painted 10,000 times into a surface, reported
// as the cost of one paint against one FillRect of the control's area on the same surface in the same
// run.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "controls/AdvPicture.h"
#include "controls/AdvSpin.h"
#include "controls/VrButtons.h"
#include "controls/VrLeds.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"

namespace {

constexpr int Paints = 10000;

struct Measure {
    double paintSeconds; // one paint
    double fillSeconds;  // one FillRect of the control's area
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Report(const char* name, const Measure& m) {
    std::printf("%-32s paint %8.2f us   FillRect %6.2f us   ratio %6.1f\n", name, m.paintSeconds * 1e6,
                m.fillSeconds * 1e6, m.paintSeconds / m.fillSeconds);
}

// A graphic control's paint message into a memory surface of its size, against the floor.
Measure PaintGraphicControl(TControl* control) {
    TBitmap surface;
    surface.SetSize(control->Width(), control->Height());
    HDC dc = surface.Canvas()->Handle();
    RECT area{0, 0, control->Width(), control->Height()};
    HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
    auto fillStart = std::chrono::steady_clock::now();
    for (int i = 0; i < Paints; ++i)
        FillRect(dc, &area, brush);
    double fill = SecondsSince(fillStart) / Paints;
    auto paintStart = std::chrono::steady_clock::now();
    for (int i = 0; i < Paints; ++i)
        control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    return {SecondsSince(paintStart) / Paints, fill};
}

// The console's connect button: "DisConnected" on maroon, at its default size.
Measure ShadowButton() {
    TVrShadowButton button(nullptr);
    button.SetCaption(u"DisConnected");
    button.Brush()->SetColor(clMaroon);
    return PaintGraphicControl(&button);
}

// The console's link LED, lit, at its default size.
Measure Led() {
    TVrUserLed led(nullptr);
    led.SetActive(true);
    return PaintGraphicControl(&led);
}

// A 100 x 100 picture filling a control of its size.
Measure Picture() {
    TBitmap bitmap;
    bitmap.SetSize(100, 100);
    bitmap.Canvas()->Brush()->SetColor(clTeal);
    bitmap.Canvas()->FillRect(TRect(0, 0, 100, 100));
    TMemoryStream file;
    bitmap.SaveToStream(file);
    file.SetPosition(0);
    TAdvPicture picture(nullptr);
    picture.SetBounds(0, 0, 100, 100);
    picture.Picture()->LoadFromStream(file);
    return PaintGraphicControl(&picture);
}

// The console's log interval: a spin edit of 80 x 22 showing 5 on a shown form, its window with frame,
// text and both buttons redrawn through the window manager, against a FillRect of its area on the
// form's surface.
Measure SpinEdit() {
    TForm form(nullptr, 0);
    form.SetBounds(0, 0, 200, 100);
    TAdvSpinEdit spin(nullptr);
    spin.SetBounds(10, 10, 80, 22);
    spin.SetParent(&form);
    spin.SetMinValue(1);
    spin.SetMaxValue(60);
    spin.SetCheckMinValue(true);
    spin.SetCheckMaxValue(true);
    spin.SetValue(5);
    form.Show();
    Application->ProcessMessages();
    HDC dc = GetDC(form.Handle());
    RECT area{10, 10, 90, 32};
    HBRUSH brush = GetSysColorBrush(COLOR_WINDOW);
    auto fillStart = std::chrono::steady_clock::now();
    for (int i = 0; i < Paints; ++i)
        FillRect(dc, &area, brush);
    double fill = SecondsSince(fillStart) / Paints;
    ReleaseDC(form.Handle(), dc);
    auto paintStart = std::chrono::steady_clock::now();
    for (int i = 0; i < Paints; ++i)
        RedrawWindow(spin.Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    double paint = SecondsSince(paintStart) / Paints;
    // The same control painted straight into a surface of its size, as the other controls are.
    TBitmap surface;
    surface.SetSize(80, 22);
    HDC surfaceDc = surface.Canvas()->Handle();
    auto directStart = std::chrono::steady_clock::now();
    for (int i = 0; i < Paints; ++i)
        spin.PaintTo(surfaceDc, 0, 0);
    Report("spin edit, 80 x 22, into a surface", {SecondsSince(directStart) / Paints, fill});
    spin.SetParent(nullptr);
    return {paint, fill};
}

} // namespace

int main() {
    backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
    static char name[] = "bench_controls";
    static char* argv[] = {name, nullptr};
    if (!backend::StartPlatform(1, argv))
        return EXIT_FAILURE;
    Report("shadow button", ShadowButton());
    Report("LED", Led());
    Report("picture, 100 x 100", Picture());
    Report("spin edit, 80 x 22, on its form", SpinEdit());
    return EXIT_SUCCESS;
}
