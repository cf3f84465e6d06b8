// Naming the modules and their data rows, and the module grids' coloured headers.
#include "tests/app/ConsoleTesting.h"

#include "grid/engine/AdvGrid.h"
#include "platform/framework/Graphics.h"

namespace console_testing {
namespace {

using Naming = ConsoleTest;

TEST_F(Naming, RenamingAModule) {
    StartConsole();
    Main->Logs->SetItemIndex(1);
    Main->LogsClick(Main->Logs);
    Main->ModulesList->SetItemIndex(1);
    Main->ModulesListClick(Main->ModulesList);
    EXPECT_EQ(Main->EditName->Text(), u"Module 2");
    Main->EditName->SetText(u"Pump");
    Main->RenModuleClick(Main->RenModule);
    EXPECT_EQ(Main->ModulesList->Items()->Strings(1), u"Pump");
    EXPECT_EQ(Main->Module2Panel->Caption()->Text(), u"Pump");
    EXPECT_EQ(Setting(u"Quor RF controller\\Module names", u"Module 2 name"), u"Pump");
    EXPECT_EQ(Main->LogsPanel->Caption()->Text(), u"Module 2 - log file") << "until the next log pick";
    Main->LogsClick(Main->Logs);
    EXPECT_EQ(Main->LogsPanel->Caption()->Text(), u"Pump - log file");
}

TEST_F(Naming, RenamingADataName) {
    StartConsole();
    Main->Modul3DataNames->SetItemIndex(4);
    Main->Modul3DataNamesClick(Main->Modul3DataNames);
    EXPECT_EQ(Main->Data3Edit->Text(), u"Data 5");
    Main->Data3Edit->SetText(u"Battery");
    Main->RenData3Click(Main->RenData3);
    EXPECT_EQ(Main->Modul3DataNames->Items()->Strings(4), u"Battery");
    EXPECT_EQ(Main->Module3Data->Cells(0, 5), u"Battery");
    EXPECT_EQ(Main->Log3->Cells(6, 0), u"Battery");
    EXPECT_EQ(Setting(DataNamesKey(3), u"Data 5"), u"Battery");
    EXPECT_EQ(Main->Module2Data->Cells(0, 5), u"Data 5");
    StopConsole();
    StartConsole();
    EXPECT_EQ(Main->Module3Data->Cells(0, 5), u"Battery");
}

// With nothing picked in a list, its rename does nothing (and raises no list index error).
TEST_F(Naming, RenamingWithNothingPickedDoesNothing) {
    StartConsole();
    Main->EditName->SetText(u"Ghost");
    Main->RenModuleClick(Main->RenModule);
    Main->Data1Edit->SetText(u"Ghost");
    Main->RenData1Click(Main->RenData1);
    for (int m = 1; m <= 5; ++m)
        EXPECT_EQ(Main->ModulesList->Items()->Strings(m - 1), u"Module " + IntToStr(m));
    EXPECT_EQ(Main->Module1Data->Cells(0, 1), u"Data 1");
    EXPECT_EQ(Setting(DataNamesKey(1), u"Data 1"), u"Data 1");
    EXPECT_TRUE(Messages().empty());
}

// The two header cells are drawn in the module's colour; the row headers keep the grid's own.
TEST_F(Naming, HeadersInTheModulesColour) {
    StartConsole();
    Main->Show();
    Pump();
    auto countColour = [](TAdvStringGrid* grid, int col, int row, TColor colour) {
        TBitmap shot;
        shot.SetSize(grid->Width(), grid->Height());
        grid->PaintTo(shot.Canvas()->Handle(), 0, 0);
        const TRect cell = grid->CellRect(col, row);
        int count = 0;
        for (int y = cell.Top; y < cell.Bottom; ++y)
            for (int x = cell.Left; x < cell.Right; ++x)
                count += shot.Canvas()->Pixels(x, y) == colour;
        return count;
    };
    EXPECT_GT(countColour(Main->Module4Data, 0, 0, 0xF0CAA6), 0);
    EXPECT_GT(countColour(Main->Module4Data, 1, 0, 0xF0CAA6), 0);
    EXPECT_EQ(countColour(Main->Module4Data, 0, 1, 0xF0CAA6), 0);
    EXPECT_GT(countColour(Main->Module5Data, 1, 0, 0x800080), 0);
}

} // namespace
} // namespace console_testing
