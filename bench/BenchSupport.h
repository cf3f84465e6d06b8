// What the benchmarks share: the platform started once per program, and wall-clock seconds.
#pragma once

#include <chrono>
#include <cstdlib>

#include "platform/backend/file.h"
#include "platform/backend/platform.h"

namespace bench {

// Starts the platform off-screen on the first call; later calls find it running.
inline void StartPlatformOnce() {
    static const bool started = [] {
        backend::SetEnvironment("QT_QPA_PLATFORM", "offscreen");
        static char name[] = "zelmor-bench";
        static char* argv[] = {name, nullptr};
        return backend::StartPlatform(1, argv);
    }();
    if (!started)
        std::abort();
}

inline double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace bench
