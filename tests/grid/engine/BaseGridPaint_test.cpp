// Tests of the base cell painter on recorded drawing calls: the hidden last row, merged blocks painted
// once per paint, the selection frames and their colour sets, hover and active rows, grid lines and the
// content rectangle, and the repaints around a change of the current cell.
#include "tests/grid/engine/BaseGridTesting.h"

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "grid/engine/AdvGrid.h"
#include "platform/backend/recorder.h"
#include "platform/framework/StdCtrls.h"
#include "platform/win32/gdidevice.h"
#include "platform/win32/wingdi.h"
#include "platform/win32/winuser.h"

namespace {

// The recorder's form of a colour: "#RRGGBB".
std::string Hex(TColor color) {
    const COLORREF rgb = ColorToRGB(color);
    char text[16];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", static_cast<unsigned>(rgb & 0xFF),
                  static_cast<unsigned>((rgb >> 8) & 0xFF), static_cast<unsigned>((rgb >> 16) & 0xFF));
    return text;
}

// A base grid that records the content rectangles it is handed instead of drawing text, and lets a
// test stand in for the string grid's cell look and nodes.
class TPaintGrid : public TTestBaseGrid {
public:
    using TTestBaseGrid::TTestBaseGrid;

    struct Content {
        Integer col;
        Integer row;
        TRect rect;
        bool operator==(const Content&) const = default;
    };
    std::vector<Content> contents;
    bool nodes = false;
    std::function<void(Integer ACol, Integer ARow, TGridDrawState& AState, TBrush* ABrush)> look;

    void SetHoverRowIdx(Integer row) { FHoverRowIdx = row; }

protected:
    void DrawCellContent(TCanvas*, Integer ACol, Integer ARow, const TRect& Rect, TGridDrawState) override {
        contents.push_back({ACol, ARow, Rect});
    }
    bool HasNodes() override { return nodes; }
    void GetVisualProperties(Integer ACol, Integer ARow, TGridDrawState& AState, bool, bool, bool,
                             TBrush* ABrush, TColor&, TColor&, TColor&, TFont*, TAlignment&, TVAlignment&,
                             bool&, TCellGradientDirection&) override {
        if (look)
            look(ACol, ARow, AState, ABrush);
    }
};

// A 6 x 6 grid of 40 x 20 cells with one fixed row and column on a shown form, painted into a recorder.
class PaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 400, 300);
        FGrid = new TPaintGrid(FForm);
        FGrid->SetScrollBars(ssNone);
        FGrid->SetBorderStyle(bsNone);
        FGrid->SetBounds(0, 0, 300, 200);
        FGrid->SetColCount(6);
        FGrid->SetRowCount(6);
        FGrid->SetDefaultColWidth(40);
        FGrid->SetDefaultRowHeight(20);
        FGrid->SetParent(FForm);
        FForm->Show();
        Application->ProcessMessages();
        FRecorder = backend::CreateRecorder(300, 200);
        FDC = CreateDeviceDC(FRecorder);
        FCanvas.SetHandle(FDC);
    }
    void TearDown() override {
        FCanvas.SetHandle(nullptr);
        DeleteDC(FDC);
        FForm->Free();
    }

    // The whole grid through its paint message.
    std::vector<std::string> PaintAll() {
        FRecorder->Clear();
        FGrid->contents.clear();
        FGrid->Perform(WM_PAINT, reinterpret_cast<WPARAM>(FDC), 0);
        return FRecorder->Calls();
    }
    // One cell through PaintCell, at its own rectangle.
    std::vector<std::string> PaintOne(Integer c, Integer r, TGridDrawState state) {
        FRecorder->Clear();
        FGrid->contents.clear();
        FGrid->PaintCell(&FCanvas, c, r, FGrid->CellRect(c, r), state);
        return FRecorder->Calls();
    }

