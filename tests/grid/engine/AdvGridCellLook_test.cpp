// Tests of the full string grid's cell looks: reads that create no record, row colours that clear one
// colour and free only records left empty, zoom limits, the widths of stored columns and the placement
// of cell controls after scrolling and hiding.
#include <limits>

#include <gtest/gtest.h>

#include "tests/grid/engine/AdvGridTesting.h"

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Application.h"
#include "platform/framework/ExtCtrls.h"
#include "platform/framework/Forms.h"
#include "platform/rtl/Convert.h"

namespace {

using advgrid_fixtures::gLiveGraphics;
using advgrid_fixtures::TCellGraphic;

class TLookGrid : public TAdvStringGrid {
public:
    using TAdvStringGrid::TAdvStringGrid;
    // The property records the grid holds in its cells, wherever they lie.
    int LiveRecords() const {
        int count = 0;
        ForEachObjectSlot(0, 0, std::numeric_limits<Integer>::max(), std::numeric_limits<Integer>::max(),
                          [&](Integer, Integer, TObject*) { ++count; });
        return count;
    }
};

class AdvGridCellLookTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(gLiveGraphics, 0);
        FGrid = new TLookGrid(nullptr);
        FGrid->SetColCount(6);
        FGrid->SetRowCount(6);
    }
    void TearDown() override {
        delete FGrid;
        EXPECT_EQ(gLiveGraphics, 0) << "every record is freed with the grid";
    }

    TLookGrid* FGrid = nullptr;
};

TEST_F(AdvGridCellLookTest, ReadsOfACellWithoutARecordCreateNone) {
    EXPECT_EQ(FGrid->Colors(2, 2), clNone);
    EXPECT_EQ(FGrid->ColorsTo(2, 2), clNone);
    EXPECT_EQ(FGrid->Gradients(2, 2), GradientVertical);
    EXPECT_FALSE(FGrid->ReadOnly(2, 2));
    EXPECT_EQ(FGrid->FontColors(2, 2), clNone);
    EXPECT_EQ(FGrid->FontStyles(2, 2), TFontStyles());
    EXPECT_EQ(FGrid->FontNames(2, 2), u"");
    EXPECT_EQ(FGrid->FontSizes(2, 2), 0);
    EXPECT_EQ(FGrid->Alignments(2, 2), taLeftJustify);
    EXPECT_EQ(FGrid->CellControls(2, 2), nullptr);
    EXPECT_EQ(FGrid->LiveRecords(), 0);
    // WordWraps answers from a record and makes one.
    EXPECT_EQ(FGrid->WordWraps(2, 2), FGrid->TBaseGrid::WordWrap());
    EXPECT_EQ(FGrid->LiveRecords(), 1);

    // Writes land in the record.
    FGrid->SetColors(1, 1, clRed);
    FGrid->SetReadOnly(1, 1, true);
    FGrid->SetAlignments(1, 1, taRightJustify);
    TFont font;
    font.SetName(u"Courier New");
    font.SetSize(14);
    font.SetStyle(TFontStyles{fsItalic});
    font.SetColor(clBlue);
    FGrid->SetFonts(1, 1, &font);
    EXPECT_EQ(FGrid->Colors(1, 1), clRed);
    EXPECT_TRUE(FGrid->ReadOnly(1, 1));
    EXPECT_EQ(FGrid->Alignments(1, 1), taRightJustify);
    EXPECT_EQ(FGrid->FontNames(1, 1), u"Courier New");
    EXPECT_EQ(FGrid->FontSizes(1, 1), 14);
    EXPECT_EQ(FGrid->FontStyles(1, 1), TFontStyles{fsItalic});
    EXPECT_EQ(FGrid->FontColors(1, 1), clBlue);
    EXPECT_EQ(FGrid->LiveRecords(), 2);
}

