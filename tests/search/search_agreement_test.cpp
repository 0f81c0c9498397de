// Both searches against an independent Dijkstra on many small random graphs
// with small costs, so that equal path costs are everywhere.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "search/search_graph.h"

namespace {

// The heap's movement rules written out the plain way, swap by swap: strict
// comparisons, the left child on equal keys.
struct ReferenceHeap {
  std::vector<int32_t> position, node, key;

  explicit ReferenceHeap(int32_t count) : position(count, -1) {}
  int32_t size() const { return static_cast<int32_t>(node.size()); }
  void swapSlots(int32_t s, int32_t t) {
    std::swap(node[s], node[t]);
    std::swap(key[s], key[t]);
    position[node[s]] = s;
    position[node[t]] = t;
  }
  void siftUp(int32_t s) {
    for (; s > 0 && key[(s - 1) / 2] > key[s]; s = (s - 1) / 2) swapSlots(s, (s - 1) / 2);
  }
  void pushOrDecrease(int32_t v, int32_t k) {
    if (position[v] == -1) {
      node.push_back(v);
      key.push_back(k);
      position[v] = size() - 1;
    }
    key[position[v]] = k;
    siftUp(position[v]);
  }
  int32_t popMin() {
    const int32_t v = node[0];
    swapSlots(0, size() - 1);
    node.pop_back();
    key.pop_back();
    for (int32_t c = 0, child = 1; child < size(); c = child, child = 2 * c + 1) {
      if (child + 1 < size() && key[child + 1] < key[child]) ++child;
      if (!(key[child] < key[c])) break;
      swapSlots(c, child);
    }
    position[v] = -1;
    return v;
  }
};

// Dijkstra over the plain heap. The heap search must match it exactly,
// predecessors included, since the heap's moves decide the ties.
std::vector<NodeResult> referenceSearch(const ShortestPathSolver& solver) {
  std::vector<NodeResult> results(solver.nodeCount, NodeResult{-1, -1});
  ReferenceHeap heap(solver.nodeCount);
  results[0].cost = 0;
  heap.pushOrDecrease(0, 0);
  while (heap.size() > 0) {
    const int32_t u = heap.popMin();
    const EdgeRange range = solver.edgeRanges[u];
    for (int32_t e = range.first; range.first >= 0 && e <= range.last; ++e) {
      const Edge& edge = solver.edges[e];
      const int32_t sum = results[u].cost + edge.cost;
      const bool inHeap = heap.position[edge.to] != -1;
      if ((inHeap && results[edge.to].cost > sum) || (!inHeap && results[edge.to].cost == -1)) {
        results[edge.to] = {sum, u};
        heap.pushOrDecrease(edge.to, sum);
      }
    }
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
