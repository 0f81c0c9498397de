#pragma once

#include <cstdint>

#include "base/stop_request.h"
#include "graph/graph_types.h"
#include "graph/shortest_path_solver.h"
#include "search/heap_layouts.h"
#include "search/heap_moves.h"
#include "search/relax_edge.h"

// A whole search: it ends when the heap is empty.
struct NoStop {
  static constexpr bool pastLimit(int32_t) { return false; }
  static constexpr bool lastNeeded(int32_t) { return false; }
};

// The heap search over the solver's arrays, copied into locals for the length
// of a search: written through int32_t fields, the members themselves would
// have to be reloaded after every store the search makes. Stop decides when a
// search that needs only part of the graph may end (NoStop: never early).
template <typename Layout, typename Stop = NoStop>
struct HeapSearch {
  const Edge* edges;
  const EdgeRange* ranges;
  NodeResult* results;
  Layout heap;
  int32_t heapSize;
  int32_t skippedCount;
  Stop stop{};
  StopCheck stopCheck{};

  // The targets' result and position entries are fetched for all edges at
  // once, so their cache misses overlap instead of following each other.
  // (Forced inline, or GCC 12 drops the prefetch-only call as having no effect.)
  [[gnu::always_inline]] void prefetchTargets(int32_t node) const {
    const EdgeRange range = ranges[node];
    for (int32_t e = range.first; range.first >= 0 && e <= range.last; ++e) {
      const int32_t target = edges[e].to;
      __builtin_prefetch(&results[target], 1);
      __builtin_prefetch(heap.positionAddress(target), 1);
    }
  }

  // Every node costs a chain of dependent misses: its range, then its edges,
  // then its targets. The heap tells early which nodes come next: after a
  // pop, the top is the next node, slots 1 and 2 hold the one after it, and
  // slots 3 to 6 the one after that (a relaxation seldom undercuts them). So
  // the chain is walked ahead in stages, one link per pop: ranges three pops
  // ahead, edges two ahead, targets one ahead, and once more for the node
  // that is really taken, which then costs little when the guess was right.
  [[gnu::always_inline]] void prefetchNextNodes() const {
    if (heapSize > 0) prefetchTargets(heap.node(0));
    for (int32_t slot = 1; slot <= 2 && slot < heapSize; ++slot) {
      const EdgeRange later = ranges[heap.node(slot)];
      if (later.first >= 0) {
        __builtin_prefetch(&edges[later.first]);
        __builtin_prefetch(&edges[later.last]);
      }
    }
    for (int32_t slot = 3; slot <= 6 && slot < heapSize; ++slot) {
      __builtin_prefetch(&ranges[heap.node(slot)]);
    }
  }

  void relax(int32_t node) {
    const EdgeRange range = ranges[node];
    if (range.first < 0 || range.first > range.last) return;
    const int64_t base = results[node].cost;
    for (int32_t e = range.first; e <= range.last; ++e) {
      const Edge& edge = edges[e];
      const int32_t slot = heap.position(edge.to);
      const int32_t cost = relaxEdge(edge, base, results[edge.to], slot != -1, skippedCount);
      if (cost == -1) continue;
      if (slot != -1) {
        riseFrom(heap, slot, edge.to, cost);
      } else {
        pushEntry(heap, heapSize, edge.to, cost);
      }
    }
  }

  void run(int32_t source) {
    results[source].cost = 0;
    pushEntry(heap, heapSize, source, 0);
    while (heapSize > 0) {
      if (stop.pastLimit(heap.key(0)) || stopCheck.due()) return;
      const int32_t node = heap.node(0);
      prefetchTargets(node);
      takeMinEntry(heap, heapSize);
      // Settled before its edges are relaxed rather than after: the same for
      // every graph file, and an edge back to the node itself can then never
      // move the slot it no longer owns.
      heap.setPosition(node, -1);
      prefetchNextNodes();
      if (stop.lastNeeded(node)) return;
      relax(node);
    }
  }

  // After an early stop: the nodes still in the heap were reached but not
  // settled, so they read as unreached.
  void forgetOpenNodes() {
    for (int32_t slot = 0; slot < heapSize; ++slot) {
      const int32_t node = heap.node(slot);
      results[node] = NodeResult{-1, -1};
    }
    heapSize = 0;
  }
};

// The heap search from source (inside the graph) over the solver's search
// arrays, laid out its own way. Nodes an early stop leaves in the heap read
// as unreached; a whole search ends with the heap empty.
template <typename Stop>
void ShortestPathSolver::runPackedHeapSearch(int32_t source, Stop stop) {
  HeapSearch<PackedLayout, Stop> search{edges,    edgeRanges, results,
                                        PackedLayout::over(heapEntries, searchNodeCount),
                                        heapSize, skippedPathCount, stop};
  search.run(source);
  search.forgetOpenNodes();
  heapSize = search.heapSize;
  skippedPathCount = search.skippedCount;
}
