// The kept inputs of a fuzz target, for the test programs that replay them.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// Every file of the folders (a missing folder has none), sorted by name, with its bytes.
inline std::vector<std::pair<std::string, std::string>>
FuzzFixtures(const std::vector<std::string>& folders) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& folder : folders) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream file(entry.path(), std::ios::binary);
            files.emplace_back(
                entry.path().filename().string(),
                std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()));
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace testing_support
