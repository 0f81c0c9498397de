#pragma once

#include "base/stop_request.h"
#include "base/stopwatch.h"
#include "graph/shortest_path_solver.h"
#include "base/messages.h"

// What every search does around its own loop: it refuses without a graph,
// times the preparation (the search state, with the heap's entries when
// withHeap, and whatever prepare() adds) and
// the search proper, prints both timing lines when verbose, and fails when a
// node it must answer could only be reached past the largest cost. find()
// returns which nodes it must answer (path_limit.h).
template <typename Prepare, typename Find>
bool ShortestPathSolver::runSearchFrame(const char* initLabel, const char* findLabel, bool withHeap,
                                        Prepare&& prepare, Find&& find) {
  if (!graphSet) {
    printLine("ERROR: Can not solve. Graph is not set.");
    return false;
  }
  StopWatch initWatch;
  prepareSearchState(nodeCount, withHeap);
  prepare();
  initWatch.stop();

  StopWatch findWatch;
  const OverLimitScope scope = find();
  findWatch.stop();

  if (verbose) {
    printTimingLine(initLabel, initWatch.elapsedMs());
    printTimingLine(findLabel, findWatch.elapsedMs());
  }
  // A stopped search (base/stop_request.h) answers nothing.
  if (stopRequested()) return false;
  if (reportPathOverLimit(scope)) return false;
  solutionSet = true;
  return true;
}
