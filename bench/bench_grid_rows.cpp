// Benchmark of the full string grid's row growth, in one run of 32 columns: 1,000,000 rows appended
// with AddRow and every cell of each written, against the framework grid growing its RowCount by one
// with the same writes; and InsertRows of 100,000 rows amid 1,000,000 against InsertRows of one row
// there; HideRows and UnHideRows of 100,000 rows amid 1,000,000, HideRowList of every tenth row and
// UnHideRowsAll against the framework grid's block delete of 100,000 rows there; RemoveRows of 100,000
// rows amid 1,000,000 against RemoveRows of one row there; and RealRowIndex and DisplRowIndex with
// 100,000 rows hidden against 10. Each reports the two times and their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "bench/BenchSupport.h"
#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/rtl/Convert.h"

namespace {

using bench::SecondsSince;

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

// A filled grid of 1,000,000 rows loses one row, then 100,000, in its middle; after each round the rows
// come back filled (untimed), so every round removes rows full of text from a grid of the same size.
void BM_RemoveRowsBlockAgainstOneRow(benchmark::State& state) {
    Fixture& f = TheFixture();
    auto* grid = new TAdvStringGrid(nullptr);
    grid->SetColCount(Columns);
    grid->SetRowCount(Rows);
    auto fill = [&](Integer from, Integer count) {
        for (Integer r = from; r < from + count; ++r)
            for (Integer c = 0; c < Columns; ++c)
                grid->SetGridCell(c, r, f.TextOf(c, r));
    };
    fill(0, Rows);
    double oneBest = 0;
    double blockBest = 0;
    double blockFirst = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            const Integer middle = Rows / 2 - Inserted / 2;
            auto start = std::chrono::steady_clock::now();
            grid->RemoveRows(middle, 1);
            const double one = SecondsSince(start);
            start = std::chrono::steady_clock::now();
            grid->RemoveRows(middle, Inserted);
            const double block = SecondsSince(start);
            grid->InsertRows(middle, Inserted + 1, true);
            fill(middle, Inserted + 1);
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
    // The first block also pays for the storage list of emptied rows growing to take it (once).
    state.counters["first_block_ms"] = blockFirst * 1000;
}
BENCHMARK(BM_RemoveRowsBlockAgainstOneRow)->Iterations(1)->Unit(benchmark::kMillisecond);

// Opens up the framework grid's block delete, the measure hiding is held to.
class TBlockGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::DeleteRowBlock;
    using TAdvStringGrid::TAdvStringGrid;
};

TBlockGrid* FilledGrid(const Fixture& f) {
    auto* grid = new TBlockGrid(nullptr);
    grid->SetColCount(Columns);
    grid->SetRowCount(Rows);
    for (Integer r = 0; r < Rows; ++r)
        for (Integer c = 0; c < Columns; ++c)
            grid->SetGridCell(c, r, f.TextOf(c, r));
    return grid;
}

// On one filled grid: the framework's block delete of 100,000 rows in the middle (the count then
// raised again, so the rows come back from beyond it), then HideRows of 100,000 rows there and
// UnHideRows of them, then HideRowList of every tenth row (100,000 rows) and UnHideRowsAll; each kind
// keeps its best round.
void BM_HideRowsAgainstBlockDelete(benchmark::State& state) {
    Fixture& f = TheFixture();
    TBlockGrid* grid = FilledGrid(f);
    TIntList everyTenth(0, 0);
    for (Integer r = 0; r < Rows; r += 10)
        everyTenth.Add(r);
    double deleteBest = 0;
    double hideBest = 0;
    double unhideBest = 0;
    double listBest = 0;
    double allBest = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            const Integer middle = Rows / 2 - Inserted / 2;
            auto start = std::chrono::steady_clock::now();
            grid->DeleteRowBlock(middle, Inserted);
            const double deleted = SecondsSince(start);
            grid->SetRowCount(Rows);
            start = std::chrono::steady_clock::now();
            grid->HideRows(middle, middle + Inserted - 1);
            const double hide = SecondsSince(start);
            start = std::chrono::steady_clock::now();
            grid->UnHideRows(middle, middle + Inserted - 1);
            const double unhide = SecondsSince(start);
            start = std::chrono::steady_clock::now();
            grid->HideRowList(&everyTenth);
            const double list = SecondsSince(start);
            if (grid->NumHiddenRows() != Rows / 10)
                std::abort();
            start = std::chrono::steady_clock::now();
            grid->UnHideRowsAll();
            const double all = SecondsSince(start);
            deleteBest = round == 0 ? deleted : std::min(deleteBest, deleted);
            hideBest = round == 0 ? hide : std::min(hideBest, hide);
            unhideBest = round == 0 ? unhide : std::min(unhideBest, unhide);
            listBest = round == 0 ? list : std::min(listBest, list);
            allBest = round == 0 ? all : std::min(allBest, all);
        }
    }
    grid->Free();
    auto over = [&](double t) { return deleteBest > 0 ? t / deleteBest : 0; };
    state.counters["block_delete_ms"] = deleteBest * 1000;
    state.counters["hiderows_ms"] = hideBest * 1000;
    state.counters["unhiderows_ms"] = unhideBest * 1000;
    state.counters["hiderowlist_ms"] = listBest * 1000;
    state.counters["unhiderowsall_ms"] = allBest * 1000;
    state.counters["hide_over_delete"] = over(hideBest);
    state.counters["unhide_over_delete"] = over(unhideBest);
    state.counters["hiderowlist_over_delete"] = over(listBest);
    state.counters["unhiderowsall_over_delete"] = over(allBest);
}
BENCHMARK(BM_HideRowsAgainstBlockDelete)->Iterations(1)->Unit(benchmark::kMillisecond);

// 1,000,000 lookups each way over a grid of 1,000,000 rows, with 10 rows hidden and then 100,000 (one
// block: the bisection runs over every hidden row, wherever they lie).
void BM_RowMappingManyHiddenAgainstFew(benchmark::State& state) {
    constexpr Integer Lookups = 1000000;
    auto* grid = new TAdvStringGrid(nullptr);
    grid->SetColCount(2);
    grid->SetRowCount(Rows);
    auto measure = [&] {
        Integer sum = 0;
        const Integer displayed = grid->RowCount();
        const auto start = std::chrono::steady_clock::now();
        for (Integer i = 0; i < Lookups; ++i) {
            const Integer at = static_cast<Integer>((static_cast<long long>(i) * 7919) % displayed);
            sum += grid->RealRowIndex(at);
            sum += grid->DisplRowIndex(at);
        }
        benchmark::DoNotOptimize(sum);
        return SecondsSince(start);
    };
    double fewBest = 0;
    double manyBest = 0;
    for (auto _ : state) {
        for (Integer r = 0; r < 10; ++r)
            grid->HideRow(Rows - 1 - r * 1000);
        for (int round = 0; round < Rounds; ++round)
            fewBest = round == 0 ? measure() : std::min(fewBest, measure());
        grid->UnHideRowsAll();
        grid->HideRows(Inserted, 2 * Inserted - 1);
        for (int round = 0; round < Rounds; ++round)
            manyBest = round == 0 ? measure() : std::min(manyBest, measure());
        state.counters["hidden"] = grid->NumHiddenRows();
    }
    grid->Free();
    state.counters["few_hidden_ms"] = fewBest * 1000;
    state.counters["many_hidden_ms"] = manyBest * 1000;
    state.counters["many_over_few"] = fewBest > 0 ? manyBest / fewBest : 0;
}
BENCHMARK(BM_RowMappingManyHiddenAgainstFew)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
