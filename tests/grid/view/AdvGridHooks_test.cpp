// The grid's notification hooks, the filter-type choice, the column order and the cell stream's
// carriers.
#include <gtest/gtest.h>

#include "grid/engine/AdvGrid.h"
#include "grid/engine/AdvGridUnit.h"
#include "grid/view/AdvGridCarriers.h"
#include "platform/framework/Filer.h"
#include "platform/framework/Menus.h"
#include "platform/rtl/Streams.h"

namespace {

class GridHooks : public ::testing::Test {
protected:
    void SetUp() override {
        grid = std::make_unique<TAdvStringGrid>(nullptr);
        grid->SetColCount(5);
        grid->SetRowCount(5);
    }
    std::unique_ptr<TAdvStringGrid> grid;
};

// ---- Filter-type choice

class FilterTypeChoice : public GridHooks {
protected:
    void SetUp() override {
        GridHooks::SetUp();
        grid->FilterEdit()->SetRow(1);
        grid->SetCells(2, 1, u"ab");
        for (Integer r = 2; r < 5; ++r)
            grid->SetCells(2, r, r == 3 ? u"xaby" : u"zz");
        grid->OnFilterDone = [this](TObject*) { ++filterDone; };
        grid->OnFilterEditUpdate = [this](TObject*, Integer ACol, const String& Text, TFilterType Type) {
            updates.push_back({ACol, Text, Type});
        };
    }
    struct Update {
        Integer col;
        String text;
        TFilterType type;
    };
    std::vector<Update> updates;
    Integer filterDone = 0;
};

TEST_F(FilterTypeChoice, ATypeAddsOneConditionAndAnotherTypeChangesTheSameOne) {
    grid->ApplyFilterEditType(2, ftContains);
    ASSERT_EQ(grid->Filter()->Count(), 1);
    TFilterData* condition = grid->Filter()->Items(0);
    EXPECT_EQ(condition->Column(), 2);
    EXPECT_EQ(condition->FilterType(), ftContains);
    EXPECT_TRUE(condition->Enabled());
    EXPECT_TRUE(grid->FilterActive());
    EXPECT_EQ(filterDone, 1);
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0].text, u"ab");
    EXPECT_EQ(updates[0].type, ftContains);

    grid->ApplyFilterEditType(2, ftStartsWith);
    ASSERT_EQ(grid->Filter()->Count(), 1);
    EXPECT_EQ(grid->Filter()->Items(0)->FilterType(), ftStartsWith);
    EXPECT_EQ(updates.back().type, ftStartsWith);

    // ftNone keeps the type the condition has.
    grid->ApplyFilterEditType(2, ftNone);
    EXPECT_EQ(grid->Filter()->Items(0)->FilterType(), ftStartsWith);
    EXPECT_EQ(filterDone, 3);
}

TEST_F(FilterTypeChoice, ClearEmptiesTheCellAndLeavesADisabledContainsCondition) {
    grid->ApplyFilterEditType(2, ftEndsWith);
    grid->ApplyFilterEditType(2, ftClear);
    EXPECT_EQ(grid->Cells(2, 1), u"");
    ASSERT_EQ(grid->Filter()->Count(), 1);
    EXPECT_EQ(grid->Filter()->Items(0)->FilterType(), ftContains);
    EXPECT_FALSE(grid->Filter()->Items(0)->Enabled());
    EXPECT_EQ(updates.back().text, u"");
}

TEST_F(FilterTypeChoice, TheMenuClickTakesTheColumnFromTheMenuAndTheTypeFromTheItem) {
    TPopupMenu menu(nullptr);
    TMenuItem item(nullptr);
    item.SetTag(ftEqual);
    grid->FilterTypeMenu()->SetTag(2);
    grid->FilterTypeMenuClick(&item);
    ASSERT_EQ(grid->Filter()->Count(), 1);
    EXPECT_EQ(grid->Filter()->Items(0)->Column(), 2);
    EXPECT_EQ(grid->Filter()->Items(0)->FilterType(), ftEqual);
}

// ---- Automatic row inserts and deletes

TEST_F(GridHooks, DeletingTheOnlyDataRowClearsItAndTheEventFiresEitherWay) {
    std::vector<Integer> deleted;
    grid->OnAutoDeleteRow = [&](TObject*, Integer ARow) { deleted.push_back(ARow); };
    grid->SetRowCount(3);
    grid->SetCells(1, 1, u"a");
    grid->SetCells(1, 2, u"b");

    grid->DeleteRowAuto(1);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->Cells(1, 1), u"b");

    grid->DeleteRowAuto(1);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->Cells(1, 1), u"");
    EXPECT_EQ(deleted, (std::vector<Integer>{1, 1}));

    // With FixedRowAlways the last data row goes too.
    grid->SetFixedRowAlways(true);
    grid->DeleteRowAuto(1);
    EXPECT_EQ(grid->RowCount(), 1);
}

