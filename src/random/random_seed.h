#pragma once

#include <cstdint>

// A seed in 1 .. 2147483647 drawn from the wall clock.
int32_t randomSeed();

// The same, from a given clock reading; randomSeed() passes gettimeofday's.
int32_t seedFromClock(int64_t seconds, int64_t microseconds);
