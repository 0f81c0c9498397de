// Bytes through every graph format reader (and, when they start like one, the
// gzip and zstd decompressors, a zstd skippable frame first included). Whatever a reader accepts must be a graph the
// searches can trust: every label inside the node count, every edge inside its
// source's range. Read in parts by several threads, a file must give the same
// graph, or the same message, as read in order. A plain text must read the
// same with a zero before each of its numbers, and a text the DIMACS or Matrix
// Market reader takes must be told to be one.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include "base/messages.h"
#include "fuzz_input_file.h"
#include "formats/graph_format.h"
#include "formats/load_splitting.h"
#include "io/compressed_input.h"
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

void checkGraph(const ShortestPathSolver& solver) {
  if (solver.nodeCount < 1 || solver.edgeCount < 0) std::abort();
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

// The messages and, when it was read, the graph, as bytes that compare.
std::string readingOf(const ShortestPathSolver& solver, bool read) {
  std::string reading = messages + (read ? "read\n" : "not read\n");
  if (!read) return reading;
  reading.append(reinterpret_cast<const char*>(solver.edges), sizeof(Edge) * solver.edgeCount);
  return reading.append(reinterpret_cast<const char*>(solver.edgeRanges),
                        sizeof(EdgeRange) * solver.nodeCount);
}

// Texts whose first block (what tells the format) is the whole text as it
// lies in the file: not compressed, and not a binary graph (whose sizes and
// offsets a zero put into it would change).
bool isPlainShortText(const uint8_t* data, size_t size) {
  const auto* bytes = reinterpret_cast<const char*>(data);
  const bool binary = size >= sizeof kBinaryGraphMagic &&
                      std::memcmp(bytes, kBinaryGraphMagic, sizeof kBinaryGraphMagic) == 0;
  return compressionOf(bytes, size) == Compression::None && !binary && size < (1 << 16);
}

// A zero before every run of digits that starts a field.
std::string withLeadingZeros(const uint8_t* data, size_t size) {
  std::string text;
  for (size_t i = 0; i < size; ++i) {
    const uint8_t before = i == 0 ? '\n' : data[i - 1];
    const bool fieldStart = before == ' ' || before == '\t' || before == '\n';
    if (fieldStart && data[i] >= '0' && data[i] <= '9') text += '0';
    text += static_cast<char>(data[i]);
  }
  return text;
}

bool sameGraph(const ShortestPathSolver& one, const ShortestPathSolver& other) {
  return one.edgeCount == other.edgeCount && one.nodeCount == other.nodeCount &&
         std::memcmp(one.edges, other.edges, sizeof(Edge) * one.edgeCount) == 0 &&
         std::memcmp(one.edgeRanges, other.edgeRanges, sizeof(EdgeRange) * one.nodeCount) == 0;
}

constexpr GraphFormat kFormats[] = {GraphFormat::Auto, GraphFormat::Edges, GraphFormat::Dimacs,
                                    GraphFormat::Snap, GraphFormat::Mtx};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (hasHugeNumber(data, size)) return 0;
  const std::string& path = writeFuzzInput(data, size);
  std::string readings[std::size(kFormats)];
  bool accepted[std::size(kFormats)] = {};
  for (const GraphFormat format : kFormats) {
    ShortestPathSolver solver;
    int32_t firstNode = -1;
    loadSplitting() = LoadSplitting{1, 1 << 20, 1 << 20};
    const bool read = readWithMessages(solver, path, format, firstNode);
    const std::string inOrder = messages;
    readings[static_cast<int>(format)] = readingOf(solver, read);
    accepted[static_cast<int>(format)] = read;
    ShortestPathSolver inParts;
    loadSplitting() = LoadSplitting{3, 1 + (size > 0 ? data[0] % 16 : 0), 1};
    if (readWithMessages(inParts, path, format, firstNode) != read || messages != inOrder) {
      std::abort();
    }
    if (!read) continue;
    if (!sameGraph(solver, inParts)) std::abort();
    checkGraph(solver);
    // A DIMACS or Matrix Market text of no nodes has no first node to start from.
    if (firstNode < solver.nodeCount) solver.solveHeap(firstNode);
  }
  if (!isPlainShortText(data, size)) return 0;
  for (const GraphFormat format : {GraphFormat::Dimacs, GraphFormat::Mtx}) {
    const int index = static_cast<int>(format);
    if (accepted[index] && readings[index] != readings[static_cast<int>(GraphFormat::Auto)]) {
      std::abort();
    }
  }
  const std::string padded = withLeadingZeros(data, size);
  writeFuzzInput(reinterpret_cast<const uint8_t*>(padded.data()), padded.size());
  loadSplitting() = LoadSplitting{1, 1 << 20, 1 << 20};
  for (const GraphFormat format : kFormats) {
    ShortestPathSolver solver;
    int32_t firstNode = -1;
    const bool read = readWithMessages(solver, path, format, firstNode);
    if (readingOf(solver, read) != readings[static_cast<int>(format)]) std::abort();
  }
  return 0;
}
