// Comparing a given solution with the computed one: which fault is named
// first, and which alternative predecessors make a valid tree.
#include <gtest/gtest.h>

#include <string>

#include "support/process.h"

namespace {

// Costs 0, 1, 3, 5, 7 with ties at nodes 2, 3 and 4; the search picks preds
// 0, 0, 1, 2. Node 5 is unreached and node 4 reaches 2 at a higher cost.
constexpr const char* kTies = "0 1 1\n0 2 3\n1 2 2\n1 3 4\n2 3 2\n2 4 4\n3 4 2\n4 2 9\n5 4 8\n";
// Nodes 1 and 2 both cost 5 and point at each other over zero-cost edges.
constexpr const char* kZeroCycle = "0 1 5\n0 2 5\n1 1 0\n1 2 0\n2 1 0\n";

TEST(CompareSolution, FirstFaultInPrecedenceAndFileOrder) {
  const std::string unique = "ERROR: Solution does not contain 6 unique node labels.\n";
  const struct {
    const char* graph;
    const char* solution;
    std::string message;  // empty: the solution passes
  } cases[] = {
      // Any label fault beats a cost fault on an earlier line; the first label fault is named.
      {kTies, "0 42 -1\n1 1 0\n2 3 0\n3 5 1\n4 7 2\n6 -1 -1\n",
       "Given solution contains node 6 that is out of range\n" + unique},
      {kTies, "0 0 -1\n1 1 0\n1 3 0\n3 5 1\n70 7 2\n5 -1 -1\n",
       "Given solution contains node 1 more than once\n" + unique},
      // Cost before pred on the same line, then lines in file order.
      {kTies, "0 0 -1\n1 1 0\n2 3 0\n3 6 0\n4 7 2\n5 -1 -1\n",
       "ERROR: Wrong cost node 3 has cost 6  should be 5\n"},
      {kTies, "5 -1 -1\n4 7 0\n0 0 -1\n1 2 0\n3 5 1\n2 3 0\n",
       "ERROR: Wrong pred of node 4 is 0 but graph does not contain edge from 0 to 4\n"},
      {kTies, "5 -1 -1\n1 2 0\n0 0 -1\n4 7 0\n3 5 1\n2 3 0\n",
       "ERROR: Wrong cost node 1 has cost 2  should be 1\n"},
      // Preds that cannot be: beyond the labels, and into an unreached node.
      {kTies, "0 0 -1\n1 1 7\n2 3 0\n3 5 1\n4 7 2\n5 -1 -1\n",
       "ERROR: Wrong pred of node 1 it is 7 but right pred is 0\n"},
      {kTies, "0 0 -1\n1 1 0\n2 3 0\n3 5 1\n4 7 2\n5 -1 4\n",
       "ERROR: Wrong pred of node 5 it is 4 but right pred is -1\n"},
      // Pred 2 of node 3 is judged by node 2's own line, wherever it stands:
      // a wrong cost there fails node 3 before that later line is reached.
      {kTies, "0 0 -1\n3 5 2\n1 1 0\n2 3 0\n4 7 2\n5 -1 -1\n", ""},
      {kTies, "0 0 -1\n3 5 2\n1 1 0\n2 4 0\n4 7 2\n5 -1 -1\n",
       "ERROR: Wrong pred of node 3 it is 2 but right pred is 1\n"},
      // One zero-cost alternative is a valid tree; preds that only loop are not.
      {kZeroCycle, "0 0 -1\n1 5 0\n2 5 1\n", ""},
      {kZeroCycle, "0 0 -1\n1 5 2\n2 5 1\n",
       "ERROR: Wrong pred of node 1 is 2 but preds from 1 form a cycle\n"},
      {kZeroCycle, "0 0 -1\n2 5 0\n1 5 1\n",
       "ERROR: Wrong pred of node 1 is 1 but preds from 1 form a cycle\n"},
  };
  TempDir dir;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.solution);
    writeFile(dir.file("g.txt"), c.graph);
    writeFile(dir.file("s.txt"), c.solution);
    expectRuns({{{"-t", "g.txt", "s.txt"}, c.message.empty() ? 0 : 255, "", c.message}}, dir.path());
  }
}

}  // namespace
