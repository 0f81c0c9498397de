#include <cstdio>

#include "base/messages.h"
#include "graph/graph_readers.h"
#include "graph/shortest_path_solver.h"
#include "io/input_file.h"

namespace {

bool readText(GraphFormat format, LineScanner& lines, GraphBuilder& graph, ReadFailure& failure) {
  switch (format) {
    case GraphFormat::Dimacs:
      return readDimacs(lines, graph, failure);
    case GraphFormat::Snap:
      return readSnap(lines, graph, failure);
    case GraphFormat::Mtx:
      return readMatrixMarket(lines, graph, failure);
    case GraphFormat::Auto:
    case GraphFormat::Edges:
      break;
  }
  return false;  // the tool's own format never comes here
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
      return loadGraph(path);
    }
    ByteSource source = input.source();
    const bool loaded = loadGraphFrom(source, path);
    if (!loaded && input.failure != nullptr) {
      printLinef("ERROR: Bad graph file %s line %lld: %s", path,
                 static_cast<long long>(input.lineEnds + 1), input.failure);
    }
    input.close();
    return loaded;
  }

  GraphBuilder graph;
  ReadFailure failure;
  bool read;
  {
    LineScanner lines(input.source());
    lines.sourceFailure = &input.failure;
    read = readText(format, lines, graph, failure);
  }
  input.close();
  if (!read) {
    printLinef("ERROR: Bad graph file %s line %lld: %s", path, static_cast<long long>(failure.line),
               failure.reason);
    return false;
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
