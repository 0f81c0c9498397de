// Both searches against an independent Dijkstra on many small random graphs
// with small costs, so that equal path costs are everywhere. Which of equal
// paths a search records is pinned by the hand-made cases; here each
// predecessor only has to account for its node's cost through an edge.
#include <gtest/gtest.h>

#include <functional>
#include <queue>
#include <random>
#include <utility>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "search/search_graph.h"

namespace {

std::vector<int32_t> referenceCosts(int32_t nodeCount, const std::vector<Edge>& edges) {
  std::vector<int32_t> cost(nodeCount, -1);
  std::priority_queue<std::pair<int32_t, int32_t>, std::vector<std::pair<int32_t, int32_t>>, std::greater<>> open;
  open.push({0, 0});
  while (!open.empty()) {
    const auto [reached, node] = open.top();
    open.pop();
    if (cost[node] != -1) continue;
    cost[node] = reached;
    for (const Edge& edge : edges) {
      if (edge.from == node && cost[edge.to] == -1) open.push({reached + edge.cost, edge.to});
    }
  }
  return cost;
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
    const std::vector<int32_t> expected = referenceCosts(nodeCount, edges);
    ShortestPathSolver solver;
    loadEdges(solver, edges);
    for (const bool heap : {true, false}) {
      ASSERT_TRUE(heap ? solver.solveHeap(0) : solver.solveLinear(0));
      for (int32_t v = 0; v < solver.nodeCount; ++v) {
        const NodeResult result = solver.results[v];
        SCOPED_TRACE(testing::Message() << "round " << round << (heap ? " heap" : " linear") << " node " << v);
        ASSERT_EQ(result.cost, expected[v]);
        bool explained = v == 0 || result.cost == -1 ? result.pred == -1 : false;
        for (const Edge& edge : edges) {
          explained = explained || (v != 0 && edge.from == result.pred && edge.to == v &&
                                    expected[edge.from] + edge.cost == result.cost);
        }
        ASSERT_TRUE(explained);
      }
    }
  }
}

}  // namespace
