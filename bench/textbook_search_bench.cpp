// The baseline of the through-binary comparison (bench/search_binary.sh): loads
// a graph file with the tool's loader, then runs a textbook Dijkstra from node
// 0 and prints its time as the tool's verbose run prints its Solve line, the
// allocation of its arrays included as the tool's includes its Init time.
//
//   textbook_search_bench GRAPH
#include <cstdio>

#include "base/stopwatch.h"
#include "graph/shortest_path_solver.h"
#include "textbook_dijkstra.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s GRAPH\n", argv[0]);
    return 2;
  }
  ShortestPathSolver solver;
  if (!solver.loadGraph(argv[1]) || solver.nodeCount < 1) return 1;
  StopWatch watch;
  const std::vector<Label> labels = textbookDijkstra(solver, 0);
  watch.stop();
  int64_t reached = 0;
  for (const Label& label : labels) reached += label.cost != INT_MAX;
  std::printf("%lld reached\n", static_cast<long long>(reached));
  printTimingLine("Solve time ...", watch.elapsedMs());
  return 0;
}
