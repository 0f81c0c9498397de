// The whole search of the runs (solveFrom: buckets, with the heap where they
// cannot be sure) against solveHeap on one graph in the same process,
// alternating, with results and outcome checked identical every round.
//
//   fast_search_bench GRAPH [rounds=3]
//   fast_search_bench GRAPH write FILE
//       saves the graph to FILE, for the form below
//   fast_search_bench FILE heap|fast
//       loads FILE and makes one search as a run makes it, on fresh arrays
//       right after the load, and prints its wall and processor seconds;
//       bench/fast_search_fresh.sh alternates the two in fresh processes.
//
// GRAPH is a graph file, or one of the built-in graphs, generated in memory:
//   g10m      vorlinde -c 10000000 -s 1
//   g3m-e20   vorlinde -c 3000000 -s 7 -e 20
//   late-tie  g10m plus a tie at its largest cost: the buckets give up at the end
//   skewed    g10m with 99 % of the costs in 0..10, the rest near 10^9
//   fallbacks how often the buckets give up, by cost range (random graphs of
//             a million nodes, costs 1..R, several seeds each)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "base/allocation.h"
#include "bench_timing.h"
#include "graph/shortest_path_solver.h"
#include "search/bucket_search.h"

namespace {

// Two more nodes a and b, both reached from the node of largest cost z at
// the same cost, and one more node c reached from both at the same cost: c's
// predecessor is for the heap's inner order to decide.
void addLateTie(ShortestPathSolver& solver) {
  if (!solver.solveHeap(0)) std::exit(1);
  int32_t z = 0;
  for (int32_t v = 0; v < solver.nodeCount; ++v) {
    if (solver.results[v].cost > solver.results[z].cost) z = v;
  }
  const int32_t a = solver.nodeCount;
  const int32_t b = a + 1;
  const int32_t c = a + 2;
  const std::vector<Edge> added = {{z, a, 1}, {z, b, 1}, {a, c, 1}, {b, c, 1}};
  std::vector<Edge> edges(solver.edges, solver.edges + solver.edgeCount);
  edges.insert(edges.begin() + solver.edgeRanges[z].last + 1, added.begin(), added.begin() + 2);
  edges.insert(edges.end(), added.begin() + 2, added.end());
  const int32_t count = static_cast<int32_t>(edges.size());
  solver.clear();
  solver.edges = static_cast<Edge*>(checkedMalloc(sizeof(Edge) * edges.size()));
  std::memcpy(solver.edges, edges.data(), sizeof(Edge) * edges.size());
  solver.nodeCount = c + 1;
  solver.edgeCount = count;
  solver.edgeRanges = static_cast<EdgeRange*>(checkedMalloc(sizeof(EdgeRange) * solver.nodeCount));
  for (int32_t v = 0; v < solver.nodeCount; ++v) solver.edgeRanges[v] = EdgeRange{-1, -1};
  for (int32_t e = 0; e < count; ++e) {
    EdgeRange& range = solver.edgeRanges[edges[e].from];
    if (range.first < 0) range.first = e;
    range.last = e;
  }
  solver.graphSet = true;
}

void skewCosts(ShortestPathSolver& solver) {
  for (int32_t e = 0; e < solver.edgeCount; ++e) {
    const int32_t cost = solver.edges[e].cost;
    solver.edges[e].cost = cost % 100 == 0 ? 1000000000 - cost % 1000 : cost % 11;
  }
}

// The generator leaves its arrays on small pages; the loader, whose arrays the
// runs search, advises huge pages. So the graph is copied into advised arrays.
template <typename T>
void moveToHugePages(T*& array, int32_t count) {
  const std::size_t bytes = sizeof(T) * static_cast<std::size_t>(count);
  T* moved = static_cast<T*>(checkedMalloc(bytes));
  adviseHugePages(moved, bytes);
  std::memcpy(moved, array, bytes);
  std::free(array);
  array = moved;
}

bool obtainGraph(ShortestPathSolver& solver, const std::string& name) {
  if (name != "g10m" && name != "late-tie" && name != "skewed" && name != "g3m-e20") {
    return solver.loadGraph(name.c_str());
  }
  if (name == "g3m-e20") {
    solver.generateRandomGraph(3000000, 7, 20);
  } else {
    solver.generateRandomGraph(10000000, 1, 5);
    if (name == "late-tie") addLateTie(solver);
    if (name == "skewed") skewCosts(solver);
  }
  moveToHugePages(solver.edges, solver.edgeCount);
  moveToHugePages(solver.edgeRanges, solver.nodeCount);
  return true;
}

void countFallbacks() {
  const int32_t n = 1000000;
  const int32_t ranges[] = {10, 100, 1000, 10000, 100000, 10000000};
  std::printf("costs 1..R, %d nodes, maxEdge 5: graphs where the heap decides\n", n);
  for (const int32_t range : ranges) {
    int fallbacks = 0;
    const int seeds = 5;
    for (int seed = 1; seed <= seeds; ++seed) {
      ShortestPathSolver solver;
      solver.generateRandomGraph(n, seed, 5);
      for (int32_t e = 0; e < solver.edgeCount; ++e) solver.edges[e].cost = 1 + (solver.edges[e].cost - 1) % range;
      solver.initSearch(solver.nodeCount);
      const BucketPlan plan = planBuckets(solver.edges, solver.edgeCount, solver.nodeCount);
      fallbacks += plan.worthTrying && searchByBuckets(solver.edges, solver.edgeCount, solver.edgeRanges,
                                                       solver.results, solver.nodeCount, 0, plan.shift)
                       ? 0
                       : 1;
    }
    std::printf("R = %-9d %d of %d\n", range, fallbacks, seeds);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s GRAPH|g10m|g3m-e20|late-tie|skewed|fallbacks [rounds]\n", argv[0]);
    return 2;
  }
  const std::string name = argv[1];
  if (name == "fallbacks") {
    countFallbacks();
    return 0;
  }
  const std::string mode = argc > 2 ? argv[2] : "3";
  ShortestPathSolver solver;
  auto start = benchClock();
  if (!obtainGraph(solver, name)) return 1;
  std::printf("%s: %d nodes, %d edges, ready in %.2f s\n", name.c_str(), solver.nodeCount, solver.edgeCount,
              secondsSince(start));
  if (mode == "write") return argc > 3 && solver.saveGraph(argv[3]) == 0 ? 0 : 1;
  if (mode == "heap" || mode == "fast") {
    start = benchClock();
    const double cpuStart = processorSeconds();
    const bool solved = mode == "heap" ? solver.solveHeap(0) : solver.solveFrom(0);
    std::printf("search %s: wall %.3f s, cpu %.3f s\n", mode.c_str(), secondsSince(start),
                processorSeconds() - cpuStart);
    return solved ? 0 : 1;
  }
  const int rounds = std::atoi(mode.c_str());

  std::vector<NodeResult> expected;
  std::vector<double> ratios;
  std::vector<double> cpuRatios;
  for (int round = 1; round <= rounds; ++round) {
    start = benchClock();
    double cpuStart = processorSeconds();
    const bool heapSolved = solver.solveHeap(0);
    const double heap = secondsSince(start);
    const double heapCpu = processorSeconds() - cpuStart;
    expected.assign(solver.results, solver.results + solver.searchNodeCount);

    start = benchClock();
    cpuStart = processorSeconds();
    const bool fastSolved = solver.solveFrom(0);
    const double fast = secondsSince(start);
    const double fastCpu = processorSeconds() - cpuStart;
    if (fastSolved != heapSolved ||
        std::memcmp(expected.data(), solver.results, sizeof(NodeResult) * expected.size()) != 0) {
      std::fprintf(stderr, "round %d: solveFrom differs from solveHeap\n", round);
      return 1;
    }
    ratios.push_back(fast / heap);
    cpuRatios.push_back(fastCpu / heapCpu);
    std::printf("round %d: wall solveHeap %.3f s, solveFrom %.3f s, ratio %.3f; cpu ratio %.3f (results identical)\n",
                round, heap, fast, fast / heap, fastCpu / heapCpu);
    std::fflush(stdout);
  }
  std::printf("median ratio solveFrom / solveHeap over %d rounds: wall %.3f, cpu %.3f\n", rounds, median(ratios),
              median(cpuRatios));
  return 0;
}
