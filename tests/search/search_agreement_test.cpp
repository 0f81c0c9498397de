// Both searches against an independent Dijkstra on many small random graphs
// with small costs, so that equal path costs are everywhere.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "search/reference_heap.h"
#include "search/search_graph.h"

namespace {

// Dijkstra over the plain swap-by-swap heap. The heap search must match it
// exactly, predecessors included, since the heap's moves decide the ties.
std::vector<NodeResult> referenceSearch(const ShortestPathSolver& solver) {
  std::vector<NodeResult> results(solver.nodeCount, NodeResult{-1, -1});
  ReferenceHeap heap(solver.nodeCount);
  results[0].cost = 0;
  heap.push(0, 0);
  while (heap.size() > 0) {
    const int32_t u = heap.popMin();
    const EdgeRange range = solver.edgeRanges[u];
    for (int32_t e = range.first; range.first >= 0 && e <= range.last; ++e) {
      const Edge& edge = solver.edges[e];
      const int32_t sum = results[u].cost + edge.cost;
      const bool inHeap = heap.position[edge.to] != -1;
      if ((inHeap && results[edge.to].cost > sum) || (!inHeap && results[edge.to].cost == -1)) {
        results[edge.to] = {sum, u};
        inHeap ? heap.decreaseKey(edge.to, sum) : heap.push(edge.to, sum);
      }
    }
    heap.position[u] = -1;
  }
  return results;
}

TEST(SearchAgreement, RandomGraphsWithManyTies) {
  std::mt19937 engine(2024);
  for (int round = 0; round < 300; ++round) {
    const int32_t nodeCount = 1 + static_cast<int32_t>(engine() % 40);
    std::vector<Edge> edges;
    for (int32_t from = 0; from < nodeCount; ++from) {
      for (uint32_t k = engine() % 5; k > 0; --k) {
        edges.push_back({from, static_cast<int32_t>(engine() % nodeCount), static_cast<int32_t>(engine() % 4)});
      }
    }
    ShortestPathSolver solver;
    setGraph(solver, nodeCount, edges);
    const std::vector<NodeResult> expected = referenceSearch(solver);

    ASSERT_TRUE(solver.solveHeap(0));
    for (int32_t v = 0; v < nodeCount; ++v) ASSERT_EQ(solver.results[v], expected[v]) << round << ": " << v;

    // The linear search breaks ties its own way: same costs, and each
    // predecessor has an edge that accounts for the cost exactly.
    ASSERT_TRUE(solver.solveLinear(0));
    for (int32_t v = 0; v < nodeCount; ++v) {
      const NodeResult result = solver.results[v];
      ASSERT_EQ(result.cost, expected[v].cost) << round << ": " << v;
      bool explained = v == 0 ? result.pred == -1 : result.cost == -1 && result.pred == -1;
      for (const Edge& edge : edges) {
        explained = explained || (v != 0 && edge.from == result.pred && edge.to == v &&
                                  solver.results[edge.from].cost + edge.cost == result.cost);
      }
      ASSERT_TRUE(explained) << round << ": " << v;
    }
  }
}

}  // namespace
