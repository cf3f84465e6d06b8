// The grid's printing on a recording printer with the platform's pinned fonts: the default layout of a
// small log, page numbers over pages and column bands, page ranges, cancelling, fitting, merged cells,
// and one job through the PDF printer.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "platform/backend/device.h"
#include "platform/backend/printers.h"
#include "platform/backend/recorder.h"
#include "platform/framework/Printers.h"
#include "platform/rtl/UString.h"
#include "platform/win32/gdidevice.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr const char* kPrinter = "Recording printer";

struct TextCall {
    int x = 0;
    int y = 0;
    std::string text;
};

struct Line {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

class GridPrinting : public ::testing::Test {
protected:
    void SetUp() override {
        backend::printers::Register(kPrinter, [this](const backend::printers::PageSetup& setup) {
            // A4 at 600 dots per inch.
            backend::DeviceCaps caps;
            caps.dpiX = caps.dpiY = 600;
            caps.width = setup.landscape ? 7016 : 4960;
            caps.height = setup.landscape ? 4960 : 7016;
            FLandscape = setup.landscape;
            FDevice = backend::CreateRecordingPrinter(caps);
            return FDevice;
        });
        FPrevious = SetPrinter(new TPrinter({Utf8ToString(kPrinter)}, 0));
    }
    void TearDown() override {
        delete SetPrinter(FPrevious);
        backend::printers::Unregister(kPrinter);
    }

    // A log: a header row and rows of a time and two values.
    static void FillLog(TAdvStringGrid& grid, Integer rows) {
        grid.SetColCount(3);
        grid.SetRowCount(rows + 1);
        grid.SetFixedRows(1);
        grid.SetFixedCols(0);
        grid.SetCells(0, 0, u"Time");
        grid.SetCells(1, 0, u"M1");
        grid.SetCells(2, 0, u"M2");
        for (Integer r = 1; r <= rows; ++r) {
            grid.SetCells(0, r, u"10:00:" + IntToStr(10 + r));
            grid.SetCells(1, r, IntToStr(r * 3));
            grid.SetCells(2, r, u"v" + IntToStr(r));
        }
    }
    // Breaks the pages before each of these rows.
    static void BreakBefore(TAdvStringGrid& grid, std::vector<Integer> rows) {
        grid.OnPrintNewPage = [rows](TObject*, Integer ARow, bool& NewPage) {
            NewPage = std::find(rows.begin(), rows.end(), ARow) != rows.end();
        };
    }

    const std::vector<std::string>& Calls() const { return FDevice->Calls(); }
    int Count(const std::string& call) const {
        return static_cast<int>(std::count(Calls().begin(), Calls().end(), call));
    }
    // The texts drawn, page by page (page 0 holds what comes before the first StartPage).
    std::vector<std::vector<TextCall>> TextsByPage() const {
        static const std::regex text("^Text (-?\\d+),(-?\\d+) '(.*)' #");
        std::vector<std::vector<TextCall>> pages(1);
        for (const std::string& call : Calls()) {
            std::smatch m;
            if (call == "StartPage")
                pages.emplace_back();
            else if (std::regex_search(call, m, text))
                pages.back().push_back({std::stoi(m[1]), std::stoi(m[2]), m[3]});
        }
        return pages;
    }
    std::vector<std::string> AllTexts() const {
        std::vector<std::string> texts;
        for (const auto& page : TextsByPage())
            for (const TextCall& t : page)
                texts.push_back(t.text);
        return texts;
    }
    const TextCall* Find(const std::string& text) const {
        static thread_local std::vector<TextCall> kept;
        kept.clear();
        for (const auto& page : TextsByPage())
            for (const TextCall& t : page)
                kept.push_back(t);
        auto it = std::find_if(kept.begin(), kept.end(), [&](const TextCall& t) { return t.text == text; });
        return it == kept.end() ? nullptr : &*it;
    }
    std::vector<Line> Lines() const {
        static const std::regex polyline("^Polyline (-?\\d+),(-?\\d+) (-?\\d+),(-?\\d+) ");
        std::vector<Line> lines;
        for (const std::string& call : Calls()) {
            std::smatch m;
            if (std::regex_search(call, m, polyline))
                lines.push_back({std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4])});
        }
        return lines;
    }

    std::shared_ptr<backend::Recorder> FDevice;
    TPrinter* FPrevious = nullptr;
    bool FLandscape = false;
};

