#pragma once

#include <climits>
#include <cstdint>
#include <functional>
#include <queue>
#include <utility>
#include <vector>

#include "graph/shortest_path_solver.h"

// The baseline of the search benchmarks.

struct Label {
  int32_t cost;  // INT_MAX when unreached
  int32_t pred;
};

// Textbook Dijkstra: a binary heap of (cost, node) pairs, a stale pair skipped
// when it comes out.
inline std::vector<Label> textbookDijkstra(const ShortestPathSolver& graph, int32_t source) {
  std::vector<Label> labels(graph.nodeCount, Label{INT_MAX, -1});
  using Item = std::pair<int32_t, int32_t>;
  std::priority_queue<Item, std::vector<Item>, std::greater<Item>> queue;
  labels[source].cost = 0;
  queue.push({0, source});
  while (!queue.empty()) {
    const auto [cost, node] = queue.top();
    queue.pop();
    if (cost > labels[node].cost) continue;
    const EdgeRange range = graph.edgeRanges[node];
    for (int32_t e = range.first; range.first >= 0 && e <= range.last; ++e) {
      const Edge& edge = graph.edges[e];
      const int32_t sum = cost + edge.cost;
      if (sum < labels[edge.to].cost) {
        labels[edge.to] = Label{sum, node};
        queue.push({sum, edge.to});
      }
    }
  }
  return labels;
}
