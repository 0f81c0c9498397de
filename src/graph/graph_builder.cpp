#include "graph/graph_builder.h"

#include <cstdlib>
#include <cstring>

#include "base/allocation.h"
#include "base/grow_array.h"

namespace {

constexpr int64_t kFirstEdgeRoom = 1 << 12;
constexpr int64_t kFirstRangeRoom = 1 << 10;

}  // namespace

GraphBuilder::GraphBuilder() {
  edges = static_cast<Edge*>(checkedMalloc(kFirstEdgeRoom * sizeof(Edge)));
  edgeRoom = kFirstEdgeRoom;
  ranges = static_cast<EdgeRange*>(checkedMalloc(kFirstRangeRoom * sizeof(EdgeRange)));
  rangeRoom = kFirstRangeRoom;
}

GraphBuilder::~GraphBuilder() {
  std::free(edges);
  std::free(ranges);
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
  // Only the header's word: room beyond what memory can ever hold is not
  // made, so the edges grow as they come and the text's lines decide.
  const size_t bytes = static_cast<size_t>(count) * sizeof(Edge);
  if (bytes > memoryLimitBytes()) return;
  edges = static_cast<Edge*>(
      growArray(edges, static_cast<size_t>(edgeCount) * sizeof(Edge), bytes));
  edgeRoom = count;
}

void GraphBuilder::coverLabels(int64_t bound) {
  if (bound <= labelBound) return;
  if (bound > rangeRoom) {
    int64_t room = rangeRoom;
    while (room < bound) room *= 2;
    if (room > int64_t{kMaxLabel} + 1) room = int64_t{kMaxLabel} + 1;
    ranges = static_cast<EdgeRange*>(growArray(ranges,
                                               static_cast<size_t>(labelBound) * sizeof(EdgeRange),
                                               static_cast<size_t>(room) * sizeof(EdgeRange)));
    rangeRoom = room;
  }
  std::memset(static_cast<void*>(ranges + labelBound), 0xFF,
              static_cast<size_t>(bound - labelBound) * sizeof(EdgeRange));
  labelBound = bound;
}

void GraphBuilder::startGroup(int32_t from) {
  if (previousSource >= 0) ranges[previousSource].last = static_cast<int32_t>(edgeCount - 1);
  EdgeRange& range = ranges[from];
  if (range.first == -1) {
    range.first = static_cast<int32_t>(edgeCount);
  } else {
    split = true;
  }
  previousSource = from;
}