// Each case gives row 2's cell (3, 2) one colour from the row and one other thing, then clears the
// row's colour: the colour goes, and the record stays exactly when the other thing needs it.
TEST_F(AdvGridCellLookTest, ClearingARowColourClearsOnlyThatColour) {
    enum class Which { Color, ColorTo, FontColor };
    struct Case {
        const char* name;
        Which which;
        void (*extra)(TLookGrid* grid);
        bool recordStays;
        int otherRecords; // records the extra keeps in other cells of the row
    };
    static TObject userObject; // only its address is kept
    const Case cases[] = {
        {"colour alone", Which::Color, [](TLookGrid*) {}, false, 0},
        {"end colour alone", Which::ColorTo, [](TLookGrid*) {}, false, 0},
        {"font colour alone", Which::FontColor, [](TLookGrid*) {}, false, 0},
        {"merged", Which::Color, [](TLookGrid* g) { g->MergeCells(3, 2, 2, 1); }, true, 1},
        {"read-only", Which::ColorTo, [](TLookGrid* g) { g->SetReadOnly(3, 2, true); }, true, 0},
        {"font name", Which::FontColor, [](TLookGrid* g) { g->SetFontNames(3, 2, u"Other"); }, true, 0},
        {"user object", Which::Color, [](TLookGrid* g) { g->SetObjects(3, 2, &userObject); }, true, 0},
        {"graphic", Which::FontColor, [](TLookGrid* g) { g->SetGraphicObjects(3, 2, new TCellGraphic); },
         true, 0},
        {"background and font colour", Which::FontColor, [](TLookGrid* g) { g->SetColors(3, 2, clYellow); },
         true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* grid = new TLookGrid(nullptr);
        grid->SetColCount(6);
        grid->SetRowCount(6);
        grid->SetCells(3, 2, u"text");
        const auto set = [&](TColor colour) {
            switch (c.which) {
            case Which::Color:
                grid->SetRowColor(2, colour);
                break;
            case Which::ColorTo:
                grid->SetRowColorTo(2, colour);
                break;
            case Which::FontColor:
                grid->SetRowFontColor(2, colour);
                break;
            }
        };
        set(clRed);
        EXPECT_EQ(grid->LiveRecords(), 5) << "columns 1 .. 5 of the row";
        EXPECT_EQ(grid->Colors(0, 2), clNone) << "the fixed column is left alone";
        c.extra(grid);
        set(clNone);
        const TCellProperties* record = grid->PeekCellProperties(3, 2);
        EXPECT_EQ(record != nullptr, c.recordStays);
        if (record != nullptr) {
            const TColor cleared = c.which == Which::Color     ? record->BrushColor()
                                   : c.which == Which::ColorTo ? record->BrushColorTo()
                                                               : record->FontColor();
            EXPECT_EQ(cleared, clNone);
        }
        EXPECT_EQ(grid->LiveRecords(), (c.recordStays ? 1 : 0) + c.otherRecords);
        EXPECT_EQ(grid->Cells(3, 2), u"text") << "the text is not the record's";
        delete grid;
    }
}

TEST_F(AdvGridCellLookTest, RowColourReachesHiddenColumns) {
    FGrid->HideColumn(4);
    FGrid->SetRowColor(3, clLime);
    for (Integer c = 1; c < FGrid->AllColCount(); ++c)
        EXPECT_EQ(FGrid->Colors(c, 3), clLime) << "stored column " << c;
    FGrid->SetRowColor(3, clNone);
    EXPECT_EQ(FGrid->LiveRecords(), 0);
}

TEST_F(AdvGridCellLookTest, ZoomStaysWithinItsLimits) {
    FGrid->SetDefaultRowHeight(20);
    FGrid->SetDefaultColWidth(40);
    FGrid->SetColWidths(1, 3);
    FGrid->SetColWidths(2, 0);
    FGrid->Zoom(-3);
    EXPECT_EQ(FGrid->ColWidths(1), 3) << "a width that would reach 0 stays";
    EXPECT_EQ(FGrid->ColWidths(2), 0) << "a width of 0 stays";
    EXPECT_EQ(FGrid->ColWidths(3), 37);
    EXPECT_EQ(FGrid->RowHeights(5), 17);
    FGrid->Zoom(3);
    EXPECT_EQ(FGrid->ColWidths(1), 6);
    EXPECT_EQ(FGrid->ZoomFactor(), 0);

    for (int step = 0; step < 4; ++step)
        FGrid->Zoom(5);
    EXPECT_EQ(FGrid->ZoomFactor(), 20);
    EXPECT_EQ(FGrid->RowHeights(0), 40);
    FGrid->Zoom(5);
    EXPECT_EQ(FGrid->ZoomFactor(), 20) << "25 is past the limit";
    EXPECT_EQ(FGrid->RowHeights(0), 40);
    EXPECT_EQ(FGrid->ColWidths(3), 60);
    FGrid->Zoom(-39);
    EXPECT_EQ(FGrid->ZoomFactor(), -19);
    EXPECT_EQ(FGrid->RowHeights(0), 1);
    FGrid->Zoom(-2);
    EXPECT_EQ(FGrid->ZoomFactor(), -19) << "-21 is past the limit";
}

TEST_F(AdvGridCellLookTest, AllColWidthsRemembersHiddenColumnsUpTo512) {
    FGrid->SetColCount(600);
    FGrid->SetColWidths(3, 33);
    FGrid->HideColumn(3);
    EXPECT_EQ(FGrid->AllColWidths(3), 33);
    FGrid->SetAllColWidths(3, 44);
    EXPECT_EQ(FGrid->AllColWidths(3), 44);
    FGrid->UnHideColumn(3);
    EXPECT_EQ(FGrid->ColWidths(3), 44);
    FGrid->SetAllColWidths(5, 55);
    EXPECT_EQ(FGrid->ColWidths(5), 55);
    EXPECT_EQ(FGrid->AllColWidths(5), 55);

    // Past the remembered columns a write changes nothing and a read is the displayed width.
    FGrid->SetColWidths(550, 21);
    FGrid->SetAllColWidths(550, 99);
    EXPECT_EQ(FGrid->ColWidths(550), 21);
    EXPECT_EQ(FGrid->AllColWidths(550), 21);
    FGrid->SetAllColWidths(512, 30);
    EXPECT_EQ(FGrid->AllColWidths(512), 30);
}

TEST_F(AdvGridCellLookTest, TurningIntegralHeightOnCutsThePresentHeight) {
    FGrid->SetBorderStyle(bsNone);
    FGrid->SetScrollBars(ssNone);
    FGrid->SetDefaultRowHeight(20);
    FGrid->SetBounds(0, 0, 400, 105);
    EXPECT_EQ(FGrid->Height(), 105);
    FGrid->SetIntegralHeight(true);
    EXPECT_EQ(FGrid->Height(), 100);
    EXPECT_EQ(FGrid->GetVersionString(), u"7.4.6.3 Oct, 2014");
}

// ---- Cell controls on a shown grid

class AdvGridCellControlsTest : public ::testing::Test {
protected:
    // A grid without borders or scroll bars whose rows are 20 pixels and columns 50: one fixed row and
    // ten rows show, one fixed column and six columns.
    void SetUp() override {
        FForm = new TForm(nullptr, 0);
        FForm->SetBounds(0, 0, 600, 400);
        FGrid = new TLookGrid(FForm);
        FGrid->SetBorderStyle(bsNone);
        FGrid->SetScrollBars(ssNone);
        FGrid->SetDefaultRowHeight(20);
        FGrid->SetDefaultColWidth(50);
        FGrid->SetColCount(20);
        FGrid->SetRowCount(40);
        FGrid->SetBounds(0, 0, 350, 220);
        FGrid->SetParent(FForm);
        FForm->Show();
        Application->ProcessMessages();
    }
    void TearDown() override {
        FForm->Free();
        Application->ProcessMessages();
    }
    TPanel* Control() { return new TPanel(FForm); }
    // The cell's rectangle grown by a pixel to the left and top.
    TRect Placed(Integer displCol, Integer row) {
        const TRect cell = FGrid->CellRect(displCol, row);
        return TRect(cell.Left - 1, cell.Top - 1, cell.Right, cell.Bottom);
    }

    TForm* FForm = nullptr;
    TLookGrid* FGrid = nullptr;
};

TEST_F(AdvGridCellControlsTest, ControlsFollowTheirCellsWhenTheGridScrolls) {
    TPanel* data = Control();
    TPanel* fixed = Control();
    FGrid->SetCellControls(2, 3, data);
    FGrid->SetCellControls(0, 5, fixed);
    EXPECT_EQ(FGrid->NumCellControls(), 2);
    EXPECT_EQ(data->Parent(), FGrid);
    EXPECT_EQ(data->BoundsRect(), Placed(2, 3));

    FGrid->SetTopRow(10);
    FGrid->CellControlsUpdate(false);
    EXPECT_FALSE(data->Visible()) << "scrolled out of view";
    EXPECT_TRUE(fixed->Visible()) << "a control over a fixed cell stays shown";
    EXPECT_EQ(fixed->BoundsRect(), Placed(0, 5));

    FGrid->SetTopRow(2);
    FGrid->CellControlsUpdate(false);
    EXPECT_TRUE(data->Visible());
    EXPECT_EQ(data->BoundsRect(), Placed(2, 3)) << "moved up with its row";

    // Scrolling sideways moves it too.
    FGrid->SetLeftCol(2);
    FGrid->CellControlsUpdate(false);
    EXPECT_EQ(data->BoundsRect(), Placed(2, 3));
    EXPECT_EQ(data->Left(), FGrid->ColWidths(0) - 1);

    // Taking the control off lowers the count, however often it is done.
    FGrid->SetCellControls(2, 3, nullptr);
    FGrid->SetCellControls(2, 3, nullptr);
    EXPECT_EQ(FGrid->NumCellControls(), 1);
    EXPECT_EQ(FGrid->CellControls(2, 3), nullptr);
}

TEST_F(AdvGridCellControlsTest, ControlsInHiddenRowsAndColumnsStayHidden) {
    TPanel* inColumn = Control();
    TPanel* inRow = Control();
    TPanel* below = Control();
    FGrid->SetCellControls(3, 2, inColumn);
    FGrid->SetCellControls(1, 4, inRow);
    FGrid->SetCellControls(1, 6, below);

    FGrid->HideColumn(3);
    EXPECT_FALSE(inColumn->Visible()) << "a control in a hidden column is not shown in view";
    FGrid->HideRow(4);
    EXPECT_FALSE(inRow->Visible());
    EXPECT_TRUE(below->Visible());
    EXPECT_EQ(below->BoundsRect(), Placed(1, 5)) << "the row below moved up one place";
    FGrid->CellControlsUpdate(true);
    EXPECT_EQ(FGrid->NumCellControls(), 3);
    EXPECT_FALSE(inColumn->Visible());
    EXPECT_FALSE(inRow->Visible());

    FGrid->UnHideRow(4);
    EXPECT_TRUE(inRow->Visible());
    EXPECT_EQ(inRow->BoundsRect(), Placed(1, 4));
    EXPECT_EQ(below->BoundsRect(), Placed(1, 6));
    FGrid->UnHideColumn(3);
    EXPECT_TRUE(inColumn->Visible());
    EXPECT_EQ(inColumn->BoundsRect(), Placed(3, 2));

    // Inserting rows above moves the control down with its row.
    FGrid->InsertRows(1, 2);
    EXPECT_EQ(below->BoundsRect(), Placed(1, 8));
}

TEST_F(AdvGridCellControlsTest, AFreedControlLeavesItsCell) {
    TPanel* kept = Control();
    auto* freed = new TPanel(nullptr); // no owner tells the grid
    FGrid->SetCellControls(1, 2, kept);
    FGrid->SetCellControls(2, 3, freed);
    FGrid->HideRow(1);
    freed->Free();
    EXPECT_EQ(FGrid->CellControls(2, 2), nullptr);
    EXPECT_EQ(FGrid->NumCellControls(), 1);
    // Placing the controls again reaches only the one still there.
    FGrid->UnHideRow(1);
    FGrid->InsertRows(1, 1);
    FGrid->SetBounds(0, 0, 300, 200);
    FGrid->CellControlsUpdate(true);
    EXPECT_EQ(kept->BoundsRect(), Placed(1, 3));
}

TEST_F(AdvGridCellControlsTest, SelectionToFormPicturesTheCells) {
    FGrid->SetOptions(FGrid->Options() + TGridOptions{goFixedHorzLine, goFixedVertLine});
    FGrid->SetGridFixedLineColor(clRed);
    FGrid->SetCells(1, 1, u"X");
    TForm* form = FGrid->SelectionToForm(TGridRect{0, 0, 2, 1});
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Owner(), FGrid);
    // Three columns of 50 and two rows of 20, each end taken in.
    EXPECT_EQ(form->ClientWidth(), 151);
    EXPECT_EQ(form->ClientHeight(), 41);
    EXPECT_EQ(form->BorderStyle(), bsNone);
    EXPECT_EQ(form->FormStyle(), fsStayOnTop);
    EXPECT_TRUE(form->AlphaBlend());
    EXPECT_EQ(form->AlphaBlendValue(), 192);
    ASSERT_EQ(form->ControlCount(), 1);
    auto* image = dynamic_cast<TImage*>(form->Controls(0));
    ASSERT_NE(image, nullptr);
    TBitmap* picture = image->Picture()->Bitmap();
    ASSERT_EQ(picture->Width(), 151);
    // The selection starts at the fixed cells: their lines run along the left and top edges.
    EXPECT_EQ(picture->Canvas()->Pixels(0, 30), clRed);
    EXPECT_EQ(picture->Canvas()->Pixels(80, 0), clRed);
    form->Free();
}

} // namespace
