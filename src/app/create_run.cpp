#include <cstdio>

#include "base/stopwatch.h"
#include "graph/shortest_path_solver.h"
#include "base/messages.h"

// Generates the graph and, when a file is named, saves it. A file that could
// not be written fails the run, so neither the create mode nor a checksum
// built on the graph reports success for a graph the user does not have.
bool ShortestPathSolver::runCreate(int32_t n, int32_t seed, int32_t maxEdge, const char* path) {
  if (verbose) {
    printLinef("Generate random graph with %d nodes and seed %d", n, seed);
  }
  StopWatch totalWatch;
  timedStep(verbose, "Create time ...", [&] { return generateRandomGraph(n, seed, maxEdge); });
  bool saved = true;
  if (path != nullptr) {
    saved = timedStep(verbose, "Save time......", [&] { return saveGraph(path) == 0; });
  }
  totalWatch.stop();
  if (verbose) {
    printTimingLine("Total time ....", totalWatch.elapsedMs());
    if (path != nullptr && saved) {
      printLinef("Graph saved to %s", path);
    }
  }
  return saved;
}
