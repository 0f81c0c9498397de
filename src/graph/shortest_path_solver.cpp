#include "graph/shortest_path_solver.h"

#include <sys/mman.h>

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
  releaseCanonicalWorkspace();
  clear();
}

void ShortestPathSolver::releaseGraphArrays() {
  if (mapping.address != nullptr) {
    ::munmap(mapping.address, mapping.length);
  } else if (!graphShared) {
    std::free(edgeRanges);
    std::free(edges);
  }
  mapping = GraphMapping{};
  graphShared = false;
  edgeRanges = nullptr;
  edges = nullptr;
}

void ShortestPathSolver::clear() {
  releaseGraphArrays();
  releaseArray(results);
  graphSet = false;
}

void ShortestPathSolver::shareGraph(const ShortestPathSolver& owner) {
  clear();
  edges = owner.edges;
  edgeRanges = owner.edgeRanges;
  edgeCount = owner.edgeCount;
  nodeCount = owner.nodeCount;
  graphSet = owner.graphSet;
  graphShared = true;
}
