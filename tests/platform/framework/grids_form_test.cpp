// A string grid in a form description: read with its counts, extents, options and events, and written
// back with only what differs from the defaults.
#include <string>
#include <vector>

#include "tests/platform/framework/grids_testing.h"

#include "platform/framework/Filer.h"
#include "platform/framework/FormResources.h"
#include "platform/framework/ObjectText.h"
#include "platform/rtl/PropertyInfo.h"
#include "platform/rtl/Streams.h"

// The form of GridForm.form; its handlers record the cells drawn and refuse column 2.
class TGridForm : public TForm {
    DECLARE_CLASS(TGridForm, TForm)

public:
    using TForm::TForm;
    void ReadingsDrawCell(TObject*, Integer ACol, Integer ARow, TRect, TGridDrawState) {
        drawn.push_back({ACol, ARow});
    }
    void ReadingsSelectCell(TObject*, Integer ACol, Integer, bool& canSelect) { canSelect = ACol != 2; }

    TStringGrid* Readings = nullptr;
    std::vector<TGridCoord> drawn;
};

DEFINE_CLASS(TGridForm, METHOD(ReadingsDrawCell), METHOD(ReadingsSelectCell), FIELD(Readings))

namespace {

class GridForm : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        RegisterClasses({TStringGrid::StaticClass()});
    }
    static std::string TextOf(TComponent* component) {
        TMemoryStream binary, text;
        WriteComponent(binary, component);
        binary.SetPosition(0);
        ObjectBinaryToText(binary, text);
        std::string result(static_cast<const char*>(text.Memory()), static_cast<std::size_t>(text.Size()));
        std::erase(result, '\r');
        return result;
    }
    // The lines of the description between "object <name>" and its "end".
    static std::string SectionOf(const std::string& text, const std::string& name) {
        const std::size_t start = text.find("object " + name);
        if (start == std::string::npos)
            return std::string();
        return text.substr(start, text.find("  end", start) - start);
    }
};

TEST_F(GridForm, LoadsCountsExtentsOptionsAndEvents) {
    auto* form = CreateInstance<TGridForm>(nullptr);
    TStringGrid* grid = form->Readings;
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->ColCount(), 6);
    EXPECT_EQ(grid->RowCount(), 8);
    EXPECT_EQ(grid->FixedCols(), 0);
    EXPECT_EQ(grid->FixedRows(), 2);
    EXPECT_EQ(grid->DefaultRowHeight(), 20);
    EXPECT_EQ(grid->ColWidths(0), 50);
    EXPECT_EQ(grid->ColWidths(1), 80);
    EXPECT_EQ(grid->RowHeights(7), 20);
    EXPECT_EQ(grid->Options(), (TGridOptions{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine,
                                             goColSizing, goEditing, goTabs}));
    EXPECT_EQ(grid->ScrollBars(), ssVertical);
    // The current cell starts at the first scrolling cell of the loaded counts.
    EXPECT_EQ(grid->Col(), 0);
    EXPECT_EQ(grid->Row(), 2);

    form->Show();
    Pump();
    EXPECT_FALSE(form->drawn.empty());
    grid->SetCol(2);
    EXPECT_EQ(grid->Col(), 0) << "OnSelectCell is bound to the form's handler";
    grid->SetCol(3);
    EXPECT_EQ(grid->Col(), 3);
    form->Free();
}

TEST_F(GridForm, WritesOnlyWhatDiffersFromTheDefaults) {
    auto* form = CreateInstance<TGridForm>(nullptr);
    std::string grid = SectionOf(TextOf(form), "Readings");
    for (const char* expected :
         {"ColCount = 6", "DefaultColWidth = 50", "DefaultRowHeight = 20", "FixedCols = 0", "FixedRows = 2",
          "goColSizing", "RowCount = 8", "ScrollBars = ssVertical", "OnDrawCell = ReadingsDrawCell",
          "OnSelectCell = ReadingsSelectCell", "ColWidths = (\n      50\n      80\n      50\n"})
        EXPECT_NE(grid.find(expected), std::string::npos) << expected << " in\n" << grid;
    for (const char* absent : {"RowHeights", "BorderStyle", "TabStop", "Color", "Ctl3D", "GridLineWidth",
                               "DefaultDrawing", "EditorMode"})
        EXPECT_EQ(grid.find(absent), std::string::npos) << absent << " in\n" << grid;

    // Heights written once one differs; widths all back at the default are not written.
    form->Readings->SetRowHeights(3, 33);
    form->Readings->SetColWidths(1, 50);
    grid = SectionOf(TextOf(form), "Readings");
    EXPECT_NE(grid.find("RowHeights = (\n      20\n      20\n      20\n      33\n"), std::string::npos)
        << grid;
    EXPECT_EQ(grid.find("ColWidths"), std::string::npos) << grid;

    // What is written reads back the same.
    const std::string written = TextOf(form);
    auto* copy = new TGridForm(nullptr, 0);
    ReadComponentText(written, copy);
    ASSERT_NE(copy->Readings, nullptr);
    EXPECT_EQ(copy->Readings->RowHeights(3), 33);
    EXPECT_EQ(copy->Readings->RowHeights(4), 20);
    EXPECT_EQ(copy->Readings->ColCount(), 6);
    copy->Free();
    form->Free();
}

TEST_F(GridForm, AListLongerThanTheCountIsReadWithoutFault) {
    auto* form = new TForm(nullptr, 0);
    ReadComponentText("object Host: TForm\n"
                      "  object Small: TStringGrid\n"
                      "    ColCount = 2\n"
                      "    ColWidths = (\n      10\n      20\n      30\n      40)\n"
                      "  end\nend\n",
                      form);
    auto* grid = static_cast<TStringGrid*>(form->FindComponent(u"Small"));
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->ColWidths(0), 10);
    EXPECT_EQ(grid->ColWidths(1), 20);
    form->Free();
}

} // namespace
