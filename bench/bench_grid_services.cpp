// Benchmarks of the full string grid's engine services, each in one run reporting the two times it
// compares and their ratio.
//
// The wheel: a notch through the grid's window procedure (WM_MOUSEWHEEL sent to its window, then the
// repaint it causes) on a 1,000,000-row grid against a 100-row grid, alternating down and up around the
// middle row, so that both grids step and scroll alike.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvGridUnit.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"

namespace {

constexpr int Rounds = 3;

void StartPlatformOnce() {
    static const bool started = [] {
        backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
        static char name[] = "bench_grid_services";
        static char* argv[] = {name, nullptr};
        if (!backend::StartPlatform(1, argv))
            std::abort();
        GridUnitStartup();
        return true;
    }();
    (void)started;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// ---- The wheel

constexpr int WheelNotches = 4000;

// Seconds for the notches on a shown grid of that many rows, starting at its middle row.
double WheelNotchesOn(Integer rows) {
    auto* form = new TForm(nullptr, 0);
    form->SetBounds(0, 0, 600, 500);
    auto* grid = new TAdvStringGrid(form);
    grid->SetBounds(0, 0, 560, 460);
    grid->SetColCount(8);
    grid->SetRowCount(rows);
    for (Integer r = 0; r < std::min<Integer>(rows, 200); ++r)
        grid->SetCells(1, r, u"value");
    grid->SetParent(form);
    form->Show();
    Application->ProcessMessages();
    grid->SetRow(rows / 2);
    grid->SetFocus();
    Application->ProcessMessages();
    const HWND window = grid->WindowHandle();
    const LPARAM at = MAKELPARAM(100, 100);
    // One notch down and back first, to be sure the notches step.
    const Integer middle = grid->Row();
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), at);
    if (grid->Row() != middle + 3)
        std::abort();
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(WHEEL_DELTA)), at);
    Application->ProcessMessages();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < WheelNotches; ++i) {
        const short delta = i % 2 == 0 ? -WHEEL_DELTA : WHEEL_DELTA;
        SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), at);
        Application->ProcessMessages();
    }
    const double seconds = SecondsSince(start);
    form->Free();
    Application->ProcessMessages();
    return seconds;
}

void BM_WheelNotchMillionRowsAgainstHundred(benchmark::State& state) {
    StartPlatformOnce();
    double smallBest = 0;
    double largeBest = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            const double small = WheelNotchesOn(100);
            const double large = WheelNotchesOn(1000000);
            smallBest = round == 0 ? small : std::min(smallBest, small);
            largeBest = round == 0 ? large : std::min(largeBest, large);
        }
    }
    state.counters["us_per_notch_100"] = smallBest / WheelNotches * 1e6;
    state.counters["us_per_notch_1M"] = largeBest / WheelNotches * 1e6;
    state.counters["ratio"] = largeBest / smallBest;
}
BENCHMARK(BM_WheelNotchMillionRowsAgainstHundred)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
