// Serial delivery: bytes written at the far end of a pseudo-terminal, paced at the data rate of a line
// speed (or as fast as the pseudo-terminal takes them), reach a reader of the comm API that waits for
// EV_RXCHAR and reads what is queued (the device side), and reach OnRxChar of a TComPort on the GUI
// thread, which reads them with Read (the library side, as the console receives). Reports throughput
// and the median and 99th percentile delay from write to delivery, and fails a run that loses or
// reorders a byte.
#include <algorithm>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/backend/file.h"
#include "platform/backend/serialdevice.h"
#include "platform/rtl/UString.h"
#include "platform/win32/comm.h"
#include "platform/win32/sync.h"
#include "serial/CPort.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr std::size_t kChunk = 16; // bytes per far-end write

std::uint8_t PatternByte(std::size_t index) {
    return static_cast<std::uint8_t>((index * 31 + index / 251) & 0xFF);
}

// state.range(0): the line speed whose data rate paces the writer (bits / 10 bytes per second), or 0
// for no pacing.
void BM_PtyToReader(benchmark::State& state) {
    const long baud = state.range(0);
    // About a second and a half of data at 115200, a moment unpaced.
    const std::size_t total = baud ? 16 * 1024 : 256 * 1024;
    backend::PseudoTerminal pty;
    int error = 0;
    if (!backend::OpenPseudoTerminal(pty, &error)) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    HANDLE port = CreateFileW(Utf8ToString(pty.path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    DCB dcb{};
    GetCommState(port, &dcb);
    dcb.BaudRate = baud ? static_cast<DWORD>(baud) : CBR_115200;
    SetCommState(port, &dcb);
    SetupComm(port, 1024, 1024); // the serial component's default queue
    COMMTIMEOUTS immediate{MAXDWORD, 0, 0, 0, 0};
    SetCommTimeouts(port, &immediate);
    SetCommMask(port, EV_RXCHAR);
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);

    std::vector<double> delays; // microseconds, one per chunk
    std::size_t mismatches = 0;
    double seconds = 0;
    for (auto _ : state) {
        std::vector<SteadyClock::time_point> written(total / kChunk);
        std::vector<std::uint8_t> data(total);
        for (std::size_t i = 0; i < total; ++i)
            data[i] = PatternByte(i);
        const auto start = SteadyClock::now();
        std::thread far([&] {
            const double chunkSeconds = baud ? kChunk * 10.0 / static_cast<double>(baud) : 0;
            for (std::size_t chunk = 0; chunk < written.size(); ++chunk) {
                if (baud)
                    std::this_thread::sleep_until(start +
                                                  std::chrono::duration_cast<SteadyClock::duration>(
                                                      std::chrono::duration<double>(chunkSeconds * chunk)));
                written[chunk] = SteadyClock::now();
                backend::WriteFile(pty.masterFd, data.data() + chunk * kChunk, kChunk, nullptr);
            }
        });
        std::size_t received = 0;
        std::uint8_t buffer[4096];
        while (received < total) {
            OVERLAPPED overlapped{};
            overlapped.hEvent = event;
            DWORD mask = 0;
            if (!WaitCommEvent(port, &mask, &overlapped) && GetLastError() == ERROR_IO_PENDING)
                WaitForSingleObject(event, INFINITE);
            DWORD read = 0;
            OVERLAPPED reading{};
            while (ReadFile(port, buffer, sizeof buffer, &read, &reading) && read > 0) {
                const auto now = SteadyClock::now();
                for (DWORD i = 0; i < read; ++i, ++received) {
                    if (received >= total || buffer[i] != PatternByte(received))
                        ++mismatches;
                    if (received % kChunk == kChunk - 1 && received < total)
                        delays.push_back(
                            std::chrono::duration<double, std::micro>(now - written[received / kChunk])
                                .count());
                }
            }
        }
        far.join();
        seconds += std::chrono::duration<double>(SteadyClock::now() - start).count();
    }
    CloseHandle(event);
    CloseHandle(port);
    backend::CloseFile(pty.masterFd, nullptr);

    std::sort(delays.begin(), delays.end());
    auto percentile = [&delays](double p) {
        return delays.empty()
                   ? 0.0
                   : delays[std::min(delays.size() - 1, static_cast<std::size_t>(p * delays.size()))];
    };
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * total));
    state.counters["median_us"] = percentile(0.5);
    state.counters["p99_us"] = percentile(0.99);
    state.counters["KB_per_s"] = seconds > 0 ? state.iterations() * total / 1024.0 / seconds : 0;
    if (mismatches)
        state.SkipWithError("bytes lost or reordered");
}
BENCHMARK(BM_PtyToReader)
    ->Arg(115200)
    ->Arg(921600)
    ->Arg(0)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The library side: the port keeps the console's settings (thread synchronisation, default queues and
