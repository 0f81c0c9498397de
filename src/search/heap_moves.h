#pragma once

#include <cstdint>

#include "search/heap_entry.h"

// Movements of the min-heap kept in a HeapEntry array: slot s holds a node and
// its key, entry v's position is the slot of node v. The size is passed in so
// that the search loop can keep it in a register.
//
// The rules decide which of several equally cheap paths a search records, so
// they are part of the output: an entry rises only past a strictly greater
// parent key, and sinks only below a strictly smaller child key, the left
// child winning a tie between the two. Entries are moved into a hole rather
// than swapped pairwise; every operation ends with the same slots and
// positions as the swaps would give, with half the writes.

inline void placeInSlot(HeapEntry* entries, int32_t slot, int32_t node, int32_t key) {
  entries[slot].node = node;
  entries[slot].key = key;
  entries[node].position = slot;
}

// Descendants this many levels below a child (2^levels slots apart) are
// prefetched while the hole walks down.
constexpr int64_t kHeapPrefetchSpread = 8;

// Puts node with key into the hole at slot and lets it rise.
inline void riseFrom(HeapEntry* entries, int32_t slot, int32_t node, int32_t key) {
  while (slot > 0) {
    const int32_t parent = (slot - 1) / 2;
    const int32_t parentKey = entries[parent].key;
    if (parentKey <= key) break;
    placeInSlot(entries, slot, entries[parent].node, parentKey);
    slot = parent;
  }
  placeInSlot(entries, slot, node, key);
}

inline void pushEntry(HeapEntry* entries, int32_t& size, int32_t node, int32_t key) {
  riseFrom(entries, size, node, key);
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
inline int32_t takeMinEntry(HeapEntry* entries, int32_t& size) {
  const int32_t minNode = entries[0].node;
  const int32_t last = --size;
  const int32_t node = entries[last].node;
  const int32_t key = entries[last].key;
  const int64_t count = size;  // slot arithmetic in 64 bits: 2 * slot + 2 may pass 2^31

  int64_t hole = 0;
  int64_t child = 1;
  while (child + 1 < count) {
    // The levels below the path are fetched ahead: the walk down a large heap
    // waits on memory at every level otherwise.
    const int64_t ahead = kHeapPrefetchSpread * child + (kHeapPrefetchSpread - 1);
    if (ahead < count) __builtin_prefetch(&entries[ahead]);
    child += entries[child + 1].key < entries[child].key ? 1 : 0;
    placeInSlot(entries, static_cast<int32_t>(hole), entries[child].node, entries[child].key);
    hole = child;
    child = 2 * hole + 1;
  }
  if (child < count) {
    placeInSlot(entries, static_cast<int32_t>(hole), entries[child].node, entries[child].key);
    hole = child;
  }
  while (hole > 0) {
    const int64_t parent = (hole - 1) / 2;
    const int32_t parentKey = entries[parent].key;
    if (parentKey < key) break;
    placeInSlot(entries, static_cast<int32_t>(hole), entries[parent].node, parentKey);
    hole = parent;
  }
  placeInSlot(entries, static_cast<int32_t>(hole), node, key);
  return minNode;
}
