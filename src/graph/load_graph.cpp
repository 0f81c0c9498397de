#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include "base/allocation.h"
#include "base/messages.h"
#include "graph/edge_reading.h"
#include "graph/load_splitting.h"
#include "graph/shortest_path_solver.h"
#include "io/byte_source.h"

namespace {

// Bytes each node needs once loaded and searched: its range (8), its heap
// entry (12) and its result (8).
constexpr int64_t kBytesPerNode = 28;
constexpr int64_t kBytesPerEdge = sizeof(Edge);

// The size of a regular file read through its descriptor, else -1.
int64_t regularFileBytes(const ByteSource& source) {
  struct stat status;
  if (source.read != nullptr || source.fd < 0 || fstat(source.fd, &status) != 0) return -1;
  return S_ISREG(status.st_mode) ? status.st_size : -1;
}

// A source that says why it failed (a corrupt compressed stream) is named
// with the line it broke off in.
void reportFailedReading(const char* path, const EdgeReading& reading, const ByteSource& source) {
  const char* reason = reading.badLineReason;
  if (reading.status != kBadLine) {
    reportCannotRead(path);
    reason = source.failure != nullptr ? *source.failure : nullptr;
  }
  if (reason != nullptr) {
    printLinef("ERROR: Bad graph file %s line %lld: %s", path,
               static_cast<long long>(reading.badLineNumber), reason);
  }
}

}  // namespace

int64_t mostNodesInMemory() {
  return static_cast<int64_t>(std::min<size_t>(memoryLimitBytes() / kBytesPerNode, INT64_MAX));
}

bool ShortestPathSolver::loadGraph(const char* path, const ReadProgress& progress) {
  clear();
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    reportCannotOpen(path);
    reportInputNotOpened(path);
    return false;
  }
  // Closed also when a failure unwinds past the load.
  struct ClosedAtEnd {
    int fd;
    ~ClosedAtEnd() { ::close(fd); }
  } file{fd};
  ByteSource source;
  source.fd = file.fd;
  return loadGraphFrom(source, path, progress);
}

bool ShortestPathSolver::loadGraphFrom(ByteSource& source, const char* path,
                                       const ReadProgress& progress) {
  clear();
  const int64_t fileBytes = regularFileBytes(source);
  const bool inParts = loadSplitting().splits(fileBytes);
  const EdgeReading reading =
      inParts ? readEdgesInParallel(source.fd, fileBytes, progress)
              : readEdgesInOrder(source, fileBytes);
  if (reading.status != kEndOfInput) {
    reportFailedReading(path, reading, source);
    clear();
    return false;
  }
  edgeCount = static_cast<int32_t>(reading.count);
  // A file without edges is the graph of node 0 alone.
  nodeCount = std::max(reading.labelBound, 1);
  const int64_t neededBytes = kBytesPerEdge * reading.count + kBytesPerNode * nodeCount;
  if (static_cast<uint64_t>(neededBytes) > memoryLimitBytes()) failAllocation();
  if (!indexEdgeRanges()) {
    if (verbose) {
      printLine("INFO: lines of one source node were not together; edges regrouped by source node");
    }
    regroupEdgesBySource();
  }
  graphSet = true;
  return true;
}
