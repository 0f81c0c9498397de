#include "base/stopwatch.h"
#include "graph/shortest_path_solver.h"
#include "solution/loaded_solution.h"

// Without a graph or a search result there is nothing to check the given
// solution against, so the run fails right after the search, leaving the
// loader's and the search's own messages as the reason.
bool ShortestPathSolver::runTest(const char* graphFile, const char* solutionFile, int32_t source) {
  StopWatch totalWatch;
  const bool graphLoaded =
      timedStep(verbose, "Load graph time ......", [&] { return loadGraph(graphFile); });
  const bool solved = timedStep(verbose, "Solve time ...........", [&] { return solveFrom(source); });
  if (!graphLoaded || !solved) return false;

  LoadedSolution record;
  timedStep(verbose, "Load solution time ...",
            [&] { return loadSolution(solutionFile, nodeCount, record); });
  const bool agrees = timedStep(verbose, "Compare time..........", [&] { return compareSolution(record); });
  totalWatch.stop();
  if (verbose) printTimingLine("Total time ...", totalWatch.elapsedMs());
  return agrees;
}
