#include "query/query_matrix.h"

#include <atomic>
#include <cstdlib>

#include "base/allocation.h"
#include "io/matrix_table.h"
#include "io/text_writer.h"
#include "search/distance_matrix.h"
#include "search/solve_sources.h"

namespace {

constexpr int32_t kTableBufferBytes = 1 << 16;

}  // namespace

bool solveMatrix(const ShortestPathSolver& graph, const QueryOptions& options,
                 const std::vector<int32_t>& sources, const std::vector<int32_t>& targets,
                 int32_t threads, ProgressLine& progress) {
  const std::size_t cellCount = sources.size() * targets.size();
  const MallocedBlock<int32_t> cells(
      static_cast<int32_t*>(checkedMalloc(cellCount * sizeof(int32_t))));
  const DistanceMatrix matrix{sources.data(), sources.size(),   targets.data(),
                              static_cast<int32_t>(targets.size()), options.maxCost, cells.get()};
  std::atomic<std::size_t> doneCount{0};
  std::atomic<bool> failed{false};
  solveSources(graph, sources.size(), threads, [&](ShortestPathSolver& solver, std::size_t row) {
    if (!solveMatrixRow(solver, matrix, row)) failed = true;
    progress.solved(++doneCount, sources.size());
    return !failed;
  });
  progress.clear();
  if (failed) return false;

  TextWriter writer;
  writer.capacity = kTableBufferBytes;
  writer.messages = OutputMessages::Explained;
  const bool toStandardOutput = std::string(options.output) == "-";
  if ((toStandardOutput ? writer.openStandardOutput() : writer.open(options.output)) != 0) return false;
  putMatrixTable(writer, sources.data(), sources.size(), targets.data(), targets.size(),
                 cells.get());
  return writer.close();
}
