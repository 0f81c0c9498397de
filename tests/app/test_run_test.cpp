// The test run through the real binary: a given solution file checked against
// the tool's own answer, with its messages, timing lines and exit status.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "support/process.h"

namespace {

// Costs 0, 1, 3, 5, 7 with equal-cost ties at nodes 2, 3 and 4; 4 -> 2 is a
// dearer way into node 2; node 5 is unreached.
const char* const kGraph = "0 1 1\n0 2 3\n1 2 2\n1 3 4\n2 3 2\n2 4 4\n3 4 2\n4 2 9\n5 4 8\n";

std::string withoutTimes(const std::string& text) {
  return std::regex_replace(text, std::regex("[0-9]+ms\n"), "Nms\n");
}

class TestRun : public testing::Test {
 protected:
  void SetUp() override { writeFile(dir.file("g.txt"), kGraph); }

  // Writes the given solution and runs the test mode on it.
  ProcessResult check(const std::string& solution, bool verbose = false) {
    writeFile(dir.file("s.txt"), solution);
    if (verbose) return runVorlinde({"-v", "-t", "g.txt", "s.txt"}, dir.path());
    return runVorlinde({"-t", "g.txt", "s.txt"}, dir.path());
  }

  void expectFailure(const std::string& solution, const std::string& message) {
    const ProcessResult result = check(solution);
    EXPECT_EQ(result.status, 255) << solution;
    EXPECT_EQ(result.out, "") << solution;
    EXPECT_EQ(result.err, message) << solution;
  }

  // The solution the tool writes for kGraph, whatever its tie-breaking.
  std::string ownSolution() {
    const ProcessResult solved = runVorlinde({"g.txt", "own.txt"}, dir.path());
    EXPECT_EQ(solved.status, 0) << solved.err;
    return readFile(dir.file("own.txt"));
  }

