// The printers the program can print on, which of them is the current one, and the print job on it: a
// canvas in the printer's resolution whose drawing goes onto pages between BeginDoc and EndDoc.
#pragma once

#include <memory>
#include <vector>

#include "platform/framework/Graphics.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TypeInfo.h"

ZELMOR_DECLARE_EXCEPTION(EPrinter, Exception)

// How a page is turned: upright or on its side.
ZELMOR_ENUM(TPrinterOrientation, poPortrait, poLandscape)

class TPrinter : public TObject {
public:
    // The system's printers, and the PDF printer, which is always listed (the default when the system
    // has no default printer).
    TPrinter();
    // Given printers, the default one by index (-1: none): for tests and for running without a system.
    TPrinter(const std::vector<String>& names, Integer defaultIndex);
    ~TPrinter() override;

    // The printers' names.
    TStrings* Printers() const { return FPrinters.get(); }
    // The current printer: the default one until another is chosen; -1 when there is none.
    Integer PrinterIndex() const { return FPrinterIndex; }
    // -1 chooses the default printer; EPrinter "Printer index out of range" for an index not in Printers,
    // "Printing in progress" during a job.
    void SetPrinterIndex(Integer value);
    // Reads the system's printers again, keeping the current one when it is still there.
    void Refresh();

    // The page's turn for the next job; "Printing in progress" during a job.
    TPrinterOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TPrinterOrientation value);
    // The job's name, as the printer's queue shows it.
    const String& Title() const { return FTitle; }
    void SetTitle(const String& value) { FTitle = value; }
    // The file a job is written to (the PDF printer's file, chosen in the print dialog); empty: the
    // printer's own output, for the PDF printer "print.pdf" in the home folder.
    const String& OutputFile() const { return FOutputFile; }
    void SetOutputFile(const String& value) { FOutputFile = value; }

    // The printable area in the printer's pixels (HORZRES and VERTRES).
    Integer PageWidth();
    Integer PageHeight();
    // The printer's DC, made at first use for the current printer and orientation. EPrinter "Printer
    // selected is not valid" when the current printer cannot be opened, "There is no default printer
    // currently selected" when there is none.
    HDC Handle();
    // Draws on the printer; its font is sized in the printer's resolution.
    TCanvas* Canvas();
    // The current printer's names and set-up: its name as device, "WINSPOOL" as driver, an empty port,
    // and no device mode (null: the printer's defaults).
    void GetPrinter(String& ADevice, String& ADriver, String& APort, HANDLE& ADeviceMode);

    // Starts a job with its first page; "Printing in progress" when one runs. A printer that refuses the
    // job raises EPrinter with the system's error text, and no job runs.
    void BeginDoc();
    // Ends the page and starts the next; "Printer is not currently printing" outside a job.
    void NewPage();
    // Ends the last page and the job; "Printer is not currently printing" outside a job.
    void EndDoc();
    // Drops the job: nothing more is printed; "Printer is not currently printing" outside a job.
    void Abort();
    bool Printing() const { return FPrinting; }
    bool Aborted() const { return FAborted; }
    // The page being printed, from 1; 0 outside a job.
    Integer PageNumber() const { return FPageNumber; }

private:
    void CheckPrinting(bool value) const;
    // Drops the DC, so that the next use makes one for the current printer and orientation.
    void FreeHandle();

    std::unique_ptr<TStringList> FPrinters;
    Integer FPrinterIndex = -1;
    Integer FDefaultIndex = -1;
    bool FSystem = false; // the printers come from the system
    TPrinterOrientation FOrientation = poPortrait;
    String FTitle;
    String FOutputFile;
    HDC FDC = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
    bool FPrinting = false;
    bool FAborted = false;
    Integer FPageNumber = 0;
};

// The process's printer object, made at first use.
TPrinter* Printer();
// Puts another object in its place (null: a new one at next use); answers the previous one, which the
// caller now frees.
TPrinter* SetPrinter(TPrinter* printer);
