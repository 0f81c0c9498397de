#include <cstdio>

#include "app/stopwatch.h"
#include "graph/shortest_path_solver.h"

bool ShortestPathSolver::solveAndSave(const char* graphFile, const char* outputFile,
                                      int32_t source, bool useHeap) {
  StopWatch totalWatch;
  StopWatch loadWatch;
  StopWatch solveWatch;
  StopWatch saveWatch;
  solutionSet = false;
  totalWatch.start();

  // A failed load leaves no graph behind, so it surfaces as a failed search.
  if (graphFile != nullptr) {
    loadWatch.start();
    loadGraph(graphFile);
    loadWatch.stop();
    if (verbose) printTimingLine("Load time ....", loadWatch.elapsedMs());
  }

  solveWatch.start();
  const bool solved = useHeap ? solveHeap(source) : solveLinear(source);
  solveWatch.stop();
  if (verbose) printTimingLine("Solve time ...", solveWatch.elapsedMs());
  if (!solved) {
    if (verbose) {
      std::fputs("ERROR: can not find solution\n", stderr);
      std::fflush(stderr);
    }
    return false;
  }

  // The solution stays usable (for the checksum) even when saving it fails.
  solutionSet = true;
  bool saved = true;
  if (outputFile != nullptr) {
    saveWatch.start();
    saved = saveSolution(outputFile);
    saveWatch.stop();
  }
  totalWatch.stop();
  if (verbose) {
    if (outputFile != nullptr) printTimingLine("Save time ....", saveWatch.elapsedMs());
    printTimingLine("Total time ...", totalWatch.elapsedMs());
  }
  return saved;
}
