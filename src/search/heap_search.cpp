#include <cstdio>

#include "app/stopwatch.h"
#include "graph/shortest_path_solver.h"
#include "search/heap_moves.h"
#include "search/path_limit.h"

namespace {

// The solver's arrays copied into locals for the length of a search: written
// through int32_t fields, the members themselves would have to be reloaded
// after every store the search makes.
struct HeapSearch {
  const Edge* edges;
  const EdgeRange* ranges;
  NodeResult* results;
  HeapEntry* entries;
  int32_t heapSize;
  int32_t skippedCount;

  // The targets' result and position entries are fetched for all edges at
  // once, so their cache misses overlap instead of following each other.
  void prefetchTargets(int32_t first, int32_t last) const {
    for (int32_t e = first; e <= last; ++e) {
      const int32_t target = edges[e].to;
      __builtin_prefetch(&results[target], 1);
      __builtin_prefetch(&entries[target], 1);
    }
  }

  void relax(int32_t node) {
    const EdgeRange range = ranges[node];
    if (range.first < 0 || range.first > range.last) return;
    prefetchTargets(range.first, range.last);
    const int64_t base = results[node].cost;
    for (int32_t e = range.first; e <= range.last; ++e) {
      const Edge& edge = edges[e];
      NodeResult& target = results[edge.to];
      const int64_t sum = base + edge.cost;
      if (!sumWithinCostRange(sum)) {
        markSkippedPath(target, sum, skippedCount);
        continue;
      }
      const int32_t cost = static_cast<int32_t>(sum);
      const int32_t slot = entries[edge.to].position;
      if (slot != -1) {
        // Equal sums leave the first recorded path in place.
        if (target.cost > cost) {
          target.cost = cost;
          target.pred = edge.from;
          riseFrom(entries, slot, edge.to, cost);
        }
      } else if (target.cost == -1) {
        target.cost = cost;
        target.pred = edge.from;
        pushEntry(entries, heapSize, edge.to, cost);
      }
    }
  }

  void run(int32_t source) {
    results[source].cost = 0;
    pushEntry(entries, heapSize, source, 0);
    while (heapSize > 0) {
      const int32_t node = takeMinEntry(entries, heapSize);
      // Settled before its edges are relaxed rather than after: the same for
      // every graph file, and an edge back to the node itself can then never
      // move the slot it no longer owns.
      entries[node].position = -1;
      relax(node);
    }
  }
};

}  // namespace

bool ShortestPathSolver::solveHeap(int32_t source) {
  if (!graphSet) {
    std::fputs("ERROR: Can not solve. Graph is not set.\n", stderr);
    std::fflush(stderr);
    return false;
  }
  StopWatch initWatch;
  initWatch.start();
  initSearch(nodeCount);
  initWatch.stop();

  StopWatch findWatch;
  findWatch.start();
  // A source outside the graph (only a graph without nodes has none) reaches
  // nothing; every node stays unreached.
  if (source >= 0 && source < searchNodeCount) {
    HeapSearch search{edges, edgeRanges, results, heapEntries, heapSize, skippedPathCount};
    search.run(source);
    heapSize = search.heapSize;
    skippedPathCount = search.skippedCount;
  }
  findWatch.stop();

  if (verbose) {
    printTimingLine("\tInit time ....", initWatch.elapsedMs());
    printTimingLine("\tFind time ....", findWatch.elapsedMs());
  }
  if (reportPathOverLimit()) return false;
  solutionSet = true;
  return true;
}

void ShortestPathSolver::relaxHeap(int32_t node) {
  HeapSearch search{edges, edgeRanges, results, heapEntries, heapSize, skippedPathCount};
  search.relax(node);
  heapSize = search.heapSize;
  skippedPathCount = search.skippedCount;
}
