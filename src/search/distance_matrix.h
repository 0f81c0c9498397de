#pragma once

#include <cstddef>
#include <cstdint>

#include "graph/shortest_path_solver.h"

// A table of path costs: row r for sources[r], column c for targets[c], each
// cell the cost of the cheapest path or -1 when there is none (or it costs
// more than maxCost). Sources and targets may repeat; each gives its own row
// or column. The rows are spread over threads with solveSources
// (search/solve_sources.h), each thread's solver writing its rows straight
// into the table: no memory beyond the table and the threads' search states.
struct DistanceMatrix {
  const int32_t* sources = nullptr;
  std::size_t sourceCount = 0;
  const int32_t* targets = nullptr;
  int32_t targetCount = 0;
  int64_t maxCost = -1;    // -1: no limit
  int32_t* cells = nullptr;  // sourceCount * targetCount, row after row
};

// Row row of the table: the exact search from its source, stopped once every
// target is settled, on solver. Every node number must lie in the graph.
// False when the search fails (reported), or was asked to stop.
bool solveMatrixRow(ShortestPathSolver& solver, const DistanceMatrix& matrix, std::size_t row);
