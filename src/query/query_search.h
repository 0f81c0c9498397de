#pragma once

#include <cstdint>

#include "graph/shortest_path_solver.h"
#include "search/search_limits.h"

// The search from one source within the query's limits. Every node it
// reports settled has exactly the cost and predecessor of the full heap
// search from that source; every other node cost -1, pred -1.
bool solveWithinLimits(ShortestPathSolver& solver, int32_t source, const SearchLimits& limits);
