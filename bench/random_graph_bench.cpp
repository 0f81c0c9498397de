// Random graph generation against the bare cost of its random numbers: the
// same number of outputs drawn from std::mt19937 and summed. Both run in the
// same process, interleaved, so machine noise hits them alike.
//
//   random_graph_bench [nodes] [rounds]     (default 10000000 nodes, 5 rounds)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "bench_timing.h"
#include "graph/shortest_path_solver.h"
#include "random/mersenne_twister.h"

namespace {

constexpr int32_t kSeed = 1;
constexpr int32_t kMaxEdge = 5;

// Replays the generation against the finished graph to count its draws,
// rejected target draws included: every target draw before the accepted one
// was a rejection. Returns -1 when the graph does not follow the draws.
int64_t countDraws(const ShortestPathSolver& solver, int32_t maxEdge) {
  MersenneTwister engine;
  engine.setSeed(static_cast<uint32_t>(kSeed));
  const int32_t n = solver.nodeCount;
  const int32_t costBound = static_cast<int32_t>(std::min<int64_t>(int64_t{10} * n, INT32_MAX));
  int64_t draws = 0;
  for (int32_t v = 0; v < n; ++v) {
    const EdgeRange range = solver.edgeRanges[v];
    const int32_t wanted = engine.uniformInt(1, maxEdge);
    ++draws;
    if (range.last - range.first + 1 != wanted) return -1;
    for (int32_t i = range.first; i <= range.last; ++i) {
      const Edge& edge = solver.edges[i];
      int32_t target;
      do {
        target = engine.uniformInt(1, n - 1);
        ++draws;
      } while (target != edge.to);
      if (engine.uniformInt(1, costBound) != edge.cost) return -1;
      ++draws;
    }
  }
  return draws;
}

uint32_t drawBaseline(int64_t draws) {
  std::mt19937 engine(kSeed);
  uint32_t sum = 0;
  for (int64_t i = 0; i < draws; ++i) sum += engine();
  return sum;
}


}  // namespace

int main(int argc, char** argv) {
  const int32_t nodes = argc > 1 ? std::atoi(argv[1]) : 10000000;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;

  ShortestPathSolver solver;
  solver.generateRandomGraph(nodes, kSeed, kMaxEdge);
  const int64_t draws = countDraws(solver, kMaxEdge);
  if (draws < 0) {
    std::fprintf(stderr, "generated graph does not follow its draws\n");
    return 1;
  }
  std::printf("nodes %d, maxEdge %d, edges %d, draws %lld\n", nodes, kMaxEdge, solver.edgeCount,
              static_cast<long long>(draws));

  std::vector<double> generation;
  std::vector<double> baseline;
  uint32_t sink = 0;
  for (int round = 0; round < rounds; ++round) {
    auto start = benchClock();
    solver.generateRandomGraph(nodes, kSeed, kMaxEdge);
    generation.push_back(secondsSince(start));
    start = benchClock();
    sink += drawBaseline(draws);
    baseline.push_back(secondsSince(start));
    std::printf("round %d: generation %.1f ms, baseline %.1f ms, ratio %.2f\n", round,
                generation.back() * 1e3, baseline.back() * 1e3,
                generation.back() / baseline.back());
  }
  std::printf("median: generation %.1f ms, baseline %.1f ms, ratio %.2f (sink %u)\n",
              median(generation) * 1e3, median(baseline) * 1e3,
              median(generation) / median(baseline), sink);
  return 0;
}
