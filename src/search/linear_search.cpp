#include "base/allocation.h"
#include "graph/shortest_path_solver.h"
#include "search/path_limit.h"
#include "search/relax_edge.h"
#include "search/search_frame.h"

bool ShortestPathSolver::solveLinear(int32_t source) {
  int32_t* openFlags = nullptr;
  const auto prepare = [&] {
    openFlags = allocateArray<int32_t>(static_cast<std::size_t>(searchNodeCount));
    for (int32_t node = 0; node < searchNodeCount; ++node) openFlags[node] = 0;
    // A source outside the graph (only a graph without nodes has none)
    // reaches nothing; every node stays unreached.
    if (source >= 0 && source < searchNodeCount) {
      openFlags[source] = 1;
      results[source].cost = 0;
    }
  };
  const bool solved = runSearchFrame("Init time ....", "Find time ....", true, prepare, [&] {
    for (;;) {
      const int32_t node = findCheapestOpen(openFlags);
      if (node == -1) break;
      relaxLinear(node, openFlags);
      openFlags[node] = 0;
    }
    return OverLimitScope{};
  });
  releaseArray(openFlags);
  return solved;
}

int32_t ShortestPathSolver::findCheapestOpen(const int32_t* openFlags) {
  // Starting one above the largest cost lets a node of cost 2147483647 be
  // settled like any other; the heap search settles it too.
  int64_t best = int64_t{kMaxCost} + 1;
  int32_t chosen = -1;
  for (int32_t node = 0; node < searchNodeCount; ++node) {
    const int32_t cost = results[node].cost;
    if (openFlags[node] != 0 && cost != -1 && cost < best) {
      best = cost;
      chosen = node;
    }
  }
  return chosen;
}

void ShortestPathSolver::relaxLinear(int32_t node, int32_t* openFlags) {
  const EdgeRange range = edgeRanges[node];
  if (range.first < 0 || range.first > range.last) return;
  const int64_t base = results[node].cost;
  for (int32_t e = range.first; e <= range.last; ++e) {
    const Edge& edge = edges[e];
    const bool open = openFlags[edge.to] != 0;
    if (relaxEdge(edge, base, results[edge.to], open, skippedPathCount) != -1) openFlags[edge.to] = 1;
  }
}
