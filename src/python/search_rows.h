#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "python/graph_handle.h"
#include "python/tool_errors.h"
#include "search/search_limits.h"
#include "search/tie_order.h"

// What the searches of the module share (search_rows.cpp).

// How the searches of one call run: the tie order, and for the canonical one
// the threads inside each search.
struct SearchWay {
  TieOrder ties = TieOrder::Heap;
  int32_t threads = 1;
};

// The search from source: every node it settles gets the cost and
// predecessor of the whole search in the way's tie order. Fails like the tool
// (a path cost over the limit) through capture.
void searchFrom(ShortestPathSolver& solver, int32_t source, const SearchLimits& limits,
                const SearchWay& way, const MessageCapture& capture);

// The ties argument: "heap" or "canonical".
TieOrder checkedTies(const std::string& ties);

// solveRow(solver, row, capture) for rows 0 .. rowCount - 1, spread over
// threadCount threads, each with its own solver on owner's graph and its own
// capture. The first failure stops the others and is thrown here.
using RowSolver = std::function<void(ShortestPathSolver&, std::size_t, const MessageCapture&)>;
void spreadRows(const ShortestPathSolver& owner, std::size_t rowCount, int threadCount,
                const RowSolver& solveRow);

// The threads argument (None: one per core), the threads of the whole call.
int64_t callThreads(py::handle threads);
// The threads argument, at most one per row.
int threadsFor(py::handle threads, int64_t rowCount);

// Node labels of the graph from an integer array or sequence named name.
std::vector<int32_t> nodeLabels(const GraphHandle& graph, py::handle values, const char* name);

// The max_cost argument: -1 for None, else 0 or more.
int64_t checkedMaxCost(py::handle maxCost);