public:
    static bool Has(const std::vector<std::string>& calls, const std::string& part) {
        for (const std::string& call : calls)
            if (call.find(part) != std::string::npos)
                return true;
        return false;
    }
    static std::string Joined(const std::vector<std::string>& calls) {
        std::string text;
        for (const std::string& call : calls)
            text += call + "\n";
        return text;
    }

protected:
    TForm* FForm = nullptr;
    TPaintGrid* FGrid = nullptr;
    std::shared_ptr<backend::Recorder> FRecorder;
    HDC FDC = nullptr;
    TCanvas FCanvas;
};

std::string At(Integer x, Integer y) {
    return std::to_string(x) + "," + std::to_string(y);
}

TEST_F(PaintTest, TheHiddenLastRowIsOneRectangleInTheGridColour) {
    FGrid->SetColor(clYellow);
    FGrid->SetHideLastRow(true);
    FGrid->SetCells(2, 5, u"carrier");
    EXPECT_EQ(PaintOne(2, 5, TGridDrawState()),
              std::vector<std::string>{"Rectangle 80,100-120,120 pen=#FFFF00/1 brush=#FFFF00"});
    EXPECT_TRUE(FGrid->contents.empty());
    EXPECT_EQ(PaintOne(2, 4, TGridDrawState()).size(), 3u) << "the row above paints as usual";
}

TEST_F(PaintTest, AMergedBlockIsPaintedOncePerPaintOverItsWholeRectangle) {
    FGrid->MergeCells(2, 2, 2, 2);
    const TPaintGrid::Content block{2, 2, TRect(81, 41, 159, 79)};
    for (int paint = 0; paint < 2; ++paint) {
        PaintAll();
        int painted = 0;
        for (const TPaintGrid::Content& content : FGrid->contents)
            if (content.col >= 2 && content.col <= 3 && content.row >= 2 && content.row <= 3) {
                ++painted;
                EXPECT_EQ(content, block);
            }
        EXPECT_EQ(painted, 1) << "paint " << paint;
    }
}

// The block's base column is scrolled under the fixed column; its visible cell paints the whole block,
// which must stop at the fixed column's edge.
TEST_F(PaintTest, ABlockScrolledUnderTheFixedCellsLeavesThemAlone) {
    FGrid->SetColCount(12);
    FGrid->MergeCells(1, 2, 2, 1);
    FGrid->look = [](Integer, Integer ARow, TGridDrawState& state, TBrush* brush) {
        if (ARow == 2 && !state.Contains(gdFixed))
            brush->SetColor(clRed);
    };
    FGrid->SetLeftCol(2);
    ASSERT_EQ(FGrid->LeftCol(), 2);
    TBitmap bitmap(300, 200);
    FGrid->PaintTo(bitmap.Canvas()->Handle(), 0, 0);
    EXPECT_EQ(bitmap.Canvas()->Pixels(20, 50), clWhite) << "the fixed cell of the row";
    EXPECT_EQ(bitmap.Canvas()->Pixels(60, 50), clRed) << "the shown part of the block";
}

// Which ends of a selected row's frame come out rounded: a rounded end has its corner pixels in the
// grid's colour.
TEST_F(PaintTest, SelectionFramesRoundTheEndsOfTheSelectedRun) {
    struct Case {
        TGridRect selection;
        Integer col;
        bool leftRounded;
        bool rightRounded;
    };
    const Case cases[] = {
        {TGridRect(2, 2, 4, 2), 2, true, false},  // part 1
        {TGridRect(2, 2, 4, 2), 3, false, false}, // part 3
        {TGridRect(2, 2, 4, 2), 4, false, true},  // part 2
        {TGridRect(3, 2, 3, 2), 3, true, true},   // part 0
    };
    FGrid->SetSelectionStyle(ssOffice2007);
    for (const Case& c : cases) {
        FGrid->SetSelection(c.selection);
        const std::vector<std::string> calls = PaintOne(c.col, 2, TGridDrawState{gdSelected});
        const TRect rect = FGrid->CellRect(c.col, 2);
        const std::string corner = " " + Hex(FGrid->Color());
        EXPECT_EQ(Has(calls, "SetPixel " + At(rect.Left, rect.Top) + corner), c.leftRounded) << c.col;
        EXPECT_EQ(Has(calls, "SetPixel " + At(rect.Left, rect.Bottom - 2) + corner), c.leftRounded) << c.col;
        EXPECT_EQ(Has(calls, "SetPixel " + At(rect.Right - 2, rect.Top) + corner), c.rightRounded) << c.col;
        EXPECT_EQ(Has(calls, "SetPixel " + At(rect.Right - 2, rect.Bottom - 2) + corner), c.rightRounded)
            << c.col;
        EXPECT_TRUE(Has(calls, "pen=" + Hex(0x008DD7D3))) << "the look's border\n" << Joined(calls);
    }
}

