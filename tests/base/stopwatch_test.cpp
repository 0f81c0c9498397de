#include "base/stopwatch.h"

#include <gtest/gtest.h>

namespace {

TEST(StopWatch, ElapsedTimeFromWallSamples) {
  EXPECT_EQ(StopWatch().elapsedMs(), 0);
  // The microsecond difference is divided without borrowing a second.
  EXPECT_EQ(wallMillisBetween({10, 999999}, {11, 500}), 1);
  EXPECT_EQ(wallMillisBetween({10, 500}, {10, 1499}), 0);
  EXPECT_EQ(wallMillisBetween({20, 0}, {19, 0}), -1000);  // a clock set back
}

}  // namespace
