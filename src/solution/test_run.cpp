// Placeholder until this part is built: reports failure, never success.
#include "graph/shortest_path_solver.h"

bool ShortestPathSolver::runTest(const char*, const char*, int32_t) { return false; }
