// Comparing a given solution with the computed one: every message in its order
// of precedence, and which alternative predecessors make a valid tree.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "graph/allocation.h"
#include "graph/shortest_path_solver.h"

namespace {

struct Line {
  int32_t label;
  int32_t cost;
  int32_t pred;
};

// Edges must come grouped by source node, as the loader leaves them.
void setGraph(ShortestPathSolver& solver, int32_t nodeCount, const std::vector<Edge>& edges) {
  solver.nodeCount = nodeCount;
  solver.edgeCount = static_cast<int32_t>(edges.size());
  solver.edges = static_cast<Edge*>(checkedMalloc(edges.size() * sizeof(Edge)));
  solver.edgeRanges = static_cast<EdgeRange*>(checkedMalloc(nodeCount * sizeof(EdgeRange)));
  for (int32_t node = 0; node < nodeCount; ++node) solver.edgeRanges[node] = {-1, -1};
  for (int32_t index = 0; index < solver.edgeCount; ++index) {
    solver.edges[index] = edges[index];
    EdgeRange& range = solver.edgeRanges[edges[index].from];
    if (range.first == -1) range.first = index;
    range.last = index;
  }
  solver.graphSet = true;
}

void setResults(ShortestPathSolver& solver, const std::vector<NodeResult>& results) {
  const auto count = static_cast<int32_t>(results.size());
  solver.initSearch(count);
  for (int32_t node = 0; node < count; ++node) solver.results[node] = results[node];
  solver.solutionSet = true;
}

void fill(LoadedSolution& record, const std::vector<Line>& lines) {
  std::free(record.entries);
  record.entries = static_cast<SolutionEntry*>(checkedMalloc(lines.size() * sizeof(SolutionEntry)));
  record.count = static_cast<int32_t>(lines.size());
  record.capacity = record.count;
  for (int32_t line = 0; line < record.count; ++line) {
    record.entries[line] = {lines[line].label, lines[line].pred, lines[line].cost};
  }
}

// Costs 0, 1, 3, 5, 7 with ties at nodes 2, 3 and 4; node 4 also reaches 2
// at a higher cost; node 5 is unreached but has an edge into 4 whose cost
// would fit if its -1 were taken as a cost; node 6 is unreached with no edges.
class CompareSolution : public testing::Test {
 protected:
  void SetUp() override {
    setGraph(solver, 7,
             {{0, 1, 1}, {0, 2, 3}, {1, 2, 2}, {1, 3, 4}, {2, 3, 2}, {2, 4, 4}, {3, 4, 2},
              {4, 2, 9}, {5, 4, 8}});
    setResults(solver, {{0, -1}, {1, 0}, {3, 0}, {5, 1}, {7, 2}, {-1, -1}, {-1, -1}});
    solver.solutionLoaded = true;
  }

  std::vector<Line> correctLines() const {
    return {{0, 0, -1}, {1, 1, 0}, {2, 3, 0}, {3, 5, 1}, {4, 7, 2}, {5, -1, -1}, {6, -1, -1}};
  }

  // Runs the comparison on the lines and returns what it printed; the verdict
  // goes to agrees.
  std::string compare(const std::vector<Line>& lines) {
    fill(record, lines);
    testing::internal::CaptureStderr();
    agrees = solver.compareSolution(record);
    return testing::internal::GetCapturedStderr();
  }

  std::string compareWithPred(int32_t node, int32_t pred) {
    std::vector<Line> lines = correctLines();
    lines[node].pred = pred;
    return compare(lines);
  }

