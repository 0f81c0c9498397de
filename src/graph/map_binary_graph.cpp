#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <string>
#include <thread>
#include <vector>

#include "base/graph_limits.h"
#include "base/messages.h"
#include "base/thread_count.h"
#include "graph/binary_graph.h"
#include "graph/shortest_path_solver.h"

namespace {

// What is wrong with a file, at the lowest place found; none when reason is null.
struct Flaw {
  const char* reason = nullptr;
  std::string detail;
};

bool flawed(Flaw& flaw, const char* reason, std::string detail = "") {
  flaw.reason = reason;
  flaw.detail = std::move(detail);
  return false;
}

std::string number(int64_t value) { return std::to_string(value); }

// The header's own fields against each other and against the file's size.
bool headerSound(const BinaryGraphHeader& header, uint64_t fileBytes, Flaw& flaw) {
  if (header.version != kBinaryGraphVersion) {
    return flawed(flaw, "version ",
                  number(header.version) + " is not known here (this program reads version " +
                      number(kBinaryGraphVersion) + ")");
  }
  if (header.headerBytes != kBinaryHeaderBytes || headerChecksum(header) != header.headerChecksum) {
    return flawed(flaw, "the header does not match its checksum");
  }
  if (header.nodeCount < 1 || header.nodeCount > int64_t{kMaxLabel} + 1) {
    return flawed(flaw, "node count ", number(header.nodeCount) + " is not from 1 to 2147483647");
  }
  if (header.edgeCount < 0 || header.edgeCount > kMostEdges) {
    return flawed(flaw, "edge count ", number(header.edgeCount) + " is not from 0 to 2147483647");
  }
  // A graph of no nodes (a DIMACS p sp 0 0) has its first node 1 past them.
  if (header.firstNode < 0 || header.firstNode > 1 || header.firstNode > header.nodeCount) {
    return flawed(flaw, "first node ", number(header.firstNode) + " is not 0 or 1, at most the node count");
  }
  const BinaryGraphLayout layout = binaryGraphLayout(header.nodeCount, header.edgeCount);
  if (header.rangesOffset != layout.rangesOffset || header.edgesOffset != layout.edgesOffset ||
      header.fileBytes != layout.fileBytes) {
    return flawed(flaw, "the array offsets or the size disagree with the counts");
  }
  if (fileBytes < layout.fileBytes) {
    return flawed(flaw, "truncated: ",
                  number(static_cast<int64_t>(fileBytes)) + " bytes where the counts need " +
                      number(static_cast<int64_t>(layout.fileBytes)));
  }
  if (fileBytes > layout.fileBytes) {
    return flawed(flaw, "",
                  number(static_cast<int64_t>(fileBytes)) + " bytes where the counts need " +
                      number(static_cast<int64_t>(layout.fileBytes)) + " (bytes after the edges)");
  }
  return true;
}

// The graph's arrays as mapped, checked block by block on every thread: each
// block is hashed and its entries checked while they are in the cache. The
// ranges must each lie within the edges, or be -1 -1 for none; every edge
// must lie in its source node's range, and the ranges' sizes add up to the
// edge count: so the ranges cover the edges exactly, each edge in its own
// node's range, as the search requires. Targets lie below the node count and
// costs are not negative.
struct ArrayCheck {
  const EdgeRange* ranges = nullptr;
  const Edge* edges = nullptr;
  int64_t nodeCount = 0;
  int64_t edgeCount = 0;
  int64_t rangeBlocks = 0;
  int64_t edgeBlocks = 0;
  std::vector<uint64_t> checksums;      // the ranges' blocks, then the edges'
  std::vector<int64_t> coveredEdges;    // per range block: the sizes of its ranges
  std::vector<Flaw> flaws;              // per block: its first flaw
  std::atomic<int64_t> nextBlock{0};

  bool checkRanges(int64_t first, int64_t end, int64_t& covered, Flaw& flaw) const {
    covered = 0;
    for (int64_t node = first; node < end; ++node) {
      const EdgeRange range = ranges[node];
      if (range.first == -1 && range.last == -1) continue;
      if (range.first < 0 || range.first > range.last || range.last >= edgeCount) {
        return flawed(flaw, "node ",
                      number(node) + " has the edge range " + number(range.first) + " to " +
                          number(range.last) + ", not within the edges 0 to " +
                          number(edgeCount - 1) + " nor -1 -1");
      }
      covered += int64_t{range.last} - range.first + 1;
    }
    return true;
  }

  bool checkEdges(int64_t first, int64_t end, Flaw& flaw) const {
    const auto nodes = static_cast<uint32_t>(nodeCount);
    for (int64_t index = first; index < end; ++index) {
      const Edge edge = edges[index];
      if (static_cast<uint32_t>(edge.from) >= nodes ||
          index < ranges[edge.from].first || index > ranges[edge.from].last) {
        return flawed(flaw, "edge ",
                      number(index) + " from node " + number(edge.from) +
                          " lies outside that node's edge range");
      }
      if (static_cast<uint32_t>(edge.to) >= nodes) {
        return flawed(flaw, "edge ", number(index) + " goes to node " + number(edge.to) +
                                         ", not below the node count " + number(nodeCount));
      }
      if (edge.cost < 0) {
        return flawed(flaw, "edge ", number(index) + " has the negative cost " + number(edge.cost));
      }
    }
    return true;
  }

