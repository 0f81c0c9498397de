#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "base/allocation.h"
#include "graph/shortest_path_solver.h"
#include "random/mersenne_twister.h"
#include "random/random_graph.h"

namespace {

// One bit per node: 1.25 MB for ten million nodes stays in cache, where an
// int32 per node (40 MB) would miss on nearly every random target.
struct NodeMarks {
  uint64_t* words = nullptr;

  bool taken(int32_t node) const { return ((words[node >> 6] >> (node & 63)) & 1u) != 0; }
  void take(int32_t node) { words[node >> 6] |= uint64_t{1} << (node & 63); }
  void free(int32_t node) { words[node >> 6] &= ~(uint64_t{1} << (node & 63)); }
};

}  // namespace

// The order of the draws is what makes (n, seed, maxEdge) name one graph on
// every machine: per node its edge count, then per edge its target draws
// (rejected ones included) and its cost. Any change to it changes every
// saved graph and every checksum computed from one.
bool ShortestPathSolver::generateRandomGraph(int32_t n, int32_t seed, int32_t maxEdge) {
  MersenneTwister engine;
  engine.setSeed(static_cast<uint32_t>(seed));

  const int32_t nodes = std::max(n, 0);
  // 64 bits: n * maxEdge and 10 * n overflow int32 for large n.
  const int64_t edgeRoom =
      std::min<int64_t>(int64_t{nodes} * std::max(maxEdge, 1), kMostEdges);
  const int32_t costBound = static_cast<int32_t>(std::min<int64_t>(int64_t{10} * nodes, INT32_MAX));

  nodeCount = nodes;
  edgeCount = 0;
  releaseGraphArrays();
  const std::size_t edgeBytes = static_cast<std::size_t>(edgeRoom) * sizeof(Edge);
  const std::size_t rangeBytes = static_cast<std::size_t>(nodes) * sizeof(EdgeRange);
  // No huge-page advice: with it, first-touch faults took anywhere from a
  // tenth of a second to a full second per run; plain pages cost a steady
  // fifth of a second for ten million nodes.
  edges = static_cast<Edge*>(checkedMalloc(edgeBytes));
  edgeRanges = static_cast<EdgeRange*>(checkedMalloc(rangeBytes));

  const std::size_t markWords = (static_cast<std::size_t>(nodes) + 63) / 64;
  NodeMarks marks{allocateArray<uint64_t>(markWords == 0 ? 1 : markWords)};
  std::fill(marks.words, marks.words + markWords, uint64_t{0});

  Edge* const edgeArray = edges;
  int32_t count = 0;
  for (int32_t v = 0; v < nodes; ++v) {
    const int32_t wanted = engine.uniformInt(1, maxEdge);
    // Only reachable when the worst case was capped at kMostEdges.
    if (count > edgeRoom - wanted) failAllocation();
    // Node 0 can point at every other node, any other node at all but itself
    // and node 0. Once they are all taken the node's edges end, so that
    // maxEdge = n - 1 cannot spin forever on a target that does not exist.
    const int32_t possibleTargets = v == 0 ? nodes - 1 : nodes - 2;
    const int32_t drawn = std::min(wanted, possibleTargets);
    const int32_t first = count;
    marks.take(v);
    for (int32_t j = 0; j < drawn; ++j) {
      int32_t target = engine.uniformInt(1, nodes - 1);
      while (marks.taken(target)) target = engine.uniformInt(1, nodes - 1);
      marks.take(target);
      const int32_t cost = engine.uniformInt(1, costBound);
      edgeArray[count++] = Edge{v, target, cost};
    }
    edgeRanges[v] = EdgeRange{first, count - 1};
    // Only the bits this node set are cleared: the node's targets are its
    // own edges, so they serve as the list.
    for (int32_t i = first; i < count; ++i) marks.free(edgeArray[i].to);
    marks.free(v);
  }
  edgeCount = count;

  releaseArray(marks.words);
  graphSet = true;
  return true;
}
