#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "base/allocation.h"
#include "base/messages.h"
#include "base/grow_array.h"
#include "graph/shortest_path_solver.h"
#include "io/byte_source.h"
#include "io/text_reader.h"

namespace {

constexpr int32_t kReadBufferBytes = 32768;
constexpr int64_t kFirstEdgeCapacity = 4000;
constexpr int64_t kFirstRangeCapacity = 1000;
constexpr int64_t kFirstEdgeFactor = 4;
constexpr int64_t kEdgeStep = 50;
constexpr int64_t kMostEdges = INT32_MAX;  // edgeCount is 32-bit
constexpr int64_t kMostNodes = int64_t{kMaxLabel} + 1;
constexpr int64_t kShortestLineBytes = 6;  // "0 0 0\n"
// Without a file size, the room allocated ahead of need is bounded by this.
constexpr int64_t kUnsizedEdgeRoom = int64_t{1} << 24;
// Ranges allocated beyond the highest label, so that rising labels seldom
// move the array; only touched when used.
constexpr int64_t kMostSpareRanges = int64_t{1} << 26;

// The two graph arrays while a file is read. The capacities are what the
// growth rule reasons with (and what decides when it reports a new factor);
// the rooms are what is actually allocated. Room for edges is taken no larger
// than the file can fill and grows at least by half, room for ranges half
// again the labels seen, so a rule that predicts too much or steps by 50
// records costs neither memory nor copying.
struct GrowingGraph {
  Edge*& edges;
  EdgeRange*& ranges;
  int64_t fileBytes;
  int64_t edgeCapacity = kFirstEdgeCapacity;
  int64_t edgeRoom = kFirstEdgeCapacity;
  int64_t rangeCapacity = kFirstRangeCapacity;  // entries set to {-1, -1}
  int64_t rangeRoom = kFirstRangeCapacity;
  int64_t factor = kFirstEdgeFactor;  // expected edges per source node

  // Makes entries up to labelBound - 1 exist, the new ones empty.
  void coverLabels(int64_t labelBound) {
    if (labelBound > rangeRoom) {
      const int64_t spare = std::min(labelBound / 2, kMostSpareRanges);
      const int64_t room = std::min(labelBound + spare, kMostNodes);
      ranges = static_cast<EdgeRange*>(growArray(ranges, bytesOf<EdgeRange>(rangeCapacity),
                                                 bytesOf<EdgeRange>(room)));
      rangeRoom = room;
    }
    std::memset(ranges + rangeCapacity, 0xFF, bytesOf<EdgeRange>(labelBound - rangeCapacity));
    rangeCapacity = labelBound;
  }

  // Called when count edges are stored and count reached the capacity or the
  // room; returns the count at which to come back.
  int64_t afterFull(int64_t count, int32_t lastSource, bool verbose) {
    if (count == edgeCapacity) predictEdgeCount(lastSource, verbose);
    if (count == edgeRoom) enlargeEdgeRoom(count);
    return std::min(edgeCapacity, edgeRoom);
  }

 private:
  template <typename T>
  static size_t bytesOf(int64_t count) {
    return static_cast<size_t>(count) * sizeof(T);
  }

  // The final edge count is guessed as factor × nodes known so far, the
  // factor following the edges per source node seen so far.
  void predictEdgeCount(int32_t lastSource, bool verbose) {
    if (lastSource != 0) {
      const auto perSource =
          static_cast<int64_t>(std::ceil(static_cast<double>(edgeCapacity) / lastSource));
      if (perSource > factor) {
        factor = perSource;
        if (verbose) {
          printLinef("INFO: increase edge multiplication to %lld",
                       static_cast<long long>(factor));
        }
      }
    }
    const int64_t predicted = factor * rangeCapacity;
    edgeCapacity = predicted > edgeCapacity ? predicted : edgeCapacity + kEdgeStep;
  }

