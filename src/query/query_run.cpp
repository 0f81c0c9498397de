#include "query/query_run.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <unordered_set>
#include <vector>

#include "io/output_conflicts.h"
#include "base/stopwatch.h"
#include "base/thread_count.h"
#include "base/messages.h"
#include "graph/shortest_path_solver.h"
#include "query/query_matrix.h"
#include "query/query_output.h"
#include "query/query_progress.h"
#include "search/search_limits.h"
#include "search/search_threads.h"
#include "search/solve_sources.h"
#include "query/query_sources.h"

namespace {

// Each node once, in the order first given: one source's file is then
// written by one thread only.
std::vector<int64_t> withoutRepeats(const std::vector<int64_t>& nodes) {
  std::vector<int64_t> unique;
  std::unordered_set<int64_t> seen;
  for (const int64_t node : nodes) {
    if (seen.insert(node).second) unique.push_back(node);
  }
  return unique;
}

bool nodesInGraph(const std::vector<int64_t>& nodes, int32_t firstNode, int32_t nodeCount,
                  std::vector<int32_t>& checked) {
  for (const int64_t node : nodes) {
    if (node < firstNode || node >= nodeCount) {
      printLinef("ERROR: node %lld is not in the graph (nodes %d..%d)",
                 static_cast<long long>(node), firstNode, nodeCount - 1);
      return false;
    }
    checked.push_back(static_cast<int32_t>(node));
  }
  return true;
}

// Outputs are replaced whole, so writing over the graph or the sources file
// would lose it, as vorlinde refuses too.
bool outputsSpareTheInputs(const QueryOptions& options, const std::vector<int32_t>& sources) {
  for (const char* input : {options.graph, options.sourcesFile, options.targetsFile}) {
    if (input == nullptr || std::strcmp(input, "-") == 0) continue;
    for (const int32_t source : sources) {
      const std::string path = outputPathFor(options.output, source);
      if (path != "-" && !outputSparesInput(path.c_str(), input)) return false;
    }
  }
  return true;
}

// The searches and their outputs; one per run.
struct QuerySolve {
  const QueryOptions& options;
  int32_t firstNode;
  std::vector<int32_t> sources;
  std::vector<int32_t> targets;
  bool perSourceOutput;
  int32_t threadsPerSearch;
  std::vector<std::string> targetText;  // one per source, written in source order
  std::atomic<size_t> doneCount{0};
  std::atomic<bool> failed{false};
  ProgressLine* progress;

  bool solveOne(ShortestPathSolver& solver, size_t index) {
    const int32_t source = sources[index];
    const SearchLimits limits{targets.data(), static_cast<int32_t>(targets.size()),
                              options.maxCost};
    const bool solved = options.ties == TieOrder::Canonical
                            ? solver.solveCanonical(source, limits, threadsPerSearch)
                            : solver.solveFrom(source, limits);
    if (!solved) return false;
    const std::string path = outputPathFor(options.output, source);
    if (targets.empty()) return writeSolutionLines(solver, path, firstNode);
    appendTargetLines(solver, source, targets, targetText[index]);
    if (!perSourceOutput) return true;
    const bool written = writeTexts(path, &targetText[index], 1);
    targetText[index].clear();
    return written;
  }

  // A source that fails does not stop the others: their outputs are written.
  void run(const ShortestPathSolver& graph, int32_t threadCount) {
    solveSources(graph, sources.size(), threadCount,
                 [this](ShortestPathSolver& solver, size_t index) {
                   if (!solveOne(solver, index)) failed = true;
                   progress->solved(++doneCount, sources.size());
                   return true;
                 });
  }
};

}  // namespace

int runQuery(const QueryOptions& options) {
  if (options.convertTo != nullptr) return runConversion(options);
  std::vector<int64_t> requested = options.sources;
  if (options.sourcesFile != nullptr && !readSourcesFile(options.sourcesFile, requested)) {
    return kQueryFailure;
  }
  std::vector<int64_t> targets = options.targets;
  if (options.targetsFile != nullptr &&
      !readSourcesFile(options.targetsFile, targets, "targets")) {
    return kQueryFailure;
  }
  // A table keeps a row for every source given, repeats too; files and
  // lines are written once per source.
  if (!options.matrix) requested = withoutRepeats(requested);
  const bool perSourceOutput = !options.matrix && hasSourcePlaceholder(options.output);
  if (requested.size() > 1 && targets.empty() && !perSourceOutput) {
    reportUsageError("several sources without --target need an output path with '{source}'");
    return kQueryUsageError;
  }
  const bool showProgress =
      options.progress < 0 ? isatty(STDERR_FILENO) == 1 : options.progress == 1;
  ProgressLine progress(showProgress, options.graph);

  ShortestPathSolver graph;
  int32_t firstNode = 0;
  StopWatch readWatch;
  const bool read = graph.readGraph(options.graph, options.format, firstNode, progress.reading());
  readWatch.stop();
  progress.clear();
  if (!read) return kQueryFailure;
  if (!options.quiet) {
    printLinef("Read %s: %d nodes, %d edges in %lld ms", options.graph, graph.nodeCount - firstNode,
               graph.edgeCount, static_cast<long long>(readWatch.elapsedMs()));
  }

  if (graph.nodeCount <= firstNode) {
    // A DIMACS or Matrix Market file of no nodes: not even the first is there.
    printLinef("ERROR: %s has no nodes: no source to search from", options.graph);
    return kQueryFailure;
  }
  if (requested.empty()) requested.push_back(firstNode);
  QuerySolve solve{options, firstNode, {}, {}, perSourceOutput, 1, {}, {}, {}, &progress};
  if (!nodesInGraph(requested, firstNode, graph.nodeCount, solve.sources) ||
      !nodesInGraph(targets, firstNode, graph.nodeCount, solve.targets) ||
      !outputsSpareTheInputs(options, solve.sources)) {
    return kQueryFailure;
  }
  solve.targetText.resize(solve.sources.size());
  // The table's searches are the exact ones whatever the tie order: costs only.
  const ThreadShare share =
      shareThreads(options.threads > 0 ? options.threads : threadCount(), solve.sources.size(),
                   options.ties == TieOrder::Canonical && !options.matrix);
  solve.threadsPerSearch = share.threadsPerSearch;
  StopWatch solveWatch;
  if (options.matrix) {
    solve.failed = !solveMatrix(graph, options, solve.sources, solve.targets,
                                share.searchesAtOnce, progress);
  } else {
    solve.run(graph, share.searchesAtOnce);
  }
  progress.clear();

  // One output for every source: written only when all of them were solved,
  // so that a failure leaves the file that was there.
  if (!solve.failed && !options.matrix && !solve.targets.empty() && !perSourceOutput) {
    if (!writeTexts(options.output, solve.targetText.data(), solve.targetText.size())) {
      solve.failed = true;
    }
  }
  solveWatch.stop();
  if (solve.failed) return kQueryFailure;
  if (!options.quiet) {
    printLinef("Solved %zu source%s in %lld ms", solve.sources.size(),
               solve.sources.size() == 1 ? "" : "s",
               static_cast<long long>(solveWatch.elapsedMs()));
  }
  return kQuerySuccess;
}
