// Tests of the grid base's cell store: when property records are created and freed, cell text and the
// display events, cell objects, records moving with their lines, and the grid's settings.
#include "tests/grid/engine/BaseGridTesting.h"

#include <limits>
#include <string>

#include "grid/engine/AdvUtil.h"
#include "platform/framework/Filer.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Streams.h"

namespace fixtures {

// Cell objects that count their destruction: one with the class name of the cell objects the grid
// owns, one of any other class.
int gGraphicsFreed = 0;

class TCellGraphic : public TObject {
    DECLARE_CLASS(TCellGraphic, TObject)

public:
    ~TCellGraphic() override { ++gGraphicsFreed; }
};

class TUserGraphic : public TObject {
    DECLARE_CLASS(TUserGraphic, TObject)

public:
    ~TUserGraphic() override { ++gGraphicsFreed; }
};

DEFINE_CLASS(TCellGraphic)
DEFINE_CLASS(TUserGraphic)

// A component that carries one property record through the component stream, as the cell stream does.
class TRecordCarrier : public TComponent {
    DECLARE_CLASS(TRecordCarrier, TComponent)

public:
    TRecordCarrier(TBaseGrid* grid, Integer ACol, Integer ARow)
        : TComponent(nullptr), FRecord(std::make_unique<TCellProperties>(grid, ACol, ARow)) {}
    TCellProperties* CellProperties() const { return FRecord.get(); }
    void SetCellProperties(TCellProperties* value) { FRecord->Assign(value); }

private:
    std::unique_ptr<TCellProperties> FRecord;
};

DEFINE_CLASS(TRecordCarrier, PROPERTY(CellProperties))

} // namespace fixtures

namespace {

using fixtures::gGraphicsFreed;

class BaseGridStore : public ::testing::Test {
protected:
    void SetUp() override {
        gGraphicsFreed = 0;
        FGrid = new TTestBaseGrid(nullptr);
        FGrid->SetColCount(6);
        FGrid->SetRowCount(8);
    }
    void TearDown() override { FGrid->Free(); }

