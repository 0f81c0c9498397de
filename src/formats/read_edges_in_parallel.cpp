#include <algorithm>
#include <cstdint>

#include "base/allocation.h"
#include "formats/edge_count_prediction.h"
#include "formats/edge_reading.h"
#include "formats/parted_read.h"
#include "io/text_reader.h"

// The tool's own format in parts (formats/parted_read.h): each thread scans its
// parts with a TextReader of its own.

namespace {

// On cache lines of its own: a worker's reader changes with every line, and
// a line shared with the next worker's would go back and forth between cores.
struct alignas(64) EdgeLineWorker {
  TextReader reader;
  const int32_t* powersOfTen;
};

void parseEdgeLines(void* worker, const FilePart& part, Edge* block, int64_t blockEdges,
                    PartOutcome& outcome) {
  auto& self = *static_cast<EdgeLineWorker*>(worker);
  TextReader& reader = self.reader;
  PartBytes bytes(part);
  ByteSource source = bytes.source();
  reader.stopOffset = part.end == part.fileBytes ? INT64_MAX : part.end;
  reader.open(source, bytes.offset);
  int32_t status = part.first ? kEdgeLineRead : reader.skipLineBegunBefore();
  int64_t count = 0;
  int32_t labelBound = -1;
  if (status == kEdgeLineRead) {
    int32_t from;
    int32_t to;
    int32_t cost;
    while ((status = reader.readEdgeLine(self.powersOfTen, from, to, cost)) == kEdgeLineRead) {
      // Lines are at least 6 bytes apart, so a block never fills; were it to,
      // the part could not be read.
      if (count == blockEdges) {
        status = kReadFailed;
        break;
      }
      block[count++] = Edge{from, to, cost};
      labelBound = std::max(labelBound, std::max(from, to) + 1);
    }
  }
  outcome.count = count;
  outcome.lineEnds = reader.lineNumber - 1;
  outcome.labelBound = labelBound;
  outcome.status = status;
  outcome.badLineNumber = reader.badLineNumber;
  outcome.badLineReason = reader.badLineReason;
}

}  // namespace

EdgeReading readEdgesInParallel(int fd, int64_t fileBytes, const EdgeFileReading& how,
                                int64_t mostNodes, EdgeList& list) {
  PartedReadPlan plan = splitPlan(fd, 0, fileBytes);
  plan.blockEdges = plan.partBytes / kShortestLineBytes + 2;
  const int64_t mostEdges = std::min(fileBytes / kShortestLineBytes + 1, kMostEdges);
  plan.firstEdgeRoom = std::clamp<int64_t>(fileBytes / kUsualLineBytes, 1, mostEdges);
  plan.parse = parseEdgeLines;
  plan.bytesRead = how.progress.bytesRead;
  plan.progressContext = how.progress.context;
  PartedReadResult parted = readInPartsWith<EdgeLineWorker>(plan, [&](EdgeLineWorker& worker) {
    worker.reader.capacity = kGraphReadBytes;
    worker.reader.prepareBuffer();
    worker.powersOfTen = how.powersOfTen;
  });
  list.edges = parted.edges;
  const Edge* edges = parted.edges;

  EdgeReading reading;
  if (parted.outOfMemory || parted.tooManyEdges) {
    releaseArray(parted.outcomes);
    failAllocation();
  }
  // Marks of the label bound before each part's end let a replay skip parts.
  auto* marks = allocateArray<LabelMark>(static_cast<size_t>(parted.placedParts));
  int64_t linesBefore = 0;
  int64_t edgesBefore = 0;
  for (int64_t index = 0; index < parted.placedParts; ++index) {
    const PartOutcome& part = parted.outcomes[index];
    reading.labelBound = std::max(reading.labelBound, part.labelBound);
    edgesBefore += part.count;
    marks[index] = LabelMark{edgesBefore, reading.labelBound};
    if (part.status != kEndOfInput) {
      reading.status = part.status;
      reading.badLineNumber = linesBefore + part.badLineNumber;
      reading.badLineReason = part.badLineReason;
    }
    linesBefore += part.lineEnds;
  }
  reading.count = parted.edgeCount;
  list.count = parted.edgeCount;
  releaseArray(parted.outcomes);
  if (how.verbose) {
    replayEdgeCountPrediction(edges, reading.count, marks, parted.placedParts, mostNodes);
  }
  releaseArray(marks);
  return reading;
}
