// Benchmark of the full string grid's find, in one run: FindNext over 1,000,000 cells (8 columns of
// 125,000 rows) to a hit in the last cell of the walk, against a plain scan making the same
// case-insensitive test over the same texts in walk order. It reports the two times and their ratio.
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
#include "platform/rtl/SysStrings.h"

namespace {

using bench::SecondsSince;

constexpr Integer Columns = 8;
constexpr Integer Rows = 125000;
constexpr int Rounds = 3;
const String Needle = u"Needle";

// The scan's test: the text upper-cased (plain ASCII by a loop, anything else by the locale) holds
// the upper-cased needle.
bool Holds(StringView text, StringView upperNeedle, String& buffer) {
    buffer.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const Char c = text[i];
        if (c >= 0x80) {
            buffer = AnsiUpperCase(text);
            break;
        }
        buffer[i] = c >= u'a' && c <= u'z' ? static_cast<Char>(c - (u'a' - u'A')) : c;
    }
    return StringView(buffer).find(upperNeedle) != StringView::npos;
}

void BM_FindNextAgainstPlainScan(benchmark::State& state) {
    backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
    static char name[] = "bench_find";
    static char* argv[] = {name, nullptr};
    if (!backend::StartPlatform(1, argv))
        std::abort();

    // One fixed row and column around the data cells; the needle in the first and the last cell of
    // the column-by-column walk. The scan reads the data texts in that order from a vector.
    auto* grid = new TAdvStringGrid(nullptr);
    grid->SetColCount(Columns + 1);
    grid->SetRowCount(Rows + 1);
    std::vector<String> walk;
    walk.reserve(static_cast<size_t>(Columns * Rows));
    for (Integer c = 1; c <= Columns; ++c) {
        for (Integer r = 1; r <= Rows; ++r) {
            const bool end = (c == 1 && r == 1) || (c == Columns && r == Rows);
            const String text = end ? u"a " + Needle : u"log " + IntToStr(r * Columns + c);
            grid->SetGridCell(c, r, text);
            walk.push_back(text);
        }
    }
    const String upperNeedle = AnsiUpperCase(Needle);

    double scanBest = 0;
    double findBest = 0;
    for (auto _ : state) {
        for (int round = 0; round < Rounds; ++round) {
            auto start = std::chrono::steady_clock::now();
            String buffer;
            size_t hit = 0;
            for (size_t i = 1; i < walk.size(); ++i) {
                if (Holds(walk[i], upperNeedle, buffer)) {
                    hit = i;
                    break;
                }
            }
            benchmark::DoNotOptimize(hit);
            const double scan = SecondsSince(start);
            if (hit != walk.size() - 1)
                std::abort();

            const TPoint first = grid->FindFirst(Needle, {});
            if (first.X != 1 || first.Y != 1)
                std::abort();
            start = std::chrono::steady_clock::now();
            const TPoint next = grid->FindNext();
            const double find = SecondsSince(start);
            if (next.X != Columns || next.Y != Rows)
                std::abort();

            scanBest = round == 0 ? scan : std::min(scanBest, scan);
            findBest = round == 0 ? find : std::min(findBest, find);
        }
    }
    grid->Free();
    state.counters["plain_scan_ms"] = scanBest * 1000;
    state.counters["findnext_ms"] = findBest * 1000;
    state.counters["findnext_over_scan"] = scanBest > 0 ? findBest / scanBest : 0;
}
BENCHMARK(BM_FindNextAgainstPlainScan)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