TEST_F(GridPrinting, ASmallLogPrintsOnOnePortraitPageCentredAndFramed) {
    TAdvStringGrid grid(nullptr);
    FillLog(grid, 3);
    Printer()->SetOrientation(poLandscape); // the default settings force portrait
    grid.Print();

    EXPECT_FALSE(FLandscape);
    ASSERT_GE(Calls().size(), 3u);
    EXPECT_EQ(Calls().front(), "StartDoc ''");
    EXPECT_EQ(Calls().back(), "EndDoc");
    EXPECT_EQ(Count("StartPage"), 1);

    // Every cell once, rows down the page and columns left to right.
    std::vector<std::string> texts = AllTexts();
    ASSERT_EQ(texts.size(), 12u);
    for (Integer r = 0; r < 4; ++r) {
        const TextCall* first = Find(StringToUtf8(grid.Cells(0, r)));
        const TextCall* second = Find(StringToUtf8(grid.Cells(1, r)));
        const TextCall* third = Find(StringToUtf8(grid.Cells(2, r)));
        ASSERT_TRUE(first && second && third) << "row " << r;
        EXPECT_EQ(first->y, second->y);
        EXPECT_EQ(second->y, third->y);
        EXPECT_LT(first->x, second->x);
        EXPECT_LT(second->x, third->x);
        if (r > 0) {
            const TextCall* above = Find(StringToUtf8(grid.Cells(0, r - 1)));
            EXPECT_GT(first->y, above->y);
        }
    }

    // Four lines around each cell; the table sits in the middle of the page.
    const std::vector<Line> lines = Lines();
    EXPECT_EQ(lines.size(), 4u * 12u);
    int left = INT_MAX, right = INT_MIN;
    for (const Line& line : lines) {
        left = std::min({left, line.x1, line.x2});
        right = std::max({right, line.x1, line.x2});
    }
    EXPECT_NEAR(left, 4960 - right, 30);
}

