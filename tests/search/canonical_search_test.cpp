// The canonical tie order against a deliberately slow model of its rule, on
// thousands of small tie-heavy graphs, at 1, 2 and 4 threads: costs,
// predecessors and paths must be the model's, and the costs the heap's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <queue>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "search/search_limits.h"
#include "search/search_graph.h"
#include "search/search_path.h"

namespace {

struct Model {
  std::vector<NodeResult> results;
  std::vector<int64_t> hops;
  int32_t overLimitNode = -1;  // least node that only a sum past the largest cost reaches
};

// Lexicographic (cost, hops) Dijkstra, then for each node a scan of all
// edges for its tight in-neighbours, the least (cost, hops, number) chosen.
Model modelOf(const std::vector<Edge>& edges, int32_t n, int32_t source) {
  const int64_t kUnreached = INT64_MAX;
  std::vector<std::vector<Edge>> out(n), in(n);
  for (const Edge& edge : edges) {
    out[edge.from].push_back(edge);
    in[edge.to].push_back(edge);
  }
  std::vector<int64_t> cost(n, kUnreached), hops(n, kUnreached);
  std::vector<bool> done(n, false);
  using Entry = std::tuple<int64_t, int64_t, int32_t>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
  cost[source] = 0;
  hops[source] = 0;
  queue.emplace(0, 0, source);
  while (!queue.empty()) {
    const auto [c, h, u] = queue.top();
    queue.pop();
    if (done[u]) continue;
    done[u] = true;
    for (const Edge& edge : out[u]) {
      const int64_t sum = c + edge.cost;
      if (sum > 2147483647) continue;
      if (std::make_pair(sum, h + 1) < std::make_pair(cost[edge.to], hops[edge.to])) {
        cost[edge.to] = sum;
        hops[edge.to] = h + 1;
        queue.emplace(sum, h + 1, edge.to);
      }
    }
  }
  Model model;
  model.hops = hops;
  model.results.assign(n, NodeResult{-1, -1});
  for (int32_t v = 0; v < n; ++v) {
    if (cost[v] == kUnreached) continue;
    model.results[v].cost = static_cast<int32_t>(cost[v]);
    if (v == source) continue;
    std::tuple<int64_t, int64_t, int32_t> best{kUnreached, kUnreached, -1};
    for (const Edge& edge : in[v]) {
      const int32_t u = edge.from;
      if (u == v || cost[u] == kUnreached || cost[u] + edge.cost != cost[v]) continue;
      best = std::min(best, std::make_tuple(cost[u], hops[u], u));
    }
    model.results[v].pred = std::get<2>(best);
  }
  for (const Edge& edge : edges) {
    if (cost[edge.from] != kUnreached && cost[edge.to] == kUnreached &&
        cost[edge.from] + edge.cost > 2147483647 &&
        (model.overLimitNode == -1 || edge.to < model.overLimitNode)) {
      model.overLimitNode = edge.to;
    }
  }
  return model;
}

std::vector<Edge> tieHeavyGraph(std::mt19937& engine, int round, int32_t& n) {
  const int32_t costRanges[] = {0, 1, 3, 3, 10, 1000};
  n = 1 + static_cast<int32_t>(engine() % (round % 20 == 0 ? 1500 : round % 4 == 0 ? 200 : 12));
  const int32_t costRange = costRanges[round % 6];
  const bool nearLimit = round % 13 == 0;  // so that sums pass 2147483647
  std::vector<Edge> edges;
  for (int32_t k = static_cast<int32_t>(engine() % (4 * n + 1)); k > 0; --k) {
    int32_t cost = static_cast<int32_t>(engine() % (costRange + 1));
    if (nearLimit && engine() % 3 == 0) cost = 2147483647 - static_cast<int32_t>(engine() % 4);
    edges.push_back({static_cast<int32_t>(engine() % n), static_cast<int32_t>(engine() % n), cost});
  }
  // The highest label names the node count.
  edges.push_back({n - 1, static_cast<int32_t>(engine() % n), 1});
  return edges;
}

TEST(CanonicalSearch, IsTheModelsAnswerAtEveryThreadCount) {
  std::mt19937 engine(21);
  for (int round = 0; round < 2500; ++round) {
    int32_t n;
    const std::vector<Edge> edges = tieHeavyGraph(engine, round, n);
    ShortestPathSolver solver;
    loadEdges(solver, edges);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(solver.nodeCount, n);
    const int32_t source = round % 5 == 0 ? static_cast<int32_t>(engine() % n) : 0;
    const Model model = modelOf(solver.edges ? std::vector<Edge>(solver.edges, solver.edges + solver.edgeCount)
                                             : std::vector<Edge>{},
                                n, source);
    testing::internal::CaptureStderr();
    const bool heapSolved = solver.solveHeap(source);
    testing::internal::GetCapturedStderr();
    const std::vector<NodeResult> heap(solver.results, solver.results + n);
    for (const int32_t threads : {1, 2, 4}) {
      SCOPED_TRACE("round " + std::to_string(round) + ", " + std::to_string(threads) + " threads");
      testing::internal::CaptureStderr();
      const bool solved = solver.solveCanonical(source, SearchLimits{}, threads);
      const std::string message = testing::internal::GetCapturedStderr();
      ASSERT_EQ(solved, model.overLimitNode == -1);
      ASSERT_EQ(solved, heapSolved);
      if (!solved) {
        ASSERT_EQ(message, "ERROR: Path cost of node " + std::to_string(model.overLimitNode) +
                               " exceeds 2147483647\n");
        continue;
      }
      const std::vector<NodeResult> canonical(solver.results, solver.results + n);
      ASSERT_EQ(canonical, model.results);
      for (int32_t v = 0; v < n; ++v) ASSERT_EQ(canonical[v].cost, heap[v].cost);
    }
  }
}

// Adds the edges of a road-like grid, width by height, its nodes numbered
// row by row from first, costs 0..3.
void addGrid(int32_t first, int32_t width, int32_t height, std::mt19937& engine,
             std::vector<Edge>& edges) {
  for (int32_t v = 0; v < width * height; ++v) {
    for (const int32_t w : {v + 1, v - 1, v + width, v - width}) {
      if (w >= 0 && w < width * height && (w / width == v / width || w % width == v % width)) {
        edges.push_back({first + v, first + w, static_cast<int32_t>(engine() % 4)});
      }
    }
  }
}

// A ladder long enough for the search to go along it on one thread, and to
// judge its buckets' width there, then a grid large enough for them to widen
// and for the threads to work together again: the model's answer, whole and
// within limits, that end on the ladder or in the grid.
TEST(CanonicalSearch, LongThinAndWideGraphsGiveTheModelsAnswer) {
  constexpr int32_t kLadder = 2 * 35000;
  constexpr int32_t kSide = 300;
  constexpr int32_t kNodes = kLadder + kSide * kSide;
  std::mt19937 engine(3);
  std::vector<Edge> edges;
  addGrid(0, 2, kLadder / 2, engine, edges);
  addGrid(kLadder, kSide, kSide, engine, edges);
  edges.push_back({kLadder - 1, kLadder, 1});
  edges.push_back({kLadder, kLadder - 1, 1});
  ShortestPathSolver solver;
  loadEdges(solver, edges);
  ASSERT_FALSE(HasFatalFailure());
  const Model model = modelOf(edges, kNodes, 0);
  const int64_t midLadder = model.results[kLadder / 2].cost;
  for (const int32_t threads : {1, 2, 4}) {
    SCOPED_TRACE(std::to_string(threads) + " threads");
    ASSERT_TRUE(solver.solveCanonical(0, SearchLimits{}, threads));
    ASSERT_EQ(std::vector<NodeResult>(solver.results, solver.results + kNodes), model.results);
    for (const int64_t maxCost : {midLadder, midLadder * 2 + 250}) {
      ASSERT_TRUE(solver.solveCanonical(0, SearchLimits{nullptr, 0, maxCost}, threads));
      for (int32_t v = 0; v < kNodes; ++v) {
        const NodeResult expected =
            model.results[v].cost <= maxCost ? model.results[v] : NodeResult{-1, -1};
        ASSERT_EQ(solver.results[v], expected) << "node " << v;
      }
    }
    for (const int32_t target : {kLadder / 2, kNodes - 1}) {
      ASSERT_TRUE(solver.solveCanonical(0, SearchLimits{&target, 1, -1}, threads));
      ASSERT_EQ(solver.results[target], model.results[target]);
    }
  }
}

// Limited searches answer what the whole one does for every node they
// answer, and a path follows the canonical predecessors.
TEST(CanonicalSearch, LimitedSearchesAndPathsFollowTheWholeOne) {
  std::mt19937 engine(7);
  for (int round = 0; round < 600; ++round) {
    int32_t n;
    std::vector<Edge> edges = tieHeavyGraph(engine, round, n);
    for (Edge& edge : edges) edge.cost = std::min(edge.cost, 5);
    ShortestPathSolver solver;
    loadEdges(solver, edges);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(solver.solveCanonical(0, SearchLimits{}, 1));
    const std::vector<NodeResult> whole(solver.results, solver.results + n);
    const int64_t maxCost = engine() % 12;
    const int32_t target = static_cast<int32_t>(engine() % n);
    for (const int32_t threads : {1, 2, 4}) {
      SCOPED_TRACE("round " + std::to_string(round) + ", " + std::to_string(threads) + " threads");
      ASSERT_TRUE(solver.solveCanonical(0, SearchLimits{nullptr, 0, maxCost}, threads));
      for (int32_t v = 0; v < n; ++v) {
        const bool within = whole[v].cost >= 0 && whole[v].cost <= maxCost;
        const NodeResult expected = within ? whole[v] : NodeResult{-1, -1};
        ASSERT_EQ(solver.results[v], expected) << "node " << v;
      }
      ASSERT_TRUE(solver.solveCanonical(0, SearchLimits{&target, 1, -1}, threads));
      ASSERT_EQ(solver.results[target], whole[target]);
      std::vector<int32_t> path;
      pathTo(solver, 0, target, path);
      std::vector<int32_t> expected;
      for (int32_t node = target; whole[target].cost >= 0 && node != -1 && expected.size() <= static_cast<size_t>(n);
           node = whole[node].pred) {
        expected.insert(expected.begin(), node);
      }
      ASSERT_EQ(path, expected);
    }
  }
}

}  // namespace