// timeouts); its OnRxChar reads what is waiting. The main thread serves the synchronised calls.
void BM_PtyToComPort(benchmark::State& state) {
    const long baud = state.range(0);
    const std::size_t total = baud ? 16 * 1024 : 256 * 1024;
    backend::PseudoTerminal pty;
    int error = 0;
    if (!backend::OpenPseudoTerminal(pty, &error)) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    TComPort port(nullptr);
    port.SetPort(Utf8ToString(pty.path));
    port.SetBaudRate(brCustom);
    port.SetCustomBaudRate(baud ? static_cast<Integer>(baud) : 115200);
    port.Open();

    std::vector<double> delays; // microseconds, one per chunk
    std::size_t mismatches = 0;
    bool timedOut = false;
    double seconds = 0;
    for (auto _ : state) {
        std::vector<SteadyClock::time_point> written(total / kChunk);
        std::vector<std::uint8_t> data(total);
        for (std::size_t i = 0; i < total; ++i)
            data[i] = PatternByte(i);
        std::size_t received = 0;
        port.OnRxChar = [&](TObject*, Integer count) {
            std::uint8_t buffer[4096];
            while (count > 0) {
                const Integer read = port.Read(buffer, std::min<Integer>(count, sizeof buffer));
                if (read <= 0)
                    break;
                const auto now = SteadyClock::now();
                for (Integer i = 0; i < read; ++i, ++received) {
                    if (received >= total || buffer[i] != PatternByte(received))
                        ++mismatches;
                    if (received % kChunk == kChunk - 1 && received < total)
                        delays.push_back(
                            std::chrono::duration<double, std::micro>(now - written[received / kChunk])
                                .count());
                }
                count -= read;
            }
        };
        const auto start = SteadyClock::now();
        std::thread far([&] {
            const double chunkSeconds = baud ? kChunk * 10.0 / static_cast<double>(baud) : 0;
            for (std::size_t chunk = 0; chunk < written.size(); ++chunk) {
                if (baud)
                    std::this_thread::sleep_until(start +
                                                  std::chrono::duration_cast<SteadyClock::duration>(
                                                      std::chrono::duration<double>(chunkSeconds * chunk)));
                written[chunk] = SteadyClock::now();
                backend::WriteFile(pty.masterFd, data.data() + chunk * kChunk, kChunk, nullptr);
            }
        });
        const auto deadline = start + std::chrono::seconds(60);
        while (received < total && !timedOut) {
            CheckSynchronize(50);
            timedOut = SteadyClock::now() > deadline;
        }
        far.join();
        seconds += std::chrono::duration<double>(SteadyClock::now() - start).count();
    }
    port.Close();
    backend::CloseFile(pty.masterFd, nullptr);

    std::sort(delays.begin(), delays.end());
    auto percentile = [&delays](double p) {
        return delays.empty()
                   ? 0.0
                   : delays[std::min(delays.size() - 1, static_cast<std::size_t>(p * delays.size()))];
    };
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * total));
    state.counters["median_us"] = percentile(0.5);
    state.counters["p99_us"] = percentile(0.99);
    state.counters["KB_per_s"] = seconds > 0 ? state.iterations() * total / 1024.0 / seconds : 0;
    if (mismatches || timedOut)
        state.SkipWithError("bytes lost or reordered");
}
BENCHMARK(BM_PtyToComPort)
    ->Arg(115200)
    ->Arg(921600)
    ->Arg(0)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