TEST_F(PaintTest, WithoutTheFocusEveryLookDrawsTheGreySet) {
    struct Case {
        TGridSelectionStyle style;
        bool focused;
        bool drawFocusSelected;
        TColor border;
    };
    constexpr TColor grey = 0x00D9D9D9;
    const Case cases[] = {
        {ssVista, false, false, grey},      {ssWin7, false, false, grey},
        {ssOffice2007, false, false, grey}, {ssVista, true, false, 0x00FDDE99},
        {ssWin7, true, false, 0x00CEA27D},  {ssOffice2007, true, false, 0x008DD7D3},
        {ssWin7, false, true, 0x00CEA27D},
    };
    auto* other = new TEdit(FForm);
    other->SetBounds(0, 220, 80, 20);
    other->SetParent(FForm);
    FGrid->SetSelection(TGridRect(2, 2, 2, 2));
    for (const Case& c : cases) {
        FGrid->SetSelectionStyle(c.style);
        TGridOptions options = FGrid->Options();
        if (c.drawFocusSelected)
            options.Include(goDrawFocusSelected);
        else
            options.Exclude(goDrawFocusSelected);
        FGrid->SetOptions(options);
        if (c.focused)
            FGrid->SetFocus();
        else
            other->SetFocus();
        Application->ProcessMessages();
        ASSERT_EQ(GetFocus() == FGrid->Handle(), c.focused);
        const std::vector<std::string> calls = PaintOne(2, 2, TGridDrawState{gdSelected});
        EXPECT_TRUE(Has(calls, "pen=" + Hex(c.border) + "/1")) << c.style << " " << c.focused << "\n"
                                                               << Joined(calls);
        EXPECT_EQ(Has(calls, "pen=" + Hex(grey)), c.border == grey);
    }
}

