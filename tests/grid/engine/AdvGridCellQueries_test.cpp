// Tests of the cell content queries: emptiness, the room an object takes when its cell is measured and
// when it is printed (on the grid's pinned font), the drawn size of pictures, the control rectangle, the
// image queries and the form-control values of a cell's text.
#include <cstdint>
#include <memory>

#include <gtest/gtest.h>

#include "tests/grid/engine/ShownGridTesting.h"

namespace {

class AdvGridCellQueriesTest : public advgrid_fixtures::ShownGridTest {
protected:
    void SetUp() override {
        ShownGridTest::SetUp();
        grid->SetColWidths(1, 100);
        grid->SetRowHeights(1, 40);
        images = std::make_unique<TCustomImageList>(nullptr);
        images->SetWidth(16);
        images->SetHeight(12);
        grid->SetGridImages(images.get());
        bitmap.SetWidth(20);
        bitmap.SetHeight(10);
    }
    void TearDown() override {
        ShownGridTest::TearDown();
        images.reset();
    }
    // A radio list of the given options at (1, 1), laid out horizontally or vertically.
    void AddRadio(std::initializer_list<const char16_t*> options, bool horizontal) {
        TCellGraphic* radio = grid->CreateCellGraphic(1, 1);
        auto* list = new TStringList;
        for (const char16_t* option : options)
            list->Add(option);
        radio->SetCellType(ctRadio);
        radio->SetCellBitmap(list);
        radio->SetCellCreated(true);
        radio->SetCellBoolean(horizontal);
    }
    TPoint Extent() { return grid->GetCellGraphicSize(1, 1); }

