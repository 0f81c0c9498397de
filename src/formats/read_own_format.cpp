#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>

#include "base/allocation.h"
#include "base/messages.h"
#include "formats/edge_reading.h"
#include "formats/graph_input.h"
#include "formats/load_splitting.h"
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

bool readEdgeFile(const char* path, const EdgeFileReading& how, EdgeList& list) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    reportCannotOpen(path);
    reportInputNotOpened(path);
    return false;
  }
  // Closed also when a failure unwinds past the reading.
  struct ClosedAtEnd {
    int fd;
    ~ClosedAtEnd() { ::close(fd); }
  } file{fd};
  ByteSource source;
  source.fd = file.fd;
  return readEdgesFrom(source, path, how, list);
}

bool readEdgesFrom(ByteSource& source, const char* path, const EdgeFileReading& how,
                   EdgeList& list) {
  const int64_t fileBytes = regularFileBytes(source);
  const bool inParts = loadSplitting().splits(fileBytes);
  EdgeList read;
  const EdgeReading reading = inParts ? readEdgesInParallel(source.fd, fileBytes, how, read)
                                      : readEdgesInOrder(source, fileBytes, how, read);
  if (reading.status != kEndOfInput) {
    reportFailedReading(path, reading, source);
    return false;
  }
  // A file without edges is the graph of node 0 alone.
  const int32_t nodeCount = std::max(reading.labelBound, 1);
  const int64_t neededBytes = kBytesPerEdge * reading.count + kBytesPerNode * nodeCount;
  if (static_cast<uint64_t>(neededBytes) > memoryLimitBytes()) failAllocation();
  std::free(list.edges);
  list.edges = read.release();
  list.count = reading.count;
  list.nodeCount = nodeCount;
  return true;
}
