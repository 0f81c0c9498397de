#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "base/allocation.h"
#include "base/messages.h"
#include "formats/edge_reading.h"
#include "formats/graph_input.h"
#include "formats/load_splitting.h"
#include "formats/node_memory.h"
#include "formats/parted_read.h"
#include "io/byte_source.h"

namespace {

constexpr int64_t kBytesPerEdge = sizeof(Edge);

// The size of a regular file read through its descriptor, else -1.
int64_t regularFileBytes(const ByteSource& source) {
  struct stat status;
  if (source.read != nullptr || source.fd < 0 || fstat(source.fd, &status) != 0) return -1;
  return S_ISREG(status.st_mode) ? status.st_size : -1;
}

// A source that says why it failed (a corrupt compressed stream) is named
// with the line it broke off in.
void reportFailedReading(const char* path, const EdgeReading& reading, const ByteSource& source,
                         int64_t mostNodes) {
  const char* reason = reading.badLineReason;
  char need[128];
  if (reading.status == kLabelPastMemory) {
    describeNodeNeed(need, sizeof need, reading.labelBound - 1, mostNodes);
    reason = need;
  } else if (reading.status != kBadLine) {
    reportCannotRead(path);
    reason = source.failure != nullptr ? *source.failure : nullptr;
  }
  if (reason != nullptr) {
    printLinef("ERROR: Bad graph file %s line %lld: %s", path,
               static_cast<long long>(reading.badLineNumber), reason);
  }
}

// Reads the edge lines, in parts when the source is a large enough regular
// file. Labels past mostNodes end the process as running out of memory
// does, or, when how says, make the first line that names one bad: the
// parts do not say which line that is, so the text is read again in order.
EdgeReading readEdges(ByteSource& source, const EdgeFileReading& how, int64_t mostNodes,
                      EdgeList& read) {
  const int64_t fileBytes = regularFileBytes(source);
  if (!loadSplitting().splits(fileBytes)) {
    const EdgeReading reading = readEdgesInOrder(source, fileBytes, how, mostNodes, read);
    if (reading.status == kLabelPastMemory && !how.namesNodeNeed) failAllocation();
    return reading;
  }
  const EdgeReading reading = readEdgesInParallel(source.fd, fileBytes, how, mostNodes, read);
  if (reading.labelBound <= mostNodes) return reading;
  if (!how.namesNodeNeed) failAllocation();
  std::free(read.release());
  PartBytes whole(FilePart{source.fd, 0, fileBytes, fileBytes, true});
  ByteSource again = whole.source();
  return readEdgesInOrder(again, fileBytes, how, mostNodes, read);
}

}  // namespace

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
  const int64_t mostNodes = mostNodesInMemory();
  EdgeList read;
  const EdgeReading reading = readEdges(source, how, mostNodes, read);
  if (reading.status != kEndOfInput) {
    reportFailedReading(path, reading, source, mostNodes);
    return false;
  }
  // A file without edges is the graph of node 0 alone.
  const int32_t nodeCount = std::max(reading.labelBound, 1);
  // The nodes come on top of the edges: more than the memory there was at the
  // start can never be searched.
  const int64_t neededBytes = kBytesPerEdge * reading.count + kBytesPerNode * nodeCount;
  if (mostNodes < INT64_MAX / kBytesPerNode && neededBytes > kBytesPerNode * mostNodes) {
    failAllocation();  // (no bound at all: the product would not fit)
  }
  std::free(list.edges);
  list.edges = read.release();
  list.count = reading.count;
  list.nodeCount = nodeCount;
  return true;
}
