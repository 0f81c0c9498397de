// Placeholder until this part is built: reports failure, never success.
#include "graph/shortest_path_solver.h"

bool ShortestPathSolver::solveLinear(int32_t) { return false; }
int32_t ShortestPathSolver::findCheapestOpen(const int32_t*) { return -1; }
void ShortestPathSolver::relaxLinear(int32_t, int32_t*) {}
