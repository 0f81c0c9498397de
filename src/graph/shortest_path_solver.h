#pragma once

#include <cstdint>

#include "formats/graph_format.h"
#include "graph/graph_types.h"
#include "io/output_messages.h"
#include "io/read_progress.h"

struct ByteSource;
struct CanonicalWorkspace;
struct EdgeList;
struct LoadedSolution;
struct OverLimitScope;
struct SearchLimits;
struct TextWriter;

// The one object of the process: graph storage, search state, solution and
// the operations of every run. Fields are public plain data, in a fixed order.
// This header is the index of the house: each group of operations names the
// files that hold it.
//
// Two allocation families, never mixed: powersOfTen, heapEntries and results
// are replaced whole (array new / delete); edges and edgeRanges grow in place
// while a file is read (malloc / realloc / free).
class ShortestPathSolver {
 public:
  int32_t* powersOfTen = nullptr;  // 10^0 .. 10^9, for the reader's digit conversion
  bool verbose = false;
  HeapEntry* heapEntries = nullptr;
  int32_t heapSize = 0;
  int32_t searchNodeCount = 0;  // entries of results and heapEntries
  int32_t edgeCount = 0;
  int32_t nodeCount = 0;
  Edge* edges = nullptr;            // grouped by source node
  EdgeRange* edgeRanges = nullptr;  // one per node label
  NodeResult* results = nullptr;
  bool graphSet = false;
  bool solutionSet = false;
  bool solutionLoaded = false;

  // graph/shortest_path_solver.cpp
  ShortestPathSolver();
  ~ShortestPathSolver();
  ShortestPathSolver(const ShortestPathSolver&) = delete;
  ShortestPathSolver& operator=(const ShortestPathSolver&) = delete;
  // Releases the graph and the solution array; counts and flags other than
  // graphSet keep their values.
  void clear();
  // Lets this solver search the graph of owner, which keeps it: searches on
  // one graph can then run in several threads at once, one solver each. The
  // owner must outlive the sharing; clear() and destruction leave its arrays.
  void shareGraph(const ShortestPathSolver& owner);

  // Graph files and graphs handed over in memory: graph/load_graph.cpp,
  // graph/save_graph.cpp, graph/adopt_edges.cpp; random graphs:
  // random/random_graph.cpp. The formats room (formats/graph_input.h) turns
  // a file into edges; these take them.
  // loadGraph reads a file of the tool's own format, loadGraphFrom any byte
  // source of it (path names it in messages; progress hears how far a file
  // read in parts has come). Either clears the solver first.
  bool loadGraph(const char* path, const ReadProgress& progress = {});
  bool loadGraphFrom(ByteSource& source, const char* path, const ReadProgress& progress = {});
  // A failed save is told as messages says (io/output_messages.h).
  int32_t saveGraph(const char* path, OutputMessages messages = OutputMessages::Tool);
  // The binary graph file (graph/binary_graph.h): saveBinaryGraph writes the
  // graph with firstNode, the node searches start at by default
  // (graph/save_binary_graph.cpp); mapBinaryGraph maps one read-only, checks
  // all of it, and searches its arrays in place (graph/map_binary_graph.cpp).
  // Each reports through base/messages; false / -1 on a failure.
  int32_t saveBinaryGraph(const char* path, int32_t firstNode,
                          OutputMessages messages = OutputMessages::Tool);
  bool mapBinaryGraph(const char* path, int32_t& firstNode);
  bool generateRandomGraph(int32_t n, int32_t seed, int32_t maxEdge);
  // Takes over a malloc'ed array of edges in any order, every label below
  // nodeCount, and groups it by source node, keeping each node's edges in
  // their given order.
  void adoptEdges(Edge* givenEdges, int32_t givenEdgeCount, int32_t givenNodeCount);

  // A graph file of any supported format, plain or compressed, or standard
  // input for "-" (formats/read_graph_file.cpp). Node numbers stay the
  // file's own; firstNode is the lowest one the format has (1 for DIMACS and
  // Matrix Market; node 0 is then a node without edges). A binary graph file
  // is told by its first bytes and mapped (mapBinaryGraph). Reports through
  // base/messages and returns false on a failure.
  bool readGraph(const char* path, GraphFormat format, int32_t& firstNode,
                 const ReadProgress& progress = {});

