// Both searches against independent ones on many small random graphs with
// small costs, so that equal path costs are everywhere.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "search/reference_heap.h"
#include "search/search_graph.h"

namespace {

std::vector<Edge> randomEdges(std::mt19937& engine, int32_t nodeCount) {
  std::vector<Edge> edges;
  for (int32_t from = 0; from < nodeCount; ++from) {
    const int32_t degree = static_cast<int32_t>(engine() % 5);
    for (int32_t k = 0; k < degree; ++k) {
      edges.push_back({from, static_cast<int32_t>(engine() % nodeCount), static_cast<int32_t>(engine() % 4)});
    }
  }
  return edges;
}

// Dijkstra by repeated scans, costs only.
std::vector<int32_t> simpleCosts(int32_t nodeCount, const std::vector<Edge>& edges) {
  std::vector<int32_t> cost(nodeCount, INT_MAX);
  std::vector<bool> done(nodeCount, false);
  cost[0] = 0;
  for (;;) {
    int32_t next = -1;
    for (int32_t v = 0; v < nodeCount; ++v) {
      if (!done[v] && cost[v] != INT_MAX && (next == -1 || cost[v] < cost[next])) next = v;
    }
    if (next == -1) break;
    done[next] = true;
    for (const Edge& edge : edges) {
      if (edge.from == next && cost[next] + edge.cost < cost[edge.to]) cost[edge.to] = cost[next] + edge.cost;
    }
  }
  for (int32_t& c : cost) c = c == INT_MAX ? -1 : c;
  return cost;
}

// The heap search written out with the plain swap-by-swap heap: costs and
// predecessors must match exactly, since the heap's moves fix the ties.
std::vector<NodeResult> referenceHeapSearch(const ShortestPathSolver& solver) {
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
      if (heap.position[edge.to] != -1) {
        if (results[edge.to].cost > sum) {
          results[edge.to] = {sum, u};
          heap.decreaseKey(edge.to, sum);
        }
      } else if (results[edge.to].cost == -1) {
        results[edge.to] = {sum, u};
        heap.push(edge.to, sum);
      }
    }
    heap.position[u] = -1;
  }
  return results;
}

// Every reached node but the source has a reached predecessor with an edge
// that accounts for its cost exactly.
void expectValidPredecessors(const ShortestPathSolver& solver, const std::vector<Edge>& edges) {
  for (int32_t v = 1; v < solver.nodeCount; ++v) {
    const NodeResult result = solver.results[v];
    if (result.cost == -1) {
      EXPECT_EQ(result.pred, -1);
      continue;
    }
    bool found = false;
    for (const Edge& edge : edges) {
      found = found || (edge.from == result.pred && edge.to == v &&
                        solver.results[edge.from].cost + edge.cost == result.cost);
    }
    EXPECT_TRUE(found) << "node " << v << " pred " << result.pred;
  }
}

TEST(SearchAgreement, RandomGraphsWithManyTies) {
  std::mt19937 engine(2024);
  for (int round = 0; round < 300; ++round) {
    const int32_t nodeCount = 1 + static_cast<int32_t>(engine() % 40);
    const std::vector<Edge> edges = randomEdges(engine, nodeCount);
    const std::vector<int32_t> expected = simpleCosts(nodeCount, edges);
    ShortestPathSolver solver;
    setGraph(solver, nodeCount, edges);

    ASSERT_TRUE(solver.solveHeap(0));
    const std::vector<NodeResult> reference = referenceHeapSearch(solver);
    for (int32_t v = 0; v < nodeCount; ++v) {
      ASSERT_EQ(solver.results[v].cost, expected[v]) << "round " << round << " node " << v;
      ASSERT_EQ(solver.results[v].pred, reference[v].pred) << "round " << round << " node " << v;
    }

    ASSERT_TRUE(solver.solveLinear(0));
    for (int32_t v = 0; v < nodeCount; ++v) ASSERT_EQ(solver.results[v].cost, expected[v]);
    expectValidPredecessors(solver, edges);
  }
}

}  // namespace
