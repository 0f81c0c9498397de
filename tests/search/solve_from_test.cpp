// A limited search against the whole heap search on the same graphs: every
// node it settles agrees, every other node reads -1, -1.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "search/search_limits.h"
#include "search/search_graph.h"

namespace {

TEST(SolveFrom, LimitedSearchesSettleAPrefixOfTheWholeSearch) {
  std::mt19937 engine(11);
  for (int round = 0; round < 200; ++round) {
    const int32_t n = 1 + static_cast<int32_t>(engine() % 30);
    std::vector<Edge> edges;
    for (int32_t k = static_cast<int32_t>(engine() % (3 * n)); k >= 0; --k) {
      edges.push_back({static_cast<int32_t>(engine() % n), static_cast<int32_t>(engine() % n),
                       static_cast<int32_t>(engine() % 4)});
    }
    ShortestPathSolver solver;
    loadEdges(solver, edges);
    const auto anyNode = [&] { return static_cast<int32_t>(engine() % solver.nodeCount); };
    const int32_t source = anyNode();
    ASSERT_TRUE(solver.solveHeap(source));
    const std::vector<NodeResult> whole(solver.results, solver.results + solver.nodeCount);
    const int32_t targets[] = {anyNode(), anyNode()};
    SearchLimits limits{targets, static_cast<int32_t>(engine() % 3), static_cast<int64_t>(engine() % 8) - 1};
    ASSERT_TRUE(solver.solveFrom(source, limits));
    int64_t lastTarget = -1;  // every node cheaper than the dearest target must be settled
    for (int32_t k = 0; k < limits.targetCount; ++k) lastTarget = std::max<int64_t>(lastTarget, whole[targets[k]].cost);
    if (limits.targetCount == 0 || std::count_if(targets, targets + limits.targetCount,
                                                 [&](int32_t t) { return whole[t].cost == -1; }) > 0) {
      lastTarget = INT64_MAX;
    }
    for (int32_t v = 0; v < solver.nodeCount; ++v) {
      SCOPED_TRACE(testing::Message() << "round " << round << " node " << v);
      const bool inBound = limits.maxCost < 0 || whole[v].cost <= limits.maxCost;
      const bool needed = whole[v].cost != -1 && inBound && whole[v].cost < lastTarget;
      const bool isTarget = std::count(targets, targets + limits.targetCount, v) > 0;
      if (needed || (isTarget && inBound) || solver.results[v].cost != -1) {
        ASSERT_EQ(solver.results[v], whole[v]);
      }
      if (!inBound) {
        ASSERT_EQ(solver.results[v], (NodeResult{-1, -1}));
      }
    }
  }
}

TEST(SolveFrom, SumPastTheLargestCostFailsOnlyANodeItMustAnswer) {
  ShortestPathSolver solver;
  loadEdges(solver, {{0, 1, 2147483000}, {1, 2, 1000}, {0, 3, 1}});
  const int32_t unreachable[] = {2};
  const int32_t reachable[] = {3};
  const struct {
    SearchLimits limits;
    bool solved;
  } cases[] = {{{}, false}, {{unreachable, 1}, false}, {{reachable, 1}, true},
               {{nullptr, 0, 2147483647}, true}, {{nullptr, 0, 2147483648}, false}};
  for (const auto& c : cases) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(solver.solveFrom(0, c.limits), c.solved);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.solved ? "" : "ERROR: Path cost of node 2 exceeds 2147483647\n");
    EXPECT_EQ(solver.results[2], (NodeResult{-1, -1}));
  }
}

}  // namespace
