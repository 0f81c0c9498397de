#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "random/mersenne_twister.h"
#include "support/graph_file.h"

namespace {

std::string edgesOf(const ShortestPathSolver& solver) {
  return graphText({solver.edges, solver.edges + solver.edgeCount});
}

// The generator as plainly as it can be written: an int mark per node, and a
// node's edges end once every possible target is taken. Anything faster must
// draw and produce exactly this.
std::string plainGraph(int32_t n, int32_t seed, int32_t maxEdge) {
  MersenneTwister engine;
  engine.setSeed(static_cast<uint32_t>(seed));
  std::vector<int32_t> mark(n, -1);
  std::vector<Edge> edges;
  for (int32_t v = 0; v < n; ++v) {
    const int32_t k = engine.uniformInt(1, maxEdge);
    const size_t first = edges.size();
    mark[v] = 1;
    for (int32_t j = 0; j < k && j < (v == 0 ? n - 1 : n - 2); ++j) {
      int32_t t = engine.uniformInt(1, n - 1);
      while (mark[t] == 1) t = engine.uniformInt(1, n - 1);
      mark[t] = 1;
      edges.push_back({v, t, engine.uniformInt(1, 10 * n)});
    }
    for (size_t i = first; i < edges.size(); ++i) mark[edges[i].to] = -1;
    mark[v] = -1;
  }
  return graphText(edges);
}

TEST(RandomGraph, SevenNodesSeedOne) {
  ShortestPathSolver solver;
  ASSERT_TRUE(solver.generateRandomGraph(7, 1, 5));
  EXPECT_EQ(edgesOf(solver),
            "0 6 51\n0 1 9\n0 2 70\n1 2 7\n2 3 25\n2 5 28\n3 4 60\n3 2 48\n3 6 17\n3 1 38\n"
            "3 5 64\n4 3 40\n4 1 66\n4 2 55\n5 6 57\n5 2 7\n5 4 62\n5 1 59\n5 3 48\n6 3 38\n"
            "6 2 49\n6 1 49\n6 5 59\n6 4 70\n");
  EXPECT_EQ(rangesText(solver.edgeRanges, 7), "0 2\n3 3\n4 5\n6 10\n11 13\n14 18\n19 23\n");
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

}  // namespace
