#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

// Middle value of a benchmark's rounds: robust against the odd slow round on a
// shared machine.
inline double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}
