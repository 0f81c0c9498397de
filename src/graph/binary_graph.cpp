#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xxhash.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "graph/binary_graph.h"

namespace {

uint64_t alignedUp(uint64_t offset) {
  return (offset + kArrayAlignment - 1) / kArrayAlignment * kArrayAlignment;
}

}  // namespace

BinaryGraphLayout binaryGraphLayout(int64_t nodeCount, int64_t edgeCount) {
  BinaryGraphLayout layout;
  layout.rangesOffset = alignedUp(kBinaryHeaderBytes);
  layout.edgesOffset =
      alignedUp(layout.rangesOffset + static_cast<uint64_t>(nodeCount) * sizeof(EdgeRange));
  layout.fileBytes = layout.edgesOffset + static_cast<uint64_t>(edgeCount) * sizeof(Edge);
  return layout;
}

uint64_t blockChecksum(const void* entries, int64_t count, size_t entryBytes) {
  return XXH3_64bits(entries, static_cast<size_t>(count) * entryBytes);
}

uint64_t combineBlockChecksums(const uint64_t* blockChecksums, int64_t blockCount) {
  return XXH3_64bits(blockChecksums, static_cast<size_t>(blockCount) * sizeof(uint64_t));
}

uint64_t arrayChecksum(const void* entries, int64_t count, size_t entryBytes) {
  std::vector<uint64_t> blocks;
  const auto* bytes = static_cast<const char*>(entries);
  for (int64_t first = 0; first < count; first += kChecksumBlockEntries) {
    const int64_t size = std::min(kChecksumBlockEntries, count - first);
    blocks.push_back(blockChecksum(bytes + first * static_cast<int64_t>(entryBytes), size, entryBytes));
  }
  return combineBlockChecksums(blocks.data(), static_cast<int64_t>(blocks.size()));
}

uint64_t headerChecksum(const BinaryGraphHeader& header) {
  return XXH3_64bits(&header, offsetof(BinaryGraphHeader, headerChecksum));
}

bool startsAsBinaryGraph(const char* path) {
  // Only a regular file is opened for the look: opening a FIFO would stand
  // in for its reader a moment, and the writer could lose its bytes or wait
  // for a reader that never comes.
  struct stat status;
  if (::stat(path, &status) != 0 || !S_ISREG(status.st_mode)) return false;
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char magic[sizeof kBinaryGraphMagic];
  const bool binary = ::pread(fd, magic, sizeof magic, 0) == static_cast<ssize_t>(sizeof magic) &&
                      std::memcmp(magic, kBinaryGraphMagic, sizeof magic) == 0;
  ::close(fd);
  return binary;
}
