#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "graph/allocation.h"
#include "graph/shortest_path_solver.h"
#include "support/process.h"

namespace {

void setEdges(ShortestPathSolver& solver, std::initializer_list<Edge> edges) {
  std::free(solver.edges);
  solver.edges = static_cast<Edge*>(checkedMalloc(edges.size() * sizeof(Edge)));
  int32_t count = 0;
  for (const Edge& edge : edges) solver.edges[count++] = edge;
  solver.edgeCount = count;
}

TEST(SaveGraph, OneLinePerEdgeInArrayOrder) {
  TempDir dir;
  ShortestPathSolver solver;
  setEdges(solver, {{0, 1, 5}, {0, 2, 3}, {1, 2, 1}});
  EXPECT_EQ(solver.saveGraph(dir.file("g.txt").c_str()), 0);
  EXPECT_EQ(readFile(dir.file("g.txt")), "0 1 5\n0 2 3\n1 2 1\n");
}

TEST(SaveGraph, ReplacesAnExistingFile) {
  TempDir dir;
  writeFile(dir.file("g.txt"), std::string(100000, 'x'));
  ShortestPathSolver solver;
  setEdges(solver, {{0, 1, 2147483647}});
  EXPECT_EQ(solver.saveGraph(dir.file("g.txt").c_str()), 0);
  EXPECT_EQ(readFile(dir.file("g.txt")), "0 1 2147483647\n");
}

TEST(SaveGraph, NoEdgesGiveAnEmptyFile) {
  TempDir dir;
  writeFile(dir.file("g.txt"), "0 1 1\n");
  ShortestPathSolver solver;
  EXPECT_EQ(solver.saveGraph(dir.file("g.txt").c_str()), 0);
  EXPECT_TRUE(fileExists(dir.file("g.txt")));
  EXPECT_EQ(readFile(dir.file("g.txt")), "");
}

TEST(SaveGraph, LargeGraphIsWrittenWhole) {
  // Far more than one 16384-byte buffer, with lines of every length.
  TempDir dir;
  ShortestPathSolver solver;
  solver.generateRandomGraph(20000, 3, 5);
  std::string expected;
  char line[40];
  for (int32_t i = 0; i < solver.edgeCount; ++i) {
    const Edge& edge = solver.edges[i];
    std::snprintf(line, sizeof line, "%d %d %d\n", edge.from, edge.to, edge.cost);
    expected += line;
  }
  ASSERT_GT(expected.size(), 100000u);
  EXPECT_EQ(solver.saveGraph(dir.file("g.txt").c_str()), 0);
  EXPECT_EQ(readFile(dir.file("g.txt")), expected);
}

TEST(SaveGraph, FileThatCannotBeOpened) {
  TempDir dir;
  const std::string path = dir.file("missing/g.txt");
  ShortestPathSolver solver;
  setEdges(solver, {{0, 1, 5}});
  testing::internal::CaptureStdout();
  EXPECT_EQ(solver.saveGraph(path.c_str()), -1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Can not open file [" + path + "]\n");
  EXPECT_FALSE(fileExists(path));
}

TEST(SaveGraph, FailedWriteFailsTheSave) {
  // /dev/full opens but refuses every byte.
  ShortestPathSolver solver;
  setEdges(solver, {{0, 1, 5}, {0, 2, 3}});
  testing::internal::CaptureStderr();
  EXPECT_EQ(solver.saveGraph("/dev/full"), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "writting error\n");

  solver.generateRandomGraph(20000, 3, 5);  // fails while lines are still being put
  testing::internal::CaptureStderr();
  EXPECT_EQ(solver.saveGraph("/dev/full"), -1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "writting error\n");
}

TEST(SaveGraph, DISABLED_SavedGraphLoadsBackUnchanged) {
  TempDir dir;
  for (int32_t seed : {1, 9, 31337}) {
    ShortestPathSolver generated;
    generated.generateRandomGraph(3000, seed, 8);
    ASSERT_EQ(generated.saveGraph(dir.file("g.txt").c_str()), 0);
    ShortestPathSolver loaded;
    ASSERT_TRUE(loaded.loadGraph(dir.file("g.txt").c_str()));
    ASSERT_EQ(loaded.nodeCount, generated.nodeCount);
    ASSERT_EQ(loaded.edgeCount, generated.edgeCount);
    for (int32_t i = 0; i < generated.edgeCount; ++i) {
      ASSERT_EQ(loaded.edges[i].from, generated.edges[i].from) << i;
      ASSERT_EQ(loaded.edges[i].to, generated.edges[i].to) << i;
      ASSERT_EQ(loaded.edges[i].cost, generated.edges[i].cost) << i;
    }
    for (int32_t v = 0; v < generated.nodeCount; ++v) {
      ASSERT_EQ(loaded.edgeRanges[v].first, generated.edgeRanges[v].first) << v;
      ASSERT_EQ(loaded.edgeRanges[v].last, generated.edgeRanges[v].last) << v;
    }
  }
}

}  // namespace
