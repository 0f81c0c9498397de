#include <cstring>

#include "base/messages.h"
#include "base/stopwatch.h"
#include "graph/shortest_path_solver.h"
#include "io/output_conflicts.h"
#include "query/query_matrix.h"
#include "query/query_run.h"

int runConversion(const QueryOptions& options) {
  // The binary file replaces its path whole, so it must not be the graph read.
  if (std::strcmp(options.graph, "-") != 0 &&
      !outputSparesInput(options.convertTo, options.graph)) {
    return kQueryFailure;
  }
  ShortestPathSolver graph;
  int32_t firstNode = 0;
  StopWatch watch;
  if (!graph.readGraph(options.graph, options.format, firstNode)) return kQueryFailure;
  if (graph.saveBinaryGraph(options.convertTo, firstNode, OutputMessages::Explained) != 0) {
    return kQueryFailure;
  }
  watch.stop();
  if (!options.quiet) {
    printLinef("Converted %s to %s: %d nodes, %d edges in %lld ms", options.graph,
               options.convertTo, graph.nodeCount - firstNode, graph.edgeCount,
               static_cast<long long>(watch.elapsedMs()));
  }
  return kQuerySuccess;
}
