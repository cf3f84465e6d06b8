// Tests of the cell objects: their kinds and fields, what Assign copies, what each kind owns and frees
// (counted by live instances), the grid's plumbing that creates, finds and removes them, the shared row
// check box, and interfaced cells.
#include <gtest/gtest.h>

#include "tests/grid/engine/AdvGridTesting.h"

#include "grid/engine/AdvGrid.h"
#include "platform/rtl/Convert.h"

namespace {

int gLiveBitmaps = 0;
int gLiveLists = 0;

// Owned objects that count their live instances.
class TCountedBitmap : public TBitmap {
public:
    TCountedBitmap() { ++gLiveBitmaps; }
    ~TCountedBitmap() override { --gLiveBitmaps; }
};

class TCountedList : public TStringList {
public:
    TCountedList() { ++gLiveLists; }
    ~TCountedList() override { --gLiveLists; }
};

class AdvGridCellObjectsTest : public ::testing::Test {
protected:
    void SetUp() override {
        gLiveBitmaps = 0;
        gLiveLists = 0;
        FGrid = new TAdvStringGrid(nullptr);
        FGrid->SetColCount(4);
        FGrid->SetRowCount(6);
    }
    void TearDown() override {
        delete FGrid;
        EXPECT_EQ(gLiveLists, 0) << "every owned list is freed with the grid";
    }

    TAdvStringGrid* FGrid = nullptr;
};

// ---- The object itself

TEST(CellGraphicTest, NewObjectIsNoneAndSettersFillTheirKind) {
    TCellGraphic g;
    EXPECT_EQ(g.CellType(), ctNone);
    EXPECT_FALSE(g.CellCreated());

    struct AngleCase {
        SmallInt given;
        Integer stored;
    };
    for (const AngleCase& c :
         {AngleCase{-30, 330}, AngleCase{360, 360}, AngleCase{725, 5}, AngleCase{0, 0}}) {
        g.SetAngle(c.given);
        EXPECT_EQ(g.CellType(), ctRotated);
        EXPECT_EQ(g.CellAngle(), c.stored) << c.given;
    }

    g.SetButton(40, 20, u"Go", haCenter, vaCenter);
    EXPECT_EQ(g.CellType(), ctButton);
    EXPECT_EQ(g.CellIndex() & 0xFFFF, 40);
    EXPECT_EQ(g.CellIndex() >> 16, 20);
    EXPECT_EQ(g.CellText(), u"Go");
    g.SetButton(70000, 20, u"", haLeft, vaTop);
    EXPECT_EQ(g.CellIndex() & 0xFFFF, 70000 & 0xFFFF) << "only the width's low 16 bits are kept";
    EXPECT_EQ(g.CellIndex() >> 16, 20);

    g.SetCheckBox(true, true, true, haBeforeText, vaBottom);
    EXPECT_EQ(g.CellType(), ctDataCheckBox);
    EXPECT_TRUE(g.CellBoolean());
    EXPECT_TRUE(g.CellTransparent());
    g.SetCheckBox(cbGrayed, false, haBeforeText, vaTop);
    EXPECT_EQ(g.CellType(), ctTriStateCheckBox);
    EXPECT_EQ(g.CellCheckBoxState(), cbGrayed);
    EXPECT_FALSE(g.CellBoolean());
}

TEST(CellGraphicTest, AssignCopiesValuesAndColoursButNeverReferences) {
    TCountedBitmap bitmap;
    TCellGraphic source;
    source.SetBitmap(&bitmap, true, haRight, vaBottom);
    source.SetCellCreated(true);
    source.SetCellComment(u"note");
    source.SetCommentColor(0x00FF00);
    TCellGraphic copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.CellType(), ctBitmap);
    EXPECT_TRUE(copy.CellCreated());
    EXPECT_EQ(copy.CellBitmap(), nullptr) << "the copy never references the source's bitmap";
    EXPECT_EQ(copy.CellHAlign(), haRight);
    EXPECT_EQ(copy.CellComment(), u"note");
    EXPECT_EQ(copy.CommentColor(), 0x00FF00);
    source.SetCellCreated(false); // the bitmap lives on the stack

    // A progress bar's colours are values of their own, copied with it.
    TCellGraphic bar;
    bar.SetCellType(ctProgress);
    bar.SetCellColor(0x0000FF);
    bar.SetCellColorTo(0xFFFFFF);
    bar.SetCellIndex(0x123456);
    TCellGraphic barCopy;
    barCopy.Assign(&bar);
    EXPECT_EQ(barCopy.CellColor(), 0x0000FF);
    EXPECT_EQ(barCopy.CellColorTo(), 0xFFFFFF);
    EXPECT_EQ(barCopy.CellIndex(), 0x123456);
}

// ---- Ownership

