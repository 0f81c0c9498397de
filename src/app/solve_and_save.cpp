// Placeholder until this part is built: reports failure, never success.
#include "graph/shortest_path_solver.h"

bool ShortestPathSolver::solveAndSave(const char*, const char*, int32_t, bool) { return false; }
