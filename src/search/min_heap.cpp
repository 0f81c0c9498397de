#include <cstdio>

#include "graph/shortest_path_solver.h"
#include "search/heap_layouts.h"
#include "search/heap_moves.h"
#include "base/messages.h"

void ShortestPathSolver::push(int32_t node, int32_t key) {
  EntryLayout heap{heapEntries};
  pushEntry(heap, heapSize, node, key);
}

void ShortestPathSolver::decreaseKey(int32_t node, int32_t key) {
  EntryLayout heap{heapEntries};
  const int32_t slot = heapEntries[node].position;
  heapEntries[slot].key = key;
  if (slot > 0 && slot < heapSize) riseFrom(heap, slot, node, key);
}

int32_t ShortestPathSolver::popMin() {
  EntryLayout heap{heapEntries};
  return takeMinEntry(heap, heapSize);
}

int32_t ShortestPathSolver::checkHeap(int32_t slot) {
  const int64_t left = 2 * static_cast<int64_t>(slot) + 1;
  const int64_t right = left + 1;
  int32_t violated = 0;
  if (left < heapSize) {
    if (heapEntries[left].key < heapEntries[slot].key) {
      printLinef("HEAP PROPERTY VIOLENCE l:%d n:%d cost %d %d",
                   static_cast<int32_t>(left), slot, heapEntries[left].key, heapEntries[slot].key);
      violated = 1;
    } else {
      checkHeap(static_cast<int32_t>(left));
    }
  }
  if (right < heapSize) {
    if (heapEntries[right].key < heapEntries[slot].key) {
      printLinef("HEAP PROPERTY VIOLENCE r:%d n:%d", static_cast<int32_t>(right), slot);
      violated = 1;
    }
    checkHeap(static_cast<int32_t>(right));
  }
  return violated;
}