TEST_F(AdvGridCellObjectsTest, ObjectsFreeWhatTheirKindOwnsAndNothingElse) {
    struct Case {
        const char* name;
        bool created;  // the grid made the bitmap (Create...) rather than the caller (Add...)
        int removal;   // 0 RemoveCellGraphic, 1 another kind replaces it, 2 its row is removed
        int liveAfter; // bitmaps alive after the removal
    };
    const Case cases[] = {
        {"added, removed", false, 0, 1},     {"created, removed", true, 0, 0},
        {"added, replaced", false, 1, 1},    {"created, replaced", true, 1, 0},
        {"added, row removed", false, 2, 1}, {"created, row removed", true, 2, 0},
    };
    for (const Case& c : cases) {
        auto* bitmap = new TCountedBitmap;
        TCellGraphic* g = FGrid->CreateCellGraphic(2, 3);
        g->SetBitmap(bitmap, false, haLeft, vaTop);
        g->SetCellCreated(c.created);
        if (c.removal == 0)
            EXPECT_TRUE(FGrid->RemoveCellGraphic(2, 3));
        else if (c.removal == 1)
            FGrid->AddCheckBox(2, 3, true, false);
        else
            FGrid->RemoveRows(3, 1);
        EXPECT_EQ(gLiveBitmaps, c.liveAfter) << c.name;
        if (c.liveAfter == 1)
            delete bitmap;
        FGrid->RemoveCellGraphic(2, 3);
        FGrid->SetRowCount(6);
    }
}

TEST_F(AdvGridCellObjectsTest, BalloonListsAndImageListsAreOwned) {
    // A check box carrying a balloon owns its balloon texts.
    FGrid->AddCheckBox(1, 1, false, false);
    TCellGraphic* box = FGrid->GetCellGraphic(1, 1);
    box->SetCellBalloon(true);
    box->SetCellBitmap(new TCountedList);
    FGrid->RemoveCheckBox(1, 1);
    EXPECT_EQ(gLiveLists, 0);
    EXPECT_EQ(FGrid->GetCellGraphic(1, 1), nullptr);

    TCellGraphic* balloon = FGrid->CreateCellGraphic(1, 2);
    balloon->SetCellType(ctBalloon);
    balloon->SetCellBitmap(new TCountedList);
    TCellGraphic* images = FGrid->CreateCellGraphic(2, 2);
    images->SetMultiImage(2, 2, 0, haLeft, vaTop, nullptr);
    EXPECT_TRUE(images->CellBoolean());
    ASSERT_NE(dynamic_cast<TIntList*>(images->CellBitmap()), nullptr);
    FGrid->Clear();
    EXPECT_EQ(gLiveLists, 0) << "clearing frees the records with their objects";
}

TEST_F(AdvGridCellObjectsTest, CreatingKeepsTheCellTextAndReplacesTheObject) {
    FGrid->SetCells(1, 1, u"text");
    TCellGraphic* first = FGrid->CreateCellGraphic(1, 1);
    EXPECT_EQ(FGrid->Cells(1, 1), u"text");
    TCellGraphic* empty = FGrid->CreateCellGraphic(2, 1);
    EXPECT_EQ(FGrid->Cells(2, 1), u"") << "an empty cell stays empty";
    EXPECT_EQ(FGrid->GetCellGraphic(2, 1), empty);
    EXPECT_EQ(FGrid->GetCellType(2, 1), ctNone);

    TCellGraphic* second = FGrid->CreateCellGraphic(1, 1);
    EXPECT_NE(second, first);
    EXPECT_EQ(FGrid->GetCellGraphic(1, 1), second);
    EXPECT_TRUE(FGrid->RemoveCellGraphicOfType(1, 1, ctNone));
    EXPECT_FALSE(FGrid->RemoveCellGraphic(1, 1)) << "nothing left to remove";
    EXPECT_FALSE(FGrid->RemoveCellGraphicOfType(2, 1, ctCheckBox)) << "another kind stays";
    EXPECT_EQ(FGrid->GetCellType(2, 1), ctNone);
}

// ---- Queries

TEST_F(AdvGridCellObjectsTest, QueriesAnswerNoObjectOutsideAndForForeignObjects) {
    EXPECT_EQ(FGrid->GetCellType(-1, 0), ctEmpty);
    EXPECT_EQ(FGrid->GetCellType(0, -1), ctEmpty);
    EXPECT_EQ(FGrid->GetCellType(1, 1), ctEmpty);
    EXPECT_FALSE(FGrid->CellTypeInSet(-1, 1, {ctEmpty, ctNone}));

    // An object of another class under the same name is no cell object of ours.
    FGrid->SetGraphicObjects(3, 4, new advgrid_fixtures::TCellGraphic);
    EXPECT_EQ(FGrid->GetCellGraphic(3, 4), nullptr);
    EXPECT_EQ(FGrid->GetCellType(3, 4), ctEmpty);
    EXPECT_FALSE(FGrid->RemoveCellGraphic(3, 4));

    // Inside a merged block every cell answers for its base cell.
    FGrid->AddCheckBox(1, 2, false, false);
    FGrid->MergeCells(1, 2, 2, 2);
    EXPECT_TRUE(FGrid->CellTypeInSet(2, 3, {ctCheckBox}));
    EXPECT_TRUE(FGrid->HasCheckBox(2, 3));
    EXPECT_FALSE(FGrid->CellTypeInSet(2, 3, {ctRadio}));
}

