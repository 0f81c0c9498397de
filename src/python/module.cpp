#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <string>

#include "base/version.h"
#include "python/graph_handle.h"
#include "python/tool_errors.h"

namespace py = pybind11;
using namespace pybind11::literals;

namespace {

constexpr const char* kModuleDoc =
    R"(Exact shortest paths on large directed graphs with integer costs.

The search is the heap search of the command-line tool vorlinde: node for
node, the costs and predecessors are those of its solution files. Costs and
predecessors come as int32 numpy arrays, -1 for an unreached node and for a
node without predecessor. Loading and searching release the GIL, and Ctrl-C
stops them with KeyboardInterrupt (the graph stays usable).

Errors raise ValueError (bad graph files, bad arrays or arguments, numbers out
of range however large), TypeError (arrays or arguments that are not integers,
a Graph used before __init__ made it or made again), OSError (files that
cannot be read or written, with the system's errno and reason) and
MemoryError, with the tool's own messages or ones that name the argument.
Integer arrays may be in either byte order.)";

constexpr const char* kGraphDoc =
    R"(Graph(src, dst, cost, num_nodes=None)

A directed graph with non-negative integer costs on nodes 0 to num_nodes - 1,
made from three integer arrays (any integer dtype) or sequences of equal
length: edge i goes from src[i] to dst[i] at cost cost[i]. Labels run from 0
to 2147483646 and below num_nodes when it is given; num_nodes defaults to one
more than the highest label (1 without edges). Costs run from 0 to
2147483647. The edges of one source keep their given order, which decides
between equally cheap paths as in a graph file. A graph never changes once
made (calling __init__ again raises TypeError); it may be searched from
several threads at once.)";

constexpr const char* kEdgesDoc =
    R"(edges() -> (src, dst, cost)

The edges as three int32 arrays, grouped by source node in ascending order,
each source's edges in their given order.)";

constexpr const char* kShortestPathsDoc =
    R"(shortest_paths(source=first_node, max_cost=None, *, threads=None, ties="heap") -> (cost, pred)
shortest_paths(sources=[...], max_cost=None, threads=None, ties="heap") -> (cost, pred)

Cheapest path costs and predecessors from source: two int32 arrays of
num_nodes entries. cost[v] is the cost of the cheapest path from source to v
and pred[v] the node before v on it; -1 for unreached nodes and for the
source's pred. With max_cost, nodes whose cost is above it are left unreached
(-1); every other node keeps exactly its value. A DIMACS or Matrix Market file
of no nodes has no first node: without a source, ValueError.

With sources, two int32 arrays of shape (len(sources), num_nodes), row i for
sources[i], solved in parallel on up to threads threads (default: one per
core).

ties chooses among equally cheap paths. "heap" (the default) gives the
predecessors of the binary heap search, exactly those of the tool's solution
files. "canonical" gives those of a rule of the graph alone: pred[v] is, among
the in-neighbours u with cost[u] + w(u, v) == cost[v] (u != v), the one of
least cost[u], then of fewest edges on a cheapest path to u, then of least
number. Its answer is the same on any number of threads, and threads (default:
one per core) are the threads of the whole call: with fewer sources than
threads, they share the searches. The costs are the same either way.)";

constexpr const char* kPathDoc =
    R"(path(source, target, *, ties="heap", threads=None) -> int32 array or None

The nodes of the cheapest path from source to target: an array that starts
with source and ends with target (one entry when they are the same node), or
None when target is unreachable. It is the predecessor chain of
shortest_paths(source, ties=ties).)";

constexpr const char* kSaveDoc =
    R"(save(path, format="edges")

Writes the graph file of the tool's own format, one line "source target cost"
per edge, in the order of edges(); or with format="binary" the binary graph
file, which read_graph maps instead of parsing (the same edges, first_node
and answers). The file is replaced whole or not at all. Raises OSError when it
cannot be written.)";

constexpr const char* kDistanceMatrixDoc =
    R"(distance_matrix(sources, targets, max_cost=None, threads=None) -> int32 array

Cheapest path costs from each source to each target: an int32 array of shape
(len(sources), len(targets)), entry [i, j] the cost from sources[i] to
targets[j], -1 where there is no path (or, with max_cost, none within it).
Repeated sources or targets get rows or columns of their own. Each search
stops once its targets are settled; the sources are spread over up to
threads threads (default: one per core). Entry [i, j] equals
shortest_paths(sources[i])[0][targets[j]].)";

constexpr const char* kSaveMatrixDoc =
    R"(save_matrix(path, sources, targets, matrix)

Writes a table of costs as `vorlinde-query --matrix` prints it: the line
"source" followed by the targets, then per source its number and its row,
separated by tabs. matrix has the shape (len(sources), len(targets)). The file
is replaced whole or not at all; OSError when it cannot be written.)";

constexpr const char* kReadGraphDoc =
    R"(read_graph(path, format="auto") -> Graph

Reads a graph file, plain or compressed with gzip or zstd (told from its first
bytes); "-" reads standard input. A binary graph file (Graph.save(path,
format="binary"), vorlinde-query --convert) is mapped, not parsed: processes
on one machine share one copy of it, and reading it takes a fraction of the
time. format is "auto" (told from the content) or one of:
  "edges"   the tool's own: "source target cost" lines, nodes from 0
  "dimacs"  DIMACS .gr: "c" comments, "p sp N M", "a U V W" arcs, nodes 1 to N
  "snap"    SNAP edge lists: "#" comments, "U V" or "U V W" (no weight: cost 1)
  "mtx"     Matrix Market coordinate files (integer, whole real or pattern;
            general or symmetric), rows and columns from 1
  "binary"  the binary graph file (a plain file only)
