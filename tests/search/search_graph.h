#pragma once

#include <cstdlib>
#include <cstring>
#include <ostream>
#include <vector>

#include "graph/shortest_path_solver.h"

// Puts a graph into the solver the way the loader leaves it: malloc'd edges
// grouped by source, one range per node, {-1, -1} for a node without edges.
inline void setGraph(ShortestPathSolver& solver, int32_t nodeCount, const std::vector<Edge>& edges) {
  solver.clear();
  solver.edges = static_cast<Edge*>(std::malloc(sizeof(Edge) * (edges.size() + 1)));
  const std::size_t rangeCount = nodeCount > 0 ? nodeCount : 1;
  solver.edgeRanges = static_cast<EdgeRange*>(std::malloc(sizeof(EdgeRange) * rangeCount));
  std::memset(static_cast<void*>(solver.edgeRanges), 0xFF, sizeof(EdgeRange) * rangeCount);
  for (std::size_t e = 0; e < edges.size(); ++e) {
    const int32_t index = static_cast<int32_t>(e);
    solver.edges[e] = edges[e];
    EdgeRange& range = solver.edgeRanges[edges[e].from];
    if (range.first == -1) range.first = index;
    range.last = index;
  }
  solver.edgeCount = static_cast<int32_t>(edges.size());
  solver.nodeCount = nodeCount;
  solver.graphSet = true;
}

inline bool operator==(const NodeResult& a, const NodeResult& b) {
  return a.cost == b.cost && a.pred == b.pred;
}

inline void PrintTo(const NodeResult& result, std::ostream* out) {
  *out << "{" << result.cost << ", " << result.pred << "}";
}
