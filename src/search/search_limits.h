#pragma once

#include <cstdint>

// Where a search from one source may stop early: once every target is
// settled, and before settling any node past maxCost.
struct SearchLimits {
  const int32_t* targets = nullptr;
  int32_t targetCount = 0;
  int64_t maxCost = INT64_MAX;
};
