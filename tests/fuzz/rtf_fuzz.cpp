// libFuzzer target of the rich edit's RTF reader (see tests/platform/win32/RtfFuzzInput.h); crash
// inputs are kept under tests/fuzz/corpus/rtf, which the rich edit's tests replay.
#include <cstdlib>
#include <string_view>

#include "tests/platform/win32/RtfFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!ReadRtfFuzzInput(std::string_view(reinterpret_cast<const char*>(data), size)))
        std::abort();
    return 0;
}
