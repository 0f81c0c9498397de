#include <algorithm>
#include <atomic>
#include <cstring>
#include <system_error>
#include <thread>

#include "base/allocation.h"
#include "formats/load_splitting.h"
#include "graph/shortest_path_solver.h"

namespace {

// The groups of edges [begin, end), which starts at a group's start and ends
// at a group's end. False when a node's group met an earlier one, in this
// slice or another. Another thread may index another slice at the same time:
// the ranges are read and written as relaxed atomics, and lowestSource and
// highestSource tell whether two slices could have met the same node.
bool indexSlice(const Edge* edges, EdgeRange* ranges, int32_t begin, int32_t end,
                int32_t& lowestSource, int32_t& highestSource) {
  lowestSource = INT32_MAX;
  highestSource = -1;
  int32_t index = begin;
  while (index < end) {
    const int32_t from = edges[index].from;
    const int32_t first = index;
    while (++index < end && edges[index].from == from) {
    }
    std::atomic_ref<int32_t> rangeFirst(ranges[from].first);
    if (rangeFirst.load(std::memory_order_relaxed) != -1) return false;
    rangeFirst.store(first, std::memory_order_relaxed);
    std::atomic_ref<int32_t>(ranges[from].last).store(index - 1, std::memory_order_relaxed);
    lowestSource = std::min(lowestSource, from);
    highestSource = std::max(highestSource, from);
  }
  return true;
}

// Where the second half of the edges begins: at the start of the group that
// holds the middle edge, or after it when that group began earlier.
int32_t secondHalfStart(const Edge* edges, int32_t edgeCount) {
  const int32_t middle = edgeCount / 2;
  if (middle == 0) return 0;
  const int32_t source = edges[middle - 1].from;
  const Edge* end = edges + edgeCount;
  const Edge* start =
      std::find_if(edges + middle, end, [source](const Edge& edge) { return edge.from != source; });
  return static_cast<int32_t>(start - edges);
}

}  // namespace

// With two threads each clears the ranges of half the nodes (their pages are
// first touched here, which is most of the cost), then indexes half the
// edges. Halves whose sources interleave might have met one node without
// noticing; then one thread indexes everything again.
bool ShortestPathSolver::indexEdgeRanges() {
  const size_t bytes = static_cast<size_t>(nodeCount) * sizeof(EdgeRange);
  edgeRanges = static_cast<EdgeRange*>(checkedMalloc(bytes));
  adviseHugePages(edgeRanges, bytes);
  int32_t low[2];
  int32_t high[2];
  bool grouped[2] = {true, true};
  const auto clearHalf = [&](int32_t half) {
    const size_t begin = half == 0 ? 0 : bytes / 2;
    const size_t end = half == 0 ? bytes / 2 : bytes;
    std::memset(reinterpret_cast<char*>(edgeRanges) + begin, 0xFF, end - begin);
  };
  std::thread helper;
  const LoadSplitting& splitting = loadSplitting();
  if (splitting.threadsInForce() > 1 && edgeCount >= splitting.sharedIndexEdges) {
    try {
      helper = std::thread(clearHalf, 1);
    } catch (const std::system_error&) {
    }
  }
  if (!helper.joinable()) {
    std::memset(edgeRanges, 0xFF, bytes);
    return indexSlice(edges, edgeRanges, 0, edgeCount, low[0], high[0]);
  }
  clearHalf(0);
  helper.join();
  const int32_t middle = secondHalfStart(edges, edgeCount);
  const auto indexSecondHalf = [&] {
    grouped[1] = indexSlice(edges, edgeRanges, middle, edgeCount, low[1], high[1]);
  };
  try {
    helper = std::thread(indexSecondHalf);
  } catch (const std::system_error&) {
    indexSecondHalf();
  }
  grouped[0] = indexSlice(edges, edgeRanges, 0, middle, low[0], high[0]);
  if (helper.joinable()) helper.join();
  if (!grouped[0] || !grouped[1]) return false;
  if (high[0] < low[1] || high[1] < low[0]) return true;
  std::memset(edgeRanges, 0xFF, bytes);
  return indexSlice(edges, edgeRanges, 0, edgeCount, low[0], high[0]);
}
