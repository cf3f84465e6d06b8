// Benchmarks of the full string grid's services on a shown grid. Each compares an operation over
// 1,000,000 rows with the same over 100,000 rows in one run and reports both times, their ratio and the
// paints the operation caused once the messages were served.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <functional>

#include <malloc.h>

#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"

namespace {

constexpr Integer SmallRows = 100000;
constexpr Integer BigRows = 1000000;

// A grid that counts its paints.
class TCountingGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        TAdvStringGrid::Paint();
    }
};

void StartPlatform() {
    static const bool started = [] {
        backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
        static char name[] = "bench_grid_services";
        static char* argv[] = {name, nullptr};
        return backend::StartPlatform(1, argv);
    }();
    if (!started)
        std::abort();
}

struct Measured {
    double seconds = 0;
    int paints = 0;
};

// Shows a grid of rows x columns, lets fill write its cells, then times run together with serving the
// messages it left, so the repaint is counted in.
Measured OnShownGrid(Integer rows, Integer columns, const std::function<void(TCountingGrid*)>& fill,
                     const std::function<void(TCountingGrid*)>& run) {
    StartPlatform();
    auto* form = new TForm(nullptr, 0);
    form->SetBounds(0, 0, 800, 600);
    auto* grid = new TCountingGrid(form);
    grid->SetBounds(0, 0, 760, 560);
    grid->SetColCount(columns);
    grid->SetRowCount(rows);
    fill(grid);
    grid->SetParent(form);
    form->Show();
    Application->ProcessMessages();
    grid->paints = 0;
    const auto start = std::chrono::steady_clock::now();
    run(grid);
    Application->ProcessMessages();
    Measured result{std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                    grid->paints};
    delete form;
    // Every run starts on memory it touches first: what this one freed goes back to the system, so the
    // next does not reuse pages that are already mapped.
    malloc_trim(0);
    return result;
}

// Runs the operation on the smaller grid first, then on the larger.
void Compare(benchmark::State& state, const std::function<void(TCountingGrid*)>& fill,
             const std::function<void(TCountingGrid*)>& run, Integer columns) {
    const Measured small = OnShownGrid(SmallRows, columns, fill, run);
    const Measured big = OnShownGrid(BigRows, columns, fill, run);
    state.counters["rows_100k_ms"] = small.seconds * 1000;
    state.counters["rows_1m_ms"] = big.seconds * 1000;
    state.counters["1m_over_100k"] = small.seconds > 0 ? big.seconds / small.seconds : 0;
    state.counters["paints_100k"] = small.paints;
    state.counters["paints_1m"] = big.paints;
}

// ---- Range operations

constexpr Integer RangeColumns = 8;

// Every cell holds a short value with blanks around it.
void FillPadded(TCountingGrid* grid) {
    for (Integer r = 0; r < grid->RowCount(); ++r)
        for (Integer c = 0; c < grid->ColCount(); ++c)
            grid->SetGridCell(c, r, u" " + IntToStr((r + c) % 1000) + u" ");
}

// Column 1 holds runs of one to four equal texts.
void FillRuns(TCountingGrid* grid) {
    for (Integer r = 0; r < grid->RowCount(); ++r) {
        grid->SetGridCell(0, r, IntToStr(r));
        grid->SetGridCell(1, r, IntToStr(r / (1 + r % 4)));
    }
}

void BM_TrimAll(benchmark::State& state) {
    const auto trim = [](TCountingGrid* grid) { grid->TrimAll(); };
    for (auto _ : state)
        Compare(state, FillPadded, trim, RangeColumns);
}
BENCHMARK(BM_TrimAll)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ColorRect(benchmark::State& state) {
    const auto none = [](TCountingGrid*) {};
    const auto colour = [](TCountingGrid* grid) {
        grid->ColorRect(1, 1, grid->ColCount() - 1, grid->RowCount() - 1, clYellow);
    };
    for (auto _ : state)
        Compare(state, none, colour, RangeColumns);
}
BENCHMARK(BM_ColorRect)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_MergeColumnCells(benchmark::State& state) {
    const auto merge = [](TCountingGrid* grid) { grid->MergeColumnCells(1, true); };
    for (auto _ : state)
        Compare(state, FillRuns, merge, RangeColumns);
}
BENCHMARK(BM_MergeColumnCells)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
