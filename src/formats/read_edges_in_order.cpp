#include <algorithm>
#include <cstdint>

#include "base/allocation.h"
#include "formats/edge_count_prediction.h"
#include "formats/edge_reading.h"
#include "io/text_reader.h"

namespace {

constexpr int64_t kFirstRoom = 4096;

// Room for more edges than count: half again as much. Only what is used is
// ever touched.
int64_t largerRoom(int64_t count, int64_t room) {
  const int64_t larger = std::min(room + room / 2 + 1, kMostEdges);
  if (larger <= count) failAllocation();  // more edges than a 32-bit count can hold
  return larger;
}

}  // namespace

EdgeReading readEdgesInOrder(ByteSource& source, int64_t fileBytes, const EdgeFileReading& how,
                             int64_t mostNodes, EdgeList& list) {
  const bool verbose = how.verbose;
  TextReader reader;
  reader.capacity = kGraphReadBytes;
  reader.open(source);
  int64_t room = kFirstRoom;
  if (fileBytes >= 0) {
    room = std::min(std::max(fileBytes / kUsualLineBytes, kFirstRoom),
                    fileBytes / kShortestLineBytes + 1);
  }
  room = std::min(room, kMostEdges);
  // The list holds the array throughout, so that a failure unwinding past
  // the reading frees it; the loop writes through a local copy.
  Edge* edges = static_cast<Edge*>(checkedMalloc(static_cast<size_t>(room) * sizeof(Edge)));
  list.edges = edges;
  adviseHugePages(edges, static_cast<size_t>(room) * sizeof(Edge));

  EdgeCountPrediction prediction;
  const int64_t noPrediction = INT64_MAX;
  int64_t nextCheck = std::min(room, verbose ? prediction.predictedEdges : noPrediction);
  EdgeReading reading;
  int64_t count = 0;
  int32_t labelBound = -1;
  int32_t from;
  int32_t to;
  int32_t cost;
  int32_t status;
  while ((status = reader.readEdgeLine(how.powersOfTen, from, to, cost)) == kEdgeLineRead) {
    edges[count] = Edge{from, to, cost};
    const int32_t highest = std::max(from, to) + 1;
    if (highest > labelBound) {
      labelBound = highest;
      if (highest > mostNodes) {
        status = kLabelPastMemory;
        break;
      }
    }
    if (++count == nextCheck) {
      if (verbose && count == prediction.predictedEdges) prediction.reached(from, labelBound);
      if (count == room) {
        room = largerRoom(count, room);
        edges = static_cast<Edge*>(checkedRealloc(edges, static_cast<size_t>(room) * sizeof(Edge)));
        list.edges = edges;
        adviseHugePages(edges, static_cast<size_t>(room) * sizeof(Edge));
      }
      nextCheck = std::min(room, verbose ? prediction.predictedEdges : noPrediction);
    }
  }
  // A failed read strikes in the line being scanned, a label past memory in
  // the line just read.
  reading.badLineNumber = status == kReadFailed       ? reader.lineNumber
                          : status == kLabelPastMemory ? reader.lastLineNumber()
                                                       : reader.badLineNumber;
  reader.close();
  list.count = count;
  reading.count = count;
  reading.labelBound = labelBound;
  reading.status = status;
  reading.badLineReason = reader.badLineReason;
  return reading;
}
