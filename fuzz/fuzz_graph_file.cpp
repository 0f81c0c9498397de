// Graph file bytes through the loader, in order and in parts of a few bytes
// read by several threads, which must agree, and, when it accepts them, the
// three searches: the runs' solveFrom must give solveHeap's outcome, messages
// and results exactly; the linear search the same costs.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_input_file.h"
#include "base/messages.h"
#include "formats/load_splitting.h"
#include "graph/shortest_path_solver.h"

namespace {

// Labels name array sizes: a label of a billion is a valid file that wants
// gigabytes. Such inputs are skipped so the fuzzer explores parsing rather
// than the allocator; the huge-label path has its own test.
constexpr int64_t kLargestLabel = 200000;
constexpr int32_t kLargestLinearSearch = 3000;  // the linear search is quadratic

bool hasHugeLabel(const uint8_t* data, size_t size) {
  int column = 0;
  size_t i = 0;
  while (i < size) {
    const uint8_t byte = data[i];
    if (byte == '\n') {
      column = 0;
      ++i;
    } else if (byte >= '0' && byte <= '9') {
      int64_t value = 0;
      while (i < size && data[i] >= '0' && data[i] <= '9') {
        if (value <= kMaxLabel) value = value * 10 + (data[i] - '0');
        ++i;
      }
      // Values above the label limit are rejected by the loader before any allocation.
      if (column < 2 && value > kLargestLabel && value <= kMaxLabel) return true;
      ++column;
    } else {
      ++i;
    }
  }
  return false;
}

std::string messages;

void keepMessage(const char* line) { messages.append(line).append("\n"); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (hasHugeLabel(data, size)) return 0;
  const std::string& path = writeFuzzInput(data, size);

  ShortestPathSolver solver;
  loadSplitting() = LoadSplitting{1, 1 << 20, 1 << 20};
  const bool loaded = solver.loadGraph(path.c_str());
  ShortestPathSolver inParts;
  loadSplitting() = LoadSplitting{3, 1 + (size > 0 ? data[0] % 16 : 0), 1};
  if (inParts.loadGraph(path.c_str()) != loaded) std::abort();
  if (!loaded) return 0;
  if (inParts.edgeCount != solver.edgeCount || inParts.nodeCount != solver.nodeCount ||
      std::memcmp(inParts.edges, solver.edges, sizeof(Edge) * solver.edgeCount) != 0 ||
      std::memcmp(inParts.edgeRanges, solver.edgeRanges,
                  sizeof(EdgeRange) * solver.nodeCount) != 0) {
    std::abort();
  }
  setMessageSink(keepMessage);
  messages.clear();
  const bool heapSolved = solver.solveHeap(0);
  const std::string heapMessages = messages;
  const int32_t count = solver.searchNodeCount;
  const std::vector<NodeResult> heapResults(solver.results, solver.results + count);
  messages.clear();
  const bool fastSolved = solver.solveFrom(0);
  setMessageSink(nullptr);
  if (fastSolved != heapSolved || messages != heapMessages || solver.searchNodeCount != count ||
      std::memcmp(solver.results, heapResults.data(), sizeof(NodeResult) * heapResults.size()) != 0) {
    std::abort();
  }
  if (!heapSolved || solver.nodeCount > kLargestLinearSearch) return 0;

  if (!solver.solveLinear(0)) std::abort();
  if (solver.searchNodeCount != count) std::abort();
  for (int32_t v = 0; v < count; ++v) {
    if (solver.results[v].cost != heapResults[v].cost) std::abort();
  }
  return 0;
}