  TempDir dir;
};

TEST_F(TestRun, OwnSolutionPassesSilently) {
  const ProcessResult result = check(ownSolution());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
}

TEST_F(TestRun, VerboseRunTimesEveryStepThenSaysOk) {
  const ProcessResult result = check(ownSolution(), true);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(withoutTimes(result.err),
            "Vorlinde version 2.3.5\n"
            "Load graph time ......Nms\n"
            "\tInit time ....Nms\n"
            "\tFind time ....Nms\n"
            "Solve time ...........Nms\n"
            "Load solution time ...Nms\n"
            "Compare time..........Nms\n"
            "Total time ...Nms\n"
            "Solution is OK\n");
}

TEST_F(TestRun, VerboseFailurePutsTheReasonBeforeTheCompareTime) {
  const ProcessResult result = check("0 0 -1\n1 1 0\n2 3 0\n3 5 1\n4 8 2\n5 -1 -1\n", true);
  EXPECT_EQ(result.status, 255);
  EXPECT_EQ(withoutTimes(result.err),
            "Vorlinde version 2.3.5\n"
            "Load graph time ......Nms\n"
            "\tInit time ....Nms\n"
            "\tFind time ....Nms\n"
            "Solve time ...........Nms\n"
            "Load solution time ...Nms\n"
            "ERROR: Wrong cost node 4 has cost 8  should be 7\n"
            "Compare time..........Nms\n"
            "Total time ...Nms\n");
}

TEST_F(TestRun, EqualCostAlternativesAndOtherFileFormsPass) {
  const std::vector<std::string> accepted = {
      // every tie resolved the other way
      "0 0 -1\n1 1 0\n2 3 1\n3 5 2\n4 7 3\n5 -1 -1\n",
      "0 0 -1\n1 1 0\n2 3 0\n3 5 1\n4 7 2\n5 -1 -1\n",
      // any line order
      "5 -1 -1\n3 5 1\n0 0 -1\n4 7 2\n2 3 0\n1 1 0\n",
      // unreached and no predecessor written as words
      "0 0 NIL\n1 1 0\n2 3 0\n3 5 1\n4 7 2\n5 INF NIL\n",
      "0 0 nil\n1 1 0\n2 3 0\n3 5 1\n4 7 2\n5 Inf nIL\n",
      // CR LF line ends, a last line without a line end, a trailing blank line
      "0 0 -1\r\n1 1 0\r\n2 3 0\r\n3 5 1\r\n4 7 2\r\n5 -1 -1",
      "0 0 -1\n1 1 0\n2 3 0\n3 5 1\n4 7 2\n5 -1 -1\n\n",
  };
  for (const std::string& solution : accepted) {
    const ProcessResult result = check(solution);
    EXPECT_EQ(result.status, 0) << solution;
    EXPECT_EQ(result.err, "") << solution;
  }
}

TEST_F(TestRun, LinearSearchSolutionPasses) {
  // Node 3 ties between 1 and 2: the two searches pick different predecessors.
  writeFile(dir.file("tie.txt"), "0 2 1\n0 1 1\n1 3 1\n2 3 1\n");
  ASSERT_EQ(runVorlinde({"-l", "tie.txt", "linear.txt"}, dir.path()).status, 0);
  ASSERT_EQ(runVorlinde({"tie.txt", "heap.txt"}, dir.path()).status, 0);
  EXPECT_NE(readFile(dir.file("linear.txt")), readFile(dir.file("heap.txt")));
  const ProcessResult result = runVorlinde({"-t", "tie.txt", "linear.txt"}, dir.path());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
}

TEST_F(TestRun, EveryComparisonMessage) {
  const std::string rest = "1 1 0\n2 3 0\n3 5 1\n4 7 2\n";
  expectFailure("0 0 -1\n" + rest, "ERROR: Solution does not contain exactly 6 nodes.\n");
  expectFailure("0 0 -1\n" + rest + "5 -1 -1\n5 -1 -1\n",
                "ERROR: Solution does not contain exactly 6 nodes.\n");
  expectFailure("0 0 -1\n" + rest + "6 -1 -1\n",
                "Given solution contains node 6 that is out of range\n"
                "ERROR: Solution does not contain 6 unique node labels.\n");
  expectFailure("-1 0 -1\n" + rest + "5 -1 -1\n",
                "Given solution contains node -1 that is out of range\n"
                "ERROR: Solution does not contain 6 unique node labels.\n");
  expectFailure("0 0 -1\n" + rest + "1 1 0\n",
                "Given solution contains node 1 more than once\n"
                "ERROR: Solution does not contain 6 unique node labels.\n");
  expectFailure("0 0 -1\n1 1 0\n2 4 0\n3 5 1\n4 7 2\n5 -1 -1\n",
                "ERROR: Wrong cost node 2 has cost 4  should be 3\n");
  expectFailure("0 0 -1\n1 1 0\n2 3 0\n3 5 1\n4 7 2\n5 0 -1\n",
                "ERROR: Wrong cost node 5 has cost 0  should be -1\n");
  expectFailure("0 0 -1\n1 1 NIL\n2 3 0\n3 5 1\n4 7 2\n5 -1 -1\n",
                "ERROR: Wrong pred of node 1 it is -1 but right pred is 0\n");
  expectFailure("0 0 3\n" + rest + "5 -1 -1\n",
                "ERROR: Wrong pred of node 0 it is 3 but right pred is -1\n");
  expectFailure("0 0 -1\n1 1 0\n2 3 0\n3 5 0\n4 7 2\n5 -1 -1\n",
                "ERROR: Wrong pred of node 3 is 0 but graph does not contain edge from 0 to 3\n");
}

TEST_F(TestRun, PredecessorOverADearerEdgeIsRejected) {
  // 4 -> 2 exists, but 7 + 9 is not node 2's cost of 3.
  expectFailure("0 0 -1\n1 1 0\n2 3 4\n3 5 1\n4 7 2\n5 -1 -1\n",
                "ERROR: Wrong pred of node 2 is 4 but no edge from 4 to 2 gives cost 3\n");
  // Unreached node 5 has an edge into 4; its -1 plus 8 must not pass for 7.
  expectFailure("0 0 -1\n1 1 0\n2 3 0\n3 5 1\n4 7 5\n5 -1 -1\n",
                "ERROR: Wrong pred of node 4 is 5 but no edge from 5 to 4 gives cost 7\n");
}

TEST_F(TestRun, PredecessorsLoopingOverZeroCostEdgesAreRejected) {
  // Each of the two preds is an equally cheap in-neighbour, yet neither
  // chain ever reaches node 0.
  writeFile(dir.file("loop.txt"), "0 1 5\n0 2 5\n1 2 0\n2 1 0\n");
  writeFile(dir.file("s.txt"), "0 0 -1\n1 5 2\n2 5 1\n");
  const ProcessResult result = runVorlinde({"-t", "loop.txt", "s.txt"}, dir.path());
  EXPECT_EQ(result.status, 255);
  EXPECT_EQ(result.err, "ERROR: Wrong pred of node 1 is 2 but preds from 1 form a cycle\n");
}

TEST_F(TestRun, PredecessorCostComesFromItsOwnLine) {
  // File line 2 holds node 1; node 3's predecessor 2 is judged by node 2's line.
  const ProcessResult result = check("0 0 -1\n3 5 2\n1 1 0\n2 3 0\n4 7 2\n5 -1 -1\n");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
}

TEST_F(TestRun, MissingSolutionFileFails) {
  const ProcessResult result = runVorlinde({"-t", "g.txt", "missing.txt"}, dir.path());
  EXPECT_EQ(result.status, 255);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err,
            "Can not open file missing.txt\nERROR: Solution is not loaded can not compare.\n");
}

