// A folder of one fuzz run for the files its inputs are written to, removed when the run ends.
#pragma once

#include <filesystem>
#include <random>
#include <string>

namespace fuzz_support {

struct ScratchFolder {
    explicit ScratchFolder(const std::string& name) {
        path = (std::filesystem::temp_directory_path() /
                ("zelmor-" + name + "-fuzz-" + std::to_string(std::random_device()())))
                   .string();
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path, error);
    }
    std::string path;
};

} // namespace fuzz_support
