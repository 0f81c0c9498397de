// The test run through the real binary: a given solution file checked against
// the tool's own answer, naming the first fault in precedence and file order.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/process.h"

namespace {

// Costs 0, 1, 3, 5, 7 with equal-cost ties at nodes 2, 3 and 4; 4 -> 2 is a
// dearer way into node 2; node 5 is unreached but has an edge into 4.
const char* const kGraph = "0 1 1\n0 2 3\n1 2 2\n1 3 4\n2 3 2\n2 4 4\n3 4 2\n4 2 9\n5 4 8\n";
const std::string kNodes[] = {"0 0 -1", "1 1 0", "2 3 0", "3 5 1", "4 7 2", "5 -1 -1"};
// Nodes 1 and 2 both cost 5 and point at each other over zero-cost edges.
const char* const kZeroCycle = "0 1 5\n0 2 5\n1 1 0\n1 2 0\n2 1 0\n";

// The tool's own solution of kGraph, with the lines of the given nodes replaced.
std::string with(const std::vector<std::string>& lines) {
  std::string text;
  for (std::string line : kNodes) {
    for (const std::string& given : lines) line = given[0] == line[0] ? given : line;
    text += line + "\n";
  }
  return text;
}

TEST(TestRun, GivenSolutionsPassOrNameTheirFirstFault) {
  TempDir dir;
  writeFile(dir.file("g.txt"), kGraph);
  writeFile(dir.file("cycle.txt"), kZeroCycle);
  writeFile(dir.file("bad.txt"), "0 1 1\n1 x 2\n");
  writeFile(dir.file("far.txt"), "0 1 2147483647\n1 2 1\n");
  const std::string unique = "ERROR: Solution does not contain 6 unique node labels.\n";
  const struct {
    const char* graph;
    std::string solution;
    std::string err;  // empty: the solution passes
  } cases[] = {
      {"g.txt", with({}), ""},
      {"g.txt", with({"2 3 1", "3 5 2", "4 7 3"}), ""},  // every tie resolved the other way
      {"g.txt", with({"0 0 nil", "5 Inf NIL"}), ""},
      {"g.txt", "5 -1 -1\n3 5 2\n0 0 -1\n1 1 0\n4 7 2\n2 3 0\n", ""},  // lines in any order
      {"g.txt", "0 0 -1\n1 1 0\n2 3 0\n3 5 1\n4 7 2\n",
       "ERROR: Solution does not contain exactly 6 nodes.\n"},
      // Any label fault beats a cost fault on an earlier line.
      {"g.txt", "0 42 -1\n1 1 0\n2 3 0\n3 5 1\n4 7 2\n6 -1 -1\n",
       "Given solution contains node 6 that is out of range\n" + unique},
      {"g.txt", "0 0 -1\n1 1 0\n1 3 0\n3 5 1\n-1 7 2\n5 -1 -1\n",
       "Given solution contains node 1 more than once\n" + unique},
      // Cost before pred on one line, then lines in file order.
      {"g.txt", "5 -1 -1\n4 7 0\n0 0 -1\n1 2 0\n3 5 1\n2 3 0\n",
       "ERROR: Wrong pred of node 4 is 0 but graph does not contain edge from 0 to 4\n"},
      {"g.txt", "5 -1 -1\n1 2 0\n0 0 -1\n4 7 0\n3 5 1\n2 3 0\n",
       "ERROR: Wrong cost node 1 has cost 2  should be 1\n"},
      {"g.txt", with({"1 1 NIL"}), "ERROR: Wrong pred of node 1 it is -1 but right pred is 0\n"},
      {"g.txt", with({"0 0 3"}), "ERROR: Wrong pred of node 0 it is 3 but right pred is -1\n"},
      // Pred 2 of node 3 is judged by node 2's own line, wherever it stands.
      {"g.txt", "0 0 -1\n3 5 2\n1 1 0\n2 4 0\n4 7 2\n5 -1 -1\n",
       "ERROR: Wrong pred of node 3 it is 2 but right pred is 1\n"},
      // 4 -> 2 exists, but 7 + 9 is not node 2's cost of 3.
      {"g.txt", with({"2 3 4"}), "ERROR: Wrong pred of node 2 is 4 but no edge from 4 to 2 gives cost 3\n"},
      // Unreached node 5's -1 plus 8 must not pass for 7.
      {"g.txt", with({"4 7 5"}), "ERROR: Wrong pred of node 4 is 5 but no edge from 5 to 4 gives cost 7\n"},
      // One zero-cost alternative is a valid tree; preds that only loop are not.
      {"cycle.txt", "0 0 -1\n1 5 0\n2 5 1\n", ""},
      {"cycle.txt", "0 0 -1\n1 5 2\n2 5 1\n",
       "ERROR: Wrong pred of node 1 is 2 but preds from 1 form a cycle\n"},
      {"cycle.txt", "0 0 -1\n2 5 0\n1 5 1\n", "ERROR: Wrong pred of node 1 is 1 but preds from 1 form a cycle\n"},
      // A graph that cannot be loaded or searched fails the run before any comparison.
      {"bad.txt", "", "ERROR: Bad graph file bad.txt line 2: not a number\n"
                      "ERROR: Can not solve. Graph is not set.\n"},
      {"far.txt", "", "ERROR: Path cost of node 2 exceeds 2147483647\n"},
  };
  std::vector<ExpectedRun> runs;
  for (const auto& c : cases) {
    const std::string name = "s" + std::to_string(runs.size()) + ".txt";
    writeFile(dir.file(name), c.solution);
    runs.push_back({{"-t", c.graph, name}, c.err.empty() ? 0 : 255, "", c.err});
  }
  runs.push_back({{"-t", "g.txt", "missing.txt"}, 255, "",
                  "Can not open file missing.txt\nERROR: Solution is not loaded can not compare.\n"});
  expectRuns(runs, dir.path());
}

TEST(TestRun, VerboseLinesInOrder) {
  TempDir dir;
  writeFile(dir.file("g.txt"), kGraph);
  writeFile(dir.file("ok.txt"), with({}));
  writeFile(dir.file("wrong.txt"), with({"4 8 2"}));
  const std::string solved =
      "Vorlinde version 2.3.5\nLoad graph time ......Nms\n\tInit time ....Nms\n\tFind time ....Nms\n"
      "Solve time ...........Nms\nLoad solution time ...Nms\n";
  const std::string times = "Compare time..........Nms\nTotal time ...Nms\n";
  expectRuns({{{"-v", "-t", "g.txt", "ok.txt"}, 0, "", solved + times + "Solution is OK\n"},
              {{"-v", "-t", "g.txt", "wrong.txt"}, 255, "",
               solved + "ERROR: Wrong cost node 4 has cost 8  should be 7\n" + times}},
             dir.path());
}

}  // namespace
