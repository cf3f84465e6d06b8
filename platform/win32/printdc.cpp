// Printer DCs and print jobs: a DC on a printer device of the backend, and the job calls that pass
// through to it.
#include <cstring>

#include "platform/backend/printers.h"
#include "platform/rtl/UString.h"
#include "platform/win32/gdi_private.h"
#include "platform/win32/gdidevice.h"
#include "platform/win32/winerror.h"
#include "platform/win32/winspool.h"

namespace {

std::string PrinterName(LPCWSTR device) {
    return device ? StringToUtf8(StringView(device)) : std::string();
}

// The printer device of a DC, with the last error set when it has none.
backend::PrinterDevice* PrinterOf(HDC handle) {
    std::shared_ptr<gdi::DC> dc = gdi::FindDC(handle);
    if (!dc)
        return nullptr;
    auto* printer = dynamic_cast<backend::PrinterDevice*>(dc->Device());
    if (!printer)
        SetLastError(ERROR_INVALID_HANDLE);
    return printer;
}

int Result(bool ok) {
    if (ok)
        return 1;
    SetLastError(ERROR_PRINT_CANCELLED);
    return SP_ERROR;
}

} // namespace

HDC CreateDCW(LPCWSTR, LPCWSTR pszDevice, LPCWSTR, const DEVMODEW* pdm) {
    backend::printers::PageSetup setup;
    setup.landscape =
        pdm && (pdm->dmFields & DM_ORIENTATION) != 0 && pdm->dmOrientation == DMORIENT_LANDSCAPE;
    std::shared_ptr<backend::PrinterDevice> device = backend::printers::Open(PrinterName(pszDevice), setup);
    if (!device) {
        SetLastError(ERROR_INVALID_PRINTER_NAME);
        return nullptr;
    }
    return CreateDeviceDC(std::move(device));
}

int StartDocW(HDC hdc, const DOCINFOW* lpdi) {
    backend::PrinterDevice* printer = PrinterOf(hdc);
    if (!printer || !lpdi)
        return SP_ERROR;
    std::u16string title = lpdi->lpszDocName ? std::u16string(lpdi->lpszDocName) : std::u16string();
    std::u16string output = lpdi->lpszOutput ? std::u16string(lpdi->lpszOutput) : std::u16string();
    return Result(printer->StartDoc(title, output));
}

int StartPage(HDC hdc) {
    backend::PrinterDevice* printer = PrinterOf(hdc);
    return printer ? Result(printer->StartPage()) : SP_ERROR;
}

int EndPage(HDC hdc) {
    backend::PrinterDevice* printer = PrinterOf(hdc);
    return printer ? Result(printer->EndPage()) : SP_ERROR;
}

int EndDoc(HDC hdc) {
    backend::PrinterDevice* printer = PrinterOf(hdc);
    return printer ? Result(printer->EndDoc()) : SP_ERROR;
}

int AbortDoc(HDC hdc) {
    backend::PrinterDevice* printer = PrinterOf(hdc);
    return printer ? Result(printer->AbortDoc()) : SP_ERROR;
}

int DeviceCapabilitiesW(LPCWSTR pDevice, LPCWSTR, WORD fwCapability, LPWSTR, const DEVMODEW*) {
    int angle = backend::printers::LandscapeAngle(PrinterName(pDevice));
    if (angle < 0 || fwCapability != DC_ORIENTATION) {
        SetLastError(angle < 0 ? ERROR_INVALID_PRINTER_NAME : ERROR_NOT_SUPPORTED);
        return -1;
    }
    return angle;
}
