#pragma once

#include <cstdint>

#include "graph/graph_types.h"
#include "search/path_limit.h"

// The relaxation rule both searches share, so that they cannot drift apart.
// `open` tells whether the target is reached and not yet settled. Returns the
// target's new cost when the edge gave it a first or a strictly cheaper path
// (cost and pred then already written), or -1 when the edge changes nothing.
// Equal sums leave the first recorded path in place.
inline int32_t relaxEdge(const Edge& edge, int64_t base, NodeResult& target, bool open,
                         int32_t& skippedCount) {
  const int64_t sum = base + edge.cost;
  if (!sumWithinCostRange(sum)) {
    markSkippedPath(target, sum, skippedCount);
    return -1;
  }
  const auto cost = static_cast<int32_t>(sum);
  if (open ? target.cost <= cost : target.cost != -1) return -1;
  target.cost = cost;
  target.pred = edge.from;
  return cost;
}
