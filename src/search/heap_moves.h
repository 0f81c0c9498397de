#pragma once

#include <cstdint>

#include "graph/graph_types.h"

// Movements of the min-heap, written once for the two layouts it is kept in
// (heap_layouts.h). A layout gives key(slot), node(slot), place(slot, node,
// key), which also records the node's position, and prefetchBelow(slot, size).
// The size is passed separately so that the search loop keeps it in a register.
//
// The rules decide which of several equally cheap paths a search records, so
// they are part of the output: an entry rises only past a strictly greater
// parent key, and sinks only below a strictly smaller child key, the left
// child winning a tie between the two. Entries are moved into a hole rather
// than swapped pairwise; every operation ends with the same slots and
// positions as the swaps would give, with half the writes.

// Puts node with key into the hole at slot and lets it rise.
template <typename Layout>
inline void riseFrom(Layout& heap, int64_t slot, int32_t node, int32_t key) {
  while (slot > 0) {
    const int64_t parent = (slot - 1) / 2;
    const int32_t parentKey = heap.key(parent);
    if (parentKey <= key) break;
    heap.place(slot, heap.node(parent), parentKey);
    slot = parent;
  }
  heap.place(slot, node, key);
}

template <typename Layout>
inline void pushEntry(Layout& heap, int32_t& size, int32_t node, int32_t key) {
  riseFrom(heap, size, node, key);
  ++size;
}

// Takes the node out of slot 0 and refills the heap with its last entry.
//
// Instead of sinking that entry level by level, the hole is first carried down
// the path of smaller children to the bottom (one comparison per level and no
// branch to mispredict), then the entry rises back while the parent's key is
// not smaller than its own. The path's keys never decrease, so it comes to
// rest exactly where sinking would have stopped: above the first child whose
// key is not strictly smaller. The position of the node taken out is left as
// it was (0).
template <typename Layout>
inline int32_t takeMinEntry(Layout& heap, int32_t& size) {
  const int32_t minNode = heap.node(0);
  const int32_t last = --size;
  const int32_t node = heap.node(last);
  const int32_t key = heap.key(last);
  const int64_t count = size;  // 64-bit slot arithmetic: 2 * slot + 2 may pass 2^31

  int64_t hole = 0;
  int64_t child = 1;
  while (child + 1 < count) {
    heap.prefetchBelow(hole, count);
    child += heap.key(child + 1) < heap.key(child) ? 1 : 0;
    heap.place(hole, heap.node(child), heap.key(child));
    hole = child;
    child = 2 * hole + 1;
  }
  if (child < count) {
    heap.place(hole, heap.node(child), heap.key(child));
    hole = child;
  }
  while (hole > 0) {
    const int64_t parent = (hole - 1) / 2;
    const int32_t parentKey = heap.key(parent);
    if (parentKey < key) break;
    heap.place(hole, heap.node(parent), parentKey);
    hole = parent;
  }
  heap.place(hole, node, key);
  return minNode;
}
