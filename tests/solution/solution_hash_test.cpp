// The checksum of a solution held in the solver.
#include <gtest/gtest.h>

#include <vector>

#include "graph/shortest_path_solver.h"

namespace {

TEST(SolutionHash, CostsModuloLabelSummedModuloNodeCount) {
  const struct {
    std::vector<int32_t> costs;
    int32_t hash;
  } cases[] = {
      // Unreached and zero costs add nothing, nor does node 0:
      // 3 mod 2 + 7 mod 4 = 4.
      {{0, 1, 3, -1, 7}, 4},
      {{99, 1, 3, 0, 7}, 4},
      {{0, 2147483647, 2147483647, 2147483647}, 2},
      {{0, 1, 3, 5, 7, 9}, 4},  // adds 0, 1, 2, 3, 4: wraps at 6 after label 3
  };
  for (const auto& c : cases) {
    ShortestPathSolver solver;
    const auto count = static_cast<int32_t>(c.costs.size());
    solver.initSearch(count);
    for (int32_t node = 0; node < count; ++node) solver.results[node] = {c.costs[node], -1};
    solver.solutionSet = true;
    EXPECT_EQ(solver.solutionHash(), c.hash) << testing::PrintToString(c.costs);
    solver.solutionSet = false;
    EXPECT_EQ(solver.solutionHash(), -1);
  }
}

}  // namespace
