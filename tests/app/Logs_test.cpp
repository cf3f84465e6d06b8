// The module logs: ticks of ticked modules, the interval, picking a log, saving, opening, clearing and
// a missing file.
#include "tests/app/ConsoleTesting.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "grid/engine/AdvGrid.h"
#include "platform/backend/printers.h"
#include "platform/framework/Printers.h"
#include "platform/rtl/DateTime.h"
#include "platform/servers/Workbook.h"
#include "tests/support/TestSupport.h"

namespace console_testing {
namespace {

class Logs : public ConsoleTest {
protected:
    void SetUp() override {
        ConsoleTest::SetUp();
        StartConsole();
        for (int m = 1; m <= 5; ++m)
            for (int r = 1; r <= 30; ++r)
                Main->Module(m).data->SetCells(1, r, IntToStr(m * 100 + r));
    }
    // Ticks module m as a frame of it does, and keeps it heard for the watchdog.
    void Tick(int m) {
        Main->Modules->SetChecked(m - 1, true);
        ticked.push_back(m);
    }
    // Five seconds: one log tick; the ticked modules are heard meanwhile.
    void LogTick() {
        for (int m : ticked)
            Main->con_chk_cnt[m - 1] = 1;
        Advance(5000, 250);
    }
    std::vector<int> ticked;
    void Pick(int index) {
        Main->Logs->SetItemIndex(index);
        Main->LogsClick(Main->Logs);
    }
    static String Path(const std::string& name) {
        return Utf8ToString(testing_support::MakeTestFolder("logs") + "/" + name);
    }
};

TEST_F(Logs, TicksAppendRowsForTickedModulesOnly) {
    Tick(1);
    Tick(3);
    LogTick();
    const String date = DateToStr(Date());
    const String time = TimeToStr(Time());
    LogTick();
    for (int m : {1, 3}) {
        TAdvStringGrid* log = Main->Module(m).log;
        EXPECT_EQ(log->RowCount(), 4) << m;
        EXPECT_EQ(Main->LogCounter(m), 2);
        EXPECT_EQ(log->Cells(0, 1), date);
        EXPECT_EQ(log->Cells(1, 1), time);
        EXPECT_EQ(log->Cells(2, 1), IntToStr(m * 100 + 1));
        EXPECT_EQ(log->Cells(29, 2), IntToStr(m * 100 + 28)) << "28 values are logged";
        EXPECT_EQ(log->Cells(30, 2), u"");
        EXPECT_EQ(log->Cells(2, 3), u"") << "an empty row stays at the end";
    }
    for (int m : {2, 4, 5})
        EXPECT_EQ(Main->Module(m).log->RowCount(), 2) << m;
}

TEST_F(Logs, TheIntervalFollowsTheSpinEditAndIsStored) {
    Main->Timing->SetValue(12);
    EXPECT_EQ(Main->MeasureTimer->Interval(), 12000u);
    EXPECT_EQ(Setting(u"Quor RF controller", u"Timing"), u"12");
    Main->Timing->SetValue(61);
    EXPECT_EQ(Main->Timing->Value(), 60) << "the spin edit stays within 1-60";
}

TEST_F(Logs, PickingALogShowsItAndStoresTheChoice) {
    Pick(2);
    EXPECT_EQ(Setting(u"Quor RF controller\\Logs", u"Log number "), u"2");
    EXPECT_TRUE(Main->Log3->Visible());
    for (TAdvStringGrid* other : {Main->Log1, Main->Log2, Main->Log4, Main->Log5})
        EXPECT_FALSE(other->Visible());
    EXPECT_EQ(Main->LogsPanel->Caption()->Text(), u"Module 3 - log file");
}

// A log saved, cleared and opened again keeps its rows, and the next tick appends after them.
TEST_F(Logs, SaveOpenAndTicksAppend) {
    Tick(2);
    LogTick();
    LogTick();
    Pick(1);
    const String file = Path("module2.log");
    FDialogs->AnswerFile({file});
    Main->SaveAsClick(Main->SaveAs);
    ASSERT_TRUE(std::filesystem::exists(StringToUtf8(file)));

    Main->ClrLogClick(Main->ClrLog);
    EXPECT_EQ(Main->Log2->RowCount(), 2);
    EXPECT_EQ(Main->Log2->Cells(2, 1), u"");
    EXPECT_EQ(Main->LogCounter(2), 0);

    FDialogs->AnswerFile({file});
    Main->OpenClick(Main->Open);
    EXPECT_EQ(Main->Log2->Cells(2, 2), u"201");
    EXPECT_EQ(Main->LogCounter(2), 2);
    Main->Module2Data->SetCells(1, 1, u"999");
    LogTick();
    EXPECT_EQ(Main->Log2->Cells(2, 2), u"201") << "loaded rows are kept";
    EXPECT_EQ(Main->Log2->Cells(2, 3), u"999");

    Main->SaveClick(Main->Save); // to the last "Save as" file, without a dialog
    Main->ClrLogClick(Main->ClrLog);
    FDialogs->AnswerFile({file});
    Main->OpenClick(Main->Open);
    EXPECT_EQ(Main->Log2->Cells(2, 3), u"999");
    EXPECT_EQ(Main->Log2->Cells(0, 0), u"Date");
}

// The export writes a workbook in which the logged values are numbers and the headers and times text, and
// which the grid reads back as it was.
TEST_F(Logs, ExportWritesAWorkbookWithNumbersAsNumbers) {
    Tick(4);
    Main->Module4Data->SetCells(1, 2, u"12.5");
    LogTick();
    Pick(3);
    const String file = Path("module4.xls");
    FDialogs->AnswerFile({file});
    Main->ExportClick(Main->Export);

    const std::unique_ptr<servers::TWorkbookData> book = servers::ReadWorkbookFile(file);
    ASSERT_EQ(book->sheets.size(), 1u);
    const servers::TSheetData& sheet = *book->sheets[0];
    const Variant* header = sheet.Cell(1, 1);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->AsString(), u"Date");
    for (const auto& [col, expected] : std::vector<std::pair<int, double>>{{3, 401}, {4, 12.5}, {30, 428}}) {
        const Variant* value = sheet.Cell(2, col);
        ASSERT_NE(value, nullptr) << col;
        EXPECT_EQ(value->VarType(), varDouble) << col;
        EXPECT_EQ(value->AsDouble(), expected) << col;
    }
    EXPECT_EQ(sheet.Cell(2, 31), nullptr) << "the two unlogged columns stay empty";

