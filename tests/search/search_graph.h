#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "support/graph_file.h"
#include "support/process.h"

// Puts the edges into the solver through a graph file; node labels run up to
// the highest one named.
inline void loadEdges(ShortestPathSolver& solver, const std::vector<Edge>& edges) {
  TempDir dir;
  writeFile(dir.file("g.txt"), graphText(edges));
  ASSERT_TRUE(solver.loadGraph(dir.file("g.txt").c_str()));
}

inline bool operator==(const NodeResult& a, const NodeResult& b) {
  return a.cost == b.cost && a.pred == b.pred;
}

inline void PrintTo(const NodeResult& result, std::ostream* out) {
  *out << "{" << result.cost << ", " << result.pred << "}";
}
