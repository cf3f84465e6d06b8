// libFuzzer target of the mini-HTML renderer in its three modes (see tests/render/HTMLFuzzInput.h for the
// input's form); crash inputs are kept under tests/render/fuzz.
#include <cstdlib>

#include "platform/backend/file.h"
#include "platform/backend/platform.h"
#include "tests/render/HTMLFuzzInput.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
    if (!backend::StartPlatform(*argc, *argv))
        return 1;
    // libFuzzer ends with exit(): stop the platform while its font cache is still alive, as the test
    // programs do before they return (the cache comes to life with the first text drawn).
    const uint8_t warmUp[] = {0, 40, 'a'};
    RenderHTMLFuzzInput(warmUp, sizeof(warmUp));
    std::atexit([] { backend::StopPlatform(); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    RenderHTMLFuzzInput(data, size);
    return 0;
}
