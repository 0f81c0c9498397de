#include <string>

#include "base/allocation.h"
#include "io/text_writer.h"
#include "python/graph_handle.h"
#include "python/integer_argument.h"
#include "python/integer_arrays.h"
#include "python/tool_errors.h"

namespace {

constexpr int32_t kSolutionBufferBytes = 1 << 16;

// A solver holding the given solution, as if a search had produced it, so
// that the checksum and the solution file are the tool's own.
void takeSolution(ShortestPathSolver& solver, const IntegerColumn& cost,
                  const IntegerColumn* pred) {
  const auto count = static_cast<int32_t>(cost.length);
  solver.results = allocateArray<NodeResult>(static_cast<std::size_t>(count));
  solver.searchNodeCount = count;
  solver.solutionSet = true;
  NodeResult* results = solver.results;
  cost.forEach([&](int64_t i, int64_t value) {
    results[i] = NodeResult{static_cast<int32_t>(value), -1};
  });
  if (pred != nullptr) {
    pred->forEach([&](int64_t i, int64_t value) { results[i].pred = static_cast<int32_t>(value); });
  }
}

IntegerColumn solutionColumn(py::handle values, const char* name) {
  IntegerColumn column = integerColumn(values, name);
  if (column.length > INT32_MAX) {
    failWith(FailureKind::BadInput, std::string(name) + " has more entries than a solution holds");
  }
  checkRange(column, name, INT32_MIN, INT32_MAX, "a 32-bit integer");
  return column;
}

}  // namespace

int32_t checksum(py::handle cost) {
  const IntegerColumn costs = solutionColumn(cost, "cost");
  py::gil_scoped_release unlocked;
  MessageCapture capture;
  ShortestPathSolver solver;
  takeSolution(solver, costs, nullptr);
  return solver.solutionHash();
}

void saveSolution(const std::filesystem::path& path, py::handle cost, py::handle pred,
                  py::handle firstNodeNumber) {
  const IntegerColumn costs = solutionColumn(cost, "cost");
  const IntegerColumn preds = solutionColumn(pred, "pred");
  if (costs.length != preds.length) {
    failWith(FailureKind::BadInput, "cost and pred differ in length (" +
                                        std::to_string(costs.length) + ", " +
                                        std::to_string(preds.length) + ")");
  }
  const int64_t firstNode = integerArgument(firstNodeNumber, "first_node", 0, costs.length,
                                             "from 0 to " + std::to_string(costs.length));
  py::gil_scoped_release unlocked;
  MessageCapture capture;
  ShortestPathSolver solver;
  takeSolution(solver, costs, &preds);
  // From node 0 it is the tool's own solution file; from another node, the
  // lines of vorlinde-query -o.
  TextWriter writer;
  writer.capacity = kSolutionBufferBytes;
  writer.messages = OutputMessages::Explained;
  if (writer.open(path.c_str()) != 0) capture.fail(FailureKind::FileFailed);
  solver.putSolutionLines(writer, static_cast<int32_t>(firstNode));
  if (!writer.close()) capture.fail(FailureKind::FileFailed);
}
