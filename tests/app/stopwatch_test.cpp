#include "app/stopwatch.h"

#include <gtest/gtest.h>

namespace {

TEST(StopWatch, FreshWatchReportsZero) {
  StopWatch watch;
  EXPECT_EQ(watch.elapsedMs(), 0);
  EXPECT_EQ(watch.elapsedSeconds(), 0.0);
}

TEST(StopWatch, MicrosecondDifferenceIsDividedWithoutBorrow) {
  EXPECT_EQ(wallMillisBetween({10, 999999}, {11, 500}), 1);
  EXPECT_EQ(wallMillisBetween({10, 500}, {10, 1499}), 0);
  EXPECT_EQ(wallMillisBetween({10, 0}, {11, 500000}), 1500);
  // A clock set back gives a negative figure.
  EXPECT_EQ(wallMillisBetween({20, 0}, {19, 0}), -1000);
}

TEST(StopWatch, ElapsedSecondsFollowMilliseconds) {
  StopWatch watch;
  watch.setWallSamples({10, 0}, {11, 500000});
  EXPECT_EQ(watch.elapsedMs(), 1500);
  EXPECT_DOUBLE_EQ(watch.elapsedSeconds(), 1.5);
  watch.reset();
  EXPECT_EQ(watch.elapsedMs(), 0);
  EXPECT_EQ(watch.elapsedSeconds(), 0.0);
}

TEST(StopWatch, MeasuresRealTime) {
  StopWatch watch;
  watch.start();
  volatile double sink = 0;
  for (int i = 0; i < 1000; ++i) sink = sink + StopWatch::currentUserTime() * 0.0;
  watch.stop();
  EXPECT_GE(watch.elapsedMs(), 0);
  EXPECT_GE(watch.userElapsed(), 0.0);
  EXPECT_GT(StopWatch::currentWallSeconds(), 1700000000);
}

TEST(StopWatch, TimingLineForm) {
  testing::internal::CaptureStderr();
  printTimingLine("Solve time ...", 0);
  printTimingLine("\tInit time ....", 12);
  printTimingLine("Load time ....", -3);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Solve time ...0ms\n\tInit time ....12ms\nLoad time ....-3ms\n");
}

}  // namespace
