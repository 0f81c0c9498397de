#include <algorithm>
#include <bit>
#include <cstdint>

#include "search/bucket_search.h"

// A bucket a sixty-fourth to a hundred-and-twenty-eighth of the median edge
// cost wide: nodes met within one bucket seldom improve each other, so each
// is relaxed about once, and most edges from a bucket land within the next
// two hundred buckets. The median of a sample of the costs rather than the
// largest cost, so that a few huge costs among many small ones do not make
// the buckets so wide that one holds most of the graph.
//
// With costs that small against the node count and the edges into a node,
// two equally cheap in-neighbours of one node are all but certain: each of
// the nodes has about d^2 pairs of in-edges (d edges per node), each pair
// tying with odds that fall with the square of the cost range. The buckets
// would only find that out, part way through, before the heap starts anyway:
// on a road-like grid (d = 4, costs to 1000) and a power-law graph (d = 30,
// costs to 255) they gave up after costing a twentieth of the heap's time.
BucketPlan planBuckets(const Edge* edges, int32_t edgeCount, int32_t nodeCount) {
  constexpr int32_t kSamples = 1024;
  constexpr int32_t kShiftBelowWidth = 7;
  if (edgeCount <= 0) return BucketPlan{0, true};
  int32_t sample[kSamples];
  const int32_t count = std::min(edgeCount, kSamples);
  const int64_t stride = std::max<int64_t>(1, edgeCount / count);
  for (int32_t k = 0; k < count; ++k) sample[k] = edges[k * stride].cost;
  int32_t* const middle = sample + count / 2;
  std::nth_element(sample, middle, sample + count);
  const int64_t median = *middle;
  const int32_t width = std::bit_width(static_cast<uint32_t>(median));
  const double perNode = static_cast<double>(edgeCount) / std::max(nodeCount, 1);
  const double tiePairs = static_cast<double>(nodeCount) * std::max(perNode * perNode, 1.0) / 64;
  const bool tiesAllButCertain = tiePairs > static_cast<double>((median + 1) * (median + 1));
  return BucketPlan{std::max(0, width - kShiftBelowWidth), !tiesAllButCertain};
}
