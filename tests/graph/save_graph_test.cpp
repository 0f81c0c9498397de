#include <gtest/gtest.h>

#include <string>

#include "graph/shortest_path_solver.h"
#include "support/graph_file.h"
#include "support/process.h"

namespace {

// Many writer buffers' worth, over an older and longer file: the saved text
// replaces it, reads back as the same arrays, and is exactly one line per edge.
TEST(SaveGraph, SavedGraphReplacesTheFileAndLoadsBackUnchanged) {
  TempDir dir;
  const std::string path = dir.file("g.txt");
  writeFile(path, std::string(1000000, 'x'));
  ShortestPathSolver generated;
  generated.generateRandomGraph(3000, 9, 8);
  ASSERT_EQ(generated.saveGraph(path.c_str()), 0);
  EXPECT_TRUE(readFile(path) == graphText({generated.edges, generated.edges + generated.edgeCount}));
  ShortestPathSolver loaded;
  ASSERT_TRUE(loaded.loadGraph(path.c_str()));
  EXPECT_TRUE(graphText({loaded.edges, loaded.edges + loaded.edgeCount}) == readFile(path));
  EXPECT_EQ(rangesText(loaded.edgeRanges, loaded.nodeCount), rangesText(generated.edgeRanges, generated.nodeCount));
}

// /dev/full opens but takes no byte: the failure comes at a flush on the way,
// not only at close.
TEST(SaveGraph, FailedWriteFailsTheSave) {
  ShortestPathSolver solver;
  solver.generateRandomGraph(20000, 3, 5);
  testing::internal::CaptureStderr();
  EXPECT_EQ(solver.saveGraph("/dev/full"), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "writting error\n");
}

}  // namespace