    std::unique_ptr<TCustomImageList> images;
    TBitmap bitmap;
};

TEST_F(AdvGridCellQueriesTest, KindAndEmptiness) {
    EXPECT_EQ(grid->GetCellType(-1, 0), ctEmpty);
    EXPECT_TRUE(grid->GetCellEmpty(-1, 0));
    EXPECT_TRUE(grid->GetCellEmpty(1, 1));
    grid->CreateCellGraphic(1, 1);
    EXPECT_TRUE(grid->GetCellEmpty(1, 1)) << "a new object holds nothing";
    grid->AddComment(1, 1, u"c");
    EXPECT_EQ(grid->GetCellType(1, 1), ctNone);
    EXPECT_FALSE(grid->GetCellEmpty(1, 1));
    grid->AddMarker(2, 2, 0, 1);
    EXPECT_FALSE(grid->GetCellEmpty(2, 2)) << "a marker object is of kind ctEmpty, not ctNone";
}

TEST_F(AdvGridCellQueriesTest, PicturesBesideOverOrWithoutTextTakeTheirRoom) {
    struct Case {
        const char* name;
        TCellHAlign hal;
        TCellVAlign val;
        bool text;
        TPoint bitmapExtent;
        TPoint imageExtent;
    };
    const Case cases[] = {
        {"no text", haLeft, vaTop, false, {20, 10}, {16, 12}},
        {"text, left and top", haLeft, vaTop, true, {0, 0}, {0, 0}},
        {"text, before it", haBeforeText, vaCenter, true, {20, 0}, {16, 0}},
        {"text, under it", haCenter, vaUnderText, true, {0, 10}, {0, 12}},
        {"text, after and above it", haAfterText, vaAboveText, true, {20, 10}, {16, 12}},
    };
    for (const Case& c : cases) {
        grid->SetCells(1, 1, c.text ? u"text" : u"");
        grid->AddBitmap(1, 1, &bitmap, false, c.hal, c.val);
        EXPECT_EQ(Extent(), c.bitmapExtent) << c.name;
        grid->AddImageIdx(1, 1, 0, c.hal, c.val);
        EXPECT_EQ(Extent(), c.imageExtent) << c.name;
    }
    // A data image's text is its index, so it always has text.
    grid->SetCells(1, 1, u"");
    grid->AddDataImage(1, 1, 0, haBeforeText, vaTop);
    EXPECT_EQ(Extent(), TPoint(16, 0));
    EXPECT_EQ(grid->GetCellGraphicLayoutSize(1, 1, 0, 0, 0, 0), TPoint(16, 12));
    // An icon is always as high as it is.
    TCustomImageList icons(nullptr);
    icons.SetWidth(32);
    icons.SetHeight(32);
    TBitmap square;
    square.SetWidth(32);
    square.SetHeight(32);
    icons.AddMasked(&square, clLime);
    TIcon icon;
    icons.GetIcon(0, &icon);
    ASSERT_EQ(icon.Width(), 32);
    grid->SetCells(1, 1, u"text");
    grid->AddIcon(1, 1, &icon, haLeft, vaTop);
    EXPECT_EQ(Extent(), TPoint(0, 32));
    grid->RemoveIcon(1, 1);

    // Multi-image cells count their entries along their direction.
    grid->AddMultiImage(1, 1, 0, haLeft, vaTop);
    grid->GetCellImages(1, 1)->Add(0);
    grid->GetCellImages(1, 1)->Add(1);
    grid->GetCellImages(1, 1)->Add(2);
    EXPECT_EQ(Extent(), TPoint(48, 12));
    EXPECT_EQ(grid->GetCellGraphicLayoutSize(1, 1, 10, 10, 0, 0), TPoint(48, 12));
    grid->AddMultiImage(1, 1, 1, haLeft, vaTop);
    grid->GetCellImages(1, 1)->Add(0);
    EXPECT_EQ(Extent(), TPoint(16, 12));
}

TEST_F(AdvGridCellQueriesTest, ControlsRadioListsRatingsAndShapes) {
    grid->AddCheckBox(1, 1, true, false);
    EXPECT_EQ(Extent(), TPoint(15, 15));
    grid->ControlLook()->SetCheckSize(11);
    EXPECT_EQ(Extent(), TPoint(11, 11));
    grid->CreateCellGraphic(1, 1)->SetRadioButton(true, false, haLeft, vaTop, rgNone);
    EXPECT_EQ(Extent(), TPoint(10, 10));

    // Options are measured on the canvas with its current font; a vertical option is at least 16 high
    // when measured, its own line height when printed.
    const Integer line = LineHeight();
    ASSERT_LT(line, 16) << "the pinned font's lines are lower than the minimum option";
    grid->Canvas()->Font()->Assign(grid->Font());
    AddRadio({u"A", u"BB"}, false);
    EXPECT_EQ(Extent(), TPoint(TextWidth(u"BB") + 12, 32));
    EXPECT_EQ(grid->GetCellGraphicLayoutSize(1, 1, 100, 40, 0, 0), TPoint(TextWidth(u"BB") + 12, 2 * line));
    AddRadio({u"A", u"BB"}, true);
    EXPECT_EQ(Extent(), TPoint(TextWidth(u"A") + TextWidth(u"BB") + 24, line));
    AddRadio({}, false);
    EXPECT_EQ(Extent(), TPoint(12, 0));

    // Stars keep their width over the whole cell; only vaFull takes the cell's height.
    grid->AddRating(1, 1, 5, clYellow, clGray);
    EXPECT_EQ(Extent(), TPoint(90, 16));
    grid->GetCellGraphic(1, 1)->SetCellVAlign(vaFull);
    EXPECT_EQ(Extent(), TPoint(90, grid->CellRect(1, 1).Height()));

    grid->AddShape(1, 1, csSquare, clRed, clBlack, haLeft, vaTop);
    EXPECT_EQ(Extent(), TPoint(grid->DefaultRowHeight() - 4, grid->DefaultRowHeight() - 4));
    EXPECT_EQ(grid->GetCellGraphicLayoutSize(1, 1, 0, 0, 0, 0), TPoint(36, 36)) << "the row's 40 less 2 x 2";
    grid->GetCellGraphic(1, 1)->SetCellHAlign(haFull);
    EXPECT_EQ(Extent().X, grid->CellRect(1, 1).Width());

    grid->AddProgressPie(1, 1, clRed, 10);
    EXPECT_EQ(Extent(), TPoint(20, 20));
    grid->AddProgress(1, 1, clRed, clWhite);
    EXPECT_EQ(Extent(), TPoint(0, 0));
    EXPECT_EQ(grid->GetCellGraphicLayoutSize(1, 1, 0, 0, 0, 0), TPoint(100, 40))
        << "the whole column and row";
}

TEST_F(AdvGridCellQueriesTest, ButtonsGiveWayToTheirText) {
    TCellGraphic* button = grid->CreateCellGraphic(1, 1);
    button->SetButton(70, 20, u"Go", haLeft, vaTop);
    EXPECT_EQ(Extent(), TPoint(70, 20));
    EXPECT_EQ(grid->GetCellGraphicLayoutSize(1, 1, 0, 0, 0, 0), TPoint(70, 20));
    // Filling the width, a captioned button without text is as wide as its caption.
    button->SetCellHAlign(haFull);
    EXPECT_EQ(Extent(), TPoint(TextWidth(u"Go") + 4, 20));

    grid->SetCells(1, 1, u"text");
    button->SetCellHAlign(haLeft);
    EXPECT_EQ(Extent(), TPoint(70, 0)) << "beside the text it adds no height";
    button->SetCellVAlign(vaUnderText);
    EXPECT_EQ(Extent(), TPoint(0, 20)) << "under the text it adds no width";
    button->SetCellHAlign(haCenter);
    button->SetCellVAlign(vaFull);
    EXPECT_EQ(Extent(), TPoint(0, grid->CellRect(1, 1).Height()));
}

TEST(PictureSizeTest, StretchModesFitThePictureIntoTheArea) {
    struct Case {
        const char* name;
        TStretchMode mode;
        Integer w, h, padding, cw, rh;
        TPoint expected;
    };
    const Case cases[] = {
        {"no stretch", noStretch, 40, 20, 0, 30, 30, {40, 20}},
        {"stretch", Stretch, 40, 20, 0, 30, 30, {30, 30}},
        {"stretch, padded", Stretch, 40, 20, 4, 30, 30, {26, 26}},
        {"shrink a larger one", Shrink, 40, 20, 0, 30, 30, {30, 30}},
        {"shrink a smaller one", Shrink, 10, 5, 0, 30, 30, {10, 5}},
        {"stretch with aspect, wide", StretchWithAspectRatio, 40, 20, 0, 30, 30, {30, 15}},
        {"stretch with aspect, small", StretchWithAspectRatio, 10, 5, 0, 30, 30, {30, 15}},
        {"stretch with aspect, tall", StretchWithAspectRatio, 10, 40, 0, 30, 20, {5, 20}},
        {"aspect halves go to even", StretchWithAspectRatio, 5, 2, 0, 100, 1, {2, 1}},
        {"shrink with aspect, larger", ShrinkWithAspectRatio, 40, 20, 0, 30, 30, {30, 15}},
        {"shrink with aspect, smaller", ShrinkWithAspectRatio, 10, 5, 0, 30, 30, {10, 5}},
        {"empty picture with aspect", StretchWithAspectRatio, 0, 0, 0, 30, 30, {0, 30}},
    };
    for (const Case& c : cases) {
        TPicture picture;
        if (c.w > 0) {
            picture.Bitmap()->SetWidth(c.w);
            picture.Bitmap()->SetHeight(c.h);
        }
        TCellGraphic graphic;
        graphic.SetPicture(&picture, false, c.mode, c.padding, haLeft, vaTop);
        TPoint size(-1, -1);
        graphic.GetPictureSize(c.cw, c.rh, true, size);
        EXPECT_EQ(size, c.expected) << c.name;
    }
    TCellGraphic other;
    other.SetCellType(ctBitmap);
    TPoint untouched(-1, -1);
    other.GetPictureSize(30, 30, false, untouched);
    EXPECT_EQ(untouched, TPoint(-1, -1));
}

TEST_F(AdvGridCellQueriesTest, APictureIsMeasuredInsideItsCellLessTheOffsetsAndTheReserve) {
    TPicture picture;
    picture.Bitmap()->SetWidth(400);
    picture.Bitmap()->SetHeight(400);
    grid->AddPicture(1, 1, &picture, false, Stretch, 0, haLeft, vaTop);
    // 100 x 40 less one pixel and the offsets of 2 on both sides.
    EXPECT_EQ(Extent(), TPoint(95, 35));
    EXPECT_EQ(grid->GetCellGraphicExtent(1, 1, 10), TPoint(95, 25));
    grid->SetXYOffsetTopLeftOnly(true);
    EXPECT_EQ(Extent(), TPoint(97, 37));
    grid->MergeCells(1, 1, 2, 1);
    EXPECT_EQ(Extent(), TPoint(grid->CellSize(1, 1).X - 3, 37)) << "the whole merged block";
    EXPECT_GT(grid->CellSize(1, 1).X, 100);
    EXPECT_EQ(grid->GetCellGraphicLayoutSize(1, 1, 50, 30, 0, 0), TPoint(50, 30));
}

class TSwatch : public TInterfacedPersistent, public IGridCellObject {
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
    void Draw(TCanvas*, const TRect&, Integer, Integer, bool, bool) override {}
    Integer GetWidth() override { return width; }
    Integer GetHeight() override { return height; }
    Integer width = 24;
    Integer height = 16;
};

TEST_F(AdvGridCellQueriesTest, InterfacedObjectsTellTheirSizeOrTakeTheCell) {
    TSwatch swatch;
    grid->AddInterfacedCell(1, 1, &swatch);
    EXPECT_EQ(Extent(), TPoint(24, 16));
    EXPECT_EQ(grid->GetCellGraphicLayoutSize(1, 1, 0, 0, 0, 0), TPoint(24, 16));
    swatch.height = 0;
    EXPECT_EQ(Extent(), TPoint(100, 40)) << "a zero side gives the whole cell";
    EXPECT_EQ(grid->GetCellGraphicLayoutSize(1, 1, 0, 0, 0, 0), TPoint(24, grid->CellRect(1, 1).Height()));
    TInterfacedPersistent plain;
    grid->AddInterfacedCell(1, 1, &plain);
    EXPECT_EQ(Extent(), TPoint(100, 40));
    EXPECT_EQ(grid->GetCellGraphicLayoutSize(1, 1, 0, 0, 0, 0), TPoint(0, 0));
}

TEST_F(AdvGridCellQueriesTest, ControlRectIsWherePaintingDrewTheControl) {
    EXPECT_EQ(grid->GetCellControlRect(1, 1), TRect(0, 0, 0, 0));
    TCellGraphic* button = grid->CreateCellGraphic(1, 1);
    button->SetButton(30, 12, u"Go", haLeft, vaTop);
    button->SetCellValue(3 + (4 << 16));
    const TRect cell = grid->CellRect(1, 1);
    EXPECT_EQ(grid->GetCellControlRect(1, 1),
              TRect(cell.Left + 3, cell.Top + 4, cell.Left + 33, cell.Top + 16));
    button->SetCellHAlign(haFull);
    button->SetCellVAlign(vaFull);
    EXPECT_EQ(grid->GetCellControlRect(1, 1), cell);
    button->SetCellValue(1e300);
    EXPECT_EQ(grid->GetCellControlRect(1, 1), cell) << "a value no painter wrote is not read past its range";

    // The column is a displayed one: with column 1 hidden, displayed column 1 is stored column 2.
    grid->CreateCellGraphic(2, 1)->SetButton(10, 10, u"", haLeft, vaTop);
    grid->HideColumn(1);
    const TRect shown = grid->CellRect(1, 1);
    EXPECT_EQ(grid->GetCellControlRect(1, 1), TRect(shown.Left, shown.Top, shown.Left + 10, shown.Top + 10));
}

TEST_F(AdvGridCellQueriesTest, ImageQueriesAndSortKeys) {
    EXPECT_EQ(grid->GetCellImageList(3, 3), images.get());
    grid->AddBitmap(1, 1, &bitmap, false, haLeft, vaTop);
    grid->AddImageIdx(1, 2, 7, haLeft, vaTop);
    grid->AddRotated(1, 3, 90, u"r");
    const TIcon* icon = grid->CreateIcon(1, 4, haLeft, vaTop);
    EXPECT_EQ(grid->GetCellGraphicKey(1, 1),
              static_cast<Integer>(static_cast<Cardinal>(reinterpret_cast<std::uintptr_t>(&bitmap))));
    EXPECT_EQ(grid->GetCellGraphicKey(1, 2), 7);
    EXPECT_EQ(grid->GetCellGraphicKey(1, 3), -1);
    EXPECT_EQ(grid->GetCellGraphicKey(1, 4),
              static_cast<Integer>(static_cast<Cardinal>(reinterpret_cast<std::uintptr_t>(icon))));
    EXPECT_EQ(grid->GetCellGraphicKey(2, 2), -1);
}

TEST_F(AdvGridCellQueriesTest, FormControlValuesAreReadAndWrittenInTheStoredText) {
    const String text = u"Name <CONTROL ID=\"e1\" VALUE=\"abc\" WIDTH=\"40\" TYPE=\"EDIT\"> www.example.com";
    grid->SetCells(1, 1, text);
    grid->SetURLShowInText(true);
    EXPECT_EQ(grid->GetCtrlVal(1, 1, u"e1"), u"abc");
    EXPECT_EQ(grid->GetCtrlVal(1, 1, u"none"), u"");
    grid->SetCtrlVal(1, 1, u"e1", u"xyz");
    EXPECT_EQ(grid->GetCtrlVal(1, 1, u"e1"), u"xyz");
    EXPECT_EQ(grid->GridCells(1, 1).find(u"<a href"), String::npos) << "the link markup is never stored";
    const String before = grid->GridCells(1, 1);
    grid->SetCtrlVal(1, 1, u"none", u"v");
    EXPECT_EQ(grid->GridCells(1, 1), before);
}

} // namespace

