// Placeholder until this part is built: reports failure, never success.
#include "graph/shortest_path_solver.h"

void ShortestPathSolver::push(int32_t, int32_t) {}
void ShortestPathSolver::decreaseKey(int32_t, int32_t) {}
int32_t ShortestPathSolver::popMin() { return -1; }
int32_t ShortestPathSolver::checkHeap(int32_t) { return 0; }