  ShortestPathSolver solver;
  LoadedSolution record;
  bool agrees = false;
};

TEST_F(CompareSolution, NothingLoadedRefusesFirst) {
  solver.solutionLoaded = false;
  EXPECT_EQ(compare(correctLines()), "ERROR: Solution is not loaded can not compare.\n");
  EXPECT_FALSE(agrees);
}

TEST_F(CompareSolution, LabelProblemsAreReportedBeforeValues) {
  const std::string unique = "ERROR: Solution does not contain 7 unique node labels.\n";
  std::vector<Line> lines = correctLines();
  lines[0].cost = 42;  // a cost fault on an earlier line loses to any label fault
  lines[6].label = 7;
  EXPECT_EQ(compare(lines), "Given solution contains node 7 that is out of range\n" + unique);
  EXPECT_FALSE(agrees);

  lines[6].label = -1;
  EXPECT_EQ(compare(lines), "Given solution contains node -1 that is out of range\n" + unique);

  lines[6].label = 1;
  EXPECT_EQ(compare(lines), "Given solution contains node 1 more than once\n" + unique);
  EXPECT_FALSE(agrees);
}

TEST_F(CompareSolution, FirstLabelFaultInFileOrderIsNamed) {
  std::vector<Line> lines = correctLines();
  lines[2].label = 1;   // repeated
  lines[4].label = 70;  // out of range, later in the file
  EXPECT_EQ(compare(lines), "Given solution contains node 1 more than once\n"
                            "ERROR: Solution does not contain 7 unique node labels.\n");
}

TEST_F(CompareSolution, CostIsCheckedBeforeThePredOfTheSameLine) {
  std::vector<Line> lines = correctLines();
  lines[3] = {3, 6, 0};
  EXPECT_EQ(compare(lines), "ERROR: Wrong cost node 3 has cost 6  should be 5\n");
  EXPECT_FALSE(agrees);
}

TEST_F(CompareSolution, FirstDisagreeingLineInFileOrderIsNamed) {
  std::vector<Line> lines = {{6, -1, -1}, {4, 7, 0}, {0, 0, -1}, {5, -1, -1},
                             {1, 2, 0},   {3, 5, 1}, {2, 3, 0}};
  EXPECT_EQ(compare(lines),
            "ERROR: Wrong pred of node 4 is 0 but graph does not contain edge from 0 to 4\n");
  std::swap(lines[1], lines[4]);
  EXPECT_EQ(compare(lines), "ERROR: Wrong cost node 1 has cost 2  should be 1\n");
}

TEST_F(CompareSolution, PredWithoutAnyEdgeIsRejected) {
  EXPECT_EQ(compareWithPred(1, 6),
            "ERROR: Wrong pred of node 1 is 6 but graph does not contain edge from 6 to 1\n");
  EXPECT_FALSE(agrees);
}

TEST_F(CompareSolution, ImpossiblePredsNameTheRightOne) {
  EXPECT_EQ(compareWithPred(1, 7), "ERROR: Wrong pred of node 1 it is 7 but right pred is 0\n");
  EXPECT_EQ(compareWithPred(5, 4), "ERROR: Wrong pred of node 5 it is 4 but right pred is -1\n");
  EXPECT_FALSE(agrees);
}

TEST_F(CompareSolution, PredWithAWrongCostOnALaterLineIsRejectedFirst) {
  EXPECT_EQ(compare({{0, 0, -1}, {3, 5, 2}, {1, 1, 0}, {2, 4, 0}, {4, 7, 2}, {5, -1, -1},
                     {6, -1, -1}}),
            "ERROR: Wrong pred of node 3 it is 2 but right pred is 1\n");
  EXPECT_FALSE(agrees);
}

TEST_F(CompareSolution, CheckPredecessorFindsThePredLineByLabel) {
  // Line 2 of this record holds node 1; node 2 stands on line 0.
  fill(record, {{2, 3, 0}, {0, 0, -1}, {1, 1, 0}});
  EXPECT_TRUE(solver.checkPredecessor(record, 3, 2));

  fill(record, {{2, 4, 0}, {0, 0, -1}, {1, 3, 0}});
  testing::internal::CaptureStderr();
  EXPECT_FALSE(solver.checkPredecessor(record, 3, 2));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "ERROR: Wrong pred of node 3 it is 2 but right pred is 1\n");
}

// Nodes 1 and 2 both cost 5 and point at each other over zero-cost edges.
class CompareZeroCostCycle : public CompareSolution {
 protected:
  void SetUp() override {
    setGraph(solver, 3, {{0, 1, 5}, {0, 2, 5}, {1, 1, 0}, {1, 2, 0}, {2, 1, 0}});
    setResults(solver, {{0, -1}, {5, 0}, {5, 0}});
    solver.solutionLoaded = true;
  }
};

TEST_F(CompareZeroCostCycle, OneZeroCostAlternativeIsAccepted) {
  EXPECT_EQ(compare({{0, 0, -1}, {1, 5, 0}, {2, 5, 1}}), "");
  EXPECT_TRUE(agrees);
}

TEST_F(CompareZeroCostCycle, PredsThatLoopWithoutReachingTheSourceAreRejected) {
  EXPECT_EQ(compare({{0, 0, -1}, {1, 5, 2}, {2, 5, 1}}),
            "ERROR: Wrong pred of node 1 is 2 but preds from 1 form a cycle\n");
  EXPECT_FALSE(agrees);

  EXPECT_EQ(compare({{0, 0, -1}, {2, 5, 0}, {1, 5, 1}}),
            "ERROR: Wrong pred of node 1 is 1 but preds from 1 form a cycle\n");
  EXPECT_FALSE(agrees);
}

}  // namespace
