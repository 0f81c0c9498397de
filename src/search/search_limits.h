#pragma once

#include <cstdint>

// What a caller needs of a search from one source, when not every node: the
// search may stop early, and every node it leaves unsettled reads -1, -1.
struct SearchLimits {
  const int32_t* targets = nullptr;  // when targetCount > 0: stop once all of these are settled
  int32_t targetCount = 0;
  int64_t maxCost = -1;              // when >= 0: settle no node whose cost exceeds it
};
