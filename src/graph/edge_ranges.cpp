#include <cstring>

#include "base/allocation.h"
#include "graph/shortest_path_solver.h"

// One pass over the edges in file order. A node whose lines come back after
// another node's stops the pass: regrouping rebuilds every range anyway.
bool ShortestPathSolver::indexEdgeRanges() {
  const size_t bytes = static_cast<size_t>(nodeCount) * sizeof(EdgeRange);
  edgeRanges = static_cast<EdgeRange*>(checkedMalloc(bytes));
  adviseHugePages(edgeRanges, bytes);
  std::memset(edgeRanges, 0xFF, bytes);
  int32_t previousSource = -1;
  for (int32_t index = 0; index < edgeCount; ++index) {
    const int32_t from = edges[index].from;
    if (from == previousSource) continue;
    if (previousSource >= 0) edgeRanges[previousSource].last = index - 1;
    if (edgeRanges[from].first != -1) return false;
    edgeRanges[from].first = index;
    previousSource = from;
  }
  if (previousSource >= 0) edgeRanges[previousSource].last = edgeCount - 1;
  return true;
}
