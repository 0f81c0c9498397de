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
    if (!loaded && input.failure != nullptr) {
      printLinef("ERROR: Bad graph file %s line %lld: %s", path,
                 static_cast<long long>(input.lineEnds + 1), input.failure);
    }
    input.close();
    return loaded;
  }

  TextHeader header;
  header.format = format;
  GraphBuilder graph;
  ReadFailure failure;
  TextInParts text;
  bool read;
  bool inParts = false;
  {
    LineScanner lines(input.source());
    lines.sourceFailure = &input.failure;
    read = readTextHeader(lines, header, failure);
    const int64_t fileBytes = plainFileBytes(input);
    const int64_t textBegin = lines.nextOffset();
    const LoadSplitting& splitting = loadSplitting();
    if (read && splitting.threadsInForce() > 1 && fileBytes - textBegin > splitting.partBytes &&
        header.labelBound() <= mostNodesInMemory()) {
      inParts = readTextInParts(input.raw.fd, textBegin, fileBytes, header, progress, text);
      if (!inParts) {
        // Not sound: read again in order, which says where.
        PartBytes whole(FilePart{input.raw.fd, 0, fileBytes, fileBytes, true});
        LineScanner again(whole.source());
        header = TextHeader{};
        header.format = format;
        read = readTextHeader(again, header, failure) &&
               readTextLines(again, header, graph, failure);
      }
    } else if (read) {
      read = readTextLines(lines, header, graph, failure);
    }
  }
  input.close();
  if (!read) {
    printLinef("ERROR: Bad graph file %s line %lld: %s", path, static_cast<long long>(failure.line),
               failure.reason);
    return false;
  }
  if (inParts) {
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
