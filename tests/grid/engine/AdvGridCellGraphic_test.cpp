// Tests of pictures in cells: what the caller keeps and what the cell frees, the image-list kinds with
// and without the grid's image list, data images and their text, the multi-image list's repaint,
// rotated text and interfaced cells.
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "tests/grid/engine/ShownGridTesting.h"

namespace {

int gLive = 0;

template <class Base> class TCounted : public Base {
public:
    TCounted() { ++gLive; }
    ~TCounted() override { --gLive; }
};

class AdvGridCellGraphicTest : public advgrid_fixtures::ShownGridTest {
protected:
    void SetUp() override {
        gLive = 0;
        ShownGridTest::SetUp();
        images = std::make_unique<TCustomImageList>(nullptr);
    }
    void TearDown() override {
        ShownGridTest::TearDown();
        EXPECT_EQ(gLive, 0);
    }
    std::unique_ptr<TCustomImageList> images;
};

TEST_F(AdvGridCellGraphicTest, AddedObjectsStayTheCallersAndRemovalTakesOnlyItsOwnKind) {
    struct Case {
        const char* name;
        std::function<TObject*()> add;    // attaches a counted object at (1, 1) and answers it
        std::function<TObject*()> get;    // what the kind's getter answers
        std::function<void()> remove;     // the kind's removal
        std::function<void()> removeElse; // another kind's removal, which must leave the object
    };
    TAdvStringGrid& g = *grid;
    const Case cases[] = {
        {"bitmap",
         [&] {
             auto* bitmap = new TCounted<TBitmap>;
             g.AddBitmap(1, 1, bitmap, true, haLeft, vaTop);
             return bitmap;
         },
         [&] { return g.GetBitmap(1, 1); }, [&] { g.RemoveBitmap(1, 1); }, [&] { g.RemoveIcon(1, 1); }},
        {"picture",
         [&] {
             auto* picture = new TCounted<TPicture>;
             g.AddPicture(1, 1, picture, false, Stretch, 2, haLeft, vaTop);
             return picture;
         },
         [&] { return g.GetPicture(1, 1); }, [&] { g.RemovePicture(1, 1); },
         [&] { g.RemoveFilePicture(1, 1); }},
        {"file picture",
         [&] {
             auto* picture = new TCounted<TFilePicture>;
             g.AddFilePicture(1, 1, picture, false, Shrink, 0, haLeft, vaTop);
             return picture;
         },
         [&] { return g.GetFilePicture(1, 1); }, [&] { g.RemoveFilePicture(1, 1); },
         [&] { g.RemovePicture(1, 1); }},
        {"icon",
         [&] {
             auto* icon = new TCounted<TIcon>;
             g.AddIcon(1, 1, icon, haLeft, vaTop);
             return icon;
         },
         [&] { return g.GetCellGraphic(1, 1)->CellIcon(); }, [&] { g.RemoveIcon(1, 1); },
         [&] { g.RemoveBitmap(1, 1); }},
    };
    for (const Case& c : cases) {
        TObject* object = c.add();
        EXPECT_EQ(c.get(), object) << c.name;
        EXPECT_FALSE(g.GetCellGraphic(1, 1)->CellCreated()) << c.name;
        c.removeElse();
        ASSERT_NE(g.GetCellGraphic(1, 1), nullptr) << c.name << ": another kind's removal keeps it";
        c.remove();
        EXPECT_EQ(g.GetCellGraphic(1, 1), nullptr) << c.name;
        EXPECT_EQ(gLive, 1) << c.name << ": the caller's object outlives the cell's";
        delete object;
    }
    EXPECT_EQ(g.GetBitmap(2, 2), nullptr);
    EXPECT_FALSE(g.HasPicture(2, 2));
}

TEST_F(AdvGridCellGraphicTest, CreatedObjectsBelongToTheCell) {
    // Each Create answers the object the cell holds and frees when it is removed or replaced; the
    // leak checker holds the grid to it.
    TBitmap* bitmap = grid->CreateBitmap(1, 1, true, haCenter, vaCenter);
    EXPECT_EQ(grid->GetBitmap(1, 1), bitmap);
    EXPECT_TRUE(grid->HasBitmap(1, 1));
    EXPECT_TRUE(grid->GetCellGraphic(1, 1)->CellCreated());
    EXPECT_TRUE(grid->GetCellGraphic(1, 1)->CellTransparent());
    TPicture* picture = grid->CreatePicture(1, 2, false, StretchWithAspectRatio, 3, haLeft, vaTop);
    EXPECT_EQ(grid->GetPicture(1, 2), picture);
    EXPECT_EQ(grid->GetCellGraphic(1, 2)->CellAngle(), StretchWithAspectRatio);
    EXPECT_EQ(grid->GetCellGraphic(1, 2)->CellIndex(), 3) << "the padding";
    TFilePicture* file = grid->CreateFilePicture(1, 3, false, Shrink, 0, haLeft, vaTop);
    EXPECT_EQ(grid->GetFilePicture(1, 3), file);
    EXPECT_EQ(grid->GetCellType(1, 3), ctFilePicture);
    grid->CreateIcon(1, 4, haLeft, vaTop);

    grid->RemoveBitmap(1, 1);
    grid->AddCheckBox(1, 2, false, false);
    grid->RemoveRows(3, 1);
    EXPECT_EQ(grid->GetCellType(1, 3), ctIcon) << "the icon moved up with its row";
}

TEST_F(AdvGridCellGraphicTest, ImageListKindsNeedTheGridsImageList) {
    grid->SetCells(1, 1, u"text");
    grid->AddImageIdx(1, 1, 3, haLeft, vaTop);
    grid->AddDataImage(1, 2, 4, haLeft, vaTop);
    grid->AddMultiImage(1, 3, 0, haLeft, vaTop);
    for (Integer r = 1; r <= 3; ++r)
        EXPECT_EQ(grid->GetCellType(1, r), ctEmpty) << r;
    EXPECT_EQ(grid->Cells(1, 2), u"");

    grid->SetGridImages(images.get());
    grid->AddImageIdx(1, 1, 3, haBeforeText, vaCenter);
    Integer idx = -7;
    ASSERT_TRUE(grid->GetImageIdx(1, 1, idx));
    EXPECT_EQ(idx, 3);
    grid->SetImageIdx(1, 1, 5);
    ASSERT_TRUE(grid->GetImageIdx(1, 1, idx));
    EXPECT_EQ(idx, 5);
    EXPECT_EQ(grid->Cells(1, 1), u"text");

    idx = -7;
    EXPECT_FALSE(grid->GetImageIdx(1, 2, idx));
    EXPECT_EQ(idx, -7) << "another cell leaves the index alone";
    grid->RemoveImageIdx(1, 2);
    grid->RemoveImageIdx(1, 1);
    EXPECT_EQ(grid->GetCellType(1, 1), ctEmpty);

    // The grid lets go of a list that is freed, and the image kinds go quiet again.
    grid->AddImageIdx(1, 1, 2, haLeft, vaTop);
    images.reset();
    EXPECT_EQ(grid->GridImages(), nullptr);
    EXPECT_FALSE(grid->GetImageIdx(1, 1, idx));
}

TEST_F(AdvGridCellGraphicTest, DataImagesShowTheirTextAndTakeItAlongWhenRemoved) {
    grid->SetGridImages(images.get());
    grid->AddDataImage(1, 1, 4, haLeft, vaTop);
    EXPECT_EQ(grid->Cells(1, 1), u"4") << "an empty cell gets the index";
    grid->SetCells(1, 2, u"7");
    grid->AddDataImage(1, 2, 4, haLeft, vaTop);
    EXPECT_EQ(grid->Cells(1, 2), u"7") << "a text is the index already";
    grid->MergeCells(1, 2, 2, 1);
    EXPECT_TRUE(grid->HasDataImage(2, 2)) << "the merged block answers for its base cell";
    EXPECT_FALSE(grid->HasDataImage(3, 3));

    grid->SetCells(3, 3, u"plain");
    grid->RemoveDataImage(3, 3);
    EXPECT_EQ(grid->Cells(3, 3), u"plain") << "a cell without a data image keeps its text";
    grid->AddCheckBox(3, 4, true, true);
    const String checked = grid->Cells(3, 4);
    grid->RemoveDataImage(3, 4);
    EXPECT_EQ(grid->GetCellType(3, 4), ctDataCheckBox);
    EXPECT_EQ(grid->Cells(3, 4), checked);

    grid->RemoveDataImage(1, 1);
    EXPECT_EQ(grid->GetCellType(1, 1), ctEmpty);
    EXPECT_EQ(grid->Cells(1, 1), u"");
}

TEST_F(AdvGridCellGraphicTest, ChangingAMultiImageListRepaintsItsCell) {
    grid->SetGridImages(images.get());
    grid->AddMultiImage(2, 3, 0, haLeft, vaTop);
    grid->AddMultiImage(3, 3, 1, haLeft, vaTop);
    TIntList* list = grid->GetCellImages(2, 3);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_TRUE(grid->GetCellGraphic(2, 3)->CellBoolean()) << "direction 0 lays out horizontally";
    EXPECT_FALSE(grid->GetCellGraphic(3, 3)->CellBoolean());
    EXPECT_EQ(grid->GetCellImages(1, 1), nullptr);

    Application->ProcessMessages();
    Settle();
    list->Add(4);
    EXPECT_TRUE(Repainting(2, 3));
    EXPECT_FALSE(Repainting(2, 1));
    grid->RemoveMultiImage(2, 3);
    EXPECT_EQ(grid->GetCellImages(2, 3), nullptr);
}

TEST_F(AdvGridCellGraphicTest, RotatedTextNormalisesItsAngleAndFreesWhatTheOldKindOwned) {
    grid->AddRotated(1, 1, -90, u"up");
    Integer angle = -1;
    ASSERT_TRUE(grid->IsRotated(1, 1, angle));
    EXPECT_EQ(angle, 270);
    EXPECT_EQ(grid->Cells(1, 1), u"up");

    // A bitmap the cell made, and the balloon texts of a check box, are freed when they turn.
    TCellGraphic* owner = grid->CreateCellGraphic(1, 2);
    owner->SetBitmap(new TCounted<TBitmap>, false, haRight, vaBottom);
    owner->SetCellCreated(true);
    grid->AddCheckBox(1, 3, true, false);
    grid->AddBalloon(1, 3, u"Title", u"Text", biInfo);
    grid->SetRotated(1, 2, 45);
    grid->SetRotated(1, 3, 400);
    EXPECT_EQ(gLive, 0);
    EXPECT_EQ(grid->GetCellGraphic(1, 2), owner) << "the object itself is reused";
    EXPECT_EQ(owner->CellHAlign(), haRight) << "its other fields stay";
    EXPECT_EQ(owner->CellBitmap(), nullptr);
    ASSERT_TRUE(grid->IsRotated(1, 3, angle));
    EXPECT_EQ(angle, 40);
    String title, text;
    TBalloonIcon icon = biNone;
    EXPECT_FALSE(grid->IsBalloon(1, 3, title, text, icon));

    // A caller's bitmap survives the turn.
    TCounted<TBitmap> kept;
    grid->AddBitmap(2, 2, &kept, false, haLeft, vaTop);
    grid->SetRotated(2, 2, 10);
    EXPECT_EQ(gLive, 1);
    grid->SetRotated(3, 3, 180);
    ASSERT_TRUE(grid->IsRotated(3, 3, angle)) << "a cell without an object gets one";
    EXPECT_EQ(angle, 180);

    angle = -1;
    EXPECT_FALSE(grid->IsRotated(4, 4, angle));
    EXPECT_EQ(angle, -1);
    grid->RemoveRotated(1, 1);
    EXPECT_EQ(grid->GetCellType(1, 1), ctEmpty);
    EXPECT_EQ(grid->Cells(1, 1), u"up");
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

TEST_F(AdvGridCellGraphicTest, InterfacedCellsReferenceTheCallersObject) {
    TSwatch swatch;
    grid->AddInterfacedCell(1, 1, &swatch);
    EXPECT_EQ(grid->GetInterfacedCell(1, 1), &swatch);
    EXPECT_EQ(grid->GetInterfacedCell(1, 2), nullptr);
    grid->RemoveBitmap(1, 1);
    EXPECT_EQ(grid->GetInterfacedCell(1, 1), &swatch);
    grid->RemoveInterfacedCell(1, 1);
    EXPECT_EQ(grid->GetInterfacedCell(1, 1), nullptr);
    EXPECT_EQ(swatch.GetWidth(), 24);
}

} // namespace
