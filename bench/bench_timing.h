#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <vector>

// What every benchmark here needs: a clock and the middle of its rounds.

inline std::chrono::steady_clock::time_point benchClock() { return std::chrono::steady_clock::now(); }

inline double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Middle value of a benchmark's rounds: robust against the odd slow round on a
// shared machine.
inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}
