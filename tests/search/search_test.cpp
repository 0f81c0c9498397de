// Both searches on hand-made graphs: ties, unreachable nodes, sums at and
// beyond the cost range, and refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "search/search_graph.h"

namespace {

using Results = std::vector<NodeResult>;

Results resultsOf(const ShortestPathSolver& solver) {
  return Results(solver.results, solver.results + solver.searchNodeCount);
}

class BothSearches : public testing::TestWithParam<bool> {
 protected:
  bool solve() { return GetParam() ? solver.solveHeap(0) : solver.solveLinear(0); }
  ShortestPathSolver solver;  // reused on purpose: every search starts afresh
};

INSTANTIATE_TEST_SUITE_P(Searches, BothSearches, testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Heap" : "Linear"; });

TEST_P(BothSearches, SolvesHandMadeGraphs) {
  // Equal costs into node 3: the heap hands out node 2 first (pushed first,
  // 1 does not rise past it); the linear scan takes the lower index.
  const int32_t tiePred = GetParam() ? 2 : 1;
  const struct {
    const char* what;
    std::vector<Edge> edges;
    Results expected;
  } cases[] = {
      {"tie", {{0, 2, 1}, {0, 1, 1}, {1, 3, 1}, {2, 3, 1}}, {{0, -1}, {1, 0}, {1, 0}, {2, tiePred}}},
      // 3 only through 2, which the source cannot reach.
      {"unreachable", {{0, 1, 4}, {2, 3, 1}}, {{0, -1}, {4, 0}, {-1, -1}, {-1, -1}}},
      {"source without edges", {{1, 2, 4}}, {{0, -1}, {-1, -1}, {-1, -1}}},
      {"cost of exactly the largest value", {{0, 1, 2147483647}, {1, 2, 0}},
       {{0, -1}, {2147483647, 0}, {2147483647, 1}}},
      // 1 -> 3 would pass the largest cost and is skipped; 2 -> 3 reaches 3 later.
      {"skipped sum reached otherwise", {{0, 1, 1}, {0, 2, 100}, {1, 3, 2147483647}, {2, 3, 5}},
       {{0, -1}, {1, 0}, {100, 0}, {105, 2}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    loadEdges(solver, c.edges);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(solve());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(solver.solutionSet);
    EXPECT_EQ(resultsOf(solver), c.expected);
  }
}

TEST_P(BothSearches, NodeReachableOnlyBeyondTheCostRangeFailsTheSearch) {
  // Skips happen into 4, then 3, then 4 again: 4 is named.
  loadEdges(solver, {{0, 1, 2147483000}, {1, 4, 1000}, {1, 3, 1000}, {1, 4, 2000}, {1, 2, 1}});
  testing::internal::CaptureStderr();
  EXPECT_FALSE(solve());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: Path cost of node 4 exceeds 2147483647\n");
  EXPECT_FALSE(solver.solutionSet);
  // The skip marks are gone again: unreached nodes read -1, -1.
  EXPECT_EQ(resultsOf(solver), (Results{{0, -1}, {2147483000, 0}, {2147483001, 1}, {-1, -1}, {-1, -1}}));
}

}  // namespace
