#include <algorithm>
#include <cstdlib>
#include <string>

#include "base/allocation.h"
#include "formats/graph_format.h"
#include "python/graph_handle.h"
#include "python/integer_argument.h"
#include "python/integer_arrays.h"
#include "python/stoppable.h"
#include "python/tool_errors.h"
#include "random/random_graph.h"

namespace {

GraphHandle emptyHandle() { return GraphHandle{std::make_unique<ShortestPathSolver>()}; }

std::string rangeText(const char* what, int64_t lowest, int64_t highest) {
  return std::string(what) + " from " + std::to_string(lowest) + " to " + std::to_string(highest);
}

constexpr const char* kNotMade =
    "this Graph was never made: make graphs with Graph(src, dst, cost), read_graph() or "
    "random_graph()";

}  // namespace

bool isMadeGraph(py::handle self) {
  return py::isinstance<GraphHandle>(self) &&
         reinterpret_cast<py::detail::instance*>(self.ptr())
             ->get_value_and_holder()
             .holder_constructed();
}

const GraphHandle& madeGraph(py::handle self) {
  if (!isMadeGraph(self)) failWith(FailureKind::BadArgument, kNotMade);
  return *reinterpret_cast<py::detail::instance*>(self.ptr())
              ->get_value_and_holder()
              .value_ptr<GraphHandle>();
}

GraphHandle readGraph(const std::filesystem::path& path, const std::string& format) {
  GraphFormat chosen = GraphFormat::Auto;
  if (!graphFormatNamed(format.c_str(), chosen)) {
    failWith(FailureKind::BadInput,
             "format must be auto, edges, dimacs, snap, mtx or binary, not " + format);
  }
  GraphHandle graph = emptyHandle();
  runStoppable([&] {
    MessageCapture capture;
    if (!graph.owner->readGraph(path.c_str(), chosen, graph.firstNode)) {
      capture.fail(FailureKind::FileFailed);
    }
  });
  return graph;
}

GraphHandle graphFromArrays(py::handle src, py::handle dst, py::handle cost,
                            py::handle numNodes) {
  const IntegerColumn from = integerColumn(src, "src");
  const IntegerColumn to = integerColumn(dst, "dst");
  const IntegerColumn costs = integerColumn(cost, "cost");
  if (from.length != to.length || from.length != costs.length) {
    failWith(FailureKind::BadInput,
             "src, dst and cost differ in length (" + std::to_string(from.length) + ", " +
                 std::to_string(to.length) + ", " + std::to_string(costs.length) + ")");
  }
  if (from.length > INT32_MAX) {
    failWith(FailureKind::BadInput, "a graph holds at most 2147483647 edges");
  }
  const int64_t mostNodes = int64_t{kMaxLabel} + 1;
  int64_t nodes = 0;  // 0: one more than the highest label
  if (!numNodes.is_none()) {
    nodes = integerArgument(numNodes, "num_nodes", 1, mostNodes,
                            rangeText("a node count", 1, mostNodes));
  }
  const int64_t highestLabel = nodes > 0 ? nodes - 1 : kMaxLabel;
  const std::string labelText = rangeText("a node label", 0, highestLabel);
  const std::string costText = rangeText("a cost", 0, kMaxCost);

  GraphHandle graph = emptyHandle();
  py::gil_scoped_release unlocked;
  MessageCapture capture;
  checkRange(from, "src", 0, highestLabel, labelText.c_str());
  checkRange(to, "dst", 0, highestLabel, labelText.c_str());
  checkRange(costs, "cost", 0, kMaxCost, costText.c_str());

  const auto count = static_cast<int32_t>(from.length);
  auto* edges = static_cast<Edge*>(checkedMalloc(static_cast<std::size_t>(count) * sizeof(Edge)));
  int64_t labelBound = 1;  // a graph without edges is node 0 alone
  from.forEach([&](int64_t i, int64_t value) {
    edges[i].from = static_cast<int32_t>(value);
    labelBound = std::max(labelBound, value + 1);
  });
  to.forEach([&](int64_t i, int64_t value) {
    edges[i].to = static_cast<int32_t>(value);
    labelBound = std::max(labelBound, value + 1);
  });
  costs.forEach([&](int64_t i, int64_t value) { edges[i].cost = static_cast<int32_t>(value); });
  graph.owner->adoptEdges(edges, count, static_cast<int32_t>(nodes > 0 ? nodes : labelBound));
  return graph;
}

GraphHandle randomGraph(py::handle nodeCount, py::handle seedNumber, py::handle maxEdgeCount) {
  const int64_t n = integerArgument(nodeCount, "n", kMinRandomNodes, INT32_MAX,
                                    rangeText("a node count", kMinRandomNodes, INT32_MAX));
  const int64_t mostEdges = std::min<int64_t>(kMaxEdgeCeiling, n - 1);
  const int64_t maxEdge = integerArgument(maxEdgeCount, "max_edge", kMaxEdgeFloor, mostEdges,
                                          rangeText("a number", kMaxEdgeFloor, mostEdges));
  // Seeds above the int32_t range name the same engine seed as their
  // wrapped-around value on the command line.
  const int64_t seed = integerArgument(seedNumber, "seed", INT32_MIN, UINT32_MAX,
                                       rangeText("a seed", INT32_MIN, UINT32_MAX));
  GraphHandle graph = emptyHandle();
  py::gil_scoped_release unlocked;
  MessageCapture capture;
  graph.owner->generateRandomGraph(static_cast<int32_t>(n),
                                   static_cast<int32_t>(static_cast<uint32_t>(seed)),
                                   static_cast<int32_t>(maxEdge));
  return graph;
}

void saveGraph(const GraphHandle& graph, const std::filesystem::path& path,
               const std::string& format) {
  const bool binary = format == "binary";
  if (!binary && format != "edges") {
    failWith(FailureKind::BadInput, "format must be edges or binary, not " + format);
  }
  py::gil_scoped_release unlocked;
  MessageCapture capture;
  ShortestPathSolver& owner = *graph.owner;
  const int32_t saved =
      binary ? owner.saveBinaryGraph(path.c_str(), graph.firstNode, OutputMessages::Explained)
             : owner.saveGraph(path.c_str(), OutputMessages::Explained);
  if (saved != 0) capture.fail(FailureKind::FileFailed);
}

py::tuple graphEdges(const GraphHandle& graph) {
  const ShortestPathSolver& owner = *graph.owner;
  const int32_t count = owner.edgeCount;
  Int32Buffer from;
  Int32Buffer to;
  Int32Buffer cost;
  {
    py::gil_scoped_release unlocked;
    MessageCapture capture;
    from = newInt32Buffer(count);
    to = newInt32Buffer(count);
    cost = newInt32Buffer(count);
    for (int32_t i = 0; i < count; ++i) {
      from[i] = owner.edges[i].from;
      to[i] = owner.edges[i].to;
      cost[i] = owner.edges[i].cost;
    }
  }
  return py::make_tuple(handToNumpy(std::move(from), {count}), handToNumpy(std::move(to), {count}),
                        handToNumpy(std::move(cost), {count}));
}
