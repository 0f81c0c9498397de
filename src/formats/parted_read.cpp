#include "formats/parted_read.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "base/allocation.h"
#include "base/stop_request.h"
#include "formats/load_splitting.h"
#include "io/text_reader.h"

namespace {

constexpr int32_t kSpareBlocks = 2;  // parsed parts that may wait for their place

struct Part {
  Edge* block = nullptr;  // where it was parsed, until it is copied into place
  int64_t placedAt = -1;  // index of its first edge in the edge array
  bool parsed = false;
};

// Everything the threads share; the fields below `lock` change under it.
struct PartedRead {
  const PartedReadPlan* plan;
  int64_t partCount;
  Part* parts;
  PartOutcome* outcomes;

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
  bool tooManyEdges = false;

  bool noMoreToParse() const {
    return nextToParse >= partCount || nextToParse > firstFailed || placedAFailure ||
           outOfMemory || tooManyEdges;
  }
};

FilePart partAt(const PartedReadPlan& plan, int64_t index, int64_t partCount) {
  const int64_t begin = plan.textBegin + index * plan.partBytes;
  const int64_t end = index + 1 == partCount ? plan.fileBytes : begin + plan.partBytes;
  return FilePart{plan.fd, begin, end, plan.fileBytes, index == 0};
}

// Gives every parsed part whose predecessors are all parsed its place,
// enlarging the edge array when needed once no copy is running.
void placeParsedParts(PartedRead& read, std::unique_lock<std::mutex>& guard) {
  if (read.placing) return;  // the thread that is placing will see these parts too
  read.placing = true;
  const int64_t placedBefore = read.nextToPlace;
  while (!read.placedAFailure && read.nextToPlace < read.partCount &&
         read.parts[read.nextToPlace].parsed) {
    Part& part = read.parts[read.nextToPlace];
    const PartOutcome& outcome = read.outcomes[read.nextToPlace];
    const int64_t end = read.placedEdges + outcome.count;
    if (end > read.edgeRoom) {
      if (end > kMostEdges) {
        read.tooManyEdges = true;
        break;
      }
      read.changed.wait(guard, [&] { return read.copiesRunning == 0; });
      const int64_t room = std::min(std::max(end, read.edgeRoom + read.edgeRoom / 2), kMostEdges);
      const size_t bytes = static_cast<size_t>(room) * sizeof(Edge);
      void* grown = tryRealloc(read.edges, bytes);
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
    read.placedAFailure = outcome.status != kEndOfInput;
    ++read.nextToPlace;
  }
  const PartedReadPlan& plan = *read.plan;
  if (plan.bytesRead != nullptr && read.nextToPlace > placedBefore) {
    plan.bytesRead(plan.progressContext, partAt(plan, read.nextToPlace - 1, read.partCount).end);
  }
  read.placing = false;
}

void copyPlacedParts(PartedRead& read) {
  for (;;) {
    Part* part;
    Edge* into;
    int64_t count;
    {
      std::lock_guard<std::mutex> guard(read.lock);
      if (read.nextToCopy >= read.nextToPlace) return;
      count = read.outcomes[read.nextToCopy].count;
      part = &read.parts[read.nextToCopy++];
      into = read.edges + part->placedAt;
      ++read.copiesRunning;
    }
    std::memcpy(into, part->block, static_cast<size_t>(count) * sizeof(Edge));
    {
      std::lock_guard<std::mutex> guard(read.lock);
      read.freeBlocks[read.freeBlockCount++] = part->block;
      part->block = nullptr;
      --read.copiesRunning;
    }
    read.changed.notify_all();
  }
}

void workOnParts(PartedRead& read, void* worker) {
  const PartedReadPlan& plan = *read.plan;
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
    PartOutcome outcome;
    plan.parse(worker, partAt(plan, index, read.partCount), block, plan.blockEdges, outcome);
    {
      std::unique_lock<std::mutex> guard(read.lock);
      read.outcomes[index] = outcome;
      read.parts[index].block = block;
      read.parts[index].parsed = true;
      if (outcome.status != kEndOfInput) read.firstFailed = std::min(read.firstFailed, index);
      placeParsedParts(read, guard);
    }
    read.changed.notify_all();
    copyPlacedParts(read);
  }
}

}  // namespace