TEST_F(GridHooks, InsertingWithoutNodesAddsOneRowAtTheIndex) {
    grid->SetCells(1, 2, u"two");
    grid->InsertRowAuto(2);
    EXPECT_EQ(grid->RowCount(), 6);
    EXPECT_EQ(grid->Cells(1, 2), u"");
    EXPECT_EQ(grid->Cells(1, 3), u"two");
}

TEST_F(GridHooks, InsertAndDeleteInsideANodeKeepTheNodesSpan) {
    grid->SetRowCount(6);
    grid->AddNode(1, 3); // rows 1 .. 3
    grid->InsertRowAuto(2);
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(grid->GetNodeSpan(1), 4);
    grid->DeleteRowAuto(2);
    EXPECT_EQ(grid->RowCount(), 6);
    EXPECT_EQ(grid->GetNodeSpan(1), 3);
    // A row under no node is a normal row.
    grid->InsertRowAuto(5);
    EXPECT_EQ(grid->RowCount(), 7);
    EXPECT_EQ(grid->GetNodeSpan(1), 3);
}

TEST_F(GridHooks, AFixedEditHandlerChoosesTheEditor) {
    grid->OnFixedEdit = [](TObject*, Integer, Integer ARow, TGridFixedCellEditor& AEditor, TStrings* Values) {
        if (ARow == 0) {
            AEditor = fceComboList;
            Values->Add(u"one");
        }
    };
    TGridFixedCellEditor editor = fceEdit;
    TStringList values;
    grid->DoFixedEdit(1, 0, editor, &values);
    EXPECT_EQ(editor, fceComboList);
    EXPECT_EQ(values.Count(), 1);
}

// ---- Column order

TEST_F(GridHooks, WithoutARecordedOrderPositionsAreTheColumnsOwn) {
    EXPECT_EQ(grid->ColumnPosition(3), 3);
    EXPECT_EQ(grid->ColumnAtPosition(3), 3);
    EXPECT_EQ(grid->ColumnOrder()->Count(), 5); // the order was recorded on the way
}

TEST_F(GridHooks, AMovedColumnIsFoundAndResetGoesBack) {
    for (Integer c = 0; c < 5; ++c)
        grid->SetCells(c, 0, String(1, static_cast<Char>(u'A' + c)));
    grid->SetColumnOrder();
    grid->MoveColumn(1, 3);
    EXPECT_EQ(grid->ColumnAtPosition(3), 1);
    EXPECT_EQ(grid->ColumnPosition(1), 3);
    EXPECT_EQ(grid->Cells(3, 0), u"B");

    grid->ResetColumnOrder();
    for (Integer c = 0; c < 5; ++c)
        EXPECT_EQ(grid->Cells(c, 0), String(1, static_cast<Char>(u'A' + c)));
    EXPECT_EQ(grid->ColumnAtPosition(1), 1);
}

TEST_F(GridHooks, ResetEndsOnAnOrderThatNamesNoColumnsOrder) {
    for (Integer c = 0; c < 5; ++c)
        grid->SetCells(c, 0, String(1, static_cast<Char>(u'A' + c)));
    // Duplicates, a negative entry and one past the columns: the passes stop all the same.
    for (Integer value : {0, 0, -4, 1, 9})
        grid->ColumnOrder()->Add(value);
    grid->ResetColumnOrder();
    EXPECT_EQ(grid->ColCount(), 5);
    String headers;
    for (Integer c = 0; c < 5; ++c)
        headers += grid->Cells(c, 0);
    EXPECT_EQ(headers.size(), 5u);
}

TEST_F(GridHooks, AGroupedColumnShiftsThePositionsAfterIt) {
    grid->Group(2);
    grid->SetColumnOrder();
    ASSERT_EQ(grid->ColumnOrder()->Count(), 4);
    EXPECT_EQ(grid->ColumnPosition(3), 2);
    EXPECT_EQ(grid->ColumnPosition(1), 1);
    EXPECT_EQ(grid->ColumnAtPosition(3), 4);
    EXPECT_EQ(grid->ColumnAtPosition(1), 1);
}

