#include "base/stopwatch.h"
#include "base/messages.h"

#include <sys/resource.h>
#include <sys/time.h>

#include <cinttypes>
#include <cstdio>

namespace {

WallTime sampleWall() {
  timeval now{};
  gettimeofday(&now, nullptr);
  return WallTime{static_cast<int64_t>(now.tv_sec), static_cast<int64_t>(now.tv_usec)};
}

double toSeconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1000000.0;
}

}  // namespace

int64_t wallMillisBetween(WallTime start, WallTime stop) {
  return (stop.seconds - start.seconds) * 1000 + (stop.microseconds - start.microseconds) / 1000;
}

StopWatch::StopWatch() { start(); }

void StopWatch::start() {
  startUser_ = currentUserTime();
  startSystem_ = currentSystemTime();
  startWall_ = sampleWall();
}

void StopWatch::stop() {
  stopUser_ = currentUserTime();
  stopSystem_ = currentSystemTime();
  stopWall_ = sampleWall();
  computeElapsed();
}

void StopWatch::reset() {
  elapsedMs_ = 0;
  elapsedSeconds_ = 0.0;
}

void StopWatch::computeElapsed() {
  userElapsed_ = stopUser_ - startUser_;
  systemElapsed_ = stopSystem_ - startSystem_;
  elapsedMs_ = wallMillisBetween(startWall_, stopWall_);
  elapsedSeconds_ = static_cast<double>(elapsedMs_) / 1000.0;
}

double StopWatch::currentUserTime() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0.0;
  return toSeconds(usage.ru_utime);
}

double StopWatch::currentSystemTime() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0.0;
  return toSeconds(usage.ru_stime);
}

int64_t StopWatch::currentWallSeconds() { return sampleWall().seconds; }

void printTimingLine(const char* label, int64_t elapsedMs) {
  printLinef("%s%" PRId64 "ms", label, elapsedMs);
}
