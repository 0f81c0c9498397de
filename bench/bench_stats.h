#pragma once

#include <algorithm>
#include <vector>

// Middle value of a benchmark's rounds: robust against the odd slow round on a
// shared machine.
inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}
