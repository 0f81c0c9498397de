#include "search/path_limit.h"

#include <cstdio>

#include "graph/shortest_path_solver.h"
#include "base/messages.h"

int32_t clearSkipMarks(NodeResult* results, int32_t count) {
  int32_t firstNode = -1;
  int32_t firstMark = -1;
  for (int32_t node = 0; node < count; ++node) {
    const int32_t mark = results[node].pred;
    if (results[node].cost != -1 || mark >= -1) continue;
    // Marks count down from -2, so the earliest skip has the greatest mark.
    if (firstNode == -1 || mark > firstMark) {
      firstNode = node;
      firstMark = mark;
    }
    results[node].pred = -1;
  }
  return firstNode;
}

namespace {

// The earliest skip among the given nodes still unreached, or -1.
int32_t firstSkippedTarget(const NodeResult* results, int32_t count, const OverLimitScope& scope) {
  int32_t firstNode = -1;
  for (int32_t k = 0; k < scope.targetCount; ++k) {
    const int32_t node = scope.targets[k];
    if (node < 0 || node >= count || results[node].cost != -1 || results[node].pred >= -1) continue;
    if (firstNode == -1 || results[node].pred > results[firstNode].pred) firstNode = node;
  }
  return firstNode;
}

}  // namespace

bool ShortestPathSolver::reportPathOverLimit(const OverLimitScope& scope) {
  if (skippedPathCount == 0) return false;
  const int32_t targetNode = scope.everyNode ? -1 : firstSkippedTarget(results, searchNodeCount, scope);
  const int32_t firstNode = clearSkipMarks(results, searchNodeCount);
  skippedPathCount = 0;
  const int32_t node = scope.everyNode ? firstNode : targetNode;
  if (node == -1) return false;
  printLinef("ERROR: Path cost of node %d exceeds 2147483647", node);
  return true;
}
