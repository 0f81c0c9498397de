#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

#include "base/allocation.h"
#include "graph/edge_count_prediction.h"
#include "graph/edge_reading.h"
#include "graph/load_splitting.h"
#include "graph/shortest_path_solver.h"
#include "io/text_reader.h"

// The file is cut into parts of equal size; a part holds the lines that start
// inside it, so each thread finds its first line by skipping to the first LF
// at or after the byte before its start, and reads on past its end to finish
// its last line. A thread parses a part into a block of its own, small enough
// to stay in cache; as soon as every part before it is parsed, the part's
// place in the edge array is known and its block is copied there, so the
// large array is touched once, in file order, while parsing goes on. Parts
// are taken in file order; the first one that fails decides the result, and
// the parts after it are not put in place.

namespace {

constexpr int64_t kMostEdges = INT32_MAX;  // edgeCount is 32-bit
constexpr int64_t kShortestLineBytes = 6;  // "0 0 0\n"
constexpr int64_t kUsualLineBytes = 16;  // see readEdgesInOrder
constexpr int32_t kSpareBlocks = 2;  // parsed parts that may wait for their place
// More threads than this would not find the memory bandwidth to go faster,
// while each costs a block of memory.
constexpr int64_t kMostThreads = 32;

// A part of a regular file read with pread, no further than the size the
// file had when the load began.
struct PartSource {
  int fd;
  int64_t offset;
  int64_t fileBytes;
};

ssize_t readPart(void* context, char* into, size_t room) {
  PartSource& part = *static_cast<PartSource*>(context);
  if (part.offset >= part.fileBytes) return 0;
  room = std::min<size_t>(room, static_cast<size_t>(part.fileBytes - part.offset));
  for (;;) {
    const ssize_t got = ::pread(part.fd, into, room, part.offset);
    if (got >= 0) {
      part.offset += got;
      return got;
    }
    if (errno != EINTR) return -1;
  }
}

struct Part {
  Edge* block = nullptr;  // where it was parsed, until it is copied into place
  int64_t count = 0;
  int64_t lineEnds = 0;  // LFs in its lines
  int32_t labelBound = -1;
  int32_t status = kEndOfInput;
  int64_t badLineNumber = 0;  // counted from the part's first line
  const char* badLineReason = nullptr;
  int64_t placedAt = -1;  // index of its first edge in the edge array
  bool parsed = false;
};

// Everything the threads share; the fields below `lock` change under it.
struct PartedRead {
  int fd;
  int64_t fileBytes;
  int64_t partBytes;
  int64_t partCount;
  int64_t blockEdges;
  const int32_t* powersOfTen;
  Part* parts;

  std::mutex lock;
  std::condition_variable changed;
  Edge* edges;
  int64_t edgeRoom;
  Edge** freeBlocks;
  int32_t freeBlockCount;
  int64_t nextToParse = 0;
  int64_t nextToPlace = 0;
  int64_t placedEdges = 0;  // edges of the parts before nextToPlace
  int64_t nextToCopy = 0;
  int32_t copiesRunning = 0;
  bool placing = false;
  int64_t firstFailed = INT64_MAX;  // lowest part known to have failed
  bool placedAFailure = false;  // the parts after the last placed one do not count
  bool outOfMemory = false;

