// TPrinter: the printers of the system and the current one.
#include "platform/framework/Printers.h"

#include "platform/rtl/Consts.h"
#include "platform/win32/winerror.h"
#include "platform/win32/winspool.h"

namespace {

std::unique_ptr<TPrinter>& ThePrinter() {
    static std::unique_ptr<TPrinter> printer;
    return printer;
}

std::vector<String> SystemPrinterNames() {
    std::vector<BYTE> buffer;
    DWORD needed = 0;
    DWORD count = 0;
    // The list may grow between asking for its size and reading it; ask again until it fits.
    while (!EnumPrintersW(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 4, buffer.data(),
                          static_cast<DWORD>(buffer.size()), &needed, &count)) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return {};
        buffer.resize(needed);
    }
    std::vector<String> names;
    const auto* records = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        names.emplace_back(records[i].pPrinterName);
    return names;
}

// The default printer's name; empty when there is none.
String SystemDefaultPrinter() {
    DWORD length = 0;
    if (GetDefaultPrinterW(nullptr, &length) || GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return String();
    String name(length, u'\0');
    if (!GetDefaultPrinterW(name.data(), &length))
        return String();
    name.resize(length - 1);
    return name;
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
    for (const String& name : SystemPrinterNames())
        FPrinters->Add(name);
    const String defaultName = SystemDefaultPrinter();
    FDefaultIndex = -1;
    for (Integer i = 0; i < FPrinters->Count() && !defaultName.empty(); ++i)
        if (FPrinters->Strings(i) == defaultName) {
            FDefaultIndex = i;
            break;
        }
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
