#pragma once

#include <cstdint>
#include <vector>

#include "graph/shortest_path_solver.h"
#include "query/query_options.h"
#include "query/query_progress.h"

// --matrix: the costs from every source to every target as one table
// (io/matrix_table.h) in options.output, written only once every row is
// solved. False when a search or the write failed (reported).
bool solveMatrix(const ShortestPathSolver& graph, const QueryOptions& options,
                 const std::vector<int32_t>& sources, const std::vector<int32_t>& targets,
                 int32_t threads, ProgressLine& progress);

// --convert: reads the graph and writes it as a binary graph file; the exit
// status (query/query_convert.cpp).
int runConversion(const QueryOptions& options);
