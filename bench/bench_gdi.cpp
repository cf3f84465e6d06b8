// Benchmark of GDI painting: a 1360 x 833 surface painted as a grid of 30 rows by 12 columns of text
// cells with lines and fills, against the floor of filling the same surface once.
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <string>

#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/win32/windraw.h"

namespace {

constexpr int Width = 1360;
constexpr int Height = 833;
constexpr int Rows = 30;
constexpr int Columns = 12;

// A memory DC on a 32-bit DIB section of the frame's size, on the off-screen platform.
struct Surface {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HFONT font = nullptr;

    Surface() {
        backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
        static char name[] = "bench_gdi";
        static char* argv[] = {name, nullptr};
        if (!backend::StartPlatform(1, argv))
            std::abort();

        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = Width;
        info.bmiHeader.biHeight = Height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        SelectObject(dc, bitmap);
        font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Tahoma");
        SelectObject(dc, font);
    }
};

Surface& TheSurface() {
    static Surface surface;
    return surface;
}

void FillOnce(HDC dc) {
    RECT all{0, 0, Width, Height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
}

// One frame as a grid paints it: fixed cells, alternating row colours, text with ellipses, grid lines
// and a focus rectangle.
void PaintFrame(HDC dc, const std::u16string* texts) {
    FillOnce(dc);
    int cellWidth = Width / Columns, cellHeight = Height / Rows;
    HBRUSH band = GetSysColorBrush(COLOR_BTNFACE);
    SetBkMode(dc, TRANSPARENT);
    for (int row = 0; row < Rows; ++row)
        for (int column = 0; column < Columns; ++column) {
            RECT cell{column * cellWidth, row * cellHeight, (column + 1) * cellWidth, (row + 1) * cellHeight};
            if (row == 0 || column == 0 || row % 2 == 1)
                FillRect(dc, &cell, band);
            RECT text = cell;
            InflateRect(&text, -2, 0);
            const std::u16string& value = texts[(row * Columns + column) % 8];
            DrawTextW(dc, value.c_str(), static_cast<int>(value.size()), &text,
                      DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        }
    HPEN line = CreatePen(PS_SOLID, 0, GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ old = SelectObject(dc, line);
    for (int row = 1; row <= Rows; ++row) {
        MoveToEx(dc, 0, row * cellHeight - 1, nullptr);
        LineTo(dc, Width, row * cellHeight - 1);
    }
    for (int column = 1; column <= Columns; ++column) {
        MoveToEx(dc, column * cellWidth - 1, 0, nullptr);
        LineTo(dc, column * cellWidth - 1, Height);
    }
    SelectObject(dc, old);
    DeleteObject(line);
    RECT focus{3 * cellWidth, 5 * cellHeight, 4 * cellWidth - 1, 6 * cellHeight - 1};
    DrawFocusRect(dc, &focus);
}

const std::u16string Texts[8] = {u"Module 3",
                                 u"23.50 V",
                                 u"-4.125",
                                 u"1013.25 hPa",
                                 u"Signal strength very good",
                                 u"OK",
                                 u"12:45:07",
                                 u"Battery low, replace soon"};

void BM_FillSurfaceOnce(benchmark::State& state) {
    Surface& surface = TheSurface();
    for (auto _ : state)
        FillOnce(surface.dc);
}
BENCHMARK(BM_FillSurfaceOnce)->Unit(benchmark::kMicrosecond);

void BM_PaintGridFrame(benchmark::State& state) {
    Surface& surface = TheSurface();
    // The floor, measured in the same run: how many plain fills one frame costs.
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 50; ++i)
        FillOnce(surface.dc);
    double floor = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / 50;
    double total = 0;
    for (auto _ : state) {
        auto begin = std::chrono::steady_clock::now();
        PaintFrame(surface.dc, Texts);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    }
    state.counters["frame_ms"] = total / static_cast<double>(state.iterations()) * 1000;
    state.counters["floor_ms"] = floor * 1000;
    state.counters["frames_per_floor"] = (total / static_cast<double>(state.iterations())) / floor;
}
BENCHMARK(BM_PaintGridFrame)->Unit(benchmark::kMillisecond);

} // namespace
