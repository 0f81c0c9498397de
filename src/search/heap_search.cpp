// Placeholder until this part is built: reports failure, never success.
#include "graph/shortest_path_solver.h"

bool ShortestPathSolver::solveHeap(int32_t) { return false; }
void ShortestPathSolver::relaxHeap(int32_t) {}
