#include "random/random_seed.h"

#include <gtest/gtest.h>

namespace {

TEST(RandomSeed, ComesFromTheWrappedClockSumAndIsPositive) {
  EXPECT_EQ(seedFromClock(0, 0), 1178568022);
  EXPECT_EQ(seedFromClock(4294967000LL, 296), 1178568022);  // seconds + microseconds, 32 bits
  EXPECT_NE(seedFromClock(1700000000, 250000), seedFromClock(1700000000, 250001));
  for (int64_t clock = 1700000000; clock < 1700002000; ++clock) {
    ASSERT_GE(seedFromClock(clock, clock % 1000000), 1) << clock;
  }
}

}  // namespace
