// Benchmark of the mini-HTML renderer: 10,000 cell-sized strings of mixed markup drawn and measured
// through RenderMiniHTML on a bitmap, beside plain DrawText of the same text without its tags.
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <vector>

#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/rtl/UString.h"
#include "platform/win32/windraw.h"
#include "render/AsgHTMLE.h"

namespace {

constexpr int Count = 10000;
const TRect Cell(0, 0, 120, 40);

struct Fixture {
    std::vector<String> markup;
    std::vector<String> plain;
    TBitmap bitmap{Cell.Width(), Cell.Height()};

    Fixture() {
        backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
        static char name[] = "bench_render";
        static char* argv[] = {name, nullptr};
        if (!backend::StartPlatform(1, argv))
            std::abort();
        const char16_t* patterns[] = {
            u"<b>Module %</b> <font color=\"clRed\">12.5 V</font>",
            u"<a href=\"m%\">Node %</a> &amp; <i>link</i>",
            u"<p align=\"right\"><font size=\"3\">%</font> mA</p>",
            u"Load <hi>%</hi> <sub>x</sub><sup>2</sup> &eacute;t&eacute;",
            u"<u>Temp</u> % &deg;C<br><font bgcolor=\"#FFFF00\">warn</font>",
        };
        for (int i = 0; i < Count; ++i) {
            String text = patterns[i % 5];
            String number = Utf8ToString(std::to_string(i));
            for (size_t at; (at = text.find(u'%')) != String::npos;)
                text.replace(at, 1, number);
            markup.push_back(text);
            plain.push_back(MiniHTMLToPlainText(text));
        }
        bitmap.Canvas()->Font()->SetName(u"Tahoma");
        bitmap.Canvas()->Font()->SetSize(8);
    }
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

bool Render(TCanvas* canvas, const String& text, bool measure) {
    String anchor, plain, focus, title, id, value, type;
    Integer width = 0, height = 0, count = 0, mouse = 0;
    TRect hover, control;
    return RenderMiniHTML(canvas, text, Cell, nullptr, -1, -1, -1, -1, 0, measure, measure, false, false,
                          true, true, true, false, u"", 1.0, clBlue, clNone, clNone, clGray, anchor, plain,
                          focus, title, width, height, count, mouse, hover, control, id, value, type, nullptr,
                          nullptr, nullptr, bdLeftToRight);
}

// Time per string is the reported time divided by Count.
void BM_DrawMarkup(benchmark::State& state) {
    Fixture& f = TheFixture();
    for (auto _ : state)
        for (const String& text : f.markup)
            benchmark::DoNotOptimize(Render(f.bitmap.Canvas(), text, false));
    state.SetItemsProcessed(state.iterations() * Count);
}
BENCHMARK(BM_DrawMarkup)->Unit(benchmark::kMillisecond);

void BM_MeasureMarkup(benchmark::State& state) {
    Fixture& f = TheFixture();
    for (auto _ : state)
        for (const String& text : f.markup)
            benchmark::DoNotOptimize(Render(f.bitmap.Canvas(), text, true));
    state.SetItemsProcessed(state.iterations() * Count);
}
BENCHMARK(BM_MeasureMarkup)->Unit(benchmark::kMillisecond);

// The floor: the stripped text drawn once per cell with DrawText.
void BM_DrawTextPlain(benchmark::State& state) {
    Fixture& f = TheFixture();
    HDC dc = f.bitmap.Canvas()->Handle();
    for (auto _ : state)
        for (const String& text : f.plain) {
            RECT rect = Cell;
            benchmark::DoNotOptimize(DrawTextW(dc, text.c_str(), Integer(text.size()), &rect, DT_WORDBREAK));
        }
    state.SetItemsProcessed(state.iterations() * Count);
}
BENCHMARK(BM_DrawTextPlain)->Unit(benchmark::kMillisecond);

} // namespace
