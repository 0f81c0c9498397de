// The generator's promises on every graph it makes; the exact draws are pinned
// by the 7-node graph of the create run and the checksum of the README's graph.
#include <gtest/gtest.h>

#include <set>

#include "graph/shortest_path_solver.h"

namespace {

TEST(RandomGraph, EveryGraphKeepsItsShape) {
  // Around the 64-node words of the marks, and maxEdge = n - 1, where a node
  // runs out of targets before its draws do.
  for (int32_t n : {7, 8, 63, 64, 65, 129, 3000}) {
    for (int32_t maxEdge : {5, 9, n - 1}) {
      if (maxEdge >= n) continue;
      ShortestPathSolver solver;
      ASSERT_TRUE(solver.generateRandomGraph(n, n + maxEdge, maxEdge));
      ASSERT_EQ(solver.nodeCount, n);
      int32_t next = 0;
      for (int32_t v = 0; v < n; ++v) {
        const EdgeRange range = solver.edgeRanges[v];
        ASSERT_EQ(range.first, next) << n << " " << maxEdge << " node " << v;
        ASSERT_TRUE(range.last >= range.first && range.last - range.first < maxEdge);
        std::set<int32_t> targets;
        for (int32_t e = range.first; e <= range.last; ++e) {
          const Edge edge = solver.edges[e];
          ASSERT_TRUE(edge.from == v && edge.to > 0 && edge.to < n && edge.to != v);
          ASSERT_TRUE(edge.cost >= 1 && edge.cost <= 10 * n);
          ASSERT_TRUE(targets.insert(edge.to).second);
        }
        next = range.last + 1;
      }
      ASSERT_EQ(solver.edgeCount, next);
    }
  }
}

}  // namespace
