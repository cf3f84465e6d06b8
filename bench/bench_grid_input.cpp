// Benchmarks of the grid's input, each through the window manager's input entry points and the message
// loop with the repaint it causes, on a 1,000,000-row grid against a 100-row grid of 32 columns filling
// a 1360 x 833 form: Page Down from a row near the top, Ctrl+End from the first cell, and the mouse
// moved cell by cell along a row. Each reports the best of its rounds and the large-over-small ratio.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>

#include "bench/BenchSupport.h"
#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"
#include "platform/win32/wininput.h"

namespace {

using bench::StartPlatformOnce;

constexpr int Width = 1360;
constexpr int Height = 833;
constexpr int Rounds = 20;

void Pump() {
    Application->ProcessMessages();
}

// A focused grid of rows x 32 columns filling a shown form, the first screen filled with text.
struct InputGrid {
    TForm* form = nullptr;
    TAdvStringGrid* grid = nullptr;

    explicit InputGrid(Integer rows) {
        form = new TForm(nullptr, 0);
        form->SetBounds(0, 0, Width + 40, Height + 60);
        grid = new TAdvStringGrid(form);
        grid->SetScrollBars(ssNone);
        grid->SetBorderStyle(bsNone);
        grid->SetBounds(0, 0, Width, Height);
        grid->SetColCount(32);
        grid->SetRowCount(rows);
        grid->SetParent(form);
        form->Show();
        Pump();
        for (Integer r = 0; r < 60; ++r)
            for (Integer c = 0; c < 32; ++c)
                grid->SetCells(c, r, u"Line " + IntToStr(r) + u"." + IntToStr(c));
        grid->SetFocus();
        Pump();
    }
    ~InputGrid() { form->Free(); }

    // The best time of action after prepare, both followed by the message loop until it is idle.
    static double Best(const std::function<void()>& prepare, const std::function<void()>& action) {
        double best = 0;
        for (int round = 0; round <= Rounds; ++round) {
            prepare();
            Pump();
            const auto start = std::chrono::steady_clock::now();
            action();
            Pump();
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            // The first round warms the caches and is not counted.
            if (round == 1 || (round > 1 && seconds < best))
                best = seconds;
        }
        return best;
    }

    double PageDown() {
        return Best(
            [this] {
                grid->SetTopRow(1);
                grid->SetRow(5);
            },
            [] { win32::input::PressKey(VK_NEXT); });
    }
    double CtrlEnd() {
        return Best(
            [this] {
                grid->SetTopRow(1);
                grid->SetCol(1);
                grid->SetRow(1);
            },
            [] {
                win32::input::Key(VK_CONTROL, true);
                win32::input::PressKey(VK_END);
                win32::input::Key(VK_CONTROL, false);
            });
    }
    double MouseAlongRow() {
        const TRect first = grid->CellRect(1, 5);
        const TPoint start = grid->ClientToScreen(TPoint(first.Left + 5, first.Top + 5));
        return Best([start] { win32::input::MouseMove(start.X - 64, start.Y); },
                    [this, start] {
                        for (Integer c = 1; c < 20; ++c) {
                            const TRect cell = grid->CellRect(c, 5);
                            const TPoint p = grid->ClientToScreen(TPoint(cell.Left + 5, cell.Top + 5));
                            win32::input::MouseMove(p.X, start.Y);
                            Pump();
                        }
                    });
    }
};

void Report(benchmark::State& state, const char* name, double small, double large) {
    state.counters[std::string(name) + "_rows100_ms"] = small * 1000;
    state.counters[std::string(name) + "_rows1000000_ms"] = large * 1000;
    state.counters[std::string(name) + "_large_over_small"] = small > 0 ? large / small : 0;
}

void BM_PageDown(benchmark::State& state) {
    StartPlatformOnce();
    for (auto _ : state) {
        InputGrid small(100);
        const double smallBest = small.PageDown();
        InputGrid large(1000000);
        const double largeBest = large.PageDown();
        Report(state, "page_down", smallBest, largeBest);
    }
}
BENCHMARK(BM_PageDown)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_CtrlEnd(benchmark::State& state) {
    StartPlatformOnce();
    for (auto _ : state) {
        InputGrid small(100);
        const double smallBest = small.CtrlEnd();
        InputGrid large(1000000);
        const double largeBest = large.CtrlEnd();
        Report(state, "ctrl_end", smallBest, largeBest);
    }
}
BENCHMARK(BM_CtrlEnd)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_MouseAlongRow(benchmark::State& state) {
    StartPlatformOnce();
    for (auto _ : state) {
        InputGrid small(100);
        const double smallBest = small.MouseAlongRow();
        InputGrid large(1000000);
        const double largeBest = large.MouseAlongRow();
        Report(state, "mouse_move", smallBest, largeBest);
    }
}
BENCHMARK(BM_MouseAlongRow)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
