// libFuzzer target of the registry's file and the store over it; crash inputs are kept under
// tests/platform/win32/fuzz.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "tests/platform/win32/RegistryFuzzInput.h"

namespace {

// A folder of this run for the files the input is written to, removed when the run ends.
struct ScratchFolder {
    ScratchFolder() {
        path = (std::filesystem::temp_directory_path() /
                ("zelmor-registry-fuzz-" + std::to_string(std::random_device()())))
                   .string();
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
    std::string path;
};

const std::string& Folder() {
    static const ScratchFolder folder;
    return folder.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!registry_fuzz::ReadRegistryFuzzInput(data, size, Folder()))
        std::abort();
    return 0;
}
