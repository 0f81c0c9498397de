#include <cstdlib>

#include "base/allocation.h"
#include "graph/shortest_path_solver.h"

// A counting sort by source: count each node's edges, turn the counts into
// first positions, then place the edges in file order.
void ShortestPathSolver::regroupEdgesBySource() {
  for (int32_t node = 0; node < nodeCount; ++node) edgeRanges[node] = EdgeRange{-1, 0};
  for (int32_t index = 0; index < edgeCount; ++index) ++edgeRanges[edges[index].from].last;

  // While placing, `last` is the next free position of the node's run.
  int32_t nextFirst = 0;
  for (int32_t node = 0; node < nodeCount; ++node) {
    EdgeRange& range = edgeRanges[node];
    if (range.last == 0) {
      range.last = -1;
      continue;
    }
    const int32_t size = range.last;
    range.first = nextFirst;
    range.last = nextFirst;
    nextFirst += size;
  }

  const size_t bytes = static_cast<size_t>(edgeCount) * sizeof(Edge);
  auto* grouped = static_cast<Edge*>(checkedMalloc(bytes));
  adviseHugePages(grouped, bytes);
  for (int32_t index = 0; index < edgeCount; ++index) {
    const Edge& edge = edges[index];
    grouped[edgeRanges[edge.from].last++] = edge;
  }
  std::free(edges);
  edges = grouped;

  for (int32_t node = 0; node < nodeCount; ++node) {
    if (edgeRanges[node].first != -1) --edgeRanges[node].last;
  }
}
