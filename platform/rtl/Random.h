// The run-time library's pseudo-random generator: one sequence for the program, repeatable from a
// given seed.
#pragma once

#include "platform/rtl/Types.h"

// The generator's state. Setting it starts a repeatable sequence; tests fix it this way.
Cardinal RandSeed();
void SetRandSeed(Cardinal seed);
// Seeds the generator from the clock.
void Randomize();
// A whole number with 0 <= result < Range; 0 when Range is 0 or negative.
Integer Random(Integer Range);
// A real with 0 <= result < 1.
double Random();
