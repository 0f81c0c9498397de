// Placeholder until this part is built: reports failure, never success.
#include "graph/shortest_path_solver.h"

void ShortestPathSolver::initSearch(int32_t) {}
