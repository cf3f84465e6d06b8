// libFuzzer target of the rich edit's RTF reader: any bytes are read, the document is written back,
// and what was written must read back to the same text.
#include <cstdlib>
#include <string_view>

#include "platform/win32/richedit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace win32::richedit;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Document document;
    if (!ReadRtf(bytes, CharFormat{}, document))
        return 0;
    std::string written = WriteRtf(document, 0, document.Length());
    Document again;
    if (!ReadRtf(written, CharFormat{}, again) || again.Text() != document.Text())
        std::abort();
    return 0;
}
