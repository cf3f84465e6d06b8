// Benchmark of the grid's native text file, in one run: a 1,000,000 x 32 grid saved with SaveToFile
// as UTF-16 and loaded back with LoadFromFile, against plain code writing the same lines from a vector
// of texts, and reading the file back, splitting it into lines and fields and keeping every cell text.
// Each reports the two times and their ratio. Then a 100,000 x 32 grid exported to a workbook with
// SaveToXLS through the spreadsheet server, in seconds and as a ratio to the native save of that grid,
// with the process's peak memory during the export.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "grid/engine/AdvGrid.h"
#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/UString.h"
#include "platform/servers/Servers.h"

namespace {

using bench::SecondsSince;

constexpr Integer Columns = 32;
constexpr Integer Rows = 1000000;

struct Fixture {
    std::vector<String> texts; // short log values
    std::string folder;

    Fixture() {
        backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
        static char name[] = "bench_files";
        static char* argv[] = {name, nullptr};
        if (!backend::StartPlatform(1, argv))
            std::abort();
        for (int i = 0; i < 1000; ++i)
            texts.push_back(FloatToStr(i / 8.0));
        folder = backend::MakeTemporaryDirectory("zelmor-bench-files");
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
    const String& TextOf(Integer c, Integer r) const { return texts[static_cast<size_t>((r + c) % 1000)]; }
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

void Append(String& out, Integer value) {
    out += IntToStr(value);
}

// The same lines as the grid writes, from plain texts, written in pieces.
double PlainSave(const std::string& path) {
    Fixture& f = TheFixture();
    const auto start = std::chrono::steady_clock::now();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const unsigned char bom[2] = {0xFF, 0xFE};
    std::fwrite(bom, 1, 2, file);
    String buffer;
    auto line = [&] {
        buffer += u"\r\n";
        if (buffer.size() >= (1u << 16)) {
            std::fwrite(buffer.data(), 2, buffer.size(), file);
            buffer.clear();
        }
    };
    Append(buffer, Columns);
    buffer += u',';
    Append(buffer, Rows);
    line();
    for (Integer c = 0; c < Columns; ++c) {
        buffer += u"cw ";
        Append(buffer, c);
        buffer += u",64";
        line();
    }
    for (Integer r = 0; r < Rows; ++r)
        for (Integer c = 0; c < Columns; ++c) {
            Append(buffer, c);
            buffer += u',';
            Append(buffer, r);
            buffer += u',';
            buffer += f.TextOf(c, r);
            line();
        }
    std::fwrite(buffer.data(), 2, buffer.size(), file);
    std::fclose(file);
    return SecondsSince(start);
}

// Reads the file in pieces, splits it into lines and the cell lines into fields, keeping each text.
double PlainLoad(const std::string& path, size_t& kept) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<String> cells(static_cast<size_t>(Rows) * Columns);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    String text;
    std::vector<char16_t> piece(1 << 19);
    bool first = true;
    size_t n = 0;
    kept = 0;
    while ((n = std::fread(piece.data(), 2, piece.size(), file)) > 0) {
        text.append(piece.data() + (first ? 1 : 0), piece.data() + n);
        first = false;
        size_t pos = 0;
        for (;;) {
            const size_t end = text.find(u'\n', pos);
            if (end == String::npos)
                break;
            StringView line(text.data() + pos, end - pos - 1);
            pos = end + 1;
            const size_t a = line.find(u',');
            const size_t b = a == StringView::npos ? StringView::npos : line.find(u',', a + 1);
            if (b == StringView::npos || line.starts_with(u"cw"))
                continue;
            const size_t c = static_cast<size_t>(StrToIntDef(line.substr(0, a), 0));
            const size_t r = static_cast<size_t>(StrToIntDef(line.substr(a + 1, b - a - 1), 0));
            if (c < Columns && r < Rows) {
                cells[r * Columns + c] = String(line.substr(b + 1));
                ++kept;
            }
        }
        text.erase(0, pos);
    }
    std::fclose(file);
    return SecondsSince(start);
}

void BM_NativeFileAgainstPlainCode(benchmark::State& state) {
    Fixture& f = TheFixture();
    const std::string plainPath = f.folder + "/plain.log";
    const std::string gridPath = f.folder + "/grid.log";
    auto* grid = new TAdvStringGrid(nullptr);
    grid->SetColCount(Columns);
    grid->SetRowCount(Rows);
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    for (Integer r = 0; r < Rows; ++r)
        for (Integer c = 0; c < Columns; ++c)
            grid->SetCells(c, r, f.TextOf(c, r));
    for (auto _ : state) {
        const double plainSave = PlainSave(plainPath);
        auto start = std::chrono::steady_clock::now();
        grid->SaveToFile(Utf8ToString(gridPath), true);
        const double gridSave = SecondsSince(start);
        size_t kept = 0;
        const double plainLoad = PlainLoad(plainPath, kept);
        auto* target = new TAdvStringGrid(nullptr);
        start = std::chrono::steady_clock::now();
        target->LoadFromFile(Utf8ToString(gridPath));
        const double gridLoad = SecondsSince(start);
        if (target->Cells(Columns - 1, Rows - 1) != grid->Cells(Columns - 1, Rows - 1) ||
            kept != size_t(Rows) * Columns)
            state.SkipWithError("the files did not load back");
        // The loaded grid is left to the end of the program.
        state.counters["plain_save_ms"] = plainSave * 1000;
        state.counters["save_ms"] = gridSave * 1000;
        state.counters["save_over_plain"] = gridSave / plainSave;
        state.counters["plain_load_ms"] = plainLoad * 1000;
        state.counters["load_ms"] = gridLoad * 1000;
        state.counters["load_over_plain"] = gridLoad / plainLoad;
    }
    delete grid;
}
BENCHMARK(BM_NativeFileAgainstPlainCode)->Iterations(1)->Unit(benchmark::kMillisecond);

// The resident set of the process, and its peak since the last ResetPeakMemory, in megabytes (Linux).
double StatusMegabytes(const char* field) {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (!status)
        return 0;
    char line[256];
    double kilobytes = 0;
    const size_t length = std::strlen(field);
    while (std::fgets(line, sizeof line, status))
        if (std::strncmp(line, field, length) == 0)
            kilobytes = std::atof(line + length + 1);
    std::fclose(status);
    return kilobytes / 1024;
}

void ResetPeakMemory() {
    if (std::FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", refs);
        std::fclose(refs);
    }
}

constexpr Integer ExportRows = 100000;

void BM_SpreadsheetExportAgainstNativeSave(benchmark::State& state) {
    Fixture& f = TheFixture();
    servers::RegisterServers();
    const String nativePath = Utf8ToString(f.folder + "/export.log");
    const String workbookPath = Utf8ToString(f.folder + "/export.xls");
    auto grid = std::make_unique<TAdvStringGrid>(nullptr);
    grid->SetColCount(Columns);
    grid->SetRowCount(ExportRows);
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    for (Integer r = 0; r < ExportRows; ++r)
        for (Integer c = 0; c < Columns; ++c)
            grid->SetCells(c, r, f.TextOf(c, r));
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        grid->SaveToFile(nativePath, true);
        const double nativeSave = SecondsSince(start);
        const double before = StatusMegabytes("VmRSS");
        ResetPeakMemory();
        start = std::chrono::steady_clock::now();
        grid->SaveToXLS(workbookPath, true);
        const double exportSeconds = SecondsSince(start);
        state.counters["native_save_ms"] = nativeSave * 1000;
        state.counters["export_s"] = exportSeconds;
        state.counters["export_over_native"] = exportSeconds / nativeSave;
        state.counters["rss_before_mb"] = before;
        state.counters["peak_rss_mb"] = StatusMegabytes("VmHWM");
        state.counters["workbook_mb"] =
            double(std::filesystem::file_size(StringToUtf8(workbookPath))) / 1048576;
    }
}
BENCHMARK(BM_SpreadsheetExportAgainstNativeSave)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
