#include <cstdio>

#include "base/stopwatch.h"
#include "graph/shortest_path_solver.h"
#include "solution/loaded_solution.h"
#include "base/messages.h"

// The file alone defines the solution: its number of entries is the node
// count, and no graph is consulted.
bool ShortestPathSolver::runHashFromFile(const char* path) {
  LoadedSolution record;
  const LoadedSolution* loaded = timedStep(verbose, "Load solution time ...",
                                           [&] { return loadSolution(path, nodeCount, record); });
  if (loaded == nullptr) return false;

  // results no longer hold any earlier solution once they are replaced, so a
  // failed read must not leave one marked present.
  solutionSet = false;
  const int32_t count = record.count;
  initSearch(count);
  bool allInRange = true;
  for (int32_t line = 0; line < count; ++line) {
    const SolutionEntry& entry = record.entries[line];
    if (entry.label < 0 || entry.label >= count) {
      printLinef("ERROR: Solution file contain node labe %d that is out of range",
                   entry.label);
      allInRange = false;
      continue;
    }
    // A label given twice keeps its last line.
    results[entry.label].cost = entry.cost;
    results[entry.label].pred = entry.pred;
  }
  if (!allInRange) return false;
  solutionSet = true;
  return true;
}