// The test's cell look fills selected cells red and fixed cells in the button face; the hover row is
// row 2, whose cells take the hover colour where HoverRowCells allows, and the active row wins over it.
TEST_F(PaintTest, TheHoverRowGivesWayToTheSelectionUnlessItCoversSelectedCells) {
    FGrid->look = [](Integer, Integer, TGridDrawState& state, TBrush* brush) {
        if (state.Contains(gdSelected))
            brush->SetColor(clRed);
        else if (state.Contains(gdFixed))
            brush->SetColor(clBtnFace);
    };
    FGrid->SetHoverRow(true);
    FGrid->SetHoverRowColor(clLime);
    FGrid->SetHoverRowIdx(2);
    struct Case {
        THoverRowCells cells;
        Integer col;
        TGridDrawState state;
        TColor fill;
    };
    const Case cases[] = {
        {THoverRowCells{hcNormal, hcSelected}, 2, TGridDrawState(), clLime},
        {THoverRowCells{hcNormal, hcSelected}, 3, TGridDrawState{gdSelected}, clLime},
        {THoverRowCells{hcNormal, hcSelected}, 0, TGridDrawState{gdFixed}, clBtnFace},
        {THoverRowCells{hcNormal}, 3, TGridDrawState{gdSelected}, clRed},
        {THoverRowCells{hcFixed}, 0, TGridDrawState{gdFixed}, clLime},
        {THoverRowCells(), 2, TGridDrawState(), clLime}, // normal cells never ask
    };
    for (const Case& c : cases) {
        FGrid->SetHoverRowCells(c.cells);
        const std::vector<std::string> calls = PaintOne(c.col, 2, c.state);
        ASSERT_FALSE(calls.empty());
        EXPECT_NE(calls[0].find("brush=" + Hex(c.fill)), std::string::npos) << c.col << "\n" << Joined(calls);
    }

    FGrid->SetActiveRowShow(true);
    FGrid->SetActiveRowColor(clAqua);
    FGrid->SetCol(1);
    FGrid->SetRow(2);
    std::vector<std::string> calls = PaintOne(3, 2, TGridDrawState());
    EXPECT_NE(calls[0].find("brush=" + Hex(clAqua)), std::string::npos) << Joined(calls);

    // Without content a selected cell anywhere takes the active row's colours.
    FRecorder->Clear();
    FGrid->contents.clear();
    FGrid->PaintCellExt(&FCanvas, 3, 4, TRect(0, 0, 30, 10), TGridDrawState{gdSelected});
    calls = FRecorder->Calls();
    EXPECT_EQ(calls[0], "Fill 0,0-30,10 brush=" + Hex(clAqua) + " rop=00F00021");
    EXPECT_TRUE(FGrid->contents.empty());
}

TEST_F(PaintTest, GridLinesSitInsideTheCellAndTheContentInsideThem) {
    FGrid->SetGridLineWidth(3);
    EXPECT_EQ(PaintOne(2, 2, TGridDrawState()),
              (std::vector<std::string>{"Fill 80,40-120,60 brush=#FFFFFF rop=00F00021",
                                        "Polyline 79,58 119,58 pen=#C0C0C0/3",
                                        "Polyline 118,58 118,38 pen=#C0C0C0/3"}));
    EXPECT_EQ(FGrid->contents, (std::vector<TPaintGrid::Content>{{2, 2, TRect(83, 43, 117, 57)}}));

    // Fixed cells keep one-pixel lines in their own colour and leave room for them.
    EXPECT_EQ(PaintOne(0, 2, TGridDrawState{gdFixed}),
              (std::vector<std::string>{"Fill 0,40-40,60 brush=#FFFFFF rop=00F00021",
                                        "Polyline 0,59 40,59 pen=#808080/1",
                                        "Polyline 39,59 39,39 pen=#808080/1"}));
    EXPECT_EQ(FGrid->contents, (std::vector<TPaintGrid::Content>{{0, 2, TRect(0, 40, 39, 58)}}));
}

TEST_F(PaintTest, WithNodesTheFirstColumnHasNoBottomLine) {
    FGrid->nodes = true;
    EXPECT_FALSE(Has(PaintOne(0, 2, TGridDrawState{gdFixed}), "Polyline 0,59 40,59"));
    EXPECT_TRUE(Has(PaintOne(1, 2, TGridDrawState()), "Polyline 40,59 80,59"));
    FGrid->nodes = false;
    EXPECT_TRUE(Has(PaintOne(0, 2, TGridDrawState{gdFixed}), "Polyline 0,59 40,59"));
}

TEST_F(PaintTest, SelectCellRepaintsBothCellsAlsoWhenTheMoveIsRefused) {
    FGrid->OnSelectCell = [](TObject*, Integer col, Integer, bool& canSelect) { canSelect = col != 4; };
    const HWND handle = FGrid->Handle();
    ValidateRect(handle, nullptr);
    FGrid->SetCol(4);
    EXPECT_EQ(FGrid->Col(), 1);
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(handle, update, FALSE);
    EXPECT_TRUE(PtInRegion(update, 60, 30)) << "the current cell (1, 1)";
    EXPECT_TRUE(PtInRegion(update, 180, 30)) << "the refused cell (4, 1)";
    EXPECT_FALSE(PtInRegion(update, 100, 30));
    DeleteObject(update);
}

