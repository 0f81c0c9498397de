#include "base/stopwatch.h"
#include "base/messages.h"
#include "graph/shortest_path_solver.h"

bool ShortestPathSolver::solveAndSave(const char* graphFile, const char* outputFile,
                                      int32_t source, bool useHeap) {
  StopWatch totalWatch;
  solutionSet = false;

  // A failed load leaves no graph behind, so it surfaces as a failed search.
  if (graphFile != nullptr) timedStep(verbose, "Load time ....", [&] { return loadGraph(graphFile); });

  const bool solved = timedStep(verbose, "Solve time ...",
                                [&] { return useHeap ? solveFrom(source) : solveLinear(source); });
  if (!solved) {
    if (verbose) printLine("ERROR: can not find solution");
    return false;
  }

  // The solution stays usable (for the checksum) even when saving it fails.
  solutionSet = true;
  bool saved = true;
  if (outputFile != nullptr) {
    saved = timedStep(verbose, "Save time ....", [&] { return saveSolution(outputFile); });
  }
  totalWatch.stop();
  if (verbose) printTimingLine("Total time ...", totalWatch.elapsedMs());
  return saved;
}
