// The heap bytes the program holds, counted by its replaced operators new and delete, so that a
// benchmark measures what a stored item costs instead of estimating it.
#pragma once

namespace bench {

// Bytes allocated and not yet freed, over the whole program.
long long LiveHeapBytes();

} // namespace bench
