// The printers of the system, by name, and the devices that print on them: the system's printers and a
// PDF printer that is always there, all through Qt's print support with vector output.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/backend/device.h"

namespace backend {

// A device that prints pages: drawing between StartPage and EndPage goes onto the current page. Every call
// answers false on failure; a job once aborted or ended takes no further pages.
class PrinterDevice : public Device {
public:
    // Starts a job; output is the file the job is written to (empty: the printer's own, for the PDF
    // printer the file chosen last).
    virtual bool StartDoc(const std::u16string& title, const std::u16string& output) = 0;
    virtual bool StartPage() = 0;
    virtual bool EndPage() = 0;
    virtual bool EndDoc() = 0;
    // Drops the job: nothing is printed, and a file being written is removed.
    virtual bool AbortDoc() = 0;
};

namespace printers {

// The printer that writes PDF files; always listed.
inline constexpr const char* PdfPrinterName = "PDF file";

// How a printer device is set up when it is opened.
struct PageSetup {
    bool landscape = false;
};

// The names of the printers (UTF-8): the system's, then the PDF printer, then the ones registered here;
// and which of them is the default: the system's default printer, else the PDF printer.
std::vector<std::string> Names();
int DefaultIndex();

// A device for the printer of that name; null when there is no such printer.
std::shared_ptr<PrinterDevice> Open(const std::string& name, const PageSetup& setup);
// The degrees a printer turns portrait output to print it in landscape (90 here for every printer; 0
// for a printer that has no landscape); -1 for an unknown printer.
int LandscapeAngle(const std::string& name);

// Printers of the program's own, for tests: listed after the system's and opened by the factory.
using PrinterFactory = std::function<std::shared_ptr<PrinterDevice>(const PageSetup&)>;
void Register(const std::string& name, PrinterFactory factory);
void Unregister(const std::string& name);

} // namespace printers

} // namespace backend
