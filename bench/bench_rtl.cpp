// Benchmarks of the run-time library's hot conversions: Format, IntToStr, FloatToStr and StrToFloat.
#include <benchmark/benchmark.h>
#include <vector>

#include "platform/rtl/Convert.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"

namespace {

// Values of the kind the console shows: readings with a few decimals, counters, small fractions.
const std::vector<double>& Readings() {
    static const std::vector<double> values = {0.1, 23.5, -4.125, 1013.25, 1.0 / 3, 12345.678, 1e-5, 6.02e23};
    return values;
}

void BM_FormatMixed(benchmark::State& state) {
    Integer i = 0;
    for (auto _ : state) {
        String text = Format(u"Port %s: %d bytes, %.2f V, %x", {u"COM3", i, 12.3456, i});
        benchmark::DoNotOptimize(text);
        ++i;
    }
}
BENCHMARK(BM_FormatMixed);

void BM_FormatInteger(benchmark::State& state) {
    Integer i = 0;
    for (auto _ : state) {
        String text = Format(u"%5d", {i++});
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_FormatInteger);

void BM_IntToStr(benchmark::State& state) {
    Integer i = -1000000;
    for (auto _ : state) {
        String text = IntToStr(i);
        benchmark::DoNotOptimize(text);
        i += 7919;
    }
}
BENCHMARK(BM_IntToStr);

void BM_FloatToStr(benchmark::State& state) {
    const std::vector<double>& values = Readings();
    size_t k = 0;
    for (auto _ : state) {
        String text = FloatToStr(values[k]);
        benchmark::DoNotOptimize(text);
        k = (k + 1) % values.size();
    }
}
BENCHMARK(BM_FloatToStr);

void BM_StrToFloat(benchmark::State& state) {
    std::vector<String> texts;
    for (double value : Readings())
        texts.push_back(FloatToStr(value));
    size_t k = 0;
    for (auto _ : state) {
        double value = StrToFloat(texts[k]);
        benchmark::DoNotOptimize(value);
        k = (k + 1) % texts.size();
    }
}
BENCHMARK(BM_StrToFloat);

} // namespace
