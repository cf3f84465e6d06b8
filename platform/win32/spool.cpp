// The print spooler's printer list, read from the system's printers through the backend.
#include "platform/win32/winspool.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/backend/printers.h"
#include "platform/rtl/UString.h"
#include "platform/win32/winerror.h"

BOOL EnumPrintersW(DWORD Flags, LPWSTR Name, DWORD Level, LPBYTE pPrinterEnum, DWORD cbBuf, LPDWORD pcbNeeded,
                   LPDWORD pcReturned) {
    if (pcbNeeded == nullptr || pcReturned == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *pcbNeeded = 0;
    *pcReturned = 0;
    if (Level != 4) {
        SetLastError(ERROR_INVALID_LEVEL);
        return FALSE;
    }
    std::vector<String> names;
    if ((Flags & PRINTER_ENUM_LOCAL) != 0 && Name == nullptr)
        for (const std::string& name : backend::printers::Names())
            names.push_back(Utf8ToString(name));

    // The records first, then the names they point at.
    std::size_t needed = names.size() * sizeof(PRINTER_INFO_4W);
    for (const String& name : names)
        needed += (name.size() + 1) * sizeof(WCHAR);
    *pcbNeeded = static_cast<DWORD>(needed);
    if (needed == 0)
        return TRUE;
    if (pPrinterEnum == nullptr || cbBuf < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    auto* records = reinterpret_cast<PRINTER_INFO_4W*>(pPrinterEnum);
    auto* text = reinterpret_cast<WCHAR*>(pPrinterEnum + names.size() * sizeof(PRINTER_INFO_4W));
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::memcpy(text, names[i].c_str(), (names[i].size() + 1) * sizeof(WCHAR));
        records[i] = PRINTER_INFO_4W{text, nullptr, PRINTER_ATTRIBUTE_LOCAL};
        text += names[i].size() + 1;
    }
    *pcReturned = static_cast<DWORD>(names.size());
    return TRUE;
}

BOOL GetDefaultPrinterW(LPWSTR pszBuffer, LPDWORD pcchBuffer) {
    if (pcchBuffer == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::vector<std::string> names = backend::printers::Names();
    const int index = backend::printers::DefaultIndex();
    if (index < 0 || static_cast<std::size_t>(index) >= names.size()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    const String name = Utf8ToString(names[static_cast<std::size_t>(index)]);
    const DWORD needed = static_cast<DWORD>(name.size() + 1);
    if (pszBuffer == nullptr || *pcchBuffer < needed) {
        *pcchBuffer = needed;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(pszBuffer, name.c_str(), needed * sizeof(WCHAR));
    *pcchBuffer = needed;
    return TRUE;
}
