#pragma once

#include <cstdint>

#include "graph/graph_types.h"

// Buckets hold costs c with equal c >> shift; both chosen from a sample of
// the edge costs (bucket_plan.cpp). worthTrying is false when the costs are
// so small that the heap will have to decide anyway.
struct BucketPlan {
  int32_t shift;
  bool worthTrying;
};
BucketPlan planBuckets(const Edge* edges, int32_t edgeCount, int32_t nodeCount);

// The whole search from one source by cost ranges (bucket_search.cpp). Fills
// results (all -1 on entry) with exactly what the heap search would, and
// returns true; or returns false when it cannot be sure of that, leaving
// results to be reset and the heap search to be run instead.
bool searchByBuckets(const Edge* edges, int32_t edgeCount, const EdgeRange* ranges,
                     NodeResult* results, int32_t nodeCount, int32_t source, int32_t shift);
