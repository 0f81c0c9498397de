// Heap search against a textbook Dijkstra (std::priority_queue with lazy
// deletion) on one random graph held in the solver's own arrays, timed side
// by side and interleaved, with the costs of both checked to be identical.
//
//   heap_search_bench [nodes=10000000] [rounds=3] [seed=1]
//
// Node v gets 1 to 5 edges to distinct targets in 1..n-1 with costs 1..10n,
// the shape of the tool's random graphs (about 3n edges).
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>

#include "bench_timing.h"
#include "textbook_dijkstra.h"
#include "base/allocation.h"
#include "graph/shortest_path_solver.h"

namespace {

void buildRandomGraph(ShortestPathSolver& solver, int32_t n, uint32_t seed) {
  std::mt19937 engine(seed);
  std::uniform_int_distribution<int32_t> edgeCountOf(1, 5);
  std::uniform_int_distribution<int32_t> targetOf(1, n - 1);
  std::uniform_int_distribution<int32_t> costOf(1, 10 * n);

  const std::size_t capacity = static_cast<std::size_t>(n) * 5;
  solver.edges = static_cast<Edge*>(checkedMalloc(capacity * sizeof(Edge)));
  solver.edgeRanges = static_cast<EdgeRange*>(checkedMalloc(sizeof(EdgeRange) * n));
  // The loader gives its arrays the same advice.
  adviseHugePages(solver.edges, capacity * sizeof(Edge));
  adviseHugePages(solver.edgeRanges, sizeof(EdgeRange) * n);

  int32_t count = 0;
  int32_t targets[5];
  for (int32_t node = 0; node < n; ++node) {
    const int32_t degree = n > 5 ? edgeCountOf(engine) : 1;
    for (int32_t k = 0; k < degree; ++k) {
      int32_t target;
      bool fresh;
      do {
        target = targetOf(engine);
        fresh = true;
        for (int32_t j = 0; j < k; ++j) fresh = fresh && targets[j] != target;
      } while (!fresh);
      targets[k] = target;
      solver.edges[count + k] = Edge{node, target, costOf(engine)};
    }
    solver.edgeRanges[node] = EdgeRange{count, count + degree - 1};
    count += degree;
  }
  solver.nodeCount = n;
  solver.edgeCount = count;
  solver.graphSet = true;
}

}  // namespace

int main(int argc, char** argv) {
  const int32_t n = argc > 1 ? std::atoi(argv[1]) : 10000000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  const uint32_t seed = argc > 3 ? static_cast<uint32_t>(std::atoi(argv[3])) : 1;
  if (n < 2 || n > 200000000 || rounds < 1) {
    std::fprintf(stderr, "usage: %s [nodes>=2] [rounds>=1] [seed]\n", argv[0]);
    return 2;
  }

  ShortestPathSolver solver;
  auto start = benchClock();
  buildRandomGraph(solver, n, seed);
  std::printf("graph: %d nodes, %d edges, built in %.2f s\n", n, solver.edgeCount,
              secondsSince(start));

  std::vector<double> wallRatios;
  std::vector<double> cpuRatios;
  for (int round = 1; round <= rounds; ++round) {
    start = benchClock();
    double cpuStart = processorSeconds();
    const std::vector<Label> expected = textbookDijkstra(solver, 0);
    const double baseline = secondsSince(start);
    const double baselineCpu = processorSeconds() - cpuStart;

    start = benchClock();
    cpuStart = processorSeconds();
    const bool solved = solver.solveHeap(0);
    const double heap = secondsSince(start);
    const double heapCpu = processorSeconds() - cpuStart;

    if (!solved) {
      std::fprintf(stderr, "solveHeap failed\n");
      return 1;
    }
    int64_t reached = 0;
    for (int32_t node = 0; node < n; ++node) {
      const int32_t expectedCost = expected[node].cost == INT_MAX ? -1 : expected[node].cost;
      if (solver.results[node].cost != expectedCost) {
        std::fprintf(stderr, "cost of node %d differs: heap search %d, textbook %d\n", node,
                     solver.results[node].cost, expectedCost);
        return 1;
      }
      reached += expectedCost != -1;
    }
    wallRatios.push_back(heap / baseline);
    cpuRatios.push_back(heapCpu / baselineCpu);
    std::printf("round %d: wall textbook %.3f s, solveHeap %.3f s, ratio %.3f; "
                "cpu textbook %.3f s, solveHeap %.3f s, ratio %.3f (%lld reached, costs identical)\n",
                round, baseline, heap, heap / baseline, baselineCpu, heapCpu, heapCpu / baselineCpu,
                static_cast<long long>(reached));
    std::fflush(stdout);
  }
  std::printf("median ratio solveHeap / textbook over %d rounds: wall %.3f, cpu %.3f\n", rounds,
              median(wallRatios), median(cpuRatios));
  return 0;
}
