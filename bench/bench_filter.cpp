// Benchmark of the full string grid's filtering, in one run: ApplyFilter on 1,000,000 rows of 8
// columns hiding every other row, against the same condition matched over the same texts in a plain
// loop. It reports the two times and their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "bench/BenchSupport.h"
#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvUtil.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/rtl/Convert.h"

namespace {

using bench::SecondsSince;

constexpr Integer Columns = 8;
constexpr Integer Rows = 1000000;
constexpr int Rounds = 3;
constexpr Integer FilterColumn = 2;
const String Condition = u"alpha*";

// Even rows pass the condition, odd rows fail it.
String TextOf(Integer c, Integer r) {
    if (c == FilterColumn)
        return (r % 2 == 0 ? u"alpha " : u"beta ") + IntToStr(r);
    return IntToStr(r * Columns + c);
}

void BM_ApplyFilterAgainstMatcherLoop(benchmark::State& state) {
    backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
    static char name[] = "bench_filter";
    static char* argv[] = {name, nullptr};
    if (!backend::StartPlatform(1, argv))
        std::abort();

    // The matcher's loop reads the same texts, kept in a plain vector.
    std::vector<String> column(static_cast<size_t>(Rows));
    auto* grid = new TAdvStringGrid(nullptr);
    grid->SetColCount(Columns);
    grid->SetRowCount(Rows + 1);
    grid->SetFixedRows(1);
    for (Integer r = 0; r < Rows; ++r) {
        for (Integer c = 0; c < Columns; ++c)
            grid->SetGridCell(c, r + 1, TextOf(c, r));
        column[static_cast<size_t>(r)] = TextOf(FilterColumn, r);
    }
    TFilterData* item = grid->Filter()->Add();
    item->SetColumn(FilterColumn);
    item->SetCondition(Condition);

    double loopBest = 0;
    double filterBest = 0;
    Integer hidden = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            auto start = std::chrono::steady_clock::now();
            Integer failing = 0;
            for (const String& text : column)
                failing += MatchFilterExpr(Condition, text, true) ? 0 : 1;
            benchmark::DoNotOptimize(failing);
            const double loop = SecondsSince(start);

            start = std::chrono::steady_clock::now();
            grid->ApplyFilter();
            const double filter = SecondsSince(start);
            hidden = grid->NumHiddenRows();
            if (hidden != failing)
                std::abort();
            grid->RemoveLastFilter();

            loopBest = round == 0 ? loop : std::min(loopBest, loop);
            filterBest = round == 0 ? filter : std::min(filterBest, filter);
        }
    }
    grid->Free();
    state.counters["hidden"] = hidden;
    state.counters["matcher_loop_ms"] = loopBest * 1000;
    state.counters["applyfilter_ms"] = filterBest * 1000;
    state.counters["applyfilter_over_loop"] = loopBest > 0 ? filterBest / loopBest : 0;
}
BENCHMARK(BM_ApplyFilterAgainstMatcherLoop)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
