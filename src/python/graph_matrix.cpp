#include <string>
#include <vector>

#include "io/matrix_table.h"
#include "io/text_writer.h"
#include "python/graph_handle.h"
#include "python/integer_arrays.h"
#include "python/search_rows.h"
#include "python/stoppable.h"
#include "python/tool_errors.h"
#include "search/distance_matrix.h"

namespace {

constexpr int32_t kTableBufferBytes = 1 << 16;

std::vector<int32_t> int32Labels(py::handle values, const char* name) {
  const IntegerColumn column = integerColumn(values, name);
  checkRange(column, name, INT32_MIN, INT32_MAX, "a 32-bit integer");
  std::vector<int32_t> labels(static_cast<std::size_t>(column.length));
  column.forEach([&](int64_t i, int64_t value) { labels[i] = static_cast<int32_t>(value); });
  return labels;
}

}  // namespace

py::array_t<int32_t> distanceMatrix(const GraphHandle& graph, py::handle sources,
                                    py::handle targets, py::object maxCost, py::object threads) {
  const int64_t limit = checkedMaxCost(maxCost);
  const std::vector<int32_t> rows = nodeLabels(graph, sources, "sources");
  const std::vector<int32_t> columns = nodeLabels(graph, targets, "targets");
  if (columns.size() > INT32_MAX) failWith(FailureKind::BadInput, "more than 2147483647 targets");
  const auto rowCount = static_cast<int64_t>(rows.size());
  const auto columnCount = static_cast<int64_t>(columns.size());
  const int workers = threadsFor(threads, rowCount);
  const ShortestPathSolver& owner = *graph.owner;
  Int32Buffer cells;
  runStoppable(
      [&] {
        {
          MessageCapture capture;
          cells = newInt32Buffer(rowCount * columnCount);
        }
        const DistanceMatrix matrix{rows.data(),  rows.size(), columns.data(),
                                    static_cast<int32_t>(columnCount), limit, cells.get()};
        spreadRows(owner, rows.size(), workers,
                   [&](ShortestPathSolver& solver, std::size_t row, const MessageCapture& capture) {
                     if (!solveMatrixRow(solver, matrix, row)) capture.fail(FailureKind::BadInput);
                   });
      },
      worthWatching(rowCount * (int64_t{owner.nodeCount} + owner.edgeCount)));
  return handToNumpy(std::move(cells), {rowCount, columnCount});
}

void saveMatrix(const std::filesystem::path& path, py::handle sources, py::handle targets,
                py::handle matrix) {
  const std::vector<int32_t> rows = int32Labels(sources, "sources");
  const std::vector<int32_t> columns = int32Labels(targets, "targets");
  // Integers of 32 bits only, as every other array of the module: a cast
  // would turn a fraction or a larger number into another silently.
  const py::array given = py::array::ensure(matrix);
  if (!given) throw py::error_already_set();
  checkRange(integerColumn(given.attr("reshape")(-1), "matrix"), "matrix", INT32_MIN, INT32_MAX,
             "a 32-bit integer");
  const auto table = py::array_t<int32_t, py::array::c_style | py::array::forcecast>::ensure(given);
  if (!table || table.ndim() != 2 || table.shape(0) != static_cast<py::ssize_t>(rows.size()) ||
      table.shape(1) != static_cast<py::ssize_t>(columns.size())) {
    failWith(FailureKind::BadInput, "matrix must have the shape (len(sources), len(targets)), (" +
                                        std::to_string(rows.size()) + ", " +
                                        std::to_string(columns.size()) + ")");
  }
  const int32_t* cells = table.data();
  runStoppable(
      [&] {
        MessageCapture capture;
        TextWriter writer;
        writer.capacity = kTableBufferBytes;
        writer.messages = OutputMessages::Explained;
        if (writer.open(path.c_str()) != 0) capture.fail(FailureKind::FileFailed);
        putMatrixTable(writer, rows.data(), rows.size(), columns.data(), columns.size(), cells);
        if (!writer.close()) capture.fail(FailureKind::FileFailed);
      },
      false);
}
