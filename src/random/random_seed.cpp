#include "random/random_seed.h"

#include <sys/time.h>

#include "random/mersenne_twister.h"

int32_t seedFromClock(int64_t seconds, int64_t microseconds) {
  // The clock sum is wrapped to 32 bits and run through the engine once, so
  // seeds drawn a microsecond apart are still far apart.
  MersenneTwister engine;
  engine.setSeed(static_cast<uint32_t>(static_cast<uint64_t>(seconds + microseconds)));
  const double unit = engine.nextUnit();
  // unit < 1, so the result stays in 1 .. 2147483647: never 0 or -1, which
  // the command line would read as "no seed".
  return static_cast<int32_t>(unit * 2147483647.0) + 1;
}

int32_t randomSeed() {
  timeval now{};
  gettimeofday(&now, nullptr);
  return seedFromClock(now.tv_sec, now.tv_usec);
}