  // Search state and the searches: search/search_state.cpp,
  // search/heap_search.cpp, search/linear_search.cpp, search/solve_from.cpp
  // (with search/bucket_search.cpp, the fast way to the heap's answer).
  // solveFrom is what the runs call: the exact answer of solveHeap, for the
  // whole graph or, within limits, for part of it (search/search_limits.h).
  // Every node it leaves unsettled reads cost -1, pred -1.
  void initSearch(int32_t count);
  bool solveHeap(int32_t source);
  bool solveLinear(int32_t source);
  bool solveFrom(int32_t source);
  bool solveFrom(int32_t source, const SearchLimits& limits);
  // The canonical tie order instead of the heap's (search/canonical_node.h):
  // the same costs, and predecessors that depend on the graph alone, found
  // on threads threads (search/solve_canonical.cpp, with the searches of
  // search/canonical_search.h). Within limits it answers exactly what the
  // whole search would for every node it answers.
  bool solveCanonical(int32_t source, const SearchLimits& limits, int32_t threads);

  // Solution files, comparison and checksum: solution/save_solution.cpp,
  // solution/load_solution.cpp, solution/compare_solution.cpp,
  // solution/solution_hash.cpp.
  bool saveSolution(const char* path, OutputMessages messages = OutputMessages::Tool);
  // The lines of nodes firstNode .. searchNodeCount - 1 into an open writer.
  void putSolutionLines(TextWriter& writer, int32_t firstNode);
  LoadedSolution* loadSolution(const char* path, int32_t capacity, LoadedSolution& record);
  bool compareSolution(const LoadedSolution& record);
  int32_t solutionHash();

  // The runs of the tool's modes: app/solve_run.cpp, app/create_run.cpp,
  // app/test_run.cpp, app/hash_run.cpp.
  bool solveAndSave(const char* graphFile, const char* outputFile, int32_t source, bool useHeap);
  bool runCreate(int32_t n, int32_t seed, int32_t maxEdge, const char* path);
  bool runTest(const char* graphFile, const char* solutionFile, int32_t source);
  bool runHashFromFile(const char* path);

  // Steps of the searches and of the comparison that no run calls on its
  // own, kept as single operations on the solver's state: the heap's moves
  // (search/min_heap.cpp), one relaxation of each search (search/heap_search.cpp,
  // search/linear_search.cpp) and the check of one given predecessor
  // (solution/compare_solution.cpp).
  void push(int32_t node, int32_t key);
  void decreaseKey(int32_t node, int32_t key);
  int32_t popMin();
  int32_t checkHeap(int32_t slot);
  void relaxHeap(int32_t node);
  int32_t findCheapestOpen(const int32_t* openFlags);
  void relaxLinear(int32_t node, int32_t* openFlags);
  bool checkPredecessor(const LoadedSolution& record, int32_t node, int32_t pred);

 private:
  // Takes the edges a reader gave, in file order (graph/load_graph.cpp):
  // edgeRanges is built from them (graph/edge_ranges.cpp), false when a
  // node's lines were not together, and those are regrouped
  // (graph/regroup_edges.cpp): sorted by source node, file order kept within
  // a node, edgeRanges rebuilt from edgeCount and nodeCount.
  void takeEdges(EdgeList& list);
  bool indexEdgeRanges();
  void regroupEdgesBySource();

  bool graphShared = false;  // edges and edgeRanges belong to another solver
  // A binary graph file mapped read-only, which edges and edgeRanges lie in:
  // nothing may write to them (regrouping, adopting never run on them).
  struct GraphMapping {
    void* address = nullptr;
    uint64_t length = 0;
  };
  GraphMapping mapping;
  // Frees them, or unmaps the file, unless shared (graph/shortest_path_solver.cpp).
  void releaseGraphArrays();

  // Relaxations skipped because their sum passed 2147483647 while the target
  // was still unreached; each marked its target (search/path_limit.h).
  int32_t skippedPathCount = 0;
  bool reportPathOverLimit(const OverLimitScope& scope);

  // The frame every search runs in: refusal, timing, the over-limit report
  // (search/search_frame.h).
  template <typename Prepare, typename Find>
  bool runSearchFrame(const char* initLabel, const char* findLabel, bool withHeap, Prepare&& prepare,
                      Find&& find);
  // initSearch, with the heap's entries only when asked for: the bucket
  // search needs none unless it hands over to the heap (search/search_state.cpp).
  void prepareSearchState(int32_t count, bool withHeap);
  void allocateHeapEntries();
  // The heap search proper, on a prepared state (search/heap_search.cpp),
  // whole or stopped early by a Stop's checks (search/heap_search.h).
  void runHeapSearch(int32_t source);
  template <typename Stop>
  void runPackedHeapSearch(int32_t source, Stop stop);
  // solveFrom without limits (search/solve_from.cpp).
  bool solveWhole(int32_t source);
  // What the canonical search keeps between searches (search/solve_canonical.cpp).
  CanonicalWorkspace* canonicalWorkspace = nullptr;
  void releaseCanonicalWorkspace();
};
