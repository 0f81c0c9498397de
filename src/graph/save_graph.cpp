#include "graph/shortest_path_solver.h"
#include "io/text_writer.h"

namespace {

constexpr int32_t kGraphBufferBytes = 16384;

}  // namespace

// A graph file that silently misses lines would load as a different graph,
// so any failed write counts as a failed save, not only a failed open.
int32_t ShortestPathSolver::saveGraph(const char* path, OutputMessages messages) {
  TextWriter writer;
  writer.capacity = kGraphBufferBytes;
  writer.messages = messages;
  if (writer.open(path) != 0) return -1;
  for (int32_t i = 0; i < edgeCount; ++i) {
    const Edge& edge = edges[i];
    writer.putLine(edge.from, edge.to, edge.cost);
  }
  return writer.close() ? 0 : -1;
}
