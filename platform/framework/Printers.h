// The printers the program can print on, and which of them is the current one. Printing itself comes
// later; the print dialogs choose the printer here.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/TypeInfo.h"

ZELMOR_DECLARE_EXCEPTION(EPrinter, Exception)

// How a page is turned: upright or on its side.
ZELMOR_ENUM(TPrinterOrientation, poPortrait, poLandscape)

class TPrinter : public TObject {
public:
    // The system's printers.
    TPrinter();
    // Given printers, the default one by index (-1: none): for tests and for running without a system.
    TPrinter(const std::vector<String>& names, Integer defaultIndex);
    ~TPrinter() override;

    // The printers' names.
    TStrings* Printers() const { return FPrinters.get(); }
    // The current printer: the default one until another is chosen; -1 when there is none.
    Integer PrinterIndex() const { return FPrinterIndex; }
    // -1 chooses the default printer; EPrinter "Printer index out of range" for an index not in Printers.
    void SetPrinterIndex(Integer value);
    // Reads the system's printers again, keeping the current one when it is still there.
    void Refresh();

private:
    std::unique_ptr<TStringList> FPrinters;
    Integer FPrinterIndex = -1;
    Integer FDefaultIndex = -1;
    bool FSystem = false; // the printers come from the system
};

// The process's printer object, made at first use.
TPrinter* Printer();
// Puts another object in its place (null: a new one at next use); answers the previous one, which the
// caller now frees.
TPrinter* SetPrinter(TPrinter* printer);
