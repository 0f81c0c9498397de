// Bytes through every graph format reader (and, when they start like one, the
// gzip and zstd decompressors, a zstd skippable frame first included). Whatever a reader accepts must be a graph the
// searches can trust: every label inside the node count, every edge inside its
// source's range. Read in parts by several threads, a file must give the same
// graph, or the same message, as read in order.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/messages.h"
#include "fuzz_input_file.h"
#include "formats/load_splitting.h"
#include "graph/shortest_path_solver.h"

namespace {

// Numbers name array sizes (labels, DIMACS and Matrix Market headers); such
// inputs are skipped so the fuzzer explores parsing rather than the allocator.
constexpr int64_t kLargestNumber = 200000;

bool hasHugeNumber(const uint8_t* data, size_t size) {
  for (size_t i = 0; i < size;) {
    if (data[i] < '0' || data[i] > '9') {
      ++i;
      continue;
    }
    int64_t value = 0;
    for (; i < size && data[i] >= '0' && data[i] <= '9'; ++i) {
      if (value <= kMaxLabel) value = value * 10 + (data[i] - '0');
    }
    if (value > kLargestNumber && value <= kMaxLabel) return true;
  }
  return false;
}

void checkGraph(const ShortestPathSolver& solver, int32_t firstNode) {
  if (solver.nodeCount < firstNode + 1 || solver.edgeCount < 0) std::abort();
  int64_t inRanges = 0;
  for (int32_t node = 0; node < solver.nodeCount; ++node) {
    const EdgeRange range = solver.edgeRanges[node];
    if (range.first == -1) continue;
    if (range.first > range.last || range.last >= solver.edgeCount) std::abort();
    for (int32_t e = range.first; e <= range.last; ++e) {
      const Edge& edge = solver.edges[e];
      if (edge.from != node || edge.to < 0 || edge.to >= solver.nodeCount || edge.cost < 0) std::abort();
    }
    inRanges += range.last - range.first + 1;
  }
  if (inRanges != solver.edgeCount) std::abort();
}

std::string messages;

void keepMessage(const char* line) { messages.append(line).append("\n"); }

// Whether the file reads, with what it printed in messages.
bool readWithMessages(ShortestPathSolver& solver, const std::string& path, GraphFormat format,
                      int32_t& firstNode) {
  messages.clear();
  setMessageSink(keepMessage);
  const bool read = solver.readGraph(path.c_str(), format, firstNode);
  setMessageSink(nullptr);
  return read;
}

bool sameGraph(const ShortestPathSolver& one, const ShortestPathSolver& other) {
  return one.edgeCount == other.edgeCount && one.nodeCount == other.nodeCount &&
         std::memcmp(one.edges, other.edges, sizeof(Edge) * one.edgeCount) == 0 &&
         std::memcmp(one.edgeRanges, other.edgeRanges, sizeof(EdgeRange) * one.nodeCount) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (hasHugeNumber(data, size)) return 0;
  const std::string& path = writeFuzzInput(data, size);
  for (const GraphFormat format : {GraphFormat::Auto, GraphFormat::Dimacs, GraphFormat::Snap,
                                   GraphFormat::Mtx, GraphFormat::Edges}) {
    ShortestPathSolver solver;
    int32_t firstNode = -1;
    loadSplitting() = LoadSplitting{1, 1 << 20, 1 << 20};
    const bool read = readWithMessages(solver, path, format, firstNode);
    const std::string inOrder = messages;
    ShortestPathSolver inParts;
    loadSplitting() = LoadSplitting{3, 1 + (size > 0 ? data[0] % 16 : 0), 1};
    if (readWithMessages(inParts, path, format, firstNode) != read || messages != inOrder) {
      std::abort();
    }
    if (!read) continue;
    if (!sameGraph(solver, inParts)) std::abort();
    checkGraph(solver, firstNode);
    solver.solveHeap(firstNode);
  }
  return 0;
}
