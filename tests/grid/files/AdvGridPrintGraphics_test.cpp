// The grid's cell graphics and HTML title blocks on paper: what each kind of cell graphic puts on a
// recording printer's page, an image's pixels in a preview, and the room a title block takes.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <regex>

#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvGridCellObjects.h"
#include "platform/backend/device.h"
#include "platform/backend/printers.h"
#include "platform/backend/recorder.h"
#include "platform/framework/Forms.h"
#include "platform/framework/ImgList.h"
#include "platform/framework/Printers.h"
#include "platform/rtl/UString.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr const char* kPrinter = "Recording graphics printer";
constexpr int kDpi = 600;

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
};

struct TextCall {
    int x = 0;
    int y = 0;
    std::string text;
    std::string rest; // colour, fill and clip
};

// An object that draws itself as a green square in whatever rectangle it gets.
class TGreenSwatch : public TInterfacedPersistent, public IGridCellObject {
public:
    HRESULT QueryInterface(REFIID riid, void** object) override {
        if (IsEqualGUID(riid, IID_IGridCellObject) && object != nullptr) {
            *object = static_cast<IGridCellObject*>(this);
            return S_OK;
        }
        return TInterfacedPersistent::QueryInterface(riid, object);
    }
    ULONG AddRef() override { return TInterfacedPersistent::AddRef(); }
    ULONG Release() override { return TInterfacedPersistent::Release(); }
    void Draw(TCanvas* Canvas, const TRect& R, Integer, Integer, bool, bool Print) override {
        printed = Print;
        Canvas->Brush()->SetColor(clLime);
        Canvas->FillRect(R);
    }
    Integer GetWidth() override { return 24; }
    Integer GetHeight() override { return 16; }
    bool printed = false;
};

std::unique_ptr<TBitmap> Solid(Integer width, Integer height, TColor color) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(color);
    bitmap->Canvas()->FillRect(TRect(0, 0, width, height));
    return bitmap;
}

class PrintGraphics : public ::testing::Test {
protected:
    void SetUp() override {
        backend::printers::Register(kPrinter, [this](const backend::printers::PageSetup&) {
            backend::DeviceCaps caps; // A4 portrait
            caps.dpiX = caps.dpiY = kDpi;
            caps.width = 4960;
            caps.height = 7016;
            FDevice = backend::CreateRecordingPrinter(caps);
            return FDevice;
        });
        FPrevious = SetPrinter(new TPrinter({Utf8ToString(kPrinter)}, 0));
        FImages = std::make_unique<TImageList>(nullptr);
        FImages->SetWidth(16);
        FImages->SetHeight(16);
        FImages->Add(Solid(16, 16, clRed).get(), nullptr);
        FImages->Add(Solid(16, 16, clBlue).get(), nullptr);
    }
    void TearDown() override {
        delete SetPrinter(FPrevious);
        backend::printers::Unregister(kPrinter);
    }

    // One row of two cells 4 cm wide and 1 cm high: a label, then the cell under test.
    static void OneRow(TAdvStringGrid& grid) {
        grid.SetColCount(2);
        grid.SetRowCount(1);
        grid.SetFixedRows(0);
        grid.SetFixedCols(0);
        grid.SetCells(0, 0, u"Label");
        TPrintSettings* settings = grid.PrintSettings();
        settings->SetPrintGraphics(true);
        settings->SetUseFixedWidth(true);
        settings->SetFixedWidth(400);
        settings->SetUseFixedHeight(true);
        settings->SetFixedHeight(100);
    }

