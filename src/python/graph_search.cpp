#include <algorithm>
#include <string>
#include <vector>

#include "python/graph_handle.h"
#include "python/integer_argument.h"
#include "python/integer_arrays.h"
#include "python/search_rows.h"
#include "python/stoppable.h"
#include "python/tool_errors.h"
#include "search/search_limits.h"
#include "search/search_path.h"
#include "search/search_threads.h"

namespace {

// Fresh arrays cost more to touch first than to copy into: a canonical
// search's threads share the work.
void copyResults(const ShortestPathSolver& solver, int32_t* cost, int32_t* pred,
                 int32_t threads = 1) {
  const NodeResult* results = solver.results;
  const int32_t count = solver.searchNodeCount;
#pragma omp parallel for num_threads(threads) if (threads > 1 && count >= (1 << 20)) schedule(static)
  for (int32_t node = 0; node < count; ++node) {
    cost[node] = results[node].cost;
    pred[node] = results[node].pred;
  }
}

int32_t checkedSource(const GraphHandle& graph, py::handle source, const char* name) {
  const int32_t nodes = graph.owner->nodeCount;
  return static_cast<int32_t>(integerArgument(
      source, name, 0, nodes - 1, "a node label from 0 to " + std::to_string(nodes - 1)));
}

int64_t searchSteps(const ShortestPathSolver& owner) {
  return int64_t{owner.nodeCount} + owner.edgeCount;
}

// One row of cost and pred per source, the sources spread over threads.
py::tuple severalSources(const GraphHandle& graph, py::handle sources, int64_t maxCost,
                         py::handle threads, TieOrder ties) {
  const std::vector<int32_t> rows = nodeLabels(graph, sources, "sources");
  const auto rowCount = static_cast<int64_t>(rows.size());
  const ThreadShare share = shareThreads(static_cast<int32_t>(callThreads(threads)), rows.size(),
                                         ties == TieOrder::Canonical);
  const SearchWay way{ties, share.threadsPerSearch};
  const ShortestPathSolver& owner = *graph.owner;
  const int32_t nodes = owner.nodeCount;
  const auto rowLength = static_cast<std::size_t>(nodes);
  Int32Buffer cost;
  Int32Buffer pred;
  runStoppable(
      [&] {
        {
          MessageCapture capture;
          cost = newInt32Buffer(rowCount * nodes);
          pred = newInt32Buffer(rowCount * nodes);
        }
        spreadRows(owner, rows.size(), share.searchesAtOnce,
                   [&](ShortestPathSolver& solver, std::size_t row, const MessageCapture& capture) {
                     searchFrom(solver, rows[row], SearchLimits{nullptr, 0, maxCost}, way, capture);
                     copyResults(solver, cost.get() + row * rowLength,
                                 pred.get() + row * rowLength);
                   });
      },
      worthWatching(rowCount * searchSteps(owner)));
  const std::vector<py::ssize_t> shape{rowCount, nodes};
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
  const SearchWay way{order, static_cast<int32_t>(callThreads(threads))};
  const ShortestPathSolver& owner = *graph.owner;
  const int32_t nodes = owner.nodeCount;
  if (source.is_none() && graph.firstNode >= nodes) {
    // A DIMACS or Matrix Market file of no nodes: its first node is not there.
    failWith(FailureKind::BadInput, "the graph has no nodes: no source to search from");
  }
  const int32_t from =
      source.is_none() ? graph.firstNode : checkedSource(graph, source, "source");
  Int32Buffer cost;
  Int32Buffer pred;
  runStoppable(
      [&] {
        MessageCapture capture;
        const SearchSolver solver(graph);
        searchFrom(*solver, from, SearchLimits{nullptr, 0, limit}, way, capture);
        cost = newInt32Buffer(nodes);
        pred = newInt32Buffer(nodes);
        copyResults(*solver, cost.get(), pred.get(),
                    way.ties == TieOrder::Canonical ? way.threads : 1);
      },
      worthWatching(searchSteps(owner)));
  return py::make_tuple(handToNumpy(std::move(cost), {nodes}),
                        handToNumpy(std::move(pred), {nodes}));
}

py::object pathBetween(const GraphHandle& graph, py::handle source, py::handle target,
                       const std::string& ties, py::object threads) {
  const int32_t from = checkedSource(graph, source, "source");
  const int32_t to = checkedSource(graph, target, "target");
  const SearchWay way{checkedTies(ties), static_cast<int32_t>(callThreads(threads))};
  const ShortestPathSolver& owner = *graph.owner;
  Int32Buffer path;
  int32_t length = 0;  // stays 0 when target is unreached
  runStoppable(
      [&] {
        MessageCapture capture;
        const SearchSolver solver(graph);
        searchFrom(*solver, from, SearchLimits{&to, 1, SearchLimits{}.maxCost}, way, capture);
        std::vector<int32_t> nodes;
        pathTo(*solver, from, to, nodes);
        length = static_cast<int32_t>(nodes.size());
        if (length > 0) {
          path = newInt32Buffer(length);
          std::copy(nodes.begin(), nodes.end(), path.get());
        }
      },
      worthWatching(searchSteps(owner)));
  if (length == 0) return py::none();
  return handToNumpy(std::move(path), {length});
}
