// A linear congruential generator: cheap, good enough for fill patterns and jitter, and repeatable
// from its seed. Not for anything that needs unpredictable numbers.
#include "platform/rtl/Random.h"

#include "platform/rtl/Clock.h"

namespace {

Cardinal gSeed = 0;

// Steps the state and answers it; the high bits are the better ones, so callers scale from the top.
Cardinal NextState() {
    gSeed = gSeed * 0x08088405u + 1u;
    return gSeed;
}

} // namespace

Cardinal RandSeed() {
    return gSeed;
}

void SetRandSeed(Cardinal seed) {
    gSeed = seed;
}

void Randomize() {
    const UInt64 ticks = Clock::TickCount64();
    const double now = Clock::Now();
    gSeed = static_cast<Cardinal>(ticks ^ (ticks >> 32)) ^ static_cast<Cardinal>(now * 86400000.0);
}

Integer Random(Integer Range) {
    if (Range <= 0)
        return 0;
    // The state scaled into 0 .. Range - 1 by its top bits.
    return static_cast<Integer>((static_cast<UInt64>(NextState()) * static_cast<UInt64>(Range)) >> 32);
}

double Random() {
    return static_cast<double>(NextState()) / 4294967296.0;
}
