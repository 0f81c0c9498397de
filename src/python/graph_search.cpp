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
#include "python/integer_arrays.h"
#include "search/search_limits.h"
#include "search/search_path.h"
#include "search/search_threads.h"
#include "search/solve_sources.h"
#include "search/tie_order.h"
#include "python/tool_errors.h"

namespace {

// How the searches of one call run: the tie order and the threads of a search.
struct SearchWay {
  TieOrder ties = TieOrder::Heap;
  int32_t threads = 1;  // inside one search, for the canonical order
};

// The search from source: every node it settles gets the cost and
// predecessor of the whole search in the tie order asked for. Fails like the
// tool (a path cost over the limit).
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

// The threads of a call: one per core unless told.
int64_t checkedThreads(py::handle threads) {
  if (threads.is_none()) return threadCount();
  const auto count = threads.cast<int64_t>();
  if (count < 1) {
    failWith(FailureKind::BadInput, "threads is " + std::to_string(count) + ", not 1 or more");
  }
  return std::min<int64_t>(count, 4096);
}

void copyResults(const ShortestPathSolver& solver, int32_t* cost, int32_t* pred) {
  const NodeResult* results = solver.results;
  for (int32_t node = 0; node < solver.searchNodeCount; ++node) {
    cost[node] = results[node].cost;
    pred[node] = results[node].pred;
  }
}

int32_t checkedSource(const GraphHandle& graph, int64_t source, const char* name) {
  const int32_t nodes = graph.owner->nodeCount;
  if (source < 0 || source >= nodes) {
    failWith(FailureKind::BadInput, std::string(name) + " is " + std::to_string(source) +
                                        ", not a node label from 0 to " +
                                        std::to_string(nodes - 1));
  }
  return static_cast<int32_t>(source);
}

int64_t checkedMaxCost(py::handle maxCost) {
  if (maxCost.is_none()) return SearchLimits{}.maxCost;
  const auto limit = maxCost.cast<int64_t>();
  if (limit < 0) {
    failWith(FailureKind::BadInput, "max_cost is " + std::to_string(limit) + ", not 0 or more");
  }
  return limit;
}

// Solves one row of cost and pred per source, the sources spread over
// threadCount threads, each with its own solver on the shared graph. The
// first failure stops the others and is thrown here.
void solveRows(const ShortestPathSolver& owner, const std::vector<int32_t>& sources,
               int64_t maxCost, int32_t* cost, int32_t* pred, int threadCount,
               const SearchWay& way) {
  const auto rowLength = static_cast<std::size_t>(owner.nodeCount);
  std::exception_ptr failure;
  std::mutex failureLock;
  solveSources(owner, sources.size(), threadCount, [&](ShortestPathSolver& solver, size_t row) {
    try {
      MessageCapture capture;
      searchFrom(solver, sources[row], SearchLimits{nullptr, 0, maxCost}, way, capture);
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
                         py::handle threads, TieOrder ties) {
  const IntegerColumn column = integerColumn(sources, "sources");
  const int32_t nodes = graph.owner->nodeCount;
  checkRange(column, "sources", 0, nodes - 1,
             ("a node label from 0 to " + std::to_string(nodes - 1)).c_str());
  std::vector<int32_t> rows(static_cast<std::size_t>(column.length));
  column.forEach([&](int64_t i, int64_t value) { rows[i] = static_cast<int32_t>(value); });

  const ThreadShare share =
      shareThreads(static_cast<int32_t>(checkedThreads(threads)),
                   static_cast<std::size_t>(column.length), ties == TieOrder::Canonical);

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
    solveRows(*graph.owner, rows, maxCost, cost.get(), pred.get(), share.searchesAtOnce,
              SearchWay{ties, share.threadsPerSearch});
  }
  const std::vector<py::ssize_t> shape{column.length, nodes};
  return py::make_tuple(handToNumpy(std::move(cost), shape), handToNumpy(std::move(pred), shape));
}

}  // namespace

py::tuple shortestPaths(const GraphHandle& graph, py::object source, py::object maxCost,
                        py::object sources, py::object threads, const std::string& ties) {
  const int64_t limit = checkedMaxCost(maxCost);
  const TieOrder order = checkedTies(ties);
  if (!sources.is_none()) {
    if (!source.is_none()) failWith(FailureKind::BadArgument, "give source or sources, not both");
    return severalSources(graph, sources, limit, threads, order);
  }
  const SearchWay way{order, static_cast<int32_t>(checkedThreads(threads))};
  const int64_t wanted = source.is_none() ? graph.firstNode : source.cast<int64_t>();
  const int32_t from = checkedSource(graph, wanted, "source");
  const int32_t nodes = graph.owner->nodeCount;
  Int32Buffer cost;
  Int32Buffer pred;
  {
    py::gil_scoped_release unlocked;
    MessageCapture capture;
    ShortestPathSolver solver;
    solver.shareGraph(*graph.owner);
    searchFrom(solver, from, SearchLimits{nullptr, 0, limit}, way, capture);
    cost = newInt32Buffer(nodes);
    pred = newInt32Buffer(nodes);
    copyResults(solver, cost.get(), pred.get());
  }
  return py::make_tuple(handToNumpy(std::move(cost), {nodes}),
                        handToNumpy(std::move(pred), {nodes}));
}

py::object pathBetween(const GraphHandle& graph, int64_t source, int64_t target,
                       const std::string& ties, py::object threads) {
  const int32_t from = checkedSource(graph, source, "source");
  const int32_t to = checkedSource(graph, target, "target");
  const SearchWay way{checkedTies(ties), static_cast<int32_t>(checkedThreads(threads))};
  Int32Buffer path;
  int32_t length = 0;  // stays 0 when target is unreached
  {
    py::gil_scoped_release unlocked;
    MessageCapture capture;
    ShortestPathSolver solver;
    solver.shareGraph(*graph.owner);
    searchFrom(solver, from, SearchLimits{&to, 1, SearchLimits{}.maxCost}, way, capture);
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
