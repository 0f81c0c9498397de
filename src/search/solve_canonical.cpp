#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "base/allocation.h"
#include "graph/shortest_path_solver.h"
#include "search/bucket_search.h"
#include "search/canonical_search.h"
#include "search/path_limit.h"
#include "search/search_frame.h"
#include "search/search_limits.h"
#include "search/search_threads.h"

namespace {

// One bit per target inside the graph; distinct counts them. Null when a
// target lies outside the graph: such a target is never final, like one the
// source cannot reach, so the search runs to its end.
uint64_t* targetBitsOf(const SearchLimits& limits, int32_t nodeCount, int32_t& distinct) {
  distinct = 0;
  if (limits.targets == nullptr || limits.targetCount <= 0) return nullptr;
  for (int32_t k = 0; k < limits.targetCount; ++k) {
    if (limits.targets[k] < 0 || limits.targets[k] >= nodeCount) return nullptr;
  }
  const auto words = static_cast<std::size_t>(nodeCount) / 64 + 1;
  auto* bits = allocateArray<uint64_t>(words);
  std::memset(bits, 0, words * sizeof(uint64_t));
  for (int32_t k = 0; k < limits.targetCount; ++k) {
    const int32_t node = limits.targets[k];
    uint64_t& word = bits[node >> 6];
    const uint64_t bit = uint64_t{1} << (node & 63);
    distinct += (word & bit) == 0 ? 1 : 0;
    word |= bit;
  }
  return bits;
}

// The highest cost among the targets reached; -1 when none is.
int64_t highestTargetCost(const SearchLimits& limits, const CanonicalNode* nodes,
                          int32_t nodeCount) {
  int64_t highest = -1;
  for (int32_t k = 0; k < limits.targetCount; ++k) {
    const int32_t node = limits.targets[k];
    if (node < 0 || node >= nodeCount || nodes[node].key == canonical::kUnreachedKey) continue;
    highest = std::max<int64_t>(highest, canonical::costOf(nodes[node].key));
  }
  return highest;
}

}  // namespace

void ShortestPathSolver::releaseCanonicalWorkspace() {
  delete canonicalWorkspace;
  canonicalWorkspace = nullptr;
}

// A limited search answers what the whole one would for every node it
// answers: the nodes within the cost bound, or with targets, the nodes no
// costlier than the costliest target reached (only the targets are asked for).
bool ShortestPathSolver::solveCanonical(int32_t source, const SearchLimits& limits,
                                        int32_t threads) {
  const bool byTargets = limits.targets != nullptr && limits.targetCount > 0;
  const bool byCost = limits.maxCost >= 0;
  threads = std::clamp(threads, 1, kMostThreadsInASearch);
  std::unique_ptr<uint64_t[]> targetBits;  // freed also when a failure unwinds
  int32_t distinctTargets = 0;
  const auto prepare = [&] {
    // A solver holds the arrays of one kind of search at a time.
    releaseArray(heapEntries);
    if (canonicalWorkspace == nullptr) {
      canonicalWorkspace = new (std::nothrow) CanonicalWorkspace;
      if (canonicalWorkspace == nullptr) failAllocation();
    }
    canonicalWorkspace->prepare(searchNodeCount, threads);
    if (byTargets) targetBits.reset(targetBitsOf(limits, searchNodeCount, distinctTargets));
  };
  const bool solved = runSearchFrame("\tInit time ....", "\tFind time ....", false, prepare, [&] {
    OverLimitScope scope{};
    if (byCost && limits.maxCost <= kMaxCost) scope = OverLimitScope{false, nullptr, 0};
    if (byTargets) scope = OverLimitScope{false, limits.targets, limits.targetCount};
    if (source < 0 || source >= searchNodeCount) return scope;
    const int32_t shift = planBuckets(edges, edgeCount, searchNodeCount).shift;
    const int64_t stopCost = byCost ? std::min<int64_t>(limits.maxCost, kMaxCost) : INT64_MAX;
    const CanonicalSearch search{edges,      edgeRanges,      searchNodeCount, source,
                                 shift,      stopCost,        targetBits.get(), distinctTargets,
                                 threads,    canonicalWorkspace};
    const CanonicalEnd end =
        threads > 1 ? runCanonicalParallel(search) : runCanonicalSequential(search);
    if (end == CanonicalEnd::OutOfMemory) failAllocation();
    if (end == CanonicalEnd::Stopped) return scope;  // the frame answers nothing
    int64_t costBound = byCost ? limits.maxCost : INT64_MAX;
    if (byTargets) {
      costBound = std::min(costBound,
                           highestTargetCost(limits, canonicalWorkspace->nodes, searchNodeCount));
    }
    const int32_t overLimitNode = writeCanonicalAnswer(search, costBound, scope, results);
    if (overLimitNode >= 0) {
      // Reported by the frame as the heap's skipped sums are.
      results[overLimitNode].pred = -2;
      skippedPathCount = 1;
    }
    return scope;
  });
  return solved;
}
