#pragma once

#include <cstdint>

#include "graph/graph_types.h"

// The graph arrays while a reader fills them, edge by edge in file order:
// each node's range is recorded as its lines arrive, as the tool's own loader
// does, and marked split when a node's lines do not stand together (the
// solver then regroups them). The arrays are malloc'ed, for the solver to
// take over.
struct GraphBuilder {
  Edge* edges = nullptr;
  EdgeRange* ranges = nullptr;
  int64_t edgeCount = 0;
  int64_t edgeRoom = 0;
  int64_t labelBound = 0;  // ranges 0 .. labelBound - 1 exist, empty ones {-1, -1}
  int64_t rangeRoom = 0;
  int32_t previousSource = -1;
  bool split = false;

  GraphBuilder();
  ~GraphBuilder();  // frees what was not taken
  GraphBuilder(const GraphBuilder&) = delete;
  GraphBuilder& operator=(const GraphBuilder&) = delete;

  // Labels are at most kMaxLabel. False when the edge count would pass what
  // a 32-bit count holds.
  bool add(int32_t from, int32_t to, int32_t cost) {
    if (edgeCount == edgeRoom && !growEdges()) return false;
    edges[edgeCount] = Edge{from, to, cost};
    const int64_t highest = (from > to ? from : to) + int64_t{1};
    if (highest > labelBound) coverLabels(highest);
    if (from != previousSource) startGroup(from);
    ++edgeCount;
    return true;
  }

  // Makes room for count edges in all, as a header announces them: no copy
  // on the way, and no memory touched beyond what the edges fill. A header
  // may be wrong: room beyond what memory can ever hold is not made.
  void reserveEdges(int64_t count);

  // Makes nodes 0 .. bound - 1 exist (a header may name nodes without edges).
  void coverLabels(int64_t bound);

 private:
  bool growEdges();
  void startGroup(int32_t from);
};
