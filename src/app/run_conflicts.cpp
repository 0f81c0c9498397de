#include "app/run_conflicts.h"

#include "io/output_conflicts.h"

bool outputsAreDistinct(const RunOptions& options) {
  // The solve run reads graphFile; the hash mode reads it too, or, with -n,
  // writes the generated graph there before the solution.
  const bool writesBesideGraph =
      options.mode == RunMode::Solve ||
      (options.mode == RunMode::Hash && options.graphFile != nullptr);
  if (!writesBesideGraph || options.solutionFile == nullptr) return true;
  return outputSparesInput(options.solutionFile, options.graphFile);
}
