// The common dialogs answered by the recording service: file names with filters, default extensions and
// the options' checks, colours, fonts, folders and the printer the print dialogs choose.
#include <fstream>

#include <gtest/gtest.h>

#include "platform/framework/Dialogs.h"
#include "platform/framework/Printers.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/UString.h"
#include "platform/win32/dialogs.h"
#include "tests/support/TestSupport.h"

using win32::RecordingDialogService;

namespace {

class CommonDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        FDir = Utf8ToString(testing_support::MakeTestFolder("dialogs-test"));
        std::ofstream(StringToUtf8(FDir + u"/there.txt")) << "x";
    }
    void TearDown() override { delete SetPrinter(nullptr); }

    String FDir;
    RecordingDialogService FService;
};

TEST_F(CommonDialogs, OpenDialogAsksWithItsFiltersAndTakesTheChoice) {
    TOpenDialog dialog(nullptr);
    dialog.SetFilter(u"Text files (*.txt)|*.txt|All|*.*");
    dialog.SetFilterIndex(2);
    dialog.SetInitialDir(FDir);
    dialog.SetFileName(u"start.txt");
    dialog.SetOptions(TOpenOptions{ofAllowMultiSelect, ofFileMustExist});
    std::vector<std::string> events;
    dialog.OnShow = [&events](TObject*) { events.push_back("show"); };
    dialog.OnClose = [&events](TObject*) { events.push_back("close"); };
    FService.OnRequest = [&events](const RecordingDialogService::Record&) { events.push_back("asked"); };
    FService.AnswerFile({u"there.txt", FDir + u"/there.txt"});
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(events, (std::vector<std::string>{"show", "asked", "close"}));

    const win32::FileRequest& asked = FService.Records().at(0).file;
    EXPECT_EQ(asked.kind, win32::FileRequest::Kind::Open);
    ASSERT_EQ(asked.filters.size(), 2u);
    EXPECT_EQ(asked.filters[0].description, u"Text files (*.txt)");
    EXPECT_EQ(asked.filters[1].patterns, u"*.*");
    EXPECT_EQ(asked.filterIndex, 1u);
    EXPECT_TRUE(asked.multiSelect);
    EXPECT_EQ(asked.files, std::vector<String>{u"start.txt"});
    // A relative name is taken in InitialDir.
    EXPECT_EQ(dialog.FileName(), FDir + u"/there.txt");
    EXPECT_EQ(dialog.Files()->Count(), 2);

    FService.AnswerFile({}, false);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName(), FDir + u"/there.txt"); // a cancel changes nothing
}

// A name without an extension gets the default one, however the form wrote it; a name with one keeps it.
TEST_F(CommonDialogs, DefaultExtensionIsAddedToANameWithoutOne) {
    for (const Char* defaultExt : {u"xls", u".xls", u"*.xls"}) {
        TSaveDialog dialog(nullptr);
        dialog.SetFilter(u"Excel files|*.xls");
        dialog.SetDefaultExt(defaultExt);
        FService.Clear();
        FService.AnswerFile({FDir + u"/book"});
        ASSERT_TRUE(dialog.Execute());
        EXPECT_EQ(dialog.FileName(), FDir + u"/book.xls") << StringToUtf8(defaultExt);
        EXPECT_EQ(FService.Records().at(0).file.defaultExt, u"xls") << StringToUtf8(defaultExt);
        FService.AnswerFile({FDir + u"/book.csv"});
        ASSERT_TRUE(dialog.Execute());
        EXPECT_EQ(dialog.FileName(), FDir + u"/book.csv") << StringToUtf8(defaultExt);
    }
}

TEST_F(CommonDialogs, FileNamesBreakingTheOptionsAreReportedAndAskedAgain) {
    struct Case {
        const char* name;
        bool save;
        TOpenOptions options;
        String first;       // the first answer, refused
        const Char* report; // the start of the report's text after the name
        String second;      // the answer taken
        String expected;
    };
    const Case cases[] = {
        {"missing file", false, TOpenOptions{ofFileMustExist}, FDir + u"/gone.txt", u"\r\nFile not found.",
         FDir + u"/there.txt", FDir + u"/there.txt"},
        {"missing folder", true, TOpenOptions{ofPathMustExist}, FDir + u"/nowhere/x.txt",
         u"\r\nPath does not exist.", FDir + u"/new", FDir + u"/new.log"},
        {"replace refused", true, TOpenOptions{ofOverwritePrompt}, FDir + u"/there.txt",
         u" already exists.\r\nDo you want to replace it?", FDir + u"/other.log", FDir + u"/other.log"},
    };
    for (const Case& c : cases) {
        FService.Clear();
        std::unique_ptr<TOpenDialog> dialog(c.save ? new TSaveDialog(nullptr) : new TOpenDialog(nullptr));
        dialog->SetOptions(c.options);
        dialog->SetDefaultExt(u"log");
        FService.AnswerFile({c.first});
        FService.AnswerMessage(win32::DialogButton::No);
        FService.AnswerFile({c.second});
        ASSERT_TRUE(dialog->Execute()) << c.name;
        EXPECT_EQ(dialog->FileName(), c.expected) << c.name;
        ASSERT_EQ(FService.Records().size(), 3u) << c.name;
        const auto& report = FService.Records()[1];
        EXPECT_EQ(report.kind, RecordingDialogService::Record::Kind::Message) << c.name;
        EXPECT_NE(report.message.text.find(c.report), String::npos) << c.name;
        // Asked again with the refused name.
        EXPECT_EQ(FService.Records()[2].file.files, std::vector<String>{ExtractFileName(c.first)}) << c.name;
    }
    // Saving over a file the user lets go is fine.
    TSaveDialog dialog(nullptr);
    dialog.SetOptions(TOpenOptions{ofOverwritePrompt});
    FService.AnswerFile({FDir + u"/there.txt"});
    FService.AnswerMessage(win32::DialogButton::Yes);
    EXPECT_TRUE(dialog.Execute());
}

