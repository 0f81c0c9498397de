#include <algorithm>
#include <cstdlib>
#include <string>

#include "base/allocation.h"
#include "formats/graph_format.h"
#include "python/graph_handle.h"
#include "python/integer_arrays.h"
#include "python/tool_errors.h"
#include "random/random_graph.h"

namespace {

GraphHandle emptyHandle() { return GraphHandle{std::make_unique<ShortestPathSolver>()}; }

std::string rangeText(const char* what, int64_t lowest, int64_t highest) {
  return std::string(what) + " from " + std::to_string(lowest) + " to " + std::to_string(highest);
}

}  // namespace

GraphHandle readGraph(const std::filesystem::path& path, const std::string& format) {
  GraphFormat chosen = GraphFormat::Auto;
  if (!graphFormatNamed(format.c_str(), chosen)) {
    failWith(FailureKind::BadInput,
             "format must be auto, edges, dimacs, snap or mtx, not " + format);
  }
  GraphHandle graph = emptyHandle();
  py::gil_scoped_release unlocked;
  MessageCapture capture;
  if (!graph.owner->readGraph(path.c_str(), chosen, graph.firstNode)) {
    capture.fail(FailureKind::FileFailed);
  }
  return graph;
}

GraphHandle graphFromArrays(py::handle src, py::handle dst, py::handle cost,
                            std::optional<int64_t> numNodes) {
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
  if (numNodes && (*numNodes < 1 || *numNodes > mostNodes)) {
    failWith(FailureKind::BadInput, "num_nodes is " + std::to_string(*numNodes) + ", not " +
                                        rangeText("a node count", 1, mostNodes));
  }
  const int64_t highestLabel = numNodes ? *numNodes - 1 : kMaxLabel;
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
  graph.owner->adoptEdges(edges, count, static_cast<int32_t>(numNodes.value_or(labelBound)));
  return graph;
}

GraphHandle randomGraph(int64_t n, int64_t seed, int64_t maxEdge) {
  if (n < kMinRandomNodes || n > INT32_MAX) {
    failWith(FailureKind::BadInput, "n is " + std::to_string(n) + ", not " +
                                        rangeText("a node count", kMinRandomNodes, INT32_MAX));
  }
  const int64_t mostEdges = std::min<int64_t>(kMaxEdgeCeiling, n - 1);
  if (maxEdge < kMaxEdgeFloor || maxEdge > mostEdges) {
    failWith(FailureKind::BadInput, "max_edge is " + std::to_string(maxEdge) + ", not " +
                                        rangeText("a number", kMaxEdgeFloor, mostEdges));
  }
  // Seeds above the int32_t range name the same engine seed as their
  // wrapped-around value on the command line.
  if (seed < INT32_MIN || seed > UINT32_MAX) {
    failWith(FailureKind::BadInput, "seed is " + std::to_string(seed) + ", not " +
                                        rangeText("a seed", INT32_MIN, UINT32_MAX));
  }
  GraphHandle graph = emptyHandle();
  py::gil_scoped_release unlocked;
  MessageCapture capture;
  graph.owner->generateRandomGraph(static_cast<int32_t>(n),
                                   static_cast<int32_t>(static_cast<uint32_t>(seed)),
                                   static_cast<int32_t>(maxEdge));
  return graph;
}

void saveGraph(const GraphHandle& graph, const std::filesystem::path& path) {
  py::gil_scoped_release unlocked;
  MessageCapture capture;
  if (graph.owner->saveGraph(path.c_str(), OutputMessages::Explained) != 0) {
    capture.fail(FailureKind::FileFailed);
  }
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
