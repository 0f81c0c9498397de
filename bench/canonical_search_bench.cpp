// The canonical search at several thread counts, on one graph in one
// process, the thread counts taking turns, with the canonical answers checked
// identical at every thread count and their costs checked equal to those of
// the exact search of the runs (solveFrom), timed once beforehand.
//
//   canonical_search_bench GRAPH [rounds=3] [threads=1,2]
//
// GRAPH is a file of any format vorlinde-query reads. The figures are the
// wall and processor milliseconds of each search, medians of the rounds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "graph/shortest_path_solver.h"
#include "search/search_limits.h"

namespace {

std::vector<int32_t> threadCounts(const char* text) {
  std::vector<int32_t> counts;
  for (const char* at = text; *at != '\0';) {
    char* end = nullptr;
    counts.push_back(static_cast<int32_t>(std::strtol(at, &end, 10)));
    at = *end == ',' ? end + 1 : end;
  }
  return counts;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s GRAPH [rounds] [threads,...]\n", argv[0]);
    return 2;
  }
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 3;
  const std::vector<int32_t> threads = threadCounts(argc > 3 ? argv[3] : "1,2");
  ShortestPathSolver graph;
  int32_t firstNode = 0;
  if (!graph.readGraph(argv[1], GraphFormat::Auto, firstNode)) return 1;
  ShortestPathSolver solver;
  solver.shareGraph(graph);

  auto start = benchClock();
  if (!solver.solveFrom(firstNode)) return 1;
  const double exactWall = secondsSince(start) * 1000;
  const std::vector<NodeResult> exact(solver.results, solver.results + solver.searchNodeCount);
  std::vector<NodeResult> canonical;
  std::vector<std::vector<double>> wall(threads.size());
  std::vector<std::vector<double>> cpu(threads.size());
  for (int round = 0; round < rounds; ++round) {
    for (size_t k = 0; k < threads.size(); ++k) {
      start = benchClock();
      const double cpuStart = processorSeconds();
      if (!solver.solveCanonical(firstNode, SearchLimits{}, threads[k])) return 1;
      wall[k].push_back(secondsSince(start) * 1000);
      cpu[k].push_back((processorSeconds() - cpuStart) * 1000);
      const std::vector<NodeResult> answer(solver.results, solver.results + solver.searchNodeCount);
      if (canonical.empty()) canonical = answer;
      for (size_t v = 0; v < answer.size(); ++v) {
        if (answer[v].cost != exact[v].cost || answer[v].cost != canonical[v].cost ||
            answer[v].pred != canonical[v].pred) {
          std::fprintf(stderr, "node %zu differs at %d threads\n", v, threads[k]);
          return 1;
        }
      }
    }
  }
  std::printf("exact search (solveFrom): %.0f ms\n", exactWall);
  for (size_t k = 0; k < threads.size(); ++k) {
    std::printf("canonical, %d thread(s): %.0f ms wall, %.0f ms processor\n", threads[k],
                median(wall[k]), median(cpu[k]));
  }
  return 0;
}
