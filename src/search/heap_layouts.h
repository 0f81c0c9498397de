#pragma once

#include <cstddef>
#include <cstdint>

#include "graph/graph_types.h"

// The two ways the heap lies in the heapEntries array.

// As the solver's heap operations show it: entry s holds slot s's node and
// key, entry v holds node v's position.
struct EntryLayout {
  HeapEntry* entries;

  int32_t key(int64_t slot) const { return entries[slot].key; }
  int32_t node(int64_t slot) const { return entries[slot].node; }
  int32_t position(int32_t node) const { return entries[node].position; }
  void setPosition(int32_t node, int32_t slot) { entries[node].position = slot; }
  void place(int64_t slot, int32_t node, int32_t key) {
    entries[slot].node = node;
    entries[slot].key = key;
    entries[node].position = static_cast<int32_t>(slot);
  }
  void prefetchBelow(int64_t, int64_t) const {}
  const void* positionAddress(int32_t node) const { return &entries[node].position; }
};

// The heap search's own arrangement of the same memory, which every search
// finds reset by allocateHeapEntries (every position -1): the positions
// packed first, 4 bytes per node, then the slots as 8-byte (key, node) pairs from a cache-line
// boundary, slot s at pair s + 1. So both children of a slot share a line, and
// the 16 descendants four levels below a slot fill exactly two lines, which
// the walk down fetches ahead. The pairs take 8 bytes per slot where the
// entries take 12, so more of a large heap stays in cache.
//
// Everything is read and written as int32_t, the type of HeapEntry's fields.
struct PackedLayout {
  int32_t* positions;
  int32_t* pairs;  // word 2i is the key of pair i, word 2i + 1 its node

  // heapEntries is allocated with this many spare entries (72 bytes): room for
  // the alignment of the pairs and for pair 0, which holds no slot.
  static constexpr int32_t kSpareEntries = 6;

  static PackedLayout over(HeapEntry* entries, int32_t nodeCount) {
    constexpr std::uintptr_t kLine = 64;
    int32_t* positions = reinterpret_cast<int32_t*>(entries);
    const auto pairsAddress = reinterpret_cast<std::uintptr_t>(positions + nodeCount);
    const std::uintptr_t alignedAddress = (pairsAddress + kLine - 1) & ~(kLine - 1);
    return PackedLayout{positions, positions + nodeCount + (alignedAddress - pairsAddress) / 4};
  }

  int32_t key(int64_t slot) const { return pairs[2 * slot + 2]; }
  int32_t node(int64_t slot) const { return pairs[2 * slot + 3]; }
  int32_t position(int32_t node) const { return positions[node]; }
  void setPosition(int32_t node, int32_t slot) { positions[node] = slot; }
  void place(int64_t slot, int32_t node, int32_t key) {
    pairs[2 * slot + 2] = key;
    pairs[2 * slot + 3] = node;
    positions[node] = static_cast<int32_t>(slot);
  }
  // Slots 16s + 15 to 16s + 30 are pairs 16(s + 1) to 16(s + 1) + 15: two lines.
  // (Forced inline: GCC 12 judges a function that only prefetches to have no
  // effect and drops its calls before it would have inlined it.)
  [[gnu::always_inline]] void prefetchBelow(int64_t slot, int64_t size) const {
    if (16 * slot + 15 < size) {
      __builtin_prefetch(&pairs[32 * slot + 32]);
      __builtin_prefetch(&pairs[32 * slot + 48]);
    }
  }
  const void* positionAddress(int32_t node) const { return &positions[node]; }
};
