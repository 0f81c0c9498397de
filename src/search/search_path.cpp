#include "search/search_path.h"

#include <algorithm>

void pathTo(const ShortestPathSolver& solver, int32_t source, int32_t target,
            std::vector<int32_t>& path) {
  path.clear();
  const NodeResult* results = solver.results;
  if (results[target].cost < 0) return;
  // Back along the predecessors; a chain is never longer than the node count.
  for (int32_t node = target;
       node != -1 && path.size() <= static_cast<size_t>(solver.searchNodeCount);
       node = node == source ? -1 : results[node].pred) {
    path.push_back(node);
  }
  std::reverse(path.begin(), path.end());
}