    TTestBaseGrid* FGrid = nullptr;
    fixtures::TUserGraphic FForeign; // a graphic object the test owns; outlives the grid
};

TEST_F(BaseGridStore, PlainCellsGetNoRecord) {
    FGrid->SetCellEx(1, 5, u"42.5");
    EXPECT_EQ(FGrid->GetCellEx(1, 5), u"42.5");
    EXPECT_EQ(FGrid->Cells(1, 5), u"42.5");
    EXPECT_EQ(FGrid->GridCells(1, 5), u"42.5");
    EXPECT_TRUE(FGrid->textChanged.empty());

    // Looking never creates a record.
    EXPECT_EQ(FGrid->GetObjectEx(1, 5), nullptr);
    EXPECT_EQ(FGrid->GetGraphicObjectEx(1, 5), nullptr);
    EXPECT_FALSE(FGrid->CellPropsAssigned(1, 5));
    EXPECT_EQ(FGrid->PeekCellProperties(1, 5), nullptr);
    EXPECT_TRUE(FGrid->IsBaseCell(1, 5));
    EXPECT_FALSE(FGrid->HasCellProps());

    // Negative coordinates read as empty and count as having no record.
    EXPECT_EQ(FGrid->GetCellEx(-1, 0), u"");
    EXPECT_FALSE(FGrid->CellPropsAssigned(-1, 0));
    EXPECT_FALSE(FGrid->CellPropsAssigned(0, -1));
}

TEST_F(BaseGridStore, ReadingTheRecordCreatesItWithTheGridDefaults) {
    FGrid->SetWordWrap(false);
    TCellProperties* record = FGrid->GetCellProperties(2, 3);
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(FGrid->HasCellProps());
    EXPECT_TRUE(FGrid->CellPropsAssigned(2, 3));
    EXPECT_EQ(FGrid->CellProperties(2, 3), record) << "a second read answers the same record";

    EXPECT_TRUE(record->IsBaseCell());
    EXPECT_EQ(record->CellSpanX(), -1);
    EXPECT_EQ(record->CellSpanY(), -1);
    EXPECT_EQ(record->OwnerCol(), 2);
    EXPECT_EQ(record->OwnerRow(), 3);
    EXPECT_EQ(record->Alignment(), taLeftJustify);
    EXPECT_EQ(record->VAlignment(), vtaTop);
    EXPECT_FALSE(record->WordWrap());
    EXPECT_EQ(record->BrushColor(), FGrid->Color());
    EXPECT_EQ(record->BrushColorTo(), clNone);
    EXPECT_EQ(record->FontName(), FGrid->Font()->Name());
    EXPECT_EQ(record->FontSize(), FGrid->Font()->Size());
    EXPECT_EQ(record->FontColor(), FGrid->Font()->Color());
    EXPECT_EQ(record->Editor(), edNormal);
    EXPECT_EQ(record->CalcType(), acNONE);

    // A record in a slot at or beyond TotalColCount is not the store's.
    auto* beyond = new TCellProperties(FGrid, 6, 0);
    FGrid->PutCellProperties(6, 0, beyond);
    EXPECT_FALSE(FGrid->CellPropsAssigned(6, 0));
    EXPECT_EQ(FGrid->GetObjectEx(6, 0), nullptr);
    FGrid->FreeCellPropertiesAt(6, 0);
}

TEST_F(BaseGridStore, WritingACellWithARecordRunsTheTextHookOnTheBase) {
    FGrid->GetCellProperties(1, 1);
    FGrid->SetCellEx(1, 1, u"a");
    EXPECT_EQ(FGrid->GetCellEx(1, 1), u"a");
    ASSERT_EQ(FGrid->textChanged.size(), 1u);
    EXPECT_EQ(FGrid->textChanged[0], std::make_pair(1, 1));

    FGrid->SetHideLastRow(true);
    FGrid->SetCellEx(0, 7, u"footer");
    FGrid->SetCellEx(0, 6, u"data");
    EXPECT_EQ(FGrid->lastRowChanged, 1) << "only the hidden last row tells";
}

TEST_F(BaseGridStore, DisplayEventsRunOnlyForNormalRows) {
    std::vector<std::pair<Integer, Integer>> asked;
    FGrid->OnGetDisplText = [&](TObject*, Integer c, Integer r, String& value) {
        asked.emplace_back(c, r);
        value = u"<" + value + u">";
    };
    FGrid->SetCellEx(1, 1, u"x");
    FGrid->SetCellEx(1, 4, u"y");
    FGrid->SetNormalRowCount(4);
    EXPECT_EQ(FGrid->GetCellEx(1, 1), u"<x>");
    EXPECT_EQ(FGrid->GetCellEx(1, 4), u"y");
    EXPECT_EQ(FGrid->GridCells(1, 1), u"x") << "the raw access runs no event";
    EXPECT_EQ(asked, (std::vector<std::pair<Integer, Integer>>{{1, 1}}));

    // The wide event sees the decoded text and its answer comes back in the wide cell form.
    FGrid->OnGetDisplText = nullptr;
    FGrid->SetCellEx(2, 2, EncodeWideText(u"\u00e9t\u00e9"));
    String seen;
    FGrid->OnGetDisplWideText = [&](TObject*, Integer, Integer, String& value) {
        seen = value;
        value = u"hiver";
    };
    EXPECT_EQ(FGrid->GetCellEx(2, 2), EncodeWideText(u"hiver"));
    EXPECT_EQ(seen, u"\u00e9t\u00e9");
}

TEST_F(BaseGridStore, ObjectsLiveInTheRecordAndKeepTheText) {
    TObject user;
    FGrid->SetObjectEx(3, 2, &user);
    EXPECT_EQ(FGrid->GetObjectEx(3, 2), &user);
    EXPECT_EQ(FGrid->Objects(3, 2), &user);
    EXPECT_EQ(FGrid->GetCellEx(3, 2), u"") << "an empty cell stays empty";
    EXPECT_EQ(FGrid->PeekCellProperties(3, 2)->CellObject(), reinterpret_cast<NativeUInt>(&user));
    EXPECT_EQ(FGrid->TStringGrid::Objects(3, 2), FGrid->PeekCellProperties(3, 2))
        << "the framework slot holds the record, not the user's object";

    FGrid->SetCellEx(4, 2, u"kept");
    FGrid->SetObjectEx(4, 2, &user);
    EXPECT_EQ(FGrid->GetCellEx(4, 2), u"kept");

    fixtures::TUserGraphic picture;
    FGrid->SetGraphicObjectEx(5, 2, &picture);
    EXPECT_EQ(FGrid->GetGraphicObjectEx(5, 2), &picture);
    EXPECT_EQ(TBaseGrid::GraphicObjectOf(FGrid->PeekCellProperties(5, 2)), &picture);
    EXPECT_EQ(FGrid->GetCellEx(5, 2), u"");
    FGrid->FreeAllCellProperties();
    EXPECT_EQ(gGraphicsFreed, 0) << "the user object and a foreign graphic object are not the grid's";
}

TEST_F(BaseGridStore, FreeingTakesOnlyCellOwnedGraphics) {
    // Every way a record goes frees a "TCellGraphic" it holds and leaves objects of other classes
    // with whoever set them.
    struct Case {
        const char* name;
        void (*free)(TBaseGrid* grid);
    };
    for (const Case& c : {
             Case{"bulk", [](TBaseGrid* grid) { grid->FreeCellProperties(1, 1, 2, 1); }},
             Case{"all", [](TBaseGrid* grid) { grid->FreeAllCellProperties(); }},
             Case{"the whole Integer range",
                  [](TBaseGrid* grid) {
                      constexpr Integer least = std::numeric_limits<Integer>::min();
                      constexpr Integer most = std::numeric_limits<Integer>::max();
                      grid->FreeCellProperties(least, least, most, most);
                  }},
             Case{"one at a time",
                  [](TBaseGrid* grid) {
                      grid->FreeCellPropertiesAt(1, 1);
                      grid->FreeCellPropertiesAt(2, 1);
                  }},
             Case{"replaced",
                  [](TBaseGrid* grid) {
                      grid->SetCellProperties(1, 1, new TCellProperties(grid, 1, 1));
                      grid->SetCellProperties(2, 1, nullptr);
                  }},
         }) {
        SCOPED_TRACE(c.name);
        gGraphicsFreed = 0;
        auto* owned = new fixtures::TCellGraphic;
        fixtures::TUserGraphic foreign;
        FGrid->SetGraphicObjectEx(1, 1, owned);
        FGrid->SetGraphicObjectEx(2, 1, &foreign);
        c.free(FGrid);
        EXPECT_EQ(gGraphicsFreed, 1) << "the cell graphic went, the foreign one stayed";
        EXPECT_FALSE(FGrid->CellPropsAssigned(2, 1));
        FGrid->FreeAllCellProperties();
    }
}

TEST_F(BaseGridStore, DestructionFreesRecordsBeyondAShrunkGrid) {
    // The framework grid keeps the cells of a shrunk count; their records must still go with the grid.
    FGrid->SetGraphicObjectEx(5, 7, new fixtures::TCellGraphic);
    FGrid->SetGraphicObjectEx(2, 3, new fixtures::TCellGraphic);
    FGrid->SetRowCount(3);
    FGrid->SetColCount(2);
    FGrid->Free();
    FGrid = new TTestBaseGrid(nullptr);
    EXPECT_EQ(gGraphicsFreed, 2);
}

TEST(BaseGridHiddenColumns, StoredColumnsBeyondTheCountKeepTheirRecords) {
    // A grid with two hidden columns stored after the shown ones, as the string grid keeps them.
    class THiddenColumnsGrid : public TTestBaseGrid {
    public:
        using TTestBaseGrid::TTestBaseGrid;
        Integer TotalColCount() const override { return ColCount() + 2; }
    };
    gGraphicsFreed = 0;
    auto* grid = new THiddenColumnsGrid(nullptr);
    grid->SetColCount(6);
    TObject user;
    grid->SetObjectEx(7, 1, &user);
    grid->SetGraphicObjectEx(7, 1, new fixtures::TCellGraphic);
    EXPECT_TRUE(grid->CellPropsAssigned(7, 1));
    EXPECT_EQ(grid->GetObjectEx(7, 1), &user);
    EXPECT_FALSE(grid->CellPropsAssigned(8, 1));
    grid->Free();
    EXPECT_EQ(gGraphicsFreed, 1) << "the hidden column's record went with the grid";
}

TEST_F(BaseGridStore, AGraphicSetPastTheColumnsGoesIntoTheRecordThere) {
    // The store rules do not count a record past the columns, but it is the slot's record all the same.
    TCellProperties* record = FGrid->GetCellProperties(6, 1);
    auto* owned = new fixtures::TCellGraphic;
    FGrid->SetGraphicObjectEx(6, 1, owned);
    EXPECT_EQ(FGrid->PeekCellProperties(6, 1), record) << "not replaced and lost";
    EXPECT_EQ(TBaseGrid::GraphicObjectOf(record), owned);
}

TEST_F(BaseGridStore, RectanglesPastTheGridNeitherLoopNorOverflow) {
    constexpr Integer most = std::numeric_limits<Integer>::max();
    const Integer width = FGrid->DefaultColWidth();
    const Integer height = FGrid->DefaultRowHeight();
    const TRect corner = FGrid->CalcCellRect(FGrid->ColCount(), FGrid->RowCount());
    EXPECT_EQ(FGrid->CalcCellRect(FGrid->ColCount() + 3, FGrid->RowCount() + 2),
              TRect(corner.Left + 3 * width, corner.Top + 2 * height, corner.Left + 4 * width,
                    corner.Top + 3 * height));
    EXPECT_EQ(FGrid->CalcCellRect(most, most), TRect(most, most, most, most)) << "edges held at the limit";
}

TEST_F(BaseGridStore, ReplacingARecordKeepsWhatTheNewOneStillUses) {
    auto* owned = new fixtures::TCellGraphic;
    FGrid->SetGraphicObjectEx(1, 1, owned);
    TCellProperties* record = FGrid->PeekCellProperties(1, 1);
    FGrid->SetCellProperties(1, 1, record);
    EXPECT_EQ(FGrid->PeekCellProperties(1, 1), record) << "storing the same record frees nothing";
    EXPECT_EQ(gGraphicsFreed, 0);

    // A record that carries the same graphic object on replaces the old one without freeing it.
    FGrid->SetGraphicObjectEx(2, 2, owned);
    TCellProperties* carrier = FGrid->PeekCellProperties(2, 2);
    FGrid->PutCellProperties(2, 2, nullptr);
    FGrid->SetCellProperties(1, 1, carrier);
    EXPECT_EQ(gGraphicsFreed, 0);
    EXPECT_EQ(FGrid->GetGraphicObjectEx(1, 1), owned);
    FGrid->FreeAllCellProperties();
    EXPECT_EQ(gGraphicsFreed, 1);
}

TEST_F(BaseGridStore, AssignCopiesTheLookButNotTheGraphic) {
    TCellProperties* source = FGrid->GetCellProperties(1, 1);
    source->SetAlignment(taCenter);
    source->SetBrushColor(clRed);
    source->SetBrushColorTo(clBlue);
    source->SetFontName(u"Courier New");
    source->SetEditor(edComboList);
    source->SetReadOnly(true);
    source->SetCalcType(acSUM);
    FGrid->SetGraphicObjectEx(1, 1, &FForeign);

    TCellProperties* dest = FGrid->GetCellProperties(2, 2);
    dest->Assign(source);
    EXPECT_EQ(dest->Alignment(), taCenter);
    EXPECT_EQ(dest->BrushColor(), clRed);
    EXPECT_EQ(dest->FontName(), u"Courier New");
    EXPECT_EQ(dest->Editor(), edComboList);
    EXPECT_TRUE(dest->ReadOnly());
    EXPECT_EQ(dest->OwnerCol(), 1) << "the owner coordinates are copied too";
    EXPECT_EQ(dest->BrushColorTo(), clNone);
    EXPECT_EQ(dest->CalcType(), acNONE);
    EXPECT_EQ(TBaseGrid::GraphicObjectOf(dest), nullptr);
}

TEST_F(BaseGridStore, RecordsMoveWithRowsAndColumns) {
    TObject user;
    FGrid->SetCellEx(1, 2, u"row2");
    FGrid->SetObjectEx(1, 2, &user);
    FGrid->GetCellProperties(1, 2)->SetBrushColor(clRed);
    TCellProperties* record = FGrid->PeekCellProperties(1, 2);

    FGrid->MoveRow(2, 5);
    EXPECT_EQ(FGrid->PeekCellProperties(1, 5), record);
    EXPECT_EQ(FGrid->GetCellEx(1, 5), u"row2");
    EXPECT_EQ(FGrid->GetObjectEx(1, 5), &user);
    EXPECT_FALSE(FGrid->CellPropsAssigned(1, 2));

    FGrid->MoveColumn(1, 3);
    EXPECT_EQ(FGrid->PeekCellProperties(3, 5), record);
    EXPECT_EQ(FGrid->PeekCellProperties(3, 5)->BrushColor(), clRed);
    EXPECT_EQ(record->OwnerCol(), 1) << "the owner coordinates stay those of creation";
}

TEST_F(BaseGridStore, RemovingARowFreesItsRecordsOnceAndMovesTheRest) {
    // How the string grid removes row 2: free the row's records, move the rows below up carrying their
    // references, and drop the references left behind in the last row.
    auto* owned = new fixtures::TCellGraphic;
    FGrid->SetGraphicObjectEx(1, 2, owned);
    TObject user;
    FGrid->SetCellEx(1, 3, u"three");
    FGrid->SetObjectEx(1, 3, &user);
    FGrid->GetCellProperties(2, 3)->SetBrushColor(clGreen);
    FGrid->MergeCells(3, 3, 2, 2);
    const Integer last = FGrid->RowCount() - 1;

    FGrid->FreeCellProperties(0, 2, FGrid->TotalColCount() - 1, 2);
    EXPECT_EQ(gGraphicsFreed, 1);
    for (Integer r = 2; r < last; ++r)
        FGrid->MoveRow(r + 1, r);
    FGrid->ResetRowCells(last);

    EXPECT_EQ(FGrid->GetCellEx(1, 2), u"three");
    EXPECT_EQ(FGrid->GetObjectEx(1, 2), &user);
    EXPECT_EQ(FGrid->PeekCellProperties(2, 2)->BrushColor(), clGreen);
    EXPECT_EQ(FGrid->FullCell(4, 3), (TRect{3, 2, 4, 3})) << "the block moved up whole";
    EXPECT_FALSE(FGrid->CellPropsAssigned(1, last));
    // Destruction frees every record once more; ASan reports a second free.
}

TEST_F(BaseGridStore, TheFrameworkLineViewsReachUserObjectsNeverRecords) {
    TObject user;
    TCellProperties* record = FGrid->GetCellProperties(1, 1);
    record->SetBrushColor(clRed);
    FGrid->SetCellEx(2, 1, u"two");
    FGrid->SetObjectEx(2, 1, &user);
    TCellProperties* withObject = FGrid->PeekCellProperties(2, 1);

    // Copying a row copies texts and user objects; every cell keeps a record of its own.
    FGrid->Rows(2)->Assign(*FGrid->Rows(1));
    EXPECT_NE(FGrid->PeekCellProperties(1, 2), record);
    EXPECT_NE(FGrid->PeekCellProperties(2, 2), withObject);
    EXPECT_EQ(FGrid->Cells(2, 2), u"two");
    EXPECT_EQ(FGrid->Objects(2, 2), &user);
    EXPECT_EQ(FGrid->Rows(2)->Objects(2), &user);
    EXPECT_EQ(FGrid->Cols(2)->Objects(1), &user);

    // Clearing a row empties its texts and objects and keeps its records.
    FGrid->Rows(1)->Clear();
    EXPECT_EQ(FGrid->PeekCellProperties(1, 1), record);
    EXPECT_EQ(FGrid->PeekCellProperties(2, 1), withObject);
    EXPECT_EQ(FGrid->Objects(2, 1), nullptr);
    EXPECT_EQ(FGrid->Cells(2, 1), u"");
    EXPECT_FALSE(FGrid->CellPropsAssigned(3, 1)) << "clearing a cell without a record makes none";

    // An object added through a view is the user's, inside a record.
    fixtures::TUserGraphic added;
    EXPECT_EQ(FGrid->Cols(4)->AddObject(u"x", &added), 0);
    EXPECT_EQ(FGrid->Objects(4, 0), &added);
    ASSERT_NE(FGrid->PeekCellProperties(4, 0), nullptr);
    EXPECT_EQ(FGrid->PeekCellProperties(4, 0)->CellObject(), reinterpret_cast<NativeUInt>(&added));
    // Destruction frees each record once and no user object; ASan reports the rest.
    FGrid->Free();
    FGrid = new TTestBaseGrid(nullptr);
    EXPECT_EQ(gGraphicsFreed, 0);
}

TEST_F(BaseGridStore, RecordsAtFarIndicesCostWhatIsStored) {
    constexpr Integer far = 2000000000;
    FGrid->SetGraphicObjectEx(far, 1, new fixtures::TCellGraphic);
    FGrid->SetGraphicObjectEx(2, far, new fixtures::TCellGraphic);
    FGrid->SetCellEx(far, far, u"corner");
    EXPECT_EQ(FGrid->GetCellEx(far, far), u"corner");
    EXPECT_NE(FGrid->PeekCellProperties(far, 1), nullptr);
    FGrid->FreeCellProperties(0, far, far, far);
    EXPECT_EQ(gGraphicsFreed, 1);
    EXPECT_EQ(FGrid->PeekCellProperties(2, far), nullptr);
    FGrid->Free();
    FGrid = new TTestBaseGrid(nullptr);
    EXPECT_EQ(gGraphicsFreed, 2) << "the record past the columns went with the grid";
}

TEST_F(BaseGridStore, ResetDropsReferencesWithoutFreeing) {
    TCellProperties* record = FGrid->GetCellProperties(1, 1);
    FGrid->SetCellEx(1, 1, u"text");
    FGrid->ResetCell(1, 1);
    EXPECT_EQ(FGrid->GetCellEx(1, 1), u"");
    EXPECT_FALSE(FGrid->CellPropsAssigned(1, 1));
    FGrid->PutCellProperties(1, 4, record); // still alive: it can be stored again

    TCellProperties* inColumn = FGrid->GetCellProperties(2, 6);
    FGrid->SetCellEx(2, 0, u"head");
    FGrid->ResetColCells(2);
    EXPECT_EQ(FGrid->GetCellEx(2, 0), u"");
    EXPECT_FALSE(FGrid->CellPropsAssigned(2, 6));
    inColumn->Free();
}

TEST_F(BaseGridStore, SettingsKeepTheFrameworkDrawingOff) {
    EXPECT_FALSE(FGrid->DefaultDrawing());
    EXPECT_EQ(FGrid->GridLineWidth(), 1);
    EXPECT_EQ(FGrid->GridLineColor(), TColor(0x00C0C0C0));
    EXPECT_EQ(FGrid->GridFixedLineColor(), TColor(0x00808080));
    EXPECT_EQ(FGrid->ActiveRowColor(), clInfoBk);
    EXPECT_EQ(FGrid->HoverRowCells(), (THoverRowCells{hcNormal, hcSelected}));
    EXPECT_TRUE(FGrid->WordWrap());
    EXPECT_EQ(FGrid->SelectionStyle(), ssDefault);
    EXPECT_EQ(FGrid->TCustomGrid::GridLineWidth(), 0);

    FGrid->SetDefaultDrawing(true);
    FGrid->SetGridLineWidth(3);
    EXPECT_TRUE(FGrid->DefaultDrawing());
    EXPECT_FALSE(FGrid->TCustomGrid::DefaultDrawing());
    EXPECT_EQ(FGrid->GridLineWidth(), 3);
    EXPECT_EQ(FGrid->TCustomGrid::GridLineWidth(), 0);
}

TEST_F(BaseGridStore, OnlySettingsOffTheirDefaultsAreStored) {
    FGrid->SetName(u"Grid1");
    FGrid->SetGridLineWidth(3);
    FGrid->SetHoverRow(true);
    TMemoryStream binary, text;
    WriteComponent(binary, FGrid);
    binary.SetPosition(0);
    ObjectBinaryToText(binary, text);
    const std::string written(static_cast<const char*>(text.Memory()), static_cast<std::size_t>(text.Size()));
    EXPECT_NE(written.find("GridLineWidth = 3"), std::string::npos) << written;
    EXPECT_NE(written.find("HoverRow = True"), std::string::npos) << written;
    // The framework's own drawing switch and line width are held off and must not be stored.
    for (const char* absent : {"DefaultDrawing", "GridLineColor", "ActiveRowColor", "HoverRowCells"})
        EXPECT_EQ(written.find(absent), std::string::npos) << absent << " in\n" << written;
}

TEST_F(BaseGridStore, ARecordStreamsEveryValueButItsOwnerCell) {
    fixtures::TRecordCarrier carrier(FGrid, 4, 5);
    // A record at its initial values still writes them: a reader must not depend on defaults. Only an
    // empty font name and the missing control are left out.
    carrier.CellProperties()->SetCellObject(7);
    TMemoryStream binary, text;
    WriteComponent(binary, &carrier);
    binary.SetPosition(0);
    ObjectBinaryToText(binary, text);
    const std::string written(static_cast<const char*>(text.Memory()), static_cast<std::size_t>(text.Size()));
    std::vector<std::string> names;
    const std::string prefix = "CellProperties.";
    for (std::size_t at = written.find(prefix); at != std::string::npos; at = written.find(prefix, at + 1))
        names.push_back(written.substr(at + prefix.size(), written.find(' ', at) - at - prefix.size()));
    const std::vector<std::string> expected = {
        "IsBaseCell",  "CellSpanX",  "CellSpanY",    "Alignment",  "BorderColor",
        "BorderWidth", "BrushColor", "BrushColorTo", "BrushStyle", "CellObject",
        "FontColor",   "FontSize",   "FontStyle",    "Editor",     "GradientDirection",
        "ReadOnly",    "VAlignment", "WordWrap",     "NodeLevel"};
    EXPECT_EQ(names, expected) << written;

    // Read back, the values arrive and the record keeps the cell it belongs to.
    TCellProperties* source = carrier.CellProperties();
    source->SetIsBaseCell(false);
    source->SetCellSpanX(2);
    source->SetCellSpanY(1);
    source->SetReadOnly(true);
    source->SetEditor(edComboList);
    binary.Clear();
    WriteComponent(binary, &carrier);
    binary.SetPosition(0);
    fixtures::TRecordCarrier copy(FGrid, 1, 2);
    ReadComponent(binary, &copy);
    const TCellProperties* read = copy.CellProperties();
    EXPECT_FALSE(read->IsBaseCell());
    EXPECT_EQ(read->CellSpanX(), 2);
    EXPECT_EQ(read->CellSpanY(), 1);
    EXPECT_TRUE(read->ReadOnly());
    EXPECT_EQ(read->Editor(), edComboList);
    EXPECT_EQ(read->OwnerCol(), 1);
    EXPECT_EQ(read->OwnerRow(), 2);
}

TEST(BaseGridUndoLink, TheLinkFollowsTheUndoComponent) {
    TBaseGrid* grid = new TBaseGrid(nullptr);
    auto* undo = new ZOvoReziDoviRuzo(nullptr);
    grid->SetUndoRedo(undo);
    EXPECT_EQ(undo->Grid(), grid);
    undo->Free();
    EXPECT_EQ(grid->UndoRedo(), nullptr) << "an undo component of another owner unlinks as it goes";

    undo = new ZOvoReziDoviRuzo(nullptr);
    grid->SetUndoRedo(undo);
    grid->Free();
    EXPECT_EQ(undo->Grid(), nullptr);

    // A component replaced by another still points at the grid, so it too must hear of its end.
    auto* next = new ZOvoReziDoviRuzo(nullptr);
    grid = new TBaseGrid(nullptr);
    grid->SetUndoRedo(undo);
    grid->SetUndoRedo(next);
    grid->Free();
    EXPECT_EQ(undo->Grid(), nullptr);
    EXPECT_EQ(next->Grid(), nullptr);
    next->Free();
    undo->Free();
}

// Stored column 2 is hidden: displayed columns from 2 on show the stored column after them.
class THiddenColumnGrid : public TTestBaseGrid {
public:
    using TTestBaseGrid::TTestBaseGrid;
    Integer RealColIndex(Integer ACol) override { return ACol >= 2 ? ACol + 1 : ACol; }
    Integer DisplColIndex(Integer ACol) override { return ACol > 2 ? ACol - 1 : ACol; }
    Integer TotalColCount() const override { return ColCount() + 1; }
};

TEST(BaseGridHiddenColumns, RepaintsAndTheEditorMapStoredAndDisplayedColumns) {
    win32::input::Reset();
    auto* form = new TForm(nullptr, 0);
    form->SetBounds(100, 100, 800, 400);
    auto* grid = new THiddenColumnGrid(form);
    grid->SetScrollBars(ssNone);
    grid->SetBorderStyle(bsNone);
    grid->SetBounds(0, 0, 700, 300);
    grid->SetColCount(9);
    grid->SetRowCount(9);
    grid->SetOptions(grid->Options() + TGridOptions{goEditing});
    grid->SetParent(form);
    form->Show();
    Application->ProcessMessages();
    grid->SetFocus();
    Application->ProcessMessages();

    // Stored column 4 shows as displayed column 3.
    grid->SetCellEx(4, 1, u"four");
    TCellProperties* record = grid->GetCellProperties(4, 1);
    ValidateRect(grid->Handle(), nullptr);
    record->SetBrushColor(clRed);
    RECT update{};
    GetUpdateRect(grid->Handle(), &update, FALSE);
    EXPECT_EQ(TRect(update), grid->TCustomGrid::CellRect(3, 1));

    grid->SetCol(3);
    grid->SetRow(1);
    grid->SetEditorMode(true);
    ASSERT_NE(grid->InplaceEditor(), nullptr);
    EXPECT_EQ(grid->InplaceEditor()->Text(), u"four");
    grid->InplaceEditor()->SetText(u"edited");
    EXPECT_EQ(grid->GetCellEx(4, 1), u"edited");
    EXPECT_EQ(grid->GetCellEx(3, 1), u"") << "the hidden column's cell is untouched";
    grid->SetEditorMode(false);

    // A block over stored columns 4 and 5 covers displayed columns 3 and 4.
    grid->MergeCells(4, 3, 2, 1);
    const TRect first = grid->TCustomGrid::CellRect(3, 3);
    const TRect last = grid->TCustomGrid::CellRect(4, 3);
    EXPECT_EQ(grid->CellRect(3, 3), TRect(first.Left, first.Top, last.Right, last.Bottom));
    form->Free();
    Application->ProcessMessages();
    win32::input::Reset();
}

class BaseGridShown : public ShownGridTest {};

TEST_F(BaseGridShown, RecordSettersThatChangeTheLookRepaintTheirCell) {
    TCellProperties* record = FGrid->GetCellProperties(2, 2);
    struct Case {
        const char* name;
        void (*set)(TCellProperties* record);
        bool repaints;
    };
    for (const Case& c : {
             Case{"brush colour", [](TCellProperties* p) { p->SetBrushColor(clRed); }, true},
             Case{"gradient end", [](TCellProperties* p) { p->SetBrushColorTo(clBlue); }, true},
             Case{"vertical alignment", [](TCellProperties* p) { p->SetVAlignment(vtaBottom); }, true},
             Case{"word wrap", [](TCellProperties* p) { p->SetWordWrap(false); }, true},
             Case{"alignment", [](TCellProperties* p) { p->SetAlignment(taRightJustify); }, false},
             Case{"font colour", [](TCellProperties* p) { p->SetFontColor(clGreen); }, false},
         }) {
        SCOPED_TRACE(c.name);
        ValidateRect(FGrid->Handle(), nullptr);
        c.set(record);
        RECT update{};
        GetUpdateRect(FGrid->Handle(), &update, FALSE);
        EXPECT_EQ(TRect(update), c.repaints ? FGrid->CellRect(2, 2) : TRect());
    }
}

} // namespace
