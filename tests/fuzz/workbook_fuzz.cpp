// libFuzzer target of the spreadsheet server's workbook reader: the input is read as a workbook file's
// bytes; the reader may raise its errors but must never crash. Crash inputs are kept under
// tests/fuzz/corpus/workbook.
#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/servers/Workbook.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    try {
        servers::ReadWorkbookBytes(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const Exception&) {
    }
    return 0;
}
