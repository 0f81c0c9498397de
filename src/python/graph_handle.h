#pragma once

#include <pybind11/numpy.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include "graph/shortest_path_solver.h"

namespace py = pybind11;

// The solver of a graph's last single search, kept for the next one: a
// search on fresh memory pays a page fault for every page of its arrays,
// more than the search itself takes on a large graph.
struct SparedSolver {
  std::mutex lock;
  std::unique_ptr<ShortestPathSolver> solver;
};

// A graph as Python holds it. Its solver owns the graph and is never searched
// itself: every search gets a solver of its own that shares the graph, so
// searches from several Python threads can run at once. The graph never
// changes after it is made.
struct GraphHandle {
  std::unique_ptr<ShortestPathSolver> owner;
  // The lowest node number of the graph's file format (1 for DIMACS and
  // Matrix Market, whose node 0 is then a node without edges); searches start
  // there unless told otherwise.
  int32_t firstNode = 0;
  std::unique_ptr<SparedSolver> spared = std::make_unique<SparedSolver>();
};

// A solver on a graph for one search: the graph's spared one when no other
// search holds it, else a new one; the one that ends last is spared.
class SearchSolver {
 public:
  explicit SearchSolver(const GraphHandle& graph);
  ~SearchSolver();
  SearchSolver(const SearchSolver&) = delete;
  SearchSolver& operator=(const SearchSolver&) = delete;
  ShortestPathSolver& operator*() const { return *solver_; }
  ShortestPathSolver* operator->() const { return solver_.get(); }

 private:
  SparedSolver& spared_;
  std::unique_ptr<ShortestPathSolver> solver_;
};

// Whether self is a Graph that __init__ has made: Graph.__new__(Graph) gives
// one that it has not, whose memory must never be read as a graph.
bool isMadeGraph(py::handle self);
// The graph of a made Graph; TypeError for anything else (graph_building.cpp,
// like the calls below).
const GraphHandle& madeGraph(py::handle self);

// Making and saving graphs.
GraphHandle graphFromArrays(py::handle src, py::handle dst, py::handle cost, py::handle numNodes);
GraphHandle readGraph(const std::filesystem::path& path, const std::string& format);
GraphHandle randomGraph(py::handle n, py::handle seed, py::handle maxEdge);
void saveGraph(const GraphHandle& graph, const std::filesystem::path& path,
               const std::string& format);
py::tuple graphEdges(const GraphHandle& graph);

// Searches (graph_search.cpp).
py::tuple shortestPaths(const GraphHandle& graph, py::object source, py::object maxCost,
                        py::object sources, py::object threads, const std::string& ties);
py::object pathBetween(const GraphHandle& graph, py::handle source, py::handle target,
                       const std::string& ties, py::object threads);

// Tables of costs (graph_matrix.cpp).
py::array_t<int32_t> distanceMatrix(const GraphHandle& graph, py::handle sources,
                                    py::handle targets, py::object maxCost, py::object threads);
void saveMatrix(const std::filesystem::path& path, py::handle sources, py::handle targets,
                py::handle matrix);

// Solutions (solution_output.cpp).
int32_t checksum(py::handle cost);
void saveSolution(const std::filesystem::path& path, py::handle cost, py::handle pred,
                  py::handle firstNode);
