#include "formats/graph_builder.h"

#include <cstdlib>
#include <cstring>

#include "base/allocation.h"
#include "base/grow_array.h"

namespace {

constexpr int64_t kFirstEdgeRoom = 1 << 12;

}  // namespace

GraphBuilder::GraphBuilder() {
  edges = static_cast<Edge*>(checkedMalloc(kFirstEdgeRoom * sizeof(Edge)));
  edgeRoom = kFirstEdgeRoom;
}

GraphBuilder::~GraphBuilder() {
  std::free(edges);
}

bool GraphBuilder::growEdges() {
  if (edgeRoom == kMostEdges) return false;
  int64_t room = edgeRoom * 2;
  if (room > kMostEdges) room = kMostEdges;
  edges = static_cast<Edge*>(growArray(edges, static_cast<size_t>(edgeCount) * sizeof(Edge),
                                       static_cast<size_t>(room) * sizeof(Edge)));
  edgeRoom = room;
  return true;
}

void GraphBuilder::reserveEdges(int64_t count) {
  if (count > kMostEdges) count = kMostEdges;
  if (count <= edgeRoom) return;
  // Only the header's word: room beyond the memory the process may take is
  // not made (under ulimit -v even untouched room counts), so the edges grow
  // as they come and the text's lines decide.
  const size_t bytes = static_cast<size_t>(count) * sizeof(Edge);
  if (bytes > memoryLimitBytes()) return;
  edges = static_cast<Edge*>(
      growArray(edges, static_cast<size_t>(edgeCount) * sizeof(Edge), bytes));
  edgeRoom = count;
}
