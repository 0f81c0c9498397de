#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>

#include "base/allocation.h"
#include "formats/edge_list.h"
#include "io/byte_source.h"

// Reading the lines of a regular file on several threads at once: the text
// from some offset on is cut into parts of equal size, and a part holds the
// lines that start inside it. Each thread parses a part into a block of its
// own, small enough to stay in cache; as soon as every part before it is
// parsed, the part's place in the edge array is known and its block is
// copied there, so the large array is touched once, in file order, while
// parsing goes on. The first part that fails decides the result: the parts
// after it are not put in place.

// Where a part's bytes are. A part other than the first begins inside a line
// that belongs to the part before: its parser skips through the first LF at
// or after begin - 1, and reads on past end to finish its last line.
struct FilePart {
  int fd;
  int64_t begin;
  int64_t end;        // no line that starts at or after end is the part's
  int64_t fileBytes;  // the file's size when the reading began: nothing past it is read
  bool first;         // begins at a line start
};

// The bytes a part's parser reads, with pread: from begin (from begin - 1
// when it must skip a line begun before), up to the file's size at the start.
struct PartBytes {
  int fd;
  int64_t offset;
  int64_t fileBytes;

  explicit PartBytes(const FilePart& part)
      : fd(part.fd), offset(part.first ? part.begin : part.begin - 1), fileBytes(part.fileBytes) {}
  ByteSource source() { return ByteSource{this, &PartBytes::read, -1}; }

 private:
  static ssize_t read(void* context, char* into, size_t room);
};

// What parsing one part gave.
struct PartOutcome {
  int64_t count = 0;     // edges parsed into the block
  int64_t lineEnds = 0;  // LFs in its lines
  int64_t records = 0;   // what else a format counts (arcs, entries)
  int32_t labelBound = -1;  // highest label + 1 among the edges
  int32_t status = -1;      // kEndOfInput, kBadLine or kReadFailed (io/text_reader.h)
  int64_t badLineNumber = 0;  // counted from the part's first line
  const char* badLineReason = nullptr;
};

// Parses part into block, which has room for blockEdges; worker is the
// calling thread's own state.
using PartParser = void (*)(void* worker, const FilePart& part, Edge* block, int64_t blockEdges,
                            PartOutcome& outcome);

struct PartedReadPlan {
  int fd = -1;
  int64_t textBegin = 0;  // the first part begins here, at a line start
  int64_t fileBytes = 0;
  int64_t partBytes = 0;
  int64_t blockEdges = 0;  // the most edges a part can give
  int64_t firstEdgeRoom = 1;
  int32_t threads = 1;  // at most as many as workers
  PartParser parse = nullptr;
  void** workers = nullptr;
  // Told, by one thread at a time, how far into the file the placed parts reach.
  void (*bytesRead)(void* context, int64_t bytes) = nullptr;
  void* progressContext = nullptr;
};

struct PartedReadResult {
  Edge* edges = nullptr;  // malloc'ed, in file order
  int64_t edgeCount = 0;
  PartOutcome* outcomes = nullptr;  // allocateArray'ed, the placed parts in file order
  int64_t placedParts = 0;
  bool outOfMemory = false;
  bool tooManyEdges = false;  // more than a 32-bit count holds
};

// The most threads worth starting: more would not find the memory bandwidth
// to go faster, while each costs a block of memory.
constexpr int32_t kMostReadingThreads = 32;

// A plan for the bytes of fd from textBegin to fileBytes, in the parts and
// on the threads that loadSplitting() says; the caller adds the rest.
PartedReadPlan splitPlan(int fd, int64_t textBegin, int64_t fileBytes);
int64_t partCountOf(const PartedReadPlan& plan);
PartedReadResult readInParts(const PartedReadPlan& plan);

// readInParts with one Worker per thread that runs (no more than there are
// parts), each set up by prepare before the threads start.
template <typename Worker, typename Prepare>
PartedReadResult readInPartsWith(PartedReadPlan plan, Prepare&& prepare) {
  plan.threads = static_cast<int32_t>(
      std::min<int64_t>({plan.threads, partCountOf(plan), kMostReadingThreads}));
  const auto count = static_cast<size_t>(plan.threads);
  const std::unique_ptr<Worker[]> workers(allocateArray<Worker>(count));
  const std::unique_ptr<void*[]> workerPointers(allocateArray<void*>(count));
  for (size_t thread = 0; thread < count; ++thread) {
    prepare(workers[thread]);
    workerPointers[thread] = &workers[thread];
  }
  plan.workers = workerPointers.get();
  return readInParts(plan);
}