TEST_F(GridHooks, ColumnByHeaderIsExactAndCountsHiddenColumns) {
    grid->SetCells(1, 0, u"Name");
    grid->SetCells(3, 0, u"Value");
    grid->HideColumn(1);
    EXPECT_EQ(grid->ColumnByHeader(u"Name"), 1);
    EXPECT_EQ(grid->ColumnByHeader(u"Value"), 3);
    EXPECT_EQ(grid->ColumnByHeader(u"name"), -1);
    EXPECT_EQ(grid->ColumnByHeader(u"Missing"), -1);
}

TEST_F(GridHooks, WideCellsPassTextUnchanged) {
    grid->SetWideCells(2, 2, u"\u00e9\u4e2d\U0001F600");
    EXPECT_EQ(grid->Cells(2, 2), u"\u00e9\u4e2d\U0001F600");
    EXPECT_EQ(grid->WideCells(2, 2), u"\u00e9\u4e2d\U0001F600");
}

// ---- Carriers

class Carriers : public GridHooks {
protected:
    void SetUp() override {
        GridHooks::SetUp();
        GridUnitStartup();
    }
    void TearDown() override { GridUnitShutdown(); }
};

TEST_F(Carriers, APropertyCarrierStartsFromTheGridsDefaults) {
    grid->SetWordWrap(true);
    TGridCellPropIO carrier(grid.get());
    EXPECT_TRUE(carrier.CellProperties()->WordWrap());
    EXPECT_EQ(carrier.CellProperties()->OwnerCol(), 0);
    TGridGraphicIO graphic(grid.get());
    EXPECT_EQ(graphic.CellGraphic()->CellType(), ctNone);
}

TEST_F(Carriers, ACellItsPropertiesGraphicAndStringsComeBackThroughTheStream) {
    TMemoryStream stream;
    {
        TGridCellIO cell(grid.get());
        cell.SetCol(3);
        cell.SetRow(65535);
        cell.SetCell(u"r\u00e9sum\u00e9");
        cell.SetHasProp(true);
        TGridCellPropIO props(grid.get());
        props.CellProperties()->SetBrushColor(0x00123456);
        props.CellProperties()->SetFontName(u"Courier New");
        props.SetHasGraphic(true);
        TGridGraphicIO graphic(grid.get());
        graphic.CellGraphic()->SetCellType(ctRadio);
        graphic.CellGraphic()->SetCellIndex(2);
        graphic.CellGraphic()->SetCellBoolean(true);
        TGridSLIO strings(grid.get());
        strings.Strings()->Add(u"on");
        strings.Strings()->Add(u"off");
        for (TComponent* carrier : std::initializer_list<TComponent*>{&cell, &props, &graphic, &strings})
            WriteComponent(stream, carrier);
    }
    stream.SetPosition(0);
    std::unique_ptr<TComponent> cellRead(ReadComponent(stream, nullptr));
    auto* cell = dynamic_cast<TGridCellIO*>(cellRead.get());
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->Col(), 3);
    EXPECT_EQ(cell->Row(), 65535);
    EXPECT_EQ(cell->Cell(), u"r\u00e9sum\u00e9");
    EXPECT_TRUE(cell->HasProp());

    TGridCellPropIO props(grid.get());
    ReadComponent(stream, &props);
    EXPECT_EQ(props.CellProperties()->BrushColor(), 0x00123456);
    EXPECT_EQ(props.CellProperties()->FontName(), u"Courier New");
    EXPECT_TRUE(props.HasGraphic());

    TGridGraphicIO graphic(grid.get());
    ReadComponent(stream, &graphic);
    EXPECT_EQ(graphic.CellGraphic()->CellType(), ctRadio);
    EXPECT_EQ(graphic.CellGraphic()->CellIndex(), 2);
    EXPECT_TRUE(graphic.CellGraphic()->CellBoolean());

    std::unique_ptr<TComponent> stringsRead(ReadComponent(stream, nullptr));
    auto* strings = dynamic_cast<TGridSLIO*>(stringsRead.get());
    ASSERT_NE(strings, nullptr);
    EXPECT_EQ(strings->Strings()->Text(), u"on\r\noff\r\n");
}

TEST_F(Carriers, ABitmapCarrierKeepsItsImage) {
    TMemoryStream stream;
    {
        TGridBMPIO carrier(grid.get());
        carrier.Bitmap()->SetSize(3, 2);
        carrier.Bitmap()->Canvas()->SetPixels(2, 1, 0x000000FF);
        WriteComponent(stream, &carrier);
    }
    stream.SetPosition(0);
    TGridBMPIO read(grid.get());
    ReadComponent(stream, &read);
    EXPECT_EQ(read.Bitmap()->Width(), 3);
    EXPECT_EQ(read.Bitmap()->Height(), 2);
    EXPECT_EQ(read.Bitmap()->Canvas()->Pixels(2, 1), 0x000000FF);
}

} // namespace
