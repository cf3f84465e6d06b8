// Benchmark of the string grid: a grid of 1,000,000 rows x 32 columns of short texts, written and read
// cell by cell, and one screen of it painted beside one screen of a 100-row grid. It reports the heap
// bytes each written cell costs and how the two paints compare.
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "bench/CountedHeap.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/framework/Grids.h"
#include "platform/rtl/Convert.h"

namespace {

constexpr Integer BigRows = 1000000;
constexpr Integer SmallRows = 100;
constexpr Integer Columns = 32;

// Opens the grid's Paint to the benchmark.
class TBenchGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    void PaintScreen() {
        Invalidate();
        Update();
    }
};

struct Fixture {
    TForm* form = nullptr;
    TBenchGrid* big = nullptr;
    TBenchGrid* small = nullptr;
    std::vector<String> texts; // short texts, up to 7 characters
    double bytesPerCell = 0;

    Fixture() {
        backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
        static char name[] = "bench_grid";
        static char* argv[] = {name, nullptr};
        if (!backend::StartPlatform(1, argv))
            std::abort();
        form = new TForm(nullptr, 0);
        form->SetBounds(0, 0, 900, 700);
        big = MakeGrid(BigRows, 0);
        small = MakeGrid(SmallRows, 450);
        form->Show();
        Application->ProcessMessages();
        for (int i = 0; i < 1000; ++i)
            texts.push_back(u"R" + IntToStr(i));
    }

    TBenchGrid* MakeGrid(Integer rows, int left) {
        auto* grid = new TBenchGrid(form);
        grid->SetBounds(left, 0, 440, 600);
        grid->SetColCount(Columns);
        grid->SetRowCount(rows);
        grid->SetParent(form);
        return grid;
    }

    void Fill(TBenchGrid* grid, Integer rows) {
        for (Integer r = 0; r < rows; ++r)
            for (Integer c = 0; c < Columns; ++c)
                grid->SetCells(c, r, texts[static_cast<size_t>((r + c) % 1000)]);
    }
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

void BM_WriteEveryCell(benchmark::State& state) {
    Fixture& f = TheFixture();
    for (auto _ : state) {
        const long long before = bench::LiveHeapBytes();
        f.Fill(f.big, BigRows);
        f.bytesPerCell = static_cast<double>(bench::LiveHeapBytes() - before) / (double(BigRows) * Columns);
    }
    f.Fill(f.small, SmallRows);
    state.counters["bytes_per_cell"] = f.bytesPerCell;
    state.counters["cells_per_s"] =
        benchmark::Counter(double(BigRows) * Columns, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_WriteEveryCell)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_ReadEveryCell(benchmark::State& state) {
    Fixture& f = TheFixture();
    for (auto _ : state) {
        size_t total = 0;
        for (Integer r = 0; r < BigRows; ++r)
            for (Integer c = 0; c < Columns; ++c)
                total += f.big->Cells(c, r).size();
        benchmark::DoNotOptimize(total);
    }
    state.counters["cells_per_s"] =
        benchmark::Counter(double(BigRows) * Columns, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ReadEveryCell)->Iterations(2)->Unit(benchmark::kMillisecond);

// One screen of each grid, scrolled to its middle; the ratio is million-row time over 100-row time.
void BM_PaintScreen(benchmark::State& state) {
    Fixture& f = TheFixture();
    f.big->SetTopRow(BigRows / 2);
    f.small->SetTopRow(SmallRows / 2);
    auto timeOf = [](TBenchGrid* grid, int repeats) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < repeats; ++i)
            grid->PaintScreen();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    double bigTime = 0;
    double smallTime = 0;
    for (auto _ : state) {
        bigTime += timeOf(f.big, 1);
        state.PauseTiming();
        smallTime += timeOf(f.small, 1);
        state.ResumeTiming();
    }
    state.counters["million_over_hundred"] = smallTime > 0 ? bigTime / smallTime : 0;
}
BENCHMARK(BM_PaintScreen)->Unit(benchmark::kMicrosecond);

} // namespace
