// Benchmarks of the grid engine's services, each in one run: Zoom(1) on a shown grid of 1,000,000 rows
// against one of 100,000 rows, up to the grid painted again. Each reports the two times, their ratio and
// what it measures besides.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"

namespace {

void StartPlatformOnce() {
    static const bool started = [] {
        backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
        static char name[] = "bench_grid_services";
        static char* argv[] = {name, nullptr};
        return backend::StartPlatform(1, argv);
    }();
    if (!started)
        std::abort();
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// ---- Zoom

// A grid that counts its paints.
class TZoomGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        TAdvStringGrid::Paint();
    }
};

struct ZoomRun {
    double seconds = 0;
    int paints = 0;
};

// Zoom(1) on a shown grid of 8 columns and the given rows, timed until the grid has painted again; the
// best of three zooms.
ZoomRun ZoomShownGrid(Integer rows) {
    auto* form = new TForm(nullptr, 0);
    form->SetBounds(0, 0, 800, 600);
    auto* grid = new TZoomGrid(form);
    grid->SetColCount(8);
    grid->SetRowCount(rows);
    grid->SetBounds(0, 0, 780, 580);
    grid->SetParent(form);
    form->Show();
    Application->ProcessMessages();
    ZoomRun best;
    for (int round = 0; round < 3; ++round) {
        grid->paints = 0;
        const auto start = std::chrono::steady_clock::now();
        grid->Zoom(1);
        Application->ProcessMessages();
        const double seconds = SecondsSince(start);
        if (round == 0 || seconds < best.seconds)
            best = {seconds, grid->paints};
    }
    form->Free();
    Application->ProcessMessages();
    return best;
}

void BM_ZoomMillionRowsAgainstHundredThousand(benchmark::State& state) {
    StartPlatformOnce();
    ZoomRun small;
    ZoomRun large;
    for (auto _ : state) {
        small = ZoomShownGrid(100000);
        large = ZoomShownGrid(1000000);
    }
    state.counters["zoom_100k_ms"] = small.seconds * 1000;
    state.counters["zoom_1m_ms"] = large.seconds * 1000;
    state.counters["zoom_1m_over_100k"] = small.seconds > 0 ? large.seconds / small.seconds : 0;
    state.counters["paints_per_zoom"] = large.paints;
}
BENCHMARK(BM_ZoomMillionRowsAgainstHundredThousand)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
