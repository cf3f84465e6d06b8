// Benchmark of the styled controls' painting: each control painted 10,000 times, reported as the cost of
// one paint against one FillRect of the control's area on the same surface in the same run.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "controls/AdvPanel.h"
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

// A buffered 300 x 200 caption panel on a shown form: a gradient body with text, a caption with both
// buttons and text, and a status bar.
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
    // The panel's paint message into a memory surface of its size, as the window manager sends it.
    TBitmap surface;
    surface.SetSize(300, 200);
    HDC dc = surface.Canvas()->Handle();
    RECT area{0, 0, 300, 200};
    HBRUSH brush = GetSysColorBrush(COLOR_BTNFACE);
    auto fillStart = std::chrono::steady_clock::now();
    for (int i = 0; i < Paints; ++i)
        FillRect(dc, &area, brush);
    double fill = SecondsSince(fillStart) / Paints;
    auto paintStart = std::chrono::steady_clock::now();
    for (int i = 0; i < Paints; ++i)
        panel.Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    double paint = SecondsSince(paintStart) / Paints;
    panel.SetParent(nullptr);
    return {paint, fill};
}

} // namespace

int main() {
    backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
    static char name[] = "bench_controls";
    static char* argv[] = {name, nullptr};
    if (!backend::StartPlatform(1, argv))
        return EXIT_FAILURE;
    Report("caption panel, 300 x 200", CaptionPanel());
    return EXIT_SUCCESS;
}
