#include <gtest/gtest.h>
#include <sys/resource.h>

#include "graph/shortest_path_solver.h"

namespace {

TEST(SearchState, EmptyCountGivesEmptyState) {
  ShortestPathSolver solver;
  solver.initSearch(0);
  EXPECT_EQ(solver.searchNodeCount, 0);
  EXPECT_EQ(solver.heapSize, 0);
  solver.initSearch(-1);  // a graph without nodes sizes nothing
  EXPECT_EQ(solver.searchNodeCount, 0);
}

TEST(SearchState, EveryCallResetsEveryNode) {
  ShortestPathSolver solver;
  solver.initSearch(3);
  solver.results[1] = {7, 0};
  solver.push(2, 4);
  solver.initSearch(5);
  EXPECT_EQ(solver.searchNodeCount, 5);
  EXPECT_EQ(solver.heapSize, 0);
  for (int32_t v = 0; v < 5; ++v) {
    EXPECT_EQ(solver.results[v].cost, -1);
    EXPECT_EQ(solver.results[v].pred, -1);
    EXPECT_EQ(solver.heapEntries[v].position, -1);
  }
}

TEST(SearchState, ArraysThatCannotBeAllocatedEndTheProcess) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reports failed allocations itself";
#else
  const auto searchUnderOneGiB = [] {
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = rlim_t{1} << 30;
    setrlimit(RLIMIT_AS, &limit);
    ShortestPathSolver solver;
    solver.initSearch(200000000);
  };
  EXPECT_EXIT(searchUnderOneGiB(), testing::ExitedWithCode(255), "^Can not allocate memory\n$");
#endif
}

}  // namespace
