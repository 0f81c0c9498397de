#pragma once

#include <cstdint>

#include "formats/edge_list.h"

// The edges of a text while a reader adds them in file order, and the bound
// of the labels they and the header name. The edge array is malloc'ed, for
// the solver to take over and index by source node.
struct GraphBuilder {
  Edge* edges = nullptr;
  int64_t edgeCount = 0;
  int64_t edgeRoom = 0;
  int64_t labelBound = 0;  // highest label named + 1

  GraphBuilder();
  ~GraphBuilder();  // frees what was not taken
  GraphBuilder(const GraphBuilder&) = delete;
  GraphBuilder& operator=(const GraphBuilder&) = delete;

  // Labels are at most kMaxLabel. False when the edge count would pass what
  // a 32-bit count holds.
  bool add(int32_t from, int32_t to, int32_t cost) {
    if (edgeCount == edgeRoom && !growEdges()) return false;
    edges[edgeCount++] = Edge{from, to, cost};
    const int64_t highest = (from > to ? from : to) + int64_t{1};
    if (highest > labelBound) labelBound = highest;
    return true;
  }

  // Makes room for count edges in all, as a header announces them: no copy
  // on the way, and no memory touched beyond what the edges fill. A header
  // may be wrong: room beyond the memory the process may take is not made.
  void reserveEdges(int64_t count);

 private:
  bool growEdges();
};