    const std::vector<std::string>& Calls() const { return FDevice->Calls(); }
    std::vector<std::string> CallsStarting(const std::string& prefix) const {
        std::vector<std::string> found;
        for (const std::string& call : Calls())
            if (call.rfind(prefix, 0) == 0)
                found.push_back(call);
        return found;
    }
    // The texts drawn on one page, from 1, or on every page.
    std::vector<TextCall> PageTexts(int page) const {
        static const std::regex text("^Text (-?\\d+),(-?\\d+) '(.*)' (.*)$");
        std::vector<TextCall> texts;
        int current = 0;
        for (const std::string& call : Calls()) {
            std::smatch m;
            if (call == "StartPage")
                ++current;
            else if ((page < 0 || current == page) && std::regex_search(call, m, text))
                texts.push_back({std::stoi(m[1]), std::stoi(m[2]), m[3], m[4]});
        }
        return texts;
    }
    std::vector<TextCall> Texts() const { return PageTexts(-1); }
    std::optional<TextCall> Find(const std::string& text) const {
        for (const TextCall& t : Texts())
            if (t.text == text)
                return t;
        return std::nullopt;
    }
    // The left and right edges of the second column, from the label cell's vertical border lines.
    Box SecondCell() const {
        static const std::regex polyline("^Polyline (-?\\d+),(-?\\d+) (-?\\d+),(-?\\d+) ");
        std::vector<int> xs;
        int top = 1 << 30, bottom = -(1 << 30);
        for (const std::string& call : Calls()) {
            std::smatch m;
            if (std::regex_search(call, m, polyline) && m[1] == m[3]) {
                xs.push_back(std::stoi(m[1]));
                top = std::min({top, std::stoi(m[2]), std::stoi(m[4])});
                bottom = std::max({bottom, std::stoi(m[2]), std::stoi(m[4])});
            }
        }
        std::sort(xs.begin(), xs.end());
        xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
        EXPECT_GE(xs.size(), 3u);
        return xs.size() >= 3 ? Box{xs[xs.size() - 2], top, xs.back(), bottom} : Box{};
    }
    static Box RectOf(const std::string& text) {
        static const std::regex rect("(-?\\d+),(-?\\d+)-(-?\\d+),(-?\\d+)");
        std::smatch m;
        if (!std::regex_search(text, m, rect))
            return {};
        return Box{std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4])};
    }

    std::shared_ptr<backend::Recorder> FDevice;
    TPrinter* FPrevious = nullptr;
    std::unique_ptr<TImageList> FImages;
};

// ---- Pictures of every kind reach the page stretched to the printer's resolution

struct PictureCase {
    const char* name;
    std::function<void(TAdvStringGrid&, TImageList*, TGreenSwatch*)> setup;
    const char* source; // the bitmap stretched onto the page, as "from" in the recorder
    int width;          // its width on the page in printer pixels
};

class PrintedPictures : public PrintGraphics, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(PrintedPictures, AreStretchedIntoTheirCell) {
    TAdvStringGrid grid(nullptr);
    OneRow(grid);
    grid.SetGridImages(FImages.get());
    TGreenSwatch swatch;
    GetParam().setup(grid, FImages.get(), &swatch);
    grid.Print();

    const std::vector<std::string> blits = CallsStarting("StretchBlt ");
    ASSERT_EQ(blits.size(), 1u) << ::testing::PrintToString(Calls());
    EXPECT_NE(blits[0].find(std::string(" from ") + GetParam().source + " "), std::string::npos) << blits[0];
    const Box dest = RectOf(blits[0]);
    EXPECT_NEAR(dest.Width(), GetParam().width, 2) << blits[0];
    const Box cell = SecondCell();
    EXPECT_GE(dest.left, cell.left);
    EXPECT_LE(dest.right, cell.right);
    EXPECT_GE(dest.top, cell.top);
    EXPECT_LE(dest.bottom, cell.bottom);
}

// A screen pixel is 600 / 96 = 6.25 printer pixels.
INSTANTIATE_TEST_SUITE_P(
    Kinds, PrintedPictures,
    ::testing::Values(PictureCase{"Bitmap",
                                  [](TAdvStringGrid& g, TImageList*, TGreenSwatch*) {
                                      TBitmap* bitmap = g.CreateBitmap(1, 0, false, haLeft, vaTop);
                                      bitmap->SetSize(12, 8);
                                      bitmap->Canvas()->FillRect(TRect(0, 0, 12, 8));
                                  },
                                  "0,0-12,8", 75},
                      PictureCase{"ImageList",
                                  [](TAdvStringGrid& g, TImageList*, TGreenSwatch*) {
                                      g.AddImageIdx(1, 0, 1, haLeft, vaTop);
                                  },
                                  "0,0-16,16", 100},
                      PictureCase{"DataImage",
                                  [](TAdvStringGrid& g, TImageList*, TGreenSwatch*) {
                                      g.AddDataImage(1, 0, 0, haLeft, vaTop);
                                      g.SetCells(1, 0, u"1");
                                  },
                                  "0,0-16,16", 100},
                      PictureCase{"Icon",
                                  [](TAdvStringGrid& g, TImageList* images, TGreenSwatch*) {
                                      images->GetIcon(0, g.CreateIcon(1, 0, haLeft, vaTop));
                                  },
                                  "0,0-16,16", 100},
                      PictureCase{"Picture",
                                  [](TAdvStringGrid& g, TImageList*, TGreenSwatch*) {
                                      g.CreatePicture(1, 0, false, noStretch, 0, haLeft, vaTop)
                                          ->SetGraphic(Solid(8, 4, clRed).get());
                                  },
                                  "0,0-8,4", 50},
                      PictureCase{"Interface",
                                  [](TAdvStringGrid& g, TImageList*, TGreenSwatch* swatch) {
                                      g.AddInterfacedCell(1, 0, swatch);
                                  },
                                  "0,0-24,16", 150}),
    [](const ::testing::TestParamInfo<PictureCase>& info) { return std::string(info.param.name); });

