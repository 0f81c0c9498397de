#include "graph/shortest_path_solver.h"
#include "io/text_writer.h"

namespace {

constexpr int32_t kSolutionBufferBytes = 32768;

}  // namespace

bool ShortestPathSolver::saveSolution(const char* path, OutputMessages messages) {
  TextWriter writer;
  writer.capacity = kSolutionBufferBytes;
  writer.messages = messages;
  if (writer.open(path) != 0) return false;
  putSolutionLines(writer, 0);
  return writer.close();
}

void ShortestPathSolver::putSolutionLines(TextWriter& writer, int32_t firstNode) {
  // Without a solution array the file is left empty rather than read from null.
  const int32_t lineCount = results != nullptr ? searchNodeCount : 0;
  for (int32_t node = firstNode; node < lineCount; ++node) {
    writer.putLine(node, results[node].cost, results[node].pred);
  }
}
