// Benchmark of the full string grid's outline in one run: ContractAll, then ExpandAll, over 1,000,000
// data rows under 10,000 top-level nodes of 100 rows each, against HideRowList, then UnHideRowList, of
// the same rows. Each reports the two times and their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include <malloc.h>

#include "bench/BenchSupport.h"
#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/rtl/Convert.h"

namespace {

using bench::SecondsSince;

constexpr Integer Columns = 4;
constexpr Integer DataRows = 1000000;
constexpr Integer Nodes = 10000;
constexpr Integer Span = DataRows / Nodes;
constexpr int Rounds = 5;

void StartPlatform() {
    static bool started = false;
    if (started)
        return;
    backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
    static char name[] = "bench_cell_objects";
    static char* argv[] = {name, nullptr};
    if (!backend::StartPlatform(1, argv))
        std::abort();
    started = true;
    // Freed blocks stay with the process: the large temporary lists of both sides would otherwise go
    // back to the system and fault their pages in again on every call, which measures the system.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
}

// One fixed row, then the blocks: a node row followed by its 99 rows, every row with short texts.
TAdvStringGrid* OutlineGrid() {
    auto* grid = new TAdvStringGrid(nullptr);
    grid->SetColCount(Columns);
    grid->SetRowCount(DataRows + 1);
    for (Integer r = 1; r <= DataRows; ++r)
        for (Integer c = 1; c < Columns; ++c)
            grid->SetGridCell(c, r, IntToStr((r + c) % 1000));
    for (Integer n = 0; n < Nodes; ++n)
        grid->AddNode(1 + n * Span, Span);
    return grid;
}

void BM_ContractAllExpandAllAgainstHideRowList(benchmark::State& state) {
    StartPlatform();
    TAdvStringGrid* grid = OutlineGrid();
    // The rows ContractAll hides: each block but its node row.
    TIntList blockRows(0, 0);
    for (Integer r = 1; r <= DataRows; ++r)
        if ((r - 1) % Span != 0)
            blockRows.Add(r);
    const Integer hidden = blockRows.Count();
    double contractBest = 0;
    double expandBest = 0;
    double hideBest = 0;
    double unhideBest = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            auto start = std::chrono::steady_clock::now();
            grid->ContractAll();
            const double contract = SecondsSince(start);
            if (grid->NumHiddenRows() != hidden)
                std::abort();
            start = std::chrono::steady_clock::now();
            grid->ExpandAll();
            const double expand = SecondsSince(start);
            if (grid->NumHiddenRows() != 0)
                std::abort();
            start = std::chrono::steady_clock::now();
            grid->HideRowList(&blockRows);
            const double hide = SecondsSince(start);
            if (grid->NumHiddenRows() != hidden)
                std::abort();
            start = std::chrono::steady_clock::now();
            grid->UnHideRowList();
            const double unhide = SecondsSince(start);
            if (grid->NumHiddenRows() != 0)
                std::abort();
            contractBest = round == 0 ? contract : std::min(contractBest, contract);
            expandBest = round == 0 ? expand : std::min(expandBest, expand);
            hideBest = round == 0 ? hide : std::min(hideBest, hide);
            unhideBest = round == 0 ? unhide : std::min(unhideBest, unhide);
        }
    }
    grid->Free();
    state.counters["contractall_ms"] = contractBest * 1000;
    state.counters["expandall_ms"] = expandBest * 1000;
    state.counters["hiderowlist_ms"] = hideBest * 1000;
    state.counters["unhiderowlist_ms"] = unhideBest * 1000;
    state.counters["contractall_over_hiderowlist"] = hideBest > 0 ? contractBest / hideBest : 0;
    state.counters["expandall_over_unhiderowlist"] = unhideBest > 0 ? expandBest / unhideBest : 0;
}
BENCHMARK(BM_ContractAllExpandAllAgainstHideRowList)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
