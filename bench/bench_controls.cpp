// Benchmark of the styled controls' painting: each control painted 10,000 times into a surface, reported
// as the cost of one paint against one FillRect of the control's area on the same surface in the same
// run.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "controls/AdvOfficeButtons.h"
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

// The control's paint (with its children's) into a memory surface of its size, against the floor.
Measure PaintControl(TWinControl* control) {
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
        control->PaintTo(dc, 0, 0);
    return {SecondsSince(paintStart) / Paints, fill};
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

} // namespace

int main() {
    backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
    static char name[] = "bench_controls";
    static char* argv[] = {name, nullptr};
    if (!backend::StartPlatform(1, argv))
        return EXIT_FAILURE;
    Report("group box, captioned", CaptionedGroupBox());
    Report("check group, five items", FiveItemCheckGroup());
    return EXIT_SUCCESS;
}
