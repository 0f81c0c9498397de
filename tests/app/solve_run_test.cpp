// The default run through the real binary: graph file in, solution file out.
#include <gtest/gtest.h>

#include <string>

#include "support/process.h"

namespace {

// Nodes 4 and 5 cannot be reached from 0; no two paths to a node cost the same.
constexpr const char* kGraph = "0 1 5\n0 2 3\n1 2 1\n2 3 4\n4 5 1\n";
constexpr const char* kSolution = "0 0 -1\n1 5 0\n2 3 0\n3 7 2\n4 -1 -1\n5 -1 -1\n";

TEST(SolveRun, SolutionFilesOfBothSearches) {
  const struct {
    const char* graph;
    const char* heap;
    const char* linear;
  } cases[] = {
      {kGraph, kSolution, kSolution},
      // Node 3 ties between 1 and 2: the heap keeps the node pushed first.
      {"0 2 1\n0 1 1\n1 3 1\n2 3 1\n", "0 0 -1\n1 1 0\n2 1 0\n3 2 2\n",
       "0 0 -1\n1 1 0\n2 1 0\n3 2 1\n"},
      {"0 0 7\n", "0 0 -1\n", "0 0 -1\n"},
      // Leading zeros do not count among the ten digits a number may have.
      {"00000000000 000000000002 00000000000000000007\n", "0 0 -1\n1 -1 -1\n2 7 0\n",
       "0 0 -1\n1 -1 -1\n2 7 0\n"},
  };
  TempDir dir;
  for (const auto& c : cases) {
    writeFile(dir.file("g.txt"), c.graph);
    writeFile(dir.file("out.txt"), std::string(1000, 'x'));  // replaced, not appended to
    expectRuns({{{"g.txt", "out.txt"}, 0, "", ""}}, dir.path());
    EXPECT_EQ(readFile(dir.file("out.txt")), c.heap) << c.graph;
    expectRuns({{{"-l", "g.txt", "out.txt"}, 0, "", ""}}, dir.path());
    EXPECT_EQ(readFile(dir.file("out.txt")), c.linear) << c.graph;
  }
}

TEST(SolveRun, VerboseLinesInOrder) {
  TempDir dir;
  writeFile(dir.file("g.txt"), kGraph);
  const std::string solved = "Vorlinde version 2.3.5\nLoad time ....Nms\n\tInit time ....Nms\n"
                             "\tFind time ....Nms\nSolve time ...Nms\n";
  const std::string saved = "Save time ....Nms\nTotal time ...Nms\n";
  expectRuns(
      {
          {{"-v", "g.txt", "out.txt"}, 0, "", solved + saved},
          // A failed save is still timed, and the total follows it.
          {{"-v", "g.txt", "/dev/full"}, 255, "", solved + "writting error\n" + saved},
          // A missing graph is still timed before the search that fails for want of it.
          {{"-v", "none.txt", "none.out"}, 255, "Can not open file [none.txt]\n",
           "Vorlinde version 2.3.5\nCan not open file none.txt\nLoad time ....Nms\n"
           "ERROR: Can not solve. Graph is not set.\nSolve time ...Nms\n"
           "ERROR: can not find solution\n"},
      },
      dir.path());
  EXPECT_EQ(readFile(dir.file("out.txt")), kSolution);
  EXPECT_FALSE(fileExists(dir.file("none.out")));
}

}  // namespace