namespace {

TEST_F(AdvGridCellQueriesTest, NodeRowsShowTheCountOfTheirOwnDataRows) {
    TCellGraphic* node = grid->CreateCellGraphic(0, 1);
    node->SetCellType(ctNode);
    node->SetCellIndex(5);   // the span, the node row included
    node->SetCellErrFrom(1); // one sub-node
    grid->SetCells(1, 1, u"Group");
    grid->SetCells(2, 1, u"other");
    EXPECT_EQ(grid->Cells(1, 1), u"Group");
    grid->Grouping()->SetShowGroupCount(true);
    EXPECT_EQ(grid->Cells(1, 1), u"Group (3)");
    EXPECT_EQ(grid->Cells(2, 1), u"other") << "only column 1 counts";
    EXPECT_EQ(grid->Cells(1, 2), u"") << "only node rows count";
    EXPECT_EQ(grid->GridCells(1, 1), u"Group");
    grid->Grouping()->SetGroupCountFormat(u" [%d rows]");
    EXPECT_EQ(grid->Cells(1, 1), u"Group [3 rows]");
    grid->Grouping()->SetGroupCountFormat(u" [%s]");
    EXPECT_EQ(grid->Cells(1, 1), u"Group (3)") << "a format that cannot take the count shows none";
}

} // namespace

namespace {

TEST_F(AdvGridCellQueriesTest, SizingMeasuresTheObjectOfTheStoredColumn) {
    grid->SetFixedCols(0);
    grid->SetFixedRows(0);
    grid->SetRowCount(1);
    grid->AddBitmap(2, 0, &bitmap, false, haLeft, vaTop);
    grid->HideColumn(1);
    // Displayed column 1 is stored column 2: its bitmap, the inset on both sides and a grid line with a
    // pixel on both sides.
    grid->AutoSizeCol(1, 0);
    EXPECT_EQ(grid->ColWidths(1), 20 + 4 + 4);
    grid->SetColWidths(1, 5);
    grid->AutoSizeCells(false, 0, 0);
    EXPECT_EQ(grid->ColWidths(1), 20 + 2);
}

} // namespace
