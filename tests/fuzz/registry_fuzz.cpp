// libFuzzer target of the registry's file and the store over it; crash inputs are kept under
// tests/platform/win32/fuzz.
#include <cstdlib>
#include <string>

#include "tests/fuzz/ScratchFolder.h"
#include "tests/platform/win32/RegistryFuzzInput.h"

namespace {

const std::string& Folder() {
    static const fuzz_support::ScratchFolder folder("registry");
    return folder.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!registry_fuzz::ReadRegistryFuzzInput(data, size, Folder()))
        std::abort();
    return 0;
}
