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
  solver.edgeCount = 0;
  for (const Edge& edge : edges) solver.edges[solver.edgeCount++] = edge;
}

TEST(SaveGraph, ReplacesTheFileWithOneLinePerEdge) {
  TempDir dir;
  const std::string path = dir.file("g.txt");
  writeFile(path, std::string(100000, 'x'));
  ShortestPathSolver solver;
  setEdges(solver, {{0, 1, 5}, {0, 2, 3}, {1, 2, 2147483647}});
  EXPECT_EQ(solver.saveGraph(path.c_str()), 0);
  EXPECT_EQ(readFile(path), "0 1 5\n0 2 3\n1 2 2147483647\n");
  setEdges(solver, {});
  EXPECT_EQ(solver.saveGraph(path.c_str()), 0);
  EXPECT_EQ(readFile(path), "");

  // Many buffers' worth gives the same text as writing it in one piece.
  solver.generateRandomGraph(20000, 3, 5);
  std::string expected;
  char line[40];
  for (int32_t i = 0; i < solver.edgeCount; ++i) {
    const Edge& e = solver.edges[i];
    std::snprintf(line, sizeof line, "%d %d %d\n", e.from, e.to, e.cost);
    expected += line;
  }
  EXPECT_EQ(solver.saveGraph(path.c_str()), 0);
  EXPECT_EQ(readFile(path), expected);
}

TEST(SaveGraph, FailuresAreReported) {
  TempDir dir;
  const std::string path = dir.file("missing/g.txt");
  ShortestPathSolver solver;
  setEdges(solver, {{0, 1, 5}});
  testing::internal::CaptureStdout();
  EXPECT_EQ(solver.saveGraph(path.c_str()), -1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Can not open file [" + path + "]\n");

  // /dev/full opens but takes no byte: once at close, once while lines are put.
  for (int32_t n : {7, 20000}) {
    solver.generateRandomGraph(n, 3, 5);
    testing::internal::CaptureStderr();
    EXPECT_EQ(solver.saveGraph("/dev/full"), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "writting error\n");
  }
}

TEST(SaveGraph, SavedGraphLoadsBackUnchanged) {
  TempDir dir;
  ShortestPathSolver generated;
  generated.generateRandomGraph(3000, 9, 8);
  ASSERT_EQ(generated.saveGraph(dir.file("g.txt").c_str()), 0);
  ShortestPathSolver loaded;
  ASSERT_TRUE(loaded.loadGraph(dir.file("g.txt").c_str()));
  ASSERT_EQ(loaded.nodeCount, generated.nodeCount);
  ASSERT_EQ(loaded.edgeCount, generated.edgeCount);
  for (int32_t i = 0; i < generated.edgeCount; ++i) {
    const Edge &a = loaded.edges[i], &b = generated.edges[i];
    ASSERT_TRUE(a.from == b.from && a.to == b.to && a.cost == b.cost) << i;
  }
  for (int32_t v = 0; v < generated.nodeCount; ++v) {
    ASSERT_EQ(loaded.edgeRanges[v].first, generated.edgeRanges[v].first) << v;
    ASSERT_EQ(loaded.edgeRanges[v].last, generated.edgeRanges[v].last) << v;
  }
}

}  // namespace
