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
  fused.release();
}

CanonicalWorkspace::~CanonicalWorkspace() {
  releaseArray(nodes);
  for (int32_t thread = 0; thread < bucketThreads; ++thread) buckets[thread].release();
  releaseArray(buckets);
}

void CanonicalWorkspace::prepare(int32_t count, int32_t threads) {
  const auto size = static_cast<size_t>(std::max(count, 0));
  if (count != nodeCount) {
    releaseArray(nodes);
    nodes = allocateArray<CanonicalNode>(size);
    adviseHugePages(nodes, size * sizeof(CanonicalNode));
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
    for (int64_t node = begin; node < end; ++node) {
      nodes[node] = CanonicalNode{canonical::kUnreachedKey, canonical::kNoChoice};
    }
  }
}

int32_t writeCanonicalAnswer(const CanonicalSearch& search, int64_t costBound,
                             const OverLimitScope& scope, NodeResult* results) {
  const CanonicalNode* nodes = search.workspace->nodes;
  const int32_t count = search.nodeCount;
  int32_t overLimitNode = INT32_MAX;
#pragma omp parallel for num_threads(search.threads) if (search.threads > 1) \
    schedule(static) reduction(min : overLimitNode)
  for (int32_t node = 0; node < count; ++node) {
    const CanonicalNode word = nodes[node];
    if (word.key != canonical::kUnreachedKey &&
        static_cast<int64_t>(canonical::costOf(word.key)) <= costBound) {
      results[node] = NodeResult{canonical::costOf(word.key), canonical::predOf(word.choice)};
      continue;
    }
    results[node] = NodeResult{-1, -1};
    if (scope.everyNode && word.key == canonical::kUnreachedKey &&
        word.choice == canonical::kOverLimitChoice) {
      overLimitNode = std::min(overLimitNode, node);
    }
  }
  if (!scope.everyNode) {
    for (int32_t k = 0; k < scope.targetCount; ++k) {
      const int32_t node = scope.targets[k];
      if (node < 0 || node >= count) continue;
      if (nodes[node].key == canonical::kUnreachedKey &&
          nodes[node].choice == canonical::kOverLimitChoice) {
        overLimitNode = std::min(overLimitNode, node);
      }
    }
  }
  return overLimitNode == INT32_MAX ? -1 : overLimitNode;
}
