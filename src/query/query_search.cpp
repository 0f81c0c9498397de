#include "query/query_search.h"

bool solveWithinLimits(ShortestPathSolver& solver, int32_t source, const SearchLimits& limits) {
  return solver.solveFrom(source, limits);
}
