#include <cstring>

#include "graph/binary_graph.h"
#include "graph/shortest_path_solver.h"
#include "io/text_writer.h"

namespace {

constexpr int32_t kBinaryBufferBytes = 1 << 20;

void putZeros(TextWriter& writer, uint64_t count) {
  constexpr char kZeros[kArrayAlignment] = {};
  writer.putBytes(kZeros, static_cast<size_t>(count));
}

}  // namespace

// Written through the text writer, which replaces a file whole or not at all.
int32_t ShortestPathSolver::saveBinaryGraph(const char* path, int32_t firstNode,
                                            OutputMessages messages) {
  BinaryGraphHeader header{};
  std::memcpy(header.magic, kBinaryGraphMagic, sizeof header.magic);
  header.version = kBinaryGraphVersion;
  header.headerBytes = kBinaryHeaderBytes;
  header.nodeCount = nodeCount;
  header.edgeCount = edgeCount;
  header.firstNode = firstNode;
  const BinaryGraphLayout layout = binaryGraphLayout(nodeCount, edgeCount);
  header.rangesOffset = layout.rangesOffset;
  header.edgesOffset = layout.edgesOffset;
  header.fileBytes = layout.fileBytes;
  header.rangesChecksum = arrayChecksum(edgeRanges, nodeCount, sizeof(EdgeRange));
  header.edgesChecksum = arrayChecksum(edges, edgeCount, sizeof(Edge));
  header.headerChecksum = headerChecksum(header);

  TextWriter writer;
  writer.capacity = kBinaryBufferBytes;
  writer.messages = messages;
  if (writer.open(path) != 0) return -1;
  writer.putBytes(reinterpret_cast<const char*>(&header), sizeof header);
  putZeros(writer, layout.rangesOffset - sizeof header);
  const uint64_t rangeBytes = static_cast<uint64_t>(nodeCount) * sizeof(EdgeRange);
  writer.putBytes(reinterpret_cast<const char*>(edgeRanges), rangeBytes);
  putZeros(writer, layout.edgesOffset - layout.rangesOffset - rangeBytes);
  writer.putBytes(reinterpret_cast<const char*>(edges), static_cast<size_t>(edgeCount) * sizeof(Edge));
  return writer.close() ? 0 : -1;
}