  void checkBlock(int64_t block) {
    if (block < rangeBlocks) {
      const int64_t first = block * kChecksumBlockEntries;
      const int64_t end = std::min(nodeCount, first + kChecksumBlockEntries);
      checksums[block] = blockChecksum(ranges + first, end - first, sizeof(EdgeRange));
      checkRanges(first, end, coveredEdges[block], flaws[block]);
      return;
    }
    const int64_t first = (block - rangeBlocks) * kChecksumBlockEntries;
    const int64_t end = std::min(edgeCount, first + kChecksumBlockEntries);
    checksums[block] = blockChecksum(edges + first, end - first, sizeof(Edge));
    checkEdges(first, end, flaws[block]);
  }

  void work() {
    for (int64_t block; (block = nextBlock++) < rangeBlocks + edgeBlocks;) checkBlock(block);
  }

  // Every block on up to threads threads, the calling one among them.
  void run(int32_t threads) {
    std::vector<std::thread> helpers;
    for (int32_t thread = 1; thread < threads; ++thread) {
      try {
        helpers.emplace_back([this] { work(); });
      } catch (const std::exception&) {
        break;  // no thread (or no room to hold one): fewer threads check
      }
    }
    work();
    for (std::thread& helper : helpers) helper.join();
  }

  // A checksum that does not match says more (a damaged file) than what the
  // damage then looks like, so it is told first.
  bool sound(const BinaryGraphHeader& header, Flaw& flaw) const {
    if (combineBlockChecksums(checksums.data(), rangeBlocks) != header.rangesChecksum) {
      return flawed(flaw, "the edge ranges do not match their checksum");
    }
    if (combineBlockChecksums(checksums.data() + rangeBlocks, edgeBlocks) != header.edgesChecksum) {
      return flawed(flaw, "the edges do not match their checksum");
    }
    int64_t covered = 0;
    for (int64_t block = 0; block < rangeBlocks + edgeBlocks; ++block) {
      if (flaws[block].reason != nullptr) {
        flaw = flaws[block];
        return false;
      }
      if (block < rangeBlocks) covered += coveredEdges[block];
    }
    if (covered != edgeCount) {
      return flawed(flaw, "the edge ranges hold ",
                    number(covered) + " edges where the file has " + number(edgeCount));
    }
    return true;
  }
};

int64_t blocksOf(int64_t count) {
  return (count + kChecksumBlockEntries - 1) / kChecksumBlockEntries;
}

}  // namespace

// The file is mapped with every page at once (MAP_POPULATE): the checks touch
// them all anyway, and one call maps them faster than a fault per page.
bool ShortestPathSolver::mapBinaryGraph(const char* path, int32_t& firstNode) {
  clear();
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    reportInputNotOpened(path);
    return false;
  }
  struct stat status;
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    reportCannotRead(path);
    return false;
  }
  const auto fileBytes = static_cast<uint64_t>(status.st_size);
  Flaw flaw;
  void* address = nullptr;
  char magic[sizeof kBinaryGraphMagic] = {};
  if (::pread(fd, magic, sizeof magic, 0) < 0) {
    ::close(fd);
    reportCannotRead(path);
    return false;
  }
  if (std::memcmp(magic, kBinaryGraphMagic, sizeof magic) != 0) {
    flawed(flaw, "not a binary graph file");
  } else if (fileBytes < kBinaryHeaderBytes) {
    flawed(flaw, "truncated: ",
           number(static_cast<int64_t>(fileBytes)) + " bytes, shorter than the header");
  } else {
    address = ::mmap(nullptr, fileBytes, PROT_READ, MAP_SHARED | MAP_POPULATE, fd, 0);
  }
  ::close(fd);
  if (address == MAP_FAILED) {
    reportCannotRead(path);
    return false;
  }
  if (address != nullptr) {
    // Unmapped on every way out but success, a failed allocation included.
    struct Unmapper {
      void* address;
      uint64_t bytes;
      ~Unmapper() {
        if (address != nullptr) ::munmap(address, bytes);
      }
    } unmapper{address, fileBytes};
    const auto* bytes = static_cast<const char*>(address);
    BinaryGraphHeader header;
    std::memcpy(&header, bytes, sizeof header);
    if (headerSound(header, fileBytes, flaw)) {
      ArrayCheck check;
      check.ranges = reinterpret_cast<const EdgeRange*>(bytes + header.rangesOffset);
      check.edges = reinterpret_cast<const Edge*>(bytes + header.edgesOffset);
      check.nodeCount = header.nodeCount;
      check.edgeCount = header.edgeCount;
      check.rangeBlocks = blocksOf(header.nodeCount);
      check.edgeBlocks = blocksOf(header.edgeCount);
      const auto blocks = static_cast<size_t>(check.rangeBlocks + check.edgeBlocks);
      check.checksums.resize(blocks);
      check.coveredEdges.resize(static_cast<size_t>(check.rangeBlocks));
      check.flaws.resize(blocks);
      check.run(std::max<int32_t>(1, std::min<int32_t>(threadCount(), 16)));
      if (check.sound(header, flaw)) {
        mapping = GraphMapping{address, fileBytes};
        edgeRanges = const_cast<EdgeRange*>(check.ranges);
        edges = const_cast<Edge*>(check.edges);
        nodeCount = static_cast<int32_t>(header.nodeCount);
        edgeCount = static_cast<int32_t>(header.edgeCount);
        firstNode = static_cast<int32_t>(header.firstNode);
        graphSet = true;
        unmapper.address = nullptr;
        return true;
      }
    }
  }
  printLinef("ERROR: Bad graph file %s: %s%s", path, flaw.reason, flaw.detail.c_str());
  return false;
}
