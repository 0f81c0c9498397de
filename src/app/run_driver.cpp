#include "app/run_driver.h"

#include <new>

#include "app/command_line.h"
#include "app/run_conflicts.h"
#include "base/version.h"
#include "base/allocation.h"
#include "base/messages.h"
#include "graph/shortest_path_solver.h"
#include "io/output_signals.h"
#include "random/random_seed.h"

namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = -1;
constexpr int32_t kSourceNode = 0;

bool obtainHashSolution(ShortestPathSolver& solver, RunOptions& options) {
  if (options.nodes == -1 && options.graphFile != nullptr) {
    return solver.solveAndSave(options.graphFile, options.solutionFile, kSourceNode,
                               options.useHeap);
  }
  if (options.nodes == -1) return solver.runHashFromFile(options.solutionFile);
  if (options.seed == -1) options.seed = randomSeed();
  if (!solver.runCreate(options.nodes, options.seed, options.maxEdge, options.graphFile)) {
    return false;
  }
  // The generated graph is already in the solver; the heap search is used
  // whatever -l said.
  return solver.solveAndSave(nullptr, options.solutionFile, kSourceNode, true);
}

int runHash(ShortestPathSolver& solver, RunOptions& options) {
  if (!obtainHashSolution(solver, options)) {
    printLine("ERROR: Can not obtain solution");
    return kFailure;
  }
  const int32_t hash = solver.solutionHash();
  if (hash < 0) {
    printLine("ERROR: Can not compute hash");
    return kFailure;
  }
  printResultLinef("%d", hash);
  return kSuccess;
}

int runCreateMode(ShortestPathSolver& solver, RunOptions& options) {
  if (options.seed == -1) {
    options.seed = randomSeed();
    if (solver.verbose) {
      printLinef("Use random seed %d", options.seed);
    }
  }
  return solver.runCreate(options.nodes, options.seed, options.maxEdge, options.graphFile)
             ? kSuccess
             : kFailure;
}

int runMode(ShortestPathSolver& solver, RunOptions& options) {
  switch (options.mode) {
    case RunMode::Solve:
      return solver.solveAndSave(options.graphFile, options.solutionFile, kSourceNode,
                                 options.useHeap)
                 ? kSuccess
                 : kFailure;
    case RunMode::Test:
      if (!solver.runTest(options.graphFile, options.solutionFile, kSourceNode)) return kFailure;
      if (solver.verbose) printLine("Solution is OK");
      return kSuccess;
    case RunMode::Create:
      return runCreateMode(solver, options);
    case RunMode::Hash:
      return runHash(solver, options);
  }
  return kFailure;
}

}  // namespace

int runProgram(int argc, char** argv) {
  // Allocations outside the solver's own helpers end the same way.
  std::set_new_handler([] { failAllocation(); });
  // A reader of standard output that goes away must give a write error, not
  // end the process unannounced.
  prepareOutputSignals(BrokenPipes::FailTheWrite);

  ShortestPathSolver solver;
  RunOptions options;
  if (!parseCommandLine(argc, argv, options)) {
    printUsage(argc > 0 ? argv[0] : "vorlinde");
    return kFailure;
  }
  solver.verbose = options.verbose;
  if (solver.verbose) {
    printLinef("Vorlinde version %s", kVersionText);
  }
  if (!outputsAreDistinct(options)) return kFailure;
  const int status = runMode(solver, options);
  if (!finishStandardOutput()) {
    printLine("ERROR: Can not write standard output");
    return kFailure;
  }
  return status;
}
