// TPrinter's print jobs: the job calls a printer receives, the framework's errors, the orientation and
// page size a job gets, and the PDF printer that is always there and writes whole files only.
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include <gtest/gtest.h>

#include "platform/backend/device.h"
#include "platform/backend/printers.h"
#include "platform/backend/recorder.h"
#include "platform/framework/Printers.h"
#include "platform/rtl/Convert.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winspool.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr const char* kRecording = "Recording printer";

// The pages of a PDF file: its page objects.
int PdfPageCount(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    if (text.rfind("%PDF", 0) != 0)
        return -1;
    static const std::regex page("/Type\\s*/Page(?![s\\w])");
    return static_cast<int>(
        std::distance(std::sregex_iterator(text.begin(), text.end(), page), std::sregex_iterator()));
}

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class PrinterJobs : public ::testing::Test {
protected:
    void SetUp() override {
        backend::printers::Register(kRecording, [this](const backend::printers::PageSetup& setup) {
            backend::DeviceCaps caps;
            caps.dpiX = caps.dpiY = 300;
            caps.width = setup.landscape ? 3300 : 2400;
            caps.height = setup.landscape ? 2400 : 3300;
            FLandscape = setup.landscape;
            FDevice = backend::CreateRecordingPrinter(caps);
            return FDevice;
        });
    }
    void TearDown() override { backend::printers::Unregister(kRecording); }

    std::shared_ptr<backend::Recorder> FDevice;
    bool FLandscape = false;
};

TEST_F(PrinterJobs, AJobReachesThePrinterPageByPage) {
    TPrinter printer({Utf8ToString(kRecording)}, 0);
    printer.SetTitle(u"Log 1");
    EXPECT_EQ(printer.PageWidth(), 2400);
    EXPECT_EQ(printer.PageHeight(), 3300);
    printer.BeginDoc();
    EXPECT_TRUE(printer.Printing());
    EXPECT_EQ(printer.PageNumber(), 1);
    printer.Canvas()->TextOut(100, 200, u"first");
    printer.NewPage();
    EXPECT_EQ(printer.PageNumber(), 2);
    printer.Canvas()->Rectangle(10, 10, 50, 50);
    printer.EndDoc();
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(printer.PageNumber(), 0);

    const std::vector<std::string>& calls = FDevice->Calls();
    ASSERT_EQ(calls.size(), 8u);
    EXPECT_EQ(calls[0], "StartDoc 'Log 1'");
    EXPECT_EQ(calls[1], "StartPage");
    EXPECT_EQ(calls[2].rfind("Text 100,", 0), 0u) << calls[2];
    EXPECT_NE(calls[2].find("'first'"), std::string::npos);
    EXPECT_EQ(calls[3], "EndPage");
    EXPECT_EQ(calls[4], "StartPage");
    EXPECT_EQ(calls[5].rfind("Rectangle 10,10-50,50", 0), 0u) << calls[5];
    EXPECT_EQ(calls[6], "EndPage");
    EXPECT_EQ(calls[7], "EndDoc");
}

TEST_F(PrinterJobs, TheCanvasFontIsSizedInThePrintersResolution) {
    TPrinter printer({Utf8ToString(kRecording)}, 0);
    printer.BeginDoc();
    printer.Canvas()->Font()->SetSize(12);
    EXPECT_EQ(printer.Canvas()->Font()->Height(), -50); // 12 points at 300 dpi
    printer.EndDoc();
}

TEST_F(PrinterJobs, MisuseRaisesTheFrameworksTexts) {
    TPrinter printer({Utf8ToString(kRecording)}, 0);
    auto raises = [](auto call, const char16_t* text) {
        try {
            call();
            ADD_FAILURE() << "no exception";
        } catch (const EPrinter& e) {
            EXPECT_EQ(e.Message(), String(text));
        }
    };
    raises([&] { printer.NewPage(); }, u"Printer is not currently printing");
    raises([&] { printer.EndDoc(); }, u"Printer is not currently printing");
    raises([&] { printer.Abort(); }, u"Printer is not currently printing");
    printer.BeginDoc();
    raises([&] { printer.BeginDoc(); }, u"Printing in progress");
    raises([&] { printer.SetOrientation(poLandscape); }, u"Printing in progress");
    raises([&] { printer.SetPrinterIndex(0); }, u"Printing in progress");
    printer.Abort();
    EXPECT_FALSE(printer.Printing());
    EXPECT_EQ(FDevice->Calls().back(), "AbortDoc");

    TPrinter missing({u"Nowhere"}, 0);
    raises([&] { missing.BeginDoc(); }, u"Printer selected is not valid");
    TPrinter none(std::vector<String>{}, -1);
    raises([&] { none.Handle(); }, u"There is no default printer currently selected");
}

TEST_F(PrinterJobs, TheOrientationChosenBeforeAJobTurnsThePage) {
    TPrinter printer({Utf8ToString(kRecording)}, 0);
    EXPECT_EQ(printer.PageWidth(), 2400);
    printer.SetOrientation(poLandscape);
    EXPECT_EQ(printer.PageWidth(), 3300);
    EXPECT_TRUE(FLandscape);
    String device, driver, port;
    HANDLE mode = reinterpret_cast<HANDLE>(1);
    printer.GetPrinter(device, driver, port, mode);
    EXPECT_EQ(device, Utf8ToString(kRecording));
    EXPECT_EQ(mode, nullptr);
    EXPECT_EQ(DeviceCapabilitiesW(device.c_str(), port.c_str(), DC_ORIENTATION, nullptr, nullptr), 90);
    EXPECT_EQ(DeviceCapabilitiesW(u"Nowhere", nullptr, DC_ORIENTATION, nullptr, nullptr), -1);
}

TEST(PdfPrinter, IsAlwaysListedAndWritesItsPagesToTheChosenFile) {
    TPrinter printer;
    const Integer pdf = printer.Printers()->IndexOf(Utf8ToString(backend::printers::PdfPrinterName));
    ASSERT_GE(pdf, 0);
    EXPECT_GE(printer.PrinterIndex(), 0); // the PDF printer when the system has no default one
    printer.SetPrinterIndex(pdf);

    const std::string folder = testing_support::MakeTestFolder("pdf-printer");
    const std::string path = folder + "/log.pdf";
    printer.SetOutputFile(Utf8ToString(path));
    printer.BeginDoc();
    for (int page = 1; page <= 3; ++page) {
        if (page > 1)
            printer.NewPage();
        printer.Canvas()->TextOut(300, 300, u"Page " + IntToStr(page));
        printer.Canvas()->Rectangle(200, 200, 1200, 800);
    }
    printer.EndDoc();
    EXPECT_EQ(PdfPageCount(path), 3);
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1)
        << "a temporary file was left beside the PDF";
}

TEST(PdfPrinter, AnAbortedJobKeepsTheOldFile) {
    TPrinter printer;
    printer.SetPrinterIndex(printer.Printers()->IndexOf(Utf8ToString(backend::printers::PdfPrinterName)));
    const std::string folder = testing_support::MakeTestFolder("pdf-abort");
    const std::string path = folder + "/log.pdf";
    std::ofstream(path) << "old";
    printer.SetOutputFile(Utf8ToString(path));
    printer.BeginDoc();
    printer.Canvas()->TextOut(300, 300, u"never printed");
    printer.Abort();
    EXPECT_EQ(Contents(path), "old");
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
}

} // namespace
