// libFuzzer target of the INI files; crash inputs are kept under tests/platform/rtl/fuzz.
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "tests/platform/rtl/IniFuzzInput.h"

namespace {

std::string Folder() {
    static const std::string folder = [] {
        auto path = std::filesystem::temp_directory_path() /
                    ("zelmor-ini-fuzz-" + std::to_string(std::random_device()()));
        std::filesystem::create_directories(path);
        std::atexit([] { std::filesystem::remove_all(Folder()); });
        return path.string();
    }();
    return folder;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!ini_fuzz::ReadIniFuzzInput(data, size, Folder()))
        std::abort();
    return 0;
}
