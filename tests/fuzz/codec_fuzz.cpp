// libFuzzer target of one picture reader, built once for each format (ZELMOR_FUZZ_FORMAT names it);
// crash inputs are kept under tests/platform/codecs/fuzz with the format's extension.
#include <cstdlib>

#include "tests/platform/codecs/CodecFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!codec_fuzz::ReadCodecFuzzInput(codecs::ImageFormat::ZELMOR_FUZZ_FORMAT, data, size))
        std::abort();
    return 0;
}