TEST_F(PrintGraphics, ImagesOfAMultiImageCellLieSideBySideOrStacked) {
    for (const bool sideBySide : {true, false}) {
        TAdvStringGrid grid(nullptr);
        OneRow(grid);
        grid.PrintSettings()->SetFixedHeight(300);
        grid.SetGridImages(FImages.get());
        grid.AddMultiImage(1, 0, sideBySide ? 0 : 1, haLeft, vaTop);
        grid.GetCellImages(1, 0)->Add(0);
        grid.GetCellImages(1, 0)->Add(1);
        if (FDevice)
            FDevice->Clear();
        grid.Print();
        const std::vector<std::string> blits = CallsStarting("StretchBlt ");
        ASSERT_EQ(blits.size(), 2u) << ::testing::PrintToString(Calls());
        const Box first = RectOf(blits[0]), second = RectOf(blits[1]);
        if (sideBySide) {
            EXPECT_EQ(second.top, first.top);
            EXPECT_NEAR(second.left - first.left, 100, 1);
        } else {
            EXPECT_EQ(second.left, first.left);
            EXPECT_NEAR(second.top - first.top, 100, 1);
        }
    }
}

TEST_F(PrintGraphics, AnImageOfACellReachesThePreviewInItsOwnPixels) {
    TAdvStringGrid grid(nullptr);
    OneRow(grid);
    grid.SetGridImages(FImages.get());
    grid.AddImageIdx(1, 0, 0, haLeft, vaTop);
    // A page of A4 at the screen's 96 dots per inch.
    auto page = Solid(794, 1123, clWhite);
    grid.PrintPreview(page->Canvas(), TRect(0, 0, 794, 1123));

    Integer red = 0, left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    for (Integer y = 0; y < 200; ++y) {
        const auto* line = static_cast<const Byte*>(page->ScanLine(y)); // blue, green, red
        for (Integer x = 0; x < 794; ++x)
            if (line[3 * x] == 0 && line[3 * x + 1] == 0 && line[3 * x + 2] == 255) {
                ++red;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
    // The red image, 16 screen pixels square, in the second cell: right of the page's middle.
    EXPECT_NEAR(right - left + 1, 16, 1);
    EXPECT_NEAR(bottom - top + 1, 16, 1);
    EXPECT_GE(red, 15 * 15);
    EXPECT_GT(left, 794 / 2);
}

TEST_F(PrintGraphics, AFilePicturePrintsWhileItsFileIsThere) {
    const std::string path = testing_support::MakeTestFolder("grid-print-graphics") + "/swatch.bmp";
    Solid(10, 6, clBlue)->SaveToFile(Utf8ToString(path));
    TAdvStringGrid grid(nullptr);
    OneRow(grid);
    TFilePicture* picture = grid.CreateFilePicture(1, 0, false, noStretch, 0, haLeft, vaTop);
    picture->SetFilename(Utf8ToString(path));
    grid.Print();
    const std::vector<std::string> blits = CallsStarting("StretchBlt ");
    ASSERT_EQ(blits.size(), 1u);
    EXPECT_NE(blits[0].find(" from 0,0-10,6 "), std::string::npos) << blits[0];

    std::filesystem::remove(path);
    FDevice->Clear();
    grid.Print();
    EXPECT_TRUE(CallsStarting("StretchBlt ").empty());
    EXPECT_TRUE(Find("Label")) << "the rest of the page still prints";
}

// ---- Bars, shapes and radio groups

TEST_F(PrintGraphics, AProgressBarFillsItsShareOfTheBar) {
    TAdvStringGrid grid(nullptr);
    OneRow(grid);
    grid.SetCells(1, 0, u"40");
    grid.AddProgress(1, 0, clRed, clWhite);
    grid.Print();

    // The bar's text is written twice, over the filled part and over the rest, each clipped to its part.
    std::vector<Box> parts;
    for (const TextCall& t : Texts())
        if (t.text == "40%") {
            const std::size_t clip = t.rest.find(" clip ");
            ASSERT_NE(clip, std::string::npos) << t.rest;
            parts.push_back(RectOf(t.rest.substr(clip)));
        }
    ASSERT_EQ(parts.size(), 2u);
    const double share = static_cast<double>(parts[0].Width()) / (parts[0].Width() + parts[1].Width());
    EXPECT_NEAR(share, 0.40, 0.01);
    EXPECT_EQ(parts[0].right, parts[1].left);
    const Box cell = SecondCell();
    EXPECT_GT(parts[0].left, cell.left);
    EXPECT_LT(parts[1].right, cell.right) << "the bar stays inside its cell";
    // The bar takes the screen column's width; the value's text starts right of it.
    const auto value = Find("40");
    ASSERT_TRUE(value);
    EXPECT_GE(value->x, parts[1].right);
}

TEST_F(PrintGraphics, AShapeIsOutlinedTheRightWayUp) {
    TAdvStringGrid grid(nullptr);
    OneRow(grid);
    grid.AddShape(1, 0, csTriangleUp, clYellow, clBlue, haLeft, vaTop);
    grid.Print();

    static const std::regex triangle(
        "^Polygons \\[3\\] (-?\\d+),(-?\\d+) (-?\\d+),(-?\\d+) (-?\\d+),(-?\\d+) pen=(\\S+) brush=(\\S+)");
    std::smatch m;
    const std::vector<std::string> shapes = CallsStarting("Polygons [3] ");
    ASSERT_EQ(shapes.size(), 1u);
    ASSERT_TRUE(std::regex_search(shapes[0], m, triangle)) << shapes[0];
    EXPECT_EQ(m[7].str().substr(0, 7), "#0000FF") << "outlined in the line colour";
    EXPECT_EQ(m[8], "#FFFF00") << "filled with the fill colour";
    const int x1 = std::stoi(m[1]), y1 = std::stoi(m[2]), x2 = std::stoi(m[3]), y2 = std::stoi(m[4]);
    const int apexX = std::stoi(m[5]), apexY = std::stoi(m[6]);
    // The apex is above the base on the page, which is down the printer's y axis.
    EXPECT_EQ(y1, y2);
    EXPECT_LT(apexY, y1);
    EXPECT_GT(apexX, std::min(x1, x2));
    EXPECT_LT(apexX, std::max(x1, x2));
    const Box cell = SecondCell();
    EXPECT_GE(std::min(x1, x2), cell.left);
    EXPECT_LE(std::max(x1, x2), cell.right);
    EXPECT_GE(apexY, cell.top);
    EXPECT_LE(y1, cell.bottom);
}

TEST_F(PrintGraphics, AProgressPieKeepsItsSliceOnPaper) {
    TAdvStringGrid grid(nullptr);
    OneRow(grid);
    grid.AddProgressPie(1, 0, clRed, 25);
    grid.Print();
    // A printer cannot flood-fill the slice: the pie comes as a picture of the printer's resolution.
    EXPECT_TRUE(CallsStarting("FloodFill").empty());
    const std::vector<std::string> blits = CallsStarting("StretchBlt ");
    ASSERT_EQ(blits.size(), 1u);
    const Box dest = RectOf(blits[0]);
    EXPECT_NEAR(dest.Width(), 125, 1); // 20 screen pixels
}

TEST_F(PrintGraphics, ARadioGroupPrintsItsOptionsInsteadOfTheCellText) {
    // Option captions are measured on the grid's own canvas, which needs a window.
    TForm form(nullptr, 0);
    auto* owned = new TAdvStringGrid(&form);
    owned->SetParent(&form);
    TAdvStringGrid& grid = *owned;
    OneRow(grid);
    grid.PrintSettings()->SetFixedHeight(300);
    TStringList options;
    options.Add(u"Low");
    options.Add(u"High");
    grid.SetCells(1, 0, u"High");
    grid.AddRadio(1, 0, 0, -1, &options);
    grid.Print();

    const auto low = Find("Low");
    const auto high = Find("High");
    ASSERT_TRUE(low && high);
    EXPECT_LT(low->y, high->y) << "the options read down the page";
    const Box cell = SecondCell();
    EXPECT_GT(low->x, cell.left);
    EXPECT_LT(high->y, cell.bottom);
    const auto texts = Texts();
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(), [](const TextCall& t) { return t.text == "High"; }),
              1)
        << "the cell's own text is not printed";
}