TEST_F(GridPrinting, PageNumbersCountPagesOrBandsAndPages) {
    struct Case {
        const char* name;
        bool wide; // columns too wide to share a page
        std::vector<std::string> numbers;
    };
    const Case cases[] = {
        {"one band", false, {"1/3", "2/3", "3/3"}},
        {"bands", true, {"1-1", "2-1", "1-2", "2-2", "1-3", "2-3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (FDevice)
            FDevice->Clear();
        TAdvStringGrid grid(nullptr);
        FillLog(grid, 5);
        grid.PrintSettings()->SetPageNr(ppBottomRight);
        if (c.wide) {
            grid.PrintSettings()->SetNoAutoSize(true);
            for (Integer col = 0; col < 3; ++col)
                grid.SetColWidths(col, 500);
            BreakBefore(grid, {3});
        } else {
            BreakBefore(grid, {2, 4});
        }
        grid.Print();
        std::vector<std::string> numbers;
        for (const auto& page : TextsByPage())
            for (const TextCall& t : page)
                if (t.text.find_first_of("/-") != std::string::npos && t.text.find(':') == std::string::npos)
                    numbers.push_back(t.text);
        for (std::string& number : numbers)
            number.erase(std::remove(number.begin(), number.end(), ' '), number.end());
        EXPECT_EQ(numbers, c.numbers);
        EXPECT_EQ(Count("StartPage"), static_cast<int>(c.numbers.size()));
    }
}

TEST_F(GridPrinting, APageRangeFromOnPrintStartPrintsOnlyThosePages) {
    TAdvStringGrid grid(nullptr);
    FillLog(grid, 9);
    BreakBefore(grid, {2, 4, 6, 8}); // five pages
    Integer total = 0;
    grid.OnPrintStart = [&](TObject*, Integer NrOfPages, Integer& FromPage, Integer& ToPage) {
        total = NrOfPages;
        FromPage = 2;
        ToPage = 3;
    };
    std::vector<Integer> laidOut;
    grid.OnPrintPageDone = [&](TObject*, TCanvas*, Integer, Integer, Integer LastPage, Integer, Integer) {
        laidOut.push_back(LastPage);
    };
    grid.Print();
    EXPECT_EQ(total, 5);
    EXPECT_EQ(laidOut, (std::vector<Integer>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Count("StartPage"), 2);
    const auto pages = TextsByPage();
    ASSERT_EQ(pages.size(), 3u);
    auto texts = [](const std::vector<TextCall>& page) {
        std::vector<std::string> out;
        for (const TextCall& t : page)
            out.push_back(t.text);
        return out;
    };
    EXPECT_EQ(texts(pages[1]), (std::vector<std::string>{"10:00:12", "6", "v2", "10:00:13", "9", "v3"}));
    EXPECT_EQ(texts(pages[2]), (std::vector<std::string>{"10:00:14", "12", "v4", "10:00:15", "15", "v5"}));
}

TEST_F(GridPrinting, AnEmptyRangeFromOnPrintStartDropsTheJob) {
    TAdvStringGrid grid(nullptr);
    FillLog(grid, 3);
    grid.OnPrintStart = [](TObject*, Integer, Integer& FromPage, Integer& ToPage) {
        FromPage = 3;
        ToPage = 2;
    };
    grid.Print();
    EXPECT_EQ(Calls().back(), "AbortDoc");
    EXPECT_FALSE(Printer()->Printing());
}

TEST_F(GridPrinting, CancellingAfterThePageBeginsNoFurtherPage) {
    TAdvStringGrid grid(nullptr);
    FillLog(grid, 6);
    grid.PrintSettings()->SetNoAutoSize(true);
    for (Integer col = 0; col < 3; ++col)
        grid.SetColWidths(col, 500); // three bands would follow
    BreakBefore(grid, {3, 5});
    std::vector<Integer> cancelAsked;
    grid.OnPrintCancel = [&](TObject*, Integer PageNr, bool& Cancel) {
        cancelAsked.push_back(PageNr);
        Cancel = true;
    };
    bool done = false;
    grid.OnPrintDone = [&](TObject*) { done = true; };
    grid.Print();
    EXPECT_EQ(cancelAsked, std::vector<Integer>{1});
    EXPECT_TRUE(done);
    EXPECT_EQ(Count("StartPage"), 1);
    EXPECT_EQ(Calls().back(), "EndDoc");
    const std::vector<std::string> texts = AllTexts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "10:00:13"), 0); // row 3 belongs to page 2
}

TEST_F(GridPrinting, AColumnWiderThanThePageMakesABandOfItsOwn) {
    TAdvStringGrid grid(nullptr);
    FillLog(grid, 2);
    grid.PrintSettings()->SetNoAutoSize(true);
    grid.SetColWidths(0, 900); // wider than the page
    grid.SetColWidths(1, 40);
    grid.SetColWidths(2, 40);
    std::vector<std::pair<Integer, Integer>> bands;
    grid.PrintSettings()->SetPageNr(ppTopLeft);
    grid.Print();
    // The first band holds the wide column alone; the two narrow ones share the second.
    const auto pages = TextsByPage();
    ASSERT_EQ(pages.size(), 3u);
    std::vector<std::string> first, second;
    for (const TextCall& t : pages[1])
        first.push_back(t.text);
    for (const TextCall& t : pages[2])
        second.push_back(t.text);
    EXPECT_NE(std::find(first.begin(), first.end(), "Time"), first.end());
    EXPECT_EQ(std::find(first.begin(), first.end(), "M1"), first.end());
    EXPECT_NE(std::find(second.begin(), second.end(), "M1"), second.end());
    EXPECT_NE(std::find(second.begin(), second.end(), "M2"), second.end());
}

TEST_F(GridPrinting, FitModesScaleTheColumnsOnlyTheWayTheyAllow) {
    struct Case {
        const char* name;
        TFitToPage fit;
        bool wide;     // the measured table is wider than the page
        int direction; // -1 narrower, 0 unchanged, +1 wider than measured
        bool allow = true;
    };
    const Case cases[] = {
        {"shrink a narrow table", fpShrink, false, 0}, {"grow a narrow table", fpGrow, false, 1},
        {"shrink a wide table", fpShrink, true, -1},   {"grow a wide table", fpGrow, true, 0},
        {"always, wide", fpAlways, true, -1},          {"always, narrow", fpAlways, false, 1},
        {"custom refused", fpCustom, false, 0, false}, {"custom allowed", fpCustom, false, 1, true},
    };
    auto widths = [](TAdvStringGrid& grid) {
        std::map<Integer, Integer> out;
        grid.OnPrintSetColumnWidth = [&out](TObject*, Integer ACol, Integer& Width) { out[ACol] = Width; };
        grid.Print();
        grid.OnPrintSetColumnWidth = nullptr;
        return out;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAdvStringGrid grid(nullptr);
        FillLog(grid, 2);
        if (c.wide)
            grid.SetCells(1, 1, String(120, u'W'));
        const std::map<Integer, Integer> measured = widths(grid);
        grid.PrintSettings()->SetFitToPage(c.fit);
        bool asked = false;
        grid.OnFitToPage = [&](TObject*, double&, bool& Allow) {
            asked = true;
            Allow = c.allow;
        };
        const std::map<Integer, Integer> fitted = widths(grid);
        EXPECT_EQ(asked, c.fit == fpCustom);
        Integer before = 0, after = 0;
        for (const auto& [col, width] : measured)
            before += width;
        for (const auto& [col, width] : fitted)
            after += width;
        EXPECT_EQ(after > before ? 1 : after < before ? -1 : 0, c.direction) << before << " -> " << after;
        if (c.direction != 0) { // fitted columns fill the page between the margins
            EXPECT_NEAR(after + 3 * 20, 2100, 10);
        }
    }
}

TEST_F(GridPrinting, AMergedBlockPrintsItsTextOnceWithoutInnerLines) {
    TAdvStringGrid grid(nullptr);
    FillLog(grid, 4);
    grid.SetCells(2, 1, u"hidden");
    grid.MergeCells(1, 1, 2, 2);
    grid.SetCells(1, 1, u"Merged");
    grid.Print();
    const std::vector<std::string> texts = AllTexts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Merged"), 1);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "hidden"), 0);

    // Inside the block (columns 1 and 2, rows 1 and 2) no line is drawn: a point in its middle, where
    // its inner lines would cross, lies on no line.
    const TextCall* merged = Find("Merged");
    const TextCall* m2 = Find("M2");
    const TextCall* row2 = Find("10:00:12");
    ASSERT_TRUE(merged && m2 && row2);
    const int midX = m2->x - 10;                // just left of column 2's text: the line between 1 and 2
    const int midY = (merged->y + row2->y) / 2; // between the block's two rows
    for (const Line& line : Lines()) {
        const bool vertical = line.x1 == line.x2;
        const int lo = std::min(vertical ? line.y1 : line.x1, vertical ? line.y2 : line.x2);
        const int hi = std::max(vertical ? line.y1 : line.x1, vertical ? line.y2 : line.x2);
        if (vertical && std::abs(line.x1 - midX) < 40) {
            EXPECT_FALSE(lo < midY && midY < hi) << "a line between the block's columns at x " << line.x1;
        }
        if (!vertical && std::abs(line.y1 - midY) < 40) {
            EXPECT_FALSE(lo < midX && midX < hi) << "a line between the block's rows at y " << line.y1;
        }
    }
}

TEST_F(GridPrinting, ARangePastTheColumnTablesIsClamped) {
    TAdvStringGrid grid(nullptr);
    grid.SetColCount(600);
    grid.SetRowCount(2);
    grid.SetCells(599, 1, u"far");
    grid.SetCells(511, 1, u"last");
    grid.PrintSettings()->SetNoAutoSize(true);
    grid.PrintSettings()->SetUseFixedHeight(true);
    grid.PrintSettings()->SetFixedHeight(40);
    grid.Print();
    const std::vector<std::string> texts = AllTexts();
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "last"), 1);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "far"), 0);
}