  bool noMoreToParse() const {
    return nextToParse >= partCount || nextToParse > firstFailed || placedAFailure || outOfMemory;
  }
};

void parsePart(PartedRead& read, TextReader& reader, int64_t index, Edge* block) {
  Part& part = read.parts[index];
  const int64_t start = index * read.partBytes;
  PartSource bytes{read.fd, index == 0 ? 0 : start - 1, read.fileBytes};
  ByteSource source;
  source.context = &bytes;
  source.read = readPart;
  reader.stopOffset = index + 1 == read.partCount ? INT64_MAX : start + read.partBytes;
  reader.open(source, bytes.offset);
  int32_t status = index == 0 ? kEdgeLineRead : reader.skipLineBegunBefore();
  int64_t count = 0;
  int32_t labelBound = -1;
  if (status == kEdgeLineRead) {
    int32_t from;
    int32_t to;
    int32_t cost;
    while ((status = reader.readEdgeLine(read.powersOfTen, from, to, cost)) == kEdgeLineRead) {
      // Lines are at least 6 bytes apart, so a block never fills; were it to,
      // the part could not be read.
      if (count == read.blockEdges) {
        status = kReadFailed;
        break;
      }
      block[count++] = Edge{from, to, cost};
      labelBound = std::max(labelBound, std::max(from, to) + 1);
    }
  }
  part.block = block;
  part.count = count;
  part.lineEnds = reader.lineNumber - 1;
  part.labelBound = labelBound;
  part.status = status;
  part.badLineNumber = reader.badLineNumber;
  part.badLineReason = reader.badLineReason;
}

// Gives every parsed part whose predecessors are all parsed its place,
// enlarging the edge array when needed once no copy is running.
void placeParsedParts(PartedRead& read, std::unique_lock<std::mutex>& guard) {
  if (read.placing) return;  // the thread that is placing will see these parts too
  read.placing = true;
  while (!read.placedAFailure && read.nextToPlace < read.partCount &&
         read.parts[read.nextToPlace].parsed) {
    Part& part = read.parts[read.nextToPlace];
    const int64_t end = read.placedEdges + part.count;
    if (end > read.edgeRoom) {
      read.changed.wait(guard, [&] { return read.copiesRunning == 0; });
      const int64_t room = std::min(std::max(end, read.edgeRoom + read.edgeRoom / 2), kMostEdges);
      const size_t bytes = static_cast<size_t>(room) * sizeof(Edge);
      void* grown = end <= kMostEdges ? tryRealloc(read.edges, bytes) : nullptr;
      if (grown == nullptr) {
        read.outOfMemory = true;
        break;
      }
      read.edges = static_cast<Edge*>(grown);
      read.edgeRoom = room;
      adviseHugePages(read.edges, bytes);
    }
    part.placedAt = read.placedEdges;
    read.placedEdges = end;
    read.placedAFailure = part.status != kEndOfInput;
    ++read.nextToPlace;
  }
  read.placing = false;
}

void copyPlacedParts(PartedRead& read) {
  for (;;) {
    Part* part;
    Edge* into;
    {
      std::lock_guard<std::mutex> guard(read.lock);
      if (read.nextToCopy >= read.nextToPlace) return;
      part = &read.parts[read.nextToCopy++];
      into = read.edges + part->placedAt;
      ++read.copiesRunning;
    }
    std::memcpy(into, part->block, static_cast<size_t>(part->count) * sizeof(Edge));
    {
      std::lock_guard<std::mutex> guard(read.lock);
      read.freeBlocks[read.freeBlockCount++] = part->block;
      part->block = nullptr;
      --read.copiesRunning;
    }
    read.changed.notify_all();
  }
}

void workOnParts(PartedRead& read, TextReader& reader) {
  for (;;) {
    int64_t index;
    Edge* block;
    {
      std::unique_lock<std::mutex> guard(read.lock);
      read.changed.wait(guard, [&] { return read.freeBlockCount > 0 || read.noMoreToParse(); });
      if (read.noMoreToParse()) return;
      index = read.nextToParse++;
      block = read.freeBlocks[--read.freeBlockCount];
    }
    parsePart(read, reader, index, block);
    {
      std::unique_lock<std::mutex> guard(read.lock);
      Part& part = read.parts[index];
      part.parsed = true;
      if (part.status != kEndOfInput) read.firstFailed = std::min(read.firstFailed, index);
      placeParsedParts(read, guard);
    }
    read.changed.notify_all();
    copyPlacedParts(read);
  }
}

}  // namespace

