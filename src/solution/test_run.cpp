#include "app/stopwatch.h"
#include "graph/shortest_path_solver.h"

// Without a graph or a search result there is nothing to check the given
// solution against, so the run fails right after the search, leaving the
// loader's and the search's own messages as the reason.
bool ShortestPathSolver::runTest(const char* graphFile, const char* solutionFile, int32_t source) {
  StopWatch totalWatch;
  StopWatch graphWatch;
  StopWatch solveWatch;
  StopWatch solutionWatch;
  StopWatch compareWatch;

  totalWatch.start();
  graphWatch.start();
  const bool graphLoaded = loadGraph(graphFile);
  graphWatch.stop();
  if (verbose) printTimingLine("Load graph time ......", graphWatch.elapsedMs());

  solveWatch.start();
  const bool solved = solveHeap(source);
  solveWatch.stop();
  if (verbose) printTimingLine("Solve time ...........", solveWatch.elapsedMs());
  if (!graphLoaded || !solved) return false;

  LoadedSolution record;
  solutionWatch.start();
  loadSolution(solutionFile, nodeCount, record);
  solutionWatch.stop();
  if (verbose) printTimingLine("Load solution time ...", solutionWatch.elapsedMs());

  compareWatch.start();
  const bool agrees = compareSolution(record);
  compareWatch.stop();
  totalWatch.stop();
  if (verbose) {
    printTimingLine("Compare time..........", compareWatch.elapsedMs());
    printTimingLine("Total time ...", totalWatch.elapsedMs());
  }
  return agrees;
}
