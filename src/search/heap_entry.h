#pragma once

#include <cstdint>

// One array of these serves as the heap and as its position index at once:
// read by node, `position` is the node's heap slot (-1 when not in the heap);
// read by slot, `node` and `key` are the heap itself.
struct HeapEntry {
  int32_t position;
  int32_t node;
  int32_t key;
};
