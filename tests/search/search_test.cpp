// Both searches on hand-made graphs: ties, improvements, the edges that must
// change nothing, sums beyond the cost range, timing lines and refusals.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "search/search_graph.h"

namespace {

enum class Search { Heap, Linear };

bool solve(ShortestPathSolver& solver, Search search) {
  return search == Search::Heap ? solver.solveHeap(0) : solver.solveLinear(0);
}

std::vector<NodeResult> resultsOf(const ShortestPathSolver& solver) {
  return std::vector<NodeResult>(solver.results, solver.results + solver.searchNodeCount);
}

class BothSearches : public testing::TestWithParam<Search> {
 protected:
  // Solves and returns {cost, pred} of every node.
  std::vector<NodeResult> solved(int32_t nodeCount, const std::vector<Edge>& edges) {
    setGraph(solver, nodeCount, edges);
    EXPECT_TRUE(solve(solver, GetParam()));
    EXPECT_TRUE(solver.solutionSet);
    return resultsOf(solver);
  }
  ShortestPathSolver solver;
};

INSTANTIATE_TEST_SUITE_P(Searches, BothSearches, testing::Values(Search::Heap, Search::Linear),
                         [](const auto& info) { return info.param == Search::Heap ? "Heap" : "Linear"; });

TEST_P(BothSearches, EqualCostsKeepTheFirstPathByTheirOwnOrder) {
  const auto results = solved(4, {{0, 2, 1}, {0, 1, 1}, {1, 3, 1}, {2, 3, 1}});
  // The heap hands out node 2 first (pushed first, 1 does not rise past it);
  // the linear scan takes the lower index.
  const int32_t pred = GetParam() == Search::Heap ? 2 : 1;
  EXPECT_EQ(results, (std::vector<NodeResult>{{0, -1}, {1, 0}, {1, 0}, {2, pred}}));
}

TEST_P(BothSearches, LaterCheaperPathReplacesEarlierOne) {
  EXPECT_EQ(solved(3, {{0, 1, 10}, {0, 2, 1}, {2, 1, 2}}),
            (std::vector<NodeResult>{{0, -1}, {3, 2}, {1, 0}}));
}

TEST_P(BothSearches, EqualSumSelfLoopsParallelAndBackEdgesChangeNothing) {
  EXPECT_EQ(solved(3, {{0, 0, 0}, {0, 1, 2}, {0, 2, 1}, {0, 2, 1}, {0, 2, 4}, {2, 1, 1}, {2, 0, 0}}),
            (std::vector<NodeResult>{{0, -1}, {2, 0}, {1, 0}}));
}

TEST_P(BothSearches, UnreachableNodesStayUnreached) {
  // 3 only through 2, which the source cannot reach; 4 has no edge at all.
  EXPECT_EQ(solved(5, {{0, 1, 4}, {2, 3, 1}}),
            (std::vector<NodeResult>{{0, -1}, {4, 0}, {-1, -1}, {-1, -1}, {-1, -1}}));
  EXPECT_EQ(solved(3, {{1, 2, 4}}), (std::vector<NodeResult>{{0, -1}, {-1, -1}, {-1, -1}}));
  EXPECT_EQ(solver.heapSize, 0);
  for (int32_t v = 0; v < 3; ++v) EXPECT_EQ(solver.heapEntries[v].position, -1);
}

TEST_P(BothSearches, GraphWithoutNodesGivesEmptySolution) {
  EXPECT_TRUE(solved(0, {}).empty());
  EXPECT_TRUE(solved(-1, {}).empty());
}

TEST_P(BothSearches, CostOfExactlyTheLargestValueIsSettled) {
  EXPECT_EQ(solved(3, {{0, 1, 2147483647}, {1, 2, 0}}),
            (std::vector<NodeResult>{{0, -1}, {2147483647, 0}, {2147483647, 1}}));
}

TEST_P(BothSearches, SkippedSumIsHarmlessWhenTheNodeIsReachedOtherwise) {
  // 1 -> 3 would pass the largest cost and is skipped; 2 -> 3 reaches 3 later.
  EXPECT_EQ(solved(4, {{0, 1, 1}, {0, 2, 100}, {1, 3, 2147483647}, {2, 3, 5}}),
            (std::vector<NodeResult>{{0, -1}, {1, 0}, {100, 0}, {105, 2}}));
}

TEST_P(BothSearches, NodeReachableOnlyBeyondTheCostRangeFailsTheSearch) {
  // Skips happen into 4, then 3, then 4 again: 4 is named.
  setGraph(solver, 5, {{0, 1, 2147483000}, {1, 4, 1000}, {1, 3, 1000}, {1, 4, 2000}, {1, 2, 1}});
  testing::internal::CaptureStderr();
  EXPECT_FALSE(solve(solver, GetParam()));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: Path cost of node 4 exceeds 2147483647\n");
  EXPECT_FALSE(solver.solutionSet);
  // The marks are gone again: unreached nodes read -1, -1.
  EXPECT_EQ(resultsOf(solver), (std::vector<NodeResult>{{0, -1}, {2147483000, 0}, {2147483001, 1}, {-1, -1}, {-1, -1}}));
}

TEST_P(BothSearches, TimingLinesOnlyWhenVerbose) {
  setGraph(solver, 2, {{0, 1, 1}});
  testing::internal::CaptureStderr();
  EXPECT_TRUE(solve(solver, GetParam()));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  solver.verbose = true;
  testing::internal::CaptureStderr();
  EXPECT_TRUE(solve(solver, GetParam()));
  const std::string tab = GetParam() == Search::Heap ? "\t" : "";
  const std::regex expected(tab + "Init time \\.\\.\\.\\.[0-9]+ms\n" + tab + "Find time \\.\\.\\.\\.[0-9]+ms\n");
  EXPECT_TRUE(std::regex_match(testing::internal::GetCapturedStderr(), expected));
}

TEST_P(BothSearches, RefusesWithoutGraphAndKeepsTheOldSolution) {
  solved(2, {{0, 1, 3}});
  solver.clear();
  solver.results = new NodeResult[2]{{0, -1}, {3, 0}};  // as a hash-from-file run leaves it
  testing::internal::CaptureStderr();
  EXPECT_FALSE(solve(solver, GetParam()));
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR: Can not solve. Graph is not set.\n");
  EXPECT_EQ(resultsOf(solver), (std::vector<NodeResult>{{0, -1}, {3, 0}}));
}

TEST(HeapSearch, RelaxHeapStepByStep) {
  ShortestPathSolver solver;
  setGraph(solver, 4, {{0, 2, 1}, {0, 1, 1}, {0, 3, 9}, {2, 3, 1}});
  solver.initSearch(4);
  solver.results[0].cost = 0;
  solver.push(0, 0);
  solver.relaxHeap(solver.popMin());
  EXPECT_EQ(solver.heapSize, 3);  // 2 first; 1 does not rise past it
  EXPECT_EQ(solver.heapEntries[0].node, 2);
  solver.relaxHeap(solver.popMin());
  EXPECT_EQ(resultsOf(solver), (std::vector<NodeResult>{{0, -1}, {1, 0}, {1, 0}, {2, 2}}));
  EXPECT_EQ(solver.heapEntries[1].key, 2);  // node 3 lowered in place, below the 1 of node 1
  EXPECT_EQ(solver.heapEntries[3].position, 1);
}

}  // namespace
