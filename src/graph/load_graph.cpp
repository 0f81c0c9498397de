// Placeholder until this part is built: reports failure, never success.
#include "graph/shortest_path_solver.h"

bool ShortestPathSolver::loadGraph(const char*) {
  clear();
  return false;
}
