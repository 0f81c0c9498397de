#include <cstdint>
#include <cstring>
#include <limits>

#include "base/allocation.h"
#include "base/stop_request.h"
#include "graph/shortest_path_solver.h"
#include "search/bucket_search.h"
#include "search/heap_layouts.h"
#include "search/heap_search.h"
#include "search/path_limit.h"
#include "search/search_frame.h"
#include "search/search_limits.h"

namespace {

// The stop checks of a limited search, in an instantiation of the heap search
// of their own, so that the whole search pays nothing for them. A limited
// search runs exactly the first steps of the whole one, so every node it
// settles has the whole search's cost and predecessor.
struct LimitStop {
  int64_t maxCost;
  uint64_t* targetBits;  // one bit per node still to settle; nullptr: no targets
  int32_t remaining;     // never reaches 0 while a target lies outside the graph

  bool pastLimit(int32_t key) const { return key > maxCost; }
  bool lastNeeded(int32_t node) {
    if (targetBits == nullptr) return false;
    uint64_t& word = targetBits[node >> 6];
    const uint64_t bit = uint64_t{1} << (node & 63);
    if ((word & bit) == 0) return false;
    word &= ~bit;
    return --remaining == 0;
  }
};

}  // namespace

// The bucket search, or the heap search where the buckets cannot be sure of
// the heap's answer: the heap then starts afresh on the same results array.
bool ShortestPathSolver::solveWhole(int32_t source) {
  return runSearchFrame("\tInit time ....", "\tFind time ....", false, [] {}, [&] {
    if (source < 0 || source >= searchNodeCount) return OverLimitScope{};
    const BucketPlan plan = planBuckets(edges, edgeCount, searchNodeCount);
    if (plan.worthTrying) {
      releaseCanonicalWorkspace();  // one kind of search's arrays at a time
      if (searchByBuckets(edges, edgeCount, edgeRanges, results, searchNodeCount, source, plan.shift)) {
        return OverLimitScope{};
      }
      if (stopRequested()) return OverLimitScope{};
      std::memset(static_cast<void*>(results), 0xFF, sizeof(NodeResult) * static_cast<std::size_t>(searchNodeCount));
    }
    allocateHeapEntries();
    runHeapSearch(source);
    return OverLimitScope{};
  });
}

bool ShortestPathSolver::solveFrom(int32_t source) { return solveWhole(source); }

bool ShortestPathSolver::solveFrom(int32_t source, const SearchLimits& limits) {
  const bool byTargets = limits.targets != nullptr && limits.targetCount > 0;
  const bool byCost = limits.maxCost >= 0;
  if (!byTargets && !byCost) return solveWhole(source);

  LimitStop stop{byCost ? limits.maxCost : std::numeric_limits<int64_t>::max(), nullptr, 0};
  const auto prepare = [&] {
    if (!byTargets) return;
    const auto words = static_cast<std::size_t>(searchNodeCount) / 64 + 1;
    stop.targetBits = allocateArray<uint64_t>(words);
    std::memset(stop.targetBits, 0, words * sizeof(uint64_t));
    bool outsideGraph = false;
    for (int32_t k = 0; k < limits.targetCount; ++k) {
      const int32_t node = limits.targets[k];
      if (node < 0 || node >= searchNodeCount) {
        outsideGraph = true;
        continue;
      }
      uint64_t& word = stop.targetBits[node >> 6];
      const uint64_t bit = uint64_t{1} << (node & 63);
      stop.remaining += (word & bit) == 0 ? 1 : 0;
      word |= bit;
    }
    // Such a target is never settled, like one the source cannot reach.
    if (outsideGraph) ++stop.remaining;
  };
  const bool solved = runSearchFrame("\tInit time ....", "\tFind time ....", true, prepare, [&] {
    if (source >= 0 && source < searchNodeCount) runPackedHeapSearch(source, stop);
    // A skipped sum passed 2147483647, so past any cost bound up to it: the
    // node it led to is then answered (as beyond the bound), not lost. With
    // targets, only a target the search could not reach is a wrong answer;
    // other nodes it leaves unsettled were not asked for.
    if (byCost && limits.maxCost <= kMaxCost) return OverLimitScope{false, nullptr, 0};
    if (byTargets) return OverLimitScope{false, limits.targets, limits.targetCount};
    return OverLimitScope{};
  });
  releaseArray(stop.targetBits);
  return solved;
}