// ---- What the full string grid draws through the painter

// A shown full string grid painted into a recorder.
class AdvGridPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(100, 100, 400, 300);
        FGrid = new TAdvStringGrid(FForm);
        FGrid->SetBounds(0, 0, 300, 200);
        FGrid->SetParent(FForm);
        FForm->Show();
        Application->ProcessMessages();
        FRecorder = backend::CreateRecorder(300, 200);
        FDC = CreateDeviceDC(FRecorder);
    }
    void TearDown() override {
        DeleteDC(FDC);
        FForm->Free();
    }
    std::vector<std::string> Paint(TWinControl* control) {
        FRecorder->Clear();
        control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(FDC), 0);
        return FRecorder->Calls();
    }

    TForm* FForm = nullptr;
    TAdvStringGrid* FGrid = nullptr;
    std::shared_ptr<backend::Recorder> FRecorder;
    HDC FDC = nullptr;
};

TEST_F(AdvGridPaintTest, CellsShowTheirTextsAndTheDrawEventGetsTheStoredColumn) {
    FGrid->SetCells(1, 1, u"12.5");
    FGrid->SetCells(3, 2, u"volts");
    FGrid->HideColumn(2);
    std::vector<std::pair<Integer, Integer>> drawn;
    FGrid->OnDrawCell = [&](TObject*, Integer c, Integer r, TRect, TGridDrawState) {
        drawn.emplace_back(c, r);
    };
    const std::vector<std::string> calls = Paint(FGrid);
    EXPECT_TRUE(PaintTest::Has(calls, "'12.5'")) << PaintTest::Joined(calls);
    EXPECT_TRUE(PaintTest::Has(calls, "'volts'"));
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), std::make_pair(3, 2)), drawn.end());
    EXPECT_EQ(std::find(drawn.begin(), drawn.end(), std::make_pair(2, 2)), drawn.end())
        << "the hidden column is not drawn";
}

TEST_F(AdvGridPaintTest, TheHeaderDragButtonShowsItsCaptionOverAHeaderFace) {
    THeaderDragButton button(nullptr);
    button.SetGrid(FGrid);
    button.SetBounds(0, 0, 60, 20);
    button.SetCaption(u"A caption far wider than the button");
    std::vector<std::string> calls = Paint(&button);
    ASSERT_FALSE(calls.empty());
    // The face's gradient is filled band by band, or copied once drawn so.
    EXPECT_TRUE(calls[0].starts_with("Fill 0,0-") || calls[0].starts_with("StretchBlt 0,0-"))
        << "the header cell's face first\n"
        << PaintTest::Joined(calls);
    EXPECT_TRUE(PaintTest::Has(calls, "...'")) << "a plain caption that does not fit ends in an ellipsis";

    button.SetCaption(u"<b>Vol</b>tage");
    calls = Paint(&button);
    EXPECT_TRUE(PaintTest::Has(calls, "'Vol'")) << PaintTest::Joined(calls);
    EXPECT_TRUE(PaintTest::Has(calls, "'tage'"));
    EXPECT_FALSE(PaintTest::Has(calls, "<b>")) << "a caption with a closing tag is markup";

    // Pictures of the markup come from the grid's image list.
    button.SetCaption(u"<img src=\"idx:0\"><b>V</b>");
    const size_t withoutList = Paint(&button).size();
    TCustomImageList images(nullptr);
    images.SetWidth(8);
    images.SetHeight(8);
    TBitmap image;
    image.SetWidth(8);
    image.SetHeight(8);
    images.AddMasked(&image, clLime);
    FGrid->SetGridImages(&images);
    EXPECT_GT(Paint(&button).size(), withoutList);
    FGrid->SetGridImages(nullptr);
}

} // namespace
