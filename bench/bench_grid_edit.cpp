// Benchmark of one in-place edit, in one run that reports its times and their ratio: F2, ten typed
// characters and Enter on a cell through the input entry points and the message loop (edit start, the
// editor's text, validation, the write-back and the repaints), on a 1,000,000-row grid with the cell in
// its middle against a 100-row grid.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

#include "bench/BenchSupport.h"
#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/framework/Application.h"
#include "platform/framework/Forms.h"
#include "platform/win32/wininput.h"

namespace {

using bench::SecondsSince;
using bench::StartPlatformOnce;

constexpr int Rounds = 20;

// A focused, editable grid of rows x 16 columns on a shown form, its current cell at row.
struct EditedGrid {
    TForm* form = nullptr;
    TAdvStringGrid* grid = nullptr;

    EditedGrid(Integer rows, Integer row) {
        form = new TForm(nullptr, 0);
        form->SetBounds(0, 0, 1000, 700);
        grid = new TAdvStringGrid(form);
        grid->SetScrollBars(ssNone);
        grid->SetBorderStyle(bsNone);
        grid->SetBounds(0, 0, 960, 640);
        grid->SetColCount(16);
        grid->SetRowCount(rows);
        grid->SetOptions(grid->Options() + TGridOptions{goEditing});
        // Every edit is checked, so that validation runs as in an application that checks its cells.
        grid->OnCellValidate = [](TObject*, Integer, Integer, String& value, bool& valid) {
            valid = !value.empty();
        };
        grid->SetParent(form);
        form->Show();
        Application->ProcessMessages();
        grid->SetFocus();
        grid->SetRow(row);
        grid->SetCol(2);
        Application->ProcessMessages();
    }
    ~EditedGrid() {
        grid->OnCellValidate = nullptr;
        form->Free();
    }

    void Edit(int round) {
        win32::input::PressKey(VK_F2);
        Application->ProcessMessages();
        for (int i = 0; i < 10; ++i)
            win32::input::TypeCharacter(static_cast<Char>(u'a' + (round + i) % 26));
        Application->ProcessMessages();
        win32::input::PressKey(VK_RETURN);
        Application->ProcessMessages();
    }
    double BestEdit() {
        Edit(0);
        double best = 0;
        for (int round = 0; round < Rounds; ++round) {
            const auto start = std::chrono::steady_clock::now();
            Edit(round + 1);
            const double seconds = SecondsSince(start);
            best = round == 0 ? seconds : std::min(best, seconds);
        }
        return best;
    }
};

void BM_EditMillionRowsAgainstHundred(benchmark::State& state) {
    StartPlatformOnce();
    for (auto _ : state) {
        EditedGrid small(100, 50);
        const double smallBest = small.BestEdit();
        EditedGrid large(1000000, 500000);
        const double largeBest = large.BestEdit();
        if (large.grid->Cells(2, 500000).size() < 10 || small.grid->Cells(2, 50).size() < 10)
            state.SkipWithError("the edits did not reach the cells");
        state.counters["rows100_ms"] = smallBest * 1000;
        state.counters["rows1000000_ms"] = largeBest * 1000;
        state.counters["large_over_small"] = smallBest > 0 ? largeBest / smallBest : 0;
    }
}
BENCHMARK(BM_EditMillionRowsAgainstHundred)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
