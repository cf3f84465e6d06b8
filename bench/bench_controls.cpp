// Benchmark of the styled controls' painting: each control painted 10,000 times into a surface, reported
// as the cost of one paint against one FillRect of the control's area on the same surface in the same
// run.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "bench/BenchSupport.h"
#include "controls/AdvCombo.h"
#include "controls/AdvEdit.h"
#include "controls/AdvOfficeButtons.h"
#include "controls/AdvPanel.h"
#include "controls/AdvPicture.h"
#include "controls/AdvSpin.h"
#include "controls/VrButtons.h"
#include "controls/VrLeds.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"

namespace {

using bench::SecondsSince;

constexpr int Paints = 10000;

struct Measure {
    double paintSeconds; // one paint
    double fillSeconds;  // one FillRect of the control's area
};

// A paint of the control into a memory surface of its size, against the floor.
Measure MeasurePaint(TControl* control, const std::function<void(HDC)>& paint) {
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
        paint(dc);
    return {SecondsSince(paintStart) / Paints, fill};
}

// The control's paint (with its children's).
Measure PaintControl(TWinControl* control) {
    return MeasurePaint(control, [control](HDC dc) { control->PaintTo(dc, 0, 0); });
}

// A graphic control's paint message.
Measure PaintGraphicControl(TControl* control) {
    return MeasurePaint(control,
                        [control](HDC dc) { control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0); });
}

void Report(const char* name, const Measure& m) {
    std::printf("%-32s paint %8.2f us   FillRect %6.2f us   ratio %6.1f\n", name, m.paintSeconds * 1e6,
                m.fillSeconds * 1e6, m.paintSeconds / m.fillSeconds);
}

TForm* TheForm() {
    static TForm* form = [] {
        auto* f = new TForm(nullptr, 0);
        f->SetBounds(0, 0, 400, 300);
        f->Show();
        Application->ProcessMessages();
        return f;
    }();
    return form;
}

// A group box with the caption "Modules", as the console's windows show them.
Measure CaptionedGroupBox() {
    auto* box = new TAdvGroupBox(TheForm());
    box->SetBounds(8, 8, 253, 46);
    box->SetCaption(u"Modules");
    box->SetParent(TheForm());
    Application->ProcessMessages();
    Measure m = PaintControl(box);
    box->Free();
    return m;
}

// The console's "Nodes" group: five modules in five columns.
Measure FiveItemCheckGroup() {
    auto* group = new TAdvOfficeCheckGroup(TheForm());
    group->SetBounds(8, 8, 253, 46);
    group->SetCaption(u"Nodes");
    group->SetColumns(5);
    group->SetParent(TheForm());
    for (const char16_t* item : {u"M1", u"M2", u"M3", u"M4", u"M5"})
        group->Items()->Add(item);
    group->SetCheckedItem(1, true);
    Application->ProcessMessages();
    Measure m = PaintControl(group);
    group->Free();
    return m;
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

// A buffered 300 x 200 caption panel on a shown form: a gradient body with text, a caption with both
// buttons and text, and a status bar; its paint message into a memory surface, as the window manager sends
// it.
Measure CaptionPanel() {
    TForm form(nullptr, 0);
    form.SetBounds(0, 0, 340, 240);
    TAdvPanel panel(nullptr);
    panel.SetBounds(10, 10, 300, 200);
    panel.SetColor(clWhite);
    panel.SetColorTo(clSkyBlue);
    panel.SetText(u"Module <b>1</b>: 12 readings");
    panel.Caption()->SetVisible(true);
    panel.Caption()->SetText(u"Module 1");
    panel.Caption()->SetCloseButton(true);
    panel.Caption()->SetMinMaxButton(true);
    panel.StatusBar()->SetVisible(true);
    panel.StatusBar()->SetText(u"Ready");
    panel.SetParent(&form);
    form.Show();
    Application->ProcessMessages();
    Measure m = PaintGraphicControl(&panel);
    panel.SetParent(nullptr);
    return m;
}

// A windowed control on a shown form redrawn through the window manager (frame, text and children),
// against a FillRect of its area on the form's surface.
Measure MeasureRedraw(TForm& form, TWinControl& control) {
    form.Show();
    Application->ProcessMessages();
    HDC dc = GetDC(form.Handle());
    RECT area = control.BoundsRect();
    HBRUSH brush = GetSysColorBrush(COLOR_WINDOW);
    auto fillStart = std::chrono::steady_clock::now();
    for (int i = 0; i < Paints; ++i)
        FillRect(dc, &area, brush);
    double fill = SecondsSince(fillStart) / Paints;
    ReleaseDC(form.Handle(), dc);
    auto paintStart = std::chrono::steady_clock::now();
    for (int i = 0; i < Paints; ++i)
        RedrawWindow(control.Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return {SecondsSince(paintStart) / Paints, fill};
}

// The console's log interval: a spin edit of 80 x 22 showing 5.
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
    Measure m = MeasureRedraw(form, spin);
    // The same control painted straight into a surface of its size, as the other controls are.
    TBitmap surface;
    surface.SetSize(80, 22);
    HDC surfaceDc = surface.Canvas()->Handle();
    auto directStart = std::chrono::steady_clock::now();
    for (int i = 0; i < Paints; ++i)
        spin.PaintTo(surfaceDc, 0, 0);
    Report("spin edit, 80 x 22, into a surface", {SecondsSince(directStart) / Paints, m.fillSeconds});
    spin.SetParent(nullptr);
    return m;
}

// The console's renaming edit: 150 x 22 with its name and a label above, centred.
Measure LabelledEdit() {
    TForm form(nullptr, 0);
    form.SetBounds(0, 0, 240, 120);
    TAdvEdit edit(nullptr);
    edit.SetBounds(40, 40, 150, 22);
    edit.SetParent(&form);
    edit.SetLabelCaption(u"Module name");
    edit.SetLabelPosition(AdvEdit::lpTopCenter);
    edit.SetText(u"Module 1");
    Measure m = MeasureRedraw(form, edit);
    edit.SetParent(nullptr);
    return m;
}

// The console's module list: a flat combo of 150 x 22 showing its first item.
Measure Combo() {
    TForm form(nullptr, 0);
    form.SetBounds(0, 0, 240, 120);
    TAdvComboBox combo(nullptr);
    combo.SetBounds(40, 40, 150, 22);
    combo.SetParent(&form);
    for (const char16_t* item : {u"Module 1", u"Module 2", u"Module 3"})
        combo.Items()->Add(item);
    combo.SetItemIndex(0);
    combo.SetFlat(true);
    Measure m = MeasureRedraw(form, combo);
    combo.SetParent(nullptr);
    return m;
}

} // namespace

int main() {
    backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
    static char name[] = "bench_controls";
    static char* argv[] = {name, nullptr};
    if (!backend::StartPlatform(1, argv))
        return EXIT_FAILURE;
    Report("group box, captioned", CaptionedGroupBox());
    Report("check group, five items", FiveItemCheckGroup());
    Report("shadow button", ShadowButton());
    Report("LED", Led());
    Report("picture, 100 x 100", Picture());
    Report("caption panel, 300 x 200", CaptionPanel());
    Report("spin edit, 80 x 22, on its form", SpinEdit());
    Report("edit with label, 150 x 22", LabelledEdit());
    Report("combo, flat, 150 x 22", Combo());
    return EXIT_SUCCESS;
}
