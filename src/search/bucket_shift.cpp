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
int32_t chooseBucketShift(const Edge* edges, int32_t edgeCount) {
  constexpr int32_t kQuantilePercent = 50;
  constexpr int32_t kShiftBelowWidth = 7;
  constexpr int32_t kSamples = 1024;
  if (edgeCount <= 0) return 0;
  int32_t sample[kSamples];
  const int32_t count = std::min(edgeCount, kSamples);
  const int64_t stride = std::max<int64_t>(1, edgeCount / count);
  for (int32_t k = 0; k < count; ++k) sample[k] = edges[k * stride].cost;
  int32_t* const quantile = sample + count * kQuantilePercent / 100;
  std::nth_element(sample, quantile, sample + count);
  const int32_t width = std::bit_width(static_cast<uint32_t>(*quantile));
  return std::max(0, width - kShiftBelowWidth);
}
