// The console's hot paths against the same cell writes done directly on a grid, in one run each: showing
// one decoded frame in a module grid, and one log tick appending a row to a log of a million rows. Also
// reports the longest time the frame reader spends in its read of a connected port with nothing waiting.
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>

#include "app/About.h"
#include "app/Factory.h"
#include "app/Main.h"
#include "app/ModSettings.h"
#include "app/MsrSettings.h"
#include "app/Setup.h"
#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/backend/serialdevice.h"
#include "platform/rtl/Convert.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

double Seconds(SteadyClock::time_point start) {
    return std::chrono::duration<double>(SteadyClock::now() - start).count();
}

// The console's six windows, made once as the program makes them, with settings in a scratch folder.
void StartConsole() {
    static const bool started = [] {
        backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
        backend::SetEnvironment("ZELMOR_HOME", backend::MakeTemporaryDirectory("zelmor-bench-"));
        static char name[] = "bench_console";
        char* argv[] = {name, nullptr};
        if (!backend::StartPlatform(1, argv))
            return false;
        RegisterConsoleClasses();
        Main = CreateInstance<TMain>(nullptr);
        Form1 = CreateInstance<TForm1>(nullptr);
        Form2 = CreateInstance<TForm2>(nullptr);
        MsrSetings = CreateInstance<TMsrSetings>(nullptr);
        FactorySettings = CreateInstance<TFactorySettings>(nullptr);
        ModulesDataSet = CreateInstance<TModulesDataSet>(nullptr);
        return true;
    }();
    if (!started)
        std::abort();
}

// A frame of module 1 whose values change with seed, with a right checksum and a strength.
void MakeFrame(Byte (&frame)[kFrameSize], int seed) {
    std::fill(std::begin(frame), std::end(frame), Byte(0));
    for (int k = 0; k < 15; ++k) {
        const int value = (seed * 37 + k * 1013) & 0xFFFF;
        frame[2 * k] = static_cast<Byte>(value >> 8);
        frame[2 * k + 1] = static_cast<Byte>(value & 0xFF);
    }
    frame[30] = 26;
    frame[31] = 42;
    for (int i = 0; i <= 35; ++i)
        frame[36] ^= frame[i];
    frame[37] = 0xFF;
    frame[39] = 0xA6;
}

constexpr int kRounds = 2000;

void BM_FrameAgainstDirectWrites(benchmark::State& state) {
    StartConsole();
    auto* direct = new TAdvStringGrid(nullptr);
    direct->SetColCount(2);
    direct->SetRowCount(31);
    // The texts the console writes, ready made: the direct side only writes them.
    std::vector<std::array<String, kDataRows>> texts(kRounds);
    for (int round = 0; round < kRounds; ++round) {
        Byte frame[kFrameSize];
        MakeFrame(frame, round);
        const DecodedFrame decoded = DecodeFrame(frame);
        for (int r = 1; r <= kDataRows; ++r)
            texts[round][r - 1] = r <= 15 ? TenthsToText(decoded.values[r - 1]) : String(u"0");
    }
    std::vector<std::array<Byte, kFrameSize>> frames(kRounds);
    for (int round = 0; round < kRounds; ++round) {
        Byte frame[kFrameSize];
        MakeFrame(frame, round);
        std::copy(std::begin(frame), std::end(frame), frames[round].begin());
    }
    double consoleBest = 1e9, directBest = 1e9;
    for (auto _ : state) {
        for (int pass = 0; pass < 5; ++pass) {
            auto start = SteadyClock::now();
            for (int round = 0; round < kRounds; ++round) {
                Byte frame[kFrameSize];
                std::copy(frames[round].begin(), frames[round].end(), frame);
                Main->ShowFrame(frame);
            }
            consoleBest = std::min(consoleBest, Seconds(start) / kRounds);
            start = SteadyClock::now();
            for (int round = 0; round < kRounds; ++round)
                for (int r = 1; r <= kDataRows; ++r)
                    direct->SetCells(1, r, texts[round][r - 1]);
            directBest = std::min(directBest, Seconds(start) / kRounds);
        }
    }
    state.counters["frame_us"] = consoleBest * 1e6;
    state.counters["direct_30_cells_us"] = directBest * 1e6;
    state.counters["frame_over_direct"] = consoleBest / directBest;
    direct->Free();
}
BENCHMARK(BM_FrameAgainstDirectWrites)->Iterations(1)->Unit(benchmark::kMillisecond);

constexpr Integer kLogRows = 1000000;
constexpr int kTicks = 1000;

void BM_LogTickOnAMillionRows(benchmark::State& state) {
    StartConsole();
    TAdvStringGrid* log = Main->Log1;
    log->SetRowCount(kLogRows + 1);
    Main->RowCount = kLogRows - 1; // the next tick writes the last row and appends one
    auto* direct = new TAdvStringGrid(nullptr);
    direct->SetColCount(32);
    direct->SetFixedCols(0);
    direct->SetRowCount(kLogRows + 1);
    const String date = DateToStr(Date());
    const String time = TimeToStr(Time());
    std::array<String, kLoggedValues> values;
    for (int r = 1; r <= kLoggedValues; ++r) {
        values[r - 1] = FloatToStr(r * 12.5);
        Main->Module1Data->SetCells(1, r, values[r - 1]);
    }
    double consoleTime = 0, directTime = 0;
    for (auto _ : state) {
        auto start = SteadyClock::now();
        for (int tick = 0; tick < kTicks; ++tick) {
            Main->Modules->SetChecked(0, true);
            Main->MeasureTimerTimer(Main->MeasureTimer);
        }
        consoleTime = Seconds(start) / kTicks;
        start = SteadyClock::now();
        Integer row = kLogRows;
        for (int tick = 0; tick < kTicks; ++tick, ++row) {
            direct->SetCells(0, row, date);
            direct->SetCells(1, row, time);
            for (Integer c = 2; c <= kLoggedValues + 1; ++c)
                direct->SetCells(c, row, values[c - 2]);
            direct->AddRow();
        }
        directTime = Seconds(start) / kTicks;
    }
    state.counters["tick_us"] = consoleTime * 1e6;
    state.counters["direct_row_us"] = directTime * 1e6;
    state.counters["tick_over_direct"] = consoleTime / directTime;
    state.counters["log_rows"] = log->RowCount();
    direct->Free();
}
BENCHMARK(BM_LogTickOnAMillionRows)->Iterations(1)->Unit(benchmark::kMillisecond);

// The frame reader's read of a connected port with no bytes waiting: the time the GUI thread spends in
// it, longest of many.
void BM_FrameReaderRead(benchmark::State& state) {
    StartConsole();
    backend::RegisterFakeSerialPort("FAKE_bench");
    TComPort* port = Form2->ComPort1;
    port->SetPort(u"FAKE_bench");
    port->Open();
    double longest = 0, total = 0;
    constexpr int kReads = 2000;
    for (auto _ : state) {
        for (int i = 0; i < kReads; ++i) {
            const auto start = SteadyClock::now();
            Main->UsbTimerTimer(Main->UsbTimer);
            const double took = Seconds(start);
            longest = std::max(longest, took);
            total += took;
        }
    }
    port->Close();
    backend::UnregisterFakeSerialPort("FAKE_bench");
    state.counters["read_mean_us"] = total / kReads * 1e6;
    state.counters["read_longest_us"] = longest * 1e6;
}
BENCHMARK(BM_FrameReaderRead)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
