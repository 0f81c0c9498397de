#include "python/search_rows.h"

#include <algorithm>
#include <exception>
#include <mutex>
#include <string>

#include "base/thread_count.h"
#include "python/integer_argument.h"
#include "python/integer_arrays.h"
#include "search/solve_sources.h"

namespace {

constexpr int64_t kMostCallThreads = 4096;

}  // namespace

SearchSolver::SearchSolver(const GraphHandle& graph) : spared_(*graph.spared) {
  {
    const std::lock_guard<std::mutex> hold(spared_.lock);
    solver_ = std::move(spared_.solver);
  }
  if (!solver_) {
    solver_ = std::make_unique<ShortestPathSolver>();
    solver_->shareGraph(*graph.owner);
  }
}

SearchSolver::~SearchSolver() {
  const std::lock_guard<std::mutex> hold(spared_.lock);
  spared_.solver = std::move(solver_);
}

void searchFrom(ShortestPathSolver& solver, int32_t source, const SearchLimits& limits,
                const SearchWay& way, const MessageCapture& capture) {
  const bool solved = way.ties == TieOrder::Canonical
                          ? solver.solveCanonical(source, limits, way.threads)
                          : solver.solveFrom(source, limits);
  if (!solved) capture.fail(FailureKind::BadInput);
}

TieOrder checkedTies(const std::string& ties) {
  TieOrder order = TieOrder::Heap;
  if (!tieOrderNamed(ties.c_str(), order)) {
    failWith(FailureKind::BadInput, "ties must be \"heap\" or \"canonical\", not \"" + ties + "\"");
  }
  return order;
}

void spreadRows(const ShortestPathSolver& owner, std::size_t rowCount, int threadCount,
                const RowSolver& solveRow) {
  std::exception_ptr failure;
  std::mutex failureLock;
  solveSources(owner, rowCount, threadCount, [&](ShortestPathSolver& solver, std::size_t row) {
    try {
      MessageCapture capture;
      solveRow(solver, row, capture);
      return true;
    } catch (...) {
      const std::lock_guard<std::mutex> hold(failureLock);
      if (!failure) failure = std::current_exception();
      return false;
    }
  });
  if (failure) std::rethrow_exception(failure);
}

int64_t callThreads(py::handle threads) {
  if (threads.is_none()) return threadCount();
  const int64_t asked = integerArgument(threads, "threads", 1, INT64_MAX,
                                        "a thread count from 1 to " + std::to_string(INT64_MAX));
  // More threads than this would only wait for the memory the others use.
  return std::min(asked, kMostCallThreads);
}

int threadsFor(py::handle threads, int64_t rowCount) {
  return static_cast<int>(std::min<int64_t>(callThreads(threads), std::max<int64_t>(rowCount, 1)));
}

std::vector<int32_t> nodeLabels(const GraphHandle& graph, py::handle values, const char* name) {
  const IntegerColumn column = integerColumn(values, name);
  const int32_t nodes = graph.owner->nodeCount;
  checkRange(column, name, 0, nodes - 1,
             ("a node label from 0 to " + std::to_string(nodes - 1)).c_str());
  std::vector<int32_t> labels(static_cast<std::size_t>(column.length));
  column.forEach([&](int64_t i, int64_t value) { labels[i] = static_cast<int32_t>(value); });
  return labels;
}

int64_t checkedMaxCost(py::handle maxCost) {
  if (maxCost.is_none()) return SearchLimits{}.maxCost;
  return integerArgument(maxCost, "max_cost", 0, INT64_MAX,
                         "a cost from 0 to " + std::to_string(INT64_MAX));
}