TEST_F(PrintGraphics, WithoutPrintGraphicsCellsPrintTheirTextOnly) {
    TAdvStringGrid grid(nullptr);
    OneRow(grid);
    grid.PrintSettings()->SetPrintGraphics(false);
    grid.SetGridImages(FImages.get());
    grid.SetCells(1, 0, u"7");
    grid.AddImageIdx(1, 0, 0, haLeft, vaTop);
    grid.Print();
    EXPECT_TRUE(CallsStarting("StretchBlt ").empty());
    EXPECT_TRUE(Find("7"));
}

// ---- HTML title blocks

class PrintTitle : public PrintGraphics {
protected:
    // A log of rows one centimetre high.
    static void Log(TAdvStringGrid& grid, Integer rows) {
        grid.SetColCount(1);
        grid.SetRowCount(rows);
        grid.SetFixedRows(0);
        grid.SetFixedCols(0);
        for (Integer r = 0; r < rows; ++r)
            grid.SetCells(0, r, u"row " + IntToStr(r));
        grid.PrintSettings()->SetUseFixedHeight(true);
        grid.PrintSettings()->SetFixedHeight(100);
    }
    static void HTMLTitle(TAdvStringGrid& grid, TPrintPosition position, Integer lines) {
        grid.PrintSettings()->SetTitle(position);
        TStrings* title = grid.PrintSettings()->TitleLines();
        title->Add(u"<b>Plant</b> log");
        for (Integer i = 1; i < lines; ++i)
            title->Add(u"<br>line " + IntToStr(i));
    }
    static int ToPrinter(Integer tenthsOfMillimetre) { return tenthsOfMillimetre * kDpi / 254; }
};

