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

  // A lowered key rises only past strictly greater keys; at the top it is only rewritten.
  solver.decreaseKey(3, 2);
  EXPECT_EQ(slotsOf(solver), "1:2 3:2 2:2 4:9 ");
  solver.decreaseKey(1, 0);
  EXPECT_EQ(slotsOf(solver), "1:0 3:2 2:2 4:9 ");
}

}  // namespace