TEST_F(TestRun, MissingGraphFailsRightAfterTheSearch) {
  writeFile(dir.file("empty.txt"), "");
  const ProcessResult result = runVorlinde({"-t", "missing.txt", "empty.txt"}, dir.path());
  EXPECT_EQ(result.status, 255);
  EXPECT_EQ(result.out, "Can not open file [missing.txt]\n");
  EXPECT_EQ(result.err,
            "Can not open file missing.txt\nERROR: Can not solve. Graph is not set.\n");

  const ProcessResult verbose = runVorlinde({"-v", "-t", "missing.txt", "empty.txt"}, dir.path());
  EXPECT_EQ(verbose.status, 255);
  EXPECT_EQ(withoutTimes(verbose.err),
            "Vorlinde version 2.3.5\n"
            "Can not open file missing.txt\n"
            "Load graph time ......Nms\n"
            "ERROR: Can not solve. Graph is not set.\n"
            "Solve time ...........Nms\n");
}

TEST_F(TestRun, BadGraphFileFails) {
  writeFile(dir.file("bad.txt"), "0 1 1\n1 x 2\n");
  writeFile(dir.file("s.txt"), "0 0 -1\n1 1 0\n");
  const ProcessResult result = runVorlinde({"-t", "bad.txt", "s.txt"}, dir.path());
  EXPECT_EQ(result.status, 255);
  EXPECT_EQ(result.err,
            "ERROR: Bad graph file bad.txt line 2: not a number\n"
            "ERROR: Can not solve. Graph is not set.\n");
}

TEST_F(TestRun, FailedSearchFails) {
  writeFile(dir.file("far.txt"), "0 1 2147483647\n1 2 1\n");
  writeFile(dir.file("s.txt"), "0 0 -1\n1 2147483647 0\n2 -1 -1\n");
  const ProcessResult result = runVorlinde({"-t", "far.txt", "s.txt"}, dir.path());
  EXPECT_EQ(result.status, 255);
  EXPECT_EQ(result.err, "ERROR: Path cost of node 2 exceeds 2147483647\n");
}

}  // namespace
