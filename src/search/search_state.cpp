#include <cstring>

#include "base/allocation.h"
#include "graph/shortest_path_solver.h"
#include "search/heap_layouts.h"

void ShortestPathSolver::initSearch(int32_t count) { prepareSearchState(count, true); }

void ShortestPathSolver::prepareSearchState(int32_t count, bool withHeap) {
  // A negative count (a graph without nodes) sizes nothing.
  if (count < 0) count = 0;
  // Searches one after the other on one graph keep their arrays: fresh
  // memory costs a page fault per page at its first touch, more than the
  // search itself on a large graph. The heap entries, when kept, are sized
  // for the same count too.
  if (count != searchNodeCount) {
    releaseArray(results);
    releaseArray(heapEntries);
  }
  searchNodeCount = count;
  heapSize = 0;
  skippedPathCount = 0;

  const auto nodes = static_cast<std::size_t>(count);
  if (results == nullptr) {
    results = allocateArray<NodeResult>(nodes);
    // Read at random by the search; huge pages spare it most of the TLB
    // misses. The advice must come before the first touch.
    adviseHugePages(results, nodes * sizeof(NodeResult));
  }
  // All bytes 0xFF: cost -1 and pred -1 for every node.
  std::memset(static_cast<void*>(results), 0xFF, nodes * sizeof(NodeResult));
  if (withHeap) allocateHeapEntries();
}

void ShortestPathSolver::allocateHeapEntries() {
  // A solver holds the arrays of one kind of search at a time.
  releaseCanonicalWorkspace();
  // A few spare heap entries beyond the count let the heap search lay the
  // same memory out its own way (heap_layouts.h).
  const std::size_t entryCount = static_cast<std::size_t>(searchNodeCount) + PackedLayout::kSpareEntries;
  if (heapEntries == nullptr) {
    heapEntries = allocateArray<HeapEntry>(entryCount);
    adviseHugePages(heapEntries, entryCount * sizeof(HeapEntry));
  }
  // Position -1 for every node. The slots' node and key are never read
  // before a heap move writes them.
  std::memset(static_cast<void*>(heapEntries), 0xFF, entryCount * sizeof(HeapEntry));
}
