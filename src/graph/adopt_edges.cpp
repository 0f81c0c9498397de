#include <cstddef>

#include "base/allocation.h"
#include "graph/shortest_path_solver.h"

void ShortestPathSolver::adoptEdges(Edge* givenEdges, int32_t givenEdgeCount,
                                    int32_t givenNodeCount) {
  clear();
  edges = givenEdges;
  edgeCount = givenEdgeCount;
  nodeCount = givenNodeCount;
  edgeRanges = static_cast<EdgeRange*>(
      checkedMalloc(static_cast<std::size_t>(givenNodeCount) * sizeof(EdgeRange)));
  regroupEdgesBySource();
  graphSet = true;
}