TEST_F(PrintTitle, AnHTMLTitleIsRenderedAtTheTopAndTheRowsStartBelowIt) {
    TAdvStringGrid grid(nullptr);
    Log(grid, 3);
    grid.PrintSettings()->SetHeaderSize(100);
    HTMLTitle(grid, ppTopCenter, 3);
    grid.Print();

    const auto plant = Find("Plant");
    const auto log = Find("log");
    const auto last = Find("2"); // of "line 2", which comes in two runs
    const auto row0 = Find("row 0");
    ASSERT_TRUE(plant && log && last && row0) << ::testing::PrintToString(Calls());
    EXPECT_NEAR(RectOf(plant->rest.substr(plant->rest.find(" clip "))).top, ToPrinter(100), 2)
        << "the block starts at the header's top";
    EXPECT_EQ(log->y, plant->y);
    EXPECT_GT(log->x, plant->x);
    EXPECT_GT(last->y, plant->y);
    // Three lines of the header font; the first row starts below the block's last line.
    const int line = (last->y - plant->y) / 2;
    EXPECT_GT(row0->y, last->y + line);
    EXPECT_FALSE(Find("<b>Plant</b> log"));
}

TEST_F(PrintTitle, ATallTitleBreaksThePagesTheCountSaid) {
    TAdvStringGrid grid(nullptr);
    Log(grid, 40);
    HTMLTitle(grid, ppTopLeft, 40); // about half a page
    grid.PrintSettings()->SetPageNr(ppBottomRight);
    Integer total = 0;
    grid.OnPrintStart = [&](TObject*, Integer NrOfPages, Integer&, Integer&) { total = NrOfPages; };
    grid.Print();

    EXPECT_EQ(FDevice->Pages(), total);
    EXPECT_GE(total, 3);
    for (Integer r = 0; r < 40; ++r)
        EXPECT_TRUE(Find("row " + std::to_string(r))) << "row " << r << " is lost";
}

TEST_F(PrintTitle, AnHTMLTitleAtTheBottomSitsBelowTheLastRowAndAboveTheMargin) {
    TAdvStringGrid grid(nullptr);
    Log(grid, 80);
    grid.PrintSettings()->SetFooterSize(100);
    HTMLTitle(grid, ppBottomCenter, 2);
    grid.Print();

    ASSERT_GE(FDevice->Pages(), 2);

    // On the first page: the rows' cells, then the title's two lines below the last of them.
    int rowsBottom = -1, titleTop = 1 << 30, titleBottom = -1;
    for (const TextCall& t : PageTexts(1)) {
        const Box clip = RectOf(t.rest.substr(t.rest.find(" clip ")));
        if (t.text.rfind("row ", 0) == 0)
            rowsBottom = std::max(rowsBottom, clip.bottom);
        else if (t.text == "Plant" || t.text == "1") { // "line 1" comes in two runs
            titleTop = std::min(titleTop, clip.top);
            titleBottom = std::max(titleBottom, clip.bottom);
        }
    }
    ASSERT_GT(rowsBottom, 0);
    ASSERT_GT(titleBottom, 0);
    EXPECT_GE(titleTop, rowsBottom);
    EXPECT_LE(titleBottom, 7016 - ToPrinter(100) + 1) << "above the bottom margin";
    EXPECT_GT(titleBottom - titleTop, 100) << "both lines";
}

} // namespace