TEST_F(AdvGridCellObjectsTest, SharedRowCheckBoxStandsInColumnZeroAndIsNeverFreed) {
    FGrid->CreateCellGraphic(0, 2)->SetCellType(ctNode);
    FGrid->MouseActions()->SetHotmailRowSelect(true);

    TCellGraphic* shared = FGrid->GetCellGraphic(0, 1);
    ASSERT_NE(shared, nullptr);
    for (Integer r = 0; r < FGrid->RowCount(); ++r) {
        EXPECT_EQ(FGrid->GetCellGraphic(0, r), shared) << r;
        EXPECT_EQ(FGrid->GetCellType(0, r), ctRowCheckBox) << r;
    }
    EXPECT_EQ(shared->CellType(), ctRowCheckBox);
    EXPECT_FALSE(shared->CellBoolean()) << "no row is selected";
    EXPECT_EQ(FGrid->GetCellType(1, 2), ctEmpty) << "other columns answer their own objects";

    // Removing or replacing in column 0 neither frees the shared object nor loses the cell's own.
    EXPECT_TRUE(FGrid->RemoveCellGraphic(0, 2));
    EXPECT_EQ(FGrid->GetCellGraphic(0, 3), shared);
    EXPECT_NE(FGrid->GraphicObjects(0, 2), nullptr);
    FGrid->CreateCellGraphic(0, 2);
    FGrid->CreateCellGraphic(0, 4);
    EXPECT_EQ(FGrid->GetCellGraphic(0, 4)->CellType(), ctRowCheckBox);

    FGrid->MouseActions()->SetHotmailRowSelect(false);
    EXPECT_EQ(FGrid->GetCellType(0, 2), ctNone);
    EXPECT_EQ(FGrid->GetCellType(0, 3), ctEmpty);
}

// ---- Interfaced cells

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
    Integer GetWidth() override { return 24; }
    Integer GetHeight() override { return 16; }
};

TEST_F(AdvGridCellObjectsTest, InterfacedCellsAreFoundByTheirGuidAndStayTheCallers) {
    TSwatch swatch;
    TInterfacedPersistent plain;
    TCellGraphic* g = FGrid->CreateCellGraphic(1, 1);
    g->SetInterfacedCell(&swatch);

    IGridCellObject* cell = nullptr;
    ASSERT_TRUE(Supports(g->CellBitmap(), IID_IGridCellObject, cell));
    EXPECT_EQ(cell->GetWidth(), 24);
    EXPECT_FALSE(Supports(&plain, IID_IGridCellObject, cell));
    EXPECT_EQ(cell, nullptr);
    IUnknown* unknown = nullptr;
    EXPECT_TRUE(Supports(&plain, IID_IUnknown, unknown));
    EXPECT_FALSE(Supports(nullptr, IID_IUnknown, unknown));
    EXPECT_FALSE(Supports(g, IID_IUnknown, unknown)) << "a cell object answers no interfaces";

    // The grid frees the cell object, never the interfaced object.
    EXPECT_TRUE(FGrid->RemoveCellGraphic(1, 1));
    EXPECT_EQ(swatch.GetHeight(), 16);
}

TEST(CellNodeTest, DefaultsAndAssign) {
    TCellNode node;
    EXPECT_EQ(node.Color(), 0x00C0C0C0);
    EXPECT_EQ(node.NodeType(), cnXP);
    EXPECT_EQ(node.NodeIndent(), 12);
    EXPECT_EQ(node.TreeColor(), 0x00808080);
    EXPECT_TRUE(node.ShowTree());
    EXPECT_TRUE(node.ShowTreeFull());

    TCellNode other;
    other.SetNodeType(cnFlat);
    other.SetNodeIndent(20);
    other.SetExpandOne(true);
    other.ExpandGlyph()->SetWidth(9);
    other.ExpandGlyph()->SetHeight(9);
    node.Assign(&other);
    EXPECT_EQ(node.NodeType(), cnFlat);
    EXPECT_EQ(node.NodeIndent(), 20);
    EXPECT_TRUE(node.ExpandOne());
    EXPECT_EQ(node.ExpandGlyph()->Width(), 9);
    EXPECT_NE(node.ExpandGlyph(), other.ExpandGlyph());
}

} // namespace
