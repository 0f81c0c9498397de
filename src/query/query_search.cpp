#include "query/query_search.h"

// The full heap search, then the nodes past maxCost are taken back to
// unreached: what a search that stops at the limit reports. (A node's
// predecessor never costs more than the node, so every kept path stays whole.)
bool solveWithinLimits(ShortestPathSolver& solver, int32_t source, const SearchLimits& limits) {
  if (!solver.solveHeap(source)) return false;
  if (limits.maxCost >= kMaxCost) return true;
  NodeResult* results = solver.results;
  for (int32_t node = 0; node < solver.searchNodeCount; ++node) {
    if (results[node].cost > limits.maxCost) results[node] = NodeResult{-1, -1};
  }
  return true;
}
