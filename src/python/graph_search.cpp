#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "base/thread_count.h"
#include "python/graph_handle.h"
#include "python/integer_argument.h"
#include "python/integer_arrays.h"
#include "search/search_limits.h"
#include "search/search_path.h"
#include "search/solve_sources.h"
#include "python/tool_errors.h"

namespace {

// The exact search from source: every node it settles gets the cost and
// predecessor of the full heap search. Fails like the tool (a path cost over
// the limit).
void searchFrom(ShortestPathSolver& solver, int32_t source, const SearchLimits& limits,
                const MessageCapture& capture) {
  if (!solver.solveFrom(source, limits)) capture.fail(FailureKind::BadInput);
}

void copyResults(const ShortestPathSolver& solver, int32_t* cost, int32_t* pred) {
  const NodeResult* results = solver.results;
  for (int32_t node = 0; node < solver.searchNodeCount; ++node) {
    cost[node] = results[node].cost;
    pred[node] = results[node].pred;
  }
}

int32_t checkedSource(const GraphHandle& graph, py::handle source, const char* name) {
  const int32_t nodes = graph.owner->nodeCount;
  return static_cast<int32_t>(integerArgument(
      source, name, 0, nodes - 1, "a node label from 0 to " + std::to_string(nodes - 1)));
}

int64_t checkedMaxCost(py::handle maxCost) {
  if (maxCost.is_none()) return SearchLimits{}.maxCost;
  return integerArgument(maxCost, "max_cost", 0, INT64_MAX,
                         "a cost from 0 to " + std::to_string(INT64_MAX));
}

// Solves one row of cost and pred per source, the sources spread over
// threadCount threads, each with its own solver on the shared graph. The
// first failure stops the others and is thrown here.
void solveRows(const ShortestPathSolver& owner, const std::vector<int32_t>& sources,
               int64_t maxCost, int32_t* cost, int32_t* pred, int threadCount) {
  const auto rowLength = static_cast<std::size_t>(owner.nodeCount);
  std::exception_ptr failure;
  std::mutex failureLock;
  solveSources(owner, sources.size(), threadCount, [&](ShortestPathSolver& solver, size_t row) {
    try {
      MessageCapture capture;
      searchFrom(solver, sources[row], SearchLimits{nullptr, 0, maxCost}, capture);
      copyResults(solver, cost + row * rowLength, pred + row * rowLength);
      return true;
    } catch (...) {
      const std::lock_guard<std::mutex> hold(failureLock);
      if (!failure) failure = std::current_exception();
      return false;
    }
  });
  if (failure) std::rethrow_exception(failure);
}

py::tuple severalSources(const GraphHandle& graph, py::handle sources, int64_t maxCost,
                         py::handle threads) {
  const IntegerColumn column = integerColumn(sources, "sources");
  const int32_t nodes = graph.owner->nodeCount;
  checkRange(column, "sources", 0, nodes - 1,
             ("a node label from 0 to " + std::to_string(nodes - 1)).c_str());
  std::vector<int32_t> rows(static_cast<std::size_t>(column.length));
  column.forEach([&](int64_t i, int64_t value) { rows[i] = static_cast<int32_t>(value); });

  int64_t workers = threadCount();
  if (!threads.is_none()) {
    workers = integerArgument(threads, "threads", 1, INT64_MAX,
                              "a thread count from 1 to " + std::to_string(INT64_MAX));
  }
  workers = std::min<int64_t>(workers, std::max<int64_t>(column.length, 1));

  const int64_t cells = column.length * nodes;
  Int32Buffer cost;
  Int32Buffer pred;
  {
    py::gil_scoped_release unlocked;
    {
      MessageCapture capture;
      cost = newInt32Buffer(cells);
      pred = newInt32Buffer(cells);
    }
    solveRows(*graph.owner, rows, maxCost, cost.get(), pred.get(), static_cast<int>(workers));
  }
  const std::vector<py::ssize_t> shape{column.length, nodes};
  return py::make_tuple(handToNumpy(std::move(cost), shape), handToNumpy(std::move(pred), shape));
}

}  // namespace

py::tuple shortestPaths(const GraphHandle& graph, py::object source, py::object maxCost,
                        py::object sources, py::object threads) {
  const int64_t limit = checkedMaxCost(maxCost);
  if (!sources.is_none()) {
    if (!source.is_none()) failWith(FailureKind::BadArgument, "give source or sources, not both");
    return severalSources(graph, sources, limit, threads);
  }
  const int32_t nodes = graph.owner->nodeCount;
  if (source.is_none() && graph.firstNode >= nodes) {
    // A DIMACS or Matrix Market file of no nodes: its first node is not there.
    failWith(FailureKind::BadInput, "the graph has no nodes: no source to search from");
  }
  const int32_t from =
      source.is_none() ? graph.firstNode : checkedSource(graph, source, "source");
  Int32Buffer cost;
  Int32Buffer pred;
  {
    py::gil_scoped_release unlocked;
    MessageCapture capture;
    ShortestPathSolver solver;
    solver.shareGraph(*graph.owner);
    searchFrom(solver, from, SearchLimits{nullptr, 0, limit}, capture);
    cost = newInt32Buffer(nodes);
    pred = newInt32Buffer(nodes);
    copyResults(solver, cost.get(), pred.get());
  }
  return py::make_tuple(handToNumpy(std::move(cost), {nodes}),
                        handToNumpy(std::move(pred), {nodes}));
}

py::object pathBetween(const GraphHandle& graph, py::handle source, py::handle target) {
  const int32_t from = checkedSource(graph, source, "source");
  const int32_t to = checkedSource(graph, target, "target");
  Int32Buffer path;
  int32_t length = 0;  // stays 0 when target is unreached
  {
    py::gil_scoped_release unlocked;
    MessageCapture capture;
    ShortestPathSolver solver;
    solver.shareGraph(*graph.owner);
    searchFrom(solver, from, SearchLimits{&to, 1, SearchLimits{}.maxCost}, capture);
    std::vector<int32_t> nodes;
    pathTo(solver, from, to, nodes);
    length = static_cast<int32_t>(nodes.size());
    if (length > 0) {
      path = newInt32Buffer(length);
      std::copy(nodes.begin(), nodes.end(), path.get());
    }
  }
  if (length == 0) return py::none();
  return handToNumpy(std::move(path), {length});
}
