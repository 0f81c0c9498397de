// The checksum of a solution held in the solver.
#include <gtest/gtest.h>

#include <vector>

#include "graph/allocation.h"
#include "graph/shortest_path_solver.h"

namespace {

void setCosts(ShortestPathSolver& solver, const std::vector<int32_t>& costs) {
  const auto count = static_cast<int32_t>(costs.size());
  solver.initSearch(count);
  for (int32_t node = 0; node < count; ++node) solver.results[node] = {costs[node], -1};
  solver.solutionSet = true;
}

TEST(SolutionHash, WorkedExampleGivesOne) {
  ShortestPathSolver solver;
  setCosts(solver, {0, 1, 3, 5, 7});
  EXPECT_EQ(solver.solutionHash(), 1);
}

TEST(SolutionHash, NoSolutionGivesMinusOne) {
  ShortestPathSolver solver;
  EXPECT_EQ(solver.solutionHash(), -1);
  setCosts(solver, {0, 1, 3, 5, 7});
  solver.solutionSet = false;
  EXPECT_EQ(solver.solutionHash(), -1);
}

TEST(SolutionHash, EmptySolutionGivesZero) {
  ShortestPathSolver solver;
  setCosts(solver, {});
  EXPECT_EQ(solver.solutionHash(), 0);
}

TEST(SolutionHash, OnlyPositiveCostsBeyondNodeZeroCount) {
  ShortestPathSolver solver;
  setCosts(solver, {0, 1, 3, -1, 7});
  const int32_t withUnreached = solver.solutionHash();
  setCosts(solver, {0, 1, 3, 0, 7});
  EXPECT_EQ(solver.solutionHash(), withUnreached);
  setCosts(solver, {99, 1, 3, 0, 7});
  EXPECT_EQ(solver.solutionHash(), withUnreached);
  // label 2: 3 mod 2 = 1; label 4: 7 mod 4 = 3; (1 + 3) mod 5 = 4
  EXPECT_EQ(withUnreached, 4);
}

TEST(SolutionHash, LargestCostsStayInRange) {
  ShortestPathSolver solver;
  // label 2 adds 1, label 3 adds 2147483647 mod 3 = 1: (1 + 1) mod 4 = 2
  setCosts(solver, {0, 2147483647, 2147483647, 2147483647});
  EXPECT_EQ(solver.solutionHash(), 2);
}

TEST(SolutionHash, SumWrapsAtTheNodeCount) {
  ShortestPathSolver solver;
  // labels 1..5 add 0, 1, 2, 3, 4: 0, 1, 3, (3 + 3) mod 6 = 0, 4
  setCosts(solver, {0, 1, 3, 5, 7, 9});
  EXPECT_EQ(solver.solutionHash(), 4);
}

}  // namespace
