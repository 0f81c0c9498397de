// The baseline of the through-binary comparison (bench/search_binary.sh): loads
// a graph file with the tool's loader, then runs a textbook Dijkstra from node
// 0 and prints its time as the tool's verbose run prints its Solve line, the
// allocation of its arrays included as the tool's includes its Init time.
//
//   textbook_search_bench GRAPH
//   textbook_search_bench --touch MIB    touches MIB of memory as huge pages and exits
//
// The second form goes before each timed run: this VM hands freed memory back
// to its host, and the next first touch of it costs seconds per GiB.
#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/stopwatch.h"
#include "graph/shortest_path_solver.h"
#include "textbook_dijkstra.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--touch") == 0) {
    const std::size_t bytes = static_cast<std::size_t>(std::atoll(argv[2])) << 20;
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return 1;
    madvise(block, bytes, MADV_HUGEPAGE);
    std::memset(block, 1, bytes);
    munmap(block, bytes);
    return 0;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s GRAPH | --touch MIB\n", argv[0]);
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
