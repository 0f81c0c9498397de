#include <gtest/gtest.h>

#include <vector>

#include "graph/shortest_path_solver.h"
#include "random/mersenne_twister.h"

namespace {

struct Line {
  int32_t from, to, cost;
  bool operator==(const Line&) const = default;
};

std::vector<Line> edgesOf(const ShortestPathSolver& solver) {
  std::vector<Line> lines;
  for (int32_t i = 0; i < solver.edgeCount; ++i) {
    lines.push_back({solver.edges[i].from, solver.edges[i].to, solver.edges[i].cost});
  }
  return lines;
}

// The generator as plainly as it can be written: an int mark per node, and a
// node's edges end once every possible target is taken. Anything faster must
// draw and produce exactly this.
std::vector<Line> plainGraph(int32_t n, int32_t seed, int32_t maxEdge) {
  MersenneTwister engine;
  engine.setSeed(static_cast<uint32_t>(seed));
  std::vector<int32_t> mark(n, -1);
  std::vector<Line> lines;
  for (int32_t v = 0; v < n; ++v) {
    const int32_t k = engine.uniformInt(1, maxEdge);
    const size_t first = lines.size();
    mark[v] = 1;
    for (int32_t j = 0; j < k && j < (v == 0 ? n - 1 : n - 2); ++j) {
      int32_t t = engine.uniformInt(1, n - 1);
      while (mark[t] == 1) t = engine.uniformInt(1, n - 1);
      mark[t] = 1;
      lines.push_back({v, t, engine.uniformInt(1, 10 * n)});
    }
    for (size_t i = first; i < lines.size(); ++i) mark[lines[i].to] = -1;
    mark[v] = -1;
  }
  return lines;
}

TEST(RandomGraph, SevenNodesSeedOne) {
  ShortestPathSolver solver;
  ASSERT_TRUE(solver.generateRandomGraph(7, 1, 5));
  const std::vector<Line> expected = {
      {0, 6, 51}, {0, 1, 9},  {0, 2, 70}, {1, 2, 7},  {2, 3, 25}, {2, 5, 28},
      {3, 4, 60}, {3, 2, 48}, {3, 6, 17}, {3, 1, 38}, {3, 5, 64}, {4, 3, 40},
      {4, 1, 66}, {4, 2, 55}, {5, 6, 57}, {5, 2, 7},  {5, 4, 62}, {5, 1, 59},
      {5, 3, 48}, {6, 3, 38}, {6, 2, 49}, {6, 1, 49}, {6, 5, 59}, {6, 4, 70}};
  EXPECT_EQ(edgesOf(solver), expected);
  const int32_t ranges[7][2] = {{0, 2}, {3, 3}, {4, 5}, {6, 10}, {11, 13}, {14, 18}, {19, 23}};
  for (int v = 0; v < 7; ++v) {
    EXPECT_EQ(solver.edgeRanges[v].first, ranges[v][0]) << v;
    EXPECT_EQ(solver.edgeRanges[v].last, ranges[v][1]) << v;
  }
}

TEST(RandomGraph, SameDrawsAsThePlainGenerator) {
  // Around the 64-node words of the marks, larger graphs, and maxEdge = n - 1.
  for (int32_t n : {7, 8, 12, 63, 64, 65, 128, 129, 1000, 100000}) {
    for (int32_t seed : {1, -5, 2024, 2147483647}) {
      for (int32_t maxEdge : {5, 9, 1000, n - 1}) {
        if (maxEdge >= n || int64_t{n} * maxEdge > 1000000) continue;
        ShortestPathSolver solver;
        solver.generateRandomGraph(n, seed, maxEdge);
        ASSERT_EQ(edgesOf(solver), plainGraph(n, seed, maxEdge)) << n << " " << seed << " " << maxEdge;
      }
    }
  }
}

TEST(RandomGraph, PropertiesHoldOnManySeeds) {
  // maxEdge runs up to n - 1, where a node other than 0 can have n - 2 edges at most.
  for (int32_t seed = 0; seed < 300; ++seed) {
    const int32_t n = 7 + seed % 60;
    const int32_t maxEdge = 5 + seed % (n - 5);
    ShortestPathSolver solver;
    solver.generateRandomGraph(n, seed, maxEdge);
    ASSERT_TRUE(solver.graphSet);
    ASSERT_EQ(solver.nodeCount, n);
    int32_t next = 0;
    for (int32_t v = 0; v < n; ++v) {
      const EdgeRange range = solver.edgeRanges[v];
      ASSERT_EQ(range.first, next) << seed << " " << v;
      ASSERT_GE(range.last, range.first) << seed << " " << v;
      ASSERT_LE(range.last - range.first + 1, maxEdge) << seed << " " << v;
      std::vector<bool> seen(n, false);
      for (int32_t i = range.first; i <= range.last; ++i) {
        const Edge& edge = solver.edges[i];
        ASSERT_EQ(edge.from, v);
        ASSERT_TRUE(edge.to >= 1 && edge.to < n && edge.to != v) << seed << " " << v;
        ASSERT_FALSE(seen[edge.to]) << seed << " " << v;
        seen[edge.to] = true;
        ASSERT_TRUE(edge.cost >= 1 && edge.cost <= 10 * n) << seed << " " << v;
      }
      next = range.last + 1;
    }
    ASSERT_EQ(solver.edgeCount, next);
  }
}

TEST(RandomGraph, LeavesTheSolutionAlone) {
  ShortestPathSolver solver;
  solver.solutionSet = true;
  solver.searchNodeCount = 3;
  solver.generateRandomGraph(9, 2, 5);
  EXPECT_TRUE(solver.solutionSet);
  EXPECT_EQ(solver.searchNodeCount, 3);
}

}  // namespace
