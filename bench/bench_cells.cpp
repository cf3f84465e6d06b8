// Benchmark of the grid base's cell path: 10,000,000 short texts written and read through
// TBaseGrid::SetCellEx/GetCellEx, and the same through the framework grid's Cells, in one run. It
// reports the ratio of the two and the heap bytes a plain cell costs in the base grid. A second case
// writes into a merged block near the top and near the bottom of a shown 2,000,000-row grid (each write
// repaints the block through its rectangle) and reports how the two compare.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

#include "bench/CountedHeap.h"
#include "grid/engine/BaseGrid.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"

namespace {

constexpr Integer Columns = 32;
constexpr Integer Rows = 312500; // 10,000,000 cells
constexpr int Rounds = 3;

struct Fixture {
    std::vector<String> texts; // short measured values, up to 7 characters

    Fixture() {
        backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
        static char name[] = "bench_cells";
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

// Writes every cell of a new grid, then reads every cell back; answers the seconds taken and the heap
// bytes the written cells hold.
template <class Grid, class Write, class Read>
std::pair<double, long long> WriteAndRead(Write write, Read read) {
    auto* grid = new Grid(nullptr);
    grid->SetColCount(Columns);
    grid->SetRowCount(Rows);
    const long long before = bench::LiveHeapBytes();
    const auto start = std::chrono::steady_clock::now();
    for (Integer r = 0; r < Rows; ++r)
        for (Integer c = 0; c < Columns; ++c)
            write(grid, c, r);
    const long long bytes = bench::LiveHeapBytes() - before;
    size_t total = 0;
    for (Integer r = 0; r < Rows; ++r)
        for (Integer c = 0; c < Columns; ++c)
            total += read(grid, c, r);
    benchmark::DoNotOptimize(total);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    grid->Free();
    return {seconds, bytes};
}

// The two grids take turns on fresh stores, and each keeps its best round, so neither gains from
// running second.
void BM_CellPath(benchmark::State& state) {
    Fixture& f = TheFixture();
    double frameworkBest = 0;
    double baseBest = 0;
    long long baseBytes = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            const auto framework = WriteAndRead<TStringGrid>(
                [&](TStringGrid* g, Integer c, Integer r) { g->SetCells(c, r, f.TextOf(c, r)); },
                [&](TStringGrid* g, Integer c, Integer r) { return g->Cells(c, r).size(); });
            const auto base = WriteAndRead<TBaseGrid>(
                [&](TBaseGrid* g, Integer c, Integer r) { g->SetCellEx(c, r, f.TextOf(c, r)); },
                [&](TBaseGrid* g, Integer c, Integer r) { return g->GetCellEx(c, r).size(); });
            frameworkBest = round == 0 ? framework.first : std::min(frameworkBest, framework.first);
            baseBest = round == 0 ? base.first : std::min(baseBest, base.first);
            baseBytes = base.second;
        }
    }
    state.counters["framework_ms"] = frameworkBest * 1000;
    state.counters["base_ms"] = baseBest * 1000;
    state.counters["base_over_framework"] = frameworkBest > 0 ? baseBest / frameworkBest : 0;
    state.counters["bytes_per_plain_cell"] = static_cast<double>(baseBytes) / (double(Rows) * Columns);
}
BENCHMARK(BM_CellPath)->Iterations(1)->Unit(benchmark::kMillisecond);

constexpr Integer MergedRows = 2000000;
constexpr Integer TopBlockRow = 5;
constexpr Integer BottomBlockRow = 1900000;
constexpr int BlockWrites = 200;

// Scrolls the merged block whose base is at row into view, then writes BlockWrites texts into it;
// answers the seconds the writes took.
double WriteBlock(TBaseGrid* grid, Integer row) {
    Fixture& f = TheFixture();
    grid->SetTopRow(row - 2);
    Application->ProcessMessages();
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < BlockWrites; ++i)
        grid->SetCellEx(3, row + 1, f.texts[static_cast<size_t>(i)]);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The grid is shown, so every write repaints its block; a few rows have heights of their own, so the
// positions come from the kept sums rather than from the default height.
void BM_MergedWritesTopAndBottom(benchmark::State& state) {
    TheFixture();
    auto* form = new TForm(nullptr, 0);
    form->SetBounds(0, 0, 800, 600);
    auto* grid = new TBaseGrid(form);
    grid->SetBounds(0, 0, 760, 560);
    grid->SetColCount(12);
    grid->SetRowCount(MergedRows);
    for (Integer r = 1; r < MergedRows; r += 1000)
        grid->SetRowHeights(r, 20 + r % 7);
    grid->SetParent(form);
    form->Show();
    Application->ProcessMessages();
    grid->MergeCells(2, TopBlockRow, 3, 3);
    grid->MergeCells(2, BottomBlockRow, 3, 3);
    double topBest = 0;
    double bottomBest = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            const double top = WriteBlock(grid, TopBlockRow);
            const double bottom = WriteBlock(grid, BottomBlockRow);
            topBest = round == 0 ? top : std::min(topBest, top);
            bottomBest = round == 0 ? bottom : std::min(bottomBest, bottom);
        }
    }
    form->Free();
    state.counters["top_us"] = topBest * 1e6;
    state.counters["bottom_us"] = bottomBest * 1e6;
    state.counters["bottom_over_top"] = topBest > 0 ? bottomBest / topBest : 0;
}
BENCHMARK(BM_MergedWritesTopAndBottom)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
