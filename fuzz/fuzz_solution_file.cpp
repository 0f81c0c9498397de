// Solution file bytes through the reader, the comparison with a computed
// solution, and the checksum of the file.
#include <cstdint>
#include <cstdlib>

#include "fuzz_input_file.h"
#include "base/allocation.h"
#include "graph/shortest_path_solver.h"
#include "solution/loaded_solution.h"

namespace {

// A small graph with ties, an unreachable node and parallel edges, so that
// comparisons reach every check.
void loadReferenceGraph(ShortestPathSolver& solver) {
  static const Edge kEdges[] = {{0, 2, 1}, {0, 1, 1}, {0, 4, 7}, {1, 3, 1}, {1, 3, 1},
                                {2, 3, 1}, {2, 4, 2}, {3, 5, 4}, {4, 5, 3}, {5, 1, 0}};
  constexpr int32_t kNodes = 7;  // node 6 is unreachable
  constexpr int32_t kEdgeCount = sizeof(kEdges) / sizeof(kEdges[0]);
  solver.clear();
  solver.edges = static_cast<Edge*>(checkedMalloc(sizeof(kEdges)));
  solver.edgeRanges = static_cast<EdgeRange*>(checkedMalloc(sizeof(EdgeRange) * kNodes));
  for (int32_t v = 0; v < kNodes; ++v) solver.edgeRanges[v] = {-1, -1};
  for (int32_t i = 0; i < kEdgeCount; ++i) {
    solver.edges[i] = kEdges[i];
    EdgeRange& range = solver.edgeRanges[kEdges[i].from];
    if (range.first < 0) range.first = i;
    range.last = i;
  }
  solver.edgeCount = kEdgeCount;
  solver.nodeCount = kNodes;
  solver.graphSet = true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = writeFuzzInput(data, size);

  ShortestPathSolver solver;
  loadReferenceGraph(solver);
  if (!solver.solveHeap(0)) std::abort();
  LoadedSolution record;
  if (solver.loadSolution(path.c_str(), solver.nodeCount, record) != nullptr) {
    if (!solver.solutionLoaded || record.count < 0) std::abort();
    solver.compareSolution(record);
  }

  ShortestPathSolver hasher;
  if (hasher.runHashFromFile(path.c_str())) {
    const int32_t hash = hasher.solutionHash();
    if (hash < 0 || (hasher.searchNodeCount > 0 && hash >= hasher.searchNodeCount)) std::abort();
  }
  return 0;
}