EdgeReading ShortestPathSolver::readEdgesInParallel(int fd, int64_t fileBytes) {
  const LoadSplitting& splitting = loadSplitting();
  PartedRead read;
  read.fd = fd;
  read.fileBytes = fileBytes;
  read.partBytes = std::max<int64_t>(splitting.partBytes, 1);
  read.partCount = (fileBytes + read.partBytes - 1) / read.partBytes;
  read.blockEdges = read.partBytes / kShortestLineBytes + 2;
  read.powersOfTen = powersOfTen;
  read.parts = allocateArray<Part>(static_cast<size_t>(read.partCount));
  const int32_t threads = static_cast<int32_t>(
      std::min<int64_t>({splitting.threadsInForce(), read.partCount, kMostThreads}));

  read.freeBlockCount = threads + kSpareBlocks;
  const size_t blockBytes = static_cast<size_t>(read.blockEdges) * sizeof(Edge);
  auto* blocks = static_cast<Edge*>(checkedMalloc(blockBytes * read.freeBlockCount));
  read.freeBlocks = allocateArray<Edge*>(static_cast<size_t>(read.freeBlockCount));
  for (int32_t block = 0; block < read.freeBlockCount; ++block) {
    read.freeBlocks[block] = blocks + block * read.blockEdges;
  }
  read.edgeRoom = std::clamp<int64_t>(fileBytes / kUsualLineBytes, 1,
                                      std::min(fileBytes / kShortestLineBytes + 1, kMostEdges));
  read.edges = static_cast<Edge*>(checkedMalloc(static_cast<size_t>(read.edgeRoom) * sizeof(Edge)));
  adviseHugePages(read.edges, static_cast<size_t>(read.edgeRoom) * sizeof(Edge));

  auto* readers = allocateArray<TextReader>(static_cast<size_t>(threads));
  auto* helpers = allocateArray<std::thread>(static_cast<size_t>(threads - 1));
  for (int32_t thread = 0; thread < threads; ++thread) {
    readers[thread].capacity = kGraphReadBytes;
    readers[thread].prepareBuffer();
  }
  int32_t started = 0;
  try {
    for (; started < threads - 1; ++started) {
      helpers[started] = std::thread(workOnParts, std::ref(read), std::ref(readers[started + 1]));
    }
  } catch (const std::system_error&) {
    // Fewer threads share the parts; this one alone can read them all.
  }
  workOnParts(read, readers[0]);
  for (int32_t helper = 0; helper < started; ++helper) helpers[helper].join();
  releaseArray(helpers);
  for (int32_t thread = 0; thread < threads; ++thread) readers[thread].close();
  releaseArray(readers);
  releaseArray(read.freeBlocks);
  std::free(blocks);
  edges = read.edges;

  EdgeReading reading;
  if (read.outOfMemory) {
    releaseArray(read.parts);
    failAllocation();
  }
  // Marks of the label bound before each part's end let a replay skip parts.
  auto* marks = allocateArray<LabelMark>(static_cast<size_t>(read.nextToPlace));
  int64_t linesBefore = 0;
  for (int64_t index = 0; index < read.nextToPlace; ++index) {
    const Part& part = read.parts[index];
    reading.labelBound = std::max(reading.labelBound, part.labelBound);
    marks[index] = LabelMark{part.placedAt + part.count, reading.labelBound};
    if (part.status != kEndOfInput) {
      reading.status = part.status;
      reading.badLineNumber = linesBefore + part.badLineNumber;
      reading.badLineReason = part.badLineReason;
    }
    linesBefore += part.lineEnds;
  }
  reading.count = read.placedEdges;
  releaseArray(read.parts);
  const int64_t mostNodes = mostNodesInMemory();
  if (verbose) replayEdgeCountPrediction(edges, reading.count, marks, read.nextToPlace, mostNodes);
  releaseArray(marks);
  if (reading.labelBound > mostNodes) failAllocation();
  return reading;
}