    TAdvStringGrid* log = Main->Log4;
    const String time = log->Cells(1, 1);
    Main->ClrLogClick(Main->ClrLog);
    log->LoadFromXLS(file);
    EXPECT_EQ(log->Cells(0, 0), u"Date");
    EXPECT_EQ(log->Cells(1, 1), time);
    EXPECT_EQ(log->Cells(2, 1), u"401");
    EXPECT_EQ(log->Cells(3, 1), u"12.5");
}

TEST_F(Logs, AMissingFileLeavesTheLogAlone) {
    Tick(1);
    LogTick();
    Pick(0);
    FDialogs->AnswerFile({Path("none.log")});
    try {
        Main->OpenClick(Main->Open);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"File does not exist.");
    }
    EXPECT_EQ(Main->Log1->Cells(2, 1), u"101");
    EXPECT_EQ(Main->LogCounter(1), 1);
}

TEST_F(Logs, ClearingStartsAgainAtRowOne) {
    Tick(5);
    LogTick();
    LogTick();
    Pick(4);
    Main->ClrLogClick(Main->ClrLog);
    Main->Module5Data->SetCells(1, 1, u"7");
    LogTick();
    EXPECT_EQ(Main->Log5->Cells(2, 1), u"7");
    EXPECT_EQ(Main->Log5->RowCount(), 3);
}

// Print: the print dialog picks the PDF printer and its file, and the picked log comes out as a PDF.
TEST_F(Logs, PrintWritesThePickedLogToThePdfPrinter) {
    TPrinter* previous = SetPrinter(new TPrinter());
    Tick(1);
    LogTick();
    Pick(0);
    const String file = Path("log1.pdf");
    FDialogs->AnswerPrint([&](win32::PrintRequest& request) {
        const auto pdf = std::find(request.printers.begin(), request.printers.end(),
                                   Utf8ToString(backend::printers::PdfPrinterName));
        ASSERT_NE(pdf, request.printers.end());
        request.printer = static_cast<size_t>(pdf - request.printers.begin());
        request.outputFile = file;
    });
    Main->PrintClick(Main->Print);
    delete SetPrinter(previous);
    std::ifstream in(StringToUtf8(file), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str().rfind("%PDF", 0), 0u) << "a PDF file was written";
}

// With no log picked the file commands do nothing after their dialog.
TEST_F(Logs, NothingPickedNothingDone) {
    Tick(1);
    LogTick();
    const String file = Path("unpicked.log");
    FDialogs->AnswerFile({file});
    Main->SaveAsClick(Main->SaveAs);
    EXPECT_FALSE(std::filesystem::exists(StringToUtf8(file)));
    const String workbook = Path("unpicked.xls");
    FDialogs->AnswerFile({workbook});
    Main->ExportClick(Main->Export);
    EXPECT_FALSE(std::filesystem::exists(StringToUtf8(workbook)));
    Main->ClrLogClick(Main->ClrLog);
    EXPECT_EQ(Main->Log1->RowCount(), 3);
}

} // namespace
} // namespace console_testing
