// One fuzz input of the rich edit's RTF reader, shared by the fuzz target and the test that replays its
// corpus: any bytes are read, the document is written back, and what was written must read back to the
// same text.
#pragma once

#include <string>
#include <string_view>

#include "platform/win32/richedit.h"

// False when a document that was read does not write and read back as itself.
inline bool ReadRtfFuzzInput(std::string_view bytes) {
    using namespace win32::richedit;
    Document document;
    if (!ReadRtf(bytes, CharFormat{}, document))
        return true;
    const std::string written = WriteRtf(document, 0, document.Length());
    Document again;
    return ReadRtf(written, CharFormat{}, again) && again.Text() == document.Text();
}