Node numbers stay the file's own: for DIMACS and Matrix Market, node 0 is a
node without edges and first_node is 1. A bad line raises
ValueError("Bad graph file <path> line <k>: <reason>"), and so does a node
number that would need more memory than the process may get ("node <N> would
need <X> GB; <Y> GB available"), before that memory is asked for; a damaged
binary file raises ValueError("Bad graph file <path>: <reason>"); a file that
cannot be opened or read raises OSError. Ctrl-C stops a long read with
KeyboardInterrupt, as it does searches.)";

constexpr const char* kRandomGraphDoc =
    R"(random_graph(n, seed, max_edge=5) -> Graph

The random graph of `vorlinde -c n -s seed -e max_edge`, edge for edge: n at
least 7; max_edge from 5 to 1000 and below n; seed from -2147483648 to
4294967295 (seeds of 2147483648 and above equal seed - 4294967296 on the
command line).)";

constexpr const char* kChecksumDoc =
    R"(checksum(cost) -> int

The checksum that `vorlinde -h` prints for a solution with these costs: cost
is a one-dimensional integer array, entry v for node v.)";

constexpr const char* kSaveSolutionDoc =
    R"(save_solution(path, cost, pred, first_node=0)

Writes a solution file as `vorlinde` does: one line "label cost pred" per
node, in label order; from first_node on (the graph's first_node gives the
lines of `vorlinde-query -o`). The file is replaced whole or not at all; a
file that cannot be written raises OSError.)";

// A method that works on the graph of a Graph object, checked first: pybind11
// would hand it the uninitialised memory of a Graph that __init__ never made.
template <typename Result, typename... Args>
auto onMadeGraph(Result (*method)(const GraphHandle&, Args...)) {
  return [method](py::handle self, Args... args) { return method(madeGraph(self), args...); };
}

// pybind11 lets a second __init__ on a made Graph pass without a word, the
// object keeping its first graph. A graph never changes: the call is refused.
void makeOnlyOnce(py::class_<GraphHandle>& graphClass) {
  const py::object make = graphClass.attr("__init__");
  graphClass.attr("__init__") = py::cpp_function(
      [make](py::handle self, const py::args& args, const py::kwargs& keywords) {
        if (isMadeGraph(self)) {
          failWith(FailureKind::BadArgument,
                   "this Graph is made already, and a graph never changes: make a new Graph");
        }
        make(self, *args, **keywords);
      },
      // Not named __init__, which pybind11 would take for a constructor of its own.
      py::name("make_once"), py::is_method(graphClass),
      "__init__(src, dst, cost, num_nodes=None)\n\nMakes the graph (see Graph), once: a second "
      "call raises TypeError.");
}

}  // namespace

PYBIND11_MODULE(_core, module) {
  // The docstrings start with signatures in Python's terms instead of the C++ types.
  py::options options;
  options.disable_function_signatures();
  module.doc() = kModuleDoc;
  module.attr("__version__") = kVersionText;
  registerToolFailures();

  py::class_<GraphHandle> graphClass(module, "Graph", kGraphDoc);
  graphClass
      .def(py::init(&graphFromArrays), "src"_a, "dst"_a, "cost"_a, "num_nodes"_a = py::none())
      .def_property_readonly(
          "num_nodes", [](py::handle self) { return madeGraph(self).owner->nodeCount; },
          "Number of nodes: labels run from 0 to num_nodes - 1.")
      .def_property_readonly(
          "num_edges", [](py::handle self) { return madeGraph(self).owner->edgeCount; },
          "Number of edges, duplicates and self-loops included.")
      .def_property_readonly(
          "first_node", [](py::handle self) { return madeGraph(self).firstNode; },
          "The lowest node number of the graph's file format, where searches start by "
          "default: 0, or 1 for DIMACS and Matrix Market files (node 0 is then a node "
          "without edges).")
      .def("edges", onMadeGraph(&graphEdges), kEdgesDoc)
      .def("shortest_paths", onMadeGraph(&shortestPaths), kShortestPathsDoc,
           "source"_a = py::none(), "max_cost"_a = py::none(), py::kw_only(),
           "sources"_a = py::none(), "threads"_a = py::none(), "ties"_a = "heap")
      .def("path", onMadeGraph(&pathBetween), kPathDoc, "source"_a, "target"_a, py::kw_only(),
           "ties"_a = "heap", "threads"_a = py::none())
      .def("distance_matrix", onMadeGraph(&distanceMatrix), kDistanceMatrixDoc, "sources"_a,
           "targets"_a, "max_cost"_a = py::none(), "threads"_a = py::none())
      .def("save", onMadeGraph(&saveGraph), kSaveDoc, "path"_a, "format"_a = "edges")
      .def("__repr__", [](py::handle self) -> std::string {
        // Never raises, so that an unmade graph can still be shown.
        if (!isMadeGraph(self)) return "<vorlinde.Graph, never made>";
        const GraphHandle& graph = madeGraph(self);
        return "<vorlinde.Graph with " + std::to_string(graph.owner->nodeCount) + " nodes and " +
               std::to_string(graph.owner->edgeCount) + " edges>";
      });
  makeOnlyOnce(graphClass);

  module.def("read_graph", &readGraph, kReadGraphDoc, "path"_a, "format"_a = "auto");
  module.def("random_graph", &randomGraph, kRandomGraphDoc, "n"_a, "seed"_a, "max_edge"_a = 5);
  module.def("checksum", &checksum, kChecksumDoc, "cost"_a);
  module.def("save_solution", &saveSolution, kSaveSolutionDoc, "path"_a, "cost"_a, "pred"_a,
             py::kw_only(), "first_node"_a = 0);
  module.def("save_matrix", &saveMatrix, kSaveMatrixDoc, "path"_a, "sources"_a, "targets"_a,
             "matrix"_a);
}
