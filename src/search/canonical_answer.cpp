#include <omp.h>

#include <algorithm>
#include <cstring>

#include "base/allocation.h"
#include "search/canonical_search.h"
#include "search/path_limit.h"

void CanonicalBuckets::clear() {
  for (ItemList& slot : slots) slot.size = 0;
  far.size = 0;
  farFirst = INT64_MAX;
  slotItems = 0;
  outOfMemory = false;
}

void CanonicalBuckets::release() {
  for (ItemList& slot : slots) slot.release();
  far.release();
  gathered.release();
}

CanonicalWorkspace::~CanonicalWorkspace() {
  releaseArray(keys);
  releaseArray(choices);
  for (int32_t thread = 0; thread < bucketThreads; ++thread) buckets[thread].release();
  releaseArray(buckets);
}

void CanonicalWorkspace::prepare(int32_t count, int32_t threads) {
  const auto size = static_cast<size_t>(std::max(count, 0));
  if (count != nodeCount) {
    releaseArray(keys);
    releaseArray(choices);
    keys = allocateArray<uint64_t>(size);
    adviseHugePages(keys, size * sizeof(uint64_t));
    choices = allocateArray<uint64_t>(size);
    adviseHugePages(choices, size * sizeof(uint64_t));
    nodeCount = count;
  }
  if (threads > bucketThreads) {
    for (int32_t thread = 0; thread < bucketThreads; ++thread) buckets[thread].release();
    releaseArray(buckets);
    buckets = allocateArray<CanonicalBuckets>(static_cast<size_t>(threads));
    bucketThreads = threads;
  }
  // Every key unreached, every choice none. The threads of a search
  // share the first touch of a fresh array, most of its cost.
  const auto total = static_cast<int64_t>(size);
#pragma omp parallel num_threads(threads) if (threads > 1 && total >= (int64_t{1} << 16))
  {
    const int64_t team = omp_get_num_threads();
    const int64_t thread = omp_get_thread_num();
    const int64_t begin = total * thread / team;
    const int64_t end = total * (thread + 1) / team;
    std::fill(keys + begin, keys + end, canonical::kUnreachedKey);
    std::fill(choices + begin, choices + end, canonical::kNoChoice);
  }
}

int32_t writeCanonicalAnswer(const CanonicalSearch& search, int64_t costBound,
                             const OverLimitScope& scope, NodeResult* results) {
  const uint64_t* keys = search.workspace->keys;
  const uint64_t* choices = search.workspace->choices;
  const int32_t count = search.nodeCount;
  int32_t overLimitNode = INT32_MAX;
#pragma omp parallel for num_threads(search.threads) if (search.threads > 1) \
    schedule(static) reduction(min : overLimitNode)
  for (int32_t node = 0; node < count; ++node) {
    const uint64_t key = keys[node];
    if (key != canonical::kUnreachedKey && static_cast<int64_t>(canonical::costOf(key)) <= costBound) {
      results[node] = NodeResult{canonical::costOf(key), canonical::predOf(choices[node])};
      continue;
    }
    results[node] = NodeResult{-1, -1};
    if (scope.everyNode && key == canonical::kUnreachedKey &&
        choices[node] == canonical::kOverLimitChoice) {
      overLimitNode = std::min(overLimitNode, node);
    }
  }
  if (!scope.everyNode) {
    for (int32_t k = 0; k < scope.targetCount; ++k) {
      const int32_t node = scope.targets[k];
      if (node < 0 || node >= count) continue;
      if (keys[node] == canonical::kUnreachedKey && choices[node] == canonical::kOverLimitChoice) {
        overLimitNode = std::min(overLimitNode, node);
      }
    }
  }
  return overLimitNode == INT32_MAX ? -1 : overLimitNode;
}