TEST_F(CommonDialogs, ColourFontAndFolder) {
    TColorDialog colors(nullptr);
    colors.SetColor(clRed);
    colors.CustomColors()->Add(u"ColorB=00FF00");
    FService.AnswerColor(RGB(0, 0, 128));
    ASSERT_TRUE(colors.Execute());
    EXPECT_EQ(FService.Records().back().color.color, RGB(255, 0, 0));
    EXPECT_EQ(FService.Records().back().color.customColors.at(1), 0x00FF00u);
    EXPECT_EQ(FService.Records().back().color.customColors.at(0), 0xFFFFFFu);
    EXPECT_EQ(colors.Color(), clNavy);
    EXPECT_EQ(colors.CustomColors()->Values(u"ColorP"), u"FFFFFF");

    TFontDialog fonts(nullptr);
    fonts.Font()->SetName(u"Arial");
    fonts.Font()->SetSize(10);
    FService.AnswerFont([](win32::FontRequest& font) {
        font.name = u"Courier New";
        font.size = 12;
        font.bold = true;
        font.color = RGB(0, 0, 255);
    });
    ASSERT_TRUE(fonts.Execute());
    EXPECT_EQ(FService.Records().back().font.name, u"Arial");
    EXPECT_EQ(fonts.Font()->Name(), u"Courier New");
    EXPECT_EQ(fonts.Font()->Size(), 12);
    EXPECT_EQ(fonts.Font()->Style(), TFontStyles{fsBold});
    EXPECT_EQ(fonts.Font()->Color(), clBlue);

    String directory = u"/tmp";
    FService.AnswerFolder(FDir);
    ASSERT_TRUE(SelectDirectory(u"Pick", u"", directory));
    EXPECT_EQ(directory, FDir);
    EXPECT_EQ(FService.Records().back().folder.directory, u"/tmp");
    EXPECT_FALSE(SelectDirectory(u"Pick", u"", directory)); // unscripted: cancelled
}

TEST_F(CommonDialogs, PrintDialogsChooseTheCurrentPrinter) {
    delete SetPrinter(new TPrinter({u"Office", u"Lab", u"Label writer"}, 1));
    EXPECT_EQ(Printer()->PrinterIndex(), 1);

    TPrinterSetupDialog setup(nullptr);
    FService.AnswerPrint([](win32::PrintRequest& print) { print.printer = 2; });
    ASSERT_TRUE(setup.Execute());
    EXPECT_EQ(FService.Records().back().print.printers.size(), 3u);
    EXPECT_EQ(FService.Records().back().print.printer, 1u);
    EXPECT_EQ(Printer()->PrinterIndex(), 2);

    TPrintDialog print(nullptr);
    print.SetMinPage(1);
    print.SetMaxPage(9);
    FService.AnswerPrint([](win32::PrintRequest& request) {
        request.printer = 0;
        request.copies = 3;
        request.fromPage = 2;
        request.toPage = 4;
    });
    ASSERT_TRUE(print.Execute());
    EXPECT_EQ(Printer()->PrinterIndex(), 0);
    EXPECT_EQ(print.Copies(), 3);
    EXPECT_EQ(print.PrintRange(), prPageNums);
    EXPECT_EQ(print.FromPage(), 2);
    EXPECT_EQ(print.ToPage(), 4);

    FService.AnswerPrint([](win32::PrintRequest& request) { request.printer = 1; }, false);
    EXPECT_FALSE(print.Execute());
    EXPECT_EQ(Printer()->PrinterIndex(), 0); // a cancel keeps the printer

    Printer()->SetPrinterIndex(-1);
    EXPECT_EQ(Printer()->PrinterIndex(), 1); // the default one
    EXPECT_THROW(Printer()->SetPrinterIndex(3), EPrinter);
}

TEST_F(CommonDialogs, ThePrintDialogChoosesThePdfPrintersFile) {
    delete SetPrinter(new TPrinter({u"Office", u"PDF file"}, 0));
    Printer()->SetOutputFile(u"/tmp/before.pdf");
    TPrintDialog print(nullptr);
    FService.AnswerPrint([this](win32::PrintRequest& request) {
        request.printer = 1;
        request.outputFile = FDir + u"/log.pdf";
    });
    ASSERT_TRUE(print.Execute());
    EXPECT_EQ(FService.Records().back().print.outputFile, u"/tmp/before.pdf"); // the dialog starts from it
    EXPECT_EQ(Printer()->PrinterIndex(), 1);
    EXPECT_EQ(Printer()->OutputFile(), FDir + u"/log.pdf");
}

} // namespace
