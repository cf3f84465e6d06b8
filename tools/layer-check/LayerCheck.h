// The layering rule of the source tree: which folder's code may include which headers. A lower layer
// never includes a higher one, and only platform/backend includes Qt, POSIX or other system headers
// beyond the C and C++ standard libraries; a format library is included only by the one folder that
// wraps it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace layercheck {

// One include that breaks the rule.
struct Offence {
    std::string file; // relative to the root, with '/' separators
    int line;         // 1-based
    std::string text; // the include line as written
    std::string why;  // which rule it breaks
};

// Checks every source file (.h, .cpp, .inc) under the layered folders of the tree at root: platform/,
// serial/, render/, grid/, controls/, dropdown/ and app/. Tests, tools and benchmarks are not layered
// and not checked. A file in a platform folder that has no layer is an offence of its own, so that a new
// folder gets its place in the table.
std::vector<Offence> CheckLayers(const std::filesystem::path& root);

// "file:line: text -- why".
std::string Describe(const Offence& offence);

} // namespace layercheck
