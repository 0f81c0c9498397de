#pragma once

#include <cstdint>

// Plain records of the graph and of a solution. Every field is signed 32-bit;
// -1 means "none" throughout (unreached, no predecessor, empty range).

struct Edge {
  int32_t from;
  int32_t to;
  int32_t cost;
};

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

constexpr int32_t kMaxLabel = 2147483646;  // label + 1 must still fit in int32_t
constexpr int32_t kMaxCost = 2147483647;
// Edge indices are signed 32-bit, so no graph may hold more edges than this.
constexpr int64_t kMostEdges = INT32_MAX;