  void enlargeEdgeRoom(int64_t count) {
    const int64_t fileLimit = fileBytes >= 0 ? fileBytes / kShortestLineBytes + 1
                                             : std::max(4 * count, kUnsizedEdgeRoom);
    int64_t room = std::max(std::min(edgeCapacity, fileLimit), edgeRoom + edgeRoom / 2);
    room = std::min(room, kMostEdges);
    if (room <= count) failAllocation();  // more edges than a 32-bit count can hold
    edges = static_cast<Edge*>(growArray(edges, bytesOf<Edge>(count), bytesOf<Edge>(room)));
    edgeRoom = room;
  }
};

void reportBadLine(const char* path, const TextReader& reader) {
  printLinef("ERROR: Bad graph file %s line %lld: %s", path,
               static_cast<long long>(reader.badLineNumber), reader.badLineReason);
}

// The size of a regular file read through its descriptor, else -1.
int64_t regularFileBytes(const ByteSource& source) {
  struct stat status;
  if (source.read != nullptr || source.fd < 0 || fstat(source.fd, &status) != 0) return -1;
  return S_ISREG(status.st_mode) ? status.st_size : -1;
}

}  // namespace

bool ShortestPathSolver::loadGraph(const char* path) {
  clear();
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    reportCannotOpen(path);
    reportInputNotOpened(path);
    return false;
  }
  ByteSource source;
  source.fd = fd;
  const bool loaded = loadGraphFrom(source, path);
  ::close(fd);
  return loaded;
}

bool ShortestPathSolver::loadGraphFrom(ByteSource& source, const char* path) {
  clear();
  TextReader reader;
  reader.capacity = kReadBufferBytes;
  reader.open(source);
  edgeRanges = static_cast<EdgeRange*>(checkedMalloc(kFirstRangeCapacity * sizeof(EdgeRange)));
  std::memset(edgeRanges, 0xFF, kFirstRangeCapacity * sizeof(EdgeRange));
  edges = static_cast<Edge*>(checkedMalloc(kFirstEdgeCapacity * sizeof(Edge)));
  GrowingGraph growing{edges, edgeRanges, regularFileBytes(source)};

  int64_t count = 0;
  int64_t nextCheck = kFirstEdgeCapacity;
  int32_t labelBound = -1;  // highest label + 1 so far; labels are at most kMaxLabel
  int32_t previousSource = -1;  // none before the first line
  bool groupsSplit = false;
  int32_t from;
  int32_t to;
  int32_t cost;
  int32_t status;
  while ((status = reader.readEdgeLine(powersOfTen, from, to, cost)) == kEdgeLineRead) {
    edges[count] = Edge{from, to, cost};
    const int32_t highest = std::max(from, to) + 1;
    if (highest > labelBound) {
      labelBound = highest;
      if (highest > growing.rangeCapacity) growing.coverLabels(highest);
    }
    if (from != previousSource) {
      // A new group: it ends the previous one and starts this node's range,
      // unless the node had lines before, elsewhere.
      if (previousSource >= 0) edgeRanges[previousSource].last = static_cast<int32_t>(count - 1);
      EdgeRange& range = edgeRanges[from];
      if (range.first == -1) {
        range.first = static_cast<int32_t>(count);
      } else {
        groupsSplit = true;
      }
      previousSource = from;
    }
    if (++count == nextCheck) nextCheck = growing.afterFull(count, from, verbose);
  }
  reader.close();

  if (status != kEndOfInput) {
    if (status == kBadLine) {
      reportBadLine(path, reader);
    } else {
      reportCannotRead(path);
    }
    clear();
    return false;
  }
  if (count > 0) edgeRanges[previousSource].last = static_cast<int32_t>(count - 1);
  edgeCount = static_cast<int32_t>(count);
  // A file without edges is the graph of node 0 alone.
  nodeCount = labelBound < 1 ? 1 : labelBound;
  if (groupsSplit) {
    if (verbose) {
      printLinef("INFO: lines of one source node were not together; edges regrouped by source node");
    }
    regroupEdgesBySource();
  }
  graphSet = true;
  return true;
}
