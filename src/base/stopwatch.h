#pragma once

#include <cstdint>
#include <type_traits>

// A wall-clock instant as gettimeofday gives it.
struct WallTime {
  int64_t seconds;
  int64_t microseconds;
};

// Whole milliseconds from start to stop. The microsecond difference is divided
// as it is, without borrowing a second, truncating toward zero.
int64_t wallMillisBetween(WallTime start, WallTime stop);

// Times one step of a run. Construction counts as a start.
class StopWatch {
 public:
  StopWatch();

  void start();
  void stop();
  void reset();

  int64_t elapsedMs() const { return elapsedMs_; }
  double elapsedSeconds() const { return elapsedSeconds_; }
  double userElapsed() const { return userElapsed_; }
  double systemElapsed() const { return systemElapsed_; }

  static double currentUserTime();
  static double currentSystemTime();
  static int64_t currentWallSeconds();

 private:
  WallTime startWall_{};
  WallTime stopWall_{};
  double startUser_ = 0.0;
  double stopUser_ = 0.0;
  double startSystem_ = 0.0;
  double stopSystem_ = 0.0;
  int64_t elapsedMs_ = 0;
  double elapsedSeconds_ = 0.0;
  double userElapsed_ = 0.0;
  double systemElapsed_ = 0.0;

  void computeElapsed();
};

// Writes "<label><ms>ms\n" to standard error and flushes it.
void printTimingLine(const char* label, int64_t elapsedMs);

// One step of a run: times step() and, in verbose mode, prints its timing
// line right after it. Returns what the step returns.
template <typename Step>
auto timedStep(bool verbose, const char* label, Step&& step) {
  StopWatch watch;
  if constexpr (std::is_void_v<std::invoke_result_t<Step>>) {
    step();
    watch.stop();
    if (verbose) printTimingLine(label, watch.elapsedMs());
  } else {
    auto result = step();
    watch.stop();
    if (verbose) printTimingLine(label, watch.elapsedMs());
    return result;
  }
}
