#include <gtest/gtest.h>
#include <sys/resource.h>

#include "graph/shortest_path_solver.h"

namespace {

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
