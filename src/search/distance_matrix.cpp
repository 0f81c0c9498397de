#include "search/distance_matrix.h"

#include "search/search_limits.h"

bool solveMatrixRow(ShortestPathSolver& solver, const DistanceMatrix& matrix, std::size_t row) {
  const SearchLimits limits{matrix.targets, matrix.targetCount, matrix.maxCost};
  if (!solver.solveFrom(matrix.sources[row], limits)) return false;
  int32_t* cells = matrix.cells + row * static_cast<std::size_t>(matrix.targetCount);
  const NodeResult* results = solver.results;
  for (int32_t column = 0; column < matrix.targetCount; ++column) {
    cells[column] = results[matrix.targets[column]].cost;
  }
  return true;
}
