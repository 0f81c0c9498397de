#pragma once

#include <cstdint>
#include <cstdlib>

#include "base/graph_limits.h"

// One edge as every reader gives it and the graph keeps it. Signed 32-bit
// fields, as everywhere in a graph.
struct Edge {
  int32_t from;
  int32_t to;
  int32_t cost;
};

// What reading a graph input gives: its edges in file order, in a malloc'ed
// array that the taker adopts (or that goes with the list), and how many
// nodes they need.
struct EdgeList {
  Edge* edges = nullptr;
  int64_t count = 0;
  int32_t nodeCount = 0;  // highest label named + 1, and at least the format's first node + 1

  EdgeList() = default;
  ~EdgeList() { std::free(edges); }  // also when a failure unwinds past the reading
  EdgeList(const EdgeList&) = delete;
  EdgeList& operator=(const EdgeList&) = delete;

  // Hands the array over; the list keeps nothing.
  Edge* release() {
    Edge* taken = edges;
    edges = nullptr;
    return taken;
  }
};
