// Benchmark of the full string grid's row growth, in one run of 32 columns: 1,000,000 rows appended
// with AddRow and every cell of each written, against the framework grid growing its RowCount by one
// with the same writes; and InsertRows of 100,000 rows amid 1,000,000 against InsertRows of one row
// there. Each reports the two times and their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/rtl/Convert.h"

namespace {

constexpr Integer Columns = 32;
constexpr Integer Rows = 1000000;
constexpr Integer Inserted = 100000;
constexpr int Rounds = 3;

struct Fixture {
    std::vector<String> texts; // short log values

    Fixture() {
        backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
        static char name[] = "bench_grid_rows";
        static char* argv[] = {name, nullptr};
        if (!backend::StartPlatform(1, argv))
            std::abort();
        for (int i = 0; i < 1000; ++i)
            texts.push_back(FloatToStr(i / 8.0));
    }
    const String& TextOf(Integer c, Integer r) const { return texts[static_cast<size_t>((r + c) % 1000)]; }
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

template <class Grid, class Grow, class Write> double AppendRows(Grow grow, Write write) {
    auto* grid = new Grid(nullptr);
    grid->SetColCount(Columns);
    grid->SetRowCount(2);
    const auto start = std::chrono::steady_clock::now();
    for (Integer i = 0; i < Rows; ++i) {
        grow(grid);
        const Integer r = grid->RowCount() - 1;
        for (Integer c = 0; c < Columns; ++c)
            write(grid, c, r);
    }
    const double seconds = SecondsSince(start);
    grid->Free();
    return seconds;
}

// The two grids take turns on fresh stores, and each keeps its best round.
void BM_AddRowAgainstFrameworkRowCount(benchmark::State& state) {
    Fixture& f = TheFixture();
    double frameworkBest = 0;
    double gridBest = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            const double framework = AppendRows<TStringGrid>(
                [](TStringGrid* g) { g->SetRowCount(g->RowCount() + 1); },
                [&](TStringGrid* g, Integer c, Integer r) { g->SetCells(c, r, f.TextOf(c, r)); });
            const double grid = AppendRows<TAdvStringGrid>(
                [](TAdvStringGrid* g) { g->AddRow(); },
                [&](TAdvStringGrid* g, Integer c, Integer r) { g->SetCells(c, r, f.TextOf(c, r)); });
            frameworkBest = round == 0 ? framework : std::min(frameworkBest, framework);
            gridBest = round == 0 ? grid : std::min(gridBest, grid);
        }
    }
    state.counters["framework_rowcount_ms"] = frameworkBest * 1000;
    state.counters["addrow_ms"] = gridBest * 1000;
    state.counters["addrow_over_framework"] = frameworkBest > 0 ? gridBest / frameworkBest : 0;
}
BENCHMARK(BM_AddRowAgainstFrameworkRowCount)->Iterations(1)->Unit(benchmark::kMillisecond);

// A filled grid of 1,000,000 rows takes one row, then 100,000, in its middle; the rounds alternate on
// the same grid, which grows as they go, and each kind keeps its best round.
void BM_InsertRowsBlockAgainstOneRow(benchmark::State& state) {
    Fixture& f = TheFixture();
    auto* grid = new TAdvStringGrid(nullptr);
    grid->SetColCount(Columns);
    grid->SetRowCount(Rows);
    for (Integer r = 0; r < Rows; ++r)
        for (Integer c = 0; c < Columns; ++c)
            grid->SetGridCell(c, r, f.TextOf(c, r));
    double oneBest = 0;
    double blockBest = 0;
    double blockFirst = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            const Integer middle = grid->RowCount() / 2;
            auto start = std::chrono::steady_clock::now();
            grid->InsertRows(middle, 1, true);
            const double one = SecondsSince(start);
            start = std::chrono::steady_clock::now();
            grid->InsertRows(middle, Inserted, true);
            const double block = SecondsSince(start);
            oneBest = round == 0 ? one : std::min(oneBest, one);
            blockBest = round == 0 ? block : std::min(blockBest, block);
            if (round == 0)
                blockFirst = block;
        }
    }
    grid->Free();
    state.counters["one_row_ms"] = oneBest * 1000;
    state.counters["block_ms"] = blockBest * 1000;
    state.counters["block_over_one_row"] = oneBest > 0 ? blockBest / oneBest : 0;
    // The first block also pays for the row index growing past its capacity (doubling, once).
    state.counters["first_block_ms"] = blockFirst * 1000;
}
BENCHMARK(BM_InsertRowsBlockAgainstOneRow)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
