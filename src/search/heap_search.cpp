#include "search/heap_search.h"

#include "graph/shortest_path_solver.h"
#include "search/heap_layouts.h"
#include "search/path_limit.h"
#include "search/search_frame.h"

bool ShortestPathSolver::solveHeap(int32_t source) {
  return runSearchFrame("\tInit time ....", "\tFind time ....", true, [] {}, [&] {
    runHeapSearch(source);
    return OverLimitScope{};
  });
}

void ShortestPathSolver::runHeapSearch(int32_t source) {
  // A source outside the graph (only a graph without nodes has none) reaches
  // nothing; every node stays unreached.
  if (source < 0 || source >= searchNodeCount) return;
  runPackedHeapSearch(source, NoStop{});
}

void ShortestPathSolver::relaxHeap(int32_t node) {
  HeapSearch<EntryLayout> search{edges, edgeRanges, results, EntryLayout{heapEntries}, heapSize,
                                 skippedPathCount};
  search.relax(node);
  heapSize = search.heapSize;
  skippedPathCount = search.skippedCount;
}
