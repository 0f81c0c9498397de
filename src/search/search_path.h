#pragma once

#include <cstdint>
#include <vector>

#include "graph/shortest_path_solver.h"

// The nodes from source to target along the predecessors the last search
// from source left, source first; empty when target was not reached.
void pathTo(const ShortestPathSolver& solver, int32_t source, int32_t target,
            std::vector<int32_t>& path);
