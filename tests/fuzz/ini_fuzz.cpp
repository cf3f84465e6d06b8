// libFuzzer target of the INI files; crash inputs are kept under tests/platform/rtl/fuzz.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "tests/platform/rtl/IniFuzzInput.h"

namespace {

// A folder of this run for the files the input is written to, removed when the run ends.
struct ScratchFolder {
    ScratchFolder() {
        path = (std::filesystem::temp_directory_path() /
                ("zelmor-ini-fuzz-" + std::to_string(std::random_device()())))
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
    if (!ini_fuzz::ReadIniFuzzInput(data, size, Folder()))
        std::abort();
    return 0;
}
