// Benchmarks of the grid's paint, each in one run that reports its times and their ratio. Every paint is
// a WM_PAINT carrying an off-screen bitmap of 1360 x 833, the grid filling it.
// Rows: one screen of a 1,000,000-row x 32-column grid scrolled to its middle against a 100-row grid,
// also with both scroll bars and proportional thumbs (recomputed before every paint).
// Page down: SB_PAGEDOWN on the million rows and the repaint it asks for, against one full repaint.
// Fill: a full screen of plain text cells against one FillRect of the whole surface.
// Allocations: the operator new calls of one paint per painted cell, against those of bare DrawTextEx
// calls of the same texts (each fetched from its cell, drawn with the grid's flags for a wrapped cell)
// into the same bitmap.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>

#include "bench/BenchSupport.h"
#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"
#include "platform/win32/windraw.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"

// ---- Counting allocations

namespace {

using bench::SecondsSince;
using bench::StartPlatformOnce;
std::atomic<long long> Allocations{0};

void* CountedAlloc(std::size_t size) {
    ++Allocations;
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}
} // namespace

void* operator new(std::size_t size) {
    return CountedAlloc(size);
}
void* operator new[](std::size_t size) {
    return CountedAlloc(size);
}
void operator delete(void* pointer) noexcept {
    std::free(pointer);
}
void operator delete[](void* pointer) noexcept {
    std::free(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    std::free(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    std::free(pointer);
}

namespace {

constexpr int Width = 1360;
constexpr int Height = 833;
constexpr int Rounds = 20;

// A shown grid of rows x columns filling the form, its visible cells around top filled with text.
struct ShownGrid {
    TForm* form = nullptr;
    TAdvStringGrid* grid = nullptr;
    TBitmap bitmap{Width, Height};

    ShownGrid(Integer rows, Integer columns, Integer top, bool proportional = false, Integer filled = 60) {
        form = new TForm(nullptr, 0);
        form->SetBounds(0, 0, Width + 40, Height + 60);
        grid = new TAdvStringGrid(form);
        grid->SetScrollBars(proportional ? ssBoth : ssNone);
        grid->SetScrollProportional(proportional);
        grid->SetBorderStyle(bsNone);
        grid->SetBounds(0, 0, Width, Height);
        grid->SetColCount(columns);
        grid->SetRowCount(rows);
        grid->SetParent(form);
        form->Show();
        Application->ProcessMessages();
        grid->SetTopRow(top);
        for (Integer r = 0; r < filled; ++r)
            for (Integer c = 0; c < columns; ++c) {
                const Integer row = r < grid->FixedRows() ? r : top + r;
                // The same texts on every screen, wherever it is, so that screens compare alike.
                if (row < rows)
                    grid->SetCells(c, row, u"Line " + IntToStr(r) + u"." + IntToStr(c));
            }
        Application->ProcessMessages();
    }
    ~ShownGrid() { form->Free(); }

    void Paint() { grid->Perform(WM_PAINT, reinterpret_cast<WPARAM>(bitmap.Canvas()->Handle()), 0); }
    double BestPaint() {
        Paint();
        double best = 0;
        for (int round = 0; round < Rounds; ++round) {
            const auto start = std::chrono::steady_clock::now();
            Paint();
            const double seconds = SecondsSince(start);
            best = round == 0 ? seconds : std::min(best, seconds);
        }
        return best;
    }
    Integer VisibleCells() const {
        return (grid->VisibleRowCount() + grid->FixedRows() + 1) *
               (grid->VisibleColCount() + grid->FixedCols() + 1);
    }
};

void BM_MillionRowsAgainstHundred(benchmark::State& state) {
    StartPlatformOnce();
    for (auto _ : state) {
        ShownGrid small(100, 32, 1);
        ShownGrid large(1000000, 32, 500000);
        const double smallBest = small.BestPaint();
        const double largeBest = large.BestPaint();
        state.counters["rows100_ms"] = smallBest * 1000;
        state.counters["rows1000000_ms"] = largeBest * 1000;
        state.counters["large_over_small"] = smallBest > 0 ? largeBest / smallBest : 0;
    }
}
BENCHMARK(BM_MillionRowsAgainstHundred)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_MillionRowsProportional(benchmark::State& state) {
    StartPlatformOnce();
    for (auto _ : state) {
        ShownGrid small(100, 32, 1, true);
        ShownGrid large(1000000, 32, 500000, true);
        const double smallBest = small.BestPaint();
        const double largeBest = large.BestPaint();
        state.counters["rows100_ms"] = smallBest * 1000;
        state.counters["rows1000000_ms"] = largeBest * 1000;
        state.counters["large_over_small"] = smallBest > 0 ? largeBest / smallBest : 0;
    }
}
BENCHMARK(BM_MillionRowsProportional)->Iterations(1)->Unit(benchmark::kMillisecond);

// Both through the window's own paint: the scroll message moves the top row and invalidates, then the
// update paints what it asked for; the full repaint invalidates the whole window first. Every page holds
// text, so both paint the same kind of screen.
void BM_PageDownAgainstFullPaint(benchmark::State& state) {
    StartPlatformOnce();
    for (auto _ : state) {
        ShownGrid shown(1000000, 32, 500000, true, 60 * (Rounds + 2));
        HWND window = shown.grid->Handle();
        auto fullPaint = [&] {
            InvalidateRect(window, nullptr, FALSE);
            UpdateWindow(window);
        };
        auto pageDown = [&] {
            shown.grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
            UpdateWindow(window);
        };
        fullPaint();
        double fullBest = 0;
        double pageBest = 0;
        for (int round = 0; round < Rounds; ++round) {
            auto start = std::chrono::steady_clock::now();
            fullPaint();
            const double full = SecondsSince(start);
            start = std::chrono::steady_clock::now();
            pageDown();
            const double page = SecondsSince(start);
            fullBest = round == 0 ? full : std::min(fullBest, full);
            pageBest = round == 0 ? page : std::min(pageBest, page);
        }
        state.counters["full_paint_ms"] = fullBest * 1000;
        state.counters["page_down_ms"] = pageBest * 1000;
        state.counters["page_over_full"] = fullBest > 0 ? pageBest / fullBest : 0;
    }
}
BENCHMARK(BM_PageDownAgainstFullPaint)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_TextScreenAgainstFillRect(benchmark::State& state) {
    StartPlatformOnce();
    for (auto _ : state) {
        ShownGrid shown(100, 32, 1);
        const double paint = shown.BestPaint();
        TCanvas* canvas = shown.bitmap.Canvas();
        double fill = 0;
        for (int round = 0; round < Rounds; ++round) {
            canvas->Brush()->SetColor(round % 2 == 0 ? clWhite : clSilver);
            const auto start = std::chrono::steady_clock::now();
            canvas->FillRect(TRect(0, 0, Width, Height));
            GdiFlush();
            const double seconds = SecondsSince(start);
            fill = round == 0 ? seconds : std::min(fill, seconds);
        }
        // The texts alone, drawn as the grid draws them, for scale.
        HDC dc = canvas->Handle();
        TAdvStringGrid* grid = shown.grid;
        double text = 0;
        for (int round = 0; round < Rounds; ++round) {
            const auto start = std::chrono::steady_clock::now();
            for (Integer r = 0; r <= grid->VisibleRowCount() + 1; ++r)
                for (Integer c = 0; c <= grid->VisibleColCount() + 1; ++c) {
                    String cell = grid->Cells(c, r);
                    RECT rect = grid->CellRect(c, r);
                    DrawTextExW(dc, cell.data(), static_cast<int>(cell.size()), &rect,
                                DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX | DT_WORDBREAK, nullptr);
                }
            GdiFlush();
            const double seconds = SecondsSince(start);
            text = round == 0 ? seconds : std::min(text, seconds);
        }
        state.counters["paint_ms"] = paint * 1000;
        state.counters["bare_text_ms"] = text * 1000;
        state.counters["fillrect_ms"] = fill * 1000;
        state.counters["paint_over_fillrect"] = fill > 0 ? paint / fill : 0;
        state.counters["cells"] = shown.VisibleCells();
    }
}
BENCHMARK(BM_TextScreenAgainstFillRect)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_AllocationsPerCell(benchmark::State& state) {
    StartPlatformOnce();
    for (auto _ : state) {
        ShownGrid shown(100, 32, 1);
        TAdvStringGrid* grid = shown.grid;
        shown.Paint();
        long long before = Allocations.load();
        shown.Paint();
        const long long painted = Allocations.load() - before;

        // The same texts, each fetched from its cell and drawn once.
        HDC dc = shown.bitmap.Canvas()->Handle();
        const Integer lastRow = std::min(grid->RowCount() - 1, grid->TopRow() + grid->VisibleRowCount());
        const Integer lastCol = std::min(grid->ColCount() - 1, grid->LeftCol() + grid->VisibleColCount());
        before = Allocations.load();
        Integer cells = 0;
        for (Integer r = 0; r <= lastRow; ++r) {
            if (r == grid->FixedRows())
                r = grid->TopRow();
            for (Integer c = 0; c <= lastCol; ++c) {
                if (c == grid->FixedCols())
                    c = grid->LeftCol();
                String text = grid->Cells(c, r);
                RECT rect = grid->CellRect(c, r);
                DrawTextExW(dc, text.data(), static_cast<int>(text.size()), &rect,
                            DT_EDITCONTROL | DT_EXPANDTABS | DT_NOPREFIX | DT_WORDBREAK, nullptr);
                ++cells;
            }
        }
        const long long bare = Allocations.load() - before;
        state.counters["cells"] = cells;
        state.counters["grid_news_per_cell"] = static_cast<double>(painted) / cells;
        state.counters["bare_news_per_cell"] = static_cast<double>(bare) / cells;
    }
}
BENCHMARK(BM_AllocationsPerCell)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
