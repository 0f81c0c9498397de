#pragma once

#include <cstdint>

#include "formats/edge_list.h"

// Plain records of the graph as searched, and of a solution. Every field is
// signed 32-bit; -1 means "none" throughout (unreached, no predecessor,
// empty range). The edges themselves are formats/edge_list.h's.

struct EdgeRange {
  int32_t first;  // index in edges of the node's first outgoing edge
  int32_t last;   // index of its last outgoing edge, inclusive
};

// One array of these serves as the min-heap and as its position index at
// once: read by node, `position` is the node's heap slot (-1 when not in the
// heap); read by slot, `node` and `key` are the heap itself.
struct HeapEntry {
  int32_t position;
  int32_t node;
  int32_t key;
};

struct NodeResult {
  int32_t cost;  // cheapest known path cost from the source, -1 when unreached
  int32_t pred;  // node the path arrives from, -1 when none
};
