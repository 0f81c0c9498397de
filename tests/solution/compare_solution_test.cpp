// checkPredecessor on its own: the one check of the comparison that no run
// calls by itself, since compareSolution knows each pred's line already.
#include <gtest/gtest.h>

#include "graph/shortest_path_solver.h"
#include "solution/loaded_solution.h"
#include "support/process.h"

namespace {

TEST(CompareSolution, CheckPredecessorFindsThePredsLineAnywhere) {
  TempDir dir;
  // Node 2 costs 3 from 0 directly and from 1; 3 -> 2 is dearer.
  writeFile(dir.file("g.txt"), "0 1 1\n0 2 3\n1 2 2\n3 2 1\n0 3 9\n");
  writeFile(dir.file("s.txt"), "3 9 0\n2 3 0\n1 1 0\n0 0 -1\n");
  ShortestPathSolver solver;
  LoadedSolution record;
  ASSERT_TRUE(solver.loadGraph(dir.file("g.txt").c_str()) && solver.solveHeap(0));
  ASSERT_NE(solver.loadSolution(dir.file("s.txt").c_str(), 4, record), nullptr);
  testing::internal::CaptureStderr();
  EXPECT_TRUE(solver.checkPredecessor(record, 2, 1));
  EXPECT_FALSE(solver.checkPredecessor(record, 2, 3));
  EXPECT_FALSE(solver.checkPredecessor(record, 2, 7));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ERROR: Wrong pred of node 2 is 3 but no edge from 3 to 2 gives cost 3\n"
            "ERROR: Wrong pred of node 2 it is 7 but right pred is 0\n");
}

}  // namespace
