#pragma once

#include <cstdint>

#include "graph/graph_types.h"
#include "search/heap_entry.h"
#include "solution/loaded_solution.h"

// The one object of the process: graph storage, search state, solution and
// the operations of every run. Fields are public plain data, in a fixed order.
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

  ShortestPathSolver();
  ~ShortestPathSolver();
  ShortestPathSolver(const ShortestPathSolver&) = delete;
  ShortestPathSolver& operator=(const ShortestPathSolver&) = delete;

  // Releases the graph and the solution array; counts and flags other than
  // graphSet keep their values.
  void clear();

  // ---- graph files and random graphs (graph/) ----

  bool loadGraph(const char* path);
  int32_t saveGraph(const char* path);
  bool generateRandomGraph(int32_t n, int32_t seed, int32_t maxEdge);
  bool runCreate(int32_t n, int32_t seed, int32_t maxEdge, const char* path);


  // ---- search state, min-heap and the two searches (search/) ----

  void initSearch(int32_t count);
  void push(int32_t node, int32_t key);
  void decreaseKey(int32_t node, int32_t key);
  int32_t popMin();
  int32_t checkHeap(int32_t slot);
  bool solveHeap(int32_t source);
  void relaxHeap(int32_t node);
  bool solveLinear(int32_t source);
  int32_t findCheapestOpen(const int32_t* openFlags);
  void relaxLinear(int32_t node, int32_t* openFlags);


  // ---- solutions: files, comparison, checksum (solution/) ----

  bool saveSolution(const char* path);
  LoadedSolution* loadSolution(const char* path, int32_t capacity, LoadedSolution& record);
  bool runTest(const char* graphFile, const char* solutionFile, int32_t source);
  bool compareSolution(const LoadedSolution& record);
  bool checkPredecessor(const LoadedSolution& record, int32_t node, int32_t pred);
  int32_t solutionHash();
  bool runHashFromFile(const char* path);


  // ---- runs (app/) ----

  bool solveAndSave(const char* graphFile, const char* outputFile, int32_t source, bool useHeap);


 private:
  // Private helpers, one block per folder so that each folder's work stays apart.

  // -- graph/ (loader, writer, generator) --

  // Sorts edges by source node, keeping file order within a node, and
  // rebuilds edgeRanges from edgeCount and nodeCount.
  void regroupEdgesBySource();


  // -- search/ --
  // Relaxations of this search skipped because their sum passed 2147483647
  // while the target was still unreached; each marked its target (path_limit.h).
  int32_t skippedPathCount = 0;
  bool reportPathOverLimit();


  // -- solution/ files (save, load) --



  // -- solution/ comparison, test run, checksum --



  // -- app/ --


};
