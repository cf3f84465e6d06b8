// TPrinter: the printers of the system and the current one.
#include "platform/framework/Printers.h"

#include "platform/backend/printers.h"
#include "platform/rtl/Consts.h"
#include "platform/rtl/UString.h"

namespace {

std::unique_ptr<TPrinter>& ThePrinter() {
    static std::unique_ptr<TPrinter> printer;
    return printer;
}

} // namespace

TPrinter::TPrinter() : FPrinters(std::make_unique<TStringList>()), FSystem(true) {
    Refresh();
}

TPrinter::TPrinter(const std::vector<String>& names, Integer defaultIndex)
    : FPrinters(std::make_unique<TStringList>()) {
    for (const String& name : names)
        FPrinters->Add(name);
    FDefaultIndex = defaultIndex >= 0 && defaultIndex < FPrinters->Count() ? defaultIndex : -1;
    FPrinterIndex = FDefaultIndex;
}

TPrinter::~TPrinter() = default;

void TPrinter::SetPrinterIndex(Integer value) {
    if (value == -1) {
        FPrinterIndex = FDefaultIndex;
        return;
    }
    if (value < 0 || value >= FPrinters->Count())
        throw EPrinter(Consts::SPrinterIndexError);
    FPrinterIndex = value;
}

void TPrinter::Refresh() {
    if (!FSystem)
        return;
    String current = FPrinterIndex >= 0 ? FPrinters->Strings(FPrinterIndex) : String();
    FPrinters->Clear();
    for (const std::string& name : backend::printers::Names())
        FPrinters->Add(Utf8ToString(name));
    FDefaultIndex = backend::printers::DefaultIndex();
    Integer kept = current.empty() ? -1 : FPrinters->IndexOf(current);
    FPrinterIndex = kept >= 0 ? kept : FDefaultIndex;
}

TPrinter* Printer() {
    if (!ThePrinter())
        ThePrinter() = std::make_unique<TPrinter>();
    return ThePrinter().get();
}

TPrinter* SetPrinter(TPrinter* printer) {
    TPrinter* previous = ThePrinter().release();
    ThePrinter().reset(printer);
    return previous;
}
