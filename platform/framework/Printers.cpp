// TPrinter: the printers of the system, the current one, and print jobs on it.
#include "platform/framework/Printers.h"

#include "platform/rtl/Consts.h"
#include "platform/win32/winerror.h"
#include "platform/win32/wingdi.h"
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

// The printer's canvas makes its DC through the printer, so that it follows the current printer.
class TPrinterCanvas : public TCanvas {
public:
    explicit TPrinterCanvas(TPrinter* printer) : FPrinter(printer) {}

protected:
    void CreateHandle() override {
        HDC dc = FPrinter->Handle();
        Font()->SetPixelsPerInch(GetDeviceCaps(dc, LOGPIXELSY));
        SetHandle(dc);
    }

private:
    TPrinter* FPrinter;
};

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

TPrinter::~TPrinter() {
    // A job still running when the printer object goes is dropped, never half printed.
    if (FPrinting && FDC)
        AbortDoc(FDC);
    FreeHandle();
}

void TPrinter::SetPrinterIndex(Integer value) {
    CheckPrinting(false);
    if (value == -1) {
        if (FPrinterIndex != FDefaultIndex)
            FreeHandle();
        FPrinterIndex = FDefaultIndex;
        return;
    }
    if (value < 0 || value >= FPrinters->Count())
        throw EPrinter(Consts::SPrinterIndexError);
    if (value != FPrinterIndex)
        FreeHandle();
    FPrinterIndex = value;
}

void TPrinter::SetOrientation(TPrinterOrientation value) {
    CheckPrinting(false);
    if (value != FOrientation)
        FreeHandle();
    FOrientation = value;
}

void TPrinter::CheckPrinting(bool value) const {
    if (FPrinting != value)
        throw EPrinter(value ? Consts::SNotPrinting : Consts::SPrinting);
}

void TPrinter::FreeHandle() {
    if (FCanvas)
        FCanvas->SetHandle(nullptr);
    if (FDC)
        DeleteDC(FDC);
    FDC = nullptr;
}

HDC TPrinter::Handle() {
    if (FDC)
        return FDC;
    if (FPrinterIndex < 0)
        throw EPrinter(Consts::SNoDefaultPrinter);
    String device = FPrinters->Strings(FPrinterIndex);
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_ORIENTATION;
    mode.dmOrientation = FOrientation == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    FDC = CreateDCW(u"WINSPOOL", device.c_str(), nullptr, &mode);
    if (!FDC)
        throw EPrinter(Consts::SInvalidPrinter);
    return FDC;
}

TCanvas* TPrinter::Canvas() {
    if (!FCanvas)
        FCanvas = std::make_unique<TPrinterCanvas>(this);
    return FCanvas.get();
}

Integer TPrinter::PageWidth() {
    return GetDeviceCaps(Handle(), HORZRES);
}

Integer TPrinter::PageHeight() {
    return GetDeviceCaps(Handle(), VERTRES);
}

void TPrinter::GetPrinter(String& ADevice, String& ADriver, String& APort, HANDLE& ADeviceMode) {
    ADevice = FPrinterIndex >= 0 ? FPrinters->Strings(FPrinterIndex) : String();
    ADriver = u"WINSPOOL";
    APort = String();
    ADeviceMode = nullptr;
}

void TPrinter::BeginDoc() {
    CheckPrinting(false);
    HDC dc = Handle();
    Canvas()->Refresh();
    FCanvas->Font()->SetPixelsPerInch(GetDeviceCaps(dc, LOGPIXELSY));
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = FTitle.c_str();
    info.lpszOutput = FOutputFile.empty() ? nullptr : FOutputFile.c_str();
    if (StartDocW(dc, &info) <= 0)
        throw EPrinter(Win32ErrorText(GetLastError()));
    if (::StartPage(dc) <= 0) {
        DWORD error = GetLastError();
        AbortDoc(dc);
        throw EPrinter(Win32ErrorText(error));
    }
    FPrinting = true;
    FAborted = false;
    FPageNumber = 1;
}

void TPrinter::NewPage() {
    CheckPrinting(true);
    ::EndPage(FDC);
    ::StartPage(FDC);
    ++FPageNumber;
    FCanvas->Refresh();
}

void TPrinter::EndDoc() {
    CheckPrinting(true);
    ::EndPage(FDC);
    bool failed = false;
    DWORD error = 0;
    if (!FAborted && ::EndDoc(FDC) <= 0) {
        failed = true;
        error = GetLastError();
    }
    FPrinting = false;
    FAborted = false;
    FPageNumber = 0;
    // A job the printer could not finish is a failure, never a quiet success.
    if (failed)
        throw EPrinter(Win32ErrorText(error));
}

void TPrinter::Abort() {
    CheckPrinting(true);
    AbortDoc(FDC);
    FAborted = true;
    EndDoc();
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
