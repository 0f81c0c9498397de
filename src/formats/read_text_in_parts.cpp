#include <algorithm>
#include <cstdlib>

#include "base/allocation.h"
#include "formats/graph_readers.h"
#include "formats/parted_read.h"
#include "io/text_reader.h"

// DIMACS, SNAP and Matrix Market lines in parts on every thread, the way the
// tool's own format is loaded (formats/parted_read.h). Only a sound text is
// taken this way: at a bad line, a failed read or a record count other than
// the header's, the parts say no more than that, and the caller reads the
// text again in order, which names the first bad line exactly as it always
// does.

namespace {

// On cache lines of its own: a worker's scanner changes with every line, and
// a line shared with the next worker's would go back and forth between cores.
struct alignas(64) TextLineWorker {
  LineScanner lines{ByteSource{}};
  ReadFailure failure;  // what a bad line was; the reading in order says it
  const TextHeader* header;
  TextLineReader readLine;
  bool findsLabelBound;  // when the header names no nodes (SNAP), else its bound holds
};

void parseTextLines(void* worker, const FilePart& part, Edge* block, int64_t blockEdges,
                    PartOutcome& outcome) {
  auto& self = *static_cast<TextLineWorker*>(worker);
  LineScanner& lines = self.lines;
  PartBytes bytes(part);
  lines.restart(bytes.source(), bytes.offset);
  const char* at;
  const char* stop;
  int32_t status = kEndOfInput;
  int64_t count = 0;
  int64_t records = 0;
  int32_t labelBound = -1;
  // A part other than the first starts by skipping the end of a line begun in the part before.
  if (part.first || lines.nextLine(at, stop)) {
    while (lines.nextOffset() < part.end && lines.nextLine(at, stop)) {
      // A record takes a few bytes at the least, so a block never fills;
      // were it to, the part could not be read.
      if (count + 2 > blockEdges) {
        status = kReadFailed;
        break;
      }
      const int32_t found = self.readLine(at, stop, *self.header, 0, block + count, self.failure);
      if (found < 0) {
        status = kBadLine;
        break;
      }
      if (found == 0) continue;
      ++records;
      if (self.findsLabelBound) {
        for (const Edge* edge = block + count; edge < block + count + found; ++edge) {
          labelBound = std::max(labelBound, std::max(edge->from, edge->to) + 1);
        }
      }
      count += found;
    }
  }
  if (lines.failure != nullptr) status = kReadFailed;
  outcome.count = count;
  outcome.records = records;
  outcome.labelBound = labelBound;
  outcome.status = status;
}

}  // namespace

bool readTextEdges(int fd, int64_t textBegin, int64_t fileBytes, const TextHeader& header,
                     const ReadProgress& progress, TextEdges& text) {
  PartedReadPlan plan = splitPlan(fd, textBegin, fileBytes);
  plan.blockEdges = mostEdgesInText(header.format, plan.partBytes) + 2;
  // As many edges as the header says, but no more than the text can hold.
  const int64_t textEdges = mostEdgesInText(header.format, fileBytes - textBegin);
  plan.firstEdgeRoom = header.records >= 0 ? std::min(header.announcedEdges(), textEdges)
                                           : (fileBytes - textBegin) / 16 + 1;
  plan.parse = parseTextLines;
  plan.bytesRead = progress.bytesRead;
  plan.progressContext = progress.context;
  PartedReadResult parted = readInPartsWith<TextLineWorker>(plan, [&](TextLineWorker& worker) {
    worker.lines.mayFailToGrow = true;
    worker.header = &header;
    worker.readLine = textLineReaderOf(header.format);
    worker.findsLabelBound = header.labelBound() <= 1;
  });

  bool sound = !parted.tooManyEdges && !parted.outOfMemory;
  int64_t records = 0;
  text.labelBound = -1;
  for (int64_t index = 0; index < parted.placedParts; ++index) {
    const PartOutcome& part = parted.outcomes[index];
    sound = sound && part.status == kEndOfInput;
    records += part.records;
    text.labelBound = std::max(text.labelBound, part.labelBound);
  }
  sound = sound && (header.records < 0 || records == header.records);
  releaseArray(parted.outcomes);
  if (parted.outOfMemory) {
    std::free(parted.edges);
    failAllocation();
  }
  if (!sound) {
    std::free(parted.edges);
    return false;
  }
  text.edges = parted.edges;
  text.edgeCount = parted.edgeCount;
  return true;
}