TEST_F(GridPrinting, FastPrintShowsTheLargestTotal) {
    TAdvStringGrid grid(nullptr);
    FillLog(grid, 3);
    grid.SetFastPrint(true);
    grid.PrintSettings()->SetPageNr(ppBottomCenter);
    Integer total = 0;
    grid.OnPrintStart = [&](TObject*, Integer NrOfPages, Integer&, Integer&) { total = NrOfPages; };
    grid.Print();
    EXPECT_EQ(total, 2147483647);
    const std::vector<std::string> texts = AllTexts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), "  1/2147483647 "), texts.end());
}

TEST_F(GridPrinting, APreviewDrawsTheChosenPageIntoItsRectangle) {
    TAdvStringGrid grid(nullptr);
    FillLog(grid, 5);
    BreakBefore(grid, {3}); // two pages
    std::shared_ptr<backend::Recorder> screen = backend::CreateRecorder(1000, 1200);
    HDC dc = CreateDeviceDC(screen);
    TCanvas canvas;
    canvas.SetHandle(dc);
    auto pageTexts = [&] {
        static const std::regex text("^Text (-?\\d+),(-?\\d+) '(.*)' #");
        std::vector<std::string> out;
        for (const std::string& call : screen->Calls()) {
            std::smatch m;
            if (std::regex_search(call, m, text)) {
                out.push_back(m[3]);
                const int x = std::stoi(m[1]), y = std::stoi(m[2]);
                EXPECT_TRUE(x >= 20 && x < 820 && y >= 10 && y < 1110) << call;
            }
        }
        screen->Clear();
        return out;
    };
    const TRect box(20, 10, 820, 1110); // a page of about A4 at 96 dots per inch
    grid.PrintPreview(&canvas, box);
    EXPECT_EQ(pageTexts(),
              (std::vector<std::string>{"Time", "M1", "M2", "10:00:11", "3", "v1", "10:00:12", "6", "v2"}));
    grid.SetPreviewPage(2);
    grid.PrintPreview(&canvas, box);
    EXPECT_EQ(pageTexts(), (std::vector<std::string>{"10:00:13", "9", "v3", "10:00:14", "12", "v4",
                                                     "10:00:15", "15", "v5"}));
    EXPECT_EQ(GetMapMode(dc), MM_TEXT); // the canvas's own mode again
    canvas.SetHandle(nullptr);
    DeleteDC(dc);
}

