#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "search/reference_heap.h"

namespace {

struct Slot {
  int32_t node;
  int32_t key;
  bool operator==(const Slot&) const = default;
};

std::vector<Slot> slotsOf(const ShortestPathSolver& solver) {
  std::vector<Slot> slots;
  for (int32_t s = 0; s < solver.heapSize; ++s) {
    slots.push_back({solver.heapEntries[s].node, solver.heapEntries[s].key});
  }
  return slots;
}

// Every occupied slot's node points back at that slot.
void expectPositionsConsistent(const ShortestPathSolver& solver) {
  for (int32_t s = 0; s < solver.heapSize; ++s) {
    EXPECT_EQ(solver.heapEntries[solver.heapEntries[s].node].position, s) << "slot " << s;
  }
}

TEST(MinHeap, EqualKeyDoesNotRisePastEqualParent) {
  ShortestPathSolver solver;
  solver.initSearch(3);
  solver.push(0, 5);
  EXPECT_EQ(slotsOf(solver), (std::vector<Slot>{{0, 5}}));
  solver.push(1, 3);
  EXPECT_EQ(slotsOf(solver), (std::vector<Slot>{{1, 3}, {0, 5}}));
  expectPositionsConsistent(solver);
  solver.push(2, 3);
  EXPECT_EQ(slotsOf(solver), (std::vector<Slot>{{1, 3}, {0, 5}, {2, 3}}));
  expectPositionsConsistent(solver);

  EXPECT_EQ(solver.popMin(), 1);
  EXPECT_EQ(slotsOf(solver), (std::vector<Slot>{{2, 3}, {0, 5}}));
  expectPositionsConsistent(solver);
  EXPECT_EQ(solver.heapEntries[1].position, 0);  // left for the search to clear
  EXPECT_EQ(solver.popMin(), 2);
  EXPECT_EQ(solver.popMin(), 0);
  EXPECT_EQ(solver.heapSize, 0);
  EXPECT_EQ(solver.heapEntries[0].position, 0);
}

TEST(MinHeap, SinkingGoesLeftOnTiesAndStopsAboveEqualChild) {
  ShortestPathSolver solver;
  solver.initSearch(5);
  solver.push(0, 1);
  solver.push(1, 2);
  solver.push(2, 2);
  solver.push(3, 9);
  solver.push(4, 9);
  EXPECT_EQ(solver.popMin(), 0);
  // 9 moves to the top, follows the left of the equal children 2 and 2, and
  // stays above the 9 below it.
  EXPECT_EQ(slotsOf(solver), (std::vector<Slot>{{1, 2}, {4, 9}, {2, 2}, {3, 9}}));
  expectPositionsConsistent(solver);
}

TEST(MinHeap, MatchesReferenceMovesOnRandomOperations) {
  std::mt19937 engine(7);
  for (int round = 0; round < 40; ++round) {
    const int32_t count = 1 + static_cast<int32_t>(engine() % 60);
    ShortestPathSolver solver;
    solver.initSearch(count);
    ReferenceHeap reference(count);
    for (int step = 0; step < 400; ++step) {
      const int32_t v = static_cast<int32_t>(engine() % count);
      const int32_t k = static_cast<int32_t>(engine() % 6);  // few keys: many ties
      const uint32_t choice = engine() % 3;
      if (choice == 0 && reference.position[v] == -1 && reference.size() < count) {
        solver.push(v, k);
        reference.push(v, k);
      } else if (choice == 1 && reference.position[v] != -1 && k < reference.key[reference.position[v]]) {
        solver.decreaseKey(v, k);
        reference.decreaseKey(v, k);
      } else if (reference.size() > 0) {
        const int32_t popped = reference.popMin();
        ASSERT_EQ(solver.popMin(), popped);
        // The search clears a popped node's position itself.
        reference.position[popped] = -1;
        solver.heapEntries[popped].position = -1;
      }
      ASSERT_EQ(solver.heapSize, reference.size());
      for (int32_t s = 0; s < reference.size(); ++s) {
        ASSERT_EQ(solver.heapEntries[s].node, reference.node[s]) << "step " << step << " slot " << s;
        ASSERT_EQ(solver.heapEntries[s].key, reference.key[s]);
      }
      for (int32_t n = 0; n < count; ++n) ASSERT_EQ(solver.heapEntries[n].position, reference.position[n]);
      ASSERT_EQ(solver.checkHeap(0), 0);
    }
  }
}

TEST(MinHeap, CheckHeapReportsViolations) {
  ShortestPathSolver solver;
  solver.initSearch(4);
  EXPECT_EQ(solver.checkHeap(0), 0);  // empty
  for (int32_t v = 0; v < 4; ++v) solver.push(v, 10 + v);
  testing::internal::CaptureStderr();
  EXPECT_EQ(solver.checkHeap(0), 0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");

  solver.heapEntries[2].key = 5;  // right child of the top
  solver.heapEntries[3].key = 1;  // left child of slot 1
  testing::internal::CaptureStderr();
  EXPECT_EQ(solver.checkHeap(0), 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "HEAP PROPERTY VIOLENCE l:3 n:1 cost 1 11\n"
            "HEAP PROPERTY VIOLENCE r:2 n:0\n");
}

}  // namespace
