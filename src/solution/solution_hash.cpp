#include "graph/shortest_path_solver.h"

// Only costs enter the checksum. Node 0 is the source in every computed
// solution (cost 0), so the walk starts at label 1, which also keeps the
// divisor positive. The running sum is formed in 64 bits so the value stays
// defined beyond 2^30 nodes, where h + (c mod i) no longer fits in 32 bits.
int32_t ShortestPathSolver::solutionHash() {
  if (!solutionSet) return -1;
  const int32_t count = searchNodeCount;
  if (count <= 0) return 0;
  int64_t hash = 0;
  for (int32_t label = 1; label < count; ++label) {
    const int32_t cost = results[label].cost;
    if (cost > 0) hash = (hash + cost % label) % count;
  }
  return static_cast<int32_t>(hash);
}
