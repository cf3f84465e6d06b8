// Benchmark of the full string grid's sort over 1,000,000 rows of 8 columns: QSort by a column of
// distinct reals and by a column of distinct words, each against std::stable_sort over the same keys
// extracted from the same cells into a vector of (key, row) pairs, the extraction timed with the sort.
// The rows come back to their shuffled order (QUnSort, untimed) between rounds; each side keeps its
// best round, and each benchmark reports the two times and their ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <utility>
#include <vector>

#include "bench/BenchSupport.h"
#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/rtl/Convert.h"

namespace {

using bench::SecondsSince;

constexpr Integer Columns = 8;
constexpr Integer Rows = 1000000;
constexpr Integer NumberColumn = 1;
constexpr Integer WordColumn = 2;
constexpr int Rounds = 3;

// A distinct word for each number: letters only, 5 to 9 of them.
String WordOf(Integer n) {
    String word;
    for (Integer i = 0; i < 5 || n > 0; ++i) {
        word.push_back(static_cast<Char>(u'a' + n % 26));
        n /= 26;
    }
    return word;
}

struct Fixture {
    TAdvStringGrid* grid = nullptr;

    Fixture() {
        backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
        static char name[] = "bench_sort";
        static char* argv[] = {name, nullptr};
        if (!backend::StartPlatform(1, argv))
            std::abort();
        std::vector<Integer> order(Rows);
        for (Integer i = 0; i < Rows; ++i)
            order[static_cast<size_t>(i)] = i;
        std::mt19937 random(1234);
        std::shuffle(order.begin(), order.end(), random);
        grid = new TAdvStringGrid(nullptr);
        grid->SetColCount(Columns);
        grid->SetRowCount(Rows + 1);
        grid->SetFixedRows(1);
        for (Integer r = 1; r <= Rows; ++r) {
            const Integer n = order[static_cast<size_t>(r - 1)];
            grid->SetGridCell(0, r, IntToStr(r));
            grid->SetGridCell(NumberColumn, r, FloatToStr(n * 1.25 + 0.125));
            // Shuffled apart from the numbers, so neither sort finds the other's order.
            grid->SetGridCell(
                WordColumn, r,
                WordOf(static_cast<Integer>(Int64(order[static_cast<size_t>(Rows - r)]) * 7919 % Rows)));
            for (Integer c = 3; c < Columns; ++c)
                grid->SetGridCell(c, r, IntToStr((r * c) % 1000));
        }
    }
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

// The grid's sort and the plain one take turns, the grid returning to its shuffled order in between.
template <class Key, class Extract>
void CompareWithStableSort(benchmark::State& state, Integer column, Extract extract) {
    TAdvStringGrid* grid = TheFixture().grid;
    double plainBest = 0;
    double gridBest = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            auto start = std::chrono::steady_clock::now();
            std::vector<std::pair<Key, Integer>> keys;
            keys.reserve(Rows);
            for (Integer r = 1; r <= Rows; ++r)
                keys.emplace_back(extract(grid->CellView(column, r)), r);
            std::stable_sort(keys.begin(), keys.end(),
                             [](const auto& a, const auto& b) { return a.first < b.first; });
            const double plain = SecondsSince(start);
            benchmark::DoNotOptimize(keys.data());

            const Integer compares = grid->Compares;
            start = std::chrono::steady_clock::now();
            grid->Sort(column, sdAscending);
            const double sorted = SecondsSince(start);
            if (grid->GridCells(0, 1) != IntToStr(keys.front().second))
                state.SkipWithError("the grid's first row differs from the plain sort's");
            state.counters["compares"] = grid->Compares - compares;
            grid->QUnSort();

            plainBest = round == 0 ? plain : std::min(plainBest, plain);
            gridBest = round == 0 ? sorted : std::min(gridBest, sorted);
        }
    }
    state.counters["stable_sort_ms"] = plainBest * 1000;
    state.counters["qsort_ms"] = gridBest * 1000;
    state.counters["qsort_over_stable_sort"] = plainBest > 0 ? gridBest / plainBest : 0;
}

void BM_QSortRealsAgainstStableSort(benchmark::State& state) {
    CompareWithStableSort<double>(state, NumberColumn, [](StringView text) {
        Extended value = 0;
        Integer code = 0;
        Val(text, value, code);
        return value;
    });
}
BENCHMARK(BM_QSortRealsAgainstStableSort)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_QSortWordsAgainstStableSort(benchmark::State& state) {
    CompareWithStableSort<StringView>(state, WordColumn, [](StringView text) { return text; });
}
BENCHMARK(BM_QSortWordsAgainstStableSort)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
