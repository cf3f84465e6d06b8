// libFuzzer target of the INI files; crash inputs are kept under tests/platform/rtl/fuzz.
#include <cstdlib>
#include <string>

#include "tests/fuzz/ScratchFolder.h"
#include "tests/platform/rtl/IniFuzzInput.h"

namespace {

const std::string& Folder() {
    static const fuzz_support::ScratchFolder folder("ini");
    return folder.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!ini_fuzz::ReadIniFuzzInput(data, size, Folder()))
        std::abort();
    return 0;
}
