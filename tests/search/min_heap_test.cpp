#include <gtest/gtest.h>

#include <string>

#include "graph/shortest_path_solver.h"

namespace {

// "node:key" per slot; fails the test when a slot's node does not point back at it.
std::string slotsOf(const ShortestPathSolver& solver) {
  std::string text;
  for (int32_t s = 0; s < solver.heapSize; ++s) {
    const HeapEntry& entry = solver.heapEntries[s];
    text += std::to_string(entry.node) + ":" + std::to_string(entry.key) + " ";
    EXPECT_EQ(solver.heapEntries[entry.node].position, s) << "slot " << s;
  }
  return text;
}

TEST(MinHeap, EqualKeysNeitherRiseNorSinkPastEachOther) {
  ShortestPathSolver solver;
  solver.initSearch(5);
  solver.push(0, 5);
  solver.push(1, 3);
  EXPECT_EQ(slotsOf(solver), "1:3 0:5 ");
  solver.push(2, 3);
  EXPECT_EQ(slotsOf(solver), "1:3 0:5 2:3 ");
  EXPECT_EQ(solver.popMin(), 1);
  EXPECT_EQ(slotsOf(solver), "2:3 0:5 ");
  EXPECT_EQ(solver.heapEntries[1].position, 0);  // left for the search to clear

  // 9 moves to the top, follows the left of the equal children 2 and 2, and
  // stays above the 9 below it.
  solver.initSearch(5);
  for (int32_t v = 0; v < 5; ++v) solver.push(v, v == 0 ? 1 : v < 3 ? 2 : 9);
  EXPECT_EQ(solver.popMin(), 0);
  EXPECT_EQ(slotsOf(solver), "1:2 4:9 2:2 3:9 ");
}

TEST(MinHeap, CheckHeapReportsViolations) {
  ShortestPathSolver solver;
  solver.initSearch(4);
  for (int32_t v = 0; v < 4; ++v) solver.push(v, 10 + v);
  solver.heapEntries[2].key = 5;  // right child of the top
  solver.heapEntries[3].key = 1;  // left child of slot 1
  testing::internal::CaptureStderr();
  EXPECT_EQ(solver.checkHeap(0), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "HEAP PROPERTY VIOLENCE l:3 n:1 cost 1 11\n"
            "HEAP PROPERTY VIOLENCE r:2 n:0\n");
}

}  // namespace
