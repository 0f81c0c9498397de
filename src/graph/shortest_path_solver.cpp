#include "graph/shortest_path_solver.h"

#include <cstdlib>

#include "base/allocation.h"

ShortestPathSolver::ShortestPathSolver() {
  powersOfTen = allocateArray<int32_t>(10);
  int32_t power = 1;
  for (int k = 0; k < 10; ++k) {
    powersOfTen[k] = power;
    if (k < 9) power *= 10;
  }
}

ShortestPathSolver::~ShortestPathSolver() {
  releaseArray(powersOfTen);
  releaseArray(heapEntries);
  clear();
}

void ShortestPathSolver::clear() {
  std::free(edgeRanges);
  edgeRanges = nullptr;
  std::free(edges);
  edges = nullptr;
  releaseArray(results);
  graphSet = false;
}