// The console's road: the system print dialog picks the PDF printer and its file, then Print.
TEST(GridPrintingToPdf, ALogOfThreePagesMakesAPdfOfThreePages) {
    TPrinter* previous = SetPrinter(new TPrinter());
    const Integer pdf = Printer()->Printers()->IndexOf(Utf8ToString(backend::printers::PdfPrinterName));
    ASSERT_GE(pdf, 0);
    Printer()->SetPrinterIndex(pdf);
    const std::string path = testing_support::MakeTestFolder("grid-pdf") + "/log.pdf";
    Printer()->SetOutputFile(Utf8ToString(path));

    TAdvStringGrid grid(nullptr);
    grid.SetColCount(2);
    grid.SetRowCount(7);
    for (Integer r = 0; r < 7; ++r)
        grid.SetCells(0, r, u"row " + IntToStr(r));
    grid.OnPrintNewPage = [](TObject*, Integer ARow, bool& NewPage) { NewPage = ARow == 3 || ARow == 5; };
    grid.Print();
    delete SetPrinter(previous);

    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    ASSERT_EQ(text.rfind("%PDF", 0), 0u);
    static const std::regex page("/Type\\s*/Page(?![s\\w])");
    EXPECT_EQ(std::distance(std::sregex_iterator(text.begin(), text.end(), page), std::sregex_iterator()), 3);
}

} // namespace
