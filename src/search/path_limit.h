#pragma once

#include <cstdint>

#include "graph/graph_types.h"

// Path sums are formed in 64 bits, and a sum above 2147483647 relaxes nothing.
// If such a skipped relaxation was the only way to reach its target, calling
// the target unreachable would be a wrong answer, so the search has to fail.
//
// An unreached node has no predecessor, so its pred field is free to remember
// the first skip into it: -2 - (order of that skip). Reaching the node later
// overwrites the mark with a real predecessor.

inline bool sumWithinCostRange(int64_t sum) {
  // Also refuses a negative sum, which only a negative edge cost can produce
  // (no graph file holds one): it would read as "unreached" and be pushed again.
  return static_cast<uint64_t>(sum) <= static_cast<uint64_t>(kMaxCost);
}

inline void markSkippedPath(NodeResult& target, int64_t sum, int32_t& skippedCount) {
  if (sum > kMaxCost && target.cost == -1 && target.pred == -1) {
    target.pred = -2 - skippedCount;
    ++skippedCount;
  }
}

// The nodes whose skip marks can fail a search: a search that settles
// everything it can must answer every node; one that stops early answers
// only what it was asked for (its targets), or nothing that a skipped sum
// could reach (a cost bound no greater than the largest cost).
struct OverLimitScope {
  bool everyNode = true;
  const int32_t* targets = nullptr;  // when not everyNode: only these count
  int32_t targetCount = 0;
};

// Clears every mark (pred back to -1) and returns the node whose skip came
// first among those still unreached, or -1 when every skipped target was
// reached after all.
int32_t clearSkipMarks(NodeResult* results, int32_t count);
