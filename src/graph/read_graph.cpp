#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

#include "base/allocation.h"
#include "base/messages.h"
#include "graph/edge_reading.h"
#include "graph/graph_readers.h"
#include "graph/load_splitting.h"
#include "graph/parted_read.h"
#include "graph/shortest_path_solver.h"
#include "io/input_file.h"

namespace {

// The size of the plain regular file behind input, else -1.
int64_t plainFileBytes(const InputFile& input) {
  struct stat status;
  if (!input.plainFile || fstat(input.raw.fd, &status) != 0) return -1;
  return status.st_size;
}

enum class TextReading { Failed, InOrder, InParts };

// Reads the header in order, then the lines after it in parts when the text
// is a large enough plain file (into text), else in order (into graph).
TextReading readText(InputFile& input, const ReadProgress& progress, TextHeader& header,
                     GraphBuilder& graph, TextInParts& text, ReadFailure& failure) {
  const GraphFormat format = header.format;
  LineScanner lines(input.source());
  if (!readTextHeader(lines, header, failure)) return TextReading::Failed;
  const int64_t fileBytes = plainFileBytes(input);
  const int64_t textBegin = lines.nextOffset();
  const LoadSplitting& splitting = loadSplitting();
  if (splitting.threadsInForce() <= 1 || fileBytes - textBegin <= splitting.partBytes ||
      header.labelBound() > mostNodesInMemory()) {
    return readTextLines(lines, header, graph, failure) ? TextReading::InOrder
                                                        : TextReading::Failed;
  }
  if (readTextInParts(input.raw.fd, textBegin, fileBytes, header, progress, text)) {
    return TextReading::InParts;
  }
  // Not sound: read again in order, which says where.
  PartBytes whole(FilePart{input.raw.fd, 0, fileBytes, fileBytes, true});
  LineScanner again(whole.source());
  header = TextHeader{};
  header.format = format;
  return readTextHeader(again, header, failure) && readTextLines(again, header, graph, failure)
             ? TextReading::InOrder
             : TextReading::Failed;
}

}  // namespace

bool ShortestPathSolver::readGraph(const char* path, GraphFormat format, int32_t& firstNode,
                                   const ReadProgress& progress) {
  clear();
  InputFile input;
  if (!input.open(path)) return false;
  input.raw.onRead = progress.bytesRead;
  input.raw.onReadContext = progress.context;
  if (format == GraphFormat::Auto) format = detectGraphFormat(input.head, input.headSize);
  firstNode = firstNodeOf(format);
  if (format == GraphFormat::Edges) {
    // The tool's own loader, at its own speed and with its own messages; a
    // plain file it opens itself, to read it its own way.
    if (input.plainFile) {
      input.close();
      return loadGraph(path, progress);
    }
    ByteSource source = input.source();
    const bool loaded = loadGraphFrom(source, path);
    input.close();
    return loaded;
  }

  TextHeader header;
  header.format = format;
  GraphBuilder graph;
  TextInParts text;
  ReadFailure failure;
  const TextReading reading = readText(input, progress, header, graph, text, failure);
  input.close();
  if (reading == TextReading::Failed) {
    printLinef("ERROR: Bad graph file %s line %lld: %s", path, static_cast<long long>(failure.line),
               failure.reason);
    return false;
  }
  if (reading == TextReading::InParts) {
    edges = text.edges;
    edgeCount = static_cast<int32_t>(text.edgeCount);
    const int64_t labelBound =
        std::max({header.labelBound(), int64_t{text.labelBound}, int64_t{firstNode} + 1});
    if (labelBound > mostNodesInMemory()) failAllocation();
    nodeCount = static_cast<int32_t>(labelBound);
    if (!indexEdgeRanges()) regroupEdgesBySource();
    graphSet = true;
    return true;
  }

  if (graph.edgeCount > 0)
    graph.ranges[graph.previousSource].last = static_cast<int32_t>(graph.edgeCount - 1);
  // A text without edges is the graph of its first node alone.
  if (graph.labelBound < int64_t{firstNode} + 1) graph.coverLabels(int64_t{firstNode} + 1);
  edges = graph.edges;
  edgeRanges = graph.ranges;
  graph.edges = nullptr;
  graph.ranges = nullptr;
  edgeCount = static_cast<int32_t>(graph.edgeCount);
  nodeCount = static_cast<int32_t>(graph.labelBound);
  if (graph.split) regroupEdgesBySource();
  graphSet = true;
  return true;
}