ssize_t PartBytes::read(void* context, char* into, size_t room) {
  PartBytes& part = *static_cast<PartBytes*>(context);
  if (part.offset >= part.fileBytes) return 0;
  if (stopRequested()) return -1;
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

PartedReadPlan splitPlan(int fd, int64_t textBegin, int64_t fileBytes) {
  const LoadSplitting& splitting = loadSplitting();
  PartedReadPlan plan;
  plan.fd = fd;
  plan.textBegin = textBegin;
  plan.fileBytes = fileBytes;
  plan.partBytes = std::max<int64_t>(splitting.partBytes, 1);
  plan.threads = splitting.threadsInForce();
  return plan;
}

int64_t partCountOf(const PartedReadPlan& plan) {
  const int64_t textBytes = std::max<int64_t>(plan.fileBytes - plan.textBegin, 0);
  return std::max<int64_t>((textBytes + plan.partBytes - 1) / plan.partBytes, 1);
}

PartedReadResult readInParts(const PartedReadPlan& plan) {
  // The arrays are owned by this scope, so that a failure to allocate one of
  // them (which may throw) leaves nothing behind; the edge array comes last.
  PartedRead read;
  read.plan = &plan;
  read.partCount = partCountOf(plan);
  const std::unique_ptr<Part[]> parts(allocateArray<Part>(static_cast<size_t>(read.partCount)));
  std::unique_ptr<PartOutcome[]> outcomes(
      allocateArray<PartOutcome>(static_cast<size_t>(read.partCount)));
  read.parts = parts.get();
  read.outcomes = outcomes.get();
  const int32_t threads = static_cast<int32_t>(
      std::max<int64_t>(std::min<int64_t>({plan.threads, read.partCount, kMostReadingThreads}), 1));

  read.freeBlockCount = threads + kSpareBlocks;
  const size_t blockBytes = static_cast<size_t>(plan.blockEdges) * sizeof(Edge);
  const MallocedBlock<Edge> blocks(
      static_cast<Edge*>(checkedMalloc(blockBytes * read.freeBlockCount)));
  const std::unique_ptr<Edge*[]> freeBlocks(
      allocateArray<Edge*>(static_cast<size_t>(read.freeBlockCount)));
  read.freeBlocks = freeBlocks.get();
  for (int32_t block = 0; block < read.freeBlockCount; ++block) {
    read.freeBlocks[block] = blocks.get() + block * plan.blockEdges;
  }
  const std::unique_ptr<std::thread[]> helpers(
      allocateArray<std::thread>(static_cast<size_t>(threads - 1)));
  read.edgeRoom = std::clamp<int64_t>(plan.firstEdgeRoom, 1, kMostEdges);
  const size_t edgeBytes = static_cast<size_t>(read.edgeRoom) * sizeof(Edge);
  read.edges = static_cast<Edge*>(checkedMalloc(edgeBytes));
  adviseHugePages(read.edges, edgeBytes);
  int32_t started = 0;
  try {
    for (; started < threads - 1; ++started) {
      helpers[started] = std::thread(
          [&read, worker = plan.workers[started + 1], request = currentStopRequest()] {
            const StopRequestScope stoppable(request);
            workOnParts(read, worker);
          });
    }
  } catch (const std::system_error&) {
    // Fewer threads share the parts; this one alone can read them all.
  }
  workOnParts(read, plan.workers[0]);
  for (int32_t helper = 0; helper < started; ++helper) helpers[helper].join();

  PartedReadResult result;
  result.edges = read.edges;
  result.edgeCount = read.placedEdges;
  result.outcomes = outcomes.release();
  result.placedParts = read.nextToPlace;
  result.outOfMemory = read.outOfMemory;
  result.tooManyEdges = read.tooManyEdges;
  return result;
}
