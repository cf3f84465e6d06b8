// The printers of the system, by name.
#pragma once

#include <string>
#include <vector>

namespace backend::printers {

// The names of the installed printers (UTF-8), and which of them is the default (-1 for none).
std::vector<std::string> Names();
int DefaultIndex();

} // namespace backend::printers
